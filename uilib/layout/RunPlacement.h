#pragma once

#include <vector>

#include "uilib/core/UIControl.h"

namespace SkinUI {

// A child of a box or a list along the axis it stacks on, measured once.
struct TRunItem {
    CControlUI* child;
    bool stretches;  // takes a share of what the others leave
    int skinSize;    // skin pixels when the child stands at its skin size, else 0
    int size;        // device pixels the child measured to
    int minSize;     // device bounds of a stretching child
    int maxSize;
    int skinBefore;  // its paddings, skin pixels
    int skinAfter;
    int start;       // where placing put it, device pixels
    int end;
};

// The item of a child that measured to measured device pixels along the
// axis, vertical or not; 0 makes it stretch.
TRunItem MakeRunItem(CControlUI* child, int measured, bool vertical);

// Places items one after another from origin, skinGap skin pixels apart, in
// length device pixels; answers the device length they take. Skin pixels are
// scaled along one run, so rounding never adds up; a child at its skin size
// keeps its scaled size where the space beside it can take the rounding, and
// the last child ends where the run ends: on the edge when stretching
// children fill the length.
int PlaceRunItems(const CControlUI& scaler, int origin, int length, int skinGap, std::vector<TRunItem>& items);

} // namespace SkinUI
