#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "uilib/control/ScrollBar.h"
#include "uilib/layout/Container.h"
#include "tests/uilib/render/DibCanvas.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::HasRgb;

namespace {

CControlUI* Filled(const wchar_t* attributes)
{
    CControlUI* control = new CControlUI();
    control->ApplyAttributeList(attributes);
    return control;
}

TEST(ContainerPaint, ChildrenAreClippedToTheInnerAreaButFloatingOnesAreNot)
{
    CContainerUI container;
    container.ApplyAttributeList(L"bkcolor=\"#FF0000FF\" inset=\"10,10,10,10\"");
    // Stacked over the inner area, but wider than it: clipped at the inset.
    container.AddChild(Filled(L"bkcolor=\"#FF00FF00\" minwidth=\"100\""));
    // Floating across the inset: painted where it lies.
    container.AddChild(Filled(L"bkcolor=\"#FFFF0000\" float=\"true\" pos=\"0,0,6,6\""));
    container.SetPosition(RECT{0, 0, 60, 40}, false);
    DibCanvas canvas(80, 50);
    RECT all = {0, 0, 80, 50};
    EXPECT_TRUE(container.PaintArea(canvas.Dc(), all, nullptr));
    EXPECT_TRUE(HasRgb(canvas, {{8, 20, 0x0000FF}, {30, 20, 0x00FF00}, {55, 20, 0x0000FF}, {70, 20, 0x000000},
                                {2, 2, 0xFF0000}}));
}

TEST(ContainerPaint, StopControlEndsThePaint)
{
    CContainerUI container;
    CControlUI* first = Filled(L"bkcolor=\"#FF00FF00\" height=\"10\"");
    container.AddChild(first);
    container.SetPosition(RECT{0, 0, 20, 20}, false);
    DibCanvas canvas(20, 20);
    RECT all = {0, 0, 20, 20};
    EXPECT_FALSE(container.PaintArea(canvas.Dc(), all, first));
    EXPECT_EQ(0u, canvas.Rgb(5, 5));
}

TEST(ScrollBarPaint, PartsWithoutImagesAreOutlined)
{
    CScrollBarUI bar;
    bar.SetPosition(RECT{0, 0, 16, 100}, false);
    bar.SetScrollRange(100);
    DibCanvas canvas(16, 100);
    RECT all = {0, 0, 16, 100};
    bar.PaintArea(canvas.Dc(), all, nullptr);
    // Button 1 occupies 0..16: its outline is drawn, its middle stays clear.
    EXPECT_EQ(0x85E4FFu, canvas.Rgb(8, 0) & 0xFFFFFF);
    EXPECT_EQ(0u, canvas.Rgb(8, 8));
}

} // namespace
