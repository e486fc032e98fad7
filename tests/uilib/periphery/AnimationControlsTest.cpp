// Animated tab layout and fade button: the slide's offsets frame by frame,
// restarting or stopping a slide from inside its own step, and the fade's
// alpha and images from the first frame to the end state.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "HiddenHostSuite.h"
#include "tests/uilib/kit/ExpectRect.h"
#include "uilib/control/FadeButton.h"
#include "uilib/layout/AnimationTabLayout.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;

namespace {

// Runs a callback from inside one step of the slide.
class HookedTabs : public CAnimationTabLayoutUI {
public:
    void OnAnimationStep(int totalFrames, int currentFrame, int id) override
    {
        CAnimationTabLayoutUI::OnAnimationStep(totalFrames, currentFrame, id);
        if (currentFrame == hookFrame && hook) {
            hookFrame = -1;
            hook(*this);
        }
    }
    int hookFrame = -1;
    std::function<void(HookedTabs&)> hook;
};

struct SlideTest : SkinUITest::HiddenHostSuite {
    SlideTest() : recorder(host->pm) { Reset(); }
    ~SlideTest() override { tabs->AttachManager(nullptr, nullptr, false); }

    // A new layout of three pages at (0, 0, 300, 100) with page 0 shown.
    void Reset()
    {
        if (tabs) tabs->AttachManager(nullptr, nullptr, false);
        tabs.reset(new HookedTabs());
        tabs->AttachManager(&host->pm, nullptr, false);
        for (int i = 0; i < 3; ++i) tabs->AddChild(new CControlUI());
        tabs->SetPosition({0, 0, 300, 100});
        recorder.Clear();
    }
    // The layout's left (or top) edge after each frame until the slide ends.
    std::vector<int> Run(bool vertical)
    {
        std::vector<int> edges;
        for (int guard = 0; guard < 40 && tabs->IsAnimationRunning(CAnimationTabLayoutUI::kSlideId); ++guard) {
            SendEvent(*tabs, UIEVENT_TIMER, 0, 0, CAnimationTabLayoutUI::kSlideId);
            edges.push_back(vertical ? tabs->GetPosition().top : tabs->GetPosition().left);
        }
        return edges;
    }
    static std::vector<int> Edges(int first, int step)
    {
        std::vector<int> edges;
        for (int f = 0; f < CAnimationTabLayoutUI::kFrames; ++f) edges.push_back(first + step * (f + 1));
        edges.push_back(0);
        return edges;
    }

    NotifyRecorder recorder;
    std::unique_ptr<HookedTabs> tabs;
};

struct SlideCase {
    const wchar_t* direction;
    int from;
    int to;
    int first; // where the edge starts: (width - 52) or the height away
    int step;
};

TEST_F(SlideTest, PagesSlideInFrameByFrameAndLandInPlace)
{
    const SlideCase cases[] = {
        {L"", 0, 2, 248, -20},        // a higher page from the right
        {L"", 2, 0, -248, 20},        // a lower page from the left
        {L"VERTICAL", 0, 1, 100, -6}, // from below, -100 / 15 a frame
        {L"vertical", 2, 0, -100, 6}, // from above
        {L"sideways", 0, 1, 248, -20},
    };
    for (const SlideCase& c : cases) {
        Reset();
        tabs->ApplyAttribute(L"Animation_Direction", c.direction);
        const bool vertical = c.direction[0] == L'v' || c.direction[0] == L'V';
        EXPECT_EQ(vertical, tabs->IsVertical());
        tabs->SelectPageAt(c.from);
        Run(vertical);
        recorder.Clear();
        ASSERT_TRUE(tabs->SelectPageAt(c.to));
        EXPECT_FALSE(tabs->GetChildAt(c.to)->GetVisibility()) << "shown with the first frame";
        EXPECT_EQ(std::vector<int>{c.to}, recorder.Params(L"tabselect"));
        EXPECT_EQ(c.from, recorder.Entries().back().lParam);
        EXPECT_EQ(Edges(c.first, c.step), Run(vertical)) << c.from << " to " << c.to;
        EXPECT_TRUE(tabs->GetChildAt(c.to)->GetVisibility());
        EXPECT_FALSE(tabs->GetChildAt(c.from)->GetVisibility());
        SkinUITest::ExpectRect(tabs->GetPosition(), 0, 0, 300, 100);
    }
}

TEST_F(SlideTest, TheCurrentPageOrOneOutOfRangeStartsNothing)
{
    EXPECT_TRUE(tabs->SelectPageAt(0));
    EXPECT_FALSE(tabs->SelectPageAt(3));
    EXPECT_FALSE(tabs->SelectPageAt(-1));
    EXPECT_FALSE(tabs->IsAnimationRunning(CAnimationTabLayoutUI::kSlideId));
    EXPECT_EQ(0, recorder.Count(L"tabselect"));
}

TEST_F(SlideTest, ASlideRestartedFromItsOwnStepEndsInPlace)
{
    tabs->hookFrame = 5;
    tabs->hook = [](HookedTabs& t) { t.SelectPageAt(1); };
    tabs->SelectPageAt(2);
    const std::vector<int> edges = Run(false);
    // Six frames of the first slide, then a whole slide to page 1 from the
    // left, measured from where the layout belongs.
    ASSERT_EQ(6u + 16u, edges.size());
    EXPECT_EQ(128, edges[5]);
    EXPECT_EQ(-228, edges[6]);
    SkinUITest::ExpectRect(tabs->GetPosition(), 0, 0, 300, 100);
    EXPECT_EQ(1, tabs->GetSelectedIndex());
    EXPECT_TRUE(tabs->GetChildAt(1)->GetVisibility());
    EXPECT_FALSE(tabs->GetChildAt(2)->GetVisibility());
}

TEST_F(SlideTest, ASlideStoppedFromItsOwnStepStaysStopped)
{
    tabs->hookFrame = 3;
    tabs->hook = [](HookedTabs& t) { t.StopAnimation(CAnimationTabLayoutUI::kSlideId); };
    tabs->SelectPageAt(1);
    EXPECT_EQ(4u, Run(false).size());
    EXPECT_EQ(-1, tabs->GetCurrentFrame(CAnimationTabLayoutUI::kSlideId));
}

struct FadeTest : SkinUITest::HiddenHostSuite {
    FadeTest() : canvas(20, 20, 0xFFFFFFFF)
    {
        folder.Write(L"fade_normal.png", 20, {0xFF0000});
        folder.Write(L"fade_hot.png", 20, {0x0000FF});
        button.AttachManager(&host->pm, nullptr, false);
        button.SetPosition({0, 0, 20, 20});
        button.ApplyAttribute(L"normalimage", L"fade_normal.png");
        button.ApplyAttribute(L"hotimage", L"fade_hot.png");
    }
    ~FadeTest() override { button.AttachManager(nullptr, nullptr, false); }

    uint32_t Painted()
    {
        canvas.Fill(0xFFFFFFFF);
        button.PaintArea(canvas.Dc(), {0, 0, 20, 20}, nullptr);
        return canvas.Rgb(10, 10);
    }
    void Elapse(int id) { SendEvent(button, UIEVENT_TIMER, 0, 0, id); }
    // Steps the animation through the frame given.
    void ElapseTo(int id, int frame)
    {
        while (button.IsAnimationRunning(id) && button.GetCurrentFrame(id) <= frame) Elapse(id);
    }

    SkinUITest::SkinImageFolder folder;
    DibCanvas canvas;
    CFadeButtonUI button;
};

TEST_F(FadeTest, EnteringFadesFromTheNormalToTheHotImage)
{
    EXPECT_EQ(0xFF0000u, Painted());
    SendEvent(button, UIEVENT_MOUSEENTER);
    EXPECT_TRUE(button.IsAnimationRunning(CFadeButtonUI::kFadeInId));
    EXPECT_EQ(0, button.GetFadeAlpha());
    EXPECT_EQ(0xFF0000u, Painted()) << "the paint right after entering";

    Elapse(CFadeButtonUI::kFadeInId);
    EXPECT_EQ(10, button.GetFadeAlpha()) << "the first frame";
    ElapseTo(CFadeButtonUI::kFadeInId, 15);
    EXPECT_EQ(127, button.GetFadeAlpha());
    const uint32_t half = Painted();
    EXPECT_GT(half >> 16, 0x40u);
    EXPECT_GT(half & 0xFF, 0x40u);

    ElapseTo(CFadeButtonUI::kFadeInId, 30);
    EXPECT_EQ(255, button.GetFadeAlpha());
    EXPECT_FALSE(button.IsAnimationRunning(CFadeButtonUI::kFadeInId));
    EXPECT_EQ(0x0000FFu, Painted()) << "rests on the hot image";
}

TEST_F(FadeTest, EnteringAgainDoesNotRestartLeavingReversesFromZero)
{
    SendEvent(button, UIEVENT_MOUSEENTER);
    Painted();
    ElapseTo(CFadeButtonUI::kFadeInId, 9);
    SendEvent(button, UIEVENT_MOUSEENTER);
    EXPECT_EQ(10, button.GetCurrentFrame(CFadeButtonUI::kFadeInId));

    SendEvent(button, UIEVENT_MOUSELEAVE);
    EXPECT_FALSE(button.IsAnimationRunning(CFadeButtonUI::kFadeInId));
    EXPECT_TRUE(button.IsAnimationRunning(CFadeButtonUI::kFadeOutId));
    EXPECT_EQ(0, button.GetFadeAlpha());
    EXPECT_EQ(0x0000FFu, Painted()) << "the paint right after leaving";
    ElapseTo(CFadeButtonUI::kFadeOutId, 30);
    EXPECT_EQ(0xFF0000u, Painted()) << "rests on the normal image";
}

TEST_F(FadeTest, NoNormalImageDrawsNothing)
{
    CFadeButtonUI bare;
    bare.AttachManager(&host->pm, nullptr, false);
    bare.SetPosition({0, 0, 20, 20});
    bare.ApplyAttribute(L"hotimage", L"fade_hot.png");
    bare.PaintArea(canvas.Dc(), {0, 0, 20, 20}, nullptr);
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(10, 10));
    bare.AttachManager(nullptr, nullptr, false);
}

} // namespace
