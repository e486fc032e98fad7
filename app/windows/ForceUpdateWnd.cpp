#include "app/windows/ForceUpdateWnd.h"

#include <cwchar>
#include <iterator>

#include "app/windows/FirmwareTransfer.h"
#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "uilib/control/CheckBox.h"
#include "uilib/control/Progress.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

const wchar_t* const kLockedControls[] = {L"update_btn", L"cancel_btn", L"closebtn"};
// The unit restarts in seconds; past this the window gives up waiting for it
// and can be closed.
const UINT_PTR kReturnTimerId = 1;
const UINT kReturnWaitMs = 60000;
const uint32_t kFactoryPauseMs = 1000;

CFirmwareWndBase* gOpenWindow = nullptr;

} // namespace

CForceUpdateWnd* OpenForceUpdateWindow()
{
    return static_cast<CForceUpdateWnd*>(gOpenWindow);
}

CForceUpdateWnd::CForceUpdateWnd(DspDevice& device, bool* reloadAfterClose, bool* resetUnanswered)
    : CFirmwareWndBase(device, &gOpenWindow, kLockedControls, std::size(kLockedControls)),
      m_reloadAfterClose(reloadAfterClose), m_resetUnanswered(resetUnanswered)
{
}

CForceUpdateWnd::~CForceUpdateWnd()
{
    StopWorkers();
}

void CForceUpdateWnd::StopWorkers()
{
    m_abortRequested.store(1);
    m_upgrade.Join();
    m_factory.Join();
}

void CForceUpdateWnd::OnControlClick(TNotifyInfo& notify)
{
    if (notify.sender == nullptr) return;
    const CUIString name = notify.sender->GetControlName();
    if (name.CompareIgnoreCase(L"update_btn") == 0) {
        BeginUpdate();
    } else if (name.CompareIgnoreCase(L"cancel_btn") == 0 || name.CompareIgnoreCase(L"closebtn") == 0) {
        PostClose(0);
    }
}

void CForceUpdateWnd::SetFiles(const wchar_t* mcuText, const wchar_t* mcuPath, const wchar_t* flashPath)
{
    if (mcuText != nullptr && mcuText[0] != L'\0') {
        CControlUI* label = m_pm.FindControlByName(L"mcu_file");
        if (label != nullptr) label->SetTextContent(mcuText);
    }
    if (mcuPath != nullptr && mcuPath[0] != L'\0') {
        _snwprintf(m_mcuPath, kPathChars - 1, L"%s", mcuPath);
        m_mcuPath[kPathChars - 1] = L'\0';
    }
    if (flashPath != nullptr && flashPath[0] != L'\0') {
        CControlUI* label = m_pm.FindControlByName(L"flash_file");
        if (label != nullptr) label->SetTextContent(flashPath);
        _snwprintf(m_flashPath, kPathChars - 1, L"%s", flashPath);
        m_flashPath[kPathChars - 1] = L'\0';
    }
}

void CForceUpdateWnd::BeginUpdate()
{
    LogPrintA("%s\n", __PRETTY_FUNCTION__);
    if (!m_device.IsDeviceOpen()) return;
    // A stage's transfer has ended once the unit restarted or it failed.
    m_upgrade.Join();
    m_device.DisableAsyncMode();
    m_abortRequested.store(0);
    if (m_stage == kStageIdle && ShowsText(L"mcu_file")) {
        m_stage = kStageMcu;
        SetProgress(L"mcu_progress", 0);
        SetProgress(L"flash_progress", 0);
    } else if (m_stage == kStageMcu && ShowsText(L"flash_file")) {
        m_stage = kStageFlash;
    } else {
        SetTips(L"${update_no_file}");
        SetProgress(L"mcu_progress", 0);
        SetProgress(L"flash_progress", 0);
        return;
    }
    // Also for a failed DSP stage tried again: its transfer holds the window too.
    SetButtonsEnabled(false);
    SetTips(m_stage == kStageMcu ? L"${update_check_mcu}" : L"${update_check_flash}");
    m_workerStage.store(m_stage);
    if (!m_upgrade.Start()) StageFailed(L"${update_fail}");
}

void CForceUpdateWnd::UpgradeThread(void* window)
{
    CForceUpdateWnd* self = static_cast<CForceUpdateWnd*>(window);
    const int stage = self->m_workerStage.load();
    const wchar_t* path = stage == kStageMcu ? self->m_mcuPath : stage == kStageFlash ? self->m_flashPath : nullptr;
    if (path == nullptr) return;
    RunFirmwareTransfer(self->m_device, path, self->m_abortRequested, self->m_target,
                        stage == kStageMcu ? kMsgMcuStarted : kMsgFlashStarted, stage);
}

void CForceUpdateWnd::OnDeviceReconnected()
{
    LogPrintW(L"CForceUpdateWnd::OnDeviceReconnected stage %d\n", m_stage);
    KillTimer(m_window, kReturnTimerId);
    if (m_stage == kStageMcu && m_flashPath[0] != L'\0') {
        BeginUpdate();
        return;
    }
    if (m_stage == kStageMcu || m_stage == kStageFlash) {
        CCheckBoxUI* factory = dynamic_cast<CCheckBoxUI*>(m_pm.FindControlByName(L"check_box_facotry"));
        if (factory != nullptr && factory->IsSelected()) {
            SetTips(L"${update_factory}");
            ResetMcuFactoryDefault();
            return;
        }
        SetTips(L"${update_finish}");
    } else if (m_stage == kStageFactory) {
        if (m_reloadAfterClose != nullptr) *m_reloadAfterClose = true;
        SetTips(L"${update_finish}");
    } else if (m_reloadAfterClose != nullptr) {
        *m_reloadAfterClose = true;
    }
    SetButtonsEnabled(true);
    m_stage = kStageIdle;
}

void CForceUpdateWnd::ResetMcuFactoryDefault()
{
    LogPrintA("%s\n", "CForceUpdateWnd::ResetMcuFactoryDefault");
    m_stage = kStageFactory;
    m_workerStage.store(m_stage);
    m_factory.Join();
    if (!m_factory.Start()) StageFailed(L"${update_fail}");
}

void CForceUpdateWnd::FactoryDefaultThread(void* window)
{
    static_cast<CForceUpdateWnd*>(window)->RunFactoryDefault();
}

void CForceUpdateWnd::RunFactoryDefault()
{
    LogPrintW(L"Factory default thread start!\n");
    // The unit settles after its restart before it takes the reset.
    for (uint32_t waited = 0; waited < ScaledWait(kFactoryPauseMs) && m_abortRequested.load() == 0; waited += 20)
        Sleep(20);
    ResetEnd end = kResetAcknowledged;
    const uint32_t silentBefore = m_device.SilentExchanges();
    if (m_abortRequested.load() == 0 && !m_device.MCU_Factory_Default())
        end = m_device.SilentExchanges() != silentBefore ? kResetUnanswered : kResetLeft;
    PostMessageW(m_target, kMsgFactoryDone, end, kStageFactory);
    LogPrintW(L"Factory default thread end!\n");
}

bool CForceUpdateWnd::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kReturnTimerId) {
        KillTimer(m_window, kReturnTimerId);
        LogPrintW(L"the unit did not come back after its restart\n");
        StageFailed(L"${update_fail}");
        return true;
    }
    switch (message) {
    case kFwMsgProgress:
    case kFwMsgFinished:
    case kFwMsgFailed:
    case kFwMsgNotAccepted:
    case kMsgMcuStarted:
    case kMsgFlashStarted:
    case kMsgFactoryDone:
        break;
    default:
        return false;
    }
    // A late message of a stage already left behind changes nothing.
    if (static_cast<int>(lParam) != m_stage) return true;
    const bool mcu = m_stage == kStageMcu;
    switch (message) {
    case kFwMsgProgress: {
        const int percent = static_cast<int>(wParam);
        SetProgress(mcu ? L"mcu_progress" : L"flash_progress", percent);
        const CUIString format =
            CResourceStore::GetInstance()->LookupText(mcu ? L"${update_progress_mcu}" : L"${update_progress_flash}");
        wchar_t text[256];
        _snwprintf(text, 255, format, percent);
        text[255] = L'\0';
        SetTips(text);
        break;
    }
    case kFwMsgFinished:
        SetTips(mcu ? L"${update_reboot_mcu}" : L"${update_reboot_flash}");
        SetTimer(m_window, kReturnTimerId, kReturnWaitMs, nullptr);
        break;
    case kFwMsgFailed: StageFailed(L"${update_fail}"); break;
    case kFwMsgNotAccepted: StageFailed(L"${load_fw_fail}"); break;
    case kMsgMcuStarted: SetTips(L"${update_start_mcu}"); break;
    case kMsgFlashStarted: SetTips(L"${update_start_flash}"); break;
    case kMsgFactoryDone:
        if (wParam != kResetAcknowledged) {
            if (wParam == kResetUnanswered && m_resetUnanswered != nullptr) *m_resetUnanswered = true;
            StageFailed(wParam == kResetUnanswered ? L"${device_no_answer}" : L"${device_plugout}");
            break;
        }
        SetTips(L"${update_factory_reboot}");
        SetTimer(m_window, kReturnTimerId, kReturnWaitMs, nullptr);
        break;
    default: break;
    }
    return true;
}

void CForceUpdateWnd::StageFailed(const wchar_t* tips)
{
    ShowFailure(tips, m_stage == kStageMcu ? L"mcu_progress" : m_stage == kStageFlash ? L"flash_progress" : nullptr);
    // The update button tries the failed stage again.
    m_stage = m_stage == kStageFlash ? kStageMcu : kStageIdle;
    SetButtonsEnabled(true);
}

void CForceUpdateWnd::SetProgress(const wchar_t* name, int value)
{
    CProgressUI* bar = dynamic_cast<CProgressUI*>(m_pm.FindControlByName(name));
    if (bar != nullptr) bar->SetValue(value);
}

bool CForceUpdateWnd::ShowsText(const wchar_t* name)
{
    CControlUI* label = m_pm.FindControlByName(name);
    return label != nullptr && !label->GetTextContent().IsEmpty();
}

int OpenForceUpdateWnd(HWND parent, DspDevice& device, const wchar_t* mcuText, const wchar_t* mcuPath,
                       const wchar_t* flashPath)
{
    bool reload = false;
    bool silent = false;
    CForceUpdateWnd* window = new CForceUpdateWnd(device, &reload, &silent);
    // A failed creation that reached the window's last message already
    // deleted the window.
    if (window->CreateNativeWindow(parent, L"updatefwwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) {
        return 0;
    }
    window->CenterOverOwner();
    window->SetFiles(mcuText, mcuPath, flashPath);
    const int code = static_cast<int>(window->RunModal());
    if (silent) return kForceUpdateUnitSilent;
    return reload ? 1 : code;
}
