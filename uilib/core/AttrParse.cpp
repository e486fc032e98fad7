#include "uilib/core/AttrParse.h"

#include <cwchar>

namespace SkinUI {

namespace {

wchar_t FoldAscii(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
}

// Moves past the separator after a number, but never past the terminator.
const wchar_t* NextItem(const wchar_t* stop)
{
    return *stop != L'\0' ? stop + 1 : stop;
}

// Numbers missing at the end read as 0; read(p, &stop) parses one number.
template <class T, class Reader>
int ParseNumberList(const wchar_t* value, T* out, int count, Reader read)
{
    int present = 0;
    const wchar_t* p = value != nullptr ? value : L"";
    for (int i = 0; i < count; ++i) {
        if (*p == L'\0') {
            out[i] = 0;
            continue;
        }
        wchar_t* stop = nullptr;
        out[i] = read(p, &stop);
        ++present;
        p = NextItem(stop);
    }
    return present;
}

} // namespace

bool AttrNameEquals(const wchar_t* a, const wchar_t* b)
{
    if (a == nullptr || b == nullptr) return a == b;
    while (*a != L'\0' && FoldAscii(*a) == FoldAscii(*b)) {
        ++a;
        ++b;
    }
    return *a == L'\0' && *b == L'\0';
}

bool ParseAttrBool(const wchar_t* value)
{
    return AttrNameEquals(value, L"true");
}

int32_t ParseAttrInt(const wchar_t* value)
{
    if (value == nullptr) return 0;
    return static_cast<int32_t>(std::wcstol(value, nullptr, 10));
}

uint32_t ParseAttrColor(const wchar_t* value, bool skipBlanks)
{
    if (value == nullptr) return 0;
    if (skipBlanks) {
        while (*value == L' ' || *value == L'\t') ++value;
    }
    if (*value == L'#') ++value;
    // wcstoul would accept a sign or blanks of its own; the skin gives hex digits.
    const wchar_t* p = value;
    uint32_t colour = 0;
    int digits = 0;
    for (; digits < 8; ++p, ++digits) {
        wchar_t ch = *p;
        uint32_t v;
        if (ch >= L'0' && ch <= L'9') v = static_cast<uint32_t>(ch - L'0');
        else if (ch >= L'a' && ch <= L'f') v = static_cast<uint32_t>(ch - L'a' + 10);
        else if (ch >= L'A' && ch <= L'F') v = static_cast<uint32_t>(ch - L'A' + 10);
        else break;
        colour = (colour << 4) | v;
    }
    return colour;
}

int ParseAttrIntList(const wchar_t* value, int32_t* out, int count)
{
    return ParseNumberList(value, out, count, [](const wchar_t* p, wchar_t** stop) {
        return static_cast<int32_t>(std::wcstol(p, stop, 10));
    });
}

int ParseAttrDoubleList(const wchar_t* value, double* out, int count)
{
    return ParseNumberList(value, out, count, [](const wchar_t* p, wchar_t** stop) { return std::wcstod(p, stop); });
}

} // namespace SkinUI
