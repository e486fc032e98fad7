#include "device/ResponseMath.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Crossovers are designed at this rate whatever the caller's grid says.
constexpr double kDesignRate = 48000.0;

// Cut-off limits as fractions of the design rate: 0.0025 Hz .. 22000 Hz.
constexpr double kMinCutoffRatio = 5.208333333333333e-08;
constexpr double kMaxCutoffRatio = 0.4583333333333333;

// A peaking band's centre as a fraction of the rate: just below Nyquist, where
// its design divides by zero. The crossovers' 22000 Hz limit is theirs alone;
// a band of a profile or the unit may sit anywhere up to Nyquist.
constexpr double kMaxPeakingRatio = 0.49999;

// Below this power gain a point reads -400 dB instead of a tiny logarithm.
constexpr double kPowerFloor = 1e-8;
constexpr double kFloorDb = -400.0;  // 10 * log10(1e-40)

const double kBesselInvQ[9][4] = {
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {1.7320508076, 0, 0, 0},
    {1.4470803599, 0, 0, 0},
    {1.9159489237, 1.2414059301, 0, 0},
    {1.7745107195, 1.0911344114, 0, 0},
    {1.9595631418, 1.6361402521, 0.9772172032, 0},
    {1.8784433114, 1.5132682086, 0.8878963849, 0},
    {1.9763194659, 1.7869614419, 1.4067624418, 0.8158806765},
};

const double kBesselSectionFactor[9][4] = {
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {1.7320508076, 0, 0, 0},
    {2.5415414011, 0, 0, 0},
    {3.0232649388, 3.3893657927, 0, 0},
    {3.7778936609, 4.2610228013, 0, 0},
    {4.3360270513, 4.5664891522, 5.1491771521, 0},
    {5.0662061498, 5.3792700335, 6.0495276805, 0},
    {5.6548408694, 5.8253532155, 6.2104149036, 6.9593116508},
};

const double kBesselFirstOrderFactor[4] = {1.0, 2.3221853546, 3.6467385953, 4.9717868586};

const double kBesselOverallFactor[9] = {
    0, 1.0, 0.5773502692, 0.4030076571, 0.3086066999,
    0.2496411504, 0.2093977333, 0.1802208568, 0.1581178777,
};

const double kLinkwitzRileyInvQ[5][4] = {
    {0, 0, 0, 0},
    {2.0, 0, 0, 0},
    {1.4142135624, 1.4142135624, 0, 0},
    {2.0, 1.0, 1.0, 0},
    {1.847759065, 0.7653668647, 1.847759065, 0.7653668647},
};

// NaN goes to the lower limit, so a broken cut-off still designs a filter.
double LimitAngle(double w) {
    const double lo = 2.0 * kPi * kMinCutoffRatio;
    const double hi = 2.0 * kPi * kMaxCutoffRatio;
    if (!(w > lo)) return lo;
    return w > hi ? hi : w;
}

// Scales a Bessel section's angle: up for a low-pass, down for a high-pass.
double BesselScale(double ws, double factor, bool low_pass) {
    return low_pass ? ws * factor : ws / factor;
}

int DesignOrder(int order, int type) {
    if (type == CROSSOVER_SECOND_ORDER) return 2;
    if (type == CROSSOVER_LINKWITZ_RILEY && order % 2 != 0) order += 1;
    if (order < 1) return 1;
    return order > 8 ? 8 : order;
}

double SecondOrderDamping(int type, int order, int s) {
    switch (type) {
        case CROSSOVER_SECOND_ORDER:
            return 1.0;
        case CROSSOVER_LINKWITZ_RILEY:
            return kLinkwitzRileyInvQ[order / 2][s];
        case CROSSOVER_BESSEL:
            return kBesselInvQ[order][s];
        default:  // Butterworth: sections from the most to the least damped
            return 2.0 * std::sin((2.0 * (order / 2 - 1 - s) + 1.0) * kPi / (2.0 * order));
    }
}

bool AllFinite(const double* v, int n) {
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(v[i])) return false;
    }
    return true;
}

void SetFlat(double* a, double* b) {
    a[0] = 1.0; a[1] = 0.0; a[2] = 0.0;
    b[0] = 1.0; b[1] = 0.0; b[2] = 0.0;
}

// One biquad, a[0] = 1.
struct Biquad {
    double b[3];
    double a[3];
};

// Numerator and denominator of one section at z^-1 = (cw, sw), by Horner
// from the highest coefficient down.
void SectionAt(const double* b, const double* a, int order, double cw, double sw,
               double* nr, double* ni, double* dr, double* di) {
    double xr = 0.0, xi = 0.0, yr = 0.0, yi = 0.0;
    for (int k = order; k >= 1; --k) {
        const double tn = xr + b[k];
        xr = tn * cw - xi * sw;
        xi = tn * sw + xi * cw;
        const double td = yr + a[k];
        yr = td * cw - yi * sw;
        yi = td * sw + yi * cw;
    }
    *nr = xr + b[0];
    *ni = xi;
    *dr = yr + 1.0;
    *di = yi;
}

// 10 log10(x) through the faster base-2 logarithm.
double TenLog10(double x) { return 3.0102999566398120 * std::log2(x); }

double PowerToDb(double power) {
    return power > kPowerFloor ? TenLog10(power) : kFloorDb;
}

// The Nyquist frequency of a frequency array, or 0 when it has none.
double GridNyquist(const double* freqs, int N) {
    if (N < 2) return 0.0;
    const double fn = freqs[N - 2];
    return fn > 0.0 && std::isfinite(fn) ? fn : 0.0;
}

// A point's half angle w/2 as phi = sin^2(w/2) and psi = cos^2(w/2), each
// from its own sine or cosine so both keep their precision near zero.
struct HalfAngle {
    double phi;  // negative: the point has no value
    double psi;
};

// A biquad's power gain at z^-1 = e^-jw as polynomials in phi, and the same in
// psi: |B|^2 = n0 + n1 phi + n2 phi^2, likewise |A|^2. Near 0 Hz, where
// crossover zeros and low bands' poles sit, the phi form keeps its precision;
// near Nyquist, where the zeros of low-passes and the poles and zeros of the
// highest bands sit, only the psi form does (it is the phi form of the section
// mirrored to z -> -z).
struct PowerPolynomial {
    double n0, n1, n2;
    double d0, d1, d2;
};

void PhiPolynomial(const double* c, double* p0, double* p1, double* p2) {
    const double sum = c[0] + c[1] + c[2];
    *p0 = sum * sum;
    *p1 = -4.0 * (c[0] * c[1] + 4.0 * c[0] * c[2] + c[1] * c[2]);
    *p2 = 16.0 * c[0] * c[2];
}

// The phi form of a section, or with mirrored set its psi form.
PowerPolynomial ToPowerPolynomial(const Biquad& s, bool mirrored) {
    const double sign = mirrored ? -1.0 : 1.0;
    const double b[3] = {s.b[0], sign * s.b[1], s.b[2]};
    const double a[3] = {s.a[0], sign * s.a[1], s.a[2]};
    PowerPolynomial p;
    PhiPolynomial(b, &p.n0, &p.n1, &p.n2);
    PhiPolynomial(a, &p.d0, &p.d1, &p.d2);
    return p;
}

// |B|^2 and |A|^2 of a section at one point, from the polynomial in x (phi or psi).
inline void SectionPowers(const Biquad& section, const PowerPolynomial& p, double x, HalfAngle at,
                          double* num, double* den) {
    *num = p.n0 + x * (p.n1 + x * p.n2);
    *den = p.d0 + x * (p.d1 + x * p.d2);
    if (!(*den > 0.0) || *num < 0.0) {
        // Rounding took a vanishing power below zero: evaluate the section itself.
        const double w = 2.0 * std::atan2(std::sqrt(at.phi), std::sqrt(at.psi));
        double nr, ni, dr, di;
        SectionAt(section.b, section.a, 2, std::cos(w), -std::sin(w), &nr, &ni, &dr, &di);
        *num = nr * nr + ni * ni;
        *den = dr * dr + di * di;
    }
}

// The sum of the sections' levels in dB at one point, each section floored on
// its own. The products of the sections above the floor take one division and
// one logarithm; should a product leave the range of a double, the point is
// summed section by section instead.
double SectionLevelsAt(const Biquad* sections, const PowerPolynomial* poly, int count, double x, HalfAngle at) {
    double numerators = 1.0;
    double denominators = 1.0;
    double floored = 0.0;
    for (int s = 0; s < count; ++s) {
        double num, den;
        SectionPowers(sections[s], poly[s], x, at, &num, &den);
        if (num > kPowerFloor * den) {
            numerators *= num;
            denominators *= den;
        } else {
            floored += kFloorDb;
        }
    }
    if (numerators > 1e-300 && numerators < 1e300 && denominators > 1e-300 && denominators < 1e300)
        return floored + TenLog10(numerators / denominators);
    double level = 0.0;
    for (int s = 0; s < count; ++s) {
        double num, den;
        SectionPowers(sections[s], poly[s], x, at, &num, &den);
        level += num > kPowerFloor * den ? TenLog10(num / den) : kFloorDb;
    }
    return level;
}

constexpr int kMaxSections = kMaxChannelBands + 8;

// Points of one side of the grid (the same polynomial form), evaluated a
// block at a time section by section: the points' independent products keep
// the processor busy where one point's chain of products would stall it. The
// sums are the same as point by point.
constexpr int kBlockPoints = 64;
struct PointBlock {
    int index[kBlockPoints];
    double x[kBlockPoints];
    HalfAngle at[kBlockPoints];
    int n = 0;
};

void EvaluateBlock(const Biquad* sections, const PowerPolynomial* poly, int count, PointBlock* block,
                   double* out) {
    double numerators[kBlockPoints], denominators[kBlockPoints], floored[kBlockPoints], valid[kBlockPoints];
    const int n = block->n;
    const double* xs = block->x;
    for (int i = 0; i < n; ++i) {
        numerators[i] = denominators[i] = valid[i] = 1.0;
        floored[i] = 0.0;
    }
    for (int s = 0; s < count; ++s) {
        const PowerPolynomial p = poly[s];
        for (int i = 0; i < n; ++i) {
            const double x = xs[i];
            const double num = p.n0 + x * (p.n1 + x * p.n2);
            const double den = p.d0 + x * (p.d1 + x * p.d2);
            const bool above = num > kPowerFloor * den;
            numerators[i] *= above ? num : 1.0;
            denominators[i] *= above ? den : 1.0;
            floored[i] += above ? 0.0 : kFloorDb;
            valid[i] = den > 0.0 && num >= 0.0 ? valid[i] : 0.0;
        }
    }
    for (int i = 0; i < n; ++i) {
        const double nu = numerators[i];
        const double de = denominators[i];
        // A power rounded below zero or products out of range: the point alone.
        if (valid[i] != 0.0 && nu > 1e-300 && nu < 1e300 && de > 1e-300 && de < 1e300)
            out[block->index[i]] = floored[i] + TenLog10(nu / de);
        else
            out[block->index[i]] = SectionLevelsAt(sections, poly, count, xs[i], block->at[i]);
    }
    block->n = 0;
}

// out[i] = the sections' summed level at point i; at(i) gives the point's
// half angle, its phi negative where the grid has no Nyquist frequency.
template <typename At>
void SumSectionLevels(const Biquad* sections, int count, int N, At at, double* out) {
    PowerPolynomial nearZero[kMaxSections];
    PowerPolynomial nearNyquist[kMaxSections];
    if (count > kMaxSections) count = kMaxSections;
    for (int s = 0; s < count; ++s) {
        nearZero[s] = ToPowerPolynomial(sections[s], false);
        nearNyquist[s] = ToPowerPolynomial(sections[s], true);
    }
    PointBlock low, high;
    for (int i = 0; i < N; ++i) {
        const HalfAngle point = at(i);
        if (point.phi < 0.0) {
            out[i] = 0.0;
            continue;
        }
        const bool nearZeroSide = point.phi <= 0.5;
        PointBlock& block = nearZeroSide ? low : high;
        block.index[block.n] = i;
        block.x[block.n] = nearZeroSide ? point.phi : point.psi;
        block.at[block.n] = point;
        if (++block.n == kBlockPoints)
            EvaluateBlock(sections, nearZeroSide ? nearZero : nearNyquist, count, &block, out);
    }
    if (low.n > 0) EvaluateBlock(sections, nearZero, count, &low, out);
    if (high.n > 0) EvaluateBlock(sections, nearNyquist, count, &high, out);
}

HalfAngle HalfAngleOf(double f, double fn) {
    if (fn == 0.0) return {-1.0, 0.0};
    const double half = kPi * f / fn / 2.0;
    const double s = std::sin(half);
    const double c = std::cos(half);
    return {s * s, c * c};
}

// The same over a plain frequency array (one sine and cosine a point).
void SumSectionLevels(const Biquad* sections, int count, const double* freqs, int N, double* out) {
    const double fn = GridNyquist(freqs, N);
    SumSectionLevels(sections, count, N, [&](int i) { return HalfAngleOf(freqs[i], fn); }, out);
}

// The sections of a crossover design, as biquads; returns how many.
int CrossoverBiquads(bool low_pass, double fc, int type, int slope, Biquad* sections) {
    const CrossoverDesign design = DesignCrossover(low_pass, fc, slope, type);
    int count = 0;
    for (int s = 0; s < 4; ++s) {
        if (CrossoverSectionBiquad(design, s, low_pass, sections[count].b, sections[count].a)) ++count;
    }
    return count;
}

void SectionSum(bool low_pass, double fc, int type, int slope, int N,
                const double* freqs, double* out) {
    Biquad sections[4];
    const int count = CrossoverBiquads(low_pass, fc, type, slope, sections);
    SumSectionLevels(sections, count, freqs, N, out);
}

}  // namespace

void LogFrequencyGrid(double fs, int N, double* out) {
    if (N <= 0) return;
    if (N == 1 || !(fs > 0.0) || !std::isfinite(fs)) {
        for (int i = 0; i < N; ++i) out[i] = 0.0;
        return;
    }
    const double step = std::log10(fs / 2.0) / (N - 1);
    for (int k = 1; k < N; ++k) out[k - 1] = std::pow(10.0, k * step);
    out[N - 2] = fs / 2.0;  // exact, whatever pow rounds to
    out[N - 1] = fs;
}

void PeakingBiquad(double fs, double f0, double gain_db, double Q, double* a, double* b) {
    if (!(fs > 0.0) || !(f0 > 0.0) || !(Q > 0.0) || !std::isfinite(fs) || !std::isfinite(Q)) {
        SetFlat(a, b);
        return;
    }
    if (f0 > fs * kMaxPeakingRatio) f0 = fs * kMaxPeakingRatio;
    const double A = std::pow(10.0, gain_db / 20.0);
    const double w = 2.0 * kPi * f0 / fs;
    const double s = std::sin(w);
    const double c = std::cos(w);
    const double x = (std::sqrt(4.0 * Q * Q + 1.0) - 1.0) * w / (2.0 * Q);
    // cos x - cos w, written as a product so that it keeps its precision
    // for narrow bands at low frequencies.
    const double cosDiff = 2.0 * std::sin((w + x) / 2.0) * std::sin((w - x) / 2.0);
    double k = std::sin(x) * s / (2.0 * cosDiff);
    if (A < 1.0) k *= A;
    const double D = 2.0 * k + s;
    a[0] = 1.0;
    a[1] = -4.0 * k * c / D;
    a[2] = (2.0 * k - s) / D;
    b[0] = (2.0 * k + A * s) / D;
    b[1] = -4.0 * k * c / D;
    b[2] = (2.0 * k - A * s) / D;
    if (!AllFinite(a, 3) || !AllFinite(b, 3)) SetFlat(a, b);
}

void MakeResponseGrid(double fs, int N, ResponseGrid* grid) {
    grid->freqs.assign(N > 0 ? N : 0, 0.0);
    grid->phi.assign(grid->freqs.size(), -1.0);
    grid->psi.assign(grid->freqs.size(), 0.0);
    if (N <= 0) return;
    LogFrequencyGrid(fs, N, grid->freqs.data());
    const double fn = GridNyquist(grid->freqs.data(), N);
    for (int i = 0; i < N; ++i) {
        const HalfAngle at = HalfAngleOf(grid->freqs[i], fn);
        grid->phi[i] = at.phi;
        grid->psi[i] = at.psi;
    }
}

void ChannelResponse(const ResponseGrid& grid, double fs, const ChannelBand* bands, int bandCount,
                     const ChannelCrossover& highPass, const ChannelCrossover& lowPass, double* out) {
    Biquad sections[kMaxSections];
    int count = 0;
    if (highPass.on) count += CrossoverBiquads(false, highPass.fc, highPass.type, highPass.slope, sections + count);
    if (lowPass.on) count += CrossoverBiquads(true, lowPass.fc, lowPass.type, lowPass.slope, sections + count);
    if (bandCount > kMaxChannelBands) bandCount = kMaxChannelBands;
    for (int b = 0; b < bandCount; ++b, ++count)
        PeakingBiquad(fs, bands[b].f0, bands[b].gain_db, bands[b].Q, sections[count].a, sections[count].b);
    const int N = static_cast<int>(grid.phi.size() < grid.psi.size() ? grid.phi.size() : grid.psi.size());
    SumSectionLevels(sections, count, N, [&](int i) { return HalfAngle{grid.phi[i], grid.psi[i]}; }, out);
}

void PeakingBandResponse(double fs, double f0, double gain_db, double Q,
                         const double* freqs, double* out, int N) {
    Biquad band;
    PeakingBiquad(fs, f0, gain_db, Q, band.a, band.b);
    SumSectionLevels(&band, 1, freqs, N, out);
}

CrossoverDesign DesignCrossover(bool low_pass, double fc, int order, int type) {
    if (type < CROSSOVER_SECOND_ORDER || type > CROSSOVER_BESSEL) type = CROSSOVER_BUTTERWORTH;
    order = DesignOrder(order, type);
    const double w = LimitAngle(2.0 * kPi * fc / kDesignRate);
    const bool bessel = type == CROSSOVER_BESSEL;

    CrossoverDesign d{};
    int rem = order;
    for (int s = 0; s < 4; ++s) {
        double ws = bessel ? BesselScale(w, kBesselOverallFactor[order], low_pass) : w;
        if (rem == 0) {
            d.p[s] = 0.0;
            d.q[s] = std::cos(ws);
            d.kind[s] = kSectionEmpty;
        } else if (rem == 1) {
            if (bessel) ws = LimitAngle(BesselScale(ws, kBesselFirstOrderFactor[s], low_pass));
            const double sn = std::sin(ws);
            const double cs = std::cos(ws);
            d.p[s] = (cs + sn - 1.0) / (cs - sn - 1.0);
            d.q[s] = cs;
            d.kind[s] = kSectionFirstOrder;
            rem -= 1;
        } else {
            const double damping = SecondOrderDamping(type, order, s);
            if (bessel) ws = LimitAngle(BesselScale(ws, kBesselSectionFactor[order][s], low_pass));
            const double sn = std::sin(ws);
            d.p[s] = (2.0 - damping * sn) / (2.0 + damping * sn);
            d.q[s] = std::cos(ws);
            d.kind[s] = kSectionSecondOrder;
            rem -= 2;
        }
    }
    return d;
}

bool CrossoverSectionBiquad(const CrossoverDesign& design, int s, bool low_pass,
                            double* b, double* a) {
    if (s < 0 || s >= 4) return false;
    const double p = design.p[s];
    const double q = design.q[s];
    if (design.kind[s] == kSectionFirstOrder) {
        a[0] = 1.0; a[1] = p; a[2] = 0.0;
        const double g = (low_pass ? 1.0 + p : 1.0 - p) / 2.0;
        b[0] = g; b[1] = low_pass ? g : -g; b[2] = 0.0;
        return true;
    }
    if (design.kind[s] == kSectionSecondOrder) {
        a[0] = 1.0; a[1] = -(1.0 + p) * q; a[2] = p;
        // Unity gain at 0 Hz for the low-pass, at Nyquist for the high-pass.
        const double g = (1.0 + p) * (low_pass ? 1.0 - q : 1.0 + q) / 4.0;
        b[0] = g; b[1] = (low_pass ? 2.0 : -2.0) * g; b[2] = g;
        return true;
    }
    return false;
}

void LowPassResponse(double fc, int type, int slope, int N, const double* freqs, double* out) {
    SectionSum(true, fc, type, slope, N, freqs, out);
}

void HighPassResponse(double fc, int type, int slope, int N, const double* freqs, double* out) {
    SectionSum(false, fc, type, slope, N, freqs, out);
}

void CrossoverResponse(int kind, double /*fs*/, double fc, int type, int slope, int N,
                       const double* freqs, double* out) {
    if (kind == CROSSOVER_LOW_PASS) {
        LowPassResponse(fc, type, slope, N, freqs, out);
    } else {
        HighPassResponse(fc, type, slope, N, freqs, out);
    }
}

bool CascadeResponse(const double* b, const double* a, int order, int sections,
                     double* re, double* im, int N, int mode) {
    if (mode != 2 || order < 0 || sections < 0) return false;
    const double fn = GridNyquist(im, N);
    if (fn == 0.0) return false;
    const int group = order + 1;
    for (int i = 0; i < N; ++i) {
        const double w = -kPi * im[i] / fn;
        const double cw = std::cos(w);
        const double sw = std::sin(w);
        double hr = 1.0;
        double hi = 0.0;
        for (int sec = 0; sec < sections; ++sec) {
            double nr, ni, dr, di;
            SectionAt(b + sec * group, a + sec * group, order, cw, sw, &nr, &ni, &dr, &di);
            // H *= numerator / denominator
            const double den = dr * dr + di * di;
            const double qr = (nr * dr + ni * di) / den;
            const double qi = (ni * dr - nr * di) / den;
            const double r = hr * qr - hi * qi;
            hi = hr * qi + hi * qr;
            hr = r;
        }
        const double power = hr * hr + hi * hi;
        re[i] = PowerToDb(power);
        im[i] = power > kPowerFloor ? std::atan2(hi, hr) : 0.0;
    }
    return true;
}
