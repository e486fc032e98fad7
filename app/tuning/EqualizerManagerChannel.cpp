#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include <cmath>
#include <cwchar>

#include "app/controls/SButtonUI.h"
#include "app/tuning/ControlText.h"
#include "app/tuning/EqBandRules.h"
#include "app/tuning/TypedNumber.h"
#include "base/Log.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

const int kVolumeMinTenths = -600;
const int kVolumeMaxTenths = 0;
const int kVolumeStepTenths = 10;
const wchar_t kOffKey[] = L"${off}";

bool ValidChannel(int ch)
{
    return ch >= 0 && ch < kOutputChannels;
}

float Clamp(float value, float low, float high)
{
    return value < low ? low : (value > high ? high : value);
}

// A level in tenths as the slider holds it: whole tenths.
int WholeTenths(float tenths)
{
    return static_cast<int>(NearestStep(tenths, 1.0));
}

// The unit takes whole dB, cut toward zero as the box shows them; a drag
// leaves the slider between two.
int WholeDbTenths(float tenths)
{
    return static_cast<int>(std::trunc(tenths / kVolumeStepTenths)) * kVolumeStepTenths;
}

} // namespace

bool EqualizerManager::IsBridged(int ch) const
{
    return mModel.Current().bridgeOutputs[ch / 2] != 0;
}

int EqualizerManager::UpdateSyncPartner(int ch)
{
    mSyncPartner = -1;
    if (!ValidChannel(ch)) return mSyncPartner;
    const SceneProfile& profile = mModel.Current();
    const int linked = profile.linkOutputs[ch];
    if (profile.linkMode == 1 && linked != -1) {
        // A link read from a file or the unit may point anywhere.
        if (ValidChannel(linked) && linked != ch) mSyncPartner = linked;
    } else if (IsBridged(ch)) {
        mSyncPartner = ch ^ 1;
    }
    return mSyncPartner;
}

void EqualizerManager::SendChTrim(int ch)
{
    const SceneProfile& profile = mModel.Current();
    const float attenuation = 0.0f - profile.channels[ch].gain;
    mDevice.Trim_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(ch),
                      &attenuation, false);
}

const wchar_t* EqualizerManager::ChVolumeText(float tenths) const
{
    CSliderUI* first = GetFirstVolumeSlider();
    const int minimum = first != nullptr ? first->GetMinValue() : kVolumeMinTenths;
    return WholeTenths(tenths) <= minimum ? kOffKey : FormatDbText(tenths * 0.1f);
}

void EqualizerManager::ShowChVolumeText(int ch, float tenths)
{
    CEditUI* edit = GetVolumeEdit(ch);
    // Looked up now: an edit being typed into shows its text as it is.
    if (edit != nullptr) edit->SetTextContent(CResourceStore::GetInstance()->LookupText(ChVolumeText(tenths)));
}

void EqualizerManager::LeaveChVolumeEdit(int ch)
{
    const ReachedOperation reached(__func__, ch);
    if (ValidChannel(ch) && IsTyped(GetVolumeEdit(ch), ChVolumeText(mModel.Current().channels[ch].gain * 10.0f)))
        SetChVolumeEdit(ch, false);
}

bool EqualizerManager::ReadChVolumeEdit(int ch, float& db) const
{
    CEditUI* edit = GetVolumeEdit(ch);
    if (edit == nullptr) return false;
    const std::optional<int> typed = ReadTypedLevel(edit->GetTextContent(), kVolumeMinTenths / 10, {L"dB"});
    if (typed) db = static_cast<float>(*typed);
    return typed.has_value();
}

void EqualizerManager::SetChVolumeSliderValue(int ch, float tenths)
{
    CSliderUI* slider = GetVolumeSlider(ch);
    if (slider == nullptr) return;
    ClampToSlider(slider, tenths);
    slider->SetValue(WholeTenths(tenths));
}

void EqualizerManager::StoreChVolume(int ch, float tenths, bool unmute)
{
    if (!ValidChannel(ch)) return;
    CSliderUI* slider = GetVolumeSlider(ch);
    if (slider != nullptr) {
        ClampToSlider(slider, tenths);
        slider->SetValue(WholeDbTenths(tenths));
        // A held thumb keeps the hand's value.
        tenths = static_cast<float>(WholeDbTenths(static_cast<float>(slider->GetValue())));
    } else {
        ClampToSlider(GetVolumeSlider(CurrentChannel()), tenths);
    }
    // The gain is an attenuation whatever the skin's slider says.
    tenths = Clamp(tenths, kVolumeMinTenths, kVolumeMaxTenths);
    mModel.Current().channels[ch].gain = tenths / 10.0f;
    SendChTrim(ch);
    ShowChVolumeText(ch, tenths);
    if (unmute) ApplyChMute(ch, false);
}

void EqualizerManager::ChangeChVolume(int ch, float tenths, bool focus, bool force)
{
    if (!ValidChannel(ch)) return;
    SceneProfile& profile = mModel.Current();
    const float oldGain = profile.channels[ch].gain;
    StoreChVolume(ch, tenths, focus);
    CEditUI* edit = GetVolumeEdit(ch);
    if (focus && edit != nullptr) {
        edit->TakeFocus();
        edit->SetSelection(0, -1);
    }
    // In whole tenths: a float difference added and truncated loses a
    // tenth now and then, and the members drift off.
    const int delta = GainTenths(profile.channels[ch].gain) - GainTenths(oldGain);
    if (delta == 0 && !force) return;

    // Members follow by the same difference, each clamped on its own; a
    // member's bridged twin takes the member's level.
    auto follow = [&](int member) {
        const float t = static_cast<float>(GainTenths(profile.channels[member].gain) + delta);
        StoreChVolume(member, t, focus);
        return t;
    };
    // The changed channel's own partner follows, current or not (the link
    // sends every pair's first channel without making it current).
    const int partner = UpdateSyncPartner(ch);
    const int group = profile.linkSel[ch];
    if (group >= 1) {
        // Visited first: with links, bridges and a group at once no channel
        // moves twice.
        bool visited[kOutputChannels] = {};
        visited[ch] = true;
        if (partner >= 0) visited[partner] = true;
        for (int i = 0; i < kOutputChannels; ++i) {
            if (visited[i] || profile.linkSel[i] != group) continue;
            visited[i] = true;
            const float t = follow(i);
            if (IsBridged(i) && !visited[i ^ 1]) {
                visited[i ^ 1] = true;
                StoreChVolume(i ^ 1, t, focus);
            }
        }
    }
    if (partner >= 0) follow(partner);
}

void EqualizerManager::SetChVolumeSlider(int ch, bool select, bool force)
{
    const ReachedOperation reached(__func__, ch);
    if (!ValidChannel(ch)) return;
    if (ch != CurrentChannel() && select) SetChActive(ch);
    CSliderUI* slider = GetVolumeSlider(ch);
    if (slider == nullptr) return;
    const ChannelParams& channel = mModel.Current().channels[ch];
    const int tenths = WholeDbTenths(static_cast<float>(slider->GetValue()));
    // A thumb let go between two whole dB of the level the unit holds only
    // settles on it: nothing is left to send.
    if (!force && tenths != slider->GetValue() && tenths == GainTenths(channel.gain) && (!select || channel.mute == 0)) {
        slider->SetValue(tenths);
        return;
    }
    ChangeChVolume(ch, static_cast<float>(tenths), select, force);
}

void EqualizerManager::SetChVolumeEdit(int ch, bool force)
{
    if (!ValidChannel(ch)) return;
    if (ch != CurrentChannel()) SetChActive(ch);
    float db = 0.0f;
    if (ReadChVolumeEdit(ch, db))
        ChangeChVolume(ch, std::trunc(db * 10.0f), true, force);
    else
        ShowChVolumeText(ch, mModel.Current().channels[ch].gain * 10.0f);
}

void EqualizerManager::SetChVolumeUp(int ch, bool up)
{
    const ReachedOperation reached(__func__, ch);
    LogPrintW(L"SetChVolumeUp %d \n", ch);
    CSliderUI* slider = GetVolumeSlider(ch);
    if (slider == nullptr) return;
    float value = static_cast<float>(slider->GetValue() + (up ? kVolumeStepTenths : -kVolumeStepTenths));
    if (!ClampToSlider(slider, value)) return;
    slider->SetValue(static_cast<int>(value));
    SetChVolumeSlider(ch, true, false);
}

void EqualizerManager::ApplyChMute(int ch, bool on)
{
    if (!ValidChannel(ch)) return;
    COptionUI* mute = GetMuteButton(ch);
    if (mute != nullptr) mute->SetSelectedState(on, true);
    LogPrintW(L"channel %d mute seleted %d\n", ch, on ? 1 : 0);
    SceneProfile& profile = mModel.Current();
    profile.channels[ch].mute = on ? 1 : 0;
    const uint8_t value = static_cast<uint8_t>(profile.channels[ch].mute);
    mDevice.Mute_Ch_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(ch),
                         &value, false);
}

void EqualizerManager::SetChMute(int ch)
{
    const ReachedOperation reached(__func__, ch);
    if (GetMuteButton(ch) == nullptr) return;
    const bool on = mModel.Current().channels[ch].mute != 0;
    ApplyChMute(ch, on);
    if (IsBridged(ch)) ApplyChMute(ch ^ 1, on);
}

void EqualizerManager::ApplyChPhase(int ch, bool on)
{
    if (!ValidChannel(ch)) return;
    LogPrintW(L"channel %d phase seleted %d\n", ch, on ? 1 : 0);
    COptionUI* phase = GetPhaseButton(ch);
    if (phase != nullptr) {
        phase->SetSelectedState(on, true);
        phase->SetTextContent(on ? L"${reverse phase}" : L"${positive_phase}");
    }
    SceneProfile& profile = mModel.Current();
    profile.channels[ch].phase = on ? 1 : 0;
    const uint8_t value = static_cast<uint8_t>(profile.channels[ch].phase);
    mDevice.Phase_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(ch),
                       &value, false);
}

void EqualizerManager::SetChPhase(int ch)
{
    const ReachedOperation reached(__func__, ch);
    COptionUI* phase = GetPhaseButton(ch);
    if (phase == nullptr) return;
    const bool on = phase->IsSelected();
    ApplyChPhase(ch, on);
    if (IsBridged(ch)) ApplyChPhase(ch ^ 1, on);
}

void EqualizerManager::ApplyChSolo(int ch, bool on)
{
    if (!ValidChannel(ch)) return;
    LogPrintW(L"channel %d solo seleted %d\n", ch, on ? 1 : 0);
    const int partner = UpdateSyncPartner(ch);
    SceneProfile& profile = mModel.Current();
    uint8_t solo[kOutputChannels];
    for (int i = 0; i < kOutputChannels; ++i) {
        COptionUI* option = GetSoloButton(i);
        if (i == ch || i == partner) {
            profile.channels[i].solo = on ? 1 : 0;
            if (option != nullptr) option->SetSelectedState(on, true);
        } else if (on) {
            // Solo is exclusive.
            profile.channels[i].solo = 0;
            if (option != nullptr) option->SetSelectedState(false, true);
        }
        solo[i] = static_cast<uint8_t>(profile.channels[i].solo);
    }
    mDevice.Solo_Ctrl(static_cast<uint8_t>(profile.scene), 0, 0, kOutputChannels - 1, solo, false);
}

void EqualizerManager::SetChSolo(int ch)
{
    const ReachedOperation reached(__func__, ch);
    if (!ValidChannel(ch)) return;
    mModel.Current().soloChannel = ch;
    COptionUI* solo = GetSoloButton(ch);
    if (solo != nullptr) ApplyChSolo(ch, solo->IsSelected());
    SetCurChannelChange(ch);
}

void EqualizerManager::SetCurChannelChange(int ch)
{
    const ReachedOperation reached(__func__, ch);
    if (!ValidChannel(ch)) return;
    LogPrintW(L"on SetCurChannelChange channel index %d\n", ch);
    SceneProfile& profile = mModel.Current();
    profile.currOutChannel = ch;
    const int partner = UpdateSyncPartner(ch);
    for (int i = 0; i < kOutputChannels; ++i) {
        CSButtonUI* enable = mControls.channels[i].enable;
        if (enable != nullptr) enable->SetSelectedState(i == ch || i == partner);
    }
    if (mControls.channelName != nullptr) {
        wchar_t name[16];
        _snwprintf(name, 15, L"CH%d", ch + 1);
        name[15] = L'\0';
        mControls.channelName->SetTextContent(name);
    }
    const float tenths = profile.channels[ch].gain * 10.0f;
    if (mControls.currentVolumeEdit != nullptr) ShowChVolumeText(ch, tenths);
    if (mControls.currentVolumeSlider != nullptr) SetChVolumeSliderValue(ch, tenths);
    ApplyChMute(ch, profile.channels[ch].mute != 0);
    for (int i = 0; i < kOutputChannels; ++i) {
        COptionUI* show = mControls.channels[i].show;
        if (show != nullptr) show->SetSelectedState(profile.showOutChEqualizer[i] == 1, true);
    }
    const int code = profile.outputs[ch];
    const int partnerCode = partner >= 0 ? static_cast<int>(profile.outputs[partner]) : 0;
    for (int k = 0; k < kSpeakerPositions; ++k) {
        CSButtonUI* speaker = mControls.speakers[k].speaker;
        if (speaker == nullptr) continue;
        speaker->SetSelectedState((code > 0 && code == k + 1) || (partnerCode > 0 && partnerCode == k + 1));
    }
    ShowEqBandRows(ch);
    ShowBypassButton(profile.channels[ch].bypass != 1);
    SetFreqDivider(ch);
    UpdateEqualizer(-1);
}
