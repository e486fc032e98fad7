// The extended list without real input: which columns edit, check and combo,
// cell texts, parking, and the header box following the rows of its column.
#include <gtest/gtest.h>

#include "ExpectRect.h"
#include "SentEvents.h"
#include "uilib/control/ComboBox.h"
#include "uilib/control/ListContainerHeaderItem.h"
#include "uilib/control/ListEx.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/ListTextExtElement.h"
#include "uilib/control/RichEdit.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

namespace {

struct ListExFixture : ::testing::Test {
    void SetUp() override
    {
        list = new CListExUI();
        const wchar_t* const kColumns[] = {L"editable=\"true\"", L"checkable=\"true\" checkboxwidth=\"14\"",
                                           L"comboable=\"true\""};
        for (const wchar_t* attributes : kColumns) {
            CListContainerHeaderItemUI* item = new CListContainerHeaderItemUI();
            item->SetFixedWidthValue(100);
            item->ApplyAttributeList(attributes);
            list->AddChild(item);
        }
        for (CListTextExtElementUI*& row : rows) {
            row = new CListTextExtElementUI();
            list->AddChild(row);
        }
        list->AttachManager(&manager, nullptr, false);
        list->Initialize();
        for (int i = 0; i < list->GetHeaderControl()->GetChildCount(); ++i)
            list->GetHeaderControl()->GetChildAt(i)->AttachManager(&manager, list->GetHeaderControl(), false);
        for (CListTextExtElementUI* row : rows) row->AttachManager(&manager, list, false);
        list->SetPosition(CUIRect(0, 0, 300, 200), false);
    }
    void TearDown() override { delete list; }

    CListContainerHeaderItemUI* Header(int column)
    {
        return static_cast<CListContainerHeaderItemUI*>(list->GetHeaderControl()->GetChildAt(column));
    }
    void CheckRow(int row, bool checked)
    {
        rows[row]->SetChecked(checked);
        manager.SendNotification(rows[row], L"listitemchecked", MAKEWPARAM(row, rows[row]->CheckableColumn()),
                                 checked ? 1 : 0);
    }

    CPaintManagerUI manager;
    CListExUI* list = nullptr;
    CListTextExtElementUI* rows[3] = {};
};

} // namespace

TEST_F(ListExFixture, ColumnFlagsComeFromTheHeaderItemAtThatIndex)
{
    const struct {
        int column;
        bool editable, checkable, combo;
    } kCases[] = {
        {0, true, false, false}, {1, false, true, false}, {2, false, false, true},
        {3, false, false, false}, {-1, false, false, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(list->IsColumnEditable(c.column), c.editable);
        EXPECT_EQ(list->IsColumnCheckable(c.column), c.checkable);
        EXPECT_EQ(list->IsColumnComboBox(c.column), c.combo);
    }
    EXPECT_EQ(rows[0]->CheckableColumn(), 1);
    EXPECT_EQ(list->FindInterface(L"listex"), static_cast<IListUI*>(list));
    EXPECT_EQ(list->GetBehaviorFlags(), static_cast<uint32_t>(UIFLAG_TABSTOP));
}

TEST_F(ListExFixture, CellTextsStayInsideTheColumns)
{
    EXPECT_TRUE(rows[0]->SetCellText(2, L"High"));
    EXPECT_STREQ(rows[0]->GetCellText(2).CStr(), L"High");
    EXPECT_FALSE(rows[0]->SetCellText(3, L"past"));
    EXPECT_FALSE(rows[0]->SetCellText(-1, L"before"));
    EXPECT_TRUE(rows[0]->GetCellText(3).IsEmpty());
    CListTextExtElementUI loose;
    EXPECT_FALSE(loose.SetCellText(0, L"no list"));
}

TEST_F(ListExFixture, HeaderBoxFollowsTheRowsOfItsOwnColumn)
{
    const struct {
        bool checks[3];
        bool header;
    } kCases[] = {
        {{true, true, true}, true},
        {{true, false, true}, false},
        {{false, false, false}, false},
        {{true, true, false}, false},
    };
    for (const auto& c : kCases) {
        for (int i = 0; i < 3; ++i) CheckRow(i, c.checks[i]);
        EXPECT_EQ(Header(1)->IsChecked(), c.header);
        // The other headers never follow.
        EXPECT_FALSE(Header(0)->IsChecked());
    }
    manager.SendNotification(Header(1), L"listheaditemchecked", 1, 1);
    for (CListTextExtElementUI* row : rows) EXPECT_TRUE(row->IsChecked());
    manager.SendNotification(Header(1), L"listheaditemchecked", 1, 0);
    for (CListTextExtElementUI* row : rows) EXPECT_FALSE(row->IsChecked());
    // An abandoned press on a row's box toggles nothing at a later release.
    rows[0]->ApplyAttributeList(L"checkboxwidth=\"14\" checkboxheight=\"14\"");
    const CUIRect row = rows[0]->GetPosition();
    const POINT box = {row.left + 10, (row.top + row.bottom) / 2};
    SkinUITest::SendEvent(*rows[0], UIEVENT_BUTTONDOWN, box.x, box.y);
    rows[0]->EndPress();
    SkinUITest::SendEvent(*rows[0], UIEVENT_BUTTONUP, box.x, box.y);
    EXPECT_FALSE(rows[0]->IsChecked());
}

TEST_F(ListExFixture, ClicksOutsideEditableCellsParkBothEditors)
{
    list->HandleCellClick(1, 0, CUIRect(1, 30, 99, 54), L"Front");
    CRichEditUI* edit = list->GetEditControl();
    ASSERT_NE(edit, nullptr);
    EXPECT_STREQ(edit->GetControlName().CStr(), CListExUI::kEditName);
    // The single-line plain rich edit that wants Return.
    EXPECT_FALSE(edit->IsMultiLine());
    EXPECT_FALSE(edit->IsRich());
    EXPECT_TRUE(edit->IsWantReturn());
    EXPECT_FALSE(edit->IsWantTab());
    EXPECT_NE(edit->GetHostStyle() & ES_AUTOHSCROLL, 0u);
    EXPECT_TRUE(edit->GetVisibility());
    EXPECT_EQ(edit->GetPosition().Width(), 98);
    EXPECT_STREQ(edit->GetTextContent().CStr(), L"Front");
    EXPECT_EQ(list->GetEditRow(), 1);

    list->HandleCellClick(2, 2, CUIRect(201, 54, 299, 78), L"Low");
    CComboBoxUI* combo = list->GetComboControl();
    ASSERT_NE(combo, nullptr);
    EXPECT_STREQ(combo->GetControlName().CStr(), CListExUI::kComboName);
    EXPECT_EQ(combo->GetPosition().Width(), 98);
    EXPECT_EQ(edit->GetPosition().Width(), 0);

    list->HandleCellClick(0, -1, CUIRect(), L"");
    EXPECT_EQ(combo->GetPosition().Width(), 0);
    EXPECT_FALSE(edit->GetVisibility());
    // Parking keeps the remembered cell for the commit still to come.
    EXPECT_EQ(list->GetEditRow(), 2);
    EXPECT_EQ(list->GetEditColumn(), 2);
    // The editors are the list's own children, never rows.
    EXPECT_EQ(list->GetChildCount(), 3);
}

namespace {

// What happens to the rows between opening the edit on row 1 and its
// commit, and where the text must land: on the row the edit was opened on,
// wherever it now sits, or nowhere once it is gone. After the next layout the
// edit sits on that row's cell, or has closed with its row.
struct CommitCase {
    const char* name;
    void (*change)(CListExUI& list);
    int landsOn; // index into the fixture's rows, -1 for none
};

const CommitCase kCommits[] = {
    {"rows unchanged", [](CListExUI&) {}, 1},
    {"edited row removed", [](CListExUI& list) { list.RemoveChildAt(1); }, -1},
    {"row removed above", [](CListExUI& list) { list.RemoveChildAt(0); }, 1},
    {"row inserted above", [](CListExUI& list) { list.InsertChildAt(new CListTextExtElementUI(), 0); }, 1},
    {"edited row moved", [](CListExUI& list) { list.MoveChildToIndex(list.GetChildAt(1), 2); }, 1},
    {"all rows removed", [](CListExUI& list) { list.RemoveAllChildren(); }, -1},
    {"scale changed", [](CListExUI& list) { list.GetPaintManager()->ApplyDpi(144); }, 1},
};

} // namespace

TEST_F(ListExFixture, CommitWritesTheRowTheEditWasOpenedOnOrNothingOnceItIsGone)
{
    for (const CommitCase& c : kCommits) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        list->SetDefersChildDeletion(false);
        list->HandleCellClick(1, 0, rows[1]->CellEditRect(0), L"");
        CRichEditUI* edit = list->GetEditControl();
        ASSERT_NE(edit, nullptr);
        c.change(*list);
        list->SetPosition(CUIRect(0, 0, 300, 200), false);
        const int stillThere = c.landsOn >= 0 ? list->IndexOfChild(rows[c.landsOn]) : -1;
        EXPECT_EQ(list->GetEditRow(), stillThere);
        EXPECT_EQ(edit->GetVisibility(), stillThere >= 0);
        if (stillThere >= 0) {
            const CUIRect column = Header(0)->GetPosition();
            const CUIRect row = rows[c.landsOn]->GetPosition();
            SkinUITest::ExpectRect(edit->GetPosition(), column.left + 1, row.top + 1, column.right - 1, row.bottom - 1);
        }
        edit->SetTextContent(L"Rear");
        manager.SendNotification(edit, L"killfocus");
        EXPECT_EQ(list->GetEditRow(), -1);
        EXPECT_FALSE(edit->GetVisibility());
        for (int i = 0; i < list->GetChildCount(); ++i) {
            CListTextExtElementUI* row = static_cast<CListTextExtElementUI*>(list->GetChildAt(i));
            EXPECT_STREQ(row->GetCellText(0).CStr(), i == stillThere ? L"Rear" : L"") << i;
        }
    }
}
