#include "app/tuning/EqBand.h"

#include <algorithm>

namespace {

const int32_t kOctave[] = {20, 40, 80, 160, 315, 630, 1250, 2500, 5000, 10000, 20000};
const int32_t kHalfOctave[] = {20, 28, 40, 56, 80, 112, 160, 220, 315, 450, 630,
                               890, 1250, 1800, 2500, 3600, 5000, 7100, 10000, 14000, 20000};
const int32_t kThirdOctave[] = {20, 25, 31, 40, 50, 63, 80, 100, 125, 160, 200,
                                250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500,
                                3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

template <size_t N>
BandFreqTable Table(const int32_t (&freqs)[N]) {
    return {freqs, static_cast<int>(N)};
}

}  // namespace

BandFreqTable GetDefaultBandFreqs(int count) {
    if (count < 12) return Table(kOctave);
    if (count <= 21) return Table(kHalfOctave);
    return Table(kThirdOctave);
}

void ResetEqBands(EqBand* bands, int count) {
    if (!bands) return;
    BandFreqTable table = GetDefaultBandFreqs(count);
    int n = std::min(count, table.count);
    for (int k = 0; k < n; ++k) bands[k] = EqBand(0.0f, 5.8f, table.freqs[k], 1);
}
