#include <gtest/gtest.h>

#include "app/tuning/EqBandRules.h"
#include "app/tuning/EqSendGate.h"

namespace {

TEST(EqBandRules, FrequencyGridSteps)
{
    const struct {
        int from;
        bool up;
        int to;
    } cases[] = {{1000, true, 1026}, {1000, false, 957}, {19990, true, 20000}, {20000, false, 19321},
                 {20, false, 20},    {20, true, 21}};
    for (const auto& c : cases) EXPECT_EQ(c.to, NextEqFrequency(c.from, c.up)) << c.from << (c.up ? " up" : " down");
}

TEST(EqBandRules, QStepsStopAtTheEnds)
{
    const struct {
        float q;
        bool up;
        bool moves;
        float to;
    } cases[] = {{9.0f, true, false, 0}, {8.98f, true, true, 9.0f}, {5.8f, true, true, 5.9f},
                 {0.5f, false, false, 0}, {0.52f, false, true, 0.5f}};
    for (const auto& c : cases) {
        float out = -1.0f;
        EXPECT_EQ(c.moves, StepEqQ(c.q, c.up, &out)) << c.q;
        if (c.moves) {
            EXPECT_NEAR(c.to, out, 1e-5) << c.q;
        }
    }
    EXPECT_EQ(0.5f, ClampEqQ(0.0f));
    EXPECT_EQ(9.0f, ClampEqQ(12.0f));
}

TEST(EqBandRules, FlatOnlyWithoutAnyGain)
{
    EqBand bands[3];
    EXPECT_TRUE(IsEqFlat(bands, 3));
    bands[2].gain = 0.1f;
    EXPECT_FALSE(IsEqFlat(bands, 3)) << "a tenth of a dB is a gain to keep";
    EXPECT_TRUE(IsEqFlat(bands, 2));
    EXPECT_EQ(-59, GainTenths(-5.9f));
    EXPECT_EQ(35, GainTenths(3.5f));
}

TEST(EqSendGate, OneSendPerIntervalAndEveryRelease)
{
    EqSendGate gate;
    const struct {
        uint64_t at;
        bool release;
        bool due;
    } steps[] = {{1000, false, true}, {1200, false, false}, {1500, false, false}, {1501, false, true},
                 {1600, true, true},  {2000, false, false}, {2101, false, true}};
    for (const auto& s : steps) EXPECT_EQ(s.due, gate.Due(s.release, s.at)) << s.at;
}

} // namespace
