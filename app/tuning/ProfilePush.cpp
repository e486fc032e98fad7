#include "app/tuning/ProfilePush.h"

#include "app/tuning/UnitExchanges.h"
#include "base/Log.h"
#include "device/DspDevice.h"

namespace {

const uint8_t kLowPassFilter = 1;
const uint8_t kHighPassFilter = 2;
const uint8_t kLastChannel = kOutputChannels - 1;
PushOutcome Outcome(const UnitExchanges& s)
{
    if (s.Stopped()) return PushOutcome::Stopped;
    if (s.Silent()) return PushOutcome::Unanswered;
    return s.MissedAny() ? PushOutcome::Sent : PushOutcome::Taken;
}

template <typename Out, typename Field>
void Collect(const SceneProfile& p, Out (&out)[kOutputChannels], Field field)
{
    for (int ch = 0; ch < kOutputChannels; ++ch) out[ch] = static_cast<Out>(field(p.channels[ch]));
}

bool PushChannelFilters(UnitExchanges& s, const SceneProfile& p, uint8_t scene, uint8_t ch)
{
    const CrossoverParams& x = p.channels[ch].crossover;
    if (!s.Run([&](DspDevice& d) {
            d.Filter_Ctrl(scene, 0, ch, kLowPassFilter, static_cast<uint32_t>(x.GetLpFreq()),
                          static_cast<uint8_t>(x.GetLpSlope()), static_cast<uint8_t>(x.GetLpType()), true);
        }) ||
        !s.Run([&](DspDevice& d) {
            d.Filter_Ctrl(scene, 0, ch, kHighPassFilter, static_cast<uint32_t>(x.GetHpFreq()),
                          static_cast<uint8_t>(x.GetHpSlope()), static_cast<uint8_t>(x.GetHpType()), true);
        }))
        return false;
    // The file rules keep eqSize at the channel's band count; the bound is for any other source.
    const int bands = p.GetEqSize(ch) < kMaxEqBands ? p.GetEqSize(ch) : kMaxEqBands;
    const EqBand* band = p.GetEqBands(ch);
    for (int b = 0; b < bands; ++b) {
        const bool goesOn = s.Run([&](DspDevice& d) {
            d.EQ_Ctrl(scene, 0, ch, static_cast<uint8_t>(b), static_cast<uint32_t>(band[b].freq) & 0xFFFFu,
                      band[b].Q, band[b].gain, true);
        });
        if (!goesOn) return false;
    }
    return true;
}

// Filters and bands of every channel, then the per-channel arrays (the EQ
// bypass only when asked) and the bridged pairs.
bool PushChannels(UnitExchanges& s, const SceneProfile& p, uint8_t scene, bool withBypass)
{
    for (uint8_t ch = 0; ch < kOutputChannels; ++ch)
        if (!PushChannelFilters(s, p, scene, ch)) return false;
    uint8_t types[kOutputChannels], mute[kOutputChannels], phase[kOutputChannels], solo[kOutputChannels],
        bypass[kOutputChannels];
    float trims[kOutputChannels], delays[kOutputChannels];
    for (int ch = 0; ch < kOutputChannels; ++ch) types[ch] = static_cast<uint8_t>(p.outputs[ch]);
    Collect(p, trims, [](const ChannelParams& c) { return 0.0f - c.gain; });
    Collect(p, mute, [](const ChannelParams& c) { return c.mute; });
    Collect(p, phase, [](const ChannelParams& c) { return c.phase; });
    Collect(p, solo, [](const ChannelParams& c) { return c.solo; });
    Collect(p, delays, [](const ChannelParams& c) { return c.delay; });
    Collect(p, bypass, [](const ChannelParams& c) { return c.bypass; });
    std::array<uint32_t, kBridgePairs> bridges = p.BridgeFlags();
    return s.Run([&](DspDevice& d) { d.CH_Type_Ctrl(scene, 0, 0, kLastChannel, types, true); }) &&
           s.Run([&](DspDevice& d) { d.Trim_Ctrl(scene, 0, 0, kLastChannel, trims, true); }) &&
           s.Run([&](DspDevice& d) { d.Mute_Ch_Ctrl(scene, 0, 0, kLastChannel, mute, true); }) &&
           s.Run([&](DspDevice& d) { d.Phase_Ctrl(scene, 0, 0, kLastChannel, phase, true); }) &&
           s.Run([&](DspDevice& d) { d.Solo_Ctrl(scene, 0, 0, kLastChannel, solo, true); }) &&
           s.Run([&](DspDevice& d) { d.Delay_Ctrl(scene, 0, 0, kLastChannel, delays, true); }) &&
           (!withBypass || s.Run([&](DspDevice& d) { d.PEQ_Bypass_Ctrl(scene, 0, 0, kLastChannel, bypass, true); })) &&
           s.Run([&](DspDevice& d) { d.Output_Bridge_Ctrl(scene, 0, kBridgePairs, bridges.data(), true); });
}

// The selected source's routing, then the mix rows of every source with
// input channels of its own (0, 2, 4, 5 and 6, in that order).
bool PushMix(UnitExchanges& s, const SceneProfile& p, uint8_t scene)
{
    if (p.inputSource >= 0 && p.inputSource < kInputSources) {
        uint32_t masks[kOutputChannels];
        for (int ch = 0; ch < kOutputChannels; ++ch) masks[ch] = static_cast<uint32_t>(p.inputs[p.inputSource][ch]);
        const uint8_t source = static_cast<uint8_t>(p.inputSource);
        if (!s.Run([&](DspDevice& d) { d.Mix_Ch_Ctrl(scene, source, 0, kLastChannel, masks, true); })) return false;
    }
    for (uint8_t source = 0; source < kInputSources; ++source) {
        const int inputs = GetInputExtraChannels(source);
        for (uint8_t in = 0; in < inputs && in < kInputChannels; ++in) {
            uint8_t trims[kOutputChannels];
            for (int ch = 0; ch < kOutputChannels; ++ch)
                trims[ch] = static_cast<uint8_t>(p.inputMixVolume[source][in][ch]);
            const bool goesOn = s.Run(
                [&](DspDevice& d) { d.Input_Mix_Trim_Ctrl(scene, source, in, 0, kLastChannel, trims, true); });
            if (!goesOn) return false;
        }
    }
    return true;
}

bool PushMainVolume(UnitExchanges& s, const SceneProfile& p)
{
    return s.Run([&](DspDevice& d) { d.Main_Volume_Ctrl(6.0f - static_cast<float>(p.mainVolume), true); }) &&
           s.Run([&](DspDevice& d) { d.Mute_Ctrl(static_cast<uint8_t>(p.mainVolumeMute), true); });
}

} // namespace

PushOutcome PushLiveProfile(DspDevice& device, const SceneProfile& profile, const std::atomic<bool>& stop,
                            uint32_t link)
{
    LogPrintW(L"%s\n", L"EqualizerManager::SetReadCurProfileToMCU");
    UnitExchanges s(device, stop, link);
    (void)(PushMainVolume(s, profile) && PushChannels(s, profile, 0, true) && PushMix(s, profile, 0));
    return Outcome(s);
}

PushOutcome PushWholeProfile(DspDevice& device, const TuningModel& model, WideToNarrowFn convert,
                             const std::atomic<bool>& stop, uint32_t link)
{
    LogPrintW(L"%s\n", L"EqualizerManager::SetReadWholeProfileToMCU");
    UnitExchanges s(device, stop, link);
    for (int k = 0; k < kStoredScenes; ++k) {
        const uint8_t scene = static_cast<uint8_t>(k + 1);
        LogPrintW(L"set scene(%d)\n", scene);
        const SceneProfile& stored = *model.Stored(k);
        UnitSceneName name{};
        // A name the code page cannot hold goes out empty.
        if (!model.ToUnitSceneName(k, name, convert)) LogPrintW(L"scene name %d not converted\n", scene);
        // A scene the unit did not name or store ends the push: its long
        // store wait would otherwise come on top of the silence rule's three.
        const bool goesOn = PushChannels(s, stored, scene, true) && PushMix(s, stored, scene) &&
                            s.RunAnswered([&](DspDevice& d) { d.SetSceneName(scene, name.data(), kSceneNameBytes); }) &&
                            s.RunAnswered([&](DspDevice& d) { d.SaveScene(scene, 1); });
        if (!goesOn) return Outcome(s);
    }
    const SceneProfile& live = model.Current();
    (void)(PushMainVolume(s, live) && PushChannels(s, live, 0, false) && PushMix(s, live, 0));
    return Outcome(s);
}
