#include "app/windows/MainWnd.h"

#include <cwchar>
#include <cwctype>

#include "app/windows/MemWrWnd.h"
#include "base/Log.h"
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

// The delay step buttons act on the current channel's speaker position.
void SpeakerDelayStep(CMainWnd& w, bool up)
{
    const SceneProfile& profile = w.Controller().Current();
    const int code = profile.outputs[profile.currOutChannel];
    if (code >= 1) w.Controller().SetSpeakerDelayUp(code, up);
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
