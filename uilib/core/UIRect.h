#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace SkinUI {

// Same layout as a Win32 RECT, so a CUIRect goes to rectangle functions as is.
#ifdef _WIN32
using UIRectBase = RECT;
#else
struct UIRectBase {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
#endif

class CUIRect : public UIRectBase {
public:
    CUIRect() { Set(0, 0, 0, 0); }
    CUIRect(const UIRectBase& rc) { Set(rc.left, rc.top, rc.right, rc.bottom); }
    CUIRect(int32_t l, int32_t t, int32_t r, int32_t b) { Set(l, t, r, b); }

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }

    // Moves every edge inwards (outwards for negative amounts).
    void Shrink(int32_t dx, int32_t dy)
    {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }

    void Translate(int32_t dx, int32_t dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }

    void MoveToOrigin() { Translate(-left, -top); }

    // Empty rectangles take part like any other.
    void ExtendToCover(const UIRectBase& other)
    {
        if (other.left < left) left = other.left;
        if (other.top < top) top = other.top;
        if (other.right > right) right = other.right;
        if (other.bottom > bottom) bottom = other.bottom;
    }

private:
    void Set(int32_t l, int32_t t, int32_t r, int32_t b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
};

static_assert(sizeof(CUIRect) == 4 * sizeof(int32_t), "CUIRect must keep the RECT layout");

} // namespace SkinUI
