// Header, columns, body layout and the rows' painting of a list.
#include <gtest/gtest.h>

#include <vector>

#include "ListTestKit.h"
#include "uilib/control/List.h"
#include "uilib/control/ListBody.h"
#include "uilib/control/ListContainerElement.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/ListHeaderItem.h"
#include "uilib/control/ListTextElement.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/core/DialogBuilder.h"
#include "tests/uilib/render/DibCanvas.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::SendEvent;

namespace {

class ListHeaderFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        list = new CListUI();
        list->AttachManager(&manager, nullptr, true);
    }
    void TearDown() override { delete list; }

    CListHeaderItemUI* AddColumn(int width)
    {
        CListHeaderItemUI* item = new CListHeaderItemUI();
        if (width > 0) item->SetFixedWidthValue(width);
        list->AddChild(item);
        return item;
    }
    void Layout(int width = 300, int height = 200) { list->SetPosition(RECT{0, 0, width, height}, false); }
    const TListItemStyle& Style() { return *list->GetListStyleInfo(); }

    CPaintManagerUI manager;
    CListUI* list = nullptr;
    SkinUITest::NotifyRecorder recorder{manager};
};

TEST_F(ListHeaderFixture, ColumnsStopAtThirtyTwo)
{
    for (int i = 0; i < 40; ++i) AddColumn(20);
    EXPECT_EQ(list->GetHeaderControl()->GetChildCount(), 40);
    EXPECT_EQ(Style().columnCount, 32);
    Layout(900);
    EXPECT_EQ(Style().columnCount, 32);
    EXPECT_EQ(Style().columns[31].left, 620);
    EXPECT_EQ(Style().columns[31].right, 640);
}

TEST_F(ListHeaderFixture, ColumnRectanglesFollowTheHeaderItems)
{
    AddColumn(50);
    AddColumn(80);
    Layout();
    EXPECT_EQ(Style().columns[0].left, 0);
    EXPECT_EQ(Style().columns[0].right, 50);
    EXPECT_EQ(Style().columns[1].left, 50);
    EXPECT_EQ(Style().columns[1].right, 130);
    EXPECT_GT(list->GetHeaderControl()->GetPosition().bottom, 0);
}

TEST_F(ListHeaderFixture, HiddenHeaderStillGivesColumnWidths)
{
    list->ApplyAttribute(L"header", L"hidden");
    AddColumn(50);
    AddColumn(80);
    Layout();
    EXPECT_FALSE(list->GetHeaderControl()->GetVisibility());
    EXPECT_EQ(Style().columns[0].right - Style().columns[0].left, 50);
    EXPECT_EQ(Style().columns[1].right - Style().columns[1].left, 80);
    EXPECT_FALSE(list->GetHeaderControl()->GetChildAt(0)->GetVisibility());
    // The body takes the whole list.
    EXPECT_EQ(list->GetBodyContainer()->GetPosition().top, 0);
}

TEST_F(ListHeaderFixture, ScaleHeaderSharesTheWidthByPercent)
{
    list->GetHeaderControl()->ApplyAttribute(L"scaleheader", L"TRUE");
    AddColumn(0)->ApplyAttribute(L"scale", L"30");
    AddColumn(0)->ApplyAttribute(L"scale", L"70");
    Layout(200);
    EXPECT_EQ(Style().columns[0].right - Style().columns[0].left, 60);
    EXPECT_EQ(Style().columns[1].right - Style().columns[1].left, 140);
}

TEST_F(ListHeaderFixture, SeparatorDragStopsAboveTheMinimumWidth)
{
    CListHeaderItemUI* item = AddColumn(100);
    AddColumn(50);
    Layout();
    const int bottom = item->GetPosition().bottom;
    ASSERT_EQ(item->GetPosition().right, 100);
    SendEvent(*item, UIEVENT_BUTTONDOWN, 97, bottom / 2);
    EXPECT_NE(item->GetButtonState() & CListHeaderItemUI::kStateCaptured, 0u);
    EXPECT_EQ(recorder.Count(L"headerclick"), 0);

    SendEvent(*item, UIEVENT_MOUSEMOVE, 60, 5);
    EXPECT_EQ(item->GetFixedSizeValue().cx, 63);
    Layout();
    SendEvent(*item, UIEVENT_MOUSEMOVE, 20, 5);
    EXPECT_EQ(item->GetFixedSizeValue().cx, 23);
    Layout();
    SendEvent(*item, UIEVENT_MOUSEMOVE, 10, 5);
    EXPECT_EQ(item->GetFixedSizeValue().cx, 23);
    EXPECT_EQ(Style().columns[1].left, 23);

    EXPECT_FALSE(list->IsLayoutNeeded());
    SendEvent(*item, UIEVENT_BUTTONUP, 10, 5);
    EXPECT_EQ(item->GetButtonState() & CListHeaderItemUI::kStateCaptured, 0u);
    EXPECT_TRUE(list->IsLayoutNeeded());
}

TEST_F(ListHeaderFixture, LeftEdgeSeparatorDragsTheLeftEdge)
{
    AddColumn(60);
    CListHeaderItemUI* item = AddColumn(100);
    item->ApplyAttribute(L"sepwidth", L"-4");
    Layout();
    EXPECT_EQ(item->GetSeparatorRect().left, 60);
    EXPECT_EQ(item->GetSeparatorRect().right, 64);
    SendEvent(*item, UIEVENT_BUTTONDOWN, 66, 5);
    SendEvent(*item, UIEVENT_MOUSEMOVE, 56, 5);
    EXPECT_EQ(item->GetFixedSizeValue().cx, 110);
    item->EndPress();
    EXPECT_EQ(item->GetButtonState() & CListHeaderItemUI::kStateCaptured, 0u);
}

TEST_F(ListHeaderFixture, ClickOutsideTheSeparatorSendsHeaderClick)
{
    CListHeaderItemUI* item = AddColumn(100);
    Layout();
    SendEvent(*item, UIEVENT_BUTTONDOWN, 40, 5);
    ASSERT_EQ(recorder.Count(L"headerclick"), 1);
    EXPECT_EQ(recorder.Entries()[0].sender, item);
    EXPECT_NE(item->GetButtonState() & CListHeaderItemUI::kStatePushed, 0u);
    SendEvent(*item, UIEVENT_BUTTONUP, 40, 5);
    EXPECT_EQ(item->GetButtonState() & CListHeaderItemUI::kStatePushed, 0u);
}

TEST_F(ListHeaderFixture, SizingCursorOnlyOverADraggableSeparator)
{
    CListHeaderItemUI* item = AddColumn(100);
    Layout();
    const HCURSOR sizing = LoadCursorW(nullptr, IDC_SIZEWE);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendEvent(*item, UIEVENT_SETCURSOR, 98, 5);
    EXPECT_EQ(GetCursor(), sizing);
    EXPECT_EQ(item->GetBehaviorFlags(), 2u);

    item->ApplyAttribute(L"dragable", L"false");
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendEvent(*item, UIEVENT_SETCURSOR, 98, 5);
    EXPECT_NE(GetCursor(), sizing);
    SendEvent(*item, UIEVENT_BUTTONDOWN, 98, 5);
    EXPECT_EQ(item->GetButtonState(), 0u);
    EXPECT_EQ(recorder.Count(L"headerclick"), 0);

    item->ApplyAttribute(L"sepwidth", L"0");
    EXPECT_EQ(item->GetBehaviorFlags(), 0u);
}

TEST_F(ListHeaderFixture, RowsSpanTheHeaderAndFixedBarKeepsTheirWidth)
{
    AddColumn(400);
    ListTest::AddRows(*list, 3);
    Layout(300, 200);
    CControlUI* row = list->GetChildAt(0);
    EXPECT_EQ(row->GetPosition().right - row->GetPosition().left, 400);
    EXPECT_TRUE(list->GetHScrollBarControl() == nullptr);

    list->RemoveChild(list->GetHeaderControl()->GetChildAt(0));
    list->ApplyAttribute(L"vscrollbar", L"true");
    Layout(300, 200);
    ASSERT_NE(list->GetVScrollBarControl(), nullptr);
    EXPECT_FALSE(list->GetVScrollBarControl()->GetVisibility());
    EXPECT_EQ(row->GetPosition().right, 300);
    list->ApplyAttribute(L"fixedscrollbar", L"true");
    Layout(300, 200);
    EXPECT_EQ(row->GetPosition().right, 300 - list->GetVScrollBarControl()->GetScaledFixedWidth());
}

TEST_F(ListHeaderFixture, ContainerRowCellsLineUpUnderTheColumns)
{
    AddColumn(40);
    AddColumn(70);
    AddColumn(90);
    CListContainerElementUI* row = new CListContainerElementUI();
    row->SetFixedHeightValue(24);
    for (int i = 0; i < 3; ++i) {
        CControlUI* cell = new CControlUI();
        cell->SetFixedWidthValue(10);
        row->AddChild(cell);
    }
    list->AddChild(row);
    Layout();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(row->GetChildAt(i)->GetPosition().left, Style().columns[i].left) << i;
        EXPECT_EQ(row->GetChildAt(i)->GetPosition().right, Style().columns[i].right) << i;
    }
    static_cast<CListHeaderItemUI*>(list->GetHeaderControl()->GetChildAt(0))->SetFixedWidthValue(55);
    Layout();
    EXPECT_EQ(row->GetChildAt(1)->GetPosition().left, 55);
}

TEST(ListFromMarkup, BuilderSortsHeaderItemsAndRows)
{
    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = builder.BuildFromSource(
        L"<Window><List name=\"l\" itemtextcolor=\"#FF112233\"><ListHeader>"
        L"<ListHeaderItem text=\"a\" width=\"40\"/><ListHeaderItem text=\"b\" width=\"60\"/></ListHeader>"
        L"<ListLabelElement text=\"one\"/><ListTextElement/><ListContainerElement><Control/></ListContainerElement>"
        L"</List></Window>",
        nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr) << builder.LastError().CStr();
    CListUI* list = static_cast<CListUI*>(root->FindInterface(L"List"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetChildCount(), 3);
    EXPECT_EQ(list->GetHeaderControl()->GetChildCount(), 2);
    EXPECT_EQ(list->CContainerUI::GetChildCount(), 2);
    EXPECT_EQ(list->CContainerUI::GetChildAt(0), list->GetHeaderControl());
    EXPECT_EQ(list->GetListStyleInfo()->textColor, 0xFF112233u);
    for (int i = 0; i < 3; ++i) {
        IListItemUI* row = AsListItem(list->GetChildAt(i));
        ASSERT_NE(row, nullptr) << i;
        EXPECT_EQ(row->GetListIndex(), i);
        EXPECT_EQ(row->GetListOwner(), static_cast<IListOwnerUI*>(list));
    }
    list->SetPosition(RECT{0, 0, 300, 200}, false);
    EXPECT_EQ(list->GetListStyleInfo()->columnCount, 2);
    EXPECT_EQ(list->GetListStyleInfo()->columns[1].right, 100);
    delete root;
}

TEST(ListStyleAttributes, AlignmentWordsAndColours)
{
    CListUI list;
    TListItemStyle& style = *list.GetListStyleInfo();
    EXPECT_EQ(style.textStyle, static_cast<UINT>(DT_VCENTER | DT_SINGLELINE));
    style.textStyle |= DT_WORDBREAK | DT_BOTTOM;
    list.ApplyAttribute(L"itemvalign", L"vcenter");
    EXPECT_EQ(style.textStyle & DT_WORDBREAK, 0u);
    EXPECT_EQ(style.textStyle & (DT_VCENTER | DT_SINGLELINE | DT_BOTTOM), static_cast<UINT>(DT_VCENTER | DT_SINGLELINE));
    list.ApplyAttribute(L"ItemAlign", L"right");
    EXPECT_EQ(style.textStyle & (DT_CENTER | DT_RIGHT), static_cast<UINT>(DT_RIGHT));
    list.ApplyAttribute(L"itemalign", L"Center");
    EXPECT_EQ(style.textStyle & (DT_CENTER | DT_RIGHT), static_cast<UINT>(DT_RIGHT));
    list.ApplyAttribute(L"itemendellipsis", L"true");
    EXPECT_NE(style.textStyle & DT_END_ELLIPSIS, 0u);
    list.ApplyAttribute(L"itemtextpadding", L"4,3,2,1");
    EXPECT_EQ(style.textPadding.left, 4);
    EXPECT_EQ(style.textPadding.bottom, 1);
    list.ApplyAttribute(L"itemselectedbkcolor", L"#FF102030");
    EXPECT_EQ(style.selectedBackColor, 0xFF102030u);
    list.ApplyAttribute(L"MultiSelect", L"true");
    EXPECT_FALSE(list.HasMultipleSelection());
    list.ApplyAttribute(L"multiselect", L"TRUE");
    EXPECT_TRUE(list.HasMultipleSelection());
}

// ---- rows painting ----------------------------------------------------------

TEST_F(ListHeaderFixture, AlternateBackgroundFillsEvenRowsOnly)
{
    list->ApplyAttribute(L"itemaltbk", L"true");
    list->ApplyAttribute(L"itembkcolor", L"FF0000FF");
    ListTest::AddRows(*list, 5);
    for (int i = 0; i < 5; ++i) {
        DibCanvas canvas(40, 20);
        static_cast<CListLabelElementUI*>(list->GetChildAt(i))->PaintItemBackground(canvas.Dc(), RECT{0, 0, 40, 20});
        EXPECT_EQ(canvas.Rgb(10, 10), i % 2 == 0 ? 0x0000FFu : 0u) << "row " << i;
    }
    DibCanvas selected(40, 20);
    list->SelectSingleItem(1, false);
    static_cast<CListLabelElementUI*>(list->GetChildAt(1))->PaintItemBackground(selected.Dc(), RECT{0, 0, 40, 20});
    EXPECT_EQ(selected.Rgb(10, 10), 0xC1E3FFu);
}

class RecordingCallback : public IListTextCallback {
public:
    const wchar_t* GetItemText(CControlUI* row, int rowIndex, int column) override
    {
        calls.push_back({row, rowIndex, column});
        return L"cell";
    }
    struct Call {
        CControlUI* row;
        int rowIndex;
        int column;
    };
    std::vector<Call> calls;
};

TEST_F(ListHeaderFixture, TextRowAsksTheCallbackForEveryColumn)
{
    AddColumn(40);
    AddColumn(40);
    AddColumn(40);
    ListTest::AddRows(*list, 2);
    CListTextElementUI* row = new CListTextElementUI();
    row->SetFixedHeightValue(20);
    list->AddChild(row);
    Layout();
    RecordingCallback callback;
    list->SetTextCallback(&callback);
    DibCanvas canvas(300, 100);
    row->PaintItemText(canvas.Dc(), row->GetPosition());
    ASSERT_EQ(callback.calls.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(callback.calls[i].row, row);
        EXPECT_EQ(callback.calls[i].rowIndex, 2);
        EXPECT_EQ(callback.calls[i].column, i);
    }
    EXPECT_EQ(row->GetLinkCount(), 0);
    EXPECT_EQ(row->GetBehaviorFlags(), 4u);
}

TEST_F(ListHeaderFixture, TextRowKeepsAtMostEightLinks)
{
    AddColumn(600);
    CListTextElementUI* row = new CListTextElementUI();
    row->SetFixedHeightValue(20);
    std::wstring text;
    for (int i = 0; i < 10; ++i) text += L"{a x}L{/a} ";
    ASSERT_TRUE(row->SetColumnText(0, text.c_str()));
    EXPECT_FALSE(row->SetColumnText(-1, L"x"));
    EXPECT_FALSE(row->SetColumnText(32, L"x"));
    list->ApplyAttribute(L"itemshowhtml", L"true");
    list->AddChild(row);
    Layout(600, 100);
    DibCanvas canvas(600, 100);
    row->PaintItemText(canvas.Dc(), row->GetPosition());
    EXPECT_EQ(row->GetLinkCount(), 8);
    EXPECT_EQ(row->GetBehaviorFlags(), 6u);
}

} // namespace
