// Conversions between the system's ANSI code page and UTF-16, for scene names.
#pragma once

#include <cstddef>

// Convert the whole zero-terminated text, terminator included, into out (at
// most capacity units, always terminated when capacity > 0). False when the
// text does not fit or cannot be converted.
bool AnsiToWide(const char* in, wchar_t* out, size_t capacity);
bool WideToAnsi(const wchar_t* in, char* out, size_t capacity);
