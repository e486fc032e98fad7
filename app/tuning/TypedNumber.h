// What an installer types into a box, read the same way in every window.
// The text is taken as typed from a manual, a spreadsheet or an input method:
// the Unicode minus and the full-width digits, signs, letters and points
// stand for their ASCII forms, a comma is a decimal point, and spaces around
// the text are dropped. Anything that is not wholly a number is refused, so a
// typo never becomes a value. Free of Win32 so that it is tested natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A space of any kind, the zero-width ones included: none shows, so none
// makes a name or a number other than the same text without it.
bool IsTypedSpace(wchar_t c);

// Unit words a box takes after its number, compared ignoring case; "dB" and
// "Hz" also in the words of the other languages, "in" also as "inch" or "дюйм".
using UnitWords = std::vector<std::wstring>;

// A decimal number, optionally followed by one of units; refused (empty) for
// any other text and for a number beyond a float, which no box keeps.
std::optional<double> ReadTypedDecimal(const wchar_t* text, const UnitWords& units = {});

// The same decimal number cut to its whole part (toward zero); a point or
// comma before exactly three digits ("2,000") is refused as a thousands group.
std::optional<int> ReadTypedWhole(const wchar_t* text, const UnitWords& units = {});

// A frequency in Hz: a whole number with "Hz" or none (a thousands group
// refused as above), or a decimal number of kHz with a kilo letter (k, K, к
// or К) and "Hz" or none after it ("1.5k", "3,5 кГц"), or the kilo letter as
// the point ("2k5"). Refused for a negative number or any other text.
std::optional<int> ReadTypedFrequency(const wchar_t* text);

// The off word of any of the languages, in any case.
bool IsTypedOff(const wchar_t* text);

// A level box: off for the off word, else the whole number (units as above).
std::optional<int> ReadTypedLevel(const wchar_t* text, int off, const UnitWords& units = {});

// A service word: "0x" hexadecimal, a leading "0" octal, else decimal.
// Refused unless the whole text is digits of its base (after the prefix;
// "0" alone is 0) and its value fits 32 bits.
std::optional<uint32_t> ReadServiceWord(const wchar_t* text);

// A typed value brought to the nearest multiple of step, the finest value a
// unit holds (halves away from zero); never a signed zero.
double NearestStep(double value, double step);
