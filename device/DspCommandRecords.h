// Records the DSP set commands take from the application.
#pragma once

#include <cstdint>

// One output channel's compressor (12 bytes in the caller's array).
struct CompressorSetting2 {
    float threshold;   // dB
    uint32_t attack;   // ms
    uint32_t release;  // ms
};
static_assert(sizeof(CompressorSetting2) == 12, "compressor record layout");

// The channel auto-level window's settings, sent to the unit byte for byte
// as the window keeps them; the device library does not interpret them.
struct CsAutoSetting {
    uint8_t bytes[52];
};
static_assert(sizeof(CsAutoSetting) == 52, "auto-level record layout");
