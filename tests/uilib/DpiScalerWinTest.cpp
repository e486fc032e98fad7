#include <gtest/gtest.h>

#include "uilib/core/DpiScaler.h"

using SkinUI::CDpiScaler;

TEST(DpiScalerSystem, MonitorDpiIsPlausible)
{
    CDpiScaler s;
    int32_t dpi = s.GetDpiForPoint(0, 0);
    EXPECT_GE(dpi, 72);
    EXPECT_LE(dpi, 480);
    EXPECT_TRUE(CDpiScaler::IsVistaOrLater());
}

TEST(DpiScalerSystem, AwarenessIsStoredOnlyWhenTheSystemAccepts)
{
    CDpiScaler s;
    s.SetAwareness(SkinUI::UI_DPI_UNAWARE);
    bool set = s.SetProcessAwareness(SkinUI::UI_DPI_PER_MONITOR_AWARE);
    EXPECT_EQ(set ? SkinUI::UI_DPI_PER_MONITOR_AWARE : SkinUI::UI_DPI_UNAWARE, s.GetAwareness());

    // The process awareness can be set once; a second request is refused.
    CDpiScaler again;
    again.SetAwareness(SkinUI::UI_DPI_UNAWARE);
    EXPECT_FALSE(again.SetProcessAwareness(SkinUI::UI_DPI_SYSTEM_AWARE));
    EXPECT_EQ(SkinUI::UI_DPI_UNAWARE, again.GetAwareness());
}
