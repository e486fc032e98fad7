#include "app/controls/SButtonUI.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CSButtonUI::CSButtonUI()
    : m_selected(false),
      m_selectedFont(-1),
      m_selectedBkColor(0),
      m_selectedTextColor(0),
      m_selectedHotTextColor(0),
      m_selectedStateCount(0)
{
}

CSButtonUI::~CSButtonUI() = default;

const wchar_t* CSButtonUI::GetTypeName() const
{
    return L"SButtonUI";
}

void* CSButtonUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"SButton") == 0) return this;
    return CButtonUI::FindInterface(name);
}

void CSButtonUI::SetEnabledState(bool enabled)
{
    CButtonUI::SetEnabledState(enabled);
    // A disabled button keeps showing whether it is selected.
    if (!GetEnabledState()) m_buttonState = m_selected ? uint32_t(UISTATE_SELECTED) : 0u;
}

const CUIString& CSButtonUI::GetSelectedStateImageSpec() const
{
    return m_selectedStateImage;
}

void CSButtonUI::SetSelectedStateImageSpec(const wchar_t* text)
{
    m_selectedStateImage = text;
    RequestRepaint();
}

void CSButtonUI::SetSelectedState(bool selected)
{
    m_selected = selected;
    if (selected) m_buttonState |= UISTATE_SELECTED;
    else m_buttonState &= ~UISTATE_SELECTED;
    RequestRepaint();
}

void CSButtonUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    // Setters that show at once repaint; the two plain colours show at the next paint.
    auto setImage = [this](CUIString& field, const wchar_t* text) {
        field = text;
        RequestRepaint();
    };
    if (AttrNameEquals(name, L"selected")) SetSelectedState(ParseAttrBool(value));
    else if (AttrNameEquals(name, L"selectedimage")) setImage(m_selectedImage, value);
    else if (AttrNameEquals(name, L"selectedhotimage")) setImage(m_selectedHotImage, value);
    else if (AttrNameEquals(name, L"selectedpushedimage")) setImage(m_selectedPushedImage, value);
    else if (AttrNameEquals(name, L"selectedforeimage")) setImage(m_selectedForeImage, value);
    else if (AttrNameEquals(name, L"selectedstateimage")) SetSelectedStateImageSpec(value);
    else if (AttrNameEquals(name, L"selectedstatecount")) {
        m_selectedStateCount = ParseAttrInt(value);
        RequestRepaint();
    } else if (AttrNameEquals(name, L"selectedbkcolor")) {
        m_selectedBkColor = ParseAttrColor(value, false);
    } else if (AttrNameEquals(name, L"selectedtextcolor")) {
        m_selectedTextColor = ParseAttrColor(value, false);
    } else if (AttrNameEquals(name, L"selectedhottextcolor")) {
        m_selectedHotTextColor = ParseAttrColor(value, false);
        RequestRepaint();
    } else if (AttrNameEquals(name, L"selectedfont")) {
        m_selectedFont = ParseAttrInt(value);
        RequestRepaint();
    } else {
        CButtonUI::ApplyAttribute(name, value);
    }
}

void CSButtonUI::PaintBackgroundColor(HDC dc)
{
    if (!m_selected) {
        CButtonUI::PaintBackgroundColor(dc);
        return;
    }
    if (m_selectedBkColor != 0) CRenderKit::FillRectColor(dc, m_item, ApplyHslToColor(m_selectedBkColor));
}

void CSButtonUI::PaintStateImage(HDC dc)
{
    if (!m_selected) {
        CButtonUI::PaintStateImage(dc);
        return;
    }
    // Frames of the strip, cut once: 0 selected, 1 hot and pushed, 2 pushed.
    CutStateStrip(m_selectedStateImage, m_selectedStateCount, m_selectedImage, m_selectedHotImage,
                  m_selectedPushedImage, nullptr);
    if (m_buttonState & UISTATE_PUSHED) {
        if (!m_selectedPushedImage.IsEmpty() && DrawImageSpec(dc, m_selectedPushedImage, nullptr)) return;
    } else if (m_buttonState & UISTATE_HOT) {
        if (!m_selectedHotImage.IsEmpty() && DrawImageSpec(dc, m_selectedHotImage, nullptr)) return;
    }
    if (!m_selectedImage.IsEmpty()) DrawImageSpec(dc, m_selectedImage, nullptr);
}

void CSButtonUI::PaintForegroundImage(HDC dc)
{
    if (m_selected && !m_selectedForeImage.IsEmpty() && DrawImageSpec(dc, m_selectedForeImage, nullptr)) return;
    CButtonUI::PaintForegroundImage(dc);
}

void CSButtonUI::PaintTextLayer(HDC dc)
{
    if (!m_selected) {
        CButtonUI::PaintTextLayer(dc);
        return;
    }
    if (m_manager == nullptr) return;
    DWORD color = m_textColor;
    bool replaced = false;
    if (m_selectedTextColor != 0) {
        color = m_selectedTextColor;
        replaced = true;
    }
    if ((m_buttonState & UISTATE_HOT) && m_selectedHotTextColor != 0) {
        color = m_selectedHotTextColor;
        replaced = true;
    }
    if (!replaced && color == 0) color = m_manager->DefaultTextColor();
    const DWORD disabledColor = m_disabledTextColor != 0 ? m_disabledTextColor : m_manager->DefaultDisabledTextColor();
    const int font = m_selectedFont != -1 ? m_selectedFont : m_font;

    const CUIString text = GetTextContent();
    if (!text.IsEmpty()) DrawButtonText(dc, text, GetEnabledState() ? color : disabledColor, font);
}

} // namespace SkinUI
