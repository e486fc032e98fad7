#pragma once

#include <cstdint>

#include "uilib/core/UIPoint.h"
#include "uilib/core/UIRect.h"

// Pixel geometry of the EQ chart: a logarithmic frequency axis from 20 Hz to
// 20 kHz across the plot and a linear gain axis from +12 dB at the top to
// -18 dB at the bottom, with the band, label and handle rectangles around
// them. Platform-free so that it is tested natively.

constexpr int kChartFreqGridCount = 28;
// Vertical grid lines (Hz); the last, 20000, is the plot's right edge.
extern const int kChartFreqGrid[kChartFreqGridCount];

// x of a frequency on a logarithmic axis of width w starting at left, in
// double precision, not truncated.
double ChartLogAxisX(int left, int width, double freq);

// Truncation toward zero that stays defined for huge or non-finite values.
int ChartTrunc(double v);
// Nearest whole number, halves away from zero, as a double.
double ChartNearest(double v);

// True when p lies in rc (right and bottom edges excluded), as PtInRect.
bool ChartRectContains(const SkinUI::CUIRect& rc, const SkinUI::CUIPoint& p);

class EqChartGeometry {
public:
    static constexpr int kMaxGain = 12;
    static constexpr int kMinGain = -18;

    // Takes the plot rectangle and the DPI scale in percent (100 at 96 DPI).
    void Set(const SkinUI::CUIRect& plot, int scalePercent);

    const SkinUI::CUIRect& Plot() const { return m_plot; }
    int Width() const { return m_plot.Width(); }
    int Height() const { return m_plot.Height(); }
    float ZeroY() const { return m_zeroY; }
    int ScalePercent() const { return m_scale; }
    // n at the current scale, truncated.
    int Scaled(int n) const { return n * m_scale / 100; }

    int FreqToX(double freq) const;
    int XToFreq(int x) const;
    int GainToY(float gain) const;
    float YToGain(int y) const;
    // The Q that a handle dragged to x stands for: the nearer the point, the
    // narrower the band (9 px: Q 9, 162 px: Q 0.5 at 100 %).
    float QFromDrag(int x, int pointX) const;
    SkinUI::CUIPoint ClampToPlot(const SkinUI::CUIPoint& p) const;

    SkinUI::CUIRect BandHitRect(const SkinUI::CUIPoint& p) const;
    SkinUI::CUIRect GeqLabelRect(const SkinUI::CUIPoint& p) const;
    SkinUI::CUIRect PeqLabelRect(const SkinUI::CUIPoint& p) const;
    void QHandleRects(const SkinUI::CUIPoint& p, float q, SkinUI::CUIRect& left, SkinUI::CUIRect& right) const;
    SkinUI::CUIRect HpHandleRect(int freq) const;
    SkinUI::CUIRect LpHandleRect(int freq) const;

private:
    // Horizontal span of a box of half width half and full width full at x,
    // pushed inside the plot at both edges.
    void SpanX(int x, int half, int full, SkinUI::CUIRect& rc) const;
    SkinUI::CUIRect LabelRect(const SkinUI::CUIPoint& p, int half, int full) const;
    SkinUI::CUIRect CrossoverHandleRect(int freq, float gain, int extraHeight) const;

    SkinUI::CUIRect m_plot;
    int m_scale = 100;
    float m_zeroY = 0.0f;
};
