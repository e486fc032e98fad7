// Payload builders of the DSP set commands. Platform-free.
//
// Each writes into out, which must hold kMaxCommandPayload bytes, stores the
// payload length and returns true; it returns false, with nothing to send,
// when a channel or band lies beyond the unit's arrays, a count exceeds what
// the command carries, or a needed array is null. Channel ranges run from
// first to last inclusive with one group per channel, values[0] belonging to
// first; a range with last below first carries the head only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/DspCommandRecords.h"

namespace dsp {

// Most entries of the variable-length commands.
constexpr uint8_t kMaxPeqResetChannels = 7;
constexpr uint8_t kMaxBridgeEntries = 17;
constexpr uint8_t kMaxLinkPairs = 18;

// 0x05: scene, source, ch, iFilter, type, freq BE, slope.
bool EncodeFilter(uint8_t scene, uint8_t source, uint8_t ch, uint8_t iFilter, uint32_t freq,
                  uint8_t slope, uint8_t type, uint8_t* out, size_t* length);
// 0x06: scene, source, ch, band, freq BE, Q whole + tenths, gain + 18 whole + tenths.
bool EncodeEq(uint8_t scene, uint8_t source, uint8_t ch, uint8_t band, uint32_t freq, float q,
              float gain, uint8_t* out, size_t* length);
// 0x07: head, then per channel whole ms and thousandths BE.
bool EncodeDelays(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                  const float* delaysMs, uint8_t* out, size_t* length);
// 0x08: head, then per channel the whole dB (and the hundredths when asked).
bool EncodeTrims(uint8_t scene, uint8_t source, uint8_t first, uint8_t last, const float* trimsDb,
                 bool hundredths, uint8_t* out, size_t* length);
// 0x09, 0x0A, 0x0D, 0x12, 0x22, 0x34, 0x49: head, then one byte per channel.
bool EncodeChannelBytes(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                        const uint8_t* values, uint8_t* out, size_t* length);
// 0x0B: head, then per output channel its input mask.
bool EncodeMixMasks(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                    const uint32_t* masks, uint32_t inputCount, uint8_t* out, size_t* length);
// 0x0E: scene, link, count, then count (from, to) channel pairs.
bool EncodeChannelLink(uint8_t scene, uint8_t link, uint8_t count, const uint8_t* pairs,
                       uint8_t* out, size_t* length);
// 0x11: scene, source, count, the channel numbers.
bool EncodePeqReset(uint8_t scene, uint8_t source, uint8_t count, const uint8_t* channels,
                    uint8_t* out, size_t* length);
// 0x24: scene, source, in_ch, out_first, out_last, one trim byte per output.
bool EncodeInputMixTrims(uint8_t scene, uint8_t source, uint8_t inCh, uint8_t outFirst,
                         uint8_t outLast, const uint8_t* trims, uint8_t* out, size_t* length);
// 0x3E: 14 bytes, one setting of one channel.
bool EncodeCompressor(uint8_t scene, uint8_t source, uint8_t ch, uint8_t bypass, float noiseDb,
                      float ratio, uint32_t attack, uint32_t release, float softKnee, uint8_t* out,
                      size_t* length);
// 0x4A: head, then per channel threshold whole + signed tenths, attack BE,
// release as whole seconds and tenths of a second.
bool EncodeCompressor2(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                       const CompressorSetting2* records, uint8_t* out, size_t* length);
// 0x4C: scene, source, count, the low byte of each entry.
bool EncodeOutputBridge(uint8_t scene, uint8_t source, uint8_t count, const uint32_t* bridge,
                        uint8_t* out, size_t* length);
// 0x4D: scene, source, vice_source, vice_ch, ch (the channel goes last).
bool EncodeCrossSourceMix(uint8_t scene, uint8_t source, uint8_t ch, uint8_t viceSource,
                          uint8_t viceCh, uint8_t* out, size_t* length);
// 0x42: address and data, each a little-endian long.
bool EncodeMemData(uint32_t address, uint32_t data, uint8_t* out, size_t* length);

}  // namespace dsp
