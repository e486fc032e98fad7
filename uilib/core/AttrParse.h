#pragma once

#include <cstdint>

namespace SkinUI {

// Readers of skin attribute values. None reads past the end of its text.

// "true" ignoring case gives true, anything else false.
bool ParseAttrBool(const wchar_t* value);

// A decimal number read from the start; 0 when none is there.
int32_t ParseAttrInt(const wchar_t* value);

// An ARGB colour in hexadecimal with an optional leading "#"; leading blanks
// are skipped only when asked. Malformed text reads as 0.
uint32_t ParseAttrColor(const wchar_t* value, bool skipBlanks);

// A list of decimal numbers with one separator character between them: each
// number is read from where the previous one stopped plus one character.
// Numbers missing at the end read as 0. Returns how many numbers were present.
int ParseAttrIntList(const wchar_t* value, int32_t* out, int count);

// The same for decimal fractions.
int ParseAttrDoubleList(const wchar_t* value, double* out, int count);

// Compares ASCII letters without case; other characters exactly.
bool AttrNameEquals(const wchar_t* a, const wchar_t* b);

} // namespace SkinUI
