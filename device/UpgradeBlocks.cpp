#include "device/UpgradeBlocks.h"

#include <cstring>

namespace {

void PutBigEndian32(uint8_t* p, uint32_t x) {
    p[0] = static_cast<uint8_t>(x >> 24);
    p[1] = static_cast<uint8_t>(x >> 16);
    p[2] = static_cast<uint8_t>(x >> 8);
    p[3] = static_cast<uint8_t>(x);
}

}  // namespace

bool UpgradeBlocks::Begin(UpgradeKind kind, const std::vector<uint8_t>& image) {
    End();
    const bool known = kind == UPG_KIND_DSP || kind == UPG_KIND_MCU || kind == UPG_KIND_LOADER;
    // An image too large for the 32-bit offsets is no image of this unit.
    if (!known || image.empty() || image.size() > UINT32_MAX / 100) return false;
    mKind = kind;
    mImage = &image;
    return true;
}

void UpgradeBlocks::End() {
    mKind = UPG_KIND_NONE;
    mImage = nullptr;
    mSent = 0;
}

UpgradeBlock UpgradeBlocks::TakeBlock(uint8_t* out) {
    UpgradeBlock block;
    if (AllSent()) return block;
    const uint32_t size = Size();
    const uint8_t* image = mImage->data();
    if (mKind == UPG_KIND_DSP) {
        block.offset = mSent;
        block.count = size - mSent < kDspBlockBytes ? size - mSent : kDspBlockBytes;
        PutBigEndian32(out, block.offset);
        out[4] = static_cast<uint8_t>(block.count);
        std::memcpy(out + 5, image + block.offset, block.count);
        block.length = static_cast<uint8_t>(5 + block.count);
    } else {
        const uint32_t remaining = size - mSent;
        if (mSent == 0) {
            block.count = size % kMcuBlockBytes;
            if (block.count == 0) block.count = kMcuBlockBytes;
        } else {
            block.count = remaining < kMcuBlockBytes ? remaining : kMcuBlockBytes;
        }
        block.offset = remaining - block.count;
        std::memset(out, 0, kMcuPayloadBytes);
        PutBigEndian32(out, block.offset);
        std::memcpy(out + 4, image + block.offset, block.count);
        block.length = kMcuPayloadBytes;
    }
    mSent += block.count;
    return block;
}

uint8_t UpgradeBlocks::Progress() const {
    if (!Active()) return 0;
    return static_cast<uint8_t>(mSent * 100u / Size());
}
