// Menu placement, the observer, the check map and the menu list and rows,
// all without windows.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ListTestKit.h"
#include "uilib/control/Menu.h"
#include "uilib/control/MenuElement.h"
#include "uilib/control/MenuList.h"
#include "uilib/control/ListHeader.h"

using namespace SkinUI;

namespace {

const RECT kWork = {0, 0, 1600, 870};

const long kAny = LONG_MIN;  // an edge a case leaves free

void ExpectEdges(const RECT& r, const long (&want)[4])
{
    const long got[4] = {r.left, r.top, r.right, r.bottom};
    const char* const names[4] = {"left", "top", "right", "bottom"};
    for (int i = 0; i < 4; ++i) {
        if (want[i] == kAny) continue;
        EXPECT_EQ(want[i], got[i]) << names[i];
    }
}

TEST(MenuPlacement, TopLevelFollowsTheAlignmentInsideTheWorkArea)
{
    const struct {
        const char* name;
        POINT at;
        int inset;
        uint32_t align;
        long edges[4];
    } cases[] = {
        {"left top corner at the point", {300, 200}, 4, MenuAlignLeft | MenuAlignTop, {300, 200, 458, 294}},
        {"right top corner at the point", {300, 200}, 0, MenuAlignRight | MenuAlignTop, {kAny, 200, 300, kAny}},
        {"left bottom corner at the point", {300, 200}, 0, MenuAlignBottom, {300, kAny, kAny, 200}},
        {"moved in from the right and bottom", {1550, 850}, 0, MenuAlignLeft | MenuAlignTop, {1442, kAny, 1600, 870}},
        {"moved in from the left and top", {20, 10}, 0, MenuAlignRight | MenuAlignBottom, {0, 0, kAny, 90}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectEdges(PlaceTopLevelMenu(c.at, 150, 90, c.inset, c.align, kWork), c.edges);
    }
}

TEST(MenuPlacement, SubMenuOpensBesideItsParentInsideTheWorkArea)
{
    const uint32_t rightTop = MenuAlignRight | MenuAlignTop;
    const struct {
        const char* name;
        RECT parent;
        int rowTop;
        bool reachRight;
        uint32_t align;
        long edges[4];
    } cases[] = {
        {"on the right", {100, 100, 258, 300}, 160, false, rightTop, {258, 160, 410, 280}},
        {"no room on the left either: back to the right", {100, 100, 258, 300}, 160, true, rightTop,
         {258, kAny, 408, kAny}},
        {"reached right: on the left", {400, 100, 558, 300}, 160, true, rightTop, {250, kAny, 400, kAny}},
        {"side fixed: on the left", {400, 100, 558, 300}, 160, false, rightTop | MenuAlignSideFixed,
         {250, kAny, 400, kAny}},
        {"too far right and too low: left of the parent, moved up", {1400, 700, 1558, 860}, 800, false, rightTop,
         {kAny, 710, 1400, 830}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSubMenuPlacement in = {};
        in.parentWindow = c.parent;
        in.rowTop = c.rowTop;
        in.width = 150;
        in.height = 120;
        in.lastRowHeight = 30;
        in.align = c.align;
        in.reachRight = c.reachRight;
        in.work = kWork;
        ExpectEdges(PlaceSubMenu(in), c.edges);
    }
}

// ---- observer ------------------------------------------------------------------

class FakeReceiver : public MenuReceiverImpl {
public:
    FakeReceiver(std::vector<int>& log, int id) : m_log(log), m_id(id) {}
    bool ReceiveBroadcast(const TMenuBroadcastInfo& info) override
    {
        m_log.push_back(m_id * 10 + static_cast<int>(info.code));
        return true;
    }

private:
    std::vector<int>& m_log;
    int m_id;
};

TEST(MenuObserver, BroadcastReachesTheLastRegisteredFirst)
{
    MenuObserverImpl observer;
    std::vector<int> log;
    FakeReceiver a(log, 1);
    FakeReceiver b(log, 2);
    FakeReceiver c(log, 3);
    observer.RegisterReceiver(&a);
    observer.RegisterReceiver(nullptr);
    observer.RegisterReceiver(&b);
    observer.RegisterReceiver(&c);
    EXPECT_EQ(observer.ReceiverCount(), 3);
    EXPECT_FALSE(observer.BroadcastToReceivers(TMenuBroadcastInfo{UIMENU_CLOSE_ALL, nullptr}));
    EXPECT_EQ(log, std::vector<int>({31, 21, 11}));

    b.DetachFromObservers();
    MenuObserverImpl::ReceiverIterator walk(observer);
    EXPECT_EQ(walk.next(), &a);
    EXPECT_EQ(walk.next(), &c);
    EXPECT_EQ(walk.next(), nullptr);
}

TEST(MenuObserver, NotifyManagerIsKeptUnlessReplaced)
{
    MenuObserverImpl observer;
    CPaintManagerUI manager;
    observer.SetNotifyManager(&manager);
    observer.SetNotifyManager(nullptr);
    EXPECT_EQ(observer.GetNotifyManager(), &manager);
}

TEST(MenuObserver, ReceiverLeavesOnDestruction)
{
    MenuObserverImpl observer;
    std::vector<int> log;
    {
        FakeReceiver gone(log, 1);
        observer.RegisterReceiver(&gone);
    }
    EXPECT_EQ(observer.ReceiverCount(), 0);
    observer.BroadcastToReceivers(TMenuBroadcastInfo{UIMENU_CLOSE_ALL, nullptr});
    EXPECT_TRUE(log.empty());
}

// ---- records and the check map -------------------------------------------------

TEST(MenuRecords, TextsAreCutToFitWithoutSplittingPairs)
{
    wchar_t name[TMenuClickInfo::kNameChars];
    const std::wstring longName(300, L'n');
    CopyTextCut(name, TMenuClickInfo::kNameChars, longName.c_str());
    EXPECT_EQ(std::wstring(name), std::wstring(255, L'n'));

    wchar_t small[4];
    CopyTextCut(small, 4, L"ab\xD83D\xDE00");
    EXPECT_EQ(std::wstring(small), L"ab");
    CopyTextCut(small, 4, nullptr);
    EXPECT_EQ(small[0], L'\0');
}

class CheckMap : public ::testing::Test {
protected:
    void TearDown() override
    {
        CMenuWnd::ClearMenuCheckInfo();
        CMenuWnd::ForgetCheckMap(&map);
    }
    CUIStringMap map;
};

TEST_F(CheckMap, WithoutAMapNothingIsKept)
{
    ASSERT_EQ(CMenuWnd::GetMenuObserver().GetSharedMenuData(), nullptr);
    EXPECT_EQ(CMenuWnd::SetMenuCheckInfo(L"row", true), nullptr);
    CMenuWnd::ClearMenuCheckInfo();
    CMenuElementUI row;
    row.SetControlName(L"row");
    row.SetChecked(true);
    EXPECT_FALSE(row.GetChecked());
}

TEST_F(CheckMap, RowsReadAndWriteTheSharedMap)
{
    CMenuWnd::GetMenuObserver().SetSharedMenuData(&map);
    EXPECT_EQ(CMenuWnd::SetMenuCheckInfo(L"", true), nullptr);
    TMenuCheckInfo* info = CMenuWnd::SetMenuCheckInfo(L"wide", true);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(std::wstring(info->name), L"wide");
    EXPECT_EQ(CMenuWnd::SetMenuCheckInfo(L"wide", false), info);
    EXPECT_EQ(map.Count(), 1);

    CMenuElementUI row;
    row.SetControlName(L"Wide");
    row.ApplyAttribute(L"ischeck", L"true");
    // A state kept under the same name (ignoring case) wins over the layout.
    EXPECT_FALSE(row.GetChecked());
    CMenuElementUI other;
    other.SetControlName(L"other");
    other.ApplyAttribute(L"ischeck", L"true");
    EXPECT_TRUE(other.GetChecked());

    CMenuWnd::ClearMenuCheckInfo();
    EXPECT_EQ(map.Count(), 0);
    EXPECT_FALSE(other.GetChecked());
}

TEST_F(CheckMap, ShutdownFreesTheRecords)
{
    CMenuWnd::GetMenuObserver().SetSharedMenuData(&map);
    CMenuWnd::SetMenuCheckInfo(L"a", true);
    CMenuWnd::SetMenuCheckInfo(L"b", false);
    CPaintManagerUI::Shutdown(false);
    EXPECT_EQ(map.Count(), 0);
}

TEST_F(CheckMap, AForgottenMapIsNeverReachedAgain)
{
    CUIStringMap* owned = new CUIStringMap();
    CMenuWnd::GetMenuObserver().SetSharedMenuData(owned);
    CMenuWnd::SetMenuCheckInfo(L"a", true);
    CMenuWnd::ClearMenuCheckInfo();
    CMenuWnd::ForgetCheckMap(owned);
    delete owned;
    EXPECT_EQ(CMenuWnd::GetMenuObserver().GetSharedMenuData(), nullptr);
    EXPECT_EQ(CMenuWnd::SetMenuCheckInfo(L"a", true), nullptr);
    CMenuWnd::ClearMenuCheckInfo();
}

// ---- menu list and rows --------------------------------------------------------

TEST(MenuList, TakesOnlyMenuRowsAndHidesTheirSubRows)
{
    CMenuUI menu;
    EXPECT_FALSE(menu.GetHeaderControl()->GetVisibility());
    EXPECT_EQ(menu.GetOwnerKind(), 3u);
    CControlUI* plain = ListTest::NewRow(L"plain");
    EXPECT_FALSE(menu.AddChild(plain));
    EXPECT_EQ(menu.IndexOfChild(plain), -1);
    delete plain;

    CMenuElementUI* parent = new CMenuElementUI();
    CMenuElementUI* sub = new CMenuElementUI();
    parent->AddChild(sub);
    ASSERT_TRUE(menu.AddChild(parent));
    EXPECT_TRUE(parent->GetVisibility());
    EXPECT_FALSE(sub->GetVisibility());
    EXPECT_EQ(menu.IndexOfChild(parent), 0);
    EXPECT_EQ(parent->GetListOwner(), static_cast<IListOwnerUI*>(&menu));
}

TEST(MenuRows, SeparatorIsASixPixelDisabledRow)
{
    CMenuElementUI row;
    EXPECT_EQ(row.GetFixedSizeValue().cx, 150);
    EXPECT_EQ(row.GetFixedSizeValue().cy, 30);
    row.ApplyAttribute(L"linetype", L"false");
    EXPECT_FALSE(row.IsLineType());
    row.ApplyAttribute(L"LineType", L"TRUE");
    EXPECT_TRUE(row.IsLineType());
    EXPECT_EQ(row.GetFixedSizeValue().cy, 6);
    EXPECT_FALSE(row.GetEnabledState());
    EXPECT_FALSE(row.AcceptsMouse());

    CMenuElementUI tall;
    tall.ApplyAttribute(L"height", L"12");
    tall.ApplyAttribute(L"linetype", L"true");
    EXPECT_EQ(tall.GetFixedSizeValue().cy, 12);
    tall.ApplyAttribute(L"icon", L"");
    tall.ApplyAttribute(L"icon", L"file='check.png'");
    tall.ApplyAttribute(L"icon", L"");
    EXPECT_EQ(tall.GetIcon(), L"file='check.png'");
}

TEST(MenuRows, EveryRowTakesTheWidestWidth)
{
    CPaintManagerUI manager;
    CMenuUI* menu = new CMenuUI();
    menu->AttachManager(&manager, nullptr, true);
    CMenuElementUI* a = new CMenuElementUI();
    a->SetTextContent(L"short");
    CMenuElementUI* b = new CMenuElementUI();
    b->SetTextContent(L"a considerably longer menu row text that needs room");
    menu->AddChild(a);
    menu->AddChild(b);
    const CUISize size = menu->MeasureDesiredSize(CUISize(1600, 900));
    EXPECT_GT(size.cx, 150);
    EXPECT_LT(size.cx, 800);
    EXPECT_EQ(size.cy, 60);
    EXPECT_EQ(a->GetFixedSizeValue().cx, size.cx);
    EXPECT_EQ(b->GetFixedSizeValue().cx, size.cx);
    EXPECT_EQ(a->GetFixedSizeValue().cy, 30);
    delete menu;
}

} // namespace
