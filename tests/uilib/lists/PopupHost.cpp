#include "PopupHost.h"

#include "uilib/control/Menu.h"

namespace ListTest {

PopupHost::PopupHost(const RECT& screenRect)
{
    CreateNativeWindowInRect(nullptr, L"host", WS_POPUP | WS_VISIBLE, 0, screenRect);
    SetForegroundWindow(m_window);
    SetFocus(m_window);
}

PopupHost::~PopupHost()
{
    if (m_window != nullptr) DestroyWindow(m_window);
}

LRESULT PopupHost::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        m_pm.AttachWindow(m_window);
        return 0;
    }
    if (message == SkinUI::WM_MENU_ITEM_CLICKED) {
        const SkinUI::TMenuClickInfo* info = reinterpret_cast<const SkinUI::TMenuClickInfo*>(wParam);
        clicks.push_back({info->name, info->userData, info->text, info->checked, lParam});
        SkinUI::CPaintManagerUI::FreeBlock(reinterpret_cast<void*>(wParam));
        return 0;
    }
    LRESULT result = 0;
    if (m_pm.ProcessMessage(message, wParam, lParam, result)) return result;
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

void PopupHost::SetRoot(SkinUI::CControlUI* root)
{
    m_pm.AttachRoot(root);
    RECT client;
    GetClientRect(m_window, &client);
    root->SetPosition(client, false);
}

POINT PopupHost::ToScreen(POINT client) const
{
    ClientToScreen(m_window, &client);
    return client;
}

} // namespace ListTest
