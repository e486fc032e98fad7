// The combo box's arrow cell and the group box's frame, painted into bitmaps.
#include <gtest/gtest.h>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "uilib/control/ComboBox.h"
#include "uilib/control/GroupBox.h"
#include "uilib/control/ListLabelElement.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::SendEvent;

namespace {

const wchar_t kStrip[] = L"file='arrow.png' source='0,0,100,20'";

struct ArrowCase {
    uint32_t stateBits;
    const wchar_t* modifier;
};

// A 120 x 24 combo with a one-pixel border: the arrow goes into the
// rightmost 20 pixels inside the border; disabled wins over everything.
const ArrowCase kArrowCases[] = {
    {0, L"file='arrow.png' source='0,0,20,20' dest='99,1,119,23'"},
    {CComboUI::kStateHot, L"file='arrow.png' source='20,0,40,20' dest='99,1,119,23'"},
    {CComboUI::kStateHot | CComboUI::kStatePushed, L"file='arrow.png' source='40,0,60,20' dest='99,1,119,23'"},
    {CComboUI::kStateFocused, L"file='arrow.png' source='60,0,80,20' dest='99,1,119,23'"},
    {CComboUI::kStateDisabled | CComboUI::kStateHot | CComboUI::kStatePushed,
     L"file='arrow.png' source='80,0,100,20' dest='99,1,119,23'"},
};

} // namespace

TEST(ComboBoxArrow, EachStateCutsItsCellAndPlacesItInsideTheBorder)
{
    for (const ArrowCase& c : kArrowCases) {
        SCOPED_TRACE(c.stateBits);
        CUIString modifier;
        int width = -1;
        ASSERT_TRUE(CComboBoxUI::ComposeArrowModifier(kStrip, CComboBoxUI::ArrowStateOf(c.stateBits), 120, 24, 1,
                                                      modifier, width));
        EXPECT_STREQ(modifier.CStr(), c.modifier);
        EXPECT_EQ(width, 20);
    }
}

TEST(ComboBoxArrow, TextsWithoutAQuotedSourceDrawNothing)
{
    const wchar_t* const kBroken[] = {
        L"file='arrow.png' source=0,0,100,20",
        L"file='arrow.png' source='0,0,100,20",
        L"file='arrow.png'",
        L"source",
    };
    for (const wchar_t* text : kBroken) {
        SCOPED_TRACE(text);
        CUIString modifier(L"untouched");
        int width = 7;
        EXPECT_FALSE(CComboBoxUI::ComposeArrowModifier(text, 0, 120, 24, 0, modifier, width));
        EXPECT_EQ(width, 7);
        EXPECT_STREQ(modifier.CStr(), L"untouched");
    }
}

TEST(ComboBoxArrow, HotComboPaintsTheSecondCellAtTheRightAndTheTextBeforeIt)
{
    SkinUITest::SkinImageFolder skin;
    ASSERT_TRUE(skin.Write(L"arrow.png", 20, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF}));
    CPaintManagerUI manager;
    CComboBoxUI combo;
    combo.AttachManager(&manager, nullptr, false);
    combo.ApplyAttribute(L"ArrowImage", L"file='arrow.png' source='0,0,100,20'");
    EXPECT_EQ(combo.GetArrowWidth(), 0);
    combo.SetPosition(CUIRect(0, 0, 120, 20), false);
    DibCanvas canvas(120, 20, 0xFF000000);
    SendEvent(combo, UIEVENT_MOUSEENTER, 5, 5);
    combo.PaintArea(canvas.Dc(), CUIRect(0, 0, 120, 20), nullptr);
    EXPECT_EQ(combo.GetArrowWidth(), 20);
    EXPECT_EQ(canvas.CountRgb(RECT{100, 0, 120, 20}, 0x00FF00), 400);
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 100, 20}, 0x00FF00), 0);

    combo.SetEnabledState(false);
    canvas.Fill(0xFF000000);
    combo.PaintArea(canvas.Dc(), CUIRect(0, 0, 120, 20), nullptr);
    EXPECT_EQ(canvas.CountRgb(RECT{100, 0, 120, 20}, 0x00FFFF), 400);

    // A long selected row stops left of the arrow.
    combo.SetEnabledState(true);
    CListLabelElementUI* row = new CListLabelElementUI();
    row->SetTextContent(L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    ASSERT_TRUE(combo.AddChild(row));
    combo.ApplyAttribute(L"itemtextcolor", L"#FFFFFFFF");
    combo.SelectSingleItem(0);
    canvas.Fill(0xFF0000FF);
    combo.PaintTextLayer(canvas.Dc());
    EXPECT_LT(canvas.CountRgb(RECT{0, 0, 100, 20}, 0x0000FF), 2000);
    EXPECT_EQ(canvas.CountRgb(RECT{100, 0, 120, 20}, 0x0000FF), 400);
    combo.AttachManager(nullptr, nullptr, false);
}

namespace {

struct FrameCase {
    const wchar_t* text;
    int border;
    bool lineBrokenUnderCaption;
    bool captionDrawn;
};

// Background blue, border red, caption white: the top line is broken behind
// the caption; without text it runs through; with no border only the
// caption shows.
const FrameCase kFrameCases[] = {
    {L"Group", 1, true, true},
    {L"", 1, false, false},
    {L"Group", 0, true, true},
};

} // namespace

TEST(GroupBoxFrame, BorderFiveInAndCaptionOverTheTopLine)
{
    for (const FrameCase& c : kFrameCases) {
        SCOPED_TRACE(c.text);
        SCOPED_TRACE(c.border);
        CPaintManagerUI manager;
        manager.SetDefaultTextColor(0xFFFFFFFF, false);
        CGroupBoxUI* box = new CGroupBoxUI();
        box->AttachManager(&manager, nullptr, false);
        box->SetBackgroundColor(0xFF0000FF);
        box->SetBorderLineColor(0xFFFF0000);
        box->SetBorderLineWidth(c.border);
        box->SetTextContent(c.text);
        box->SetPosition(CUIRect(0, 0, 200, 100), false);
        DibCanvas canvas(200, 100, 0xFF000000);
        box->PaintArea(canvas.Dc(), CUIRect(0, 0, 200, 100), nullptr);

        const int redOnLeftEdge = canvas.CountRgb(RECT{5, 20, 6, 90}, 0xFF0000);
        const int redOnTopLine = canvas.CountRgb(RECT{5, 5, 195, 6}, 0xFF0000);
        const int redUnderCaption = canvas.CountRgb(RECT{22, 5, 30, 6}, 0xFF0000);
        const int whiteInCaption = canvas.CountRgb(RECT{20, 0, 80, 20}, 0xFFFFFF);
        if (c.border > 0) {
            EXPECT_EQ(redOnLeftEdge, 70);
            EXPECT_EQ(canvas.Rgb(2, 50), 0x0000FFu);
        } else {
            EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 200, 100}, 0xFF0000), 0);
        }
        if (c.border > 0 && !c.lineBrokenUnderCaption) {
            EXPECT_EQ(redOnTopLine, 190);
        }
        if (c.lineBrokenUnderCaption) {
            EXPECT_EQ(redUnderCaption, 0);
        }
        if (c.captionDrawn)
            EXPECT_GT(whiteInCaption, 0);
        else
            EXPECT_EQ(whiteInCaption, 0);
        delete box;
    }
}

TEST(GroupBoxFrame, InsetAndAttributes)
{
    CGroupBoxUI box;
    const CUIRect inset = box.GetScaledInsetRect();
    EXPECT_EQ(inset.left, 20);
    EXPECT_EQ(inset.top, 25);
    EXPECT_EQ(inset.right, 20);
    EXPECT_EQ(inset.bottom, 20);
    box.ApplyAttribute(L"TextColor", L"#FF102030");
    box.ApplyAttribute(L"disabledtextcolor", L"FF405060");
    box.ApplyAttribute(L"font", L"2");
    EXPECT_EQ(box.GetTextColor(), 0xFF102030u);
    EXPECT_EQ(box.GetDisabledTextColor(), 0xFF405060u);
    EXPECT_EQ(box.GetFont(), 2);
    EXPECT_EQ(box.FindInterface(L"GroupBox"), &box);
}
