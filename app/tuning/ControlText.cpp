#include "app/tuning/ControlText.h"

#include <cwchar>

#include "uilib/control/Edit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"

using SkinUI::CUIString;

CUIString NumberText(const wchar_t* format, double value, int precision)
{
    wchar_t text[32];
    if (precision >= 0)
        _snwprintf(text, 31, format, precision, value);
    else
        _snwprintf(text, 31, format, value);
    text[31] = L'\0';
    return CUIString(text);
}

CUIString IntegerText(const wchar_t* format, int value)
{
    wchar_t text[32];
    _snwprintf(text, 31, format, value);
    text[31] = L'\0';
    return CUIString(text);
}

void SetText(SkinUI::CControlUI* control, const wchar_t* format, double value, int precision)
{
    if (control != nullptr) control->SetTextContent(NumberText(format, value, precision));
}

void SetIntText(SkinUI::CControlUI* control, const wchar_t* format, int value)
{
    if (control != nullptr) control->SetTextContent(IntegerText(format, value));
}

bool IsTyped(const SkinUI::CControlUI* box, const wchar_t* written)
{
    if (box == nullptr) return false;
    return box->GetTextContent() != SkinUI::CResourceStore::GetInstance()->LookupText(written);
}

void KeepTypingPastPresses(const SkinUI::TNotifyInfo& notify)
{
    static const wchar_t* const kConfirmingNothing[] = {L"cancel_btn", L"btnConnect"};
    if (notify.type != L"windowinit" || notify.sender == nullptr) return;
    SkinUI::CPaintManagerUI* manager = notify.sender->GetPaintManager();
    if (manager == nullptr) return;
    for (const wchar_t* name : kConfirmingNothing) {
        if (SkinUI::CControlUI* button = manager->FindControlByName(name)) button->SetFocusOnPress(false);
    }
}

void DropTyping(SkinUI::CPaintManagerUI* manager)
{
    if (SkinUI::CEditUI* box = SkinUI::CEditUI::FocusedTyping(manager)) box->DropTyping();
}

TypingKept::TypingKept(SkinUI::CPaintManagerUI* manager)
{
    SkinUI::CEditUI* box = SkinUI::CEditUI::FocusedTyping(manager);
    if (box == nullptr) return;
    m_box = box;
    m_typed = box->GetTextContent();
    const HWND native = box->GetNativeWindow();
    if (native != nullptr)
        SendMessageW(native, EM_GETSEL, reinterpret_cast<WPARAM>(&m_selStart), reinterpret_cast<LPARAM>(&m_selEnd));
}

TypingKept::~TypingKept()
{
    if (m_box == nullptr || m_box->GetTextContent() == m_typed) return;
    m_box->RestoreTyping(m_typed);
    const HWND native = m_box->GetNativeWindow();
    if (native != nullptr) SendMessageW(native, EM_SETSEL, m_selStart, m_selEnd);
}
