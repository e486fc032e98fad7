// DSP parameters (packet type 1): sets change the addressed scene and are
// acknowledged with "sub EE 0A"; gets answer "sub DD" with the value layout
// the program decodes. Ranges are clipped to the channels that exist and to
// what one report holds.
#include <algorithm>

#include "device/FrameCodec.h"
#include "tests/support/SimUnitModel.h"

namespace sim {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kMaxAnswerData = dsp::kMaxCommandPayload;

uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

void PutBe16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

uint8_t Byte(int value) { return static_cast<uint8_t>(value); }

// Whole and tenths of a value kept in tenths (signed remainder).
void PutTenths(Bytes& out, int tenths) {
    out.push_back(Byte(tenths / 10));
    out.push_back(Byte(tenths % 10));
}

// The last channel an answer covers: within count channels and within one
// report of head + group bytes per channel. False for an empty or foreign range.
bool ClipRange(uint8_t first, uint8_t last, int count, size_t head, size_t group,
               uint8_t* clipped) {
    if (first > last || first >= count) return false;
    const size_t fits = (kMaxAnswerData - head) / group;
    const int end = std::min<int>({last, count - 1, static_cast<int>(first + fits - 1)});
    *clipped = static_cast<uint8_t>(end);
    return true;
}

// The per-channel groups of a set: head bytes, then group bytes for each of
// first..last. False when the length does not match the range.
template <typename Apply>
bool ForEachGroup(const Bytes& d, size_t head, size_t group, int count, Apply apply) {
    if (d.size() < head) return false;
    const uint8_t first = d[head - 2];
    const uint8_t last = d[head - 1];
    const size_t groups = last >= first ? last - first + 1u : 0u;
    if (d.size() != head + groups * group) return false;
    for (size_t i = 0; i < groups; ++i) {
        const int ch = first + static_cast<int>(i);
        if (ch < count) apply(ch, &d[head + i * group]);
    }
    return true;
}

// Output fields that travel as one byte per channel.
uint8_t OutputChannel::*ByteField(uint8_t subcommand) {
    switch (subcommand) {
    case 0x09: return &OutputChannel::mute;
    case 0x0A: return &OutputChannel::phase;
    case 0x0D: return &OutputChannel::type;
    case 0x12: return &OutputChannel::eqBypass;
    case 0x34: return &OutputChannel::solo;
    case 0x49: return &OutputChannel::compressorOn;
    default: return nullptr;
    }
}

// Unit-wide values that travel as one byte, set and read alike.
uint8_t* UnitByte(UnitWide& unit, uint8_t subcommand) {
    switch (subcommand) {
    case 0x01: return &unit.source;
    case 0x04: return &unit.mute;
    case 0x3F: return &unit.ampMute;
    case 0x4B: return &unit.speakerOhm;
    case 0x4E: return &unit.noiseGate;
    default: return nullptr;
    }
}

void PutFilter(Bytes& out, const FilterSide& side) {
    out.push_back(side.type);
    PutBe16(out, side.freqHz);
    out.push_back(side.slope);
}

void PutEqBand(Bytes& out, const EqBand& band) {
    PutBe16(out, band.freqHz);
    out.push_back(Byte(band.qHundredths / 100));
    out.push_back(Byte(band.qHundredths % 100));
    PutTenths(out, std::max(0, band.gainTenthsDb + 180));  // sent as g + 18 dB
}

void PutCompressor2(Bytes& out, const Compressor2& comp) {
    PutTenths(out, comp.thresholdTenthsDb);
    PutBe16(out, comp.attackMs);
    out.push_back(Byte(comp.releaseMs / 1000));
    out.push_back(Byte(comp.releaseMs / 100 % 10));
}

// A link copies the first channel's EQ, crossover and bypass to its partner,
// within one EQ band group.
void CopyLinked(SceneParams& scene, uint8_t from, uint8_t to) {
    if (from >= kOutputs || to >= kOutputs || from == to) return;
    if (EqBandCount(from) != EqBandCount(to)) return;
    OutputChannel& source = scene.out[from];
    OutputChannel& target = scene.out[to];
    std::copy(source.eq, source.eq + kMaxEqBands, target.eq);
    target.highPass = source.highPass;
    target.lowPass = source.lowPass;
    target.eqBypass = source.eqBypass;
}

}  // namespace

void UnitModel::HandleDsp(const Frame& frame) {
    if (frame.optype == dsp::OP_SET)
        SetDsp(frame);
    else if (frame.optype == dsp::OP_GET)
        GetDsp(frame);
    else
        NotReady();
}

void UnitModel::SetDsp(const Frame& frame) {
    const Bytes& d = frame.data;
    const uint8_t sub = frame.subcommand;
    UnitWide& unit = mState.unit;

    if (uint8_t* value = UnitByte(unit, sub)) {
        if (d.size() != 1) return NotReady();
        *value = d[0];
        return Ack();
    }
    switch (sub) {
    case 0x02:  // the program sends 6 - volume
        if (d.size() != 1) return NotReady();
        unit.mainVolumeDb = static_cast<int8_t>(6 - static_cast<int8_t>(d[0]));
        return Ack();
    case 0x26:
        if (d.size() != 1) return NotReady();
        unit.inputThreshold = static_cast<int8_t>(d[0]);
        return Ack();
    case 0x45:
        if (d.size() != 2) return NotReady();
        unit.remoteOut[0] = d[0];
        unit.remoteOut[1] = d[1];
        return Ack();
    case 0x42: {  // one memory word, address and data LE32
        if (d.size() != 8) return NotReady();
        uint32_t address = 0;
        uint32_t data = 0;
        for (int i = 3; i >= 0; --i) {
            address = address << 8 | d[i];
            data = data << 8 | d[4 + i];
        }
        mState.memory[address] = data;
        return Ack();
    }
    default: break;
    }

    // The rest carries a scene byte first.
    const bool scoped = sub == 0x05 || sub == 0x06 || sub == 0x07 || sub == 0x08 ||
                        sub == 0x0B || sub == 0x0E || sub == 0x0F || sub == 0x11 ||
                        sub == 0x22 || sub == 0x24 || sub == 0x3B || sub == 0x3E ||
                        sub == 0x4A || sub == 0x4C || sub == 0x4D || ByteField(sub);
    if (!scoped) return Ack();  // taken, not modelled (calibration, auto setting)
    if (d.empty() || d[0] >= kScenes) return NotReady();
    SceneParams& scene = mState.scene[d[0]];

    if (uint8_t OutputChannel::*field = ByteField(sub)) {
        const bool ok = ForEachGroup(d, 4, 1, kOutputs, [&](int ch, const uint8_t* g) {
            scene.out[ch].*field = g[0];
        });
        return ok ? Ack() : NotReady();
    }
    bool ok = false;
    switch (sub) {
    case 0x05: {  // scene, source, ch, filter (1 low-pass, 2 high-pass), type, freq, slope
        if (d.size() != 8 || d[2] >= kOutputs || (d[3] != 1 && d[3] != 2)) break;
        FilterSide& side = d[3] == 1 ? scene.out[d[2]].lowPass : scene.out[d[2]].highPass;
        side = {d[4], Be16(&d[5]), d[7]};
        ok = true;
        break;
    }
    case 0x06: {  // scene, source, ch, band, freq, Q whole, Q tenths, gain + 18 whole, tenths
        if (d.size() != 10 || d[2] >= kOutputs || d[3] >= EqBandCount(d[2])) break;
        EqBand& band = scene.out[d[2]].eq[d[3]];
        band.freqHz = Be16(&d[4]);
        band.qHundredths = static_cast<uint16_t>(d[6] * 100 + d[7] * 10);
        band.gainTenthsDb = static_cast<int16_t>(d[8] * 10 + d[9] - 180);
        ok = true;
        break;
    }
    case 0x07:
        ok = ForEachGroup(d, 4, 3, kOutputs, [&](int ch, const uint8_t* g) {
            scene.out[ch].delayMicros = g[0] * 1000u + Be16(&g[1]) % 1000u;
        });
        break;
    case 0x08:  // the attenuation, -gain
        ok = ForEachGroup(d, 4, 1, kOutputs, [&](int ch, const uint8_t* g) {
            const int gain = -static_cast<int8_t>(g[0]);
            scene.out[ch].gainDb = static_cast<int8_t>(std::min(gain, 127));
        });
        break;
    case 0x0B:
        if (d.size() < 2 || d[1] >= kSources) break;
        ok = ForEachGroup(d, 4, 2, kOutputs, [&](int ch, const uint8_t* g) {
            scene.mixMask[d[1]][ch] = Be16(g);
        });
        break;
    case 0x0E: {  // scene, link, count, count (from, to) pairs
        if (d.size() < 3 || d.size() != 3u + 2u * d[2]) break;
        scene.linkMode = d[1];
        std::fill(scene.linkPairs, scene.linkPairs + kLinkPairBytes, 0);
        std::copy(d.begin() + 3, d.begin() + 3 + std::min<long>(kLinkPairBytes, 2 * d[2]),
                  scene.linkPairs);
        if (d[1] != 0)
            for (size_t i = 3; i + 1 < d.size(); i += 2) CopyLinked(scene, d[i], d[i + 1]);
        ok = true;
        break;
    }
    case 0x0F:
        if (d.size() != 2) break;
        scene.lock = d[1];
        ok = true;
        break;
    case 0x11:  // scene, source, count, channels: their EQ back to flat
        if (d.size() < 3 || d.size() != 3u + d[2]) break;
        for (size_t i = 3; i < d.size(); ++i) {
            if (d[i] >= kOutputs) continue;
            EqBand* eq = scene.out[d[i]].eq;
            std::fill(eq, eq + kMaxEqBands, EqBand());
        }
        ok = true;
        break;
    case 0x22:
        ok = ForEachGroup(d, 4, 1, kInputs, [&](int ch, const uint8_t* g) {
            scene.inputPhase[ch] = g[0];
        });
        break;
    case 0x24:  // scene, source, input, first output, last output, one trim per output
        if (d.size() < 5 || d[1] >= kSources || d[2] >= kInputs) break;
        ok = ForEachGroup(d, 5, 1, kOutputs, [&](int ch, const uint8_t* g) {
            scene.inputMixTrim[d[1]][d[2]][ch] = g[0];
        });
        break;
    case 0x3B:
        if (d.size() != 2) break;
        scene.autoOn = d[1];
        ok = true;
        break;
    case 0x3E: {  // scene, source, ch, bypass, noise + 100, ratio, knee, attack, release
        if (d.size() != 14 || d[2] >= kOutputs) break;
        Compressor& comp = scene.out[d[2]].compressor;
        comp.bypass = d[3];
        comp.thresholdTenthsDb = static_cast<int16_t>(d[4] * 10 + static_cast<int8_t>(d[5]) - 1000);
        comp.ratioTenths = static_cast<uint16_t>(d[6] * 10 + d[7]);
        comp.kneeTenths = static_cast<uint16_t>(d[8] * 10 + d[9]);
        comp.attackMs = Be16(&d[10]);
        comp.releaseMs = Be16(&d[12]);
        ok = true;
        break;
    }
    case 0x4A:  // per ch: threshold whole, signed tenths, attack, release s, tenths of s
        ok = ForEachGroup(d, 4, 6, kOutputs, [&](int ch, const uint8_t* g) {
            Compressor2& comp = scene.out[ch].compressor2;
            comp.thresholdTenthsDb =
                static_cast<int16_t>(static_cast<int8_t>(g[0]) * 10 + static_cast<int8_t>(g[1]));
            comp.attackMs = Be16(&g[2]);
            comp.releaseMs = static_cast<uint16_t>(g[4] * 1000 + g[5] * 100);
        });
        break;
    case 0x4C:  // scene, source, count, flags
        if (d.size() < 3 || d.size() != 3u + d[2]) break;
        std::fill(scene.bridge, scene.bridge + kMaxBridges, 0);
        std::copy(d.begin() + 3, d.begin() + 3 + std::min<long>(kMaxBridges, d[2]), scene.bridge);
        ok = true;
        break;
    case 0x4D:  // scene, source, vice source, vice ch, ch
        if (d.size() != 5 || d[1] >= kSources || d[4] >= kCrossChannels) break;
        scene.cross[d[1]][d[4]] = {d[2], d[3]};
        ok = true;
        break;
    default: break;
    }
    return ok ? Ack() : NotReady();
}

void UnitModel::GetDsp(const Frame& frame) {
    const Bytes& d = frame.data;
    const uint8_t sub = frame.subcommand;
    UnitWide& unit = mState.unit;
    Bytes out;

    if (uint8_t* value = UnitByte(unit, sub)) return Reply(dsp::OP_VALUE, {*value});
    switch (sub) {
    case 0x02: return Reply(dsp::OP_VALUE, {Byte(unit.mainVolumeDb)});
    case 0x03: return Reply(dsp::OP_VALUE, {Byte(unit.subVolumeDb)});
    case 0x35: return Reply(dsp::OP_VALUE, {unit.speakerConfig});
    case 0x45: return Reply(dsp::OP_VALUE, {unit.remoteOut[0], unit.remoteOut[1]});
    case 0x26:  // scene, source: the threshold is unit-wide
        return Reply(dsp::OP_VALUE, {Byte(unit.inputThreshold)});
    case 0x27: {  // first, last, per ch level + 100 dB as whole and tenths
        uint8_t last = 0;
        if (d.size() != 2 || !ClipRange(d[0], d[1], kNoiseChannels, 2, 2, &last)) return NotReady();
        out = {d[0], last};
        for (int ch = d[0]; ch <= last; ++ch)
            PutTenths(out, std::clamp(unit.noiseTenthsDb[ch] + 1000, 0, 2559));
        return Reply(dsp::OP_VALUE, out);
    }
    case 0x42: {  // address LE32, then the word LE32
        if (d.size() != 8) return NotReady();
        const uint32_t address = d[0] | d[1] << 8 | d[2] << 16 | static_cast<uint32_t>(d[3]) << 24;
        const auto word = mState.memory.find(address);
        const uint32_t data = word == mState.memory.end() ? 0 : word->second;
        out.assign(d.begin(), d.begin() + 4);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(data >> (8 * i)));
        return Reply(dsp::OP_VALUE, out);
    }
    default: break;
    }

    if (d.empty() || d[0] >= kScenes) return NotReady();
    const SceneParams& scene = mState.scene[d[0]];
    uint8_t last = 0;

    // Output ranges: scene, source, first, last, then one group per channel.
    auto outputRange = [&](size_t group) {
        if (d.size() != 4 || !ClipRange(d[2], d[3], kOutputs, 4, group, &last)) return false;
        out = {d[0], d[1], d[2], last};
        return true;
    };
    if (uint8_t OutputChannel::*field = ByteField(sub)) {
        if (!outputRange(1)) return NotReady();
        for (int ch = d[2]; ch <= last; ++ch) out.push_back(scene.out[ch].*field);
        return Reply(dsp::OP_VALUE, out);
    }
    switch (sub) {
    case 0x05:
        if (!outputRange(8)) return NotReady();
        for (int ch = d[2]; ch <= last; ++ch) {
            PutFilter(out, scene.out[ch].highPass);
            PutFilter(out, scene.out[ch].lowPass);
        }
        break;
    case 0x06: {  // scene, source, ch, first band, last band
        if (d.size() != 5 || d[2] >= kOutputs ||
            !ClipRange(d[3], d[4], EqBandCount(d[2]), 5, 6, &last))
            return NotReady();
        out = {d[0], d[1], d[2], d[3], last};
        for (int band = d[3]; band <= last; ++band) PutEqBand(out, scene.out[d[2]].eq[band]);
        break;
    }
    case 0x07:
        if (!outputRange(3)) return NotReady();
        for (int ch = d[2]; ch <= last; ++ch) {
            out.push_back(Byte(scene.out[ch].delayMicros / 1000));
            PutBe16(out, scene.out[ch].delayMicros % 1000);
        }
        break;
    case 0x08:
        if (!outputRange(1)) return NotReady();
        for (int ch = d[2]; ch <= last; ++ch) out.push_back(Byte(scene.out[ch].gainDb));
        break;
    case 0x0B:
        if (d.size() < 2 || d[1] >= kSources || !outputRange(2)) return NotReady();
        for (int ch = d[2]; ch <= last; ++ch) PutBe16(out, scene.mixMask[d[1]][ch]);
        break;
    case 0x0E:
        if (d.size() != 1) return NotReady();
        out = {d[0], scene.linkMode};
        out.insert(out.end(), scene.linkPairs, scene.linkPairs + kLinkPairBytes);
        break;
    case 0x0F:
        if (d.size() != 1) return NotReady();
        out = {d[0], scene.lock};
        break;
    case 0x22:
        if (d.size() != 4 || !ClipRange(d[2], d[3], kInputs, 4, 1, &last)) return NotReady();
        out = {d[0], d[1], d[2], last};
        for (int ch = d[2]; ch <= last; ++ch) out.push_back(scene.inputPhase[ch]);
        break;
    case 0x24:  // scene, source, input, first output, last output
        if (d.size() != 5 || d[1] >= kSources || d[2] >= kInputs ||
            !ClipRange(d[3], d[4], kOutputs, 5, 1, &last))
            return NotReady();
        out = {d[0], d[1], d[2], d[3], last};
        for (int ch = d[3]; ch <= last; ++ch) out.push_back(scene.inputMixTrim[d[1]][d[2]][ch]);
        break;
    case 0x3E: {  // one setting, the first channel's, for the whole range
        if (!outputRange(1)) return NotReady();
        const Compressor& comp = scene.out[d[2]].compressor;
        out.push_back(comp.bypass);
        PutTenths(out, comp.thresholdTenthsDb + 1000);
        PutTenths(out, comp.ratioTenths);
        PutTenths(out, comp.kneeTenths);
        PutBe16(out, comp.attackMs);
        PutBe16(out, comp.releaseMs);
        break;
    }
    case 0x4A:
        if (!outputRange(6)) return NotReady();
        for (int ch = d[2]; ch <= last; ++ch) PutCompressor2(out, scene.out[ch].compressor2);
        break;
    case 0x4C: {  // scene, source, count
        if (d.size() != 3) return NotReady();
        const uint8_t count = std::min<uint8_t>(d[2], kMaxBridges);
        out = {d[0], d[1], count};
        out.insert(out.end(), scene.bridge, scene.bridge + count);
        break;
    }
    case 0x4D: {  // scene, source, 0, 0, ch
        if (d.size() != 5 || d[1] >= kSources || d[4] >= kCrossChannels) return NotReady();
        const CrossSource& cross = scene.cross[d[1]][d[4]];
        out = {d[0], d[1], cross.viceSource, cross.viceCh, d[4]};
        break;
    }
    default: return NotReady();
    }
    Reply(dsp::OP_VALUE, out);
}

}  // namespace sim
