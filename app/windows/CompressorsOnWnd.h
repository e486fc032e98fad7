// The compressors of all 16 output channels at once: per channel an on/off
// box and threshold, attack and release, each a slider with an edit box.
// Every change goes into the live profile and to the unit at once.
#pragma once

#include "app/windows/OpenInstance.h"
#include "uilib/core/WindowBase.h"

class EqualizerManager;

namespace SkinUI {
class CEditUI;
class COptionUI;
class CSliderUI;
}

class CCompressorsOnWnd : public SkinUI::WindowImplBase, public OpenInstance<CCompressorsOnWnd> {
public:
    static const int kChannels = 16;
    static const int kParams = 3;

    explicit CCompressorsOnWnd(EqualizerManager& controller);

    const wchar_t* GetWndClassName() const override { return L"CompressorsOnWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_COMPRESSORS_ON"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // After a language switch: every value again in the new language's
    // words, and the labels repainted.
    void FollowLanguage();

private:
    static const UINT_PTR kEditsTimerId = 4116;
    static const UINT kEditsPollMs = 250;

    void OnParamNotify(const SkinUI::TNotifyInfo& notify, int p, int ch);
    // What was typed into the box, taken as the slider's value would be;
    // a box left as it was sends nothing.
    void SetEdit(int p, int ch);
    void SetSlider(int p, int ch);
    // One rule for the box and the slider: value clamped to the slider's
    // range and brought to the unit's step is shown, stored and sent.
    void Take(int p, int ch, double value);
    void SetSliderUp(int p, int ch, bool up);
    // The edit of the next (or previous) channel, wrapping into the next
    // (previous) parameter.
    void MoveFocus(int p, int ch, bool forward);
    void ShowValue(int p, int ch, double value);
    double ModelValue(int p, int ch) const;
    // The connect read does not read the compressor back, so an edit is
    // taken only while the link sends it (a unit connected, no job holding
    // the link); otherwise the window would keep a value no unit holds.
    bool EditsReachUnit() const;
    // Boxes, sliders and on/off boxes take input only while edits reach the
    // unit, so a refusal is seen and no thumb is left where it was dropped.
    void EnableEdits(bool on);
    // Stores value (truncated for the times); true when the model changed.
    bool Store(int p, int ch, double value);
    void Send(int ch);

    EqualizerManager& m_controller;
    SkinUI::COptionUI* m_enable[kChannels] = {};
    SkinUI::CSliderUI* m_slider[kParams][kChannels] = {};
    SkinUI::CEditUI* m_edit[kParams][kChannels] = {};
    bool m_ready = false;
    bool m_editsEnabled = true;
};

int ShowCompressorsOnWnd(HWND parent, EqualizerManager& controller);
