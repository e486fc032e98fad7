#pragma once

// A formatted trace line to the debugger output (msvcrt wide formats: %s is
// a wide text). The charts trace there, not to the program log.
void ChartTrace(const wchar_t* format, ...);
