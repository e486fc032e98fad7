#include "app/windows/MsgWnd.h"

#include <cwchar>
#include <vector>

#include "app/windows/ScreenDpi.h"

using namespace SkinUI;

namespace {

const wchar_t* const kLinkNotices[] = {L"${device_plugout}", L"${device_connect_fail}"};

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

} // namespace

void CMsgWnd::OnFinalWindowMessage(HWND window)
{
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CMsgWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    m_closeButton = m_pm.FindControlByName(L"closebtn");
    SetLabelText(L"MessageTitle", m_title);
    SetLabelText(L"MessageText", m_text);
    SetButtonTexts();
    // The default button holds the focus, so Enter presses it.
    m_pm.SetFocusControl(m_pm.FindControlByName(m_destructive ? L"cancel_btn" : L"confirm_btn"));
}

// Opened over typing, the first Enter is the one that ends it: the box's.
LRESULT CMsgWnd::HandleKeyDown(UINT /*message*/, WPARAM wParam, LPARAM /*lParam*/, bool& handled)
{
    handled = m_enterForTheBox && wParam == VK_RETURN;
    if (handled) m_enterForTheBox = false;
    return 0;
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

bool CMsgWnd::IsLinkNotice() const
{
    if (m_count != 1 || m_text == nullptr) return false;
    for (const wchar_t* key : kLinkNotices)
        if (wcscmp(m_text, key) == 0) return true;
    return false;
}

void CMsgWnd::SetLabelText(const wchar_t* name, const wchar_t* text)
{
    if (text == nullptr || text[0] == L'\0') return;
    CControlUI* label = m_pm.FindControlByName(name);
    if (label != nullptr) label->SetTextContent(text);
}

void CMsgWnd::SetButtonTexts()
{
    const wchar_t* const* captions = m_captions;
    const int count = m_count;
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
int RunBox(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* const* captions, int count,
           bool destructive, bool overTyping = false)
{
    return static_cast<int>(
        (new CMsgWnd(title, text, captions, count, destructive, overTyping))->RunModalPopup(parent, L"msgwnd"));
}

} // namespace

int ShowMsgBox(HWND parent, const wchar_t* title, const wchar_t* text)
{
    return RunBox(parent, title, text, nullptr, 0, false);
}

int ShowMsgBoxEx(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* const* captions, int count)
{
    return RunBox(parent, title, text, captions, count, false);
}

int AskDestructive(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* const* captions, int count)
{
    return RunBox(parent, title, text, captions, count, true);
}

int ShowNotice(HWND parent, const wchar_t* text, bool overTyping)
{
    const wchar_t* captions[CMsgWnd::kMaxButtons] = {L"${confirm}", nullptr, nullptr};
    return RunBox(parent, L"${tips}", text, captions, 1, false, overTyping);
}

void CloseNoticesOnPlug(bool removal)
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        wchar_t title[16] = {};
        GetWindowTextW(window, title, 15);
        if (_wcsicmp(title, L"msgwnd") != 0) continue;
        const auto* box = dynamic_cast<const CMsgWnd*>(
            reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA)));
        const bool link = box != nullptr && box->IsLinkNotice();
        const bool staysUntilAnswered = box != nullptr && box->IsNotice() && !link;
        if (removal ? !link && !staysUntilAnswered : link)
            PostMessageW(window, WM_CLOSE, 0, 0);
    }
}
