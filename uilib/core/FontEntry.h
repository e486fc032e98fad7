#pragma once

#include <windows.h>

#include "uilib/core/UIString.h"

namespace SkinUI {

// One font of the skin: the handle and what it was made from.
struct TFontEntry {
    HFONT font = nullptr;
    CUIString face;
    // Character height in unscaled skin pixels.
    int size = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    // All zero until first measured.
    TEXTMETRICW metrics = {};
};

} // namespace SkinUI
