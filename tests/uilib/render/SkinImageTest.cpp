#include <gtest/gtest.h>

#include "DibCanvas.h"
#include "RenderFixtures.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;

namespace {

// A control painting one image attribute through the whole chain: draw spec,
// image cache, skin archive, decoder and bitmap drawing.
class SkinImage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SkinUITest::UseRenderArchive()); }

    void Paint(DibCanvas& canvas, const RECT& item, const wchar_t* bkimage)
    {
        CControlUI control;
        control.AttachManager(&manager, nullptr, false);
        control.SetPosition(item);
        control.SetBackgroundImage(bkimage);
        control.PaintArea(canvas.Dc(), {0, 0, canvas.Width(), canvas.Height()}, nullptr);
        control.AttachManager(nullptr, nullptr, false);
    }

    CPaintManagerUI manager;
};

} // namespace

TEST_F(SkinImage, NineGridFromTheArchive)
{
    DibCanvas canvas(120, 40, 0xFF000000);
    // A backslash name finds the entry stored with a slash, in any case.
    Paint(canvas, {10, 10, 110, 30}, L"file='IMG\\Grid12.png' corner='4,4,4,4'");
    EXPECT_EQ(16, canvas.CountRgb({10, 10, 14, 14}, 0xFF0000));
    EXPECT_EQ(16, canvas.CountRgb({106, 26, 110, 30}, 0xFFFF00));
    EXPECT_EQ(92 * 4, canvas.CountRgb({14, 10, 106, 14}, 0x00FFFF));
    EXPECT_EQ(92 * 12, canvas.CountRgb({14, 14, 106, 26}, 0xFFFFFF));
    EXPECT_EQ(0u, canvas.Rgb(9, 9));
}

TEST_F(SkinImage, DestinationSourceHoleAndFade)
{
    DibCanvas canvas(140, 140, 0xFF000000);
    // Destination relative to the item, cut at its right and bottom edges.
    Paint(canvas, {100, 100, 120, 120}, L"file='img/grid12.png' dest='10,10,30,30' source='4,4,8,8'");
    EXPECT_EQ(100, canvas.CountRgb({110, 110, 120, 120}, 0xFFFFFF));
    EXPECT_EQ(0u, canvas.Rgb(109, 109));

    canvas.Fill(0xFF000000);
    Paint(canvas, {0, 0, 100, 20}, L"file='img/grid12.png' corner='4,4,4,4' hole='true'");
    EXPECT_EQ(92 * 12, canvas.CountRgb({4, 4, 96, 16}, 0x000000));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(0, 0));

    canvas.Fill(0xFF000000);
    Paint(canvas, {0, 0, 12, 12}, L"file='img/grid12.png' fade='128'");
    EXPECT_NEAR(128, static_cast<int>((canvas.Pixel(1, 1) >> 16) & 0xFF), 1);
    EXPECT_NEAR(128, static_cast<int>(canvas.Pixel(6, 6) & 0xFF), 1);
}

TEST_F(SkinImage, TiledAndMasked)
{
    DibCanvas canvas(30, 4, 0xFF000000);
    Paint(canvas, {0, 0, 25, 4}, L"file='img/stripes10.png' xtiled='true'");
    for (int x = 0; x < 25; ++x) EXPECT_EQ((20u * (x % 10) + 10) << 16, canvas.Rgb(x, 1)) << x;
    EXPECT_EQ(0u, canvas.Rgb(25, 1));

    // The mask clears every pixel of that exact colour; a masked image of the
    // same file is cached apart from the unmasked one.
    DibCanvas masked(24, 6, 0xFF123456);
    Paint(masked, {0, 0, 24, 6}, L"file='img/cells24.png' mask='#FF0000FF'");
    EXPECT_EQ(36, masked.CountRgb({12, 0, 18, 6}, 0x123456));
    EXPECT_EQ(36, masked.CountRgb({0, 0, 6, 6}, 0xFF0000));
}

TEST_F(SkinImage, MissingImageDrawsNothing)
{
    DibCanvas canvas(20, 20, 0xFF000000);
    Paint(canvas, {0, 0, 20, 20}, L"file='img/absent.png'");
    EXPECT_EQ(400, canvas.CountRgb({0, 0, 20, 20}, 0x000000));
    CControlUI control;
    EXPECT_FALSE(control.DrawImageSpec(canvas.Dc(), L"img/grid12.png", nullptr));
}
