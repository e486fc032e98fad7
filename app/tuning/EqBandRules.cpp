#include "app/tuning/EqBandRules.h"

#include <cmath>

#include "app/tuning/TypedNumber.h"

namespace {

const int kGridSteps = 200;

int GridFrequency(int p)
{
    const double lo = std::log10(static_cast<double>(kEqMinFreq));
    const double decades = std::log10(static_cast<double>(kEqMaxFreq)) - lo;
    return static_cast<int>(std::lround(std::pow(10.0, lo + decades * p / kGridSteps)));
}

int ClampGrid(int p)
{
    return p < 0 ? 0 : (p > kGridSteps ? kGridSteps : p);
}

} // namespace

int NextEqFrequency(int f, bool up)
{
    if (f < kEqMinFreq) f = kEqMinFreq;
    if (f > kEqMaxFreq) f = kEqMaxFreq;
    const double lo = std::log10(static_cast<double>(kEqMinFreq));
    const double decades = std::log10(static_cast<double>(kEqMaxFreq)) - lo;
    const int p0 = static_cast<int>(kGridSteps * (std::log10(static_cast<double>(f)) - lo) / decades);
    const int step = up ? 1 : -1;
    int next = GridFrequency(ClampGrid(p0 + step));
    if (next == f) next = GridFrequency(ClampGrid(p0 + 2 * step));
    return next;
}

float ClampEqQ(float q)
{
    if (!(q >= kEqMinQ)) return kEqMinQ;
    return q > kEqMaxQ ? kEqMaxQ : q;
}

float EqUnitQ(double q)
{
    return ClampEqQ(static_cast<float>(NearestStep(q, 0.1)));
}

bool StepEqQ(float q, bool up, float* out)
{
    // Counted from the Q as shown, to two decimals: only a Q already at the
    // end stays, 8.98 still steps up to 9.00, and a file's 0.73 goes to
    // 0.80 or 0.70. The tenth beyond the shown Q is the one nearest to the Q
    // moved by half a tenth and half a hundredth.
    const float end = up ? kEqMaxQ : kEqMinQ;
    if (up ? q >= end - 0.005f : q <= end + 0.005f) return false;
    *out = EqUnitQ(q + (up ? 0.055 : -0.055));
    return true;
}

bool IsZeroGain(float gain)
{
    return std::fabs(gain) <= 0.001f;
}

bool IsEqFlat(const EqBand* bands, int count)
{
    for (int b = 0; b < count; ++b) {
        if (!IsZeroGain(bands[b].gain)) return false;
    }
    return true;
}

int GainTenths(float gain)
{
    return static_cast<int>(NearestStep(gain * 10.0f, 1.0));
}
