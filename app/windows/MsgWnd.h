// The program's own modal message box: every question and notice goes
// through it.
#pragma once

#include "uilib/core/WindowBase.h"

// Results: 1 confirm, 0 cancel or the close button, 2 the third button; a
// WM_CLOSE from outside ends the box with its wParam.
class CMsgWnd : public SkinUI::WindowImplBase {
public:
    static const int kMaxButtons = 3;

    const wchar_t* GetWndClassName() const override { return L"MsgWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_MSG"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;

    // An empty text leaves the layout's.
    void SetMessageTitle(const wchar_t* text);
    void SetMessageText(const wchar_t* text);
    // captions[0] on "confirm_btn"; below two, "cancel_btn" is hidden; from
    // three on, "third_btn" shows captions[2].
    void SetButtonTexts(const wchar_t* const* captions, int count);

private:
    void SetLabelText(const wchar_t* name, const wchar_t* text);

    SkinUI::CControlUI* m_closeButton = nullptr;
};

// Confirm and cancel with the layout's captions.
int ShowMsgBox(HWND parent, const wchar_t* title, const wchar_t* text);
// count buttons (1 to 3) with the captions given.
int ShowMsgBoxEx(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* const* captions, int count);
