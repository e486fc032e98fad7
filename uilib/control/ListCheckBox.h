#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIRect.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CControlUI;
struct TEventInfo;

// The check box that extended-list header items and rows draw at their left
// edge: its state bits, checked flag, seven images and size, the mouse rules
// that toggle it and the painting that picks its image.
class CListCheckBox {
public:
    static const uint32_t kStateFocused = 0x01;
    static const uint32_t kStateSelected = 0x02;
    static const uint32_t kStateDisabled = 0x04;
    static const uint32_t kStateHot = 0x08;
    static const uint32_t kStatePushed = 0x10;
    static const uint32_t kStateCaptured = 0x40;
    // The box's distance from the item's left edge.
    static const int kLeftMargin = 6;

    // What an event did to the box.
    enum EventResult { kIgnored = 0, kChanged = 1, kToggled = 2 };

    CListCheckBox();

    // True when the attribute was one of the box's.
    bool ApplyAttribute(const wchar_t* name, const wchar_t* value);
    // Left + 6, vertically centred in the item, in the owner's device
    // pixels (the margin and the size are skin pixels).
    CUIRect BoxRect(const CControlUI& owner, const RECT& item) const;
    // Press, drag, release, enter and leave over the box. A release inside
    // the box after a press on it inverts the checked state (kToggled).
    EventResult HandleEvent(const CControlUI& owner, const TEventInfo& event, const RECT& item);
    // Lets go of a press on the box without toggling it; true when it held one.
    bool EndPress();
    // True when the state changed.
    bool SetChecked(bool checked);
    bool IsChecked() const { return m_checked; }
    uint32_t GetState() const { return m_state; }
    // Skin pixels.
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // Draws the image of the box's state at the box rectangle of the item.
    void Paint(CControlUI& owner, HDC dc, const RECT& item);

private:
    bool DrawAt(CControlUI& owner, HDC dc, const RECT& item, const CUIString& image) const;

    uint32_t m_state;
    bool m_checked;
    CUIString m_normalImage;
    CUIString m_hotImage;
    CUIString m_pushedImage;
    CUIString m_focusedImage;
    CUIString m_disabledImage;
    CUIString m_selectedImage;
    CUIString m_foreImage;
    int m_width;
    int m_height;
};

} // namespace SkinUI
