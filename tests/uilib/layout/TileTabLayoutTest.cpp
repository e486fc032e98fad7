// Tile grid placement, tab page selection (by index, by a bound option and by
// a bound button) and the page bookkeeping across adds and removals.
#include <gtest/gtest.h>

#include "uilib/control/Button.h"
#include "uilib/control/Option.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/TabLayout.h"
#include "uilib/layout/TileLayout.h"
#include "tests/uilib/kit/AddedControls.h"
#include "tests/uilib/kit/ExpectRect.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;
using SkinUITest::AddControl;
using SkinUITest::ExpectRect;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;

namespace {

TEST(TileLayout, ColumnsFollowTheItemWidth)
{
    const struct {
        const wchar_t* attributes;
        int columns;
        int secondLeft;
    } cases[] = {
        {L"itemsize=\"100,80\"", 3, 116},
        {L"itemsize=\"400,80\"", 1, 0},
        {L"columns=\"2\"", 2, 175},
        {L"columns=\"2\" columns=\"0\"", 2, 175},
        {L"columns=\"-3\"", 1, 0},
        {L"itemsize=\"0,80\" columns=\"5\"", 5, 70},
    };
    for (const auto& c : cases) {
        CTileLayoutUI tiles;
        tiles.ApplyAttributeList(c.attributes);
        for (int i = 0; i < 4; ++i) AddControl(tiles, L"width=\"20\" height=\"10\"");
        tiles.SetPosition(RECT{0, 0, 350, 200}, false);
        EXPECT_EQ(c.columns, tiles.GetColumns()) << c.attributes;
        // Children are centred in their cells: the second child's cell starts
        // one cell width in, unless the grid has one column.
        const CUIRect second = tiles.GetChildAt(1)->GetPosition();
        const int cell = 350 / c.columns;
        EXPECT_EQ(c.secondLeft + (cell - 20) / 2, second.left) << c.attributes;
        EXPECT_EQ(20, second.Width()) << c.attributes;
    }
}

TEST(TileLayout, RowsStackByTheTallestChildPlusGapAndChildrenAreCentred)
{
    CTileLayoutUI tiles;
    tiles.ApplyAttributeList(L"columns=\"3\" childpadding=\"10\" inset=\"5,5,5,5\"");
    AddControl(tiles, L"width=\"40\" height=\"20\"");
    AddControl(tiles, L"width=\"40\" height=\"30\"");
    AddControl(tiles, L"width=\"40\" height=\"20\"");
    AddControl(tiles, L"width=\"40\" height=\"10\" padding=\"0,4,0,0\"");
    CControlUI* hidden = AddControl(tiles, L"width=\"40\" height=\"10\" visible=\"false\"");
    AddControl(tiles, L"width=\"40\" height=\"10\"");
    tiles.SetPosition(RECT{0, 0, 305, 200}, false);
    // Cells of 295 / 3 = 98; the first cell keeps no gap on its left, the
    // last none on its right, the middle half a gap on each side.
    ExpectRect(tiles.GetChildAt(0)->GetPosition(), 31, 10, 71, 30);
    ExpectRect(tiles.GetChildAt(1)->GetPosition(), 132, 5, 172, 35);
    ExpectRect(tiles.GetChildAt(2)->GetPosition(), 232, 10, 272, 30);
    // Second row at 5 + 30 + 10, 14 high (the padded child); the padded
    // child's box starts 4 lower, the hidden child takes no cell.
    ExpectRect(tiles.GetChildAt(3)->GetPosition(), 31, 49, 71, 59);
    EXPECT_EQ(0, hidden->GetPosition().Width());
    ExpectRect(tiles.GetChildAt(5)->GetPosition(), 132, 47, 172, 57);
}

TEST(TileLayout, FloatingChildrenKeepTheirOwnPlaceAndTakeNoCell)
{
    CTileLayoutUI tiles;
    tiles.ApplyAttribute(L"columns", L"2");
    AddControl(tiles, L"float=\"true\" pos=\"7,8,27,18\"");
    AddControl(tiles, L"width=\"20\" height=\"10\"");
    tiles.SetPosition(RECT{100, 100, 300, 200}, false);
    ExpectRect(tiles.GetChildAt(0)->GetPosition(), 107, 108, 127, 118);
    // The tiled child takes the first cell.
    EXPECT_EQ(140, tiles.GetChildAt(1)->GetPosition().left);
}

struct TabFixture : ::testing::Test {
    TabFixture() : recorder(manager)
    {
        tabs = new CTabLayoutUI();
        tabs->SetControlName(L"pages");
        for (int i = 0; i < 3; ++i) pages[i] = AddControl(*tabs);
        manager.AttachRoot(tabs);
        tabs->SetPosition(RECT{0, 0, 100, 60}, false);
        recorder.Clear();
    }
    ~TabFixture() override
    {
        manager.ForgetControl(tabs);
        tabs->AttachManager(nullptr, nullptr, false);
        delete tabs;
    }
    bool Shown(int i) const { return pages[i]->GetVisibility(); }

    CPaintManagerUI manager;
    NotifyRecorder recorder;
    CTabLayoutUI* tabs;
    CControlUI* pages[3];
};

TEST_F(TabFixture, FirstVisiblePageIsSelectedAndLaterOnesHidden)
{
    EXPECT_EQ(0, tabs->GetSelectedIndex());
    EXPECT_TRUE(Shown(0));
    EXPECT_FALSE(Shown(1));
    EXPECT_FALSE(Shown(2));
    ExpectRect(pages[0]->GetPosition(), 0, 0, 100, 60);
    EXPECT_EQ(static_cast<ITabLayoutUI*>(tabs), tabs->FindInterface(L"ITabLayout"));
    EXPECT_EQ(tabs, tabs->FindInterface(L"TabLayout"));
}

TEST_F(TabFixture, SelectingByIndexShowsOnePageAndNotifiesOnlyOnChange)
{
    const struct {
        int index;
        bool answer;
        int selected;
        int notices;
    } steps[] = {
        {2, true, 2, 1}, {2, true, 2, 0}, {3, false, 2, 0}, {-1, false, 2, 0}, {1, true, 1, 1},
    };
    for (const auto& s : steps) {
        recorder.Clear();
        EXPECT_EQ(s.answer, tabs->SelectPageAt(s.index)) << s.index;
        EXPECT_EQ(s.selected, tabs->GetSelectedIndex()) << s.index;
        EXPECT_EQ(s.notices, recorder.Count(L"tabselect")) << s.index;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(i == s.selected, Shown(i)) << s.index << " page " << i;
    }
    recorder.Clear();
    tabs->SelectPageAt(0);
    const NotifyRecorder::Entry* notice = nullptr;
    for (const auto& entry : recorder.Entries()) {
        if (entry.type == L"tabselect") notice = &entry;
    }
    ASSERT_NE(nullptr, notice);
    EXPECT_EQ(0, static_cast<int>(notice->wParam));
    EXPECT_EQ(1, static_cast<int>(notice->lParam));
    EXPECT_EQ(tabs, notice->sender);
    ExpectRect(pages[0]->GetPosition(), 0, 0, 100, 60);
}

TEST_F(TabFixture, RemovalsAndInsertsKeepTheSelectionOnTheSamePage)
{
    ASSERT_TRUE(tabs->SelectPage(pages[2]));
    CControlUI* front = new CControlUI();
    ASSERT_TRUE(tabs->InsertChildAt(front, 0));
    EXPECT_EQ(3, tabs->GetSelectedIndex());
    EXPECT_FALSE(front->GetVisibility());
    ASSERT_TRUE(tabs->RemoveChild(front));
    EXPECT_EQ(2, tabs->GetSelectedIndex());
    ASSERT_TRUE(tabs->RemoveChild(pages[0]));
    EXPECT_EQ(1, tabs->GetSelectedIndex());
    recorder.Clear();
    // Removing the selected page falls back to the first, silently.
    ASSERT_TRUE(tabs->RemoveChild(pages[2]));
    EXPECT_EQ(0, tabs->GetSelectedIndex());
    EXPECT_TRUE(Shown(1));
    EXPECT_EQ(L"", recorder.Types());
    ASSERT_TRUE(tabs->RemoveChildAt(0));
    EXPECT_EQ(-1, tabs->GetSelectedIndex());
    EXPECT_FALSE(tabs->SelectPage(pages[1]));
    CControlUI* again = AddControl(*tabs);
    EXPECT_EQ(0, tabs->GetSelectedIndex());
    EXPECT_TRUE(again->GetVisibility());
    tabs->RemoveAllChildren();
    EXPECT_EQ(-1, tabs->GetSelectedIndex());
}

// A tree built from markup: the bound option and button select pages through
// real clicks, and hidden pages keep their controls findable by name.
struct TabMarkup : ::testing::Test {
    TabMarkup() : recorder(manager)
    {
        CDialogBuilder builder;
        root = builder.BuildFromSource(
            L"<Window><VerticalLayout>"
            L"<Option name=\"opt\" height=\"20\" bindtablayoutname=\"pages\" bindtabindex=\"2\"/>"
            L"<Button name=\"btn\" height=\"20\" bindtablayoutname=\"pages\" bindtabindex=\"1\"/>"
            L"<TabLayout name=\"pages\" selectedid=\"1\">"
            L"<Control name=\"p0\"/>"
            L"<HorizontalLayout name=\"p1\"><Label name=\"deep\" text=\"x\"/></HorizontalLayout>"
            L"<Control name=\"p2\"/>"
            L"</TabLayout></VerticalLayout></Window>",
            nullptr, nullptr, &manager);
        if (root != nullptr) manager.AttachRoot(root);
        if (root != nullptr) root->SetPosition(RECT{0, 0, 200, 200}, false);
    }
    ~TabMarkup() override
    {
        if (root == nullptr) return;
        manager.ForgetControl(root);
        root->AttachManager(nullptr, nullptr, false);
        delete root;
    }
    CTabLayoutUI* Tabs() { return static_cast<CTabLayoutUI*>(manager.FindControlByName(L"pages")); }
    void Click(const wchar_t* name)
    {
        CControlUI* control = manager.FindControlByName(name);
        ASSERT_NE(nullptr, control);
        const CUIRect rc = control->GetPosition();
        SendEvent(*control, UIEVENT_BUTTONDOWN, rc.left + 2, rc.top + 2);
        SendEvent(*control, UIEVENT_BUTTONUP, rc.left + 2, rc.top + 2);
    }

    CPaintManagerUI manager;
    NotifyRecorder recorder;
    CControlUI* root = nullptr;
};

TEST_F(TabMarkup, BoundOptionAndButtonSelectPagesAndHiddenPagesStayFindable)
{
    ASSERT_NE(nullptr, root);
    ASSERT_NE(nullptr, Tabs());
    EXPECT_STREQ(L"TabLayoutUI", Tabs()->GetTypeName());
    EXPECT_EQ(1, Tabs()->GetSelectedIndex());
    recorder.Clear();

    Click(L"opt");
    EXPECT_EQ(2, Tabs()->GetSelectedIndex());
    EXPECT_EQ(std::vector<int>{2}, recorder.Params(L"tabselect"));
    CControlUI* deep = manager.FindControlByName(L"deep");
    ASSERT_NE(nullptr, deep);
    EXPECT_FALSE(deep->GetVisibility());
    EXPECT_EQ(deep, static_cast<CContainerUI*>(root)->FindDescendantByName(L"deep"));
    EXPECT_EQ(L"x", deep->GetTextContent());

    Click(L"btn");
    EXPECT_EQ(1, Tabs()->GetSelectedIndex());
    EXPECT_TRUE(deep->GetVisibility());
    EXPECT_EQ((std::vector<int>{2, 1}), recorder.Params(L"tabselect"));
    // The page fills the layout below the two 20-pixel rows.
    ExpectRect(manager.FindControlByName(L"p1")->GetPosition(), 0, 40, 200, 200);
}

} // namespace
