#include "app/windows/MsgCheckBoxWnd.h"

#include "app/windows/ScreenDpi.h"
#include "uilib/control/Option.h"

using namespace SkinUI;

namespace {

bool IsEmpty(const wchar_t* text)
{
    return text == nullptr || text[0] == L'\0';
}

} // namespace

void CMsgCheckBoxWnd::OnFinalWindowMessage(HWND window)
{
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CMsgCheckBoxWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    m_closeButton = m_pm.FindControlByName(L"closebtn");
    SetMessageTitle(m_title);
    SetMessageText(m_text);
    SetCheckBoxTexts(m_first, m_second);
    // Either answer overwrites one side's settings: a stray Enter or Space cancels.
    m_pm.SetFocusControl(m_pm.FindControlByName(L"cancel_btn"));
}

bool CMsgCheckBoxWnd::IsTicked(const wchar_t* name)
{
    auto* box = dynamic_cast<COptionUI*>(m_pm.FindControlByName(name));
    return box != nullptr && box->IsSelected();
}

void CMsgCheckBoxWnd::OnControlClick(TNotifyInfo& notify)
{
    CControlUI* sender = notify.sender;
    if (sender == nullptr) return;
    const CUIString name = sender->GetControlName();
    if (sender == m_closeButton || name.CompareIgnoreCase(L"cancel_btn") == 0) {
        PostClose(0);
    } else if (name.CompareIgnoreCase(L"confirm_btn") == 0) {
        if (IsTicked(L"check_box_0")) PostClose(1);
        else if (IsTicked(L"check_box_1")) PostClose(2);
    }
}

void CMsgCheckBoxWnd::SetMessageTitle(const wchar_t* text)
{
    if (IsEmpty(text)) return;
    if (CControlUI* label = m_pm.FindControlByName(L"MessageTitle")) label->SetTextContent(text);
}

void CMsgCheckBoxWnd::SetMessageText(const wchar_t* text)
{
    if (IsEmpty(text)) return;
    CControlUI* label = m_pm.FindControlByName(L"MessageText");
    if (label == nullptr) return;
    label->SetTextContent(text);
    label->RequestRelayout();
}

void CMsgCheckBoxWnd::SetCheckBoxTexts(const wchar_t* first, const wchar_t* second)
{
    if (IsEmpty(first) || IsEmpty(second)) return;
    CControlUI* box0 = m_pm.FindControlByName(L"check_box_0");
    CControlUI* box1 = m_pm.FindControlByName(L"check_box_1");
    if (box0 != nullptr) box0->SetTextContent(first);
    if (box1 != nullptr) box1->SetTextContent(second);
}

int AskDestructiveChoice(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* first,
                         const wchar_t* second)
{
    return static_cast<int>((new CMsgCheckBoxWnd(title, text, first, second))->RunModalPopup(parent, L"msgcbwnd"));
}
