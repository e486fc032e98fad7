#include "uilib/control/Slider.h"

#include <algorithm>

#include "uilib/core/AttrParse.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

void TraceLine(const wchar_t* format, int a = 0, int b = 0, int c = 0, int d = 0)
{
    wchar_t line[128];
    _snwprintf(line, 127, format, a, b, c, d);
    line[127] = L'\0';
    OutputDebugStringW(line);
}

} // namespace

CSliderUI::CSliderUI()
    : m_thumbSize(10, 10), m_thumbState(0), m_step(1), m_sendMove(false), m_valueAtCapture(0), m_reportedValue(0)
{
    m_textStyle = DT_SINGLELINE | DT_CENTER;
}

CSliderUI::~CSliderUI() = default;

const wchar_t* CSliderUI::GetTypeName() const
{
    return L"SliderUI";
}

void* CSliderUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Slider") == 0) return this;
    return CProgressUI::FindInterface(name);
}

uint32_t CSliderUI::GetBehaviorFlags() const
{
    return GetEnabledState() ? uint32_t(UIFLAG_SETCURSOR) : 0u;
}

void CSliderUI::SetEnabledState(bool enabled)
{
    // Disabled, a held thumb's press has ended through the manager already.
    CProgressUI::SetEnabledState(enabled);
    if (!GetEnabledState()) m_thumbState = 0;
}

void CSliderUI::SetValue(int value)
{
    // The hand wins; the release tells the owner the thumb's value if the
    // owner now holds another.
    if (m_thumbState & kThumbCaptured) {
        m_reportedValue = value;
        return;
    }
    CProgressUI::SetValue(value);
}

void CSliderUI::SetThumbImage(const wchar_t* text)
{
    m_thumbImage = text;
    RequestRepaint();
}

void CSliderUI::SetThumbHotImage(const wchar_t* text)
{
    m_thumbHotImage = text;
    RequestRepaint();
}

void CSliderUI::SetThumbPushedImage(const wchar_t* text)
{
    m_thumbPushedImage = text;
    RequestRepaint();
}

void CSliderUI::SetThumbDisabledImage(const wchar_t* text)
{
    m_thumbDisabledImage = text;
    RequestRepaint();
}

CUISize CSliderUI::ScaledThumbSize() const
{
    return CUISize(Scaled(m_thumbSize.cx), Scaled(m_thumbSize.cy));
}

CUIRect CSliderUI::GetThumbRect() const
{
    const CUISize thumb = ScaledThumbSize();
    const long long span = Span();
    const long long done = static_cast<long long>(m_value) - m_min;
    CUIRect rc;
    if (m_horizontal) {
        rc.left = m_item.left + static_cast<int>(done * (m_item.Width() - thumb.cx) / span);
        rc.top = (m_item.top + m_item.bottom - thumb.cy) / 2;
    } else {
        rc.left = (m_item.left + m_item.right - thumb.cx) / 2;
        rc.top = m_item.bottom - static_cast<int>(done * (m_item.Height() - thumb.cy) / span) - thumb.cy;
    }
    rc.right = rc.left + thumb.cx;
    rc.bottom = rc.top + thumb.cy;
    return rc;
}

void CSliderUI::CommitUserValue(int value)
{
    if (value != m_value && value >= m_min && value <= m_max) {
        m_value = value;
        if (m_manager != nullptr) m_manager->SendNotification(this, L"valuechanged", 0, 0, false);
        RequestRepaint();
    }
    RefreshValueText();
}

void CSliderUI::SetThumbHot(bool hot)
{
    if (hot) m_thumbState |= kThumbHot;
    else m_thumbState &= ~kThumbHot;
    RequestRepaint();
}

int CSliderUI::DragValue(POINT pt)
{
    m_grab.Track(pt);
    if (!m_grab.HasLeft()) return m_valueAtCapture;
    const CUISize thumb = ScaledThumbSize();
    const long long track = m_horizontal ? m_item.Width() - thumb.cx : m_item.Height() - thumb.cy;
    if (track <= 0) return m_valueAtCapture;
    // The thumb's travel over the track's is the value's over the range, cut
    // toward the press: a pixel either way of it moves the value alike.
    const CUIPoint& press = m_grab.PressPoint();
    const long long travel = m_horizontal ? pt.x - press.x : press.y - pt.y;
    const long long value = m_valueAtCapture + travel * (static_cast<long long>(m_max) - m_min) / track;
    return static_cast<int>(std::max<long long>(m_min, std::min<long long>(m_max, value)));
}

void CSliderUI::OnButtonDown(const TEventInfo& event)
{
    TraceLine(L"on UIEVENT_BUTTONDOWN x(%d) y(%d)\n", event.point.x, event.point.y);
    const CUIRect thumb = GetThumbRect();
    TraceLine(L"thumb rect left(%d) top(%d) right(%d) bottom(%d)\n", thumb.left, thumb.top, thumb.right,
              thumb.bottom);
    if (!GetEnabledState() || !PtInRect(&thumb, event.point)) return;
    TraceLine(L"get mouse in thumb rect\n");
    m_thumbState |= kThumbCaptured;
    TraceLine(L"UISTATE_CAPTURED\n");
    // A press only takes the thumb: the value under a point is rounded
    // along the track, so it is seldom the value the thumb shows.
    m_valueAtCapture = m_reportedValue = m_value;
    m_grab.Press(event.point, CDragRect::SystemSize());
    RequestRepaint();
}

void CSliderUI::OnButtonUp(const TEventInfo& event)
{
    if (!GetEnabledState()) return;
    if (m_thumbState & kThumbCaptured) {
        // A drag ends where the pointer is.
        m_value = DragValue(event.point);
        EndPress();
        return;
    }
    const CUIRect thumb = GetThumbRect();
    // A release on the thumb it was not pressed on leaves it; beside it, it
    // steps towards the pointer.
    if (PtInRect(&thumb, event.point)) return;
    const bool towardsMin = m_horizontal ? event.point.x < thumb.left : event.point.y > thumb.bottom;
    CommitUserValue(towardsMin ? m_value - m_step : m_value + m_step);
}

void CSliderUI::EndPress()
{
    if ((m_thumbState & kThumbCaptured) == 0) return;
    m_thumbState &= ~kThumbCaptured;
    RequestRepaint();
    if (!m_grab.HasLeft()) {
        // A press held still moved nothing: the thumb takes what the owner
        // holds, untold.
        CProgressUI::SetValue(m_reportedValue);
        return;
    }
    // Each value reaches the owner once: with "sendmove" the moves told it
    // most of them, without it nothing since the press. A value the owner
    // set meanwhile is what it holds, so the thumb's own is told again.
    if (m_value != m_reportedValue) {
        m_reportedValue = m_value;
        if (m_manager != nullptr) m_manager->SendNotification(this, L"valuechanged", 0, 0, false);
    }
    RefreshValueText();
}

void CSliderUI::OnMouseMove(const TEventInfo& event)
{
    TraceLine(L"on UIEVENT_MOUSEMOVE x(%d) y(%d)\n\n", event.point.x, event.point.y);
    if (m_thumbState & kThumbCaptured) {
        const int value = DragValue(event.point);
        if (value != m_value) {
            m_value = value;
            if (m_sendMove) {
                m_reportedValue = m_value;
                RefreshValueText();
                if (m_manager != nullptr) m_manager->SendNotification(this, L"movevaluechanged", 0, 0, false);
            }
            RequestRepaint();
        }
    }
    const CUIRect thumb = GetThumbRect();
    SetThumbHot(GetEnabledState() && PtInRect(&thumb, event.point));
}

void CSliderUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CLabelUI::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        OnButtonDown(event);
        return;
    case UIEVENT_BUTTONUP:
    case UIEVENT_RBUTTONUP:
        OnButtonUp(event);
        return;
    case UIEVENT_SCROLLWHEEL:
        if (GetEnabledState() && (event.wParam == 0 || event.wParam == 1)) {
            // A held thumb stays with the hand.
            if ((m_thumbState & kThumbCaptured) == 0)
                CommitUserValue(event.wParam == 0 ? m_value + m_step : m_value - m_step);
            return;
        }
        break;
    case UIEVENT_MOUSEMOVE:
        OnMouseMove(event);
        return;
    case UIEVENT_SETCURSOR:
        if (GetEnabledState()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (GetEnabledState()) SetThumbHot(false);
        return;
    case UIEVENT_CONTEXTMENU:
        return;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

void CSliderUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"thumbimage")) {
        SetThumbImage(value);
    } else if (AttrNameEquals(name, L"thumbhotimage")) {
        SetThumbHotImage(value);
    } else if (AttrNameEquals(name, L"thumbpushedimage")) {
        SetThumbPushedImage(value);
    } else if (AttrNameEquals(name, L"thumbdisabledimage")) {
        SetThumbDisabledImage(value);
    } else if (AttrNameEquals(name, L"thumbsize")) {
        int32_t v[2];
        ParseAttrIntList(value, v, 2);
        SetThumbSize(v[0], v[1]);
    } else if (AttrNameEquals(name, L"step")) {
        SetStep(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"sendmove")) {
        SetSendMove(ParseAttrBool(value));
    } else {
        CProgressUI::ApplyAttribute(name, value);
    }
}

void CSliderUI::PaintForegroundImage(HDC dc)
{
    CProgressUI::PaintForegroundImage(dc);

    CUIRect thumb = GetThumbRect();
    thumb.Translate(-m_item.left, -m_item.top);
    thumb = UnscaledRect(thumb);
    m_thumbModifier.Printf(L"dest='%d,%d,%d,%d'", thumb.left, thumb.top, thumb.right, thumb.bottom);

    const CUIString* state = nullptr;
    if (!GetEnabledState()) state = &m_thumbDisabledImage;
    else if (m_thumbState & kThumbCaptured) state = &m_thumbPushedImage;
    else if (m_thumbState & kThumbHot) state = &m_thumbHotImage;
    if (state != nullptr && !state->IsEmpty() && DrawImageSpec(dc, *state, m_thumbModifier)) return;
    if (!m_thumbImage.IsEmpty()) DrawImageSpec(dc, m_thumbImage, m_thumbModifier);
}

} // namespace SkinUI
