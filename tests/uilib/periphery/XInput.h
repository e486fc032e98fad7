#pragma once

#include <string>
#include <windows.h>

#include "uilib/core/UIControl.h"

namespace SkinUITest {

// Real X input for tests under Xvfb: runs xdotool (a Linux program, started
// from Wine through /bin/sh) and waits until it is done, dispatching this
// thread's messages meanwhile. False when it could not run or did not
// finish in time.
bool RunXdotool(const std::wstring& arguments, DWORD waitMs = 10000);

// A point of a control (offset from its top-left corner) in screen pixels.
POINT ScreenPointOf(const SkinUI::CControlUI& control, HWND window, int dx, int dy);

// xdotool arguments that move the pointer to the point and click there.
std::wstring ClickAt(POINT pt);

} // namespace SkinUITest
