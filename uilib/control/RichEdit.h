#pragma once

#include <cstdint>
#include <windows.h>

#include <richedit.h>

#include "uilib/control/StateImages.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/UIString.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

class CTxtWinHost;

// Multi-line, optionally rich text entry without a window of its own: the
// system's text services edit and draw, hosted windowless by CTxtWinHost.
// The control routes the window's messages to them as a message filter,
// drives its own scroll bars from their requests and reports "textchanged"
// and "return". Skin tag "RichEdit".
class CRichEditUI : public CContainerUI, public IMessageFilterUI {
public:
    // The caret blink timer of the control.
    static const UINT kCaretTimerId = 20;
    // Context menu commands.
    enum MenuCommand : UINT {
        kMenuUndo = 101,
        kMenuCut = 102,
        kMenuCopy = 103,
        kMenuPaste = 104,
        kMenuClear = 105,
        kMenuSelectAll = 106,
        kMenuRedo = 107,
    };

    CRichEditUI();
    ~CRichEditUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    // The message filter and the caret timer move with the control.
    void AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow = true) override;
    void InitHook() override;
    void HandleEvent(TEventInfo& event) override;
    // The text services hear the mouse taken from them.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;
    void PaintStateImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    // The text takes the disabled colour while the control is disabled.
    void SetEnabledState(bool enabled) override;
    void OffsetBy(int dx, int dy, bool invalidate = true) override;
    CUIString GetTextContent() const override;
    void SetTextContent(const wchar_t* text) override;
    void SetScrollOffset(CUISize offset, bool notify = true) override;
    void ScrollLineUp() override;
    void ScrollLineDown() override;
    void ScrollPageUp() override;
    void ScrollPageDown() override;
    void ScrollToTop() override;
    void ScrollToBottom() override;
    void ScrollLineLeft() override;
    void ScrollLineRight() override;
    void ScrollPageLeft() override;
    void ScrollPageRight() override;
    void ScrollToLeftEnd() override;
    void ScrollToRightEnd() override;

    // Every message to the text services goes through here (Return rule).
    virtual HRESULT TxSendMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual bool OnTxViewChanged();
    virtual void OnTxNotify(DWORD code, void* data);

    LRESULT PreFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    void SetMultiLine(bool on);
    bool IsMultiLine() const { return (m_hostStyle & ES_MULTILINE) != 0; }
    void SetWantTab(bool on) { m_wantTab = on; }
    bool IsWantTab() const { return m_wantTab; }
    void SetWantReturn(bool on) { m_wantReturn = on; }
    bool IsWantReturn() const { return m_wantReturn; }
    void SetWantCtrlReturn(bool on) { m_wantCtrlReturn = on; }
    bool IsWantCtrlReturn() const { return m_wantCtrlReturn; }
    void SetTransparent(bool on);
    bool IsTransparent() const { return m_transparent; }
    void SetRich(bool on);
    bool IsRich() const { return m_rich; }
    bool IsReadOnly() const { return m_readOnly; }
    // Applies the font again, as after a DPI change of the paint manager.
    void SetFont(int index);
    int GetFont() const { return m_font; }
    void SetTextColor(DWORD argb);
    DWORD GetTextColor() const { return m_textColor; }
    void SetLimitText(int limit);
    int GetLimitText() const { return m_limit; }
    void SetTextPadding(const RECT& rc);
    const RECT& GetTextPadding() const { return m_textPadding; }
    void SetNormalImage(const wchar_t* text);
    void SetHotImage(const wchar_t* text);
    void SetFocusedImage(const wchar_t* text);
    void SetDisabledImage(const wchar_t* text);
    void SetTipValue(const wchar_t* text);
    const CUIString& GetTipValue() const { return m_tipValue; }
    void SetTipValueColor(DWORD argb);
    DWORD GetTipValueColor() const { return m_tipValueColor; }
    void SetTipValueAlign(UINT align) { m_tipValueAlign = align; }
    UINT GetTipValueAlign() const { return m_tipValueAlign; }
    DWORD GetHostStyle() const { return m_hostStyle; }
    uint32_t GetButtonState() const { return m_buttonState; }
    CTxtWinHost* GetTxtWinHost() const { return m_host; }

    bool CanUndo() const;
    bool CanRedo() const;
    bool Undo();
    bool Redo();
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    void SetSel(long start, long end);
    void SelectAll();
    void ReplaceSel(const wchar_t* text, bool canUndo);
    WORD GetSelectionType() const;
    long GetTextLength(DWORD flags = GTL_DEFAULT) const;

    // The context menu items greyed now (MF_GRAYED per command), as shown.
    bool IsMenuCommandGrayed(UINT command) const;
    // Carries out a context menu command; false for an unknown one.
    bool RunMenuCommand(UINT command);

private:
    // The host's rectangle for the item less inset, visible bars and padding.
    CUIRect ViewRect() const;
    CUIRect ClientRectOf(const CUIRect& view, bool withPadding) const;
    // The natural text height for the given width, or -1 without a host.
    long NaturalHeight(int width) const;
    bool IsPointInControl(POINT pt);
    // Whether a mouse message is for the text services; mark false: pass it
    // on without ending it.
    bool AcceptsMouseMessage(UINT message, LPARAM lParam, bool& mark);
    void ShowContextMenu(POINT screenPoint);
    void OnCaretTimer();
    void PaintSelfCaret(HDC dc);
    void PaintTipValue(HDC dc);
    void ScrollCommand(UINT message, WPARAM code);

    CTxtWinHost* m_host;
    bool m_vBarFixing;
    bool m_wantTab;
    bool m_wantReturn;
    bool m_wantCtrlReturn;
    bool m_transparent;
    bool m_rich;
    bool m_readOnly;
    DWORD m_textColor;
    int m_font;
    int m_limit;
    DWORD m_hostStyle;
    bool m_drawCaret;
    bool m_initialised;
    RECT m_textPadding;
    uint32_t m_buttonState;
    TStateImages m_images;
    CUIString m_tipValue;
    DWORD m_tipValueColor;
    UINT m_tipValueAlign;
};

} // namespace SkinUI
