// Test builds only: every command queued for the unit must come from the
// thread that owns the device's window (the UI thread); the queue takes one
// producer. Installed, the guard counts each queued command and each one
// pushed from another thread, and each exchange that waited for the unit's
// answer, or wait for the command in progress, on the UI thread (a frozen
// window on a silent unit).
#pragma once

#include <cstdint>

namespace sim {

void InstallPushThreadGuard();

struct PushCounts {
    long pushed = 0;
    long offUiThread = 0;
    // The subcommand of the last command pushed off the UI thread.
    uint8_t lastOffSubcommand = 0;
    long waitedOnUiThread = 0;
    // The subcommand of the last waited exchange made on the UI thread.
    uint8_t lastWaitedSubcommand = 0;
};
PushCounts GuardedPushes();
void ResetPushThreadGuard();

}  // namespace sim
