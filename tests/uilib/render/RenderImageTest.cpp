#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "DibCanvas.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ScaledImageCache.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::EncodePng;
using SkinUITest::HasRgb;

namespace {

struct EntryDeleter {
    void operator()(TImageEntry* e) const { CRenderKit::FreeImageEntry(e, true); }
};
using EntryPtr = std::unique_ptr<TImageEntry, EntryDeleter>;

// RGBA image filled by a function of (x, y) returning 0xAARRGGBB.
template <class F>
std::vector<uint8_t> MakeRgba(int w, int h, F colour)
{
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t c = colour(x, y);
            uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<uint8_t>(c >> 16);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c);
            p[3] = static_cast<uint8_t>(c >> 24);
        }
    }
    return rgba;
}

template <class F>
EntryPtr DecodeFrom(int w, int h, F colour, DWORD mask = 0)
{
    std::vector<uint8_t> png = EncodePng(w, h, MakeRgba(w, h, colour));
    return EntryPtr(CRenderKit::DecodeImage(png.data(), png.size(), mask));
}

// 12 x 12: 4-pixel corners and edges in distinct colours, a white middle.
uint32_t NineGridColour(int x, int y)
{
    const int col = x < 4 ? 0 : (x < 8 ? 1 : 2);
    const int row = y < 4 ? 0 : (y < 8 ? 1 : 2);
    static const uint32_t kCells[3][3] = {
        {0xFFFF0000, 0xFF00FFFF, 0xFF00FF00},
        {0xFF808080, 0xFFFFFFFF, 0xFF404040},
        {0xFF0000FF, 0xFFFF00FF, 0xFFFFFF00},
    };
    return kCells[row][col];
}

const RECT kNoCorners = {0, 0, 0, 0};

} // namespace

TEST(ImageDecode, PremultipliesAndFlagsAlpha)
{
    EntryPtr entry = DecodeFrom(3, 1, [](int x, int) -> uint32_t {
        if (x == 0) return 0x80FFFFFF;
        if (x == 1) return 0x00FF8040;
        return 0xFF102030;
    });
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(3, entry->width);
    EXPECT_EQ(1, entry->height);
    EXPECT_TRUE(entry->hasAlpha);
    EXPECT_EQ(nullptr, entry->workPixels);
    EXPECT_EQ(nullptr, entry->sourcePixels);

    DibCanvas canvas(3, 1);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, entry->bitmap);
    BitBlt(canvas.Dc(), 0, 0, 3, 1, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
    EXPECT_EQ(0x80808080u, canvas.Pixel(0, 0));
    EXPECT_EQ(0x00000000u, canvas.Pixel(1, 0));
    EXPECT_EQ(0xFF102030u, canvas.Pixel(2, 0));
}

TEST(ImageDecode, OpaqueImageWithoutMaskHasNoAlpha)
{
    EntryPtr entry = DecodeFrom(2, 2, [](int, int) -> uint32_t { return 0xFFFF00FF; });
    ASSERT_NE(nullptr, entry);
    EXPECT_FALSE(entry->hasAlpha);
}

TEST(ImageDecode, MaskClearsMatchingOpaquePixels)
{
    EntryPtr entry =
        DecodeFrom(2, 1, [](int x, int) -> uint32_t { return x == 0 ? 0xFFFF00FF : 0xFF00FF00; }, 0xFFFF00FF);
    ASSERT_NE(nullptr, entry);
    EXPECT_TRUE(entry->hasAlpha);
    DibCanvas canvas(2, 1, 0xFF123456);
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, {0, 0, 2, 1}, {0, 0, 2, 1}, {0, 0, 2, 1}, kNoCorners, true,
                           255, false, false, false);
    // The masked pixel is fully transparent: the canvas shows through.
    EXPECT_TRUE(HasRgb(canvas, {{0, 0, 0x123456}, {1, 0, 0x00FF00}}));
}

TEST(ImageDecode, RejectsDamagedAndEmptyInput)
{
    std::vector<uint8_t> png = EncodePng(8, 8, MakeRgba(8, 8, [](int, int) -> uint32_t { return 0xFF000000; }));
    EXPECT_EQ(nullptr, CRenderKit::DecodeImage(png.data(), png.size() / 2, 0));
    EXPECT_EQ(nullptr, CRenderKit::DecodeImage(png.data(), 0, 0));
    EXPECT_EQ(nullptr, CRenderKit::DecodeImage(nullptr, 10, 0));
    const BYTE junk[16] = {1, 2, 3};
    EXPECT_EQ(nullptr, CRenderKit::DecodeImage(junk, sizeof(junk), 0));
}

TEST(DrawBitmap, NineGridKeepsCornersAndStretchesEdges)
{
    EntryPtr entry = DecodeFrom(12, 12, NineGridColour);
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(120, 40, 0xFF000000);
    const RECT dest = {10, 10, 110, 30};
    const RECT corners = {4, 4, 4, 4};
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, dest, {0, 0, 120, 40}, {0, 0, 12, 12}, corners, false, 255,
                           false, false, false);
    EXPECT_EQ(16, canvas.CountRgb({10, 10, 14, 14}, 0xFF0000));
    EXPECT_EQ(16, canvas.CountRgb({106, 10, 110, 14}, 0x00FF00));
    EXPECT_EQ(16, canvas.CountRgb({10, 26, 14, 30}, 0x0000FF));
    EXPECT_EQ(16, canvas.CountRgb({106, 26, 110, 30}, 0xFFFF00));
    EXPECT_EQ(92 * 4, canvas.CountRgb({14, 10, 106, 14}, 0x00FFFF));
    EXPECT_EQ(92 * 4, canvas.CountRgb({14, 26, 106, 30}, 0xFF00FF));
    EXPECT_EQ(4 * 12, canvas.CountRgb({10, 14, 14, 26}, 0x808080));
    EXPECT_EQ(4 * 12, canvas.CountRgb({106, 14, 110, 26}, 0x404040));
    EXPECT_EQ(92 * 12, canvas.CountRgb({14, 14, 106, 26}, 0xFFFFFF));
    // Nothing outside the destination.
    EXPECT_TRUE(HasRgb(canvas, {{9, 9, 0x000000}, {110, 30, 0x000000}}));
}

TEST(DrawBitmap, HoleLeavesTheMiddleUntouched)
{
    EntryPtr entry = DecodeFrom(12, 12, NineGridColour);
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(100, 20, 0xFF000000);
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, {0, 0, 100, 20}, {0, 0, 100, 20}, {0, 0, 12, 12},
                           {4, 4, 4, 4}, false, 255, true, false, false);
    EXPECT_EQ(92 * 12, canvas.CountRgb({4, 4, 96, 16}, 0x000000));
    EXPECT_TRUE(HasRgb(canvas, {{0, 0, 0xFF0000}, {99, 19, 0xFFFF00}}));
}

TEST(DrawBitmap, CornersAsLargeAsTheSourceDrawNoMiddle)
{
    EntryPtr entry = DecodeFrom(12, 12, NineGridColour);
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(40, 40, 0xFF000000);
    // Corners of 6 leave no middle in a 12-pixel source; a destination smaller
    // than its corners draws no negative-size piece.
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, {0, 0, 40, 40}, {0, 0, 40, 40}, {0, 0, 12, 12},
                           {6, 6, 6, 6}, false, 255, false, true, true);
    EXPECT_TRUE(HasRgb(canvas, {{20, 20, 0x000000}, {0, 0, 0xFF0000}}));
    canvas.Fill(0xFF000000);
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, {0, 0, 6, 6}, {0, 0, 40, 40}, {0, 0, 12, 12},
                           {4, 4, 4, 4}, false, 255, false, false, false);
    EXPECT_EQ(0x000000u, canvas.Rgb(10, 10));
}

TEST(DrawBitmap, XTilingCutsTheLastColumn)
{
    // 10 x 4, column x coloured with red = 20 * x + 10.
    EntryPtr entry = DecodeFrom(10, 4, [](int x, int) -> uint32_t { return 0xFF000000u | ((20u * x + 10) << 16); });
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(30, 4, 0xFF000000);
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, {0, 0, 25, 4}, {0, 0, 30, 4}, {0, 0, 10, 4}, kNoCorners,
                           false, 255, false, true, false);
    for (int x = 0; x < 25; ++x) {
        EXPECT_EQ((20u * (x % 10) + 10) << 16, canvas.Rgb(x, 2)) << "column " << x;
    }
    EXPECT_EQ(0u, canvas.Rgb(25, 2));
}

TEST(DrawBitmap, BothTiledRepeatsUnscaledTiles)
{
    EntryPtr entry = DecodeFrom(4, 4, [](int x, int y) -> uint32_t { return 0xFF000000u | (x << 20) | (y << 4); });
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(10, 10, 0xFF000000);
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, {0, 0, 10, 10}, {0, 0, 10, 10}, {0, 0, 4, 4}, kNoCorners,
                           true, 255, false, true, true);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(static_cast<uint32_t>(((x % 4) << 20) | ((y % 4) << 4)), canvas.Rgb(x, y));
        }
    }
}

TEST(DrawBitmap, FadeBlendsAtHalfStrength)
{
    EntryPtr entry = DecodeFrom(4, 4, [](int, int) -> uint32_t { return 0xFFFF0000; });
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(4, 4, 0xFF000000);
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, {0, 0, 4, 4}, {0, 0, 4, 4}, {0, 0, 4, 4}, kNoCorners, false,
                           128, false, false, false);
    const uint32_t red = (canvas.Pixel(1, 1) >> 16) & 0xFF;
    EXPECT_NEAR(128, static_cast<int>(red), 1);
}

TEST(DrawBitmap, CopyDrawsOnlyInsideThePaintRectangle)
{
    EntryPtr entry = DecodeFrom(12, 12, NineGridColour);
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(12, 12, 0xFF000000);
    CRenderKit::DrawBitmap(canvas.Dc(), entry->bitmap, {0, 0, 12, 12}, {2, 2, 6, 6}, {0, 0, 12, 12}, kNoCorners,
                           false, 255, false, false, false);
    EXPECT_TRUE(HasRgb(canvas, {{2, 2, 0xFF0000}, {5, 5, 0xFFFFFF}, {1, 1, 0x000000}, {6, 6, 0x000000}}));
}

namespace {

// The nine-grid with half-transparent corners, as a rounded face has.
uint32_t RoundedNineGridColour(int x, int y)
{
    const bool corner = (x < 4 || x >= 8) && (y < 4 || y >= 8);
    return corner ? (NineGridColour(x, y) & 0x00FFFFFFu) | 0x80000000u : NineGridColour(x, y);
}

struct FaceCase {
    const char* what;
    bool rounded;
    RECT dest;
    RECT paint;
    RECT corners;
    BYTE fade;
    bool hole;
    bool xTiled;
    bool yTiled;
    bool cached;
};

} // namespace

TEST(ScaledImageCache, CachedFacesMatchTheDirectDrawPixelForPixel)
{
    const FaceCase cases[] = {
        {"stretched nine-grid", true, {3, 2, 83, 26}, {0, 0, 90, 30}, {4, 4, 4, 4}, 255, false, false, false, true},
        {"opaque nine-grid", false, {3, 2, 83, 26}, {0, 0, 90, 30}, {4, 4, 4, 4}, 255, false, false, false, true},
        {"partly painted", true, {3, 2, 83, 26}, {20, 5, 50, 12}, {4, 4, 4, 4}, 255, false, false, false, true},
        {"faded", true, {0, 0, 40, 20}, {0, 0, 90, 30}, {4, 4, 4, 4}, 100, false, false, false, true},
        {"faded opaque", false, {0, 0, 40, 20}, {0, 0, 90, 30}, {4, 4, 4, 4}, 100, false, false, false, true},
        {"hole over blend", true, {0, 0, 60, 24}, {0, 0, 90, 30}, {4, 4, 4, 4}, 255, true, false, false, true},
        {"tiled both ways", false, {1, 1, 50, 29}, {0, 0, 90, 30}, {2, 2, 2, 2}, 255, false, true, true, true},
        {"unscaled", true, {5, 5, 17, 17}, {0, 0, 90, 30}, kNoCorners, 255, false, false, false, true},
        {"outside the paint", true, {0, 0, 40, 20}, {50, 22, 90, 30}, {4, 4, 4, 4}, 255, false, false, false, true},
        // Copying would overwrite the middle a hole leaves alone.
        {"hole without blend", false, {0, 0, 60, 24}, {0, 0, 90, 30}, {4, 4, 4, 4}, 255, true, false, false, false},
        {"empty destination", true, {10, 10, 10, 20}, {0, 0, 90, 30}, kNoCorners, 255, false, false, false, false},
    };
    for (const FaceCase& c : cases) {
        SCOPED_TRACE(c.what);
        EntryPtr entry = c.rounded ? DecodeFrom(12, 12, RoundedNineGridColour) : DecodeFrom(12, 12, NineGridColour);
        ASSERT_NE(nullptr, entry);
        EXPECT_EQ(c.rounded, entry->hasAlpha);
        DibCanvas direct(90, 30, 0xFF203040);
        DibCanvas cached(90, 30, 0xFF203040);
        const RECT source = {0, 0, 12, 12};
        CRenderKit::DrawBitmap(direct.Dc(), entry->bitmap, c.dest, c.paint, source, c.corners, entry->hasAlpha,
                               c.fade, c.hole, c.xTiled, c.yTiled);
        // The second draw comes from the cache. Pieces the direct draw
        // sends past the paint rectangle are the DC clip's to cut.
        for (int round = 0; round < 2; ++round) {
            cached.Fill(0xFF203040);
            EXPECT_EQ(c.cached, CScaledImageCache::Draw(cached.Dc(), entry->bitmap, c.dest, c.paint, source, c.corners,
                                                        entry->hasAlpha, c.fade, c.hole, c.xTiled, c.yTiled));
            if (!c.cached) continue;
            int differing = 0;
            for (int y = c.paint.top; y < c.paint.bottom; ++y)
                for (int x = c.paint.left; x < c.paint.right; ++x) differing += direct.Rgb(x, y) != cached.Rgb(x, y);
            EXPECT_EQ(0, differing);
        }
    }
}

TEST(ScaledImageCache, FreedImagesLeaveNoFacesBehind)
{
    CScaledImageCache::ForgetAll();
    EntryPtr entry = DecodeFrom(12, 12, NineGridColour);
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(100, 40);
    ASSERT_TRUE(CScaledImageCache::Draw(canvas.Dc(), entry->bitmap, {0, 0, 100, 40}, {0, 0, 100, 40},
                                        {0, 0, 12, 12}, {4, 4, 4, 4}, false, 255, false, false, false));
    EXPECT_EQ(100u * 40u, CScaledImageCache::CachedPixels());
    CRenderKit::FreeImageEntry(entry.release(), true);
    EXPECT_EQ(0u, CScaledImageCache::CachedPixels());
}

// A nine-grid face of the 12 x 12 test image drawn through the cache.
bool DrawFace(DibCanvas& canvas, const TImageEntry& image, const RECT& dest, const RECT& paint)
{
    return CScaledImageCache::Draw(canvas.Dc(), image.bitmap, dest, paint, {0, 0, 12, 12}, {4, 4, 4, 4}, false, 255,
                                   false, false, false);
}

// A slider's fill drawn at every width it passes: each face is a GDI
// bitmap, so their count is bounded, and the face drawn all along stays.
TEST(ScaledImageCache, FacesOfManySmallSizesStayWithinTheFaceBudget)
{
    CScaledImageCache::ForgetAll();
    EntryPtr entry = DecodeFrom(12, 12, NineGridColour);
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(1024, 40);
    const RECT all = {0, 0, 1024, 40};
    const RECT kept = {0, 0, 1000, 30};
    for (int width = 10; width < 10 + static_cast<int>(CScaledImageCache::kFaceBudget) * 2; ++width) {
        ASSERT_TRUE(DrawFace(canvas, *entry, {0, 0, width, 30}, all));
        ASSERT_TRUE(DrawFace(canvas, *entry, kept, all));
        ASSERT_LE(CScaledImageCache::CachedFaces(), CScaledImageCache::kFaceBudget);
    }
    EXPECT_EQ(CScaledImageCache::kFaceBudget, CScaledImageCache::CachedFaces());
    const size_t pixels = CScaledImageCache::CachedPixels();
    ASSERT_TRUE(DrawFace(canvas, *entry, kept, all));
    EXPECT_EQ(pixels, CScaledImageCache::CachedPixels());
    CRenderKit::FreeImageEntry(entry.release(), true);
    EXPECT_EQ(0u, CScaledImageCache::CachedFaces());
}

TEST(ScaledImageCache, FacesOfManySizesStayWithinTheBudget)
{
    CScaledImageCache::ForgetAll();
    EntryPtr entry = DecodeFrom(12, 12, NineGridColour);
    ASSERT_NE(nullptr, entry);
    DibCanvas canvas(1024, 1024);
    const RECT all = {0, 0, 1024, 1024};
    // Faces of a window resized step by step: each 1000 x (400..) pixels.
    for (int height = 400; height < 412; ++height) {
        ASSERT_TRUE(DrawFace(canvas, *entry, {0, 0, 1000, height}, all));
        EXPECT_LE(CScaledImageCache::CachedPixels(), CScaledImageCache::kPixelBudget);
    }
    EXPECT_GT(CScaledImageCache::CachedPixels(), 0u);
    // The drawn face is the latest size's.
    EXPECT_EQ(0xFFFF00u, canvas.Rgb(999, 410));
}
