#pragma once

#include <cstdint>
#include <windows.h>

#include "app/controls/ChartTextStyle.h"
#include "uilib/core/UIControl.h"

// The passive chart (skin element "CurveAc"): the EQ chart's frequency grid
// over a symmetric +20..-20 dB axis, drawn with one-pixel lines and no data.
class UIEqualizerAc : public SkinUI::CControlUI {
public:
    static constexpr int kMaxGain = 20;
    static constexpr int kMinGain = -20;

    UIEqualizerAc();
    ~UIEqualizerAc() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void SetTextContent(const wchar_t* text) override;
    void HandleEvent(SkinUI::TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, SkinUI::CControlUI* stopControl) override;
    virtual bool IsAutoWidth() const;
    virtual void SetAutoWidth(bool on);

    // The y of a gain on a plot from top to bottom whose 0 dB line is zeroY.
    static float GainToY(float gain, int top, int bottom, float zeroY);
    // The 0 dB line of a plot: halfway down, rounded toward the top.
    static int ZeroY(int top, int bottom);

private:
    ChartTextStyle m_text;
    bool m_autoWidth;
};
