// Every wait of the device library passes through ScaledWait, so tests can
// shorten the unit's long time-outs; the program keeps the full values.
#pragma once

#include <cstdint>

uint32_t ScaledWait(uint32_t milliseconds);

// percent of every wait, 100 by default; for tests only.
void SetDeviceWaitScaleForTests(uint32_t percent);
