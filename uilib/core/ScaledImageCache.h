#pragma once

#include <windows.h>

#include <cstddef>

namespace SkinUI {

// Skin images composed once at the size they are drawn: a nine-grid, stretched
// or tiled face costs up to nine stretched blends per paint, a cached one a
// single unscaled copy (a plain BitBlt when the composed face is opaque).
// Entries are keyed by the image's bitmap; whoever frees or recolours an
// image's pixels forgets it here first.
class CScaledImageCache {
public:
    // Draws like CRenderKit::DrawBitmap. False when the image is not worth or
    // not able to be cached; the caller then draws it directly.
    static bool Draw(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                     const RECT& corners, bool alpha, BYTE fade, bool hole, bool xTiled, bool yTiled);
    static void Forget(HBITMAP bitmap);
    static void ForgetAll();
    // Pixels and faces held by all entries, and the budgets past which the
    // least recently drawn faces are dropped. Each face is one GDI bitmap: a
    // slider's fill drawn at every width it passes would otherwise take
    // thousands of the process's GDI objects within the pixel budget.
    static size_t CachedPixels();
    static size_t CachedFaces();
    static constexpr size_t kPixelBudget = 4 * 1024 * 1024;
    static constexpr size_t kFaceBudget = 256;
};

} // namespace SkinUI
