// The colour palette: its colour model, the surface it paints, dragging in the
// field and the bar, and a control with no area.
#include <gtest/gtest.h>

#include "NotifyRecorder.h"
#include "SentEvents.h"
#include "uilib/control/ColorPalette.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;

namespace {

struct HslCase {
    int hue;
    int saturation;
    int lightness;
    uint32_t argb;
};

const HslCase kHslCases[] = {
    {0, 200, 100, 0xFFFF0000},   {120, 200, 100, 0xFF00FF00}, {240, 200, 100, 0xFF0000FF},
    {360, 200, 100, 0xFFFF0000}, {60, 200, 100, 0xFFFFFF00},  {180, 0, 100, 0xFF7F7F7F},
    {90, 0, 50, 0xFF3F3F3F},     {0, 0, 0, 0xFF000000},       {300, 200, 200, 0xFFFFFFFF},
    {0, 200, 50, 0xFF7F0000},
};

// Blue, green, red of one surface pixel as 0xRRGGBB.
uint32_t SurfaceRgb(const TPaletteSurface& surface, int x, int y)
{
    const uint8_t* p = surface.pixels + y * surface.stride + x * 4;
    return (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

struct PaletteFixture : ::testing::Test {
    void SetUp() override
    {
        palette = new CColorPaletteUI();
        palette->AttachManager(&manager, nullptr, false);
        palette->Initialize();
        palette->SetPosition(CUIRect(0, 0, 360, 220), false);
        ASSERT_NE(palette->GetSurface().pixels, nullptr);
    }
    void TearDown() override { delete palette; }

    CPaintManagerUI manager;
    CColorPaletteUI* palette = nullptr;
};

} // namespace

TEST(PaletteColour, HslToRgbInSinglePrecision)
{
    for (const HslCase& c : kHslCases) {
        SCOPED_TRACE(c.hue);
        EXPECT_EQ(PaletteHslToArgb(c.hue, c.saturation, c.lightness), c.argb);
    }
}

TEST_F(PaletteFixture, FieldHasEveryHueAndLightnessAndNoPureBlack)
{
    const TPaletteSurface& surface = palette->GetSurface();
    // Row 200 is lightness 0: written as red 1, never black.
    for (int x = 0; x < 360; x += 37) EXPECT_EQ(SurfaceRgb(surface, x, 200), 0x010000u);
    EXPECT_EQ(SurfaceRgb(surface, 0, 100), 0xFF0000u);
    EXPECT_EQ(SurfaceRgb(surface, 120, 100), 0x00FF00u);
    EXPECT_EQ(SurfaceRgb(surface, 0, 1), PaletteHslToArgb(0, 200, 199) & 0xFFFFFFu);
    // The bar at hue 180, lightness 100: saturation from left to right.
    EXPECT_EQ(SurfaceRgb(surface, 0, 210), 0x7F7F7Fu);
    EXPECT_EQ(SurfaceRgb(surface, 199, 219), PaletteHslToArgb(180, 199, 100) & 0xFFFFFFu);
}

TEST_F(PaletteFixture, BarAtZeroSaturationTurnsTheFieldGrey)
{
    SendEvent(*palette, UIEVENT_BUTTONDOWN, 0, 215);
    EXPECT_TRUE(palette->IsDraggingBar());
    EXPECT_EQ(palette->GetSaturation(), 0);
    const TPaletteSurface& surface = palette->GetSurface();
    for (int x = 0; x < 360; x += 45) EXPECT_EQ(SurfaceRgb(surface, x, 100), 0x7F7F7Fu);
    SendEvent(*palette, UIEVENT_BUTTONUP, 0, 215);
    EXPECT_EQ(palette->GetColor(), 0xFF7F7F7Fu);
}

TEST_F(PaletteFixture, DragInTheFieldPicksHueAndLightnessAndReportsOnRelease)
{
    NotifyRecorder recorder(manager);
    SendEvent(*palette, UIEVENT_BUTTONDOWN, 90, 50);
    EXPECT_TRUE(palette->IsDraggingField());
    EXPECT_EQ(palette->GetHue(), 90);
    EXPECT_EQ(palette->GetLightness(), 150);
    EXPECT_EQ(palette->GetThumbPoint().x, 90);
    EXPECT_EQ(palette->GetThumbPoint().y, 50);
    // Past the field's right edge only repaints.
    SendEvent(*palette, UIEVENT_MOUSEMOVE, 400, 80);
    EXPECT_EQ(palette->GetHue(), 90);
    // The right edge itself is still the field: hue 360.
    SendEvent(*palette, UIEVENT_MOUSEMOVE, 360, 100);
    EXPECT_EQ(palette->GetHue(), 360);
    EXPECT_EQ(palette->GetLightness(), 100);
    SendEvent(*palette, UIEVENT_BUTTONUP, 360, 100);
    ASSERT_EQ(recorder.Count(L"colorchanged"), 1);
    EXPECT_EQ(static_cast<uint32_t>(recorder.Entries()[0].wParam), 0xFFFF0000u);
    EXPECT_FALSE(palette->IsDraggingField());
    SendEvent(*palette, UIEVENT_BUTTONDOWN, 90, 50);
    palette->EndPress();
    SendEvent(*palette, UIEVENT_MOUSEMOVE, 180, 50);
    EXPECT_EQ(palette->GetHue(), 90) << "an abandoned press picks nothing more";
}

TEST_F(PaletteFixture, PressOnTheRightEdgeIsOutsideAndOverlapStartsABarDrag)
{
    SendEvent(*palette, UIEVENT_BUTTONDOWN, 360, 50);
    EXPECT_FALSE(palette->IsDraggingField());
    EXPECT_EQ(palette->GetHue(), 180);
    SendEvent(*palette, UIEVENT_BUTTONUP, 360, 50);

    palette->ApplyAttribute(L"palletheight", L"215");
    SendEvent(*palette, UIEVENT_BUTTONDOWN, 180, 212);
    EXPECT_TRUE(palette->IsDraggingBar());
    EXPECT_FALSE(palette->IsDraggingField());
    EXPECT_EQ(palette->GetSaturation(), 100);
    // Without the button held, a move ends both drags.
    SendEvent(*palette, UIEVENT_BUTTONUP, 180, 212);
    SendEvent(*palette, UIEVENT_MOUSEMOVE, 10, 212);
    EXPECT_EQ(palette->GetSaturation(), 100);
}

TEST(PaletteAttributes, HeightsAndThumb)
{
    CColorPaletteUI palette;
    palette.ApplyAttribute(L"barheight", L"200");
    EXPECT_EQ(palette.GetBarHeight(), 150);
    palette.ApplyAttribute(L"barheight", L"12");
    EXPECT_EQ(palette.GetBarHeight(), 12);
    palette.ApplyAttribute(L"palletheight", L"180");
    EXPECT_EQ(palette.GetPaletteHeight(), 180);
    palette.ApplyAttribute(L"palletheight", L"-5");
    EXPECT_EQ(palette.GetPaletteHeight(), 0);
    EXPECT_EQ(palette.FindInterface(L"ColorPalette"), &palette);
}

TEST(PaletteZeroSize, NoAreaTakesNoInputAndNeverDivides)
{
    struct ZeroCase {
        CUIRect rc;
        const wchar_t* paletteHeight;
    };
    const ZeroCase kCases[] = {
        {CUIRect(0, 0, 0, 0), L"200"},
        {CUIRect(10, 10, 10, 300), L"200"},
        {CUIRect(0, 0, 300, 300), L"0"},
    };
    for (const ZeroCase& c : kCases) {
        CPaintManagerUI manager;
        CColorPaletteUI palette;
        palette.AttachManager(&manager, nullptr, false);
        palette.Initialize();
        palette.ApplyAttribute(L"palletheight", c.paletteHeight);
        palette.SetPosition(c.rc, false);
        SendEvent(palette, UIEVENT_BUTTONDOWN, c.rc.left, c.rc.top);
        SendEvent(palette, UIEVENT_MOUSEMOVE, c.rc.left + 5, c.rc.top + 5);
        SendEvent(palette, UIEVENT_BUTTONUP, c.rc.left + 5, c.rc.top + 5);
        EXPECT_EQ(palette.GetHue(), 180);
        EXPECT_EQ(palette.GetSaturation(), 200);
        EXPECT_EQ(palette.GetLightness(), 100);
        EXPECT_FALSE(palette.IsDraggingField());
        EXPECT_FALSE(palette.IsDraggingBar());
        palette.AttachManager(nullptr, nullptr, false);
    }
}
