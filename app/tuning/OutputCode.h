// Output assignment codes: the speaker position of an output channel, with
// its output-menu item name and speaker label key.
#pragma once

#include <cstdint>

using OutputCode = int32_t;

constexpr OutputCode kOutputCodeCount = 29;  // 0 (empty) .. 28

// One row of the output popup menu. Group rows (sub-menu headers) have an
// empty speaker label; the last row has empty texts throughout.
struct OutputMenuRow {
    const wchar_t* itemName;
    const wchar_t* menuLabel;
    const wchar_t* speakerLabel;
};

constexpr int kOutputMenuRowCount = 40;
extern const OutputMenuRow kOutputMenuRows[kOutputMenuRowCount];

// Item name of code, null when the code is not 0..28.
const wchar_t* GetOutputItemName(int code);

// The code whose item name equals name; -1 for group rows, unknown names and null.
int GetOutputCodeByName(const wchar_t* name);

// Speaker label key of the first menu row named name; null when no row is.
const wchar_t* GetSpeakerTextByItemName(const wchar_t* name);

// Speaker label key of code, null when the code has no item name.
const wchar_t* GetOutputSpeakerText(int code);

// Same as GetOutputSpeakerText, but "${empty}" for an unknown code, so a code
// from the unit or a file never leaves a control with a null text.
const wchar_t* GetOutputSpeakerTextOrEmpty(int code);

// Left/right partner: 1-6 <-> 7-12, 13-15 <-> 16-18, 22 <-> 23, 25 <-> 26; else -1.
int GetPairedOutputCode(int code);

// True when a channel holding other keeps code from being assigned elsewhere:
// other is in code's speaker group and their frequency ranges overlap. Codes
// 27 and 28 never conflict.
bool OutputCodesConflict(int code, int other);
