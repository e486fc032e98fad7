#include "uilib/control/ListElement.h"

#include "uilib/core/AttrParse.h"

namespace SkinUI {

CListElementUI::CListElementUI() : m_row(*this, *this) {}

CListElementUI::~CListElementUI() = default;

const wchar_t* CListElementUI::GetTypeName() const
{
    return L"ListElementUI";
}

void* CListElementUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (CompareTextIgnoreCase(name, L"ListElement") == 0) return this;
    return CControlUI::FindInterface(name);
}

uint32_t CListElementUI::GetBehaviorFlags() const
{
    return UIFLAG_WANTRETURN;
}

bool CListElementUI::ActivateControl()
{
    return m_row.FinishActivation(CControlUI::ActivateControl());
}

void CListElementUI::VisibilityChanged(bool wasVisible, bool own)
{
    CControlUI::VisibilityChanged(wasVisible, own);
    if (own) m_row.AfterVisibilityChange();
}

void CListElementUI::SetEnabledState(bool enabled)
{
    CControlUI::SetEnabledState(enabled);
    m_row.AfterEnabledChange();
}

void CListElementUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!m_row.PassToOwner(event)) CControlUI::HandleEvent(event);
        return;
    }
    if (m_row.HandleActivationEvent(event)) return;
    if (!m_row.PassToOwner(event)) CControlUI::HandleEvent(event);
}

void CListElementUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"selected")) {
        SetItemSelected(true);
        return;
    }
    CControlUI::ApplyAttribute(name, value);
}

int CListElementUI::GetListIndex() const
{
    return m_row.Index();
}

void CListElementUI::SetListIndex(int index)
{
    m_row.SetIndex(index);
}

IListOwnerUI* CListElementUI::GetListOwner() const
{
    return m_row.Owner();
}

void CListElementUI::SetListOwner(CControlUI* owner)
{
    m_row.SetOwner(owner);
}

bool CListElementUI::IsItemSelected() const
{
    return m_row.IsSelected();
}

bool CListElementUI::SetItemSelected(bool select)
{
    return m_row.Select(select);
}

bool CListElementUI::SetItemSelectedAdditive(bool select)
{
    return m_row.SelectAdditive(select);
}

bool CListElementUI::IsItemExpanded() const
{
    return false;
}

bool CListElementUI::SetItemExpanded(bool)
{
    return false;
}

void CListElementUI::PaintItemBackground(HDC dc, const RECT& rc)
{
    m_row.PaintItemBackground(dc, rc);
}

void CListElementUI::RequestItemRepaint()
{
    m_row.RequestItemRepaint();
}

} // namespace SkinUI
