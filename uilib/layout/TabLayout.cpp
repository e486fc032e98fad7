#include "uilib/layout/TabLayout.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CTabLayoutUI::CTabLayoutUI() : m_selected(-1) {}

const wchar_t* CTabLayoutUI::GetTypeName() const
{
    return L"TabLayoutUI";
}

void* CTabLayoutUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"TabLayout") == 0) return static_cast<CTabLayoutUI*>(this);
    if (CompareTextIgnoreCase(name, kTabLayoutInterface) == 0) return static_cast<ITabLayoutUI*>(this);
    return CContainerUI::FindInterface(name);
}

bool CTabLayoutUI::InsertChildAt(CControlUI* control, int index)
{
    if (!CContainerUI::InsertChildAt(control, index)) return false;
    if (m_selected < 0 && control->GetVisibility()) {
        m_selected = index;
        return true;
    }
    if (m_selected >= 0 && index <= m_selected) ++m_selected;
    control->SetVisibility(false);
    return true;
}

bool CTabLayoutUI::RemoveChild(CControlUI* control)
{
    const int index = IndexOfChild(control);
    if (!CContainerUI::RemoveChild(control)) return false;
    if (index == m_selected) {
        CControlUI* first = GetChildAt(0);
        m_selected = first != nullptr ? 0 : -1;
        if (first != nullptr) first->SetVisibility(true);
        RequestParentRelayout();
    } else if (m_selected > index) {
        --m_selected;
    }
    return true;
}

void CTabLayoutUI::RemoveAllChildren()
{
    m_selected = -1;
    CContainerUI::RemoveAllChildren();
    RequestParentRelayout();
}

bool CTabLayoutUI::SelectPage(CControlUI* page)
{
    const int index = IndexOfChild(page);
    return index >= 0 && SelectPageAt(index);
}

bool CTabLayoutUI::SelectPageAt(int index)
{
    if (index < 0 || index >= GetChildCount()) return false;
    if (index == m_selected) return true;
    const int old = m_selected;
    m_selected = index;
    ShowOnlyPage(index);
    SetPosition(m_item, true);
    RequestParentRelayout();
    AnnounceSelection(index, old);
    return true;
}

CControlUI* CTabLayoutUI::ShowOnlyPage(int index)
{
    CControlUI* shown = nullptr;
    for (int i = 0; i < GetChildCount(); ++i) {
        CControlUI* page = GetChildAt(i);
        if (i != index) {
            page->SetVisibility(false);
            continue;
        }
        page->SetVisibility(true);
        page->TakeFocus();
        shown = page;
    }
    return shown;
}

void CTabLayoutUI::AnnounceSelection(int index, int old)
{
    if (m_manager == nullptr) return;
    m_manager->FocusNextTabStop(true);
    m_manager->SendNotification(this, L"tabselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
}

void CTabLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"selectedid")) SelectPageAt(ParseAttrInt(value));
    CContainerUI::ApplyAttribute(name, value);
}

void CTabLayoutUI::SetPosition(const RECT& rc, bool invalidate)
{
    CControlUI::SetPosition(rc, invalidate);
    const CUIRect work = InnerRect();
    for (int i = 0; i < GetChildCount(); ++i) {
        if (StaysOutOfFlow(i) || i != m_selected) continue;
        CControlUI* page = GetChildAt(i);
        const CUIRect pad = page->GetScaledPadding();
        CUIRect box(work.left + pad.left, work.top + pad.top, work.right - pad.right, work.bottom - pad.bottom);
        const int roomWidth = box.Width() > 0 ? box.Width() : 0;
        const int roomHeight = box.Height() > 0 ? box.Height() : 0;
        CUISize size = page->MeasureDesiredSize(CUISize(roomWidth, roomHeight));
        if (size.cx == 0) size.cx = roomWidth;
        if (size.cy == 0) size.cy = roomHeight;
        if (size.cx < page->GetScaledMinWidth()) size.cx = page->GetScaledMinWidth();
        if (size.cx > page->GetScaledMaxWidth()) size.cx = page->GetScaledMaxWidth();
        if (size.cy < page->GetScaledMinHeight()) size.cy = page->GetScaledMinHeight();
        if (size.cy > page->GetScaledMaxHeight()) size.cy = page->GetScaledMaxHeight();
        page->SetPosition(RECT{box.left, box.top, box.left + size.cx, box.top + size.cy}, true);
    }
}

} // namespace SkinUI
