#pragma once

// Synthetic firmware images that pass the file checks. They exist only in
// test memory: a real unit must never be flashed with them.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fwtest {

constexpr uint8_t kModelId = 95;

// n bytes of a repeatable, non-constant pattern.
inline std::vector<uint8_t> Pattern(size_t n, uint8_t seed = 7) {
    std::vector<uint8_t> v(n);
    uint32_t x = seed;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        v[i] = static_cast<uint8_t>(x >> 16);
    }
    return v;
}

inline void PutBigEndian32(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x >> 24));
    v.push_back(static_cast<uint8_t>(x >> 16));
    v.push_back(static_cast<uint8_t>(x >> 8));
    v.push_back(static_cast<uint8_t>(x));
}

struct TestImage {
    uint8_t firmwareId = 1;
    uint8_t modelId = kModelId;
    uint8_t startParams[4] = {0x11, 0x22, 0x33, 0x44};
    std::vector<uint8_t> payload = Pattern(70);
    uint8_t trailer[4] = {0xA1, 0xB2, 0xC3, 0xD4};

    // The image file, with the checksum of everything before it.
    std::vector<uint8_t> Build() const {
        std::vector<uint8_t> v;
        v.push_back(firmwareId);
        v.push_back(modelId);
        v.insert(v.end(), startParams, startParams + 4);
        v.insert(v.end(), payload.begin(), payload.end());
        v.insert(v.end(), trailer, trailer + 4);
        uint32_t sum = 0;
        for (uint8_t b : v) sum += b;
        PutBigEndian32(v, sum);
        return v;
    }
};

// A merged file: header, count, the listed sizes, then the images in order.
inline std::vector<uint8_t> MergedFile(const std::vector<std::vector<uint8_t>>& images,
                                       uint8_t h0 = 's', uint8_t h1 = 'x') {
    std::vector<uint8_t> v = {h0, h1, static_cast<uint8_t>(images.size())};
    for (const auto& img : images) PutBigEndian32(v, static_cast<uint32_t>(img.size()));
    for (const auto& img : images) v.insert(v.end(), img.begin(), img.end());
    return v;
}

inline std::vector<uint8_t> McuImage(size_t payload = 70) {
    TestImage t;
    t.payload = Pattern(payload, 3);
    return t.Build();
}

inline std::vector<uint8_t> DspImage(size_t payload = 120, uint8_t firmwareId = 2) {
    TestImage t;
    t.firmwareId = firmwareId;
    t.startParams[0] = 0x55;
    t.payload = Pattern(payload, 9);
    return t.Build();
}

}  // namespace fwtest
