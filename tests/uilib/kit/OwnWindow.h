#pragma once

#include <windows.h>

namespace SkinUITest {

// The first top-level window of this process with the class and title given
// (either may be null). Test programs run side by side on one desktop: a box
// of the same class belongs to another program, and its window data is a
// pointer into that program.
inline HWND FindOwnWindow(const wchar_t* className, const wchar_t* title = nullptr)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, title)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

}  // namespace SkinUITest
