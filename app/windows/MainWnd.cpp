#include "app/windows/MainWnd.h"

#include <dbt.h>

#include <cwchar>

#include "app/controls/AppControlFactory.h"
#include "app/windows/MsgWnd.h"
#include "app/windows/ScreenDpi.h"
#include "app/windows/SettingsFile.h"
#include "app/windows/SkinResources.h"
#include "base/Log.h"
#include "uilib/control/Menu.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/layout/Container.h"

using namespace SkinUI;

const wchar_t* const CMainWnd::kTitle = L"Brisa DSP Audio";

namespace {

const char kModelName[] = "BrisaDSP";
// The HID device interface class.
const GUID kHidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

} // namespace

CMainWnd::CMainWnd() : m_menuCheckMap(CUIStringMap::kDefaultBuckets)
{
    m_mainPage.SetPaintManager(&m_pm);
    RegisterVirtualWindow(L"mainpage", &m_mainPage);
    m_pm.DpiScaler()->SetProcessAwareness(UI_DPI_PER_MONITOR_AWARE);
}

CMainWnd::~CMainWnd()
{
    if (m_menu != nullptr) {
        CMenuWnd::ClearMenuCheckInfo();
        if (m_menu->GetNativeHandle() != nullptr) DestroyWindow(m_menu->GetNativeHandle());
        m_menu = nullptr;
    }
    CMenuWnd::ClearMenuCheckInfo();
    CMenuWnd::ForgetCheckMap(&m_menuCheckMap);
    m_controller.Device().CloseHIDDevice(true);
}

void CMainWnd::OnUiBuilt()
{
    AttachChannelSettings();
    SetWindowLongW(m_window, GWL_STYLE, GetWindowLongW(m_window, GWL_STYLE) & ~(WS_MAXIMIZEBOX | WS_THICKFRAME));

    CResourceStore::GetInstance()->SetTextQueryCallback(this);
    RegisterSkinLanguages();
    ApplySettings();

    m_pm.ApplyDpi(GetScreenDpi());
    m_controller.Init(&m_pm, m_window);

    if (!TakeSingleInstance()) {
        m_secondInstance = true;
        ShowNotice(m_window, L"${mutex_tips}");
        BringRunningCopyForward();
        PostClose();
        return;
    }
    m_controller.ConnectDevice(false);
    RegisterForHidNotifications();
}

void CMainWnd::AttachChannelSettings()
{
    CControlUI* host = m_pm.FindControlByName(L"channel_settings");
    if (host == nullptr || host->FindInterface(L"IContainer") == nullptr) return;
    // Built into the container itself, so the rows are laid out, painted and
    // found by name like the rest of the window.
    CDialogBuilder builder;
    builder.BuildFromSource(L"xml/channel_settings_6in_mixer.xml", nullptr, this, &m_pm, host);
}

void CMainWnd::ApplySettings()
{
    const std::wstring path = SettingsFilePath();
    m_controller.SetFactoryEq(ReadSettingInt(path, L"factoryEQ", 0));
    const wchar_t* language = LanguageNameOfSetting(ReadLanguageSetting(path));
    if (language != nullptr) CResourceStore::GetInstance()->SelectLanguage(language);
}

bool CMainWnd::TakeSingleInstance()
{
    wchar_t name[64];
    _snwprintf(name, 63, L"VAROLT4TO8_%S", kModelName);
    name[63] = L'\0';
    m_instanceMutex = CreateMutexW(nullptr, TRUE, name);
    if (m_instanceMutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) return true;
    // Let go at once: a notice left waiting behind a window would otherwise
    // keep every later start from running once the other copy has ended.
    CloseHandle(m_instanceMutex);
    m_instanceMutex = nullptr;
    return false;
}

void CMainWnd::BringRunningCopyForward()
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, GetWndClassName(), kTitle)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) continue;
        BringForward(window);
        return;
    }
}

void CMainWnd::BringForward(HWND window)
{
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    // The job's own window (loading, update) is the last popup made active.
    SetForegroundWindow(GetLastActivePopup(window));
}

void CMainWnd::RegisterForHidNotifications()
{
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    m_deviceNotify = RegisterDeviceNotificationW(m_window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

CControlUI* CMainWnd::CreateCustomControl(const wchar_t* className)
{
    return CreateAppControl(className);
}

LRESULT CMainWnd::HandleDestroy(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& handled)
{
    if (m_deviceNotify != nullptr) {
        UnregisterDeviceNotification(m_deviceNotify);
        m_deviceNotify = nullptr;
    }
    if (m_instanceMutex != nullptr) {
        CloseHandle(m_instanceMutex);
        m_instanceMutex = nullptr;
    }
    // An open menu outlives this window for a moment: it must not clear a
    // pointer that is gone by then.
    if (m_menu != nullptr) {
        m_menu->SetWeakHolder(nullptr);
        m_menu->CloseMenu(0);
        m_menu = nullptr;
    }
    handled = false;
    return 0;
}

LRESULT CMainWnd::HandleGetMinMaxInfo(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& handled)
{
    handled = false;
    return 0;
}

LRESULT CMainWnd::HandleKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    LogPrintW(L"on CMainWnd UI_MSGTYPE_KILLFOCUS\n");
    return WindowImplBase::HandleKillFocus(message, wParam, lParam, handled);
}
