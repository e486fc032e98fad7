#include "uilib/control/ListContainerElement.h"

#include "uilib/control/ListHeader.h"
#include "uilib/core/AttrParse.h"

namespace SkinUI {

CListContainerElementUI::CListContainerElementUI() : m_row(*this, *this) {}

CListContainerElementUI::~CListContainerElementUI() = default;

const wchar_t* CListContainerElementUI::GetTypeName() const
{
    return L"ListContainerElementUI";
}

void* CListContainerElementUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (CompareTextIgnoreCase(name, L"ListContainerElement") == 0) return this;
    // The container's answer, not the horizontal layout's own name.
    return CContainerUI::FindInterface(name);
}

uint32_t CListContainerElementUI::GetBehaviorFlags() const
{
    return 4;
}

bool CListContainerElementUI::ActivateControl()
{
    return m_row.FinishActivation(CControlUI::ActivateControl());
}

void CListContainerElementUI::VisibilityChanged(bool wasVisible, bool own)
{
    CHorizontalLayoutUI::VisibilityChanged(wasVisible, own);
    if (own) m_row.AfterVisibilityChange();
}

void CListContainerElementUI::SetEnabledState(bool enabled)
{
    // The children keep their own state.
    CControlUI::SetEnabledState(enabled);
    m_row.AfterEnabledChange();
}

void CListContainerElementUI::SetPosition(const RECT& rc, bool invalidate)
{
    CHorizontalLayoutUI::SetPosition(rc, invalidate);
    AlignCellsToHeader();
}

void CListContainerElementUI::AlignCellsToHeader()
{
    if (m_row.Owner() == nullptr || m_row.Owner()->GetOwnerKind() != UILIST_OWNER_LIST) return;
    IListUI* list = static_cast<IListUI*>(m_row.OwnerControl()->FindInterface(L"IList"));
    CListHeaderUI* header = list != nullptr ? list->GetHeaderControl() : nullptr;
    if (header == nullptr || !header->GetVisibility()) return;
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* item = header->GetChildAt(i);
        if (item == nullptr) return;
        const CUIRect column = item->GetPosition();
        if (column.left == 0 && column.right == 0) continue;
        CControlUI* child = static_cast<CControlUI*>(m_children[i]);
        const CUIRect cell = child->GetPosition();
        child->SetPosition(CUIRect(column.left, cell.top, column.right, cell.bottom), true);
    }
}

void CListContainerElementUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!m_row.PassToOwner(event)) CContainerUI::HandleEvent(event);
        return;
    }
    if (m_row.HandleActivationEvent(event)) return;
    if (m_row.HandlePointerEvent(event)) return;
    if (event.type == UIEVENT_TIMER) {
        m_row.Notify(L"timer", event.wParam, event.lParam);
        return;
    }
    if (event.type == UIEVENT_CONTEXTMENU && IsMenuEnabled()) {
        m_row.Notify(L"menu", event.wParam, event.lParam);
        return;
    }
    if (!m_row.PassToOwner(event)) CControlUI::HandleEvent(event);
}

void CListContainerElementUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"selected")) {
        SetItemSelected(true);
        return;
    }
    CContainerUI::ApplyAttribute(name, value);
}

bool CListContainerElementUI::PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl)
{
    PaintItemBackground(dc, m_item);
    return CContainerUI::PaintSelf(dc, paintArea, stopControl);
}

void CListContainerElementUI::PaintItemBackground(HDC dc, const RECT& rc)
{
    m_row.PaintItemBackground(dc, rc);
}

void CListContainerElementUI::RequestItemRepaint()
{
    m_row.RequestItemRepaint();
}

int CListContainerElementUI::GetListIndex() const
{
    return m_row.Index();
}

void CListContainerElementUI::SetListIndex(int index)
{
    m_row.SetIndex(index);
}

IListOwnerUI* CListContainerElementUI::GetListOwner() const
{
    return m_row.Owner();
}

void CListContainerElementUI::SetListOwner(CControlUI* owner)
{
    m_row.SetOwner(owner);
}

bool CListContainerElementUI::IsItemSelected() const
{
    return m_row.IsSelected();
}

bool CListContainerElementUI::SetItemSelected(bool select)
{
    return m_row.Select(select);
}

bool CListContainerElementUI::SetItemSelectedAdditive(bool select)
{
    return m_row.SelectAdditive(select);
}

bool CListContainerElementUI::IsItemExpanded() const
{
    return false;
}

bool CListContainerElementUI::SetItemExpanded(bool)
{
    return false;
}

void CListContainerElementUI::PaintItemText(HDC, const RECT&) {}

} // namespace SkinUI
