#include "UnitEditKit.h"

#include <cstdio>

#include "AppSkin.h"
#include "tests/support/PollUntil.h"
#include "tests/uilib/kit/MessagePump.h"

std::vector<std::string> Described(const std::vector<sim::Frame>& frames)
{
    std::vector<std::string> out;
    for (const sim::Frame& f : frames) {
        char text[8];
        snprintf(text, sizeof text, "%02X:", f.subcommand);
        std::string line = text;
        for (size_t i = 0; i < f.data.size(); ++i) {
            snprintf(text, sizeof text, i == 0 ? "%02X" : " %02X", f.data[i]);
            line += text;
        }
        out.push_back(line);
    }
    return out;
}

void UnitEditTest::SetUp()
{
    ASSERT_TRUE(OpenAppSkin());
    sim::SimUnit::Instance().Reset();
    sim::SimUnit::Instance().SetResponder(&m_ack);
}

void UnitEditTest::TearDown()
{
    sim::SimUnit::Instance().SetResponder(nullptr);
}

void UnitEditTest::Open(SkinUI::WindowImplBase& host, EqualizerManager& controller, int width, int height)
{
    ASSERT_NE(nullptr, host.CreateNativeWindow(nullptr, L"edits", WS_POPUP, 0, 0, 0, width, height));
    ShowWindow(host, SW_SHOWNOACTIVATE);
    SkinUITest::PumpFor(20);
    controller.Init(&host.PaintManager(), host);
    controller.Device().OpenHIDDevice();
    ASSERT_TRUE(controller.Device().IsDeviceOpen());
    controller.Device().EnableAsyncMode();
}

std::vector<std::string> UnitEditTest::Sent(EqualizerManager& controller)
{
    EXPECT_TRUE(sim::PollUntil([&] { return controller.Device().IsQueueIdle(); }, 10000));
    return Described(sim::SimUnit::Instance().ReceivedFrames());
}

void UnitEditTest::Close(SkinUI::WindowImplBase& host, EqualizerManager& controller)
{
    controller.Device().CloseHIDDevice(false);
    DestroyWindow(host);
    SkinUITest::PumpFor(10);
}
