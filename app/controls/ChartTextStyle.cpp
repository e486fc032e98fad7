#include "app/controls/ChartTextStyle.h"

#include <cwchar>

#include "uilib/core/AttrParse.h"

using namespace SkinUI;

namespace {

// Sets or clears bits by a boolean attribute value.
void SetBits(UINT& style, UINT bits, bool on)
{
    if (on) style |= bits;
    else style &= ~bits;
}

} // namespace

bool ChartTextStyle::Apply(const wchar_t* name, const wchar_t* value, bool& repaint)
{
    repaint = false;
    if (name == nullptr || value == nullptr) return false;
    if (wcscmp(name, L"align") == 0) {
        // Every word found applies, in this order.
        if (wcsstr(value, L"left") != nullptr) style &= ~(DT_CENTER | DT_RIGHT);
        if (wcsstr(value, L"center") != nullptr) style = (style & ~DT_RIGHT) | DT_CENTER;
        if (wcsstr(value, L"right") != nullptr) style = (style & ~DT_CENTER) | DT_RIGHT;
    } else if (wcscmp(name, L"valign") == 0) {
        if (wcsstr(value, L"top") != nullptr) style = (style & ~(DT_VCENTER | DT_BOTTOM | DT_WORDBREAK)) | DT_SINGLELINE;
        if (wcsstr(value, L"vcenter") != nullptr) style = (style & ~(DT_BOTTOM | DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
        if (wcsstr(value, L"bottom") != nullptr) style = (style & ~(DT_VCENTER | DT_WORDBREAK)) | DT_BOTTOM | DT_SINGLELINE;
    } else if (wcscmp(name, L"endellipsis") == 0) {
        SetBits(style, DT_END_ELLIPSIS, ParseAttrBool(value));
    } else if (wcscmp(name, L"wordbreak") == 0) {
        const bool on = ParseAttrBool(value);
        SetBits(style, DT_WORDBREAK | DT_EDITCONTROL, on);
        SetBits(style, DT_SINGLELINE, !on);
    } else if (wcscmp(name, L"noprefix") == 0) {
        SetBits(style, DT_NOPREFIX, ParseAttrBool(value));
    } else if (wcscmp(name, L"font") == 0) {
        font = ParseAttrInt(value);
        repaint = true;
    } else if (wcscmp(name, L"textcolor") == 0) {
        textColor = ParseAttrColor(value, false);
        repaint = true;
    } else if (wcscmp(name, L"disabledtextcolor") == 0) {
        disabledTextColor = ParseAttrColor(value, false);
        repaint = true;
    } else if (wcscmp(name, L"textpadding") == 0) {
        int32_t v[4];
        ParseAttrIntList(value, v, 4);
        padding = CUIRect(v[0], v[1], v[2], v[3]);
        repaint = true;
    } else {
        return false;
    }
    return true;
}
