// The mixer and the three service windows as the program makes them, but
// without their modal loops: for pictures, open/close cycles and the build
// benchmark. Each deletes itself when its window is destroyed.
#pragma once

#include <windows.h>

#include "uilib/core/WindowBase.h"

class EqualizerManager;

namespace dialogs {

struct ServiceWindowKind {
    const wchar_t* label;  // also the start of the picture's file name
    SkinUI::WindowImplBase* (*make)(EqualizerManager& controller);
    const wchar_t* title;
};

extern const ServiceWindowKind kServiceWindows[4];

// Creates the window over no owner; null when it could not be made.
SkinUI::WindowImplBase* CreateServiceWindow(const ServiceWindowKind& kind, EqualizerManager& controller);

} // namespace dialogs
