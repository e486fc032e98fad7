// One step of a band drag on the EQ chart of the main layout: the chart's
// hit and move, the controller's model update with its partner and group,
// the band's row and the curves. Painting is excluded: the step only marks
// the chart for repaint.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "AppSkin.h"
#include "app/controls/AppControlFactory.h"
#include "app/controls/UIEqualizer.h"
#include "app/tuning/EqualizerManager.h"
#include "tests/support/SimUnit.h"
#include "tests/uilib/kit/BenchClock.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/core/WindowBase.h"

using namespace SkinUI;

namespace {

const int kSteps = 400;
const double kGoalMs = 5.0;

// The main layout, its chart's drags handed to the controller as the main
// window hands them.
class CDragHost : public WindowImplBase {
public:
    explicit CDragHost(EqualizerManager& controller) : m_controller(controller) {}
    const wchar_t* GetWndClassName() const override { return L"BrisaDragBench"; }
    CUIString GetSkinXmlName() const override { return L"XML_MAIN"; }
    CControlUI* CreateCustomControl(const wchar_t* className) override { return CreateAppControl(className); }
    void ReceiveNotify(TNotifyInfo& notify) override
    {
        if (notify.sender != nullptr && notify.sender->GetControlName() == L"equalizer" &&
            wcsncmp(notify.type, L"equalizer_eq", 12) == 0) {
            const int index = static_cast<int>(wcstol(notify.sender->GetUserDataText(), nullptr, 10));
            if (index >= 0) m_controller.EqualizerCallback(index, 0, notify.type == L"equalizer_eq_release");
        }
        WindowImplBase::ReceiveNotify(notify);
    }

private:
    EqualizerManager& m_controller;
};

} // namespace

int main()
{
    if (!OpenAppSkin()) {
        printf("skin not opened\n");
        return 1;
    }
    EqualizerManager controller;
    CDragHost host(controller);
    if (host.CreateNativeWindow(nullptr, L"drag", WS_POPUP, 0, 0, 0, 1230, 650) == nullptr) return 1;
    ShowWindow(host, SW_SHOWNOACTIVATE);
    SkinUITest::PumpFor(50);
    controller.Init(&host.PaintManager(), host);
    SceneProfile& p = controller.Current();
    // A tuned channel with a bridged partner and a four-channel group: the
    // costly case of a drag.
    for (ChannelParams& ch : p.channels) {
        ch.bypass = 0;
        for (int b = 0; b < ch.eqSize; ++b) ch.bands[b].gain = static_cast<float>(b % 7) - 3.0f;
    }
    p.bridgeOutputs[0] = 1;
    p.linkSel[0] = p.linkSel[2] = p.linkSel[4] = p.linkSel[6] = 1;
    controller.SetCurChannelChange(0);
    SkinUITest::PumpFor(20);

    auto* chart = static_cast<UIEqualizer*>(host.PaintManager().FindControlByName(L"equalizer"));
    if (chart == nullptr || chart->BandCount() != kMaxEqBands) {
        printf("no chart with 31 bands\n");
        return 1;
    }
    const int band = 17;
    const CUIRect plot = chart->GetPosition();
    const int x = chart->Model().Geometry().FreqToX(chart->GetBand(band).freq);
    const int y0 = chart->Model().Geometry().GainToY(chart->GetBand(band).gain);
    SendMessageW(host, WM_MOUSEMOVE, 0, MAKELPARAM(x, y0));
    SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y0));
    if (chart->GetSelectedBand() != band) {
        printf("the press did not take band %d (took %d)\n", band, chart->GetSelectedBand());
        return 1;
    }
    std::vector<double> times;
    int lastY = y0;
    const int span = std::max(8, plot.Height() / 3);
    for (int i = 0; i < kSteps; ++i) {
        const int y = y0 - span / 2 + (i * 7) % span;
        lastY = y;
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        SendMessageW(host, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        times.push_back(SkinUITest::MillisecondsSince(start));
        // Paint and the unit's queue outside the measured step.
        ValidateRect(host, nullptr);
    }
    SendMessageW(host, WM_LBUTTONUP, 0, MAKELPARAM(x, lastY));
    // The steps reached the model: the dragged band left its starting gain.
    const float dragged = p.channels[0].bands[band].gain;
    if (dragged == static_cast<float>(band % 7) - 3.0f || p.channels[1].bands[band].gain != dragged) {
        printf("the drag never reached the model\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double p95 = times[times.size() * 95 / 100];
    printf("chart drag step (hit, model, row, curves of current + partner + group of 4): median %.3f ms, "
           "95th %.3f ms over %d (goal <= %.0f ms)\n",
           median, p95, kSteps, kGoalMs);
    DestroyWindow(host);
    return median <= kGoalMs ? 0 : 1;
}
