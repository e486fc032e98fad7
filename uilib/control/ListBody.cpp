#include "uilib/control/ListBody.h"

#include "uilib/control/List.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/layout/ScaledRun.h"

namespace SkinUI {

namespace {

int Clamp(int value, int low, int high)
{
    if (value < low) value = low;
    if (value > high) value = high;
    return value;
}

int Larger(int a, int b)
{
    return a > b ? a : b;
}

int Smaller(int a, int b)
{
    return a < b ? a : b;
}

bool IsShown(const CScrollBarUI* bar)
{
    return bar != nullptr && bar->GetVisibility();
}

} // namespace

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
    return Larger(header->MeasureDesiredSize(available).cx, 0);
}

int CListBodyUI::RequiredHeight(int contentWidth, int stackedHeight) const
{
    if (m_owner->GetOwnerKind() != UILIST_OWNER_LIST || m_children.IsEmpty()) return stackedHeight;
    CControlUI* first = static_cast<CControlUI*>(m_children[0]);
    const int cellWidth = first->GetScaledFixedWidth();
    if (cellWidth <= 0) return stackedHeight;
    const int perLine = contentWidth / cellWidth;
    if (perLine < 1) return stackedHeight;
    return first->GetScaledFixedHeight() * ((m_children.Count() - 1) / perLine + 1);
}

void CListBodyUI::SetPosition(const RECT& rcIn, bool invalidate)
{
    CControlUI::SetPosition(rcIn, invalidate);
    const CUIRect inset = GetScaledInsetRect();
    CUIRect rc(m_item.left + inset.left, m_item.top + inset.top, m_item.right - inset.right,
               m_item.bottom - inset.bottom);
    // A fixed bar keeps its width reserved while hidden, so rows never jump.
    if (m_vScrollBar != nullptr && (m_vScrollBar->GetVisibility() || m_owner->IsFixedScrollBar()))
        rc.right -= m_vScrollBar->GetScaledFixedWidth();
    if (IsShown(m_hScrollBar)) rc.bottom -= m_hScrollBar->GetScaledFixedHeight();
    if (m_children.IsEmpty()) {
        UpdateScrollBars(rc, 0, 0);
        return;
    }

    CUISize available(rc.Width(), rc.Height());
    if (IsShown(m_hScrollBar)) available.cx += m_hScrollBar->GetScrollRange();
    if (IsShown(m_vScrollBar)) available.cy += m_vScrollBar->GetScrollRange();
    const int gap = CContainerUI::GetScaledChildGap();

    // Measuring pass.
    int adjustables = 0;
    int fixedTotal = 0;
    int widthNeeded = 0;
    int counted = 0;
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = static_cast<CControlUI*>(m_children[i]);
        if (!child->GetVisibility() || child->IsFloating()) continue;
        const CUIRect p = child->GetScaledPadding();
        int w = child->GetScaledFixedWidth();
        if (w < 1) w = child->GetScaledMaxWidth();
        int h = child->GetScaledFixedHeight();
        if (h < 1) h = child->GetScaledMaxHeight();
        CUISize desired = child->MeasureDesiredSize(
            CUISize(Smaller(available.cx - p.left - p.right, w), Smaller(available.cy, h)));
        if (desired.cy == 0) {
            ++adjustables;
        } else {
            desired.cy = Clamp(desired.cy, child->GetScaledMinHeight(), child->GetScaledMaxHeight());
            fixedTotal += desired.cy;
        }
        fixedTotal += p.top + p.bottom;
        const int width = Clamp(Larger(desired.cx, 0), child->GetScaledMinWidth(), child->GetScaledMaxWidth());
        widthNeeded = Larger(widthNeeded, p.left + p.right + width);
        ++counted;
    }
    if (counted > 1) fixedTotal += gap * (counted - 1);
    const int share = adjustables > 0 ? Larger((available.cy - fixedTotal) / adjustables, 0) : 0;
    const int headerWidth = HeaderRequiredWidth(CUISize(rc.Width(), rc.Height()));

    // Placing pass: rows stand where their skin heights, gaps and paddings
    // put them, scaled as a running total.
    const int origin = rc.top - (IsShown(m_vScrollBar) ? m_vScrollBar->GetScrollPos() : 0);
    CScaledRun run(*this, origin);
    const int skinGap = CContainerUI::GetChildGapValue();
    const int hPos = IsShown(m_hScrollBar) ? m_hScrollBar->GetScrollPos() : 0;
    const int hRange = IsShown(m_hScrollBar) ? m_hScrollBar->GetScrollRange() : 0;
    int fixedLeft = fixedTotal;
    int placed = 0;
    int adjustablesSeen = 0;
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = static_cast<CControlUI*>(m_children[i]);
        if (!child->GetVisibility()) continue;
        if (child->IsFloating()) {
            PlaceFloatChild(i);
            continue;
        }
        const CUIRect p = child->GetScaledPadding();
        const CUIRect skinPadding = child->GetPaddingValue();
        fixedLeft -= p.top + p.bottom;
        if (++placed > 1) {
            fixedLeft -= gap;
            run.AddSkin(skinGap);
        }
        run.AddSkin(skinPadding.top);
        const int top = run.Position();
        const int remaining = origin + available.cy - top;
        int w = child->GetScaledFixedWidth();
        if (w < 1) w = child->GetScaledMaxWidth();
        int h = child->GetScaledFixedHeight();
        if (h < 1) h = child->GetScaledMaxHeight();
        const int offerWidth = Smaller(w, available.cx - p.left - p.right);
        const CUISize desired = child->MeasureDesiredSize(CUISize(offerWidth, Smaller(h, remaining)));
        int height;
        if (desired.cy == 0) {
            ++adjustablesSeen;
            height = adjustablesSeen == adjustables ? Larger(0, remaining - p.bottom - fixedLeft) : share;
            height = Clamp(height, child->GetScaledMinHeight(), child->GetScaledMaxHeight());
        } else {
            height = Clamp(desired.cy, child->GetScaledMinHeight(), child->GetScaledMaxHeight());
            fixedLeft -= height;
        }
        int width = child->GetScaledMaxWidth();
        if (width == 0) width = available.cx - p.left - p.right;
        width = Larger(Smaller(Larger(width, 0), offerWidth), child->GetScaledMinWidth());
        // Rows span the header's columns when those are wider.
        width = Clamp(Larger(width, headerWidth), child->GetScaledMinWidth(), child->GetScaledMaxWidth());

        CUIRect placedRect;
        switch (GetChildHAlignment()) {
        case DT_CENTER: {
            const int centre = (rc.left + rc.right) / 2 + (IsShown(m_hScrollBar) ? hRange / 2 - hPos : 0);
            placedRect.left = centre - width / 2;
            break;
        }
        case DT_RIGHT:
            placedRect.left = rc.right - p.right - width + (IsShown(m_hScrollBar) ? hRange - hPos : 0);
            break;
        default:
            placedRect.left = rc.left + p.left - hPos;
            break;
        }
        placedRect.right = placedRect.left + width;
        placedRect.top = top;
        run.AddChild(child->GetFixedSizeValue().cy, height);
        placedRect.bottom = run.Position();
        child->SetPosition(placedRect, false);
        run.AddSkin(skinPadding.bottom);
    }

    CListHeaderUI* header = m_owner->GetHeaderControl();
    if (header != nullptr && IsShown(m_hScrollBar)) {
        CUIRect headerRect = header->GetPosition();
        headerRect.left = rc.left - hPos;
        header->SetPosition(headerRect, true);
    }
    UpdateScrollBars(rc, Larger(widthNeeded, headerWidth), RequiredHeight(rc.Width(), run.Position() - origin));
}

void CListBodyUI::SetScrollOffset(CUISize offset, bool)
{
    int dx = 0;
    int dy = 0;
    if (IsShown(m_vScrollBar)) {
        const int old = m_vScrollBar->GetScrollPos();
        m_vScrollBar->SetScrollPos(offset.cy);
        dy = m_vScrollBar->GetScrollPos() - old;
    }
    if (IsShown(m_hScrollBar)) {
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
