// Time of a colour palette drag: each move in the saturation bar rebuilds
// the whole hue/lightness field (72,000 pixels) and repaints the control.
#include <cstdio>

#include "DibCanvas.h"
#include "SentEvents.h"
#include "tests/uilib/kit/BenchClock.h"
#include "uilib/control/ColorPalette.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;
using namespace SkinUITest;

int main()
{
    const int kMoves = 200;
    CPaintManagerUI manager;
    CColorPaletteUI palette;
    palette.AttachManager(&manager, nullptr, false);
    palette.Initialize();
    palette.SetPosition(CUIRect(0, 0, 360, 220), false);
    DibCanvas canvas(360, 220);
    const RECT all = {0, 0, 360, 220};

    double worst = 0;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    SendEvent(palette, UIEVENT_BUTTONDOWN, 0, 215);
    for (int i = 1; i <= kMoves; ++i) {
        LARGE_INTEGER moveStart;
        QueryPerformanceCounter(&moveStart);
        SendEvent(palette, UIEVENT_MOUSEMOVE, (i * 7) % 360, 215);
        palette.PaintArea(canvas.Dc(), all, nullptr);
        const double ms = MillisecondsSince(moveStart);
        if (ms > worst) worst = ms;
    }
    SendEvent(palette, UIEVENT_BUTTONUP, 0, 215);
    const double total = MillisecondsSince(start);
    std::printf("colour palette drag: %d moves, %.3f ms a move, worst %.3f ms (goal <= 5)\n", kMoves,
                total / kMoves, worst);
    palette.AttachManager(nullptr, nullptr, false);
    return total / kMoves <= 5.0 ? 0 : 1;
}
