#include <windows.h>
#include <ole2.h>

#include <cwchar>

#include "base/Log.h"
#include "app/windows/StartupFiles.h"

namespace {

constexpr char kModelName[] = "BrisaDSP";
constexpr int kModelId = 95;
constexpr wchar_t kVersion[] = L"v6.8.7";
constexpr int kInnerFirmwareMain = 1;
constexpr int kInnerFirmwareSlave = 25;

void StartLogWhenAsked() {
    if (!FileExistsInCurrentDir(L"savelog.ini")) return;
    wchar_t folder[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return;
    wchar_t path[MAX_PATH + 16];
    _snwprintf(path, MAX_PATH + 15, L"%s\\save.log", folder);
    path[MAX_PATH + 15] = L'\0';
    InitConsoleWindow(path);
    LogPrintW(L"MODEL_NAME: %S\n", kModelName);
    LogPrintW(L"MODEL_ID: %d\n", kModelId);
    LogPrintW(L"VERSION: %s\n", kVersion);
    LogPrintW(L"INNER_FW: %d, %d\n", kInnerFirmwareMain, kInnerFirmwareSlave);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    StartLogWhenAsked();
    if (FAILED(CoInitialize(nullptr))) return 0;
    OleInitialize(nullptr);
    // The skin, the main window and the message loop join here as they are built.
    OleUninitialize();
    CoUninitialize();
    CloseLog();
    return 0;
}
