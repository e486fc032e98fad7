// Channel editing costs: one volume step until its report reaches the unit,
// the curve refresh of a channel with its partner and a 12-channel group, and
// all 16 curves as after a status read.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/tuning/EqualizerManager.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimUnit.h"
#include "tests/uilib/kit/BenchClock.h"

namespace {

const int kRounds = 200;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Every band in use, so each curve costs what a tuned channel costs.
void Tune(SceneProfile& p)
{
    for (ChannelParams& ch : p.channels) {
        ch.bypass = 0;
        for (int b = 0; b < ch.eqSize; ++b) ch.bands[b].gain = static_cast<float>(b % 7) - 3.0f;
    }
}

int Report(const char* what, double median, double goal)
{
    printf("%s: median %.3f ms over %d (goal <= %.0f ms)\n", what, median, kRounds, goal);
    return median <= goal ? 0 : 1;
}

} // namespace

int main()
{
    EqualizerManager controller;
    SceneProfile& p = controller.Current();
    Tune(p);
    int failed = 0;

    p.bridgeOutputs[0] = 1;
    for (int ch = 0; ch < 12; ++ch) p.linkSel[ch] = 1;
    p.currOutChannel = 0;
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        controller.UpdateEqualizer(-1);
        times.push_back(SkinUITest::MillisecondsSince(start));
    }
    failed |= Report("UpdateEqualizer, current + partner + 12-channel group", Median(times), 10);

    times.clear();
    for (int i = 0; i < kRounds; ++i) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        for (int ch = 0; ch < kOutputChannels; ++ch) controller.ComputeChannelCurve(ch, false);
        times.push_back(SkinUITest::MillisecondsSince(start));
    }
    failed |= Report("all 16 curves", Median(times), 20);

    sim::AckResponder ack;
    sim::SimUnit& unit = sim::SimUnit::Instance();
    unit.Reset();
    unit.SetResponder(&ack);
    p.linkSel.fill(0);
    p.bridgeOutputs.fill(0);
    controller.Device().OpenHIDDevice();
    controller.Device().EnableAsyncMode();
    times.clear();
    for (int i = 0; i < kRounds; ++i) {
        unit.ClearReceived();
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        controller.ChangeChVolume(0, static_cast<float>(-10 * (i % 60 + 1)), false, false);
        // Spins rather than sleeps, so the figure is not the sleep's grain.
        while (unit.ReceivedReports().empty()) {
            if (SkinUITest::MillisecondsSince(start) > 5000) {
                printf("the trim never reached the unit\n");
                return 1;
            }
            Sleep(0);
        }
        times.push_back(SkinUITest::MillisecondsSince(start));
        sim::PollUntil([&] { return controller.Device().IsQueueIdle(); }, 5000);
    }
    controller.Device().CloseHIDDevice(false);
    unit.SetResponder(nullptr);
    failed |= Report("one volume step until its report is written", Median(times), 6);
    return failed;
}
