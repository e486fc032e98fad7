// Rolling text: the first paint only measures, later paints move the text one
// step in the roll's direction, and the offset wraps after area + extent.
#include <gtest/gtest.h>

#include <vector>

#include "DibCanvas.h"
#include "NotifyRecorder.h"
#include "SentEvents.h"
#include "uilib/control/RollText.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;

namespace {

const int kWidth = 200;
const int kHeight = 60;

// The bounding box of the white pixels, empty when there are none.
CUIRect InkBox(const DibCanvas& canvas)
{
    CUIRect box(kWidth, kHeight, -1, -1);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (canvas.Rgb(x, y) != 0xFFFFFF) continue;
            box.left = x < box.left ? x : box.left;
            box.top = y < box.top ? y : box.top;
            box.right = x + 1 > box.right ? x + 1 : box.right;
            box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
        }
    }
    return box.right < 0 ? CUIRect() : box;
}

struct RollFixture : ::testing::Test {
    void SetUp() override
    {
        manager.SetDefaultTextColor(0xFFFFFFFF, false);
        roll.AttachManager(&manager, nullptr, false);
        roll.SetPosition(CUIRect(0, 0, kWidth, kHeight), false);
        roll.SetTextContent(L"Wide");
    }
    void TearDown() override { roll.AttachManager(nullptr, nullptr, false); }

    // One paint into a cleared canvas.
    CUIRect Paint()
    {
        canvas.Fill(0xFF000000);
        roll.PaintTextLayer(canvas.Dc());
        return InkBox(canvas);
    }

    CPaintManagerUI manager;
    CRollTextUI roll;
    DibCanvas canvas{kWidth, kHeight, 0xFF000000};
};

struct DirectionCase {
    int direction;
    // Which edge of the ink moves, and which way, from one paint to the next.
    bool horizontal;
    int sign;
};

const DirectionCase kDirections[] = {
    {CRollTextUI::kRollLeft, true, -1},
    {CRollTextUI::kRollRight, true, 1},
    {CRollTextUI::kRollUp, false, -1},
    {CRollTextUI::kRollDown, false, 1},
};

} // namespace

TEST_F(RollFixture, FirstPaintMeasuresThenEveryPaintMovesOneStep)
{
    for (const DirectionCase& c : kDirections) {
        SCOPED_TRACE(c.direction);
        roll.BeginRoll(c.direction, 50, 10);
        EXPECT_TRUE(roll.IsRolling());
        EXPECT_EQ(roll.GetTextExtent(), 0);
        roll.SetStep(5);
        const int offsetBefore = roll.GetOffset();
        EXPECT_EQ(Paint().Width(), 0);
        EXPECT_GT(roll.GetTextExtent(), 0);
        EXPECT_EQ(roll.GetOffset(), offsetBefore);

        // Over one whole pass, every two paints in a row that show the whole
        // text show it one step apart.
        std::vector<CUIRect> boxes;
        const int paints = (roll.GetTextExtent() + (c.horizontal ? kWidth : kHeight)) / 5 + 2;
        int fullWidth = 0;
        int fullHeight = 0;
        for (int i = 0; i < paints; ++i) {
            boxes.push_back(Paint());
            if (boxes.back().Width() > fullWidth) fullWidth = boxes.back().Width();
            if (boxes.back().Height() > fullHeight) fullHeight = boxes.back().Height();
        }
        int compared = 0;
        for (size_t i = 1; i < boxes.size(); ++i) {
            const CUIRect& a = boxes[i - 1];
            const CUIRect& b = boxes[i];
            const bool whole = a.Width() == fullWidth && b.Width() == fullWidth && a.Height() == fullHeight &&
                               b.Height() == fullHeight && a.left > 0 && a.top > 0 && b.left > 0 && b.top > 0 &&
                               a.right < kWidth && b.right < kWidth && a.bottom < kHeight && b.bottom < kHeight;
            if (!whole) continue;
            ++compared;
            EXPECT_EQ(b.left - a.left, c.horizontal ? 5 * c.sign : 0);
            EXPECT_EQ(b.top - a.top, c.horizontal ? 0 : 5 * c.sign);
        }
        EXPECT_GT(compared, 0);
        roll.EndRoll();
        EXPECT_FALSE(roll.IsRolling());
    }
}

TEST_F(RollFixture, OffsetWrapsAfterAreaPlusExtent)
{
    roll.BeginRoll(CRollTextUI::kRollLeft, 50, 10);
    Paint();
    const int limit = kWidth + roll.GetTextExtent();
    int wraps = 0;
    int previous = roll.GetOffset();
    for (int i = 0; i < 2 * limit / 5 + 4; ++i) {
        Paint();
        if (roll.GetOffset() < previous) ++wraps;
        EXPECT_LE(roll.GetOffset(), limit);
        previous = roll.GetOffset();
    }
    EXPECT_EQ(wraps, 2);

    // A step beyond area + extent restarts at every paint.
    roll.SetStep(limit + 1);
    for (int i = 0; i < 3; ++i) {
        Paint();
        EXPECT_EQ(roll.GetOffset(), 0);
    }
}

TEST_F(RollFixture, NewTextPlaceOrRollMeasuresAgainWithoutDrawing)
{
    roll.BeginRoll(CRollTextUI::kRollLeft, 50, 10);
    Paint();
    for (int i = 0; i < 30; ++i) Paint();
    const int wide = roll.GetTextExtent();
    roll.SetTextContent(L"WWWWWWWW");
    EXPECT_EQ(roll.GetTextExtent(), 0);
    EXPECT_EQ(Paint().Width(), 0);
    EXPECT_GT(roll.GetTextExtent(), wide);

    roll.PlaceAndRemeasure(CUIRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(roll.GetTextExtent(), 0);
    EXPECT_EQ(Paint().Width(), 0);

    Paint();
    roll.BeginRoll(CRollTextUI::kRollDown, 20, 1);
    EXPECT_EQ(roll.GetDirection(), CRollTextUI::kRollDown);
    EXPECT_EQ(roll.GetTextExtent(), 0);
}

TEST_F(RollFixture, EndTimerReportsRollEndAndTickOnlyRepaints)
{
    SkinUITest::NotifyRecorder recorder(manager);
    roll.BeginRoll(CRollTextUI::kRollLeft, 50, 10);
    SkinUITest::SendEvent(roll, UIEVENT_TIMER, 0, 0, CRollTextUI::kTickTimer);
    EXPECT_EQ(recorder.Count(L"textrollend"), 0);
    EXPECT_EQ(recorder.Count(L"timer"), 0);
    SkinUITest::SendEvent(roll, UIEVENT_TIMER, 0, 0, CRollTextUI::kEndTimer);
    EXPECT_EQ(recorder.Count(L"textrollend"), 1);
    // The end of the time does not stop the rolling by itself.
    EXPECT_TRUE(roll.IsRolling());
    EXPECT_EQ(roll.FindInterface(L"ROLLTEXT"), &roll);
}
