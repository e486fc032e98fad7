#include "device/ResponseMath.h"
#include "tests/device/ResponseTestPoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

namespace {

using namespace response_test;

std::vector<double> Response(int kind, double fc, int type, int slope, const std::vector<double>& f) {
    std::vector<double> out(f.size(), 12345.0);
    CrossoverResponse(kind, kFs, fc, type, slope, static_cast<int>(f.size()), f.data(), out.data());
    return out;
}

double LevelAt(int kind, double fc, int type, int slope, double f) {
    return Response(kind, fc, type, slope, Points({f}))[0];
}

// Sum of the section phases of a design at one frequency, in degrees.
double PhaseDegrees(const CrossoverDesign& d, bool lowPass, double f) {
    double sum = 0.0;
    for (int s = 0; s < 4; ++s) {
        double b[3];
        double a[3];
        if (!CrossoverSectionBiquad(d, s, lowPass, b, a)) continue;
        std::vector<double> im = Points({f});
        std::vector<double> re(im.size());
        EXPECT_TRUE(CascadeResponse(b, a, 2, 1, re.data(), im.data(), 3, 2));
        sum += im[0];
    }
    return sum * 180.0 / kPi;
}

TEST(Crossover, ButterworthAndLinkwitzRileyAtTheCutoff) {
    EXPECT_NEAR(LevelAt(CROSSOVER_HIGH_PASS, 1000.0, CROSSOVER_BUTTERWORTH, 4, 1000.0), -3.01, 0.01);
    EXPECT_NEAR(LevelAt(CROSSOVER_HIGH_PASS, 1000.0, CROSSOVER_LINKWITZ_RILEY, 4, 1000.0), -6.02, 0.01);
    EXPECT_NEAR(LevelAt(CROSSOVER_LOW_PASS, 1000.0, CROSSOVER_BUTTERWORTH, 8, 1000.0), -3.01, 0.01);
    EXPECT_NEAR(LevelAt(CROSSOVER_LOW_PASS, 1000.0, CROSSOVER_LINKWITZ_RILEY, 8, 1000.0), -6.02, 0.01);
    // Type 0 has Q = 1: unity at the cut-off.
    EXPECT_NEAR(LevelAt(CROSSOVER_LOW_PASS, 1000.0, CROSSOVER_SECOND_ORDER, 2, 1000.0), 0.0, 0.01);
}

TEST(Crossover, BesselLevelAndPhaseAtTheCutoff) {
    const double levels[9] = {0, -3.01, -4.77, -6.31, -7.78, -9.22, -10.65, -12.07, -13.50};
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(testing::Message() << "order " << n);
        EXPECT_NEAR(LevelAt(CROSSOVER_LOW_PASS, 1000.0, CROSSOVER_BESSEL, n, 1000.0), levels[n], 0.02);
        const CrossoverDesign d = DesignCrossover(true, 1000.0, n, CROSSOVER_BESSEL);
        EXPECT_NEAR(PhaseDegrees(d, true, 1000.0), -45.0 * n, 0.5);
    }
}

// The type comes before the slope; both are ints, so pin the order with
// pairs whose swapped reading gives a different curve.
TEST(Crossover, TypeComesBeforeSlope) {
    // Linkwitz-Riley slope 1 (order 2, -6 dB); read swapped: Butterworth 2, -3 dB.
    EXPECT_NEAR(LevelAt(CROSSOVER_HIGH_PASS, 1000.0, CROSSOVER_LINKWITZ_RILEY, 1, 1000.0), -6.02, 0.01);
    // Bessel slope 8 (-13.5 dB); read swapped: type 8, slope 3.
    EXPECT_NEAR(LevelAt(CROSSOVER_LOW_PASS, 1000.0, CROSSOVER_BESSEL, 8, 1000.0), -13.50, 0.02);
}

TEST(Crossover, KindOneIsLowPassAnyOtherHighPass) {
    const std::vector<double> f = Points({100.0, 10000.0});
    const std::vector<double> lp = Response(1, 1000.0, CROSSOVER_BUTTERWORTH, 4, f);
    EXPECT_NEAR(lp[0], 0.0, 0.01);
    EXPECT_LT(lp[1], -70.0);
    const std::vector<double> hp = Response(2, 1000.0, CROSSOVER_BUTTERWORTH, 4, f);
    EXPECT_LT(hp[0], -70.0);
    EXPECT_NEAR(hp[1], 0.0, 0.01);
    EXPECT_EQ(Response(0, 1000.0, CROSSOVER_BUTTERWORTH, 4, f), hp);
    EXPECT_EQ(Response(7, 1000.0, CROSSOVER_BUTTERWORTH, 4, f), hp);
}

TEST(Crossover, SlopesAreLimitedPerType) {
    const std::vector<double> g = Grid();
    auto hp = [&](int type, int slope) { return Response(CROSSOVER_HIGH_PASS, 800.0, type, slope, g); };
    for (int type = CROSSOVER_BUTTERWORTH; type <= CROSSOVER_BESSEL; ++type) {
        SCOPED_TRACE(testing::Message() << "type " << type);
        // Slope 0 is a first-order filter, the same for every type.
        EXPECT_EQ(hp(type, 0), hp(CROSSOVER_BUTTERWORTH, 1));
        EXPECT_EQ(hp(type, -5), hp(CROSSOVER_BUTTERWORTH, 1));
        EXPECT_EQ(hp(type, 9), hp(type, 8));
        EXPECT_NE(hp(type, 8), hp(type, 6));
    }
    EXPECT_EQ(hp(CROSSOVER_LINKWITZ_RILEY, 3), hp(CROSSOVER_LINKWITZ_RILEY, 4));
    EXPECT_EQ(hp(CROSSOVER_LINKWITZ_RILEY, 7), hp(CROSSOVER_LINKWITZ_RILEY, 8));
    EXPECT_EQ(hp(CROSSOVER_SECOND_ORDER, 1), hp(CROSSOVER_SECOND_ORDER, 2));
    EXPECT_EQ(hp(CROSSOVER_SECOND_ORDER, 8), hp(CROSSOVER_SECOND_ORDER, 2));
    // Unknown types design as Butterworth rather than with undamped poles.
    EXPECT_EQ(hp(4, 4), hp(CROSSOVER_BUTTERWORTH, 4));
    EXPECT_EQ(hp(-1, 4), hp(CROSSOVER_BUTTERWORTH, 4));
}

TEST(Crossover, CutoffIsLimited) {
    const std::vector<double> g = Grid();
    auto lp = [&](double fc) { return Response(CROSSOVER_LOW_PASS, fc, CROSSOVER_BESSEL, 5, g); };
    EXPECT_EQ(lp(30000.0), lp(22000.0));
    EXPECT_EQ(lp(1e12), lp(22000.0));
    EXPECT_EQ(lp(0.0), lp(0.0025));
    EXPECT_EQ(lp(-100.0), lp(0.0025));
    EXPECT_EQ(lp(std::numeric_limits<double>::quiet_NaN()), lp(0.0025));
    EXPECT_NE(lp(21000.0), lp(22000.0));
}

TEST(Crossover, StopBandPointsFloorPerSection) {
    // Both sections of a fourth-order high-pass are below -80 dB at 10 Hz.
    EXPECT_EQ(LevelAt(CROSSOVER_HIGH_PASS, 1000.0, CROSSOVER_BUTTERWORTH, 4, 10.0), -800.0);
}

TEST(Crossover, LowPassAtTheSampleRateEqualsItsLevelAtZero) {
    const std::vector<double> g = Grid();
    for (int type = CROSSOVER_SECOND_ORDER; type <= CROSSOVER_BESSEL; ++type) {
        for (int slope = 1; slope <= 8; ++slope) {
            const std::vector<double> lp = Response(CROSSOVER_LOW_PASS, 2000.0, type, slope, g);
            EXPECT_NEAR(lp[kGridSize - 1], 0.0, 1e-9) << "type " << type << " slope " << slope;
            EXPECT_NEAR(lp[0], 0.0, 1e-4) << "type " << type << " slope " << slope;
        }
    }
}

TEST(Crossover, DesignOrdersItsSections) {
    // Odd order: second-order sections first, the first-order one after them.
    const CrossoverDesign d5 = DesignCrossover(false, 1000.0, 5, CROSSOVER_BUTTERWORTH);
    EXPECT_EQ(d5.kind[0], kSectionSecondOrder);
    EXPECT_EQ(d5.kind[1], kSectionSecondOrder);
    EXPECT_EQ(d5.kind[2], kSectionFirstOrder);
    EXPECT_EQ(d5.kind[3], kSectionEmpty);
    // Butterworth sections run from the most damped (smallest pole radius p).
    const CrossoverDesign d8 = DesignCrossover(false, 1000.0, 8, CROSSOVER_BUTTERWORTH);
    for (int s = 1; s < 4; ++s) EXPECT_LT(d8.p[s - 1], d8.p[s]) << s;
    double b[3];
    double a[3];
    EXPECT_FALSE(CrossoverSectionBiquad(d5, 3, false, b, a));
    EXPECT_FALSE(CrossoverSectionBiquad(d5, 4, false, b, a));
    EXPECT_FALSE(CrossoverSectionBiquad(d5, -1, false, b, a));
}

TEST(Crossover, SectionBiquadsHaveUnityPassBandGain) {
    const CrossoverDesign lp = DesignCrossover(true, 1500.0, 7, CROSSOVER_BESSEL);
    const CrossoverDesign hp = DesignCrossover(false, 1500.0, 7, CROSSOVER_BESSEL);
    for (int s = 0; s < 4; ++s) {
        double b[3];
        double a[3];
        ASSERT_TRUE(CrossoverSectionBiquad(lp, s, true, b, a)) << s;
        EXPECT_NEAR(b[0] + b[1] + b[2], a[0] + a[1] + a[2], 1e-12) << s;  // at 0 Hz
        ASSERT_TRUE(CrossoverSectionBiquad(hp, s, false, b, a)) << s;
        EXPECT_NEAR(b[0] - b[1] + b[2], a[0] - a[1] + a[2], 1e-12) << s;  // at Nyquist
    }
}

TEST(Crossover, ChannelCurveOverTheGridIsFinite) {
    const std::vector<double> g = Grid();
    for (int type = -1; type <= 5; ++type) {
        for (int slope = 0; slope <= 9; ++slope) {
            for (double fc : {0.0, 20.0, 1000.0, 20000.0, 24000.0, 96000.0}) {
                const std::vector<double> hp = Response(CROSSOVER_HIGH_PASS, fc, type, slope, g);
                const std::vector<double> lp = Response(CROSSOVER_LOW_PASS, fc, type, slope, g);
                for (int i = 0; i < kGridSize; ++i) {
                    ASSERT_TRUE(std::isfinite(hp[i] + lp[i]))
                        << "type " << type << " slope " << slope << " fc " << fc << " point " << i;
                }
            }
        }
    }
}

}  // namespace
