// The modal "please wait" window the main window shows while a worker reads
// or writes the unit. It deletes itself when its window goes and clears the
// holder's pointer then, so the holder never keeps a dead window.
#pragma once

#include "uilib/core/WindowBase.h"

class CLoadingWnd : public SkinUI::WindowImplBase {
public:
    CLoadingWnd(CLoadingWnd** holder, WPARAM token) : m_holder(holder), m_token(token) {}
    WPARAM Token() const { return m_token; }

    const wchar_t* GetWndClassName() const override { return L"LoadingWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_LOADING"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;
    // Its job holds the link until it ends: the window goes only with its
    // end, and the window beneath stays disabled until then.
    bool RefusesOutsideClose() const override { return true; }

private:
    CLoadingWnd** m_holder;
    WPARAM m_token;  // the job it shows
};

// Closes the open loading window of holder (result 1) when it shows the
// job of token, and forgets it: a job's end never closes another's.
void CloseLoadingWnd(CLoadingWnd** holder, WPARAM token);
// Opens a fresh loading window for the job of token over owner, kept in
// holder in place of any before it, and runs it modally; returns when it closes.
void RunLoadingWnd(HWND owner, CLoadingWnd** holder, WPARAM token);
