#include "uilib/control/ListHeaderItem.h"

#include "uilib/control/ListStyleAttributes.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const int kDragZoneSlack = 4;
const int kMinimumWidth = 16;

} // namespace

CListHeaderItemUI::CListHeaderItemUI()
    : m_clickNotification(L"headerclick"),
      m_lastMouse{0, 0},
      m_draggable(true),
      m_buttonState(0),
      m_separatorWidth(4),
      m_textColor(0),
      m_font(-1),
      m_textStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE),
      m_showHtml(false),
      m_textPadding(2, 0, 2, 0),
      m_scale(0)
{
    SetMinWidthValue(kMinimumWidth);
}

CListHeaderItemUI::~CListHeaderItemUI() = default;

const wchar_t* CListHeaderItemUI::GetTypeName() const
{
    return L"ListHeaderItemUI";
}

void* CListHeaderItemUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListHeaderItem") == 0) return this;
    return CContainerUI::FindInterface(name);
}

uint32_t CListHeaderItemUI::GetBehaviorFlags() const
{
    return (m_enabled && m_separatorWidth != 0) ? static_cast<uint32_t>(UIFLAG_SETCURSOR) : 0u;
}

void CListHeaderItemUI::SetEnabledState(bool enabled)
{
    CContainerUI::SetEnabledState(enabled);
    if (!GetEnabledState()) m_buttonState = 0;
}

void CListHeaderItemUI::SetDraggable(bool on)
{
    m_draggable = on;
    if (!on) m_buttonState &= ~kStateCaptured;
}

CUIRect CListHeaderItemUI::GetSeparatorRect() const
{
    const int width = Scaled(m_separatorWidth);
    if (width < 0) return CUIRect(m_item.left, m_item.top, m_item.left - width, m_item.bottom);
    return CUIRect(m_item.right - width, m_item.top, m_item.right, m_item.bottom);
}

CUIRect CListHeaderItemUI::DragZone() const
{
    CUIRect zone = GetSeparatorRect();
    if (m_separatorWidth < 0)
        zone.right += Scaled(kDragZoneSlack);
    else
        zone.left -= Scaled(kDragZoneSlack);
    return zone;
}

void CListHeaderItemUI::OnButtonDown(const TEventInfo& event)
{
    const CUIRect zone = DragZone();
    if (PtInRect(&zone, event.point)) {
        if (m_draggable) {
            m_buttonState |= kStateCaptured;
            m_lastMouse = event.point;
        }
        return;
    }
    m_buttonState |= kStatePushed;
    if (m_manager != nullptr) m_manager->SendNotification(this, m_clickNotification);
    RequestRepaint();
}

void CListHeaderItemUI::OnDragMove(const TEventInfo& event)
{
    CUIRect rc = m_item;
    const int dx = event.point.x - m_lastMouse.x;
    if (m_separatorWidth < 0)
        rc.left += dx;
    else
        rc.right += dx;
    // Never as narrow as the minimum: the move is dropped instead.
    if (rc.Width() <= GetScaledMinWidth()) return;
    int width = rc.Width();
    if (m_manager != nullptr) width = m_manager->DpiScaler()->UnscaleValue(width);
    m_lastMouse = event.point;
    SetFixedWidthValue(width);
}

void CListHeaderItemUI::EndPress()
{
    if ((m_buttonState & kStateCaptured) != 0) {
        m_buttonState &= ~kStateCaptured;
        if (m_parent != nullptr) m_parent->RequestParentRelayout();
    } else if ((m_buttonState & kStatePushed) != 0) {
        m_buttonState &= ~kStatePushed;
        RequestRepaint();
    }
}

void CListHeaderItemUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CContainerUI::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_KILLFOCUS:
    case UIEVENT_SETFOCUS:
        RequestRepaint();
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (GetEnabledState()) OnButtonDown(event);
        return;
    case UIEVENT_BUTTONUP:
        EndPress();
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_buttonState & kStateCaptured) != 0) OnDragMove(event);
        return;
    case UIEVENT_SETCURSOR: {
        const CUIRect zone = DragZone();
        if (GetEnabledState() && m_draggable && PtInRect(&zone, event.point)) {
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            return;
        }
        break;
    }
    case UIEVENT_MOUSEENTER:
        if (GetEnabledState()) {
            m_buttonState |= kStateHot;
            RequestRepaint();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (GetEnabledState()) {
            m_buttonState &= ~kStateHot;
            RequestRepaint();
        }
        return;
    default:
        break;
    }
    CContainerUI::HandleEvent(event);
}

CUISize CListHeaderItemUI::MeasureDesiredSize(CUISize available)
{
    if (GetScaledFixedHeight() == 0) {
        const int fontHeight = m_manager != nullptr ? m_manager->DefaultFontEntry()->metrics.tmHeight : 0;
        return CUISize(GetScaledFixedWidth(), fontHeight + 14);
    }
    return CContainerUI::MeasureDesiredSize(available);
}

void CListHeaderItemUI::PaintStateImage(HDC dc)
{
    if (HasFocus())
        m_buttonState |= kStateFocused;
    else
        m_buttonState &= ~kStateFocused;
    const CUIString* state = nullptr;
    if ((m_buttonState & kStatePushed) != 0)
        state = &m_pushedImage;
    else if ((m_buttonState & kStateHot) != 0)
        state = &m_hotImage;
    else if ((m_buttonState & kStateFocused) != 0)
        state = &m_focusedImage;
    if (state != nullptr) {
        if (state->IsEmpty() && !m_normalImage.IsEmpty()) DrawImageSpec(dc, m_normalImage, nullptr);
        if (!state->IsEmpty()) DrawImageSpec(dc, *state, nullptr);
    } else if (!m_normalImage.IsEmpty()) {
        DrawImageSpec(dc, m_normalImage, nullptr);
    }
    if (m_separatorImage.IsEmpty()) return;
    CUIRect sep = GetSeparatorRect();
    sep.Translate(-m_item.left, -m_item.top);
    // Skin pixels: the image text is scaled when parsed.
    sep = UnscaledRect(sep);
    m_separatorModifier.Printf(L"dest='%d,%d,%d,%d'", sep.left, sep.top, sep.right, sep.bottom);
    DrawImageSpec(dc, m_separatorImage, m_separatorModifier);
}

void CListHeaderItemUI::PaintTextLayer(HDC dc)
{
    if (m_manager == nullptr) return;
    if (m_textColor == 0) m_textColor = m_manager->DefaultTextColor();
    const CUIString text = GetTextContent();
    if (text.IsEmpty()) return;
    RECT rc = {m_item.left + Scaled(m_textPadding.left) + TextLeftInset(), m_item.top + Scaled(m_textPadding.top),
               m_item.right - Scaled(m_textPadding.right), m_item.bottom - Scaled(m_textPadding.bottom)};
    CRenderKit::DrawControlText(dc, m_manager, rc, text, m_textColor, m_font, m_textStyle, m_showHtml);
}

void CListHeaderItemUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    struct ImageSlot {
        const wchar_t* name;
        CUIString CListHeaderItemUI::*field;
    };
    static const ImageSlot kImages[] = {
        {L"normalimage", &CListHeaderItemUI::m_normalImage},   {L"hotimage", &CListHeaderItemUI::m_hotImage},
        {L"pushedimage", &CListHeaderItemUI::m_pushedImage},   {L"focusedimage", &CListHeaderItemUI::m_focusedImage},
        {L"sepimage", &CListHeaderItemUI::m_separatorImage},
    };
    if (AttrNameEquals(name, L"dragable")) {
        SetDraggable(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"sepwidth")) {
        m_separatorWidth = ParseAttrInt(value);
    } else if (AttrNameEquals(name, L"align")) {
        ApplyHorizontalAlignWords(m_textStyle, value);
    } else if (AttrNameEquals(name, L"endellipsis")) {
        if (ParseAttrBool(value))
            m_textStyle |= DT_END_ELLIPSIS;
        else
            m_textStyle &= ~static_cast<UINT>(DT_END_ELLIPSIS);
    } else if (AttrNameEquals(name, L"font")) {
        m_font = ParseAttrInt(value);
    } else if (AttrNameEquals(name, L"textcolor")) {
        m_textColor = ParseAttrColor(value, false);
    } else if (AttrNameEquals(name, L"textpadding")) {
        int32_t v[4] = {0, 0, 0, 0};
        ParseAttrIntList(value, v, 4);
        m_textPadding = CUIRect(v[0], v[1], v[2], v[3]);
        RequestRepaint();
    } else if (AttrNameEquals(name, L"showhtml")) {
        const bool on = ParseAttrBool(value);
        if (on != m_showHtml) {
            m_showHtml = on;
            RequestRepaint();
        }
    } else if (AttrNameEquals(name, L"scale")) {
        m_scale = ParseAttrInt(value);
    } else {
        for (const ImageSlot& slot : kImages) {
            if (AttrNameEquals(name, slot.name)) {
                this->*slot.field = value;
                RequestRepaint();
                return;
            }
        }
        CContainerUI::ApplyAttribute(name, value);
    }
}

} // namespace SkinUI
