#pragma once

#include <cstdint>

namespace SkinUI {

// The colour palette's colour model and surface painting, free of Windows.
// Hue 0..360, saturation and lightness 0..200, as the palette keeps them.

// 0xFFRRGGBB of hue/360, saturation/200, lightness/200 in single precision.
uint32_t PaletteHslToArgb(int hue, int saturation, int lightness);
// The same for fractions 0..1.
uint32_t PaletteHslFractionToArgb(float h, float s, float l);

// A 32-bit BGRA surface, rows top-down.
struct TPaletteSurface {
    static const int kWidth = 400;
    static const int kHeight = 360;
    // The hue/lightness field: rows 1..200 (row 200 black), columns 0..359.
    static const int kFieldTop = 1;
    static const int kFieldRows = 200;
    static const int kFieldColumns = 360;
    // The saturation bar: rows from 210, columns 0..199.
    static const int kBarTop = 210;
    static const int kBarColumns = 200;
    static const int kMaxBarHeight = 150;

    uint8_t* pixels = nullptr;
    int stride = 0;
};

// Writes the field for a saturation; pure black is written as red 1 so the
// field never holds a transparent-looking zero pixel.
void PaintPaletteField(const TPaletteSurface& surface, int saturation);
// Writes barHeight rows of the bar for a hue and lightness.
void PaintPaletteBar(const TPaletteSurface& surface, int hue, int lightness, int barHeight);

} // namespace SkinUI
