#include "app/tuning/CrossoverParams.h"

#include <algorithm>

namespace {

int32_t ClampFreq(int32_t v) {
    return v >= kCrossoverMinFreq && v <= kCrossoverMaxFreq ? v : kCrossoverMinFreq;
}

int32_t ClampType(int32_t v) {
    return v >= kFilterMinType && v <= kFilterMaxType ? v : kFilterMinType;
}

void SetSlope(FilterParams& filter, int32_t v) {
    filter.slope = std::max(v, 0);
    filter.bypass = filter.slope == 0 ? 1 : 0;
}

struct CrossoverRow {
    int32_t hpFs, hpSlope, lpFs, lpSlope, type;
};

// One row per output code 0..24.
const CrossoverRow kDefaultCrossovers[] = {
    {20, 0, 20000, 0, 3},                                              // 0
    {3400, 2, 20000, 0, 3}, {600, 2, 1900, 2, 3}, {70, 3, 320, 2, 3},  // 1-3
    {600, 2, 20000, 0, 3}, {70, 2, 1900, 2, 3}, {20, 0, 20000, 0, 3},  // 4-6
    {3400, 2, 20000, 0, 3}, {600, 2, 1900, 2, 3}, {70, 3, 320, 2, 3},  // 7-9
    {600, 2, 20000, 0, 3}, {70, 2, 1900, 2, 3}, {20, 0, 20000, 0, 3},  // 10-12
    {3400, 2, 20000, 0, 3}, {70, 3, 320, 2, 3}, {20, 0, 20000, 0, 3},  // 13-15
    {3400, 2, 20000, 0, 3}, {70, 3, 320, 2, 3}, {20, 0, 20000, 0, 3},  // 16-18
    {3400, 2, 20000, 0, 3}, {70, 3, 320, 2, 3}, {20, 0, 20000, 0, 3},  // 19-21
    {30, 4, 50, 2, 1}, {30, 4, 50, 2, 1}, {30, 4, 50, 2, 1},           // 22-24
};
constexpr int kDefaultCrossoverRows = sizeof(kDefaultCrossovers) / sizeof(kDefaultCrossovers[0]);

}  // namespace

CrossoverParams::CrossoverParams(int32_t hpFs, int32_t hpType, int32_t hpSlope,
                                 int32_t lpFs, int32_t lpType, int32_t lpSlope)
    : bpType((hpSlope != 0 ? 1 : 0) + (lpSlope != 0 ? 2 : 0)),
      hp(hpFs, hpType, hpSlope),
      lp(lpFs, lpType, lpSlope) {}

void CrossoverParams::SetHpFreq(int32_t v) { hp.fs = ClampFreq(v); }
void CrossoverParams::SetLpFreq(int32_t v) { lp.fs = ClampFreq(v); }
void CrossoverParams::SetHpType(int32_t v) { hp.type = ClampType(v); }
void CrossoverParams::SetLpType(int32_t v) { lp.type = ClampType(v); }
void CrossoverParams::SetHpSlope(int32_t v) { SetSlope(hp, v); }
void CrossoverParams::SetLpSlope(int32_t v) { SetSlope(lp, v); }

CrossoverParams GetDefaultCrossover(int code) {
    const CrossoverRow& row = kDefaultCrossovers[code >= 0 && code < kDefaultCrossoverRows ? code : 0];
    return CrossoverParams(row.hpFs, row.type, row.hpSlope, row.lpFs, row.type, row.lpSlope);
}
