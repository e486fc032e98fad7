// GIF animation: frames and delays read from a fixture made at build time
// (red 200 ms, green with delay 0, blue 50 ms), the timing under a real
// window timer, the frame the window's own paint shows, and stopping when
// hidden.
#include <gtest/gtest.h>

#include <vector>

#include "ControlTestKit.h"
#include "HiddenHostSuite.h"
#include "uilib/control/GifAnim.h"
#include "uilib/layout/Container.h"
#include "tests/uilib/kit/BenchClock.h"
#include "tests/uilib/kit/MessagePump.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;
using SkinUITest::SendEvent;

namespace {

const wchar_t kThreeFrames[] = BRISA_GIF_FIXTURES L"\\three_frames.gif";
const wchar_t kOneFrame[] = BRISA_GIF_FIXTURES L"\\one_frame.gif";

// The interval the last window timer started was given.
UINT gGivenMs = 0;
UINT_PTR WINAPI RecordedSetTimer(HWND window, UINT_PTR id, UINT ms, TIMERPROC proc)
{
    gGivenMs = ms;
    return SetTimer(window, id, ms, proc);
}

// Remembers, at each of its timer's ticks, when it came, the frame it moved
// to and the interval the window timer was then given.
class TimedGif : public CGifAnimUI {
public:
    void HandleEvent(TEventInfo& event) override
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        CGifAnimUI::HandleEvent(event);
        if (event.type == UIEVENT_TIMER) ticks.push_back({now, GetCurrentFrame(), gGivenMs});
    }
    struct Tick {
        LARGE_INTEGER at;
        unsigned frame;
        UINT givenMs;
    };
    std::vector<Tick> ticks;
};

struct GifWindow : SkinUITest::HiddenHostSuite {
    GifWindow() { CPaintManagerUI::SetWindowTimerStart(RecordedSetTimer); }
    void TearDown() override
    {
        ShowWindow(host->GetNativeHandle(), SW_HIDE);
        host->pm.AttachRoot(nullptr);
        gif.AttachManager(nullptr, nullptr, false);
        CPaintManagerUI::SetWindowTimerStart(SetTimer);
    }

    // The GIF fills the shown window, in a root that does not own it.
    void Load(const wchar_t* file)
    {
        gif.ApplyAttribute(L"bkimage", file);
        CContainerUI* root = new CContainerUI;
        root->SetOwnsChildren(false);
        root->SetBackgroundColor(0xFFFFFFFF);
        host->pm.AttachRoot(root);
        root->AddChild(&gif);
        ShowWindow(host->GetNativeHandle(), SW_SHOWNOACTIVATE);
    }
    // What the window's own paint left on screen once its queue is empty.
    uint32_t PaintedColour()
    {
        SkinUITest::Settle();
        DIBSECTION dib = {};
        GetObjectW(host->pm.OffscreenBitmap(), sizeof(dib), &dib);
        GdiFlush();
        const DWORD* bits = static_cast<const DWORD*>(dib.dsBm.bmBits);
        return bits == nullptr ? 0 : bits[static_cast<size_t>(dib.dsBm.bmHeight - 1 - 20) * dib.dsBm.bmWidth + 20] & 0xFFFFFF;
    }

    TimedGif gif;
};

TEST_F(GifWindow, FramesAndDelaysComeFromTheFile)
{
    Load(kThreeFrames);
    ASSERT_TRUE(gif.HasImage());
    EXPECT_EQ(3u, gif.GetFrameCount());
    EXPECT_EQ(200u, gif.FrameDelayMs(0));
    EXPECT_EQ(100u, gif.FrameDelayMs(1)) << "a delay of 0 plays for 100 ms";
    EXPECT_EQ(50u, gif.FrameDelayMs(2));
    EXPECT_EQ(100u, gif.FrameDelayMs(3)) << "past the table";
    EXPECT_TRUE(gif.IsPlaying());
}

TEST_F(GifWindow, EachFramePlaysForItsOwnDelay)
{
    Load(kThreeFrames);
    ASSERT_TRUE(gif.IsPlaying());
    EXPECT_EQ(200u, gGivenMs);
    // Two rounds of the window timer's own ticks, each frame in turn given its
    // delay. A loaded machine only delays a tick, so no frame plays shorter.
    ASSERT_TRUE(SkinUITest::PumpUntil([this] { return gif.ticks.size() >= 7; }, 8000));
    gif.StopAnimation();
    const unsigned frames[] = {1, 2, 0};
    const UINT delays[] = {100, 50, 200};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(frames[i % 3], gif.ticks[i].frame) << "tick " << i;
        EXPECT_EQ(delays[i % 3], gif.ticks[i].givenMs) << "tick " << i;
        EXPECT_GE(SkinUITest::MillisecondsOf(gif.ticks[i].at, gif.ticks[i + 1].at), 0.8 * delays[i % 3])
            << "frame " << frames[i % 3] << " at tick " << i;
    }
}

TEST_F(GifWindow, PaintingShowsTheCurrentFrame)
{
    Load(kThreeFrames);
    gif.StopAnimation();
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000};
    for (int frame = 0; frame < 4; ++frame) {
        EXPECT_EQ(colours[frame], PaintedColour()) << frame;
        SendEvent(gif, UIEVENT_TIMER, 0, 0, CGifAnimUI::kTimerId);
        // A tick starts the window timer for the next frame; stopped, it
        // cannot move the frame on while a slow paint is awaited.
        host->pm.StopTimer(&gif, CGifAnimUI::kTimerId);
    }
}

TEST_F(GifWindow, HidingStopsAndRewindsShowingPlaysAgain)
{
    Load(kThreeFrames);
    // The window's tick given by hand: a pump could play past frame 1 before it looks.
    SendEvent(gif, UIEVENT_TIMER, 0, 0, CGifAnimUI::kTimerId);
    ASSERT_EQ(1u, gif.GetCurrentFrame());
    gif.SetVisibility(false);
    EXPECT_FALSE(gif.IsPlaying());
    EXPECT_EQ(0u, gif.GetCurrentFrame());
    const size_t ticks = gif.ticks.size();
    SkinUITest::PumpFor(300);
    EXPECT_EQ(ticks, gif.ticks.size());

    gif.SetVisibility(true);
    EXPECT_TRUE(gif.IsPlaying());
    EXPECT_TRUE(SkinUITest::PumpUntil([this] { return gif.GetCurrentFrame() == 1; }, 3000));
    // A parent's hide pauses it like its own, and showing the parent plays it again.
    gif.SetInheritedVisibility(false);
    EXPECT_FALSE(gif.IsPlaying()) << "hidden by its parent";
    gif.SetInheritedVisibility(true);
    EXPECT_TRUE(gif.IsPlaying()) << "its parent shown again";

    // One that does not play by itself starts when shown while already visible.
    gif.StopAnimation();
    gif.ApplyAttribute(L"autoplay", L"false");
    gif.SetVisibility(true);
    EXPECT_TRUE(gif.IsPlaying()) << "shown again while visible";
}

TEST_F(GifWindow, OneFrameIsDrawnButNotAnimated)
{
    Load(kOneFrame);
    ASSERT_TRUE(gif.HasImage());
    EXPECT_EQ(1u, gif.GetFrameCount());
    EXPECT_FALSE(gif.IsPlaying());
    EXPECT_EQ(0xFF0000u, PaintedColour());
}

TEST_F(GifWindow, AMissingFileStaysBlankAndIsTriedAgain)
{
    Load(L"Z:\\no\\such.gif");
    EXPECT_FALSE(gif.HasImage());
    EXPECT_EQ(0xFFFFFFu, PaintedColour());
    EXPECT_FALSE(gif.IsPlaying());
    // The same name again changes nothing; a new one loads on the next paint.
    gif.SetImageFile(L"Z:\\no\\such.gif");
    gif.SetImageFile(kOneFrame);
    EXPECT_FALSE(gif.HasImage());
    EXPECT_EQ(0xFF0000u, PaintedColour());
    EXPECT_TRUE(gif.HasImage());
}

} // namespace
