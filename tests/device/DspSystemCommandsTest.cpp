// Scene, MCU, karaoke and calibration commands against the simulated unit.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "tests/device/FirmwareImageBuilder.h"
#include "tests/device/TempFirmwareFile.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimDeviceTest.h"
#include "tests/support/SimLoader.h"
#include "tests/support/SimUnit.h"

namespace {

using Bytes = std::vector<uint8_t>;
using fwtest::TempFile;

// Answers the handshake with a value reply and acknowledges everything else,
// except PC_Connect, which a unit never answers.
class HandshakeUnit : public sim::IResponder {
public:
    void OnCommand(const sim::Frame& frame, sim::SimUnit& unit) override {
        if (frame.type == 3 && frame.subcommand == 0x1F) return;
        if (frame.type == 3 && frame.subcommand == 0x08)
            unit.QueueFrame(3, 0x08, 0xDD, answer);
        else
            unit.QueueFrame(frame.type, frame.subcommand, 0xEE, {0x0A});
    }
    Bytes answer{0x00, 95, 1, 25};
};

class DspSystemCommandsTest : public sim::SimDeviceTest {
protected:
    DspSystemCommandsTest() : SimDeviceTest(responder, 5) {}

    sim::Frame Sent(const std::function<void()>& command) {
        unit().ClearReceived();
        command();
        auto frames = unit().ReceivedFrames();
        EXPECT_EQ(1u, frames.size());
        return frames.empty() ? sim::Frame{} : frames[0];
    }

    HandshakeUnit responder;
};

struct Golden {
    const char* name;
    std::function<void(DspDevice&)> command;
    uint8_t type;
    uint8_t subcommand;
    uint8_t optype;
    Bytes data;
};

TEST_F(DspSystemCommandsTest, EveryCommandSendsItsExactBytes) {
    const std::vector<Golden> table = {
        {"SaveScene", [](DspDevice& d) { d.SaveScene(3, 1); }, 2, 0x08, 0xBB, {3, 1}},
        {"ReadScene", [](DspDevice& d) { d.ReadScene(4, 0xFF); }, 2, 0x09, 0xBB, {4, 0xFF}},
        {"DeleteScene", [](DspDevice& d) { d.DeleteScene(7); }, 2, 0x0A, 0xBB, {7}},
        {"SetSceneName", [](DspDevice& d) { d.SetSceneName(3, "Live", 4); }, 2, 0x0B, 0xBB,
         {0x03, 0x04, 0x4C, 0x69, 0x76, 0x65}},
        {"GetSceneName", [](DspDevice& d) { d.GetSceneName(10); }, 2, 0x0B, 0x66, {10}},
        {"GetSceneId", [](DspDevice& d) { d.GetSceneId(true); }, 2, 0x0E, 0x66, {}},
        {"GetSceneValid", [](DspDevice& d) { d.GetSceneValid(); }, 2, 0x0F, 0x66, {}},
        {"MCU_Enter_Upg_Mode", [](DspDevice& d) { d.MCU_Enter_Upg_Mode(); }, 3, 0x01, 0xBB, {}},
        {"Hand_Connect", [](DspDevice& d) { d.Hand_Connect(); }, 3, 0x08, 0xBB, {}},
        {"PC_Connect", [](DspDevice& d) { d.PC_Connect(1); }, 3, 0x1F, 0xBB, {1}},
        {"MCU_Reboot_Ctrl", [](DspDevice& d) { d.MCU_Reboot_Ctrl(); }, 3, 0x8F, 0xBB, {}},
        {"MCU_Factory_Default", [](DspDevice& d) { d.MCU_Factory_Default(); }, 3, 0x90, 0xBB, {}},
        {"Set_Power_Off_Time", [](DspDevice& d) { d.Set_Power_Off_Time(1500, true); }, 3, 0x91, 0xBB,
         {0x05, 0xDC}},
        {"Set_Acc", [](DspDevice& d) { d.Set_Acc(12, true); }, 3, 0x92, 0xBB, {12}},
        {"Get_Acc", [](DspDevice& d) { d.Get_Acc(); }, 3, 0x92, 0x66, {}},
        {"KTV_Mic_Vol_Ctrl", [](DspDevice& d) { d.KTV_Mic_Vol_Ctrl(20, true); }, 7, 0x01, 0xBB, {20}},
        {"KTV_Music_Vol_Ctrl", [](DspDevice& d) { d.KTV_Music_Vol_Ctrl(21, true); }, 7, 0x02, 0xBB, {21}},
        {"KTV_Howling_Ctrl", [](DspDevice& d) { d.KTV_Howling_Ctrl(1, true); }, 7, 0x03, 0xBB, {1}},
        {"KTV_Echo_Level_Ctrl", [](DspDevice& d) { d.KTV_Echo_Level_Ctrl(9, true); }, 7, 0x04, 0xBB, {9}},
        {"KTV_Echo_Delay_Ctrl", [](DspDevice& d) { d.KTV_Echo_Delay_Ctrl(300, true); }, 7, 0x05, 0xBB,
         {0x01, 0x2C}},
        {"KTV_Reverb_Level_Ctrl", [](DspDevice& d) { d.KTV_Reverb_Level_Ctrl(5, true); }, 7, 0x06, 0xBB, {5}},
        {"KTV_Reverb_Time_Ctrl", [](DspDevice& d) { d.KTV_Reverb_Time_Ctrl(6, true); }, 7, 0x07, 0xBB, {6}},
        {"KTV_Voice_Changer_Ctrl", [](DspDevice& d) { d.KTV_Voice_Changer_Ctrl(2, true); }, 7, 0x08, 0xBB, {2}},
        {"KTV_Bass_Gain_Ctrl", [](DspDevice& d) { d.KTV_Bass_Gain_Ctrl(-3, true); }, 7, 0x09, 0xBB, {0xFD}},
        {"KTV_Treble_Gain_Ctrl", [](DspDevice& d) { d.KTV_Treble_Gain_Ctrl(4, true); }, 7, 0x0A, 0xBB, {4}},
        {"IRC_Ctrl", [](DspDevice& d) { d.IRC_Ctrl(1, 0x00F3, 2, true); }, 1, 0x13, 0xBB,
         {0x01, 0x00, 0xF3, 0x02}},
        {"IRC_Get", [](DspDevice& d) { d.IRC_Get(); }, 1, 0x13, 0x66, {}},
        {"IRC_Get_Distance", [](DspDevice& d) { d.IRC_Get_Distance(0, 15); }, 1, 0x14, 0x66, {0, 15}},
        {"IRC_Get_EQ", [](DspDevice& d) { d.IRC_Get_EQ(2, 0, 30); }, 1, 0x16, 0x66, {2, 0, 30}},
        {"IRC_Get_Spectrum", [](DspDevice& d) { d.IRC_Get_Spectrum(2, 5, 9); }, 1, 0x1A, 0x66, {2, 5, 9}},
        {"IRC_Sel_Test_Module", [](DspDevice& d) { d.IRC_Sel_Test_Module(0x21, true); }, 1, 0x1E, 0xBB,
         {0x21}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        sim::Frame frame = Sent([&] { row.command(device); });
        EXPECT_EQ(row.type, frame.type);
        EXPECT_EQ(row.subcommand, frame.subcommand);
        EXPECT_EQ(row.optype, frame.optype);
        EXPECT_EQ(row.data, frame.data);
    }
}

TEST_F(DspSystemCommandsTest, OverlongSceneNameIsRefused) {
    unit().ClearReceived();
    char name[29];
    for (auto& c : name) c = 'n';
    device.SetSceneName(1, name, 29);
    device.SetSceneName(1, nullptr, 4);
    EXPECT_TRUE(unit().ReceivedReports().empty());
    Sent([&] { device.SetSceneName(1, name, 28); });
}

TEST_F(DspSystemCommandsTest, HandshakeNeedsItsOwnAnswer) {
    EXPECT_TRUE(device.Hand_Connect());

    // An unsolicited knob report ahead of the answer is not the answer.
    unit().QueueFrame(1, 0x02, 0xDD, {0x00, 0x20});
    EXPECT_TRUE(device.Hand_Connect());

    unit().SetResponder(nullptr);
    unit().QueueFrame(1, 0x02, 0xDD, {0x00, 0x21});
    EXPECT_FALSE(device.Hand_Connect());

    // A refusal is still an answer.
    responder.answer = {0xF0, 0, 0, 0};
    unit().SetResponder(&responder);
    EXPECT_TRUE(device.Hand_Connect());

    device.CloseHIDDevice(false);
    EXPECT_FALSE(device.Hand_Connect());
}

// The reply waits made, as (subcommand, length the wait loop uses).
using Waits = std::vector<std::pair<int, uint32_t>>;
Waits gReplyWaits;
void RecordReplyWait(uint8_t subcommand, uint32_t waitMs) { gReplyWaits.emplace_back(subcommand, waitMs); }

TEST_F(DspSystemCommandsTest, EveryExchangeWaitsItsOwnReplyWait) {
    const uint32_t plain = 10000, scene = 20000, factory = 30000;
    sim::LoaderUnitModel loader{unit()};
    TempFile image(L"dspsys_", L"BL_UPG.BIN", fwtest::McuImage(40));
    const struct {
        const char* name;
        std::function<void(DspDevice&)> command;
        Waits unscaled;
        // Unanswered, the exchange holds the whole wait it reported.
        bool silent = false;
    } table[] = {
        {"SaveScene", [](DspDevice& d) { d.SaveScene(3, 1); }, {{0x08, scene}}},
        {"ReadScene", [](DspDevice& d) { d.ReadScene(4, 0xFF); }, {{0x09, scene}}},
        {"DeleteScene", [](DspDevice& d) { d.DeleteScene(7); }, {{0x0A, scene}}},
        {"SetSceneName", [](DspDevice& d) { d.SetSceneName(3, "Live", 4); }, {{0x0B, plain}}},
        {"GetSceneName", [](DspDevice& d) { d.GetSceneName(10); }, {{0x0B, plain}}},
        {"GetSceneId", [](DspDevice& d) { d.GetSceneId(true); }, {{0x0E, plain}}},
        {"GetSceneValid", [](DspDevice& d) { d.GetSceneValid(); }, {{0x0F, plain}}},
        {"Hand_Connect", [](DspDevice& d) { d.Hand_Connect(); }, {{0x08, plain}}},
        {"Hand_Connect unanswered",
         [&](DspDevice& d) {
             unit().SetResponder(nullptr);
             EXPECT_FALSE(d.Hand_Connect());
             unit().SetResponder(&responder);
         },
         {{0x08, plain}}, true},
        {"PC_Connect", [](DspDevice& d) { d.PC_Connect(1); }, {}},
        {"MCU_Reboot_Ctrl", [](DspDevice& d) { d.MCU_Reboot_Ctrl(); }, {{0x8F, plain}}},
        {"MCU_Factory_Default", [](DspDevice& d) { d.MCU_Factory_Default(); }, {{0x90, factory}}},
        {"Set_Power_Off_Time", [](DspDevice& d) { d.Set_Power_Off_Time(1500, true); }, {{0x91, plain}}},
        {"Get_Acc", [](DspDevice& d) { d.Get_Acc(); }, {{0x92, plain}}},
        {"KTV_Echo_Delay_Ctrl", [](DspDevice& d) { d.KTV_Echo_Delay_Ctrl(300, true); }, {{0x05, plain}}},
        {"IRC_Get_EQ", [](DspDevice& d) { d.IRC_Get_EQ(2, 0, 30); }, {{0x16, plain}}},
        {"a queued command",
         [](DspDevice& d) {
             d.EnableAsyncMode();
             d.Set_Acc(12, false);
             EXPECT_TRUE(sim::PollUntil([&] { return d.IsQueueIdle(); }, 5000));
             d.DisableAsyncMode();
         },
         {{0x92, plain}}},
        // Enter upgrade mode, its start, then each of the two blocks' answers.
        {"a loader image",
         [&](DspDevice& d) {
             unit().SetResponder(&loader);
             d.SetDeviceConfig(fwtest::kModelId, 16, 14, 0, 0);
             d.Hand_Connect();
             gReplyWaits.clear();
             EXPECT_EQ(UPG_OK, d.UpgradeStart(image.path(), 0));
             for (int step = 0; step < 50 && d.UpgradeProcess() <= 100;) ++step;
             unit().SetResponder(&responder);
         },
         {{0xA0, plain}, {0xA1, plain}, {0xA2, plain}, {0xA2, plain}}},
    };
    DspDevice::SetReplyWaitCheck(RecordReplyWait);
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        gReplyWaits.clear();
        const DWORD began = GetTickCount();
        row.command(device);
        const DWORD held = GetTickCount() - began;
        Waits expected;
        for (const auto& wait : row.unscaled) expected.emplace_back(wait.first, ScaledWait(wait.second));
        EXPECT_EQ(expected, gReplyWaits);
        if (row.silent) {
            EXPECT_GE(held, expected.front().second) << "left the wait early";
        }
    }
    DspDevice::SetReplyWaitCheck(nullptr);
}

}  // namespace
