// The simulated unit's model driven with raw reports through the hidapi C
// interface, answers compared byte for byte.
#include "tests/support/SimUnitModel.h"
#include "tests/support/RawDeviceTest.h"

#include <gtest/gtest.h>
#include <hidapi.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "device/FrameCodec.h"

namespace {

using Bytes = std::vector<uint8_t>;

class SimUnitModelTest : public sim::RawDeviceTest<sim::UnitModel> {
protected:
    void WriteRaw(Bytes report) {
        report.resize(dsp::kOutputReportSize, 0);
        ASSERT_EQ(65, hid_write(device, report.data(), report.size()));
    }
    void Write(uint8_t type, uint8_t sub, uint8_t op, const Bytes& data) {
        uint8_t report[dsp::kOutputReportSize];
        ASSERT_TRUE(dsp::BuildOutputReport(type, sub, op, data.data(), data.size(), report));
        ASSERT_EQ(65, hid_write(device, report, sizeof report));
    }
    // The next report, or empty when none is waiting.
    Bytes Read() {
        uint8_t buffer[dsp::kInputReportSize];
        int count = hid_read_timeout(device, buffer, sizeof buffer, 2);
        return count > 0 ? Bytes(buffer, buffer + count) : Bytes();
    }
    // One command and its one answer; a second report fails the test.
    Bytes Ask(uint8_t type, uint8_t sub, uint8_t op, const Bytes& data) {
        Write(type, sub, op, data);
        Bytes answer = Read();
        EXPECT_TRUE(Read().empty()) << "more than one report for one command";
        return answer;
    }
    Bytes AskDsp(uint8_t sub, uint8_t op, const Bytes& data) {
        return Ask(dsp::CMD_DSP, sub, op, data);
    }
    static Bytes Ack(uint8_t type, uint8_t sub) {
        return Report(sim::SimUnit::EncodeFrame(type, sub, 0xEE, {0x0A}));
    }
    static Bytes NotReady(uint8_t type, uint8_t sub) {
        return Report(sim::SimUnit::EncodeFrame(type, sub, 0xEE, {0x60}));
    }
    static Bytes Value(uint8_t type, uint8_t sub, const Bytes& data) {
        return Report(sim::SimUnit::EncodeFrame(type, sub, 0xDD, data));
    }
};

TEST_F(SimUnitModelTest, HandshakeAnswersTheIdentityOrRefuses) {
    WriteRaw({0x00, 0xAA, 0x55, 0x03, 0x03, 0x08, 0xBB, 0x37});
    EXPECT_EQ(Report({0xAA, 0x55, 0x07, 0x03, 0x08, 0xDD, 0x00, 0x5F, 0x01, 0x19, 0x98}), Read());

    model.SetLoaderMode(true);
    WriteRaw({0x00, 0xAA, 0x55, 0x03, 0x03, 0x08, 0xBB, 0x37});
    EXPECT_EQ(Report({0xAA, 0x55, 0x07, 0x03, 0x08, 0xDD, 0xF0, 0x5F, 0x01, 0x19, 0xA8}), Read());

    model.SetLoaderMode(false);
    model.Access()->identity.slave = 24;
    EXPECT_EQ(Value(3, 0x08, {0x00, 95, 1, 24}), Ask(3, 0x08, 0xBB, {}));
}

TEST_F(SimUnitModelTest, PcConnectIsNeverAnswered) {
    WriteRaw({0x00, 0xAA, 0x55, 0x04, 0x03, 0x1F, 0xBB, 0x01, 0x1E});
    EXPECT_TRUE(Read().empty());
    EXPECT_TRUE(model.Snapshot().pcConnected);
    // The handshake that follows reads its own answer, not one meant for PC_Connect.
    EXPECT_EQ(Value(3, 0x08, {0x00, 95, 1, 25}), Ask(3, 0x08, 0xBB, {}));
    Write(3, 0x1F, 0xBB, {0x00});
    EXPECT_TRUE(Read().empty());
    EXPECT_FALSE(model.Snapshot().pcConnected);

    auto log = model.Exchanges();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(0x1F, log[0].command.subcommand);
    EXPECT_TRUE(log[0].answer.empty());
    EXPECT_EQ((Bytes{0x01}), log[0].command.data);
    EXPECT_EQ(0x08, log[1].command.subcommand);
    EXPECT_FALSE(log[1].answer.empty());
}

TEST_F(SimUnitModelTest, ExampleSetsAreAcknowledgedAndStored) {
    WriteRaw({0x00, 0xAA, 0x55, 0x04, 0x01, 0x04, 0xBB, 0x01, 0x3B});
    EXPECT_EQ(Ack(1, 0x04), Read());
    EXPECT_EQ(1, model.Snapshot().unit.mute);

    // EQ_Ctrl(0, 0, 3, 5, 1000, 5.8, -3.0)
    WriteRaw({0x00, 0xAA, 0x55, 0x0D, 0x01, 0x06, 0xBB, 0x00, 0x00, 0x03, 0x05, 0x03, 0xE8, 0x05,
              0x08, 0x0F, 0x00, 0x22});
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x01, 0x06, 0xEE, 0x0A, 0xFD}), Read());
    const sim::EqBand band = model.Snapshot().scene[0].out[3].eq[5];
    EXPECT_EQ(1000, band.freqHz);
    EXPECT_EQ(580, band.qHundredths);
    EXPECT_EQ(-30, band.gainTenthsDb);

    // Trim of channel 3 by 3 dB attenuation: gain -3 dB.
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x01, 0x08, 0xEE, 0x0A, 0xFB}),
              AskDsp(0x08, 0xBB, {0, 0, 3, 3, 0x03}));
    EXPECT_EQ(-3, model.Snapshot().scene[0].out[3].gainDb);
    EXPECT_EQ(Value(1, 0x08, {0, 0, 3, 3, 0xFD}), AskDsp(0x08, 0x66, {0, 0, 3, 3}));
}

TEST_F(SimUnitModelTest, ExampleValueAnswers) {
    {
        auto state = model.Access();
        state->unit.source = 0x51;
        sim::EqBand* eq = state->scene[0].out[3].eq;
        eq[0] = {1000, 250, 25};
        eq[1] = {2000, 580, 0};
        state->unit.accDelay = 5;
        state->store[1].valid = state->store[2].valid = state->store[3].valid = true;
        state->currentScene = 3;
        std::memcpy(state->store[1].name, "Live\0\0\0\0\0\0\0\0\0\0\0\0", 16);
    }
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x01, 0x01, 0xDD, 0x51, 0xCC}), AskDsp(0x01, 0x66, {}));
    EXPECT_EQ(Report({0xAA, 0x55, 0x14, 0x01, 0x06, 0xDD, 0x00, 0x00, 0x03, 0x00, 0x01, 0x03,
                      0xE8, 0x02, 0x32, 0x14, 0x05, 0x07, 0xD0, 0x05, 0x50, 0x12, 0x00, 0x8E}),
              AskDsp(0x06, 0x66, {0, 0, 3, 0, 1}));
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x03, 0x92, 0xDD, 0x05, 0x85}), Ask(3, 0x92, 0x66, {}));
    EXPECT_EQ(Report({0xAA, 0x55, 0x05, 0x02, 0x0F, 0xDD, 0x00, 0x07, 0x06}),
              Ask(2, 0x0F, 0x66, {}));
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x02, 0x0E, 0xDD, 0x03, 0x0C}), Ask(2, 0x0E, 0x66, {}));
    EXPECT_EQ(Report({0xAA, 0x55, 0x14, 0x02, 0x0B, 0xDD, 0x01, 0x4C, 0x69, 0x76, 0x65, 0, 0, 0,
                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0x71}),
              Ask(2, 0x0B, 0x66, {1}));

    // Get_EQ(0, 0, 2, 0, 6): seven bands of six bytes.
    WriteRaw({0x00, 0xAA, 0x55, 0x08, 0x01, 0x06, 0x66, 0x00, 0x00, 0x02, 0x00, 0x06, 0x83});
    Bytes answer = Read();
    ASSERT_EQ(64u, answer.size());
    EXPECT_EQ(3 + 5 + 7 * 6, answer[2]);
    EXPECT_EQ((Bytes{0x00, 0x00, 0x02, 0x00, 0x06}), Bytes(answer.begin() + 6, answer.begin() + 11));
}

TEST_F(SimUnitModelTest, MainVolumeTravelsAsSixMinusVolumeAndReturnsSigned) {
    EXPECT_EQ(Ack(1, 0x02), AskDsp(0x02, 0xBB, {6 + 10}));
    EXPECT_EQ(-10, model.Snapshot().unit.mainVolumeDb);
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x01, 0x02, 0xDD, 0xF6, 0x26}), AskDsp(0x02, 0x66, {}));
    EXPECT_EQ(Ack(1, 0x02), AskDsp(0x02, 0xBB, {0x42}));
    EXPECT_EQ(-60, model.Snapshot().unit.mainVolumeDb);
}

TEST_F(SimUnitModelTest, ValueEncodingsRoundTrip) {
    // Delay 2.345 ms on channel 2, 0.5 ms on channel 3.
    EXPECT_EQ(Ack(1, 0x07), AskDsp(0x07, 0xBB, {0, 0, 2, 3, 0x02, 0x01, 0x59, 0x00, 0x01, 0xF4}));
    EXPECT_EQ(2345u, model.Snapshot().scene[0].out[2].delayMicros);
    EXPECT_EQ(Value(1, 0x07, {0, 0, 2, 3, 0x02, 0x01, 0x59, 0x00, 0x01, 0xF4}),
              AskDsp(0x07, 0x66, {0, 0, 2, 3}));

    // Compressor 2: threshold -20.5 dB, attack 300 ms, release 1.5 s.
    EXPECT_EQ(Ack(1, 0x4A), AskDsp(0x4A, 0xBB, {0, 0, 4, 4, 0xEC, 0xFB, 0x01, 0x2C, 0x01, 0x05}));
    const sim::Compressor2 comp = model.Snapshot().scene[0].out[4].compressor2;
    EXPECT_EQ(-205, comp.thresholdTenthsDb);
    EXPECT_EQ(300, comp.attackMs);
    EXPECT_EQ(1500, comp.releaseMs);
    EXPECT_EQ(Value(1, 0x4A, {0, 0, 4, 4, 0xEC, 0xFB, 0x01, 0x2C, 0x01, 0x05}),
              AskDsp(0x4A, 0x66, {0, 0, 4, 4}));

    // Crossover: low-pass then high-pass of channel 1, read back high-pass first.
    EXPECT_EQ(Ack(1, 0x05), AskDsp(0x05, 0xBB, {0, 0, 1, 1, 2, 0x1F, 0x40, 4}));
    EXPECT_EQ(Ack(1, 0x05), AskDsp(0x05, 0xBB, {0, 0, 1, 2, 1, 0x00, 0x50, 2}));
    EXPECT_EQ(Value(1, 0x05, {0, 0, 1, 1, 1, 0x00, 0x50, 2, 2, 0x1F, 0x40, 4}),
              AskDsp(0x05, 0x66, {0, 0, 1, 1}));

    // Input noise -60.5 dB: 39 and 5 tenths.
    model.Access()->unit.noiseTenthsDb[1] = -605;
    EXPECT_EQ(Value(1, 0x27, {1, 1, 39, 5}), AskDsp(0x27, 0x66, {1, 1}));

    // A memory word, address and data little-endian.
    EXPECT_EQ(Ack(1, 0x42), AskDsp(0x42, 0xBB, {0x34, 0x12, 0, 0, 0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(0x12345678u, model.Snapshot().memory.at(0x1234));
    EXPECT_EQ(Value(1, 0x42, {0x34, 0x12, 0, 0, 0x78, 0x56, 0x34, 0x12}),
              AskDsp(0x42, 0x66, {0x34, 0x12, 0, 0, 0, 0, 0, 0}));

    // Routing of source 3 and its input mix trims.
    EXPECT_EQ(Ack(1, 0x0B), AskDsp(0x0B, 0xBB, {0, 3, 5, 6, 0x20, 0x01, 0x00, 0x02}));
    EXPECT_EQ(0x2001, model.Snapshot().scene[0].mixMask[3][5]);
    EXPECT_EQ(Value(1, 0x0B, {0, 3, 5, 6, 0x20, 0x01, 0x00, 0x02}), AskDsp(0x0B, 0x66, {0, 3, 5, 6}));
    EXPECT_EQ(Ack(1, 0x24), AskDsp(0x24, 0xBB, {0, 3, 13, 0, 1, 70, 100}));
    EXPECT_EQ(Value(1, 0x24, {0, 3, 13, 0, 2, 70, 100, 0}), AskDsp(0x24, 0x66, {0, 3, 13, 0, 2}));

    // Cross-source mix: the set carries the channel last.
    EXPECT_EQ(Ack(1, 0x4D), AskDsp(0x4D, 0xBB, {0, 3, 4, 5, 1}));
    EXPECT_EQ(Value(1, 0x4D, {0, 3, 4, 5, 1}), AskDsp(0x4D, 0x66, {0, 3, 0, 0, 1}));
}

TEST_F(SimUnitModelTest, ScenesAreAddressedByTheirByte) {
    EXPECT_EQ(Ack(1, 0x09), AskDsp(0x09, 0xBB, {2, 0, 0, 1, 1, 1}));
    const sim::UnitState state = model.Snapshot();
    EXPECT_EQ(1, state.scene[2].out[0].mute);
    EXPECT_EQ(0, state.scene[0].out[0].mute) << "what plays is untouched";
    EXPECT_EQ(Value(1, 0x09, {2, 0, 0, 2, 1, 1, 0}), AskDsp(0x09, 0x66, {2, 0, 0, 2}));
    EXPECT_EQ(NotReady(1, 0x09), AskDsp(0x09, 0xBB, {11, 0, 0, 0, 1}));
    EXPECT_EQ(NotReady(1, 0x09), AskDsp(0x09, 0x66, {11, 0, 0, 0}));
}

TEST_F(SimUnitModelTest, LinkCopiesTheFirstChannelToItsPartner) {
    uint16_t untouched = 0;
    {
        auto state = model.Access();
        untouched = state->scene[0].out[13].eq[4].freqHz;
        state->scene[0].out[0].eq[4] = {500, 300, -60};
        state->scene[0].out[0].lowPass = {1, 8000, 4};
        state->scene[0].out[12].eq[4] = {700, 100, 10};
    }
    EXPECT_EQ(Ack(1, 0x0E), AskDsp(0x0E, 0xBB, {0, 1, 2, 0, 1, 0, 13}));
    const sim::UnitState state = model.Snapshot();
    EXPECT_EQ(500, state.scene[0].out[1].eq[4].freqHz);
    EXPECT_EQ(8000, state.scene[0].out[1].lowPass.freqHz);
    EXPECT_EQ(untouched, state.scene[0].out[13].eq[4].freqHz) << "no copy across the EQ groups";
    EXPECT_EQ(Value(1, 0x0E, {0, 1, 0, 1, 0, 13, 0, 0, 0, 0}), AskDsp(0x0E, 0x66, {0}));
    EXPECT_EQ(Ack(1, 0x0E), AskDsp(0x0E, 0xBB, {0, 0, 0}));
    EXPECT_EQ(Value(1, 0x0E, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), AskDsp(0x0E, 0x66, {0}));
}

TEST_F(SimUnitModelTest, EveryAnswerFitsOneReport) {
    struct Get {
        uint8_t sub;
        Bytes data;
    };
    const Get gets[] = {
        {0x05, {0, 0, 0, 15}},     {0x06, {0, 0, 0, 0, 30}},  {0x06, {0, 0, 12, 0, 30}},
        {0x07, {0, 0, 0, 255}},    {0x08, {0, 0, 0, 15}},     {0x09, {0, 0, 0, 15}},
        {0x0B, {0, 8, 0, 15}},     {0x0D, {0, 0, 0, 15}},     {0x12, {0, 0, 0, 15}},
        {0x24, {0, 8, 1, 0, 15}},  {0x27, {0, 255}},          {0x34, {0, 0, 0, 15}},
        {0x3E, {0, 0, 0, 15}},     {0x4A, {0, 0, 0, 15}},     {0x4C, {0, 0, 200}},
    };
    for (const Get& get : gets) {
        Bytes answer = AskDsp(get.sub, 0x66, get.data);
        ASSERT_EQ(64u, answer.size()) << std::hex << int(get.sub);
        EXPECT_EQ(0xDD, answer[5]) << std::hex << int(get.sub);
        EXPECT_LE(answer[2], 60) << std::hex << int(get.sub);
    }
    // Clipped to what exists: EQ of an 11-band channel, filters within one report.
    EXPECT_EQ(7, AskDsp(0x06, 0x66, {0, 0, 12, 0, 30})[10]);
    EXPECT_EQ(10, AskDsp(0x06, 0x66, {0, 0, 12, 5, 30})[10]);
    EXPECT_EQ(5, AskDsp(0x05, 0x66, {0, 0, 0, 15})[9]);
    // Nothing to answer with: not ready, still exactly one report.
    EXPECT_EQ(NotReady(1, 0x09), AskDsp(0x09, 0x66, {0, 0, 16, 20}));
    EXPECT_EQ(NotReady(1, 0x09), AskDsp(0x09, 0x66, {0, 0, 5, 4}));
    EXPECT_EQ(NotReady(1, 0x06), AskDsp(0x06, 0x66, {0, 0, 12, 11, 12}));
    EXPECT_EQ(NotReady(1, 0x07), AskDsp(0x07, 0xBB, {0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(NotReady(1, 0x77), AskDsp(0x77, 0x66, {}));
}

TEST_F(SimUnitModelTest, SceneStoreRoundTrips) {
    Bytes name{3, 16, 'B', 'a', 'n', 'd'};
    name.resize(18, 0);
    EXPECT_EQ(Ack(2, 0x0B), Ask(2, 0x0B, 0xBB, name));
    model.Access()->scene[0].out[7].delayMicros = 1500;
    EXPECT_EQ(Report({0xAA, 0x55, 0x05, 0x02, 0x08, 0xEE, 0x0A, 0x03, 0xF6}), Ask(2, 0x08, 0xBB, {3, 0}));

    Bytes named{3, 'B', 'a', 'n', 'd'};
    named.resize(17, 0);
    EXPECT_EQ(Value(2, 0x0B, named), Ask(2, 0x0B, 0x66, {3}));
    EXPECT_EQ(Value(2, 0x0F, {0x00, 0x04}), Ask(2, 0x0F, 0x66, {}));
    EXPECT_EQ(Value(2, 0x0E, {3}), Ask(2, 0x0E, 0x66, {}));

    // Recall into what plays and into the working copy.
    {
        auto state = model.Access();
        state->scene[0].out[7].delayMicros = 0;
        state->scene[3].out[7].delayMicros = 9;
    }
    EXPECT_EQ(Ack(2, 0x09), Ask(2, 0x09, 0xBB, {3, 0xFF}));
    EXPECT_EQ(1500u, model.Snapshot().scene[3].out[7].delayMicros);
    EXPECT_EQ(0u, model.Snapshot().scene[0].out[7].delayMicros);
    EXPECT_EQ(Ack(2, 0x09), Ask(2, 0x09, 0xBB, {3, 0}));
    EXPECT_EQ(1500u, model.Snapshot().scene[0].out[7].delayMicros);

    // A working copy written parameter by parameter, then committed.
    EXPECT_EQ(Ack(1, 0x34), AskDsp(0x34, 0xBB, {5, 0, 2, 2, 1}));
    EXPECT_EQ(Report(sim::SimUnit::EncodeFrame(2, 0x08, 0xEE, {0x0A, 5})), Ask(2, 0x08, 0xBB, {5, 1}));
    EXPECT_EQ(1, model.Snapshot().store[5].params.out[2].solo);
    EXPECT_EQ(Value(2, 0x0F, {0x00, 0x14}), Ask(2, 0x0F, 0x66, {}));

    EXPECT_EQ(Report({0xAA, 0x55, 0x05, 0x02, 0x0A, 0xEE, 0x0A, 0x03, 0xF4}), Ask(2, 0x0A, 0xBB, {3}));
    Bytes erased{3};
    erased.resize(17, 0xFF);
    EXPECT_EQ(Value(2, 0x0B, erased), Ask(2, 0x0B, 0x66, {3}));
    EXPECT_EQ(Value(2, 0x0F, {0x00, 0x10}), Ask(2, 0x0F, 0x66, {}));
    EXPECT_EQ(NotReady(2, 0x09), Ask(2, 0x09, 0xBB, {3, 0})) << "a deleted scene cannot be recalled";
    EXPECT_EQ(NotReady(2, 0x0B), Ask(2, 0x0B, 0x66, {0}));
    EXPECT_EQ(NotReady(2, 0x08), Ask(2, 0x08, 0xBB, {11, 0}));
}

TEST_F(SimUnitModelTest, SilentUnitTakesCommandsButAnswersNone) {
    model.SetSilent(true);
    Write(1, 0x04, 0xBB, {1});
    Write(3, 0x08, 0xBB, {});
    EXPECT_TRUE(Read().empty());
    EXPECT_EQ(1, model.Snapshot().unit.mute);
    EXPECT_EQ(2u, model.Exchanges().size());
    model.SetSilent(false);
    EXPECT_EQ(Ack(1, 0x04), AskDsp(0x04, 0xBB, {0}));
}

TEST_F(SimUnitModelTest, BadChecksumIsDroppedSilently) {
    WriteRaw({0x00, 0xAA, 0x55, 0x04, 0x01, 0x04, 0xBB, 0x01, 0x3C});
    EXPECT_TRUE(Read().empty());
    EXPECT_EQ(0, model.Snapshot().unit.mute);
    EXPECT_TRUE(model.Exchanges().empty());
    EXPECT_EQ(1u, unit().ReceivedReports().size()) << "still recorded as received";
}

TEST_F(SimUnitModelTest, UnsolicitedReportsComeBeforeTheNextAnswer) {
    model.TurnVolumeKnob(-10);
    model.SendPing();
    Write(1, 0x04, 0xBB, {1});
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x01, 0x02, 0xDD, 0xF6, 0x26}), Read());
    EXPECT_EQ(Report({0xAA, 0x55, 0x03, 0x03, 0x93, 0xDD, 0x8A}), Read());
    EXPECT_EQ(Ack(1, 0x04), Read());
    EXPECT_EQ(-10, model.Snapshot().unit.mainVolumeDb);
}

TEST_F(SimUnitModelTest, VanishesAndReturns) {
    model.Vanish();
    uint8_t buffer[64];
    EXPECT_EQ(-1, hid_read_timeout(device, buffer, sizeof buffer, 10));
    EXPECT_EQ(nullptr, hid_open(0x0483, 0x5750, nullptr));
    hid_close(device);
    model.Return();
    device = hid_open(0x0483, 0x5750, nullptr);
    ASSERT_NE(nullptr, device);
    EXPECT_EQ(Value(3, 0x08, {0x00, 95, 1, 25}), Ask(3, 0x08, 0xBB, {}));
    // Gone at a command and back at once: the vanish, told later, must not take it away again.
    model.FailAtCommand(1, sim::UnitModel::CommandFault::Vanish);
    Write(3, 0x08, 0xBB, {});
    model.Return();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    hid_close(device);
    device = hid_open(0x0483, 0x5750, nullptr);
    ASSERT_NE(nullptr, device);
}

TEST_F(SimUnitModelTest, RebootDropsOffTheBusAfterItsAnswerWasRead) {
    std::mutex mutex;
    std::vector<bool> plugs;
    model.SetPlugListener([&](bool arrived) {
        std::lock_guard<std::mutex> lock(mutex);
        plugs.push_back(arrived);
    });
    auto plugCount = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return plugs.size();
    };
    model.SetRestartDelay(100);
    Write(3, 0x8F, 0xBB, {});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(0u, plugCount()) << "the answer is still unread";
    EXPECT_EQ(Ack(3, 0x8F), Read());

    for (int i = 0; i < 500 && plugCount() < 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    uint8_t buffer[64];
    EXPECT_EQ(-1, hid_read_timeout(device, buffer, sizeof buffer, 0));
    for (int i = 0; i < 2000 && plugCount() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ((std::vector<bool>{false, true}), plugs);
    hid_close(device);
    device = hid_open(0x0483, 0x5750, nullptr);
    ASSERT_NE(nullptr, device);
    EXPECT_EQ(Value(3, 0x08, {0x00, 95, 1, 25}), Ask(3, 0x08, 0xBB, {}));
}

TEST_F(SimUnitModelTest, McuSystemCommands) {
    EXPECT_EQ(Ack(3, 0x92), Ask(3, 0x92, 0xBB, {0xFE}));
    EXPECT_EQ(Value(3, 0x92, {0xFE}), Ask(3, 0x92, 0x66, {}));
    EXPECT_EQ(Ack(3, 0x91), Ask(3, 0x91, 0xBB, {0x05, 0xDC}));
    EXPECT_EQ(1500, model.Snapshot().unit.powerOffMs);
    EXPECT_EQ(Ack(7, 0x05), Ask(7, 0x05, 0xBB, {0x01, 0x2C}));
    EXPECT_EQ(300, model.Snapshot().unit.karaoke[5]);
    EXPECT_EQ(Ack(3, 0x8F), Ask(3, 0x8F, 0xBB, {}));

    model.Access()->identity.master = 2;
    model.Access()->store[4].valid = true;
    EXPECT_EQ(Ack(3, 0x90), Ask(3, 0x90, 0xBB, {}));
    const sim::UnitState state = model.Snapshot();
    EXPECT_EQ(0, state.unit.accDelay);
    EXPECT_FALSE(state.store[4].valid);
    EXPECT_EQ(2, state.identity.master) << "a factory reset keeps the identity";
}

}  // namespace
