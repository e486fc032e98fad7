#pragma once

#include <cstddef>

namespace SkinUI {

// Encodes a zero-terminated wide text (UTF-16 where wchar_t has 16 bits) as
// UTF-8 into out, never splitting a character, at most capacity - 1 bytes,
// and terminates it. Unpaired surrogates become U+FFFD. Returns the number
// of bytes written, or (size_t)-1 (out left empty) when the text does not fit.
size_t WideToUtf8(const wchar_t* text, char* out, size_t capacity);

} // namespace SkinUI
