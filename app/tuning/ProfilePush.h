// Sending a loaded profile to the unit command by command, each waited for.
// Runs on a worker: it reads only the copy it is handed and talks to the unit
// through synchronous exchanges, never through the UI thread's queue.
#pragma once

#include <atomic>

#include "app/tuning/TuningModel.h"

class DspDevice;

enum class PushOutcome {
    Taken,       // every command went out and the unit answered each
    Sent,        // every command went out, one or more left unanswered
    Stopped,     // stop was set, or the link closed or was replaced
    Unanswered,  // the unit left several commands in a row, or a scene's name or store, unanswered: the rest was not sent
};

// The live profile as the unit's live state (scene 0): main volume and mute,
// every channel's filters and bands, output types, trims, mute, phase, solo,
// delays, EQ bypass, the selected source's routing and the input mix rows.
// stop ends the push between two commands, and so does the end of link, the
// link the push was started on.
PushOutcome PushLiveProfile(DspDevice& device, const SceneProfile& profile, const std::atomic<bool>& stop,
                            uint32_t link);

// The ten stored profiles as scenes 1..10 with their names, each stored in
// the unit, then the live profile without its EQ bypass.
PushOutcome PushWholeProfile(DspDevice& device, const TuningModel& model, WideToNarrowFn convert,
                             const std::atomic<bool>& stop, uint32_t link);
