#include "uilib/control/GroupBox.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CGroupBoxUI::CGroupBoxUI()
    : m_textColor(0), m_disabledTextColor(0), m_font(-1), m_textStyle(DT_SINGLELINE | DT_VCENTER | DT_CENTER)
{
    SetInsetRect(20, 25, 20, 20);
}

const wchar_t* CGroupBoxUI::GetTypeName() const
{
    return L"GroupBoxUI";
}

void* CGroupBoxUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"GroupBox") == 0) return this;
    return CVerticalLayoutUI::FindInterface(name);
}

void CGroupBoxUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (CompareTextIgnoreCase(name, L"textcolor") == 0)
        SetTextColor(ParseAttrColor(value, false));
    else if (CompareTextIgnoreCase(name, L"disabledtextcolor") == 0)
        SetDisabledTextColor(ParseAttrColor(value, false));
    else if (CompareTextIgnoreCase(name, L"font") == 0)
        SetFont(ParseAttrInt(value));
    CVerticalLayoutUI::ApplyAttribute(name, value);
}

void CGroupBoxUI::SetTextColor(DWORD argb)
{
    m_textColor = argb;
    RequestRepaint();
}

void CGroupBoxUI::SetDisabledTextColor(DWORD argb)
{
    m_disabledTextColor = argb;
    RequestRepaint();
}

void CGroupBoxUI::SetFont(int id)
{
    m_font = id;
    RequestRepaint();
}

CUIRect CGroupBoxUI::FrameRect() const
{
    CUIRect frame = m_item;
    frame.Shrink(Scaled(kFrameInset), Scaled(kFrameInset));
    return frame;
}

CUIRect CGroupBoxUI::CaptionRect(HDC dc) const
{
    if (GetTextContent().IsEmpty()) return CUIRect();
    const CUIRect frame = FrameRect();
    const CUISize caption = MeasureCaption(dc, frame.Width());
    const int left = frame.left + Scaled(kCaptionIndent);
    return CUIRect(left, m_item.top, left + caption.cx, m_item.top + caption.cy);
}

CUISize CGroupBoxUI::MeasureCaption(HDC dc, int available) const
{
    if (m_manager == nullptr || dc == nullptr) return CUISize(0, 0);
    // A single-line caption wider than the frame keeps its full width.
    RECT rc = {0, 0, available > m_fixedOrigin.cx ? available : m_fixedOrigin.cx, 20};
    CRenderKit::DrawPlainText(dc, m_manager, rc, GetTextContent(), m_textColor, m_font,
                              m_textStyle | DT_CALCRECT);
    return CUISize(rc.right - rc.left, rc.bottom - rc.top);
}

void CGroupBoxUI::PaintTextLayer(HDC dc)
{
    const CUIString text = GetTextContent();
    if (text.IsEmpty() || m_manager == nullptr) return;
    if (m_textColor == 0) m_textColor = m_manager->DefaultTextColor();
    if (m_disabledTextColor == 0) m_disabledTextColor = m_manager->DefaultDisabledTextColor();
    RECT rc = CaptionRect(dc);
    CRenderKit::DrawTextOverColor(dc, m_manager, rc, text, GetEnabledState() ? m_textColor : m_disabledTextColor,
                                  m_font, m_textStyle, ApplyHslToColor(m_backColor1));
}

void CGroupBoxUI::PaintBorderLines(HDC dc)
{
    const int width = Scaled(m_borderWidth);
    if (width <= 0) return;
    const int roundW = Scaled(m_borderRound.cx);
    const int roundH = Scaled(m_borderRound.cy);
    const DWORD color =
        ApplyHslToColor((HasFocus() && m_focusBorderColor != 0) ? m_focusBorderColor : m_borderColor);
    const CUIRect frame = FrameRect();
    // The line breaks behind the caption, with air either side, whatever the
    // background.
    const CUIRect caption = CaptionRect(dc);
    const int gap = Scaled(kCaptionGap);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, caption.left - gap, caption.top, caption.right + gap, caption.bottom);
    if (roundW < 1 && roundH < 1)
        CRenderKit::DrawRectOutline(dc, frame, width, color);
    else
        CRenderKit::DrawRoundRectOutline(dc, frame, width, roundW, roundH, color);
    RestoreDC(dc, saved);
    PaintTextLayer(dc);
}

} // namespace SkinUI
