#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
#include "app/windows/MixerWnd.h"
#include "app/windows/MsgCheckBoxWnd.h"
#include "app/windows/MsgWnd.h"
#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "uilib/control/Option.h"

using namespace SkinUI;

namespace {

const int kBridgeWaitPolls = 100;  // 10 s
const int kResetWaitPolls = 600;   // 60 s
const uint32_t kPollMs = 100;

bool ValidPair(int pair)
{
    return pair >= 0 && pair < kBridgePairs;
}

} // namespace

void EqualizerManager::ShowLockButton(bool locked)
{
    if (mControls.lockOutput != nullptr) mControls.lockOutput->SetSelectedState(locked);
}

void EqualizerManager::ShowLinkButton(bool linked)
{
    if (mControls.linkOutput != nullptr) mControls.linkOutput->SetSelectedState(linked);
}

void EqualizerManager::DropLink()
{
    SceneProfile& profile = mModel.Current();
    profile.linkMode = 0;
    profile.linkOutputs.fill(-1);
    ShowLinkButton(false);
    mDevice.CH_Link_Ctrl(0, 0, 0, nullptr, false);
}

// ---- Lock ----

void EqualizerManager::SetOutpuLock()
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"on %s\n", L"EqualizerManager::SetOutpuLock");
    SceneProfile& profile = mModel.Current();
    const bool wasLocked = profile.lockMode == 1;
    const bool confirmed =
        ShowMsgBox(mMainWnd, L"${tips}", wasLocked ? L"${unlock_output_tips}" : L"${lock_output_tips}") == 1;
    // A refused question keeps the state the button had.
    const bool locked = wasLocked != confirmed;
    profile.lockMode = locked ? 1 : 0;
    ShowLockButton(locked);
    if (!locked) EnableGroupButtons(true);
    EnableOutputButtons(!locked);
    if (locked) {
        mDevice.CH_Lock_Ctrl(0, 1, false);
        return;
    }
    if (profile.linkMode == 1) DropLink();
    ActivateChannel(CurrentChannel());
    mDevice.CH_Lock_Ctrl(0, 0, false);
}

// ---- Left/right link ----

// 0 cancelled, 1 left to right, 2 right to left.
int EqualizerManager::AskLinkDirection()
{
    return AskDestructiveChoice(mMainWnd, L"${tips}", L"${link_tips}", L"${copy_left_to_right}",
                                L"${copy_right_to_left}");
}

void EqualizerManager::SetOutputLink()
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"on %s\n", L"EqualizerManager::SetOutputLink");
    SceneProfile& profile = mModel.Current();
    // Unlinking never depends on the pairs the outputs hold now: a link whose
    // outputs changed since must still be releasable.
    if (profile.linkMode == 1) {
        EnableGroupButtons(true);
        profile.linkMode = 0;
        ShowLinkButton(false);
        profile.linkOutputs.fill(-1);
        profile.lockMode = 0;
        ShowLockButton(false);
        mDevice.CH_Lock_Ctrl(0, 0, false);
        EnableOutputButtons(true);
        FinishLink(nullptr, 0);
        return;
    }
    if (!profile.HasPairOnSameSide()) {
        ShowLinkButton(false);
        profile.linkMode = 0;
        mDevice.CH_Link_Ctrl(0, 0, 0, nullptr, false);
        ShowNotice(mMainWnd, L"${not_linkable_tips}");
        return;
    }
    const int direction = AskLinkDirection();
    if (direction != 1 && direction != 2) {
        ShowLinkButton(false);
        return;
    }
    EnableGroupButtons(false);
    LogPrintW(L"CMsgCheckBoxWnd %d\n", direction);
    profile.linkMode = 1;
    ShowLinkButton(true);
    profile.lockMode = 1;
    ShowLockButton(true);
    mDevice.CH_Lock_Ctrl(0, 1, false);
    EnableOutputButtons(false);

    uint8_t pairs[kOutputChannels * 2];
    int pairCount = 0;
    LinkPairs(direction, pairs, &pairCount);
    const int current = CurrentChannel();
    SetChVolumeSliderValue(current, profile.channels[current].gain * 10.0f);
    SetChDelaySlider(current);
    if (CSButtonUI* enable = mControls.channels[current].enable) enable->TakeFocus();
    FinishLink(pairs, pairCount);
}

// Each pair's source side (by the chosen direction) is copied to its partner
// and sends its gain, which the partner follows.
void EqualizerManager::LinkPairs(int direction, uint8_t* pairs, int* pairCount)
{
    SceneProfile& profile = mModel.Current();
    LinkPairedOutputs(profile);
    for (int i = 0; i < kOutputChannels; ++i) {
        const int j = profile.linkOutputs[i];
        if (j < 0) continue;
        const bool from = direction == 1 ? profile.outputs[i] < profile.outputs[j] : profile.outputs[i] > profile.outputs[j];
        if (!from) continue;
        profile.CopyOutConfig(i, j);
        // The copy's strip shows its new delay: the link then takes nothing
        // stale from its slider.
        ShowChDelayText(j, profile.channels[j].delay);
        SetChDelaySliderValue(j, profile.channels[j].delay * 1000.0f);
        pairs[2 * *pairCount] = static_cast<uint8_t>(i);
        pairs[2 * *pairCount + 1] = static_cast<uint8_t>(j);
        ++*pairCount;
        SetChVolumeSlider(i, false, true);
        // The copy's curve is drawn from its new settings.
        ComputeChannelCurve(j, profile.channels[j].bypass == 1);
    }
}

void EqualizerManager::FinishLink(const uint8_t* pairs, int pairCount)
{
    SceneProfile& profile = mModel.Current();
    ActivateChannel(CurrentChannel());
    const int solo = profile.soloChannel;
    if (SceneProfile::IsChannel(solo)) ApplyChSolo(solo, profile.channels[solo].solo != 0);
    mDevice.CH_Link_Ctrl(0, profile.linkMode == 1 ? 1 : 0, static_cast<uint8_t>(pairCount), pairs, false);
}

// ---- Bridge ----

void EqualizerManager::SwitchBridge(int pair)
{
    const ReachedOperation reached(__func__, pair);
    if (!ValidPair(pair)) return;
    CSButtonUI* button = mControls.bridges[pair].button;
    SetBridge(pair, button == nullptr || !button->IsSelected(), true, true);
}

void EqualizerManager::SwitchBridgeCheckBox(int pair)
{
    const ReachedOperation reached(__func__, pair);
    if (!ValidPair(pair)) return;
    COptionUI* box = mControls.bridges[pair].checkBox;
    SetBridge(pair, box != nullptr && !box->IsSelected(), true, true);
}

void EqualizerManager::SendBridges()
{
    const SceneProfile& profile = mModel.Current();
    std::array<uint32_t, kBridgePairs> flags = profile.BridgeFlags();
    mDevice.Output_Bridge_Ctrl(static_cast<uint8_t>(profile.scene), 0, kBridgePairs, flags.data(), false);
}

void EqualizerManager::SetBridge(int pair, bool on, bool apply, bool threaded)
{
    if (!ValidPair(pair)) return;
    SceneProfile& profile = mModel.Current();
    BridgeControls& controls = mControls.bridges[pair];
    // A skin without a bridge control for the pair offers no bridging; the
    // open mixer's bridge buttons count as the pair's controls too.
    const CMixerWnd* mixer = CMixerWnd::Current();
    const bool inMixer = mixer != nullptr && mixer->HasBridgeButton(pair);
    if (controls.button == nullptr && controls.checkBox == nullptr && !inMixer) {
        profile.bridgeOutputs[pair] = 0;
        return;
    }
    if (!threaded || !apply) {
        ShowBridge(pair, on, apply);
        return;
    }
    RunOutputJob(L"set bridge thread start!\n", kBridgeWaitPolls, [=] { ShowBridge(pair, on, apply); });
}

void EqualizerManager::ShowBridge(int pair, bool on, bool apply)
{
    BridgeControls& controls = mControls.bridges[pair];
    mModel.Current().bridgeOutputs[pair] = on ? 1 : 0;
    if (controls.button != nullptr) controls.button->SetSelectedState(on);
    if (!apply && controls.checkBox != nullptr) controls.checkBox->SetSelectedState(on, false);
    SendBridges();
    if (apply) ApplyBridge(pair, on);
}

void EqualizerManager::SendChFilter(int ch, int iFilter)
{
    const SceneProfile& profile = mModel.Current();
    const FilterParams& f = iFilter == 1 ? profile.channels[ch].crossover.lp : profile.channels[ch].crossover.hp;
    mDevice.Filter_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(iFilter),
                        static_cast<uint32_t>(f.fs), static_cast<uint8_t>(f.slope), static_cast<uint8_t>(f.type), false);
}

void EqualizerManager::SendChannelAll(int ch)
{
    const SceneProfile& profile = mModel.Current();
    const ChannelParams& channel = profile.channels[ch];
    const uint8_t scene = static_cast<uint8_t>(profile.scene);
    const int count = profile.GetEqSize(ch) < kMaxEqBands ? profile.GetEqSize(ch) : kMaxEqBands;
    for (int b = 0; b < count; ++b) {
        const EqBand& band = channel.bands[b];
        // A band switched off on the source stays silent on the copy.
        const float gain = band.enable != 0 ? band.gain : 0.0f;
        mDevice.EQ_Ctrl(scene, 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(b), static_cast<uint32_t>(band.freq),
                        band.Q, gain, false);
    }
    SendChFilter(ch, 1);
    SendChFilter(ch, 2);
    const uint8_t bypass = channel.bypass;
    mDevice.PEQ_Bypass_Ctrl(scene, 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(ch), &bypass, false);
}

void EqualizerManager::SendMixTrims(int ch)
{
    const SceneProfile& profile = mModel.Current();
    for (int source = 0; source < kInputSources; ++source) {
        for (int input = 0; input < kRoutedInputs; ++input) {
            const uint8_t trim = static_cast<uint8_t>(profile.inputMixVolume[source][input][ch]);
            mDevice.Input_Mix_Trim_Ctrl(0, static_cast<uint8_t>(source), static_cast<uint8_t>(input),
                                        static_cast<uint8_t>(ch), static_cast<uint8_t>(ch), &trim, false);
        }
    }
}

void EqualizerManager::ApplyBridge(int pair, bool on)
{
    const int a = 2 * pair;
    const int b = a + 1;
    SceneProfile& profile = mModel.Current();
    ChannelParams& source = profile.channels[a];
    ChannelParams& twin = profile.channels[b];
    if (on) {
        profile.CopyOutConfig(a, b);
        twin.delay = source.delay;
        twin.gain = source.gain;
        SendChannelAll(b);
        if (profile.showOutChEqualizer[b] != 0) UpdateEqualizer(-1);
        ShowChVolumeText(b, twin.gain * 10.0f);
        SetChVolumeSliderValue(b, twin.gain * 10.0f);
        SendChTrim(b);
        StoreChDelay(b, source.delay);
        profile.CopyMixConfig(a, b);
        SendMixTrims(b);
        if (const wchar_t* item = GetOutputItemName(profile.outputs[a])) SetOutputValue(b, item, 1);
        // Both halves of a bridged amplifier run one filter: the speaker's
        // default crossover the assignment set is replaced by the source's.
        twin.crossover = source.crossover;
        SendChFilter(b, 2);
        SendChFilter(b, 1);
        ApplyChPhase(b, source.phase != 0);
        ApplyChSolo(b, source.solo != 0);
        ApplyChMute(b, source.mute != 0);
        ApplyChSynchronize(b, profile.linkSel[a]);
        return;
    }
    if (mControls.bridges[pair].button != nullptr) mControls.bridges[pair].button->SetSelectedState(false);
    if (mControls.bridges[pair].checkBox != nullptr) mControls.bridges[pair].checkBox->SetSelectedState(false, false);
    SetOutputValue(a, GetOutputItemName(0), 0);
    SetOutputValue(b, GetOutputItemName(0), 0);
    ApplyChPhase(a, false);
    ApplyChPhase(b, false);
    profile.ClearMixConfig(a);
    profile.ClearMixConfig(b);
    SendMixTrims(a);
    SendMixTrims(b);
    const int solo = profile.soloChannel;
    if (SceneProfile::IsChannel(solo)) ApplyChSolo(solo, profile.channels[solo].solo != 0);
}

// ---- Output reset ----

void EqualizerManager::SetOutputReset()
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"on %s\n", L"EqualizerManager::SetOutputReset");
    const wchar_t* captions[CMsgWnd::kMaxButtons] = {L"${default}", L"${cancel}", L"${emptied}"};
    const int answer =
        AskDestructive(mMainWnd, L"${tips}", L"${empty_output_tips}", captions, CMsgWnd::kMaxButtons);
    if (answer != kResetDefault && answer != kResetEmptied) return;
    RunOutputJob(L"reset output thread start!\n", kResetWaitPolls, [=] { ResetOutputs(answer); });
}

void EqualizerManager::ResetOutputs(int answer)
{
    SceneProfile& profile = mModel.Current();
    // Only bridged pairs are separated: separating a pair empties its
    // channels' routing, which would silence every output.
    bool anyBridged = false;
    for (int p = 0; p < kBridgePairs; ++p) {
        if (profile.bridgeOutputs[p] == 0) continue;
        anyBridged = true;
        SetBridge(p, false, true, false);
    }
    if (!anyBridged) SendBridges();
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        const int code = answer == kResetDefault ? DefaultOutputCode(profile.channelCount, ch) : 0;
        if (code >= 0) SetOutputValue(ch, GetOutputItemName(code), 0);
    }
    profile.lockMode = 0;
    ShowLockButton(false);
    mDevice.CH_Lock_Ctrl(0, 0, false);
    EnableOutputButtons(true);
    DropLink();
    // The link disabled the group buttons; without it they take clicks again.
    EnableGroupButtons(true);
    float attenuations[kOutputChannels];
    for (int ch = 0; ch < kOutputChannels; ++ch) attenuations[ch] = 0.0f - profile.channels[ch].gain;
    mDevice.Trim_Ctrl(static_cast<uint8_t>(profile.scene), 0, 0, kOutputChannels - 1, attenuations, false);
    ActivateChannel(0);
}

// ---- The job's waiter ----

void EqualizerManager::RunOutputJob(const wchar_t* startLog, int maxPolls, const std::function<void()>& queue)
{
    // Without a link nothing is sent, nor waited for, nor told.
    if (WithoutLink(JobKind::Outputs) == Offline::ModelOnly) {
        queue();
        return;
    }
    // A waiter still finishing its last poll is let go first.
    mOutputJobWaiter.Join();
    mOutputJobLog = startLog;
    mOutputJobPolls = maxPolls;
    mOutputJobStop.store(false);
    mOutputJobSilentBefore = mDevice.SilentExchanges();
    mOutputJobQueuedBefore = mDevice.QueuedCommands();
    mOutputJobAnsweredBefore = mDevice.AnsweredExchanges();
    mOutputJobLink = mDevice.LinkSerial();
    // Queued once its loading window was posted; the waiter starts after.
    mOutputJobReport = JobReport();
    mOutputJobReport.kind = JobKind::Outputs;
    mOutputJobReport.busy = BeginBusy();
    queue();
    StartLinkJob(false, mOutputJobWaiter, mOutputJobRunning, mOutputJobReport);
}

void EqualizerManager::OutputJobWaitThread(void* self)
{
    static_cast<EqualizerManager*>(self)->RunOutputJobWait();
}

// Only waits and posts: the job's commands were queued on the UI thread.
void EqualizerManager::RunOutputJobWait()
{
    LogPrintW(L"%s", mOutputJobLog);
    // Beyond the job's own time, room for one command's whole wait: a unit
    // that lets it pass is silent, and the device drops the rest of the job;
    // one that answers slowly is left to finish.
    const uint32_t boundMs = static_cast<uint32_t>(mOutputJobPolls) * kPollMs + ScaledWait(DspDevice::kReplyWaitMs);
    for (uint32_t waited = 0; waited < boundMs && !mOutputJobStop.load() && !mDevice.IsQueueIdle(); waited += kPollMs)
        Sleep(kPollMs);
    // Taken only when the job queued commands and the unit answered each;
    // a change queued before the job tells its own end.
    JobReport report = mOutputJobReport;
    report.unanswered = static_cast<int32_t>(mDevice.LastQueueMiss() - mOutputJobQueuedBefore) > 0;
    report.taken = mDevice.IsQueueIdle() && !report.unanswered && mDevice.QueuedCommands() != mOutputJobQueuedBefore;
    report.untouched = mDevice.AnsweredExchanges() == mOutputJobAnsweredBefore;
    report.silent = mDevice.SilentExchanges() != mOutputJobSilentBefore;
    EndLinkJob(mOutputJobLink, report, mOutputJobRunning);
}
