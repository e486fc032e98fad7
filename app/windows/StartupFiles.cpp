#include "app/windows/StartupFiles.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <io.h>

bool FileExistsInCurrentDir(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return false;
    wchar_t path[2 * MAX_PATH];
    if (_snwprintf(path, 2 * MAX_PATH - 1, L"%s\\%s", folder, name) < 0) return false;
    path[2 * MAX_PATH - 1] = L'\0';
    return _waccess(path, 0) == 0 || errno == EACCES;
}
