#include "app/windows/MsgWnd.h"

#include <cwchar>

#include "app/windows/ScreenDpi.h"

using namespace SkinUI;

void CMsgWnd::OnFinalWindowMessage(HWND window)
{
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CMsgWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    m_closeButton = m_pm.FindControlByName(L"closebtn");
}

void CMsgWnd::OnControlClick(TNotifyInfo& notify)
{
    CControlUI* sender = notify.sender;
    if (sender == nullptr) return;
    if (sender == m_closeButton) {
        PostClose(0);
        return;
    }
    const CUIString name = sender->GetControlName();
    if (name.CompareIgnoreCase(L"confirm_btn") == 0) {
        PostClose(1);
    } else if (name.CompareIgnoreCase(L"cancel_btn") == 0) {
        PostClose(0);
    } else if (name.CompareIgnoreCase(L"third_btn") == 0) {
        PostClose(2);
    }
}

void CMsgWnd::SetLabelText(const wchar_t* name, const wchar_t* text)
{
    if (text == nullptr || text[0] == L'\0') return;
    CControlUI* label = m_pm.FindControlByName(name);
    if (label != nullptr) label->SetTextContent(text);
}

void CMsgWnd::SetMessageTitle(const wchar_t* text)
{
    SetLabelText(L"MessageTitle", text);
}

void CMsgWnd::SetMessageText(const wchar_t* text)
{
    SetLabelText(L"MessageText", text);
}

void CMsgWnd::SetButtonTexts(const wchar_t* const* captions, int count)
{
    if (captions == nullptr) return;
    CControlUI* confirm = m_pm.FindControlByName(L"confirm_btn");
    if (confirm != nullptr && captions[0] != nullptr) confirm->SetTextContent(captions[0]);
    CControlUI* cancel = m_pm.FindControlByName(L"cancel_btn");
    if (count < 2) {
        if (cancel != nullptr) cancel->SetVisibility(false);
        return;
    }
    if (cancel != nullptr && captions[1] != nullptr) cancel->SetTextContent(captions[1]);
    if (count < kMaxButtons) return;
    CControlUI* third = m_pm.FindControlByName(L"third_btn");
    if (third == nullptr) return;
    if (captions[2] != nullptr) third->SetTextContent(captions[2]);
    third->SetVisibility(true);
}

namespace {

// The box owns itself from creation on and deletes itself when its window
// is gone; the modal loop hands back its result.
int RunBox(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* const* captions, int count)
{
    CMsgWnd* box = new CMsgWnd();
    // A failed creation that got as far as the window's last message has
    // already deleted the box; one that did not is left rather than risk a
    // second delete.
    if (box->CreateNativeWindow(parent, L"msgwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) return 0;
    box->CenterOverOwner();
    box->SetMessageTitle(title);
    box->SetMessageText(text);
    if (captions != nullptr) box->SetButtonTexts(captions, count);
    return static_cast<int>(box->RunModal());
}

} // namespace

int ShowMsgBox(HWND parent, const wchar_t* title, const wchar_t* text)
{
    return RunBox(parent, title, text, nullptr, 0);
}

int ShowMsgBoxEx(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* const* captions, int count)
{
    return RunBox(parent, title, text, captions, count);
}
