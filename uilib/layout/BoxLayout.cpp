#include "uilib/layout/BoxLayout.h"

#include <algorithm>

#include "uilib/control/ScrollBar.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// The ghost strip shown while a separator is dragged.
const DWORD kGhostColor = 0xAA000000;

// The layout works in a frame where its stacking axis is y ("main") and the
// other axis is x ("cross"); a horizontal layout swaps the two on the way in
// and back out.
CUIRect Flip(const RECT& rc, bool vertical)
{
    return vertical ? CUIRect(rc) : CUIRect(rc.top, rc.left, rc.bottom, rc.right);
}

CUISize Flip(const SIZE& sz, bool vertical)
{
    return vertical ? CUISize(sz) : CUISize(sz.cy, sz.cx);
}

int Clamp(int value, int low, int high)
{
    return std::min<int>(std::max<int>(value, low), high);
}

// A child's size rules across the layout, and its offer along it, in the
// layout's frame.
struct TChildRules {
    CUIRect padding;
    int crossOffer; // fixed cross size, or the maximum when none
    int mainOffer;
    int minCross;
    int maxCross;
};

TChildRules RulesOf(const CControlUI* child, bool vertical)
{
    TChildRules r;
    r.padding = Flip(child->GetScaledPadding(), vertical);
    const int fixedWidth = child->GetScaledFixedWidth();
    const int fixedHeight = child->GetScaledFixedHeight();
    const int width = fixedWidth < 1 ? child->GetScaledMaxWidth() : fixedWidth;
    const int height = fixedHeight < 1 ? child->GetScaledMaxHeight() : fixedHeight;
    r.crossOffer = vertical ? width : height;
    r.mainOffer = vertical ? height : width;
    r.minCross = vertical ? child->GetScaledMinWidth() : child->GetScaledMinHeight();
    r.maxCross = vertical ? child->GetScaledMaxWidth() : child->GetScaledMaxHeight();
    return r;
}

} // namespace

CBoxLayoutUI::CBoxLayoutUI(bool vertical)
    : m_vertical(vertical), m_separatorSize(0), m_buttonState(0), m_lastMouse{0, 0}, m_immediate(false)
{
}

CBoxLayoutUI::~CBoxLayoutUI()
{
    if (IsDraggingSeparator() && !m_immediate && m_manager != nullptr) m_manager->UnregisterPostPaintControl(this);
}

uint32_t CBoxLayoutUI::GetBehaviorFlags() const
{
    return (m_enabled && m_separatorSize > 0) ? static_cast<uint32_t>(UIFLAG_SETCURSOR) : 0u;
}

void CBoxLayoutUI::SetPosition(const RECT& rc, bool invalidate)
{
    CControlUI::SetPosition(rc, invalidate);
    const CUIRect inner = InnerRect();
    if (m_children.IsEmpty()) {
        UpdateScrollBars(inner, 0, 0);
        return;
    }
    const bool vertical = m_vertical;
    CScrollBarUI* mainBar = vertical ? m_vScrollBar : m_hScrollBar;
    CScrollBarUI* crossBar = vertical ? m_hScrollBar : m_vScrollBar;
    const bool mainBarShown = IsScrollBarShown(mainBar);
    const bool crossBarShown = IsScrollBarShown(crossBar);
    const CUIRect frame = Flip(inner, vertical);
    const int crossRange = crossBarShown ? crossBar->GetScrollRange() : 0;
    const int mainRange = mainBarShown ? mainBar->GetScrollRange() : 0;
    const CUISize available(frame.Width() + crossRange, frame.Height() + mainRange);

    std::vector<TRunItem> items;
    const int crossNeeded = MeasureItems(available, items);
    const int origin = frame.top - (mainBarShown ? mainBar->GetScrollPos() : 0);
    const int mainNeeded = PlaceRunItems(*this, origin, available.cy, GetChildGapValue(), items);
    const int crossPos = crossBarShown ? crossBar->GetScrollPos() : 0;
    for (const TRunItem& item : items) {
        CUIRect place = Across(*item.child, frame, available.cx, crossRange, crossPos, 0);
        place.top = item.placed.start;
        place.bottom = item.placed.end;
        item.child->SetPosition(Flip(place, vertical), false);
    }
    if (vertical) {
        UpdateScrollBars(inner, crossNeeded, mainNeeded);
    } else {
        UpdateScrollBars(inner, mainNeeded, crossNeeded);
    }
}

int CBoxLayoutUI::MeasureItems(CUISize available, std::vector<TRunItem>& items)
{
    int crossNeeded = 0;
    for (int i = 0; i < m_children.Count(); ++i) {
        if (StaysOutOfFlow(i)) continue;
        CControlUI* child = ChildAt(i);
        const TChildRules r = RulesOf(child, m_vertical);
        const CUISize offer(std::min<int>(available.cx - r.padding.left - r.padding.right, r.crossOffer),
                            std::min<int>(available.cy, r.mainOffer));
        const CUISize desired = Flip(child->MeasureDesiredSize(Flip(offer, m_vertical)), m_vertical);
        items.push_back(MakeRunItem(child, desired.cy, m_vertical));
        const int crossSize = Clamp(std::max<int>(desired.cx, 0), r.minCross, r.maxCross);
        crossNeeded = std::max<int>(crossNeeded, r.padding.left + r.padding.right + crossSize);
    }
    return crossNeeded;
}

CUIRect CBoxLayoutUI::Across(const CControlUI& child, const CUIRect& frame, int availableCross, int crossRange,
                             int crossPos, int leastCross) const
{
    const TChildRules r = RulesOf(&child, m_vertical);
    const int room = availableCross - r.padding.left - r.padding.right;
    int size = std::max<int>(r.maxCross != 0 ? r.maxCross : room, 0);
    size = std::min<int>(size, std::min<int>(r.crossOffer, room));
    size = std::max<int>(size, r.minCross);
    size = std::max<int>(size, std::min<int>(leastCross, r.maxCross));
    const uint32_t align = m_vertical ? GetChildHAlignment() : GetChildVAlignment();
    CUIRect place;
    if (align == (m_vertical ? DT_CENTER : DT_VCENTER)) {
        place.left = (frame.left + frame.right) / 2 - size / 2 + (crossRange / 2 - crossPos);
    } else if (align == (m_vertical ? DT_RIGHT : DT_BOTTOM)) {
        place.left = frame.right - r.padding.right - size + (crossRange - crossPos);
    } else {
        place.left = frame.left + r.padding.left - crossPos;
    }
    place.right = place.left + size;
    return place;
}

void CBoxLayoutUI::SetSeparatorImmediate(bool immediate)
{
    if (m_immediate == immediate) return;
    if (IsDraggingSeparator() && !m_immediate && m_manager != nullptr) m_manager->UnregisterPostPaintControl(this);
    m_immediate = immediate;
}

CUIRect CBoxLayoutUI::GetSeparatorRect(bool useNewPosition) const
{
    const CUIRect rc = (useNewPosition && IsDraggingSeparator()) ? m_newPosition : m_item;
    const int s = m_separatorSize;
    if (m_vertical) {
        if (s >= 0) return CUIRect(rc.left, std::max<int>(rc.bottom - s, rc.top), rc.right, rc.bottom);
        return CUIRect(rc.left, rc.top, rc.right, std::min<int>(rc.top - s, rc.bottom));
    }
    if (s >= 0) return CUIRect(rc.right - s, rc.top, rc.right, rc.bottom);
    return CUIRect(rc.left, rc.top, rc.left - s, rc.bottom);
}

void CBoxLayoutUI::DragSeparatorTo(POINT pt)
{
    const bool vertical = m_vertical;
    const int moved = vertical ? pt.y - m_lastMouse.y : pt.x - m_lastMouse.x;
    const int point = vertical ? pt.y : pt.x;
    m_lastMouse = pt;
    CUIRect next = Flip(m_newPosition, vertical);
    const int minimum = vertical ? GetScaledMinHeight() : GetScaledMinWidth();
    const int maximum = vertical ? GetScaledMaxHeight() : GetScaledMaxWidth();
    const int current = next.Height();
    const int s = m_separatorSize;
    if (s >= 0) {
        if ((moved > 0 && point < next.bottom + s) || (moved < 0 && point > next.bottom)) return;
        int edge = next.bottom + moved;
        if (edge - next.top <= minimum) {
            if (current <= minimum) return;
            edge = next.top + minimum;
        }
        if (maximum <= edge - next.top) {
            if (current >= maximum) return;
            edge = next.top + maximum;
        }
        next.bottom = edge;
    } else {
        if ((moved > 0 && point < next.top) || (moved < 0 && point > next.top + s)) return;
        int edge = next.top + moved;
        if (next.bottom - edge <= minimum) {
            if (current <= minimum) return;
            edge = next.bottom - minimum;
        }
        if (maximum <= next.bottom - edge) {
            if (current >= maximum) return;
            edge = next.bottom - maximum;
        }
        next.top = edge;
    }
    const CUIRect oldGhost = GetSeparatorRect(true);
    m_newPosition = Flip(next, vertical);
    // The new size is in device pixels; stored sizes are skin pixels.
    const int stored = m_manager != nullptr ? m_manager->DpiScaler()->UnscaleValue(next.Height()) : next.Height();
    if (vertical) {
        m_fixedSize.cy = stored;
    } else {
        m_fixedSize.cx = stored;
    }
    if (m_immediate) {
        m_item = m_newPosition;
        RequestParentRelayout();
    } else if (m_manager != nullptr) {
        CUIRect dirty = oldGhost;
        dirty.ExtendToCover(GetSeparatorRect(true));
        dirty.ExtendToCover(GetSeparatorRect(false));
        m_manager->InvalidateArea(dirty);
    }
}

bool CBoxLayoutUI::OnSeparatorEvent(TEventInfo& event)
{
    switch (event.type) {
    case UIEVENT_BUTTONDOWN: {
        const CUIRect strip = GetSeparatorRect(false);
        if (!m_enabled || !PtInRect(&strip, event.point)) return false;
        m_buttonState |= kDragging;
        m_lastMouse = event.point;
        m_newPosition = m_item;
        if (!m_immediate && m_manager != nullptr) m_manager->RegisterPostPaintControl(this);
        return true;
    }
    case UIEVENT_BUTTONUP:
        if (!IsDraggingSeparator()) return false;
        EndPress();
        return true;
    case UIEVENT_MOUSEMOVE:
        if (!IsDraggingSeparator()) return false;
        DragSeparatorTo(event.point);
        return true;
    case UIEVENT_SETCURSOR: {
        const CUIRect strip = GetSeparatorRect(false);
        if (!m_enabled || !PtInRect(&strip, event.point)) return false;
        SetCursor(LoadCursorW(nullptr, m_vertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    }
    default:
        return false;
    }
}

void CBoxLayoutUI::EndPress()
{
    if (!IsDraggingSeparator()) return;
    m_buttonState &= ~kDragging;
    m_item = m_newPosition;
    if (!m_immediate && m_manager != nullptr) m_manager->UnregisterPostPaintControl(this);
    RequestParentRelayout();
}

void CBoxLayoutUI::HandleEvent(TEventInfo& event)
{
    if (m_separatorSize != 0 && OnSeparatorEvent(event)) return;
    CContainerUI::HandleEvent(event);
}

void CBoxLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"sepimm")) {
        SetSeparatorImmediate(ParseAttrBool(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CBoxLayoutUI::PaintAfterTree(HDC dc, const RECT& /*paintArea*/)
{
    if (IsDraggingSeparator() && !m_immediate) CRenderKit::FillRectColor(dc, GetSeparatorRect(true), kGhostColor);
}

} // namespace SkinUI
