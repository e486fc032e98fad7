// The image attribute syntax: key='value' items, or a bare image name.
#include <cwchar>
#include <cwctype>

#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

bool IsBlank(wchar_t ch) { return ch == L' '; }

void ReadRect(const wchar_t* value, RECT& rc, CPaintManagerUI* manager)
{
    int32_t edges[4] = {0, 0, 0, 0};
    ParseAttrIntList(value, edges, 4);
    rc.left = edges[0];
    rc.top = edges[1];
    rc.right = edges[2];
    rc.bottom = edges[3];
    if (manager != nullptr) manager->DpiScaler()->ScaleRectInPlace(rc);
}

void ApplyItem(TImageDrawSpec& spec, const CUIString& key, const CUIString& value, CPaintManagerUI* manager)
{
    if (key == L"file" || key == L"res") {
        spec.imageName = value;
    } else if (key == L"restype") {
        spec.resourceType = value;
    } else if (key == L"dest") {
        ReadRect(value, spec.dest, manager);
    } else if (key == L"source") {
        ReadRect(value, spec.source, manager);
    } else if (key == L"corner") {
        ReadRect(value, spec.corners, manager);
    } else if (key == L"mask") {
        spec.mask = ParseAttrColor(value, false);
    } else if (key == L"fade") {
        spec.fade = static_cast<BYTE>(ParseAttrInt(value) & 0xFF);
    } else if (key == L"hole") {
        spec.hole = ParseAttrBool(value);
    } else if (key == L"xtiled") {
        spec.xTiled = ParseAttrBool(value);
    } else if (key == L"ytiled") {
        spec.yTiled = ParseAttrBool(value);
    } else if (key == L"hsl") {
        spec.hsl = ParseAttrBool(value);
    } else if (key == L"iconsize") {
        int32_t size[2] = {0, 0};
        ParseAttrIntList(value, size, 2);
        spec.iconSize.cx = size[0];
        spec.iconSize.cy = size[1];
    } else if (key == L"iconalign") {
        spec.iconAlign = value;
    }
}

// One pass over a text; stops at the first item that breaks the syntax.
void ParseItems(TImageDrawSpec& spec, const wchar_t* text, CPaintManagerUI* manager)
{
    if (text == nullptr) return;
    const wchar_t* p = text;
    while (*p != L'\0') {
        while (*p != L'\0' && *p <= L' ') p = CharNextW(p);
        const wchar_t* keyStart = p;
        while (*p != L'\0' && *p != L'=' && !IsBlank(*p)) p = CharNextW(p);
        CUIString key(keyStart, static_cast<int>(p - keyStart));
        while (IsBlank(*p)) p = CharNextW(p);
        if (*p != L'=') return;
        p = CharNextW(p);
        while (IsBlank(*p)) p = CharNextW(p);
        if (*p != L'\'') return;
        p = CharNextW(p);
        const wchar_t* valueStart = p;
        while (*p != L'\0' && *p != L'\'') p = CharNextW(p);
        if (*p != L'\'') return;
        CUIString value(valueStart, static_cast<int>(p - valueStart));
        p = CharNextW(p);
        if (!value.IsEmpty()) ApplyItem(spec, key, value, manager);
        if (!IsBlank(*p)) return;
        p = CharNextW(p);
    }
}

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

} // namespace

void TImageDrawSpec::Reset()
{
    attributeText.Clear();
    modifierText.Clear();
    imageName.Clear();
    resourceType.Clear();
    iconAlign.Clear();
    dest = RECT{0, 0, 0, 0};
    source = RECT{0, 0, 0, 0};
    corners = RECT{0, 0, 0, 0};
    mask = 0;
    fade = 255;
    hole = false;
    xTiled = false;
    yTiled = false;
    hsl = false;
    iconSize = SIZE{0, 0};
}

void TImageDrawSpec::Parse(const wchar_t* attributeTextIn, const wchar_t* modifierTextIn, CPaintManagerUI* manager)
{
    attributeText = attributeTextIn;
    imageName = attributeTextIn;
    modifierText = modifierTextIn;
    // The fields are read from copies: a caller may hand in this spec's own texts.
    CUIString attributes(attributeText);
    CUIString modifier(modifierText);
    ParseItems(*this, attributes, manager);
    ParseItems(*this, modifier, manager);

    if (manager == nullptr) return;
    int percent = manager->DpiScaler()->GetScalePercent();
    if (percent == 100) return;
    wchar_t variant[16];
    _snwprintf(variant, 16, L"@%d.", percent);
    variant[15] = L'\0';
    imageName.ReplaceAll(L".", variant);
}

bool TImageDrawSpec::StripDpiVariant(const wchar_t* name, CUIString& plain)
{
    plain.Clear();
    if (name == nullptr) return false;
    bool stripped = false;
    const wchar_t* p = name;
    while (*p != L'\0') {
        if (*p == L'@') {
            const wchar_t* q = p + 1;
            while (IsDigit(*q)) ++q;
            if (q > p + 1 && *q == L'.') {
                stripped = true;
                p = q;
                continue;
            }
        }
        plain += *p;
        ++p;
    }
    return stripped;
}

} // namespace SkinUI
