#pragma once

#include <windows.h>

#include "uilib/core/UIControl.h"

namespace SkinUITest {

// Hands one event of the given type at (x, y) to the control, stamped now.
void SendEvent(SkinUI::CControlUI& control, int type, int x = 0, int y = 0, WPARAM wParam = 0);
// Hands the control a key-down of that virtual key.
void SendKey(SkinUI::CControlUI& control, WORD key);

} // namespace SkinUITest
