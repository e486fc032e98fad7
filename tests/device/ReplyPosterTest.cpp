// Frames read by DspDevice from the simulated unit arrive as messages posted to
// the window DspDevice holds for them; records nobody can receive are freed.
#include "device/DspDevice.h"

#include <gtest/gtest.h>

#include "device/DeviceTiming.h"
#include "device/DspRecords.h"
#include "tests/support/SimUnit.h"

namespace {

// Answers the requests of these tests as the unit would.
class ScriptedUnit : public sim::IResponder {
public:
    void OnCommand(const sim::Frame& frame, sim::SimUnit& unit) override {
        if (frame.type == dsp::CMD_DSP && frame.subcommand == 0x06 && frame.optype == dsp::OP_GET)
            unit.QueueFrame(dsp::CMD_DSP, 0x06, dsp::OP_VALUE,
                            {0, 0, 3, 0, 1, 0x03, 0xE8, 2, 50, 20, 5, 0x07, 0xD0, 5, 50, 18, 0});
        else if (frame.type == dsp::CMD_MCU && frame.subcommand == 0x08)
            unit.QueueFrame(dsp::CMD_MCU, 0x08, dsp::OP_VALUE, {0, 0x5F, 1, 0x19});
    }
};

class ReplyPosterTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDeviceWaitScaleForTests(5);
        unit().Reset();
        liveBefore = dsp::LiveDspRecordCount();
        mainWnd = MessageWindow();
        otherWnd = MessageWindow();
        ASSERT_NE(nullptr, mainWnd);
        ASSERT_NE(nullptr, otherWnd);
        device.SetMainWnd(mainWnd);
        device.OpenHIDDevice();
        ASSERT_TRUE(device.IsDeviceOpen());
    }
    void TearDown() override {
        device.CloseHIDDevice(false);
        unit().SetResponder(nullptr);
        MSG msg;
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "unexpected message " << msg.message;
        DestroyWindow(mainWnd);
        DestroyWindow(otherWnd);
        EXPECT_EQ(liveBefore, dsp::LiveDspRecordCount()) << "a record was leaked";
    }
    static sim::SimUnit& unit() { return sim::SimUnit::Instance(); }
    static HWND MessageWindow() {
        return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }

    // Reads one report the unit has queued; its frames are decoded and posted.
    void ReadQueued() {
        uint8_t report[dsp::kOutputReportSize];
        ASSERT_TRUE(device.ReadHIDData(report, 1000));
    }
    // The next message posted to wnd; false when there is none.
    static bool Take(HWND wnd, MSG* msg) { return PeekMessageW(msg, wnd, 0, 0, PM_REMOVE) != 0; }

    DspDevice device;
    HWND mainWnd = nullptr;
    HWND otherWnd = nullptr;
    int32_t liveBefore = 0;
};

TEST_F(ReplyPosterTest, UnsolicitedVolumeArrivesAsValue) {
    unit().QueueFrame(dsp::CMD_DSP, 0x02, dsp::OP_VALUE, {0xF6});
    ReadQueued();
    MSG msg;
    ASSERT_TRUE(Take(mainWnd, &msg));
    EXPECT_EQ(WM_READ_DSP_VALUE, msg.message);
    EXPECT_EQ(2u, msg.wParam);
    EXPECT_EQ(-10, msg.lParam);
    EXPECT_FALSE(Take(mainWnd, &msg));
}

TEST_F(ReplyPosterTest, AnsweredQueryPostsOneRecordPerBand) {
    ScriptedUnit responder;
    unit().SetResponder(&responder);
    const uint8_t getEq[] = {0, 0, 3, 0, 1};
    ASSERT_TRUE(device.Submit(dsp::CMD_DSP, 0x06, dsp::OP_GET, getEq, sizeof(getEq), true));

    for (int band = 0; band < 2; ++band) {
        MSG msg;
        ASSERT_TRUE(Take(mainWnd, &msg)) << "band " << band;
        EXPECT_EQ(WM_READ_DSP_VALUE, msg.message);
        EXPECT_EQ(0x06u, msg.wParam);
        auto* record = reinterpret_cast<dsp::DspEqBandRecord*>(msg.lParam);
        ASSERT_NE(nullptr, record);
        EXPECT_EQ(3, record->ch);
        EXPECT_EQ(band, record->band);
        EXPECT_EQ(band ? 2000 : 1000, record->freq);
        EXPECT_FLOAT_EQ(band ? 5.5f : 2.5f, record->q);
        EXPECT_FLOAT_EQ(band ? 0.0f : 2.5f, record->gain);
        dsp::FreeDspRecord(record);
    }
}

TEST_F(ReplyPosterTest, HandshakeUpdatesDeviceAndPostsVersions) {
    ScriptedUnit responder;
    unit().SetResponder(&responder);
    ASSERT_TRUE(device.Submit(dsp::CMD_MCU, 0x08, dsp::OP_SET, nullptr, 0, true));
    EXPECT_EQ(95, device.mDeviceModelId.load());
    EXPECT_EQ(1, device.mMcuNormalMode.load());
    MSG msg;
    ASSERT_TRUE(Take(mainWnd, &msg));
    EXPECT_EQ(WM_READ_MCU_VALUE, msg.message);
    EXPECT_EQ(0x08u, msg.wParam);
    auto* record = reinterpret_cast<dsp::McuHandshakeRecord*>(msg.lParam);
    EXPECT_EQ(95, record->modelId);
    EXPECT_EQ(1, record->masterVersion);
    EXPECT_EQ(25, record->slaveVersion);
    dsp::FreeDspRecord(record);
}

TEST_F(ReplyPosterTest, RepliesGoToTheirOwnWindows) {
    device.mDspValueWnd = otherWnd;
    unit().QueueFrame(dsp::CMD_DSP, 0x27, dsp::OP_VALUE, {0, 0, 100, 5});
    ReadQueued();
    MSG msg;
    ASSERT_TRUE(Take(otherWnd, &msg));
    EXPECT_EQ(0x27u, msg.wParam);
    EXPECT_FLOAT_EQ(0.5f, reinterpret_cast<dsp::DspNoiseRecord*>(msg.lParam)->level[0]);
    dsp::FreeDspRecord(reinterpret_cast<void*>(msg.lParam));
    EXPECT_FALSE(Take(mainWnd, &msg));

    // With the switch on, the noise goes to the main window instead.
    device.SetDeviceConfig(95, 16, 14, 0, 1);
    unit().QueueFrame(dsp::CMD_DSP, 0x27, dsp::OP_VALUE, {0, 0, 100, 5});
    ReadQueued();
    ASSERT_TRUE(Take(mainWnd, &msg));
    EXPECT_EQ(0x27u, msg.wParam);
    dsp::FreeDspRecord(reinterpret_cast<void*>(msg.lParam));

    device.mSceneWnd = otherWnd;
    unit().QueueFrame(dsp::CMD_FLASH, 0x0E, dsp::OP_VALUE, {3});
    ReadQueued();
    ASSERT_TRUE(Take(otherWnd, &msg));
    EXPECT_EQ(WM_READ_SCENE_ID, msg.message);
    EXPECT_EQ(3, msg.lParam);

    device.mMemDataWnd = otherWnd;
    unit().QueueFrame(dsp::CMD_DSP, 0x42, dsp::OP_VALUE, {0x78, 0x56, 0x34, 0x12, 4, 3, 2, 1});
    ReadQueued();
    ASSERT_TRUE(Take(otherWnd, &msg));
    EXPECT_EQ(WM_READ_MEMDATA_VALUE, msg.message);
    auto* mem = reinterpret_cast<dsp::DspMemDataRecord*>(msg.lParam);
    EXPECT_EQ(0x12345678u, mem->address);
    EXPECT_EQ(0x01020304u, mem->data);
    dsp::FreeDspRecord(mem);
}

TEST_F(ReplyPosterTest, RecordWithoutWindowIsFreed) {
    // No calibration window exists: its records must not pile up.
    unit().QueueFrame(dsp::CMD_DSP, 0x17, dsp::OP_VALUE, {0, 3, 1, 2, 3, 4});
    ReadQueued();
    device.SetMainWnd(nullptr);
    unit().QueueFrame(dsp::CMD_DSP, 0x09, dsp::OP_VALUE, {0, 0, 0, 1, 1, 0});
    ReadQueued();
    EXPECT_EQ(liveBefore, dsp::LiveDspRecordCount());
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "posted to the thread instead";
}

TEST_F(ReplyPosterTest, RecordToAClosedWindowIsFreed) {
    HWND closed = MessageWindow();
    DestroyWindow(closed);
    device.SetMainWnd(closed);
    unit().QueueFrame(dsp::CMD_DSP, 0x05, dsp::OP_VALUE, {0, 0, 0, 0, 1, 0, 80, 1, 1, 0x1F, 0x40, 1});
    ReadQueued();
    EXPECT_EQ(liveBefore, dsp::LiveDspRecordCount());
}

TEST_F(ReplyPosterTest, BlockAcknowledgementReachesTheUpgradeState) {
    device.mUpgState = 49;
    unit().QueueFrame(dsp::CMD_FLASH, 0x04, dsp::OP_ACK, {0x60});
    ReadQueued();
    EXPECT_EQ(1, device.mUpgNotReady.load());
    unit().QueueFrame(dsp::CMD_FLASH, 0x04, dsp::OP_ACK, {0x0A});
    ReadQueued();
    EXPECT_EQ(48u, device.mUpgState.load());
}

}  // namespace
