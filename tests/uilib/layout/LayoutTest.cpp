#include <gtest/gtest.h>

#include <algorithm>

#include "uilib/control/ScrollBar.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/HorizontalLayout.h"
#include "uilib/layout/VerticalLayout.h"
#include "tests/uilib/kit/AddedControls.h"
#include "tests/uilib/kit/ExpectRect.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;
using SkinUITest::AddControl;
using SkinUITest::ExpectRect;
using SkinUITest::SendEvent;

namespace {

CUIRect At(const CContainerUI& layout, int index)
{
    return layout.GetChildAt(index)->GetPosition();
}

// Children of a column or a row: fixed sizes and gaps first, what is left
// shared by the adjustable ones, the remainder to the last.
struct ShareCase {
    const char* name;
    bool vertical;
    const wchar_t* childPadding;  // empty: none
    const wchar_t* children[3];   // attributes; empty: adjustable
    RECT position;
    RECT expected[3];
};

TEST(BoxLayout, AdjustableChildrenShareWhatFixedOnesAndGapsLeaveWithTheRestToTheLast)
{
    const ShareCase cases[] = {
        {"column of three adjustable", true, L"", {L"", L"", L""}, {0, 0, 80, 100},
         {{0, 0, 80, 33}, {0, 33, 80, 66}, {0, 66, 80, 100}}},
        {"row of three adjustable", false, L"", {L"", L"", L""}, {10, 5, 110, 45},
         {{10, 5, 43, 45}, {43, 5, 76, 45}, {76, 5, 110, 45}}},
        {"column, fixed child and gap", true, L"10", {L"height=\"30\"", L"", L""}, {0, 0, 50, 100},
         {{0, 0, 50, 30}, {0, 40, 50, 65}, {0, 75, 50, 100}}},
        {"row, fixed child and gap", false, L"10", {L"width=\"30\"", L"", L""}, {0, 0, 100, 20},
         {{0, 0, 30, 20}, {40, 0, 65, 20}, {75, 0, 100, 20}}},
    };
    for (const ShareCase& c : cases) {
        SCOPED_TRACE(c.name);
        CVerticalLayoutUI column;
        CHorizontalLayoutUI row;
        CContainerUI& layout = c.vertical ? static_cast<CContainerUI&>(column) : row;
        if (c.childPadding[0] != L'\0') layout.ApplyAttribute(L"childpadding", c.childPadding);
        for (const wchar_t* child : c.children) AddControl(layout, child);
        layout.SetPosition(c.position, false);
        for (int i = 0; i < 3; ++i)
            ExpectRect(At(layout, i), c.expected[i].left, c.expected[i].top, c.expected[i].right, c.expected[i].bottom);
    }
    // Scaled: children clamped to another size after the last adjustable one,
    // then fixed ones; the last ends its padding off the edge, each keeps its
    // scaled size.
    const struct {
        const wchar_t* childPadding;
        const wchar_t* children[5];
        int height;  // skin pixels
    } scaled[] = {
        {L"2", {L"", L"height=\"18\" maxheight=\"17\"", L"height=\"18\"", L"height=\"18\"", L"height=\"20\""}, 300},
        {L"5", {L"", L"height=\"18\"", L"height=\"18\" maxheight=\"17\"", L"height=\"1\"", L"height=\"3\""}, 160},
        {L"1", {L"", L"height=\"18\"", L"height=\"18\"", L"height=\"18\"", L"height=\"3\" padding=\"0,0,0,1\""}, 300},
    };
    for (const auto& c : scaled) {
        for (const int dpi : {96, 120, 144, 168, 192}) {
            SCOPED_TRACE(dpi);
            CPaintManagerUI manager;
            manager.DpiScaler()->SetAwareness(UI_DPI_PER_MONITOR_AWARE);
            manager.DpiScaler()->SetScaleFromDpi(dpi);
            CVerticalLayoutUI* layout = new CVerticalLayoutUI();
            layout->ApplyAttribute(L"childpadding", c.childPadding);
            for (const wchar_t* child : c.children) AddControl(*layout, child);
            manager.InitializeTree(layout, nullptr);
            layout->SetPosition(RECT{0, 0, 40, manager.DpiScaler()->ScaleValue(c.height)}, false);
            const int edge = layout->GetPosition().bottom - layout->GetChildAt(4)->GetScaledPadding().bottom;
            EXPECT_EQ(edge, At(*layout, 4).bottom);
            for (int i = 1; i < 5; ++i) {
                const CControlUI* child = layout->GetChildAt(i);
                const int scaledSize = std::min(child->GetScaledFixedHeight(), child->GetScaledMaxHeight());
                EXPECT_EQ(scaledSize, At(*layout, i).Height());
            }
        }
    }
}

TEST(VerticalLayout, MinimumAndMaximumHeightsBoundTheShare)
{
    CVerticalLayoutUI layout;
    AddControl(layout, L"maxheight=\"20\"");
    AddControl(layout, L"minheight=\"70\"");
    layout.SetPosition(RECT{0, 0, 40, 100}, false);
    EXPECT_EQ(20, At(layout, 0).Height());
    EXPECT_EQ(80, At(layout, 1).Height());
    EXPECT_EQ(20, At(layout, 1).top);
}

TEST(VerticalLayout, InsetAndPaddingShrinkTheChildren)
{
    CVerticalLayoutUI layout;
    layout.ApplyAttribute(L"inset", L"5,6,7,8");
    AddControl(layout, L"height=\"20\" padding=\"3,0,4,2\"");
    AddControl(layout, L"padding=\"1,0,0,4\"");
    layout.SetPosition(RECT{0, 0, 100, 100}, false);
    ExpectRect(At(layout, 0), 8, 6, 89, 26);
    // The last adjustable takes what is left less its own bottom padding.
    ExpectRect(At(layout, 1), 6, 28, 93, 88);
}

TEST(VerticalLayout, ChildWidthFollowsTheAlignment)
{
    const struct {
        const wchar_t* align;
        int left;
    } cases[] = {{L"left", 4}, {L"center", 25}, {L"right", 46}, {L"Center", 4}};
    for (const auto& c : cases) {
        CVerticalLayoutUI layout;
        layout.ApplyAttribute(L"childalign", c.align);
        AddControl(layout, L"width=\"50\" height=\"10\" padding=\"4,0,4,0\"");
        AddControl(layout, L"height=\"10\" padding=\"4,0,4,0\"");
        layout.SetPosition(RECT{0, 0, 100, 40}, false);
        EXPECT_EQ(c.left, At(layout, 0).left) << c.align;
        EXPECT_EQ(50, At(layout, 0).Width()) << c.align;
        ExpectRect(At(layout, 1), 4, 10, 96, 20);
    }
}

TEST(HorizontalLayout, ChildHeightFollowsTheVerticalAlignment)
{
    const struct {
        const wchar_t* align;
        int top;
    } cases[] = {{L"top", 0}, {L"vcenter", 15}, {L"bottom", 30}};
    for (const auto& c : cases) {
        CHorizontalLayoutUI layout;
        layout.ApplyAttribute(L"childvalign", c.align);
        AddControl(layout, L"width=\"10\" height=\"20\"");
        layout.SetPosition(RECT{0, 0, 100, 50}, false);
        ExpectRect(At(layout, 0), 0, c.top, 10, c.top + 20);
    }
}

TEST(VerticalLayout, HiddenAndFloatingChildrenTakeNoShare)
{
    CVerticalLayoutUI layout;
    AddControl(layout);
    AddControl(layout, L"visible=\"false\"");
    AddControl(layout, L"float=\"true\" pos=\"5,5,25,15\"");
    AddControl(layout);
    layout.SetPosition(RECT{0, 100, 60, 200}, false);
    ExpectRect(At(layout, 0), 0, 100, 60, 150);
    ExpectRect(At(layout, 3), 0, 150, 60, 200);
    ExpectRect(At(layout, 2), 5, 105, 25, 115);
}

TEST(VerticalLayout, ContentTallerThanTheLayoutTurnsOnTheScrollBar)
{
    CVerticalLayoutUI layout;
    layout.ApplyAttribute(L"vscrollbar", L"true");
    for (int i = 0; i < 3; ++i) AddControl(layout, L"height=\"100\"");
    CScrollBarUI* bar = layout.GetVScrollBarControl();
    ASSERT_NE(nullptr, bar);
    layout.SetPosition(RECT{0, 0, 100, 120}, false);
    EXPECT_TRUE(bar->GetVisibility());
    EXPECT_EQ(180, bar->GetScrollRange());
    ExpectRect(bar->GetPosition(), 84, 0, 100, 120);
    // Children stretch to the width left beside the bar.
    EXPECT_EQ(84, At(layout, 0).Width());

    layout.SetScrollOffset(CUISize(0, 50), false);
    EXPECT_EQ(-50, At(layout, 0).top);
    EXPECT_EQ(50, layout.GetScrollOffset().cy);

    // Enough room again: the bar goes away and the offset with it.
    layout.SetPosition(RECT{0, 0, 100, 400}, false);
    EXPECT_FALSE(bar->GetVisibility());
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ(0, At(layout, 0).top);
}

TEST(HorizontalLayout, ContentWiderThanTheLayoutTurnsOnTheScrollBar)
{
    CHorizontalLayoutUI layout;
    layout.ApplyAttribute(L"hscrollbar", L"true");
    AddControl(layout, L"width=\"150\"");
    AddControl(layout, L"width=\"150\"");
    CScrollBarUI* bar = layout.GetHScrollBarControl();
    ASSERT_NE(nullptr, bar);
    layout.SetPosition(RECT{0, 0, 200, 60}, false);
    EXPECT_TRUE(bar->GetVisibility());
    EXPECT_EQ(100, bar->GetScrollRange());
    ExpectRect(bar->GetPosition(), 0, 44, 200, 60);
    EXPECT_EQ(44, At(layout, 0).Height());
}

TEST(Separator, StripLiesAlongTheEdgeItsSignNames)
{
    CVerticalLayoutUI bottom;
    bottom.ApplyAttribute(L"sepheight", L"4");
    bottom.SetPosition(RECT{0, 0, 50, 100}, false);
    ExpectRect(bottom.GetSeparatorRect(false), 0, 96, 50, 100);
    EXPECT_EQ(static_cast<uint32_t>(UIFLAG_SETCURSOR), bottom.GetBehaviorFlags());

    CVerticalLayoutUI top;
    top.ApplyAttribute(L"sepheight", L"-4");
    top.SetPosition(RECT{0, 0, 50, 100}, false);
    ExpectRect(top.GetSeparatorRect(false), 0, 0, 50, 4);
    EXPECT_EQ(0u, top.GetBehaviorFlags());

    CHorizontalLayoutUI right;
    right.ApplyAttribute(L"sepwidth", L"6");
    right.SetPosition(RECT{10, 0, 60, 30}, false);
    ExpectRect(right.GetSeparatorRect(false), 54, 0, 60, 30);
    right.SetEnabledState(false);
    EXPECT_EQ(0u, right.GetBehaviorFlags());

    CHorizontalLayoutUI left;
    left.ApplyAttribute(L"sepwidth", L"-6");
    left.SetPosition(RECT{10, 0, 60, 30}, false);
    ExpectRect(left.GetSeparatorRect(false), 10, 0, 16, 30);
}

TEST(Separator, DragResizesWithinTheMinimumAndMaximum)
{
    CVerticalLayoutUI layout;
    layout.ApplyAttributeList(L"sepheight=\"4\" sepimm=\"true\" minheight=\"60\" maxheight=\"150\"");
    layout.SetPosition(RECT{0, 0, 50, 100}, false);

    SendEvent(layout, UIEVENT_BUTTONDOWN, 10, 98);
    EXPECT_TRUE(layout.IsDraggingSeparator());
    SendEvent(layout, UIEVENT_MOUSEMOVE, 10, 118);
    EXPECT_EQ(120, layout.GetPosition().Height());
    EXPECT_EQ(120, layout.GetFixedSizeValue().cy);
    // Past the maximum: stops at it.
    SendEvent(layout, UIEVENT_MOUSEMOVE, 10, 200);
    EXPECT_EQ(150, layout.GetPosition().Height());
    // Further out: ignored, the layout is at its maximum already.
    SendEvent(layout, UIEVENT_MOUSEMOVE, 10, 260);
    EXPECT_EQ(150, layout.GetPosition().Height());
    // Back up past the minimum: stops at it.
    SendEvent(layout, UIEVENT_MOUSEMOVE, 10, 10);
    EXPECT_EQ(60, layout.GetPosition().Height());
    SendEvent(layout, UIEVENT_BUTTONUP, 10, 10);
    EXPECT_FALSE(layout.IsDraggingSeparator());
    EXPECT_EQ(60, layout.GetFixedSizeValue().cy);

    // A press outside the strip starts nothing.
    SendEvent(layout, UIEVENT_BUTTONDOWN, 10, 20);
    EXPECT_FALSE(layout.IsDraggingSeparator());
}

TEST(Separator, LeftEdgeDragMovesTheLeftEdge)
{
    CHorizontalLayoutUI layout;
    layout.ApplyAttributeList(L"sepwidth=\"-4\" sepimm=\"true\" minwidth=\"20\"");
    layout.SetPosition(RECT{100, 0, 200, 30}, false);
    SendEvent(layout, UIEVENT_BUTTONDOWN, 101, 10);
    SendEvent(layout, UIEVENT_MOUSEMOVE, 81, 10);
    ExpectRect(layout.GetPosition(), 80, 0, 200, 30);
    EXPECT_EQ(120, layout.GetFixedSizeValue().cx);
    layout.EndPress();
    SendEvent(layout, UIEVENT_MOUSEMOVE, 61, 10);
    EXPECT_EQ(120, layout.GetFixedSizeValue().cx) << "an abandoned press drags no further";
}

TEST(Separator, DragAtOneHundredFiftyPercentStoresSkinPixels)
{
    CPaintManagerUI manager;
    manager.DpiScaler()->SetAwareness(UI_DPI_PER_MONITOR_AWARE);
    manager.DpiScaler()->SetScaleFromDpi(144);
    ASSERT_EQ(150, manager.DpiScaler()->GetScalePercent());

    CVerticalLayoutUI* layout = new CVerticalLayoutUI();
    layout->ApplyAttributeList(L"sepheight=\"4\" sepimm=\"true\" height=\"100\"");
    manager.InitializeTree(layout, nullptr);
    layout->SetPosition(RECT{0, 0, 60, 150}, false);
    EXPECT_EQ(150, layout->GetScaledFixedHeight());

    SendEvent(*layout, UIEVENT_BUTTONDOWN, 5, 148);
    SendEvent(*layout, UIEVENT_MOUSEMOVE, 5, 178);
    EXPECT_EQ(180, layout->GetPosition().Height());
    // 180 device pixels at 150 % are 120 skin pixels; laid out again they
    // give the same 180, so the layout does not jump.
    EXPECT_EQ(120, layout->GetFixedSizeValue().cy);
    EXPECT_EQ(180, layout->GetScaledFixedHeight());
    SendEvent(*layout, UIEVENT_BUTTONUP, 5, 178);
    manager.ForgetControl(layout);
    layout->AttachManager(nullptr, nullptr, false);
    delete layout;
}

TEST(Separator, GhostDragLeavesTheLayoutUntilRelease)
{
    CVerticalLayoutUI layout;
    layout.ApplyAttribute(L"sepheight", L"4");
    layout.SetPosition(RECT{0, 0, 50, 100}, false);
    SendEvent(layout, UIEVENT_BUTTONDOWN, 10, 98);
    SendEvent(layout, UIEVENT_MOUSEMOVE, 10, 128);
    EXPECT_EQ(100, layout.GetPosition().Height());
    ExpectRect(layout.GetSeparatorRect(true), 0, 126, 50, 130);
    SendEvent(layout, UIEVENT_BUTTONUP, 10, 128);
    EXPECT_EQ(130, layout.GetPosition().Height());
}

} // namespace
