#pragma once

#include <functional>

namespace SkinUI {
class WindowImplBase;
}

// Runs check(language, dpi) for each of the program's languages at 96, 120 and 144
// DPI with that language selected; English is selected again afterwards.
void ForEachLanguageAndDpi(const std::function<void(const wchar_t* language, int dpi)>& check);

// Scales a created skin window to dpi as the program does, shows it without
// taking activation and lets it paint.
void ShowAtDpi(SkinUI::WindowImplBase& window, int dpi);
