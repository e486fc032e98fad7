// The main-volume poll on the real main window: a tick hands the question to
// the device's worker and returns, and the unit's answer reaches the volume
// controls through the window's messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "AppSkin.h"
#include "ConnectHost.h"
#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
#include "app/tuning/MainVolumePoll.h"
#include "device/DeviceTiming.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimUnitModel.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/Slider.h"

using namespace SkinUI;

namespace {

sim::SimUnit& Unit()
{
    return sim::SimUnit::Instance();
}

TEST(MainVolumePoll, TickDoesNotWaitForTheUnitAndTheAnswerReachesTheWindow)
{
    ASSERT_TRUE(OpenAppSkin());
    SetDeviceWaitScaleForTests(10);
    Unit().Reset();
    sim::UnitModel model(Unit());
    Unit().SetResponder(&model);
    CConnectHost* window = new CConnectHost();
    ASSERT_NE(nullptr, window->CreateNativeWindow(nullptr, L"ConnectHost", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1200, 900));
    EqualizerManager& c = window->Controller();
    CSButtonUI* connect = static_cast<CSButtonUI*>(window->PaintManager().FindControlByName(L"btnConnect"));
    ASSERT_NE(nullptr, connect);
    ASSERT_TRUE(SkinUITest::PumpUntil(
        [&] { return c.Device().IsAsyncMode() && !c.IsStatusReadRunning() && window->LoadingWindow() == nullptr &&
                     connect->IsSelected(); },
        30000));

    model.Access()->unit.mainVolumeDb = -33;
    Unit().ClearReceived();
    // The unit takes the question but holds it; the tick must be back by then.
    Unit().HoldWrites(true);
    std::atomic<bool> tickRunning{true};
    std::atomic<bool> backWhileHeld{false};
    std::thread unitSide([&] {
        if (Unit().WaitForBlockedWrite(5000)) backWhileHeld = sim::PollUntil([&] { return !tickRunning.load(); }, 3000);
        Unit().HoldWrites(false);
    });
    StartGetMainVolumeTimer(*window);
    SendMessageW(*window, WM_TIMER, kMainVolumeTimerId, 0);
    tickRunning = false;
    unitSide.join();
    EXPECT_TRUE(backWhileHeld) << "the tick waited for the unit";

    CSliderUI* slider = static_cast<CSliderUI*>(window->PaintManager().FindControlByName(L"slider_main_volume"));
    ASSERT_NE(nullptr, slider);
    EXPECT_TRUE(SkinUITest::PumpUntil([&] { return slider->GetValue() == -33; }, 5000));
    EXPECT_EQ(L"-33dB", TextOf(window->PaintManager(), L"edit_main_volume"));
    const std::vector<sim::Frame> frames = Unit().ReceivedFrames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(0x02, frames[0].subcommand);
    EXPECT_EQ(0x66, frames[0].optype);

    DestroyWindow(*window);
    SkinUITest::PumpPending();
    delete window;
    Unit().SetResponder(nullptr);
    SetDeviceWaitScaleForTests(100);
}

} // namespace
