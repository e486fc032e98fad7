#include "app/tuning/EqualizerManager.h"

#include "app/tuning/AppMessages.h"
#include "app/windows/MsgWnd.h"

#include <atomic>

namespace {
std::atomic<void (*)()> gJobEndCheck{nullptr};
}

void EqualizerManager::SetJobEndCheck(void (*check)()) { gJobEndCheck.store(check); }

Offline EqualizerManager::WithoutLink(JobKind kind) const
{
    return mDevice.IsDeviceOpen() ? Offline::Runs : JobRow(kind).offline;
}

bool EqualizerManager::RefusedOffline(JobKind kind, HWND owner)
{
    if (WithoutLink(kind) != Offline::Refused) return false;
    ShowNotice(owner, JobRow(kind).refused);
    return true;
}

bool EqualizerManager::StartLinkJob(bool busy, WorkerThread& worker, std::atomic<bool>& running, JobReport& report)
{
    if (RefusedOffline(report.kind, mMainWnd)) return false;
    report.linked = mDevice.IsDeviceOpen();
    if (busy) report.busy = BeginBusy();
    mJobTellsItsCut = true;
    running.store(true);
    if (worker.Start()) return true;
    mJobTellsItsCut = false;
    running.store(false);
    if (report.busy != 0) PostToMain(WM_BUSY_END, report.busy);
    return false;
}

uint16_t EqualizerManager::BeginBusy()
{
    if (++mBusyToken == 0) ++mBusyToken;
    PostToMain(WM_BUSY_BEGIN, mBusyToken);
    return mBusyToken;
}

void EqualizerManager::EndLinkJob(uint32_t link, const JobReport& report, std::atomic<bool>& running)
{
    // Posted first: a job seen ended has its end waiting in the window's queue.
    if (mMainWnd != nullptr) PostMessageW(mMainWnd, WM_LINK_JOB_DONE, link, PackJobReport(report));
    if (void (*check)() = gJobEndCheck.load()) check();
    running.store(false);
}

JobEnd EqualizerManager::JudgeJobEnd(const JobReport& report, bool linkLasted)
{
    // Run on no link, the job was the model's alone.
    if (!report.linked) return JobEnd::Done;
    if (JobCutByLinkEnd(linkLasted))
        return report.taken ? JobEnd::LeftAfter : report.untouched ? JobEnd::CutUntouched : JobEnd::Cut;
    if (report.silent) return JobEnd::Silent;
    return report.taken && !report.unanswered ? JobEnd::Done : JobEnd::Unconfirmed;
}

void EqualizerManager::LinkJobEnded(const JobReport& report, bool linkLasted)
{
    // The one place where a job stops telling its own cut.
    mJobTellsItsCut = false;
    // A confirmed reset restarts the unit: its removal ends no job.
    const bool restarts = report.kind == JobKind::FactoryReset && report.taken;
    const JobEnd end = restarts ? JobEnd::Done : JudgeJobEnd(report, linkLasted);
    switch (report.kind) {
    case JobKind::SceneLoad:
    case JobKind::SceneSave:
    case JobKind::SceneDelete:
        SceneJobDone(report, end);
        break;
    case JobKind::WholeLoad:
    case JobKind::ProfilePush:
        ProfilePushed(report, end);
        break;
    case JobKind::WholeSave:
        WholeScenesRead(report, end);
        break;
    case JobKind::Outputs:
        TellJobEnd(report.kind, end);
        break;
    case JobKind::FactoryReset:
        FactoryDefaultEnded(report, end);
        break;
    }
}

void EqualizerManager::TellJobEnd(JobKind kind, JobEnd end)
{
    if (const wchar_t* word = WordLeftToTell(kind, end)) TellAfterLoading(word);
}

const wchar_t* EqualizerManager::WordLeftToTell(JobKind kind, JobEnd end)
{
    const wchar_t* word = JobEndWord(kind, end);
    if (!LetsLinkGo(end)) return word;
    LetLinkGo(word);
    return nullptr;
}
