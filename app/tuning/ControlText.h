// Numbers written into a bound control's text and read back from it; a
// missing control is skipped.
#pragma once

#include <windows.h>

#include "uilib/core/UIString.h"

namespace SkinUI {
class CControlUI;
class CEditUI;
class CPaintManagerUI;
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

// A box left takes its typing, by a click, Tab or Shift+Tab alike, and a
// control that confirms nothing drops it only when it acts: at a window's
// first layout ("windowinit") its Cancel and the connect button (which ends
// the link the typing was typed on) are set to take no focus at a press, as
// the close squares, which take no keys, never do. A press on one keeps the
// box focused with its typing: its click closes the window, whose close
// drops the typing in the framework, or ends the link, whose end drops it;
// slid off and let go elsewhere, it leaves the typing to be taken as ever.
void KeepTypingPastPresses(const SkinUI::TNotifyInfo& notify);

// Typing belongs to the link it was typed on: as that ends or another opens,
// the focused box shows the program's text again, and the read that follows
// writes the unit's value there.
void DropTyping(SkinUI::CPaintManagerUI* manager);

// While it lives, the focused box holding typing (its edit window open or,
// the program left meanwhile, closed) keeps the installer's text and caret
// through what the program writes there: a unit's report moves the model and
// the slider, Enter takes the typing and Escape brings the program's last text.
class TypingKept {
public:
    explicit TypingKept(SkinUI::CPaintManagerUI* manager);
    ~TypingKept();
    TypingKept(const TypingKept&) = delete;
    TypingKept& operator=(const TypingKept&) = delete;

private:
    SkinUI::CEditUI* m_box = nullptr;
    SkinUI::CUIString m_typed;
    DWORD m_selStart = 0;
    DWORD m_selEnd = 0;
};
