// The scene name entry: one edit with the old name, Enter or confirm keeps
// what was typed. A name holds at most kSceneNameChars characters.
#pragma once

#include <string>

#include "uilib/core/WindowBase.h"

class CNameMsgWnd : public SkinUI::WindowImplBase {
public:
    // name is both the initial text and, on confirm, the result.
    explicit CNameMsgWnd(std::wstring& name) : m_name(name) {}

    const wchar_t* GetWndClassName() const override { return L"NameMsgWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_MSG_NAME"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    LRESULT HandleKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    // Keeps the edit's text, cut to a slot's length, and closes with 1.
    void Confirm();

    std::wstring& m_name;
    SkinUI::CControlUI* m_closeButton = nullptr;
    SkinUI::CControlUI* m_edit = nullptr;
};

// Runs the name entry over parent with the edit focused: 1 confirmed (name
// holds the entry), 0 cancelled or closed, 2 the third button.
int ShowNameMsgWnd(HWND parent, std::wstring& name);
