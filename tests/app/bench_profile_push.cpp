// A loaded scene profile pushed to the simulated unit: how many waited
// exchanges it takes and how long the whole push lasts.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "app/tuning/ProfilePush.h"
#include "device/DspDevice.h"
#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitModel.h"
#include "tests/uilib/kit/BenchClock.h"

namespace {

const int kRounds = 10;
// Main volume and mute, 2 filters and 31 or 11 bands per channel, seven
// channel arrays, the bridges, the routing, 26 input mix rows.
const size_t kPartExchanges = 2 + 12 * 33 + 4 * 13 + 7 + 1 + 1 + 26;
// The link itself is the simulated unit's, so this bounds the program's own share.
const double kGoalMs = 250;

} // namespace

int main()
{
    sim::SimUnit& unit = sim::SimUnit::Instance();
    unit.Reset();
    // Left alive for the process's end, like the unit it stands for.
    sim::UnitModel& model = *new sim::UnitModel(unit);
    unit.SetResponder(&model);
    DspDevice device;
    device.SetDeviceConfig(95, 16, 14, 0, 0);
    device.OpenHIDDevice();
    if (!device.IsDeviceOpen()) {
        printf("the simulated unit did not open\n");
        return 1;
    }
    TuningModel profiles;
    const std::atomic<bool> stop{false};
    std::vector<double> times;
    size_t exchanges = 0;
    for (int i = 0; i < kRounds; ++i) {
        model.ClearExchanges();
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        PushLiveProfile(device, profiles.Current(), stop, device.LinkSerial());
        times.push_back(SkinUITest::MillisecondsSince(start));
        exchanges = model.Exchanges().size();
    }
    device.CloseHIDDevice(false);
    unit.SetResponder(nullptr);
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    printf("single profile push: %zu waited exchanges (the unit's order: %zu)\n", exchanges, kPartExchanges);
    printf("single profile push: median %.1f ms, %.3f ms per exchange over %d (goal <= %.0f ms)\n", median,
           median / static_cast<double>(exchanges == 0 ? 1 : exchanges), kRounds, kGoalMs);
    return exchanges == kPartExchanges && median <= kGoalMs ? 0 : 1;
}
