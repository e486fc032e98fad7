#include "uilib/core/RenderKit.h"
#include "uilib/core/ScaledImageCache.h"

#include <cstring>

namespace SkinUI {

namespace {

float Clamp255(float v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

float HueToChannel(float p, float q, float t)
{
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (6 * t < 1) return p + (q - p) * 6 * t;
    if (2 * t < 1) return q;
    if (3 * t < 2) return p + (q - p) * (2.0f / 3.0f - t) * 6;
    return p;
}

DWORD Adjust(DWORD argb, short hue, short saturation, short lightness)
{
    float h = 0;
    float s = 0;
    float l = 0;
    CRenderKit::RgbToHsl(argb, &h, &s, &l);
    h += static_cast<float>(hue - 180);
    if (h <= 0) h += 360;
    s = s * saturation / 100;
    l = l * lightness / 100;
    DWORD result = argb;
    CRenderKit::HslToRgb(&result, h, s, l);
    return result;
}

} // namespace

void CRenderKit::RgbToHsl(DWORD argb, float* hue, float* saturation, float* lightness)
{
    const float r = Clamp255(static_cast<float>((argb >> 16) & 0xFF)) / 255;
    const float g = Clamp255(static_cast<float>((argb >> 8) & 0xFF)) / 255;
    const float b = Clamp255(static_cast<float>(argb & 0xFF)) / 255;
    float mx = r > g ? r : g;
    if (b > mx) mx = b;
    float mn = r < g ? r : g;
    if (b < mn) mn = b;
    const float l = (mx + mn) * 0.5f;
    float h = 0;
    float s = 0;
    if (mx != mn) {
        const float d = mx - mn;
        if (r == mn) h = 3 - (g - b) / d;
        else if (g == mn) h = 5 - (b - r) / d;
        else h = 1 - (r - g) / d;
        if (h >= 6) h -= 6;
        h *= 60;
        s = (2 * l <= 1) ? d / (mx + mn) : d / (2 - mx - mn);
    }
    *hue = h;
    *saturation = s;
    *lightness = l;
}

void CRenderKit::HslToRgb(DWORD* argb, float hue, float saturation, float lightness)
{
    const float q = (2 * lightness < 1) ? lightness * (1 + saturation) : lightness + saturation - lightness * saturation;
    const float p = 2 * lightness - q;
    const float h = hue / 360;
    const DWORD r = static_cast<DWORD>(Clamp255(HueToChannel(p, q, h + 1.0f / 3.0f) * 255));
    const DWORD g = static_cast<DWORD>(Clamp255(HueToChannel(p, q, h) * 255));
    const DWORD b = static_cast<DWORD>(Clamp255(HueToChannel(p, q, h - 1.0f / 3.0f) * 255));
    *argb = (*argb & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

DWORD CRenderKit::MixPixels(DWORD color1, double weight1, DWORD color2, double weight2)
{
    DWORD result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        double c = ((color1 >> shift) & 0xFF) * weight1 + ((color2 >> shift) & 0xFF) * weight2;
        result |= (static_cast<DWORD>(c) & 0xFF) << shift;
    }
    return result;
}

DWORD CRenderKit::AdjustColorHsl(DWORD argb, short hue, short saturation, short lightness)
{
    if (hue == 180 && saturation == 100 && lightness == 100) return argb;
    return Adjust(argb, hue, saturation, lightness);
}

void CRenderKit::ApplyHslToImage(bool enable, TImageEntry* entry, short hue, short saturation, short lightness)
{
    if (entry == nullptr || !entry->usesHsl || entry->bitmap == nullptr || entry->workPixels == nullptr ||
        entry->sourcePixels == nullptr) {
        return;
    }
    // Faces composed from the old colours are stale.
    CScaledImageCache::Forget(entry->bitmap);
    const size_t count = static_cast<size_t>(entry->width) * static_cast<size_t>(entry->height);
    if (!enable || (hue == 180 && saturation == 100 && lightness == 100)) {
        std::memcpy(entry->workPixels, entry->sourcePixels, count * 4);
        return;
    }
    const DWORD* source = reinterpret_cast<const DWORD*>(entry->sourcePixels);
    DWORD* work = reinterpret_cast<DWORD*>(entry->workPixels);
    for (size_t i = 0; i < count; ++i) {
        DWORD adjusted = Adjust(source[i], hue, saturation, lightness);
        work[i] = (work[i] & 0xFF000000u) | (adjusted & 0x00FFFFFFu);
    }
}

} // namespace SkinUI
