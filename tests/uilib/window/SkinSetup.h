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

// build/screenshots of the source tree (made when missing), where every
// test program leaves its pictures.
std::wstring ScreenshotFolder();

// Writes the screen area of the window to a 24-bit BMP file.
bool SaveWindowScreenshot(void* window, const std::wstring& path);
