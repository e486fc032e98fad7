#include <windows.h>
#include <ole2.h>

#include <cwchar>

#include <new>

#include "app/tuning/CarriedFirmware.h"
#include "app/windows/MainWnd.h"
#include "app/windows/SkinResources.h"
#include "app/windows/StartupFiles.h"
#include "base/Log.h"
#include "uilib/core/UIManager.h"

namespace {

constexpr char kModelName[] = "BrisaDSP";
constexpr int kModelId = 95;
constexpr wchar_t kVersion[] = L"v6.8.7";

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
    LogPrintW(L"INNER_FW: %d, %d\n", kCarriedMain, kCarriedSlave);
}

// A new copy of the program, after a display change.
void StartAgain() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    StartLogWhenAsked();
    ForcedUpdateOffered(static_cast<uint8_t>(kModelId));
    if (FAILED(CoInitialize(nullptr))) return 0;
    OleInitialize(nullptr);
    SkinUI::CPaintManagerUI::SetModuleInstance(instance);
    LoadSkinResources();

    CMainWnd* window = new (std::nothrow) CMainWnd();
    if (window == nullptr) return 0;
    // The size and the centring hold whatever the show flag says.
    window->CreateNativeWindow(nullptr, CMainWnd::kTitle, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0,
                               CMainWnd::kWidth, CMainWnd::kHeight);
    window->CenterOverOwner();
    SkinUI::CPaintManagerUI::RunMessageLoop();
    const bool restart = window->RestartDue();
    delete window;

    SkinUI::CPaintManagerUI::Shutdown(true);
    OleUninitialize();
    CoUninitialize();
    CloseLog();
    // Only now: this copy's single-instance lock went with its window.
    if (restart) StartAgain();
    return 0;
}
