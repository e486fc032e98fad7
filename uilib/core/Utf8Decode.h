#pragma once

#include <cstddef>

namespace SkinUI {

// Decodes UTF-8 into wide characters (UTF-16 where wchar_t has 16 bits, so
// characters above U+FFFF become surrogate pairs). Malformed sequences,
// overlong forms and encoded surrogates each become U+FFFD. out must hold
// size wide characters: the result is never longer than the input. Returns
// the number of wide characters written; no terminator is added.
size_t Utf8ToWide(const unsigned char* bytes, size_t size, wchar_t* out);

} // namespace SkinUI
