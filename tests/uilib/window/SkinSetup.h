#pragma once

#include <functional>
#include <string>

namespace SkinUI {
class CZipReader;
class WindowImplBase;
}

// Opens the skin archive embedded in the test program the way the program
// does at start: archive from the resource, resource index, the three
// languages with English selected.
// False when any step fails. Safe to call more than once.
bool OpenEmbeddedSkin();

// A folder beside the test program for pictures the run leaves behind.
std::wstring ScreenshotFolder();

// Writes the screen area of the window to a 24-bit BMP file.
bool SaveWindowScreenshot(void* window, const std::wstring& path);

// Runs check(language, dpi) for each of the program's languages at 96 and 144
// DPI with that language selected; English is selected again afterwards.
void ForEachLanguageAndDpi(const std::function<void(const wchar_t* language, int dpi)>& check);

// Scales a created skin window to dpi as the program does, shows it without
// taking activation and lets it paint.
void ShowAtDpi(SkinUI::WindowImplBase& window, int dpi);
