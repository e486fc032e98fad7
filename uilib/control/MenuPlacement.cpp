#include "uilib/control/MenuPlacement.h"

namespace SkinUI {

namespace {

// Moves rc along one axis so it lies inside [low, high] where it fits; a
// longer rectangle keeps its start at low.
void FitAxis(LONG& start, LONG& end, LONG low, LONG high)
{
    if (end > high) {
        start -= end - high;
        end = high;
    }
    if (start < low) {
        end += low - start;
        start = low;
    }
}

} // namespace

RECT PlaceTopLevelMenu(POINT point, int width, int height, int insetHeight, uint32_t align, const RECT& work)
{
    const int w = width + kTopLevelMenuExtraWidth;
    // The inset belongs to the window, so a bottom edge at the point holds it.
    const int h = height + insetHeight;
    RECT r = {point.x, point.y, point.x + w, point.y + h};
    if ((align & MenuAlignRight) != 0) {
        r.right = point.x;
        r.left = point.x - w;
    }
    if ((align & MenuAlignBottom) != 0) {
        r.bottom = point.y;
        r.top = point.y - h;
    }
    FitAxis(r.left, r.right, work.left, work.right);
    FitAxis(r.top, r.bottom, work.top, work.bottom);
    return r;
}

RECT PlaceSubMenu(const TSubMenuPlacement& in)
{
    const RECT& parent = in.parentWindow;
    RECT r = {parent.right, in.rowTop, parent.right + in.width + kSubMenuExtraWidth, in.rowTop + in.height};
    if (in.reachBottom) {
        r.bottom = parent.top;
        r.top = parent.top - in.height;
    }
    const bool toLeft =
        (in.align & MenuAlignSideFixed) != 0 ? (in.align & MenuAlignRight) != 0 : in.reachRight;
    if (toLeft) {
        r.right = parent.left;
        r.left = parent.left - in.width;
    }
    if (r.bottom > in.work.bottom) {
        r.bottom = r.top + in.lastRowHeight < in.work.bottom ? r.top + in.lastRowHeight : in.work.bottom;
        r.top = r.bottom - in.height;
    }
    if (r.right > in.work.right) {
        r.right = parent.left;
        r.left = parent.left - in.width;
    }
    if (r.top < in.work.top) {
        r.top = in.rowTop;
        r.bottom = r.top + in.height;
    }
    if (r.left < in.work.left) {
        r.left = parent.right;
        r.right = parent.right + in.width;
    }
    return r;
}

} // namespace SkinUI
