#include "app/windows/UpdateFwWnd.h"

#include <commdlg.h>

#include <cwchar>
#include <iterator>

#include "app/windows/FirmwareTransfer.h"
#include "base/Log.h"
#include "device/DspDevice.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Progress.h"

using namespace SkinUI;

namespace {

// The controls a transfer disables and its end enables again.
const wchar_t* const kLockedControls[] = {L"closebtn", L"cancel_btn", L"file_btn", L"update_btn", L"file_path_edt"};

CFirmwareWndBase* gOpenWindow = nullptr;

} // namespace

CUpdateFwWnd* OpenUpdateFwWindow()
{
    return static_cast<CUpdateFwWnd*>(gOpenWindow);
}

CUpdateFwWnd::CUpdateFwWnd(DspDevice& device)
    : CFirmwareWndBase(device, &gOpenWindow, kLockedControls, std::size(kLockedControls))
{
}

CUpdateFwWnd::~CUpdateFwWnd()
{
    StopWorkers();
}

void CUpdateFwWnd::StopWorkers()
{
    m_abortRequested.store(1);
    m_worker.Join();
}

void CUpdateFwWnd::OnControlClick(TNotifyInfo& notify)
{
    if (notify.sender == nullptr) return;
    const CUIString name = notify.sender->GetControlName();
    if (name.CompareIgnoreCase(L"closebtn") == 0 || name.CompareIgnoreCase(L"cancel_btn") == 0) {
        PostClose(0);
    } else if (name.CompareIgnoreCase(L"file_btn") == 0) {
        Upg_GetOpenFileName();
    } else if (name.CompareIgnoreCase(L"update_btn") == 0) {
        BeginUpdate();
    }
}

void CUpdateFwWnd::Upg_GetOpenFileName()
{
    wchar_t folder[kPathChars] = {};
    GetCurrentDirectoryW(kPathChars, folder);
    wchar_t chosen[kPathChars] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_window;
    dialog.lpstrFilter = L"BrisaDSP_MCU_UPG.bin,BrisaDSP_FLASH_UPG.bin\0BrisaDSP_MCU_UPG.bin;BrisaDSP_FLASH_UPG.bin\0";
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = kPathChars;
    dialog.lpstrInitialDir = folder;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameW(&dialog)) return;
    ChooseFile(chosen);
    LogPrintW(L"Upg_GetOpenFileName %s ok\n", m_path);
}

void CUpdateFwWnd::ChooseFile(const wchar_t* path)
{
    // Not while the worker reads its copy.
    if (IsUpdating()) return;
    _snwprintf(m_path, kPathChars - 1, L"%s", path);
    m_path[kPathChars - 1] = L'\0';
    std::wmemcpy(m_workerPath, m_path, kPathChars);
    CEditUI* edit = dynamic_cast<CEditUI*>(m_pm.FindControlByName(L"file_path_edt"));
    if (edit == nullptr) return;
    edit->SetTextContent(m_path);
    edit->TakeFocus();
    edit->SetSelection(0, -1);
}

void CUpdateFwWnd::BeginUpdate()
{
    LogPrintA("%s\n", __PRETTY_FUNCTION__);
    if (!m_device.IsDeviceOpen() || IsUpdating()) return;
    m_worker.Join();  // the last transfer's thread has ended
    m_device.DisableAsyncMode();
    m_abortRequested.store(0);
    m_workerDone.store(false);
    SetTips(L"${loading_fw}");
    if (!m_worker.Start()) {
        ShowFailure(L"${update_fail}", L"progress");
        return;
    }
    SetButtonsEnabled(false);
}

void CUpdateFwWnd::UpgradeThread(void* window)
{
    CUpdateFwWnd* self = static_cast<CUpdateFwWnd*>(window);
    self->RunUpgrade();
    self->m_workerDone.store(true);
}

void CUpdateFwWnd::RunUpgrade()
{
    RunFirmwareTransfer(m_device, m_workerPath, m_abortRequested, m_target, 0, 0);
}

bool CUpdateFwWnd::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case kMsgProgress: {
        CProgressUI* bar = dynamic_cast<CProgressUI*>(m_pm.FindControlByName(L"progress"));
        if (bar != nullptr) bar->SetValue(static_cast<int>(wParam));
        wchar_t text[16];
        _snwprintf(text, 15, L"%d%%", static_cast<int>(wParam));
        text[15] = L'\0';
        SetTips(text);
        return true;
    }
    case kMsgFinished: SetTips(L"${update_ok}"); break;
    case kMsgFailed: ShowFailure(L"${update_fail}", L"progress"); break;
    case kMsgNotAccepted: ShowFailure(L"${load_fw_fail}", L"progress"); break;
    default: return false;
    }
    SetButtonsEnabled(true);
    return true;
}

int OpenUpdateFwWnd(HWND parent, DspDevice& device)
{
    return static_cast<int>((new CUpdateFwWnd(device))->RunModalPopup(parent, L"updatefwwnd"));
}
