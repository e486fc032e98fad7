#include "uilib/core/RenderKit.h"

#include <climits>
#include <vector>

#include <gdiplus.h>

#include "uilib/core/RenderSystemCalls.h"

namespace SkinUI {

namespace {

COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

void FillGradientRect(HDC dc, const RECT& rc, DWORD first, DWORD second, bool vertical)
{
    GradientFillFunction gradient = SystemGradientFill();
    if (gradient == nullptr) return;
    TRIVERTEX vertices[2];
    vertices[0].x = rc.left;
    vertices[0].y = rc.top;
    vertices[0].Red = static_cast<COLOR16>(((first >> 16) & 0xFF) << 8);
    vertices[0].Green = static_cast<COLOR16>(((first >> 8) & 0xFF) << 8);
    vertices[0].Blue = static_cast<COLOR16>((first & 0xFF) << 8);
    vertices[0].Alpha = 0xFF00;
    vertices[1].x = rc.right;
    vertices[1].y = rc.bottom;
    vertices[1].Red = static_cast<COLOR16>(((second >> 16) & 0xFF) << 8);
    vertices[1].Green = static_cast<COLOR16>(((second >> 8) & 0xFF) << 8);
    vertices[1].Blue = static_cast<COLOR16>((second & 0xFF) << 8);
    vertices[1].Alpha = 0xFF00;
    GRADIENT_RECT mesh = {0, 1};
    gradient(dc, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

} // namespace

namespace {

// The clip region of the DC as device rectangles; without one, the whole
// device space.
std::vector<RECT> ClipRegionRects(HDC dc)
{
    std::vector<RECT> parts;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (region != nullptr && GetClipRgn(dc, region) == 1) {
        const DWORD size = GetRegionData(region, 0, nullptr);
        std::vector<uint8_t> buffer(size);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        if (size >= sizeof(RGNDATAHEADER) && GetRegionData(region, size, data) == size) {
            const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
            const DWORD count = (size - sizeof(RGNDATAHEADER)) / sizeof(RECT);
            for (DWORD i = 0; i < data->rdh.nCount && i < count; ++i) parts.push_back(rects[i]);
        }
    } else {
        parts.push_back(RECT{LONG_MIN / 2, LONG_MIN / 2, LONG_MAX / 2, LONG_MAX / 2});
    }
    if (region != nullptr) DeleteObject(region);
    return parts;
}

// After a GDI fill of rgb into a DC holding a 32-bit DIB section: the filled
// pixels (those of rc, within the clip box, that now hold rgb with alpha 0)
// become opaque.
void MakeFillOpaque(HDC dc, const RECT& rc, DWORD rgb)
{
    DIBSECTION dib;
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib)) return;
    if (dib.dsBm.bmBitsPixel != 32 || dib.dsBm.bmBits == nullptr) return;
    RECT clip;
    RECT area;
    if (GetClipBox(dc, &clip) == ERROR || !IntersectRect(&area, &rc, &clip)) return;
    LPtoDP(dc, reinterpret_cast<POINT*>(&area), 2);
    const LONG width = dib.dsBm.bmWidth;
    const LONG height = dib.dsBm.bmHeight;
    area.left = area.left < 0 ? 0 : area.left;
    area.top = area.top < 0 ? 0 : area.top;
    area.right = area.right > width ? width : area.right;
    area.bottom = area.bottom > height ? height : area.bottom;
    GdiFlush();
    auto* bits = static_cast<uint8_t*>(dib.dsBm.bmBits);
    // The row order of a DIB section is not reported reliably: probe it once
    // per bitmap. The first pixel in memory is the top-left one of a top-down
    // bitmap.
    thread_local HGDIOBJ probedBitmap = nullptr;
    thread_local void* probedBits = nullptr;
    thread_local bool bottomUp = false;
    if (bitmap != probedBitmap || dib.dsBm.bmBits != probedBits) {
        auto* first = reinterpret_cast<DWORD*>(bits);
        const DWORD saved = *first;
        *first = 0x00010203u;
        POINT origin = {0, 0};
        DPtoLP(dc, &origin, 1);
        bottomUp = GetPixel(dc, origin.x, origin.y) != RGB(0x01, 0x02, 0x03);
        GdiFlush();
        *first = saved;
        probedBitmap = bitmap;
        probedBits = dib.dsBm.bmBits;
    }
    auto makeOpaque = [&](const RECT& part) {
        RECT run;
        if (!IntersectRect(&run, &part, &area)) return;
        for (LONG y = run.top; y < run.bottom; ++y) {
            auto* row = reinterpret_cast<DWORD*>(bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) *
                                                            static_cast<size_t>(dib.dsBm.bmWidthBytes));
            for (LONG x = run.left; x < run.right; ++x)
                if (row[x] == rgb) row[x] = rgb | 0xFF000000u;
        }
    };
    // Only the pixels the clip region let through: a cleared pixel outside
    // a rounded clip equals a black fill and must stay transparent.
    for (const RECT& part : ClipRegionRects(dc)) makeOpaque(part);
}

}  // namespace

void CRenderKit::FillRectColor(HDC dc, const RECT& rc, DWORD argb)
{
    if (dc == nullptr || (argb >> 24) == 0) return;
    // An opaque colour is a plain GDI fill, many times cheaper than a GDI+
    // context per call; GDI leaves alpha at 0, which a 32-bit target gets
    // back as GDI+ would have written it.
    if ((argb >> 24) == 0xFF) {
        const COLORREF old = SetDCBrushColor(dc, RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF));
        FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SetDCBrushColor(dc, old);
        MakeFillOpaque(dc, rc, argb & 0x00FFFFFFu);
        return;
    }
    Gdiplus::Graphics graphics(dc);
    Gdiplus::SolidBrush brush{Gdiplus::Color(argb)};
    graphics.FillRectangle(&brush, static_cast<INT>(rc.left), static_cast<INT>(rc.top),
                           static_cast<INT>(rc.right - rc.left), static_cast<INT>(rc.bottom - rc.top));
}

void CRenderKit::FillGradient(HDC dc, const RECT& rc, DWORD first, DWORD second, bool vertical, int)
{
    if (dc == nullptr) return;
    const BYTE alpha = static_cast<BYTE>((((first >> 24) & 0xFF) + ((second >> 24) & 0xFF)) >> 1);
    if (alpha == 0) return;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;
    if (alpha == 255) {
        FillGradientRect(dc, rc, first, second, vertical);
        return;
    }
    AlphaBlendFunction blend = SystemAlphaBlend();
    if (blend == nullptr) return;
    HDC memory = CreateCompatibleDC(dc);
    BYTE* pixels = nullptr;
    HBITMAP bitmap = CreateArgbBitmap(dc, width, height, &pixels);
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        RECT local = {0, 0, width, height};
        FillGradientRect(memory, local, first, second, vertical);
        BLENDFUNCTION function = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
        blend(dc, rc.left, rc.top, width, height, memory, 0, 0, width, height, function);
        SelectObject(memory, old);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
}

void CRenderKit::DrawLineSegment(HDC dc, const RECT& rc, int penWidth, DWORD argb, int penStyle)
{
    if (dc == nullptr) return;
    HPEN pen = CreatePen(penStyle, penWidth, ToColorRef(argb));
    if (pen == nullptr) return;
    if (penStyle != PS_SOLID) SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, rc.left, rc.top, nullptr);
    LineTo(dc, rc.right, rc.bottom);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void CRenderKit::DrawRectOutline(HDC dc, const RECT& rc, int penWidth, DWORD argb)
{
    // Four bands inside the rectangle: a pen's inset alignment is not honoured
    // everywhere, and bands never blend a corner twice.
    if (dc == nullptr || penWidth <= 0) return;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;
    if (2 * penWidth >= width || 2 * penWidth >= height) {
        FillRectColor(dc, rc, argb);
        return;
    }
    FillRectColor(dc, {rc.left, rc.top, rc.right, rc.top + penWidth}, argb);
    FillRectColor(dc, {rc.left, rc.bottom - penWidth, rc.right, rc.bottom}, argb);
    FillRectColor(dc, {rc.left, rc.top + penWidth, rc.left + penWidth, rc.bottom - penWidth}, argb);
    FillRectColor(dc, {rc.right - penWidth, rc.top + penWidth, rc.right, rc.bottom - penWidth}, argb);
}

void CRenderKit::DrawRoundRectOutline(HDC dc, const RECT& rc, int penWidth, int cornerWidth, int, DWORD argb)
{
    if (penWidth <= 0) return;
    // The path runs through the pen's centre line, inset so that the whole
    // stroke stays inside the rectangle.
    const float inset = static_cast<float>(penWidth - 1) * 0.5f;
    StrokeRoundRectPath(dc, static_cast<float>(rc.left) + inset, static_cast<float>(rc.top) + inset,
                        static_cast<float>(rc.right - rc.left - penWidth),
                        static_cast<float>(rc.bottom - rc.top - penWidth), static_cast<float>(cornerWidth), argb,
                        static_cast<float>(penWidth), false, 0);
}

void CRenderKit::StrokeRoundRectPath(HDC dc, float x, float y, float width, float height, float radius,
                                     DWORD penArgb, float penWidth, bool fill, DWORD fillArgb)
{
    if (dc == nullptr) return;
    const float r = radius * 0.5f;
    const float d = 2 * r;
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    Gdiplus::GraphicsPath path;
    path.AddLine(x + r, y, x + width - r, y);
    path.AddArc(x + width - d, y, d, d, 270, 90);
    path.AddLine(x + width, y + r, x + width, y + height - r);
    path.AddArc(x + width - d, y + height - d, d, d, 0, 90);
    path.AddLine(x + width - r, y + height, x + r, y + height);
    path.AddArc(x, y + height - d, d, d, 90, 90);
    path.AddLine(x, y + height - r, x, y + r);
    path.AddArc(x, y, d, d, 180, 90);
    Gdiplus::Pen pen(Gdiplus::Color(penArgb), penWidth);
    graphics.DrawPath(&pen, &path);
    if (fill) {
        Gdiplus::SolidBrush brush{Gdiplus::Color((fillArgb >> 24) != 0 ? fillArgb : penArgb)};
        graphics.FillPath(&brush, &path);
    }
}

void CRenderKit::AvoidZeroRgb(DWORD& argb)
{
    if ((argb & 0x00FFFFFF) == 0) argb += 1;
}

HBITMAP CRenderKit::CreateArgbBitmap(HDC dc, int width, int height, BYTE** pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height < 0 ? -height : height) * 4;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (pixels != nullptr) *pixels = bitmap != nullptr ? static_cast<BYTE*>(bits) : nullptr;
    return bitmap;
}

} // namespace SkinUI
