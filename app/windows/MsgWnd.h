// The program's own modal message box: every question and notice goes
// through it.
#pragma once

#include "uilib/core/WindowBase.h"

// Results: 1 confirm, 0 cancel or the close button, 2 the third button; a
// WM_CLOSE from outside ends the box with its wParam.
class CMsgWnd : public SkinUI::WindowImplBase {
public:
    static const int kMaxButtons = 3;

    // The texts are put in while the window is built, so they need only
    // last as long as the call that opens it. An empty title or text leaves
    // the layout's; captions[0] goes on "confirm_btn", below two buttons
    // "cancel_btn" is hidden, from three on "third_btn" shows captions[2].
    // destructive: the focus starts on "cancel_btn" instead of "confirm_btn".
    // overTyping: it opens while the installer types into a box, so the next
    // Enter, which ends that typing, does not answer it unread.
    CMsgWnd(const wchar_t* title, const wchar_t* text, const wchar_t* const* captions, int count, bool destructive,
            bool overTyping = false)
        : m_title(title), m_text(text), m_captions(captions), m_count(count), m_destructive(destructive),
          m_enterForTheBox(overTyping)
    {
    }

    const wchar_t* GetWndClassName() const override { return L"MsgWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_MSG"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;
    LRESULT HandleKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    bool IsNotice() const { return m_count == 1; }
    // A notice a plug event ends: it spoke of the link that event replaced.
    bool IsLinkNotice() const;

private:
    void SetLabelText(const wchar_t* name, const wchar_t* text);
    void SetButtonTexts();

    const wchar_t* m_title;
    const wchar_t* m_text;
    const wchar_t* const* m_captions;
    int m_count;
    bool m_destructive;
    bool m_enterForTheBox;
    SkinUI::CControlUI* m_closeButton = nullptr;
};

// Confirm and cancel with the layout's captions.
int ShowMsgBox(HWND parent, const wchar_t* title, const wchar_t* text);
// count buttons (1 to 3) with the captions given.
int ShowMsgBoxEx(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* const* captions, int count);
// A destructive question (its confirm erases settings the unit holds) opens
// with the focus on cancel, so a stray Enter or Space answers no. Captions
// as ShowMsgBoxEx; none: the layout's confirm and cancel.
int AskDestructive(HWND parent, const wchar_t* title, const wchar_t* text, const wchar_t* const* captions = nullptr,
                   int count = 0);

// A notice with the one confirm button. The link's own notices (the unit
// left, the connect failed) end at the next plug event; every other notice,
// a job's outcome among them, stays until the installer answers it.
// overTyping: it opens in the middle of the installer's typing.
int ShowNotice(HWND parent, const wchar_t* text, bool overTyping = false);
// An arrival ends this thread's open link notices; a removal ends every
// other window named "msgwnd" but the notices that stay until answered. A
// removal leaves the link notices: its broadcast can come after the link's
// failed reads were taken and told, and the notice then tells of it.
void CloseNoticesOnPlug(bool removal);
