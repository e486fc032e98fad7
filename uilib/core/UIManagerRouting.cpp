// The paint manager's message side: window messages become control events.
#include <windowsx.h>

#include "uilib/control/Edit.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIDataObject.h"
#include "uilib/core/UIDragSourceHelper.h"
#include "uilib/core/UIDropSource.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const UINT kQueuedWorkMessage = 0x8001;
// Reflected messages reach child windows at this offset.
const UINT kReflectBase = 0x2000;

WORD CurrentKeyState()
{
    WORD state = 0;
    if (GetKeyState(VK_LBUTTON) < 0) state |= 0x1;
    if (GetKeyState(VK_RBUTTON) < 0) state |= 0x2;
    if (GetKeyState(VK_SHIFT) < 0) state |= 0x4;
    if (GetKeyState(VK_CONTROL) < 0) state |= 0x8;
    if (GetKeyState(VK_MENU) < 0) state |= 0x20;
    return state;
}

bool IsWithin(const CControlUI* control, const CControlUI* subtree)
{
    for (; control != nullptr; control = control->GetParentControl()) {
        if (control == subtree) return true;
    }
    return false;
}

POINT PointOf(LPARAM lParam)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return pt;
}

bool StoresClientPoint(UINT message)
{
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
           message == WM_LBUTTONUP;
}

// An enhanced metafile holding a copy of the bitmap.
HENHMETAFILE MetafileOfBitmap(HDC reference, HBITMAP bitmap)
{
    BITMAP info = {};
    if (GetObjectW(bitmap, sizeof(info), &info) == 0) return nullptr;
    HDC meta = CreateEnhMetaFileW(reference, nullptr, nullptr, nullptr);
    if (meta == nullptr) return nullptr;
    HDC source = CreateCompatibleDC(reference);
    if (source != nullptr) {
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(meta, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    return CloseEnhMetaFile(meta);
}

} // namespace

void CPaintManagerUI::RaiseControlEvent(CControlUI* target, int type, POINT pt, WORD keyChar, WORD keyState,
                                        WPARAM wParam, LPARAM lParam)
{
    TEventInfo event;
    event.type = type;
    event.sender = target;
    event.timestamp = GetTickCount();
    event.point = pt;
    event.keyChar = keyChar;
    event.keyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    target->RaiseEvent(event);
}

bool CPaintManagerUI::RunMessageFilters(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // Filters may unregister themselves while being asked.
    for (int i = 0; i < m_messageFilters.Count(); ++i) {
        bool handled = false;
        LRESULT answer = static_cast<IMessageFilterUI*>(m_messageFilters[i])->PreFilterMessage(message, wParam, lParam,
                                                                                                handled);
        if (!handled) continue;
        result = answer;
        if (StoresClientPoint(message)) {
            m_lastMousePoint = PointOf(lParam);
        } else if (message == WM_CONTEXTMENU || message == WM_MOUSEWHEEL) {
            POINT pt = PointOf(lParam);
            ScreenToClient(m_window, &pt);
            m_lastMousePoint = pt;
        }
        return true;
    }
    return false;
}

void CPaintManagerUI::OnTimer(WPARAM wParam, LPARAM lParam)
{
    for (int i = 0; i < m_timers.Count(); ++i) {
        TTimerRecord* record = static_cast<TTimerRecord*>(m_timers[i]);
        if (record->window == m_window && record->windowTimerId == LOWORD(wParam) && !record->killed) {
            RaiseControlEvent(record->control, UIEVENT_TIMER, m_lastMousePoint, 0, CurrentKeyState(), record->localId,
                              lParam);
            return;
        }
    }
}

bool CPaintManagerUI::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_window == nullptr) return false;
    if (RunMessageFilters(message, wParam, lParam, result)) return true;

    if (m_layered) {
        switch (message) {
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
            result = 0;
            return true;
        case WM_NCACTIVATE:
            if (IsIconic(m_window)) return false;
            result = wParam == 0 ? 1 : 0;
            return true;
        default:
            break;
        }
    }

    switch (message) {
    case WM_PAINT:
        PaintWindow();
        result = 0;
        return true;
    case WM_PRINTCLIENT:
        PrintClient(reinterpret_cast<HDC>(wParam), lParam);
        return false;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_SIZE:
        if (m_focusControl != nullptr)
            RaiseControlEvent(m_focusControl, UIEVENT_WINDOWSIZE, m_lastMousePoint, 0, CurrentKeyState(), wParam, lParam);
        // A resize can arrive while the window is being built, before any root.
        if (m_root != nullptr) m_root->RequestRelayout();
        result = 0;
        return true;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info == nullptr) return false;
        CUISize minSize = ScaledMinTrackSize();
        if (minSize.cx > 0) info->ptMinTrackSize.x = minSize.cx;
        if (minSize.cy > 0) info->ptMinTrackSize.y = minSize.cy;
        if (m_maxTrackSize.cx > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = m_maxTrackSize.cx;
        if (m_maxTrackSize.cy > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = m_maxTrackSize.cy;
        return false;
    }
    case WM_SETFOCUS:
        if (m_focusControl != nullptr)
            RaiseControlEvent(m_focusControl, UIEVENT_SETFOCUS, m_lastMousePoint, 0, CurrentKeyState(), wParam, lParam);
        return false;
    case WM_KILLFOCUS:
        // A box of this window opening its own edit window takes the focus
        // but not the mouse: the press goes on.
        if (m_mouseCaptured && !IsChild(m_window, reinterpret_cast<HWND>(wParam))) EndClick(TPressEnd::Abandoned);
        return false;
    case WM_CAPTURECHANGED:
        if (m_mouseCaptured && reinterpret_cast<HWND>(lParam) != m_window) EndClick(TPressEnd::Abandoned);
        return false;
    case WM_CLOSE:
        OnClose();
        return false;
    case WM_DESTROY:
        // OLE must not keep calling into a window that is going away.
        RevokeRegistration();
        return false;
    case WM_SETCURSOR:
        if (!OnSetCursor(wParam, lParam)) return false;
        result = TRUE;
        return true;
    case WM_TIMER:
        OnTimer(wParam, lParam);
        return false;
    case WM_KEYDOWN:
        if (m_root == nullptr || m_focusControl == nullptr) return false;
        m_keyControl = m_focusControl;
        RaiseControlEvent(m_focusControl, UIEVENT_KEYDOWN, m_lastMousePoint, static_cast<WORD>(wParam),
                          CurrentKeyState(), wParam, lParam);
        return false;
    case WM_KEYUP: {
        if (m_root == nullptr || m_keyControl == nullptr) return false;
        CControlUI* control = m_keyControl;
        m_keyControl = nullptr;
        RaiseControlEvent(control, UIEVENT_KEYUP, m_lastMousePoint, static_cast<WORD>(wParam), CurrentKeyState(),
                          wParam, lParam);
        return false;
    }
    case WM_CHAR:
        if (m_root == nullptr || m_focusControl == nullptr) return false;
        RaiseControlEvent(m_focusControl, UIEVENT_CHAR, m_lastMousePoint, static_cast<WORD>(wParam),
                          CurrentKeyState(), wParam, lParam);
        return false;
    case WM_CONTEXTMENU:
        OnContextMenu(wParam, lParam);
        return false;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return false;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        OnButtonDown(message, wParam, lParam);
        return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (!OnButtonUp(message, wParam, lParam)) return false;
        result = 0;
        return true;
    case WM_MOUSEHOVER:
        return OnMouseHover(lParam);
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr) return false;
        result = SendMessageW(header->hwndFrom, kReflectBase + WM_NOTIFY, wParam, lParam);
        return true;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0) return false;
        result = SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + message, wParam, lParam);
        return result != 0;
    case kQueuedWorkMessage:
        ServiceQueuedWork();
        return false;
    default:
        return false;
    }
}

// A press belongs to its click control until it ends, once, here:
// - Released: its own left release, a button-up (OnButtonUp).
// - Abandoned (the control's EndPress), never clicked: another button
//   pressed (spent on it when the press was a left one), a right or middle
//   press let go off its control, a context menu over a left press
//   (OnContextMenu), the window closing (OnClose), the mouse or the keyboard
//   taken by another window, a move with no button down, the control or a
//   parent disabled, hidden or taken out of its container (EndPressWithin),
//   a drag starting from it (StartControlDrag).
// - Forgotten, untold: handed to a window of the control's own
//   (HandPressAway, HoldMouseFor), its control freed or its tree replaced,
//   a right or middle release, which the control hears as itself.
// After it the control hears nothing more of that press.
void CPaintManagerUI::EndClick(TPressEnd how, WPARAM wParam, LPARAM lParam)
{
    // Another window may hold the mouse now: only our own capture is let go.
    if (m_mouseCaptured) ReleaseMouseCapture();
    m_dragPending = false;
    CControlUI* control = m_clickControl;
    m_clickControl = nullptr;
    m_clickButton = 0;
    if (control == nullptr || how == TPressEnd::Forgotten) return;
    if (how == TPressEnd::Abandoned) {
        control->EndPress();
        return;
    }
    RaiseControlEvent(control, UIEVENT_BUTTONUP, m_lastMousePoint, 0, CurrentKeyState(), wParam, lParam);
}

void CPaintManagerUI::HandPressAway()
{
    EndClick(TPressEnd::Forgotten);
}

void CPaintManagerUI::HoldMouseFor(CControlUI* control, bool hold)
{
    if (!hold) {
        if (m_clickControl == control) EndClick(TPressEnd::Forgotten);
        return;
    }
    if (m_clickControl != control) EndClick(TPressEnd::Abandoned);
    TakeClick(control, MK_LBUTTON);
}

void CPaintManagerUI::EndPressWithin(CControlUI* control)
{
    if (IsWithin(m_clickControl, control)) EndClick(TPressEnd::Abandoned);
}

namespace {

CControlUI* StopTimersOfOne(CControlUI* control, void* data)
{
    static_cast<CPaintManagerUI*>(data)->StopControlTimers(control);
    return nullptr;
}

} // namespace

void CPaintManagerUI::LetGoOfSubtree(CControlUI* control)
{
    EndPressWithin(control);
    // Out of the tree its timers would reach it still, and reach it freed
    // once another window took it and let it go.
    control->FindInTree(StopTimersOfOne, this, UIFIND_ALL);
    if (IsWithin(m_hoverControl, control)) ForgetHoverControl();
    if (IsWithin(m_keyControl, control)) m_keyControl = nullptr;
    if (IsWithin(m_focusControl, control)) SetFocusControl(nullptr);
    // Kept alive out of the tree, it gets no menu and no focus from before.
    if (IsWithin(m_menuControl, control)) m_menuControl = nullptr;
    if (IsWithin(m_heldFocus, control)) m_heldFocus = nullptr;
    if (IsWithin(m_releasedFocus, control)) m_releasedFocus = nullptr;
}

bool CPaintManagerUI::HoldsLeftPress() const
{
    return m_clickControl != nullptr && m_clickButton == MK_LBUTTON;
}

void CPaintManagerUI::TakeClick(CControlUI* control, WORD button)
{
    if (!m_mouseCaptured) CaptureMouse();
    m_clickControl = control;
    m_clickButton = button;
}

CControlUI* CPaintManagerUI::OwnControlAt(POINT pt)
{
    // Another window's control could be freed without this manager hearing of it.
    CControlUI* control = FindControlAtPoint(pt);
    return control != nullptr && control->GetPaintManager() == this ? control : nullptr;
}

void CPaintManagerUI::OnClose()
{
    if (m_hoverControl != nullptr)
        RaiseControlEvent(m_hoverControl, UIEVENT_MOUSELEAVE, m_lastMousePoint, 0, CurrentKeyState(), 0, 0);
    // A close clicks nothing: a press held now is given up.
    EndClick(TPressEnd::Abandoned);
    // Nor does it confirm a box's typing, which goes before the box is left.
    if (CEditUI* box = CEditUI::FocusedTyping(this)) box->DropTyping();
    SetFocusControl(nullptr);
    HWND owner = GetWindow(m_window, GW_OWNER);
    if (GetActiveWindow() == m_window && owner != nullptr) SetFocus(owner);
    if (m_toolTipWindow != nullptr) DestroyWindow(m_toolTipWindow);
    m_toolTipWindow = nullptr;
}

void CPaintManagerUI::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    if (m_root == nullptr) return;
    // A right release left its control here for the menu it asks for; the
    // menu key (no point) takes only the press held now, never a release
    // whose menu a filter took. The press ends here (a left one abandoned);
    // the end may remove the control: DropReferencesTo forgets it here too.
    if (lParam == -1 || m_menuControl == nullptr) m_menuControl = m_clickControl;
    if (m_clickControl != nullptr) EndClick(HoldsLeftPress() ? TPressEnd::Abandoned : TPressEnd::Forgotten);
    POINT pt = PointOf(lParam);
    ScreenToClient(m_window, &pt);
    m_lastMousePoint = pt;
    CControlUI* control = m_menuControl;
    m_menuControl = nullptr;
    if (control != nullptr)
        RaiseControlEvent(control, UIEVENT_CONTEXTMENU, pt, 0, LOWORD(wParam), wParam,
                          reinterpret_cast<LPARAM>(control));
}

void CPaintManagerUI::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_mouseTracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_window;
        track.dwHoverTime = m_toolTipWindow != nullptr
                                ? static_cast<DWORD>(SendMessageW(m_toolTipWindow, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                                : m_hoverTime;
        TrackMouseEvent(&track);
        m_mouseTracking = true;
    }
    // A press that holds the mouse with no button down lost its release
    // (let go while another window held the mouse): it ends here, or its
    // control would go on following the hand.
    if (m_mouseCaptured && (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) EndClick(TPressEnd::Abandoned);
    POINT pt = PointOf(lParam);
    bool moved = pt.x != m_lastMousePoint.x || pt.y != m_lastMousePoint.y;
    m_lastMousePoint = pt;
    CControlUI* control = FindControlAtPoint(pt);
    if (control != nullptr && control->GetPaintManager() != this) return;
    if (moved && m_dragPending && wParam == MK_LBUTTON) {
        StartControlDrag();
        return;
    }
    WORD keyState = CurrentKeyState();
    if (!m_mouseCaptured && control != m_hoverControl) {
        if (m_hoverControl != nullptr) {
            CControlUI* left = m_hoverControl;
            m_hoverControl = nullptr;
            RaiseControlEvent(left, UIEVENT_MOUSELEAVE, pt, 0, keyState, wParam, lParam);
            if (m_toolTipWindow != nullptr) SendMessageW(m_toolTipWindow, TTM_TRACKACTIVATE, FALSE,
                                                         reinterpret_cast<LPARAM>(&m_toolTip));
            // The handler may have removed the control now under the mouse.
            control = FindControlAtPoint(pt);
            if (control != nullptr && control->GetPaintManager() != this) return;
        }
        if (control != nullptr) {
            m_hoverControl = control;
            RaiseControlEvent(control, UIEVENT_MOUSEENTER, pt, 0, keyState, wParam, lParam);
        }
    }
    CControlUI* target = m_clickControl != nullptr ? m_clickControl : control;
    if (target != nullptr) RaiseControlEvent(target, UIEVENT_MOUSEMOVE, pt, 0, keyState, wParam, lParam);
}

bool CPaintManagerUI::OnMouseHover(LPARAM lParam)
{
    m_mouseTracking = false;
    POINT pt = PointOf(lParam);
    CControlUI* control = FindControlAtPoint(pt);
    if (control == nullptr) return false;
    if (m_hoverControl != nullptr)
        RaiseControlEvent(m_hoverControl, UIEVENT_MOUSEHOVER, pt, 0, CurrentKeyState(), 0, lParam);
    // The hover handler may have removed the control.
    control = FindControlAtPoint(pt);
    if (control == nullptr) return false;
    CUIString tip = control->GetToolTipText();
    if (tip.IsEmpty()) return false;
    m_toolTip = TOOLINFOW{};
    m_toolTip.cbSize = sizeof(m_toolTip);
    m_toolTip.uFlags = TTF_IDISHWND;
    m_toolTip.hwnd = m_window;
    m_toolTip.uId = reinterpret_cast<UINT_PTR>(m_window);
    m_toolTip.hinst = s_instance;
    m_toolTip.lpszText = const_cast<wchar_t*>(tip.CStr());
    m_toolTip.rect = control->GetPosition();
    if (m_toolTipWindow == nullptr) {
        m_toolTipWindow = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window,
                                          nullptr, s_instance, nullptr);
        if (m_toolTipWindow != nullptr) {
            SendMessageW(m_toolTipWindow, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_toolTip));
            SendMessageW(m_toolTipWindow, TTM_SETMAXTIPWIDTH, 0, control->GetTipMaxWidth());
        }
    }
    if (m_toolTipWindow != nullptr && !IsWindowVisible(m_toolTipWindow)) {
        SendMessageW(m_toolTipWindow, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_toolTip));
        SendMessageW(m_toolTipWindow, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_toolTip));
    }
    // The tooltip keeps its own copy of the text.
    m_toolTip.lpszText = nullptr;
    return true;
}

void CPaintManagerUI::ForgetHoverControl()
{
    m_hoverControl = nullptr;
    // No move leaves a control that is gone: its tip goes with it.
    if (m_toolTipWindow != nullptr)
        SendMessageW(m_toolTipWindow, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_toolTip));
}

void CPaintManagerUI::OnMouseLeave()
{
    if (m_toolTipWindow != nullptr)
        SendMessageW(m_toolTipWindow, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_toolTip));
    // A press holding the mouse hears every move wherever the pointer goes;
    // a made-up one would put it at a point the hand never passed.
    if (m_mouseTracking && !m_mouseCaptured) {
        LPARAM where = static_cast<LPARAM>(0xFFFFFFFF);
        POINT pt;
        RECT window;
        GetCursorPos(&pt);
        GetWindowRect(m_window, &window);
        if (!IsIconic(m_window) && GetActiveWindow() == m_window && PtInRect(&window, pt) &&
            SendMessageW(m_window, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTCLIENT) {
            ScreenToClient(m_window, &pt);
            where = MAKELPARAM(pt.x, pt.y);
        }
        SendMessageW(m_window, WM_MOUSEMOVE, 0, where);
    }
    m_mouseTracking = false;
}

void CPaintManagerUI::OnButtonDown(UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    m_lastMousePoint = pt;
    // A press that takes no focus leaves the keys with a box's edit window.
    const CControlUI* pressed = OwnControlAt(pt);
    if (!m_noActivate && (pressed == nullptr || pressed->TakesFocusOnPress() || !IsChild(m_window, GetFocus())))
        SetFocus(m_window);
    // A menu a filter took never came for its right release.
    m_menuControl = nullptr;
    const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    // Another button during a left press is the hand's way out of it, and
    // is spent there: neither it nor its release acts.
    const bool spent = !left && HoldsLeftPress();
    // A press held now gets no button-up of its own.
    EndClick(TPressEnd::Abandoned);
    if (spent) return;
    // Looked up after the end, whose handler may have changed the tree.
    CControlUI* control = OwnControlAt(pt);
    if (control == nullptr) return;
    // The click control is set before the event, so that a handler removing
    // the control leaves no stale pointer behind.
    switch (message) {
    case WM_LBUTTONDOWN:
        if (control->AllowsDrag()) {
            m_dragPending = true;
            if (m_dragBitmap != nullptr) DeleteObject(m_dragBitmap);
            m_dragBitmap = CRenderKit::RenderControlToBitmap(this, control, control->GetPosition(), 0);
        }
        TakeClick(control, MK_LBUTTON);
        if (control->TakesFocusOnPress()) control->TakeFocus();
        if (m_clickControl == control)
            RaiseControlEvent(control, UIEVENT_BUTTONDOWN, pt, 0, LOWORD(wParam), wParam, lParam);
        break;
    case WM_LBUTTONDBLCLK:
        TakeClick(control, MK_LBUTTON);
        RaiseControlEvent(control, UIEVENT_DBLCLICK, pt, 0, LOWORD(wParam), wParam, lParam);
        break;
    default: {
        if (control->TakesFocusOnPress()) control->TakeFocus();
        if (OwnControlAt(pt) != control) return;
        const bool right = message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK;
        TakeClick(control, right ? MK_RBUTTON : MK_MBUTTON);
        RaiseControlEvent(control, right ? UIEVENT_RBUTTONDOWN : UIEVENT_MBUTTONDOWN, pt, 0, LOWORD(wParam), wParam,
                          lParam);
        break;
    }
    }
}

bool CPaintManagerUI::OnButtonUp(UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    m_lastMousePoint = pt;
    if (message == WM_LBUTTONUP) {
        // Another button's press took the click from the left press: its release goes to no control.
        if (HoldsLeftPress()) EndClick(TPressEnd::Released, wParam, lParam);
        return false;
    }
    const bool right = message == WM_RBUTTONUP;
    CControlUI* control = m_clickControl;
    // Only the release of a press still held, over the control it began on,
    // clicks; any other is spent and asks for no menu.
    if (control == nullptr || m_clickButton != (right ? MK_RBUTTON : MK_MBUTTON)) return true;
    if (OwnControlAt(pt) != control) {
        EndClick(TPressEnd::Abandoned);
        return true;
    }
    // The release ends the press; the context menu a right one asks for is
    // the control's, unless a filter takes it.
    EndClick(TPressEnd::Forgotten);
    if (right) m_menuControl = control;
    RaiseControlEvent(control, right ? UIEVENT_RBUTTONUP : UIEVENT_MBUTTONUP, pt, 0, CurrentKeyState(), wParam,
                      lParam);
    return false;
}

bool CPaintManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (m_root == nullptr || LOWORD(lParam) != HTCLIENT) return false;
    if (m_mouseCaptured) return true;
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(m_window, &pt);
    CControlUI* control = FindControlAtPoint(pt);
    if (control == nullptr || control->GetPaintManager() != this ||
        (control->GetBehaviorFlags() & UIFLAG_SETCURSOR) == 0) {
        return false;
    }
    RaiseControlEvent(control, UIEVENT_SETCURSOR, pt, 0, CurrentKeyState(), wParam, lParam);
    return true;
}

void CPaintManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    if (m_root == nullptr) return;
    POINT pt = PointOf(lParam);
    ScreenToClient(m_window, &pt);
    m_lastMousePoint = pt;
    CControlUI* control = FindControlAtPoint(pt);
    // A held left press keeps the hand busy: the notch moves no control.
    if (control != nullptr && control->GetPaintManager() == this && !HoldsLeftPress()) {
        WPARAM towardUser = (wParam & 0x80000000u) != 0 ? 1 : 0;
        RaiseControlEvent(control, UIEVENT_SCROLLWHEEL, pt, 0, CurrentKeyState(), towardUser, lParam);
    }
    SendMessageW(m_window, WM_MOUSEMOVE, LOWORD(wParam), MAKELPARAM(m_lastMousePoint.x, m_lastMousePoint.y));
}

bool CPaintManagerUI::StartControlDrag()
{
    // The drag's own loop takes the mouse: the press ends here.
    EndClick(TPressEnd::Abandoned);
    bool dragged = false;
    CIDropSource* source = new CIDropSource();
    CIDataObject* data = new CIDataObject(source);
    HBITMAP copy = m_dragBitmap != nullptr
                       ? static_cast<HBITMAP>(OleDuplicateData(m_dragBitmap, CF_BITMAP, 0))
                       : nullptr;
    if (copy != nullptr) {
        FORMATETC bitmapFormat = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
        STGMEDIUM bitmapMedium = {};
        bitmapMedium.tymed = TYMED_GDI;
        bitmapMedium.hBitmap = copy;
        // The data object keeps a copy of its own.
        data->SetData(&bitmapFormat, &bitmapMedium, FALSE);
        DeleteObject(copy);

        FORMATETC metaFormat = {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
        STGMEDIUM metaMedium = {};
        metaMedium.tymed = TYMED_ENHMF;
        metaMedium.hEnhMetaFile = MetafileOfBitmap(m_paintDC, m_dragBitmap);
        if (metaMedium.hEnhMetaFile != nullptr && FAILED(data->SetData(&metaFormat, &metaMedium, TRUE)))
            DeleteEnhMetaFile(metaMedium.hEnhMetaFile);

        BITMAP info = {};
        GetObjectW(m_dragBitmap, sizeof(info), &info);
        CDragSourceHelper helper;
        HBITMAP image = static_cast<HBITMAP>(OleDuplicateData(m_dragBitmap, CF_BITMAP, 0));
        POINT hotSpot = {info.bmWidth / 2, info.bmHeight / 2};
        RECT whole = {0, 0, info.bmWidth, info.bmHeight};
        if (image != nullptr && FAILED(helper.InitializeFromBitmap(image, hotSpot, whole, data,
                                                                    GetSysColor(COLOR_WINDOW)))) {
            DeleteObject(image);
        }
        DWORD effect = DROPEFFECT_NONE;
        dragged = DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect) == DRAGDROP_S_DROP;
    }
    data->Release();
    source->Release();
    m_dragPending = false;
    return dragged;
}

} // namespace SkinUI
