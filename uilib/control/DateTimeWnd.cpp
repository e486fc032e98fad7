#include "uilib/control/DateTimeWnd.h"

#include <commctrl.h>

#include "uilib/control/DateTime.h"
#include "uilib/control/NativeOverlay.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// WM_NOTIFY reflected back to the child that sent it.
const UINT kReflectedNotify = 0x2000 + WM_NOTIFY;

} // namespace

CDateTimeWnd::CDateTimeWnd() : m_droppedDown(false), m_oldTime() {}

CDateTimeUI* CDateTimeWnd::Owner() const
{
    return static_cast<CDateTimeUI*>(m_host);
}

const wchar_t* CDateTimeWnd::GetWndClassName() const
{
    return L"DateTimeWnd";
}

const wchar_t* CDateTimeWnd::GetSuperclassSource() const
{
    return DATETIMEPICK_CLASSW;
}

bool CDateTimeWnd::OpenOn(COverlayLabelUI* host)
{
    CPaintManagerUI* manager = host != nullptr ? host->GetPaintManager() : nullptr;
    if (manager == nullptr || manager->WindowHandle() == nullptr) return false;
    m_host = host;
    CDateTimeUI* owner = Owner();
    owner->SetUpdateMode(CDateTimeUI::kUpdateNone);
    if (m_window == nullptr) {
        EnsureEditorClasses();
        const CUIRect rc = ClipToAncestors(*owner, owner->GetPosition());
        if (CreateNativeWindowInRect(manager->WindowHandle(), nullptr, WS_CHILD, 0, rc) == nullptr) return false;
        m_created = true;
        SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(ResolveFontHandle(*manager, owner->GetFont())),
                     TRUE);
    }
    if (owner->GetTextContent().IsEmpty()) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        owner->StoreDateTime(now);
    }
    m_oldTime = owner->GetDateTime();
    SendMessageW(m_window, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&m_oldTime));
    ShowWindow(m_window, SW_SHOWNOACTIVATE);
    SetFocus(m_window);
    return true;
}

void CDateTimeWnd::ReadBack()
{
    if (m_host == nullptr) return;
    SYSTEMTIME time = {};
    if (SendMessageW(m_window, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return;
    Owner()->StoreDateTime(time);
    Owner()->ShowDate();
}

// The calendar may take the focus before the picker reports it dropped
// down; the focus going there must not close the picker.
bool CDateTimeWnd::IsCalendar(HWND window) const
{
    const HWND calendar = reinterpret_cast<HWND>(SendMessageW(m_window, DTM_GETMONTHCAL, 0, 0));
    return calendar != nullptr && window != nullptr && (window == calendar || IsChild(calendar, window));
}

LRESULT CDateTimeWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        if (m_host != nullptr) {
            Owner()->StoreDateTime(m_oldTime);
            Owner()->ShowDate();
        }
        PostMessageW(m_window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == kReflectedNotify) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == m_window) {
            if (header->code == DTN_DATETIMECHANGE) {
                ReadBack();
            } else if (header->code == DTN_DROPDOWN) {
                m_droppedDown = true;
            } else if (header->code == DTN_CLOSEUP) {
                ReadBack();
                PostMessageW(m_window, WM_CLOSE, 0, 0);
                m_droppedDown = false;
            }
        }
    } else if (message == WM_KILLFOCUS && !m_droppedDown && !IsCalendar(reinterpret_cast<HWND>(wParam))) {
        PostMessageW(m_window, WM_CLOSE, 0, 0);
    }
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

} // namespace SkinUI
