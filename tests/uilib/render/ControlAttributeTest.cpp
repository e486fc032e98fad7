#include <gtest/gtest.h>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

TEST(ControlAttributes, PosSetsOriginAndSize)
{
    CControlUI c;
    c.ApplyAttribute(L"pos", L"-1,-1,100,50");
    EXPECT_EQ(100, c.GetFixedOrigin().cx);
    EXPECT_EQ(50, c.GetFixedOrigin().cy);
    EXPECT_EQ(101, c.GetScaledFixedWidth());
    EXPECT_EQ(51, c.GetScaledFixedHeight());
    // Negative differences leave the size as it was.
    c.ApplyAttribute(L"pos", L"10,10,5,5");
    EXPECT_EQ(10, c.GetFixedOrigin().cx);
    EXPECT_EQ(101, c.GetScaledFixedWidth());
    EXPECT_EQ(51, c.GetScaledFixedHeight());
}

TEST(ControlAttributes, ShortNumberListsReadMissingNumbersAsZero)
{
    CControlUI c;
    c.ApplyAttribute(L"padding", L"1,2,3,4");
    c.ApplyAttribute(L"padding", L"7");
    const CUIRect p = c.GetScaledPadding();
    EXPECT_EQ(7, p.left);
    EXPECT_EQ(0, p.top);
    EXPECT_EQ(0, p.right);
    EXPECT_EQ(0, p.bottom);
    c.ApplyAttribute(L"pos", L"10");
    EXPECT_EQ(10, c.GetFixedOrigin().cx);
    EXPECT_EQ(0, c.GetFixedOrigin().cy);
    c.ApplyAttribute(L"borderround", L"6");
    EXPECT_EQ(6, c.GetBorderRound().cx);
    EXPECT_EQ(0, c.GetBorderRound().cy);
}

TEST(ControlAttributes, ColoursAndBlanks)
{
    CControlUI a;
    CControlUI b;
    a.ApplyAttribute(L"bkcolor", L" #FF336699");
    b.ApplyAttribute(L"BKCOLOR1", L"FF336699");
    EXPECT_EQ(0xFF336699u, a.GetBackgroundColor());
    EXPECT_EQ(a.GetBackgroundColor(), b.GetBackgroundColor());
    a.ApplyAttribute(L"bordercolor", L" #FF336699");
    EXPECT_EQ(0u, a.GetBorderLineColor());
    a.ApplyAttribute(L"focusbordercolor", L"#FF00FF00");
    a.ApplyAttribute(L"bkcolor2", L" #80000001");
    a.ApplyAttribute(L"bkcolor3", L"#00000002");
    a.ApplyAttribute(L"forecolor", L"#12345678");
    EXPECT_EQ(0xFF00FF00u, a.GetFocusBorderColor());
    EXPECT_EQ(0x80000001u, a.GetBackgroundColor2());
    EXPECT_EQ(0x00000002u, a.GetBackgroundColor3());
    EXPECT_EQ(0x12345678u, a.GetForegroundColor());
}

TEST(ControlAttributes, FloatAnchorsAndAlignment)
{
    CControlUI c;
    c.ApplyAttribute(L"float", L"true");
    EXPECT_TRUE(c.IsFloating());
    EXPECT_DOUBLE_EQ(0.0, c.GetFloatAnchors().left);
    c.ApplyAttribute(L"float", L"false");
    EXPECT_FALSE(c.IsFloating());
    c.ApplyAttribute(L"float", L"0.5,0,1,1");
    EXPECT_TRUE(c.IsFloating());
    EXPECT_DOUBLE_EQ(0.5, c.GetFloatAnchors().left);
    EXPECT_DOUBLE_EQ(1.0, c.GetFloatAnchors().bottom);

    c.ApplyAttribute(L"floatalign", L"right,bottom");
    EXPECT_EQ(static_cast<uint32_t>(UIFLOAT_RIGHT | UIFLOAT_BOTTOM), c.GetFloatAlignment());
    c.ApplyAttribute(L"floatalign", L"Center VCENTER bogus");
    EXPECT_EQ(static_cast<uint32_t>(UIFLOAT_CENTER | UIFLOAT_VCENTER), c.GetFloatAlignment());
    c.ApplyAttribute(L"floatalign", L"left");
    EXPECT_EQ(static_cast<uint32_t>(UIFLOAT_VCENTER), c.GetFloatAlignment());
    c.ApplyAttribute(L"floatalign", L"null");
    EXPECT_EQ(0u, c.GetFloatAlignment());
}

TEST(ControlAttributes, AttributeListPairsQuotesAndBadPairs)
{
    CControlUI c;
    c.ApplyAttributeList(L"name=\"ok\" width=\"40\"");
    EXPECT_EQ(CUIString(L"ok"), c.GetControlName());
    EXPECT_EQ(40, c.GetScaledFixedWidth());
    // Lists written inside another attribute quote their values as &quot;.
    c.ApplyAttributeList(L"userdata=&quot;hi&quot; minheight=&quot;3&quot;");
    EXPECT_EQ(CUIString(L"hi"), c.GetUserDataText());
    EXPECT_EQ(3, c.GetScaledMinHeight());
    // A pair without quotes ends the parse; pairs before it stay applied.
    c.ApplyAttributeList(L"height=\"12\" width=30 name=\"late\"");
    EXPECT_EQ(12, c.GetScaledFixedHeight());
    EXPECT_EQ(40, c.GetScaledFixedWidth());
    EXPECT_EQ(CUIString(L"ok"), c.GetControlName());
    // A value without its closing quote is not applied.
    c.ApplyAttributeList(L"name=\"open");
    EXPECT_EQ(CUIString(L"ok"), c.GetControlName());
    c.ApplyAttributeList(L"minwidth=\"5\"x,maxwidth=\"50\"");
    EXPECT_EQ(5, c.GetScaledMinWidth());
    EXPECT_EQ(50, c.GetScaledMaxWidth());
}

TEST(ControlAttributes, TextMarkersTooltipAndCustomAttributes)
{
    CControlUI c;
    c.ApplyAttribute(L"text", L"A{\\n}B");
    EXPECT_EQ(CUIString(L"A\nB"), c.GetTextContent());
    c.ApplyAttribute(L"tooltip", L"one<n>two");
    EXPECT_EQ(CUIString(L"one\r\ntwo"), c.GetToolTipText());
    c.ApplyAttribute(L"mydata", L"first");
    c.ApplyAttribute(L"MyData", L"second");
    EXPECT_STREQ(L"first", c.FindCustomAttribute(L"mydata"));
    EXPECT_EQ(nullptr, c.FindCustomAttribute(L"other"));
    c.ApplyAttribute(L"empty", L"");
    EXPECT_EQ(nullptr, c.FindCustomAttribute(L"empty"));
}

TEST(ControlAttributes, FlagsCursorShortcutAndBorders)
{
    CControlUI c;
    c.ApplyAttributeList(L"enabled=\"false\" mouse=\"FALSE\" keyboard=\"no\" menu=\"TRUE\" drag=\"true\" "
                         L"drop=\"true\" shortcut=\"Q\" cursor=\"hand\"");
    EXPECT_FALSE(c.GetEnabledState());
    EXPECT_FALSE(c.AcceptsMouse());
    EXPECT_FALSE(c.AcceptsKeyboard());
    EXPECT_TRUE(c.IsMenuEnabled());
    EXPECT_TRUE(c.AllowsDrag());
    EXPECT_TRUE(c.AcceptsDrop());
    EXPECT_EQ(L'Q', c.GetShortcutKey());
    EXPECT_EQ(32649, c.GetCursorId());
    c.ApplyAttribute(L"cursor", L"unknown");
    EXPECT_EQ(32649, c.GetCursorId());
    c.ApplyAttribute(L"cursor", L"SIZEWE");
    EXPECT_EQ(32644, c.GetCursorId());

    c.ApplyAttribute(L"bordersize", L"1,2,3,4");
    EXPECT_EQ(0, c.GetBorderLineWidth());
    EXPECT_EQ(4, c.GetBorderSideWidths().bottom);
    c.ApplyAttribute(L"bordersize", L"2");
    EXPECT_EQ(2, c.GetBorderLineWidth());
    EXPECT_EQ(0, c.GetBorderSideWidths().bottom);
    c.ApplyAttribute(L"topbordersize", L"5");
    EXPECT_EQ(5, c.GetBorderSideWidths().top);
}

TEST(ControlAttributes, StyleValuesApplyTheStyle)
{
    CPaintManagerUI manager;
    manager.AddStyle(L"bigbox", L"width=\"80\" height=\"30\"", false);
    CControlUI c;
    c.AttachManager(&manager, nullptr, false);
    c.ApplyAttribute(L"innerstyle", L"bigbox");
    EXPECT_EQ(80, c.GetScaledFixedWidth());
    EXPECT_EQ(30, c.GetScaledFixedHeight());
    c.ApplyAttributeList(L"bigbox");
    EXPECT_EQ(80, c.GetScaledFixedWidth());
    c.AttachManager(nullptr, nullptr, false);
}

TEST(ControlAttributes, StylesThatNameEachOtherStop)
{
    CPaintManagerUI manager;
    manager.AddStyle(L"ping", L"pong", false);
    manager.AddStyle(L"pong", L"ping", false);
    manager.AddStyle(L"self", L"name=\"self\"", false);
    CControlUI c;
    c.AttachManager(&manager, nullptr, false);
    c.ApplyAttributeList(L"ping");
    c.ApplyAttribute(L"width", L"ping");
    EXPECT_EQ(0, c.GetScaledFixedWidth());
    // A style whose own pair names it again ends as well, applying nothing.
    c.ApplyAttributeList(L"self");
    EXPECT_TRUE(c.GetControlName().IsEmpty());
    c.AttachManager(nullptr, nullptr, false);
}
