#pragma once

#include <string>

#include "uilib/core/UIManager.h"

// The skin as the program opens it at start (archive resource, resource
// index), plus the three languages with English selected. Safe to call more
// than once.
bool OpenAppSkin();

// A key's text in the selected language.
std::wstring Text(const wchar_t* key);
// A text as the tables write it, a char per character.
std::string Narrow(const SkinUI::CUIString& text);
// A key's text as a control shows it, narrowed.
std::string Resolved(const wchar_t* key);

// A numbered control's name: the format with its one %d filled.
std::wstring NameOf(const wchar_t* format, int index);
// A control's display text, or "<missing>" when the window has no such control.
std::wstring TextOf(SkinUI::CPaintManagerUI& manager, const wchar_t* name);
// Whether the window has the control and it is visible.
bool VisibleOf(SkinUI::CPaintManagerUI& manager, const wchar_t* name);
