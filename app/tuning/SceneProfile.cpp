#include "app/tuning/SceneProfile.h"

#include <algorithm>

#include "app/tuning/ModelLog.h"

namespace {

const OutputCode kDefaultOutputs[kOutputChannels] = {1, 7, 2, 8, 13, 16, 25, 26,
                                                     19, 20, 3, 9, 14, 17, 22, 23};

// Input routing masks per output channel. Channels 10-15 follow the side of
// their default speaker (left 1, right 2); on sources 4 and 5 the rear
// woofers take the rear inputs like channels 2 and 3.
const int32_t kRoutingRearInputs[kOutputChannels] = {1, 2, 4, 8, 3, 3, 1, 2, 1, 2, 1, 2, 4, 8, 1, 2};
const int32_t kRoutingStereo[kOutputChannels] = {1, 2, 1, 2, 3, 3, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2};

template <typename Array>
void Fill(Array& array, typename Array::value_type value) {
    array.fill(value);
}

}  // namespace

SceneProfile::SceneProfile() {
    channelCount = kOutputChannels;
    for (int c = 0; c < kOutputChannels; ++c) {
        eqBandCounts[c] = c < kWideEqChannels ? kMaxEqBands : kNarrowEqBands;
    }
    Reset();
}

void SceneProfile::Reset() {
    model = mainVersion = slaveVersion = -1;
    inputThreshold = -60;
    karaokeValues[0] = karaokeValues[1] = 60;
    std::fill(karaokeValues.begin() + 2, karaokeValues.begin() + 8, 0);
    Fill(compressorSettings.mode, 1);
    Fill(compressorSettings.threshold, 64.0f);
    Fill(compressorSettings.value3, 100.0f);
    Fill(compressorSettings.attack, 1000);
    Fill(compressorSettings.release, 30000);
    Fill(compressorSettings.value6, 24.0f);
    std::copy(std::begin(kDefaultOutputs), std::end(kDefaultOutputs), outputs.begin());
    outputs_bk = outputs;
    currOutChannel = linkMode = lockMode = 0;
    Fill(linkOutputs, -1);
    inputSource = mainVolume = acc = subVolume = scene = mainVolumeMute = noiseGate = 0;
    ampOn = remOut1On = remOut2On = speakerOhm = 1;
    Fill(bridgeOutputs, 0);
    for (int s = 0; s < kInputSources; ++s) {
        const int32_t* routing = s == 4 || s == 5 ? kRoutingRearInputs : kRoutingStereo;
        std::copy(routing, routing + kOutputChannels, inputs[s].begin());
        for (auto& row : inputMixVolume[s]) Fill(row, 100);
        Fill(inMixPhase[s], 0);
        Fill(crossSourceMix.source[s], kNoSecondSource);
        Fill(crossSourceMix.channel[s], 0);
        Fill(crossSourceMix.gain[s], 0);
    }
    Fill(showOutChEqualizer, 0);
    for (int c = 0; c < kOutputChannels; ++c) {
        ChannelParams& ch = channels[c];
        ResetEqBands(ch.bands.data(), eqBandCounts[c]);
        ch.eqSize = eqBandCounts[c];
        ch.crossover = GetDefaultCrossover(outputs[c]);
        ch.gain = 0.0f;
        ch.delay = 0.0f;
        ch.mute = ch.solo = ch.phase = 0;
        ch.compressorFlag = 1;
        ch.bypass = 1;
    }
    soloChannel = -1;
}

int SceneProfile::GetEqSize(int ch) const {
    return IsChannel(ch) ? channels[ch].eqSize : 0;
}

EqBand* SceneProfile::GetEqBands(int ch) {
    return IsChannel(ch) ? channels[ch].bands.data() : nullptr;
}

const EqBand* SceneProfile::GetEqBands(int ch) const {
    return IsChannel(ch) ? channels[ch].bands.data() : nullptr;
}

void SceneProfile::ClearMixConfig(int ch) {
    if (!IsChannel(ch)) return;
    for (int s = 0; s < kInputSources; ++s) {
        inputs[s][ch] = 0;
        for (auto& row : inputMixVolume[s]) row[ch] = 0;
    }
    ModelLog("clear mix config of %d\n", ch);
}

void SceneProfile::CopyMixConfig(int from, int to) {
    if (!IsChannel(from) || !IsChannel(to)) return;
    for (int s = 0; s < kInputSources; ++s) {
        inputs[s][to] = inputs[s][from];
        for (auto& row : inputMixVolume[s]) row[to] = row[from];
    }
    ModelLog("copy mix config from %d to %d\n", from, to);
}

void SceneProfile::CopyOutConfig(int from, int to) {
    if (!IsChannel(from) || !IsChannel(to)) return;
    const ChannelParams& src = channels[from];
    ChannelParams& dst = channels[to];
    int count = std::clamp(dst.eqSize, 0, kMaxEqBands);
    std::copy(src.bands.begin(), src.bands.begin() + count, dst.bands.begin());
    dst.crossover.SetHpType(src.crossover.GetHpType());
    dst.crossover.SetLpType(src.crossover.GetLpType());
    dst.crossover.SetHpFreq(src.crossover.GetHpFreq());
    dst.crossover.SetLpFreq(src.crossover.GetLpFreq());
    dst.crossover.SetHpSlope(src.crossover.GetHpSlope());
    dst.crossover.SetLpSlope(src.crossover.GetLpSlope());
    dst.bypass = src.bypass;
    ModelLog("copy out config from %d to %d\n", from, to);
}

bool SceneProfile::IsOutputCodeUsed(int code) const {
    return ContainsValue(code, outputs.data(), kOutputChannels);
}

bool SceneProfile::IsOutputCodeFree(int code, int ch) const {
    for (int other = 0; other < kOutputChannels; ++other) {
        if (other != ch && OutputCodesConflict(code, outputs[other])) return false;
    }
    return true;
}

std::array<uint32_t, kBridgePairs> SceneProfile::BridgeFlags() const {
    std::array<uint32_t, kBridgePairs> flags{};
    for (int pair = 0; pair < kBridgePairs; ++pair) flags[pair] = bridgeOutputs[pair] != 0 ? 1 : 0;
    return flags;
}

bool SceneProfile::HasPairOnSameSide() const {
    for (int a = 0; a < kOutputChannels; ++a) {
        int partner = GetPairedOutputCode(outputs[a]);
        if (partner < 0) continue;
        for (int b = 0; b < kOutputChannels; ++b) {
            bool sameSide = (a < 6) == (b < 6);
            if (b != a && outputs[b] == partner && sameSide) return true;
        }
    }
    return false;
}

int DefaultOutputCode(int channelCount, int ch) {
    if (channelCount != 6 && channelCount != 8 && channelCount != 10 && channelCount != 12 &&
        channelCount != kOutputChannels)
        return -1;
    if (ch < 0 || ch >= kOutputChannels) return -1;
    return ch < channelCount ? kDefaultOutputs[ch] : 0;
}

bool IsSameEqGroup(int a, int b) {
    return (a < kWideEqChannels) == (b < kWideEqChannels);
}

int GetInputExtraChannels(int source) {
    switch (source) {
        case 0:
        case 2:
        case 6: return 2;
        case 4: return 8;
        case 5: return 12;
        default: return 0;
    }
}

int GetMixerOwnRows(int source) {
    const int rows = GetInputExtraChannels(source);
    return source == 5 ? rows - 2 : rows;
}

int GetCrossSourceChannel(int source, int k) {
    return GetMixerOwnRows(source) + k;
}

bool ContainsValue(int value, const int32_t* array, int count) {
    if (!array) return false;
    return std::find(array, array + std::max(count, 0), value) != array + std::max(count, 0);
}

void LinkPairedOutputs(SceneProfile& profile) {
    profile.linkOutputs.fill(-1);
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        if (profile.outputs[ch] == 0) continue;
        const int paired = GetPairedOutputCode(profile.outputs[ch]);
        for (int other = 0; other < kOutputChannels; ++other) {
            if (other != ch && profile.outputs[other] == paired && IsSameEqGroup(ch, other)) {
                profile.linkOutputs[ch] = other;
                break;
            }
        }
    }
}
