// The simulated unit of BrisaDSP_sim.exe: a unit model with the factory
// settings, answering from the program's first hidapi call. Its plug moves
// reach the program as the system would tell it, through WM_DEVICECHANGE.
#pragma once

#include "tests/support/SimUnitModel.h"

namespace sim {

UnitModel& ProgramUnit();

}  // namespace sim
