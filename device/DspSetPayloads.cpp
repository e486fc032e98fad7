#include "device/DspSetPayloads.h"

#include "device/DspEncoding.h"
#include "device/FrameCodec.h"

namespace dsp {

namespace {

// The payload block of each command; the frame carries at most
// kMaxCommandPayload bytes whatever the block.
constexpr size_t kSmallBlock = 10;
constexpr size_t kBridgeBlock = 20;
constexpr size_t kRangeBlock = 40;
constexpr size_t kDelayBlock = 52;

size_t Room(size_t block) { return block < kMaxCommandPayload ? block : kMaxCommandPayload; }

// Head of a channel-range command, then put(writer, i) for channel first + i.
template <typename PutGroup>
bool EncodeRange(uint8_t scene, uint8_t source, uint8_t first, uint8_t last, const void* values,
                 size_t block, uint8_t* out, size_t* length, PutGroup put) {
    if (!IsChannel(first) || !IsChannel(last)) return false;
    if (last >= first && !values) return false;
    PayloadWriter writer(out, Room(block));
    writer.Byte(scene);
    writer.Byte(source);
    writer.Byte(first);
    writer.Byte(last);
    for (int i = 0; first + i <= last; ++i) put(writer, i);
    return writer.Finish(length);
}

}  // namespace

bool EncodeFilter(uint8_t scene, uint8_t source, uint8_t ch, uint8_t iFilter, uint32_t freq,
                  uint8_t slope, uint8_t type, uint8_t* out, size_t* length) {
    if (!IsChannel(ch)) return false;
    PayloadWriter writer(out, Room(kSmallBlock));
    writer.Byte(scene);
    writer.Byte(source);
    writer.Byte(ch);
    writer.Byte(iFilter);
    writer.Byte(type);
    writer.WordBE(freq);
    writer.Byte(slope);
    return writer.Finish(length);
}

bool EncodeEq(uint8_t scene, uint8_t source, uint8_t ch, uint8_t band, uint32_t freq, float q,
              float gain, uint8_t* out, size_t* length) {
    if (!IsChannel(ch) || !IsEqBand(band)) return false;
    PayloadWriter writer(out, Room(kRangeBlock));
    writer.Byte(scene);
    writer.Byte(source);
    writer.Byte(ch);
    writer.Byte(band);
    writer.WordBE(freq);
    uint8_t pair[2];
    EncodeWholeTenthsOfLowByte(q, pair);
    writer.Bytes(pair, sizeof(pair));
    EncodeEqGain(gain, pair);
    writer.Bytes(pair, sizeof(pair));
    return writer.Finish(length);
}

bool EncodeDelays(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                  const float* delaysMs, uint8_t* out, size_t* length) {
    return EncodeRange(scene, source, first, last, delaysMs, kDelayBlock, out, length,
                       [&](PayloadWriter& writer, int i) {
                           uint8_t group[3];
                           EncodeDelay(delaysMs[i], group);
                           writer.Bytes(group, sizeof(group));
                       });
}

bool EncodeTrims(uint8_t scene, uint8_t source, uint8_t first, uint8_t last, const float* trimsDb,
                 bool hundredths, uint8_t* out, size_t* length) {
    return EncodeRange(scene, source, first, last, trimsDb, kRangeBlock, out, length,
                       [&](PayloadWriter& writer, int i) {
                           uint8_t group[2];
                           writer.Bytes(group, EncodeTrim(trimsDb[i], hundredths, group));
                       });
}

bool EncodeChannelBytes(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                        const uint8_t* values, uint8_t* out, size_t* length) {
    return EncodeRange(scene, source, first, last, values, kRangeBlock, out, length,
                       [&](PayloadWriter& writer, int i) { writer.Byte(values[i]); });
}

bool EncodeMixMasks(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                    const uint32_t* masks, uint32_t inputCount, uint8_t* out, size_t* length) {
    return EncodeRange(scene, source, first, last, masks, kRangeBlock, out, length,
                       [&](PayloadWriter& writer, int i) {
                           uint8_t group[2];
                           writer.Bytes(group, EncodeMixMask(masks[i], inputCount, group));
                       });
}

bool EncodeChannelLink(uint8_t scene, uint8_t link, uint8_t count, const uint8_t* pairs,
                       uint8_t* out, size_t* length) {
    if (count > kMaxLinkPairs || (count > 0 && !pairs)) return false;
    PayloadWriter writer(out, Room(kRangeBlock));
    writer.Byte(scene);
    writer.Byte(link);
    writer.Byte(count);
    for (int i = 0; i < 2 * count; ++i) {
        if (!IsChannel(pairs[i])) return false;
        writer.Byte(pairs[i]);
    }
    return writer.Finish(length);
}

bool EncodePeqReset(uint8_t scene, uint8_t source, uint8_t count, const uint8_t* channels,
                    uint8_t* out, size_t* length) {
    if (count > kMaxPeqResetChannels || (count > 0 && !channels)) return false;
    PayloadWriter writer(out, Room(kSmallBlock));
    writer.Byte(scene);
    writer.Byte(source);
    writer.Byte(count);
    for (int i = 0; i < count; ++i) {
        if (!IsChannel(channels[i])) return false;
        writer.Byte(channels[i]);
    }
    return writer.Finish(length);
}

bool EncodeInputMixTrims(uint8_t scene, uint8_t source, uint8_t inCh, uint8_t outFirst,
                         uint8_t outLast, const uint8_t* trims, uint8_t* out, size_t* length) {
    if (!IsChannel(inCh) || !IsChannel(outFirst) || !IsChannel(outLast)) return false;
    if (outLast >= outFirst && !trims) return false;
    PayloadWriter writer(out, Room(kRangeBlock));
    writer.Byte(scene);
    writer.Byte(source);
    writer.Byte(inCh);
    writer.Byte(outFirst);
    writer.Byte(outLast);
    for (int i = 0; outFirst + i <= outLast; ++i) writer.Byte(trims[i]);
    return writer.Finish(length);
}

bool EncodeCompressor(uint8_t scene, uint8_t source, uint8_t ch, uint8_t bypass, float noiseDb,
                      float ratio, uint32_t attack, uint32_t release, float softKnee, uint8_t* out,
                      size_t* length) {
    if (!IsChannel(ch)) return false;
    PayloadWriter writer(out, Room(kRangeBlock));
    writer.Byte(scene);
    writer.Byte(source);
    writer.Byte(ch);
    writer.Byte(bypass);
    uint8_t pair[2];
    EncodeNoiseThreshold(noiseDb, pair);
    writer.Bytes(pair, sizeof(pair));
    EncodeWholeTenths(ratio, pair);
    writer.Bytes(pair, sizeof(pair));
    EncodeWholeTenthsOfLowByte(softKnee, pair);
    writer.Bytes(pair, sizeof(pair));
    writer.WordBE(attack);
    writer.WordBE(release);
    return writer.Finish(length);
}

bool EncodeCompressor2(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                       const CompressorSetting2* records, uint8_t* out, size_t* length) {
    return EncodeRange(scene, source, first, last, records, kMaxCommandPayload, out, length,
                       [&](PayloadWriter& writer, int i) {
                           const CompressorSetting2& record = records[i];
                           uint8_t pair[2];
                           EncodeSignedTenths(record.threshold, pair);
                           writer.Bytes(pair, sizeof(pair));
                           writer.WordBE(record.attack);
                           // Seconds, narrowed to single precision before the split.
                           const float seconds = static_cast<float>(record.release * 0.001);
                           EncodeSignedTenths(seconds, pair);
                           writer.Bytes(pair, sizeof(pair));
                       });
}

bool EncodeOutputBridge(uint8_t scene, uint8_t source, uint8_t count, const uint32_t* bridge,
                        uint8_t* out, size_t* length) {
    if (count > kMaxBridgeEntries || (count > 0 && !bridge)) return false;
    PayloadWriter writer(out, Room(kBridgeBlock));
    writer.Byte(scene);
    writer.Byte(source);
    writer.Byte(count);
    for (int i = 0; i < count; ++i) writer.Byte(bridge[i]);
    return writer.Finish(length);
}

bool EncodeCrossSourceMix(uint8_t scene, uint8_t source, uint8_t ch, uint8_t viceSource,
                          uint8_t viceCh, uint8_t* out, size_t* length) {
    if (!IsChannel(ch) || !IsChannel(viceCh)) return false;
    PayloadWriter writer(out, Room(kSmallBlock));
    writer.Byte(scene);
    writer.Byte(source);
    writer.Byte(viceSource);
    writer.Byte(viceCh);
    writer.Byte(ch);
    return writer.Finish(length);
}

bool EncodeMemData(uint32_t address, uint32_t data, uint8_t* out, size_t* length) {
    PayloadWriter writer(out, Room(kSmallBlock));
    writer.LongLE(address);
    writer.LongLE(data);
    return writer.Finish(length);
}

}  // namespace dsp
