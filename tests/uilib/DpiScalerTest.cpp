#include <gtest/gtest.h>

#include <cstdlib>

#include "uilib/core/DpiScaler.h"

using SkinUI::CDpiScaler;
using SkinUI::CUIRect;

namespace {

CDpiScaler ScalerAt(int dpi, int awareness = SkinUI::UI_DPI_PER_MONITOR_AWARE)
{
    CDpiScaler s;
    s.SetAwareness(awareness);
    s.SetScaleFromDpi(dpi);
    return s;
}

} // namespace

TEST(DpiScalerValues, PercentAndDpiAtCommonSettings)
{
    const struct {
        int dpi;
        int percent;
        int ten;
        int seven;
        int minusThree;
    } cases[] = {
        {96, 100, 10, 7, -3},
        {120, 125, 13, 9, -4},
        {144, 150, 15, 11, -5},
        {192, 200, 20, 14, -6},
        {77, 80, 8, 6, -2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        CDpiScaler s = ScalerAt(c.dpi);
        EXPECT_EQ(c.percent, s.GetScalePercent());
        EXPECT_EQ(c.dpi, s.GetDpiValue());
        EXPECT_EQ(c.ten, s.ScaleValue(10));
        EXPECT_EQ(c.seven, s.ScaleValue(7));
        EXPECT_EQ(c.minusThree, s.ScaleValue(-3));
    }
}

TEST(DpiScalerValues, NewScalerIsAtHundredPercent)
{
    CDpiScaler s;
    EXPECT_EQ(SkinUI::UI_DPI_PER_MONITOR_AWARE, s.GetAwareness());
    EXPECT_EQ(100, s.GetScalePercent());
    EXPECT_EQ(96, s.GetDpiValue());
    EXPECT_EQ(10, s.ScaleValue(10));
    s.SetScaleFromDpi(144);
    EXPECT_EQ(15, s.ScaleValue(10));
    EXPECT_EQ(144, s.GetDpiValue());
    EXPECT_EQ(150, s.GetScalePercent());
}

TEST(DpiScalerValues, AwarenessPicksThePercent)
{
    CDpiScaler s;
    s.SetScaleFromDpi(120);
    s.SetScaleFromDpi(192);
    EXPECT_EQ(200, s.GetScalePercent());

    // The first scale ever set is the constructor's 96 DPI.
    s.SetAwareness(SkinUI::UI_DPI_SYSTEM_AWARE);
    EXPECT_EQ(100, s.GetScalePercent());
    EXPECT_EQ(25, s.ScaleValue(25));

    s.SetAwareness(SkinUI::UI_DPI_UNAWARE);
    EXPECT_EQ(100, s.GetScalePercent());
    EXPECT_EQ(96, s.GetDpiValue());
    EXPECT_EQ(333, s.ScaleValue(333));
    EXPECT_EQ(333, s.UnscaleValue(333));
    CUIRect rc(1, 1, 4, 4);
    s.ScaleRectInPlace(rc);
    EXPECT_EQ(4, rc.right);
}

TEST(DpiScalerRounding, RectangleKeepsRoundedSize)
{
    CDpiScaler s = ScalerAt(144);
    CUIRect rc(1, 1, 4, 4);
    s.ScaleRectInPlace(rc);
    EXPECT_EQ(2, rc.left);
    EXPECT_EQ(2, rc.top);
    EXPECT_EQ(7, rc.right);
    EXPECT_EQ(7, rc.bottom);

    // Same size wherever the rectangle lies.
    for (int x = -7; x <= 7; ++x) {
        CUIRect moved = s.ScaleRectFromEdges(x, x, x + 3, x + 3);
        EXPECT_EQ(5, moved.Width()) << x;
        EXPECT_EQ(5, moved.Height()) << x;
    }

    CUIRect back(2, 2, 7, 7);
    s.UnscaleRectInPlace(back);
    EXPECT_EQ(1, back.left);
    EXPECT_EQ(4, back.right);
}

TEST(DpiScalerRounding, SizesAndPoints)
{
    CDpiScaler s = ScalerAt(120);
    SkinUI::CUISize sz(1230, 650);
    s.ScaleSizeInPlace(sz);
    EXPECT_EQ(1538, sz.cx);
    EXPECT_EQ(813, sz.cy);
    SkinUI::CUISize made = s.ScaleSizeFromValues(3, -3);
    EXPECT_EQ(4, made.cx);
    EXPECT_EQ(-4, made.cy);
    SkinUI::CUIPoint pt(-10, 6);
    s.ScalePointInPlace(pt);
    EXPECT_EQ(-13, pt.x);
    EXPECT_EQ(8, pt.y);
}

TEST(DpiScalerRounding, UnscaleReturnsWithinOne)
{
    for (int dpi : {77, 120, 144, 192, 288}) {
        CDpiScaler s = ScalerAt(dpi);
        for (int v = -2000; v <= 2000; ++v) {
            int back = s.UnscaleValue(s.ScaleValue(v));
            ASSERT_LE(std::abs(back - v), 1) << "dpi " << dpi << " value " << v;
        }
    }
}

TEST(DpiScalerRounding, MulDivRoundsHalfAwayFromZero)
{
    EXPECT_EQ(5, CDpiScaler::MulDivRound(3, 150, 100));
    EXPECT_EQ(-5, CDpiScaler::MulDivRound(-3, 150, 100));
    EXPECT_EQ(-5, CDpiScaler::MulDivRound(3, 150, -100));
    EXPECT_EQ(4, CDpiScaler::MulDivRound(7, 1, 2));
    EXPECT_EQ(-1, CDpiScaler::MulDivRound(7, 1, 0));
    EXPECT_EQ(-1, CDpiScaler::MulDivRound(0x7FFFFFFF, 4, 2));
    EXPECT_EQ(0x7FFFFFFF, CDpiScaler::MulDivRound(0x7FFFFFFF, 100, 100));
}
