// Peaking bands against an independent evaluation: the band designed from the
// textbook formulas and its transfer function evaluated directly on the unit
// circle in extended precision, so neither the design limits nor the level
// polynomials of the product code are shared.
#include "device/ResponseMath.h"
#include "tests/device/ResponseTestPoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <ostream>
#include <vector>

namespace {

using namespace response_test;
using Real = long double;

struct BandCase {
    double f0;
    double gain;
    double Q;
};

void PrintTo(const BandCase& b, std::ostream* os) { *os << b.f0 << " Hz " << b.gain << " dB Q " << b.Q; }

// Level in dB of one band at frequency f on a grid whose Nyquist frequency is fs / 2.
double ReferenceLevel(const BandCase& band, double f) {
    const Real pi = std::acos(Real(-1));
    const Real A = std::pow(Real(10), Real(band.gain) / 20);
    const Real w = 2 * pi * band.f0 / kFs;
    const Real s = std::sin(w);
    const Real c = std::cos(w);
    const Real Q = band.Q;
    const Real x = (std::sqrt(4 * Q * Q + 1) - 1) * w / (2 * Q);
    Real k = std::sin(x) * s / (2 * (std::cos(x) - c));
    if (A < 1) k *= A;
    const Real D = 2 * k + s;
    const Real a[3] = {1, -4 * k * c / D, (2 * k - s) / D};
    const Real b[3] = {(2 * k + A * s) / D, -4 * k * c / D, (2 * k - A * s) / D};

    const std::complex<Real> z1 = std::polar(Real(1), -pi * Real(f) / Real(kFs / 2));
    const std::complex<Real> num = b[0] + z1 * (b[1] + z1 * b[2]);
    const std::complex<Real> den = a[0] + z1 * (a[1] + z1 * a[2]);
    const Real power = std::norm(num) / std::norm(den);
    return power > Real(1e-8) ? static_cast<double>(10 * std::log10(power)) : -400.0;
}

// Bands up to just below Nyquist, as a profile file or the unit can carry them.
const BandCase kBands[] = {
    {1000.0, 6.0, 1.0},    {20000.0, -6.0, 4.0},  {22500.0, 12.0, 4.3}, {23000.0, -12.0, 2.0},
    {23500.0, 9.0, 1.0},   {23900.0, 6.0, 10.0},  {23990.0, -18.0, 0.7}, {23999.0, 12.0, 20.0},
    {23999.0, -9.5, 3.0},
};

constexpr double kToleranceDb = 0.01;

class PeakingReference : public ::testing::TestWithParam<BandCase> {};

TEST_P(PeakingReference, BandMatchesTheTextbookEvaluation) {
    const BandCase band = GetParam();
    const std::vector<double> g = Grid();
    std::vector<double> out(g.size());
    PeakingBandResponse(kFs, band.f0, band.gain, band.Q, g.data(), out.data(), kGridSize);
    for (int i = 0; i < kGridSize; ++i)
        ASSERT_NEAR(ReferenceLevel(band, g[i]), out[i], kToleranceDb) << "point " << i << " at " << g[i] << " Hz";
}

INSTANTIATE_TEST_SUITE_P(UpToNyquist, PeakingReference, ::testing::ValuesIn(kBands));

TEST(PeakingReferenceChannel, CurveMatchesTheSumOfTheBands) {
    ResponseGrid grid;
    MakeResponseGrid(kFs, kGridSize, &grid);
    std::vector<ChannelBand> bands;
    for (const BandCase& b : kBands) bands.push_back({b.f0, b.gain, b.Q});
    const ChannelCrossover off{false, 0.0, 0, 0};
    std::vector<double> out(kGridSize);
    ChannelResponse(grid, kFs, bands.data(), static_cast<int>(bands.size()), off, off, out.data());
    for (int i = 0; i < kGridSize; ++i) {
        double expected = 0.0;
        for (const BandCase& b : kBands) expected += ReferenceLevel(b, grid.freqs[i]);
        ASSERT_NEAR(expected, out[i], kToleranceDb) << "point " << i << " at " << grid.freqs[i] << " Hz";
    }
}

}  // namespace
