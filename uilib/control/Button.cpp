#include "uilib/control/Button.h"

#include "uilib/control/TabLayoutInterface.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CButtonUI::CButtonUI()
    : m_buttonState(0),
      m_hotFont(-1),
      m_pushedFont(-1),
      m_focusedFont(-1),
      m_hotBkColor(0),
      m_pushedBkColor(0),
      m_disabledBkColor(0),
      m_hotTextColor(0),
      m_pushedTextColor(0),
      m_focusedTextColor(0),
      m_stateCount(0),
      m_bindTabIndex(-1)
{
    m_textStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

CButtonUI::~CButtonUI() = default;

const wchar_t* CButtonUI::GetTypeName() const
{
    return L"ButtonUI";
}

void* CButtonUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Button") == 0) return this;
    return CLabelUI::FindInterface(name);
}

uint32_t CButtonUI::GetBehaviorFlags() const
{
    return (AcceptsKeyboard() ? uint32_t(UIFLAG_TABSTOP) : 0u) | (GetEnabledState() ? uint32_t(UIFLAG_SETCURSOR) : 0u);
}

bool CButtonUI::ActivateControl()
{
    return Activate();
}

bool CButtonUI::Activate()
{
    if (!CControlUI::ActivateControl()) return false;
    if (m_manager != nullptr) {
        m_manager->SendNotification(this, L"click", 0, 0, false);
        if (!m_bindTabLayoutName.IsEmpty() && m_bindTabIndex >= 0) {
            CControlUI* target = m_manager->FindControlByName(m_bindTabLayoutName);
            void* tabs = target != nullptr ? target->FindInterface(kTabLayoutInterface) : nullptr;
            if (tabs != nullptr) static_cast<ITabLayoutUI*>(tabs)->SelectPageAt(m_bindTabIndex);
        }
    }
    return true;
}

void CButtonUI::SetEnabledState(bool enabled)
{
    CLabelUI::SetEnabledState(enabled);
    if (!GetEnabledState()) m_buttonState = 0;
}

void CButtonUI::EndPress()
{
    m_buttonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
    RequestRepaint();
}

void CButtonUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CLabelUI::HandleEvent(event);
        return;
    }
    const bool inside = PtInRect(&m_item, event.point) != FALSE;
    switch (event.type) {
    case UIEVENT_KILLFOCUS:
    case UIEVENT_SETFOCUS:
        RequestRepaint();
        break;
    case UIEVENT_KEYDOWN:
        // Only the press acts (bit 30 marks a held key's repeats): a repeat
        // would answer the box the press opened.
        if (AcceptsKeyboard() && (event.keyChar == VK_SPACE || event.keyChar == VK_RETURN) &&
            (event.lParam & (1 << 30)) == 0) {
            Activate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (inside && GetEnabledState()) {
            m_buttonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            RequestRepaint();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_buttonState & UISTATE_CAPTURED) {
            if (inside) m_buttonState |= UISTATE_PUSHED;
            else m_buttonState &= ~UISTATE_PUSHED;
            RequestRepaint();
        }
        return;
    case UIEVENT_BUTTONUP:
        if (m_buttonState & UISTATE_CAPTURED) {
            EndPress();
            if (inside) Activate();
        }
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsMenuEnabled() && m_manager != nullptr) {
            m_manager->SendNotification(this, L"menu", event.wParam, event.lParam, false);
        }
        return;
    case UIEVENT_MOUSEENTER:
        if (GetEnabledState()) {
            m_buttonState |= UISTATE_HOT;
            RequestRepaint();
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (GetEnabledState()) {
            m_buttonState &= ~UISTATE_HOT;
            RequestRepaint();
        }
        break;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

const CUIString& CButtonUI::GetNormalImageSpec() const
{
    return m_normalImage;
}

void CButtonUI::SetNormalImageSpec(const wchar_t* text)
{
    m_normalImage = text;
    RequestRepaint();
}

const CUIString& CButtonUI::GetHotImageSpec() const
{
    return m_hotImage;
}

void CButtonUI::SetHotImageSpec(const wchar_t* text)
{
    m_hotImage = text;
    RequestRepaint();
}

const CUIString& CButtonUI::GetPushedImageSpec() const
{
    return m_pushedImage;
}

void CButtonUI::SetPushedImageSpec(const wchar_t* text)
{
    m_pushedImage = text;
    RequestRepaint();
}

const CUIString& CButtonUI::GetFocusedImageSpec() const
{
    return m_focusedImage;
}

void CButtonUI::SetFocusedImageSpec(const wchar_t* text)
{
    m_focusedImage = text;
    RequestRepaint();
}

const CUIString& CButtonUI::GetDisabledImageSpec() const
{
    return m_disabledImage;
}

void CButtonUI::SetDisabledImageSpec(const wchar_t* text)
{
    m_disabledImage = text;
    RequestRepaint();
}

const CUIString& CButtonUI::GetHotForeImageSpec() const
{
    return m_hotForeImage;
}

void CButtonUI::SetHotForeImageSpec(const wchar_t* text)
{
    m_hotForeImage = text;
    RequestRepaint();
}

const CUIString& CButtonUI::GetStateImageSpec() const
{
    return m_stateImage;
}

void CButtonUI::SetStateImageSpec(const wchar_t* text)
{
    m_normalImage.Clear();
    m_stateImage = text;
    RequestRepaint();
}

void CButtonUI::SetStateCount(int count)
{
    m_stateCount = count;
    RequestRepaint();
}

void CButtonUI::SetHotBkColor(DWORD argb)
{
    m_hotBkColor = argb;
    RequestRepaint();
}

void CButtonUI::SetPushedBkColor(DWORD argb)
{
    m_pushedBkColor = argb;
    RequestRepaint();
}

void CButtonUI::SetDisabledBkColor(DWORD argb)
{
    m_disabledBkColor = argb;
    RequestRepaint();
}

void CButtonUI::SetHotFont(int id)
{
    m_hotFont = id;
    RequestRepaint();
}

void CButtonUI::SetPushedFont(int id)
{
    m_pushedFont = id;
    RequestRepaint();
}

void CButtonUI::SetFocusedFont(int id)
{
    m_focusedFont = id;
    RequestRepaint();
}

void CButtonUI::SetBindTabIndex(int index)
{
    if (index >= 0) m_bindTabIndex = index;
}

void CButtonUI::SetBindTabLayoutName(const wchar_t* name)
{
    m_bindTabLayoutName = name;
}

void CButtonUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"normalimage")) SetNormalImageSpec(value);
    else if (AttrNameEquals(name, L"hotimage")) SetHotImageSpec(value);
    else if (AttrNameEquals(name, L"pushedimage")) SetPushedImageSpec(value);
    else if (AttrNameEquals(name, L"focusedimage")) SetFocusedImageSpec(value);
    else if (AttrNameEquals(name, L"disabledimage")) SetDisabledImageSpec(value);
    else if (AttrNameEquals(name, L"hotforeimage")) SetHotForeImageSpec(value);
    else if (AttrNameEquals(name, L"stateimage")) SetStateImageSpec(value);
    else if (AttrNameEquals(name, L"statecount")) SetStateCount(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"bindtabindex")) SetBindTabIndex(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"bindtablayoutname")) SetBindTabLayoutName(value);
    else if (AttrNameEquals(name, L"hotbkcolor")) SetHotBkColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"pushedbkcolor")) SetPushedBkColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"disabledbkcolor")) SetDisabledBkColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"hottextcolor")) SetHotTextColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"pushedtextcolor")) SetPushedTextColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"focusedtextcolor")) SetFocusedTextColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"hotfont")) SetHotFont(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"pushedfont")) SetPushedFont(ParseAttrInt(value));
    // Skins spell the focused font key "focuedfont"; the plain spelling is taken too.
    else if (AttrNameEquals(name, L"focuedfont") || AttrNameEquals(name, L"focusedfont")) {
        SetFocusedFont(ParseAttrInt(value));
    } else {
        CLabelUI::ApplyAttribute(name, value);
    }
}

void CButtonUI::RefreshStateBits()
{
    if (HasFocus()) m_buttonState |= UISTATE_FOCUSED;
    else m_buttonState &= ~UISTATE_FOCUSED;
    if (!GetEnabledState()) m_buttonState |= UISTATE_DISABLED;
    else m_buttonState &= ~UISTATE_DISABLED;
    HWND window = m_manager != nullptr ? m_manager->WindowHandle() : nullptr;
    if (window != nullptr && !IsWindowEnabled(window)) m_buttonState &= UISTATE_DISABLED;
}

void CButtonUI::CutStateStrip(const CUIString& strip, int count, CUIString& normal, CUIString& hot,
                              CUIString& pushed, CUIString* disabled)
{
    if (strip.IsEmpty() || count < 1 || !normal.IsEmpty() || m_manager == nullptr) return;
    TImageDrawSpec spec;
    spec.Parse(strip, nullptr, nullptr);
    TImageEntry* image = m_manager->FindOrLoadImage(
        spec.imageName, spec.resourceType.IsEmpty() ? nullptr : spec.resourceType.CStr(), spec.mask);
    if (image == nullptr) return;
    const int width = image->width / count;
    const int height = image->height;
    if (width < 1 || height < 1) return;

    auto cell = [&](int k, CUIString& out) {
        out.Printf(L"res='%s' restype='%s' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", spec.imageName.CStr(),
                   spec.resourceType.CStr(), spec.dest.left, spec.dest.top, spec.dest.right, spec.dest.bottom,
                   k * width, 0, (k + 1) * width, height);
    };
    cell(0, normal);
    if (count >= 2) {
        cell(1, hot);
        cell(1, pushed);
    }
    if (count >= 3) cell(2, pushed);
    if (count >= 4 && disabled != nullptr) cell(3, *disabled);
}

void CButtonUI::PaintBackgroundColor(HDC dc)
{
    RefreshStateBits();
    DWORD color = 0;
    if (m_buttonState & UISTATE_DISABLED) color = m_disabledBkColor;
    else if (m_buttonState & UISTATE_PUSHED) color = m_pushedBkColor;
    else if (m_buttonState & UISTATE_HOT) color = m_hotBkColor;
    if (color != 0) {
        CRenderKit::FillRectColor(dc, m_item, ApplyHslToColor(color));
        return;
    }
    CLabelUI::PaintBackgroundColor(dc);
}

void CButtonUI::PaintStateImage(HDC dc)
{
    CutStateStrip(m_stateImage, m_stateCount, m_normalImage, m_hotImage, m_pushedImage, &m_disabledImage);
    RefreshStateBits();

    const CUIString* image = nullptr;
    if (m_buttonState & UISTATE_DISABLED) image = &m_disabledImage;
    else if (m_buttonState & UISTATE_PUSHED) image = &m_pushedImage;
    else if (m_buttonState & UISTATE_HOT) image = &m_hotImage;
    else if (m_buttonState & UISTATE_FOCUSED) image = &m_focusedImage;
    if (image != nullptr && !image->IsEmpty() && DrawImageSpec(dc, *image, nullptr)) return;
    if (!m_normalImage.IsEmpty()) DrawImageSpec(dc, m_normalImage, nullptr);
}

void CButtonUI::PaintForegroundImage(HDC dc)
{
    const bool hotOnly = (m_buttonState & UISTATE_HOT) && !(m_buttonState & UISTATE_PUSHED);
    if (hotOnly && !m_hotForeImage.IsEmpty() && DrawImageSpec(dc, m_hotForeImage, nullptr)) return;
    CLabelUI::PaintForegroundImage(dc);
}

void CButtonUI::DrawButtonText(HDC dc, const wchar_t* text, DWORD color, int font)
{
    const CUIRect padding = ScaledTextPadding();
    RECT rc = m_item;
    rc.left += padding.left;
    rc.right -= padding.right;
    rc.top += padding.top;
    rc.bottom -= padding.bottom;

    if (m_textStyle & DT_WORDBREAK) {
        const int width = rc.right - rc.left;
        const int height = rc.bottom - rc.top;
        RECT measured = {0, 0, width, height};
        CRenderKit::DrawControlText(dc, m_manager, measured, text, color, font, m_textStyle | DT_CALCRECT,
                                    m_showHtml);
        const int dx = (width - (measured.right - measured.left)) / 2;
        const int dy = (height - (measured.bottom - measured.top)) / 2;
        rc.left += dx;
        rc.right -= dx;
        rc.top += dy;
        rc.bottom -= dy;
    }
    CRenderKit::DrawControlText(dc, m_manager, rc, text, color, font, m_textStyle, m_showHtml);
}

void CButtonUI::PaintTextLayer(HDC dc)
{
    if (m_manager == nullptr) return;
    RefreshStateBits();
    ResolveDefaultTextColors();
    const CUIString text = GetTextContent();
    if (text.IsEmpty()) return;

    DWORD color = GetEnabledState() ? m_textColor : m_disabledTextColor;
    int font = m_font;
    if ((m_buttonState & UISTATE_PUSHED) && m_pushedTextColor != 0) color = m_pushedTextColor;
    else if ((m_buttonState & UISTATE_HOT) && m_hotTextColor != 0) color = m_hotTextColor;
    else if ((m_buttonState & UISTATE_FOCUSED) && m_focusedTextColor != 0) color = m_focusedTextColor;
    if ((m_buttonState & UISTATE_PUSHED) && m_pushedFont != -1) font = m_pushedFont;
    else if ((m_buttonState & UISTATE_HOT) && m_hotFont != -1) font = m_hotFont;
    else if ((m_buttonState & UISTATE_FOCUSED) && m_focusedFont != -1) font = m_focusedFont;
    DrawButtonText(dc, text, color, font);
}

} // namespace SkinUI
