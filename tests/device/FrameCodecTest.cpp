#include "device/FrameCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct DecodedFrame {
    uint8_t length;
    uint8_t type;
    std::vector<uint8_t> payload;
};

std::vector<DecodedFrame> Feed(dsp::FrameParser& parser, const std::vector<uint8_t>& bytes) {
    std::vector<DecodedFrame> frames;
    for (uint8_t b : bytes) {
        if (parser.packet_process(b))
            frames.push_back({parser.length, parser.type,
                              std::vector<uint8_t>(parser.payload, parser.payload + parser.length - 1)});
    }
    return frames;
}

std::vector<uint8_t> Frame(uint8_t type, const std::vector<uint8_t>& payload) {
    const uint8_t length = static_cast<uint8_t>(payload.size() + 1);
    std::vector<uint8_t> frame(payload.size() + 5);
    frame[0] = 0xAA;
    frame[1] = 0x55;
    frame[2] = length;
    frame[3] = type;
    std::copy(payload.begin(), payload.end(), frame.begin() + 4);
    frame.back() = dsp::packet_checksum(length, type, payload.data());
    return frame;
}

// The sums the checksum trace was told, in order.
std::vector<uint32_t> gTracedSums;
void TraceSum(uint32_t tempSum) { gTracedSums.push_back(tempSum); }

TEST(OutputReport, GoldenSetCommand) {
    const uint8_t payload[] = {0x01};
    uint8_t report[dsp::kOutputReportSize];
    gTracedSums.clear();
    ASSERT_TRUE(dsp::BuildOutputReport(1, 0x04, 0xBB, payload, 1, report, &TraceSum));
    // The negated 32-bit sum 4 + 1 + 0x04 + 0xBB + 0x01, for the log.
    EXPECT_EQ(std::vector<uint32_t>{0xFFFFFF3Bu}, gTracedSums);
    const uint8_t head[] = {0x00, 0xAA, 0x55, 0x04, 0x01, 0x04, 0xBB, 0x01, 0x3B};
    EXPECT_EQ(0, std::memcmp(report, head, sizeof(head)));
    for (size_t i = sizeof(head); i < sizeof(report); ++i) EXPECT_EQ(0, report[i]) << i;
}

TEST(OutputReport, NoPayloadPutsChecksumAfterOptype) {
    uint8_t report[dsp::kOutputReportSize];
    ASSERT_TRUE(dsp::BuildOutputReport(3, 0x08, 0xBB, nullptr, 0, report));
    EXPECT_EQ(3, report[3]);
    EXPECT_EQ(static_cast<uint8_t>(0u - (3 + 3 + 0x08 + 0xBB)), report[7]);
    EXPECT_EQ(0, report[8]);
}

TEST(OutputReport, LongestPayloadFitsAndLongerIsRefused) {
    uint8_t payload[58];
    std::memset(payload, 0x11, sizeof(payload));
    uint8_t report[dsp::kOutputReportSize];
    std::memset(report, 0x5A, sizeof(report));
    EXPECT_FALSE(dsp::BuildOutputReport(1, 0x06, 0xBB, payload, 58, report));
    EXPECT_EQ(0x5A, report[0]) << "a refused command writes nothing";
    ASSERT_TRUE(dsp::BuildOutputReport(1, 0x06, 0xBB, payload, 57, report));
    EXPECT_EQ(60, report[3]);
    uint8_t sum = 0;
    for (size_t i = 3; i < sizeof(report); ++i) sum = static_cast<uint8_t>(sum + report[i]);
    EXPECT_EQ(0, sum);
    EXPECT_EQ(0x11, report[63]);
}

TEST(FrameParser, SkipsNoiseAndWaitsForSyncSecondByte) {
    dsp::FrameParser parser;
    auto frames = Feed(parser, {0x00, 0x00, 0xAA, 0x77, 0x55, 0x04, 0x01, 0x02, 0xDD, 0x05, 0x17});
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(4, frames[0].length);
    EXPECT_EQ(1, frames[0].type);
    EXPECT_EQ((std::vector<uint8_t>{0x02, 0xDD, 0x05}), frames[0].payload);
    EXPECT_EQ(0, parser.state);
}

TEST(FrameParser, FrameSplitAcrossReports) {
    dsp::FrameParser parser;
    auto frame = Frame(3, {0x08, 0xDD, 0x00, 95, 1, 25});
    std::vector<uint8_t> first(frame.begin(), frame.begin() + 5);
    std::vector<uint8_t> second(frame.begin() + 5, frame.end());
    EXPECT_TRUE(Feed(parser, first).empty());
    auto frames = Feed(parser, second);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ((std::vector<uint8_t>{0x08, 0xDD, 0x00, 95, 1, 25}), frames[0].payload);
}

TEST(FrameParser, BadChecksumDroppedThenNextFrameDecoded) {
    dsp::FrameParser parser;
    parser.trace = &TraceSum;
    gTracedSums.clear();
    auto bad = Frame(1, {0x09, 0xDD, 0x00, 0x01});
    bad.back() ^= 0xFF;
    auto good = Frame(1, {0x0A, 0xDD, 0x00, 0x01});
    std::vector<uint8_t> stream(bad);
    stream.insert(stream.end(), good.begin(), good.end());
    auto frames = Feed(parser, stream);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(0x0A, frames[0].payload[0]);
    // Each frame's checksum is traced, the bad one's too.
    EXPECT_EQ((std::vector<uint32_t>{0u - (5 + 1 + 0x09 + 0xDD + 0x01), 0u - (5 + 1 + 0x0A + 0xDD + 0x01)}),
              gTracedSums);
}

TEST(FrameParser, SeveralFramesInOneReport) {
    dsp::FrameParser parser;
    std::vector<uint8_t> report;
    for (uint8_t sub = 1; sub <= 4; ++sub) {
        auto f = Frame(1, {sub, 0xEE, 0x0A});
        report.insert(report.end(), f.begin(), f.end());
    }
    report.resize(64, 0);
    auto frames = Feed(parser, report);
    ASSERT_EQ(4u, frames.size());
    for (uint8_t i = 0; i < 4; ++i) EXPECT_EQ(i + 1, frames[i].payload[0]);
}

TEST(FrameParser, LongestFrameAcceptedAndOverlongDropped) {
    dsp::FrameParser parser;
    std::vector<uint8_t> longest(60, 0x33);
    auto frames = Feed(parser, Frame(1, longest));
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(61, frames[0].length);

    // L = 62 can never complete: 60 payload bytes, then the parser starts over.
    std::vector<uint8_t> overlong{0xAA, 0x55, 62, 0x01};
    overlong.resize(64, 0x44);
    EXPECT_TRUE(Feed(parser, overlong).empty());
    EXPECT_EQ(0, parser.state);
    auto next = Feed(parser, Frame(2, {0x0E, 0xDD, 0x03}));
    ASSERT_EQ(1u, next.size());
    EXPECT_EQ(2, next[0].type);
}

TEST(FrameParser, ResetDropsAPartialFrame) {
    dsp::FrameParser parser;
    auto cut = Frame(1, std::vector<uint8_t>(40, 0x01));
    cut.resize(20);
    Feed(parser, cut);
    EXPECT_NE(0, parser.state);
    parser.Reset();
    auto frames = Feed(parser, Frame(3, {0x08, 0xDD, 0x00, 95, 1, 25}));
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(3, frames[0].type);
}

TEST(ReceiveRing, KeepsOrderAcrossTheWrap) {
    dsp::ReceiveRing ring;
    uint8_t byte = 0;
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 64; ++i) ring.Put(static_cast<uint8_t>(round + i));
        for (int i = 0; i < 64; ++i) {
            ASSERT_TRUE(ring.Take(&byte));
            ASSERT_EQ(static_cast<uint8_t>(round + i), byte);
        }
    }
    EXPECT_FALSE(ring.Take(&byte));
    ring.Put(1);
    ring.Clear();
    EXPECT_FALSE(ring.Take(&byte));
}

TEST(SubcommandNames, TableAndExtraEntry) {
    EXPECT_STREQ("DSP_SOURCE_CONFIG", dsp::DspSubcommandName(0x00));
    EXPECT_STREQ("31", dsp::DspSubcommandName(0x1F));
    EXPECT_STREQ("DSP_INPUT_MIX_CH_TRIM2", dsp::DspSubcommandName(0x28));
    EXPECT_STREQ("47", dsp::DspSubcommandName(0x2F));
    EXPECT_STREQ("0x48", dsp::DspSubcommandName(0x48));
    EXPECT_STREQ("DSP_OUPUT_BRIDGE", dsp::DspSubcommandName(0x4C));
    EXPECT_STREQ("DSP_NOISE_GATE", dsp::DspSubcommandName(0x4E));
    EXPECT_STREQ("DSP_MIX_TYPE2", dsp::DspSubcommandName(0x83));
    EXPECT_EQ(nullptr, dsp::DspSubcommandName(0x4F));
    EXPECT_EQ(nullptr, dsp::DspSubcommandName(0xFF));
}

}  // namespace
