#include "app/tuning/EqualizerManager.h"

#include <cwchar>

#include "app/tuning/CarriedFirmware.h"
#include "app/windows/ForceUpdateWnd.h"
#include "app/windows/MsgWnd.h"
#include "app/windows/ResourceTempFile.h"
#include "app/windows/StartupFiles.h"
#include "base/Log.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

// Extraction codes of the flash image follow those of the MCU image.
const int kFlashCodeOffset = 6;

} // namespace

void EqualizerManager::ForceUpdate()
{
    LogPrintW(L"EqualizerManager::ForceUpdate\n");
    if (FileExistsInCurrentDir(L"noForceUpdate.ini")) return;
    // Without usable images of our own there is nothing to offer; the reason is logged.
    if (!ForcedUpdateOffered(static_cast<uint8_t>(kModelId))) return;

    const SceneProfile& profile = Current();
    const CUIString format = CResourceStore::GetInstance()->LookupText(L"${update_tips}");
    wchar_t question[1024];
    _snwprintf(question, 1023, format, profile.mainVersion, profile.slaveVersion, kCarriedMain, kCarriedSlave);
    question[1023] = L'\0';
    const wchar_t* captions[CMsgWnd::kMaxButtons] = {L"${confirm}", L"${cancel}", nullptr};
    if (ShowMsgBoxEx(mMainWnd, L"${tips}", question, captions, 2) != 1) return;

    LogPrintW(L"Start force update!\n");
    const HMODULE program = GetModuleHandleW(nullptr);
    wchar_t mcuPath[MAX_PATH] = {};
    wchar_t flashPath[MAX_PATH] = {};
    int code = ExtractResourceToTempFile(program, L"MCU_UPG.bin", mcuPath, MAX_PATH, kCarriedMcuName, kCarriedType);
    if (code == kResourceFileOk) {
        code = ExtractResourceToTempFile(program, L"FLASH_UPG.bin", flashPath, MAX_PATH, kCarriedFlashName,
                                         kCarriedType);
        if (code != kResourceFileOk) code += kFlashCodeOffset;
    }
    if (code != kResourceFileOk) {
        if (mcuPath[0] != L'\0') DeleteFileW(mcuPath);
        if (flashPath[0] != L'\0') DeleteFileW(flashPath);
        wchar_t text[64];
        _snwprintf(text, 63, L"File prepare error. error code %d", code);
        text[63] = L'\0';
        ShowNotice(mMainWnd, text);
        return;
    }

    forceUpdateRunning = true;
    const int result = OpenForceUpdateWnd(mMainWnd, mDevice, mcuPath, mcuPath, flashPath);
    forceUpdateRunning = false;
    // The images are the program's; nothing of them stays behind.
    DeleteFileW(mcuPath);
    DeleteFileW(flashPath);
    // The window told of a unit silent at its factory reset: the link goes, as after every silent job.
    if (result == kForceUpdateUnitSilent)
        DisconnectDevice();
    else
        ResumeAfterFirmwareWindow(result == 1);
}

void EqualizerManager::ResumeForcedUpdate()
{
    CForceUpdateWnd* window = OpenForceUpdateWindow();
    if (window != nullptr) window->OnDeviceReconnected();
}

void EqualizerManager::ResumeAfterFirmwareWindow(bool unitReturned)
{
    if (!mDevice.IsDeviceOpen() || IsStatusReadRunning()) return;
    // A unit that refused the handshake is not asked again: that would only
    // bring the same refusal and the same window back.
    const bool leftOutOfWork = !mDevice.IsAsyncMode() && mDevice.mMcuNormalMode.load() == 1;
    if (unitReturned || leftOutOfWork) StartStatusRead();
}

void EqualizerManager::ResetMcuFactoryDefault()
{
    LogPrintA("%s\n", "EqualizerManager::ResetMcuFactoryDefault");
    // Nothing to erase is not asked about.
    if (RefusedOffline(JobKind::FactoryReset, mMainWnd)) return;
    if (AskDestructive(mMainWnd, L"${tips}", L"${factory_default_tips}") != 1) return;
    // One reset at a time; the last one's worker has posted its end.
    mFactoryDefault.Join();
    mFactorySilentBefore = mDevice.SilentExchanges();
    mFactoryLink = mDevice.LinkSerial();
    mFactoryReport = JobReport();
    mFactoryReport.kind = JobKind::FactoryReset;
    mRestartExpected = StartLinkJob(true, mFactoryDefault, mFactoryDefaultRunning, mFactoryReport);
}

void EqualizerManager::FactoryDefaultThread(void* self)
{
    EqualizerManager* manager = static_cast<EqualizerManager*>(self);
    LogPrintW(L"Factory default thread start!\n");
    JobReport report = manager->mFactoryReport;
    const DspDevice::LinkBinding bound(manager->mFactoryLink);
    report.taken = manager->mDevice.MCU_Factory_Default();
    report.unanswered = !report.taken;
    report.silent = !report.taken && manager->mDevice.SilentExchanges() != manager->mFactorySilentBefore;
    LogPrintW(L"Factory default thread end!\n");
    manager->EndLinkJob(manager->mFactoryLink, report, manager->mFactoryDefaultRunning);
}

void EqualizerManager::FactoryDefaultEnded(const JobReport& report, JobEnd end)
{
    // Acknowledged, the unit restarts: its removal and return are no unplug.
    if (report.taken) {
        ShowNotice(mMainWnd, L"${device_reboot}");
        return;
    }
    // No restart follows: a later removal is a real unplug again.
    mRestartExpected = false;
    TellJobEnd(report.kind, end);
}
