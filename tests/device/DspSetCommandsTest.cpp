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

TEST_F(DspSetCommandsTest, TheSimulatedUnitStoresWhatTheMembersMeant) {
    sim::UnitModel model(unit());
    unit().SetResponder(&model);
    device.EQ_Ctrl(2, 0, 3, 5, 1000, 4.6f, 4.6f, true);
    const float delays[] = {2.345f, 15.0f};
    device.Delay_Ctrl(2, 0, 6, 7, delays, true);
    const float trims[] = {3.0f};
    device.Trim_Ctrl(2, 0, 9, 9, trims, true);
    const CompressorSetting2 compressor[] = {{-20.5f, 10, 1500}};
    device.Compressor_Ctrl2(2, 0, 4, 4, compressor, true);
    device.Filter_Ctrl(2, 0, 1, 2, 80, 3, 1, true);
    const uint32_t masks[] = {0x2A05};
    device.Mix_Ch_Ctrl(2, 3, 10, 10, masks, true);
    device.Set_MemData(0x1234, 0xCAFEBABE, true);
    unit().SetResponder(&ack);

    const sim::UnitState state = model.Snapshot();
    const sim::SceneParams& scene = state.scene[2];
    EXPECT_EQ(1000, scene.out[3].eq[5].freqHz);
    EXPECT_EQ(460, scene.out[3].eq[5].qHundredths);
    EXPECT_EQ(46, scene.out[3].eq[5].gainTenthsDb);
    EXPECT_EQ(2345u, scene.out[6].delayMicros);
    EXPECT_EQ(15000u, scene.out[7].delayMicros);
    EXPECT_EQ(-3, scene.out[9].gainDb);
    EXPECT_EQ(-205, scene.out[4].compressor2.thresholdTenthsDb);
    EXPECT_EQ(10, scene.out[4].compressor2.attackMs);
    EXPECT_EQ(1500, scene.out[4].compressor2.releaseMs);
    EXPECT_EQ(80, scene.out[1].highPass.freqHz);
    EXPECT_EQ(3, scene.out[1].highPass.slope);
    EXPECT_EQ(0x2A05, scene.mixMask[3][10]);
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
