#include "uilib/control/ListStyleAttributes.h"

#include <cwchar>

#include "uilib/core/AttrParse.h"

namespace SkinUI {

TListItemStyle::TListItemStyle()
    : columnCount(0),
      font(-1),
      textStyle(DT_VCENTER | DT_SINGLELINE),
      textColor(0xFF000000),
      backColor(0),
      alternateBack(false),
      selectedTextColor(0xFF000000),
      selectedBackColor(0xFFC1E3FF),
      hotTextColor(0xFF000000),
      hotBackColor(0xFFE9F5FF),
      disabledTextColor(0xFFCCCCCC),
      disabledBackColor(0xFFFFFFFF),
      lineColor(0),
      showRowLine(false),
      showColumnLine(false),
      showHtml(false),
      multipleExpanding(false),
      rightButtonSelects(false)
{
    for (RECT& rc : columns) rc = RECT{0, 0, 0, 0};
    textPadding = RECT{0, 0, 0, 0};
}

void ApplyHorizontalAlignWords(UINT& textStyle, const wchar_t* value)
{
    if (wcsstr(value, L"left") != nullptr) textStyle &= ~static_cast<UINT>(DT_CENTER | DT_RIGHT);
    if (wcsstr(value, L"center") != nullptr) {
        textStyle &= ~static_cast<UINT>(DT_RIGHT);
        textStyle |= DT_CENTER;
    }
    if (wcsstr(value, L"right") != nullptr) {
        textStyle &= ~static_cast<UINT>(DT_CENTER);
        textStyle |= DT_RIGHT;
    }
}

void ApplyItemVerticalAlignWords(UINT& textStyle, const wchar_t* value)
{
    if (wcsstr(value, L"top") != nullptr) textStyle &= ~static_cast<UINT>(DT_VCENTER | DT_BOTTOM);
    if (wcsstr(value, L"vcenter") != nullptr) {
        textStyle &= ~static_cast<UINT>(DT_BOTTOM | DT_WORDBREAK);
        textStyle |= DT_VCENTER | DT_SINGLELINE;
    }
    if (wcsstr(value, L"bottom") != nullptr) {
        textStyle &= ~static_cast<UINT>(DT_VCENTER);
        textStyle |= DT_BOTTOM;
    }
}

namespace {

struct ColorSlot {
    const wchar_t* name;
    DWORD TListItemStyle::*field;
};

struct ImageSlot {
    const wchar_t* name;
    CUIString TListItemStyle::*field;
};

const ColorSlot kColorSlots[] = {
    {L"itemtextcolor", &TListItemStyle::textColor},
    {L"itembkcolor", &TListItemStyle::backColor},
    {L"itemselectedtextcolor", &TListItemStyle::selectedTextColor},
    {L"itemselectedbkcolor", &TListItemStyle::selectedBackColor},
    {L"itemhottextcolor", &TListItemStyle::hotTextColor},
    {L"itemhotbkcolor", &TListItemStyle::hotBackColor},
    {L"itemdisabledtextcolor", &TListItemStyle::disabledTextColor},
    {L"itemdisabledbkcolor", &TListItemStyle::disabledBackColor},
    {L"itemlinecolor", &TListItemStyle::lineColor},
};

const ImageSlot kImageSlots[] = {
    {L"itembkimage", &TListItemStyle::backImage},
    {L"itemselectedimage", &TListItemStyle::selectedImage},
    {L"itemhotimage", &TListItemStyle::hotImage},
    {L"itemdisabledimage", &TListItemStyle::disabledImage},
};

} // namespace

ListStyleChange ApplyListStyleAttribute(TListItemStyle& style, const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"itemfont")) {
        style.font = ParseAttrInt(value);
        return ListStyleChange::TextFormat;
    }
    if (AttrNameEquals(name, L"itemalign")) {
        ApplyHorizontalAlignWords(style.textStyle, value);
        return ListStyleChange::TextFormat;
    }
    if (AttrNameEquals(name, L"itemvalign")) {
        ApplyItemVerticalAlignWords(style.textStyle, value);
        return ListStyleChange::TextFormat;
    }
    if (AttrNameEquals(name, L"itemendellipsis")) {
        if (ParseAttrBool(value))
            style.textStyle |= DT_END_ELLIPSIS;
        else
            style.textStyle &= ~static_cast<UINT>(DT_END_ELLIPSIS);
        return ListStyleChange::TextFormat;
    }
    if (AttrNameEquals(name, L"itemtextpadding")) {
        int32_t v[4] = {0, 0, 0, 0};
        ParseAttrIntList(value, v, 4);
        style.textPadding = RECT{v[0], v[1], v[2], v[3]};
        return ListStyleChange::Padding;
    }
    for (const ColorSlot& slot : kColorSlots) {
        if (AttrNameEquals(name, slot.name)) {
            style.*slot.field = ParseAttrColor(value, false);
            return ListStyleChange::Look;
        }
    }
    for (const ImageSlot& slot : kImageSlots) {
        if (AttrNameEquals(name, slot.name)) {
            style.*slot.field = value;
            return ListStyleChange::Look;
        }
    }
    if (AttrNameEquals(name, L"itemaltbk")) {
        style.alternateBack = ParseAttrBool(value);
        return ListStyleChange::Look;
    }
    if (AttrNameEquals(name, L"itemshowhtml")) {
        const bool on = ParseAttrBool(value);
        if (on == style.showHtml) return ListStyleChange::HtmlSame;
        style.showHtml = on;
        return ListStyleChange::HtmlChanged;
    }
    return ListStyleChange::NotStyle;
}

} // namespace SkinUI
