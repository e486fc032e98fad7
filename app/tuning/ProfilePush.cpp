#include "app/tuning/ProfilePush.h"

#include "base/Log.h"
#include "device/DspDevice.h"

namespace {

const uint8_t kLowPassFilter = 1;
const uint8_t kHighPassFilter = 2;
const uint8_t kLastChannel = kOutputChannels - 1;

template <typename Out, typename Field>
void Collect(const SceneProfile& p, Out (&out)[kOutputChannels], Field field)
{
    for (int ch = 0; ch < kOutputChannels; ++ch) out[ch] = static_cast<Out>(field(p.channels[ch]));
}

// Filters and bands of every channel, then the per-channel arrays; the EQ
// bypass only when asked.
bool PushChannels(DspDevice& d, const SceneProfile& p, uint8_t scene, bool withBypass,
                  const std::atomic<bool>& stop)
{
    for (uint8_t ch = 0; ch < kOutputChannels; ++ch) {
        if (stop.load()) return false;
        const CrossoverParams& x = p.channels[ch].crossover;
        d.Filter_Ctrl(scene, 0, ch, kLowPassFilter, static_cast<uint32_t>(x.GetLpFreq()),
                      static_cast<uint8_t>(x.GetLpSlope()), static_cast<uint8_t>(x.GetLpType()), true);
        d.Filter_Ctrl(scene, 0, ch, kHighPassFilter, static_cast<uint32_t>(x.GetHpFreq()),
                      static_cast<uint8_t>(x.GetHpSlope()), static_cast<uint8_t>(x.GetHpType()), true);
        // The file rules keep eqSize at the channel's band count; the bound is for any other source.
        const int bands = p.GetEqSize(ch) < kMaxEqBands ? p.GetEqSize(ch) : kMaxEqBands;
        const EqBand* band = p.GetEqBands(ch);
        for (int b = 0; b < bands && !stop.load(); ++b) {
            d.EQ_Ctrl(scene, 0, ch, static_cast<uint8_t>(b), static_cast<uint32_t>(band[b].freq) & 0xFFFFu,
                      band[b].Q, band[b].gain, true);
        }
    }
    if (stop.load()) return false;
    uint8_t bytes[kOutputChannels];
    float values[kOutputChannels];
    for (int ch = 0; ch < kOutputChannels; ++ch) bytes[ch] = static_cast<uint8_t>(p.outputs[ch]);
    d.CH_Type_Ctrl(scene, 0, 0, kLastChannel, bytes, true);
    Collect(p, values, [](const ChannelParams& c) { return 0.0f - c.gain; });
    d.Trim_Ctrl(scene, 0, 0, kLastChannel, values, true);
    Collect(p, bytes, [](const ChannelParams& c) { return c.mute; });
    d.Mute_Ch_Ctrl(scene, 0, 0, kLastChannel, bytes, true);
    Collect(p, bytes, [](const ChannelParams& c) { return c.phase; });
    d.Phase_Ctrl(scene, 0, 0, kLastChannel, bytes, true);
    Collect(p, bytes, [](const ChannelParams& c) { return c.solo; });
    d.Solo_Ctrl(scene, 0, 0, kLastChannel, bytes, true);
    Collect(p, values, [](const ChannelParams& c) { return c.delay; });
    d.Delay_Ctrl(scene, 0, 0, kLastChannel, values, true);
    if (withBypass) {
        Collect(p, bytes, [](const ChannelParams& c) { return c.bypass; });
        d.PEQ_Bypass_Ctrl(scene, 0, 0, kLastChannel, bytes, true);
    }
    return !stop.load();
}

// The selected source's routing, then the mix rows of every source with
// input channels of its own (0, 2, 4, 5 and 6, in that order).
void PushMix(DspDevice& d, const SceneProfile& p, uint8_t scene, const std::atomic<bool>& stop)
{
    if (p.inputSource >= 0 && p.inputSource < kInputSources) {
        uint32_t masks[kOutputChannels];
        for (int ch = 0; ch < kOutputChannels; ++ch) masks[ch] = static_cast<uint32_t>(p.inputs[p.inputSource][ch]);
        d.Mix_Ch_Ctrl(scene, static_cast<uint8_t>(p.inputSource), 0, kLastChannel, masks, true);
    }
    for (int source = 0; source < kInputSources; ++source) {
        const int inputs = GetInputExtraChannels(source);
        for (int in = 0; in < inputs && in < kInputChannels && !stop.load(); ++in) {
            uint8_t trims[kOutputChannels];
            for (int ch = 0; ch < kOutputChannels; ++ch)
                trims[ch] = static_cast<uint8_t>(p.inputMixVolume[source][in][ch]);
            d.Input_Mix_Trim_Ctrl(scene, static_cast<uint8_t>(source), static_cast<uint8_t>(in), 0, kLastChannel,
                                  trims, true);
        }
    }
}

void PushMainVolume(DspDevice& d, const SceneProfile& p)
{
    d.Main_Volume_Ctrl(6.0f - static_cast<float>(p.mainVolume), true);
    d.Mute_Ctrl(static_cast<uint8_t>(p.mainVolumeMute), true);
}

} // namespace

void PushLiveProfile(DspDevice& device, const SceneProfile& profile, const std::atomic<bool>& stop)
{
    LogPrintW(L"%s\n", L"EqualizerManager::SetReadCurProfileToMCU");
    PushMainVolume(device, profile);
    if (PushChannels(device, profile, 0, true, stop)) PushMix(device, profile, 0, stop);
}

void PushWholeProfile(DspDevice& device, const TuningModel& model, WideToNarrowFn convert,
                      const std::atomic<bool>& stop)
{
    LogPrintW(L"%s\n", L"EqualizerManager::SetReadWholeProfileToMCU");
    for (int k = 0; k < kStoredScenes; ++k) {
        const uint8_t scene = static_cast<uint8_t>(k + 1);
        LogPrintW(L"set scene(%d)\n", scene);
        const SceneProfile& stored = *model.Stored(k);
        if (!PushChannels(device, stored, scene, true, stop)) return;
        PushMix(device, stored, scene, stop);
        UnitSceneName name{};
        // A name the code page cannot hold goes out empty.
        if (!model.ToUnitSceneName(k, name, convert)) LogPrintW(L"scene name %d not converted\n", scene);
        device.SetSceneName(scene, name.data(), kSceneNameBytes);
        device.SaveScene(scene, 1);
        if (stop.load()) return;
    }
    const SceneProfile& live = model.Current();
    PushMainVolume(device, live);
    if (PushChannels(device, live, 0, false, stop)) PushMix(device, live, 0, stop);
}
