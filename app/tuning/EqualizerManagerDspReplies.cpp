#include "app/tuning/EqualizerManager.h"

#include <cwchar>

#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
#include "app/tuning/ControlText.h"
#include "app/windows/MsgWnd.h"
#include "base/Log.h"
#include "device/DspRecords.h"
#include "uilib/control/Button.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"

using namespace SkinUI;

namespace {

enum DspReply {
    kSource = 0x01,
    kMainVolume = 0x02,
    kMainMute = 0x04,
    kFilter = 0x05,
    kEqBand = 0x06,
    kDelay = 0x07,
    kTrim = 0x08,
    kMuteCh = 0x09,
    kPhase = 0x0A,
    kMix = 0x0B,
    kChType = 0x0D,
    kLink = 0x0E,
    kLock = 0x0F,
    kEqBypass = 0x12,
    kInputMixTrim = 0x24,
    kInputThreshold = 0x26,
    kInputNoise = 0x27,
    kSolo = 0x34,
    kHpfQMode = 0x37,
    kLpfQMode = 0x38,
    kFactoryPreset = 0x39,
    kSetupMode = 0x3A,
    kAutoEffect = 0x3B,
    kCompressor = 0x3E,
    kAmpMute = 0x3F,
    kRemOut = 0x45,
    kDspStatus = 0x46,
    kCrossSourceMix = 0x47,
    kCompressorOn = 0x49,
    kCompressor2 = 0x4A,
    kSpeakerOhm = 0x4B,
    kBridge = 0x4C,
    kCrossSourceMixCs = 0x4D,
    kNoiseGate = 0x4E,
};

// Replies that carry their value in lParam; every other one carries a record.
bool IsValueReply(int subcommand)
{
    static const int kValues[] = {0x01, 0x02, 0x03, 0x04, 0x26, 0x32, 0x39, 0x3A, 0x3B, 0x3F, 0x44, 0x46, 0x4B, 0x4E};
    for (int v : kValues)
        if (v == subcommand) return true;
    return false;
}

const int kSourceCodeFirst = 0x51;
const int kFallbackSourceItem = 4;
const int kCrossSourceChannels = 12;
const int kCrossSourceGainOffset = 0x20;

// The unit names a cross-source's second source by its source code (0x51..)
// or by index; the model keeps the index 0-8, 9 for none or anything else.
int SecondSourceIndex(int reported)
{
    if (reported >= kSourceCodeFirst && reported < kSourceCodeFirst + kInputSources) return reported - kSourceCodeFirst;
    return reported >= 0 && reported < kInputSources ? reported : kNoSecondSource;
}

template <class Record>
const Record* As(LPARAM value)
{
    return reinterpret_cast<const Record*>(value);
}

void Select(COptionUI* option, bool selected)
{
    // Silent: a report shows the unit's state and must not be sent back.
    if (option != nullptr) option->SetSelectedState(selected, true);
}

} // namespace

void EqualizerManager::ReadDspValueCallback(int subcommand, LPARAM value)
{
    LogPrintW(L"ReadDspValueCallback 0x%02x\n", subcommand);
    const TypingKept typing(mManager);
    if (IsValueReply(subcommand)) {
        TakeUnitWideValue(subcommand, value);
        return;
    }
    if (value == 0) return;
    // Every record starts with its scene, as an int or a byte.
    int scene = 0;
    switch (subcommand) {
    case kRemOut: case kCrossSourceMix: case kCrossSourceMixCs: case kBridge:
        scene = As<uint8_t>(value)[0];
        break;
    case kInputNoise: case kHpfQMode: case kLpfQMode: case kCompressor: case kCompressor2:
        scene = 0;
        break;
    default:
        scene = As<int32_t>(value)[0];
        break;
    }
    SceneProfile* profile = scene == 0 ? &Current() : mModel.Stored(scene - 1);
    if (profile == nullptr) {
        LogPrintW(L"reply 0x%02x for scene %d dropped\n", subcommand, scene);
    } else {
        const bool live = scene == 0;
        switch (subcommand) {
        case kFilter: TakeFilter(*profile, live, value); break;
        case kEqBand: TakeEqBand(*profile, live, value); break;
        case kDelay: case kTrim: case kMuteCh: case kPhase: case kEqBypass: case kSolo: case kCompressorOn:
            TakeChannelValue(*profile, live, subcommand, value);
            break;
        case kMix: TakeMix(*profile, live, value); break;
        case kChType: TakeOutputType(*profile, live, value); break;
        case kLink: TakeLink(*profile, live, value); break;
        case kLock: TakeLock(*profile, live, value); break;
        case kInputMixTrim: TakeInputMixTrim(*profile, value); break;
        case kCrossSourceMix: case kCrossSourceMixCs: TakeCrossSourceMix(*profile, live, value); break;
        case kInputNoise: {
            const auto* r = As<dsp::DspNoiseRecord>(value);
            for (int ch = r->first; ch <= r->last && ch >= 0 && ch < static_cast<int>(dsp::kRecordChannels); ++ch)
                LogPrintW(L"in_ch(%d): noise = %fdB\n", ch, r->level[ch]);
            break;
        }
        case kHpfQMode: case kLpfQMode: {
            const auto* r = As<dsp::DspQModeRecord>(value);
            for (int ch = r->first; ch <= r->last && ch < static_cast<int>(dsp::kRecordChannels); ++ch)
                LogPrintW(subcommand == kHpfQMode ? L"ch(%d): hpf_q_fact->mode = %d\n" : L"ch(%d): lpf_q_fact->mode = %d\n",
                          ch, r->mode[ch]);
            break;
        }
        case kCompressor: {
            const auto* r = As<dsp::DspCompressorRecord>(value);
            if (!SceneProfile::IsChannel(r->ch)) break;
            CompressorSettings& c = Current().compressorSettings;
            c.mode[r->ch] = r->bypass;
            c.threshold[r->ch] = r->threshold;
            c.value3[r->ch] = r->ratio;
            c.attack[r->ch] = r->attack;
            c.release[r->ch] = r->release;
            c.value6[r->ch] = r->knee;
            break;
        }
        case kCompressor2: {
            const auto* r = As<dsp::DspCompressor2Record>(value);
            if (!SceneProfile::IsChannel(r->ch)) break;
            CompressorSettings& c = Current().compressorSettings;
            c.threshold[r->ch] = r->threshold;
            c.attack[r->ch] = r->attack;
            c.release[r->ch] = r->release;
            break;
        }
        case kRemOut: {
            const auto* r = As<dsp::DspRemoteOutRecord>(value);
            LogPrintW(L"DSP_REM_OUT rem_out1 = %d, rem_out1 = %d\n", r->out1, r->out2);
            ShowRemOut1State(r->out1 != 0);
            ShowRemOut2State(r->out2 != 0);
            break;
        }
        case kBridge: {
            const auto* r = As<dsp::DspBridgeRecord>(value);
            const int count = r->count < kBridgePairs ? r->count : kBridgePairs;
            LogPrintW(L"DSP_OUPUT_BRIDGE bridge count = %d\n", r->count);
            // A stored scene's bridges (whole save) go into its profile only.
            for (int p = 0; p < count; ++p) {
                profile->bridgeOutputs[p] = r->flags[p] != 0;
                if (!live) continue;
                if (mControls.bridges[p].button != nullptr) mControls.bridges[p].button->SetSelectedState(r->flags[p] != 0);
                Select(mControls.bridges[p].checkBox, r->flags[p] != 0);
            }
            break;
        }
        default:
            break;
        }
    }
    dsp::FreeDspRecord(reinterpret_cast<void*>(value));
}

void EqualizerManager::TakeUnitWideValue(int subcommand, LPARAM value)
{
    SceneProfile& profile = Current();
    const int v = static_cast<int>(value);
    switch (subcommand) {
    case kSource: {
        const int item = v >= kSourceCodeFirst && v < kSourceCodeFirst + kInputSources && v != 0x55
                             ? v - kSourceCodeFirst
                             : kFallbackSourceItem;
        profile.inputSource = item;
        SelectQuietly(mControls.inputSource, item);
        for (int ch = 0; ch < kOutputChannels; ++ch) ShowInputRouting(ch);
        break;
    }
    case kMainVolume:
        if (mMainWnd != nullptr) KillTimer(mMainWnd, kMainVolumeTimerId);
        LogPrintW(L"DSP_VOLUME %d \n", v);
        LogPrintW(L"DSP_VOLUME %d \n", v);
        profile.mainVolume = v;
        if (mControls.mainVolumeSlider != nullptr) mControls.mainVolumeSlider->SetValue(v);
        ShowMainVolumeText(v);
        break;
    case kMainMute:
        profile.mainVolumeMute = v;
        Select(mControls.mainMute, v != 0);
        break;
    case kInputThreshold:
        profile.inputThreshold = v;
        break;
    case kFactoryPreset:
        LogPrintW(L"factory preset mode = %d\n", v);
        break;
    case kSetupMode:
        LogPrintW(L"setup_mode mode = %d\n", v);
        break;
    case kAmpMute:
        ShowAmpState(v == 0);
        break;
    case kDspStatus: {
        LogPrintW(L"DSP_DSP_STATUS on_off = %d\n", v);
        DisconnectDevice();
        if (v != 0) break;
        ShowNotice(mMainWnd, L"${dsp_is_off}");
        break;
    }
    case kSpeakerOhm:
        LogPrintW(L"DSP_SPK_OHM spk_ohm = %d\n", v);
        ShowSpkOhmState(v != 0);
        break;
    case kNoiseGate:
        LogPrintW(L"DSP_NOISE_GATE noise_gate = %d\n", v);
        ShowNoiseGateState(v != 0);
        break;
    default:
        break;
    }
}

void EqualizerManager::TakeFilter(SceneProfile& profile, bool live, LPARAM value)
{
    const auto* r = As<dsp::DspFilterRecord>(value);
    if (!SceneProfile::IsChannel(r->ch)) return;
    CrossoverParams& x = profile.channels[r->ch].crossover;
    x.SetHpFreq(r->hpFreq);
    x.SetHpSlope(r->hpSlope < 0 ? 0 : r->hpSlope);
    x.SetHpType(r->hpType);
    x.SetLpFreq(r->lpFreq);
    x.SetLpSlope(r->lpSlope < 0 ? 0 : r->lpSlope);
    x.SetLpType(r->lpType);
    if (live && r->ch == CurrentChannel()) SetFreqDivider(r->ch);
}

void EqualizerManager::TakeEqBand(SceneProfile& profile, bool live, LPARAM value)
{
    const auto* r = As<dsp::DspEqBandRecord>(value);
    if (!SceneProfile::IsChannel(r->ch)) return;
    if (r->band < 0 || r->band >= profile.GetEqSize(r->ch)) {
        LogPrintW(L"EQ report ch %d band %d out of range, dropped\n", r->ch, r->band);
        return;
    }
    EqBand& band = profile.GetEqBands(r->ch)[r->band];
    band.gain = r->gain;
    band.Q = r->q;
    band.freq = r->freq;
    if (!live) return;
    band.enable = 1;
    if (r->ch == CurrentChannel()) ShowEqBandRow(r->ch, r->band);
}

void EqualizerManager::TakeChannelValue(SceneProfile& profile, bool live, int subcommand, LPARAM value)
{
    const int ch = As<int32_t>(value)[1];
    if (!SceneProfile::IsChannel(ch)) return;
    ChannelParams& params = profile.channels[ch];
    switch (subcommand) {
    case kDelay: {
        const float delay = As<dsp::DspDelayRecord>(value)->delayMs;
        params.delay = delay;
        if (!live) return;
        LogPrintW(L"update UI ch_delay->ch = %d, Delay %.3f\n", ch, delay);
        // In the unit the user chose, as every delay the program writes.
        ShowChDelayText(ch, delay);
        SetChDelaySliderValue(ch, delay * 1000.0f);
        ShowSpeakerDelay(ch);
        return;
    }
    case kTrim: {
        const float trim = As<dsp::DspTrimRecord>(value)->trimDb;
        if (!live) {
            params.gain = trim;
            return;
        }
        // The slider holds tenths of a dB and bounds what is kept.
        float tenths = trim * 10.0f;
        CSliderUI* slider = GetVolumeSlider(ch);
        CSliderUI* range = slider != nullptr ? slider : GetFirstVolumeSlider();
        if (range != nullptr) {
            if (tenths < range->GetMinValue()) tenths = static_cast<float>(range->GetMinValue());
            if (tenths > range->GetMaxValue()) tenths = static_cast<float>(range->GetMaxValue());
        }
        SetChVolumeSliderValue(ch, tenths);
        params.gain = tenths * 0.1f;
        ShowChVolumeText(ch, tenths);
        return;
    }
    case kMuteCh:
        params.mute = As<dsp::DspChValueRecord>(value)->value;
        if (live) Select(GetMuteButton(ch), params.mute != 0);
        return;
    case kPhase:
        params.phase = static_cast<int8_t>(As<dsp::DspChByteRecord>(value)->value);
        if (!live) return;
        Select(GetPhaseButton(ch), params.phase != 0);
        LogPrintW(L"channel %d phase seleted %d\n", ch, params.phase);
        return;
    case kSolo:
        params.solo = As<dsp::DspChValueRecord>(value)->value;
        if (!live) return;
        Select(GetSoloButton(ch), params.solo != 0);
        LogPrintW(L"channel %d solo seleted %d\n", ch, params.solo);
        return;
    case kEqBypass:
        params.bypass = static_cast<uint8_t>(As<dsp::DspChValueRecord>(value)->value);
        if (live && ch == CurrentChannel() && mControls.bypass != nullptr)
            mControls.bypass->SetTextContent(params.bypass == 0 ? L"${bypass_eq}" : L"${restore_eq}");
        return;
    case kCompressorOn:
        params.compressorFlag = As<dsp::DspChValueRecord>(value)->value != 0;
        return;
    default:
        return;
    }
}

void EqualizerManager::TakeMix(SceneProfile& profile, bool live, LPARAM value)
{
    const auto* r = As<dsp::DspMixRecord>(value);
    LogPrintW(L"set mix source = %d, ch = %d, mix_in = 0x%x\n", r->source, r->ch, r->mask);
    if (!SceneProfile::IsChannel(r->ch) || r->source < 0 || r->source >= kInputSources) return;
    profile.inputs[r->source][r->ch] = static_cast<int32_t>(r->mask);
    if (live && r->source == profile.inputSource) {
        for (int i = 0; i < kRoutedInputs; ++i) Select(mControls.channels[r->ch].inputs[i], (r->mask >> i & 1) != 0);
    }
}

void EqualizerManager::TakeOutputType(SceneProfile& profile, bool live, LPARAM value)
{
    const auto* r = As<dsp::DspChValueRecord>(value);
    LogPrintW(L"DSP_CH_TYPE ch(%d), type(%d)\n", r->ch, r->value);
    if (!SceneProfile::IsChannel(r->ch) || r->value < 0 || r->value >= kOutputCodeCount) return;
    profile.outputs[r->ch] = r->value;
    profile.outputs_bk[r->ch] = r->value;
    if (live) ShowSpeakerPositions();
}

void EqualizerManager::TakeLink(SceneProfile& profile, bool live, LPARAM value)
{
    const bool on = As<dsp::DspLinkRecord>(value)->mode == 1;
    profile.linkMode = on;
    if (!live) return;
    ShowLinkButton(on);
    profile.linkOutputs.fill(-1);
    EnableGroupButtons(!on);
    if (on) {
        profile.lockMode = 1;
        if (mControls.lockOutput != nullptr) mControls.lockOutput->SetSelectedState(true);
        EnableOutputButtons(false);
        LinkPairedOutputs(profile);
    }
    if (CSButtonUI* shown = mControls.channels[CurrentChannel()].enable) shown->ActivateControl();
}

void EqualizerManager::TakeLock(SceneProfile& profile, bool live, LPARAM value)
{
    const bool locked = As<dsp::DspLockRecord>(value)->lock == 1;
    profile.lockMode = locked;
    if (!live) return;
    if (mControls.lockOutput != nullptr) mControls.lockOutput->SetSelectedState(locked);
    for (ChannelStripControls& s : mControls.channels)
        if (s.outputButton != nullptr) s.outputButton->SetEnabledState(!locked);
    if (locked || profile.linkMode != 1) return;
    profile.linkMode = 0;
    profile.linkOutputs.fill(-1);
    ShowLinkButton(false);
    mDevice.CH_Link_Ctrl(0, 0, 0, nullptr, false);
    if (CSButtonUI* shown = mControls.channels[CurrentChannel()].enable) shown->ActivateControl();
}

void EqualizerManager::TakeInputMixTrim(SceneProfile& profile, LPARAM value)
{
    const auto* r = As<dsp::DspInputMixTrimRecord>(value);
    LogPrintW(L"DSP_INPUT_MIX_CH_TRIM source %d, in_ch %d out_ch_x %d, out_ch_y %d\n", r->source, r->inputCh,
              r->first, r->last);
    if (r->source < 0 || r->source >= kInputSources || r->inputCh < 0 || r->inputCh >= kInputChannels) return;
    for (int out = r->first; out <= r->last; ++out) {
        const int item = out - r->first;
        if (!SceneProfile::IsChannel(out) || item >= static_cast<int>(dsp::kRecordChannels)) break;
        int trim = r->trim[item];
        // A routed input is never silent in the mixer.
        if (trim <= 0 && (profile.inputs[r->source][out] >> r->inputCh & 1) != 0) trim = 100;
        profile.inputMixVolume[r->source][r->inputCh][out] = trim;
    }
}

void EqualizerManager::TakeCrossSourceMix(SceneProfile& profile, bool /*live*/, LPARAM value)
{
    const auto* r = As<dsp::DspCrossSourceMixRecord>(value);
    LogPrintW(L"set cross source mix, source = %d, ch = %d, with source = %d, ch = %d, gain = %d\n", r->source, r->ch,
              r->viceSource, r->viceCh, r->gain);
    if (r->ch >= kCrossSourceChannels || r->source >= kInputSources) return;
    CrossSourceMix& mix = profile.crossSourceMix;
    mix.source[r->source][r->ch] = SecondSourceIndex(r->viceSource);
    mix.channel[r->source][r->ch] = r->viceCh;
    mix.gain[r->source][r->ch] = r->gain - kCrossSourceGainOffset;
}

void EqualizerManager::UpdateAllVolumeEdit()
{
    LogPrintW(L"%s\n", L"EqualizerManager::UpdateAllVolumeEdit");
    const int volume = Current().mainVolume;
    LogPrintW(L"on main volume edit change to %d dB\n", volume);
    if (mControls.mainVolumeSlider != nullptr) mControls.mainVolumeSlider->SetValue(volume);
    ShowMainVolumeText(volume);
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        LogPrintW(L"on ch volume edit change to %d dB\n", static_cast<int>(Current().channels[ch].gain));
        ShowChVolumeText(ch, Current().channels[ch].gain * 10.0f);
        ShowChDelayText(ch, Current().channels[ch].delay);
    }
    ShowAccText(Current().acc);
}
