#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// The state images of a text entry control, picked by its button state bits.
struct TStateImages {
    static const uint32_t kFocused = 0x01;
    static const uint32_t kDisabled = 0x04;
    static const uint32_t kHot = 0x08;

    // Refreshes the focused and disabled bits of state from the control, then
    // draws the disabled, else the focused, else the hot image; the normal
    // image when that one is empty or does not draw.
    void Paint(CControlUI& control, HDC dc, uint32_t& state) const;

    CUIString normal;
    CUIString hot;
    CUIString focused;
    CUIString disabled;
};

} // namespace SkinUI
