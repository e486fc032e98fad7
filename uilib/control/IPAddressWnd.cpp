#include "uilib/control/IPAddressWnd.h"

#include <commctrl.h>

#include "uilib/control/IPAddress.h"
#include "uilib/control/NativeOverlay.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// WM_COMMAND reflected back to the child that sent it.
const UINT kReflectedCommand = 0x2000 + WM_COMMAND;

} // namespace

const wchar_t* CIPAddressWnd::GetWndClassName() const
{
    return L"IPAddressWnd";
}

const wchar_t* CIPAddressWnd::GetSuperclassSource() const
{
    return WC_IPADDRESSW;
}

CIPAddressUI* CIPAddressWnd::Owner() const
{
    return static_cast<CIPAddressUI*>(m_host);
}

bool CIPAddressWnd::OpenOn(COverlayLabelUI* host)
{
    CPaintManagerUI* manager = host != nullptr ? host->GetPaintManager() : nullptr;
    if (manager == nullptr || manager->WindowHandle() == nullptr) return false;
    m_host = host;
    CIPAddressUI* owner = Owner();
    owner->SetUpdateMode(CIPAddressUI::kUpdateNone);
    if (m_window == nullptr) {
        if (!EnsureEditorClasses()) return false;
        if (CreateNativeWindowInRect(manager->WindowHandle(), nullptr, WS_CHILD | WS_GROUP | WS_TABSTOP, 0,
                                     owner->GetPosition()) == nullptr)
            return false;
        m_created = true;
        SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(ResolveFontHandle(*manager, owner->GetFont())),
                     TRUE);
        WatchFieldKeys();
    }
    if (owner->GetTextContent().IsEmpty()) owner->StoreAddress(CIPAddressUI::GetLocalHostAddress());
    SendMessageW(m_window, IPM_SETADDRESS, 0, static_cast<LPARAM>(owner->GetAddress()));
    ShowWindow(m_window, SW_SHOW);
    SetFocus(m_window);
    return true;
}

void CIPAddressWnd::WatchFieldKeys()
{
    for (HWND field = GetWindow(m_window, GW_CHILD); field != nullptr; field = GetWindow(field, GW_HWNDNEXT))
        SetWindowSubclass(field, &CIPAddressWnd::FieldProc, 1, reinterpret_cast<DWORD_PTR>(m_window));
}

LRESULT CALLBACK CIPAddressWnd::FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR editor)
{
    if (message == WM_KEYUP && wParam == VK_ESCAPE) {
        PostMessageW(reinterpret_cast<HWND>(editor), WM_KEYUP, wParam, lParam);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(field, &CIPAddressWnd::FieldProc, 1);
    return DefSubclassProc(field, message, wParam, lParam);
}

LRESULT CIPAddressWnd::HandleFieldFocusLoss(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Moving between the editor's own fields keeps it open.
    for (HWND focus = GetFocus(); focus != nullptr; focus = GetParent(focus)) {
        if (focus == m_window) return 0;
    }
    DefWindowProcW(m_window, message, wParam, lParam);
    if (m_host != nullptr && Owner()->GetUpdateMode() == CIPAddressUI::kUpdateNone) {
        DWORD address = 0;
        SendMessageW(m_window, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
        Owner()->StoreAddress(address);
        Owner()->SetUpdateMode(CIPAddressUI::kUpdateShow);
        Owner()->RefreshText();
    }
    ShowWindow(m_window, SW_HIDE);
    return 0;
}

LRESULT CIPAddressWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS:
        return 0;
    case WM_KEYUP:
        // Delete and Backspace edit the field as everywhere else; emptying
        // the whole control on a typing correction would lose the address.
        if (wParam == VK_ESCAPE) {
            DefWindowProcW(m_window, message, wParam, lParam);
            if (m_host != nullptr) Owner()->SetUpdateMode(CIPAddressUI::kUpdateKeep);
            PostMessageW(m_window, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_KILLFOCUS) return HandleFieldFocusLoss(message, wParam, lParam);
        return 0;
    default:
        break;
    }
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

} // namespace SkinUI
