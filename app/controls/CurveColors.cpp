#include "app/controls/CurveColors.h"

#include <cwchar>
#include <string>

#include "uilib/core/AttrParse.h"

int ParseCurveColors(const wchar_t* text, uint32_t* out, int max)
{
    if (text == nullptr || out == nullptr || max <= 0) return 0;
    if (*text == L'#') ++text;
    int count = 0;
    // Pieces end at every " #".
    while (count < max) {
        const wchar_t* end = wcsstr(text, L" #");
        const std::wstring piece = end != nullptr ? std::wstring(text, end) : std::wstring(text);
        out[count++] = SkinUI::ParseAttrColor(piece.c_str(), false);
        if (end == nullptr) break;
        text = end + 2;
    }
    return count;
}
