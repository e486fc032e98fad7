#pragma once

#include <windows.h>

#include "uilib/core/UIRect.h"

// The text attributes both EQ charts accept from the skin. The charts keep
// them as the skin gave them; only the font and the DrawText style reach
// what they draw.
struct ChartTextStyle {
    explicit ChartTextStyle(UINT defaultStyle) : style(defaultStyle) {}

    // Applies one attribute (names compared exactly); false when the name is
    // not a text attribute. repaint tells whether the change shows.
    bool Apply(const wchar_t* name, const wchar_t* value, bool& repaint);

    DWORD disabledTextColor = 0;
    int font = -1;
    UINT style;
    SkinUI::CUIRect padding;
    DWORD textColor = 0xFF444444;
};
