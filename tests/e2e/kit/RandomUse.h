// A fixed-seed run of random use on whatever the program shows: clicks,
// wheel notches, typing, drags and right clicks on visible, enabled controls
// of every open skin window, with the unit pulled and put back in between.
// Each step must be answered within its bound (the UI thread replies, no
// busy window outlives its bound); the run stops at the first that is not.
//
// The choice leans towards the buttons and menu rows that open the window
// reached least so far (entered, and acted in), so that every window is
// reached through its own opener; a plug-back now and then finds the unit on older firmware, which
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
    // Windows entered and actions taken in them by earlier runs, by kind:
    // the run leans towards those reached least by all, and its own counts
    // go on from these.
    std::map<std::string, int> entered, acted;
};

struct RandomUseResult {
    int done = 0;
    std::string failure;       // empty when every step was answered
    std::vector<std::string> trail;  // the last steps, for the failure message
    long peakGdi = 0, peakUser = 0, peakThreads = 0;
    // This run's actions by the window that took them (its class, "msgwnd"
    // and "scenewnd" for the two boxes of one class, "menu <first row>") and
    // by kind ("click", "type", "wheel", ...); windows entered and actions
    // taken in them by kind ("menu" for every menu), the earlier runs' included.
    std::map<std::string, int> byWindow, byKind, entered, acted;
};

// The windows of the list every run must reach that were not both entered
// and acted in ("MixerWnd (entered 2, acted 0), ..."); empty when each was.
std::string Unreached(const std::map<std::string, int>& entered, const std::map<std::string, int>& acted);

// "window: count, ..." of a count map, for reports.
std::string CountsText(const std::map<std::string, int>& counts);

RandomUseResult RunRandomUse(App& app, const RandomUseOptions& options);

// Closes every window but the main one, puts the unit back and waits until
// the program is connected and idle; empty when it is, else what still
// stood in the way at the end, or the window or connect button that one
// click did not put away.
std::string SettleConnected(App& app);

// The main window makes its tooltip window (a USER object, two fonts and a
// brush) the first time the pointer rests on a control with a tip, and keeps
// it: made once before counts a run must give back; false when none came.
bool MakeMainTooltip(App& app);

// The system's context menu of an edit box draws with objects the system
// makes the first time and keeps (a font, a bitmap, two brushes, a pen, and
// two brushes more when a row is first highlighted): a right click in a box,
// Down and Escape make them once before counts a run must give back; false
// when the menu did not come, highlight and go.
bool MakeEditMenu(App& app);

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
