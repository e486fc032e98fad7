// Times the response curves the way the program builds them: one channel
// with 31 EQ bands and two eighth-order crossovers on the 512-point grid,
// and all 16 output channels (as after reading a unit's settings). The grid
// is made once, as the program keeps it.
#include "device/ResponseMath.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kFs = 48000.0;
constexpr int kPoints = 512;
constexpr int kBands = 31;
constexpr int kChannels = 16;

struct Scratch {
    ResponseGrid grid;
    std::vector<double> curve = std::vector<double>(kPoints);
};

// One channel's curve; returns a value derived from it so the work is kept.
double ChannelCurve(int channel, Scratch& s) {
    ChannelBand bands[kBands];
    for (int b = 0; b < kBands; ++b)
        bands[b] = {20.0 * std::pow(2.0, b / 3.0), ((b + channel) % 7) - 3.0, 4.3};  // third-octave centres
    const ChannelCrossover hp{true, 40.0 + channel, CROSSOVER_BUTTERWORTH, 8};
    const ChannelCrossover lp{true, 12000.0 - channel, CROSSOVER_LINKWITZ_RILEY, 8};
    ChannelResponse(s.grid, kFs, bands, kBands, hp, lp, s.curve.data());
    return s.curve[kPoints / 2];
}

template <typename F>
double MicrosecondsPerRun(int runs, F f) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < runs; ++r) f();
    const std::chrono::duration<double, std::micro> d = std::chrono::steady_clock::now() - start;
    return d.count() / runs;
}

}  // namespace

int main() {
    Scratch s;
    MakeResponseGrid(kFs, kPoints, &s.grid);
    volatile double sink = 0.0;
    ChannelCurve(0, s);  // warm up

    const double one = MicrosecondsPerRun(200, [&] { sink = sink + ChannelCurve(3, s); });
    const double all = MicrosecondsPerRun(20, [&] {
        for (int c = 0; c < kChannels; ++c) sink = sink + ChannelCurve(c, s);
    });

    std::printf("response curve, %d points, %d bands, 2 x 8th-order crossovers\n", kPoints, kBands);
    std::printf("  one channel:  %8.3f ms   (goal <= 0.1 ms)  %s\n", one / 1000.0,
                one <= 100.0 ? "ok" : "SLOW");
    std::printf("  %d channels:  %8.3f ms   (goal <= 30 ms) %s\n", kChannels, all / 1000.0,
                all <= 30000.0 ? "ok" : "SLOW");
    return std::isfinite(sink) ? 0 : 1;
}
