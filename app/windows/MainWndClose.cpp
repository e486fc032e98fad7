#include "app/windows/MainWnd.h"

#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

const UINT kCloseHeldPollMs = 500;

} // namespace

bool CMainWnd::RefusesOutsideClose() const
{
    return m_controller.LinkJobRunning();
}

void CMainWnd::OnCloseRefused()
{
    const wchar_t* job = m_controller.FirmwareTransferRunning() ? L"${firmware_upgrade}" : L"${device_busy}";
    ShutdownBlockReasonCreate(m_window, CResourceStore::GetInstance()->LookupText(job));
    SetTimer(m_window, kCloseHeldTimerId, kCloseHeldPollMs, nullptr);
    if (IsIconic(m_window)) ShowWindow(m_window, SW_RESTORE);
    // The job's own window (loading, update) is the last popup made active.
    SetForegroundWindow(GetLastActivePopup(m_window));
}

void CMainWnd::DropShutdownReasonWhenIdle()
{
    if (RefusesOutsideClose()) return;
    KillTimer(m_window, kCloseHeldTimerId);
    ShutdownBlockReasonDestroy(m_window);
}
