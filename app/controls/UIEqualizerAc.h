#pragma once

#include <windows.h>

#include "app/controls/ChartControl.h"

// The passive chart (skin element "CurveAc"): the EQ chart's frequency grid
// over a symmetric +20..-20 dB axis, drawn with one-pixel lines and no data.
class UIEqualizerAc : public ChartControl {
public:
    static constexpr int kMaxGain = 20;
    static constexpr int kMinGain = -20;

    UIEqualizerAc();
    ~UIEqualizerAc() override;

    const wchar_t* GetTypeName() const override;
    bool PaintSelf(HDC dc, const RECT& paintArea, SkinUI::CControlUI* stopControl) override;

    // The y of a gain on a plot from top to bottom whose 0 dB line is zeroY.
    static float GainToY(float gain, int top, int bottom, float zeroY);
    // The 0 dB line of a plot: halfway down, rounded toward the top.
    static int ZeroY(int top, int bottom);
};
