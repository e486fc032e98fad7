#include "app/tuning/EqualizerManager.h"

#include "app/tuning/AppMessages.h"
#include "app/tuning/ProfileFile.h"
#include "app/tuning/ProfilePush.h"
#include "app/tuning/UnitExchanges.h"
#include "app/tuning/UnitStatusRead.h"
#include "app/windows/MsgWnd.h"
#include "app/windows/ProfileFileDialog.h"
#include "app/windows/SettingsFile.h"
#include "base/AnsiText.h"
#include "base/Log.h"
#include "device/DeviceTiming.h"

namespace {

// After a whole push the unit stores ten scenes before it takes new commands.
const uint32_t kWholePushSettleMs = 20000;
// After a stored scene's load, before its gets.
const uint32_t kSceneSettleMs = 1000;

} // namespace

// Logs the row's operation, asks for the file and runs the operation on it.
void EqualizerManager::AskAndRun(const wchar_t* operation, ProfileFileKind kind, bool save,
                                 void (EqualizerManager::*run)(const std::wstring&))
{
    LogPrintW(L"%s\n", operation);
    // A whole save reads the unit's scenes: with no unit no file is asked for.
    if (kind == ProfileFileKind::Whole && save && RefusedOffline(JobKind::WholeSave, mMainWnd)) return;
    std::wstring path;
    if (!AskProfilePath(mMainWnd, kind, save, ReadLanguageSetting(SettingsFilePath()), path)) return;
    LogPrintW(save ? L"GetSaveFileName %s ok\n" : L"GetOpenFileName %s ok\n", path.c_str());
    (this->*run)(path);
}

void EqualizerManager::LoadSenceConfigFromFile()
{
    AskAndRun(L"EqualizerManager::LoadSenceConfigFromFile", ProfileFileKind::Scene, false,
              &EqualizerManager::LoadSenceConfigFile);
}

void EqualizerManager::SaveSenceConfigToFile()
{
    AskAndRun(L"EqualizerManager::SaveSenceConfigToFile", ProfileFileKind::Scene, true,
              &EqualizerManager::SaveSenceConfigFile);
}

void EqualizerManager::LoadWholeConfigFromFile()
{
    AskAndRun(L"EqualizerManager::LoadWholeConfigFromFile", ProfileFileKind::Whole, false,
              &EqualizerManager::LoadWholeConfigFile);
}

void EqualizerManager::SaveWholeConfigToFile()
{
    AskAndRun(L"EqualizerManager::SaveWholeConfigToFile", ProfileFileKind::Whole, true,
              &EqualizerManager::SaveWholeConfigFile);
}

// One long exchange at a time: the loading window keeps the menus away
// while one runs; a request that still finds the link busy is refused aloud.
bool EqualizerManager::RefusedWhileLinkBusy()
{
    if (!LinkJobRunning()) return false;
    ShowNotice(mMainWnd, L"${device_busy}");
    return true;
}

// A refused file leaves the live settings, the display and the unit as they
// were; without a unit a loaded file is only shown. The reader has logged
// its result.
void EqualizerManager::PushLoaded(const ProfileResult& result, TransferJob job)
{
    if (!result.ok) {
        ShowNotice(mMainWnd, result.messageKey);
        return;
    }
    const JobKind kind = job == TransferJob::WholeProfile ? JobKind::WholeLoad : JobKind::ProfilePush;
    if (WithoutLink(kind) == Offline::ModelOnly)
        RefreshFromProfile();
    else
        StartTransfer(job);
}

void EqualizerManager::LoadSenceConfigFile(const std::wstring& path)
{
    if (!RefusedWhileLinkBusy()) PushLoaded(LoadSceneProfile(path, Current()), TransferJob::LiveProfile);
}

void EqualizerManager::LoadWholeConfigFile(const std::wstring& path)
{
    if (!RefusedWhileLinkBusy()) PushLoaded(LoadWholeProfile(path, mModel), TransferJob::WholeProfile);
}

void EqualizerManager::SaveSenceConfigFile(const std::wstring& path)
{
    ShowNotice(mMainWnd, SaveSceneProfile(Current(), path).messageKey);
}

void EqualizerManager::SaveWholeConfigFile(const std::wstring& path)
{
    if (RefusedWhileLinkBusy()) return;
    if (path.size() >= kPathChars) {
        ShowNotice(mMainWnd, L"${profile_create_error}");
        return;
    }
    std::copy(path.begin(), path.end(), mModel.wholeConfigPath.begin());
    mModel.wholeConfigPath[path.size()] = L'\0';
    StartTransfer(TransferJob::WholeSave);
}

// The worker reads only its own copy of the model; the unit's answers to
// the whole save's reads reach the model through the UI thread as usual.
bool EqualizerManager::StartTransfer(TransferJob job)
{
    mTransfer.Join();
    mTransferJob = job;
    if (job != TransferJob::WholeSave) mTransferCopy = std::make_unique<TuningModel>(mModel);
    mAsyncBeforeTransfer = mDevice.IsAsyncMode();
    // Edits queued meanwhile would interleave with the transfer's exchanges.
    mDevice.DisableAsyncMode();
    mTransferStop.store(false);
    mPushOutcome = PushOutcome::Sent;
    mTransferSilentBefore = mDevice.SilentExchanges();
    mTransferAnsweredBefore = mDevice.AnsweredExchanges();
    mTransferLink = mDevice.LinkSerial();
    mWholeSaveRead = false;
    mWholeSaveSilent = false;
    mTransferReport = JobReport();
    mTransferReport.kind = job == TransferJob::WholeSave    ? JobKind::WholeSave
                           : job == TransferJob::WholeProfile ? JobKind::WholeLoad
                                                              : JobKind::ProfilePush;
    if (StartLinkJob(true, mTransfer, mTransferRunning, mTransferReport)) return true;
    EndTransfer();
    return false;
}

void EqualizerManager::TransferThread(void* self)
{
    static_cast<EqualizerManager*>(self)->RunTransfer();
}

void EqualizerManager::RunTransfer()
{
    // The queue was switched off; a command still in progress ends first.
    mDevice.WaitCommandInProgress();
    switch (mTransferJob) {
    case TransferJob::LiveProfile:
        LogPrintW(L"SetCurSceneThread start!\n");
        mPushOutcome = PushLiveProfile(mDevice, mTransferCopy->Current(), mTransferStop, mTransferLink);
        LogPrintW(L"SetCurSceneThread end!\n");
        break;
    case TransferJob::WholeProfile: {
        LogPrintW(L"SetWholeProfileThread start!\n");
        // The unit's storing time belongs to the link the push began on; its
        // end cuts no command of the push.
        UnitExchanges settle(mDevice, mTransferStop, mTransferLink);
        mPushOutcome = PushWholeProfile(mDevice, *mTransferCopy, WideToAnsi, mTransferStop, mTransferLink);
        if (mPushOutcome == PushOutcome::Taken || mPushOutcome == PushOutcome::Sent)
            settle.Pause(ScaledWait(kWholePushSettleMs));
        LogPrintW(L"SetWholeProfileThread end!\n");
        break;
    }
    case TransferJob::WholeSave:
        LogPrintW(L"SaveWholeSceneThread start!\n");
        mWholeSaveRead = ReadWholeUnit();
        LogPrintW(L"SaveWholeSceneThread end!\n");
        break;
    }
    PostTransferEnd();
}

void EqualizerManager::PostTransferEnd()
{
    JobReport report = mTransferReport;
    report.untouched = mDevice.AnsweredExchanges() == mTransferAnsweredBefore;
    if (mTransferJob == TransferJob::WholeSave) {
        report.taken = mWholeSaveRead;
        report.unanswered = !mWholeSaveRead;
        report.silent = mWholeSaveSilent && mDevice.SilentExchanges() != mTransferSilentBefore;
    } else {
        report.taken = mPushOutcome == PushOutcome::Taken;
        report.unanswered = !report.taken;
        report.silent = mPushOutcome == PushOutcome::Unanswered &&
                        mDevice.SilentExchanges() != mTransferSilentBefore;
    }
    EndLinkJob(mTransferLink, report, mTransferRunning);
}

// The ten stored scenes, then the live state, as one run of exchanges: the
// first silent scene ends it. True only when every read completed on the
// link it began on and every get was answered, a missed one at the second
// asking: a block missed would be saved as whatever the program held before.
bool EqualizerManager::ReadWholeUnit()
{
    UnitExchanges asker(mDevice, mTransferStop, mTransferLink, true);
    bool read = true;
    for (uint8_t scene = 1; scene <= kStoredScenes && read; ++scene)
        read = ReadStoredSceneStatus(asker, scene, kSceneSettleMs) == UnitStatusRead::Done;
    read = read && asker.RunAnswered([](DspDevice& d) { d.ReadScene(0, 0); }) &&
           ReadUnitStatus(asker) == UnitStatusRead::Done && !asker.MissedAny() && !asker.Stopped();
    mWholeSaveSilent = asker.Outcome() == UnitStatusRead::Unanswered;
    return read;
}

void EqualizerManager::EndTransfer()
{
    mTransfer.Join();
    mTransferCopy.reset();
    // A reconnect meanwhile keeps the queue off until its own status read ends.
    if (mAsyncBeforeTransfer && mDevice.IsDeviceOpen() && !IsStatusReadRunning()) mDevice.EnableAsyncMode();
}

// With the queue still off, the refresh's own sends are dropped: the unit
// already has every value.
void EqualizerManager::ProfilePushed(const JobReport& report, JobEnd end)
{
    RefreshFromProfile();
    EndTransfer();
    // A push its link's end cut (the unit pulled, back or not) left the unit
    // holding part of the file. A silent unit leaves the link useless, and
    // its read-back waits for a reconnect.
    TellJobEnd(report.kind, end);
}

// A read cut short leaves the file as it was: scenes not read would be
// saved with what the program happened to hold, under the unit's names.
void EqualizerManager::WholeScenesRead(const JobReport& report, JobEnd end)
{
    EndTransfer();
    // A unit that stopped answering closes the link as every silent job
    // does; a cut link, back or not, or reads left unconfirmed leave the
    // file unwritten and say why.
    if (!report.taken) {
        LogPrintW(L"whole configuration not read from the unit: nothing written\n");
        TellJobEnd(JobKind::WholeSave, end);
        return;
    }
    const ProfileResult result = SaveWholeProfile(mModel, mModel.wholeConfigPath.data());
    ShowNotice(mMainWnd, result.ok ? kProfileSaveOk : result.messageKey);
    // Read whole and saved, the save has said all there is of its end.
    if (!(result.ok && end == JobEnd::LeftAfter)) TellJobEnd(JobKind::WholeSave, end);
}

void EqualizerManager::StopTransfer()
{
    mTransferStop.store(true);
    mTransfer.Join();
}
