// Language texts used as printf formats. The texts live in the skin, so a
// translation could name other arguments than the program passes; such a
// text is shown as it is instead of being formatted.
#pragma once

#include <cstddef>

// Formats the text of key with the arguments, whose kinds kinds spells in
// order ("d" a number, "f" a double, "s" a wide text). out always ends up
// terminated; false when the text's specifiers differ from kinds.
bool FormatLanguageText(wchar_t* out, size_t capacity, const wchar_t* key, const char* kinds, ...);

// True when format's conversions, in order, are exactly kinds ("%%" is none).
bool FormatTakes(const wchar_t* format, const char* kinds);
