#include "MessagePump.h"

#include <gtest/gtest.h>

namespace SkinUITest {

bool Drain(DWORD start, const char* file, int line, bool (*translate)(MSG*))
{
    static const void* unsettledTest = nullptr;
    const void* test = ::testing::UnitTest::GetInstance()->current_test_info();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (translate == nullptr || !translate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // A tick is taken only once nothing else waits: the queue had
        // emptied, however often a timer shorter than a loaded machine's
        // turn has fallen due again.
        if (msg.message == WM_TIMER) return true;
        if ((test != nullptr && test == unsettledTest) || GetTickCount() - start >= kSettleCeilingMs) {
            unsettledTest = test;
            ADD_FAILURE_AT(file, line) << "never settled: messages still came after " << kSettleCeilingMs << " ms";
            return false;
        }
    }
    return true;
}

void PumpFor(DWORD ms, const char* file, int line)
{
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000, file, line);
}

} // namespace SkinUITest
