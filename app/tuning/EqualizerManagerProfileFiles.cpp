#include "app/tuning/EqualizerManager.h"

#include "app/tuning/AppMessages.h"
#include "app/tuning/ProfileFile.h"
#include "app/tuning/ProfilePush.h"
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

void ShowProfileNotice(HWND owner, const wchar_t* key)
{
    const wchar_t* captions[CMsgWnd::kMaxButtons] = {L"${confirm}", nullptr, nullptr};
    ShowMsgBoxEx(owner, L"${tips}", key, captions, 1);
}

} // namespace

// Logs the row's operation, asks for the file and runs the operation on it.
void EqualizerManager::AskAndRun(const wchar_t* operation, ProfileFileKind kind, bool save,
                                 void (EqualizerManager::*run)(const std::wstring&))
{
    LogPrintW(L"%s\n", operation);
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
// while one runs, so a second request only finds the link busy.
bool EqualizerManager::LinkBusy() const
{
    return mTransferRunning.load() || IsStatusReadRunning();
}

// A refused file leaves the live settings, the display and the unit as they
// were; without a unit a loaded file is only shown.
void EqualizerManager::PushLoaded(const ProfileResult& result, TransferJob job)
{
    if (!result.ok) {
        LogPrintW(L"read profile file error! error\n");
        ShowProfileNotice(mMainWnd, result.messageKey);
        return;
    }
    LogPrintW(L"read profile file ok\n");
    if (mDevice.IsDeviceOpen())
        StartTransfer(job);
    else
        RefreshFromProfile();
}

void EqualizerManager::LoadSenceConfigFile(const std::wstring& path)
{
    if (!LinkBusy()) PushLoaded(LoadSceneProfile(path, Current()), TransferJob::LiveProfile);
}

void EqualizerManager::LoadWholeConfigFile(const std::wstring& path)
{
    if (!LinkBusy()) PushLoaded(LoadWholeProfile(path, mModel), TransferJob::WholeProfile);
}

void EqualizerManager::SaveSenceConfigFile(const std::wstring& path)
{
    ShowProfileNotice(mMainWnd, SaveSceneProfile(Current(), path).messageKey);
}

void EqualizerManager::SaveWholeConfigFile(const std::wstring& path)
{
    if (LinkBusy() || path.size() >= kPathChars) return;
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
    mTransferRunning.store(true);
    PostToMain(WM_BUSY_BEGIN);
    if (mTransfer.Start()) return true;
    mTransferRunning.store(false);
    PostToMain(mTransferJob == TransferJob::WholeSave ? WM_WHOLE_SCENES_READ : WM_PROFILE_PUSHED);
    return false;
}

void EqualizerManager::TransferThread(void* self)
{
    static_cast<EqualizerManager*>(self)->RunTransfer();
}

void EqualizerManager::RunTransfer()
{
    switch (mTransferJob) {
    case TransferJob::LiveProfile:
        LogPrintW(L"SetCurSceneThread start!\n");
        mPushOutcome = PushLiveProfile(mDevice, mTransferCopy->Current(), mTransferStop);
        LogPrintW(L"SetCurSceneThread end!\n");
        break;
    case TransferJob::WholeProfile:
        LogPrintW(L"SetWholeProfileThread start!\n");
        mPushOutcome = PushWholeProfile(mDevice, *mTransferCopy, WideToAnsi, mTransferStop);
        for (uint32_t waited = 0; mPushOutcome == PushOutcome::Sent && waited < ScaledWait(kWholePushSettleMs) &&
                                  !mTransferStop.load();
             waited += 20)
            Sleep(20);
        LogPrintW(L"SetWholeProfileThread end!\n");
        break;
    case TransferJob::WholeSave:
        LogPrintW(L"SaveWholeSceneThread start!\n");
        // Without a unit the file keeps what the program holds.
        for (uint8_t scene = 1; scene <= kStoredScenes && mDevice.IsDeviceOpen() && !mTransferStop.load(); ++scene)
            ReadSceneStatus(scene);
        if (mDevice.IsDeviceOpen() && !mTransferStop.load()) {
            mDevice.ReadScene(0, 0);
            ReadUnitStatus(mDevice, mTransferStop);
        }
        LogPrintW(L"SaveWholeSceneThread end!\n");
        break;
    }
    mTransferRunning.store(false);
    PostToMain(mTransferJob == TransferJob::WholeSave ? WM_WHOLE_SCENES_READ : WM_PROFILE_PUSHED);
}

void EqualizerManager::EndTransfer()
{
    mTransfer.Join();
    mTransferCopy.reset();
    // A reconnect meanwhile keeps the queue off until its own status read ends.
    if (mAsyncBeforeTransfer && mDevice.IsDeviceOpen() && !IsStatusReadRunning()) mDevice.EnableAsyncMode();
    PostToMain(WM_BUSY_END);
}

// With the queue still off, the refresh's own sends are dropped: the unit
// already has every value.
void EqualizerManager::ProfilePushed()
{
    RefreshFromProfile();
    EndTransfer();
    // A pulled unit fails every command at once and has its own notice; a
    // silent one leaves the link useless, and its read-back waits for a reconnect.
    if (mPushOutcome == PushOutcome::Unanswered && mDevice.SilentExchanges() != mTransferSilentBefore)
        UnitStoppedAnswering(L"${profile_push_fail}");
}

void EqualizerManager::WholeScenesRead()
{
    const ProfileResult result = SaveWholeProfile(mModel, mModel.wholeConfigPath.data());
    EndTransfer();
    ShowProfileNotice(mMainWnd, result.ok ? kProfileSaveOk : result.messageKey);
}

void EqualizerManager::StopTransfer()
{
    mTransferStop.store(true);
    mTransfer.Join();
}
