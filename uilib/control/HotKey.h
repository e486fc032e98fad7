#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/StateImages.h"
#include "uilib/control/OverlayLabel.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CHotKeyWnd;

// Lets the user type a keyboard shortcut. At rest a label showing the
// shortcut's name ("Ctrl + Shift + A"); while focused the system hot key
// control lies over its text area and takes the keys. Reports "textchanged"
// when the key changes and "return" on Return.
class CHotKeyUI : public COverlayLabelUI {
public:
    static const uint32_t kStateFocused = 0x01;
    static const uint32_t kStateDisabled = 0x04;
    // Modifier bits as the system control reports them.
    static const uint16_t kModShift = 0x01;
    static const uint16_t kModControl = 0x02;
    static const uint16_t kModAlt = 0x04;
    static const uint16_t kModExtended = 0x08;

    CHotKeyUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void SetTextContent(const wchar_t* text) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void SetEnabledState(bool enabled) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    void PaintStateImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;

    void SetHotKey(uint16_t key, uint16_t modifiers);
    uint16_t GetKey() const { return m_key; }
    uint16_t GetModifiers() const { return m_modifiers; }
    DWORD GetNativeBkColor() const { return m_nativeBkColor; }
    uint32_t GetButtonState() const { return m_overlayState; }
    CHotKeyWnd* GetEditor() const;
    // Where the native control lies: the text area, narrowed to the font.
    CUIRect NativeRect() const;

    // "Ctrl + Shift + A": the modifiers' names (Control, Shift, Alt), then
    // the key's, from the current keyboard layout; empty for no key.
    static CUIString ComposeHotKeyName(uint16_t key, uint16_t modifiers);
    // The keyboard's name of one virtual key.
    static CUIString KeyName(uint16_t key);

protected:
    void VisibilityChanged(bool wasVisible, bool own) override;
    COverlayWnd* CreateOverlay() override;

private:
    void DropFocusWhenHidden();

    TStateImages m_images;
    DWORD m_nativeBkColor;
    uint16_t m_key;
    uint16_t m_modifiers;
};

} // namespace SkinUI
