// Time of a full off-screen repaint of a window of about 800 controls.
#include <cstdio>

#include "ManagerHarness.h"
#include "tests/uilib/kit/BenchClock.h"

using namespace SkinUI;
using namespace SkinUITest;

// Builds a window of 40 x 20 cells and reports full and small repaints.
int RunScenario(const char* name, bool styled)
{
    const int kWidth = 1230;
    const int kHeight = 650;
    const int kColumns = 40;
    const int kRows = 20;
    const int kRepaints = 50;

    CManagedWindow window(kWidth, kHeight);
    if (window.Handle() == nullptr) {
        std::printf("no window (is a display set?)\n");
        return 1;
    }
    CProbeContainer* root = new CProbeContainer;
    root->SetBackgroundColor(0xFF202428);
    const int cellWidth = kWidth / kColumns;
    const int cellHeight = kHeight / kRows;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            CProbeControl* cell = new CProbeControl;
            if (styled) {
                cell->SetBackgroundColor((row + column) % 2 == 0 ? 0xFF3A4048 : 0xFF2C3138);
                cell->SetBorderLineColor(0xFF5A6470);
                cell->SetBorderLineWidth(1);
            }
            RECT place = {column * cellWidth + 1, row * cellHeight + 1, (column + 1) * cellWidth - 1,
                          (row + 1) * cellHeight - 1};
            root->Add(cell, place);
        }
    }
    window.Manager().AttachRoot(root);
    window.ShowAndPaint();
    PumpPending();

    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kRepaints; ++i) {
        InvalidateRect(window.Handle(), nullptr, FALSE);
        UpdateWindow(window.Handle());
    }
    QueryPerformanceCounter(&end);
    std::printf("%s: full repaint, %dx%d, %d controls: %.2f ms per paint (target <= 16 ms)\n", name, kWidth, kHeight,
                kColumns * kRows + 1, MillisecondsOf(start, end) / kRepaints);

    RECT small = {100, 100, 200, 120};
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kRepaints; ++i) {
        window.Manager().InvalidateArea(small);
        UpdateWindow(window.Handle());
    }
    QueryPerformanceCounter(&end);
    std::printf("%s: 100x20 repaint: %.3f ms per paint\n", name, MillisecondsOf(start, end) / kRepaints);
    return 0;
}

int main()
{
    // Plain cells show what the manager's own pass costs; styled cells add
    // a fill and a border per control.
    if (RunScenario("plain", false) != 0) return 1;
    return RunScenario("styled", true);
}
