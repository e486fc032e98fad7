#include <gtest/gtest.h>

#include <windows.h>

#include "uilib/core/DpiScaler.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/ShadowWindow.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"
#include "tests/uilib/kit/MessagePump.h"

using namespace SkinUI;
using SkinUITest::PumpFor;

namespace {

TEST(Shadow, SettersRefuseValuesOutOfRange)
{
    CShadowUI shadow;
    EXPECT_FALSE(shadow.SetSize(36));
    EXPECT_FALSE(shadow.SetSize(-36));
    EXPECT_TRUE(shadow.SetSize(-35));
    EXPECT_FALSE(shadow.SetSharpness(36));
    EXPECT_TRUE(shadow.SetDarkness(255));
    EXPECT_FALSE(shadow.SetDarkness(256));
    EXPECT_FALSE(shadow.SetPosition(0, 36));
    EXPECT_FALSE(shadow.SetShadowCorner(RECT{-1, 0, 0, 0}));
    EXPECT_FALSE(shadow.SetImage(nullptr));
    EXPECT_FALSE(shadow.IsImageMode());
    EXPECT_EQ(-35, shadow.Size());
    EXPECT_EQ(255, shadow.Darkness());
}

TEST(Shadow, CopySettingsCopiesWhatTheModeUses)
{
    CShadowUI computed;
    computed.SetSize(7);
    computed.SetSharpness(3);
    computed.SetDarkness(90);
    computed.SetColor(0x123456);
    computed.SetPosition(2, -3);
    computed.SetShown(true);
    CShadowUI copy;
    EXPECT_TRUE(computed.CopySettingsTo(&copy));
    EXPECT_EQ(7, copy.Size());
    EXPECT_EQ(3, copy.Sharpness());
    EXPECT_EQ(90, copy.Darkness());
    EXPECT_EQ(0x123456u, copy.Color());
    EXPECT_EQ(2, copy.OffsetX());
    EXPECT_EQ(-3, copy.OffsetY());
    EXPECT_TRUE(copy.IsShown());

    CShadowUI image;
    image.SetImage(L"img/shadow.png");
    image.SetShadowCorner(RECT{4, 5, 6, 7});
    image.SetSize(9);
    image.SetSharpness(20);
    CShadowUI imageCopy;
    image.CopySettingsTo(&imageCopy);
    EXPECT_TRUE(imageCopy.IsImageMode());
    EXPECT_EQ(L"img/shadow.png", imageCopy.Image());
    EXPECT_EQ(6, imageCopy.ShadowCorner().right);
    EXPECT_EQ(9, imageCopy.Size());
    EXPECT_EQ(5, imageCopy.Sharpness());
    EXPECT_FALSE(imageCopy.IsShown());
}

class CShadowedWindow : public WindowImplBase {
public:
    const wchar_t* GetWndClassName() const override { return L"BrisaShadowedWindow"; }
    CUIString GetSkinXmlName() const override
    {
        return L"<Window size=\"200,120\" roundcorner=\"6,6\" showshadow=\"true\" shadowsize=\"6\" "
               L"shadowsharpness=\"4\" shadowdarkness=\"120\" shadowposition=\"1,2\">"
               L"<Control bkcolor=\"#FF1F2329\"/></Window>";
    }
};

TEST(Shadow, FollowsItsFrameAndGoesWithIt)
{
    CShadowedWindow window;
    ASSERT_NE(nullptr, window.CreateNativeWindow(nullptr, L"shadowed", WS_POPUP, 0, 300, 200, 0, 0));
    CShadowUI* shadow = window.PaintManager().ShadowWindow();
    ASSERT_NE(nullptr, shadow);
    const HWND shadowWindow = shadow->ShadowHandle();
    ASSERT_NE(nullptr, shadowWindow);
    EXPECT_EQ(static_cast<HWND>(window), GetWindow(shadowWindow, GW_OWNER));
    const LONG exStyle = GetWindowLongW(shadowWindow, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);
    EXPECT_FALSE(IsWindowVisible(shadowWindow));

    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    PumpFor(100);
    EXPECT_TRUE(IsWindowVisible(shadowWindow));
    RECT frame;
    RECT rc;
    GetWindowRect(window, &frame);
    GetWindowRect(shadowWindow, &rc);
    EXPECT_EQ(frame.left + 1 - 6, rc.left);
    EXPECT_EQ(frame.top + 2 - 6, rc.top);
    EXPECT_EQ(200 + 12, rc.right - rc.left);
    EXPECT_EQ(120 + 12, rc.bottom - rc.top);

    SetWindowPos(window, nullptr, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(100);
    GetWindowRect(shadowWindow, &rc);
    EXPECT_EQ(500 + 1 - 6, rc.left);
    EXPECT_EQ(400 + 2 - 6, rc.top);

    ShowWindow(window, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(shadowWindow));
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(shadowWindow));
}

// A plain window for the manager: the Window attributes need one.
class CPlainWindow : public CWindowWnd {
public:
    const wchar_t* GetWndClassName() const override { return L"BrisaPlainWindow"; }
};

TEST(DialogBuilderWindow, SizeIsScaledAndLayeredNamesKeepTheirCase)
{
    CPlainWindow window;
    ASSERT_NE(nullptr, window.CreateNativeWindow(nullptr, L"plain", WS_POPUP, 0, 0, 0, 100, 100));
    {
        CPaintManagerUI manager;
        manager.AttachWindow(window);
        manager.DpiScaler()->SetAwareness(UI_DPI_PER_MONITOR_AWARE);
        manager.DpiScaler()->SetScaleFromDpi(144);
        CDialogBuilder builder;
        CControlUI* root = builder.BuildFromSource(
            L"<Window SIZE=\"800,600\" LAYERED=\"true\" caption=\"0,0,0,32\" sizebox=\"2,3,4,5\"><Control/></Window>",
            nullptr, nullptr, &manager);
        ASSERT_NE(nullptr, root);
        EXPECT_EQ(1200, manager.InitialSize().cx);
        EXPECT_EQ(900, manager.InitialSize().cy);
        EXPECT_FALSE(manager.IsLayeredMode());
        EXPECT_EQ(3, manager.SizeBox().top);
        EXPECT_EQ(5, manager.SizeBox().bottom);
        delete root;
    }
    DestroyWindow(window);
}

TEST(DialogBuilderWindow, WindowAttributesNeedAWindow)
{
    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root =
        builder.BuildFromSource(L"<Window size=\"640,480\"><Control/></Window>", nullptr, nullptr, &manager);
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(0, manager.InitialSize().cx);
    delete root;
}

} // namespace
