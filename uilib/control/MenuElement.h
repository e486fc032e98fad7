#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/ListContainerElement.h"
#include "uilib/control/MenuPlacement.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CMenuWnd;

// One menu row: text, icon, check mark, expand arrow or separator line. Its
// own menu-row children form its sub-menu, shown in a window of their own
// while it is open.
class CMenuElementUI : public CListContainerElementUI {
public:
    CMenuElementUI();
    ~CMenuElementUI() override;


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;
    void PaintItemText(HDC dc, const RECT& rc) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    void CreateSubMenuWindow();
    CMenuWnd* GetSubMenuWindow() const { return m_subMenu; }
    // Called by the sub-menu window as it goes away.
    void OnSubMenuClosed(CMenuWnd* window);

    bool GetChecked() const;
    void SetChecked(bool checked);
    bool IsCheckItem() const { return m_checkItem; }
    void SetCheckItem(bool on) { m_checkItem = on; }
    void SetShowExpandIcon(bool on) { m_showExpandIcon = on; }
    void SetLineColor(DWORD argb) { m_lineColor = argb; }
    void SetLinePadding(int left, int top, int right, int bottom) { m_linePadding = CUIRect(left, top, right, bottom); }
    void SetIconSize(int cx, int cy) { m_iconSize = CUISize(cx, cy); }
    void SetIcon(const wchar_t* text);
    const CUIString& GetIcon() const { return m_icon; }
    void SetLineType();
    bool IsLineType() const { return m_drawLine; }
    uint32_t GetSubMenuAlign() const { return m_subMenuAlign; }
    void SetSubMenuAlign(uint32_t align) { m_subMenuAlign = align; }

    void PaintIcon(HDC dc, const RECT& rc);
    void PaintExpandIcon(HDC dc, const RECT& rc);

private:
    // Makes the sub-rows visible; returns how many there are.
    int ShowSubRows();
    void SelectThisRow();
    // Hover and Right: open the sub-menu, or close sibling sub-menus.
    void EnterRow();
    void ChooseLeaf();
    // Another row of this menu has its sub-menu open.
    bool SiblingSubMenuOpen() const;
    bool PointerOnRow() const;
    HWND RowWindow() const;
    // "dest='l,t,r,b'" of a rectangle relative to the row, unscaled.
    CUIString DestModifier(RECT rc) const;
    // Stores a measured size back as the fixed size, unscaled.
    void StoreMeasuredSize(CUISize size);

    CMenuWnd* m_subMenu;
    bool m_drawLine;
    DWORD m_lineColor;
    CUIRect m_linePadding;
    CUISize m_iconSize;
    CUIString m_icon;
    bool m_checkItem;
    bool m_showExpandIcon;
    uint32_t m_subMenuAlign;
};

// Whether a control is a menu row.
bool IsMenuElement(CControlUI* control);

} // namespace SkinUI
