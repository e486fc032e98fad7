#pragma once

#include <string>

namespace SkinUI {
class CZipReader;
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
