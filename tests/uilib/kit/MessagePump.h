#pragma once

#include <windows.h>

namespace SkinUITest {

// A queue that keeps filling (a paint that asks for the next) fails the
// caller's line after this long, in every pump of the kit.
constexpr DWORD kSettleCeilingMs = 5000;

// Dispatches what is queued, each message offered to translate first when
// given, up to a timer's tick; false, failing the caller's line, once the
// queue has not emptied within the ceiling counted from start. Once a
// test's queue never emptied, its later drains fail at once.
bool Drain(DWORD start, const char* file, int line, bool (*translate)(MSG*) = nullptr);

// Dispatches every message queued for this thread now; false, failing the
// caller's line, when the queue keeps filling past the ceiling.
inline bool PumpPending(const char* file = __builtin_FILE(), int line = __builtin_LINE())
{
    return Drain(GetTickCount(), file, line);
}

// Dispatches this thread's messages until done() is true or the time passes;
// returns done(). Dispatches nothing when done() already holds, so that a
// state a test waits for is not changed by later messages before it looks.
template <typename Done>
bool PumpUntil(Done done, DWORD waitMs = 3000, const char* file = __builtin_FILE(), int line = __builtin_LINE())
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (!PumpPending(file, line)) return false;
        if (done()) return true;
        if (GetTickCount() - start >= waitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Keeps dispatching for a moment.
void PumpFor(DWORD ms, const char* file = __builtin_FILE(), int line = __builtin_LINE());

// This process's first top-level window of the class and title (either may
// be null): test programs share one desktop, and another program's box of
// the same class is not ours; its window data points into that program.
inline HWND FindOwnWindow(const wchar_t* className, const wchar_t* title = nullptr)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, title)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

} // namespace SkinUITest
