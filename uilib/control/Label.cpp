#include "uilib/control/Label.h"

#include <cwchar>

#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CLabelUI::CLabelUI()
    : m_textColor(0),
      m_disabledTextColor(0),
      m_font(-1),
      m_textStyle(kDefaultTextStyle),
      m_showHtml(false),
      m_autoWidth(false)
{
}

CLabelUI::~CLabelUI() = default;

const wchar_t* CLabelUI::GetTypeName() const
{
    return L"LabelUI";
}

void* CLabelUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Label") == 0) return this;
    return CControlUI::FindInterface(name);
}

uint32_t CLabelUI::GetBehaviorFlags() const
{
    return GetEnabledState() ? uint32_t(UIFLAG_SETCURSOR) : 0u;
}

void CLabelUI::SetTextContent(const wchar_t* text)
{
    CControlUI::SetTextContent(text);
    if (m_autoWidth) RequestParentRelayout();
}

void CLabelUI::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_SETFOCUS) {
        m_focused = true;
        return;
    }
    if (event.type == UIEVENT_KILLFOCUS) {
        m_focused = false;
        return;
    }
    CControlUI::HandleEvent(event);
}

bool CLabelUI::IsAutoWidth() const
{
    return m_autoWidth;
}

void CLabelUI::SetAutoWidth(bool on)
{
    m_autoWidth = on;
}

void CLabelUI::SetTextColor(DWORD argb)
{
    m_textColor = argb;
    RequestRepaint();
}

void CLabelUI::SetDisabledTextColor(DWORD argb)
{
    m_disabledTextColor = argb;
    RequestRepaint();
}

void CLabelUI::SetFont(int id)
{
    m_font = id;
    RequestRepaint();
}

void CLabelUI::SetTextPadding(int left, int top, int right, int bottom)
{
    m_textPadding = CUIRect(left, top, right, bottom);
    RequestRepaint();
}

void CLabelUI::SetShowHtml(bool on)
{
    if (m_showHtml == on) return;
    m_showHtml = on;
    RequestRepaint();
}

void CLabelUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"align")) {
        if (wcsstr(value, L"left") != nullptr) {
            m_textStyle &= ~(DT_CENTER | DT_RIGHT);
        } else if (wcsstr(value, L"center") != nullptr) {
            m_textStyle = (m_textStyle & ~DT_RIGHT) | DT_CENTER;
        } else if (wcsstr(value, L"right") != nullptr) {
            m_textStyle = (m_textStyle & ~DT_CENTER) | DT_RIGHT;
        }
    } else if (AttrNameEquals(name, L"valign")) {
        if (wcsstr(value, L"top") != nullptr) {
            m_textStyle = (m_textStyle & ~(DT_VCENTER | DT_BOTTOM | DT_WORDBREAK)) | DT_SINGLELINE;
        } else if (wcsstr(value, L"vcenter") != nullptr) {
            m_textStyle = (m_textStyle & ~(DT_BOTTOM | DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
        } else if (wcsstr(value, L"bottom") != nullptr) {
            m_textStyle = (m_textStyle & ~(DT_VCENTER | DT_WORDBREAK)) | DT_BOTTOM | DT_SINGLELINE;
        }
    } else if (AttrNameEquals(name, L"endellipsis")) {
        if (ParseAttrBool(value)) m_textStyle |= DT_END_ELLIPSIS;
        else m_textStyle &= ~DT_END_ELLIPSIS;
    } else if (AttrNameEquals(name, L"wordbreak")) {
        if (ParseAttrBool(value)) m_textStyle = (m_textStyle & ~DT_SINGLELINE) | DT_WORDBREAK | DT_EDITCONTROL;
        else m_textStyle = (m_textStyle & ~(DT_WORDBREAK | DT_EDITCONTROL)) | DT_SINGLELINE;
    } else if (AttrNameEquals(name, L"noprefix")) {
        if (ParseAttrBool(value)) m_textStyle |= DT_NOPREFIX;
        else m_textStyle &= ~DT_NOPREFIX;
    } else if (AttrNameEquals(name, L"font")) {
        SetFont(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"textcolor")) {
        SetTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"disabledtextcolor")) {
        SetDisabledTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"textpadding")) {
        int32_t v[4];
        ParseAttrIntList(value, v, 4);
        SetTextPadding(v[0], v[1], v[2], v[3]);
    } else if (AttrNameEquals(name, L"showhtml")) {
        SetShowHtml(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"autocalcwidth")) {
        SetAutoWidth(ParseAttrBool(value));
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

CUIRect CLabelUI::ScaledTextPadding() const
{
    return CUIRect(Scaled(m_textPadding.left), Scaled(m_textPadding.top), Scaled(m_textPadding.right),
                   Scaled(m_textPadding.bottom));
}

CUISize CLabelUI::MeasureDesiredSize(CUISize available)
{
    if (m_manager == nullptr) return CControlUI::MeasureDesiredSize(available);

    if (m_autoWidth) {
        // A window-less manager has no paint DC; a screen-compatible one measures alike.
        HDC dc = m_manager->DeviceContext();
        HDC ownDC = nullptr;
        if (dc == nullptr) dc = ownDC = CreateCompatibleDC(nullptr);
        CUIString text = GetTextContent();
        RECT rc = {0, 0, available.cx, available.cy};
        UINT style = m_textStyle | DT_CALCRECT;
        CRenderKit::DrawControlText(dc, m_manager, rc, text, 0, m_font, style, m_showHtml);
        if (ownDC != nullptr) DeleteDC(ownDC);
        CUIRect padding = ScaledTextPadding();
        m_fixedSize.cx = Unscaled((rc.right - rc.left) + padding.left + padding.right);
    }

    if (m_fixedSize.cy != 0) return CControlUI::MeasureDesiredSize(available);
    TFontEntry* font = m_manager->FontEntry(m_font);
    int height = (font != nullptr ? font->metrics.tmHeight : 0) + 4;
    return CUISize(GetScaledFixedWidth(), height);
}

void CLabelUI::ResolveDefaultTextColors()
{
    if (m_manager == nullptr) return;
    if (m_textColor == 0) m_textColor = m_manager->DefaultTextColor();
    if (m_disabledTextColor == 0) m_disabledTextColor = m_manager->DefaultDisabledTextColor();
}

void CLabelUI::PaintTextLayer(HDC dc)
{
    if (m_manager == nullptr) return;
    ResolveDefaultTextColors();
    CUIString text = GetTextContent();
    if (text.IsEmpty()) return;

    CUIRect padding = ScaledTextPadding();
    RECT rc = m_item;
    rc.left += padding.left;
    rc.right -= padding.right;
    rc.top += padding.top;
    rc.bottom -= padding.bottom;
    DWORD color = GetEnabledState() ? m_textColor : m_disabledTextColor;
    CRenderKit::DrawControlText(dc, m_manager, rc, text, color, m_font, m_textStyle, m_showHtml);
}

} // namespace SkinUI
