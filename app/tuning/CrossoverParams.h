// A channel's crossover: a high-pass and a low-pass filter.
#pragma once

#include <cstdint>

constexpr int32_t kCrossoverMinFreq = 20;
constexpr int32_t kCrossoverMaxFreq = 20000;
constexpr int32_t kFilterMinType = 1;
constexpr int32_t kFilterMaxType = 3;

struct FilterParams {
    int32_t fs = 20;      // corner frequency, Hz
    int32_t type = 1;     // 1..3
    int32_t slope = 0;    // 0 = filter off
    int32_t bypass = 1;

    FilterParams() = default;
    FilterParams(int32_t fs, int32_t type, int32_t slope)
        : fs(fs), type(type), slope(slope), bypass(slope == 0 ? 1 : 0) {}
};

struct CrossoverParams {
    int32_t bpType = 0;  // bit 0: high-pass on, bit 1: low-pass on
    FilterParams hp{kCrossoverMinFreq, 1, 0};
    FilterParams lp{kCrossoverMaxFreq, 1, 0};

    CrossoverParams() = default;
    CrossoverParams(int32_t hpFs, int32_t hpType, int32_t hpSlope,
                    int32_t lpFs, int32_t lpType, int32_t lpSlope);

    int32_t GetHpFreq() const { return hp.fs; }
    int32_t GetHpType() const { return hp.type; }
    int32_t GetHpSlope() const { return hp.slope; }
    int32_t GetHpBypass() const { return hp.bypass; }
    int32_t GetLpFreq() const { return lp.fs; }
    int32_t GetLpType() const { return lp.type; }
    int32_t GetLpSlope() const { return lp.slope; }
    int32_t GetLpBypass() const { return lp.bypass; }

    // Out of range: frequency 20 (not the nearer bound), type 1, slope 0.
    // The slope setters set bypass from the slope and leave bpType alone.
    void SetHpFreq(int32_t v);
    void SetLpFreq(int32_t v);
    void SetHpType(int32_t v);
    void SetLpType(int32_t v);
    void SetHpSlope(int32_t v);
    void SetLpSlope(int32_t v);
    void SetHpBypass(int32_t v) { hp.bypass = v; }
    void SetLpBypass(int32_t v) { lp.bypass = v; }
};

// The crossover an output code starts with; codes outside 0..24 take row 0.
CrossoverParams GetDefaultCrossover(int code);
