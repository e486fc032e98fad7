#pragma once

#include <gtest/gtest.h>

#include "uilib/core/UIRect.h"

namespace SkinUITest {

// Checks the four edges of a rectangle one by one.
inline void ExpectRect(const SkinUI::UIRectBase& rc, int left, int top, int right, int bottom)
{
    EXPECT_EQ(left, rc.left);
    EXPECT_EQ(top, rc.top);
    EXPECT_EQ(right, rc.right);
    EXPECT_EQ(bottom, rc.bottom);
}

} // namespace SkinUITest
