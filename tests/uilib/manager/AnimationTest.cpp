// Frame animations of a control on a real window: the order of the start,
// step and stop calls, looping, frame setting, and timers driving it.
#include <gtest/gtest.h>

#include <string>

#include "ManagerHarness.h"
#include "uilib/layout/UIAnimation.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

// Writes every call back as "start1 step0/3 ... stop1" and hands its timer
// events to the animation, as an animated control does.
class CAnimatedControl : public CProbeControl, public CUIAnimation {
public:
    CAnimatedControl() : CUIAnimation(this) {}
    ~CAnimatedControl() override { StopAnimation(0); }

    void HandleEvent(TEventInfo& event) override
    {
        if (event.type == UIEVENT_TIMER) OnAnimationElapse(static_cast<int>(event.wParam));
        CProbeControl::HandleEvent(event);
    }
    void OnAnimationStart(int id, bool firstLoop) override
    {
        log += L" start" + std::to_wstring(id) + (firstLoop ? L"" : L"again");
    }
    void OnAnimationStep(int total, int frame, int id) override
    {
        log += L" step" + std::to_wstring(frame) + L"/" + std::to_wstring(total);
        if (stopAtFrame == frame) StopAnimation(id);
    }
    void OnAnimationStop(int id) override { log += L" stop" + std::to_wstring(id); }

    std::wstring log;
    int stopAtFrame = -1;
};

struct AnimationWindow : ::testing::Test {
    CManagedWindow window;
    CProbeContainer* root = new CProbeContainer;
    CAnimatedControl* control = new CAnimatedControl;

    void SetUp() override
    {
        ASSERT_NE(window.Handle(), nullptr);
        root->Add(control, RECT{0, 0, 50, 50});
        window.Manager().AttachRoot(root);
    }
    // Elapses by hand, as many times as asked.
    void Elapse(int id, int times)
    {
        for (int i = 0; i < times; ++i) control->OnAnimationElapse(id);
    }
};

} // namespace

TEST_F(AnimationWindow, CallsBackInOrderForOnceLoopAndStopInAStep)
{
    const struct {
        bool loop;
        int stopAtFrame;
        int elapses;
        const wchar_t* log;
        bool running;
    } cases[] = {
        {false, -1, 5, L" start1 step0/3 step1/3 step2/3 step3/3 stop1", false},
        {true, -1, 6, L" start1 step0/2 step1/2 step2/2 stop1 step1/2 step2/2 stop1 step1/2", true},
        // A step that stops the animation ends it there.
        {false, 1, 4, L" start1 step0/3 step1/3", false},
    };
    for (const auto& c : cases) {
        control->log.clear();
        control->stopAtFrame = c.stopAtFrame;
        ASSERT_TRUE(control->StartAnimation(50, c.loop ? 2 : 3, 1, c.loop));
        Elapse(1, c.elapses);
        EXPECT_EQ(c.log, control->log) << c.elapses;
        EXPECT_EQ(c.running, control->IsAnimationRunning(1)) << c.elapses;
        control->StopAnimation(1);
    }
}

TEST_F(AnimationWindow, RulesForIdsFramesAndArguments)
{
    EXPECT_FALSE(control->StartAnimation(0, 5, 2, false));
    EXPECT_FALSE(control->StartAnimation(10, 0, 2, false));
    ASSERT_TRUE(control->StartAnimation(1000, 5, 2, false));
    // A running id is not started again, and keeps its frame.
    Elapse(2, 2);
    EXPECT_FALSE(control->StartAnimation(10, 9, 2, true));
    EXPECT_EQ(2, control->GetCurrentFrame(2));
    EXPECT_EQ(-1, control->GetCurrentFrame(3));
    EXPECT_FALSE(control->SetCurrentFrame(6, 2));
    EXPECT_FALSE(control->SetCurrentFrame(-1, 2));
    EXPECT_FALSE(control->SetCurrentFrame(1, 3));
    // The last frame is accepted: the next elapse steps it and stops.
    EXPECT_TRUE(control->SetCurrentFrame(5, 2));
    control->log.clear();
    Elapse(2, 1);
    EXPECT_EQ(L" step5/5 stop2", control->log);
    EXPECT_FALSE(control->IsAnimationRunning(2));
    // Unknown ids and an empty stop-all do nothing.
    control->log.clear();
    Elapse(7, 1);
    control->StopAnimation(0);
    EXPECT_EQ(L"", control->log);
    // Without an owner nothing starts.
    CUIAnimation orphan(nullptr);
    EXPECT_FALSE(orphan.StartAnimation(10, 5, 1, false));
}

TEST_F(AnimationWindow, TimersDriveTwoAnimationsToTheirEnds)
{
    ASSERT_TRUE(control->StartAnimation(10, 3, 1, false));
    ASSERT_TRUE(control->StartAnimation(10, 2, 4, false));
    ASSERT_TRUE(PumpUntil([&] { return !control->IsAnimationRunning(1) && !control->IsAnimationRunning(4); }, 3000));
    EXPECT_NE(std::wstring::npos, control->log.find(L"step3/3 stop1"));
    EXPECT_NE(std::wstring::npos, control->log.find(L"step2/2 stop4"));
    // The timers went with the animations.
    const int ticks = control->CountOf(UIEVENT_TIMER);
    PumpFor(60);
    EXPECT_EQ(ticks, control->CountOf(UIEVENT_TIMER));
}
