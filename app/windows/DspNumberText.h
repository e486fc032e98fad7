// Numbers typed by a service engineer: "0x" hexadecimal, a leading "0"
// octal, anything else decimal.
#pragma once

#include <cstdint>

// Digits are read up to the first one the base does not have; no digit (or
// no text) gives 0. A value wider than 32 bits keeps its low 32 bits.
uint32_t ParseDspNumber(const wchar_t* text);
