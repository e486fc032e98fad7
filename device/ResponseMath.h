#pragma once

#include <vector>

// Frequency-response curves of an output channel: a logarithmic frequency
// grid, peaking EQ bands and high-pass / low-pass crossover filters, all
// evaluated as magnitudes in dB. Pure double-precision math, no state.
//
// A channel curve is the point-wise sum of its high-pass response, its
// low-pass response and the response of each EQ band over one grid:
//   LogFrequencyGrid(48000.0, 512, grid);
//   CrossoverResponse(2, 48000.0, hpFreq, hpType, hpSlope, 512, grid, hp);
//   CrossoverResponse(1, 48000.0, lpFreq, lpType, lpSlope, 512, grid, lp);
//   PeakingBandResponse(48000.0, f0, gain, Q, grid, band, 512);  // per band
//
// Every evaluation takes freqs[N - 2] as the Nyquist frequency of the grid,
// so a frequency array must end like the grid does (..., fs / 2, fs); an
// array without one (N < 2, not positive) gives 0 dB everywhere.

// Crossover type codes.
enum CrossoverType {
    CROSSOVER_SECOND_ORDER = 0,  // always order 2, 1/Q = 1
    CROSSOVER_BUTTERWORTH = 1,
    CROSSOVER_LINKWITZ_RILEY = 2,
    CROSSOVER_BESSEL = 3,
};

// Crossover kind codes taken by CrossoverResponse (any other value: high-pass).
enum CrossoverKind {
    CROSSOVER_LOW_PASS = 1,
    CROSSOVER_HIGH_PASS = 2,
};

// Section kinds of a CrossoverDesign.
constexpr double kSectionEmpty = -1.0;
constexpr double kSectionFirstOrder = 0.0;
constexpr double kSectionSecondOrder = 1.0;

// Up to four cascaded sections; slope codes (filter orders) run 1..8.
struct CrossoverDesign {
    double p[4];
    double q[4];
    double kind[4];
};

// Fills out[0..N-1]: out[k-1] = 10^(k * log10(fs/2) / (N-1)) for k = 1..N-1,
// so out[N-2] = fs/2; out[N-1] = fs.
void LogFrequencyGrid(double fs, int N, double* out);

// One peaking band as a biquad (a[0] = 1). A band that cannot be designed
// (Q or f0 not positive, non-finite input) comes out as a flat 0 dB band;
// f0 is kept below the Nyquist frequency.
void PeakingBiquad(double fs, double f0, double gain_db, double Q, double* a, double* b);

// out[i] = level in dB of one peaking band at freqs[i].
void PeakingBandResponse(double fs, double f0, double gain_db, double Q,
                         const double* freqs, double* out, int N);

// A logarithmic grid (LogFrequencyGrid) with the per-point value every curve
// on it needs, made once and shared by all the curves drawn on it.
struct ResponseGrid {
    std::vector<double> freqs;
    std::vector<double> phi;  // sin^2 of half the point's angle; negative: no value
    std::vector<double> psi;  // cos^2 of it, kept apart for its precision near Nyquist
};
void MakeResponseGrid(double fs, int N, ResponseGrid* grid);

// One channel's whole curve in dB on a grid, out[0..N-1]: its crossovers and
// EQ bands summed as the separate responses below would give it, in one pass.
// Bands beyond kMaxChannelBands are ignored.
constexpr int kMaxChannelBands = 31;
struct ChannelBand {
    double f0;
    double gain_db;
    double Q;
};
struct ChannelCrossover {
    bool on;
    double fc;
    int type;
    int slope;
};
void ChannelResponse(const ResponseGrid& grid, double fs, const ChannelBand* bands, int bandCount,
                     const ChannelCrossover& highPass, const ChannelCrossover& lowPass, double* out);

// Designs a crossover at 48000 Hz. The order is limited to 1..8 (type 0:
// always 2; type 2: odd orders rounded up), the cut-off to 0.0025..22000 Hz.
// Type codes outside 0..3 design as Butterworth.
CrossoverDesign DesignCrossover(bool low_pass, double fc, int order, int type);

// The biquad of section s of a design (a[0] = 1); false for an empty section
// or an index outside 0..3.
bool CrossoverSectionBiquad(const CrossoverDesign& design, int s, bool low_pass,
                            double* b, double* a);

// out[i] = level in dB of the crossover at freqs[i]: the sum of its sections'
// levels. kind 1 is a low-pass, any other value a high-pass; fs is not used
// (the design rate is fixed). Note the argument order: type, then slope.
void CrossoverResponse(int kind, double fs, double fc, int type, int slope, int N,
                       const double* freqs, double* out);
void LowPassResponse(double fc, int type, int slope, int N, const double* freqs, double* out);
void HighPassResponse(double fc, int type, int slope, int N, const double* freqs, double* out);

// Evaluates a cascade of sections, each with order + 1 coefficients in b and
// a (lowest power of z^-1 first; the leading a of each group is taken as 1).
// On entry im[0..N-1] holds the frequencies, im[N-2] the Nyquist frequency.
// Mode 2 (the only mode) returns re[i] = power gain in dB, where a power
// gain of at most 1e-8 reads -400 dB, and im[i] = phase in radians.
// Returns false, leaving both arrays as they were, for another mode, N < 2,
// or a Nyquist frequency that is not positive.
bool CascadeResponse(const double* b, const double* a, int order, int sections,
                     double* re, double* im, int N, int mode);
