// The firmware update windows, the loading window and the about box in every
// language at 96, 120 and 144 DPI: a picture of each for people to look at, and checks on their own
// painting (nothing black inside the border, more than a flat fill).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "AppSkin.h"
#include "SkinVariants.h"
#include "WindowLook.h"
#include "app/windows/AboutWnd.h"
#include "app/windows/ForceUpdateWnd.h"
#include "app/windows/LoadingWnd.h"
#include "app/windows/UpdateFwWnd.h"
#include "device/DspDevice.h"
#include "uilib/control/LoadingBar.h"
#include "tests/uilib/kit/MessagePump.h"

using namespace SkinUI;

namespace {

// The pixels of a painting (by rows of the client width) inside the named
// control that match.
int CountIn(WindowImplBase& window, const std::vector<uint32_t>& pixels, const wchar_t* name, bool (*match)(uint32_t))
{
    CControlUI* control = window.PaintManager().FindControlByName(name);
    RECT client;
    GetClientRect(window.GetNativeHandle(), &client);
    if (control == nullptr || pixels.size() != size_t(client.right) * client.bottom) return -1;
    const RECT rc = control->GetPosition();
    int count = 0;
    for (int y = std::max(0L, rc.top); y < std::min(client.bottom, rc.bottom); ++y)
        for (int x = std::max(0L, rc.left); x < std::min(client.right, rc.right); ++x)
            count += match(pixels[y * client.right + x]);
    return count;
}

bool Accent(uint32_t p) { return (p >> 16 & 0xFF) < 0x60 && (p >> 8 & 0xFF) > 0x80 && (p & 0xFF) > 0xC0; }
bool Danger(uint32_t p) { return (p >> 16 & 0xFF) > 0xB0 && (p >> 8 & 0xFF) < 0x70 && (p & 0xFF) < 0x70; }
// Lighter than the disabled text colour can be.
bool Light(uint32_t p) { return std::max({p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF}) > 0x80; }

TEST(FirmwareWindowsLook, PaintInEveryLanguageAtEachDpi)
{
    ASSERT_TRUE(OpenAppSkin());
    DspDevice device;
    ForEachLanguageAndDpi([&](const wchar_t* language, int dpi) {
        CAboutWnd* about = new CAboutWnd(UnitIdentity{95, 1, 25});
        HWND aboutHandle = about->CreateNativeWindow(nullptr, L"msgwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
        ASSERT_NE(nullptr, aboutHandle);
        CheckWindow(*about, L"xml_about", language, dpi);
        DestroyWindow(aboutHandle);

        CUpdateFwWnd* update = new CUpdateFwWnd(device);
        HWND updateHandle = update->CreateNativeWindow(nullptr, L"updatefwwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
        ASSERT_NE(nullptr, updateHandle);
        update->ChooseFile(L"C:\\firmware\\BrisaDSP_MCU_UPG.bin");
        // A transfer stopped part way: the bar where it was and the result text.
        PostMessageW(updateHandle, CUpdateFwWnd::kMsgProgress, 60, 0);
        PostMessageW(updateHandle, CUpdateFwWnd::kMsgFailed, 0, 0);
        SkinUITest::PumpPending();
        // A failure reads as one: the bar where it stopped and the text in the danger colour, no accent left.
        const std::vector<uint32_t> failed = CheckWindow(*update, L"xml_update_fw", language, dpi);
        EXPECT_EQ(0, CountIn(*update, failed, L"progress", Accent));
        EXPECT_LT(0, CountIn(*update, failed, L"progress", Danger));
        EXPECT_LT(0, CountIn(*update, failed, L"update_tips", Danger));
        DestroyWindow(updateHandle);
        SkinUITest::PumpPending();

        CForceUpdateWnd* force = new CForceUpdateWnd(device, nullptr);
        HWND forceHandle = force->CreateNativeWindow(nullptr, L"updatefwwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
        ASSERT_NE(nullptr, forceHandle);
        // Offered, before a stage runs (the running window is pictured end to end).
        force->SetFiles(L"C:\\users\\tmp\\MCU_UPG.bin", L"C:\\users\\tmp\\MCU_UPG.bin",
                        L"C:\\users\\tmp\\FLASH_UPG.bin");
        SkinUITest::PumpPending();
        CheckWindow(*force, L"xml_force_update", language, dpi);
        // Locked by a running stage, the close button looks disabled.
        force->PaintManager().FindControlByName(L"closebtn")->SetEnabledState(false);
        EXPECT_EQ(0, CountIn(*force, CheckWindow(*force, L"xml_force_update_locked", language, dpi), L"closebtn", Light));
        DestroyWindow(forceHandle);
        SkinUITest::PumpPending();

        CLoadingWnd* loading = nullptr;
        CLoadingWnd* made = new CLoadingWnd(&loading, 0);
        HWND loadingHandle = made->CreateNativeWindow(nullptr, L"loadingwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
        ASSERT_NE(nullptr, loadingHandle);
        // One line of text and the busy bar on a plain panel; the bar moves.
        CheckWindow(*made, L"xml_loading", language, dpi, 8);
        CControlUI* control = made->PaintManager().FindControlByName(L"loading_bar");
        ASSERT_NE(nullptr, control);
        auto* bar = static_cast<CLoadingBarUI*>(control->FindInterface(L"LoadingBar"));
        ASSERT_NE(nullptr, bar);
        const int offset = bar->GetOffset();
        EXPECT_TRUE(SkinUITest::PumpUntil([&] { return bar->GetOffset() != offset; })) << "the busy bar stands still";
        DestroyWindow(loadingHandle);
        SkinUITest::PumpPending();
    });
}

} // namespace
