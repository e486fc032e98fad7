#include "device/DspQueryPayloads.h"

#include <initializer_list>

#include "device/DspEncoding.h"
#include "device/FrameCodec.h"

namespace dsp {

namespace {

// Writes the given bytes as the whole request.
bool Put(std::initializer_list<uint8_t> bytes, uint8_t* out, size_t* length) {
    PayloadWriter writer(out, kMaxCommandPayload);
    for (uint8_t byte : bytes) writer.Byte(byte);
    return writer.Finish(length);
}

}  // namespace

bool EncodeRangeQuery(uint8_t scene, uint8_t source, uint8_t ch, uint8_t chEnd, uint8_t* out,
                      size_t* length) {
    if (!IsChannel(ch) || !IsChannel(chEnd)) return false;
    return Put({scene, source, ch, chEnd}, out, length);
}

bool EncodeEqQuery(uint8_t scene, uint8_t source, uint8_t ch, uint8_t band, uint8_t bandEnd,
                   uint8_t* out, size_t* length) {
    if (!IsChannel(ch) || !IsEqBand(band) || !IsEqBand(bandEnd)) return false;
    return Put({scene, source, ch, band, bandEnd}, out, length);
}

bool EncodeInputMixTrimQuery(uint8_t scene, uint8_t source, uint8_t inCh, uint8_t outX,
                             uint8_t outY, uint8_t* out, size_t* length) {
    if (!IsChannel(inCh) || !IsChannel(outX) || !IsChannel(outY)) return false;
    return Put({scene, source, inCh, outX, outY}, out, length);
}

bool EncodeBridgeQuery(uint8_t scene, uint8_t source, uint8_t count, uint8_t* out,
                       size_t* length) {
    if (count > kMaxBridgeReport) return false;
    return Put({scene, source, count}, out, length);
}

bool EncodeInputNoiseQuery(uint8_t chX, uint8_t chY, uint8_t* out, size_t* length) {
    if (!IsChannel(chX) || !IsChannel(chY)) return false;
    return Put({chX, chY}, out, length);
}

}  // namespace dsp
