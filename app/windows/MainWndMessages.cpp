#include "app/windows/MainWnd.h"

#include <dbt.h>

#include <cwchar>

#include "app/tuning/AppMessages.h"
#include "app/tuning/CarriedFirmware.h"
#include "app/tuning/MainVolumePoll.h"
#include "app/windows/LoadingWnd.h"
#include "app/windows/MsgWnd.h"
#include "base/Log.h"
#include "device/DspRecords.h"
#include "uilib/control/Menu.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

// A worker's outcome: it names in wParam the link it ran on.
enum class Outcome { None, OnLink, JobEnd };

Outcome OutcomeOf(UINT message)
{
    switch (message) {
    case WM_STATUS_READ_FAILED:
    case WM_STATUS_READ_DONE:
    case WM_STATUS_READ_SILENT:
    case WM_DEVICE_DISCONNECT:
    case WM_SHOW_PLUGOUT_NOTICE:
    case WM_BACK_TO_TAKEN:
        return Outcome::OnLink;
    case WM_LINK_JOB_DONE:
        return Outcome::JobEnd;
    default:
        return Outcome::None;
    }
}

// The unit's interface path names HID and its vendor and product ids.
bool IsUnitPath(const wchar_t* path)
{
    wchar_t vendor[8];
    wchar_t product[8];
    _snwprintf(vendor, 7, L"%04x", DspDevice::kVendorId);
    _snwprintf(product, 7, L"%04x", DspDevice::kProductId);
    vendor[7] = product[7] = L'\0';
    return wcsstr(path, L"HID") != nullptr && wcsstr(path, vendor) != nullptr && wcsstr(path, product) != nullptr;
}

} // namespace

// Every message without a handler of its own; unless a row says otherwise
// the paint manager and the default procedure see it afterwards.
LRESULT CMainWnd::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    // The one place that weighs a worker's outcome against its link. One
    // that acts on the link (closes it, says it left or stopped answering,
    // shows it connected) is dropped once that link has closed or been
    // replaced; a job's end is always taken and told whether its link
    // lasted, so that a job the link's end cut says so in its own words.
    switch (OutcomeOf(message)) {
    case Outcome::OnLink:
        handled = m_controller.LinkUnchangedSince(wParam) && OnLinkOutcome(message);
        break;
    case Outcome::JobEnd:
        handled = OnJobEnd(lParam, m_controller.LinkUnchangedSince(wParam));
        break;
    case Outcome::None:
        handled = OnOwnMessage(message, wParam, lParam);
        break;
    }
    return 0;
}

bool CMainWnd::OnLinkOutcome(UINT message)
{
    switch (message) {
    case WM_STATUS_READ_FAILED:
        ShowNotice(m_window, L"${device_connect_fail}");
        return false;
    case WM_DEVICE_DISCONNECT:
        m_controller.DisconnectDevice();
        return false;
    case WM_STATUS_READ_SILENT:
        m_controller.LetLinkGoUnlessGone(L"${device_connect_fail}");
        return false;
    case WM_STATUS_READ_DONE:
        m_controller.DeviceConnected();
        return false;
    case WM_BACK_TO_TAKEN:
        m_controller.BackToTaken();
        return true;
    case WM_SHOW_PLUGOUT_NOTICE:
        LogPrintW(L"DisconnectMsgThread start!\n");
        ShowNotice(m_window, L"${device_plugout}");
        LogPrintW(L"DisconnectMsgThread end!\n");
        return true;
    default:
        return false;
    }
}

bool CMainWnd::OnJobEnd(LPARAM packed, bool linkLasted)
{
    const JobReport report = UnpackJobReport(packed);
    // Only the job's own loading window: one a read opened since stays.
    CloseLoadingWnd(&m_loading, report.busy);
    m_controller.LinkJobEnded(report, linkLasted);
    return true;
}

bool CMainWnd::OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        m_controller.DisconnectDevice();
        PostQuitMessage(0);
        return false;
    case WM_TIMER:
        HandleTimer(wParam);
        return false;
    case WM_SHOWWINDOW:
        InvalidateRect(m_window, nullptr, TRUE);
        return false;
    case WM_DISPLAYCHANGE:
        RestartForDisplay();
        return false;
    case WM_DEVICECHANGE:
        return HandleDeviceChange(wParam, lParam);
    case WM_MENU_ITEM_CLICKED:
        OnMenuClick(wParam);
        return true;
    case WM_BUSY_BEGIN:
        RunLoadingWnd(m_window, &m_loading, wParam);
        return false;
    case WM_BUSY_END:
        CloseLoadingWnd(&m_loading, wParam);
        return true;
    case WM_READ_DSP_VALUE:
        m_controller.ReadDspValueCallback(static_cast<int>(wParam), lParam);
        return false;
    case WM_READ_MCU_VALUE:
        m_controller.ReadMcuValueCallback(static_cast<int>(wParam), lParam);
        return false;
    case WM_READ_FLASH_VALUE:
        m_controller.ReadSenceValueCallback(static_cast<int>(wParam), lParam);
        return false;
    case WM_READ_KTV_VALUE:
        m_controller.ReadKtvValueCallback(static_cast<int>(wParam), lParam);
        return false;
    case WM_HANDSHAKE_REFUSED:
        ShowNotice(m_window, L"${device_status_unnormal}");
        OpenFirmwareUpdate();
        return false;
    case WM_FORCE_UPDATE:
        m_controller.ForceUpdate();
        return false;
    case WM_DSP_FW_NEWER:
        ShowFirmwareNewer();
        return false;
    case WM_SHOW_UNIT_NOTICE:
        // Once more behind the queue: a loading window whose end was posted
        // meanwhile closes first, so the notice does not open in its loop.
        if ((wParam & ~kNoticeOverTyping) != 0) PostMessageW(m_window, WM_SHOW_UNIT_NOTICE, wParam - 1, lParam);
        else ShowNotice(m_window, reinterpret_cast<const wchar_t*>(lParam), wParam != 0);
        return true;
    default:
        return false;
    }
}

void CMainWnd::HandleTimer(WPARAM id)
{
    if (id == kStatusTimerId) m_controller.ReadUnitReports();
    if (id == kCloseHeldTimerId) PollHeldClose();
    if (id != kMainVolumeTimerId) return;
    // Queued: a silent unit must not hold the window; the answer comes back
    // as a posted reply.
    if (TickGetMainVolumeTimer(m_window)) m_controller.Device().Get_Main_Volume_Queued();
}

void CMainWnd::ShowFirmwareNewer()
{
    const CUIString format = CResourceStore::GetInstance()->LookupText(L"${dsp_fw_new_tips}");
    const SceneProfile& profile = m_controller.Current();
    wchar_t text[1024];
    _snwprintf(text, 1023, format, profile.mainVersion, profile.slaveVersion, kCarriedMain, kCarriedSlave);
    text[1023] = L'\0';
    ShowNotice(m_window, text);
}

bool CMainWnd::HandleDeviceChange(WPARAM event, LPARAM broadcast)
{
    if (event == DBT_DEVNODES_CHANGED) {
        LogPrintW(L"Message DBT_DEVNODES_CHANGED\n");
        return true;
    }
    if (event == DBT_DEVICEARRIVAL) {
        LogPrintW(L"Message DBT_DEVICEARRIVAL\n");
    } else if (event == DBT_DEVICEREMOVECOMPLETE) {
        LogPrintW(L"Message DBT_DEVICEREMOVECOMPLETE\n");
    } else {
        LogPrintW(L"Message %d\n", static_cast<int>(event));
        return false;
    }
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(broadcast);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return false;
    const auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(broadcast);
    // The path ends within the broadcast's own size.
    const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (iface->dbcc_size <= nameOffset) return true;
    const size_t chars = (iface->dbcc_size - nameOffset) / sizeof(wchar_t);
    if (wmemchr(iface->dbcc_name, L'\0', chars) == nullptr || !IsUnitPath(iface->dbcc_name)) return true;

    CloseNoticesOnPlug(event == DBT_DEVICEREMOVECOMPLETE);
    if (event == DBT_DEVICEARRIVAL)
        m_controller.DevicePlugin();
    else
        m_controller.DevicePlugOut();
    return true;
}
