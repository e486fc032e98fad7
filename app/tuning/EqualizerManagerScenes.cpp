#include "app/tuning/EqualizerManager.h"

#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
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
    // A recall replaces the live state: edits still queued are dropped rather
    // than sent between its reads. The UI thread switches the queue on again.
    const bool wasAsync = mDevice.IsAsyncMode();
    if (job == SceneJob::Load) mDevice.DisableAsyncMode();
    mSceneSilentBefore = mDevice.SilentExchanges();
    mSceneLink = mDevice.LinkSerial();
    mSceneJobRunning.store(true);
    if (!mSceneWorker.Start()) {
        mSceneJobRunning.store(false);
        if (wasAsync) mDevice.EnableAsyncMode();
        return false;
    }
    return true;
}

void EqualizerManager::SceneJobThread(void* self)
{
    auto* controller = static_cast<EqualizerManager*>(self);
    switch (static_cast<SceneJob>(controller->mSceneJob.load())) {
    case SceneJob::Load: controller->LoadSenceThread(); break;
    case SceneJob::Save: controller->SaveSenceThread(); break;
    case SceneJob::Delete: controller->DeleteSenceThread(); break;
    }
    controller->mSceneJobRunning.store(false);
}

void EqualizerManager::LoadSenceThread()
{
    LogPrintW(L"LoadSenceThread start!\n");
    mDevice.WaitCommandInProgress();
    mDevice.ReadScene(static_cast<uint8_t>(mSceneJobSlot.load()), 0);
    const UnitStatusRead result = ReadUnitStatus(mDevice, mSceneStop, mSceneLink);
    if (mMainWnd != nullptr)
        PostMessageW(mMainWnd, WM_SCENE_JOB_DONE, static_cast<WPARAM>(SceneJob::Load), static_cast<LPARAM>(result));
    LogPrintW(L"LoadSenceThread end!\n");
}

void EqualizerManager::SaveSenceThread()
{
    LogPrintW(L"SaveSenceThread start!\n");
    for (uint32_t waited = 0; !mDevice.IsQueueIdle() && waited < ScaledWait(kQueueDrainMs); waited += kDrainPollMs)
        Sleep(kDrainPollMs);
    const uint8_t scene = static_cast<uint8_t>(mSceneJobSlot.load());
    mDevice.SetSceneName(scene, mModel.sceneNameInput.data(), kSceneNameBytes);
    // Without its name the unit is not asked to store the scene.
    if (mDevice.LastExchangeAnswered()) mDevice.SaveScene(scene, 0);
    if (mMainWnd != nullptr)
        PostMessageW(mMainWnd, WM_SCENE_JOB_DONE, static_cast<WPARAM>(SceneJob::Save), 0);
    LogPrintW(L"SaveSenceThread end!\n");
}

// Ends like the other transfers, so the loading window closes even when the
// unit never acknowledges the delete.
void EqualizerManager::DeleteSenceThread()
{
    LogPrintW(L"DeleteSenceThread start!\n");
    mDevice.DeleteScene(static_cast<uint8_t>(mSceneJobSlot.load()));
    if (mMainWnd != nullptr)
        PostMessageW(mMainWnd, WM_SCENE_JOB_DONE, static_cast<WPARAM>(SceneJob::Delete), 0);
    LogPrintW(L"DeleteSenceThread end!\n");
}

void EqualizerManager::SceneJobDone(SceneJob job, UnitStatusRead result)
{
    LogPrintW(L"EqualizerManager::SceneJobDone %d %d\n", static_cast<int>(job), static_cast<int>(result));
    // A link opened since (unplugged and back) has a read of its own: what
    // this job met on the old one must not end it.
    const bool sameLink = LinkUnchangedSince(mSceneLink);
    if (job == SceneJob::Load) {
        // The unit was connected: a handshake left unanswered is silence too.
        // Half read back, the recall is not shown as made; a link closed
        // meanwhile (unplugged) has had its own notice.
        if (result == UnitStatusRead::Unanswered || result == UnitStatusRead::HandshakeFailed) {
            if (sameLink) StatusReadWentSilent(L"${device_no_answer}");
        } else {
            ShowRecalledScene();
            // A new link's own read keeps the queue off until it ends.
            if (mDevice.IsDeviceOpen() && !IsStatusReadRunning()) mDevice.EnableAsyncMode();
        }
    }
    if (mDevice.mSceneWnd != nullptr) PostMessageW(mDevice.mSceneWnd, WM_BUSY_END, 0, 0);
    // A recall that met silence ended above. A save or delete the unit never
    // confirmed has given its row back in the scene window; a unit that fell
    // silent meanwhile is let go with a word, as after a recall.
    if (job != SceneJob::Load && sameLink && mDevice.SilentExchanges() != mSceneSilentBefore)
        UnitStoppedAnswering(L"${device_no_answer}");
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
