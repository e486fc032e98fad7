// The frames the simulated unit received, as "SS:hex bytes" (subcommand and
// payload), for tables of expected commands.
#pragma once

#include <string>
#include <vector>

#include "tests/support/SimUnit.h"

std::vector<std::string> Described(const std::vector<sim::Frame>& frames);
