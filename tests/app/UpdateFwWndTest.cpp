// The firmware update window against the simulated unit and its loader:
// what the unit receives, the stage text and the bar at the end, and the
// buttons given back. Waits are scaled to 5 %, so the restart into the
// loader takes 400 ms.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "app/windows/UpdateFwWnd.h"
#include "tests/support/SimDeviceTest.h"
#include "tests/support/SimLoader.h"
#include "tests/support/WideFile.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/Progress.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kModelId = 95;
const std::wstring kSimFirmware = BRISA_SIM_FIRMWARE_DIR;

void WriteFile(const std::wstring& path, const Bytes& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(nullptr, file);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

// What an image transfers: all but its 6 leading and 8 trailing bytes.
Bytes Payload(const Bytes& image)
{
    return image.size() < 14 ? Bytes() : Bytes(image.begin() + 6, image.end() - 8);
}

enum class Image { None, Mcu, Dsp };

struct UpdateCase {
    const char* what;
    const wchar_t* file;  // in the synthetic images' folder; empty for no file
    bool spoil;           // one image byte changed, so the checksum fails
    int vanishAtBlock;
    const wchar_t* tips;
    Image received;
    bool framesSent;
    int progress;  // the bar at the end; -1 for somewhere below 100
};

class UpdateFwWindow : public sim::SimDeviceTest, public ::testing::WithParamInterface<UpdateCase> {
protected:
    UpdateFwWindow() : SimDeviceTest(model, 5) {}
    void BeforeOpen() override
    {
        ASSERT_TRUE(OpenAppSkin());
        device.SetDeviceConfig(kModelId, 16, 14, 0, 0);
    }
    void TearDown() override
    {
        SimDeviceTest::TearDown();
        SetDeviceWaitScaleForTests(100);
    }

    sim::LoaderUnitModel model{unit()};
};

TEST_P(UpdateFwWindow, SendsTheChosenFileAndShowsHowItEnded)
{
    const UpdateCase c = GetParam();
    SCOPED_TRACE(c.what);
    model.SetLoaderMode(false);
    sim::LoaderFaults faults;
    faults.vanishAtBlock = c.vanishAtBlock;
    model.SetFaults(faults);
    ASSERT_TRUE(device.Hand_Connect());
    unit().ClearReceived();

    std::wstring path;
    Bytes image;
    if (c.file[0] != L'\0') {
        image = sim::ReadFileBytes(kSimFirmware + L"/" + c.file);
        ASSERT_FALSE(image.empty());
        path = kSimFirmware + L"/" + c.file;
        if (c.spoil) {
            wchar_t folder[MAX_PATH] = {};
            ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
            path = std::wstring(folder) + c.file;
            Bytes spoilt = image;
            spoilt[40] ^= 0x10;
            WriteFile(path, spoilt);
        }
    }

    CUpdateFwWnd* window = new CUpdateFwWnd(device);
    HWND handle = window->CreateNativeWindow(nullptr, L"updatefwwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
    ASSERT_NE(nullptr, handle);
    CPaintManagerUI& manager = window->PaintManager();
    CControlUI* tips = manager.FindControlByName(L"update_tips");
    CControlUI* updateButton = manager.FindControlByName(L"update_btn");
    CProgressUI* bar = dynamic_cast<CProgressUI*>(manager.FindControlByName(L"progress"));
    ASSERT_NE(nullptr, tips);
    ASSERT_NE(nullptr, updateButton);
    ASSERT_NE(nullptr, bar);

    if (!path.empty()) window->ChooseFile(path.c_str());
    window->BeginUpdate();
    EXPECT_FALSE(updateButton->GetEnabledState()) << "locked while the transfer runs";
    const std::wstring expected = Text(c.tips);
    SkinUITest::PumpUntil([&] { return !window->IsUpdating() && std::wstring(tips->GetTextContent().CStr()) == expected; }, 20000);
    SkinUITest::PumpPending();  // the worker's last message
    EXPECT_FALSE(window->IsUpdating());
    EXPECT_EQ(expected, std::wstring(tips->GetTextContent().CStr()));
    EXPECT_TRUE(updateButton->GetEnabledState()) << "given back at the end";
    if (c.progress >= 0) {
        EXPECT_EQ(c.progress, bar->GetValue());
    } else {
        EXPECT_GT(bar->GetValue(), 0);
        EXPECT_LT(bar->GetValue(), 100);
    }

    EXPECT_EQ(c.framesSent, !unit().ReceivedFrames().empty());
    if (c.received == Image::Mcu) {
        const sim::ReceivedImage got = model.McuImage();
        EXPECT_TRUE(got.finished);
        const Bytes payload = Payload(image);
        ASSERT_GE(got.bytes.size(), payload.size());
        EXPECT_EQ(payload, Bytes(got.bytes.begin(), got.bytes.begin() + payload.size()));
    } else if (c.received == Image::Dsp) {
        const sim::ReceivedImage got = model.DspImage();
        EXPECT_TRUE(got.finished);
        EXPECT_EQ(Payload(image), got.bytes);
    }

    DestroyWindow(handle);
    SkinUITest::PumpPending();
    if (c.spoil) DeleteFileW(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Files, UpdateFwWindow,
    ::testing::Values(
        UpdateCase{"MCU image", L"BrisaDSP_MCU_UPG.bin", false, -1, L"${update_ok}", Image::Mcu, true, 100},
        UpdateCase{"DSP image", L"BrisaDSP_FLASH_UPG.bin", false, -1, L"${update_ok}", Image::Dsp, true, 100},
        UpdateCase{"MCU image failing its checksum", L"BrisaDSP_MCU_UPG.bin", true, -1, L"${load_fw_fail}", Image::None, false, 0},
        UpdateCase{"DSP image failing its checksum", L"BrisaDSP_FLASH_UPG.bin", true, -1, L"${load_fw_fail}", Image::None, false, 0},
        UpdateCase{"no file chosen", L"", false, -1, L"${load_fw_fail}", Image::None, false, 0},
        UpdateCase{"unit gone mid-transfer", L"BrisaDSP_FLASH_UPG.bin", false, 40, L"${update_fail}", Image::None, true, -1}));

} // namespace
