#pragma once

#include <windows.h>

namespace SkinUITest {

// Dispatches every message queued for this thread now.
void PumpPending();

// Dispatches this thread's messages until done() is true or the time passes;
// returns done(). Dispatches nothing when done() already holds, so that a
// state a test waits for is not changed by later messages before it looks.
template <typename Done>
bool PumpUntil(Done done, DWORD waitMs = 3000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        PumpPending();
        if (done()) return true;
        if (GetTickCount() - start >= waitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Keeps dispatching for a moment.
void PumpFor(DWORD ms);

} // namespace SkinUITest
