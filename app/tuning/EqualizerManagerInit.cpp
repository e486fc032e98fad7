#include "app/tuning/EqualizerManager.h"

#include <cmath>
#include <cwchar>

#include "app/controls/SButtonUI.h"
#include "app/controls/UIEqualizer.h"
#include "app/windows/StartupFiles.h"
#include "uilib/control/Button.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

namespace {

const int kListItemHeight = 16;
// Index of "source_hi" in the input source list, selected at start.
const int kStartInputSourceItem = 5;

// Only the classes the controller drives through these pointers count: a
// control of another class under the name is treated as absent.
template <class T>
T* Find(CPaintManagerUI* manager, const wchar_t* face, const wchar_t* name)
{
    CControlUI* control = manager->FindControlByName(name);
    if (control == nullptr) return nullptr;
    if (face == nullptr) return static_cast<T*>(control);
    return static_cast<T*>(control->FindInterface(face));
}

template <class T>
T* Find(CPaintManagerUI* manager, const wchar_t* face, const wchar_t* format, int a, int b = 0)
{
    wchar_t name[64];
    _snwprintf(name, 63, format, a, b);
    name[63] = L'\0';
    return Find<T>(manager, face, name);
}

CButtonUI* FindButton(CPaintManagerUI* m, const wchar_t* name) { return Find<CButtonUI>(m, L"Button", name); }
CSButtonUI* FindSButton(CPaintManagerUI* m, const wchar_t* name) { return Find<CSButtonUI>(m, L"SButton", name); }
CComboUI* FindCombo(CPaintManagerUI* m, const wchar_t* name) { return Find<CComboUI>(m, L"Combo", name); }
CEditUI* FindEdit(CPaintManagerUI* m, const wchar_t* name) { return Find<CEditUI>(m, L"Edit", name); }
COptionUI* FindOption(CPaintManagerUI* m, const wchar_t* name) { return Find<COptionUI>(m, L"Option", name); }
CSliderUI* FindSlider(CPaintManagerUI* m, const wchar_t* name) { return Find<CSliderUI>(m, L"Slider", name); }

void Show(CControlUI* control, bool visible)
{
    if (control != nullptr) control->SetVisibility(visible);
}

// Rows of a drop-down list at the list's fixed row height.
void SetItemHeights(CComboUI* list)
{
    if (list == nullptr) return;
    for (int i = 0; i < list->GetChildCount(); ++i) list->GetChildAt(i)->SetFixedHeightValue(kListItemHeight);
}

} // namespace

void InitInputSourceList(CComboUI* list)
{
    if (list == nullptr) return;
    SetItemHeights(list);
    list->SetDropBoxSize(list->GetFixedSizeValue().cx, kListItemHeight * list->GetChildCount());
    struct SourceItem {
        const wchar_t* name;
        bool visible;
    };
    static const SourceItem kItems[] = {
        {L"source_opt", true}, {L"source_coax", false}, {L"source_bt", true},  {L"source_aux", false},
        {L"source_low", true}, {L"source_hi", true},     {L"source_dmp", true}, {L"source_udp", false},
        {L"source_scp", false},
    };
    for (const SourceItem& item : kItems) Show(list->FindDescendantByName(item.name), item.visible);
}

const wchar_t* FormatDbText(float value)
{
    static wchar_t text[32];
    _snwprintf(text, 31, L"%ddB", static_cast<int>(std::trunc(value)));
    text[31] = L'\0';
    return text;
}

bool ClampToSlider(CSliderUI* slider, float& value)
{
    if (slider == nullptr) return false;
    const float low = static_cast<float>(slider->GetMinValue());
    const float high = static_cast<float>(slider->GetMaxValue());
    if (value > high) value = high;
    if (value < low) value = low;
    return value != static_cast<float>(slider->GetValue());
}

void EqualizerManager::Init(CPaintManagerUI* manager, HWND mainWnd)
{
    mMainWnd = mainWnd;
    mDevice.SetMainWnd(mainWnd);
    mManager = manager;
    if (manager == nullptr) return;

    BindSwitches();
    BindMainVolumeAndCrossover();
    BindBandsAndBridges();
    BindChannelStrips();
    BindSpeakers();
    BindTools();

    if (mControls.mainVolumeSlider != nullptr) mControls.mainVolumeSlider->SetValue(Current().mainVolume);
    ShowMainVolumeText(Current().mainVolume);

    // The unit's source list starts on the high-level input; the list tells
    // the window, which selects the source as after a user's choice.
    if (mControls.inputSource != nullptr) mControls.inputSource->SelectSingleItem(kStartInputSourceItem, false);
    // Output channel 1 becomes current as after a click on its button.
    if (mControls.channels[0].enable != nullptr) mControls.channels[0].enable->ActivateControl();
    ShowSpeakerPositions();
    if (mControls.connect != nullptr) mControls.connect->TakeFocus();
}

void EqualizerManager::BindSwitches()
{
    BoundControls& c = mControls;
    c.connect = FindSButton(mManager, L"btnConnect");
    c.ampOnOff = FindSButton(mManager, L"btn_amp_onoff");
    c.debug = FindButton(mManager, L"btn_debug");
    Show(c.debug, FileExistsInCurrentDir(L"debug.ini"));
    c.remoteOut1 = FindSButton(mManager, L"btn_rem_out1_onoff");
    c.remoteOut2 = FindSButton(mManager, L"btn_rem_out2_onoff");
    c.speakerOhm = FindSButton(mManager, L"btn_2ohm_spk");
    c.noiseGate = FindSButton(mManager, L"btn_noise_gate");
    c.advance = FindButton(mManager, L"btn_advance");
    Show(c.advance, true);
    c.inputSource = FindCombo(mManager, L"btn_input_source");
    InitInputSourceList(c.inputSource);
}

void EqualizerManager::BindMainVolumeAndCrossover()
{
    BoundControls& c = mControls;
    // The passive plot answers "Curve" too; only the chart itself is driven.
    c.equalizer = Find<UIEqualizer>(mManager, L"Curve", L"equalizer");
    if (c.equalizer != nullptr && wcscmp(c.equalizer->GetTypeName(), L"UIEqualizer") != 0) c.equalizer = nullptr;
    c.mainVolumeEdit = FindEdit(mManager, L"edit_main_volume");
    c.mainVolumeSlider = FindSlider(mManager, L"slider_main_volume");
    c.accEdit = FindEdit(mManager, L"edit_acc");
    c.accSlider = FindSlider(mManager, L"slider_acc");
    if (c.mainVolumeSlider != nullptr) {
        c.mainVolumeSlider->SetMaxValue(6);
        c.mainVolumeSlider->SetMinValue(-60);
        c.mainVolumeSlider->SetValue(0);
    }
    c.mainMute = FindOption(mManager, L"main_mute");

    c.delayUnit = FindCombo(mManager, L"comb_ch_unit");
    SetItemHeights(c.delayUnit);
    c.hpType = FindCombo(mManager, L"hp_type");
    c.lpType = FindCombo(mManager, L"lp_type");
    SetItemHeights(c.hpType);
    SetItemHeights(c.lpType);
    c.hpFreq = FindEdit(mManager, L"hp_freq");
    c.lpFreq = FindEdit(mManager, L"lp_freq");
    c.hpSlope = FindCombo(mManager, L"hp_slop");
    c.lpSlope = FindCombo(mManager, L"lp_slop");
    SetItemHeights(c.hpSlope);
    SetItemHeights(c.lpSlope);
    c.channelName = Find<CControlUI>(mManager, nullptr, L"label_channel_name");
    c.currentVolumeSlider = FindSlider(mManager, L"slider_ch_volume");
    c.currentVolumeEdit = FindEdit(mManager, L"edit_ch_volume");
    c.currentMute = FindOption(mManager, L"ch_mute");
    c.currentPhase = FindOption(mManager, L"ch_phase");
}

void EqualizerManager::BindBandsAndBridges()
{
    for (int b = 0; b < kMaxEqBands; ++b) {
        BandControls& band = mControls.bands[b];
        band.freq = Find<CEditUI>(mManager, L"Edit", L"eq_freq_%d", b);
        band.q = Find<CEditUI>(mManager, L"Edit", L"eq_q_%d", b);
        band.gain = Find<CEditUI>(mManager, L"Edit", L"eq_gain_%d", b);
        band.slider = Find<CSliderUI>(mManager, L"Slider", L"eq_slider_%d", b);
        band.marker = Find<CSButtonUI>(mManager, L"SButton", L"pt_enable_%d", b);
    }
    for (int p = 0; p < kBridgePairs; ++p) {
        mControls.bridges[p].button = Find<CSButtonUI>(mManager, L"SButton", L"ch_bridge_%d", p);
        mControls.bridges[p].checkBox = Find<COptionUI>(mManager, L"Option", L"bridge_checkbox_%d", p);
    }
}

void EqualizerManager::BindChannelStrips()
{
    SceneProfile& profile = Current();
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        profile.linkSel[ch] = 0;
        profile.delayLinkSel[ch] = 0;
        ChannelStripControls& s = mControls.channels[ch];
        s.show = Find<COptionUI>(mManager, L"Option", L"ch_show_%d", ch);
        s.enable = Find<CSButtonUI>(mManager, L"SButton", L"ch_enable_%d", ch);
        s.outputButton = Find<CButtonUI>(mManager, L"Button", L"ch_output_btn_%d", ch);
        s.volumeSlider = Find<CSliderUI>(mManager, L"Slider", L"slider_ch_volume_%d", ch);
        if (s.volumeSlider != nullptr) {
            s.volumeSlider->SetMinValue(-600);
            s.volumeSlider->SetMaxValue(0);
            s.volumeSlider->SetStep(10);
        }
        s.volumeBackground = Find<CControlUI>(mManager, nullptr, L"ch_volume_bg_%d", ch);
        s.volumeEdit = Find<CEditUI>(mManager, L"Edit", L"edit_ch_volume_%d", ch);
        s.mute = Find<COptionUI>(mManager, L"Option", L"ch_mute_%d", ch);
        s.solo = Find<COptionUI>(mManager, L"Option", L"ch_solo_%d", ch);
        s.phase = Find<COptionUI>(mManager, L"Option", L"ch_phase_%d", ch);
        s.synchronize = Find<COptionUI>(mManager, L"Option", L"ch_synchronize_%d", ch);
        s.delayLink = Find<COptionUI>(mManager, L"Option", L"delay_link_%d", ch);
        s.delaySlider = Find<CSliderUI>(mManager, L"Slider", L"slider_ch_delay_%d", ch);
        s.delayLabel = Find<CControlUI>(mManager, nullptr, L"delay_lable_%d", ch);
        s.delayEdit = Find<CEditUI>(mManager, L"Edit", L"edit_ch_delay_%d", ch);
        s.placeholder = Find<CControlUI>(mManager, nullptr, L"control_empty_%d", ch);
        CControlUI* shown[] = {s.show, s.enable, s.outputButton, s.volumeSlider, s.volumeBackground,
                               s.volumeEdit, s.mute, s.solo, s.phase, s.synchronize, s.delayLink,
                               s.delayLabel, s.delayEdit, s.placeholder};
        for (CControlUI* control : shown) Show(control, true);
        Show(s.delaySlider, false);

        for (int i = 0; i < kRoutedInputs; ++i) {
            s.inputs[i] = Find<COptionUI>(mManager, L"Option", L"option_ch_in%d_%d", i, ch);
        }
        ShowInputRouting(ch);
        s.inputGroup123 = Find<CControlUI>(mManager, nullptr, L"input_123_%d", ch);
        s.inputGroup456 = Find<CControlUI>(mManager, nullptr, L"input_456_%d", ch);
        Show(s.inputGroup123, false);
        Show(s.inputGroup456, false);
    }
}

void EqualizerManager::ShowInputRouting(int ch, bool clearHidden)
{
    const SceneProfile& profile = Current();
    const int source = profile.inputSource;
    const bool knownSource = source >= 0 && source < kInputSources;
    const int routed = knownSource ? profile.inputs[source][ch] : 0;
    const int inputCount = GetInputExtraChannels(source);
    for (int i = 0; i < kRoutedInputs; ++i) {
        COptionUI* option = mControls.channels[ch].inputs[i];
        if (option == nullptr) continue;
        // Silent: the model already holds the routing, and hidden rows must
        // not clear bits the mixer keeps for other sources.
        option->SetSelectedState((!clearHidden || i < inputCount) && (routed >> i & 1) != 0, true);
        option->SetVisibility(i < inputCount);
        option->SetEnabledState(i < inputCount);
    }
}

void EqualizerManager::BindSpeakers()
{
    // Position k shows output code k + 1.
    for (int k = 0; k < kSpeakerPositions; ++k) {
        SpeakerControls& s = mControls.speakers[k];
        s.speaker = Find<CSButtonUI>(mManager, L"SButton", L"speaker_%d", k);
        if (s.speaker != nullptr) s.speaker->SetTextContent(L"");
        s.frame = Find<CControlUI>(mManager, nullptr, L"spk_con_%d", k);
        s.delay = Find<CEditUI>(mManager, L"Edit", L"spk_delay_%d", k);
        Show(s.speaker, false);
        Show(s.frame, false);
        Show(s.delay, false);
    }
}

void EqualizerManager::BindTools()
{
    BoundControls& c = mControls;
    c.resetEq = FindButton(mManager, L"btn_reset_eq");
    c.bypass = FindButton(mManager, L"btn_bypass");
    c.eqMode = FindSButton(mManager, L"btn_arg_eq");
    if (c.eqMode != nullptr) c.eqMode->SetSelectedState(false);
    c.resetOutput = FindButton(mManager, L"btn_reset_output");
    c.lockOutput = FindSButton(mManager, L"btn_lock_output");
    c.linkOutput = FindSButton(mManager, L"btn_link_output");
}

template <class T>
T* EqualizerManager::StripControl(int ch, T* ChannelStripControls::*member, T* currentStrip) const
{
    if (ch < 0 || ch >= kOutputChannels) return nullptr;
    T* own = mControls.channels[ch].*member;
    if (own != nullptr) return own;
    return ch == CurrentChannel() ? currentStrip : nullptr;
}

CSliderUI* EqualizerManager::GetVolumeSlider(int ch) const
{
    return StripControl(ch, &ChannelStripControls::volumeSlider, mControls.currentVolumeSlider);
}

CEditUI* EqualizerManager::GetVolumeEdit(int ch) const
{
    return StripControl(ch, &ChannelStripControls::volumeEdit, mControls.currentVolumeEdit);
}

COptionUI* EqualizerManager::GetMuteButton(int ch) const
{
    return StripControl(ch, &ChannelStripControls::mute, mControls.currentMute);
}

COptionUI* EqualizerManager::GetPhaseButton(int ch) const
{
    return StripControl(ch, &ChannelStripControls::phase, mControls.currentPhase);
}

COptionUI* EqualizerManager::GetSoloButton(int ch) const
{
    return StripControl<COptionUI>(ch, &ChannelStripControls::solo, nullptr);
}

CSliderUI* EqualizerManager::GetDelaySlider(int ch) const
{
    return StripControl<CSliderUI>(ch, &ChannelStripControls::delaySlider, nullptr);
}

CEditUI* EqualizerManager::GetDelayEdit(int ch) const
{
    return StripControl<CEditUI>(ch, &ChannelStripControls::delayEdit, nullptr);
}

CSliderUI* EqualizerManager::GetFirstVolumeSlider() const
{
    return mControls.channels[0].volumeSlider != nullptr ? mControls.channels[0].volumeSlider
                                                         : mControls.currentVolumeSlider;
}
