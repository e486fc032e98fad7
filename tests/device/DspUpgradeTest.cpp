// The firmware upgrade against the simulated unit and its loader: the exact
// blocks, the progress of each step, the restart into the loader, and the
// unit's refusals and failures. Waits are scaled down to 1 %, so a 10 s
// read takes 100 ms; tests through a restart use 5 % (an 8 s pause of
// 400 ms), and the program's reopen finds the unit once it is back.
#include <gtest/gtest.h>
#include <stdio.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "tests/device/FirmwareImageBuilder.h"
#include "tests/device/TempFirmwareFile.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimDeviceTest.h"
#include "tests/support/SimLoader.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using fwtest::TempFile;

constexpr uint8_t kMcu = 0x03;
constexpr uint8_t kFlash = 0x02;

// Files of these tests, beside those of the firmware file tests.
const wchar_t* const kFilePrefix = L"dspupg_";

struct Sent {
    uint8_t type;
    uint8_t sub;
    size_t length;
};

class DspUpgradeTest : public sim::SimDeviceTest {
protected:
    DspUpgradeTest() : SimDeviceTest(model, 1) {}
    void BeforeOpen() override { device.SetDeviceConfig(fwtest::kModelId, 16, 14, 0, 0); }
    void TearDown() override {
        SimDeviceTest::TearDown();
        SetDeviceWaitScaleForTests(100);
    }

    static void ScaleForRestart() { SetDeviceWaitScaleForTests(5); }
    // Records in heldMs how long the failing steps took.
    void ExpectFailsInBoundedTime(const sim::LoaderFaults& faults);
    DWORD heldMs = 0;

    // Handshake first, as the program does: it tells whether the unit runs
    // its application (and must restart into the loader) or the loader.
    void Connect(bool inLoader) {
        model.SetLoaderMode(inLoader);
        ASSERT_TRUE(device.Hand_Connect());
        ASSERT_EQ(device.mMcuNormalMode.load(), inLoader ? 0 : 1);
        unit().ClearReceived();
    }

    // Steps until one reports done or failed; a limit guards the test.
    std::vector<int> RunSteps(int limit = 2000) {
        std::vector<int> values;
        for (int i = 0; i < limit; ++i) {
            values.push_back(device.UpgradeProcess());
            if (values.back() > 100) break;
        }
        return values;
    }

    static std::vector<Sent> SentFrames() {
        std::vector<Sent> sent;
        for (const sim::Frame& f : unit().ReceivedFrames()) sent.push_back({f.type, f.subcommand, f.data.size()});
        return sent;
    }

    static void ExpectSent(const std::vector<Sent>& expected) {
        const std::vector<Sent> sent = SentFrames();
        ASSERT_EQ(sent.size(), expected.size());
        for (size_t i = 0; i < sent.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(sent[i].type, expected[i].type);
            EXPECT_EQ(sent[i].sub, expected[i].sub);
            EXPECT_EQ(sent[i].length, expected[i].length);
        }
    }

    static bool WaitForPresent() {
        return sim::PollUntil([] { return unit().IsPresent(); }, 5000);
    }

    sim::LoaderUnitModel model{unit()};
};

TEST_F(DspUpgradeTest, McuImageGoesThroughTheRestartIntoTheLoader) {
    ScaleForRestart();
    Connect(false);
    const Bytes payload = fwtest::Pattern(70, 3);
    TempFile file(kFilePrefix, L"brisa_mcu_upg.bin", fwtest::McuImage(70));  // lower case is recognised

    ASSERT_EQ(device.UpgradeStart(file.path(), 0), UPG_OK);
    EXPECT_EQ(model.LoaderRestarts(), 1);
    EXPECT_TRUE(device.IsDeviceOpen()) << "reopened after the restart";
    EXPECT_EQ(device.mUpgState.load(), 48u);

    // Each block takes three steps: send, wait, read its acknowledgement.
    const std::vector<int> expected = {8, 8, 8, 54, 54, 54, 100, 100, 100, 100, 101};
    EXPECT_EQ(RunSteps(), expected);
    EXPECT_EQ(device.mUpgState.load(), 0u);

    ExpectSent({{kMcu, 0x01, 0}, {kMcu, 0x02, 4}, {kMcu, 0x03, 36}, {kMcu, 0x03, 36},
                {kMcu, 0x03, 36}, {kMcu, 0x04, 0}});
    const sim::ReceivedImage image = model.McuImage();
    EXPECT_EQ(image.startParams, Bytes({0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(image.blockOffsets, std::vector<uint32_t>({64, 32, 0}));
    ASSERT_GE(image.bytes.size(), payload.size());
    EXPECT_EQ(Bytes(image.bytes.begin(), image.bytes.begin() + 70), payload);
    for (size_t i = 70; i < image.bytes.size(); ++i) EXPECT_EQ(image.bytes[i], 0) << "padding";
    EXPECT_TRUE(image.finished);

    // The unit reboots into its application; the engine stays done.
    EXPECT_TRUE(WaitForPresent());
    EXPECT_EQ(model.LoaderRestarts(), 2);
    EXPECT_EQ(device.UpgradeProcess(), 101);
}

TEST_F(DspUpgradeTest, DspImageWithChipEraseEndsWithTheReboot) {
    ScaleForRestart();
    Connect(false);
    const Bytes payload = fwtest::Pattern(120, 9);
    TempFile file(kFilePrefix, L"FLASH_UPG.BIN", fwtest::DspImage(120, 7));  // its firmware id is not checked

    ASSERT_EQ(device.UpgradeStart(file.path(), 1), UPG_OK);
    EXPECT_TRUE(model.FlashErased());
    EXPECT_EQ(model.LoaderRestarts(), 1);

    const std::vector<int> expected = {41, 41, 41, 83, 83, 83, 100, 100, 100, 100, 101};
    EXPECT_EQ(RunSteps(), expected);
    ExpectSent({{kFlash, 0x02, 0}, {kMcu, 0x01, 0}, {kFlash, 0x03, 4}, {kFlash, 0x04, 55},
                {kFlash, 0x04, 55}, {kFlash, 0x04, 25}, {kFlash, 0x05, 0}, {kMcu, 0x8F, 0}});
    const sim::ReceivedImage image = model.DspImage();
    EXPECT_EQ(image.startParams, Bytes({0x55, 0x22, 0x33, 0x44}));
    EXPECT_EQ(image.blockOffsets, std::vector<uint32_t>({0, 50, 100}));
    EXPECT_EQ(image.bytes, payload);
    EXPECT_TRUE(image.finished);
}

TEST_F(DspUpgradeTest, MergedFileFromTheLoaderTransfersOnlyTheDspImage) {
    Connect(true);  // already in the loader: no restart
    TempFile file(kFilePrefix, L"UPG_FW.BIN", fwtest::MergedFile({fwtest::McuImage(70), fwtest::DspImage(60)}));

    ASSERT_EQ(device.UpgradeStart(file.path(), 0), UPG_OK);
    EXPECT_EQ(model.LoaderRestarts(), 0);
    const std::vector<int> steps = RunSteps();
    EXPECT_EQ(steps.back(), 101);
    ExpectSent({{kMcu, 0x01, 0}, {kFlash, 0x03, 4}, {kFlash, 0x04, 55}, {kFlash, 0x04, 15},
                {kFlash, 0x05, 0}, {kMcu, 0x8F, 0}});
    EXPECT_EQ(model.DspImage().bytes, fwtest::Pattern(60, 9));
    EXPECT_TRUE(model.McuImage().blockOffsets.empty());
}

TEST_F(DspUpgradeTest, LoaderImageIsSentFromTheApplicationWithoutRestart) {
    Connect(false);
    TempFile file(kFilePrefix, L"BL_UPG.BIN", fwtest::McuImage(40));

    ASSERT_EQ(device.UpgradeStart(file.path(), 0), UPG_OK);
    EXPECT_EQ(model.LoaderRestarts(), 0);
    const std::vector<int> expected = {20, 20, 20, 100, 100, 100, 100, 101};
    EXPECT_EQ(RunSteps(), expected);
    ExpectSent({{kMcu, 0xA0, 0}, {kMcu, 0xA1, 4}, {kMcu, 0xA2, 36}, {kMcu, 0xA2, 36}, {kMcu, 0xA3, 0}});
    EXPECT_EQ(model.McuImage().blockOffsets, std::vector<uint32_t>({32, 0}));
}

TEST_F(DspUpgradeTest, RefusedOrUnacknowledgedStartsReturn4AndSendNoBlock) {
    struct Case {
        const char* what;
        sim::LoaderFaults faults;
        const wchar_t* name;
        Bytes file;
        std::vector<Sent> sent;
    };
    sim::LoaderFaults refused;
    refused.refuseStart = true;
    sim::LoaderFaults silent;
    silent.enter = sim::EnterAnswer::Silent;
    sim::LoaderFaults notReady;
    notReady.enter = sim::EnterAnswer::NotReady;
    const Case cases[] = {
        {"start refused", refused, L"MCU_UPG.BIN", fwtest::McuImage(70), {{kMcu, 0x01, 0}, {kMcu, 0x02, 4}}},
        {"enter never answered", silent, L"MCU_UPG.BIN", fwtest::McuImage(70), {{kMcu, 0x01, 0}}},
        {"enter not ready", notReady, L"BL_UPG.BIN", fwtest::McuImage(70), {{kMcu, 0xA0, 0}}},
        // The DSP file's parser already sets "mode entered": only the unit's
        // answer may count.
        {"DSP enter never answered", silent, L"FLASH_UPG.BIN", fwtest::DspImage(120), {{kMcu, 0x01, 0}}},
    };
    Connect(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model.SetFaults(c.faults);
        unit().ClearReceived();
        TempFile file(kFilePrefix, c.name, c.file);
        EXPECT_EQ(device.UpgradeStart(file.path(), 0), UPG_START_FAIL);
        EXPECT_EQ(device.mUpgState.load(), 0u);
        ExpectSent(c.sent);
        EXPECT_EQ(device.UpgradeProcess(), 255) << "the caller's loop ends";
        EXPECT_EQ(SentFrames().size(), c.sent.size());
    }
}

TEST_F(DspUpgradeTest, NotReadyAnswerIsReadPastWithoutResending) {
    Connect(true);
    sim::LoaderFaults faults;
    faults.notReadyBlock = 1;
    model.SetFaults(faults);
    TempFile file(kFilePrefix, L"MCU_UPG.BIN", fwtest::McuImage(70));

    ASSERT_EQ(device.UpgradeStart(file.path(), 0), UPG_OK);
    const std::vector<int> steps = RunSteps();
    EXPECT_EQ(steps.back(), 101);
    // Block 1 waits for two answers: "not ready", then "ready".
    const std::vector<int> expected = {8, 8, 8, 54, 54, 54, 54, 54, 100, 100, 100, 100, 101};
    EXPECT_EQ(steps, expected);
    const sim::ReceivedImage image = model.McuImage();
    EXPECT_EQ(image.blockOffsets, std::vector<uint32_t>({64, 32, 0}));
    ASSERT_GE(image.bytes.size(), 70u);
    EXPECT_EQ(Bytes(image.bytes.begin(), image.bytes.begin() + 70), fwtest::Pattern(70, 3));
}

// Each fault on a unit of its own: a failed DSP image ends with the unit's
// reboot, which must not reach the next case's start.
void DspUpgradeTest::ExpectFailsInBoundedTime(const sim::LoaderFaults& faults) {
    Connect(true);
    model.SetFaults(faults);
    TempFile file(kFilePrefix, L"FLASH_UPG.BIN", fwtest::DspImage(120));
    // The enter command's answer gets room on a loaded machine; the
    // blocks' waits below are the ones bounded.
    ScaleForRestart();
    ASSERT_EQ(device.UpgradeStart(file.path(), 0), UPG_OK);
    SetDeviceWaitScaleForTests(1);
    const auto start = Clock::now();
    const DWORD startTick = GetTickCount();
    const std::vector<int> steps = RunSteps();
    EXPECT_EQ(steps.back(), 255);
    EXPECT_EQ(steps[0], 41);
    heldMs = GetTickCount() - startTick;
    // A block waits at most 30 s (scaled: 300 ms) for its acknowledgement.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(device.mUpgState.load(), 0u);
    EXPECT_EQ(device.UpgradeProcess(), 255) << "stays failed";
}

TEST_F(DspUpgradeTest, UnitThatStaysNotReadyFailsInBoundedTime) {
    sim::LoaderFaults stuck;
    stuck.notReadyBlock = 1;
    stuck.readyAfterNotReady = false;
    ExpectFailsInBoundedTime(stuck);
    EXPECT_GE(heldMs, 300u) << "the block was given up before its 30 s (at 1 %)";
}

TEST_F(DspUpgradeTest, UnitThatVanishesFailsInBoundedTime) {
    sim::LoaderFaults vanishing;
    vanishing.vanishAtBlock = 1;
    ExpectFailsInBoundedTime(vanishing);
}

TEST_F(DspUpgradeTest, LinkClosedMidTransferFailsAtTheNextStep) {
    Connect(true);
    TempFile file(kFilePrefix, L"MCU_UPG.BIN", fwtest::McuImage(70));
    ASSERT_EQ(device.UpgradeStart(file.path(), 0), UPG_OK);
    EXPECT_EQ(device.UpgradeProcess(), 8);
    device.CloseHIDDevice(false);
    EXPECT_EQ(device.UpgradeProcess(), 8);    // wait
    EXPECT_EQ(device.UpgradeProcess(), 8);    // nothing to read from: failed
    EXPECT_EQ(device.UpgradeProcess(), 255);
}

TEST_F(DspUpgradeTest, UnsolicitedReportBetweenBlocksDoesNotStall) {
    Connect(true);
    TempFile file(kFilePrefix, L"MCU_UPG.BIN", fwtest::McuImage(70));
    ASSERT_EQ(device.UpgradeStart(file.path(), 0), UPG_OK);
    model.TurnVolumeKnob(-10);  // read before the first block's answer
    const std::vector<int> expected = {8, 8, 8, 54, 54, 54, 100, 100, 100, 100, 101};
    EXPECT_EQ(RunSteps(), expected);
}

TEST_F(DspUpgradeTest, BadFilesAreRefusedBeforeAnythingIsSent) {
    Connect(true);
    Bytes badSum = fwtest::McuImage(70);
    badSum.back() ^= 1;
    fwtest::TestImage otherModel;
    otherModel.modelId = 94;
    struct Case {
        const wchar_t* name;
        Bytes bytes;
        uint32_t result;
    };
    const Case cases[] = {
        {L"MCU_UPG.BIN", badSum, UPG_FILE_INVALID},
        {L"FLASH_UPG.BIN", otherModel.Build(), UPG_FILE_INVALID},
        {L"BL_UPG.BIN", Bytes(14, 0), UPG_FILE_INVALID},  // no image byte
        {L"FLASH_UPG.BIN", Bytes(0x100001, 0), UPG_FILE_INVALID},
        {L"UPG_FW.BIN", fwtest::MergedFile({fwtest::McuImage(70), fwtest::DspImage(60)}, 'a', 'b'),
         UPG_FILE_INVALID},
        {L"firmware.bin", fwtest::McuImage(70), UPG_FILE_INVALID},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        TempFile file(kFilePrefix, c.name, c.bytes);
        EXPECT_EQ(device.UpgradeStart(file.path(), 1), c.result);
        EXPECT_EQ(device.mUpgState.load(), 0u);
        EXPECT_EQ(device.UpgradeProcess(), 255);
    }
    EXPECT_EQ(device.UpgradeStart(L"dspupg_missing_MCU_UPG.BIN", 0), UPG_FILE_OPEN_FAIL);
    EXPECT_TRUE(unit().ReceivedFrames().empty());

    // No unit: nothing to talk to.
    device.CloseHIDDevice(false);
    TempFile mcu(kFilePrefix, L"MCU_UPG.BIN", fwtest::McuImage(70));
    TempFile flash(kFilePrefix, L"FLASH_UPG.BIN", fwtest::DspImage(120));
    EXPECT_EQ(device.UpgradeStart(mcu.path(), 0), UPG_CONNECT_FAIL);
    EXPECT_EQ(device.UpgradeStart(flash.path(), 0), UPG_CONNECT_FAIL);
    EXPECT_EQ(device.mUpgState.load(), 0u);
    EXPECT_TRUE(unit().ReceivedFrames().empty());
}

// The parsers do not log; the engine logs what they found, as narrow lines.
TEST_F(DspUpgradeTest, LogsTheParsersFindings) {
    Connect(true);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring logPath = std::wstring(folder) + L"dspupg_test.log";
    ASSERT_TRUE(OpenLogFile(logPath.c_str()));
    const Bytes good = fwtest::McuImage(70);
    Bytes bad = good;
    bad[1] = 94;  // model id; the stored checksum no longer matches either
    {
        TempFile file(kFilePrefix, L"MCU_UPG.BIN", good);
        EXPECT_EQ(device.UpgradeStart(file.path(), 0), UPG_OK);
    }
    {
        TempFile file(kFilePrefix, L"MCU_UPG.BIN", bad);
        EXPECT_EQ(device.UpgradeStart(file.path(), 0), UPG_FILE_INVALID);
    }
    CloseLog();
    std::string log;
    if (FILE* f = _wfopen(logPath.c_str(), L"rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) log.append(buffer, n);
        fclose(f);
    }
    _wremove(logPath.c_str());

    char sums[64];
    const uint32_t goodSum = (uint32_t(good[good.size() - 4]) << 24) | (uint32_t(good[good.size() - 3]) << 16) |
                             (uint32_t(good[good.size() - 2]) << 8) | good[good.size() - 1];
    snprintf(sums, sizeof(sums), "cal MCU encrypt_checksum=0x%x!\n", static_cast<unsigned>(goodSum));
    // Wide entries are written as UTF-16LE.
    auto wide = [](const char* text) {
        std::string out;
        for (; *text != '\0'; ++text) out += std::string{*text, '\0'};
        return out;
    };
    const std::string expected[] = {
        "UpgradeStart filename dspupg_MCU_UPG.BIN\n",
        "before MCUUpgParsingFile\n",
        "CopyFileToBuffer\n",
        sums,
        "noCheckID=false, FW_ID=0x1, FW_MODEL_ID=0x5f, pc_model_id=0x5f\n",
        "UPG_FILE_VALID\n",
        wide("packet_checksum: temp_sum(0xffff"),
        "UpgradeStart McuStart return 0x0\n",
        "noCheckID=false, FW_ID=0x1, FW_MODEL_ID=0x5e, pc_model_id=0x5f\n",
        "return UPG_FILE_INVALID dspupg_MCU_UPG.BIN ",
        "Parsing return 0x2\n",
    };
    size_t at = 0;
    for (const std::string& line : expected) {
        const size_t found = log.find(line, at);
        EXPECT_NE(found, std::string::npos) << "missing or out of order: " << line;
        if (found != std::string::npos) at = found;
    }
}

TEST_F(DspUpgradeTest, DownloadScriptHasNothingToTransfer) {
    Connect(true);
    EXPECT_EQ(device.UpgradeStart(L"C:/tools/download.bat", 0), UPG_OK);
    EXPECT_EQ(device.UpgradeProcess(), 101);
    EXPECT_TRUE(unit().ReceivedFrames().empty());
}

TEST_F(DspUpgradeTest, UnitThatDoesNotComeBackInTimeGives3) {
    ScaleForRestart();
    Connect(false);
    model.HoldReturn(true);  // off the bus until the program gave up
    TempFile file(kFilePrefix, L"MCU_UPG.BIN", fwtest::McuImage(70));
    EXPECT_EQ(device.UpgradeStart(file.path(), 0), UPG_CONNECT_FAIL);
    model.HoldReturn(false);
    EXPECT_FALSE(device.IsDeviceOpen());
    EXPECT_EQ(device.mUpgState.load(), 0u);
    EXPECT_EQ(device.UpgradeProcess(), 255);
    EXPECT_TRUE(WaitForPresent());
}

}  // namespace
