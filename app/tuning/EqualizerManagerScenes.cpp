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
// What a job its link's end cut did not do, by SceneJob.
const wchar_t* const kSceneCutWords[] = {L"${load_scene_cut}", L"${save_scene_cut}", L"${delete_scene_cut}"};
// A save or delete the unit did not confirm, though its link neither ended
// nor went silent (a write failed as the unit left, before the system said so).
const wchar_t* const kSceneUnconfirmedWords[] = {nullptr, L"${save_scene_fail}", L"${delete_scene_fail}"};

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

bool EqualizerManager::StartSceneJob(SceneJob job, int slot)
{
    if (LinkJobRunning()) {
        LogPrintW(L"scene transfer %d refused: another job runs\n", static_cast<int>(job));
        return false;
    }
    // The last worker has ended (it clears the flag last); its thread is joined here.
    mSceneWorker.Join();
    mSceneJob.store(static_cast<int>(job));
    mSceneJobSlot.store(slot);
    mSceneStop.store(false);
    mSceneTaken.store(false);
    // A recall replaces the live state: edits still queued are dropped rather
    // than sent between its reads. The UI thread switches the queue on again.
    const bool wasAsync = mDevice.IsAsyncMode();
    if (job == SceneJob::Load) mDevice.DisableAsyncMode();
    mSceneSilentBefore = mDevice.SilentExchanges();
    mSceneLink = mDevice.LinkSerial();
    if (!StartLinkJob(mSceneWorker, mSceneJobRunning)) {
        if (wasAsync) mDevice.EnableAsyncMode();
        return false;
    }
    return true;
}

void EqualizerManager::SceneJobThread(void* self)
{
    auto* controller = static_cast<EqualizerManager*>(self);
    const auto job = static_cast<SceneJob>(controller->mSceneJob.load());
    UnitStatusRead result = UnitStatusRead::Done;
    switch (job) {
    case SceneJob::Load: result = controller->LoadSenceThread(); break;
    case SceneJob::Save: result = controller->SaveSenceThread(); break;
    case SceneJob::Delete: result = controller->DeleteSenceThread(); break;
    }
    // A recall's read-back is not the job's own: the unit holds the scene once it took the recall.
    if (job != SceneJob::Load) controller->mSceneTaken.store(result == UnitStatusRead::Done);
    controller->mSceneJobRunning.store(false);
    if (controller->mMainWnd != nullptr)
        PostMessageW(controller->mMainWnd, WM_SCENE_JOB_DONE, controller->mSceneLink,
                     MAKELPARAM(static_cast<int>(job), static_cast<int>(result)));
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

void EqualizerManager::SceneJobDone(SceneJob job, UnitStatusRead result, bool linkLasted)
{
    LogPrintW(L"EqualizerManager::SceneJobDone %d %d\n", static_cast<int>(job), static_cast<int>(result));
    // A job its link's end cut (unplugged, back or not) says so; what it met
    // on the old link must not end a link opened since. A handshake left
    // unanswered is silence too.
    const bool unanswered = result == UnitStatusRead::Unanswered || result == UnitStatusRead::HandshakeFailed;
    const JobEnd end = HowJobEnded(mSceneTaken.load(), linkLasted, unanswered, mSceneSilentBefore);
    if (job == SceneJob::Load && end == JobEnd::Silent) {
        // Half read back, the recall is not shown as made.
        StatusReadWentSilent(L"${device_no_answer}");
    } else if (job == SceneJob::Load && end != JobEnd::Cut) {
        ShowRecalledScene();
        // A new link's own read keeps the queue off until it ends.
        if (mDevice.IsDeviceOpen() && !IsStatusReadRunning()) mDevice.EnableAsyncMode();
    } else if (end == JobEnd::Silent) {
        // A save or delete the unit never confirmed gives its row back in the
        // scene window; the unit is let go with a word, as after a recall.
        UnitStoppedAnswering(L"${device_no_answer}");
    }
    // In the scene window while it is open; over the main window once it was closed.
    const wchar_t* word = JobEndWord(end, kSceneCutWords[static_cast<int>(job)]);
    if (end == JobEnd::Quiet && result != UnitStatusRead::Done) word = kSceneUnconfirmedWords[static_cast<int>(job)];
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
