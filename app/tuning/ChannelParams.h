// The settings of one output channel.
#pragma once

#include <array>
#include <cstdint>

#include "app/tuning/CrossoverParams.h"
#include "app/tuning/EqBand.h"

constexpr int kMaxEqBands = 31;

struct ChannelParams {
    // The channel's band rows live here, so copying a channel or a whole
    // profile never shares bands with another profile. Rows from eqSize on
    // are unused.
    std::array<EqBand, kMaxEqBands> bands{};
    int32_t eqSize = kMaxEqBands;  // 31 on channels 0-11, 11 on 12-15
    float gain = 0.0f;  // dB, 0 or below; the unit takes 0 - gain
    int32_t mute = 0;
    float delay = 0.0f;  // ms
    int32_t phase = 0;
    int32_t solo = 0;
    uint8_t bypass = 1;  // EQ bypass
    uint8_t compressorFlag = 1;
    CrossoverParams crossover;
};
