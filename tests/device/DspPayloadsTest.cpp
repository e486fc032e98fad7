// The platform-free payload builders: every golden payload, the refused
// arguments, and the value encodings the unit reads back.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "device/DspEncoding.h"
#include "device/FrameCodec.h"
#include "tests/device/DspGoldenCases.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(DspPayloads, EveryBuilderWritesItsGoldenPayloadOrRefuses) {
    int checked = 0;
    for (const GoldenCase& c : GoldenCases()) {
        if (!c.encode) continue;
        SCOPED_TRACE(c.name);
        uint8_t out[dsp::kMaxCommandPayload + 16];
        std::memset(out, 0xA5, sizeof(out));
        size_t length = 999;
        const bool built = c.encode(out, &length);
        ++checked;
        if (!c.payload) {
            EXPECT_FALSE(built);
            EXPECT_EQ(999u, length) << "a refused payload reports no length";
        } else {
            ASSERT_TRUE(built);
            EXPECT_EQ(HexBytes(c.payload), Bytes(out, out + length));
        }
        for (size_t i = dsp::kMaxCommandPayload; i < sizeof(out); ++i)
            ASSERT_EQ(0xA5, out[i]) << "written past the frame payload at " << i;
    }
    EXPECT_GT(checked, 40);
}

TEST(DspPayloads, TenthsFollowSinglePrecisionTruncation) {
    uint8_t two[2];
    dsp::EncodeWholeTenths(39.5f, two);
    EXPECT_EQ(Bytes({39, 5}), Bytes(two, two + 2));
    dsp::EncodeWholeTenths(-0.5f, two);  // remainder keeps the dividend's sign
    EXPECT_EQ(Bytes({0x00, 0xFB}), Bytes(two, two + 2));
    dsp::EncodeWholeTenthsOfLowByte(4.6f, two);
    EXPECT_EQ(Bytes({4, 6}), Bytes(two, two + 2));
    dsp::EncodeWholeTenthsOfLowByte(30.0f, two);  // 300 has the low byte 44
    EXPECT_EQ(Bytes({30, 4}), Bytes(two, two + 2));
    dsp::EncodeSignedTenths(-20.5f, two);
    EXPECT_EQ(Bytes({0xEC, 0xFB}), Bytes(two, two + 2));
    dsp::EncodeEqGain(-18.0f, two);
    EXPECT_EQ(Bytes({0, 0}), Bytes(two, two + 2));
    dsp::EncodeEqGain(6.5f, two);
    EXPECT_EQ(Bytes({24, 5}), Bytes(two, two + 2));
    dsp::EncodeNoiseThreshold(-100.0f, two);
    EXPECT_EQ(Bytes({0, 0}), Bytes(two, two + 2));

    uint8_t three[3];
    dsp::EncodeDelay(2.345f, three);
    EXPECT_EQ(Bytes({2, 0x01, 0x59}), Bytes(three, three + 3));
    dsp::EncodeDelay(14.999f, three);
    EXPECT_EQ(Bytes({14, 0x03, 0xE7}), Bytes(three, three + 3));
}

// Every gain step from -18.0 to +12.0 dB, written as a literal and as a
// slider value x 0.1, goes out as whole and tenths of that very step.
TEST(DspPayloads, EqGainSendsTheStepItWasGiven) {
    struct Source {
        const char* name;
        float (*gain)(int step);
    };
    const Source sources[] = {
        {"literal", [](int step) { return static_cast<float>(step / 10.0); }},
        {"slider", [](int step) { return static_cast<float>(step) * 0.1f; }},
    };
    for (const Source& source : sources) {
        for (int step = -180; step <= 120; ++step) {
            uint8_t two[2];
            dsp::EncodeEqGain(source.gain(step), two);
            EXPECT_LT(two[1], 10) << source.name << " " << step / 10.0 << " dB";
            EXPECT_EQ(step + 180, two[0] * 10 + two[1]) << source.name << " " << step / 10.0 << " dB";
        }
    }
}

TEST(DspPayloads, HostileFloatsGiveDefinedBytes) {
    EXPECT_EQ(0, dsp::Truncate(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(INT32_MAX, dsp::Truncate(std::numeric_limits<float>::infinity()));
    EXPECT_EQ(INT32_MIN, dsp::Truncate(-3e9f));
    EXPECT_EQ(-2, dsp::Truncate(-2.9f));
    uint8_t two[2];
    dsp::EncodeSignedTenths(-std::numeric_limits<float>::infinity(), two);
    EXPECT_EQ(Bytes({0, 0}), Bytes(two, two + 2));
    uint8_t three[3];
    dsp::EncodeDelay(std::numeric_limits<float>::max(), three);  // 0xFFFF % 1000 = 535
    EXPECT_EQ(Bytes({0xFF, 0x02, 0x17}), Bytes(three, three + 3));
}

TEST(DspPayloads, MixMaskWidthFollowsTheInputCount) {
    uint8_t two[2] = {0, 0};
    EXPECT_EQ(2u, dsp::EncodeMixMask(0x12345, 9, two));
    EXPECT_EQ(Bytes({0x23, 0x45}), Bytes(two, two + 2));
    EXPECT_EQ(1u, dsp::EncodeMixMask(0x12345, 8, two));
    EXPECT_EQ(0x45, two[0]);
}

TEST(DspPayloads, WriterRefusesWhatDoesNotFit) {
    uint8_t block[6];
    std::memset(block, 0xA5, sizeof(block));
    dsp::PayloadWriter writer(block, 4);
    writer.WordBE(0x0102);
    writer.LongLE(0x03040506);  // two bytes too many
    writer.Byte(7);             // would fit, but the writer has failed
    size_t length = 0;
    EXPECT_FALSE(writer.Finish(&length));
    EXPECT_EQ(Bytes({0x01, 0x02, 0xA5, 0xA5, 0xA5, 0xA5}), Bytes(block, block + 6));

    dsp::PayloadWriter exact(block, 4);
    exact.LongLE(0x0A0B0C0D);
    ASSERT_TRUE(exact.Finish(&length));
    EXPECT_EQ(4u, length);
    EXPECT_EQ(Bytes({0x0D, 0x0C, 0x0B, 0x0A}), Bytes(block, block + 4));

    dsp::PayloadWriter nullBytes(block, 4);
    nullBytes.Bytes(nullptr, 2);
    EXPECT_FALSE(nullBytes.Finish(&length));
}

}  // namespace
