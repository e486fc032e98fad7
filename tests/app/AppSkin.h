#pragma once

#include <string>

#include "uilib/core/UIManager.h"

// The skin as the program opens it at start (archive resource, resource
// index), plus the three languages with English selected. Safe to call more
// than once.
bool OpenAppSkin();

// A control's display text, or "<missing>" when the window has no such control.
std::wstring TextOf(SkinUI::CPaintManagerUI& manager, const wchar_t* name);
// Whether the window has the control and it is visible.
bool VisibleOf(SkinUI::CPaintManagerUI& manager, const wchar_t* name);
