#include "app/windows/FirmwareWndBase.h"

#include "app/windows/ScreenDpi.h"
#include "base/Log.h"
#include "uilib/control/Label.h"

using namespace SkinUI;

namespace {

const DWORD kDangerColor = 0xFFE5484D;

CLabelUI* TipsLabel(CPaintManagerUI& manager)
{
    CControlUI* tips = manager.FindControlByName(L"update_tips");
    return tips != nullptr ? static_cast<CLabelUI*>(tips->FindInterface(L"Label")) : nullptr;
}

} // namespace

CFirmwareWndBase::CFirmwareWndBase(DspDevice& device, CFirmwareWndBase** openSlot, const wchar_t* const* locked,
                                   size_t count)
    : m_device(device), m_openSlot(openSlot), m_locked(locked), m_lockedCount(count)
{
}

CFirmwareWndBase::~CFirmwareWndBase()
{
    if (*m_openSlot == this) *m_openSlot = nullptr;
}

void CFirmwareWndBase::OnFinalWindowMessage(HWND window)
{
    // The workers may still post to the handle; a transfer stops at its next step.
    StopWorkers();
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CFirmwareWndBase::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    m_target = m_window;
    *m_openSlot = this;
    if (CLabelUI* tips = TipsLabel(m_pm)) m_tipsColor = tips->GetTextColor();
}

void CFirmwareWndBase::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    if (notify.type == L"setfocus" && notify.sender != nullptr) {
        LogPrintW(L"on %s UI_MSGTYPE_SETFOCUS\n", notify.sender->GetControlName().CStr());
    }
    WindowImplBase::ReceiveNotify(notify);
}

LRESULT CFirmwareWndBase::HandleSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        // Idle, Alt+F4 ends the program through the main window's own close,
        // which lets go of the single-instance lock.
        if (!IsWorking()) PostMessageW(GetWindow(m_window, GW_OWNER), WM_CLOSE, 0, 0);
        return 0;
    }
    return WindowImplBase::HandleSysCommand(message, wParam, lParam, handled);
}

LRESULT CFirmwareWndBase::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (HandleOwnMessage(message, wParam, lParam)) return 0;
    return WindowImplBase::HandleOtherMessage(message, wParam, lParam, handled);
}

void CFirmwareWndBase::SetButtonsEnabled(bool enabled)
{
    m_working = !enabled;
    for (size_t i = 0; i < m_lockedCount; ++i) {
        CControlUI* control = m_pm.FindControlByName(m_locked[i]);
        if (control != nullptr) control->SetEnabledState(enabled);
    }
}

void CFirmwareWndBase::SetTips(const wchar_t* text)
{
    if (m_failedBar != nullptr) m_failedBar->SetForegroundColor(m_barColor);
    m_failedBar = nullptr;
    CLabelUI* tips = TipsLabel(m_pm);
    if (tips == nullptr) return;
    tips->SetTextColor(m_tipsColor);
    tips->SetTextContent(text);
}

void CFirmwareWndBase::ShowFailure(const wchar_t* text, const wchar_t* bar)
{
    SetTips(text);
    if (CLabelUI* tips = TipsLabel(m_pm)) tips->SetTextColor(kDangerColor);
    m_failedBar = bar != nullptr ? m_pm.FindControlByName(bar) : nullptr;
    if (m_failedBar == nullptr) return;
    m_barColor = m_failedBar->GetForegroundColor();
    m_failedBar->SetForegroundColor(kDangerColor);
}
