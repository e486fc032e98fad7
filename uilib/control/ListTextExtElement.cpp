#include "uilib/control/ListTextExtElement.h"

#include "uilib/control/ListEx.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CListTextExtElementUI::CListTextExtElementUI() : m_exOwner(nullptr) {}

const wchar_t* CListTextExtElementUI::GetTypeName() const
{
    return L"ListTextExElementUI";
}

void* CListTextExtElementUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListTextExElement") == 0) return this;
    return CListTextElementUI::FindInterface(name);
}

void CListTextExtElementUI::SetListOwner(CControlUI* owner)
{
    CListTextElementUI::SetListOwner(owner);
    m_exOwner = owner != nullptr ? dynamic_cast<CListExUI*>(owner) : nullptr;
}

void CListTextExtElementUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (!m_checkBox.ApplyAttribute(name, value)) CListTextElementUI::ApplyAttribute(name, value);
}

int CListTextExtElementUI::CheckableColumn() const
{
    if (m_exOwner == nullptr) return -1;
    const TListItemStyle* style = m_exOwner->GetListStyleInfo();
    for (int i = 0; i < style->columnCount; ++i) {
        if (m_exOwner->IsColumnCheckable(i)) return i;
    }
    return -1;
}

int CListTextExtElementUI::ColumnTextInset(int column) const
{
    return (m_exOwner != nullptr && m_exOwner->IsColumnCheckable(column)) ? Scaled(m_checkBox.GetWidth()) : 0;
}

bool CListTextExtElementUI::SetCellText(int column, const wchar_t* text)
{
    if (m_exOwner == nullptr) return false;
    if (column < 0 || column >= m_exOwner->GetListStyleInfo()->columnCount) return false;
    const wchar_t* value = text != nullptr ? text : L"";
    if (GetColumnText(column) == value) return true;
    return SetColumnText(column, value);
}

void CListTextExtElementUI::SetChecked(bool checked)
{
    if (m_checkBox.SetChecked(checked)) RequestItemRepaint();
}

int CListTextExtElementUI::CellAt(POINT pt) const
{
    if (m_exOwner == nullptr) return -1;
    const TListItemStyle* style = m_exOwner->GetListStyleInfo();
    const CUIRect padding(Scaled(style->textPadding.left), Scaled(style->textPadding.top),
                          Scaled(style->textPadding.right), Scaled(style->textPadding.bottom));
    for (int i = 0; i < style->columnCount; ++i) {
        const RECT cell = {style->columns[i].left + padding.left, m_item.top + padding.top,
                           style->columns[i].right - padding.right, m_item.bottom - padding.bottom};
        if (PtInRect(&cell, pt)) return i;
    }
    return -1;
}

CUIRect CListTextExtElementUI::CellEditRect(int column) const
{
    if (column < 0 || m_exOwner == nullptr) return CUIRect();
    const RECT& col = m_exOwner->GetListStyleInfo()->columns[column];
    const CUIRect& list = m_exOwner->GetPosition();
    CUIRect rc(col.left + 1, 1, col.right - 1, m_item.Height() - 1);
    rc.Translate(-list.left, m_item.top - list.top);
    return rc;
}

void CListTextExtElementUI::SetPosition(const RECT& rc, bool invalidate)
{
    CListTextElementUI::SetPosition(rc, invalidate);
    if (m_exOwner != nullptr) m_exOwner->FollowRow(this);
}

bool CListTextExtElementUI::OwnerHasFocus() const
{
    // The manager focuses the row that was pressed; either counts.
    return HasFocus() || (m_exOwner != nullptr && m_exOwner->HasFocus());
}

void CListTextExtElementUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event) || (event.type == UIEVENT_BUTTONUP && GetEnabledState() && LinkAt(event.point) >= 0)) {
        CListTextElementUI::HandleEvent(event);
        return;
    }
    if (event.type == UIEVENT_BUTTONUP && m_exOwner != nullptr && OwnerHasFocus()) {
        const int column = CellAt(event.point);
        m_exOwner->HandleCellClick(m_row.Index(), column, CellEditRect(column), GetColumnText(column));
    }
    const int checkable = CheckableColumn();
    if (checkable >= 0) {
        const CListCheckBox::EventResult result = m_checkBox.HandleEvent(*this, event, m_item);
        if (result != CListCheckBox::kIgnored) RequestItemRepaint();
        if (result == CListCheckBox::kToggled && m_manager != nullptr) {
            // The column goes in the high word, so its own header follows.
            const WPARAM where = MAKEWPARAM(static_cast<WORD>(m_row.Index()), static_cast<WORD>(checkable));
            m_manager->SendNotification(this, L"listitemchecked", where, m_checkBox.IsChecked() ? 1 : 0);
        }
    }
    CListTextElementUI::HandleEvent(event);
}

void CListTextExtElementUI::EndPress()
{
    if (m_checkBox.EndPress()) RequestItemRepaint();
}

void CListTextExtElementUI::PaintItemText(HDC dc, const RECT& rc)
{
    if (CheckableColumn() >= 0) m_checkBox.Paint(*this, dc, m_item);
    CListTextElementUI::PaintItemText(dc, rc);
}

} // namespace SkinUI
