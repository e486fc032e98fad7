#include "base/AnsiText.h"

#include <windows.h>

bool AnsiToWide(const char* in, wchar_t* out, size_t capacity) {
    if (!in || !out || capacity == 0) return false;
    out[0] = L'\0';
    int needed = MultiByteToWideChar(CP_ACP, 0, in, -1, nullptr, 0);
    if (needed <= 0 || static_cast<size_t>(needed) > capacity) return false;
    return MultiByteToWideChar(CP_ACP, 0, in, -1, out, needed) == needed;
}

bool WideToAnsi(const wchar_t* in, char* out, size_t capacity) {
    if (!in || !out || capacity == 0) return false;
    out[0] = '\0';
    int needed = WideCharToMultiByte(CP_ACP, 0, in, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0 || static_cast<size_t>(needed) > capacity) return false;
    return WideCharToMultiByte(CP_ACP, 0, in, -1, out, needed, nullptr, nullptr) == needed;
}
