#include "app/tuning/EqualizerManager.h"

#include "app/controls/SButtonUI.h"
#include "base/Log.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"

using namespace SkinUI;

namespace {

// Silent: the display follows the model, nothing is clicked.
void Select(COptionUI* option, bool on)
{
    if (option != nullptr) option->SetSelectedState(on, true);
}

} // namespace

// Shows what the live profile holds. It only shows: the unit already has
// these values, so no channel operation runs that would change the model on
// the way (solo exclusivity, bridge followers) or make another channel
// current; the file's current channel is made current last.
void EqualizerManager::RefreshFromProfile()
{
    LogPrintW(L"%s\n", L"EqualizerManager::RefreshFromProfile");
    SceneProfile& p = Current();
    if (!SceneProfile::IsChannel(p.currOutChannel)) p.currOutChannel = 0;
    const int current = p.currOutChannel;

    if (mControls.mainVolumeSlider != nullptr) mControls.mainVolumeSlider->SetValue(p.mainVolume);
    Select(mControls.mainMute, p.mainVolumeMute != 0);
    ShowMainVolumeText(p.mainVolume);

    ShowSpeakerPositions();
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        const ChannelParams& c = p.channels[ch];
        SetChVolumeSliderValue(ch, c.gain * 10.0f);
        ShowChVolumeText(ch, c.gain * 10.0f);
        Select(GetMuteButton(ch), c.mute != 0);
        Select(GetSoloButton(ch), c.solo != 0);
        if (COptionUI* phase = GetPhaseButton(ch)) {
            phase->SetSelectedState(c.phase != 0, true);
            phase->SetTextContent(c.phase != 0 ? L"${reverse phase}" : L"${positive_phase}");
        }
        ShowChDelayText(ch, c.delay);
        SetChDelaySliderValue(ch, c.delay * 1000.0f);
        ShowInputRouting(ch);
        Select(mControls.channels[ch].synchronize, p.linkSel[ch] != 0);
    }
    ShowLinkAndLock();
    for (int pair = 0; pair < kBridgePairs; ++pair) {
        const bool on = p.bridgeOutputs[pair] != 0;
        if (mControls.bridges[pair].button != nullptr) mControls.bridges[pair].button->SetSelectedState(on);
        Select(mControls.bridges[pair].checkBox, on);
    }
    for (int ch = 0; ch < kOutputChannels; ++ch) ComputeChannelCurve(ch, p.channels[ch].bypass == 1);
    SetFreqDivider(current);
    ShowEqBandRows(current);
    SetCurChannelChange(current);
}

// A linked profile is locked and its outputs follow their left/right
// partners; otherwise the lock alone decides whether outputs can be changed.
void EqualizerManager::ShowLinkAndLock()
{
    SceneProfile& p = Current();
    const bool linked = p.linkMode != 0;
    if (mControls.linkOutput != nullptr) mControls.linkOutput->SetSelectedState(linked);
    if (linked) {
        p.lockMode = 1;
        LinkPairedOutputs(p);
    } else {
        p.linkOutputs.fill(-1);
    }
    if (mControls.lockOutput != nullptr) mControls.lockOutput->SetSelectedState(p.lockMode != 0);
    EnableOutputButtons(p.lockMode == 0);
    // Groups are closed to a linked profile only, whatever an earlier link left.
    EnableGroupButtons(!linked);
}
