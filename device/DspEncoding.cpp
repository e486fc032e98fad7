#include "device/DspEncoding.h"

#include <cmath>
#include <cstring>

namespace dsp {

namespace {

uint8_t Low(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFF); }

}  // namespace

int32_t Truncate(float v) {
    if (v != v) return 0;
    if (v >= 2147483648.0f) return INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(v);
}

void EncodeWholeTenths(float v, uint8_t out[2]) {
    const float tenfold = 10.0f * v;
    out[0] = Low(Truncate(v));
    out[1] = Low(Truncate(tenfold) % 10);
}

void EncodeWholeTenthsOfLowByte(float v, uint8_t out[2]) {
    const float tenfold = 10.0f * v;
    out[0] = Low(Truncate(v));
    out[1] = static_cast<uint8_t>(Low(Truncate(tenfold)) % 10);
}

void EncodeSignedTenths(float v, uint8_t out[2]) {
    const float tenfold = 10.0f * v;
    const int32_t whole = Truncate(v);
    out[0] = Low(whole);
    // Unsigned, so that extreme values wrap instead of overflowing.
    const uint32_t tenths =
        static_cast<uint32_t>(Truncate(tenfold)) - 10u * static_cast<uint32_t>(whole);
    out[1] = static_cast<uint8_t>(tenths & 0xFF);
}

void EncodeEqGain(float gainDb, uint8_t out[2]) {
    // The nearest tenth: truncating 10 (g + 18) in single precision sends
    // -17.7 dB as 0.2 and slider steps (value x 0.1) a tenth low.
    const double tenfold = 10.0 * static_cast<double>(gainDb);
    int64_t tenths = 0;
    if (tenfold == tenfold) {
        const double limited = tenfold < -2147483648.0 ? -2147483648.0 : tenfold > 2147483647.0 ? 2147483647.0 : tenfold;
        tenths = std::llround(limited) + 180;
    }
    out[0] = Low(static_cast<int32_t>(tenths / 10));
    out[1] = Low(static_cast<int32_t>(tenths % 10));
}

void EncodeNoiseThreshold(float thresholdDb, uint8_t out[2]) {
    EncodeWholeTenths(thresholdDb + 100.0f, out);
}

void EncodeDelay(float ms, uint8_t out[3]) {
    const float micro = 1000.0f * ms;
    const uint16_t low16 = static_cast<uint16_t>(Truncate(micro) & 0xFFFF);
    const uint16_t thousandths = static_cast<uint16_t>(low16 % 1000);
    out[0] = Low(Truncate(ms));
    out[1] = static_cast<uint8_t>(thousandths >> 8);
    out[2] = static_cast<uint8_t>(thousandths & 0xFF);
}

size_t EncodeTrim(float db, bool hundredths, uint8_t out[2]) {
    const int32_t whole = Truncate(db);
    out[0] = Low(whole);
    if (!hundredths) return 1;
    // From the signed whole part, so a negative trim keeps the sign of its fraction.
    const float fraction = (db - static_cast<float>(whole)) * 100.0f;
    out[1] = Low(Truncate(fraction));
    return 2;
}

size_t EncodeMixMask(uint32_t mask, uint32_t inputCount, uint8_t out[2]) {
    if (inputCount > 8) {
        out[0] = static_cast<uint8_t>((mask >> 8) & 0xFF);
        out[1] = static_cast<uint8_t>(mask & 0xFF);
        return 2;
    }
    out[0] = static_cast<uint8_t>(mask & 0xFF);
    return 1;
}

uint8_t* PayloadWriter::Reserve(size_t count) {
    if (mFailed || count > mCapacity - mLength) {
        mFailed = true;
        return nullptr;
    }
    uint8_t* at = mOut + mLength;
    mLength += count;
    return at;
}

void PayloadWriter::Byte(uint32_t value) {
    if (uint8_t* at = Reserve(1)) at[0] = static_cast<uint8_t>(value & 0xFF);
}

void PayloadWriter::WordBE(uint32_t value) {
    if (uint8_t* at = Reserve(2)) {
        at[0] = static_cast<uint8_t>((value >> 8) & 0xFF);
        at[1] = static_cast<uint8_t>(value & 0xFF);
    }
}

void PayloadWriter::LongLE(uint32_t value) {
    if (uint8_t* at = Reserve(4)) {
        for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

void PayloadWriter::Bytes(const uint8_t* bytes, size_t count) {
    if (count == 0) return;
    if (!bytes) {
        mFailed = true;
        return;
    }
    if (uint8_t* at = Reserve(count)) std::memcpy(at, bytes, count);
}

bool PayloadWriter::Finish(size_t* length) const {
    if (mFailed) return false;
    *length = mLength;
    return true;
}

}  // namespace dsp
