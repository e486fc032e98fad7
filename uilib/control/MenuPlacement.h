#pragma once

#include <cstdint>
#include <windows.h>

namespace SkinUI {

// Placement bits of a menu window.
enum UIMenuAlign : uint32_t {
    MenuAlignLeft = 2,
    MenuAlignTop = 4,
    MenuAlignRight = 8,
    MenuAlignBottom = 16,
    MenuAlignSideFixed = 32,
};

// How much wider than its widest row a top-level menu window is, and a
// sub-menu opening to the right of its parent.
constexpr int kTopLevelMenuExtraWidth = 8;
constexpr int kSubMenuExtraWidth = 2;

// The screen rectangle of a top-level menu measuring (width, height) opened
// at point: kTopLevelMenuExtraWidth pixels wider than measured, taller by the root's vertical
// inset, its right or bottom edge at the point on MenuAlignRight or
// MenuAlignBottom, then moved inside the work area where it fits.
RECT PlaceTopLevelMenu(POINT point, int width, int height, int insetHeight, uint32_t align, const RECT& work);

struct TSubMenuPlacement {
    RECT parentWindow;  // screen rectangle of the parent menu window
    int rowTop;         // screen top of the row that opens the sub-menu
    int width;          // widest sub-row
    int height;         // all sub-rows
    int lastRowHeight;
    bool reachRight;    // another open menu already lies right of the parent
    bool reachBottom;   // another open menu already lies below the parent
    uint32_t align;
    RECT work;
};

// The screen rectangle of a sub-menu (before its inset is added): right of
// the parent unless the side is fixed to the left or the right is taken,
// corrected against the work area.
RECT PlaceSubMenu(const TSubMenuPlacement& in);

} // namespace SkinUI
