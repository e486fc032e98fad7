#include "app/windows/MainWnd.h"

#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "app/controls/UIEqualizer.h"
#include "app/tuning/ControlText.h"
#include "app/windows/MemWrWnd.h"
#include "base/Log.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"

using namespace SkinUI;

namespace {

// The decimal index a per-channel, per-band or per-speaker control carries
// in its user data; 0 when there is none.
int IndexOf(CControlUI* control)
{
    const CUIString text = control->GetUserDataText();
    return static_cast<int>(wcstol(text, nullptr, 10));
}

bool StartsWith(const CUIString& name, const wchar_t* prefix)
{
    return wcsncmp(name, prefix, wcslen(prefix)) == 0;
}

enum class Match { Is, StartsWith, IsIgnoringCase };

bool Matches(Match match, const CUIString& name, const wchar_t* pattern)
{
    switch (match) {
    case Match::Is: return name == pattern;
    case Match::StartsWith: return StartsWith(name, pattern);
    case Match::IsIgnoringCase: return name.CompareIgnoreCase(pattern) == 0;
    }
    return false;
}

struct ClickRule {
    const wchar_t* name;
    Match match;
    // Null while the operation is still being built: the row is reached and
    // logged, nothing else happens.
    void (*action)(CMainWnd& window, CControlUI* control, int index);
    // The notification the rule answers.
    const wchar_t* type = L"click";
    // The controller operation the row reaches; the name pattern when empty.
    const wchar_t* operation = nullptr;
};

int CurrentChannel(CMainWnd& w)
{
    return w.Controller().Current().currOutChannel;
}

bool IsSelected(CControlUI* control)
{
    auto* option = static_cast<COptionUI*>(control->FindInterface(L"Option"));
    return option != nullptr && option->IsSelected();
}

// An option announces its new state after the click, so switches are taken
// from "selectchanged" and the controller sees the state the user chose.
void StoreMute(CMainWnd& w, CControlUI* control, int ch)
{
    if (ch < 0 || ch >= kOutputChannels) return;
    w.Controller().Current().channels[ch].mute = IsSelected(control) ? 1 : 0;
    w.Controller().SetChMute(ch);
}

void Synchronize(CMainWnd& w, CControlUI*, int ch)
{
    if (ch < 0 || ch >= kOutputChannels) return;
    w.Controller().SetChSynchronize(ch, w.Controller().Current().linkSel[ch] == 0 ? 1 : 0);
}

void VolumeSliderMoved(CMainWnd& w, CControlUI* control, int ch)
{
    LogPrintW(L"on volume silder %ls valuechanged index %d\n", control->GetControlName().CStr(), ch);
    w.Controller().SetChVolumeSlider(ch, true, false);
}

// ---- EQ bands and chart ----
// Band boxes: "eq_freq_", "eq_q_" or "eq_gain_" followed by the band.
bool IsEqBox(const CUIString& name)
{
    return StartsWith(name, L"eq_freq_") || StartsWith(name, L"eq_q_") || StartsWith(name, L"eq_gain_");
}

void EqSliderMoved(CMainWnd& w, CControlUI* control, int b)
{
    if (b < 0 || b >= kMaxEqBands) return;
    const CSliderUI* slider = w.Controller().Controls().bands[b].slider;
    LogPrintW(L"on eq silder %ls valuechanged index %d value %d\n", control->GetControlName().CStr(), b,
              slider != nullptr ? slider->GetValue() : 0);
    w.Controller().SetChEqSlider(b);
}

// Enter moves down the band's column (frequency, Q, gain) and on to the next
// band; the value is taken when the box loses the focus. Boxes disabled in
// the graphic mode are passed over.
void EqBoxReturn(CMainWnd& w, CControlUI* control, int b)
{
    const CUIString name = control->GetControlName();
    if (!IsEqBox(name) || b < 0 || b >= kMaxEqBands) return;
    LogPrintW(L"on eq %s killfocus index %d\n", name.CStr(), b);
    const BandControls* bands = w.Controller().Controls().bands;
    const SceneProfile& profile = w.Controller().Current();
    int count = profile.channels[profile.currOutChannel].eqSize;
    count = count < 1 ? 1 : (count > kMaxEqBands ? kMaxEqBands : count);
    const int column = StartsWith(name, L"eq_freq_") ? 0 : StartsWith(name, L"eq_q_") ? 1 : 2;
    for (int step = 1; step <= 3 * count; ++step) {
        const int slot = b * 3 + column + step;
        const BandControls& next = bands[(slot / 3) % count];
        CEditUI* box = slot % 3 == 0 ? next.freq : slot % 3 == 1 ? next.q : next.gain;
        if (box == nullptr || !box->GetEnabledState()) continue;
        box->TakeFocus();
        return;
    }
}

void EqBoxKillFocus(CMainWnd& w, CControlUI* control, int b)
{
    if (!IsEqBox(control->GetControlName())) return;
    LogPrintW(L"on eq %s killfocus index %d\n", control->GetControlName().CStr(), b);
    w.Controller().SetChEqEdit(b);
}

int PickedBand(CMainWnd& w)
{
    const UIEqualizer* chart = w.Controller().Controls().equalizer;
    return chart != nullptr ? chart->Model().Selected() : -1;
}

void EqBoxSetFocus(CMainWnd& w, CControlUI* control, int b)
{
    if (!IsEqBox(control->GetControlName())) return;
    LogPrintW(L"on eq %s setfocus index %d\n", control->GetControlName().CStr(), b);
    w.Controller().UpdateEqualizer(b);
}

void DelaySliderMoved(CMainWnd& w, CControlUI* control, int ch)
{
    LogPrintW(L"on delay silder %ls valuechanged index %d\n", control->GetControlName().CStr(), ch);
    w.Controller().SetChDelaySlider(ch);
}

// The delay step buttons act on the current channel's speaker position.
void SpeakerDelayStep(CMainWnd& w, bool up)
{
    const SceneProfile& profile = w.Controller().Current();
    const int code = profile.outputs[profile.currOutChannel];
    if (code >= 1) w.Controller().SetSpeakerDelayUp(code, up);
}

// Both numbers of an input routing box's name: input row and output column.
void RouteInput(CMainWnd& w, CControlUI* control)
{
    int input = -1;
    int output = -1;
    if (swscanf(control->GetControlName().CStr(), L"option_ch_in%d_%d", &input, &output) == 2)
        w.Controller().SetInputIn(input, output);
}

// The menus open under their control; the controller keeps the one open menu.
void OpenOutputMenu(CMainWnd& w, CControlUI* control, int ch)
{
    w.Controller().menuChannel = ch;
    w.Controller().ShowOutputMenu(w.GetNativeHandle(), control, w.MenuSlot(), &w.PaintManager(), ch);
}

void OpenDelayLinkMenu(CMainWnd& w, CControlUI* control, int ch)
{
    w.Controller().menuChannel = ch;
    w.Controller().ShowDelayLinkGroupMenu(w.GetNativeHandle(), control, w.MenuSlot(), &w.PaintManager());
}

// Enter and a focus loss take a unit-wide box only when it was typed into:
// Enter in a box only clicked into must not unmute the main output.
void LeaveMainVolume(CMainWnd& w, CControlUI*, int)
{
    if (w.Controller().IsMainVolumeTyped()) w.Controller().SetMainVolumeEdit();
}

void LeaveAcc(CMainWnd& w, CControlUI*, int)
{
    if (w.Controller().IsAccTyped()) w.Controller().SetAccEdit();
}

void LeaveHpFreq(CMainWnd& w, CControlUI*, int)
{
    if (w.Controller().IsFilterFreqTyped(true)) w.Controller().SetHpFreq();
}

void LeaveLpFreq(CMainWnd& w, CControlUI*, int)
{
    if (w.Controller().IsFilterFreqTyped(false)) w.Controller().SetLpFreq();
}

// Notifications by type and control name, tested in order; the first match
// ends the dispatch. Adding a control is one row. Rows whose operation is
// still being built sit at the end with a null action: give the row its
// action (and drop it from that list) when the operation lands.
const ClickRule kClickRules[] = {
    // ---- Clicks ----
    {L"btnConnect", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().ConnectDevice(true); }, L"click", L"ConnectDevice"},
    // Firmware update and about box.
    {L"option_item_firmware_upgrade", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.OpenFirmwareUpdate(); }, L"click", L"OpenFirmwareUpdate"},
    {L"option_item_about", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.OpenAbout(); }, L"click", L"OpenAbout"},
    {L"btn_reset_output", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutputReset(); }, L"click", L"SetOutputReset"},
    {L"ch_enable_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetCurChannelChange(i); }, L"click", L"SetCurChannelChange"},
    {L"ch_bridge_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SwitchBridge(i); }, L"click", L"SwitchBridge"},
    {L"bridge_checkbox_", Match::StartsWith,
     [](CMainWnd& w, CControlUI*, int i) { w.Controller().SwitchBridgeCheckBox(i); }, L"click", L"SwitchBridgeCheckBox"},
    {L"speaker_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetSpeakerFocus(i); }, L"click", L"SetSpeakerFocus"},
    {L"btn_lock_output", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutpuLock(); }, L"click", L"SetOutpuLock"},
    {L"btn_link_output", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutputLink(); }, L"click", L"SetOutputLink"},
    {L"btn_reset_link", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().ResetLink(); }, L"click", L"ResetLink"},
    {L"btn_delay_down", Match::Is, [](CMainWnd& w, CControlUI*, int) { SpeakerDelayStep(w, false); }, L"click", L"SetSpeakerDelayUp"},
    {L"btn_delay_up", Match::Is, [](CMainWnd& w, CControlUI*, int) { SpeakerDelayStep(w, true); }, L"click", L"SetSpeakerDelayUp"},
    {L"advance_item_noise_threshold", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.OpenNoiseThresholdWnd(); }, L"click", L"OpenNoiseThresholdWnd"},
    {L"advance_item_compressors_on", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.OpenCompressorsOnWnd(); }, L"click", L"OpenCompressorsOnWnd"},
    {L"btn_debug", Match::Is, [](CMainWnd& w, CControlUI*, int) { ShowMemWrWnd(w.GetNativeHandle(), w.Controller().Device()); }, L"click",
     L"ShowMemWrWnd"},

    // ---- Options and check boxes ----
    {L"ch_show_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChEqualizerShow(i); },
     L"selectchanged", L"SetChEqualizerShow"},
    {L"ch_mute", Match::Is, [](CMainWnd& w, CControlUI* c, int) { StoreMute(w, c, CurrentChannel(w)); },
     L"selectchanged", L"SetChMute"},
    {L"ch_mute_", Match::StartsWith, [](CMainWnd& w, CControlUI* c, int i) { StoreMute(w, c, i); }, L"selectchanged", L"SetChMute"},
    {L"ch_phase", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetChPhase(CurrentChannel(w)); },
     L"selectchanged", L"SetChPhase"},
    {L"ch_phase_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChPhase(i); },
     L"selectchanged", L"SetChPhase"},
    {L"ch_solo_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChSolo(i); },
     L"selectchanged", L"SetChSolo"},
    {L"ch_synchronize_", Match::StartsWith, Synchronize, L"selectchanged", L"SetChSynchronize"},

    // ---- Sliders ----
    {L"slider_ch_volume", Match::Is, [](CMainWnd& w, CControlUI* c, int) { VolumeSliderMoved(w, c, CurrentChannel(w)); },
     L"valuechanged", L"SetChVolumeSlider"},
    {L"slider_ch_volume_", Match::StartsWith, VolumeSliderMoved, L"valuechanged", L"SetChVolumeSlider"},
    {L"slider_ch_delay_", Match::StartsWith, DelaySliderMoved, L"valuechanged", L"SetChDelaySlider"},
    {L"slider_ch_volume", Match::Is, [](CMainWnd& w, CControlUI* c, int) { VolumeSliderMoved(w, c, CurrentChannel(w)); },
     L"movevaluechanged", L"SetChVolumeSlider"},
    {L"slider_ch_volume_", Match::StartsWith, VolumeSliderMoved, L"movevaluechanged", L"SetChVolumeSlider"},
    {L"slider_ch_delay_", Match::StartsWith, DelaySliderMoved, L"movevaluechanged", L"SetChDelaySlider"},

    // ---- Edit steppers (up, down) ----
    {L"edit_ch_volume", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetChVolumeUp(CurrentChannel(w), true); },
     L"valuechangedup", L"SetChVolumeUp"},
    {L"edit_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChVolumeUp(i, true); },
     L"valuechangedup", L"SetChVolumeUp"},
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChDelayUp(i, true); },
     L"valuechangedup", L"SetChDelayUp"},
    {L"spk_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetSpeakerDelayUp(i, true); },
     L"valuechangedup", L"SetSpeakerDelayUp"},
    {L"edit_ch_volume", Match::Is,
     [](CMainWnd& w, CControlUI*, int) { w.Controller().SetChVolumeUp(CurrentChannel(w), false); }, L"valuechangeddown", L"SetChVolumeUp"},
    {L"edit_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChVolumeUp(i, false); },
     L"valuechangeddown", L"SetChVolumeUp"},
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChDelayUp(i, false); },
     L"valuechangeddown", L"SetChDelayUp"},
    {L"spk_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetSpeakerDelayUp(i, false); },
     L"valuechangeddown", L"SetSpeakerDelayUp"},

    // ---- Enter in an edit: like focus lost, only what was typed ----
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().LeaveChDelayEdit(i); },
     L"return", L"SetChDelayEdit"},
    {L"edit_ch_volume", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().LeaveChVolumeEdit(CurrentChannel(w)); },
     L"return", L"SetChVolumeEdit"},
    {L"edit_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().LeaveChVolumeEdit(i); },
     L"return", L"SetChVolumeEdit"},
    {L"spk_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().LeaveSpeakerDelayEdit(i); },
     L"return", L"SetSpeakerDelayEdit"},

    // ---- Focus lost ----
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().LeaveChDelayEdit(i); },
     L"killfocus", L"SetChDelayEdit"},
    {L"edit_ch_volume", Match::Is,
     [](CMainWnd& w, CControlUI*, int) { w.Controller().LeaveChVolumeEdit(CurrentChannel(w)); }, L"killfocus",
     L"SetChVolumeEdit"},
    {L"edit_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().LeaveChVolumeEdit(i); },
     L"killfocus", L"SetChVolumeEdit"},
    {L"spk_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().LeaveSpeakerDelayEdit(i); },
     L"killfocus", L"SetSpeakerDelayEdit"},

    // ---- Focus gained (after the delay slider's show or hide) ----
    {L"spk_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetSpeakerDelayFocus(i); },
     L"setfocus", L"SetSpeakerDelayFocus"},
    {L"edit_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChActive(i); },
     L"setfocus", L"SetChActive"},
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChActive(i); },
     L"setfocus", L"SetChActive"},
    {L"slider_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChActive(i); },
     L"setfocus", L"SetChActive"},
    {L"slider_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChActive(i); },
     L"setfocus", L"SetChActive"},

    // ---- Combo boxes and lists ----
    {L"comb_ch_unit", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetDelayUnit(); }, L"itemselect", L"SetDelayUnit"},
    {L"btn_channel_select", Match::Is, [](CMainWnd&, CControlUI*, int) {}, L"itemselect", L"SetChannelSelect"},

    // ---- The window ----
    // A new layout keeps the band the installer picked, and picks none itself.
    {L"", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().UpdateEqualizer(PickedBand(w)); },
     L"windowsize", L"UpdateEqualizer"},

    // ---- EQ bands, chart, crossover, outputs, unit-wide settings and popup menus ----
    {L"eq_slider_", Match::StartsWith, EqSliderMoved, L"valuechanged", L"SetChEqSlider"},
    {L"eq_slider_", Match::StartsWith, EqSliderMoved, L"movevaluechanged", L"SetChEqSlider"},
    {L"eq_freq_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqFreqUp(i, true); },
     L"valuechangedup", L"SetEqFreqUp"},
    {L"eq_freq_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqFreqUp(i, false); },
     L"valuechangeddown", L"SetEqFreqUp"},
    {L"eq_q_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqQUp(i, true); },
     L"valuechangedup", L"SetEqQUp"},
    {L"eq_q_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqQUp(i, false); },
     L"valuechangeddown", L"SetEqQUp"},
    {L"eq_gain_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqGainUp(i, true); },
     L"valuechangedup", L"SetEqGainUp"},
    {L"eq_gain_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqGainUp(i, false); },
     L"valuechangeddown", L"SetEqGainUp"},
    {L"eq_", Match::StartsWith, EqBoxReturn, L"return", L"MoveBandFocusDown"},
    {L"eq_", Match::StartsWith, EqBoxKillFocus, L"killfocus", L"SetChEqEdit"},
    {L"eq_", Match::StartsWith, EqBoxSetFocus, L"setfocus", L"UpdateEqualizer"},
    {L"pt_enable_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().OnEqEnable(i); }, L"click", L"OnEqEnable"},
    {L"btn_reset_eq", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutputEqReset(); }, L"click", L"SetOutputEqReset"},
    {L"btn_bypass", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutputBypass(); }, L"click", L"SetOutputBypass"},
    {L"btn_arg_eq", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutputEqMode(); }, L"click", L"SetOutputEqMode"},
    {L"ch_output_btn", Match::StartsWith, OpenOutputMenu, L"click", L"ShowOutputMenu"},
    {L"delay_link_", Match::StartsWith, OpenDelayLinkMenu, L"selectchanged", L"ShowDelayLinkGroupMenu"},
    {L"btn_option", Match::Is,
     [](CMainWnd& w, CControlUI* c, int) {
         w.Controller().ShowOptionMenu(w.GetNativeHandle(), c, w.MenuSlot(), &w.PaintManager());
     }, L"click", L"ShowOptionMenu"},
    {L"btn_scene", Match::Is,
     [](CMainWnd& w, CControlUI* c, int) {
         w.Controller().ShowSceneMenu(w.GetNativeHandle(), c, w.MenuSlot(), &w.PaintManager());
     }, L"click", L"ShowSceneMenu"},
    {L"btn_advance", Match::Is,
     [](CMainWnd& w, CControlUI* c, int) {
         w.Controller().ShowAdvanceMenu(w.GetNativeHandle(), c, w.MenuSlot(), &w.PaintManager());
     }, L"click", L"ShowAdvanceMenu"},
    {L"btn_amp_onoff", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchAmpOnOff(); }, L"click", L"SwitchAmpOnOff"},
    {L"btn_rem_out1_onoff", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchRemOut1(); }, L"click", L"SwitchRemOut1"},
    {L"btn_rem_out2_onoff", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchRemOut2(); }, L"click", L"SwitchRemOut2"},
    {L"btn_2ohm_spk", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchSpkOhm(); }, L"click", L"SwitchSpkOhm"},
    {L"btn_noise_gate", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchNoiseGate(); }, L"click", L"SwitchNoiseGate"},
    {L"main_mute", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainMute(); },
     L"selectchanged", L"SetMainMute"},
    {L"option_ch_in", Match::StartsWith, [](CMainWnd& w, CControlUI* c, int) { RouteInput(w, c); }, L"selectchanged", L"SetInputIn"},
    {L"slider_main_volume", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeSlider(); },
     L"valuechanged", L"SetMainVolumeSlider"},
    {L"slider_main_volume", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeSlider(); },
     L"movevaluechanged", L"SetMainVolumeSlider"},
    {L"slider_acc", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccSlider(); },
     L"valuechanged", L"SetAccSlider"},
    {L"slider_acc", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccSlider(); },
     L"movevaluechanged", L"SetAccSlider"},
    {L"hp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpFreqUp(true); },
     L"valuechangedup", L"SetHpFreqUp"},
    {L"hp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpFreqUp(false); },
     L"valuechangeddown", L"SetHpFreqUp"},
    {L"lp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpFreqUp(true); },
     L"valuechangedup", L"SetLpFreqUp"},
    {L"lp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpFreqUp(false); },
     L"valuechangeddown", L"SetLpFreqUp"},
    {L"edit_main_volume", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeUp(true); },
     L"valuechangedup", L"SetMainVolumeUp"},
    {L"edit_main_volume", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeUp(false); },
     L"valuechangeddown", L"SetMainVolumeUp"},
    {L"edit_acc", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccUp(true); },
     L"valuechangedup", L"SetAccUp"},
    {L"edit_acc", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccUp(false); },
     L"valuechangeddown", L"SetAccUp"},
    {L"edit_main_volume", Match::Is, LeaveMainVolume, L"return", L"SetMainVolumeEdit"},
    {L"edit_acc", Match::Is, LeaveAcc, L"return", L"SetAccEdit"},
    {L"hp_freq", Match::StartsWith, LeaveHpFreq, L"return", L"SetHpFreq"},
    {L"lp_freq", Match::StartsWith, LeaveLpFreq, L"return", L"SetLpFreq"},
    {L"edit_main_volume", Match::Is, LeaveMainVolume, L"killfocus", L"SetMainVolumeEdit"},
    {L"edit_acc", Match::Is, LeaveAcc, L"killfocus", L"SetAccEdit"},
    {L"hp_freq", Match::StartsWith, LeaveHpFreq, L"killfocus", L"SetHpFreq"},
    {L"lp_freq", Match::StartsWith, LeaveLpFreq, L"killfocus", L"SetLpFreq"},
    {L"hp_type", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpType(); }, L"itemselect", L"SetHpType"},
    {L"lp_type", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpType(); }, L"itemselect", L"SetLpType"},
    {L"hp_slop", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpSlop(); }, L"itemselect", L"SetHpSlop"},
    {L"lp_slop", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpSlop(); }, L"itemselect", L"SetLpSlop"},
    {L"btn_input_source", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetInputSource(); },
     L"itemselect", L"SetInputSource"},
};

// What each notification type logs before its row runs: "%s" the control's
// name, "%d" its index.
struct TypeLog {
    const wchar_t* type;
    const wchar_t* format;
};

const TypeLog kTypeLogs[] = {
    {L"selectchanged", L"on option %s UI_MSGTYPE_SELECTCHANGED index %d\n"},
    {L"return", L"on edit %s UI_MSGTYPE_RETURN\n"},
    {L"killfocus", L"on %s UI_MSGTYPE_KILLFOCUS\n"},
    {L"setfocus", L"on %s UI_MSGTYPE_SETFOCUS\n"},
    {L"itemselect", L"on %s UI_MSGTYPE_ITEMSELECT\n"},
};

// The EQ chart's notifications: kind 0 band, 1 high-pass, 2 low-pass.
struct ChartNotification {
    const wchar_t* type;
    int kind;
    bool released;
};

const ChartNotification kChartNotifications[] = {
    {L"equalizer_eq", 0, false}, {L"equalizer_eq_release", 0, true}, {L"equalizer_hp", 1, false},
    {L"equalizer_hp_release", 1, true}, {L"equalizer_lp", 2, false}, {L"equalizer_lp_release", 2, true},
};

} // namespace

void CMainWnd::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    KeepTypingPastPresses(notify);
    if (notify.type == L"windowinit") DropFirstFocus();
    CControlUI* sender = notify.sender;
    if (notify.type == L"click" && sender != nullptr) {
        if (sender->GetControlName().CompareIgnoreCase(L"minbtn") == 0) {
            SendToWindow(WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        OnClick(sender);
    } else if (notify.type == L"valuechangedleft" || notify.type == L"valuechangedright") {
        if (sender != nullptr) {
            const bool right = notify.type == L"valuechangedright";
            LogPrintW(right ? L"on edit %s UI_MSGTYPE_VALUECHANGED_RIGHT\n" : L"on edit %s UI_MSGTYPE_VALUECHANGED_LEFT\n",
                      sender->GetControlName().CStr());
            MoveEditFocus(sender, right);
        }
    } else if (!DispatchChart(notify)) {
        if (notify.type == L"setfocus" && sender != nullptr) FollowDelayFocus(sender);
        if (sender != nullptr || notify.type == L"windowsize") Dispatch(notify.type.CStr(), sender);
    }
    WindowImplBase::ReceiveNotify(notify);
}

void CMainWnd::OnClick(CControlUI* control)
{
    Dispatch(L"click", control);
}

// The channel delay slider shows only while its channel's delay box or
// slider has the focus.
void CMainWnd::FollowDelayFocus(CControlUI* control)
{
    const CUIString name = control->GetControlName();
    if (StartsWith(name, L"edit_ch_delay_") || StartsWith(name, L"slider_ch_delay_")) {
        m_controller.SetChDelaySliderShow(IndexOf(control));
    } else {
        LogPrintW(L"on mSliderChDelay SetVisible false\n");
        m_controller.SetChDelaySliderHide();
    }
}

bool CMainWnd::DispatchChart(TNotifyInfo& notify)
{
    for (const ChartNotification& chart : kChartNotifications) {
        if (notify.type != chart.type) continue;
        if (notify.sender == nullptr || notify.sender->GetControlName() != L"equalizer") return true;
        const int index = IndexOf(notify.sender);
        LogPrintW(L"on UI_MSGTYPE_EQUALIZERCHANGED index %d\n", index);
        if (index < 0) return true;
        m_controller.EqualizerCallback(index, chart.kind, chart.released);
        return true;
    }
    return false;
}

void CMainWnd::Dispatch(const wchar_t* type, CControlUI* control)
{
    const CUIString name = control != nullptr ? control->GetControlName() : CUIString();
    const int index = control != nullptr ? IndexOf(control) : 0;
    for (const TypeLog& log : kTypeLogs) {
        if (wcscmp(log.type, type) == 0) LogPrintW(log.format, name.CStr(), index);
    }
    for (const ClickRule& rule : kClickRules) {
        if (wcscmp(rule.type, type) != 0 || !Matches(rule.match, name, rule.name)) continue;
        const wchar_t* operation = rule.operation != nullptr ? rule.operation : rule.name;
        if (rule.action != nullptr) {
            rule.action(*this, control, index);
        } else {
            LogPrintW(L"%s %s: %s is not built yet\n", type, name.CStr(), operation);
        }
        return;
    }
}
