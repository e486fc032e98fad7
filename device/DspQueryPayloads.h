// Request payloads of the DSP get queries. Platform-free.
//
// Each writes into out, which must hold kMaxCommandPayload bytes, stores the
// request length and returns true; false, with nothing to send, when a
// channel or band lies beyond the unit's arrays or a count beyond the reply
// record. The memory and cross-source-mix requests use the set layouts
// (EncodeMemData with data 0, EncodeCrossSourceMix with the vice bytes 0).
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/DspRecords.h"

namespace dsp {

// Most bridge flags a reply record holds.
constexpr uint8_t kMaxBridgeReport = sizeof(DspBridgeRecord::flags);

// scene, source, ch, ch_end.
bool EncodeRangeQuery(uint8_t scene, uint8_t source, uint8_t ch, uint8_t chEnd, uint8_t* out,
                      size_t* length);
// scene, source, ch, band, band_end.
bool EncodeEqQuery(uint8_t scene, uint8_t source, uint8_t ch, uint8_t band, uint8_t bandEnd,
                   uint8_t* out, size_t* length);
// scene, source, in_ch, out_ch_x, out_ch_y.
bool EncodeInputMixTrimQuery(uint8_t scene, uint8_t source, uint8_t inCh, uint8_t outX,
                             uint8_t outY, uint8_t* out, size_t* length);
// scene, source, count.
bool EncodeBridgeQuery(uint8_t scene, uint8_t source, uint8_t count, uint8_t* out,
                       size_t* length);
// ch_x, ch_y.
bool EncodeInputNoiseQuery(uint8_t chX, uint8_t chY, uint8_t* out, size_t* length);

}  // namespace dsp
