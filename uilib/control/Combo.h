#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/ListInterfaces.h"
#include "uilib/core/UIString.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

class CComboWnd;

// A drop-down list box. At rest it paints its state image and the selected
// row's text; its children are list rows, shown only in the drop-down window
// while that is open. Keys and the wheel change the selection directly.
class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    static const uint32_t kStateFocused = 0x01;
    static const uint32_t kStateDisabled = 0x04;
    static const uint32_t kStateHot = 0x08;
    static const uint32_t kStatePushed = 0x10;
    static const uint32_t kStateCaptured = 0x40;

    CComboUI();
    ~CComboUI() override;


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    bool ActivateControl() override;
    CUIString GetTextContent() const override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void OffsetBy(int dx, int dy, bool invalidate = true) override;
    void SetEnabledState(bool enabled) override;
    void InitHook() override;
    void HandleEvent(TEventInfo& event) override;
    // Lets go of a press; the pushed look stays while the drop-down is open.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;
    void PaintStateImage(HDC dc) override;
    void PaintForegroundImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;

    // Children keep their row indices and the selected index right.
    bool AddChild(CControlUI* control) override;
    bool InsertChildAt(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;
    bool MoveChildToIndex(CControlUI* control, int index) override;

    // IListOwnerUI.
    uint32_t GetOwnerKind() const override;
    TListItemStyle* GetListStyleInfo() override;
    int GetSelectedIndex() const override;
    bool SelectSingleItem(int index, bool takeFocus = false) override;
    bool AddToSelection(int index, bool takeFocus = false) override;
    bool RemoveFromSelection(int index, bool others) override;
    void HandleItemEvent(TEventInfo& event) override;

    CUISize GetDropBoxSize() const { return m_dropBoxSize; }
    void SetDropBoxSize(int cx, int cy) { m_dropBoxSize = CUISize(cx, cy); }
    CUIRect GetDropBoxInset() const { return m_dropBoxInset; }
    void SetDropBoxInset(int left, int top, int right, int bottom) { m_dropBoxInset = CUIRect(left, top, right, bottom); }
    const CUIString& GetDropBoxAttributes() const { return m_dropBoxAttributes; }
    void SetDropBoxAttributes(const wchar_t* text) { m_dropBoxAttributes = text; }
    bool IsScrollSelect() const { return m_scrollSelect; }
    void SetScrollSelect(bool on) { m_scrollSelect = on; }
    bool IsShowShadow() const { return m_showShadow; }
    void SetShowShadow(bool on);
    void SetShowHtml(bool on);
    void SetItemShowHtml(bool on);
    void SetTextColor(DWORD argb);
    void SetHotTextColor(DWORD argb) { m_hotTextColor = argb; }
    void SetDisabledTextColor(DWORD argb);
    void SetFont(int id);
    void SetTextStyle(UINT style);
    UINT GetTextStyle() const { return m_textStyle; }
    void SetTextPadding(int left, int top, int right, int bottom);
    // Unscaled, as the skin gave it.
    const CUIRect& GetTextPadding() const { return m_textPadding; }
    uint32_t GetButtonState() const { return m_buttonState; }

    // The open drop-down, or null.
    CComboWnd* GetDropDownWindow() const { return m_dropDown; }
    // Closes an open drop-down at once, the rows back in the combo.
    void CloseDropDownNow();
    // Called by the drop-down window as it goes away.
    void OnDropDownClosed();

protected:
    // Brings the focused and disabled bits up to date before painting.
    void RefreshStateBits();

private:
    void SetImage(CUIString& slot, const wchar_t* value);
    void ApplyAlignWords(const wchar_t* value);
    void ApplyVerticalAlignWords(const wchar_t* value);
    void RenumberRows(int from, int to);
    void AdoptMarkedRow(int index);
    // Selects target when one was found; keys and the wheel that find no row
    // keep the selection.
    void SelectFound(int target);
    void OnKeyDown(TEventInfo& event);

    CComboWnd* m_dropDown;
    int m_selected;
    DWORD m_textColor;
    DWORD m_hotTextColor;
    DWORD m_disabledTextColor;
    int m_font;
    UINT m_textStyle;
    CUIRect m_textPadding;
    bool m_showHtml;
    bool m_showShadow;
    CUIString m_dropBoxAttributes;
    CUISize m_dropBoxSize;
    CUIRect m_dropBoxInset;
    uint32_t m_buttonState;
    CUIString m_normalImage;
    CUIString m_hotImage;
    CUIString m_hotForeImage;
    CUIString m_pushedImage;
    CUIString m_focusedImage;
    CUIString m_disabledImage;
    CUIString m_disabledForeImage;
    bool m_scrollSelect;
    TListItemStyle m_style;
};

} // namespace SkinUI
