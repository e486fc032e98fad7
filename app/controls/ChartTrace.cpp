#include "app/controls/ChartTrace.h"

#include <cstdarg>
#include <cwchar>
#include <windows.h>

void ChartTrace(const wchar_t* format, ...)
{
    wchar_t line[160];
    va_list args;
    va_start(args, format);
    const int n = _vsnwprintf(line, sizeof(line) / sizeof(line[0]) - 1, format, args);
    va_end(args);
    line[n >= 0 ? n : sizeof(line) / sizeof(line[0]) - 1] = L'\0';
    OutputDebugStringW(line);
}
