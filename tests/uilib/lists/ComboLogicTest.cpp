// The combo box without its drop-down: selection, rows, keys and the wheel.
#include <gtest/gtest.h>

#include "ListTestKit.h"
#include "uilib/control/Combo.h"
#include "uilib/control/List.h"

using namespace SkinUI;
using ListTest::AddRows;
using ListTest::kWheelDown;
using ListTest::kWheelUp;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;
using SkinUITest::SendKey;

namespace {

class ComboLogic : public ::testing::Test {
protected:
    void SetUp() override
    {
        combo = new CComboUI();
        combo->AttachManager(&manager, nullptr, true);
        AddRows(*combo, 6);
    }
    void TearDown() override { delete combo; }

    int FlaggedCount()
    {
        int n = 0;
        for (int i = 0; i < combo->GetChildCount(); ++i) n += AsListItem(combo->GetChildAt(i))->IsItemSelected();
        return n;
    }

    CPaintManagerUI manager;
    CComboUI* combo = nullptr;
    NotifyRecorder recorder{manager};
};

TEST(ComboShape, NewComboSelectsNothingAndOwnsItsStyle)
{
    CComboUI combo;
    EXPECT_EQ(combo.GetSelectedIndex(), -1);
    EXPECT_TRUE(combo.GetTextContent().IsEmpty());
    EXPECT_EQ(combo.GetDropBoxSize().cx, 0);
    EXPECT_EQ(combo.GetDropBoxSize().cy, 150);
    EXPECT_EQ(combo.GetListStyleInfo()->textStyle, static_cast<UINT>(DT_VCENTER));
    EXPECT_EQ(combo.GetOwnerKind(), 1u);
    EXPECT_TRUE(combo.IsScrollSelect());
    EXPECT_EQ(combo.GetBehaviorFlags(), 3u);
    EXPECT_FALSE(combo.RemoveFromSelection(0, true));
}

TEST_F(ComboLogic, SelectionNotifiesNewAndOldIndex)
{
    ASSERT_TRUE(combo->SelectSingleItem(2, false));
    EXPECT_EQ(combo->GetTextContent(), L"r2");
    ASSERT_TRUE(combo->SelectSingleItem(4, false));
    EXPECT_TRUE(combo->SelectSingleItem(4, false));
    ASSERT_EQ(recorder.Count(L"itemselect"), 2);
    EXPECT_EQ(recorder.Entries()[0].wParam, 2u);
    EXPECT_EQ(recorder.Entries()[0].lParam, -1);
    EXPECT_EQ(recorder.Entries()[1].wParam, 4u);
    EXPECT_EQ(recorder.Entries()[1].lParam, 2);
    EXPECT_EQ(FlaggedCount(), 1);

    // Past the end clamps to the last row.
    ASSERT_TRUE(combo->SelectSingleItem(40, false));
    EXPECT_EQ(combo->GetSelectedIndex(), 5);
    EXPECT_FALSE(combo->SelectSingleItem(-1, false));
    EXPECT_EQ(combo->GetSelectedIndex(), -1);
    EXPECT_EQ(FlaggedCount(), 0);
    EXPECT_EQ(recorder.Count(L"itemselect"), 3);
}

TEST_F(ComboLogic, RowClickSelectsThroughTheCombo)
{
    SendEvent(*combo->GetChildAt(3), UIEVENT_BUTTONDOWN);
    EXPECT_EQ(combo->GetSelectedIndex(), 3);
    EXPECT_EQ(recorder.Count(L"itemselect"), 1);
    EXPECT_EQ(recorder.Entries()[0].sender, combo);
    combo->SetVisibility(false);  // its list cannot open
    SendEvent(*combo, UIEVENT_BUTTONDOWN);
    combo->EndPress();
    EXPECT_EQ(combo->GetButtonState() & (CComboUI::kStatePushed | CComboUI::kStateCaptured), 0u) << "abandoned, unpushed";
}

TEST_F(ComboLogic, RowsKeepTheirIndicesAndTheSelection)
{
    combo->SelectSingleItem(3, false);
    CControlUI* third = combo->GetChildAt(3);
    ASSERT_TRUE(combo->InsertChildAt(ListTest::NewRow(L"x"), 1));
    EXPECT_EQ(combo->GetSelectedIndex(), 4);
    EXPECT_EQ(combo->GetChildAt(4), third);
    ASSERT_TRUE(combo->RemoveChildAt(0));
    EXPECT_EQ(combo->GetSelectedIndex(), 3);
    EXPECT_EQ(combo->GetTextContent(), L"r3");
    for (int i = 0; i < combo->GetChildCount(); ++i) EXPECT_EQ(AsListItem(combo->GetChildAt(i))->GetListIndex(), i);

    ASSERT_TRUE(combo->MoveChildToIndex(third, 0));
    EXPECT_EQ(combo->GetSelectedIndex(), 0);
    EXPECT_EQ(combo->GetTextContent(), L"r3");
}

TEST_F(ComboLogic, ARowMarkedSelectedBeforeItJoinsIsTheChoiceUnannounced)
{
    CControlUI* marked = ListTest::NewRow(L"m");
    AsListItem(marked)->SetItemSelected(true);
    ASSERT_TRUE(combo->InsertChildAt(marked, 2));
    EXPECT_EQ(combo->GetSelectedIndex(), 2);
    EXPECT_EQ(combo->GetTextContent(), L"m");
    CControlUI* later = ListTest::NewRow(L"n");
    AsListItem(later)->SetItemSelected(true);
    ASSERT_TRUE(combo->AddChild(later));
    EXPECT_EQ(combo->GetSelectedIndex(), 7);
    EXPECT_EQ(FlaggedCount(), 1);
    EXPECT_EQ(recorder.Count(L"itemselect"), 0);
}

TEST_F(ComboLogic, RemovingTheSelectedRowSelectsANeighbour)
{
    combo->SelectSingleItem(2, false);
    recorder.Clear();
    ASSERT_TRUE(combo->RemoveChild(combo->GetChildAt(2)));
    EXPECT_EQ(combo->GetSelectedIndex(), 1);
    EXPECT_EQ(recorder.Params(L"itemselect"), std::vector<int>({1}));

    combo->SelectSingleItem(0, false);
    ASSERT_TRUE(combo->RemoveChildAt(0));
    EXPECT_EQ(combo->GetSelectedIndex(), 0);
    EXPECT_EQ(combo->GetTextContent(), L"r1");
    EXPECT_FALSE(combo->RemoveChildAt(-1));
}

TEST_F(ComboLogic, KeysAndTheWheelWalkTheEnabledVisibleRows)
{
    const ListTest::Walk walks[] = {
        {"hidden and disabled rows at the end keep the selection", L"", {5}, {4}, 3,
         {{{VK_DOWN}, 3, 0}, {{VK_DOWN}, 3, 0}, {{VK_NEXT, VK_END}, 3, 0},
          {{VK_HOME}, 0, 1}, {{VK_UP}, 0, 1}, {{VK_DOWN}, 1, 2}},
         {0, 1}},
        {"keys skip a disabled row in the middle", L"", {2}, {}, 1,
         {{{VK_DOWN}, 3, 1}, {{VK_UP}, 1, 2}, {{VK_END}, 5, 3}}, {3, 1, 5}},
        {"the wheel selects with scroll select", L"", {}, {5}, 3,
         {{{kWheelDown}, 4, 1}, {{kWheelDown}, 4, 1}, {{kWheelUp}, 3, 2}}, {4, 3}},
        {"the wheel does not select without it", L"scrollselect=\"false\"", {}, {5}, 3, {{{kWheelDown}, 3, 0}}, {}},
    };
    for (const ListTest::Walk& walk : walks) {
        TearDown();
        SetUp();
        ListTest::ExpectWalk(*combo, recorder, walk);
    }
}

TEST_F(ComboLogic, WheelWithoutScrollSelectDoesNotReachTheParent)
{
    CListUI parent;
    parent.SetScrollSelect(true);
    ListTest::AddRows(parent, 3);
    parent.SelectSingleItem(0, false);
    CComboUI* inner = new CComboUI();
    inner->SetScrollSelect(false);
    parent.AddChild(inner);
    SendEvent(*inner, UIEVENT_SCROLLWHEEL, 0, 0, 1);
    EXPECT_EQ(parent.GetSelectedIndex(), 0);
}

TEST(ComboAttributes, AlignmentAndBoxSettings)
{
    CComboUI combo;
    combo.ApplyAttribute(L"align", L"right");
    EXPECT_EQ(combo.GetTextStyle(), static_cast<UINT>(DT_VCENTER | DT_RIGHT));
    combo.ApplyAttribute(L"valign", L"bottom");
    EXPECT_EQ(combo.GetTextStyle(), static_cast<UINT>(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE));
    combo.ApplyAttribute(L"wordbreak", L"true");
    EXPECT_EQ(combo.GetTextStyle(), static_cast<UINT>(DT_RIGHT | DT_BOTTOM | DT_WORDBREAK | DT_EDITCONTROL));
    combo.ApplyAttribute(L"dropboxsize", L"120,80");
    EXPECT_EQ(combo.GetDropBoxSize().cx, 120);
    EXPECT_EQ(combo.GetDropBoxSize().cy, 80);
    combo.ApplyAttribute(L"dropbox", L"bkcolor=\"#FF00FF00\"");
    EXPECT_EQ(combo.GetDropBoxAttributes(), L"bkcolor=\"#FF00FF00\"");
    combo.ApplyAttribute(L"itemalign", L"center");
    EXPECT_EQ(combo.GetListStyleInfo()->textStyle, static_cast<UINT>(DT_VCENTER | DT_CENTER));
    combo.ApplyAttribute(L"itemhotbkcolor", L"FF123456");
    EXPECT_EQ(combo.GetListStyleInfo()->hotBackColor, 0xFF123456u);
}

} // namespace
