// The main-volume poll: after a source change the unit's main volume is
// asked once a second, ten times, or until the unit reports it.
#pragma once

#include <windows.h>

// Starts (or restarts) the poll on window's timer.
void StartGetMainVolumeTimer(HWND window);
// One tick: true while the poll goes on (the caller asks the unit then);
// false when it ran out, with the timer killed.
bool TickGetMainVolumeTimer(HWND window);
