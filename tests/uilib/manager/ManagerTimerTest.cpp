// Control timers on a real window.
#include <gtest/gtest.h>

#include "ManagerHarness.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

struct TimerWindow : ::testing::Test {
    CManagedWindow window;
    CProbeContainer* root = new CProbeContainer;
    CProbeControl* a = new CProbeControl;
    CProbeControl* b = new CProbeControl;

    void SetUp() override
    {
        ASSERT_NE(window.Handle(), nullptr);
        root->Add(a, RECT{0, 0, 50, 50});
        root->Add(b, RECT{50, 0, 100, 50});
        window.Manager().AttachRoot(root);
    }

    // What the control hears when the window timer with that id ticks.
    void Tick(UINT windowTimerId) { SendMessageW(window.Handle(), WM_TIMER, windowTimerId, 0); }
};

int g_slowTicks = 0;
void CALLBACK SlowTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_slowTicks;
    Sleep(20);
}

} // namespace

// A tick that takes longer than its timer's period, as on a loaded machine,
// finds the timer due again each time: that is not a queue that keeps filling.
TEST(MessagePump, ATimerDueAgainAfterEachSlowTickLeavesThePumpSettled)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, SlowTick);
    Sleep(20);
    EXPECT_TRUE(PumpPending());
    KillTimer(nullptr, timer);
    EXPECT_GT(g_slowTicks, 0);
}

TEST_F(TimerWindow, TimersFireWithTheControlsOwnIds)
{
    ASSERT_TRUE(window.Manager().StartTimer(a, 5, 10));
    ASSERT_TRUE(window.Manager().StartTimer(b, 9, 10));
    ASSERT_TRUE(PumpUntil([&] { return a->CountOf(UIEVENT_TIMER) > 0 && b->CountOf(UIEVENT_TIMER) > 0; }, 3000));
    EXPECT_EQ(a->LastOf(UIEVENT_TIMER)->wParam, 5u);
    EXPECT_EQ(b->LastOf(UIEVENT_TIMER)->wParam, 9u);
    EXPECT_TRUE(window.Manager().StopTimer(a, 5));
    EXPECT_TRUE(window.Manager().StopTimer(b, 9));
}

TEST_F(TimerWindow, FirstWindowIdIs17AndStoppedTimersRestartUnderIt)
{
    ASSERT_TRUE(window.Manager().StartTimer(a, 1, 100000));
    Tick(17);
    ASSERT_EQ(a->CountOf(UIEVENT_TIMER), 1);
    EXPECT_FALSE(window.Manager().StartTimer(a, 1, 100000));
    EXPECT_TRUE(window.Manager().StopTimer(a, 1));
    EXPECT_FALSE(window.Manager().StopTimer(a, 1));
    Tick(17);
    EXPECT_EQ(a->CountOf(UIEVENT_TIMER), 1);
    ASSERT_TRUE(window.Manager().StartTimer(a, 1, 100000));
    Tick(17);
    EXPECT_EQ(a->CountOf(UIEVENT_TIMER), 2);
    EXPECT_EQ(a->LastOf(UIEVENT_TIMER)->wParam, 1u);
}

TEST_F(TimerWindow, IdsWrapFrom239To0)
{
    // Ids 17..239 go to b's timers 0..222, which are stopped again at once.
    for (UINT id = 0; id < 223; ++id) {
        ASSERT_TRUE(window.Manager().StartTimer(b, id, 100000));
        ASSERT_TRUE(window.Manager().StopTimer(b, id));
    }
    ASSERT_TRUE(window.Manager().StartTimer(a, 7, 100000));
    Tick(0);
    ASSERT_EQ(a->CountOf(UIEVENT_TIMER), 1);
    EXPECT_EQ(a->LastOf(UIEVENT_TIMER)->wParam, 7u);
}

TEST_F(TimerWindow, WrappedCounterSkipsIdsOfRunningTimers)
{
    ASSERT_TRUE(window.Manager().StartTimer(a, 1, 100000)); // id 17, stays running
    // 239 more timers: ids 18..239, then 0..16; each is stopped at once.
    for (UINT id = 0; id < 239; ++id) {
        ASSERT_TRUE(window.Manager().StartTimer(b, id, 100000));
        ASSERT_TRUE(window.Manager().StopTimer(b, id));
    }
    // The counter reaches 17 again: a's running timer keeps it.
    ASSERT_TRUE(window.Manager().StartTimer(b, 500, 100000));
    Tick(17);
    EXPECT_EQ(a->CountOf(UIEVENT_TIMER), 1);
    EXPECT_EQ(b->CountOf(UIEVENT_TIMER), 0);
    Tick(18);
    ASSERT_EQ(b->CountOf(UIEVENT_TIMER), 1);
    EXPECT_EQ(b->LastOf(UIEVENT_TIMER)->wParam, 500u);
}

TEST_F(TimerWindow, RestartAfterItsIdWasTakenGetsAFreshId)
{
    ASSERT_TRUE(window.Manager().StartTimer(a, 1, 100000)); // 17
    ASSERT_TRUE(window.Manager().StopTimer(a, 1));
    for (UINT id = 0; id < 240; ++id) { // 18..239, 0..16, then 17 again
        ASSERT_TRUE(window.Manager().StartTimer(b, id, 100000));
        if (id < 239) {
            ASSERT_TRUE(window.Manager().StopTimer(b, id));
        }
    }
    // b's timer 239 runs under 17; a's restart must not take 17 from it.
    ASSERT_TRUE(window.Manager().StartTimer(a, 1, 100000));
    Tick(17);
    EXPECT_EQ(a->CountOf(UIEVENT_TIMER), 0);
    ASSERT_EQ(b->CountOf(UIEVENT_TIMER), 1);
    EXPECT_EQ(b->LastOf(UIEVENT_TIMER)->wParam, 239u);
}

TEST_F(TimerWindow, StoppingAllTimersOfAControlSilencesIt)
{
    ASSERT_TRUE(window.Manager().StartTimer(a, 1, 100000));
    ASSERT_TRUE(window.Manager().StartTimer(a, 2, 100000));
    window.Manager().StopControlTimers(a);
    Tick(17);
    Tick(18);
    EXPECT_EQ(a->CountOf(UIEVENT_TIMER), 0);
    EXPECT_FALSE(window.Manager().StopTimer(a, 1));
    EXPECT_FALSE(window.Manager().StartTimer(nullptr, 1, 10));
}
