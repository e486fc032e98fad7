// A fixed-seed run of random use on whatever the program shows: clicks,
// wheel notches, typing, drags and right clicks on visible, enabled controls
// of every open skin window, with the unit pulled and put back in between.
// Each step must be answered within its bound (the UI thread replies, no
// busy window outlives its bound); the run stops at the first that is not.
//
// The choice leans towards the buttons and menu rows that open the window
// entered least so far, so that every window is reached through its own
// opener; a plug-back now and then finds the unit on older firmware, which
// offers the forced update. Typing goes into a visible edit of the window:
// numbers, signs, units ("2k5") and junk.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {

struct RandomUseOptions {
    unsigned seed = 1;
    int actions = 300;
    int plugEvery = 40;  // an unplug every that many actions, the plug-back a few after
    // Handle peaks are sampled every that many actions: a count scans the
    // process's handle tables and costs seconds under Wine.
    int sampleEvery = 20;
    // Windows entered by earlier runs, by kind: the run leans towards those
    // entered least by all, and its own counts go on from these.
    std::map<std::string, int> entered;
};

struct RandomUseResult {
    int done = 0;
    std::string failure;       // empty when every step was answered
    std::vector<std::string> trail;  // the last steps, for the failure message
    long peakGdi = 0, peakUser = 0, peakThreads = 0;
    // Actions by the window that took them (its class, "msgwnd" and
    // "scenewnd" for the two boxes of one class, "menu <first row>"), by
    // kind ("click", "type", "wheel", ...), and windows entered by class.
    std::map<std::string, int> byWindow, byKind, entered;
};

// The windows of the list every run must reach that are not in counts
// (actions or entries by window: "MixerWnd, AboutWnd"); empty when each is.
std::string Unreached(const std::map<std::string, int>& byWindow);

// "window: count, ..." of a count map, for reports.
std::string CountsText(const std::map<std::string, int>& counts);

RandomUseResult RunRandomUse(App& app, const RandomUseOptions& options);

// Closes every window but the main one, puts the unit back and waits until
// the program is connected and idle; empty when it is, else what still
// stood in the way at the end.
std::string SettleConnected(App& app);

// The main window makes its tooltip window (a USER object, two fonts and a
// brush) the first time the pointer rests on a control with a tip, and keeps
// it: made once before counts a run must give back; false when none came.
bool MakeMainTooltip(App& app);

// The objects of one GDI object list ("GDIOBJECTS") the other has fewer
// of, by kind, one "\n  " line each: an object made again between two
// readings takes another handle.
std::string GdiMissing(const std::vector<std::string>& from, const std::vector<std::string>& in);

// The window DCs of a GDI object list, by the window each was last given
// for, and the regions.
std::vector<std::string> WindowDcs(const std::vector<std::string>& objects);

// The first difference between what the main window shows for the unit
// (every channel's mute and level, the current channel's EQ bands, the
// main volume) and what the simulated unit holds; empty when they agree. A
// bypassed EQ's kept gains are compared with the EQ restored for a moment.
std::string ShownDiffersFromUnit(App& app);

// The bypass button, answered yes, until the unit holds the channel's EQ
// bypass as bypass; false when no question comes (nothing to restore) or
// the unit does not follow.
bool SetEqBypass(App& app, int channel, long bypass);

}  // namespace e2e
