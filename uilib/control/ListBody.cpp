#include "uilib/control/ListBody.h"

#include <algorithm>

#include "uilib/control/List.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/ScrollBar.h"

namespace SkinUI {

CListBodyUI::CListBodyUI(CListUI* owner) : m_owner(owner) {}

int CListBodyUI::GetScaledScrollStep() const
{
    return m_owner->GetListScrollStep();
}

void CListBodyUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        m_owner->HandleEvent(event);
        return;
    }
    CVerticalLayoutUI::HandleEvent(event);
}

int CListBodyUI::HeaderRequiredWidth(CUISize available) const
{
    CListHeaderUI* header = m_owner->GetHeaderControl();
    if (header == nullptr || header->GetChildCount() == 0) return 0;
    return std::max<int>(header->MeasureDesiredSize(available).cx, 0);
}

int CListBodyUI::RequiredHeight(int contentWidth, int stackedHeight) const
{
    if (m_owner->GetOwnerKind() != UILIST_OWNER_LIST || m_children.IsEmpty()) return stackedHeight;
    CControlUI* first = static_cast<CControlUI*>(m_children[0]);
    const int cellWidth = first->GetScaledFixedWidth();
    if (cellWidth <= 0) return stackedHeight;
    const int perLine = contentWidth / cellWidth;
    if (perLine < 1) return stackedHeight;
    return std::max(stackedHeight, first->GetScaledFixedHeight() * ((m_children.Count() - 1) / perLine + 1));
}

int CListBodyUI::MeasureRows(CUISize available)
{
    const CUIRect inset = GetScaledInsetRect();
    const CUISize inner(available.cx - inset.left - inset.right, available.cy - inset.top - inset.bottom);
    std::vector<TRunItem> rows;
    const int widthNeeded = std::max(MeasureItems(inner, rows), HeaderRequiredWidth(inner));
    const int bar = m_hScrollBar != nullptr && widthNeeded > inner.cx ? m_hScrollBar->GetScaledFixedHeight() : 0;
    return inset.top + inset.bottom + PlaceRunItems(*this, 0, inner.cy, CContainerUI::GetChildGapValue(), rows) + bar;
}

void CListBodyUI::SetPosition(const RECT& rcIn, bool invalidate)
{
    CControlUI::SetPosition(rcIn, invalidate);
    const CUIRect inset = GetScaledInsetRect();
    CUIRect rc(m_item.left + inset.left, m_item.top + inset.top, m_item.right - inset.right,
               m_item.bottom - inset.bottom);
    const int barWidth = m_vScrollBar != nullptr ? m_vScrollBar->GetScaledFixedWidth() : 0;
    // A fixed bar keeps its width reserved while hidden, so rows never jump.
    const bool barReserved = IsScrollBarShown(m_vScrollBar) || m_owner->IsFixedScrollBar();
    if (barReserved) rc.right -= barWidth;
    rc.bottom -= VisibleHBarHeight();
    if (m_children.IsEmpty()) {
        UpdateScrollBars(rc, 0, 0);
        return;
    }

    const CUISize extent = GetScrollExtent();
    const CUISize offset = GetScrollOffset();
    const CUISize available(rc.Width() + extent.cx, rc.Height() + extent.cy);
    std::vector<TRunItem> rows;
    const int widthNeeded = MeasureItems(available, rows);
    const int stacked = PlaceRunItems(*this, rc.top - offset.cy, available.cy, CContainerUI::GetChildGapValue(), rows);
    const int headerWidth = HeaderRequiredWidth(CUISize(rc.Width(), rc.Height()));
    // Rows span the header's columns when those are wider; a menu's rows span
    // the menu, so a hot row reaches as far to either side.
    const bool spanBody = m_owner->GetOwnerKind() == UILIST_OWNER_MENU;
    for (const TRunItem& row : rows) {
        const CUIRect p = row.child->GetScaledPadding();
        const int least = spanBody ? available.cx - p.left - p.right : headerWidth;
        CUIRect place = Across(*row.child, rc, available.cx, extent.cx, offset.cx, least);
        place.top = row.placed.start;
        place.bottom = row.placed.end;
        row.child->SetPosition(place, false);
    }

    CListHeaderUI* header = m_owner->GetHeaderControl();
    if (header != nullptr && IsScrollBarShown(m_hScrollBar)) {
        CUIRect headerRect = header->GetPosition();
        headerRect.left = rc.left - m_hScrollBar->GetScrollPos();
        header->SetPosition(headerRect, true);
    }
    // A grid counts its cells beside the bar, shown or not: were the bar's own
    // width to change the height it is decided on, it would undo itself.
    const int gridWidth = barReserved ? rc.Width() : rc.Width() - barWidth;
    UpdateScrollBars(rc, std::max(widthNeeded, headerWidth), RequiredHeight(gridWidth, stacked));
}

void CListBodyUI::SetScrollOffset(CUISize offset, bool)
{
    int dx = 0;
    int dy = 0;
    if (IsScrollBarShown(m_vScrollBar)) {
        const int old = m_vScrollBar->GetScrollPos();
        m_vScrollBar->SetScrollPos(offset.cy);
        dy = m_vScrollBar->GetScrollPos() - old;
    }
    if (IsScrollBarShown(m_hScrollBar)) {
        const int old = m_hScrollBar->GetScrollPos();
        m_hScrollBar->SetScrollPos(offset.cx);
        dx = m_hScrollBar->GetScrollPos() - old;
    }
    if (dx == 0 && dy == 0) return;
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = static_cast<CControlUI*>(m_children[i]);
        if (!child->GetVisibility() || child->IsFloating()) continue;
        CUIRect rc = child->GetPosition();
        rc.Translate(-dx, -dy);
        child->SetPosition(rc, true);
    }
    RequestRepaint();
    FollowHeader(dx);
}

void CListBodyUI::FollowHeader(int dx)
{
    CListHeaderUI* header = m_owner->GetHeaderControl();
    if (header == nullptr) return;
    m_owner->RefreshColumnCount();
    TListItemStyle* style = m_owner->GetListStyleInfo();
    const bool hidden = !header->GetVisibility();
    const int items = header->GetChildCount();
    if (hidden) {
        for (int i = 0; i < items; ++i) header->GetChildAt(i)->SetInheritedVisibility(true);
    }
    for (int i = 0; i < items; ++i) {
        CControlUI* item = header->GetChildAt(i);
        if (!item->GetVisibility() || item->IsFloating()) continue;
        CUIRect rc = item->GetPosition();
        rc.Translate(-dx, 0);
        item->SetPosition(rc, true);
        if (i < style->columnCount) style->columns[i] = item->GetPosition();
    }
    if (hidden) {
        for (int i = 0; i < items; ++i) header->GetChildAt(i)->SetInheritedVisibility(false);
    }
}

} // namespace SkinUI
