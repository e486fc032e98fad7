#pragma once

#include <windows.h>

#include "uilib/control/ListInterfaces.h"

namespace SkinUI {

// What applying one row-style attribute changed, so the owner can repaint or
// re-lay-out as it needs.
enum class ListStyleChange {
    NotStyle,    // not a row-style attribute
    TextFormat,  // font or DrawText flags
    Padding,     // text padding
    Look,        // colours, images, lines and flags that only need a repaint
    HtmlChanged, // "itemshowhtml" switched
    HtmlSame,    // "itemshowhtml" given its current value
};

// Applies the row-style attributes common to lists and combo boxes
// ("itemfont", "itemalign", ..., "itemshowhtml"); names ignore case.
ListStyleChange ApplyListStyleAttribute(TListItemStyle& style, const wchar_t* name, const wchar_t* value);

// "left", "center", "right" found in value (case-sensitive, in that order)
// adjust the horizontal DrawText alignment bits.
void ApplyHorizontalAlignWords(UINT& textStyle, const wchar_t* value);

// "top", "vcenter", "bottom" for row texts: "vcenter" also drops word breaks.
void ApplyItemVerticalAlignWords(UINT& textStyle, const wchar_t* value);

} // namespace SkinUI
