#include "uilib/control/PaletteHsl.h"

namespace SkinUI {

namespace {

const float kThird = 0.33333334f;
const float kTwoThirds = 0.6666667f;

float Channel(float p, float q, float t)
{
    if (t < 0.0f) t += 1.0f;
    if (t > 1.0f) t -= 1.0f;
    if (6.0f * t < 1.0f) return p + (q - p) * 6.0f * t;
    if (2.0f * t < 1.0f) return q;
    if (3.0f * t < 2.0f) return p + (q - p) * (kTwoThirds - t) * 6.0f;
    return p;
}

uint32_t Byte(float v)
{
    return static_cast<uint32_t>(static_cast<int>(v * 255.0f)) & 0xFFu;
}

void PutPixel(const TPaletteSurface& surface, int x, int y, uint32_t argb)
{
    if ((argb & 0xFFFFFFu) == 0) argb |= 0x010000u;
    uint8_t* p = surface.pixels + y * surface.stride + x * 4;
    p[0] = static_cast<uint8_t>(argb);
    p[1] = static_cast<uint8_t>(argb >> 8);
    p[2] = static_cast<uint8_t>(argb >> 16);
    p[3] = 0xFF;
}

} // namespace

uint32_t PaletteHslFractionToArgb(float h, float s, float l)
{
    float r = l, g = l, b = l;
    if (s != 0.0f) {
        const float q = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
        const float p = 2.0f * l - q;
        r = Channel(p, q, h + kThird);
        g = Channel(p, q, h);
        b = Channel(p, q, h - kThird);
    }
    return 0xFF000000u | (Byte(r) << 16) | (Byte(g) << 8) | Byte(b);
}

uint32_t PaletteHslToArgb(int hue, int saturation, int lightness)
{
    return PaletteHslFractionToArgb(static_cast<float>(hue) / 360.0f, static_cast<float>(saturation) / 200.0f,
                                    static_cast<float>(lightness) / 200.0f);
}

void PaintPaletteField(const TPaletteSurface& surface, int saturation)
{
    if (surface.pixels == nullptr) return;
    const float s = static_cast<float>(saturation) / 200.0f;
    for (int k = 0; k < TPaletteSurface::kFieldRows; ++k) {
        const float l = static_cast<float>(k) / 200.0f;
        const int row = TPaletteSurface::kFieldRows - k;
        for (int x = 0; x < TPaletteSurface::kFieldColumns; ++x)
            PutPixel(surface, x, row, PaletteHslFractionToArgb(static_cast<float>(x) / 360.0f, s, l));
    }
}

void PaintPaletteBar(const TPaletteSurface& surface, int hue, int lightness, int barHeight)
{
    if (surface.pixels == nullptr) return;
    if (barHeight > TPaletteSurface::kMaxBarHeight) barHeight = TPaletteSurface::kMaxBarHeight;
    const float h = static_cast<float>(hue) / 360.0f;
    const float l = static_cast<float>(lightness) / 200.0f;
    // One row computed, copied to the others.
    for (int x = 0; x < TPaletteSurface::kBarColumns; ++x) {
        const uint32_t argb = PaletteHslFractionToArgb(h, static_cast<float>(x) / 200.0f, l);
        for (int y = 0; y < barHeight; ++y) PutPixel(surface, x, TPaletteSurface::kBarTop + y, argb);
    }
}

} // namespace SkinUI
