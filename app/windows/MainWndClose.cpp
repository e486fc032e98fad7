#include "app/windows/MainWnd.h"

#include "base/Log.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

const UINT kCloseHeldPollMs = 500;

const wchar_t* JobWords(EqualizerManager::LinkJobKind job)
{
    using Kind = EqualizerManager::LinkJobKind;
    switch (job) {
    case Kind::Firmware: return L"${job_firmware}";
    case Kind::StatusRead: return L"${job_read}";
    case Kind::Profile: return L"${job_profile}";
    case Kind::Scene: return L"${job_scene}";
    case Kind::Outputs: return L"${job_outputs}";
    case Kind::Factory: return L"${job_factory}";
    case Kind::None: break;
    }
    return nullptr;
}

} // namespace

bool CMainWnd::RefusesOutsideClose() const
{
    return m_controller.LinkJobRunning();
}

void CMainWnd::OnCloseRefused()
{
    if (const wchar_t* job = JobWords(m_controller.LinkJob()))
        ShutdownBlockReasonCreate(m_window, CResourceStore::GetInstance()->LookupText(job));
    SetTimer(m_window, kCloseHeldTimerId, kCloseHeldPollMs, nullptr);
    BringForward(m_window);
}

// The new copy is started by WinMain once this one has closed and released
// its single-instance lock; later changes before the close add nothing.
void CMainWnd::RestartForDisplay()
{
    if (m_restartDue) return;
    LogPrintW(L"display changed: restart due\n");
    m_restartDue = true;
    SetTimer(m_window, kCloseHeldTimerId, kCloseHeldPollMs, nullptr);
    PollHeldClose();
}

void CMainWnd::PollHeldClose()
{
    const bool jobRuns = RefusesOutsideClose();
    // The restart cuts no job, nor the notice of its outcome: every window
    // over this one (loading, notice, firmware update) has ended first.
    if (jobRuns || (m_restartDue && !IsWindowEnabled(m_window))) return;
    KillTimer(m_window, kCloseHeldTimerId);
    ShutdownBlockReasonDestroy(m_window);
    if (!m_restartDue) return;
    m_restarting = true;
    PostClose();
}
