// A fixed-seed run of random use on whatever the program shows: clicks,
// wheel notches, typing, drags and right clicks on visible, enabled controls
// of every open skin window, with the unit pulled and put back in between.
// Each step must be answered within its bound (the UI thread replies, no
// busy window outlives its bound); the run stops at the first that is not.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {

struct RandomUseOptions {
    unsigned seed = 1;
    int actions = 300;
    int plugEvery = 40;  // an unplug or plug-back every that many actions
    // Handle peaks are sampled every that many actions: a count scans the
    // process's handle tables and costs seconds under Wine.
    int sampleEvery = 20;
};

struct RandomUseResult {
    int done = 0;
    std::string failure;       // empty when every step was answered
    std::vector<std::string> trail;  // the last steps, for the failure message
    long peakGdi = 0, peakUser = 0, peakThreads = 0;
    // Actions by the title of the window that took them ("msgwnd", a menu's
    // title, ...), and by kind ("click", "type", "wheel", ...).
    std::map<std::string, int> byWindow, byKind;
};

// "window: count, ..." of a count map, for reports.
std::string CountsText(const std::map<std::string, int>& counts);

RandomUseResult RunRandomUse(App& app, const RandomUseOptions& options);

// Closes every window but the main one, puts the unit back and waits until
// the program is connected and idle; false when that does not happen.
bool SettleConnected(App& app);

// The first difference between what the main window shows for the unit
// (every channel's mute and level, the current channel's EQ bands, the main
// volume) and what the simulated unit holds; empty when they agree.
std::string ShownDiffersFromUnit(App& app);

}  // namespace e2e
