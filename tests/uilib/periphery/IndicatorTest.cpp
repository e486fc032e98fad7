// Loading bar and ring: the timers they start, the block's travel and the
// ring's angle sequence, checked on their painting.
#include <gtest/gtest.h>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "HiddenHostSuite.h"
#include "uilib/control/LoadingBar.h"
#include "uilib/control/Ring.h"
#include "tests/uilib/kit/MessagePump.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::SendEvent;

namespace {

const uint32_t kBlock = 0x2080C0;
const uint32_t kWhite = 0xFFFFFF;

using TimerWindow = SkinUITest::HiddenHostSuite;

struct LoadingBarTest : TimerWindow {
    LoadingBarTest() : canvas(260, 40, 0xFFFFFFFF)
    {
        bar.AttachManager(&host->pm, nullptr, false);
        bar.SetPosition({10, 5, 210, 25});
        bar.SetForegroundColor(0xFF000000 | kBlock);
    }
    ~LoadingBarTest() override { bar.AttachManager(nullptr, nullptr, false); }

    void Paint()
    {
        canvas.Fill(0xFFFFFFFF);
        bar.PaintForegroundColor(canvas.Dc());
    }
    // The first column of the block on the middle row, or -1.
    int BlockLeft() const
    {
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.Rgb(x, 15) == kBlock) return x;
        return -1;
    }

    DibCanvas canvas;
    CLoadingBarUI bar;
};

TEST_F(LoadingBarTest, OnlyTheFirstPaintStartsTheTimerEvenWithoutColour)
{
    SkinUITest::PumpFor(100);
    EXPECT_FALSE(bar.IsStarted());
    EXPECT_EQ(0, bar.GetOffset());
    bar.SetForegroundColor(0);
    Paint();
    EXPECT_TRUE(bar.IsStarted());
    EXPECT_EQ(0, canvas.CountRgb({0, 0, 260, 40}, kBlock));
    EXPECT_TRUE(SkinUITest::PumpUntil([this] { return bar.GetOffset() > 0; }));
}

struct TravelCase {
    int ticks;
    int left;  // first painted column (the bar starts at 10)
    bool back;
};

TEST_F(LoadingBarTest, TheBlockBouncesBetweenTheEdges)
{
    // A 200-pixel bar: a 60-pixel block, 3 pixels a tick, turning where its
    // right edge would pass 200 and where its left edge passes 0.
    const TravelCase cases[] = {
        {0, 10, false}, {1, 13, false}, {46, 148, false}, {47, 151, true},
        {48, 148, true}, {94, 10, true}, {95, 7, false}, {96, 10, false},
    };
    Paint();
    host->pm.StopTimer(&bar, CLoadingBarUI::kTimerId);
    int done = 0;
    for (const TravelCase& c : cases) {
        for (; done < c.ticks; ++done) SendEvent(bar, UIEVENT_TIMER, 0, 0, CLoadingBarUI::kTimerId);
        Paint();
        EXPECT_EQ(c.left, BlockLeft()) << c.ticks;
        EXPECT_EQ(60, canvas.CountRgb({0, 15, 260, 16}, kBlock)) << c.ticks;
        EXPECT_EQ(c.back, bar.IsMovingBack()) << c.ticks;
    }
    EXPECT_EQ(60, bar.GetBlockWidth());
}

struct RingTest : TimerWindow {
    RingTest() : canvas(60, 60, 0xFFFFFFFF)
    {
        // Left half red, right half blue.
        folder.Write(L"ring_halves.png", 20, {0xFF0000, 0x0000FF});
        ring.AttachManager(&host->pm, nullptr, false);
        ring.SetPosition({10, 10, 50, 50});
    }
    ~RingTest() override { ring.AttachManager(nullptr, nullptr, false); }

    void Paint()
    {
        canvas.Fill(0xFFFFFFFF);
        ring.PaintBackgroundImage(canvas.Dc());
    }
    void Tick() { SendEvent(ring, UIEVENT_TIMER, 0, 0, CRingUI::kTimerId); }

    SkinUITest::SkinImageFolder folder;
    DibCanvas canvas;
    CRingUI ring;
};

TEST_F(RingTest, AngleRunsInStepsOf36AndWrapsAfter360)
{
    ring.ApplyAttribute(L"bkimage", L"ring_halves.png");
    Paint();
    host->pm.StopTimer(&ring, CRingUI::kTimerId);
    const float expected[] = {36, 72, 108, 144, 180, 216, 252, 288, 324, 360, 36, 72};
    for (float angle : expected) {
        Tick();
        EXPECT_FLOAT_EQ(angle, ring.GetAngle());
    }
}

TEST_F(RingTest, TheImageTurnsAboutTheCentre)
{
    ring.ApplyAttribute(L"bkimage", L"ring_halves.png");
    Paint();
    host->pm.StopTimer(&ring, CRingUI::kTimerId);
    EXPECT_EQ(0xFF0000u, canvas.Rgb(18, 30));
    EXPECT_EQ(0x0000FFu, canvas.Rgb(42, 30));
    for (int i = 0; i < 5; ++i) Tick();
    Paint();
    EXPECT_EQ(0x0000FFu, canvas.Rgb(18, 30));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(42, 30));
    // Outside the control nothing is drawn at any angle.
    EXPECT_EQ(kWhite, canvas.Rgb(5, 30));
}

TEST_F(RingTest, TheTimerStartsWithTheFirstImageAndTheSameNameKeepsIt)
{
    ring.ApplyAttribute(L"bkimage", L"no_such_image.png");
    Paint();
    EXPECT_FALSE(ring.HasLoadedImage());
    SkinUITest::PumpFor(250);
    EXPECT_FLOAT_EQ(0.0f, ring.GetAngle());

    ring.ApplyAttribute(L"bkimage", L"ring_halves.png");
    Paint();
    EXPECT_TRUE(SkinUITest::PumpUntil([this] { return ring.GetAngle() > 0.0f; }));
    ring.ApplyAttribute(L"bkimage", L"ring_halves.png");
    EXPECT_TRUE(ring.HasLoadedImage());
    ring.ApplyAttribute(L"bkimage", L"other.png");
    EXPECT_FALSE(ring.HasLoadedImage());
}

} // namespace
