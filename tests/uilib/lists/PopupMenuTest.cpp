// Popup menus as real windows: building from layout text, placement,
// sub-menus, choosing a row, Escape, broken layouts and repeated use.
#include <gtest/gtest.h>

#include <memory>

#include "ListTestKit.h"
#include "PopupHost.h"
#include "uilib/control/Menu.h"
#include "uilib/control/MenuElement.h"
#include "uilib/control/MenuList.h"

using namespace SkinUI;
using ListTest::PopupHost;
using SkinUITest::PumpUntil;
using SkinUITest::SendEvent;

namespace {

const wchar_t kMenuXml[] =
    L"<Window><Menu name=\"root\" inset=\"2,3,2,5\" itemtextpadding=\"30,0,0,0\">"
    L"<MenuElement name=\"open\" text=\"Open\" userdata=\"u-open\"/>"
    L"<MenuElement name=\"more\" text=\"More\" expland=\"true\">"
    L"<MenuElement name=\"sub_a\" text=\"Sub A\" userdata=\"42\"/>"
    L"<MenuElement name=\"sub_b\" text=\"Sub B\"/>"
    L"</MenuElement>"
    L"<MenuElement name=\"sep\" linetype=\"true\"/>"
    L"</Menu></Window>";

int OpenMenus()
{
    return CMenuWnd::GetMenuObserver().ReceiverCount();
}

class PopupMenu : public ::testing::Test {
protected:
    void SetUp() override { host.reset(new PopupHost(RECT{50, 50, 250, 150})); }
    void TearDown() override
    {
        host.reset();
        EXPECT_TRUE(PumpUntil([&] { return ListTest::ThreadWindowCount() == baseline && OpenMenus() == 0; }));
    }
    CMenuWnd* OpenAt(POINT at, uint32_t align = MenuAlignLeft | MenuAlignTop)
    {
        CMenuWnd* window = new CMenuWnd();
        return window->Init(nullptr, kMenuXml, at, &host->Manager(), nullptr, align) ? window : nullptr;
    }
    CMenuElementUI* Row(CMenuWnd* window, const wchar_t* name)
    {
        return static_cast<CMenuElementUI*>(window->GetMenuRoot()->FindDescendantByName(name));
    }
    RECT WindowRect(CMenuWnd* window)
    {
        RECT rc = {0, 0, 0, 0};
        GetWindowRect(window->GetNativeHandle(), &rc);
        return rc;
    }
    bool WaitAllClosed() { return PumpUntil([&] { return OpenMenus() == 0; }); }
    // Opens the menu at (300, 200) and, hovering its "more" row, the sub-menu.
    void OpenWithSubMenu()
    {
        menu = OpenAt(POINT{300, 200});
        ASSERT_NE(menu, nullptr);
        more = Row(menu, L"more");
        // The sub-menu's own list sets its row gap.
        more->GetPaintManager()->SetDefaultAttributeList(L"Menu", L"childpadding=\"4\"", false);
        SendEvent(*more, UIEVENT_MOUSEENTER);
        sub = more->GetSubMenuWindow();
        ASSERT_NE(sub, nullptr);
    }

    const int baseline = ListTest::ThreadWindowCount();
    std::unique_ptr<PopupHost> host;
    // The menu under test, its "more" row and that row's sub-menu.
    CMenuWnd* menu = nullptr;
    CMenuElementUI* more = nullptr;
    CMenuWnd* sub = nullptr;
};

TEST_F(PopupMenu, OpensAtThePointWithTheRowsWidthAndInsets)
{
    menu = OpenAt(POINT{300, 200});
    ASSERT_NE(menu, nullptr);
    CMenuUI* root = menu->GetMenuRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetMenuWindow(), menu);
    EXPECT_EQ(root->GetChildCount(), 3);
    const RECT rc = WindowRect(menu);
    EXPECT_EQ(rc.left, 300);
    EXPECT_EQ(rc.top, 200);
    const int rowWidth = Row(menu, L"open")->GetFixedSizeValue().cx;
    EXPECT_EQ(Row(menu, L"more")->GetFixedSizeValue().cx, rowWidth);
    EXPECT_EQ(rc.right - rc.left, rowWidth + 8);
    EXPECT_EQ(rc.bottom - rc.top, 30 + 30 + 6 + 3 + 5);
    EXPECT_FALSE(Row(menu, L"sub_a")->GetVisibility());
    menu->CloseMenu(1);
    EXPECT_TRUE(WaitAllClosed());
}

TEST_F(PopupMenu, RightAndBottomAlignmentPutTheOtherCornerAtThePoint)
{
    CMenuWnd* right = OpenAt(POINT{600, 300}, MenuAlignRight | MenuAlignTop);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(WindowRect(right).right, 600);
    EXPECT_EQ(WindowRect(right).top, 300);
    right->CloseMenu(1);
    ASSERT_TRUE(WaitAllClosed());
    CMenuWnd* bottom = OpenAt(POINT{600, 300}, MenuAlignBottom);
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(WindowRect(bottom).left, 600);
    EXPECT_EQ(WindowRect(bottom).bottom, 300);
    bottom->CloseMenu(1);
    EXPECT_TRUE(WaitAllClosed());
}

TEST_F(PopupMenu, LeafInASubMenuPostsOneClickAndClosesEveryLevel)
{
    ASSERT_NO_FATAL_FAILURE(OpenWithSubMenu());
    EXPECT_EQ(OpenMenus(), 2);
    EXPECT_EQ(sub->GetMenuRoot()->GetChildCount(), 2);
    EXPECT_GE(WindowRect(sub).left, WindowRect(menu).right);
    EXPECT_EQ(WindowRect(sub).bottom - WindowRect(sub).top, 30 + 4 + 30);

    CMenuElementUI* leaf = static_cast<CMenuElementUI*>(sub->GetMenuRoot()->GetChildAt(0));
    ASSERT_TRUE(leaf->GetVisibility());
    SendEvent(*leaf, UIEVENT_BUTTONUP);
    ASSERT_TRUE(WaitAllClosed());
    SkinUITest::PumpFor(30);
    ASSERT_EQ(host->clicks.size(), 1u);
    EXPECT_EQ(host->clicks[0].name, L"sub_a");
    EXPECT_EQ(host->clicks[0].userData, L"42");
    EXPECT_EQ(host->clicks[0].text, L"Sub A");
    EXPECT_EQ(host->clicks[0].checked, 0);
}

TEST_F(PopupMenu, HoveringALeafClosesTheSiblingSubMenu)
{
    ASSERT_NO_FATAL_FAILURE(OpenWithSubMenu());
    // Crossed by the hand on its way into the sub-menu, the row leaves it open...
    ASSERT_TRUE(SetCursorPos(WindowRect(sub).left + 10, WindowRect(sub).top + 10));
    SendEvent(*Row(menu, L"open"), UIEVENT_MOUSEENTER);
    SendEvent(*Row(menu, L"open"), UIEVENT_TIMER, 0, 0, 1);
    EXPECT_FALSE(sub->IsClosing());
    // ...and takes over once the pointer rests on it.
    ASSERT_TRUE(PumpUntil([&] { return Row(menu, L"open")->GetPosition().right > 0; }));
    const RECT row = Row(menu, L"open")->GetPosition();
    POINT on = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(menu->GetNativeHandle(), &on);
    ASSERT_TRUE(SetCursorPos(on.x, on.y));
    SendEvent(*Row(menu, L"open"), UIEVENT_MOUSEENTER);
    ASSERT_TRUE(PumpUntil([&] { return more->GetSubMenuWindow() == nullptr; }));
    EXPECT_EQ(OpenMenus(), 1);
    EXPECT_EQ(menu->GetMenuRoot()->GetSelectedIndex(), 0);
    // The sub-rows are back under their row, hidden.
    EXPECT_FALSE(Row(menu, L"sub_a")->GetVisibility());
    EXPECT_EQ(Row(menu, L"sub_a")->GetParentControl(), more);
    menu->CloseMenu(1);
    EXPECT_TRUE(WaitAllClosed());
}

TEST_F(PopupMenu, EscapeClosesOnlyTheSubMenu)
{
    ASSERT_NO_FATAL_FAILURE(OpenWithSubMenu());
    SendMessageW(sub->GetNativeHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return more->GetSubMenuWindow() == nullptr; }));
    SkinUITest::PumpFor(30);
    EXPECT_EQ(OpenMenus(), 1);
    EXPECT_TRUE(IsWindow(menu->GetNativeHandle()));
    SendMessageW(menu->GetNativeHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitAllClosed());
    EXPECT_TRUE(host->clicks.empty());
}

TEST_F(PopupMenu, FocusInsideTheFamilyKeepsMenusOpenAndOutsideClosesThem)
{
    ASSERT_NO_FATAL_FAILURE(OpenWithSubMenu());
    SendMessageW(sub->GetNativeHandle(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(menu->GetNativeHandle()), 0);
    SendMessageW(menu->GetNativeHandle(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(sub->GetNativeHandle()), 0);
    SkinUITest::PumpFor(30);
    EXPECT_EQ(OpenMenus(), 2);
    SendMessageW(menu->GetNativeHandle(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(host->GetNativeHandle()), 0);
    EXPECT_TRUE(WaitAllClosed());
    EXPECT_TRUE(host->clicks.empty());
}

TEST_F(PopupMenu, CheckRowsToggleInTheSharedMapAndReportTheirState)
{
    CUIStringMap checks;
    menu = new CMenuWnd();
    ASSERT_TRUE(menu->Init(nullptr, kMenuXml, POINT{300, 200}, &host->Manager(), &checks));
    SendEvent(*Row(menu, L"open"), UIEVENT_BUTTONUP);
    ASSERT_TRUE(WaitAllClosed());
    menu = new CMenuWnd();
    ASSERT_TRUE(menu->Init(nullptr, kMenuXml, POINT{300, 200}, &host->Manager()));
    EXPECT_TRUE(Row(menu, L"open")->GetChecked());
    SendEvent(*Row(menu, L"open"), UIEVENT_BUTTONUP);
    ASSERT_TRUE(WaitAllClosed());
    SkinUITest::PumpFor(30);
    ASSERT_EQ(host->clicks.size(), 2u);
    EXPECT_EQ(host->clicks[0].checked, 1);
    EXPECT_EQ(host->clicks[1].checked, 0);
    CMenuWnd::ClearMenuCheckInfo();
    CMenuWnd::ForgetCheckMap(&checks);
}

TEST_F(PopupMenu, LayoutsThatDoNotBuildAMenuAreRefused)
{
    const int windows = ListTest::ThreadWindowCount();
    CMenuWnd* missing = new CMenuWnd();
    EXPECT_FALSE(missing->Init(nullptr, L"xml/no_such_menu.xml", POINT{10, 10}, &host->Manager()));
    CMenuWnd* wrong = new CMenuWnd();
    EXPECT_FALSE(wrong->Init(nullptr, L"<Window><Label text=\"x\"/></Window>", POINT{10, 10}, &host->Manager()));
    CMenuWnd* broken = new CMenuWnd();
    EXPECT_FALSE(broken->Init(nullptr, L"<Window><Menu", POINT{10, 10}, &host->Manager()));
    CMenuWnd* orphan = new CMenuWnd();
    EXPECT_FALSE(orphan->Init(nullptr, kMenuXml, POINT{10, 10}, nullptr));
    SkinUITest::PumpFor(30);
    EXPECT_EQ(OpenMenus(), 0);
    EXPECT_EQ(ListTest::ThreadWindowCount(), windows);
}

TEST_F(PopupMenu, HolderKeepsOnlyAWeakPointer)
{
    CMenuWnd* held = new CMenuWnd();
    held->SetWeakHolder(&held);
    ASSERT_TRUE(held->Init(nullptr, kMenuXml, POINT{300, 200}, &host->Manager()));
    // Opening the next menu closes the previous one, never deletes it.
    for (int i = 0; i < 3; ++i) {
        if (held != nullptr) held->CloseMenu(1);
        ASSERT_TRUE(PumpUntil([&] { return held == nullptr; })) << i;
        held = new CMenuWnd();
        held->SetWeakHolder(&held);
        ASSERT_TRUE(held->Init(nullptr, kMenuXml, POINT{300, 200}, &host->Manager())) << i;
    }
    SendEvent(*Row(held, L"open"), UIEVENT_BUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return held == nullptr; }));
    SkinUITest::PumpFor(30);
    ASSERT_EQ(host->clicks.size(), 1u);
    EXPECT_EQ(host->clicks[0].name, L"open");
    EXPECT_EQ(host->clicks[0].userData, L"u-open");
}

TEST_F(PopupMenu, HundredOpenCloseCyclesLeaveNothingBehind)
{
    const int windows = ListTest::ThreadWindowCount();
    for (int i = 0; i < 100; ++i) {
        ASSERT_NO_FATAL_FAILURE(OpenWithSubMenu()) << i;
        if (i % 2 == 0) {
            SendEvent(*static_cast<CMenuElementUI*>(sub->GetMenuRoot()->GetChildAt(1)), UIEVENT_BUTTONUP);
        } else {
            SendMessageW(menu->GetNativeHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
        }
        ASSERT_TRUE(WaitAllClosed()) << i;
    }
    SkinUITest::PumpFor(30);
    EXPECT_EQ(ListTest::ThreadWindowCount(), windows);
    EXPECT_EQ(host->clicks.size(), 50u);
}

} // namespace
