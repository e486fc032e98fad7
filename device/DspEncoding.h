// Value encodings of the unit's DSP payloads and a bounded payload writer.
// Platform-free. All arithmetic is single precision with truncation toward
// zero; a byte is the low 8 bits of its value.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/DspRecords.h"

namespace dsp {

// Channels (outputs 0..15, inputs 0..13) and bands the unit's arrays and the
// reply records hold.
inline bool IsChannel(uint32_t ch) { return ch < kRecordChannels; }
inline bool IsEqBand(uint32_t band) { return band < kRecordBands; }

// Truncation toward zero; NaN gives 0 and values no int32 holds its limits.
int32_t Truncate(float v);

// trunc(v), then trunc(10v) % 10 with the sign of the dividend.
void EncodeWholeTenths(float v, uint8_t out[2]);
// trunc(v), then the low byte of trunc(10v), unsigned, % 10 (Q and soft knee).
void EncodeWholeTenthsOfLowByte(float v, uint8_t out[2]);
// trunc(v), then trunc(10v) - 10 trunc(v): -20.5 gives -20, -5.
void EncodeSignedTenths(float v, uint8_t out[2]);
// Equaliser gain: whole + tenths of gain + 18 to the nearest tenth, so that
// -18 dB is 0, 0 (below -18 dB both carry the minus sign).
void EncodeEqGain(float gainDb, uint8_t out[2]);
// Compressor noise threshold: whole + tenths of threshold + 100.
void EncodeNoiseThreshold(float thresholdDb, uint8_t out[2]);
// Delay: whole ms, then (low 16 bits of trunc(1000 ms)) % 1000 as a BE word.
void EncodeDelay(float ms, uint8_t out[3]);
// Trim: trunc(t); with hundredths on also trunc((t - trunc(t)) * 100).
// Returns the bytes written (1 or 2).
size_t EncodeTrim(float db, bool hundredths, uint8_t out[2]);
// Input mix mask: a BE word above 8 inputs, else its low byte. Returns 2 or 1.
size_t EncodeMixMask(uint32_t mask, uint32_t inputCount, uint8_t out[2]);

// Appends to a caller's block of capacity bytes. A write that does not fit
// fails the writer and writes nothing; a failed writer writes nothing more.
class PayloadWriter {
public:
    PayloadWriter(uint8_t* out, size_t capacity) : mOut(out), mCapacity(capacity) {}

    void Byte(uint32_t value);
    void WordBE(uint32_t value);
    void LongLE(uint32_t value);
    void Bytes(const uint8_t* bytes, size_t count);
    // Makes room for count bytes and returns where they go; null on failure.
    uint8_t* Reserve(size_t count);
    void Fail() { mFailed = true; }

    // False when a write failed; otherwise stores the length written.
    bool Finish(size_t* length) const;

private:
    uint8_t* mOut;
    size_t mCapacity;
    size_t mLength = 0;
    bool mFailed = false;
};

}  // namespace dsp
