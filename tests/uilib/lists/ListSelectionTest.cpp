// Selection of a list from both sides: the list's operations, the rows'
// clicks, keys and the wheel, and inserting or removing rows meanwhile.
#include <gtest/gtest.h>

#include "ListTestKit.h"
#include "uilib/control/List.h"
#include "uilib/control/ListBody.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/ListHeaderItem.h"
#include "uilib/control/ScrollBar.h"

using namespace SkinUI;
using ListTest::AddRows;
using ListTest::kWheelDown;
using ListTest::kWheelUp;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;
using SkinUITest::SendKey;

namespace {

class ListSelection : public ::testing::Test {
protected:
    void SetUp() override
    {
        list = new CListUI();
        list->AttachManager(&manager, nullptr, true);
        AddRows(*list, 10);
        list->SetPosition(RECT{0, 0, 200, 400}, false);
    }
    void TearDown() override { delete list; }

    bool Selected(int i) { return AsListItem(list->GetChildAt(i))->IsItemSelected(); }
    // Indices of the rows whose own flag is set.
    std::vector<int> FlaggedRows()
    {
        std::vector<int> out;
        for (int i = 0; i < list->GetChildCount(); ++i)
            if (Selected(i)) out.push_back(i);
        return out;
    }
    std::vector<int> Record()
    {
        std::vector<int> out;
        for (int i = list->GetSelectedAt(-1); i >= 0; i = list->GetSelectedAt(i)) out.push_back(i);
        return out;
    }

    CPaintManagerUI manager;
    CListUI* list = nullptr;
    NotifyRecorder recorder{manager};
};

TEST(ListShape, NewListHasHeaderOnTopAndEmptyBody)
{
    CListUI list;
    EXPECT_EQ(list.CContainerUI::GetChildCount(), 2);
    EXPECT_EQ(list.CContainerUI::GetChildAt(0), list.GetHeaderControl());
    EXPECT_EQ(list.CContainerUI::GetChildAt(1), list.GetBodyContainer());
    EXPECT_EQ(list.GetChildCount(), 0);
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    EXPECT_EQ(list.GetSelectedAt(-1), -1);
    EXPECT_EQ(list.FindInterface(L"ilist"), static_cast<IListUI*>(&list));
    EXPECT_EQ(list.GetOwnerKind(), 0u);
}

TEST_F(ListSelection, SingleSelectionRecordsOnceAndNotifiesOnce)
{
    ASSERT_TRUE(list->SelectSingleItem(3, false));
    EXPECT_EQ(FlaggedRows(), std::vector<int>({3}));
    EXPECT_EQ(Record(), std::vector<int>({3}));
    EXPECT_EQ(list->GetCurrentIndex(), 3);
    ASSERT_EQ(recorder.Count(L"itemselect"), 1);
    EXPECT_EQ(recorder.Entries()[0].wParam, 3u);
    EXPECT_EQ(recorder.Entries()[0].lParam, 0);
    EXPECT_EQ(recorder.Entries()[0].sender, list);

    ASSERT_TRUE(list->SelectSingleItem(3, false));
    EXPECT_EQ(recorder.Count(L"itemselect"), 2);
    EXPECT_EQ(Record(), std::vector<int>({3}));

    ASSERT_TRUE(list->SelectSingleItem(6, false));
    EXPECT_EQ(FlaggedRows(), std::vector<int>({6}));
    EXPECT_FALSE(list->SelectSingleItem(10, false));
    EXPECT_FALSE(list->SelectSingleItem(-1, false));
    EXPECT_TRUE(FlaggedRows().empty());
}

TEST_F(ListSelection, DisabledRowRefusesSelection)
{
    list->GetChildAt(4)->SetEnabledState(false);
    EXPECT_FALSE(list->SelectSingleItem(4, false));
    EXPECT_EQ(list->GetSelectedIndex(), -1);
    EXPECT_EQ(recorder.Count(L"itemselect"), 0);
}

TEST_F(ListSelection, MultipleSelectionWalkAndRemoval)
{
    list->SetMultipleSelection(true);
    ASSERT_TRUE(list->AddToSelection(2, false));
    ASSERT_TRUE(list->AddToSelection(5, false));
    ASSERT_TRUE(list->AddToSelection(7, false));
    EXPECT_EQ(recorder.Params(L"itemselect"), std::vector<int>({2, 5, 7}));
    EXPECT_EQ(list->GetSelectedAt(-1), 2);
    EXPECT_EQ(list->GetSelectedAt(2), 5);
    EXPECT_EQ(list->GetSelectedAt(5), 7);
    EXPECT_EQ(list->GetSelectedAt(7), -1);
    EXPECT_EQ(list->GetSelectedAt(4), -1);
    EXPECT_EQ(FlaggedRows(), std::vector<int>({2, 5, 7}));

    EXPECT_FALSE(list->AddToSelection(7, false));
    EXPECT_EQ(recorder.Count(L"itemselect"), 3);

    ASSERT_TRUE(list->RemoveFromSelection(5, false));
    EXPECT_EQ(Record(), std::vector<int>({2, 7}));
    ASSERT_TRUE(list->RemoveFromSelection(7, true));
    EXPECT_EQ(Record(), std::vector<int>({7}));
    EXPECT_EQ(FlaggedRows(), std::vector<int>({7}));
    EXPECT_EQ(list->GetMinSelectedIndex(), 7);
}

TEST_F(ListSelection, SelectEveryItemSkipsHiddenAndDisabledRows)
{
    list->SetMultipleSelection(true);
    list->GetChildAt(1)->SetEnabledState(false);
    list->GetChildAt(8)->SetVisibility(false);
    list->SelectEveryItem();
    EXPECT_EQ(list->GetSelectedCount(), 8);
    EXPECT_EQ(list->GetCurrentIndex(), 9);
    EXPECT_FALSE(Selected(1));
    EXPECT_EQ(recorder.Count(L"itemselect"), 8);
    list->ClearSelection();
    EXPECT_TRUE(FlaggedRows().empty());
    EXPECT_EQ(list->GetSelectedCount(), 0);
}

TEST_F(ListSelection, InsertingRowsKeepsTheRecordOnTheSameRows)
{
    list->SetMultipleSelection(true);
    list->AddToSelection(2, false);
    list->AddToSelection(5, false);
    CControlUI* second = list->GetChildAt(2);
    CControlUI* fifth = list->GetChildAt(5);

    ASSERT_TRUE(list->InsertChildAt(ListTest::NewRow(L"new"), 3));
    EXPECT_EQ(Record(), std::vector<int>({2, 6}));
    EXPECT_EQ(list->GetChildAt(2), second);
    EXPECT_EQ(list->GetChildAt(6), fifth);
    EXPECT_EQ(list->GetCurrentIndex(), 6);
    for (int i = 0; i < list->GetChildCount(); ++i) EXPECT_EQ(AsListItem(list->GetChildAt(i))->GetListIndex(), i);

    ASSERT_TRUE(list->InsertChildAt(ListTest::NewRow(L"top"), 0));
    EXPECT_EQ(Record(), std::vector<int>({3, 7}));
    EXPECT_EQ(list->GetSelectedIndex(), 3);

    // Clearing must reach the rows that really are selected.
    list->ClearSelection();
    EXPECT_TRUE(FlaggedRows().empty());
}

TEST_F(ListSelection, RemovingRowsKeepsTheRecordOnTheSameRows)
{
    list->SetMultipleSelection(true);
    list->AddToSelection(4, false);
    list->AddToSelection(7, false);
    CControlUI* seventh = list->GetChildAt(7);

    ASSERT_TRUE(list->RemoveChildAt(1));
    EXPECT_EQ(Record(), std::vector<int>({3, 6}));
    EXPECT_EQ(list->GetChildAt(6), seventh);
    EXPECT_EQ(FlaggedRows(), std::vector<int>({3, 6}));

    // A selected row that is not the current one leaves the record.
    ASSERT_TRUE(list->RemoveChildAt(3));
    EXPECT_EQ(Record(), std::vector<int>({5}));
    EXPECT_EQ(list->GetCurrentIndex(), 5);
    EXPECT_EQ(list->GetChildAt(5), seventh);
}

TEST_F(ListSelection, RemovingTheCurrentRowSelectsTheOneBefore)
{
    list->SelectSingleItem(5, false);
    recorder.Clear();
    ASSERT_TRUE(list->RemoveChildAt(5));
    EXPECT_EQ(list->GetSelectedIndex(), 4);
    EXPECT_EQ(FlaggedRows(), std::vector<int>({4}));
    EXPECT_EQ(recorder.Params(L"itemselect"), std::vector<int>({4}));
    EXPECT_EQ(manager.FocusControl(), nullptr);

    ASSERT_TRUE(list->RemoveChildAt(0));
    EXPECT_EQ(list->GetCurrentIndex(), 3);
    EXPECT_EQ(list->GetSelectedIndex(), 3);
    EXPECT_FALSE(list->RemoveChildAt(42));
}

TEST_F(ListSelection, MovingARowKeepsSelectionOnIt)
{
    list->SetMultipleSelection(true);
    list->AddToSelection(2, false);
    list->AddToSelection(8, false);
    CControlUI* row = list->GetChildAt(2);
    ASSERT_TRUE(list->MoveChildToIndex(row, 9));
    EXPECT_EQ(list->GetChildAt(9), row);
    EXPECT_EQ(Record(), std::vector<int>({9, 7}));
    for (int i = 0; i < list->GetChildCount(); ++i) EXPECT_EQ(AsListItem(list->GetChildAt(i))->GetListIndex(), i);
}

TEST_F(ListSelection, RemoveAllResetsSelection)
{
    list->SelectSingleItem(2, false);
    list->RemoveAllChildren();
    EXPECT_EQ(list->GetChildCount(), 0);
    EXPECT_EQ(list->GetSelectedIndex(), -1);
    EXPECT_EQ(list->GetCurrentIndex(), -1);
    EXPECT_EQ(list->CContainerUI::GetChildCount(), 2);
}

TEST_F(ListSelection, ArrowKeysFollowTheRecordAndStopAtTheEnds)
{
    list->RemoveChildAt(9);
    list->RemoveChildAt(8);
    list->RemoveChildAt(7);
    list->RemoveChildAt(6);
    list->SetMultipleSelection(true);
    list->AddToSelection(2, false);
    list->AddToSelection(5, false);
    SendKey(*list, VK_DOWN);
    EXPECT_EQ(Record(), std::vector<int>({5}));
    EXPECT_EQ(FlaggedRows(), std::vector<int>({5}));

    list->SelectSingleItem(0, false);
    recorder.Clear();
    SendKey(*list, VK_UP);
    EXPECT_EQ(Record(), std::vector<int>({0}));
    EXPECT_EQ(recorder.Count(L"itemselect"), 0);
}

TEST_F(ListSelection, KeysAndTheWheelWalkTheEnabledVisibleRows)
{
    const ListTest::Walk walks[] = {
        {"keys skip disabled rows and keep the selection at the end", L"", {4, 7, 8, 9}, {5}, 3,
         {{{VK_DOWN}, 6, 1}, {{VK_DOWN}, 6, 1}, {{VK_UP}, 3, 2}, {{VK_END}, 6, 3}, {{VK_HOME}, 0, 4},
          {{VK_HOME}, 0, 4}},
         {6, 3, 6, 0}},
        {"the wheel selects with scroll select", L"scrollselect=\"true\"", {2}, {}, 1,
         {{{kWheelDown}, 3, 1}, {{kWheelUp}, 1, 2}, {{kWheelUp, kWheelUp}, 0, 3}}, {3, 1, 0}},
        {"the wheel stops at the last row", L"scrollselect=\"true\"", {2}, {}, 9, {{{kWheelDown}, 9, 0}}, {}},
    };
    for (const ListTest::Walk& walk : walks) {
        TearDown();
        SetUp();
        ListTest::ExpectWalk(*list, recorder, walk);
    }
}

TEST_F(ListSelection, WheelSelectsNothingInMultipleMode)
{
    list->SetScrollSelect(true);
    list->SelectSingleItem(9, false);
    list->SetMultipleSelection(true);
    list->AddToSelection(4, false);
    recorder.Clear();
    SendEvent(*list, UIEVENT_SCROLLWHEEL, 0, 0, 1);
    EXPECT_EQ(recorder.Count(L"itemselect"), 0);
}

TEST_F(ListSelection, SelectingScrollsTheRowIntoView)
{
    list->ApplyAttribute(L"header", L"hidden");
    list->ApplyAttribute(L"vscrollbar", L"true");
    list->SetPosition(RECT{0, 0, 200, 101}, false);
    ASSERT_NE(list->GetVScrollBarControl(), nullptr);
    ASSERT_TRUE(list->GetVScrollBarControl()->GetVisibility());
    EXPECT_EQ(list->GetScrollExtent().cy, 99);

    list->SelectSingleItem(8, false);
    EXPECT_EQ(list->GetScrollOffset().cy, 79);
    EXPECT_EQ(list->GetChildAt(8)->GetPosition().bottom, 101);
    SendKey(*list, VK_HOME);
    EXPECT_EQ(list->GetScrollOffset().cy, 0);
    EXPECT_EQ(list->GetChildAt(0)->GetPosition().top, 0);
}

TEST_F(ListSelection, ReturnActivatesTheCurrentRow)
{
    list->SelectSingleItem(2, false);
    SendKey(*list, VK_RETURN);
    ASSERT_EQ(recorder.Count(L"itemactivate"), 1);
    EXPECT_EQ(recorder.Entries().back().sender, list->GetChildAt(2));
}

TEST_F(ListSelection, ExpandingIsRefusedByPlainRows)
{
    EXPECT_FALSE(list->SetItemExpandedAt(2, true));
    EXPECT_EQ(list->GetExpandedIndex(), -1);
    EXPECT_TRUE(list->SetItemExpandedAt(2, false));
}

// ---- from the row side ------------------------------------------------------

TEST_F(ListSelection, ClickSelectsOnceAndButtonUpClicksEveryTime)
{
    CControlUI* row = list->GetChildAt(4);
    SendEvent(*row, UIEVENT_BUTTONDOWN);
    SendEvent(*row, UIEVENT_BUTTONUP);
    SendEvent(*row, UIEVENT_BUTTONDOWN);
    SendEvent(*row, UIEVENT_BUTTONUP);
    EXPECT_EQ(recorder.Params(L"itemselect"), std::vector<int>({4}));
    EXPECT_EQ(recorder.Count(L"itemclick"), 2);
    EXPECT_EQ(FlaggedRows(), std::vector<int>({4}));
}

TEST_F(ListSelection, CtrlClickTogglesAndPlainClickCollapses)
{
    list->SetMultipleSelection(true);
    SendEvent(*list->GetChildAt(1), UIEVENT_BUTTONDOWN);
    {
        ListTest::CtrlHeld ctrl;
        ASSERT_LT(GetKeyState(VK_CONTROL), 0);
        SendEvent(*list->GetChildAt(3), UIEVENT_BUTTONDOWN);
        SendEvent(*list->GetChildAt(6), UIEVENT_BUTTONDOWN);
        EXPECT_EQ(FlaggedRows(), std::vector<int>({1, 3, 6}));
        SendEvent(*list->GetChildAt(3), UIEVENT_BUTTONDOWN);
        EXPECT_EQ(FlaggedRows(), std::vector<int>({1, 6}));
        EXPECT_EQ(Record(), std::vector<int>({1, 6}));
    }
    SendEvent(*list->GetChildAt(6), UIEVENT_BUTTONDOWN);
    EXPECT_EQ(FlaggedRows(), std::vector<int>({6}));
    EXPECT_EQ(Record(), std::vector<int>({6}));
}

TEST_F(ListSelection, CtrlClickOnTheOnlySelectedRowKeepsRowAndListAgreeing)
{
    const struct {
        bool multiple;
        std::vector<int> flagged;
        int selected;
    } cases[] = {{false, {4}, 4}, {true, {}, -1}};
    for (const auto& c : cases) {
        list->SetMultipleSelection(c.multiple);
        list->SelectSingleItem(4, false);
        {
            ListTest::CtrlHeld ctrl;
            SendEvent(*list->GetChildAt(4), UIEVENT_BUTTONDOWN);
        }
        EXPECT_EQ(c.flagged, FlaggedRows()) << c.multiple;
        EXPECT_EQ(c.flagged, Record()) << c.multiple;
        EXPECT_EQ(c.selected, list->GetSelectedIndex()) << c.multiple;
    }
}

namespace {

// A list always shows one header, whatever order headers and header items
// come in: the first header holds one item ("old") when each case starts.
struct HeaderCase {
    const char* name;
    // Returns the header expected afterwards (null: a fresh one).
    CControlUI* (*act)(CListUI& list, CControlUI* first);
    int items;
};

CControlUI* HeaderWith(int items)
{
    CListHeaderUI* header = new CListHeaderUI();
    for (int i = 0; i < items; ++i) header->AddChild(new CListHeaderItemUI());
    return header;
}

CControlUI* Took(bool taken, CControlUI* expected)
{
    EXPECT_TRUE(taken);
    return expected;
}

const HeaderCase kHeaderCases[] = {
    {"header removed",
     [](CListUI& l, CControlUI* first) -> CControlUI* { return Took(l.RemoveChild(first), nullptr); }, 0},
    {"second header added after items",
     [](CListUI& l, CControlUI*) { CControlUI* h = HeaderWith(2); return Took(l.AddChild(h), h); }, 3},
    {"second header inserted after items",
     [](CListUI& l, CControlUI*) { CControlUI* h = HeaderWith(0); return Took(l.InsertChildAt(h, 4), h); }, 1},
    {"the same header again", [](CListUI& l, CControlUI* first) { return Took(l.AddChild(first), first); }, 1},
};

} // namespace

TEST_F(ListSelection, OneHeaderWhateverOrderHeadersComeIn)
{
    for (const HeaderCase& c : kHeaderCases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        list->SetDefersChildDeletion(false);
        CListHeaderItemUI* old = new CListHeaderItemUI();
        ASSERT_TRUE(list->AddChild(old));
        CControlUI* first = list->GetHeaderControl();
        CControlUI* expected = c.act(*list, first);
        CListHeaderUI* header = list->GetHeaderControl();
        ASSERT_NE(nullptr, header);
        if (expected != nullptr)
            EXPECT_EQ(expected, header);
        else
            EXPECT_NE(first, header);
        EXPECT_EQ(header, list->CContainerUI::GetChildAt(0));
        EXPECT_EQ(2, list->CContainerUI::GetChildCount());
        EXPECT_EQ(c.items, header->GetChildCount());
        EXPECT_EQ(c.items, list->GetListStyleInfo()->columnCount);
        // Columns given first keep their place in front.
        if (c.items > 0) {
            EXPECT_EQ(old, header->GetChildAt(0));
        }
        // Laying out and adding columns use that header.
        list->SetPosition(RECT{0, 0, 200, 400}, false);
        EXPECT_TRUE(list->AddChild(new CListHeaderItemUI()));
        EXPECT_EQ(c.items + 1, header->GetChildCount());
    }
}

TEST(ListLayout, EveryRowInReachAndAGridDecidesTheBarOnce)
{
    CListUI list;
    list.ApplyAttributeList(L"header=\"hidden\" vscrollbar=\"true\"");
    for (int height : {35, 27, 17, 6}) list.AddChild(ListTest::NewRow(L"", height));
    list.GetChildAt(0)->SetFixedWidthValue(222);
    list.SetPosition(RECT{0, 0, 232, 110}, false);
    EXPECT_FALSE(list.GetVScrollBarControl()->GetVisibility());
    // Rows a cell wide but stacked: the bar reaches the last.
    CListUI cells;
    cells.ApplyAttributeList(L"header=\"hidden\" vscrollbar=\"true\"");
    ListTest::AddRows(cells, 8, 50);
    cells.GetChildAt(0)->SetFixedWidthValue(100);
    cells.SetPosition(RECT{0, 0, 400, 110}, false);
    EXPECT_EQ(290, cells.GetVScrollBarControl()->GetScrollRange()) << "cells stacked";
    // Sized from its rows, a list keeps its horizontal bar below the last.
    CListUI wide;
    wide.ApplyAttributeList(L"vscrollbar=\"false\" hscrollbar=\"true\"");
    wide.AddChild(new CListHeaderItemUI()), wide.GetHeaderControl()->GetChildAt(0)->SetFixedWidthValue(300);
    wide.GetHeaderControl()->SetFixedHeightValue(25);
    ListTest::AddRows(wide, 3, 28);
    wide.SetPosition(RECT{0, 0, 200, wide.MeasureDesiredSize(CUISize(200, 900)).cy}, false);
    EXPECT_LE(wide.GetChildAt(2)->GetPosition().bottom, wide.GetHScrollBarControl()->GetPosition().top) << "wide";
}

// The scene list's header (25) and the drop-down rows (16) are set by the
// application at 150 %: scaled once, when laid out.
TEST(ListScaling, HeightsSetAtOneHundredFiftyPercentAreScaledOnce)
{
    CPaintManagerUI manager;
    manager.ApplyDpi(144);
    CListUI* list = new CListUI();
    list->AttachManager(&manager, nullptr, true);
    list->AddChild(new CListHeaderItemUI());
    list->GetHeaderControl()->SetFixedHeightValue(25);
    AddRows(*list, 3, 16);
    list->SetPosition(RECT{0, 0, 200, 400}, false);
    EXPECT_EQ(38, list->GetHeaderControl()->GetPosition().Height());
    EXPECT_EQ(38, list->GetChildAt(0)->GetPosition().top);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(24, list->GetChildAt(i)->GetPosition().Height()) << i;
    delete list;
}

TEST_F(ListSelection, RightClickSelectsOnlyWhenAsked)
{
    SendEvent(*list->GetChildAt(2), UIEVENT_RBUTTONDOWN);
    EXPECT_EQ(list->GetSelectedIndex(), -1);
    list->ApplyAttribute(L"itemrselected", L"true");
    SendEvent(*list->GetChildAt(2), UIEVENT_RBUTTONDOWN);
    EXPECT_EQ(list->GetSelectedIndex(), 2);
}

TEST_F(ListSelection, DoubleClickActivatesEnabledRowsOnly)
{
    SendEvent(*list->GetChildAt(2), UIEVENT_DBLCLICK);
    EXPECT_EQ(recorder.Count(L"itemactivate"), 1);
    list->GetChildAt(3)->SetEnabledState(false);
    SendEvent(*list->GetChildAt(3), UIEVENT_BUTTONDOWN);
    SendEvent(*list->GetChildAt(3), UIEVENT_DBLCLICK);
    EXPECT_EQ(recorder.Count(L"itemactivate"), 1);
    EXPECT_EQ(list->GetSelectedIndex(), -1);
}

TEST_F(ListSelection, HoverMarksTheRowAndDisablingDropsIt)
{
    CListLabelElementUI* row = static_cast<CListLabelElementUI*>(list->GetChildAt(2));
    SendEvent(*row, UIEVENT_MOUSEENTER);
    EXPECT_TRUE(row->IsHot());
    SendEvent(*row, UIEVENT_MOUSELEAVE);
    EXPECT_FALSE(row->IsHot());
    SendEvent(*row, UIEVENT_MOUSEENTER);
    row->SetEnabledState(false);
    EXPECT_FALSE(row->IsHot());
    SendEvent(*row, UIEVENT_MOUSEENTER);
    EXPECT_FALSE(row->IsHot());
}

TEST_F(ListSelection, HidingTheSelectedRowClearsTheSelection)
{
    list->SelectSingleItem(5, false);
    list->GetChildAt(5)->SetVisibility(false);
    EXPECT_EQ(list->GetSelectedIndex(), -1);
    EXPECT_TRUE(FlaggedRows().empty());
}

TEST_F(ListSelection, KeysOnAFocusedRowReachTheList)
{
    list->SelectSingleItem(2, false);
    SendKey(*list->GetChildAt(2), VK_DOWN);
    EXPECT_EQ(list->GetSelectedIndex(), 3);
}

} // namespace
