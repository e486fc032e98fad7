#include "device/DeviceTiming.h"

#include <atomic>

namespace {
std::atomic<uint32_t> gWaitPercent{100};
std::atomic<uint32_t> gLongestAsked{0};
}

uint32_t ScaledWait(uint32_t milliseconds) {
    uint32_t longest = gLongestAsked.load();
    while (milliseconds > longest && !gLongestAsked.compare_exchange_weak(longest, milliseconds)) {
    }
    uint64_t scaled = static_cast<uint64_t>(milliseconds) * gWaitPercent.load() / 100;
    if (scaled == 0 && milliseconds > 0) scaled = 1;
    return static_cast<uint32_t>(scaled);
}

void SetDeviceWaitScaleForTests(uint32_t percent) { gWaitPercent.store(percent == 0 ? 1 : percent); }

uint32_t TakeLongestWaitForTests() { return gLongestAsked.exchange(0); }
