// The common open and save dialogs for the profile files.
#pragma once

#include <windows.h>

#include <string>

enum class ProfileFileKind { Scene, Whole };

// Asks for a file of the kind; the filters follow the language setting
// (1 Chinese, anything else English). A save dialog adds the kind's
// extension to a name typed without one and does not ask for an existing
// file. False when the user cancelled.
bool AskProfilePath(HWND owner, ProfileFileKind kind, bool save, int language, std::wstring& path);
