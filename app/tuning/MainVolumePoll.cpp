#include "app/tuning/MainVolumePoll.h"

#include "app/tuning/AppMessages.h"
#include "base/Log.h"

namespace {

// UI thread only: set and counted by the main window's timer.
int gGetMainVolumeTimer = 0;

} // namespace

void StartGetMainVolumeTimer(HWND window)
{
    gGetMainVolumeTimer = kMainVolumePolls;
    SetTimer(window, kMainVolumeTimerId, kMainVolumeTimerMs, nullptr);
}

bool TickGetMainVolumeTimer(HWND window)
{
    LogPrintW(L"GET_MAIN_VOLUME_TIMER, getMainVolumeTimer=%d\n", gGetMainVolumeTimer);
    if (gGetMainVolumeTimer > 0) {
        --gGetMainVolumeTimer;
        return true;
    }
    KillTimer(window, kMainVolumeTimerId);
    return false;
}
