#include "app/tuning/ProfileRules.h"

#include <algorithm>

namespace {

bool InRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

template <typename Array>
bool AllInRange(const Array& values, int32_t lo, int32_t hi) {
    return std::all_of(values.begin(), values.end(), [&](int32_t v) { return InRange(v, lo, hi); });
}

int32_t Flag(int32_t v) { return v != 0 ? 1 : 0; }

// A slope the lists cannot show goes through the editor's setter, which also
// sets the bypass flag from it; type 2 takes only even slopes, as its list.
void ClampSlope(CrossoverParams& x, FilterParams& filter, void (CrossoverParams::*setSlope)(int32_t)) {
    const int32_t slope = SlopeForType(filter.type, std::clamp(filter.slope, 0, kSlopeMax));
    if (slope != filter.slope) (x.*setSlope)(slope);
}

template <typename Array>
void Flags(Array& values) {
    for (auto& v : values) v = Flag(v);
}

bool IndexesInRange(const SceneProfile& p) {
    return InRange(p.currOutChannel, 0, kOutputChannels - 1) &&
           AllInRange(p.outputs, 0, kOutputCodeCount - 1) &&
           AllInRange(p.outputs_bk, 0, kOutputCodeCount - 1) &&
           AllInRange(p.linkOutputs, -1, kOutputChannels - 1) &&
           AllInRange(p.linkSel, 0, kLinkGroups) &&
           AllInRange(p.delayLinkSel, 0, kLinkGroups);
}

void ClampChannel(ChannelParams& ch) {
    ch.gain = std::clamp(ch.gain, kChannelGainMin, 0.0f);
    ch.delay = std::clamp(ch.delay, 0.0f, kDelayMaxMs);
    ch.mute = Flag(ch.mute);
    ch.solo = Flag(ch.solo);
    ch.phase = Flag(ch.phase);
    ch.bypass = ch.bypass != 0 ? 1 : 0;
    CrossoverParams& x = ch.crossover;
    x.bpType &= 3;
    x.SetHpFreq(x.hp.fs);
    x.SetLpFreq(x.lp.fs);
    x.SetHpType(x.hp.type);
    x.SetLpType(x.lp.type);
    x.hp.bypass = Flag(x.hp.bypass);
    x.lp.bypass = Flag(x.lp.bypass);
    ClampSlope(x, x.hp, &CrossoverParams::SetHpSlope);
    ClampSlope(x, x.lp, &CrossoverParams::SetLpSlope);
    for (int k = 0; k < ch.eqSize; ++k) {
        EqBand& b = ch.bands[k];
        b.freq = std::clamp(b.freq, kCrossoverMinFreq, kCrossoverMaxFreq);
        b.Q = std::clamp(b.Q, kBandQMin, kBandQMax);
        b.gain = std::clamp(b.gain, kBandGainMin, kBandGainMax);
        b.enable = b.enable != 0 ? 1 : 0;
    }
}

}  // namespace

bool ApplyProfileFileRules(SceneProfile& p) {
    if (!IndexesInRange(p)) return false;
    for (int c = 0; c < kOutputChannels; ++c) {
        if (p.channels[c].eqSize != p.eqBandCounts[c]) return false;
        ClampChannel(p.channels[c]);
    }
    p.mainVolume = std::clamp(p.mainVolume, kMainVolumeMin, kMainVolumeMax);
    p.mainVolumeMute = Flag(p.mainVolumeMute);
    p.acc = std::clamp(p.acc, 0, kAccMax);
    p.inputThreshold = std::clamp(p.inputThreshold, kInputThresholdMin, kInputThresholdMax);
    p.linkMode = Flag(p.linkMode);
    p.lockMode = Flag(p.lockMode);
    Flags(p.bridgeOutputs);
    Flags(p.showOutChEqualizer);
    for (int s = 0; s < kInputSources; ++s) {
        for (auto& mask : p.inputs[s]) mask &= kInputMaskBits;
        for (auto& row : p.inputMixVolume[s]) {
            for (auto& v : row) v = std::clamp(v, 0, kMixVolumeMax);
        }
        Flags(p.inMixPhase[s]);
    }
    return true;
}

int32_t SlopeForType(int32_t type, int32_t slope) {
    return type == kEvenSlopeType && slope % 2 == 1 ? slope + 1 : slope;
}
