// Keyboard focus, tab order and mouse capture.
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

struct TTabSearch {
    CControlUI* start;
    CControlUI* lastTabStop;
    bool forward;
    bool nextIsIt;
};

CControlUI* VisitTabStop(CControlUI* control, void* data)
{
    TTabSearch& search = *static_cast<TTabSearch*>(data);
    if (control == search.start) {
        if (!search.forward) return search.lastTabStop;
        search.nextIsIt = true;
        return nullptr;
    }
    if ((control->GetBehaviorFlags() & UIFLAG_TABSTOP) == 0) return nullptr;
    search.lastTabStop = control;
    return (search.nextIsIt || search.start == nullptr) ? control : nullptr;
}

void RaiseFocusEvent(CControlUI* target, int type, CControlUI* sender)
{
    TEventInfo event;
    event.type = type;
    event.sender = sender;
    event.timestamp = GetTickCount();
    target->RaiseEvent(event);
}

const uint32_t kTabSearchFlags = UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST;

} // namespace

void CPaintManagerUI::SetFocusControl(CControlUI* control)
{
    if (m_window != nullptr && GetFocus() != m_window && control != m_focusControl) SetFocus(m_window);
    // Nothing is laid out while the window is built: the focus lands at the
    // first paint, where it was put.
    if (m_firstLayoutPending) {
        HoldFocus(control);
        return;
    }
    m_heldFocus = nullptr;
    if (control == m_focusControl) return;
    DropFocus(control);
    if (control == nullptr || control->GetPaintManager() != this || !control->GetVisibility() ||
        !control->GetEnabledState()) {
        return;
    }
    // A control that let go of the keys is left only now, for this one.
    CControlUI* released = m_releasedFocus;
    m_releasedFocus = nullptr;
    if (released != nullptr && released != control)
        SendNotification(released, L"killfocus", reinterpret_cast<WPARAM>(control));
    m_focusControl = control;
    m_focusPending = false;
    RaiseFocusEvent(control, UIEVENT_SETFOCUS, control);
    SendNotification(control, L"setfocus");
}

CControlUI* CPaintManagerUI::FocusControl() const { return m_focusControl; }

void CPaintManagerUI::FocusAfterLayout(CControlUI* control)
{
    if (m_window != nullptr) SetFocus(m_window);
    HoldFocus(control);
    m_focusPending = true;
    if (m_root != nullptr) m_root->RequestRelayout();
}

void CPaintManagerUI::ReleaseFocus()
{
    if (m_focusControl == nullptr) return;
    // A box's own edit window holding the keys closes as it loses them.
    if (m_window != nullptr && GetFocus() != m_window) SetFocus(m_window);
    CControlUI* released = m_focusControl;
    RaiseFocusEvent(released, UIEVENT_KILLFOCUS, nullptr);
    m_focusControl = nullptr;
    m_releasedFocus = released;
}

void CPaintManagerUI::RenewFocus()
{
    if (m_focusControl == nullptr) return;
    const HWND focus = GetFocus();
    if (m_window != nullptr && focus != m_window && !IsChild(m_window, focus)) SetFocus(m_window);
    RaiseFocusEvent(m_focusControl, UIEVENT_SETFOCUS, m_focusControl);
}

void CPaintManagerUI::HoldFocus(CControlUI* control)
{
    DropFocus(control);
    m_heldFocus = control;
}

void CPaintManagerUI::DropFocus(CControlUI* taker)
{
    if (m_focusControl == nullptr) return;
    CControlUI* old = m_focusControl;
    RaiseFocusEvent(old, UIEVENT_KILLFOCUS, taker);
    // The control taking the focus, if any, goes with the notification.
    SendNotification(old, L"killfocus", reinterpret_cast<WPARAM>(taker));
    m_focusControl = nullptr;
}

void CPaintManagerUI::LandPendingFocus()
{
    CControlUI* held = m_heldFocus;
    if (held != nullptr) SetFocusControl(held);
    // A held control that cannot take the focus now leaves it to the first tab stop.
    if (held == nullptr || m_focusControl != held) FocusNextTabStop(true);
}

bool CPaintManagerUI::FocusNextTabStop(bool forward)
{
    if (m_layoutNeeded && forward) {
        m_focusPending = true;
        InvalidateWholeWindow();
        return true;
    }
    CControlUI* found = nullptr;
    if (m_root != nullptr) {
        TTabSearch search = {m_focusControl != nullptr ? m_focusControl : m_releasedFocus, nullptr, forward, false};
        found = m_root->FindInTree(VisitTabStop, &search, kTabSearchFlags);
        if (found == nullptr) {
            if (forward) {
                TTabSearch first = {nullptr, nullptr, true, false};
                found = m_root->FindInTree(VisitTabStop, &first, kTabSearchFlags);
            } else {
                found = search.lastTabStop;
            }
        }
    }
    if (found != nullptr) SetFocusControl(found);
    m_focusPending = false;
    return true;
}

void CPaintManagerUI::CaptureMouse()
{
    if (m_window != nullptr) SetCapture(m_window);
    m_mouseCaptured = true;
}

void CPaintManagerUI::ReleaseMouseCapture()
{
    // Cleared first: the release sends WM_CAPTURECHANGED, which must not take
    // our own release for a loss. Another window holding the mouse now keeps it.
    m_mouseCaptured = false;
    m_dragPending = false;
    if (m_window != nullptr && GetCapture() == m_window) ReleaseCapture();
}

bool CPaintManagerUI::IsMouseCaptured() const { return m_mouseCaptured; }

} // namespace SkinUI
