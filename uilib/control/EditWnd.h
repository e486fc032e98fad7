#pragma once

#include <windows.h>

#include "uilib/core/UIRect.h"
#include "uilib/core/WindowBase.h"

namespace SkinUI {

class CEditUI;
class CPaintManagerUI;

// The native edit window laid over an edit box while it is edited. It closes
// itself when it loses the focus and deletes itself when its window is gone.
class CEditWnd : public CWindowWnd {
public:
    static constexpr const wchar_t* kClassName = L"EditWnd";

    CEditWnd();
    ~CEditWnd() override;

    const wchar_t* GetWndClassName() const override;
    const wchar_t* GetSuperclassSource() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND window) override;

    // Opens the window for the box; false when it could not be created, and
    // the caller then deletes this object.
    bool Init(CEditUI* owner);
    // Where the window lies, in the paint window's client coordinates;
    // empty when an ancestor is hidden or clips it away.
    CUIRect ComputeEditRect() const;
    // The window's place in the coordinates of its creation style: client
    // coordinates of the paint window, or the screen for a layered window.
    CUIRect PlacementRect() const;
    // The box is going away: the window forgets it and is destroyed now.
    void DetachOwnerAndDestroy();

    // Live native edit windows and background brushes of all boxes.
    static int LiveWindowCount();
    static int LiveBrushCount();

private:
    LRESULT HandleTextChange();
    LRESULT HandleFocusLoss(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleColor(HDC dc);
    void DeleteBrush();
    void Notify(const wchar_t* type);

    CEditUI* m_owner;
    HBRUSH m_brush;
    bool m_initialised;
    // The owner's manager, kept for the close after the owner has gone.
    CPaintManagerUI* m_manager;
    bool m_layered;
};

} // namespace SkinUI
