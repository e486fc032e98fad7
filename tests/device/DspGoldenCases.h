// The golden payloads of every DSP set command and get query, shared by the
// encoder test (also native) and the device test through the simulated unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#ifdef _WIN32
#include "device/DspDevice.h"
#endif

struct GoldenCase {
    const char* name;
    uint8_t subcommand;
    uint8_t optype;
    // Hex bytes of the payload; null when the arguments must be refused.
    const char* payload;
    // The platform-free builder; null where the method lays out its few bytes itself.
    bool (*encode)(uint8_t* out, size_t* length);
#ifdef _WIN32
    void (*send)(DspDevice& device, bool sync);
#endif
    // The method takes a sync flag (queued or dropped when false).
    bool takesSync = true;
    // Device configuration the payload depends on.
    uint32_t inputCount = 14;
    uint32_t trimHundredths = 0;
};

const std::vector<GoldenCase>& GoldenCases();

// "0A ff 3" -> {0x0A, 0xFF, 0x03}.
std::vector<uint8_t> HexBytes(const char* hex);
