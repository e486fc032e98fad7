#include "app/windows/MainWnd.h"

#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

// The program's notice box of this process that is open, or null.
HWND FindOpenNotice()
{
    const CUIString title = CResourceStore::GetInstance()->LookupText(L"${tips}");
    HWND found = FindWindowW(nullptr, title);
    DWORD process = 0;
    if (found != nullptr) GetWindowThreadProcessId(found, &process);
    return process == GetCurrentProcessId() ? found : nullptr;
}

} // namespace

// Every message without a handler of its own; unless a row says otherwise
// the paint manager and the default procedure see it afterwards.
LRESULT CMainWnd::HandleOtherMessage(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& handled)
{
    handled = false;
    switch (message) {
    case WM_CLOSE: {
        m_controller.DisconnectDevice();
        HWND notice = FindOpenNotice();
        if (notice != nullptr) EndDialog(notice, 0);
        PostQuitMessage(0);
        break;
    }
    case WM_SHOWWINDOW:
        InvalidateRect(m_window, nullptr, TRUE);
        break;
    default:
        break;
    }
    return 0;
}
