// The frames a profile push must send, in the unit's order, as "tt ss oo"
// heads with their leading payload bytes in hex ("01 05 bb 00000301"): the
// filters (low-pass first) and every band per channel, the channel arrays,
// the bridged pairs, the routing of the selected source and the input mix rows.
#pragma once

#include <string>
#include <vector>

#include "app/tuning/TuningModel.h"

// A scene profile pushed as the live state (EQ bypass included).
std::vector<std::string> LivePushShape(const SceneProfile& profile);
// Scenes 1..10 each with its name and store, then the live state without its EQ bypass.
std::vector<std::string> WholePushShape(const TuningModel& model);
// Each frame text cut to the length of the lead it is compared with.
std::vector<std::string> CutToShape(const std::vector<std::string>& frames, const std::vector<std::string>& shape);
