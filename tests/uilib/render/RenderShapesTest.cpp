#include <gtest/gtest.h>

#include "DibCanvas.h"
#include "uilib/core/RenderKit.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::HasRgb;

namespace {

int Channel(uint32_t pixel, int shift)
{
    return static_cast<int>((pixel >> shift) & 0xFF);
}

CUIRect ClipBox(HDC dc)
{
    RECT rc;
    GetClipBox(dc, &rc);
    return rc;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

// The process's GDI regions: a clip made and undone leaves none behind.
long Regions()
{
    long count = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) == OBJ_REGION;
    return count;
}

} // namespace

TEST(FillRectColor, OpaqueFillsAndTransparentDrawsNothing)
{
    DibCanvas canvas(10, 10, 0xFF000000);
    CRenderKit::FillRectColor(canvas.Dc(), {2, 2, 5, 6}, 0x00FFFFFF);
    EXPECT_EQ(0, canvas.CountRgb({0, 0, 10, 10}, 0xFFFFFF));
    CRenderKit::FillRectColor(canvas.Dc(), {2, 2, 5, 6}, 0xFF336699);
    EXPECT_EQ(12, canvas.CountRgb({0, 0, 10, 10}, 0x336699));
    EXPECT_EQ(0xFF336699u, canvas.Pixel(2, 2));
    EXPECT_EQ(0x000000u, canvas.Rgb(5, 6));
}

TEST(FillGradient, OpaqueEndsAndNothingForTransparentPair)
{
    DibCanvas canvas(10, 100, 0xFF000000);
    CRenderKit::FillGradient(canvas.Dc(), {0, 0, 10, 100}, 0x01FF0000, 0x000000FF, true, 16);
    EXPECT_EQ(1000, canvas.CountRgb({0, 0, 10, 100}, 0x000000));

    CRenderKit::FillGradient(canvas.Dc(), {0, 0, 10, 100}, 0xFFFF0000, 0xFF0000FF, true, 16);
    const uint32_t top = canvas.Pixel(5, 0);
    const uint32_t bottom = canvas.Pixel(5, 99);
    EXPECT_GT(Channel(top, 16), 245);
    EXPECT_LT(Channel(top, 0), 10);
    EXPECT_LT(Channel(bottom, 16), 10);
    EXPECT_GT(Channel(bottom, 0), 245);
    // Vertical: one colour per row.
    EXPECT_EQ(canvas.Rgb(0, 50), canvas.Rgb(9, 50));
}

TEST(FillGradient, HorizontalAndTranslucent)
{
    DibCanvas canvas(100, 4, 0xFF000000);
    CRenderKit::FillGradient(canvas.Dc(), {0, 0, 100, 4}, 0xFF00FF00, 0xFF00FF00, false, 16);
    EXPECT_EQ(400, canvas.CountRgb({0, 0, 100, 4}, 0x00FF00));

    canvas.Fill(0xFF000000);
    CRenderKit::FillGradient(canvas.Dc(), {0, 0, 100, 4}, 0x80FFFFFF, 0x80FFFFFF, false, 16);
    EXPECT_NEAR(128, Channel(canvas.Pixel(50, 2), 8), 2);
}

TEST(RectOutline, WideBorderStaysInsideTheRectangle)
{
    DibCanvas canvas(60, 50, 0xFF000000);
    const RECT rc = {10, 10, 50, 40};
    CRenderKit::DrawRectOutline(canvas.Dc(), rc, 3, 0xFFFF0000);
    const uint32_t red = 0xFF0000;
    // Three columns and rows on every side, nothing outside, nothing further in.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(HasRgb(canvas, {{10 + i, 25, red}, {49 - i, 25, red}, {30, 10 + i, red}, {30, 39 - i, red}}));
    EXPECT_TRUE(HasRgb(canvas, {{9, 25, 0}, {50, 25, 0}, {30, 9, 0}, {30, 40, 0}, {13, 25, 0}, {46, 25, 0},
                                {10, 10, red}, {49, 39, red}}));
}

TEST(RectOutline, OnePixelBorderOnTheEdge)
{
    DibCanvas canvas(20, 20, 0xFF000000);
    CRenderKit::DrawRectOutline(canvas.Dc(), {2, 2, 18, 18}, 1, 0xFF00FF00);
    EXPECT_EQ(16 * 4 - 4, canvas.CountRgb({0, 0, 20, 20}, 0x00FF00));
    EXPECT_TRUE(HasRgb(canvas, {{17, 17, 0x00FF00}, {3, 3, 0}}));
}

TEST(RoundRectOutline, StaysInsideAndSkipsTheCorner)
{
    DibCanvas canvas(60, 50, 0xFF000000);
    CRenderKit::DrawRoundRectOutline(canvas.Dc(), {10, 10, 50, 40}, 4, 16, 16, 0xFFFFFFFF);
    // The straight parts are 4 pixels thick and inside the rectangle.
    EXPECT_GT(Channel(canvas.Pixel(30, 11), 8), 200);
    EXPECT_GT(Channel(canvas.Pixel(11, 25), 8), 200);
    EXPECT_GT(Channel(canvas.Pixel(48, 25), 8), 200);
    EXPECT_GT(Channel(canvas.Pixel(30, 38), 8), 200);
    EXPECT_LT(Channel(canvas.Pixel(30, 9), 8), 40);
    EXPECT_LT(Channel(canvas.Pixel(50, 25), 8), 40);
    EXPECT_LT(Channel(canvas.Pixel(30, 16), 8), 40);
    // The corner is rounded off.
    EXPECT_LT(Channel(canvas.Pixel(10, 10), 8), 40);
}

TEST(LineSegment, DrawsFromStartUpToEnd)
{
    DibCanvas canvas(10, 10, 0xFF000000);
    CRenderKit::DrawLineSegment(canvas.Dc(), {2, 1, 2, 8}, 1, 0xFF0000FF, PS_SOLID);
    EXPECT_EQ(7, canvas.CountRgb({0, 0, 10, 10}, 0x0000FF));
    EXPECT_TRUE(HasRgb(canvas, {{2, 1, 0x0000FF}, {2, 8, 0}}));
}

TEST(RenderClip, RestoresTheClipInForceBefore)
{
    DibCanvas canvas(60, 60);
    HDC dc = canvas.Dc();
    HRGN outer = CreateRectRgn(0, 0, 50, 50);
    SelectClipRgn(dc, outer);
    DeleteObject(outer);
    const long regions = Regions();
    {
        CRenderClip clip;
        CRenderClip::ClipToRect(dc, {10, 10, 20, 20}, clip);
        EXPECT_TRUE(SameRect({10, 10, 20, 20}, ClipBox(dc)));
        CRenderClip::SelectOuterRegion(dc, clip);
        EXPECT_TRUE(SameRect({0, 0, 50, 50}, ClipBox(dc)));
        CRenderClip::SelectInnerRegion(dc, clip);
        EXPECT_TRUE(SameRect({10, 10, 20, 20}, ClipBox(dc)));
        {
            CRenderClip nested;
            CRenderClip::ClipToRect(dc, {15, 0, 40, 40}, nested);
            EXPECT_TRUE(SameRect({15, 10, 20, 20}, ClipBox(dc)));
        }
        EXPECT_TRUE(SameRect({10, 10, 20, 20}, ClipBox(dc)));
    }
    EXPECT_TRUE(SameRect({0, 0, 50, 50}, ClipBox(dc)));
    EXPECT_EQ(regions, Regions());
}

TEST(RenderClip, NoClipBeforeMeansNoClipAfter)
{
    DibCanvas canvas(30, 30);
    HDC dc = canvas.Dc();
    {
        CRenderClip clip;
        CRenderClip::ClipToRect(dc, {5, 5, 10, 10}, clip);
    }
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(0, GetClipRgn(dc, probe));
    DeleteObject(probe);
}

TEST(RenderClip, RoundedClipCutsTheCorners)
{
    DibCanvas canvas(40, 40, 0xFF000000);
    HDC dc = canvas.Dc();
    const long regions = Regions();
    {
        CRenderClip clip;
        CRenderClip::ClipToRoundRect(dc, {0, 0, 40, 40}, {0, 0, 40, 40}, 20, 20, clip);
        CRenderKit::FillRectColor(dc, {0, 0, 40, 40}, 0xFFFF0000);
    }
    EXPECT_EQ(regions, Regions());
    EXPECT_TRUE(HasRgb(canvas, {{0, 0, 0}, {39, 39, 0}, {20, 20, 0xFF0000}, {20, 0, 0xFF0000}, {0, 20, 0xFF0000}}));
}

// A cleared canvas, as a layered window's is: the corners outside the
// rounded clip must stay fully transparent, whatever colour is filled.
TEST(RenderClip, OpaqueFillInsideARoundedClipLeavesTheCornersTransparent)
{
    const uint32_t fills[] = {0xFF000000, 0xFF112233, 0xFFFFFFFF};
    for (uint32_t fill : fills) {
        DibCanvas canvas(40, 40, 0x00000000);
        HDC dc = canvas.Dc();
        {
            CRenderClip clip;
            CRenderClip::ClipToRoundRect(dc, {0, 0, 40, 40}, {0, 0, 40, 40}, 20, 20, clip);
            CRenderKit::FillRectColor(dc, {0, 0, 40, 40}, fill);
        }
        EXPECT_EQ(0u, canvas.Pixel(0, 0)) << std::hex << fill;
        EXPECT_EQ(0u, canvas.Pixel(39, 0)) << std::hex << fill;
        EXPECT_EQ(0u, canvas.Pixel(39, 39)) << std::hex << fill;
        EXPECT_EQ(fill, canvas.Pixel(20, 20)) << std::hex << fill;
        EXPECT_EQ(fill, canvas.Pixel(20, 0)) << std::hex << fill;
    }
}

TEST(Hsl, IdentityAndKnownRotation)
{
    EXPECT_EQ(0xFF336699u, CRenderKit::AdjustColorHsl(0xFF336699, 180, 100, 100));
    // A hue turn of 120 degrees takes pure red to pure green, alpha kept.
    EXPECT_EQ(0x8000FF00u, CRenderKit::AdjustColorHsl(0x80FF0000, 300, 100, 100));
    // Lightness 0 is black.
    EXPECT_EQ(0xFF000000u, CRenderKit::AdjustColorHsl(0xFF336699, 180, 100, 0));

    float h = 0;
    float s = 0;
    float l = 0;
    CRenderKit::RgbToHsl(0xFF0000FF, &h, &s, &l);
    EXPECT_FLOAT_EQ(240.0f, h);
    EXPECT_FLOAT_EQ(1.0f, s);
    EXPECT_FLOAT_EQ(0.5f, l);
    DWORD rgb = 0x7F000000;
    CRenderKit::HslToRgb(&rgb, 240, 1, 0.5f);
    EXPECT_EQ(0x7F0000FFu, rgb);
}

TEST(Hsl, ImageWorkingCopyFollowsTheSource)
{
    TImageEntry entry;
    BYTE* pixels = nullptr;
    entry.bitmap = CRenderKit::CreateArgbBitmap(nullptr, 1, 1, &pixels);
    entry.width = 1;
    entry.height = 1;
    entry.usesHsl = true;
    entry.sourcePixels = new BYTE[4]{0x00, 0x00, 0xFF, 0xFF}; // opaque red
    entry.workPixels = new BYTE[4]{0, 0, 0, 0x40};
    CRenderKit::ApplyHslToImage(true, &entry, 300, 100, 100);
    EXPECT_EQ(0x00, entry.workPixels[2]);
    EXPECT_EQ(0xFF, entry.workPixels[1]);
    EXPECT_EQ(0x40, entry.workPixels[3]); // the working copy keeps its alpha
    CRenderKit::ApplyHslToImage(false, &entry, 300, 100, 100);
    EXPECT_EQ(0xFF, entry.workPixels[2]);
    EXPECT_EQ(0xFF, entry.workPixels[3]);
    CRenderKit::FreeImageEntry(&entry, false);
    EXPECT_EQ(nullptr, entry.workPixels);
    EXPECT_EQ(nullptr, entry.bitmap);
}

TEST(RenderKitHelpers, MixPixelsAvoidZeroRgbAndArgbBitmap)
{
    EXPECT_EQ(0x00804020u, CRenderKit::MixPixels(0xFF804020, 1.0, 0xFFFFFFFF, 0.0));
    EXPECT_EQ(0x00400000u, CRenderKit::MixPixels(0xFF800000, 0.5, 0x00000000, 0.5));
    DWORD c = 0xFF000000;
    CRenderKit::AvoidZeroRgb(c);
    EXPECT_EQ(0xFF000001u, c);
    c = 0xFF000100;
    CRenderKit::AvoidZeroRgb(c);
    EXPECT_EQ(0xFF000100u, c);

    BYTE* pixels = nullptr;
    HBITMAP bitmap = CRenderKit::CreateArgbBitmap(nullptr, 3, 2, &pixels);
    ASSERT_NE(nullptr, bitmap);
    ASSERT_NE(nullptr, pixels);
    BITMAP info;
    GetObjectW(bitmap, sizeof(info), &info);
    EXPECT_EQ(3, info.bmWidth);
    EXPECT_EQ(2, info.bmHeight);
    EXPECT_EQ(32, info.bmBitsPixel);
    DeleteObject(bitmap);
}

TEST(FillRectColor, OpaqueFillOfABottomUpBitmapGetsItsAlphaInTheRightRows)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = 4;  // bottom-up: memory row 0 is the lowest row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    HGDIOBJ old = SelectObject(dc, bitmap);
    CRenderKit::FillRectColor(dc, {0, 0, 4, 1}, 0xFF102030);  // the top row
    GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(0xFF102030u, pixels[3 * 4 + x]) << x;
        EXPECT_EQ(0u, pixels[x]) << x;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
