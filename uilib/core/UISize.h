#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace SkinUI {

// Same layout as a Win32 SIZE.
#ifdef _WIN32
using UISizeBase = SIZE;
#else
struct UISizeBase {
    int32_t cx;
    int32_t cy;
};
#endif

class CUISize : public UISizeBase {
public:
    CUISize() { cx = 0; cy = 0; }
    CUISize(const UISizeBase& sz) { cx = sz.cx; cy = sz.cy; }
    CUISize(int32_t w, int32_t h) { cx = w; cy = h; }
};

static_assert(sizeof(CUISize) == 2 * sizeof(int32_t), "CUISize must keep the SIZE layout");

} // namespace SkinUI
