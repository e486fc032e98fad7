#include <gtest/gtest.h>

#include "uilib/control/ScrollBar.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"
#include "tests/uilib/kit/ExpectRect.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;
using SkinUITest::ExpectRect;
using SkinUITest::SendEvent;

namespace {

TEST(ScrollBar, ThumbLengthAndPlaceFollowRangeAndPosition)
{
    CScrollBarUI bar;
    bar.SetPosition(RECT{0, 0, 16, 100}, false);
    bar.SetScrollRange(200);
    ExpectRect(bar.Button1Rect(), 0, 0, 16, 16);
    ExpectRect(bar.Button2Rect(), 0, 84, 16, 100);
    ExpectRect(bar.ThumbRect(), 0, 16, 16, 38);
    bar.SetScrollPos(100);
    ExpectRect(bar.ThumbRect(), 0, 39, 16, 61);
    bar.SetScrollPos(200);
    ExpectRect(bar.ThumbRect(), 0, 62, 16, 84);
}

TEST(ScrollBar, HorizontalBarMirrorsTheGeometry)
{
    CScrollBarUI bar;
    bar.SetHorizontal(true);
    EXPECT_EQ(0, bar.GetFixedSizeValue().cx);
    EXPECT_EQ(16, bar.GetFixedSizeValue().cy);
    bar.SetPosition(RECT{10, 50, 110, 66}, false);
    bar.SetScrollRange(200);
    bar.SetScrollPos(100);
    ExpectRect(bar.Button1Rect(), 10, 50, 26, 66);
    ExpectRect(bar.Button2Rect(), 94, 50, 110, 66);
    ExpectRect(bar.ThumbRect(), 49, 50, 71, 66);
}

TEST(ScrollBar, RangeZeroFillsTheTrackAndDraggingChangesNothing)
{
    CScrollBarUI bar;
    bar.SetPosition(RECT{0, 0, 16, 100}, false);
    ExpectRect(bar.ThumbRect(), 0, 16, 16, 84);
    SendEvent(bar, UIEVENT_BUTTONDOWN, 8, 50);
    EXPECT_TRUE(bar.ThumbState() & 0x40);
    SendEvent(bar, UIEVENT_MOUSEMOVE, 8, 90);
    SendEvent(bar, UIEVENT_TIMER, 8, 90, CScrollBarUI::kRepeatTimerId);
    EXPECT_EQ(0, bar.GetScrollPos());
    SendEvent(bar, UIEVENT_BUTTONUP, 8, 90);
    EXPECT_EQ(0u, bar.ThumbState() & 0x50);
}

TEST(ScrollBar, ThumbDragWithHiddenButtonsFollowsThePointer)
{
    CScrollBarUI bar;
    bar.ApplyAttributeList(L"showbutton1=\"false\" showbutton2=\"false\"");
    bar.SetPosition(RECT{0, 0, 16, 100}, false);
    bar.SetScrollRange(100);
    // Thumb 50 long, 50 pixels of travel for a range of 100.
    ExpectRect(bar.ThumbRect(), 0, 0, 16, 50);
    SendEvent(bar, UIEVENT_BUTTONDOWN, 8, 10);
    SendEvent(bar, UIEVENT_MOUSEMOVE, 8, 35);
    SendEvent(bar, UIEVENT_TIMER, 8, 35, CScrollBarUI::kRepeatTimerId);
    EXPECT_EQ(50, bar.GetScrollPos());
    SendEvent(bar, UIEVENT_MOUSEMOVE, 8, 400);
    SendEvent(bar, UIEVENT_TIMER, 8, 400, CScrollBarUI::kRepeatTimerId);
    EXPECT_EQ(100, bar.GetScrollPos());
}

TEST(ScrollBar, ShortBarShowsHalfLengthButtonsAndNoThumb)
{
    CScrollBarUI bar;
    bar.SetScrollRange(50);
    bar.SetPosition(RECT{0, 0, 16, 40}, false);
    ExpectRect(bar.Button1Rect(), 0, 0, 16, 16);
    ExpectRect(bar.Button2Rect(), 0, 24, 16, 40);
    ExpectRect(bar.ThumbRect(), 0, 0, 0, 0);
    bar.SetPosition(RECT{0, 0, 16, 20}, false);
    ExpectRect(bar.Button1Rect(), 0, 0, 16, 10);
    ExpectRect(bar.Button2Rect(), 0, 10, 16, 20);
}

TEST(ScrollBar, PositionAndRangeAreClamped)
{
    CScrollBarUI bar;
    bar.SetScrollRange(100);
    bar.SetScrollPos(-5);
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.SetScrollPos(110);
    EXPECT_EQ(100, bar.GetScrollPos());
    bar.SetScrollRange(40);
    EXPECT_EQ(40, bar.GetScrollPos());
    bar.SetScrollRange(-3);
    EXPECT_EQ(0, bar.GetScrollRange());
    EXPECT_EQ(0, bar.GetScrollPos());
    // Attribute order matters: a value before its range is cut to 0.
    CScrollBarUI styled;
    styled.ApplyAttributeList(L"value=\"30\" range=\"50\"");
    EXPECT_EQ(0, styled.GetScrollPos());
    styled.ApplyAttributeList(L"range=\"50\" value=\"30\"");
    EXPECT_EQ(30, styled.GetScrollPos());
}

TEST(ScrollBar, HeldArrowRepeatsFromTheSixthTick)
{
    CPaintManagerUI manager;
    manager.AttachWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
    CScrollBarUI bar;
    bar.AttachManager(&manager, nullptr, false);
    bar.SetPosition(RECT{0, 0, 16, 200}, false);
    bar.SetScrollRange(1000);
    bar.SetLineSize(10);
    SendEvent(bar, UIEVENT_BUTTONDOWN, 8, 190);
    EXPECT_EQ(10, bar.GetScrollPos());
    EXPECT_TRUE(bar.Button2State() & 0x10);
    for (int tick = 1; tick <= 5; ++tick) SendEvent(bar, UIEVENT_TIMER, 8, 190, CScrollBarUI::kRepeatTimerId);
    EXPECT_EQ(10, bar.GetScrollPos());
    SendEvent(bar, UIEVENT_TIMER, 8, 190, CScrollBarUI::kRepeatTimerId);
    EXPECT_EQ(20, bar.GetScrollPos());
    SendEvent(bar, UIEVENT_TIMER, 8, 190, CScrollBarUI::kRepeatTimerId);
    EXPECT_EQ(30, bar.GetScrollPos());
    SendEvent(bar, UIEVENT_BUTTONUP, 8, 190);
    EXPECT_EQ(0u, bar.Button2State() & 0x10);
    SendEvent(bar, UIEVENT_TIMER, 8, 190, CScrollBarUI::kRepeatTimerId);
    EXPECT_EQ(30, bar.GetScrollPos());

    SendEvent(bar, UIEVENT_BUTTONDOWN, 8, 5);
    EXPECT_EQ(20, bar.GetScrollPos());
    bar.EndPress();
    EXPECT_EQ(0u, bar.Button1State() & 0x10);
    EXPECT_TRUE(manager.StartTimer(&bar, CScrollBarUI::kRepeatTimerId, 50)) << "the repeat stopped";
    DestroyWindow(manager.WindowHandle());
}

TEST(ScrollBar, PressOnTheTrackPagesTowardsThePoint)
{
    CScrollBarUI bar;
    bar.SetPosition(RECT{0, 0, 16, 200}, false);
    bar.SetScrollRange(1000);
    SendEvent(bar, UIEVENT_BUTTONDOWN, 8, 150);
    EXPECT_EQ(200, bar.GetScrollPos());
    SendEvent(bar, UIEVENT_BUTTONUP, 8, 150);
    SendEvent(bar, UIEVENT_BUTTONDOWN, 8, 17);
    EXPECT_EQ(0, bar.GetScrollPos());
}

TEST(ScrollBar, OwnerScrollsInsteadOfTheBar)
{
    CContainerUI* owner = new CContainerUI();
    owner->ApplyAttribute(L"vscrollbar", L"true");
    CScrollBarUI* bar = owner->GetVScrollBarControl();
    ASSERT_NE(nullptr, bar);
    owner->SetPosition(RECT{0, 0, 100, 100}, false);
    bar->SetPosition(RECT{84, 0, 100, 100}, false);
    bar->SetScrollRange(300);
    owner->SetScrollStep(25);
    SendEvent(*bar, UIEVENT_BUTTONDOWN, 90, 95);
    EXPECT_EQ(25, bar->GetScrollPos());
    EXPECT_EQ(25, owner->GetScrollOffset().cy);
    delete owner;
}

TEST(ScrollBar, DisablingClearsThePartStates)
{
    CScrollBarUI bar;
    bar.SetPosition(RECT{0, 0, 16, 100}, false);
    bar.SetScrollRange(100);
    SendEvent(bar, UIEVENT_MOUSEENTER, 8, 50);
    EXPECT_TRUE(bar.Button1State() & 0x08);
    bar.SetEnabledState(false);
    EXPECT_EQ(0u, bar.Button1State());
    EXPECT_EQ(0u, bar.Button2State());
    EXPECT_EQ(0u, bar.ThumbState());
    SendEvent(bar, UIEVENT_BUTTONDOWN, 8, 95);
    EXPECT_EQ(0, bar.GetScrollPos());
}

} // namespace
