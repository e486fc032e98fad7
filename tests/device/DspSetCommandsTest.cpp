// Every DSP set command and get query through DspDevice against the
// simulated unit: the frames it receives, on the direct and the queued path.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "tests/device/DspGoldenCases.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitModel.h"
#include "tests/support/WideFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

class DspSetCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDeviceWaitScaleForTests(2);  // a silent unit costs 200 ms, not 10 s
        unit().Reset();
        unit().SetResponder(&ack);
        device.OpenHIDDevice();
        ASSERT_TRUE(device.IsDeviceOpen());
    }
    void TearDown() override {
        device.DisableAsyncMode();
        device.CloseHIDDevice(false);
        unit().SetResponder(nullptr);
    }
    static sim::SimUnit& unit() { return sim::SimUnit::Instance(); }

    void Configure(const GoldenCase& c) {
        device.SetDeviceConfig(95, 16, c.inputCount, c.trimHundredths, 0);
    }

    bool WaitForIdleQueue() {
        return sim::PollUntil([&] { return device.IsQueueIdle(); }, 10000);
    }

    static void ExpectFrame(const GoldenCase& c, const sim::Frame& frame) {
        EXPECT_EQ(dsp::CMD_DSP, frame.type);
        EXPECT_EQ(c.subcommand, frame.subcommand);
        EXPECT_EQ(c.optype, frame.optype);
        EXPECT_EQ(HexBytes(c.payload), frame.data);
    }

    sim::AckResponder ack;
    DspDevice device;
};

TEST_F(DspSetCommandsTest, EveryMemberSendsItsGoldenPayloadOrNothing) {
    for (const GoldenCase& c : GoldenCases()) {
        SCOPED_TRACE(c.name);
        Configure(c);
        unit().ClearReceived();
        c.send(device, true);
        auto frames = unit().ReceivedFrames();
        if (!c.payload) {
            EXPECT_TRUE(frames.empty()) << "refused arguments reach the unit";
            continue;
        }
        ASSERT_EQ(1u, frames.size());
        ExpectFrame(c, frames[0]);
    }
}

TEST_F(DspSetCommandsTest, QueuedMembersReachTheUnitInOrderWithTheSamePayloads) {
    const GoldenCase* configured = &GoldenCases().front();
    Configure(*configured);
    device.EnableAsyncMode();
    std::vector<const GoldenCase*> sent;
    for (const GoldenCase& c : GoldenCases()) {
        if (!c.takesSync) continue;
        // The configuration changes only while the worker is idle: the reply
        // handling on its thread reads it.
        if (c.inputCount != configured->inputCount ||
            c.trimHundredths != configured->trimHundredths) {
            ASSERT_TRUE(WaitForIdleQueue());
            Configure(c);
            configured = &c;
        }
        c.send(device, false);
        if (c.payload) sent.push_back(&c);
    }
    ASSERT_TRUE(WaitForIdleQueue());
    auto frames = unit().ReceivedFrames();
    ASSERT_EQ(sent.size(), frames.size());
    for (size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(sent[i]->name);
        ExpectFrame(*sent[i], frames[i]);
    }
}

TEST_F(DspSetCommandsTest, NothingIsSentUnsyncedWhileAsyncModeIsOff) {
    for (const GoldenCase& c : GoldenCases()) {
        if (c.takesSync) c.send(device, false);
    }
    EXPECT_TRUE(device.IsQueueIdle());
    EXPECT_TRUE(unit().ReceivedFrames().empty());
}

// Each channel and band set on its own, with a value of its own: one sent
// for a neighbour shows as a wrong value on both.
TEST_F(DspSetCommandsTest, TheSimulatedUnitStoresWhatTheMembersMeant) {
    using ByteMember = void (DspDevice::*)(uint8_t, uint8_t, uint8_t, uint8_t, const uint8_t*, bool);
    const ByteMember byteMembers[] = {&DspDevice::Mute_Ch_Ctrl, &DspDevice::Phase_Ctrl, &DspDevice::Solo_Ctrl,
                                      &DspDevice::CH_Type_Ctrl, &DspDevice::PEQ_Bypass_Ctrl,
                                      &DspDevice::Compressor_Ch_Ctrl};
    sim::UnitModel model(unit());
    unit().SetResponder(&model);
    for (uint8_t ch = 0; ch < sim::kOutputs; ++ch) {
        for (uint8_t band = 0; band < sim::EqBandCount(ch); ++band)
            device.EQ_Ctrl(2, 0, ch, band, 20 + 40 * band + ch, 4.6f, 4.6f, true);
        const float delay = 0.5f + ch, trim = 1.0f + ch, noise = -60.5f + ch, ratio = 2.5f, knee = 4.6f;
        const uint8_t on = 1;
        const uint32_t mask = 0x2A00u + ch, attack = 0x100u + ch, release = 0x400u + ch;
        const CompressorSetting2 compressor2 = {-20.5f + ch, 10u + ch, 100u * (ch + 1)};
        device.Delay_Ctrl(2, 0, ch, ch, &delay, true);
        device.Trim_Ctrl(2, 0, ch, ch, &trim, true);
        device.Compressor_Ctrl2(2, 0, ch, ch, &compressor2, true);
        device.Compressor_Ctrl(2, 0, ch, &on, &noise, &ratio, &attack, &release, &knee, true);
        device.Filter_Ctrl(2, 0, ch, 2, 80 + ch, 3, 1, true);
        device.Filter_Ctrl(2, 0, ch, 1, 5000 + ch, 2, 1, true);
        device.Mix_Ch_Ctrl(2, 3, ch, ch, &mask, true);
        for (ByteMember member : byteMembers) (device.*member)(2, 0, ch, ch, &on, true);
    }
    device.Set_MemData(0x1234, 0xCAFEBABE, true);
    unit().SetResponder(&ack);

    const sim::UnitState state = model.Snapshot();
    for (int ch = 0; ch < sim::kOutputs; ++ch) {
        SCOPED_TRACE(ch);
        const sim::OutputChannel& out = state.scene[2].out[ch];
        for (int band = 0; band < sim::EqBandCount(ch); ++band) {
            EXPECT_EQ(20 + 40 * band + ch, out.eq[band].freqHz) << "band " << band;
            EXPECT_EQ(460, out.eq[band].qHundredths) << "band " << band;
            EXPECT_EQ(46, out.eq[band].gainTenthsDb) << "band " << band;
        }
        EXPECT_EQ(500u + 1000u * ch, out.delayMicros);
        EXPECT_EQ(-1 - ch, out.gainDb);
        EXPECT_EQ(-205 + 10 * ch, out.compressor2.thresholdTenthsDb);
        EXPECT_EQ(10 + ch, out.compressor2.attackMs);
        EXPECT_EQ(100 * (ch + 1), out.compressor2.releaseMs);
        EXPECT_EQ(-605 + 10 * ch, out.compressor.thresholdTenthsDb);
        EXPECT_EQ(0x100 + ch, out.compressor.attackMs);
        EXPECT_EQ(0x400 + ch, out.compressor.releaseMs);
        EXPECT_EQ(80 + ch, out.highPass.freqHz);
        EXPECT_EQ(3, out.highPass.slope);
        EXPECT_EQ(5000 + ch, out.lowPass.freqHz);
        EXPECT_EQ(0x2A00 + ch, state.scene[2].mixMask[3][ch]);
        EXPECT_EQ(std::vector<int>(6, 1),
                  std::vector<int>({out.mute, out.phase, out.solo, out.type, out.eqBypass, out.compressorOn}));
    }
    EXPECT_EQ(0xCAFEBABEu, state.memory.at(0x1234));
}

// Every gain step of the slider (its value x 0.1) is the step the unit holds.
TEST_F(DspSetCommandsTest, TheUnitHoldsEveryEqGainStepOfTheSlider) {
    sim::UnitModel model(unit());
    unit().SetResponder(&model);
    std::vector<int> held;
    for (int step = -180; step <= 120; ++step) {
        device.EQ_Ctrl(1, 0, 2, 7, 1000, 2.0f, static_cast<float>(step) * 0.1f, true);
        held.push_back(model.Snapshot().scene[1].out[2].eq[7].gainTenthsDb);
    }
    unit().SetResponder(&ack);
    for (int step = -180; step <= 120; ++step) EXPECT_EQ(step, held[step + 180]) << step / 10.0 << " dB";
}

// Records the subcommand of every frame dispatched.
class SubcommandRecorder : public IFrameHandler {
public:
    void OnFrame(uint8_t, uint8_t, const uint8_t* payload) override { seen.push_back(payload[0]); }
    Bytes seen;
};

TEST_F(DspSetCommandsTest, QueriesReadUntilTheirOwnAnswerAndNoFurther) {
    unit().SetResponder(nullptr);
    SubcommandRecorder recorder;
    device.SetFrameHandler(&recorder);
    // An unsolicited volume report, the answer, then the answer of the next query.
    unit().QueueFrame(dsp::CMD_DSP, 0x02, dsp::OP_VALUE, {0xF6});
    unit().QueueFrame(dsp::CMD_DSP, 0x06, dsp::OP_VALUE, {0, 0, 2, 0, 0, 0x03, 0xE8, 5, 50, 15, 0});
    unit().QueueFrame(dsp::CMD_DSP, 0x09, dsp::OP_VALUE, {0, 0, 0, 0, 1});
    device.Get_EQ(0, 0, 2, 0, 0);
    EXPECT_EQ(Bytes({0x02, 0x06}), recorder.seen);
    device.Get_Mute_Ch(0, 0, 0, 0);
    EXPECT_EQ(Bytes({0x02, 0x06, 0x09}), recorder.seen);
    device.SetFrameHandler(nullptr);
}

TEST_F(DspSetCommandsTest, LogsLinesInPartsAsOneLineAndNamesRefusals) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"brisa_dsp_set_log.log";
    ASSERT_TRUE(OpenLogFile(path.c_str()));
    const uint8_t channels[] = {3, 4};
    device.PEQ_Reset_Ctrl(0, 0, 2, channels, true);
    const uint8_t tooMany[8] = {};
    device.PEQ_Reset_Ctrl(0, 0, 8, tooMany, true);
    device.EQ_Ctrl(0, 0, 3, 5, 1000, 5.8f, -3.0f, true);
    // The status timer's polls: only one that finds something is logged.
    LogPrintW(L"polls\n");
    for (int poll = 0; poll < 3; ++poll) device.ReadHIDData(device.ReceiveBuffer(), 0);
    LogPrintW(L"polls done\n");
    unit().QueueFrame(dsp::CMD_DSP, 0x02, dsp::OP_VALUE, {0xF6});
    device.ReadHIDData(device.ReceiveBuffer(), 0);
    CloseLog();
    const std::wstring log = sim::ReadWideFile(path);
    DeleteFileW(path.c_str());

    EXPECT_NE(std::wstring::npos,
              log.find(L"PEQ_Reset_Ctrl: scene(0), ch_count(2), ch(3), ch(4), \n"));
    EXPECT_NE(std::wstring::npos,
              log.find(L"PEQ_Reset_Ctrl: arguments out of range, nothing sent\n"));
    EXPECT_NE(std::wstring::npos,
              log.find(L"EQ_Ctrl: gain(-3.00) ,freqValue(1000) ,qValue(5.800000) @ band(5) "
                       L"@channel(3) @scene(0)\n"));
    EXPECT_EQ(1, LogTimePrefixOn.load()) << "the time prefix is back on after the line";
    const size_t polls = log.find(L"polls\n");
    const size_t pollsDone = log.find(L"polls done\n");
    ASSERT_NE(std::wstring::npos, pollsDone);
    EXPECT_EQ(std::wstring::npos, log.substr(polls, pollsDone - polls).find(L"ReadHIDData")) << "empty polls are not logged";
    EXPECT_NE(std::wstring::npos, log.find(L"ReadHIDData NumberOfBytesRead = 64", pollsDone));
}

}  // namespace
