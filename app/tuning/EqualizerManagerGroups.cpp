#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include "app/controls/SButtonUI.h"
#include "base/Log.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"

using namespace SkinUI;

namespace {

// The colour a delay link group marks its channels with; group 0 is none.
const DWORD kGroupColours[] = {0xFF666666, 0xFF0088FF, 0xFF00AEAE, 0xFF0000E3, 0xFFFF0000, 0xFFFF8040, 0xFF8600FF};
const int kGroupColourCount = static_cast<int>(sizeof kGroupColours / sizeof kGroupColours[0]);

bool ValidChannel(int ch)
{
    return ch >= 0 && ch < kOutputChannels;
}

} // namespace

void EqualizerManager::ActivateChannel(int ch)
{
    if (!ValidChannel(ch)) return;
    // The button's click makes the channel current; a button the layout lacks
    // or cannot click (a hidden page) leaves it to the controller.
    CSButtonUI* enable = mControls.channels[ch].enable;
    if (enable == nullptr || !enable->ActivateControl()) SetCurChannelChange(ch);
}

void EqualizerManager::SetChActive(int ch)
{
    const ReachedOperation reached(__func__, ch);
    if (ValidChannel(ch) && ch != CurrentChannel()) ActivateChannel(ch);
}

void EqualizerManager::EnableGroupButtons(bool enabled)
{
    for (ChannelStripControls& strip : mControls.channels) {
        if (strip.synchronize != nullptr) strip.synchronize->SetEnabledState(enabled);
        if (strip.delayLink != nullptr) strip.delayLink->SetEnabledState(enabled);
    }
}

void EqualizerManager::EnableOutputButtons(bool enabled)
{
    for (ChannelStripControls& strip : mControls.channels) {
        if (strip.outputButton != nullptr) strip.outputButton->SetEnabledState(enabled);
    }
}

void EqualizerManager::ApplyChSynchronize(int ch, int group)
{
    if (!ValidChannel(ch)) return;
    SceneProfile& profile = mModel.Current();
    ChannelStripControls& strip = mControls.channels[ch];
    if (strip.synchronize != nullptr) strip.synchronize->SetSelectedState(group != 0, true);
    LogPrintW(L"channel %d synchronize seleted %d\n", ch, group);
    profile.linkSel[ch] = group;
    const uint8_t scene = static_cast<uint8_t>(profile.scene);
    if (group > 0) {
        if (strip.enable != nullptr) strip.enable->SetSelectedState(true);
        // The joining channel's crossover goes out again once per other member.
        for (int i = 0; i < kOutputChannels; ++i) {
            if (i == ch || profile.linkSel[i] != group) continue;
            SendChFilter(ch, 1);
            SendChFilter(ch, 2);
        }
        // The current channel's group takes its EQ bypass.
        const int currentGroup = profile.linkSel[CurrentChannel()];
        if (currentGroup > 0) {
            const uint8_t bypass = profile.channels[CurrentChannel()].bypass;
            for (int i = 0; i < kOutputChannels; ++i) {
                if (profile.linkSel[i] != currentGroup) continue;
                profile.channels[i].bypass = bypass;
                mDevice.PEQ_Bypass_Ctrl(scene, 0, static_cast<uint8_t>(i), static_cast<uint8_t>(i), &bypass, false);
            }
        }
    } else if (strip.enable != nullptr) {
        strip.enable->SetSelectedState(false);
    }
    // A group starts level with every channel's gain as it is: the boxes
    // show whole dB, and reading them back would round every trim.
    if (profile.linkSel[ch] >= 1) {
        for (int i = 0; i < kOutputChannels; ++i) SendChTrim(i);
    }
    UpdateLinkOutputButton();
    SetCurChannelChange(ch);
}

void EqualizerManager::SetChSynchronize(int ch, int group)
{
    const ReachedOperation reached(__func__, ch);
    if (!ValidChannel(ch)) return;
    ApplyChSynchronize(ch, group);
    if (IsBridged(ch)) ApplyChSynchronize(ch ^ 1, group);
}

void EqualizerManager::ApplyChDelayLink(int ch, int group)
{
    if (!ValidChannel(ch)) return;
    // A group read from a file or the unit may be any number.
    const DWORD colour = kGroupColours[group >= 0 && group < kGroupColourCount ? group : 0];
    COptionUI* link = mControls.channels[ch].delayLink;
    if (link != nullptr) {
        link->SetBackgroundColor(colour);
        link->SetForegroundColor(colour);
    }
    LogPrintW(L"channel %d dealy link seleted %d\n", ch, group);
    mModel.Current().delayLinkSel[ch] = group;
    UpdateLinkOutputButton();
    SetCurChannelChange(ch);
}

void EqualizerManager::SetChDelayLink(int ch, int group)
{
    if (!ValidChannel(ch)) return;
    ApplyChDelayLink(ch, group);
    if (IsBridged(ch)) ApplyChDelayLink(ch ^ 1, group);
}

void EqualizerManager::ResetLink()
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"%s\n", L"EqualizerManager::ResetLink");
    const int shown = CurrentChannel();
    for (int ch = 0; ch < kOutputChannels; ++ch) ApplyChSynchronize(ch, 0);
    // Leaving every group is no reason to move the editors to channel 16.
    SetCurChannelChange(shown);
}

void EqualizerManager::UpdateLinkOutputButton()
{
    const SceneProfile& profile = mModel.Current();
    bool grouped = false;
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        if (profile.linkSel[ch] >= 1 || profile.delayLinkSel[ch] > 0) grouped = true;
    }
    if (mControls.linkOutput != nullptr) mControls.linkOutput->SetEnabledState(!grouped);
}

void EqualizerManager::SetSpeakerFocus(int code)
{
    const ReachedOperation reached(__func__, code);
    LogPrintW(L"on %s index %d\n", L"EqualizerManager::SetSpeakerFocus", code);
    if (code < 1 || code > kSpeakerPositions) return;
    CSButtonUI* speaker = mControls.speakers[code - 1].speaker;
    if (speaker != nullptr) speaker->SetSelectedState(true);
    const SceneProfile& profile = mModel.Current();
    const int count = profile.channelCount < kOutputChannels ? profile.channelCount : kOutputChannels;
    for (int ch = 0; ch < count; ++ch) {
        if (profile.outputs[ch] == code) ActivateChannel(ch);
    }
}

void EqualizerManager::SetChDelaySliderHide()
{
    for (ChannelStripControls& strip : mControls.channels) {
        if (strip.delaySlider != nullptr) strip.delaySlider->SetVisibility(false);
        if (strip.delayLabel != nullptr) strip.delayLabel->SetVisibility(true);
    }
}

void EqualizerManager::SetChDelaySliderShow(int ch)
{
    // The shown slider is never hidden on the way: hiding ends its press, and
    // a press on it is what brings it here.
    for (int i = 0; i < kOutputChannels; ++i) {
        ChannelStripControls& strip = mControls.channels[i];
        if (strip.delaySlider != nullptr) strip.delaySlider->SetVisibility(i == ch);
        if (strip.delayLabel != nullptr) strip.delayLabel->SetVisibility(i != ch);
    }
}
