// Bridging a pair, separating it again and resetting every output on the
// main window against the simulated unit: the time from the click until the
// busy window ended (the unit took every command), and the commands sent.
#include <windows.h>

#include <cstdio>

#include "AppSkin.h"
#include "app/windows/MainWnd.h"
#include "device/DeviceTiming.h"
#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitModel.h"
#include "tests/uilib/kit/BenchClock.h"
#include "tests/uilib/kit/MessagePump.h"

using namespace SkinUI;

namespace {

const double kGoalMs = 2000.0;
const int kRounds = 3;

// Answers the reset's question with "default" from inside its modal loop.
void CALLBACK AnswerDefault(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowW(L"MsgWnd", nullptr);
    if (box != nullptr && IsWindowVisible(box)) PostMessageW(box, WM_CLOSE, 1, 0);
}

bool Drained(CMainWnd& window)
{
    EqualizerManager& c = window.Controller();
    return SkinUITest::PumpUntil(
        [&] { return !c.IsOutputJobRunning() && window.LoadingWindow() == nullptr && c.Device().IsQueueIdle(); },
        60000);
}

bool Click(CMainWnd& window, const wchar_t* control)
{
    CControlUI* sender = window.PaintManager().FindControlByName(control);
    if (sender == nullptr) return false;
    window.PaintManager().SendNotification(sender, L"click");
    return Drained(window);
}

// Each round: the state prepared (not timed), then the click timed until
// the busy window ended.
int Measure(CMainWnd& window, const char* what, const wchar_t* control, const wchar_t* const* prepare, int prepares)
{
    double worst = 0;
    size_t commands = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < prepares; ++i) {
            if (!Click(window, prepare[i])) return 1;
        }
        sim::SimUnit::Instance().ClearReceived();
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        if (!Click(window, control)) return 1;
        const double ms = SkinUITest::MillisecondsSince(start);
        worst = ms > worst ? ms : worst;
        commands = sim::SimUnit::Instance().ReceivedFrames().size();
        // A bridge left on is taken off again for the next round.
        if (window.Controller().Current().bridgeOutputs[2] != 0 && !Click(window, L"ch_bridge_2")) return 1;
    }
    printf("%s: %zu commands, drained in at most %.0f ms over %d (goal <= %.0f ms)\n", what, commands, worst, kRounds,
           kGoalMs);
    return worst <= kGoalMs ? 0 : 1;
}

} // namespace

int main()
{
    if (!OpenAppSkin()) return 1;
    sim::UnitModel unit(sim::SimUnit::Instance());
    sim::SimUnit::Instance().SetResponder(&unit);
    CMainWnd window;
    if (window.CreateNativeWindow(nullptr, CMainWnd::kTitle, WS_OVERLAPPEDWINDOW, 0, 0, 0, CMainWnd::kWidth,
                                  CMainWnd::kHeight) == nullptr)
        return 1;
    EqualizerManager& c = window.Controller();
    if (!SkinUITest::PumpUntil(
            [&] { return c.Device().IsAsyncMode() && !c.IsStatusReadRunning() && window.LoadingWindow() == nullptr; },
            60000))
        return 1;

    int failed = 0;
    failed |= Measure(window, "bridge pair 3 on", L"ch_bridge_2", nullptr, 0);
    const wchar_t* const bridged[] = {L"ch_bridge_2"};
    failed |= Measure(window, "bridge pair 3 off", L"ch_bridge_2", bridged, 1);
    // The reset as an installer finds it: two pairs bridged.
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &AnswerDefault);
    const wchar_t* const twoPairs[] = {L"ch_bridge_0", L"ch_bridge_5"};
    failed |= Measure(window, "output reset to defaults, two pairs bridged", L"btn_reset_output", twoPairs, 2);
    KillTimer(nullptr, timer);
    DestroyWindow(window);
    sim::SimUnit::Instance().SetResponder(nullptr);
    return failed;
}
