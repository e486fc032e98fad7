// Process-wide diagnostic log: a console window plus "save.log", on only when
// the program opened it at start-up. Safe to call from any thread.
#pragma once

#include <atomic>
#include <cstdint>

// 1: each entry starts with "[hh:mm:ss.mmm] ". Writers of one line in several
// pieces clear it for the continuation pieces and set it again afterwards.
extern std::atomic<uint8_t> LogTimePrefixOn;

// Opens a console window for standard output, then the log file (OpenLogFile).
// Returns 0.
int InitConsoleWindow(const wchar_t* path);

// Opens the log file at path (truncated) and restarts the flush count. False
// when it cannot be opened: the log stays off.
bool OpenLogFile(const wchar_t* path);

// Flushes and closes the log file; the log is off afterwards.
void CloseLog();

// Wide format: "%s" takes a wide text, "%S" a narrow one. Entries longer than
// the entry buffer are cut. Return the number of characters written, 0 when off.
int LogPrintW(const wchar_t* format, ...);
int LogPrintA(const char* format, ...);

// To standard output only: no time prefix, not in the log file.
int ConsolePrintf(const char* format, ...);
