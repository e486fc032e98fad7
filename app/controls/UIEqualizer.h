#pragma once

#include <cstdint>
#include <memory>
#include <windows.h>

#include "app/controls/ChartControl.h"
#include "app/controls/CurveRaster.h"
#include "app/controls/EqChartModel.h"
#include "app/tuning/EqBand.h"
#include "uilib/core/UIString.h"

// The EQ chart (skin element "Curve"): the response curves of the 16
// output channels, the current channel's bands as numbered points, the Q
// handles of the selected band and the crossover's H and L handles. The
// tuning controller pushes the data in; drags come back as the
// notifications "equalizer_eq", "equalizer_hp", "equalizer_lp" and their
// "_release" forms, with the selected band in the user-data text.
class UIEqualizer : public ChartControl {
public:
    static constexpr int kMaxCurveColors = 12;

    UIEqualizer();
    ~UIEqualizer() override;

    const wchar_t* GetTypeName() const override;
    void HandleEvent(SkinUI::TEventInfo& event) override;
    // A press given up gets no button-up: the drag ends where the hand last
    // took it, told as a release so the unit hears the last value.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, SkinUI::CControlUI* stopControl) override;

    // The owner's refresh, in this order: bands, crossover, curves.
    void SetBands(const EqBand* bands, int count, int selected);
    void setCurEqHpLp(int hpFreq, int lpFreq);
    // freqs and gains hold count curves of 512 points each; visible one flag
    // per curve. reserved is not used.
    void SetCurves(const double* freqs, const double* gains, int count, int current, const int* visible,
                   int reserved);
    void SetPeqMode(bool parametric);

    // What a drag changed, for the owner's notification handler.
    int BandCount() const { return m_model->BandCount(); }
    EqBand GetBand(int index) const;
    int GetHpFreq() const { return m_model->HpFreq(); }
    int GetLpFreq() const { return m_model->LpFreq(); }
    int GetSelectedBand() const { return m_model->Selected(); }
    const EqChartModel& Model() const { return *m_model; }

private:
    int ScalePercent() const;
    void ApplyInput(const ChartInput& input);
    // Points the curve raster at the DC's pixels when they are a 32-bit DIB;
    // (dx, dy) takes logical to device pixels.
    bool BeginDirectRaster(HDC dc, int& dx, int& dy);
    void PaintCurves(HDC dc);
    void PaintMarks(HDC dc);
    void DrawLabel(HDC dc, const SkinUI::CUIRect& rc, const wchar_t* text, DWORD color, int font);

    // 16 curves of 512 points: kept off the control's own allocation size.
    std::unique_ptr<EqChartModel> m_model;
    CurveRaster m_raster;
    // The cursor hovering last chose (Keep: the control's own).
    ChartCursor m_hoverCursor = ChartCursor::Keep;
    SkinUI::CUIPoint m_dragPoint; // where the held handle or point was last taken
    int m_bypassFont;
    uint32_t m_curveColors[kMaxCurveColors];
    int m_curveColorCount;
    SkinUI::CUIString m_curveLogo;
};
