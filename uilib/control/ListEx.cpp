#include "uilib/control/ListEx.h"

#include "uilib/control/ComboBox.h"
#include "uilib/control/ListContainerHeaderItem.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/ListTextExtElement.h"
#include "uilib/control/RichEdit.h"
#include "uilib/core/RenderKit.h"

namespace SkinUI {

const wchar_t* const CListExUI::kEditName = L"ListEx_Edit";
const wchar_t* const CListExUI::kComboName = L"ListEx_Combo";

CListExUI::CListExUI()
    : m_edit(nullptr), m_combo(nullptr), m_editRow(nullptr), m_editColumn(-1), m_activeEditor(nullptr), m_comboCallback(nullptr),
      m_registeredWith(nullptr)
{
}

CListExUI::~CListExUI()
{
    if (m_registeredWith != nullptr) m_registeredWith->UnregisterNotifyReceiver(this);
}

const wchar_t* CListExUI::GetTypeName() const
{
    return L"XListUI";
}

void* CListExUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListEx") == 0) return static_cast<IListUI*>(this);
    return CListUI::FindInterface(name);
}

uint32_t CListExUI::GetBehaviorFlags() const
{
    return UIFLAG_TABSTOP;
}

// Without the window's notifications no edit would ever be written back.
void CListExUI::InitHook()
{
    CListUI::InitHook();
    if (m_registeredWith == m_manager) return;
    if (m_registeredWith != nullptr) m_registeredWith->UnregisterNotifyReceiver(this);
    m_registeredWith = m_manager;
    if (m_manager != nullptr) m_manager->RegisterNotifyReceiver(this);
}

void CListExUI::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_BUTTONDOWN || event.type == UIEVENT_SCROLLWHEEL) ParkBoth();
    CListUI::HandleEvent(event);
}

void CListExUI::HandleItemEvent(TEventInfo& event)
{
    HandleEvent(event);
}

bool CListExUI::RemoveChildAt(int index)
{
    CControlUI* row = GetChildAt(index);
    if (row == nullptr) return false;
    if (row == m_editRow) CloseOnRowGone();
    return CListUI::RemoveChildAt(index);
}

void CListExUI::RemoveAllChildren()
{
    if (m_editRow != nullptr) CloseOnRowGone();
    CListUI::RemoveAllChildren();
}

int CListExUI::GetEditRow() const
{
    return m_editRow != nullptr ? IndexOfChild(m_editRow) : -1;
}

CListContainerHeaderItemUI* CListExUI::HeaderItemAt(int column) const
{
    CListHeaderUI* header = GetHeaderControl();
    if (header == nullptr || column < 0) return nullptr;
    CControlUI* item = header->GetChildAt(column);
    return item != nullptr ? static_cast<CListContainerHeaderItemUI*>(item->FindInterface(L"ListContainerHeaderItem"))
                           : nullptr;
}

bool CListExUI::IsColumnEditable(int column)
{
    const CListContainerHeaderItemUI* item = HeaderItemAt(column);
    return item != nullptr && item->IsColumnEditable();
}

bool CListExUI::IsColumnComboBox(int column)
{
    const CListContainerHeaderItemUI* item = HeaderItemAt(column);
    return item != nullptr && item->IsColumnComboBox();
}

bool CListExUI::IsColumnCheckable(int column)
{
    const CListContainerHeaderItemUI* item = HeaderItemAt(column);
    return item != nullptr && item->IsColumnCheckable();
}

CControlUI* CListExUI::GetCellEditControl()
{
    if (m_combo != nullptr) ParkEditor(m_combo, false);
    if (m_edit != nullptr) return m_edit;
    CRichEditUI* edit = new CRichEditUI();
    edit->SetControlName(kEditName);
    if (m_manager != nullptr) {
        const wchar_t* defaults = m_manager->FindDefaultAttributes(L"RichEdit");
        if (defaults != nullptr) edit->ApplyAttributeList(defaults);
    }
    edit->SetBackgroundColor(0xFFFFFFFF);
    edit->SetRich(false);
    edit->SetMultiLine(false);
    edit->SetWantReturn(true);
    // Tab leaves the cell, as it leaves any single-line field.
    edit->SetWantTab(false);
    edit->SetFloating(true);
    edit->ApplyAttribute(L"autohscroll", L"true");
    edit->SetVisibility(false);
    if (!AddChild(edit)) {
        delete edit;
        return nullptr;
    }
    m_edit = edit;
    return m_edit;
}

CControlUI* CListExUI::GetCellComboControl()
{
    if (m_edit != nullptr) ParkEditor(m_edit, false);
    if (m_combo != nullptr) return m_combo;
    CComboBoxUI* combo = new CComboBoxUI();
    combo->SetControlName(kComboName);
    if (m_manager != nullptr) {
        const wchar_t* defaults = m_manager->FindDefaultAttributes(L"Combo");
        if (defaults != nullptr) combo->ApplyAttributeList(defaults);
    }
    // Floating, so the list's layout never gives it a place of its own.
    combo->SetFloating(true);
    if (!AddChild(combo)) {
        delete combo;
        return nullptr;
    }
    m_combo = combo;
    return m_combo;
}

CUIRect& CListExUI::PlaceOf(CControlUI* editor)
{
    return editor == m_edit ? m_editPlace : m_comboPlace;
}

void CListExUI::PlaceEditor(CControlUI* editor, const RECT& rc)
{
    const CUIRect place(rc);
    PlaceOf(editor) = place;
    // Stored in skin pixels, as every fixed place and size: the layout scales
    // them once, and SetPosition then puts the editor exactly on its cell.
    const CUIRect stored = UnscaledRect(place);
    editor->SetFixedOrigin(stored.left, stored.top);
    editor->SetFixedWidthValue(stored.Width());
    editor->SetFixedHeightValue(stored.Height());
    editor->SetVisibility(true);
    KeepOnCell(editor);
}

void CListExUI::KeepOnCell(CControlUI* editor)
{
    if (editor == nullptr) return;
    CUIRect absolute = PlaceOf(editor);
    absolute.Translate(m_item.left, m_item.top);
    editor->SetPosition(absolute, true);
}

void CListExUI::ParkEditor(CControlUI* editor, bool hide)
{
    PlaceOf(editor) = CUIRect();
    editor->SetFixedOrigin(0, 0);
    editor->SetFixedWidthValue(0);
    editor->SetFixedHeightValue(0);
    editor->SetPosition(CUIRect(), true);
    if (hide) editor->SetVisibility(false);
}

void CListExUI::SetPosition(const RECT& rc, bool invalidate)
{
    CListUI::SetPosition(rc, invalidate);
    // A cell's place in device pixels is not always a whole number of skin
    // pixels: the layout may have put an editor a pixel off.
    if (m_edit != nullptr && m_editPlace.Width() > 0) KeepOnCell(m_edit);
    if (m_combo != nullptr && m_comboPlace.Width() > 0) KeepOnCell(m_combo);
}

void CListExUI::FollowRow(CListTextExtElementUI* row)
{
    if (row != m_editRow || m_activeEditor == nullptr) return;
    const CUIRect& place = PlaceOf(m_activeEditor);
    if (place.Width() <= 0) return;
    // Only a real move: placing asks for another layout.
    const CUIRect cell = row->CellEditRect(m_editColumn);
    if (!EqualRect(&cell, &place)) PlaceEditor(m_activeEditor, cell);
}

void CListExUI::ParkBoth()
{
    if (m_edit != nullptr) ParkEditor(m_edit, true);
    if (m_combo != nullptr) ParkEditor(m_combo, false);
}

void CListExUI::HandleCellClick(int row, int column, const RECT& rc, const wchar_t* text)
{
    if (column >= 0 && IsColumnEditable(column) && GetCellEditControl() != nullptr) {
        m_editRow = GetChildAt(row);
        m_editColumn = column;
        m_activeEditor = m_edit;
        PlaceEditor(m_edit, rc);
        if (m_manager != nullptr) {
            RECT measure = {0, 0, 9999, 9999};
            CRenderKit::DrawPlainText(m_manager->DeviceContext(), m_manager, measure, L"TTT", 0,
                                      GetListStyleInfo()->font, DT_SINGLELINE | DT_CALCRECT);
            const int padTop = ((rc.bottom - rc.top) - (measure.bottom - measure.top)) / 2;
            // The padding is a skin size too.
            m_edit->SetTextPadding(RECT{2, Unscaled(padTop > 0 ? padTop : 0), 2, 0});
        }
        m_edit->SetTextContent(text);
        m_edit->TakeFocus();
        return;
    }
    if (column >= 0 && IsColumnComboBox(column) && GetCellComboControl() != nullptr) {
        m_combo->RemoveAllChildren();
        m_editRow = GetChildAt(row);
        m_editColumn = column;
        m_activeEditor = m_combo;
        m_combo->SetTextContent(text);
        if (m_comboCallback != nullptr) m_comboCallback->FillComboItems(m_combo, row, column);
        PlaceEditor(m_combo, rc);
        return;
    }
    ParkBoth();
}

bool CListExUI::IsOwnRow(CControlUI* control)
{
    for (int i = 0; i < GetChildCount(); ++i) {
        if (GetChildAt(i) == control) return true;
    }
    return false;
}

void CListExUI::CommitToCell(const wchar_t* text)
{
    // The row may have been removed since the edit began.
    if (m_editRow == nullptr || IndexOfChild(m_editRow) < 0) return;
    CListTextExtElementUI* ext =
        static_cast<CListTextExtElementUI*>(m_editRow->FindInterface(L"ListTextExElement"));
    if (ext != nullptr) ext->SetCellText(m_editColumn, text);
}

void CListExUI::ForgetEdit()
{
    m_editRow = nullptr;
    m_editColumn = -1;
}

// A removed row may be put back elsewhere: what was typed goes with it, and
// no editor is left open over a row it does not edit.
void CListExUI::CloseOnRowGone()
{
    if (m_editColumn >= 0 && m_activeEditor != nullptr && m_activeEditor == m_edit) CommitToCell(m_edit->GetTextContent());
    ForgetEdit();
    ParkBoth();
}

void CListExUI::SetEveryRowChecked(bool checked)
{
    for (int i = 0; i < GetChildCount(); ++i) {
        CControlUI* row = GetChildAt(i);
        CListTextExtElementUI* ext =
            row != nullptr ? static_cast<CListTextExtElementUI*>(row->FindInterface(L"ListTextExElement")) : nullptr;
        if (ext != nullptr) ext->SetChecked(checked);
    }
}

void CListExUI::HandleRowChecked(int, int column, bool checked)
{
    CListContainerHeaderItemUI* item = HeaderItemAt(column);
    if (item == nullptr) return;
    if (!checked) {
        item->SetChecked(false);
        return;
    }
    bool all = true;
    for (int i = 0; i < GetChildCount() && all; ++i) {
        CControlUI* row = GetChildAt(i);
        CListTextExtElementUI* ext =
            row != nullptr ? static_cast<CListTextExtElementUI*>(row->FindInterface(L"ListTextExElement")) : nullptr;
        if (ext != nullptr && !ext->IsChecked()) all = false;
    }
    item->SetChecked(all);
}

void CListExUI::ReceiveNotify(TNotifyInfo& notify)
{
    CControlUI* sender = notify.sender;
    if (sender == nullptr) return;
    // A cell whose row has gone is still being edited: the editor closes
    // without writing anywhere.
    const bool editing = m_editColumn >= 0 && sender == m_activeEditor;
    if (sender == m_edit) {
        if (editing && CompareTextIgnoreCase(notify.type, L"killfocus") == 0) {
            CommitToCell(m_edit->GetTextContent());
            ForgetEdit();
            ParkEditor(m_edit, true);
        }
        return;
    }
    if (sender == m_combo) {
        // The first pick from a freshly filled combo has no previous
        // selection and must be written all the same.
        if (editing && CompareTextIgnoreCase(notify.type, L"itemselect") == 0 &&
            static_cast<int>(notify.wParam) >= 0) {
            CommitToCell(m_combo->GetTextContent());
            ParkEditor(m_combo, false);
        }
        return;
    }
    if (CompareTextIgnoreCase(notify.type, L"scroll") == 0) {
        if (m_editColumn >= 0) ParkBoth();
        return;
    }
    if (CompareTextIgnoreCase(notify.type, L"listheaditemchecked") == 0) {
        CListHeaderUI* header = GetHeaderControl();
        if (header != nullptr && sender->GetParentControl() == header) SetEveryRowChecked(notify.lParam != 0);
        return;
    }
    if (CompareTextIgnoreCase(notify.type, L"listitemchecked") == 0 && IsOwnRow(sender)) {
        HandleRowChecked(LOWORD(notify.wParam), HIWORD(notify.wParam), notify.lParam != 0);
    }
}

} // namespace SkinUI
