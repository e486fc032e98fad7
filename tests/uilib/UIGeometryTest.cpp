#include <gtest/gtest.h>

#include "uilib/core/UIPoint.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UISize.h"
#include "tests/uilib/kit/ExpectRect.h"

using SkinUI::CUIPoint;
using SkinUI::CUIRect;
using SkinUI::CUISize;
using SkinUITest::ExpectRect;

TEST(UIRect, SizeShrinkTranslate)
{
    CUIRect rc(10, 20, 110, 70);
    EXPECT_EQ(100, rc.Width());
    EXPECT_EQ(50, rc.Height());
    rc.Shrink(5, 10);
    ExpectRect(rc, 15, 30, 105, 60);
    rc.Shrink(-5, -10);
    ExpectRect(rc, 10, 20, 110, 70);
    rc.Translate(-15, 5);
    ExpectRect(rc, -5, 25, 95, 75);
    rc.MoveToOrigin();
    ExpectRect(rc, 0, 0, 100, 50);
    ExpectRect(CUIRect(), 0, 0, 0, 0);
}

TEST(UIRect, ExtendToCoverTakesEmptyRectanglesToo)
{
    CUIRect rc(10, 10, 20, 20);
    rc.ExtendToCover(CUIRect(15, 5, 30, 12));
    ExpectRect(rc, 10, 5, 30, 20);
    rc.ExtendToCover(CUIRect());
    ExpectRect(rc, 0, 0, 30, 20);
}

TEST(UIRect, KeepsNativeLayout)
{
    CUIRect rc(1, 2, 3, 4);
    const int32_t* fields = reinterpret_cast<const int32_t*>(&rc);
    EXPECT_EQ(1, fields[0]);
    EXPECT_EQ(2, fields[1]);
    EXPECT_EQ(3, fields[2]);
    EXPECT_EQ(4, fields[3]);
    CUIRect copy(static_cast<const SkinUI::UIRectBase&>(rc));
    ExpectRect(copy, 1, 2, 3, 4);
}

TEST(UIPointSize, Constructors)
{
    CUIPoint pt(-3, 7);
    EXPECT_EQ(-3, pt.x);
    EXPECT_EQ(7, pt.y);
    EXPECT_EQ(0, CUIPoint().x);
    CUISize sz(640, 480);
    CUISize copy(static_cast<const SkinUI::UISizeBase&>(sz));
    EXPECT_EQ(640, copy.cx);
    EXPECT_EQ(480, copy.cy);
}
