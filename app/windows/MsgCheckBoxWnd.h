// A question with two check boxes; the result says which box was ticked.
#pragma once

#include "uilib/core/WindowBase.h"

class CMsgCheckBoxWnd : public SkinUI::WindowImplBase {
public:
    const wchar_t* GetWndClassName() const override { return L"MsgCheckBoxWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_CHECKBOX_MSG"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;

    // An empty text leaves the layout's.
    void SetMessageTitle(const wchar_t* text);
    void SetMessageText(const wchar_t* text);
    // Only when both texts are given; otherwise both boxes keep the layout's.
    void SetCheckBoxTexts(const wchar_t* first, const wchar_t* second);

private:
    bool IsTicked(const wchar_t* name);

    SkinUI::CControlUI* m_closeButton = nullptr;
};

// 0 cancelled or closed, 1 the first box ticked, 2 the second; confirm with
// neither ticked leaves the question open.
int ShowMsgCheckBox(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* first,
                    const wchar_t* second);
