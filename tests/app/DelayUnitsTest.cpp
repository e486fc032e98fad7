#include <gtest/gtest.h>

#include <cmath>

#include "app/tuning/DelayUnits.h"

namespace {

struct ParseCase {
    int unit;
    float typed;
    float ms;
};

// Typed values: whole steps, truncation, clamping, negatives.
const ParseCase kParse[] = {
    {kDelayCm, 600.0f, 15.0f},        {kDelayCm, 10.0f, 150.0f / 519},  {kDelayCm, 10.9f, 150.0f / 519},
    {kDelayCm, -3.0f, 0.0f},          {kDelayIn, 204.0f, 15.0f},        {kDelayIn, 300.0f, 15.0f},
    {kDelayIn, 1.0f, 15.0f / 204},    {kDelayMs, 2.345f, 2.345f},       {kDelayMs, 16.0f, 15.0f},
    {kDelayMs, -1.0f, 0.0f},          {7, 20.0f, 15.0f},
};

TEST(DelayUnits, TypedValuesBecomeMilliseconds)
{
    for (const ParseCase& c : kParse) {
        EXPECT_NEAR(c.ms, ParseDelay(c.unit, c.typed), 1e-5) << c.unit << " " << c.typed;
    }
}

struct StepCase {
    int unit;
    float ms;
    int steps;
    float quantized;
};

// Rounding to the nearest step both ways, halves away from zero, limits.
const StepCase kSteps[] = {
    {kDelayCm, 15.0f, 519, 15.0f},
    {kDelayCm, 20.0f, 519, 15.0f},
    {kDelayCm, 0.289017f, 10, 150.0f / 519},
    {kDelayCm, 0.30f, 10, 150.0f / 519},             // 10.38 cm rounds down
    {kDelayCm, 0.31f, 11, 165.0f / 519},             // 10.73 cm rounds up
    {kDelayCm, 0.5f * 15.0f / 519, 1, 15.0f / 519},  // half a cm rounds away from zero
    {kDelayIn, 15.0f, 204, 15.0f},
    {kDelayIn, 0.021f, 0, 0.0f},                     // one slider step is under half an inch
    {kDelayIn, -2.0f, 0, 0.0f},
    {kDelayMs, 2.3456f, 0, 2.3456f},
    {kDelayMs, NAN, 0, 0.0f},
};

TEST(DelayUnits, DelaysRoundOntoWholeSteps)
{
    for (const StepCase& c : kSteps) {
        if (c.unit != kDelayMs) {
            EXPECT_EQ(c.steps, DelayInSteps(c.unit, c.ms)) << c.unit << " " << c.ms;
        }
        EXPECT_NEAR(c.quantized, QuantizeDelay(c.unit, c.ms), 1e-5) << c.unit << " " << c.ms;
    }
}

// Every whole cm and inch survives the trip to ms and back.
TEST(DelayUnits, WholeStepsRoundTrip)
{
    for (int unit : {kDelayCm, kDelayIn}) {
        for (int n = 0; n <= DelayStepsPerRange(unit); ++n) {
            const float ms = ParseDelay(unit, static_cast<float>(n));
            ASSERT_EQ(n, DelayInSteps(unit, ms)) << unit;
            ASSERT_FLOAT_EQ(ms, QuantizeDelay(unit, ms)) << unit;
        }
    }
}

} // namespace
