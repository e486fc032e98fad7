// The input mixer of one input source: a cell per input row and output
// channel with its on/off box, volume slider and volume edit, the rows'
// phase buttons, the bridge buttons of the output pairs and the two
// cross-source rows. Every change goes into the profile and to the unit at
// once, one command per change.
#pragma once

#include "app/windows/OpenInstance.h"
#include "uilib/core/WindowBase.h"

class DspDevice;
class EqualizerManager;
class SceneProfile;

namespace SkinUI {
class CComboUI;
class CEditUI;
class COptionUI;
class CSliderUI;
}

class CMixerWnd : public SkinUI::WindowImplBase, public OpenInstance<CMixerWnd> {
public:
    static const int kOutputs = 16;
    static const int kRows = 14;
    // Rows 0-11 are the source's own inputs, 12 and 13 the cross-source rows.
    static const int kOwnRows = 12;
    static const int kCrossRows = 2;
    static const int kPairs = 8;
    static const int kRowPitch = 44;
    static const int kNoSecondSource = 9;

    // Edits the controller's current profile; its bridges go through the
    // controller, which copies the pair's channel as the outputs page does.
    CMixerWnd(int source, EqualizerManager& controller);

    const wchar_t* GetWndClassName() const override { return L"MixerWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_MIXER"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;

    // The routing bit of row i: i for own rows, the two bits just above the
    // source's own channels for the cross-source rows.
    int MapInput(int row) const;
    bool RowShown(int row) const;
    // 0 when the cell is not routed, else its stored volume (a stored 0
    // reads as 100).
    int CellVolume(int output, int row) const;
    bool HasBridgeButton(int pair) const;

private:
    enum class Origin { EnableButton, Slider, Edit, EditFocus };

    void BuildChannelNames();
    void BindMatrix();
    void BindRow(int row);
    void ShowRowTitles();
    void FitToRows();
    void RefreshCell(int output, int row);

    void OnVolChanged(int output, int row, int volume, Origin origin);
    void OnEnableBtnClick(int output, int row);
    void OnVolSliderChanged(int output, int row);
    void OnVolEdit(int output, int row, int step, Origin origin);
    void MoveFocus(int output, int row, bool forward);
    void ClearMix();
    void OnPhase(int row);
    void OnBridge(int pair);
    void SetCSMViceSourceCombox(int crossRow);
    void SelectComboByTag(int crossRow, int secondSource, int channel);
    void SendTrim(int output, int bit, int volume);
    void Dispatch(const SkinUI::CUIString& type, const SkinUI::CUIString& name);

    int m_source;
    int m_rows;
    bool m_crossSource;
    bool m_built = false;
    EqualizerManager& m_controller;
    SceneProfile& m_profile;
    DspDevice& m_device;

    SkinUI::COptionUI* m_enable[kOutputs][kRows] = {};
    SkinUI::CSliderUI* m_slider[kOutputs][kRows] = {};
    SkinUI::CEditUI* m_edit[kOutputs][kRows] = {};
    SkinUI::COptionUI* m_phase[kRows] = {};
    SkinUI::CComboUI* m_crossList[kCrossRows] = {};
    SkinUI::COptionUI* m_bridge[kPairs] = {};
};

// Opens the mixer of the profile's current source modally over parent.
void OpenMixerWnd(HWND parent, EqualizerManager& controller);
