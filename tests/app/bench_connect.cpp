// Connect to connected against the simulated unit, through the main window:
// the exchanges of the status read apart from the fixed pause after it.
// Goal: the exchanges take at most 100 ms in all.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>

#include "AppSkin.h"
#include "ConnectHost.h"
#include "app/tuning/UnitStatusRead.h"
#include "tests/support/SimUnitModel.h"
#include "tests/uilib/kit/MessagePump.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int wmain()
{
    if (!OpenAppSkin()) return 1;
    sim::SimUnit& unit = sim::SimUnit::Instance();
    unit.Reset();
    sim::UnitModel model(unit);
    unit.SetResponder(&model);

    const int runs = 5;
    double bestExchanges = 1e9, bestTotal = 1e9;
    for (int run = 0; run < runs; ++run) {
        // The exchanges alone: open, PC_Connect, the handshake and every get.
        DspDevice device;
        device.SetDeviceConfig(95, 16, 14, 0, 0);
        std::atomic<bool> stop{false};
        const Clock::time_point readStart = Clock::now();
        device.OpenHIDDevice();
        const bool read = ReadUnitStatus(device, stop, device.LinkSerial()) == UnitStatusRead::Done;
        const double exchanges = MsSince(readStart);
        device.CloseHIDDevice(false);
        if (!read) return 1;

        // The whole way through the window, pause and replies included.
        CConnectHost* window = new CConnectHost();
        const Clock::time_point start = Clock::now();
        if (window->CreateNativeWindow(nullptr, L"ConnectHost", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1200, 900) == nullptr)
            return 1;
        EqualizerManager& c = window->Controller();
        const bool connected = SkinUITest::PumpUntil(
            [&] { return c.Device().IsAsyncMode() && window->LoadingWindow() == nullptr; }, 30000);
        const double total = MsSince(start);
        DestroyWindow(*window);
        delete window;
        if (!connected) return 1;
        bestExchanges = exchanges < bestExchanges ? exchanges : bestExchanges;
        bestTotal = total < bestTotal ? total : bestTotal;
    }
    std::printf("connect to connected: best %.1f ms; exchanges %.1f ms (goal <= 100 ms), fixed pauses and "
                "window work %.1f ms, over %d runs\n",
                bestTotal, bestExchanges, bestTotal - bestExchanges, runs);
    unit.SetResponder(nullptr);
    return 0;
}
