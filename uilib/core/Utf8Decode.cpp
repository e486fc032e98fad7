#include "uilib/core/Utf8Decode.h"

namespace SkinUI {

namespace {

const unsigned long kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

size_t PutCodePoint(unsigned long cp, wchar_t* out)
{
    if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
        cp -= 0x10000;
        out[0] = static_cast<wchar_t>(0xD800 + (cp >> 10));
        out[1] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        return 2;
    }
    out[0] = static_cast<wchar_t>(cp);
    return 1;
}

} // namespace

size_t Utf8ToWide(const unsigned char* bytes, size_t size, wchar_t* out)
{
    size_t written = 0;
    size_t i = 0;
    while (i < size) {
        unsigned char lead = bytes[i];
        size_t extra;
        unsigned long cp;
        unsigned long minimum;
        if (lead < 0x80) {
            out[written++] = static_cast<wchar_t>(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            out[written++] = static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }

        // A broken sequence replaces only the bytes read so far, so the
        // next lead byte is decoded on its own.
        size_t n = 1;
        while (n <= extra && i + n < size && IsContinuation(bytes[i + n])) {
            cp = (cp << 6) | (bytes[i + n] & 0x3F);
            ++n;
        }
        if (n <= extra || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out[written++] = static_cast<wchar_t>(kReplacement);
            i += n;
            continue;
        }
        // A 4-byte sequence yields at most two units from four bytes.
        written += PutCodePoint(cp, out + written);
        i += n;
    }
    return written;
}

} // namespace SkinUI
