#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "SkinSetup.h"
#include "SkinVariants.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"
#include "tests/uilib/kit/MessagePump.h"
#include "tests/uilib/render/DibCanvas.h"

using namespace SkinUI;
using SkinUITest::PumpFor;

namespace {

// The message box as the application builds it: layout id "XML_MSG" from the
// embedded skin archive.
class CMessageWindow : public WindowImplBase {
public:
    const wchar_t* GetWndClassName() const override { return L"BrisaTestMsgWnd"; }
    CUIString GetSkinXmlName() const override { return L"XML_MSG"; }
};

struct TPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

// The window's tree painted off screen the way its paints draw it: other
// programs on a shared test display cannot cover it.
TPixels RenderWindow(CPaintManagerUI& manager)
{
    TPixels pixels;
    RECT rc;
    GetClientRect(manager.WindowHandle(), &rc);
    HBITMAP bitmap = CRenderKit::RenderRootToBitmap(&manager, rc, nullptr, 0);
    if (bitmap == nullptr) return pixels;
    pixels.width = rc.right - rc.left;
    pixels.height = rc.bottom - rc.top;
    pixels.argb = SkinUITest::BitmapPixels(bitmap, pixels.width, pixels.height);
    DeleteObject(bitmap);
    return pixels;
}

// Saves what the screen shows, on top of anything else on the display.
void SaveScreenshot(HWND window, const std::wstring& name)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PumpFor(100);
    EXPECT_TRUE(SaveWindowScreenshot(window, ScreenshotFolder() + name));
}

int CountColor(const TPixels& pixels, const RECT& area, uint32_t rgb)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) count += pixels.At(x, y) == rgb ? 1 : 0;
    }
    return count;
}

// Pixels clearly lighter than the dark background: text and glyphs.
int CountLight(const TPixels& pixels, const RECT& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const uint32_t p = pixels.At(x, y);
            const int sum = static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF));
            count += sum > 3 * 140 ? 1 : 0;
        }
    }
    return count;
}

RECT RectOf(CPaintManagerUI& manager, const wchar_t* name)
{
    CControlUI* control = manager.FindControlByName(name);
    return control != nullptr ? static_cast<RECT>(control->GetPosition()) : RECT{0, 0, 0, 0};
}

TEST(MessageBoxWindow, ShowsFromTheEmbeddedSkinAndClosesOnTheCloseButton)
{
    ASSERT_TRUE(OpenEmbeddedSkin());
    CMessageWindow window;
    ASSERT_NE(nullptr, window.CreateNativeWindow(nullptr, L"Notice", WS_POPUP | WS_SYSMENU, 0, 200, 150, 0, 0));
    CPaintManagerUI& manager = window.PaintManager();
    CControlUI* text = manager.FindControlByName(L"MessageText");
    ASSERT_NE(nullptr, text);
    text->SetTextContent(L"The device has been disconnected. Check the USB cable, then connect again.");
    ASSERT_NE(nullptr, manager.FindControlByName(L"MessageTitle"));
    ASSERT_NE(nullptr, manager.FindControlByName(L"confirm_btn"));
    ASSERT_NE(nullptr, manager.FindControlByName(L"cancel_btn"));
    CControlUI* third = manager.FindControlByName(L"third_btn");
    ASSERT_NE(nullptr, third);
    EXPECT_FALSE(third->GetVisibility());
    CControlUI* close = manager.FindControlByName(L"closebtn");
    ASSERT_NE(nullptr, close);

    window.CenterOverOwner();
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    PumpFor(300);
    RECT rc;
    GetWindowRect(window, &rc);
    EXPECT_EQ(420, rc.right - rc.left);
    EXPECT_EQ(220, rc.bottom - rc.top);

    SaveScreenshot(window, L"xml_msg_en_96dpi.bmp");
    const TPixels pixels = RenderWindow(manager);
    ASSERT_EQ(420, pixels.width);
    // Title bar and body in the skin's panel and window colours.
    EXPECT_GT(CountColor(pixels, RECT{100, 2, 300, 34}, 0x1F2329), 100 * 30);
    EXPECT_GT(CountColor(pixels, RECT{10, 60, 410, 160}, 0x16191D), 40 * 100);
    // Nothing black inside the border.
    EXPECT_EQ(0, CountColor(pixels, RECT{8, 8, 412, 212}, 0x000000));
    // Text in the title and the message, the close glyph, the button faces.
    EXPECT_GT(CountLight(pixels, RectOf(manager, L"MessageTitle")), 20);
    EXPECT_GT(CountLight(pixels, RectOf(manager, L"MessageText")), 100);
    EXPECT_GT(CountLight(pixels, RectOf(manager, L"closebtn")), 5);
    EXPECT_GT(CountColor(pixels, RectOf(manager, L"confirm_btn"), 0x2A3038), 200);
    EXPECT_GT(CountLight(pixels, RectOf(manager, L"confirm_btn")), 10);

    // Hit tests: the title drags the window, the close button does not.
    const RECT title = RectOf(manager, L"MessageTitle");
    POINT onTitle = {title.left + 5, (title.top + title.bottom) / 2};
    ClientToScreen(window, &onTitle);
    EXPECT_EQ(HTCAPTION, SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(onTitle.x, onTitle.y)));
    const RECT closeRect = RectOf(manager, L"closebtn");
    POINT onClose = {(closeRect.left + closeRect.right) / 2, (closeRect.top + closeRect.bottom) / 2};
    ClientToScreen(window, &onClose);
    EXPECT_EQ(HTCLIENT, SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(onClose.x, onClose.y)));
    POINT body = {210, 100};
    ClientToScreen(window, &body);
    EXPECT_EQ(HTCLIENT, SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(body.x, body.y)));

    // A click on the close button ends the modal loop with code 1.
    const LPARAM at = MAKELPARAM((closeRect.left + closeRect.right) / 2, (closeRect.top + closeRect.bottom) / 2);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(1u, window.RunModal());
    EXPECT_EQ(nullptr, window.GetNativeHandle());
}

TEST(MessageBoxWindow, EveryLanguageAtOneHundredAndOneHundredFiftyPercent)
{
    ASSERT_TRUE(OpenEmbeddedSkin());
    ForEachLanguageAndDpi([](const wchar_t* language, int dpi) {
        CMessageWindow window;
        ASSERT_NE(nullptr, window.CreateNativeWindow(nullptr, L"Notice", WS_POPUP, 0, 100, 100, 0, 0));
        CPaintManagerUI& manager = window.PaintManager();
        manager.FindControlByName(L"MessageText")->SetTextContent(L"${device_connect_fail}");
        ShowAtDpi(window, dpi);
        RECT rc;
        GetWindowRect(window, &rc);
        const int percent = dpi * 100 / 96;
        EXPECT_EQ(420 * percent / 100, rc.right - rc.left) << language << " " << dpi;
        EXPECT_EQ(220 * percent / 100, rc.bottom - rc.top) << language << " " << dpi;
        SaveScreenshot(window, L"xml_msg_" + std::wstring(language) + L"_" + std::to_wstring(dpi) + L"dpi.bmp");
        const TPixels pixels = RenderWindow(manager);
        ASSERT_EQ(rc.right - rc.left, pixels.width);
        const int inset = 8 * percent / 100;
        const RECT inner = {inset, inset, pixels.width - inset, pixels.height - inset};
        EXPECT_EQ(0, CountColor(pixels, inner, 0x000000)) << language << " " << dpi;
        EXPECT_GT(CountLight(pixels, RectOf(manager, L"MessageText")), 100) << language << " " << dpi;
        // The scaled button images are there: their face colour fills the button.
        EXPECT_GT(CountColor(pixels, RectOf(manager, L"cancel_btn"), 0x2A3038), 200 * percent / 100)
            << language << " " << dpi;
        DestroyWindow(window);
    });
}

} // namespace

namespace {

TEST(MessageBoxWindow, HundredOpenedAndClosedLeaveNoControlAlive)
{
    ASSERT_TRUE(OpenEmbeddedSkin());
    const int baseline = CControlUI::LiveCount();
    for (int i = 0; i < 100; ++i) {
        CMessageWindow window;
        ASSERT_NE(nullptr, window.CreateNativeWindow(nullptr, L"Notice", WS_POPUP | WS_SYSMENU, 0, 200, 150, 0, 0));
        ASSERT_NE(nullptr, window.PaintManager().FindControlByName(L"confirm_btn"));
        if (i == 0) {
            EXPECT_GT(CControlUI::LiveCount(), baseline + 5);
        }
        DestroyWindow(window);
        // The closed window's controls are still there for whoever reads them
        // after the modal loop; they go with the window object.
        if (i == 0) {
            EXPECT_NE(nullptr, window.PaintManager().Root());
        }
    }
    EXPECT_EQ(baseline, CControlUI::LiveCount());
}

} // namespace
