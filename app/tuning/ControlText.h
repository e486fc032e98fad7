// Numbers written into a bound control's text and read back from it; a
// missing control is skipped.
#pragma once

#include "uilib/core/UIString.h"

namespace SkinUI {
class CControlUI;
struct TNotifyInfo;
}

// format takes the value, or the precision and then the value ("%.*f") when
// precision is not negative.
SkinUI::CUIString NumberText(const wchar_t* format, double value, int precision = -1);
SkinUI::CUIString IntegerText(const wchar_t* format, int value);
void SetText(SkinUI::CControlUI* control, const wchar_t* format, double value, int precision = -1);
void SetIntText(SkinUI::CControlUI* control, const wchar_t* format, int value);

// Whether the box holds other text than written, the text the program writes
// there for the value it keeps (language keys looked up): a box only entered
// and left holds what the program wrote, so nothing is taken from it.
bool IsTyped(const SkinUI::CControlUI* box, const wchar_t* written);

// Whether a focus loss goes to the window's close button or to no control
// (the window closing): what the box holds was not confirmed.
bool LeavesForClose(const SkinUI::TNotifyInfo& notify);
