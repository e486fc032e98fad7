#include "app/tuning/TypedNumber.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// The ASCII form of a typed character: full-width forms, the Unicode minus
// and the ideographic full stop; everything else as it is.
wchar_t AsciiForm(wchar_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<wchar_t>(c - 0xFF01 + 0x21);
    if (c == 0x2212) return L'-';
    if (c == 0x3002) return L'.';
    return c;
}

// Lower case for the scripts of the language files (Latin and Cyrillic).
wchar_t Folded(wchar_t c)
{
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x0410 && c <= 0x042F) return static_cast<wchar_t>(c + 0x20);
    if (c == 0x0401) return 0x0451;
    return c;
}

// The text in ASCII forms, folded, without the spaces around it; a comma is
// a point when comma is true.
std::wstring Normalized(const wchar_t* text, bool comma)
{
    std::wstring out;
    if (text == nullptr) return out;
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        const wchar_t c = AsciiForm(*p);
        out += comma && c == L',' ? L'.' : Folded(c);
    }
    out.erase(std::find_if_not(out.rbegin(), out.rend(), IsTypedSpace).base(), out.end());
    out.erase(out.begin(), std::find_if_not(out.begin(), out.end(), IsTypedSpace));
    return out;
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The length of the decimal number text starts with ([sign] digits [. digits],
// at least one digit), 0 when there is none.
size_t NumberLength(const std::wstring& text)
{
    size_t i = !text.empty() && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (i < text.size() && text[i] == L'.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    }
    return digits > 0 ? i : 0;
}

// The words of the other languages that stand for a unit word, folded.
struct UnitAlias {
    const wchar_t* unit;
    const wchar_t* alias;
};
const UnitAlias kUnitAliases[] = {
    {L"db", L"\u0434\u0431"}, {L"db", L"\u5206\u8d1d"}, {L"hz", L"\u0433\u0446"}, {L"hz", L"\u8d6b\u5179"},
    {L"in", L"inch"},          {L"in", L"\u0434\u044e\u0439\u043c"},
};

bool IsUnitWord(const std::wstring& word, const std::wstring& unit)
{
    if (word == unit) return true;
    for (const UnitAlias& alias : kUnitAliases)
        if (unit == alias.unit && word == alias.alias) return true;
    return false;
}

// Whether the rest after a number (spaces, then one of units) is empty or a unit.
bool IsUnitRest(const std::wstring& rest, const UnitWords& units)
{
    if (rest.empty()) return true;
    size_t i = 0;
    while (i < rest.size() && IsTypedSpace(rest[i])) ++i;
    const std::wstring word = rest.substr(i);
    for (const std::wstring& unit : units) {
        if (IsUnitWord(word, Normalized(unit.c_str(), false))) return true;
    }
    return false;
}

// A validated number's value; empty beyond a float.
std::optional<double> ValueOf(const std::wstring& number)
{
    const std::string ascii(number.begin(), number.end());
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!(std::fabs(value) <= FLT_MAX)) return std::nullopt;
    // "-0" is 0: a box never shows a signed zero.
    return value + 0.0;
}

std::optional<double> ReadDecimal(const std::wstring& text, const UnitWords& units)
{
    const size_t length = NumberLength(text);
    if (length == 0 || !IsUnitRest(text.substr(length), units)) return std::nullopt;
    return ValueOf(text.substr(0, length));
}

const UnitWords kHertz = {L"hz"};

// "2,500" or "2.500" in a box of whole units: a thousands group, which read
// as a fraction would become a value nobody meant.
bool IsThousandsGroup(const std::wstring& text)
{
    const size_t length = NumberLength(text);
    const size_t point = text.find(L'.');
    return point < length && length - point == 4;
}

bool IsKilo(wchar_t c)
{
    return c == L'k' || c == 0x043A;
}

// Above any frequency a box shows; refused rather than overflowing.
const double kMaxTypedHz = 1e9;

} // namespace

bool IsTypedSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x202F ||
           c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

std::optional<double> ReadTypedDecimal(const wchar_t* text, const UnitWords& units)
{
    return ReadDecimal(Normalized(text, true), units);
}

std::optional<int> ReadTypedWhole(const wchar_t* text, const UnitWords& units)
{
    const std::wstring typed = Normalized(text, true);
    if (IsThousandsGroup(typed)) return std::nullopt;
    const std::optional<double> value = ReadDecimal(typed, units);
    if (!value) return std::nullopt;
    const double whole = std::trunc(*value);
    if (whole <= INT_MIN) return INT_MIN;
    return whole >= INT_MAX ? INT_MAX : static_cast<int>(whole);
}

std::optional<int> ReadTypedFrequency(const wchar_t* text)
{
    const std::wstring typed = Normalized(text, true);
    size_t kilo = 0;
    while (kilo < typed.size() && !IsKilo(typed[kilo])) ++kilo;
    std::optional<double> hz;
    if (kilo == typed.size()) {
        if (!IsThousandsGroup(typed)) hz = ReadDecimal(typed, kHertz);
    } else if (kilo + 1 < typed.size() && IsDigit(typed[kilo + 1])) {
        // "2k5": the kilo letter stands for the point between whole digits.
        const std::wstring whole = typed.substr(0, kilo);
        if (!whole.empty() && whole.find_first_not_of(L"0123456789") == std::wstring::npos)
            hz = ReadDecimal(whole + L'.' + typed.substr(kilo + 1), kHertz);
        if (hz) *hz *= 1000.0;
    } else {
        std::wstring number = typed.substr(0, kilo);
        while (!number.empty() && IsTypedSpace(number.back())) number.pop_back();
        hz = ReadDecimal(number, {});
        if (hz && IsUnitRest(typed.substr(kilo + 1), kHertz)) *hz *= 1000.0;
        else hz.reset();
    }
    if (!hz || *hz < 0.0 || *hz > kMaxTypedHz) return std::nullopt;
    return static_cast<int>(std::lround(*hz));
}

bool IsTypedOff(const wchar_t* text)
{
    const std::wstring typed = Normalized(text, false);
    // The off word of each language file: English, Russian, Chinese.
    return typed == L"off" || typed == L"\u0432\u044b\u043a\u043b" || typed == L"\u5173";
}

std::optional<int> ReadTypedLevel(const wchar_t* text, int off, const UnitWords& units)
{
    if (IsTypedOff(text)) return off;
    return ReadTypedWhole(text, units);
}

std::optional<uint32_t> ReadServiceWord(const wchar_t* text)
{
    const std::wstring typed = Normalized(text, false);
    uint32_t base = 10;
    size_t i = 0;
    if (typed.size() >= 2 && typed[0] == L'0' && typed[1] == L'x') {
        base = 16;
        i = 2;
        if (typed.size() == 2) return std::nullopt;
    } else if (!typed.empty() && typed[0] == L'0') {
        base = 8;
        i = 1;
    } else if (typed.empty()) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (; i < typed.size(); ++i) {
        const wchar_t c = typed[i];
        uint32_t digit = base;
        if (IsDigit(c)) digit = static_cast<uint32_t>(c - L'0');
        else if (c >= L'a' && c <= L'f') digit = static_cast<uint32_t>(c - L'a' + 10);
        if (digit >= base || value > (UINT32_MAX - digit) / base) return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

double NearestStep(double value, double step)
{
    // A decimal half such as 0.15 / 0.1 comes out of the division a hair
    // below or above its half; the nudge outweighs that error and no typed
    // difference, so halves go away from zero.
    const double steps = value / step;
    return std::round(steps + steps * 1e-12) * step + 0.0;
}
