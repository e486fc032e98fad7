#pragma once

#include <vector>

#include "uilib/core/UIControl.h"

namespace SkinUI {

// What a child of a box or a list asks for along the axis it stacks on,
// measured once.
struct TRunAsk {
    bool stretches;  // takes a share of what the others leave
    int skinSize;    // skin pixels when the child stands at its skin size, else 0
    int size;        // device pixels it measured to, within its bounds; 0 when it stretches
    int minSize;     // device bounds of its size
    int maxSize;
    int skinBefore;  // its paddings, skin pixels
    int skinAfter;
};

// Where placing put a child, device pixels.
struct TRunSpan {
    int start;
    int end;
};

struct TRunItem {
    CControlUI* child;
    TRunAsk ask;
    TRunSpan placed;
};

// The item of a child that measured to measured device pixels along the
// axis, vertical or not; 0 makes it stretch.
TRunItem MakeRunItem(CControlUI* child, int measured, bool vertical);

// Places items one after another from origin, skinGap skin pixels apart, in
// length device pixels; answers the device length they take. Skin pixels are
// scaled along one run, so rounding never adds up; a child at its skin size
// keeps its scaled size where the space beside it can take the rounding, and
// the last child ends where its padding puts it: its padding off the edge
// when stretching children fill the length.
int PlaceRunItems(const CControlUI& scaler, int origin, int length, int skinGap, std::vector<TRunItem>& items);

} // namespace SkinUI
