// Time of painting the EQ chart with 16 shown curves at the main window's
// chart size, and of one mouse-move step of a band drag (hit test, clamp,
// notification, invalidate).
#include <cstdio>

#include "DibCanvas.h"
#include "SampleChart.h"
#include "tests/uilib/kit/BenchClock.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"
#include "uilib/core/UIManager.h"

#include <gdiplus.h>

using namespace SkinUI;
using namespace SkinUITest;

int main()
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    {
        const int kPaints = 100;
        const int kMoves = 2000;
        CPaintManagerUI manager;
        NotifyRecorder recorder(manager);
        UIEqualizer chart;
        chart.AttachManager(&manager, nullptr, false);
        chart.ApplyAttributeList(AppTest::kChartAttributes);
        chart.SetPosition({0, 0, 800, 260});
        AppTest::LoadSampleChart(chart);
        DibCanvas canvas(800, 260);
        const RECT all = {0, 0, 800, 260};

        chart.PaintArea(canvas.Dc(), all, nullptr);
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kPaints; ++i) chart.PaintArea(canvas.Dc(), all, nullptr);
        const double paintMs = MillisecondsSince(start) / kPaints;
        std::printf("chart paint, 16 curves at 800 x 260: %.3f ms (goal <= 4)\n", paintMs);

        const CUIPoint band = chart.Model().BandPoint(10);
        SendEvent(chart, UIEVENT_BUTTONDOWN, band.x, band.y);
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kMoves; ++i) {
            SendEvent(chart, UIEVENT_MOUSEMOVE, band.x + i % 40, 40 + i % 150);
            chart.RequestRepaint();
        }
        const double moveMs = MillisecondsSince(start) / kMoves;
        SendEvent(chart, UIEVENT_BUTTONUP, band.x, band.y);
        std::printf("drag step: %d moves, %d notified, %.4f ms a step (goal <= 0.2)\n", kMoves,
                    recorder.Count(L"equalizer_eq"), moveMs);
        chart.AttachManager(nullptr, nullptr, false);
    }
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
