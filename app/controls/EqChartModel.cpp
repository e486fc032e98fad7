#include "app/controls/EqChartModel.h"

#include <algorithm>
#include <cmath>

using SkinUI::CUIPoint;
using SkinUI::CUIRect;

namespace {

bool InCrossoverRange(int freq)
{
    return freq >= 20 && freq <= 20000;
}

} // namespace

EqChartModel::EqChartModel()
{
    std::fill(&m_freqs[0][0], &m_freqs[0][0] + kMaxCurves * kCurvePoints, 0.0);
    std::fill(&m_gains[0][0], &m_gains[0][0] + kMaxCurves * kCurvePoints, 0.0);
    std::fill(m_visible, m_visible + kMaxCurves, false);
}

bool EqChartModel::SetBands(const EqBand* bands, int count, int selected, const CUIRect& plot, int scalePercent)
{
    m_bandCount = bands != nullptr ? std::max(0, std::min(count, kMaxBands)) : 0;
    m_allFlat = true;
    for (int b = 0; b < m_bandCount; ++b) {
        m_bands[b] = bands[b];
        if (bands[b].gain != 0) m_allFlat = false;
    }
    const bool isBand = selected >= 0 && selected < m_bandCount;
    m_selected = isBand ? selected : -1;
    RecalcLayout(plot, scalePercent);
    return isBand;
}

void EqChartModel::SetCrossover(int hpFreq, int lpFreq)
{
    m_hpFreq = InCrossoverRange(hpFreq) ? hpFreq : -1;
    m_hpRect = m_hpFreq != -1 ? m_geometry.HpHandleRect(m_hpFreq) : CUIRect();
    m_lpFreq = InCrossoverRange(lpFreq) ? lpFreq : -1;
    m_lpRect = m_lpFreq != -1 ? m_geometry.LpHandleRect(m_lpFreq) : CUIRect();
}

bool EqChartModel::SetCurves(const double* freqs, const double* gains, int count, int current, const int* visible)
{
    if (count <= 0 || freqs == nullptr || gains == nullptr) return false;
    m_curveCount = std::min(count, kMaxCurves);
    std::fill(m_visible, m_visible + kMaxCurves, false);
    for (int i = 0; i < m_curveCount; ++i) m_visible[i] = visible != nullptr && visible[i] != 0;
    std::fill(&m_freqs[0][0], &m_freqs[0][0] + kMaxCurves * kCurvePoints, 0.0);
    std::fill(&m_gains[0][0], &m_gains[0][0] + kMaxCurves * kCurvePoints, 0.0);
    for (int i = 0; i < m_curveCount; ++i) {
        std::copy(freqs + i * kCurvePoints, freqs + (i + 1) * kCurvePoints, m_freqs[i]);
        std::copy(gains + i * kCurvePoints, gains + (i + 1) * kCurvePoints, m_gains[i]);
    }
    m_currentCurve = current;
    return true;
}

void EqChartModel::RecalcLayout(const CUIRect& plot, int scalePercent)
{
    m_geometry.Set(plot, scalePercent);
    m_layoutDone = m_geometry.Height() != 0 && m_geometry.Width() != 0 && m_geometry.ZeroY() != 0;
    for (int b = 0; b < m_bandCount; ++b) {
        m_points[b] = CUIPoint(m_geometry.FreqToX(m_bands[b].freq), m_geometry.GainToY(m_bands[b].gain));
        m_hitRects[b] = m_geometry.BandHitRect(m_points[b]);
    }
    RefreshSelectionRects();
    RefreshCrossoverRects();
}

void EqChartModel::RefreshSelection()
{
    if (m_selected >= 0) m_hitRects[m_selected] = m_geometry.BandHitRect(m_points[m_selected]);
    RefreshSelectionRects();
    RefreshCrossoverRects();
}

void EqChartModel::RefreshSelectionRects()
{
    if (m_selected < 0) return;
    const CUIPoint& p = m_points[m_selected];
    if (m_parametric) {
        m_labelRect = m_geometry.PeqLabelRect(p);
        m_geometry.QHandleRects(p, m_bands[m_selected].Q, m_qLeft, m_qRight);
    } else {
        m_labelRect = m_geometry.GeqLabelRect(p);
    }
}

void EqChartModel::RefreshCrossoverRects()
{
    if (InCrossoverRange(m_hpFreq)) m_hpRect = m_geometry.HpHandleRect(m_hpFreq);
    if (InCrossoverRange(m_lpFreq)) m_lpRect = m_geometry.LpHandleRect(m_lpFreq);
}

bool EqChartModel::InQHandle(const CUIPoint& p) const
{
    return m_parametric && m_selected != -1 &&
           (ChartRectContains(m_qLeft, p) || ChartRectContains(m_qRight, p));
}

int EqChartModel::BandAt(const CUIPoint& p) const
{
    for (int b = 0; b < m_bandCount; ++b) {
        if (ChartRectContains(m_hitRects[b], p)) return b;
    }
    return -1;
}

ChartInput EqChartModel::Press(const CUIPoint& p)
{
    ChartInput in;
    m_drag.Press(p, m_dragSize);
    // A Q handle beats the band point under it, the point beats H and L.
    if (InQHandle(p)) {
        in.cursor = ChartCursor::SizeWE;
        m_capture = FACTOR_CAPTURED;
        return in;
    }
    const int band = BandAt(p);
    if (band >= 0) {
        in.cursor = m_parametric ? ChartCursor::SizeAll : ChartCursor::SizeNS;
        m_selected = band;
        m_capture = INDEX_CAPTURED;
        in.selectionToUserData = true;
    } else if (ChartRectContains(m_hpRect, p)) {
        in.cursor = ChartCursor::SizeWE;
        m_selected = -1;
        m_capture = HP_CAPTURED;
    } else if (ChartRectContains(m_lpRect, p)) {
        in.cursor = ChartCursor::SizeWE;
        m_selected = -1;
        m_capture = LP_CAPTURED;
    }
    return in;
}

ChartInput EqChartModel::Move(const CUIPoint& p)
{
    ChartInput in;
    if (m_capture == CAPTURE_NONE) {
        const int band = BandAt(p);
        if (band >= 0) {
            in.cursor = ChartCursor::Hand;
            if (band != m_selected) {
                m_selected = band;
                in.selectionToUserData = true;
                in.notify = ChartNotify::Eq;
                in.repaint = true;
            }
        }
        if (ChartRectContains(m_hpRect, p) || ChartRectContains(m_lpRect, p)) in.cursor = ChartCursor::SizeWE;
    }
    if (InQHandle(p)) in.cursor = ChartCursor::SizeWE;
    // Still by the press point: the pointer has not moved anything yet.
    if (m_capture != CAPTURE_NONE) {
        m_drag.Track(p);
        if (!m_drag.HasLeft()) return in;
    }

    const CUIPoint clamped = m_geometry.ClampToPlot(p);
    const int freq = m_geometry.XToFreq(clamped.x);
    switch (m_capture) {
    case INDEX_CAPTURED: {
        if (m_selected < 0) break;
        EqBand& band = m_bands[m_selected];
        CUIPoint& point = m_points[m_selected];
        if (m_parametric) point.x = clamped.x;
        point.y = clamped.y;
        const float gain = m_geometry.YToGain(clamped.y);
        bool changed = false;
        if (std::fabs(band.gain - gain) > 0.001f) {
            band.gain = gain;
            changed = true;
        }
        if (m_parametric && band.freq != freq) {
            band.freq = freq;
            changed = true;
        }
        if (changed) in.notify = ChartNotify::Eq;
        break;
    }
    case FACTOR_CAPTURED: {
        if (m_selected < 0) break;
        const float q = m_geometry.QFromDrag(clamped.x, m_points[m_selected].x);
        if (std::fabs(m_bands[m_selected].Q - q) >= 0.01f) {
            m_bands[m_selected].Q = q;
            in.notify = ChartNotify::Eq;
        }
        break;
    }
    case HP_CAPTURED:
        // H stays below L; without an L handle it does not move.
        if (freq < m_lpFreq && freq != m_hpFreq) {
            m_hpFreq = freq;
            in.notify = ChartNotify::Hp;
        }
        break;
    case LP_CAPTURED:
        if (freq > m_hpFreq && freq != m_lpFreq) {
            m_lpFreq = freq;
            in.notify = ChartNotify::Lp;
        }
        break;
    default:
        break;
    }
    return in;
}

ChartInput EqChartModel::Release(const CUIPoint& p)
{
    ChartInput in;
    const CUIPoint clamped = m_geometry.ClampToPlot(p);
    const int freq = m_geometry.XToFreq(clamped.x);
    // A click that never moved ends the capture and commits nothing: the
    // pointer rarely sits on the point itself.
    m_drag.Track(p);
    const bool moved = m_drag.HasLeft();
    switch (m_capture) {
    case INDEX_CAPTURED:
    case FACTOR_CAPTURED:
        // The owner may have cleared the selection during the drag: the
        // capture still ends, or the chart would stay deaf to hovering.
        if (m_selected >= 0 && moved) {
            EqBand& band = m_bands[m_selected];
            CUIPoint& point = m_points[m_selected];
            if (m_capture == INDEX_CAPTURED) {
                if (m_parametric) {
                    point.x = clamped.x;
                    band.freq = freq;
                }
                point.y = clamped.y;
                band.gain = m_geometry.YToGain(clamped.y);
                m_hitRects[m_selected] = m_geometry.BandHitRect(point);
                in.cursor = ChartCursor::Hand;
            } else {
                band.Q = m_geometry.QFromDrag(clamped.x, point.x);
                in.cursor = ChartCursor::Arrow;
            }
            in.notify = ChartNotify::EqRelease;
        }
        m_capture = CAPTURE_NONE;
        break;
    case HP_CAPTURED:
        if (moved) {
            if (freq < m_lpFreq) m_hpFreq = freq;
            in.notify = ChartNotify::HpRelease;
        }
        in.cursor = ChartCursor::Arrow;
        m_capture = CAPTURE_NONE;
        break;
    case LP_CAPTURED:
        if (moved) {
            if (freq > m_hpFreq) m_lpFreq = freq;
            in.notify = ChartNotify::LpRelease;
        }
        in.cursor = ChartCursor::Arrow;
        m_capture = CAPTURE_NONE;
        break;
    default:
        break;
    }
    return in;
}

int EqChartModel::BuildCurvePoints(int curve, bool smooth, CUIPoint* out) const
{
    if (curve < 0 || curve >= kMaxCurves || out == nullptr) return 0;
    const float none = 20000.0f;
    float prevX = none;
    float prevY = none;
    int n = 0;
    for (int k = kCurvePoints - 1; k >= 0; --k) {
        const double f = m_freqs[curve][k];
        if (!(f >= 10.0 && f <= 20100.0)) continue;
        const float x = static_cast<float>(m_geometry.FreqToX(f));
        const float y = static_cast<float>(m_geometry.GainToY(static_cast<float>(m_gains[curve][k])));
        float cx = x;
        float cy = y;
        if (smooth) {
            const bool havePrev = !(prevX == none && prevY == none);
            if (x < m_geometry.Plot().left) {
                // Left of the plot the curve holds its last point; before any
                // point there is nothing to hold.
                if (!havePrev) continue;
                cx = prevX;
                cy = prevY;
            } else if (havePrev) {
                cx = (x + prevX) / 2;
                cy = (y + prevY) / 2;
            }
            prevX = cx;
            prevY = cy;
        }
        out[n++] = CUIPoint(ChartTrunc(ChartNearest(cx)), ChartTrunc(ChartNearest(cy)));
    }
    return n;
}

int EqChartModel::BezierPointCount(int n)
{
    const int usable = n - 1;
    if (usable < 4) return 0;
    return usable - (usable - 1) % 3;
}
