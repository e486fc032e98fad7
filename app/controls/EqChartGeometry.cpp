#include "app/controls/EqChartGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using SkinUI::CUIPoint;
using SkinUI::CUIRect;

const int kChartFreqGrid[kChartFreqGridCount] = {
    20,   30,   40,   50,   60,   70,   80,   90,   100,  200,  300,  400,   500,   600,
    700,  800,  900,  1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000,
};

namespace {

const double kLogLow = std::log10(20.0);
const double kLogHigh = std::log10(20000.0);

} // namespace

double ChartLogAxisX(int left, int width, double freq)
{
    return left + width * (std::log10(freq) - kLogLow) / (kLogHigh - kLogLow);
}

int ChartTrunc(double v)
{
    // Curves reach -800 dB and frequencies may be 0: keep far-off values far
    // off without leaving the int range.
    if (std::isnan(v)) return 0;
    const double limit = 1.0e8;
    return static_cast<int>(std::max(-limit, std::min(limit, v)));
}

double ChartNearest(double v)
{
    return std::round(v);
}

bool ChartRectContains(const CUIRect& rc, const CUIPoint& p)
{
    return p.x >= rc.left && p.x < rc.right && p.y >= rc.top && p.y < rc.bottom;
}

void EqChartGeometry::Set(const CUIRect& plot, int scalePercent)
{
    m_plot = plot;
    m_scale = scalePercent > 0 ? scalePercent : 100;
    const int span = kMaxGain - kMinGain;
    m_zeroY = static_cast<float>(m_plot.top + (Height() * kMaxGain) / span);
}

int EqChartGeometry::FreqToX(double freq) const
{
    return ChartTrunc(ChartLogAxisX(m_plot.left, Width(), freq));
}

int EqChartGeometry::XToFreq(int x) const
{
    if (Width() == 0) return 20;
    const float dx = static_cast<float>(x - m_plot.left);
    return ChartTrunc(ChartNearest(std::pow(10.0, kLogLow + dx * (kLogHigh - kLogLow) / Width())));
}

int EqChartGeometry::GainToY(float gain) const
{
    if (gain > 0) {
        const float product = (m_zeroY - m_plot.top) * gain;
        return ChartTrunc(m_zeroY - ChartNearest(product) / kMaxGain);
    }
    if (gain < 0) {
        const float product = (m_plot.bottom - m_zeroY) * gain;
        return ChartTrunc(m_zeroY - ChartNearest(product) / -kMinGain);
    }
    return ChartTrunc(m_zeroY);
}

float EqChartGeometry::YToGain(int y) const
{
    const float fy = static_cast<float>(y);
    if (fy < m_zeroY) {
        const float span = m_plot.top - m_zeroY;
        return span != 0 ? (fy - m_zeroY) * 100 / span * kMaxGain / 100 : 0.0f;
    }
    if (fy > m_zeroY) {
        const float span = m_plot.bottom - m_zeroY;
        return span != 0 ? (m_zeroY - fy) * 100 / span * -kMinGain / 100 : 0.0f;
    }
    return 0.0f;
}

float EqChartGeometry::QFromDrag(int x, int pointX) const
{
    const int d = std::max(1, std::min(std::max(std::abs(x - pointX), Scaled(3)), Scaled(162)));
    const float q = static_cast<float>(m_scale) * 81 / 100 / d;
    return std::max(0.5f, std::min(9.0f, q));
}

CUIPoint EqChartGeometry::ClampToPlot(const CUIPoint& p) const
{
    return CUIPoint(std::max<int>(m_plot.left, std::min<int>(m_plot.right, p.x)),
                    std::max<int>(m_plot.top, std::min<int>(m_plot.bottom, p.y)));
}

void EqChartGeometry::SpanX(int x, int half, int full, CUIRect& rc) const
{
    if (x < m_plot.left + half) {
        rc.left = m_plot.left;
        rc.right = m_plot.left + full;
    } else if (x > m_plot.right - half) {
        rc.left = m_plot.right - full;
        rc.right = m_plot.right;
    } else {
        rc.left = x - half;
        rc.right = x + half;
    }
}

CUIRect EqChartGeometry::BandHitRect(const CUIPoint& p) const
{
    const int d = Scaled(8);
    const int e = Scaled(16);
    CUIRect rc;
    SpanX(p.x, d, e, rc);
    if (p.y < m_plot.top + d) {
        rc.top = m_plot.top;
        rc.bottom = m_plot.top + e;
    } else if (p.y > m_plot.bottom - d) {
        rc.top = m_plot.bottom - e;
        rc.bottom = m_plot.bottom;
    } else {
        rc.top = p.y - d;
        rc.bottom = p.y + d;
    }
    return rc;
}

CUIRect EqChartGeometry::LabelRect(const CUIPoint& p, int half, int full) const
{
    CUIRect rc;
    SpanX(p.x, Scaled(half), Scaled(full), rc);
    const int T = m_plot.top;
    const int B = m_plot.bottom;
    // Above the point near the bottom, below it elsewhere, kept off both edges.
    if (p.y < T + Scaled(14)) {
        rc.top = T + Scaled(22);
        rc.bottom = T + Scaled(37);
    } else if (B - Scaled(29) < p.y && p.y < B - Scaled(10)) {
        rc.top = p.y - Scaled(29);
        rc.bottom = p.y - Scaled(14);
    } else if (p.y < B - Scaled(10)) {
        rc.top = p.y + Scaled(14);
        rc.bottom = p.y + Scaled(29);
    } else {
        rc.top = B - Scaled(37);
        rc.bottom = B - Scaled(22);
    }
    return rc;
}

CUIRect EqChartGeometry::GeqLabelRect(const CUIPoint& p) const
{
    return LabelRect(p, 25, 50);
}

CUIRect EqChartGeometry::PeqLabelRect(const CUIPoint& p) const
{
    return LabelRect(p, 75, 150);
}

void EqChartGeometry::QHandleRects(const CUIPoint& p, float q, CUIRect& left, CUIRect& right) const
{
    const float bounded = std::isnan(q) ? 9.0f : std::max(0.5f, std::min(9.0f, q));
    const int d = ChartTrunc(ChartNearest(81 / bounded) * m_scale / 100.0);
    const int a = Scaled(4);
    const int T = m_plot.top;
    const int B = m_plot.bottom;
    int top;
    int bottom;
    if (p.y < T + Scaled(14)) {
        top = T + Scaled(12);
        bottom = T + Scaled(20);
    } else if (B - Scaled(29) < p.y && p.y < B - Scaled(10)) {
        top = p.y - Scaled(12);
        bottom = p.y - a;
    } else if (p.y < B - Scaled(10)) {
        top = p.y + a;
        bottom = p.y + Scaled(12);
    } else {
        top = B - Scaled(20);
        bottom = B - Scaled(12);
    }
    left = CUIRect(p.x - d - a, top, p.x - d + a, bottom);
    right = CUIRect(p.x + d - a, top, p.x + d + a, bottom);
}

CUIRect EqChartGeometry::CrossoverHandleRect(int freq, float gain, int extraHeight) const
{
    CUIRect rc;
    rc.top = GainToY(gain);
    rc.bottom = rc.top + Scaled(10) + extraHeight;
    const int x = FreqToX(freq);
    const int w = Scaled(7);
    const int full = Scaled(14);
    rc.left = x - w;
    rc.right = x + w;
    if (x - w < m_plot.left) rc.right = m_plot.left + full;
    rc.left = std::max<int>(m_plot.left, x - w);
    if (rc.right > m_plot.right) rc.left = m_plot.right - full;
    rc.right = std::min<int>(rc.right, m_plot.right);
    return rc;
}

CUIRect EqChartGeometry::HpHandleRect(int freq) const
{
    return CrossoverHandleRect(freq, -8.0f, 0);
}

CUIRect EqChartGeometry::LpHandleRect(int freq) const
{
    return CrossoverHandleRect(freq, -11.0f, 2);
}
