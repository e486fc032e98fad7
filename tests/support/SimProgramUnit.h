// The simulated unit of BrisaDSP_sim.exe: a unit model with the factory
// settings and its loader, answering from the program's first hidapi call;
// a reboot or factory reset takes it off the bus for a moment. Its plug moves
// reach the program as the system would tell it, through WM_DEVICECHANGE.
#pragma once

#include "tests/support/SimLoader.h"

namespace sim {

LoaderUnitModel& ProgramUnit();

}  // namespace sim
