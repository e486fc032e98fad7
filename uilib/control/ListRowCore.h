#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/ListInterfaces.h"

namespace SkinUI {

// What every list row keeps and does, whichever control class it is built on
// (the bare row on a control, the container row on a horizontal layout): its
// index, selected flag, hot state and owner, selection from the row side,
// the shared background, clipped repaints and the pointer events.
class CListRowCore {
public:
    static const uint32_t kStateHot = 0x08;

    CListRowCore(CControlUI& self, IListItemUI& item);
    CListRowCore(const CListRowCore&) = delete;
    CListRowCore& operator=(const CListRowCore&) = delete;

    int Index() const { return m_index; }
    void SetIndex(int index) { m_index = index; }
    bool IsSelected() const { return m_selected; }
    bool IsHot() const { return (m_buttonState & kStateHot) != 0; }
    IListOwnerUI* Owner() const { return m_owner; }
    CControlUI* OwnerControl() const { return m_ownerControl; }
    void SetOwner(CControlUI* owner);
    // The owner's style, or null without an owner.
    TListItemStyle* Style() const;

    bool Select(bool select);
    bool SelectAdditive(bool select);
    // After the base activation answered: sends "itemactivate" when it succeeded.
    bool FinishActivation(bool activated);
    // After the row's visibility or enabled state changed.
    void AfterVisibilityChange();
    void AfterEnabledChange();

    // Repaints the part of the row its scrolled parent shows.
    void RequestItemRepaint();
    void PaintItemBackground(HDC dc, const RECT& rc);
    // The text colour for the row's state in the given style.
    DWORD TextColorFor(const TListItemStyle& style) const;
    // The row's text inside the style's padding, tagged or plain as the style
    // says; extraFormat is added to the style's text format.
    void PaintItemText(HDC dc, const RECT& rc, UINT extraFormat);

    // Button down and up, right button, moves, enter and leave as label and
    // container rows share them; false when the event is none of those.
    bool HandlePointerEvent(const TEventInfo& event);
    // Double click and Return on an enabled row activate it; false for other
    // events. A double click on a disabled row is swallowed.
    bool HandleActivationEvent(const TEventInfo& event);
    // Hands the event to the owner; false without an owner.
    bool PassToOwner(TEventInfo& event);
    void Notify(const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0);

private:
    CControlUI& m_self;
    IListItemUI& m_item;
    int m_index;
    bool m_selected;
    uint32_t m_buttonState;
    IListOwnerUI* m_owner;
    CControlUI* m_ownerControl;
};

} // namespace SkinUI
