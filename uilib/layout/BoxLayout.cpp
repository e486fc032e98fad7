#include "uilib/layout/BoxLayout.h"

#include <algorithm>

#include "uilib/control/ScrollBar.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/ScaledRun.h"

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

// A child's size rules seen in the layout's frame.
struct TChildRules {
    CUIRect padding;
    CUIRect skinPadding;
    int skinMain; // the fixed main size in skin pixels, 0 when none
    int crossOffer; // fixed cross size, or the maximum when none
    int mainOffer;
    int minCross;
    int maxCross;
    int minMain;
    int maxMain;
};

TChildRules RulesOf(const CControlUI* child, bool vertical)
{
    TChildRules r;
    r.padding = Flip(child->GetScaledPadding(), vertical);
    r.skinPadding = Flip(child->GetPaddingValue(), vertical);
    const CUISize skinSize = Flip(child->GetFixedSizeValue(), vertical);
    r.skinMain = skinSize.cy;
    const int fixedWidth = child->GetScaledFixedWidth();
    const int fixedHeight = child->GetScaledFixedHeight();
    const int width = fixedWidth < 1 ? child->GetScaledMaxWidth() : fixedWidth;
    const int height = fixedHeight < 1 ? child->GetScaledMaxHeight() : fixedHeight;
    r.crossOffer = vertical ? width : height;
    r.mainOffer = vertical ? height : width;
    r.minCross = vertical ? child->GetScaledMinWidth() : child->GetScaledMinHeight();
    r.maxCross = vertical ? child->GetScaledMaxWidth() : child->GetScaledMaxHeight();
    r.minMain = vertical ? child->GetScaledMinHeight() : child->GetScaledMinWidth();
    r.maxMain = vertical ? child->GetScaledMaxHeight() : child->GetScaledMaxWidth();
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
    const int availableCross = frame.Width() + (crossBarShown ? crossBar->GetScrollRange() : 0);
    const int availableMain = frame.Height() + (mainBarShown ? mainBar->GetScrollRange() : 0);

    // Measuring: what the sized children take and how many share the rest.
    // Paddings, gaps and children at their fixed size count in skin pixels,
    // scaled once as a total; children measured to another size count in
    // device pixels. What follows the last adjustable child is summed as
    // placing will place it: each skin run scaled on its own, between the
    // children of device size.
    const int gap = GetChildGapValue();
    int adjustables = 0;
    int skinFixed = 0;
    int deviceFixed = 0;
    int crossNeeded = 0;
    int counted = 0;
    CScaledRun tail(*this, 0);
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = ChildAt(i);
        if (!child->GetVisibility() || child->IsFloating()) continue;
        const TChildRules r = RulesOf(child, vertical);
        const CUISize offer(std::min<int>(availableCross - r.padding.left - r.padding.right, r.crossOffer),
                            std::min<int>(availableMain, r.mainOffer));
        const CUISize desired = Flip(child->MeasureDesiredSize(Flip(offer, vertical)), vertical);
        skinFixed += r.skinPadding.top + r.skinPadding.bottom;
        if (counted > 0) tail.AddSkin(gap);
        tail.AddSkin(r.skinPadding.top);
        if (desired.cy == 0) {
            ++adjustables;
            tail.Restart(0);
        } else {
            const int mainSize = Clamp(desired.cy, r.minMain, r.maxMain);
            if (tail.AtSkinSize(r.skinMain, mainSize)) {
                skinFixed += r.skinMain;
            } else {
                deviceFixed += mainSize;
            }
            tail.AddChild(r.skinMain, mainSize);
        }
        tail.AddSkin(r.skinPadding.bottom);
        const int crossSize = Clamp(std::max<int>(desired.cx, 0), r.minCross, r.maxCross);
        crossNeeded = std::max<int>(crossNeeded, r.padding.left + r.padding.right + crossSize);
        ++counted;
    }
    if (counted > 1) skinFixed += gap * (counted - 1);
    const int share =
        adjustables > 0 ? std::max<int>(0, (availableMain - Scaled(skinFixed) - deviceFixed) / adjustables) : 0;

    // Placing, in order; the last adjustable child takes the rounding rest.
    // Each start stands at the scaled skin distance from the last edge that
    // came from device pixels, so that rounding never adds up along a row.
    // A child at its fixed size keeps its scaled size and ends before what
    // follows and inside the layout: the gaps around it take the rounding.
    const int origin = frame.top - (mainBarShown ? mainBar->GetScrollPos() : 0);
    const int mainEnd = origin + availableMain;
    int lastPlaced = m_children.Count() - 1;
    while (lastPlaced > 0 && StaysOutOfFlow(lastPlaced)) --lastPlaced;
    CScaledRun run(*this, origin);
    int placed = 0;
    int previousEnd = origin;
    int adjustablesPlaced = 0;
    const uint32_t align = vertical ? GetChildHAlignment() : GetChildVAlignment();
    const bool alignCenter = vertical ? align == DT_CENTER : align == DT_VCENTER;
    const bool alignEnd = vertical ? align == DT_RIGHT : align == DT_BOTTOM;
    const int crossRange = crossBarShown ? crossBar->GetScrollRange() : 0;
    const int crossPos = crossBarShown ? crossBar->GetScrollPos() : 0;
    for (int i = 0; i < m_children.Count(); ++i) {
        if (StaysOutOfFlow(i)) continue;
        CControlUI* child = ChildAt(i);
        const TChildRules r = RulesOf(child, vertical);
        if (++placed > 1) run.AddSkin(gap);
        run.AddSkin(r.skinPadding.top);
        const int start = run.Position();
        const int remaining = mainEnd - start;
        const int crossOffer = std::min<int>(r.crossOffer, availableCross - r.padding.left - r.padding.right);
        const int mainOffer = std::min<int>(r.mainOffer, remaining);
        const CUISize desired =
            Flip(child->MeasureDesiredSize(Flip(CUISize(crossOffer, mainOffer), vertical)), vertical);
        int mainSize;
        bool skinSized = false;
        if (desired.cy == 0) {
            ++adjustablesPlaced;
            mainSize = adjustablesPlaced == adjustables ? std::max<int>(0, remaining - tail.Position()) : share;
            mainSize = Clamp(mainSize, r.minMain, r.maxMain);
        } else {
            mainSize = Clamp(desired.cy, r.minMain, r.maxMain);
            skinSized = run.AtSkinSize(r.skinMain, mainSize);
        }
        int top = start;
        int end = start + mainSize;
        if (skinSized) {
            run.AddSkin(r.skinMain);
            CScaledRun next = run;
            next.AddSkin(r.skinPadding.bottom + (i < lastPlaced ? gap : 0));
            const int limit = i < lastPlaced ? next.Position() : std::max<int>(next.Position(), mainEnd);
            if (end > limit) {
                top = std::max<int>(previousEnd, limit - mainSize);
                end = limit;
            }
        } else {
            run.AddDevice(mainSize);
        }
        previousEnd = end;
        int crossSize = r.maxCross != 0 ? r.maxCross : availableCross - r.padding.left - r.padding.right;
        crossSize = std::max<int>(crossSize, 0);
        crossSize = std::min<int>(crossSize, crossOffer);
        crossSize = std::max<int>(crossSize, r.minCross);

        CUIRect place;
        if (alignCenter) {
            place.left = (frame.left + frame.right) / 2 - crossSize / 2 + (crossRange / 2 - crossPos);
        } else if (alignEnd) {
            place.left = frame.right - r.padding.right - crossSize + (crossRange - crossPos);
        } else {
            place.left = frame.left + r.padding.left - crossPos;
        }
        place.right = place.left + crossSize;
        place.top = top;
        place.bottom = end;
        child->SetPosition(Flip(place, vertical), false);
        run.AddSkin(r.skinPadding.bottom);
    }
    const int mainNeeded = run.Position() - origin;
    if (vertical) {
        UpdateScrollBars(inner, crossNeeded, mainNeeded);
    } else {
        UpdateScrollBars(inner, mainNeeded, crossNeeded);
    }
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
        m_buttonState &= ~kDragging;
        m_item = m_newPosition;
        if (!m_immediate && m_manager != nullptr) m_manager->UnregisterPostPaintControl(this);
        RequestParentRelayout();
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
