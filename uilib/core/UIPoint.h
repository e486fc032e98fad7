#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace SkinUI {

// Same layout as a Win32 POINT.
#ifdef _WIN32
using UIPointBase = POINT;
#else
struct UIPointBase {
    int32_t x;
    int32_t y;
};
#endif

class CUIPoint : public UIPointBase {
public:
    CUIPoint() { x = 0; y = 0; }
    CUIPoint(const UIPointBase& pt) { x = pt.x; y = pt.y; }
    CUIPoint(int32_t px, int32_t py) { x = px; y = py; }
};

static_assert(sizeof(CUIPoint) == 2 * sizeof(int32_t), "CUIPoint must keep the POINT layout");

} // namespace SkinUI
