// One EQ band of an output channel.
#pragma once

#include <cstdint>

struct EqBand {
    float gain = 0.0f;   // dB
    float Q = 5.8f;      // stored in files as "eqFactor"
    int32_t freq = 12500;  // Hz; the unit takes it as 16 bits
    uint8_t enable = 1;

    EqBand() = default;
    EqBand(float gain, float Q, int32_t freq, uint8_t enable)
        : gain(gain), Q(Q), freq(freq), enable(enable) {}
};

// Band frequencies a channel starts with, chosen by its band count.
struct BandFreqTable {
    const int32_t* freqs;
    int count;
};

// 11 octave bands below 12, 21 half-octave bands up to 21, else the 31
// third-octave centres.
BandFreqTable GetDefaultBandFreqs(int count);

// Writes count default bands (gain 0, Q 5.8, enabled) with the table's
// frequencies; a count beyond the table writes only the table's bands.
void ResetEqBands(EqBand* bands, int count);
