// The modal "please wait" window the main window shows while a worker reads
// or writes the unit. It deletes itself when its window goes and clears the
// holder's pointer then, so the holder never keeps a dead window.
#pragma once

#include "uilib/core/WindowBase.h"

class CLoadingWnd : public SkinUI::WindowImplBase {
public:
    explicit CLoadingWnd(CLoadingWnd** holder) : m_holder(holder) {}

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
};

// Closes the open loading window of holder (result 1), if any, and forgets it.
void CloseLoadingWnd(CLoadingWnd** holder);
// Opens a fresh loading window over owner, kept in holder, and runs it
// modally; returns when it closes.
void RunLoadingWnd(HWND owner, CLoadingWnd** holder);
