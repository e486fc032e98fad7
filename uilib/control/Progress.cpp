#include "uilib/control/Progress.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CProgressUI::CProgressUI()
    : m_showValueText(false), m_horizontal(true), m_stretchFore(true), m_max(100), m_min(0), m_value(0)
{
    m_textStyle = DT_SINGLELINE | DT_CENTER;
    m_fixedSize.cy = 12;
}

CProgressUI::~CProgressUI() = default;

const wchar_t* CProgressUI::GetTypeName() const
{
    return L"ProgressUI";
}

void* CProgressUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Progress") == 0) return this;
    return CLabelUI::FindInterface(name);
}

void CProgressUI::SetValue(int value)
{
    if (value == m_value || value < m_min || value > m_max) return;
    m_value = value;
    RequestRepaint();
    RefreshValueText();
}

void CProgressUI::SetMinValue(int value)
{
    m_min = value;
    RequestRepaint();
}

void CProgressUI::SetMaxValue(int value)
{
    m_max = value;
    RequestRepaint();
}

void CProgressUI::SetHorizontal(bool on)
{
    if (m_horizontal == on) return;
    m_horizontal = on;
    RequestRepaint();
}

void CProgressUI::SetStretchForeground(bool on)
{
    if (m_stretchFore == on) return;
    m_stretchFore = on;
    RequestRepaint();
}

void CProgressUI::SetDisabledForeImage(const wchar_t* text)
{
    m_disabledForeImage = text;
    RequestRepaint();
}

int CProgressUI::Span() const
{
    long long span = static_cast<long long>(m_max) - m_min;
    return span < 1 ? 1 : static_cast<int>(span);
}

void CProgressUI::RefreshValueText()
{
    if (!m_showValueText) return;
    float percent = static_cast<float>(m_value - m_min) * 100.0f / static_cast<float>(Span());
    CUIString text;
    text.Printf(L"%.0f%%", static_cast<double>(percent));
    SetTextContent(text);
}

void CProgressUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"hor")) SetHorizontal(ParseAttrBool(value));
    else if (AttrNameEquals(name, L"isstretchfore")) SetStretchForeground(ParseAttrBool(value));
    else if (AttrNameEquals(name, L"min")) SetMinValue(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"max")) SetMaxValue(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"value")) SetValue(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"disabledforeimage")) SetDisabledForeImage(value);
    else CLabelUI::ApplyAttribute(name, value);
}

void CProgressUI::NormalizeRange()
{
    if (m_max <= m_min) m_max = m_min + 1;
    if (m_value > m_max) m_value = m_max;
    if (m_value < m_min) m_value = m_min;
}

void CProgressUI::PaintForegroundColor(HDC dc)
{
    NormalizeRange();
    if (m_foreColor == 0) return;
    const long long span = Span();
    RECT rc = m_item;
    if (m_horizontal) {
        rc.right = m_item.left + static_cast<int>((m_value - m_min) * static_cast<long long>(m_item.Width()) / span);
    } else {
        // The value part is the bottom of a vertical bar.
        rc.top = m_item.top + static_cast<int>(m_item.Height() * static_cast<long long>(m_max - m_value) / span);
    }
    CRenderKit::FillRectColor(dc, rc, ApplyHslToColor(m_foreColor));
}

void CProgressUI::PaintForegroundImage(HDC dc)
{
    NormalizeRange();
    const CUIString& image =
        !GetEnabledState() && !m_disabledForeImage.IsEmpty() ? m_disabledForeImage : m_foreImage;
    if (image.IsEmpty()) return;
    const long long span = Span();
    const long long done = m_value - m_min;
    const long long left = m_max - m_value;
    // A destination in the image text is the full bar, in skin pixels.
    TImageDrawSpec spec;
    spec.Parse(image, nullptr, nullptr);
    RECT rc = spec.dest;
    if (rc.left != 0 || rc.top != 0 || rc.right != 0 || rc.bottom != 0) {
        if (m_horizontal) rc.right = rc.left + static_cast<int>((rc.right - rc.left) * done / span);
        else rc.top = rc.top + static_cast<int>(left * (rc.bottom - rc.top) / span);
    } else {
        const int width = m_item.Width();
        const int height = m_item.Height();
        if (m_horizontal) rc = {0, 0, static_cast<int>(done * width / span), height};
        else rc = {0, static_cast<int>(left * height / span), width, height};
        rc = UnscaledRect(rc);
    }
    if (m_stretchFore) {
        m_imageModifier.Printf(L"dest='%d,%d,%d,%d'", rc.left, rc.top, rc.right, rc.bottom);
    } else {
        m_imageModifier.Printf(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", rc.left, rc.top, rc.right, rc.bottom,
                               rc.left, rc.top, rc.right, rc.bottom);
    }
    DrawImageSpec(dc, image, m_imageModifier);
}

} // namespace SkinUI
