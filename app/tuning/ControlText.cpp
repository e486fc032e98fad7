#include "app/tuning/ControlText.h"

#include <cwchar>

#include "uilib/core/UIControl.h"

void SetText(SkinUI::CControlUI* control, const wchar_t* format, double value, int precision)
{
    if (control == nullptr) return;
    wchar_t text[32];
    if (precision >= 0)
        _snwprintf(text, 31, format, precision, value);
    else
        _snwprintf(text, 31, format, value);
    text[31] = L'\0';
    control->SetTextContent(text);
}

void SetIntText(SkinUI::CControlUI* control, const wchar_t* format, int value)
{
    if (control == nullptr) return;
    wchar_t text[32];
    _snwprintf(text, 31, format, value);
    text[31] = L'\0';
    control->SetTextContent(text);
}
