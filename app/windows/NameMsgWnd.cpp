#include "app/windows/NameMsgWnd.h"

#include "app/tuning/ControlText.h"
#include "app/tuning/TuningModel.h"
#include "app/windows/ScreenDpi.h"
#include "uilib/control/Edit.h"

using namespace SkinUI;

void CNameMsgWnd::OnFinalWindowMessage(HWND window)
{
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CNameMsgWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    m_closeButton = m_pm.FindControlByName(L"closebtn");
    m_edit = m_pm.FindControlByName(L"name_edt");
    if (m_edit == nullptr) return;
    if (auto* edit = dynamic_cast<CEditUI*>(m_edit)) edit->SetMaxChar(kSceneNameChars);
    m_edit->SetTextContent(m_name.substr(0, kSceneNameChars).c_str());
    m_edit->TakeFocus();
}

void CNameMsgWnd::Confirm()
{
    if (m_edit != nullptr) m_name = std::wstring(m_edit->GetTextContent().CStr()).substr(0, kSceneNameChars);
    PostClose(1);
}

void CNameMsgWnd::OnControlClick(TNotifyInfo& notify)
{
    CControlUI* sender = notify.sender;
    if (sender == nullptr) return;
    const CUIString name = sender->GetControlName();
    if (sender == m_closeButton || name.CompareIgnoreCase(L"cancel_btn") == 0) PostClose(0);
    else if (name.CompareIgnoreCase(L"confirm_btn") == 0) Confirm();
    else if (name.CompareIgnoreCase(L"third_btn") == 0) PostClose(2);
}

void CNameMsgWnd::ReceiveNotify(TNotifyInfo& notify)
{
    KeepTypingPastPresses(notify);
    if (notify.type == L"return" && notify.sender != nullptr && notify.sender == m_edit) {
        Confirm();
        return;
    }
    WindowImplBase::ReceiveNotify(notify);
}

LRESULT CNameMsgWnd::HandleKeyDown(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& handled)
{
    handled = false;
    if (m_edit != nullptr) m_edit->TakeFocus();
    return 0;
}

int ShowNameMsgWnd(HWND parent, std::wstring& name)
{
    return static_cast<int>((new CNameMsgWnd(name))->RunModalPopup(parent, L"namemsgwnd"));
}
