#include "app/tuning/DelayUnits.h"

#include <cmath>

namespace {

float ClampMs(float ms)
{
    // NaN from a broken file counts as no delay.
    if (!(ms > 0.0f)) return 0.0f;
    return ms > kMaxDelayMs ? kMaxDelayMs : ms;
}

} // namespace

int DelayStepsPerRange(int unit)
{
    return unit == kDelayCm ? kMaxDelayCm : (unit == kDelayIn ? kMaxDelayIn : 0);
}

int DelayInSteps(int unit, float ms)
{
    return static_cast<int>(std::lround(ClampMs(ms) * DelayStepsPerRange(unit) / kMaxDelayMs));
}

float QuantizeDelay(int unit, float ms)
{
    const int steps = DelayStepsPerRange(unit);
    if (steps == 0) return ClampMs(ms);
    return DelayInSteps(unit, ms) * kMaxDelayMs / steps;
}

float ParseDelay(int unit, float value)
{
    const int steps = DelayStepsPerRange(unit);
    if (steps == 0) return ClampMs(value);
    if (!(value > 0.0f)) return 0.0f;
    const float whole = std::trunc(value);
    const int n = whole > steps ? steps : static_cast<int>(whole);
    return n * kMaxDelayMs / steps;
}
