// A skin window's picture for people to look at, and checks on its own
// painting: nothing black inside the border, more than a flat fill; and on
// its size: inside the smallest screen shown at its DPI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "uilib/core/WindowBase.h"

// Shows the window at dpi, saves its own painting as
// <layout>_<language>_<dpi>dpi.png in the screenshot folder (a window larger
// than the test screen is pictured whole) and checks it. minColours: more
// colours than a flat fill with one line of smoothed text has. Returns the
// painting, 0x00RRGGBB by rows of the client width, for checks of its own.
std::vector<uint32_t> CheckWindow(SkinUI::WindowImplBase& window, const wchar_t* layout, const wchar_t* language,
                                  int dpi, size_t minColours = 16);
