#include "uilib/core/Utf8Encode.h"

#include <cstdint>

namespace SkinUI {

namespace {

const uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(uint32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(uint32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Writes cp as UTF-8 into buf; returns the byte count.
size_t EncodeOne(uint32_t cp, unsigned char* buf)
{
    if (cp < 0x80) {
        buf[0] = static_cast<unsigned char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        buf[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        buf[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        buf[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        buf[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        buf[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 3;
    }
    buf[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
    buf[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
    buf[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    buf[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 4;
}

} // namespace

size_t WideToUtf8(const wchar_t* text, char* out, size_t capacity)
{
    if (text == nullptr || out == nullptr || capacity == 0) return static_cast<size_t>(-1);
    size_t written = 0;
    for (size_t i = 0; text[i] != L'\0'; ++i) {
        // Through the unsigned type of the same width, so a negative
        // 32-bit wchar_t does not look like a small code point.
        uint32_t cp = sizeof(wchar_t) == 2 ? static_cast<uint16_t>(text[i]) : static_cast<uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && IsHighSurrogate(cp)
            && IsLowSurrogate(static_cast<uint16_t>(text[i + 1]))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<uint16_t>(text[i + 1]) - 0xDC00u);
            ++i;
        } else if (IsHighSurrogate(cp) || IsLowSurrogate(cp) || cp > 0x10FFFF) {
            cp = kReplacement;
        }
        unsigned char buf[4];
        const size_t n = EncodeOne(cp, buf);
        if (written + n >= capacity) {
            out[0] = '\0';
            return static_cast<size_t>(-1);
        }
        for (size_t k = 0; k < n; ++k) out[written++] = static_cast<char>(buf[k]);
    }
    out[written] = '\0';
    return written;
}

} // namespace SkinUI
