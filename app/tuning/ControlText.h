// Numbers written into a bound control's text; a missing control is skipped.
#pragma once

namespace SkinUI {
class CControlUI;
}

// format takes the value, or the precision and then the value ("%.*f") when
// precision is not negative.
void SetText(SkinUI::CControlUI* control, const wchar_t* format, double value, int precision = -1);
void SetIntText(SkinUI::CControlUI* control, const wchar_t* format, int value);
