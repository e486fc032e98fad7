// One scene's complete parameter set: the live state of the unit or one of
// its stored scenes. Plain values throughout: a copy is a separate profile.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/tuning/ChannelParams.h"
#include "app/tuning/OutputCode.h"

constexpr int kOutputChannels = 16;
constexpr int kInputSources = 9;
constexpr int kInputChannels = 14;
constexpr int kBridgePairs = 8;
constexpr int kKaraokeCodes = 10;
constexpr int kCurvePoints = 512;
constexpr int kProfileModelId = 95;
// Channels 0-11 carry 31 bands, 12-15 carry 11.
constexpr int kWideEqChannels = 12;
constexpr int kNarrowEqBands = 11;
constexpr int kNoSecondSource = 9;

template <typename T, size_t Rows, size_t Cols>
using Grid = std::array<std::array<T, Cols>, Rows>;

// The unit's six compressor arrays in its report order; the grid edits
// threshold, attack and release, the others are kept as reported.
struct CompressorSettings {
    std::array<int32_t, kOutputChannels> mode;
    std::array<float, kOutputChannels> threshold;
    std::array<float, kOutputChannels> value3;
    std::array<int32_t, kOutputChannels> attack;
    std::array<int32_t, kOutputChannels> release;
    std::array<float, kOutputChannels> value6;
};

struct CrossSourceMix {
    Grid<int32_t, kInputSources, kOutputChannels> source;   // kNoSecondSource = none
    Grid<int32_t, kInputSources, kOutputChannels> channel;
    Grid<int32_t, kInputSources, kOutputChannels> gain;
};

class SceneProfile {
public:
    SceneProfile();

    // Every field to its default except linkSel, delayLinkSel and karaoke
    // codes 9 and 10.
    void Reset();

    // eqSize of ch, 0 when ch is not 0..15.
    int GetEqSize(int ch) const;
    // The channel's band row; null when ch is not 0..15.
    EqBand* GetEqBands(int ch);
    const EqBand* GetEqBands(int ch) const;

    // Mix routing of output ch for every source; out-of-range channels are ignored.
    void ClearMixConfig(int ch);
    void CopyMixConfig(int from, int to);
    // Bands 0..eqSize(to)-1, the crossover through the clamping setters
    // (bpType stays) and the EQ bypass, from channel from to channel to.
    void CopyOutConfig(int from, int to);

    bool IsOutputCodeUsed(int code) const;
    // Whether code may be given to channel ch without clashing with another channel.
    bool IsOutputCodeFree(int code, int ch) const;
    // True when some channel's left/right partner code sits on the same side
    // (both among channels 0-5 or both among 6-15).
    bool HasPairOnSameSide() const;
    // The pairs' bridge flags as the unit takes them: 1 bridged, 0 not.
    std::array<uint32_t, kBridgePairs> BridgeFlags() const;

    static bool IsChannel(int ch) { return ch >= 0 && ch < kOutputChannels; }

    int32_t model{};
    int32_t mainVersion{};
    int32_t slaveVersion{};
    std::array<int32_t, 4> dspFlashVersion{};
    int32_t inputSource{};
    int32_t mainVolume{};  // dB; the unit takes 6 - mainVolume
    int32_t acc{};
    int32_t subVolume{};
    int32_t scene{};
    int32_t mainVolumeMute{};
    int32_t ampOn{};
    int32_t remOut1On{};
    int32_t remOut2On{};
    int32_t speakerOhm{};
    int32_t noiseGate{};
    int32_t channelCount{};
    std::array<int32_t, kBridgePairs> bridgeOutputs{};
    std::array<ChannelParams, kOutputChannels> channels{};
    int32_t soloChannel{};
    Grid<int32_t, kInputSources, kOutputChannels> inputs{};  // input-channel bit masks
    std::array<Grid<int32_t, kInputChannels, kOutputChannels>, kInputSources> inputMixVolume{};
    Grid<int32_t, kInputSources, kInputChannels> inMixPhase{};
    CrossSourceMix crossSourceMix{};
    std::array<OutputCode, kOutputChannels> outputs{};
    std::array<OutputCode, kOutputChannels> outputs_bk{};
    std::array<int32_t, kOutputChannels> linkOutputs{};  // -1 none
    std::array<int32_t, kOutputChannels> showOutChEqualizer{};
    int32_t currOutChannel{};
    int32_t linkMode{};
    int32_t lockMode{};
    std::array<int32_t, kOutputChannels> linkSel{};       // 0 none
    std::array<int32_t, kOutputChannels> delayLinkSel{};  // 0 none
    int32_t inputThreshold{};
    int32_t powerOffDelay{};
    std::array<int32_t, kKaraokeCodes> karaokeValues{};  // reply code c at c - 1
    CompressorSettings compressorSettings{};
    std::array<double, kCurvePoints> responseHp{};
    std::array<double, kCurvePoints> responseLp{};
    Grid<double, kOutputChannels, kCurvePoints> curveFreqs{};
    Grid<double, kOutputChannels, kCurvePoints> curveGains{};
    std::array<int32_t, kOutputChannels> eqBandCounts{};
};

// Both channels in 0-11 or both in 12-15: the groups have different band counts.
bool IsSameEqGroup(int a, int b);

// The code an output reset gives channel ch of a unit with channelCount
// outputs: the default table's for 6, 8, 10, 12 or 16 outputs (channels past
// the count are emptied); -1 for another count (the channel is left alone).
int DefaultOutputCode(int channelCount, int ch);

// Extra input channels a source brings: 2 for 0, 2 and 6; 8 for 4; 12 for 5; else 0.
int GetInputExtraChannels(int source);

// The source's own rows in the mixer: its extra input channels, but 10 for
// the high-level source, whose last two channels carry the cross-source mix.
int GetMixerOwnRows(int source);
// The input channel of cross-source row k (0 or 1) of source: the two just
// above the source's own mixer rows. The status read asks these channels and
// the mixer sets them.
int GetCrossSourceChannel(int source, int k);

// True when one of the first count entries equals value.
bool ContainsValue(int value, const int32_t* array, int count);

// linkOutputs of a linked profile: for each assigned channel the first other
// channel of its band group holding the left/right partner code, else -1.
void LinkPairedOutputs(SceneProfile& profile);
