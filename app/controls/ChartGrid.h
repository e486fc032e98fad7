#pragma once

#include <windows.h>

#include "uilib/core/UIRect.h"

// The framed grid both EQ charts draw: background, frame, the 0 dB line,
// dotted gain lines at the given heights and solid lines at the frequency
// grid (20 Hz .. 10 kHz; 20 kHz is the frame).
struct ChartGridStyle {
    DWORD background;
    DWORD lineColor;
    int lineWidth;
};

void PaintChartGrid(HDC dc, const SkinUI::CUIRect& plot, int zeroY, const int* gainYs, int gainCount,
                    const ChartGridStyle& style);
