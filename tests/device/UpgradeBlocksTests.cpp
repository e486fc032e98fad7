#include "device/UpgradeBlocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/device/FirmwareImageBuilder.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Taken {
    UpgradeBlock block;
    Bytes payload;
    uint8_t progress;
};

std::vector<Taken> TakeAll(UpgradeBlocks& blocks) {
    std::vector<Taken> all;
    uint8_t out[UpgradeBlocks::kMaxPayloadBytes];
    for (int guard = 0; guard < 100000 && !blocks.AllSent(); ++guard) {
        const UpgradeBlock b = blocks.TakeBlock(out);
        all.push_back({b, Bytes(out, out + b.length), blocks.Progress()});
    }
    return all;
}

Bytes Be32(uint32_t x) {
    return {uint8_t(x >> 24), uint8_t(x >> 16), uint8_t(x >> 8), uint8_t(x)};
}

TEST(UpgradeBlocks, McuImageGoesFromTheEndWithTheOddRestFirst) {
    const Bytes image = fwtest::Pattern(70, 3);
    UpgradeBlocks blocks;
    ASSERT_TRUE(blocks.Begin(UPG_KIND_MCU, image));
    const auto all = TakeAll(blocks);
    ASSERT_EQ(all.size(), 3u);
    const uint32_t offsets[] = {64, 32, 0};
    const uint32_t counts[] = {6, 32, 32};
    const uint8_t progress[] = {8, 54, 100};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(all[i].block.offset, offsets[i]);
        EXPECT_EQ(all[i].block.count, counts[i]);
        EXPECT_EQ(all[i].progress, progress[i]);
        // Always 36 bytes: offset, the image bytes, zero padding.
        Bytes expected = Be32(offsets[i]);
        expected.insert(expected.end(), image.begin() + offsets[i],
                        image.begin() + offsets[i] + counts[i]);
        expected.resize(UpgradeBlocks::kMcuPayloadBytes, 0);
        EXPECT_EQ(all[i].payload, expected);
    }
    uint8_t out[UpgradeBlocks::kMaxPayloadBytes];
    EXPECT_EQ(blocks.TakeBlock(out).length, 0) << "nothing after the last block";
    EXPECT_EQ(blocks.BytesSent(), 70u);
}

TEST(UpgradeBlocks, McuImageOfWholeBlocksAndOfOneByte) {
    const Bytes whole = fwtest::Pattern(64);
    UpgradeBlocks blocks;
    ASSERT_TRUE(blocks.Begin(UPG_KIND_LOADER, whole));
    auto all = TakeAll(blocks);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].block.offset, 32u);
    EXPECT_EQ(all[0].block.count, 32u);
    EXPECT_EQ(all[0].progress, 50);
    EXPECT_EQ(all[1].block.offset, 0u);

    const Bytes one = {0x5A};
    ASSERT_TRUE(blocks.Begin(UPG_KIND_MCU, one));
    all = TakeAll(blocks);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].block.offset, 0u);
    EXPECT_EQ(all[0].block.count, 1u);
    EXPECT_EQ(all[0].payload[4], 0x5A);
    EXPECT_EQ(all[0].progress, 100);
}

TEST(UpgradeBlocks, DspImageGoesFromTheStartInFifties) {
    const Bytes image = fwtest::Pattern(120, 9);
    UpgradeBlocks blocks;
    ASSERT_TRUE(blocks.Begin(UPG_KIND_DSP, image));
    const auto all = TakeAll(blocks);
    ASSERT_EQ(all.size(), 3u);
    const uint32_t offsets[] = {0, 50, 100};
    const uint32_t counts[] = {50, 50, 20};
    const uint8_t progress[] = {41, 83, 100};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        Bytes expected = Be32(offsets[i]);
        expected.push_back(static_cast<uint8_t>(counts[i]));
        expected.insert(expected.end(), image.begin() + offsets[i],
                        image.begin() + offsets[i] + counts[i]);
        EXPECT_EQ(all[i].payload, expected);
        EXPECT_EQ(all[i].block.length, 5 + counts[i]);
        EXPECT_EQ(all[i].progress, progress[i]);
    }
}

TEST(UpgradeBlocks, ReassembledImagesMatchForManySizes) {
    for (size_t size : {1u, 31u, 32u, 33u, 49u, 50u, 51u, 1000u, 4097u}) {
        for (UpgradeKind kind : {UPG_KIND_MCU, UPG_KIND_DSP}) {
            SCOPED_TRACE(size);
            const Bytes image = fwtest::Pattern(size, 5);
            UpgradeBlocks blocks;
            ASSERT_TRUE(blocks.Begin(kind, image));
            Bytes rebuilt(size, 0);
            std::vector<int> written(size, 0);
            uint8_t lastProgress = 0;
            for (const Taken& t : TakeAll(blocks)) {
                const size_t dataAt = kind == UPG_KIND_DSP ? 5 : 4;
                ASSERT_LE(t.block.offset + t.block.count, size);
                for (uint32_t i = 0; i < t.block.count; ++i) {
                    rebuilt[t.block.offset + i] = t.payload[dataAt + i];
                    ++written[t.block.offset + i];
                }
                EXPECT_GE(t.progress, lastProgress);
                lastProgress = t.progress;
            }
            EXPECT_EQ(rebuilt, image);
            EXPECT_EQ(std::count(written.begin(), written.end(), 1), static_cast<long>(size))
                << "every byte sent exactly once";
            EXPECT_EQ(lastProgress, 100);
        }
    }
}

TEST(UpgradeBlocks, RefusesEmptyImagesAndUnknownKinds) {
    UpgradeBlocks blocks;
    const Bytes empty;
    EXPECT_FALSE(blocks.Begin(UPG_KIND_DSP, empty));
    EXPECT_FALSE(blocks.Active());
    EXPECT_EQ(blocks.Progress(), 0);
    const Bytes image(10, 1);
    EXPECT_FALSE(blocks.Begin(UPG_KIND_NONE, image));
    EXPECT_TRUE(blocks.AllSent());
    uint8_t out[UpgradeBlocks::kMaxPayloadBytes];
    EXPECT_EQ(blocks.TakeBlock(out).length, 0);

    ASSERT_TRUE(blocks.Begin(UPG_KIND_DSP, image));
    blocks.End();
    EXPECT_FALSE(blocks.Active());
    EXPECT_EQ(blocks.BytesSent(), 0u);
}

}  // namespace
