#include "app/windows/DspNumberText.h"

namespace {

// The digit's value in base, or -1 when base has no such digit.
int DigitValue(wchar_t c, int base)
{
    int value = -1;
    if (c >= L'0' && c <= L'9') value = c - L'0';
    else if (c >= L'a' && c <= L'f') value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') value = c - L'A' + 10;
    return value < base ? value : -1;
}

} // namespace

uint32_t ParseDspNumber(const wchar_t* text)
{
    if (text == nullptr || text[0] == L'\0') return 0;
    int base = 10;
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        base = 16;
        text += 2;
    } else if (text[0] == L'0') {
        base = 8;
        ++text;
    }
    // Integer arithmetic modulo 2^32 keeps exactly the low 32 bits, which a
    // double loses past 53 bits of digits.
    uint32_t value = 0;
    for (; *text != L'\0'; ++text) {
        const int digit = DigitValue(*text, base);
        if (digit < 0) break;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
    }
    return value;
}
