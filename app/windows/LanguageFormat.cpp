#include "app/windows/LanguageFormat.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "base/Log.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

bool FormatTakes(const wchar_t* format, const char* kinds)
{
    std::string found;
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') continue;
        while (*p != L'\0' && wcschr(L"-+ #0123456789.hlI", *p) != nullptr) ++p;
        if (*p == L'\0') return false;
        found.push_back(*p <= 0x7F ? static_cast<char>(*p) : '?');
    }
    return found == kinds;
}

bool FormatLanguageText(wchar_t* out, size_t capacity, const wchar_t* key, const char* kinds, ...)
{
    if (out == nullptr || capacity == 0) return false;
    const CUIString format = CResourceStore::GetInstance()->LookupText(key);
    if (!FormatTakes(format, kinds)) {
        LogPrintW(L"text %s does not take the arguments %S: shown unformatted\n", key, kinds);
        wcsncpy(out, format, capacity - 1);
        out[capacity - 1] = L'\0';
        return false;
    }
    va_list args;
    va_start(args, kinds);
    _vsnwprintf(out, capacity - 1, format, args);
    va_end(args);
    out[capacity - 1] = L'\0';
    return true;
}
