#pragma once

#include <cstdint>
#include <vector>

#include "device/FirmwareFile.h"

// The blocks an image travels in.
// MCU images (application and loader) go from the end towards the start:
// first the odd rest (size mod 32, or 32 when there is none) at the highest
// offset, then 32 bytes at a time down to offset 0. Each payload is 36 bytes:
// the offset (32-bit big-endian), the bytes, zero padding.
// DSP images go from the start in blocks of up to 50 bytes; the payload is
// the offset (32-bit big-endian), the count, then the bytes.
struct UpgradeBlock {
    uint32_t offset = 0;  // of the first image byte in the block
    uint32_t count = 0;   // image bytes in the block
    uint8_t length = 0;   // payload bytes to send
};

class UpgradeBlocks {
public:
    static constexpr uint32_t kMcuBlockBytes = 32;
    static constexpr uint8_t kMcuPayloadBytes = 36;
    static constexpr uint32_t kDspBlockBytes = 50;
    static constexpr uint8_t kMaxPayloadBytes = 5 + kDspBlockBytes;

    // Starts the blocks of image for kind (UPG_KIND_DSP, UPG_KIND_MCU or
    // UPG_KIND_LOADER); the image is not copied and must stay unchanged until
    // End. False, and nothing active, for another kind or an empty image.
    bool Begin(UpgradeKind kind, const std::vector<uint8_t>& image);
    void End();

    bool Active() const { return mImage != nullptr; }
    bool AllSent() const { return !Active() || mSent == Size(); }
    UpgradeKind Kind() const { return mKind; }
    uint32_t Size() const { return mImage ? static_cast<uint32_t>(mImage->size()) : 0; }
    uint32_t BytesSent() const { return mSent; }

    // Writes the next block's payload into out (kMaxPayloadBytes bytes of
    // room) and counts its bytes as sent. A block of length 0 when all is sent.
    UpgradeBlock TakeBlock(uint8_t* out);

    // Bytes sent × 100 / size, 0 when nothing is active.
    uint8_t Progress() const;

private:
    UpgradeKind mKind = UPG_KIND_NONE;
    const std::vector<uint8_t>* mImage = nullptr;
    uint32_t mSent = 0;
};
