#include "app/tuning/ControlText.h"

#include <cfloat>
#include <cmath>
#include <cwchar>

#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIControl.h"

using SkinUI::CUIString;

CUIString NumberText(const wchar_t* format, double value, int precision)
{
    wchar_t text[32];
    if (precision >= 0)
        _snwprintf(text, 31, format, precision, value);
    else
        _snwprintf(text, 31, format, value);
    text[31] = L'\0';
    return CUIString(text);
}

CUIString IntegerText(const wchar_t* format, int value)
{
    wchar_t text[32];
    _snwprintf(text, 31, format, value);
    text[31] = L'\0';
    return CUIString(text);
}

void SetText(SkinUI::CControlUI* control, const wchar_t* format, double value, int precision)
{
    if (control != nullptr) control->SetTextContent(NumberText(format, value, precision));
}

void SetIntText(SkinUI::CControlUI* control, const wchar_t* format, int value)
{
    if (control != nullptr) control->SetTextContent(IntegerText(format, value));
}

bool IsTyped(const SkinUI::CControlUI* box, const wchar_t* written)
{
    if (box == nullptr) return false;
    return box->GetTextContent() != SkinUI::CResourceStore::GetInstance()->LookupText(written);
}

bool ReadFiniteNumber(const wchar_t* text, double& value)
{
    const double read = text != nullptr ? wcstod(text, nullptr) : 0.0;
    // Every box keeps a float: beyond its range is no number either.
    if (!(std::fabs(read) <= FLT_MAX)) return false;
    value = read;
    return true;
}
