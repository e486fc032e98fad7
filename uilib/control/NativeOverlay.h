#pragma once

#include <windows.h>

#include "uilib/core/UIRect.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

// Helpers for the native windows that controls lay over themselves while
// they are edited (edit box, date picker, address and hot key editors).

// The rectangle clipped by the content area of every ancestor; empty when an
// ancestor is hidden or clips it away.
CUIRect ClipToAncestors(const CControlUI& control, CUIRect rc);
// The rectangle narrowed to the font's height, centred, when the font is
// lower than the rectangle.
CUIRect CenterOnFontHeight(CPaintManagerUI& manager, int font, CUIRect rc);
// The font of that index, or the manager's default font.
HFONT ResolveFontHandle(CPaintManagerUI& manager, int font);
// Registers the common control classes the editors superclass (date picker,
// address and hot key); false when the system refuses.
bool EnsureEditorClasses();

} // namespace SkinUI
