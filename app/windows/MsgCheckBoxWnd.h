// A question with two check boxes; the result says which box was ticked.
#pragma once

#include "uilib/core/WindowBase.h"

class CMsgCheckBoxWnd : public SkinUI::WindowImplBase {
public:
    // The texts are put in while the window is built, so they need only
    // last as long as the call that opens it. An empty title or text leaves
    // the layout's; the boxes' texts are taken only when both are given.
    CMsgCheckBoxWnd(const wchar_t* title, const wchar_t* text, const wchar_t* first, const wchar_t* second)
        : m_title(title), m_text(text), m_first(first), m_second(second)
    {
    }

    const wchar_t* GetWndClassName() const override { return L"MsgCheckBoxWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_CHECKBOX_MSG"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;

private:
    bool IsTicked(const wchar_t* name);
    void SetMessageTitle(const wchar_t* text);
    void SetMessageText(const wchar_t* text);
    void SetCheckBoxTexts(const wchar_t* first, const wchar_t* second);

    const wchar_t* m_title;
    const wchar_t* m_text;
    const wchar_t* m_first;
    const wchar_t* m_second;

    SkinUI::CControlUI* m_closeButton = nullptr;
};

// A choice between two ways of overwriting settings the unit holds: it opens
// with the focus on cancel, as every destructive question. 0 cancelled or
// closed, 1 the first box ticked, 2 the second; confirm with neither ticked
// leaves the question open.
int AskDestructiveChoice(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* first,
                         const wchar_t* second);
