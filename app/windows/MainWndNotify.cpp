#include "app/windows/MainWnd.h"

#include <cwchar>
#include <cwctype>

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

enum class Match { Is, StartsWith };

struct ClickRule {
    const wchar_t* name;
    Match match;
    void (*action)(CMainWnd& window, CControlUI* control, int index);
    // The notification the rule answers.
    const wchar_t* type = L"click";
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

void EqBoxSetFocus(CMainWnd& w, CControlUI* control, int b)
{
    if (!IsEqBox(control->GetControlName())) return;
    LogPrintW(L"on eq %s setfocus index %d\n", control->GetControlName().CStr(), b);
    w.Controller().UpdateEqualizer(b);
}

// The chart names the dragged band in its user data; -1 drops the move.
template <int kCommand, bool kRelease>
void ChartMoved(CMainWnd& w, CControlUI*, int index)
{
    LogPrintW(L"on UI_MSGTYPE_EQUALIZERCHANGED index %d\n", index);
    if (index >= 0) w.Controller().EqualizerCallback(index, kCommand, kRelease);
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

// Notifications by type and control name, tested in order; the first match
// ends the dispatch.
const ClickRule kClickRules[] = {
    {L"btnConnect", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().ConnectDevice(true); }},
    // Firmware update and about box.
    {L"option_item_firmware_upgrade", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.OpenFirmwareUpdate(); }},
    {L"option_item_about", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.OpenAbout(); }},
    // Channel level and switches.
    {L"ch_enable_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetCurChannelChange(i); }},
    {L"ch_mute", Match::Is, [](CMainWnd& w, CControlUI* c, int) { StoreMute(w, c, CurrentChannel(w)); },
     L"selectchanged"},
    {L"ch_mute_", Match::StartsWith, [](CMainWnd& w, CControlUI* c, int i) { StoreMute(w, c, i); }, L"selectchanged"},
    {L"ch_phase", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetChPhase(CurrentChannel(w)); },
     L"selectchanged"},
    {L"ch_phase_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChPhase(i); },
     L"selectchanged"},
    {L"ch_show_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChEqualizerShow(i); },
     L"selectchanged"},
    {L"ch_solo_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChSolo(i); },
     L"selectchanged"},
    {L"slider_ch_volume", Match::Is, [](CMainWnd& w, CControlUI* c, int) { VolumeSliderMoved(w, c, CurrentChannel(w)); },
     L"valuechanged"},
    {L"slider_ch_volume_", Match::StartsWith, VolumeSliderMoved, L"valuechanged"},
    {L"slider_ch_volume", Match::Is, [](CMainWnd& w, CControlUI* c, int) { VolumeSliderMoved(w, c, CurrentChannel(w)); },
     L"movevaluechanged"},
    {L"slider_ch_volume_", Match::StartsWith, VolumeSliderMoved, L"movevaluechanged"},
    {L"edit_ch_volume", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetChVolumeUp(CurrentChannel(w), true); },
     L"valuechangedup"},
    {L"edit_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChVolumeUp(i, true); },
     L"valuechangedup"},
    {L"edit_ch_volume", Match::Is,
     [](CMainWnd& w, CControlUI*, int) { w.Controller().SetChVolumeUp(CurrentChannel(w), false); }, L"valuechangeddown"},
    {L"edit_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChVolumeUp(i, false); },
     L"valuechangeddown"},
    {L"edit_ch_volume", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetChVolumeEdit(CurrentChannel(w), false); },
     L"return"},
    {L"edit_ch_volume_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChVolumeEdit(i, false); },
     L"return"},
    // Delays.
    {L"slider_ch_delay_", Match::StartsWith,
     [](CMainWnd& w, CControlUI* c, int i) {
         LogPrintW(L"on delay silder %ls valuechanged index %d\n", c->GetControlName().CStr(), i);
         w.Controller().SetChDelaySlider(i);
     },
     L"valuechanged"},
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChDelayUp(i, true); },
     L"valuechangedup"},
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChDelayUp(i, false); },
     L"valuechangeddown"},
    {L"spk_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetSpeakerDelayUp(i, true); },
     L"valuechangedup"},
    {L"spk_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetSpeakerDelayUp(i, false); },
     L"valuechangeddown"},
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChDelayEdit(i); },
     L"return"},
    {L"spk_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetSpeakerDelayEdit(i); },
     L"return"},
    {L"edit_ch_delay_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetChDelayEdit(i); },
     L"killfocus"},
    {L"comb_ch_unit", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetDelayUnit(); }, L"itemselect"},
    {L"btn_delay_down", Match::Is, [](CMainWnd& w, CControlUI*, int) { SpeakerDelayStep(w, false); }},
    {L"btn_delay_up", Match::Is, [](CMainWnd& w, CControlUI*, int) { SpeakerDelayStep(w, true); }},
    // ---- EQ bands and chart ----
    {L"eq_slider_", Match::StartsWith, EqSliderMoved, L"valuechanged"},
    {L"eq_slider_", Match::StartsWith, EqSliderMoved, L"movevaluechanged"},
    {L"eq_freq_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqFreqUp(i, true); },
     L"valuechangedup"},
    {L"eq_freq_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqFreqUp(i, false); },
     L"valuechangeddown"},
    {L"eq_q_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqQUp(i, true); },
     L"valuechangedup"},
    {L"eq_q_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqQUp(i, false); },
     L"valuechangeddown"},
    {L"eq_gain_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqGainUp(i, true); },
     L"valuechangedup"},
    {L"eq_gain_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().SetEqGainUp(i, false); },
     L"valuechangeddown"},
    {L"eq_", Match::StartsWith, EqBoxReturn, L"return"},
    {L"eq_", Match::StartsWith, EqBoxKillFocus, L"killfocus"},
    {L"eq_", Match::StartsWith, EqBoxSetFocus, L"setfocus"},
    {L"pt_enable_", Match::StartsWith, [](CMainWnd& w, CControlUI*, int i) { w.Controller().OnEqEnable(i); }},
    {L"btn_reset_eq", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutputEqReset(); }},
    {L"btn_bypass", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutputBypass(); }},
    {L"btn_arg_eq", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetOutputEqMode(); }},
    {L"equalizer", Match::Is, ChartMoved<0, false>, L"equalizer_eq"},
    {L"equalizer", Match::Is, ChartMoved<0, true>, L"equalizer_eq_release"},
    {L"equalizer", Match::Is, ChartMoved<1, false>, L"equalizer_hp"},
    {L"equalizer", Match::Is, ChartMoved<1, true>, L"equalizer_hp_release"},
    {L"equalizer", Match::Is, ChartMoved<2, false>, L"equalizer_lp"},
    {L"equalizer", Match::Is, ChartMoved<2, true>, L"equalizer_lp_release"},
    // ---- Crossover, outputs, unit-wide settings and popup menus ----
    {L"ch_output_btn", Match::StartsWith, OpenOutputMenu},
    {L"delay_link_", Match::StartsWith, OpenDelayLinkMenu, L"selectchanged"},
    {L"btn_option", Match::Is,
     [](CMainWnd& w, CControlUI* c, int) {
         w.Controller().ShowOptionMenu(w.GetNativeHandle(), c, w.MenuSlot(), &w.PaintManager());
     }},
    {L"btn_scene", Match::Is,
     [](CMainWnd& w, CControlUI* c, int) {
         w.Controller().ShowSceneMenu(w.GetNativeHandle(), c, w.MenuSlot(), &w.PaintManager());
     }},
    {L"btn_advance", Match::Is,
     [](CMainWnd& w, CControlUI* c, int) {
         w.Controller().ShowAdvanceMenu(w.GetNativeHandle(), c, w.MenuSlot(), &w.PaintManager());
     }},
    {L"btn_amp_onoff", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchAmpOnOff(); }},
    {L"btn_rem_out1_onoff", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchRemOut1(); }},
    {L"btn_rem_out2_onoff", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchRemOut2(); }},
    {L"btn_2ohm_spk", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchSpkOhm(); }},
    {L"btn_noise_gate", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SwitchNoiseGate(); }},
    {L"main_mute", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainMute(); },
     L"selectchanged"},
    {L"option_ch_in", Match::StartsWith, [](CMainWnd& w, CControlUI* c, int) { RouteInput(w, c); }, L"selectchanged"},
    {L"slider_main_volume", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeSlider(); },
     L"valuechanged"},
    {L"slider_main_volume", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeSlider(); },
     L"movevaluechanged"},
    {L"slider_acc", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccSlider(); },
     L"valuechanged"},
    {L"slider_acc", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccSlider(); },
     L"movevaluechanged"},
    {L"hp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpFreqUp(true); },
     L"valuechangedup"},
    {L"hp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpFreqUp(false); },
     L"valuechangeddown"},
    {L"lp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpFreqUp(true); },
     L"valuechangedup"},
    {L"lp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpFreqUp(false); },
     L"valuechangeddown"},
    {L"edit_main_volume", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeUp(true); },
     L"valuechangedup"},
    {L"edit_main_volume", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeUp(false); },
     L"valuechangeddown"},
    {L"edit_acc", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccUp(true); },
     L"valuechangedup"},
    {L"edit_acc", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccUp(false); },
     L"valuechangeddown"},
    {L"edit_main_volume", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetMainVolumeEdit(); },
     L"return"},
    {L"edit_acc", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetAccEdit(); }, L"return"},
    {L"hp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpFreq(); }, L"return"},
    {L"lp_freq", Match::StartsWith, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpFreq(); }, L"return"},
    // Leaving an edit takes only what the user typed: a value the program
    // wrote is not sent again (and a volume left alone does not unmute).
    {L"edit_main_volume", Match::Is,
     [](CMainWnd& w, CControlUI*, int) {
         if (w.Controller().IsMainVolumeTyped()) w.Controller().SetMainVolumeEdit();
     },
     L"killfocus"},
    {L"edit_acc", Match::Is,
     [](CMainWnd& w, CControlUI*, int) {
         if (w.Controller().IsAccTyped()) w.Controller().SetAccEdit();
     },
     L"killfocus"},
    {L"hp_freq", Match::StartsWith,
     [](CMainWnd& w, CControlUI*, int) {
         if (w.Controller().IsFilterFreqTyped(true)) w.Controller().SetHpFreq();
     },
     L"killfocus"},
    {L"lp_freq", Match::StartsWith,
     [](CMainWnd& w, CControlUI*, int) {
         if (w.Controller().IsFilterFreqTyped(false)) w.Controller().SetLpFreq();
     },
     L"killfocus"},
    {L"hp_type", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpType(); }, L"itemselect"},
    {L"lp_type", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpType(); }, L"itemselect"},
    {L"hp_slop", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetHpSlop(); }, L"itemselect"},
    {L"lp_slop", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetLpSlop(); }, L"itemselect"},
    {L"btn_input_source", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().SetInputSource(); },
     L"itemselect"},
    // ---- Service and advanced windows ----
    {L"btn_debug", Match::Is, [](CMainWnd& w, CControlUI*, int) { ShowMemWrWnd(w.GetNativeHandle(), w.Controller().Device()); }},
    {L"advance_item_noise_threshold", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.OpenNoiseThresholdWnd(); }},
    {L"advance_item_compressors_on", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.OpenCompressorsOnWnd(); }},
};

} // namespace

void CMainWnd::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    if (notify.type == L"click" && notify.sender != nullptr) {
        if (notify.sender->GetControlName().CompareIgnoreCase(L"minbtn") == 0) {
            SendToWindow(WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        OnClick(notify.sender);
    } else if (notify.sender != nullptr) {
        Dispatch(notify.type.CStr(), notify.sender);
    }
    WindowImplBase::ReceiveNotify(notify);
}

void CMainWnd::OnClick(CControlUI* control)
{
    Dispatch(L"click", control);
}

void CMainWnd::Dispatch(const wchar_t* type, CControlUI* control)
{
    const CUIString name = control->GetControlName();
    for (const ClickRule& rule : kClickRules) {
        if (wcscmp(rule.type, type) != 0) continue;
        const bool matches = rule.match == Match::Is ? name == rule.name : StartsWith(name, rule.name);
        if (!matches) continue;
        rule.action(*this, control, IndexOf(control));
        return;
    }
}
