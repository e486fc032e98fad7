#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/MenuObserver.h"
#include "uilib/control/MenuPlacement.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"

namespace SkinUI {

class CMenuElementUI;
class CMenuUI;

// Posted to the notify manager's window when a leaf row is chosen: wParam a
// TMenuClickInfo that the receiver frees with CPaintManagerUI::FreeBlock,
// lParam the row.
const UINT WM_MENU_ITEM_CLICKED = 0x403;

// Check state of one check row, kept in the check map by row name.
struct TMenuCheckInfo {
    static const int kNameChars = 256;
    wchar_t name[kNameChars];
    bool checked;
};

// The record of a chosen row (zero-filled; texts cut to fit).
struct TMenuClickInfo {
    static const int kNameChars = 256;
    static const int kTextChars = 1024;
    wchar_t name[kNameChars];
    wchar_t userData[kTextChars];
    wchar_t text[kTextChars];
    int32_t checked;
};

// Copies text into a fixed array, cut to fit with its terminator and never
// splitting a surrogate pair.
void CopyTextCut(wchar_t* destination, int capacity, const wchar_t* text);

// One level of a popup menu. A top-level menu builds its rows from a skin
// layout; a sub-menu shows the child rows of one row of its parent. The
// object is made with new and deletes itself when its window goes; holders
// keep only a weak pointer (SetWeakHolder) and close it with CloseMenu.
class CMenuWnd : public CWindowWnd, public MenuReceiverImpl, public INotifyUI, public IDialogBuilderCallback {
public:
    CMenuWnd();
    ~CMenuWnd() override;

    // Opens the menu. False when no window could be made (no notify manager
    // for a top-level menu, a layout that does not build into a menu); the
    // object has then deleted itself.
    bool Init(CMenuElementUI* owner, const wchar_t* skinSource, POINT point, CPaintManagerUI* notifyManager,
              CUIStringMap* checkMap = nullptr, uint32_t align = MenuAlignLeft | MenuAlignTop);
    // The root of the menu's tree, or null.
    CMenuUI* GetMenuRoot() const;
    void ResizeMenu();
    void ResizeSubMenu();
    void CloseMenu(UINT result);
    bool IsClosing() const { return m_closing; }
    // The holder's pointer is set to null when this menu goes away.
    void SetWeakHolder(CMenuWnd** holder) { m_holder = holder; }
    CMenuElementUI* GetOwnerRow() const { return m_owner; }
    CPaintManagerUI& PaintManager() { return m_pm; }

    static MenuObserverImpl& GetMenuObserver();
    // The check map's record for name after setting it; null for an empty
    // name or without a check map.
    static TMenuCheckInfo* SetMenuCheckInfo(const wchar_t* name, bool checked);
    // Deletes every record of the check map; the map itself stays.
    static void ClearMenuCheckInfo();
    // The owner of a check map calls this before freeing it, so no menu
    // reaches the map afterwards.
    static void ForgetCheckMap(const CUIStringMap* checkMap);

    const wchar_t* GetWndClassName() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND window) override;
    bool ReceiveBroadcast(const TMenuBroadcastInfo& info) override;
    CMenuWnd* AsMenuWindow() override;
    void ReceiveNotify(TNotifyInfo& notify) override;
    CControlUI* CreateCustomControl(const wchar_t* className) override;

private:
    void BuildSubMenu();
    bool BuildTopLevel();
    void FinishBuild(bool shadowShown);
    // Gives a sub-menu's rows back to the parent row; runs once.
    void ReturnRows();
    void ApplyRoundRegion();
    // Whether window belongs to an open menu.
    bool IsMenuWindow(HWND window) const;

    bool m_closing;
    POINT m_basePoint;
    const wchar_t* m_skinSource;
    CPaintManagerUI m_pm;
    CMenuElementUI* m_owner;
    CMenuUI* m_layout;
    uint32_t m_align;
    CPaintManagerUI* m_notifyManager;
    bool m_buildFailed;
    bool m_rowsReturned;
    // While the window is being made, a failed creation's final message
    // leaves the deletion to Init, so the object is deleted once.
    bool m_creating;
    CMenuWnd** m_holder;
};

} // namespace SkinUI
