#include "app/tuning/EqualizerManager.h"

#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
#include "app/tuning/UnitExchanges.h"
#include "app/windows/SceneWnd.h"
#include "base/Log.h"
#include "device/DeviceTiming.h"

namespace {

// How long a save waits for edits still queued, so that the stored scene has them.
const uint32_t kQueueDrainMs = 10000;
const uint32_t kDrainPollMs = 10;

void OpenSceneWnd(HWND owner, EqualizerManager& controller, SceneWndMode mode)
{
    CSceneWnd window;
    window.Show(owner, controller, mode);
}

} // namespace

void EqualizerManager::LoadSenceConfigFromDSP(HWND owner)
{
    LogPrintW(L"%s\n", L"EqualizerManager::LoadSenceConfigFromDSP");
    OpenSceneWnd(owner, *this, SceneWndMode::Load);
}

void EqualizerManager::SaveSenceConfigToDSP(HWND owner)
{
    LogPrintW(L"%s\n", L"EqualizerManager::SaveSenceConfigToDSP");
    OpenSceneWnd(owner, *this, SceneWndMode::Save);
}

void EqualizerManager::DeleteDSPSenceConfig(HWND owner)
{
    LogPrintW(L"%s\n", L"EqualizerManager::DeleteDSPSenceConfig");
    OpenSceneWnd(owner, *this, SceneWndMode::Delete);
}

bool EqualizerManager::StartSceneJob(JobKind kind, int slot)
{
    if (LinkJobRunning()) {
        LogPrintW(L"scene transfer %d refused: another job runs\n", static_cast<int>(kind));
        return false;
    }
    // The last worker has ended (it clears the flag last); its thread is joined here.
    mSceneWorker.Join();
    mSceneJobSlot.store(slot);
    mSceneStop.store(false);
    mSceneTaken.store(false);
    // A recall replaces the live state: edits still queued are dropped rather
    // than sent between its reads. The UI thread switches the queue on again.
    const bool wasAsync = mDevice.IsAsyncMode();
    if (kind == JobKind::SceneLoad) mDevice.DisableAsyncMode();
    mSceneSilentBefore = mDevice.SilentExchanges();
    mSceneLink = mDevice.LinkSerial();
    mSceneReport = JobReport();
    mSceneReport.kind = kind;
    // The scene window shows its own loading window.
    if (!StartLinkJob(false, mSceneWorker, mSceneJobRunning, mSceneReport)) {
        if (wasAsync) mDevice.EnableAsyncMode();
        return false;
    }
    return true;
}

void EqualizerManager::SceneJobThread(void* self)
{
    auto* controller = static_cast<EqualizerManager*>(self);
    // Written before the worker started; read only here until its end.
    JobReport report = controller->mSceneReport;
    const bool load = report.kind == JobKind::SceneLoad;
    const UnitStatusRead result = load ? controller->LoadSenceThread()
                                  : report.kind == JobKind::SceneSave ? controller->SaveSenceThread()
                                                                      : controller->DeleteSenceThread();
    // A recall's read-back is not the job's own: the unit holds the scene
    // once it took the recall, though it is shown only once read back.
    report.taken = load ? controller->mSceneTaken.load() : result == UnitStatusRead::Done;
    report.unanswered = result != UnitStatusRead::Done;
    // A handshake left unanswered is silence too.
    report.silent = (result == UnitStatusRead::Unanswered || result == UnitStatusRead::HandshakeFailed) &&
                    controller->mDevice.SilentExchanges() != controller->mSceneSilentBefore;
    report.detail = static_cast<uint8_t>(result);
    controller->EndLinkJob(controller->mSceneLink, report, controller->mSceneJobRunning);
}

UnitStatusRead EqualizerManager::LoadSenceThread()
{
    LogPrintW(L"LoadSenceThread start!\n");
    mDevice.WaitCommandInProgress();
    UnitExchanges recall(mDevice, mSceneStop, mSceneLink);
    const uint8_t scene = static_cast<uint8_t>(mSceneJobSlot.load());
    recall.Run([&](DspDevice& d) {
        d.ReadScene(scene, 0);
        mSceneTaken.store(d.LastExchangeAnswered());
    });
    const UnitStatusRead result = ReadUnitStatus(mDevice, mSceneStop, mSceneLink);
    LogPrintW(L"LoadSenceThread end!\n");
    return result;
}

// Every exchange goes to the link the job started on: a link opened since
// has its own read to run, and the job ends there.
UnitStatusRead EqualizerManager::SaveSenceThread()
{
    LogPrintW(L"SaveSenceThread start!\n");
    UnitExchanges store(mDevice, mSceneStop, mSceneLink);
    for (uint32_t waited = 0; !mDevice.IsQueueIdle() && waited < ScaledWait(kQueueDrainMs) && !store.Stopped();
         waited += kDrainPollMs)
        Sleep(kDrainPollMs);
    // A drained change the unit did not take is not stored as if it were:
    // nothing is asked, the row keeps its old name and the change's own word
    // tells the end once the job is over.
    if (mDevice.UntakenLink() == mSceneLink) {
        LogPrintW(L"SaveSenceThread: a change before the save was not taken\n");
        return UnitStatusRead::Done;
    }
    const uint8_t scene = static_cast<uint8_t>(mSceneJobSlot.load());
    // Without its name the unit is not asked to store the scene.
    const bool stored =
        store.RunAnswered([&](DspDevice& d) { d.SetSceneName(scene, mModel.sceneNameInput.data(), kSceneNameBytes); }) &&
        store.RunAnswered([scene](DspDevice& d) { d.SaveScene(scene, 0); });
    LogPrintW(L"SaveSenceThread end!\n");
    return stored ? UnitStatusRead::Done : store.Outcome();
}

// Ends like the other transfers, so the loading window closes even when the
// unit never acknowledges the delete.
UnitStatusRead EqualizerManager::DeleteSenceThread()
{
    LogPrintW(L"DeleteSenceThread start!\n");
    UnitExchanges erase(mDevice, mSceneStop, mSceneLink);
    const uint8_t scene = static_cast<uint8_t>(mSceneJobSlot.load());
    const bool deleted = erase.RunAnswered([scene](DspDevice& d) { d.DeleteScene(scene); });
    LogPrintW(L"DeleteSenceThread end!\n");
    return deleted ? UnitStatusRead::Done : erase.Outcome();
}

void EqualizerManager::SceneJobDone(const JobReport& report, JobEnd end)
{
    LogPrintW(L"EqualizerManager::SceneJobDone %d %d\n", static_cast<int>(report.kind), report.detail);
    // A unit silent or not confirming is let go with its word; a save or
    // delete it never confirmed gives its row back in the scene window.
    const wchar_t* word = WordLeftToTell(report.kind, end);
    // Half read back or cut, a recall is not shown as made; the queue runs
    // again on a link still open, unless a new link's own read keeps it off.
    if (report.kind == JobKind::SceneLoad) {
        if (end == JobEnd::Done || end == JobEnd::LeftAfter) ShowRecalledScene();
        if (mDevice.IsDeviceOpen() && !IsStatusReadRunning()) mDevice.EnableAsyncMode();
    }
    // In the scene window while it is open; over the main window once it was closed.
    if (mDevice.mSceneWnd != nullptr)
        PostMessageW(mDevice.mSceneWnd, WM_BUSY_END, reinterpret_cast<WPARAM>(word), 0);
    else if (word != nullptr)
        TellAfterLoading(word);
}

// The read's replies were taken before this (they were posted first): the
// speaker positions, output buttons, link, lock and curves follow the
// recalled scene.
void EqualizerManager::ShowRecalledScene()
{
    ShowSpeakerPositions();
    ShowLinkAndLock();
    const SceneProfile& profile = Current();
    for (int ch = 0; ch < kOutputChannels; ++ch) ComputeChannelCurve(ch, profile.channels[ch].bypass == 1);
    UpdateEqualizer(-1);
}
