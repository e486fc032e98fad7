#pragma once

#include <windows.h>

#include "uilib/control/Label.h"
#include "uilib/control/StateImages.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CEditWnd;

// Single-line text entry. At rest it paints like a label (state image, then
// the text, or the tip text when empty); while edited a native edit window
// lies over its text area. Reports "textchanged" and "return", and turns the
// arrow keys and the wheel into "valuechangedup", "valuechangeddown",
// "valuechangedleft" and "valuechangedright".
class CEditUI : public CLabelUI {
public:
    // Button state bits of the box.
    static const uint32_t kStateFocused = 0x01;
    static const uint32_t kStateDisabled = 0x04;
    static const uint32_t kStateHot = 0x08;

    CEditUI();
    // Closes an open native window first.
    ~CEditUI() override;

    static CControlUI* CreateControlInstance();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void SetTextContent(const wchar_t* text) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void OffsetBy(int dx, int dy, bool invalidate = true) override;
    void SetEnabledState(bool enabled) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    void PaintStateImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;

    void SetReadOnly(bool on);
    bool IsReadOnly() const { return m_readOnly; }
    // Takes effect at the next opening of the native window.
    void SetNumberOnly(bool on);
    bool IsNumberOnly() const { return (m_nativeStyle & ES_NUMBER) != 0; }
    void SetAutoSelectAll(bool on) { m_autoSelectAll = on; }
    bool IsAutoSelectAll() const { return m_autoSelectAll; }
    void SetPasswordMode(bool on);
    bool IsPasswordMode() const { return m_passwordMode; }
    void SetPasswordChar(wchar_t ch);
    wchar_t GetPasswordChar() const { return m_passwordChar; }
    void SetMaxChar(uint32_t count);
    uint32_t GetMaxChar() const { return m_maxChar; }
    void SetNormalImage(const wchar_t* text);
    void SetHotImage(const wchar_t* text);
    void SetFocusedImage(const wchar_t* text);
    void SetDisabledImage(const wchar_t* text);
    const CUIString& GetNormalImage() const { return m_images.normal; }
    const CUIString& GetHotImage() const { return m_images.hot; }
    const CUIString& GetFocusedImage() const { return m_images.focused; }
    const CUIString& GetDisabledImage() const { return m_images.disabled; }
    void SetTipValue(const wchar_t* text) { m_tipValue = text; }
    // The tip text, resolved when it is a language key.
    CUIString GetTipValue() const;
    void SetTipValueColor(const wchar_t* text);
    DWORD GetTipValueColor() const { return m_tipValueColor; }
    void SetNativeTextColor(const wchar_t* text);
    DWORD GetNativeTextColor() const { return m_nativeTextColor; }
    void SetNativeBkColor(DWORD argb) { m_nativeBkColor = argb; }
    DWORD GetNativeBkColor() const { return m_nativeBkColor; }
    DWORD GetNativeStyleBits() const { return m_nativeStyle; }
    uint32_t GetEditState() const { return m_editState; }

    // Whether the box holds typing the program has not written over, its
    // own window open or not (closed while the program was left).
    bool HoldsTyping() const { return m_text != m_shownText; }
    // Puts typing back over the program's last text, which Escape still brings.
    void RestoreTyping(const wchar_t* typed);
    // Puts the program's last text back over any typing, as Escape does.
    void DropTyping();
    // The focused box of manager when it holds typing, else null.
    static CEditUI* FocusedTyping(const CPaintManagerUI* manager);
    // Whether the keyboard is in a box's own window, of any window of the
    // thread: the next keys, Enter among them, are meant for that box.
    static bool KeyboardInBox();

    void SetSelection(int start, int end);
    void SelectAll();

    // The open native window, or null.
    HWND GetNativeWindow() const;

protected:
    void VisibilityChanged(bool wasVisible, bool own) override;

private:
    friend class CEditWnd;

    // Opens the native window; false (and still closed) when it cannot be made.
    bool OpenNativeWindow();
    void SendEditNotify(const wchar_t* type);
    void CloseIfHidden();

    CEditWnd* m_window;
    uint32_t m_maxChar;
    bool m_readOnly;
    bool m_passwordMode;
    bool m_autoSelectAll;
    wchar_t m_passwordChar;
    uint32_t m_editState;
    TStateImages m_images;
    CUIString m_tipValue;
    DWORD m_tipValueColor;
    DWORD m_nativeBkColor;
    DWORD m_nativeTextColor;
    DWORD m_nativeStyle;
    bool m_destroying;
    // What the program last wrote; Escape puts it back.
    CUIString m_shownText;
};

} // namespace SkinUI
