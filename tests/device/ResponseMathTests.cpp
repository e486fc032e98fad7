#include "device/ResponseMath.h"
#include "tests/device/ResponseTestPoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

namespace {

using namespace response_test;

std::vector<double> Band(double f0, double gain, double q, const std::vector<double>& freqs) {
    std::vector<double> out(freqs.size(), 12345.0);
    PeakingBandResponse(kFs, f0, gain, q, freqs.data(), out.data(), static_cast<int>(freqs.size()));
    return out;
}

void ExpectAllFinite(const std::vector<double>& v) {
    for (size_t i = 0; i < v.size(); ++i) EXPECT_TRUE(std::isfinite(v[i])) << "point " << i;
}

TEST(LogFrequencyGrid, EndsAtNyquistThenSampleRate) {
    const std::vector<double> g = Grid();
    EXPECT_NEAR(g[0], 1.0199, 1e-4);
    EXPECT_EQ(g[510], 24000.0);
    EXPECT_EQ(g[511], 48000.0);
    EXPECT_NEAR(g[255], std::pow(24000.0, 256.0 / 511.0), 1e-9);
    for (int i = 1; i < kGridSize; ++i) EXPECT_LT(g[i - 1], g[i]) << i;
}

TEST(LogFrequencyGrid, DegenerateSizesAndRatesGiveNoNaN) {
    double one[1] = {-1.0};
    LogFrequencyGrid(kFs, 1, one);
    EXPECT_EQ(one[0], 0.0);
    LogFrequencyGrid(kFs, 0, one);  // writes nothing
    EXPECT_EQ(one[0], 0.0);
    std::vector<double> g(8, -1.0);
    LogFrequencyGrid(0.0, 8, g.data());
    for (double f : g) EXPECT_EQ(f, 0.0);
    LogFrequencyGrid(std::numeric_limits<double>::quiet_NaN(), 8, g.data());
    for (double f : g) EXPECT_EQ(f, 0.0);
}

TEST(PeakingBand, ReachesItsGainAtTheCentre) {
    const std::vector<double> f = Points({1000.0});
    EXPECT_NEAR(Band(1000.0, 6.0, 1.0, f)[0], 6.0, 0.01);
    EXPECT_NEAR(Band(1000.0, -6.0, 1.0, f)[0], -6.0, 0.01);
    EXPECT_NEAR(Band(1000.0, 12.0, 4.6, f)[0], 12.0, 0.01);
}

TEST(PeakingBand, ZeroGainIsFlatEverywhere) {
    const std::vector<double> g = Grid();
    for (double v : Band(1000.0, 0.0, 1.0, g)) EXPECT_NEAR(v, 0.0, 1e-9);
}

TEST(PeakingBand, FallsBackToUnityAwayFromTheCentre) {
    const std::vector<double> f = Points({20.0, 1000.0, 20000.0});
    const std::vector<double> out = Band(1000.0, 6.0, 4.0, f);
    EXPECT_NEAR(out[0], 0.0, 0.05);
    EXPECT_NEAR(out[2], 0.0, 0.05);
    // Cut and boost of the same band mirror each other.
    const std::vector<double> cut = Band(1000.0, -6.0, 4.0, f);
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(cut[i], -out[i], 1e-9) << i;
}

TEST(PeakingBand, BiquadIsNormalised) {
    double a[3];
    double b[3];
    PeakingBiquad(kFs, 1000.0, 6.0, 1.0, a, b);
    EXPECT_EQ(a[0], 1.0);
    EXPECT_DOUBLE_EQ(a[1], b[1]);
    // Unity gain at 0 Hz: sum(b) == sum(a).
    EXPECT_NEAR(b[0] + b[1] + b[2], a[0] + a[1] + a[2], 1e-12);
}

// Values a unit reply or a profile file can carry: none may poison a curve.
TEST(PeakingBand, BandsThatCannotBeDesignedAreFlat) {
    const std::vector<double> g = Grid();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double bad[][3] = {
        // f0, gain, Q
        {1000.0, 6.0, 0.0}, {1000.0, 6.0, -1.0}, {0.0, 6.0, 1.0}, {-50.0, 6.0, 1.0},
        {nan, 6.0, 1.0},    {1000.0, 6.0, nan},  {1000.0, nan, 1.0}, {1000.0, 6.0, inf},
        {1000.0, 1e5, 1.0},
    };
    for (const auto& c : bad) {
        const std::vector<double> out = Band(c[0], c[1], c[2], g);
        for (size_t i = 0; i < out.size(); ++i) {
            ASSERT_EQ(out[i], 0.0) << "f0 " << c[0] << " gain " << c[1] << " Q " << c[2] << " point " << i;
        }
    }
}

TEST(PeakingBand, CentresAtAndBeyondNyquistStayFinite) {
    const std::vector<double> g = Grid();
    for (double f0 : {22000.0, 23999.0, 24000.0, 30000.0, 48000.0, 1e9, 1e-300}) {
        for (double q : {0.1, 1.0, 50.0, 1e8}) {
            SCOPED_TRACE(testing::Message() << "f0 " << f0 << " Q " << q);
            ExpectAllFinite(Band(f0, 9.0, q, g));
        }
    }
    // A band above the grid still boosts its top end.
    const std::vector<double> top = Band(30000.0, 9.0, 1.0, g);
    EXPECT_GT(top[509], 3.0);
    EXPECT_NEAR(top[0], 0.0, 0.01);
}

TEST(PeakingBand, LeavesTheFrequenciesAlone) {
    const std::vector<double> g = Grid();
    const std::vector<double> copy = g;
    Band(1000.0, 6.0, 1.0, g);
    EXPECT_EQ(g, copy);
}

TEST(CascadeResponse, EvaluatesLevelAndPhase) {
    // One first-order section, z = -1 zero and no pole: H = (1 + z^-1) / 2.
    const double b[3] = {0.5, 0.5, 0.0};
    const double a[3] = {1.0, 0.0, 0.0};
    std::vector<double> im = Points({0.0, 12000.0});
    std::vector<double> re(im.size());
    ASSERT_TRUE(CascadeResponse(b, a, 2, 1, re.data(), im.data(), 4, 2));
    EXPECT_NEAR(re[0], 0.0, 1e-12);
    EXPECT_NEAR(re[1], 10.0 * std::log10(0.5), 1e-9);  // |cos(pi/4)|^2
    EXPECT_NEAR(im[1], -kPi / 4.0, 1e-12);
    EXPECT_EQ(re[2], -400.0);  // the zero at Nyquist
    EXPECT_EQ(im[2], 0.0);
}

TEST(CascadeResponse, MultipliesItsSections) {
    const double b[6] = {0.5, 0.5, 0.0, 0.5, 0.5, 0.0};
    const double a[6] = {1.0, 0.0, 0.0, 1.0, 0.0, 0.0};
    std::vector<double> im = Points({12000.0});
    std::vector<double> re(im.size());
    ASSERT_TRUE(CascadeResponse(b, a, 2, 2, re.data(), im.data(), 3, 2));
    EXPECT_NEAR(re[0], 20.0 * std::log10(0.5), 1e-9);
    EXPECT_NEAR(im[0], -kPi / 2.0, 1e-12);
}

TEST(CascadeResponse, RefusesWhatItCannotEvaluate) {
    const double b[3] = {1.0, 0.0, 0.0};
    const double a[3] = {1.0, 0.0, 0.0};
    std::vector<double> im = Points({1000.0});
    std::vector<double> re(im.size(), 7.0);
    const std::vector<double> before = im;
    EXPECT_FALSE(CascadeResponse(b, a, 2, 1, re.data(), im.data(), 3, 1));
    EXPECT_FALSE(CascadeResponse(b, a, 2, 1, re.data(), im.data(), 1, 2));
    std::vector<double> zeroNyquist = {1000.0, 0.0, 0.0};
    EXPECT_FALSE(CascadeResponse(b, a, 2, 1, re.data(), zeroNyquist.data(), 3, 2));
    EXPECT_EQ(im, before);
    for (double v : re) EXPECT_EQ(v, 7.0);
}

}  // namespace

TEST(ChannelResponse, EqualsTheSumOfItsParts) {
    constexpr int N = 512;
    std::vector<double> grid(N), part(N), sum(N), whole(N);
    LogFrequencyGrid(48000.0, N, grid.data());
    ResponseGrid shared;
    MakeResponseGrid(48000.0, N, &shared);
    ASSERT_EQ(grid, shared.freqs);
    for (int channel = 0; channel < 7; ++channel) {
        std::vector<ChannelBand> bands;
        for (int b = 0; b < 31; ++b)
            bands.push_back({20.0 * std::pow(2.0, b / 3.0), ((b + channel) % 25) - 12.0, 0.4 + 0.3 * (b % 30)});
        if (channel == 6) {
            // Every band on one low frequency: the products leave the range of
            // a double and the point is summed band by band.
            for (ChannelBand& b : bands) b = {20.0, 12.0, 9.0};
        }
        const ChannelCrossover hp{channel != 1, 30.0 + 400.0 * channel, channel % 4, 1 + (channel * 3) % 8};
        const ChannelCrossover lp{channel != 2, 16000.0 - 2500.0 * channel, (channel + 1) % 4, 8 - channel};
        std::fill(sum.begin(), sum.end(), 0.0);
        if (hp.on) {
            CrossoverResponse(CROSSOVER_HIGH_PASS, 48000.0, hp.fc, hp.type, hp.slope, N, grid.data(), part.data());
            for (int i = 0; i < N; ++i) sum[i] += part[i];
        }
        if (lp.on) {
            CrossoverResponse(CROSSOVER_LOW_PASS, 48000.0, lp.fc, lp.type, lp.slope, N, grid.data(), part.data());
            for (int i = 0; i < N; ++i) sum[i] += part[i];
        }
        for (const ChannelBand& b : bands) {
            PeakingBandResponse(48000.0, b.f0, b.gain_db, b.Q, grid.data(), part.data(), N);
            for (int i = 0; i < N; ++i) sum[i] += part[i];
        }
        ChannelResponse(shared, 48000.0, bands.data(), static_cast<int>(bands.size()), hp, lp, whole.data());
        for (int i = 0; i < N; ++i) {
            ASSERT_TRUE(std::isfinite(whole[i]));
            ASSERT_NEAR(sum[i], whole[i], 1e-6) << "channel " << channel << " point " << i;
        }
    }
}
