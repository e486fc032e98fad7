// The program's one main window: every channel, EQ and crossover control,
// the controller for its whole life, the single-instance guard and the HID
// arrival and removal registration.
#pragma once

#include "app/tuning/EqualizerManager.h"
#include "app/windows/MainPage.h"
#include "uilib/core/UIStringMap.h"
#include "uilib/core/WindowBase.h"

namespace SkinUI {
class CMenuWnd;
}
class CLoadingWnd;

class CMainWnd : public SkinUI::WindowImplBase {
public:
    static const wchar_t* const kTitle;
    static constexpr int kWidth = 1230;
    static constexpr int kHeight = 650;

    CMainWnd();
    ~CMainWnd() override;

    const wchar_t* GetWndClassName() const override { return L"MainWnd"; }
    UINT GetWndClassStyle() const override { return CS_DBLCLKS; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_MAIN"; }
    EqualizerManager& Controller() { return m_controller; }

    // ---- Creation and initialisation (MainWnd.cpp) ----
    void OnUiBuilt() override;
    // The application's own skin tags; null lets the framework's factory try.
    SkinUI::CControlUI* CreateCustomControl(const wchar_t* className) override;
    LRESULT HandleDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // Whether this copy found another one running and is closing itself.
    bool IsSecondInstance() const { return m_secondInstance; }
    // Whether the program is to start again once this copy has closed: only
    // when the close was the restart's own, not one asked for meanwhile.
    bool RestartDue() const { return m_restarting; }

    // ---- Window messages (MainWndMessages.cpp) ----
    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // The loading window while one is open, else null.
    CLoadingWnd* LoadingWindow() const { return m_loading; }

    // ---- Menu clicks and the language switch (MainWndMenu.cpp) ----
    // Takes the menu's command record and frees it.
    void OnMenuClick(WPARAM record);
    // Selects the language, keeps the choice in the settings file and
    // redraws every text.
    void ChangeLanguage(const wchar_t* name, const wchar_t* settingValue);
    // Dialogs of the option and advance menus (MainWndDialogs.cpp).
    void OpenNoiseThresholdWnd();
    void OpenCompressorsOnWnd();

    // ---- Notifications and clicks (MainWndNotify.cpp) ----
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    void OnClick(SkinUI::CControlUI* control);
    // Runs the first rule of the dispatch table for type and the control's name.
    void Dispatch(const wchar_t* type, SkinUI::CControlUI* control);
    // The edit focus cycle (MainWndFocus.cpp): main volume, the current
    // channel's band frequencies, Qs and gains, the channel volumes and
    // delays, high-pass, low-pass; disabled boxes are passed over.
    void MoveEditFocus(SkinUI::CControlUI* from, bool right);
    // After the start and whenever a window over this one has closed, no
    // control takes keys until one is clicked or tabbed to; a box showing
    // typing keeps them.
    bool KeepsKeysFromControlsAfterCover() const override { return true; }

    // ---- Popup menus (MainWndNotify.cpp opens them, MainWndMenu.cpp takes their rows) ----
    // The one open popup menu, cleared by the menu as it goes.
    SkinUI::CMenuWnd*& MenuSlot() { return m_menu; }

    // ---- A close while a job holds the link (MainWndClose.cpp) ----
    // A close from outside (End task, the taskbar, another program, the
    // session's end) waits until no job or firmware transfer holds the link:
    // cut short, it would leave the unit part way through an image, a
    // profile or a scene. Every job ends on its own, so the wait ends too.
    bool RefusesOutsideClose() const override;
    // Brings the busy window forward and names the job to the session's end.
    void OnCloseRefused() override;

    // ---- Firmware update and about box (MainWndFirmware.cpp) ----
    void OpenFirmwareUpdate();
    void OpenAbout();

private:
    void AttachChannelSettings();
    void ApplySettings();
    // False when another copy of the program holds the mutex.
    bool TakeSingleInstance();
    // The other copy's main window, or the window its job runs in.
    void BringRunningCopyForward();
    // Restores window when minimised and activates its last active popup,
    // without waiting on the thread that owns it: that may hang.
    static void BringForward(HWND window);
    void RegisterForHidNotifications();
    // HandleOtherMessage's kinds (MainWndMessages.cpp): a worker's outcome
    // on its link, taken only while that link lasts; a job's end, always
    // taken and told whether its link lasted; the window's own messages.
    // Each answers whether the message was handled.
    bool OnLinkOutcome(UINT message);
    bool OnJobEnd(LPARAM packed, bool linkLasted);
    bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Device arrival and removal.
    bool HandleDeviceChange(WPARAM event, LPARAM broadcast);
    void HandleTimer(WPARAM id);
    void OnFocusReleased() override;
    void ShowFirmwareNewer();
    // A display change (MainWndClose.cpp): the program closes and starts
    // again (WinMain) once no job holds the link and no window stands over
    // this one.
    void RestartForDisplay();
    bool m_restartDue = false;
    bool m_restarting = false;
    // Polled while a close waits: the reason given to the session's end goes
    // once the job has ended, and a restart due then closes the program.
    static constexpr UINT_PTR kCloseHeldTimerId = 5120;
    void PollHeldClose();

    // Notifications (MainWndNotify.cpp).
    bool DispatchChart(SkinUI::TNotifyInfo& notify);
    void FollowDelayFocus(SkinUI::CControlUI* control);

    EqualizerManager m_controller;
    SkinUI::CMenuWnd* m_menu = nullptr;
    SkinUI::CUIStringMap m_menuCheckMap;
    CMainPage m_mainPage;
    HDEVNOTIFY m_deviceNotify = nullptr;
    HANDLE m_instanceMutex = nullptr;
    bool m_secondInstance = false;
    CLoadingWnd* m_loading = nullptr;
};
