#pragma once

#include <windows.h>

#include "uilib/core/WindowBase.h"

namespace SkinUI {

class CActiveXCtrl;

// The child window a windowed hosted object lives in; owned by its site.
class CActiveXWnd : public CWindowWnd {
public:
    static const UINT kCaretTimerId = 0x41;

    explicit CActiveXWnd(CActiveXCtrl* site);

    // A child of the owner's window at its origin, size 0; null on failure.
    HWND Init(HWND parent);

    const wchar_t* GetWndClassName() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND window) override;

    bool IsCaretVisible() const { return m_caretVisible; }

private:
    bool IsLayered() const;
    void PrintClient(HDC dc);

    CActiveXCtrl* m_site;
    int m_caretTicks;
    bool m_caretVisible;
};

} // namespace SkinUI
