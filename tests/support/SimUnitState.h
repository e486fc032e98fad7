// Everything the simulated unit remembers, in the unit's own units (the
// integers that travel, not the program's floats), so that tests can set a
// value before a read and compare it after a set without rounding.
#pragma once

#include <cstdint>
#include <map>

namespace sim {

constexpr int kOutputs = 16;
constexpr int kInputs = 14;
constexpr int kSources = 9;        // input sources 0..8 (the program's 51h..59h)
constexpr int kScenes = 11;        // 0 live, 1..10 stored
constexpr int kMaxEqBands = 31;    // outputs 0..11; outputs 12..15 have 11
constexpr int kCrossChannels = 12;  // cross-source mix channels per source (a source's two sit above its own inputs)
constexpr int kMaxBridges = 20;
constexpr int kLinkPairBytes = kOutputs / 2;
constexpr int kNoiseChannels = 16;

inline int EqBandCount(int output) { return output < 12 ? 31 : 11; }

struct FilterSide {
    uint8_t type = 0;
    uint16_t freqHz = 0;
    uint8_t slope = 0;
};

struct EqBand {
    uint16_t freqHz = 1000;
    uint16_t qHundredths = 100;  // Q 1.00
    int16_t gainTenthsDb = 0;    // -180 .. (gain in 0.1 dB)
};

struct Compressor {
    uint8_t bypass = 0;
    int16_t thresholdTenthsDb = 0;
    uint16_t ratioTenths = 10;
    uint16_t kneeTenths = 0;
    uint16_t attackMs = 0;
    uint16_t releaseMs = 0;
};

struct Compressor2 {
    int16_t thresholdTenthsDb = 0;  // -20.5 dB is -205
    uint16_t attackMs = 0;
    uint16_t releaseMs = 0;  // whole tenths of a second travel
};

struct OutputChannel {
    FilterSide highPass;
    FilterSide lowPass;
    EqBand eq[kMaxEqBands];
    uint32_t delayMicros = 0;  // 2.345 ms is 2345
    int8_t gainDb = 0;         // the program sends the attenuation -gain
    uint8_t mute = 0;
    uint8_t phase = 0;
    uint8_t solo = 0;
    uint8_t eqBypass = 0;
    uint8_t type = 0;
    uint8_t compressorOn = 0;
    Compressor compressor;
    Compressor2 compressor2;
};

struct CrossSource {
    uint8_t viceSource = 0;
    uint8_t viceCh = 0;
};

// The parameters one scene byte addresses. A new one holds what a unit
// leaves the factory with (SimFactoryScene.cpp): each output assigned its
// speaker with that speaker's crossover, the EQ bands spread over the band
// count's frequency table at Q 5.8 and 0 dB.
struct SceneParams {
    SceneParams();

    OutputChannel out[kOutputs];
    uint8_t linkMode = 0;
    uint8_t linkPairs[kLinkPairBytes] = {};
    uint8_t lock = 0;
    uint16_t mixMask[kSources][kOutputs] = {};
    uint8_t inputMixTrim[kSources][kInputs][kOutputs] = {};
    CrossSource cross[kSources][kCrossChannels];
    uint8_t inputPhase[kInputs] = {};
    uint8_t bridge[kMaxBridges] = {};
    uint8_t autoOn = 0;
};

// Values that belong to the unit, not to a scene.
struct UnitWide {
    uint8_t source = 0x51;
    int8_t mainVolumeDb = 0;
    int8_t subVolumeDb = 0;
    uint8_t mute = 0;
    uint8_t ampMute = 0;
    uint8_t remoteOut[2] = {};
    uint8_t speakerOhm = 0;
    uint8_t noiseGate = 0;
    uint8_t speakerConfig = 0;
    int8_t inputThreshold = 0;
    int16_t noiseTenthsDb[kNoiseChannels] = {};  // input levels, -100 dB and up
    int8_t accDelay = 0;
    uint16_t powerOffMs = 0;
    uint16_t karaoke[11] = {};  // by karaoke subcommand 1..10
};

// One slot of the unit's flash scene store.
struct StoredScene {
    bool valid = false;
    uint8_t name[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    SceneParams params;
};

struct Identity {
    uint8_t model = 95;
    uint8_t master = 1;
    uint8_t slave = 25;
    bool loaderMode = false;  // the handshake is refused (F0)
};

struct UnitState {
    Identity identity;
    UnitWide unit;
    // Scene byte s addresses scene[s]: 0 is what plays, 1..10 working copies.
    SceneParams scene[kScenes];
    StoredScene store[kScenes];  // 1..10 used
    uint8_t currentScene = 0;
    std::map<uint32_t, uint32_t> memory;  // DSP memory words by address
    bool pcConnected = false;
};

}  // namespace sim
