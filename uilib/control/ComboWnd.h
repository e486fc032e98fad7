#pragma once

#include <windows.h>

#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"

namespace SkinUI {

class CComboUI;
class CVerticalLayoutUI;

// The drop-down of a combo box: a pop-up window with its own paint manager
// whose root layout shows the combo's rows while it is open. It closes on
// a row click, Return, Escape or losing the focus, hands the rows back and
// deletes itself.
class CComboWnd : public CWindowWnd, public INotifyUI {
public:
    CComboWnd();
    ~CComboWnd() override;

    // Places and shows the window under (or above) the owner; false when no
    // window could be made, in which case the object has deleted itself.
    bool Init(CComboUI* owner);
    // Destroys the window now, with the rows returned. The object is gone
    // when this returns, or, when called from inside its own message
    // handling (an "itemselect" handler that empties the combo), as soon as
    // that handling has returned.
    void CloseNow();

    const wchar_t* GetWndClassName() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND window) override;
    void ReceiveNotify(TNotifyInfo& notify) override;

    void EnsureVisible(int index);
    void ScrollBy(int dx, int dy);
    bool IsHitItem(POINT pt);

    CPaintManagerUI& PaintManager() { return m_pm; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildDropDown();
    // Gives the rows back to the combo's tree; runs once.
    void ReturnRows();
    POINT CursorInClient() const;
    void OnKeyDown(WPARAM key);
    void OnWheel(WPARAM wParam, LPARAM lParam);

    CPaintManagerUI m_pm;
    CComboUI* m_owner;
    CVerticalLayoutUI* m_layout;
    int m_oldSelection;
    bool m_hitItem;
    bool m_rowsReturned;
    // Nesting of ProcessMessage calls, and whether the window went away
    // while one ran: the object is deleted when the outermost returns.
    int m_depth;
    bool m_deletePending;
};

} // namespace SkinUI
