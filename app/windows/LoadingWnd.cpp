#include "app/windows/LoadingWnd.h"

#include "app/windows/ScreenDpi.h"

using namespace SkinUI;

void CLoadingWnd::OnFinalWindowMessage(HWND window)
{
    if (m_holder != nullptr && *m_holder == this) *m_holder = nullptr;
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CLoadingWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
}

void CLoadingWnd::OnControlClick(TNotifyInfo& notify)
{
    if (notify.sender == nullptr) return;
    const CUIString name = notify.sender->GetControlName();
    if (name == L"closebtn" || name == L"cancel_btn") {
        PostClose(0);
    } else if (name == L"confirm_btn") {
        PostClose(1);
    }
}

void CloseLoadingWnd(CLoadingWnd** holder, WPARAM token)
{
    if (*holder == nullptr || (*holder)->Token() != token) return;
    (*holder)->PostClose(1);
    *holder = nullptr;
}

void RunLoadingWnd(HWND owner, CLoadingWnd** holder, WPARAM token)
{
    if (*holder != nullptr) CloseLoadingWnd(holder, (*holder)->Token());
    CLoadingWnd* window = new CLoadingWnd(holder, token);
    *holder = window;
    if (window->CreateNativeWindow(owner, L"loadingwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) {
        // A window that got as far as its last message deleted itself and
        // cleared the holder; otherwise forget it without a second delete.
        *holder = nullptr;
        return;
    }
    window->CenterOverOwner();
    window->RunModal();
}
