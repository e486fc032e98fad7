// Labels: the text style attributes, auto width and default colours.
#include <gtest/gtest.h>

#include <cstdlib>

#include "DibCanvas.h"
#include "uilib/control/Label.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;

namespace {

UINT StyleAfter(UINT start, const wchar_t* name, const wchar_t* value)
{
    CLabelUI label;
    label.SetTextStyle(start);
    label.ApplyAttribute(name, value);
    return label.GetTextStyle();
}

// The stored (unscaled) width an auto-width label takes for a text.
int AutoWidth(int dpi, const wchar_t* text)
{
    CPaintManagerUI manager;
    manager.ApplyDpi(dpi);
    CLabelUI label;
    label.AttachManager(&manager, nullptr, false);
    label.ApplyAttribute(L"autocalcwidth", L"true");
    label.ApplyAttribute(L"textpadding", L"4,0,6,0");
    label.SetTextContent(text);
    label.MeasureDesiredSize(CUISize(9999, 100));
    const int width = label.GetFixedSizeValue().cx;
    label.AttachManager(nullptr, nullptr, false);
    return width;
}

} // namespace

TEST(LabelAttributes, AlignmentWordsSetTheTextStyle)
{
    const UINT base = CLabelUI::kDefaultTextStyle;
    EXPECT_EQ(StyleAfter(base | DT_RIGHT, L"align", L"left"), base);
    EXPECT_EQ(StyleAfter(base | DT_RIGHT, L"align", L"center"), base | DT_CENTER);
    EXPECT_EQ(StyleAfter(base | DT_CENTER, L"ALIGN", L"right"), base | DT_RIGHT);
    // Words are matched as written.
    EXPECT_EQ(StyleAfter(base, L"align", L"Right"), base);
    EXPECT_EQ(StyleAfter(0, L"valign", L"top"), static_cast<UINT>(DT_SINGLELINE));
    EXPECT_EQ(StyleAfter(DT_BOTTOM, L"valign", L"vcenter"), static_cast<UINT>(DT_VCENTER | DT_SINGLELINE));
    EXPECT_EQ(StyleAfter(DT_VCENTER, L"valign", L"bottom"), static_cast<UINT>(DT_BOTTOM | DT_SINGLELINE));
}

TEST(LabelAttributes, BottomAlignmentMakesAWordBreakingLabelSingleLine)
{
    CLabelUI label;
    label.ApplyAttribute(L"wordbreak", L"true");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL));
    label.ApplyAttribute(L"valign", L"bottom");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_BOTTOM | DT_SINGLELINE | DT_EDITCONTROL));
    label.ApplyAttribute(L"wordbreak", L"false");
    EXPECT_EQ(label.GetTextStyle() & (DT_WORDBREAK | DT_EDITCONTROL), 0u);
    EXPECT_NE(label.GetTextStyle() & DT_SINGLELINE, 0u);
}

TEST(LabelAttributes, FlagsColoursFontAndPadding)
{
    CLabelUI label;
    label.ApplyAttribute(L"endellipsis", L"true");
    label.ApplyAttribute(L"noprefix", L"TRUE");
    EXPECT_EQ(label.GetTextStyle(), CLabelUI::kDefaultTextStyle | DT_END_ELLIPSIS | DT_NOPREFIX);
    label.ApplyAttribute(L"endellipsis", L"no");
    EXPECT_EQ(label.GetTextStyle() & DT_END_ELLIPSIS, 0u);
    label.ApplyAttribute(L"font", L"3");
    label.ApplyAttribute(L"textcolor", L"#FF112233");
    label.ApplyAttribute(L"disabledtextcolor", L"FF445566");
    label.ApplyAttribute(L"textpadding", L"1,2,3");
    label.ApplyAttribute(L"showhtml", L"true");
    label.ApplyAttribute(L"tooltip", L"hint");
    EXPECT_EQ(label.GetFont(), 3);
    EXPECT_EQ(label.GetTextColor(), 0xFF112233u);
    EXPECT_EQ(label.GetDisabledTextColor(), 0xFF445566u);
    EXPECT_EQ(label.GetTextPadding().left, 1);
    EXPECT_EQ(label.GetTextPadding().right, 3);
    EXPECT_EQ(label.GetTextPadding().bottom, 0);
    EXPECT_TRUE(label.IsShowHtml());
    EXPECT_EQ(label.GetToolTipText(), L"hint");
    EXPECT_STREQ(label.GetTypeName(), L"LabelUI");
    EXPECT_EQ(label.FindInterface(L"LABEL"), &label);
    EXPECT_EQ(label.FindInterface(L"Control"), &label);
    EXPECT_EQ(label.GetBehaviorFlags(), static_cast<uint32_t>(UIFLAG_SETCURSOR));
}

TEST(LabelMeasure, AutoWidthFollowsTheTextAndIsStoredUnscaled)
{
    const int shortWidth = AutoWidth(96, L"Gain");
    const int longWidth = AutoWidth(96, L"Gain of the left front door");
    EXPECT_GT(shortWidth, 10);
    EXPECT_GT(longWidth, shortWidth + 40);
    // At 150 % the text is wider on screen, but the stored width stays in
    // skin pixels (font rounding aside).
    EXPECT_LE(std::abs(AutoWidth(144, L"Gain of the left front door") - longWidth), 4);
}

TEST(LabelMeasure, HeightFollowsTheFontUnlessFixed)
{
    CPaintManagerUI manager;
    CLabelUI label;
    label.AttachManager(&manager, nullptr, false);
    label.SetFixedWidthValue(50);
    const int fontHeight = manager.FontEntry(-1)->metrics.tmHeight;
    EXPECT_GT(fontHeight, 0);
    CUISize size = label.MeasureDesiredSize(CUISize(200, 200));
    EXPECT_EQ(size.cx, 50);
    EXPECT_EQ(size.cy, fontHeight + 4);
    label.SetFixedHeightValue(30);
    EXPECT_EQ(label.MeasureDesiredSize(CUISize(200, 200)).cy, 30);
    label.AttachManager(nullptr, nullptr, false);
}

TEST(LabelPaint, DefaultColoursAreTakenFromTheManager)
{
    CPaintManagerUI manager;
    manager.SetDefaultTextColor(0xFF00FF00, false);
    manager.SetDefaultDisabledTextColor(0xFF0000FF, false);
    CLabelUI label;
    label.AttachManager(&manager, nullptr, false);
    label.SetPosition({0, 0, 80, 20});
    DibCanvas canvas(80, 20);
    label.SetTextContent(L"WWW");
    label.PaintTextLayer(canvas.Dc());
    EXPECT_EQ(label.GetTextColor(), 0xFF00FF00u);
    EXPECT_EQ(label.GetDisabledTextColor(), 0xFF0000FFu);
    RECT all = {0, 0, 80, 20};
    EXPECT_GT(canvas.CountRgb(all, 0x00FF00), 5);
    label.AttachManager(nullptr, nullptr, false);
}
