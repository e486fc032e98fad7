// The firmware update window and the about box in every language at 96 and
// 144 DPI: a picture of each for people to look at, and checks on their own
// painting (nothing black inside the border, more than a flat fill).
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "DibCanvas.h"
#include "SkinSetup.h"
#include "SkinVariants.h"
#include "app/windows/AboutWnd.h"
#include "app/windows/UpdateFwWnd.h"
#include "device/DspDevice.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/core/RenderKit.h"

using namespace SkinUI;

namespace {

struct Look {
    int black = 0;
    size_t colours = 0;
};

Look PaintedLook(WindowImplBase& window, int percent)
{
    RECT client;
    GetClientRect(window, &client);
    HBITMAP bitmap = CRenderKit::RenderRootToBitmap(&window.PaintManager(), client, nullptr, 0);
    Look look;
    if (bitmap == nullptr) return look;
    const std::vector<uint32_t> pixels = SkinUITest::BitmapPixels(bitmap, client.right, client.bottom);
    DeleteObject(bitmap);
    std::set<uint32_t> colours;
    const int inset = 2 * percent / 100;
    for (int y = inset; y < client.bottom - inset; ++y) {
        for (int x = inset; x < client.right - inset; ++x) {
            const uint32_t rgb = pixels[y * client.right + x] & 0xFFFFFF;
            look.black += rgb == 0;
            if (colours.size() < 4096) colours.insert(rgb);
        }
    }
    look.colours = colours.size();
    return look;
}

void CheckWindow(WindowImplBase& window, const wchar_t* layout, const wchar_t* language, int dpi)
{
    ShowAtDpi(window, dpi);
    const std::wstring label = std::wstring(layout) + L"_" + language + L"_" + std::to_wstring(dpi) + L"dpi";
    EXPECT_TRUE(SaveWindowScreenshot(window.GetNativeHandle(), ScreenshotFolder() + label + L".bmp")) << label.c_str();
    const Look look = PaintedLook(window, dpi * 100 / 96);
    EXPECT_EQ(0, look.black) << label.c_str();
    EXPECT_GT(look.colours, 16u) << label.c_str();
}

TEST(FirmwareWindowsLook, PaintInEveryLanguageAtBothDpis)
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
        CheckWindow(*update, L"xml_update_fw", language, dpi);
        DestroyWindow(updateHandle);
        SkinUITest::PumpPending();
    });
}

} // namespace
