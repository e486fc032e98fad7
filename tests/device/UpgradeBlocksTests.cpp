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

struct BlocksCase {
    const char* name;
    UpgradeKind kind;
    Bytes image;
    std::vector<uint32_t> offsets;
    std::vector<uint32_t> counts;
    std::vector<uint8_t> progress;
};

// MCU images go from the end with the odd rest first, in blocks of always 36
// bytes: offset, the image bytes, zero padding. DSP images go from the start
// in fifties: offset, count, the image bytes.
TEST(UpgradeBlocks, EachImageIsCutIntoItsBlocks) {
    const BlocksCase cases[] = {
        {"MCU image of 70 bytes", UPG_KIND_MCU, fwtest::Pattern(70, 3), {64, 32, 0}, {6, 32, 32}, {8, 54, 100}},
        {"loader image of whole blocks", UPG_KIND_LOADER, fwtest::Pattern(64), {32, 0}, {32, 32}, {50, 100}},
        {"MCU image of one byte", UPG_KIND_MCU, {0x5A}, {0}, {1}, {100}},
        {"DSP image of 120 bytes", UPG_KIND_DSP, fwtest::Pattern(120, 9), {0, 50, 100}, {50, 50, 20}, {41, 83, 100}},
    };
    UpgradeBlocks blocks;  // one for all: each Begin starts afresh
    for (const BlocksCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(blocks.Begin(c.kind, c.image));
        const auto all = TakeAll(blocks);
        ASSERT_EQ(all.size(), c.offsets.size());
        for (size_t i = 0; i < all.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(all[i].block.offset, c.offsets[i]);
            EXPECT_EQ(all[i].block.count, c.counts[i]);
            EXPECT_EQ(all[i].progress, c.progress[i]);
            Bytes expected = Be32(c.offsets[i]);
            if (c.kind == UPG_KIND_DSP) expected.push_back(static_cast<uint8_t>(c.counts[i]));
            expected.insert(expected.end(), c.image.begin() + c.offsets[i],
                            c.image.begin() + c.offsets[i] + c.counts[i]);
            if (c.kind != UPG_KIND_DSP) expected.resize(UpgradeBlocks::kMcuPayloadBytes, 0);
            EXPECT_EQ(all[i].payload, expected);
            EXPECT_EQ(all[i].block.length, expected.size());
        }
        uint8_t out[UpgradeBlocks::kMaxPayloadBytes];
        EXPECT_EQ(blocks.TakeBlock(out).length, 0) << "nothing after the last block";
        EXPECT_EQ(blocks.BytesSent(), c.image.size());
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
