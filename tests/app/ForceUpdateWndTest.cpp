// The forced update window against the simulated unit and its loader: the
// stages each image goes through, the unit's restarts between them (handed
// to the window as the main window would), the factory reset at the end, and
// what a refused image leaves. Waits are scaled to 5 %.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "app/tuning/CarriedFirmware.h"
#include "app/windows/ForceUpdateWnd.h"
#include "app/windows/ResourceTempFile.h"
#include "device/FrameCodec.h"
#include "device/UpgradeSubcommands.h"
#include "tests/support/SimDeviceTest.h"
#include "tests/support/SimLoader.h"
#include "tests/support/WideFile.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/CheckBox.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

using Bytes = std::vector<uint8_t>;

const std::wstring kSimFirmware = BRISA_SIM_FIRMWARE_DIR;
const wchar_t kMcu[] = L"BrisaDSP_MCU_UPG.bin";
const wchar_t kFlash[] = L"BrisaDSP_FLASH_UPG.bin";

struct StageCase {
    const char* what;
    const wchar_t* mcu;    // image file in the synthetic folder; empty: none
    const wchar_t* flash;  // likewise
    bool spoilMcu;         // its checksum broken
    bool factoryReset;
    const wchar_t* tips;   // the text once nothing is left to do
    int returns;           // restarts the window went through
    bool mcuWritten, flashWritten, factoryCommand, reload;
    // Alt+F4 and another program's close once a transfer runs, or the unit pulled or silent at the reset or the DSP stage.
    enum class Meddle { None, Close, SilentAtDsp, UnplugAtReset, SilentAtReset } meddle = Meddle::None;
};

class ForceUpdateWindow : public sim::SimDeviceTest, public ::testing::WithParamInterface<StageCase> {
protected:
    ForceUpdateWindow() : SimDeviceTest(model, 5) {}
    void BeforeOpen() override
    {
        ASSERT_TRUE(OpenAppSkin());
        device.SetDeviceConfig(95, 16, 14, 0, 0);
        model.SetRestartDelay(20);
        // An arrival while the unit restarts into its loader is the upgrade's
        // own, as the main window's guard treats it.
        model.SetPlugListener([this](bool arrived) {
            const uint32_t state = device.mUpgState.load();
            if (arrived && state != 16 && state != 32) ++arrivals;
        });
    }
    void TearDown() override
    {
        model.SetPlugListener(nullptr);
        SimDeviceTest::TearDown();
        SetDeviceWaitScaleForTests(100);
    }

    sim::LoaderUnitModel model{unit()};
    std::atomic<int> arrivals{0};
};

TEST_P(ForceUpdateWindow, RunsItsStagesAcrossTheUnitsRestarts)
{
    const StageCase c = GetParam();
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(device.Hand_Connect());
    device.EnableAsyncMode();
    unit().ClearReceived();

    std::wstring mcuPath = c.mcu[0] ? kSimFirmware + L"/" + c.mcu : L"";
    const std::wstring flashPath = c.flash[0] ? kSimFirmware + L"/" + c.flash : L"";
    if (c.spoilMcu) {
        wchar_t folder[MAX_PATH] = {};
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
        Bytes image = sim::ReadFileBytes(mcuPath);
        ASSERT_FALSE(image.empty());
        image[40] ^= 0x10;
        mcuPath = std::wstring(folder) + L"spoilt_MCU_UPG.bin";
        FILE* file = _wfopen(mcuPath.c_str(), L"wb");
        ASSERT_NE(nullptr, file);
        fwrite(image.data(), 1, image.size(), file);
        fclose(file);
    }

    bool reload = false;
    CForceUpdateWnd* window = new CForceUpdateWnd(device, &reload);
    HWND handle = window->CreateNativeWindow(nullptr, L"updatefwwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
    ASSERT_NE(nullptr, handle);
    ASSERT_EQ(window, OpenForceUpdateWindow());
    window->SetFiles(mcuPath.c_str(), mcuPath.c_str(), flashPath.c_str());
    CPaintManagerUI& pm = window->PaintManager();
    CControlUI* updateButton = pm.FindControlByName(L"update_btn");
    CControlUI* cancelButton = pm.FindControlByName(L"cancel_btn");
    CCheckBoxUI* factory = dynamic_cast<CCheckBoxUI*>(pm.FindControlByName(L"check_box_facotry"));
    ASSERT_NE(nullptr, updateButton);
    ASSERT_NE(nullptr, factory);
    factory->SetCheckedState(c.factoryReset);

    window->BeginUpdate();
    if (c.returns > 0) {
        EXPECT_FALSE(updateButton->GetEnabledState()) << "locked while a stage runs";
    }
    if (c.meddle == StageCase::Meddle::Close) {
        SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageW(handle, WM_CLOSE, 0, 0);
        MSG quit;
        EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program goes on";
        SkinUITest::PumpPending();
        ASSERT_TRUE(IsWindow(handle)) << "the window stays while it transfers";
    }
    int handled = 0;
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(SkinUITest::PumpUntil([&] { return arrivals.load() > handled || updateButton->GetEnabledState(); }, 20000));
        if (arrivals.load() <= handled) break;
        ++handled;
        // What the main window does when the unit comes back.
        device.CloseHIDDevice(false);
        device.OpenHIDDevice();
        ASSERT_TRUE(device.IsDeviceOpen());
        if (c.meddle >= StageCase::Meddle::UnplugAtReset && handled == 2)
            model.FailAtCommand(1, c.meddle == StageCase::Meddle::SilentAtReset ? sim::UnitModel::CommandFault::Silent
                                                                                  : sim::UnitModel::CommandFault::Vanish);
        if (c.meddle == StageCase::Meddle::SilentAtDsp && handled == 1) model.FailAtCommand(1, sim::UnitModel::CommandFault::Silent);
        window->OnDeviceReconnected();
    }
    SkinUITest::PumpPending();
    EXPECT_EQ(c.returns, handled);
    EXPECT_EQ(Text(c.tips), TextOf(pm, L"update_tips"));
    EXPECT_TRUE(updateButton->GetEnabledState());
    EXPECT_TRUE(cancelButton->GetEnabledState()) << "the window can always be left in the end";
    EXPECT_EQ(c.reload, reload);

    EXPECT_EQ(c.mcuWritten, model.McuImage().finished);
    EXPECT_EQ(c.flashWritten, model.DspImage().finished);
    bool factoryCommand = false;
    bool anyBlock = false;
    for (const sim::Frame& f : unit().ReceivedFrames()) {
        factoryCommand |= f.type == dsp::CMD_MCU && f.subcommand == 0x90;
        anyBlock |= (f.type == dsp::CMD_MCU && f.subcommand == dsp::upgrade::kMcuBlock) ||
                    (f.type == dsp::CMD_FLASH && f.subcommand == dsp::upgrade::kFlashBlock);
    }
    EXPECT_EQ(c.factoryCommand, factoryCommand);
    if (!c.mcuWritten && !c.flashWritten) {
        EXPECT_FALSE(anyBlock) << "nothing of a refused image is sent";
    }
    if (c.mcuWritten) {
        const Bytes image = sim::ReadFileBytes(kSimFirmware + L"/" + c.mcu);
        const Bytes payload(image.begin() + 6, image.end() - 8);
        const Bytes got = model.McuImage().bytes;
        ASSERT_GE(got.size(), payload.size());
        EXPECT_EQ(payload, Bytes(got.begin(), got.begin() + static_cast<long>(payload.size())));
    }

    // Idle, the window lets the session end and takes another program's close.
    EXPECT_TRUE(SendMessageW(handle, WM_QUERYENDSESSION, 0, 0) != 0 && (SendMessageW(handle, WM_CLOSE, 0, 0), !IsWindow(handle)));
    DestroyWindow(handle);
    SkinUITest::PumpPending();
    EXPECT_EQ(nullptr, OpenForceUpdateWindow());
    if (c.spoilMcu) DeleteFileW(mcuPath.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Stages, ForceUpdateWindow,
    ::testing::Values(
        StageCase{"both images", kMcu, kFlash, false, false, L"${update_finish}", 2, true, true, false, false},
        StageCase{"both images and the factory reset", kMcu, kFlash, false, true, L"${update_finish}", 3, true, true,
                  true, true},
        StageCase{"both images, a close from outside refused", kMcu, kFlash, false, false, L"${update_finish}", 2, true,
                  true, false, false, StageCase::Meddle::Close},
        // Without the unit's acknowledgement the reset failed, and the unit's return changes nothing.
        StageCase{"both images, the unit pulled at the factory reset", kMcu, kFlash, false, true, L"${device_plugout}", 2,
                  true, true, true, false, StageCase::Meddle::UnplugAtReset},
        StageCase{"both images, the unit silent at the factory reset", kMcu, kFlash, false, true, L"${device_no_answer}",
                  2, true, true, true, false, StageCase::Meddle::SilentAtReset},
        StageCase{"both images, the unit silent at the DSP stage", kMcu, kFlash, false, false, L"${load_fw_fail}", 1, true, false, false, false, StageCase::Meddle::SilentAtDsp},
        StageCase{"the MCU image alone", kMcu, L"", false, false, L"${update_finish}", 1, true, false, false, false},
        StageCase{"no MCU image", L"", kFlash, false, false, L"${update_no_file}", 0, false, false, false, false},
        StageCase{"an MCU image failing its checksum", kMcu, kFlash, true, false, L"${load_fw_fail}", 0, false, false,
                  false, false}));

// The carried images written out for the update: the program's resource
// unchanged, or the code that says why not.
struct ExtractCase {
    const char* what;
    const wchar_t* program;   // the module whose resources are read
    const wchar_t* resource;
    const wchar_t* image;     // the file the resource must equal; empty: none
    size_t tempChars;         // length of a TMP folder forced on the process; 0 keeps it
    int code;
};

class ExtractResource : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractResource, WritesTheResourceOrSaysWhyNot)
{
    const ExtractCase c = GetParam();
    SCOPED_TRACE(c.what);
    if (c.code == kResourceNotFound && BRISA_PROGRAM_CARRIES == CarriedFirmwareState::Usable)
        GTEST_SKIP() << "this build was given firmware images";
    HMODULE module = LoadLibraryExW(c.program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    wchar_t savedTmp[MAX_PATH] = {};
    const DWORD hadTmp = GetEnvironmentVariableW(L"TMP", savedTmp, MAX_PATH);
    if (c.tempChars > 0) SetEnvironmentVariableW(L"TMP", (L"C:\\" + std::wstring(c.tempChars, L'x')).c_str());

    wchar_t path[MAX_PATH] = {};
    const int code = ExtractResourceToTempFile(module, L"MCU_UPG.bin", path, MAX_PATH, c.resource, L"FWIMAGE");
    SetEnvironmentVariableW(L"TMP", hadTmp > 0 ? savedTmp : nullptr);
    FreeLibrary(module);

    EXPECT_EQ(c.code, code);
    if (c.image[0] != L'\0') {
        const Bytes expected = sim::ReadFileBytes(kSimFirmware + L"/" + c.image);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(expected, sim::ReadFileBytes(path));
        EXPECT_NE(nullptr, wcsstr(path, L"\\MCU_UPG.bin"));
        DeleteFileW(path);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ExtractResource,
    ::testing::Values(
        ExtractCase{"MCU image of the simulated program", BRISA_SIM_PROGRAM_EXE, L"FW_MCU", kMcu, 0, kResourceFileOk},
        ExtractCase{"flash image of the simulated program", BRISA_SIM_PROGRAM_EXE, L"FW_FLASH", kFlash, 0,
                    kResourceFileOk},
        ExtractCase{"the shipped program carries none", BRISA_PROGRAM_EXE, L"FW_MCU", L"", 0, kResourceNotFound},
        ExtractCase{"a temporary folder longer than a path", BRISA_SIM_PROGRAM_EXE, L"FW_MCU", L"", 300,
                    kResourceFileNotCreated}));

} // namespace
