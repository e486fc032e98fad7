#include "base/Log.h"

#include <windows.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cwchar>

#include "base/ConsoleQueue.h"

std::atomic<uint8_t> LogTimePrefixOn{1};

namespace {

constexpr size_t kEntryChars = 1024;

FILE* gLogFile = nullptr;
std::atomic_flag gBusy = ATOMIC_FLAG_INIT;
int gEntryCount = 0;
char gPrefixA[kEntryChars];
char gEntryA[kEntryChars];
wchar_t gPrefixW[kEntryChars];
wchar_t gEntryW[kEntryChars];

class LogHold {
public:
    LogHold() {
        while (gBusy.test_and_set(std::memory_order_acquire)) Sleep(1);
    }
    ~LogHold() { gBusy.clear(std::memory_order_release); }
    LogHold(const LogHold&) = delete;
    LogHold& operator=(const LogHold&) = delete;
};

// _vsnwprintf gives "%s" its wide meaning; it does not terminate a cut entry.
int FormatW(wchar_t* out, const wchar_t* format, va_list args) {
    int n = _vsnwprintf(out, kEntryChars - 1, format, args);
    out[kEntryChars - 1] = L'\0';
    return n < 0 ? static_cast<int>(wcslen(out)) : n;
}

int FormatA(char* out, const char* format, va_list args) {
    int n = _vsnprintf(out, kEntryChars - 1, format, args);
    out[kEntryChars - 1] = '\0';
    return n < 0 ? static_cast<int>(strlen(out)) : n;
}

// The console takes its copy through its own thread: a slow console must not
// hold the log, or a thread that logs every byte keeps the UI thread waiting.
void WriteWide(const wchar_t* text, int length) {
    ConsolePutWide(text, static_cast<size_t>(length));
    fwrite(text, sizeof(wchar_t), static_cast<size_t>(length), gLogFile);
}

// The time stamp in gPrefixA; its length, 0 while the prefix is off.
int FormatPrefix() {
    if (!LogTimePrefixOn.load()) return 0;
    SYSTEMTIME t;
    GetLocalTime(&t);
    return _snprintf(gPrefixA, kEntryChars - 1, "[%02d:%02d:%02d.%03d] ", t.wHour, t.wMinute,
                     t.wSecond, t.wMilliseconds);
}

void WritePrefix() {
    int n = FormatPrefix();
    if (n <= 0) return;
    for (int i = 0; i <= n; ++i) gPrefixW[i] = static_cast<unsigned char>(gPrefixA[i]);
    WriteWide(gPrefixW, n);
}

void WritePrefixNarrow() {
    int n = FormatPrefix();
    if (n <= 0) return;
    ConsolePut(gPrefixA, static_cast<size_t>(n));
    fwrite(gPrefixA, 1, static_cast<size_t>(n), gLogFile);
}

// Flush after the 12th entry and then after every 11th.
void CountEntry() {
    if (gEntryCount > 10) {
        fflush(gLogFile);
        gEntryCount = 0;
    }
    ++gEntryCount;
}

}  // namespace

int InitConsoleWindow(const wchar_t* path) {
    AllocConsole();
    _wfreopen(L"CONOUT$", L"w", stdout);
    setlocale(LC_CTYPE, ".936");
    OpenLogFile(path);
    return 0;
}

bool OpenLogFile(const wchar_t* path) {
    LogHold hold;
    gEntryCount = 0;
    if (gLogFile) fclose(gLogFile);
    gLogFile = _wfopen(path, L"wb");
    return gLogFile != nullptr;
}

void CloseLog() {
    LogHold hold;
    if (gLogFile) {
        fclose(gLogFile);
        gLogFile = nullptr;
    }
}

int LogPrintW(const wchar_t* format, ...) {
    if (!gLogFile) return 0;
    LogHold hold;
    if (!gLogFile) return 0;
    WritePrefix();
    va_list args;
    va_start(args, format);
    int n = FormatW(gEntryW, format, args);
    va_end(args);
    WriteWide(gEntryW, n);
    CountEntry();
    return n;
}

int LogPrintA(const char* format, ...) {
    if (!gLogFile) return 0;
    LogHold hold;
    if (!gLogFile) return 0;
    WritePrefixNarrow();
    va_list args;
    va_start(args, format);
    int n = FormatA(gEntryA, format, args);
    va_end(args);
    ConsolePut(gEntryA, static_cast<size_t>(n));
    fwrite(gEntryA, 1, static_cast<size_t>(n), gLogFile);
    CountEntry();
    return n;
}

// Through the console's queue, so that its lines keep their place among the entries.
int ConsolePrintf(const char* format, ...) {
    char text[kEntryChars];
    va_list args;
    va_start(args, format);
    int n = FormatA(text, format, args);
    va_end(args);
    ConsolePut(text, static_cast<size_t>(n));
    return n;
}
