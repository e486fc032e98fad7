#include "device/DeviceTiming.h"

#include <atomic>

namespace {
std::atomic<uint32_t> gWaitPercent{100};
}

uint32_t ScaledWait(uint32_t milliseconds) {
    uint64_t scaled = static_cast<uint64_t>(milliseconds) * gWaitPercent.load() / 100;
    if (scaled == 0 && milliseconds > 0) scaled = 1;
    return static_cast<uint32_t>(scaled);
}

void SetDeviceWaitScaleForTests(uint32_t percent) { gWaitPercent.store(percent == 0 ? 1 : percent); }
