#pragma once

#include <cstdint>

// Reads a "curvecolor" list, "#AARRGGBB #AARRGGBB ...", into at most max
// colours; returns how many were read. Colours past max are dropped.
int ParseCurveColors(const wchar_t* text, uint32_t* out, int max);
