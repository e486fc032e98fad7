#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIDelegate.h"
#include "uilib/core/UIPoint.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UISize.h"
#include "uilib/core/UIString.h"
#include "uilib/core/UIStringMap.h"

namespace SkinUI {

class CPaintManagerUI;
class CControlUI;

// Input event numbers; mouse events are the range UIEVENT_MOUSE_FIRST..LAST.
enum UIEventType : int32_t {
    UIEVENT_KEYDOWN = 3,
    UIEVENT_KEYUP = 4,
    UIEVENT_CHAR = 5,
    UIEVENT_SYSKEY = 6,
    UIEVENT_MOUSEMOVE = 9,
    UIEVENT_MOUSELEAVE = 10,
    UIEVENT_MOUSEENTER = 11,
    UIEVENT_MOUSEHOVER = 12,
    UIEVENT_BUTTONDOWN = 13,
    UIEVENT_BUTTONUP = 14,
    UIEVENT_RBUTTONDOWN = 15,
    UIEVENT_RBUTTONUP = 16,
    UIEVENT_MBUTTONDOWN = 17,
    UIEVENT_MBUTTONUP = 18,
    UIEVENT_DBLCLICK = 19,
    UIEVENT_CONTEXTMENU = 20,
    UIEVENT_SCROLLWHEEL = 21,
    UIEVENT_KILLFOCUS = 23,
    UIEVENT_SETFOCUS = 24,
    UIEVENT_WINDOWSIZE = 25,
    UIEVENT_SETCURSOR = 26,
    UIEVENT_TIMER = 27,

    UIEVENT_MOUSE_FIRST = UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSE_LAST = UIEVENT_SCROLLWHEEL,
};

// One input event, built by the paint manager from a window message.
struct TEventInfo {
    int32_t type = 0;
    CControlUI* sender = nullptr;
    uint32_t timestamp = 0;
    POINT point = {0, 0};
    uint16_t keyChar = 0;
    uint16_t keyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

inline bool IsMouseEventType(int32_t type)
{
    return type >= UIEVENT_MOUSE_FIRST && type <= UIEVENT_MOUSE_LAST;
}

// Tree searches: the predicate returns the control that ends the search, or null.
typedef CControlUI* (*UIFindPredicate)(CControlUI* control, void* data);

enum UIFindFlags : uint32_t {
    UIFIND_ALL = 0x0,
    UIFIND_VISIBLE = 0x1,
    UIFIND_ENABLED = 0x2,
    UIFIND_HITTEST = 0x4,
    UIFIND_UPDATETEST = 0x8,
    UIFIND_TOP_FIRST = 0x10,
    UIFIND_ME_FIRST = 0x80000000u,
};

// Behaviour flags answered by GetBehaviorFlags.
enum UIBehaviorFlags : uint32_t {
    UIFLAG_TABSTOP = 0x1,
    UIFLAG_SETCURSOR = 0x2,
    // Return reaches the control (list rows).
    UIFLAG_WANTRETURN = 0x4,
    // Tab reaches the control instead of moving the focus.
    UIFLAG_WANTTAB = 0x8,
};

// Bits of the "floatalign" attribute; 0 is left and top.
enum UIFloatAlign : uint32_t {
    UIFLOAT_CENTER = 0x1,
    UIFLOAT_RIGHT = 0x2,
    UIFLOAT_VCENTER = 0x4,
    UIFLOAT_BOTTOM = 0x8,
};

// Fractions of the parent's size that place a floating control.
struct TFloatAnchors {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Base of every control and container.
class CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual ~CControlUI();

    // Controls alive in the process: a closed window returns it to where it was.
    static int LiveCount();

    virtual CUIString GetControlName() const;
    virtual void SetControlName(const wchar_t* name);

    virtual const wchar_t* GetTypeName() const;
    virtual void* FindInterface(const wchar_t* name);

    virtual uint32_t GetBehaviorFlags() const;
    virtual bool ActivateControl();

    virtual CPaintManagerUI* GetPaintManager() const;
    virtual void AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow = true);
    virtual CControlUI* GetParentControl() const;

    virtual CUIString GetTextContent() const;
    virtual void SetTextContent(const wchar_t* text);

    virtual bool UsesResourceText() const;
    virtual void SetUsesResourceText(bool on);
    virtual bool AllowsDrag() const;
    virtual void SetAllowsDrag(bool on);
    virtual bool AcceptsDrop() const;
    virtual void SetAcceptsDrop(bool on);

    virtual CUIRect GetRelativePosition() const;
    virtual CUIRect GetContentArea() const;
    virtual const CUIRect& GetPosition() const;
    virtual void SetPosition(const RECT& rc, bool invalidate = true);
    virtual void OffsetBy(int dx, int dy, bool invalidate = true);

    virtual int GetCurrentWidth() const;
    virtual int GetCurrentHeight() const;
    virtual int GetCurrentLeft() const;
    virtual int GetCurrentTop() const;

    // Sizes, paddings and origins are set in 100 % pixels, as the skin writes
    // them, by the skin and the application alike; the GetScaled getters
    // apply the window's DPI, once. A caller never scales before setting.
    virtual CUIRect GetScaledPadding() const;
    virtual void SetPaddingRect(int left, int top, int right, int bottom);
    virtual CUISize GetFixedOrigin() const;
    virtual void SetFixedOrigin(int x, int y);
    virtual int GetScaledFixedWidth() const;
    virtual void SetFixedWidthValue(int width);
    virtual int GetScaledFixedHeight() const;
    virtual void SetFixedHeightValue(int height);
    virtual int GetScaledMinWidth() const;
    virtual void SetMinWidthValue(int width);
    virtual int GetScaledMaxWidth() const;
    virtual void SetMaxWidthValue(int width);
    virtual int GetScaledMinHeight() const;
    virtual void SetMinHeightValue(int height);
    virtual int GetScaledMaxHeight() const;
    virtual void SetMaxHeightValue(int height);

    virtual TFloatAnchors GetFloatAnchors() const;
    virtual void SetFloatAnchors(double left, double top, double right, double bottom);
    virtual void SetFloatAlignment(uint32_t bits);
    virtual uint32_t GetFloatAlignment() const;

    virtual CUIString GetToolTipText() const;
    virtual void SetToolTipText(const wchar_t* text);
    virtual void SetTipMaxWidth(int width);
    virtual int GetTipMaxWidth() const;

    virtual uint16_t GetCursorId() const;
    virtual void SetCursorId(uint16_t id);
    virtual wchar_t GetShortcutKey() const;
    virtual void SetShortcutKey(wchar_t ch);
    virtual bool IsMenuEnabled() const;
    virtual void SetMenuEnabled(bool on);
    virtual CUIString GetUserDataText() const;
    virtual void SetUserDataText(const wchar_t* text);
    virtual uintptr_t GetUserTag() const;
    virtual void SetUserTag(uintptr_t tag);

    virtual bool GetVisibility() const;
    // Not virtual, so that no class can skip the rule: a hide gives up the
    // focus and any press held here or inside, then the class hears of the
    // change in VisibilityChanged.
    void SetVisibility(bool visible);
    void SetInheritedVisibility(bool visible);

    virtual bool GetEnabledState() const;
    virtual void SetEnabledState(bool enabled);

    virtual bool AcceptsMouse() const;
    virtual void SetAcceptsMouse(bool on);
    virtual bool AcceptsKeyboard() const;
    virtual void SetAcceptsKeyboard(bool on);

    virtual bool HasFocus() const;
    virtual void TakeFocus();
    // Whether a left, right or middle press gives this control the focus. One
    // that takes no keys never needs it; one set off (a button that confirms
    // nothing) leaves the focus, and a box's typing, where they were until
    // it is clicked.
    bool TakesFocusOnPress() const;
    void SetFocusOnPress(bool on);

    // The manager gives up a press it routed here when no button-up of its
    // own will come: another window took the mouse or the keyboard, another
    // button was pressed, a context menu opened, the window closes, a move
    // came with no button down, or this control or a parent was disabled,
    // hidden or taken out of its container. It calls this once, in place of
    // the button-up, and the control hears nothing of that press after it;
    // no focus changes. Every control that keeps a pushed, captured or
    // dragging state from its button-down clears it here, and on its
    // button-up.
    virtual void EndPress();

    virtual bool IsFloating() const;
    virtual void SetFloating(bool on);

    virtual CControlUI* FindInTree(UIFindPredicate predicate, void* data, uint32_t flags);

    virtual void Initialize();
    virtual void InitHook();

    virtual void RaiseEvent(TEventInfo& event);
    virtual void HandleEvent(TEventInfo& event);

    virtual void ApplyAttribute(const wchar_t* name, const wchar_t* value);

    virtual CUISize MeasureDesiredSize(CUISize available);

    virtual bool PaintArea(HDC dc, const RECT& paintArea, CControlUI* stopControl);
    virtual bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl);
    virtual void PaintBackgroundColor(HDC dc);
    virtual void PaintBackgroundImage(HDC dc);
    virtual void PaintStateImage(HDC dc);
    virtual void PaintForegroundColor(HDC dc);
    virtual void PaintForegroundImage(HDC dc);
    virtual void PaintTextLayer(HDC dc);
    virtual void PaintBorderLines(HDC dc);
    virtual void PaintAfterTree(HDC dc, const RECT& paintArea);

    // Attribute lists: name="value" pairs separated by one blank.
    void ApplyAttributeList(const wchar_t* text);

    void RequestRepaint();
    void RequestRelayout();
    void RequestParentRelayout();

    void SetBackgroundColor(DWORD argb);
    void SetBackgroundColor2(DWORD argb);
    void SetBackgroundColor3(DWORD argb);
    void SetForegroundColor(DWORD argb);
    void SetBorderLineColor(DWORD argb);
    void SetFocusBorderColor(DWORD argb);
    void SetColorHslEnabled(bool on);
    void SetBorderLineWidth(int width);
    DWORD GetBackgroundColor() const { return m_backColor1; }
    DWORD GetBackgroundColor2() const { return m_backColor2; }
    DWORD GetBackgroundColor3() const { return m_backColor3; }
    DWORD GetForegroundColor() const { return m_foreColor; }
    DWORD GetBorderLineColor() const { return m_borderColor; }
    DWORD GetFocusBorderColor() const { return m_focusBorderColor; }
    bool IsColorHslEnabled() const { return m_colorHsl; }
    int GetBorderLineWidth() const { return m_borderWidth; }

    void SetBorderRound(int cx, int cy);
    void SetBorderStyle(int style);
    void SetBorderSideWidths(int left, int top, int right, int bottom);
    void SetLeftBorderWidth(int width);
    void SetTopBorderWidth(int width);
    void SetRightBorderWidth(int width);
    void SetBottomBorderWidth(int width);
    CUISize GetBorderRound() const { return m_borderRound; }
    int GetBorderStyle() const { return m_borderStyle; }
    CUIRect GetBorderSideWidths() const { return m_sideBorders; }

    void SetBackgroundImage(const wchar_t* text);
    CUIString GetBackgroundImage() const { return m_backImage; }
    void SetForegroundImage(const wchar_t* text);
    CUIString GetForegroundImage() const { return m_foreImage; }
    void SetGradientDirection(const wchar_t* text);
    CUIString GetGradientDirection() const { return m_gradient; }

    int GetScaledBorderLineWidth() const;

    void SetVirtualWindowName(const wchar_t* name);
    CUIString GetVirtualWindowName() const;

    bool IsLayoutNeeded() const { return m_needsLayout; }

    void AddCustomAttribute(const wchar_t* name, const wchar_t* value);
    // The stored value, or null when no such custom attribute exists.
    const wchar_t* FindCustomAttribute(const wchar_t* name) const;

    DWORD ApplyHslToColor(DWORD argb) const;
    bool DrawImageSpec(HDC dc, const wchar_t* specText, const wchar_t* modifier);

    // Skin pixels (100 %) to the window's device pixels, and back: image
    // texts are scaled when parsed, so rectangles written into them are
    // unscaled first.
    int Scaled(int value) const;
    int Unscaled(int value) const;
    CUIRect UnscaledRect(const RECT& rc) const;

    // Unscaled stored sizes, as the skin gave them.
    CUISize GetFixedSizeValue() const { return m_fixedSize; }
    CUISize GetMinSizeValue() const { return m_minSize; }
    CUISize GetMaxSizeValue() const { return m_maxSize; }
    CUIRect GetPaddingValue() const { return m_padding; }
    const CUIRect& GetPaintRect() const { return m_paintRect; }

    CEventSource OnInit;
    CEventSource OnDestroy;
    CEventSource OnSize;
    CEventSource OnEvent;
    CEventSource OnNotify;

protected:
    // The class's own part of a change of visibility, its own (every call of
    // SetVisibility, a change or not) or inherited from a parent; the base
    // asks the parent to lay out again for a real change of its own.
    virtual void VisibilityChanged(bool wasVisible, bool own);
    // A mouse event while the control does not accept the mouse.
    bool IgnoresMouseEvent(const TEventInfo& event) const;
    // Hands the event to the parent; false without one.
    bool PassToParent(TEventInfo& event);

    CPaintManagerUI* m_manager;
    CControlUI* m_parent;
    CUIString m_virtualWnd;
    CUIString m_name;
    bool m_needsLayout;
    bool m_menuEnabled;
    CUIRect m_item;
    CUIRect m_padding;
    CUISize m_fixedOrigin;
    CUISize m_fixedSize;
    CUISize m_minSize;
    CUISize m_maxSize;
    bool m_visible;
    bool m_inheritedVisible;
    bool m_enabled;
    bool m_mouseEnabled;
    bool m_keyboardEnabled;
    bool m_focusOnPress;
    bool m_focused;
    bool m_floating;
    TFloatAnchors m_floatAnchors;
    uint32_t m_floatAlign;
    bool m_inSizeEvent;
    bool m_drag;
    bool m_drop;
    bool m_resourceText;
    CUIString m_text;
    CUIString m_toolTip;
    wchar_t m_shortcut;
    CUIString m_userData;
    uintptr_t m_userTag;
    CUIString m_gradient;
    DWORD m_backColor1;
    DWORD m_backColor2;
    DWORD m_backColor3;
    DWORD m_foreColor;
    CUIString m_backImage;
    CUIString m_foreImage;
    DWORD m_borderColor;
    DWORD m_focusBorderColor;
    bool m_colorHsl;
    int m_borderWidth;
    int m_borderStyle;
    int m_tipMaxWidth;
    uint16_t m_cursor;
    CUISize m_borderRound;
    CUIRect m_paintRect;
    CUIRect m_sideBorders;
    CUIStringMap m_customAttributes;

private:
    static int& LiveControls();
    // Hidden: the focus and any press held here or inside are given up.
    void DropHiddenHolds();

    // Nesting of style substitutions; styles that name each other stop here.
    int m_styleDepth;
};

} // namespace SkinUI
