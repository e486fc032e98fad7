#include "uilib/control/ScrollBar.h"

#include <algorithm>

#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

namespace {

const uint32_t kStateDisabled = 0x04;
const uint32_t kStateHot = 0x08;
const uint32_t kStatePushed = 0x10;
const uint32_t kStateCaptured = 0x40;
// Ticks a held button waits before it starts repeating.
const int kRepeatDelayTicks = 5;
// Outline drawn for a part that has no image at all.
const DWORD kOutlineColor = 0xFF85E4FF;
const int kOutlineWidth = 2;

bool IsEmptyRect(const RECT& rc)
{
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_horizontal(false),
      m_range(0),
      m_position(0),
      m_lineSize(8),
      m_owner(nullptr),
      m_lastMouse{0, 0},
      m_lastPosition(0),
      m_dragOffset(0),
      m_repeatCount(0),
      m_showButton1(true),
      m_button1State(0),
      m_showButton2(true),
      m_button2State(0),
      m_thumbState(0)
{
    m_fixedSize.cx = kDefaultThickness;
}

const wchar_t* CScrollBarUI::GetTypeName() const
{
    return L"ScrollBarUI";
}

void* CScrollBarUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ScrollBar") == 0) return static_cast<CScrollBarUI*>(this);
    return CControlUI::FindInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (m_horizontal == horizontal) return;
    m_horizontal = horizontal;
    if (m_horizontal && m_fixedSize.cy == 0) {
        m_fixedSize.cx = 0;
        m_fixedSize.cy = kDefaultThickness;
    } else if (!m_horizontal && m_fixedSize.cx == 0) {
        m_fixedSize.cy = 0;
        m_fixedSize.cx = kDefaultThickness;
    }
    if (m_owner != nullptr) {
        m_owner->RequestRelayout();
    } else {
        RequestParentRelayout();
    }
}

void CScrollBarUI::SetScrollRange(int64_t range)
{
    if (range == m_range) return;
    m_range = range < 0 ? 0 : range;
    if (m_position > m_range) m_position = m_range;
    SetPosition(m_item, true);
}

void CScrollBarUI::SetScrollPos(int64_t position)
{
    if (position == m_position) return;
    m_position = std::max<int64_t>(0, std::min(position, m_range));
    SetPosition(m_item, true);
}

void CScrollBarUI::SetShowButton1(bool show)
{
    m_showButton1 = show;
    SetPosition(m_item, true);
}

void CScrollBarUI::SetShowButton2(bool show)
{
    m_showButton2 = show;
    SetPosition(m_item, true);
}

void CScrollBarUI::SetEnabledState(bool enabled)
{
    CControlUI::SetEnabledState(enabled);
    if (!m_enabled) {
        m_button1State = 0;
        m_button2State = 0;
        m_thumbState = 0;
    }
}

void CScrollBarUI::VisibilityChanged(bool, bool)
{
    // The owner lays the bar out: no relayout here.
}

void CScrollBarUI::TakeFocus()
{
    if (m_owner != nullptr) {
        m_owner->TakeFocus();
    } else {
        CControlUI::TakeFocus();
    }
}

void CScrollBarUI::SetPosition(const RECT& rc, bool invalidate)
{
    CControlUI::SetPosition(rc, invalidate);
    const CUIRect& bar = m_item;
    const int s = m_horizontal ? GetScaledFixedHeight() : GetScaledFixedWidth();
    const int length = m_horizontal ? bar.Width() : bar.Height();
    const int track = length - (m_showButton1 ? s : 0) - (m_showButton2 ? s : 0);
    if (s < track) {
        int trackStart;
        int trackEnd;
        if (m_horizontal) {
            m_button1Rect = m_showButton1 ? CUIRect(bar.left, bar.top, bar.left + s, bar.top + s)
                                          : CUIRect(bar.left, bar.top, bar.left, bar.top);
            m_button2Rect = m_showButton2 ? CUIRect(bar.right - s, bar.top, bar.right, bar.top + s)
                                          : CUIRect(bar.right, bar.top, bar.right, bar.top);
            trackStart = m_button1Rect.right;
            trackEnd = m_button2Rect.left;
        } else {
            m_button1Rect = m_showButton1 ? CUIRect(bar.left, bar.top, bar.left + s, bar.top + s)
                                          : CUIRect(bar.left, bar.top, bar.left, bar.top);
            m_button2Rect = m_showButton2 ? CUIRect(bar.left, bar.bottom - s, bar.left + s, bar.bottom)
                                          : CUIRect(bar.left, bar.bottom, bar.left, bar.bottom);
            trackStart = m_button1Rect.bottom;
            trackEnd = m_button2Rect.top;
        }
        if (m_range > 0) {
            const int thumbLength = static_cast<int>(
                std::max<int64_t>(static_cast<int64_t>(length) * track / (length + m_range), s));
            int start;
            if (m_horizontal) {
                start = static_cast<int>((track - thumbLength) * m_position / m_range) + trackStart;
                m_thumbRect = CUIRect(start, bar.top, start + thumbLength, bar.top + s);
                if (m_thumbRect.right > trackEnd) m_thumbRect.Translate(trackEnd - m_thumbRect.right, 0);
            } else {
                const float part = static_cast<float>(m_position) / static_cast<float>(m_range);
                start = static_cast<int>(part * static_cast<float>(track - thumbLength)) + trackStart;
                m_thumbRect = CUIRect(bar.left, start, bar.left + s, start + thumbLength);
                if (m_thumbRect.bottom > trackEnd) m_thumbRect.Translate(0, trackEnd - m_thumbRect.bottom);
            }
        } else if (m_horizontal) {
            m_thumbRect = CUIRect(trackStart, bar.top, trackEnd, bar.top + s);
        } else {
            m_thumbRect = CUIRect(bar.left, trackStart, bar.left + s, trackEnd);
        }
    } else {
        // No room for a thumb: the buttons share the length.
        const int buttonLength = std::min(s, length / 2);
        if (m_horizontal) {
            m_button1Rect = m_showButton1 ? CUIRect(bar.left, bar.top, bar.left + buttonLength, bar.top + s)
                                          : CUIRect(bar.left, bar.top, bar.left, bar.top);
            m_button2Rect = m_showButton2 ? CUIRect(bar.right - buttonLength, bar.top, bar.right, bar.top + s)
                                          : CUIRect(bar.right, bar.top, bar.right, bar.top);
        } else {
            m_button1Rect = m_showButton1 ? CUIRect(bar.left, bar.top, bar.left + s, bar.top + buttonLength)
                                          : CUIRect(bar.left, bar.top, bar.left, bar.top);
            m_button2Rect = m_showButton2 ? CUIRect(bar.left, bar.bottom - buttonLength, bar.left + s, bar.bottom)
                                          : CUIRect(bar.left, bar.bottom, bar.left, bar.bottom);
        }
        m_thumbRect = CUIRect();
    }
}

void CScrollBarUI::StepLine(int direction)
{
    if (m_owner != nullptr) {
        if (m_horizontal) {
            direction < 0 ? m_owner->ScrollLineLeft() : m_owner->ScrollLineRight();
        } else {
            direction < 0 ? m_owner->ScrollLineUp() : m_owner->ScrollLineDown();
        }
    } else {
        SetScrollPos(m_position + static_cast<int64_t>(direction) * m_lineSize);
    }
}

void CScrollBarUI::StepPageTowards(POINT pt)
{
    int direction = 0;
    if (m_horizontal) {
        if (pt.x < m_thumbRect.left) direction = -1;
        else if (pt.x >= m_thumbRect.right) direction = 1;
    } else {
        if (pt.y < m_thumbRect.top) direction = -1;
        else if (pt.y >= m_thumbRect.bottom) direction = 1;
    }
    if (direction == 0) return;
    if (m_owner != nullptr) {
        if (m_horizontal) {
            direction < 0 ? m_owner->ScrollPageLeft() : m_owner->ScrollPageRight();
        } else {
            direction < 0 ? m_owner->ScrollPageUp() : m_owner->ScrollPageDown();
        }
    } else {
        const int page = m_horizontal ? m_item.Width() : m_item.Height();
        SetScrollPos(m_position + static_cast<int64_t>(direction) * page);
    }
}

void CScrollBarUI::OnButtonDown(const TEventInfo& event)
{
    m_dragOffset = 0;
    m_repeatCount = 0;
    if (m_manager != nullptr) m_manager->StartTimer(this, kRepeatTimerId, kRepeatMs);
    if (PtInRect(&m_button1Rect, event.point)) {
        m_button1State |= kStatePushed;
        StepLine(-1);
    } else if (PtInRect(&m_button2Rect, event.point)) {
        m_button2State |= kStatePushed;
        StepLine(1);
    } else if (PtInRect(&m_thumbRect, event.point)) {
        m_thumbState |= kStateCaptured | kStatePushed;
        m_lastMouse = event.point;
        m_lastPosition = static_cast<int>(m_position);
    } else {
        StepPageTowards(event.point);
    }
    if (m_manager != nullptr) m_manager->SendNotification(this, L"scroll", 0, 0, false);
}

void CScrollBarUI::EndPress()
{
    m_dragOffset = 0;
    m_repeatCount = 0;
    if (m_manager != nullptr) m_manager->StopTimer(this, kRepeatTimerId);
    if (m_thumbState & kStateCaptured) {
        m_thumbState &= ~(kStateCaptured | kStatePushed);
    } else if (m_button1State & kStatePushed) {
        m_button1State &= ~kStatePushed;
    } else if (m_button2State & kStatePushed) {
        m_button2State &= ~kStatePushed;
    }
    RequestRepaint();
}

void CScrollBarUI::OnMouseMove(const TEventInfo& event)
{
    if (m_thumbState & kStateCaptured) {
        // The thumb travels the track less its own length; with no travel
        // left (range 0, a short bar) a drag changes nothing.
        int travel;
        int moved;
        if (m_horizontal) {
            travel = m_button2Rect.left - m_button1Rect.right - m_thumbRect.Width();
            moved = event.point.x - m_lastMouse.x;
        } else {
            travel = m_button2Rect.top - m_button1Rect.bottom - m_thumbRect.Height();
            moved = event.point.y - m_lastMouse.y;
        }
        m_dragOffset = travel > 0 ? static_cast<int>(static_cast<int64_t>(moved) * m_range / travel) : 0;
        return;
    }
    const bool onThumb = PtInRect(&m_thumbRect, event.point) != FALSE;
    if (!(m_thumbState & kStateHot) && m_enabled && onThumb) {
        m_thumbState |= kStateHot;
        RequestRepaint();
    } else if ((m_thumbState & kStateHot) && !onThumb) {
        m_thumbState &= ~kStateHot;
        RequestRepaint();
    }
}

void CScrollBarUI::OnTimerTick()
{
    ++m_repeatCount;
    if (m_thumbState & kStateCaptured) {
        const int target = m_lastPosition + m_dragOffset;
        if (m_owner != nullptr) {
            CUISize offset = m_owner->GetScrollOffset();
            if (m_horizontal) offset.cx = target;
            else offset.cy = target;
            m_owner->SetScrollOffset(offset, true);
        } else {
            SetScrollPos(target);
        }
        RequestRepaint();
        return;
    }
    if (m_repeatCount <= kRepeatDelayTicks) return;
    if (m_button1State & kStatePushed) {
        StepLine(-1);
    } else if (m_button2State & kStatePushed) {
        StepLine(1);
    } else {
        POINT pt;
        if (!GetCursorPos(&pt)) return;
        if (m_manager != nullptr && m_manager->WindowHandle() != nullptr) ScreenToClient(m_manager->WindowHandle(), &pt);
        StepPageTowards(pt);
    }
}

void CScrollBarUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (m_owner != nullptr) {
            m_owner->HandleEvent(event);
        } else {
            CControlUI::HandleEvent(event);
        }
        return;
    }
    switch (event.type) {
    case UIEVENT_KILLFOCUS:
    case UIEVENT_SETFOCUS:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (m_enabled) OnButtonDown(event);
        return;
    case UIEVENT_BUTTONUP:
        EndPress();
        return;
    case UIEVENT_MOUSEMOVE:
        OnMouseMove(event);
        return;
    case UIEVENT_MOUSEENTER:
        if (m_enabled) {
            m_button1State |= kStateHot;
            m_button2State |= kStateHot;
            if (PtInRect(&m_thumbRect, event.point)) m_thumbState |= kStateHot;
            RequestRepaint();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (m_enabled) {
            m_button1State &= ~kStateHot;
            m_button2State &= ~kStateHot;
            m_thumbState &= ~kStateHot;
            RequestRepaint();
        }
        return;
    case UIEVENT_TIMER:
        if (event.wParam == kRepeatTimerId) {
            OnTimerTick();
            return;
        }
        break;
    default:
        break;
    }
    if (m_owner != nullptr) {
        m_owner->HandleEvent(event);
    } else {
        CControlUI::HandleEvent(event);
    }
}

void CScrollBarUI::SetPartImage(CUIString& slot, const wchar_t* value)
{
    slot = value;
    RequestRepaint();
}

bool CScrollBarUI::ApplyImageAttribute(const wchar_t* name, const wchar_t* value)
{
    struct Part {
        const wchar_t* prefix;
        TPartImages* images;
    };
    const Part parts[] = {{L"bk", &m_backImages},
                          {L"button1", &m_button1Images},
                          {L"button2", &m_button2Images},
                          {L"thumb", &m_thumbImages},
                          {L"rail", &m_railImages}};
    for (const Part& part : parts) {
        const size_t prefixLength = wcslen(part.prefix);
        if (wcslen(name) <= prefixLength) continue;
        CUIString prefix(name, static_cast<int>(prefixLength));
        if (prefix.CompareIgnoreCase(part.prefix) != 0) continue;
        const wchar_t* state = name + prefixLength;
        if (AttrNameEquals(state, L"normalimage")) SetPartImage(part.images->normal, value);
        else if (AttrNameEquals(state, L"hotimage")) SetPartImage(part.images->hot, value);
        else if (AttrNameEquals(state, L"pushedimage")) SetPartImage(part.images->pushed, value);
        else if (AttrNameEquals(state, L"disabledimage")) SetPartImage(part.images->disabled, value);
        else continue;
        return true;
    }
    return false;
}

void CScrollBarUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (ApplyImageAttribute(name, value)) return;
    if (AttrNameEquals(name, L"hor")) SetHorizontal(ParseAttrBool(value));
    else if (AttrNameEquals(name, L"linesize")) SetLineSize(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"range")) SetScrollRange(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"value")) SetScrollPos(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"showbutton1")) SetShowButton1(ParseAttrBool(value));
    else if (AttrNameEquals(name, L"showbutton2")) SetShowButton2(ParseAttrBool(value));
    else CControlUI::ApplyAttribute(name, value);
}

CUIString CScrollBarUI::DestModifier(const RECT& part) const
{
    const int percent = m_manager != nullptr ? m_manager->DpiScaler()->GetScalePercent() : 100;
    const int scale = percent > 0 ? percent : 100;
    CUIString text;
    text.Printf(L"dest='%d,%d,%d,%d'", MulDiv(part.left - m_item.left, 100, scale),
                MulDiv(part.top - m_item.top, 100, scale), MulDiv(part.right - m_item.left, 100, scale),
                MulDiv(part.bottom - m_item.top, 100, scale));
    return text;
}

void CScrollBarUI::PaintPart(HDC dc, const TPartImages& images, uint32_t& state, const RECT& part,
                             bool withModifier, bool outline)
{
    if (m_enabled) state &= ~kStateDisabled;
    else state |= kStateDisabled;
    const CUIString modifier = withModifier ? DestModifier(part) : CUIString();
    const wchar_t* mod = withModifier ? modifier.CStr() : nullptr;
    const CUIString* picked = nullptr;
    if (state & kStateDisabled) picked = &images.disabled;
    else if (state & kStatePushed) picked = &images.pushed;
    else if (state & kStateHot) picked = &images.hot;
    if (picked != nullptr && !picked->IsEmpty() && DrawImageSpec(dc, *picked, mod)) return;
    if (!images.normal.IsEmpty() && DrawImageSpec(dc, images.normal, mod)) return;
    if (outline && images.normal.IsEmpty() && images.hot.IsEmpty() && images.pushed.IsEmpty() &&
        images.disabled.IsEmpty()) {
        CRenderKit::DrawRectOutline(dc, part, kOutlineWidth, kOutlineColor);
    }
}

void CScrollBarUI::PaintRail(HDC dc)
{
    CUIRect rail = m_thumbRect;
    if (m_horizontal) {
        const int width = m_fixedSize.cy;
        rail.left = (m_thumbRect.left + m_thumbRect.right) / 2 - width / 2;
        rail.right = rail.left + width;
    } else {
        const int height = m_fixedSize.cx;
        rail.top = (m_thumbRect.top + m_thumbRect.bottom) / 2 - height / 2;
        rail.bottom = rail.top + height;
    }
    PaintPart(dc, m_railImages, m_thumbState, rail, true, false);
}

bool CScrollBarUI::PaintSelf(HDC dc, const RECT& /*paintArea*/, CControlUI* /*stopControl*/)
{
    PaintBackgroundColor(dc);
    PaintBackgroundImage(dc);
    PaintPart(dc, m_backImages, m_thumbState, m_item, false, false);
    if (m_showButton1) PaintPart(dc, m_button1Images, m_button1State, m_button1Rect, true, true);
    if (m_showButton2) PaintPart(dc, m_button2Images, m_button2State, m_button2Rect, true, true);
    if (!IsEmptyRect(m_thumbRect)) {
        PaintPart(dc, m_thumbImages, m_thumbState, m_thumbRect, true, true);
        PaintRail(dc);
    }
    PaintBorderLines(dc);
    return true;
}

} // namespace SkinUI
