#include "app/tuning/EqualizerManager.h"

#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
#include "app/tuning/CarriedFirmware.h"
#include "app/tuning/ControlText.h"
#include "app/tuning/UnitStatusRead.h"
#include "app/windows/CompressorsOnWnd.h"
#include "app/windows/ForceUpdateWnd.h"
#include "app/windows/MixerWnd.h"
#include "app/windows/MsgWnd.h"
#include "app/windows/NoiseThresholdWnd.h"
#include "app/windows/StartupFiles.h"
#include "app/windows/UpdateFwWnd.h"
#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "uilib/control/Edit.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

// Upgrade states during which the link belongs to the firmware transfer.
const uint32_t kUpgradeEntered = 16;
const uint32_t kUpgradeStarted = 32;
// Pause after the last get, so that the unit's last answers have arrived.
const uint32_t kSettleMs = 1000;
// Reports taken per status timer tick at most.
const int kReportsPerTick = 8;
const DWORD kRedText = 0xFFFF0000;
const DWORD kWhiteText = 0xFFFFFFFF;

} // namespace

bool EqualizerManager::UpgradeBusy() const
{
    const uint32_t state = mDevice.mUpgState.load();
    return state == kUpgradeEntered || state == kUpgradeStarted;
}

EqualizerManager::LinkJobKind EqualizerManager::LinkJob() const
{
    const CUpdateFwWnd* update = OpenUpdateFwWindow();
    const CForceUpdateWnd* forced = OpenForceUpdateWindow();
    if ((update != nullptr && update->IsWorking()) || (forced != nullptr && forced->IsWorking()))
        return LinkJobKind::Firmware;
    if (mStatusReading.load()) return LinkJobKind::StatusRead;
    if (mTransferRunning.load()) return LinkJobKind::Profile;
    if (mSceneJobRunning.load()) return LinkJobKind::Scene;
    if (mOutputJobRunning.load()) return LinkJobKind::Outputs;
    if (mFactoryDefaultRunning.load()) return LinkJobKind::Factory;
    return LinkJobKind::None;
}

void EqualizerManager::PostToMain(UINT message, WPARAM wParam)
{
    if (mMainWnd != nullptr) PostMessageW(mMainWnd, message, wParam, 0);
}

void EqualizerManager::ShowLinkLook(LinkLook look)
{
    CSButtonUI* button = mControls.connect;
    if (button == nullptr) return;
    switch (look) {
    case LinkLook::Connecting:
        button->SetTextContent(L"${btn_connecting}");
        button->SetTextColor(kRedText);
        button->SetSelectedState(false);
        break;
    case LinkLook::Connected:
        button->SetTextContent(L"${btn_connected}");
        button->SetTextColor(kWhiteText);
        button->SetSelectedState(true);
        break;
    case LinkLook::Disconnected:
        button->SetTextContent(L"${btn_disconnected}");
        button->SetTextColor(kRedText);
        button->SetSelectedState(false);
        break;
    }
}

void EqualizerManager::ConnectDevice(bool showFailure)
{
    LogPrintW(L"EqualizerManager::ConnectDevice %d\n", showFailure ? 1 : 0);
    if (UpgradeBusy()) return;
    if (mDevice.IsDeviceOpen()) {
        DisconnectDevice();
        return;
    }
    // A reader of an earlier link ends before the new link opens, so its
    // last gets cannot reach the new one.
    StopStatusRead();
    mDevice.OpenHIDDevice();
    if (!mDevice.IsDeviceOpen()) {
        LogPrintW(L"Can not conect usb devices, please connect devices again!\n");
        if (showFailure) ShowNotice(mMainWnd, L"${device_connect_fail}");
        ShowLinkLook(LinkLook::Disconnected);
        return;
    }
    // The unit's return after an update's restart ends the update window.
    if (CUpdateFwWnd* update = OpenUpdateFwWindow()) update->PostClose(1);
    // The read about to run rewrites what an open mixer or compressor window shows.
    CloseUnitEditors();
    LogPrintW(L"Connect OK\xFF01\n");
    ShowLinkLook(LinkLook::Connecting);
    if (forceUpdateRunning && OpenForceUpdateWindow() != nullptr && !FileExistsInCurrentDir(L"noForceUpdate.ini")) {
        ShowLinkLook(LinkLook::Connected);
        ResumeForcedUpdate();
        return;
    }
    StartStatusRead();
}

void EqualizerManager::StartStatusRead()
{
    // The last reader has ended its work but may not have been joined yet.
    mStatusReader.Join();
    // A read again after a firmware window shows as a connect does.
    ShowLinkLook(LinkLook::Connecting);
    // Until the read is done only the reader talks to the unit.
    mDevice.DisableAsyncMode();
    if (mMainWnd != nullptr) {
        KillTimer(mMainWnd, kStatusTimerId);
        SetTimer(mMainWnd, kStatusTimerId, kStatusTimerMs, nullptr);
    }
    mStatusStop.store(false);
    mStatusLink = mDevice.LinkSerial();
    mStatusReading.store(true);
    // Posted before the reader runs, so its end always follows its begin.
    mStatusBusy = BeginBusy();
    if (!mStatusReader.Start()) {
        mStatusReading.store(false);
        PostToMain(WM_BUSY_END, mStatusBusy);
        DisconnectDevice();
    }
}

void EqualizerManager::ReadMcuValueThread(void* self)
{
    static_cast<EqualizerManager*>(self)->RunStatusRead();
}

// The reader only asks and posts: the answers reach the model on the UI
// thread, and every decision on them is taken there.
void EqualizerManager::RunStatusRead()
{
    LogPrintW(L"Read mcu value thread start!\n");
    mDevice.WaitCommandInProgress();
    // The outcome names its link: a removal and an arrival can both be taken
    // before it, and it must not end the link opened since.
    const uint32_t link = mStatusLink;
    const uint16_t busy = mStatusBusy;
    const UnitStatusRead result = ReadUnitStatus(mDevice, mStatusStop, link);
    // Read, or found another model or mode, which its end tells.
    if (result == UnitStatusRead::Done || result == UnitStatusRead::NotRead) {
        for (uint32_t waited = 0; waited < ScaledWait(kSettleMs) && !mStatusStop.load(); waited += 20) Sleep(20);
        if (!mStatusStop.load()) PostToMain(WM_STATUS_READ_DONE, link);
    }
    // Over before its end is taken: a job asked for as the loading window
    // closes (a scene name confirmed during the read) finds the link free.
    mStatusReading.store(false);
    PostToMain(WM_BUSY_END, busy);
    if (result == UnitStatusRead::HandshakeFailed) {
        PostToMain(WM_STATUS_READ_FAILED, link);
        PostToMain(WM_DEVICE_DISCONNECT, link);
    } else if (result == UnitStatusRead::Unanswered) {
        // A half-read unit is not shown as connected; what the user is told
        // is decided on the UI thread, where the removal arrives.
        PostToMain(WM_STATUS_READ_SILENT, link);
    }
    LogPrintW(L"Read mcu value thread end!\n");
}

void EqualizerManager::StopStatusRead()
{
    mStatusStop.store(true);
    mStatusReader.Join();
}

void EqualizerManager::DeviceConnected()
{
    LogPrintW(L"EqualizerManager::DeviceConnected\n");
    if (UpgradeBusy()) return;
    if (mDevice.mMcuNormalMode.load() == 0) return;
    SceneProfile& profile = Current();
    if (!mDevice.IsDeviceOpen() || profile.model != kModelId) {
        // A foreign model was named by the handshake's notice already.
        DisconnectDevice();
        return;
    }
    for (int ch = 0; ch < kOutputChannels; ++ch) ComputeChannelCurve(ch, profile.channels[ch].bypass == 1);
    ShowLinkLook(LinkLook::Connected);
    mDevice.EnableAsyncMode();
    ShowLinkAndLock();
    ShowEqBandRows(profile.currOutChannel);
    UpdateEqualizer(-1);
    *mTaken = profile;
    mTakenLink = mDevice.LinkSerial();

    const int main = profile.mainVersion;
    const int slave = profile.slaveVersion;
    if (main == kCarriedMain && slave == kCarriedSlave) return;
    if (main > kCarriedMain || (main == kCarriedMain && slave > kCarriedSlave)) {
        PostToMain(WM_DSP_FW_NEWER);
        return;
    }
    if (!FileExistsInCurrentDir(L"noForceUpdate.ini")) PostToMain(WM_FORCE_UPDATE);
}

void EqualizerManager::DisconnectDevice()
{
    LogPrintW(L"EqualizerManager::DisconnectDevice\n");
    if (UpgradeBusy()) return;
    mStatusStop.store(true);
    if (mMainWnd != nullptr) KillTimer(mMainWnd, kStatusTimerId);
    mDevice.DisableAsyncMode();
    mDevice.CloseHIDDevice(true);
    // With the link closed every get left fails at once, so the join is short.
    StopStatusRead();
    ShowLinkLook(LinkLook::Disconnected);
    Current().model = -1;
    CloseUnitEditors();
}

// Their edits would reach the model only, the unit never hearing them; typing
// in the main window would reach another link than it was typed on.
void EqualizerManager::CloseUnitEditors()
{
    DropTyping(mManager);
    if (CMixerWnd* mixer = CMixerWnd::Current()) mixer->PostClose(1);
    if (CCompressorsOnWnd* compressors = CCompressorsOnWnd::Current()) compressors->PostClose(1);
    if (CNoiseThresholdWnd* noise = CNoiseThresholdWnd::Current()) noise->PostClose(0);
}

void EqualizerManager::DevicePlugOut()
{
    LogPrintW(L"DevicePlugOut\n");
    if (UpgradeBusy()) {
        LogPrintW(L"sys_upg_status UPG_ENTER or UPG_START\n");
        return;
    }
    // A link already closed (a second removal, or a silent read that was an
    // unplug) was told about once.
    const bool wasOpen = mDevice.IsDeviceOpen();
    DisconnectDevice();
    // Posted: the removal broadcast is a sent message and must return at once.
    if (wasOpen && !forceUpdateRunning && !updateWindowOpen && !mRestartExpected && !mJobTellsItsCut)
        PostToMain(WM_SHOW_PLUGOUT_NOTICE, mDevice.LinkSerial());
}

void EqualizerManager::LetLinkGoUnlessGone(const wchar_t* notice)
{
    LogPrintW(L"EqualizerManager::LetLinkGoUnlessGone\n");
    if (!mDevice.IsDeviceOpen()) return;  // the removal came first and told the user
    if (!DspDevice::IsUnitOnBus()) {
        DevicePlugOut();
        return;
    }
    LetLinkGo(notice);
}

void EqualizerManager::DevicePlugin()
{
    LogPrintW(L"DevicePlugin\n");
    if (UpgradeBusy()) {
        LogPrintW(L"sys_upg_status UPG_ENTER or UPG_START\n");
        return;
    }
    mRestartExpected = false;
    // A second arrival while the link is open would otherwise close it.
    if (mDevice.IsDeviceOpen()) return;
    ConnectDevice(false);
}

void EqualizerManager::LetLinkGo(const wchar_t* notice)
{
    LogPrintW(L"the unit's link let go\n");
    if (!mDevice.IsDeviceOpen()) return;
    const bool backToTaken = LinkUnchangedSince(mTakenLink);
    // Taken before the unit's windows close with their boxes.
    const bool overTyping = CEditUI::KeyboardInBox();
    DisconnectDevice();
    if (backToTaken) PostToMain(WM_BACK_TO_TAKEN, mDevice.LinkSerial());
    TellAfterLoading(notice, overTyping);
}

void EqualizerManager::BackToTaken()
{
    // The closed link's mark stays: the profile is no unit's now.
    const int32_t model = Current().model;
    Current() = *mTaken;
    Current().model = model;
    RefreshFromProfile();
}

bool EqualizerManager::JobCutByLinkEnd(bool linkLasted)
{
    if (!linkLasted) return true;
    if (DspDevice::IsUnitOnBus()) return false;
    DisconnectDevice();
    return true;
}

// Posted behind the loading window's close (one hop: its end may itself
// still be queued): a notice opened inside the loading window's modal loop
// leaves the main window disabled after both have gone.
void EqualizerManager::TellAfterLoading(const wchar_t* notice, bool overTyping)
{
    const WPARAM hops = 1;
    if (mMainWnd != nullptr)
        PostMessageW(mMainWnd, WM_SHOW_UNIT_NOTICE, hops | (overTyping ? kNoticeOverTyping : 0), reinterpret_cast<LPARAM>(notice));
}

void EqualizerManager::ReadUnitReports()
{
    // An edit the unit did not take on this link is told once, the link let
    // go and the model brought back to what the unit took, so the screen
    // never goes on showing it as made; a job counts its own commands and
    // tells their end first. A job whose end still waits in the queue is
    // not over: let go now, the link would seem to have left under it.
    const bool jobOpen = LinkJobRunning() || mJobTellsItsCut;
    if (mDevice.IsDeviceOpen() && !jobOpen) {
        // Idle is read first: a change done by then has left its untaken mark.
        const bool idle = mDevice.IsQueueIdle();
        bool unanswered = false;
        const uint32_t untaken = mDevice.TakeUntakenLink(&unanswered);
        if (untaken != 0 && LinkUnchangedSince(untaken))
            LetLinkGoUnlessGone(unanswered ? L"${device_no_answer}" : L"${edit_not_taken}");
        else if (idle && mDevice.IsAsyncMode() && LinkUnchangedSince(mTakenLink))
            *mTaken = Current();
    }
    if (!mDevice.IsDeviceOpen() || !mDevice.IsAsyncMode() || !mDevice.IsQueueIdle()) return;
    uint8_t report[dsp::kInputReportSize];
    // Without waiting: a link busy with an exchange is left alone.
    int taken = 0;
    const uint32_t failedBefore = mDevice.FailedReads();
    while (taken < kReportsPerTick && mDevice.ReadHIDData(report, 0)) ++taken;
    // A read that fails on the open link is not "nothing sent": the unit is
    // gone or no longer hears, and the link is let go as for a silent unit.
    if (mDevice.FailedReads() != failedBefore && !jobOpen) LetLinkGoUnlessGone(L"${device_no_answer}");
}
