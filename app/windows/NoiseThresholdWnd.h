// The input noise levels of the selected source, asked from the unit twice a
// second while the window is open, and the input noise threshold.
#pragma once

#include <optional>

#include "app/windows/OpenInstance.h"
#include "uilib/core/WindowBase.h"

class EqualizerManager;

class CNoiseThresholdWnd : public SkinUI::WindowImplBase, public OpenInstance<CNoiseThresholdWnd> {
public:
    static const int kChannels = 12;
    static const UINT_PTR kPollTimer = 4112;
    static const UINT kPollMs = 500;
    // -81 shows as "${off}".
    static const int kThresholdOff = -81;
    static const int kThresholdMax = -40;

    explicit CNoiseThresholdWnd(EqualizerManager& controller);

    const wchar_t* GetWndClassName() const override { return L"NoiseThresholdWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_NOISE_THRESHOLD"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    LRESULT HandleKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    // Stops the poll and closes with code.
    void Finish(UINT code);
    // What the edit shows for value.
    SkinUI::CUIString ThresholdText(int value) const;
    void ShowThreshold(int value);
    // The edit's value: -81 for the off word, else its whole number; empty
    // for text that is no number.
    std::optional<int> TypedThreshold() const;
    // Enter, OK or leaving the edit: only a typed value is taken, text that
    // is no number put back.
    void TakeTypedThreshold();
    // One step from the edit's value, or from the stored one past other text.
    void StepThreshold(int step);
    // The edit takes the keys with its text selected, for the next step or typing.
    void SelectValue();
    // Clamps, shows, stores in the live profile and sends the threshold.
    void SetThreshold(int value);
    void ShowLevels(const void* record);
    void FitToChannels();

    EqualizerManager& m_controller;
    SkinUI::CControlUI* m_closeButton = nullptr;
    SkinUI::CControlUI* m_valueEdit = nullptr;
    SkinUI::CControlUI* m_progress[kChannels] = {};
    SkinUI::CControlUI* m_noiseText[kChannels] = {};
    int m_channelCount = 0;
    bool m_stopped = false;
};

int ShowNoiseThresholdWnd(HWND parent, EqualizerManager& controller);
