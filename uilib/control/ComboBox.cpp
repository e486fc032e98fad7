#include "uilib/control/ComboBox.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CComboBoxUI::CComboBoxUI() : m_arrowWidth(0) {}

const wchar_t* CComboBoxUI::GetTypeName() const
{
    return L"ComboBoxUI";
}

void CComboBoxUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (CompareTextIgnoreCase(name, L"arrowimage") == 0) {
        m_arrowImage = value;
        return;
    }
    CComboUI::ApplyAttribute(name, value);
}

int CComboBoxUI::ArrowStateOf(uint32_t stateBits)
{
    if ((stateBits & kStateDisabled) != 0) return kArrowDisabled;
    if ((stateBits & kStatePushed) != 0) return kArrowPushed;
    if ((stateBits & kStateHot) != 0) return kArrowHot;
    if ((stateBits & kStateFocused) != 0) return kArrowFocused;
    return kArrowNormal;
}

bool CComboBoxUI::ComposeArrowModifier(const CUIString& arrowImage, int state, int width, int height, int border,
                                       CUIString& modifier, int& arrowWidth)
{
    const int source = arrowImage.IndexOf(L"source");
    if (source < 0) return false;
    // The search starts past "source=" and never beyond the text's end.
    const int searchFrom = source + 7 <= arrowImage.Length() ? source + 7 : arrowImage.Length();
    const int open = arrowImage.IndexOfChar(L'\'', searchFrom);
    if (open < 0) return false;
    const int close = arrowImage.IndexOfChar(L'\'', open + 1);
    if (close < 0) return false;

    int32_t src[4] = {0, 0, 0, 0};
    const CUIString inside = arrowImage.Substring(open + 1, close - open - 1);
    ParseAttrIntList(inside, src, 4);
    arrowWidth = (src[2] - src[0]) / 5;
    const int left = src[0] + state * arrowWidth;
    const RECT dest = {width - border - arrowWidth, border, width - border, height - border};

    CUIString replacement;
    replacement.Printf(L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", left, src[1], left + arrowWidth, src[3],
                       dest.left, dest.top, dest.right, dest.bottom);
    modifier = arrowImage;
    modifier.ReplaceAll(arrowImage.Substring(source, close - source + 1), replacement);
    return true;
}

void CComboBoxUI::PaintStateImage(HDC dc)
{
    if (m_arrowImage.IsEmpty()) {
        CComboUI::PaintStateImage(dc);
        return;
    }
    RefreshStateBits();
    CUIString modifier;
    int arrowWidth = 0;
    // The modifier is written in skin pixels: the image text is scaled once
    // more when it is parsed.
    if (!ComposeArrowModifier(m_arrowImage, ArrowStateOf(GetButtonState()), Unscaled(m_item.Width()),
                              Unscaled(m_item.Height()), GetBorderLineWidth(), modifier, arrowWidth))
        return;
    m_arrowWidth = Scaled(arrowWidth);
    DrawImageSpec(dc, m_arrowImage, modifier);
}

void CComboBoxUI::PaintTextLayer(HDC dc)
{
    const int selected = GetSelectedIndex();
    CControlUI* row = selected >= 0 ? GetChildAt(selected) : nullptr;
    if (row == nullptr) return;
    const CUIRect& padding = GetTextPadding();
    RECT rc = {m_item.left + Scaled(padding.left), m_item.top + Scaled(padding.top),
               m_item.right - Scaled(padding.right) - m_arrowWidth, m_item.bottom - Scaled(padding.bottom)};
    if (IListItemUI* item = AsListItem(row)) {
        // One line, centred in the box and cut with an ellipsis, whatever the
        // rows do in the drop-down.
        TListItemStyle* style = GetListStyleInfo();
        const UINT rowStyle = style->textStyle;
        style->textStyle = (rowStyle & ~static_cast<UINT>(DT_WORDBREAK | DT_BOTTOM)) | DT_SINGLELINE | DT_VCENTER |
                            DT_END_ELLIPSIS;
        item->PaintItemText(dc, rc);
        style->textStyle = rowStyle;
        return;
    }
    // Not a row: paint it in the text area, then put it back.
    const CUIRect old = row->GetPosition();
    row->SetPosition(rc, true);
    row->PaintSelf(dc, rc, nullptr);
    row->SetPosition(old, true);
}

} // namespace SkinUI
