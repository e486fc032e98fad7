#pragma once

#include <cstdint>

#include "app/controls/EqChartGeometry.h"
#include "app/tuning/EqBand.h"
#include "uilib/core/DragRect.h"
#include "uilib/core/UIPoint.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UISize.h"

// What the EQ chart shows and how the mouse edits it: the bands of the
// current channel as points, the Q handles of the selected band, the
// crossover's H and L handles and the curves of every channel. The control
// around it draws and sends; this class decides. Platform-free.

enum CaptureState : int32_t {
    CAPTURE_NONE = 0,
    INDEX_CAPTURED = 1,
    FACTOR_CAPTURED = 2,
    HP_CAPTURED = 3,
    LP_CAPTURED = 4,
};

enum class ChartCursor { Keep, Arrow, Hand, SizeWE, SizeNS, SizeAll };

enum class ChartNotify { None, Eq, EqRelease, Hp, HpRelease, Lp, LpRelease };

// What one mouse event asks of the control, in the order it applies them:
// the cursor, the user-data text (the selected band), the notification, a
// repaint.
struct ChartInput {
    ChartCursor cursor = ChartCursor::Keep;
    bool selectionToUserData = false;
    ChartNotify notify = ChartNotify::None;
    bool repaint = false;
};

class EqChartModel {
public:
    static constexpr int kMaxBands = 31;
    static constexpr int kMaxCurves = 16;
    static constexpr int kCurvePoints = 512;

    EqChartModel();

    // Copies at most kMaxBands bands; a selection outside the copied bands
    // selects nothing. Lays the chart out on plot. True when the selection
    // is a band (its index goes to the user data).
    bool SetBands(const EqBand* bands, int count, int selected, const SkinUI::CUIRect& plot, int scalePercent);
    // Frequencies outside 20..20000 Hz hide their handle.
    void SetCrossover(int hpFreq, int lpFreq);
    // Nothing for count <= 0; at most kMaxCurves curves of kCurvePoints
    // frequencies and gains each. False when nothing was taken.
    bool SetCurves(const double* freqs, const double* gains, int count, int current, const int* visible);
    void SetParametric(bool on) { m_parametric = on; }
    // The system's drag rectangle, taken by the next press: a tap's jitter
    // inside it commits nothing.
    void SetDragSize(const SkinUI::CUISize& size) { m_dragSize = size; }

    void RecalcLayout(const SkinUI::CUIRect& plot, int scalePercent);
    // Rebuilds the selection's rectangles from its stored point (which a drag
    // may have moved) and the crossover handles.
    void RefreshSelection();

    ChartInput Press(const SkinUI::CUIPoint& p);
    ChartInput Move(const SkinUI::CUIPoint& p);
    ChartInput Release(const SkinUI::CUIPoint& p);

    // Screen points of curve i, highest frequency first, skipping points
    // outside 10..20100 Hz; with smoothing each point is averaged with the one
    // before. out holds kCurvePoints; returns how many were written.
    int BuildCurvePoints(int curve, bool smooth, SkinUI::CUIPoint* out) const;
    // How many of n built points a chain of cubic Bezier segments can take:
    // the first n - 1, cut down to 3k + 1 (0 when no segment fits).
    static int BezierPointCount(int n);

    const EqChartGeometry& Geometry() const { return m_geometry; }
    bool LayoutDone() const { return m_layoutDone; }
    int BandCount() const { return m_bandCount; }
    const EqBand& Band(int b) const { return m_bands[b]; }
    const SkinUI::CUIPoint& BandPoint(int b) const { return m_points[b]; }
    const SkinUI::CUIRect& BandRect(int b) const { return m_hitRects[b]; }
    int Selected() const { return m_selected; }
    bool Parametric() const { return m_parametric; }
    int Capture() const { return m_capture; }
    bool AllFlat() const { return m_allFlat; }
    const SkinUI::CUIRect& SelectedLabelRect() const { return m_labelRect; }
    const SkinUI::CUIRect& QLeftRect() const { return m_qLeft; }
    const SkinUI::CUIRect& QRightRect() const { return m_qRight; }
    int HpFreq() const { return m_hpFreq; }
    int LpFreq() const { return m_lpFreq; }
    const SkinUI::CUIRect& HpRect() const { return m_hpRect; }
    const SkinUI::CUIRect& LpRect() const { return m_lpRect; }
    int CurveCount() const { return m_curveCount; }
    int CurrentCurve() const { return m_currentCurve; }
    bool CurveVisible(int i) const { return i >= 0 && i < kMaxCurves && m_visible[i]; }

private:
    bool InQHandle(const SkinUI::CUIPoint& p) const;
    int BandAt(const SkinUI::CUIPoint& p) const;
    void RefreshSelectionRects();
    void RefreshCrossoverRects();

    EqChartGeometry m_geometry;
    bool m_layoutDone = false;
    EqBand m_bands[kMaxBands];
    int m_bandCount = 0;
    SkinUI::CUIPoint m_points[kMaxBands];
    SkinUI::CUIRect m_hitRects[kMaxBands];
    int m_selected = -1;
    bool m_parametric = false;
    int m_capture = CAPTURE_NONE;
    SkinUI::CDragRect m_drag;
    SkinUI::CUISize m_dragSize;
    bool m_allFlat = false;
    SkinUI::CUIRect m_labelRect;
    SkinUI::CUIRect m_qLeft;
    SkinUI::CUIRect m_qRight;
    int m_hpFreq = -1;
    int m_lpFreq = -1;
    SkinUI::CUIRect m_hpRect;
    SkinUI::CUIRect m_lpRect;
    double m_freqs[kMaxCurves][kCurvePoints];
    double m_gains[kMaxCurves][kCurvePoints];
    bool m_visible[kMaxCurves];
    int m_curveCount = 0;
    int m_currentCurve = 0;
};
