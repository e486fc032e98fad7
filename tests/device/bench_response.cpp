// Times the response curves the way the program builds them: one channel
// with 31 EQ bands and two eighth-order crossovers on the 512-point grid,
// and all 16 output channels (as after reading a unit's settings).
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
    std::vector<double> grid = std::vector<double>(kPoints);
    std::vector<double> hp = std::vector<double>(kPoints);
    std::vector<double> lp = std::vector<double>(kPoints);
    std::vector<double> band = std::vector<double>(kPoints);
    std::vector<double> curve = std::vector<double>(kPoints);
};

// One channel's curve; returns a value derived from it so the work is kept.
double ChannelCurve(int channel, Scratch& s) {
    LogFrequencyGrid(kFs, kPoints, s.grid.data());
    CrossoverResponse(CROSSOVER_HIGH_PASS, kFs, 40.0 + channel, CROSSOVER_BUTTERWORTH, 8, kPoints,
                      s.grid.data(), s.hp.data());
    CrossoverResponse(CROSSOVER_LOW_PASS, kFs, 12000.0 - channel, CROSSOVER_LINKWITZ_RILEY, 8, kPoints,
                      s.grid.data(), s.lp.data());
    for (int i = 0; i < kPoints; ++i) s.curve[i] = s.hp[i] + s.lp[i];
    for (int b = 0; b < kBands; ++b) {
        const double f0 = 20.0 * std::pow(2.0, b / 3.0);  // third-octave centres
        const double gain = ((b + channel) % 7) - 3.0;
        PeakingBandResponse(kFs, f0, gain, 4.3, s.grid.data(), s.band.data(), kPoints);
        for (int i = 0; i < kPoints; ++i) s.curve[i] += s.band[i];
    }
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
    volatile double sink = 0.0;
    ChannelCurve(0, s);  // warm up

    const double one = MicrosecondsPerRun(200, [&] { sink = sink + ChannelCurve(3, s); });
    const double all = MicrosecondsPerRun(20, [&] {
        for (int c = 0; c < kChannels; ++c) sink = sink + ChannelCurve(c, s);
    });

    std::printf("response curve, %d points, %d bands, 2 x 8th-order crossovers\n", kPoints, kBands);
    std::printf("  one channel:  %8.3f ms   (goal <= 2 ms)  %s\n", one / 1000.0,
                one <= 2000.0 ? "ok" : "SLOW");
    std::printf("  %d channels:  %8.3f ms   (goal <= 30 ms) %s\n", kChannels, all / 1000.0,
                all <= 30000.0 ? "ok" : "SLOW");
    return std::isfinite(sink) ? 0 : 1;
}
