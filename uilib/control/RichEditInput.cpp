// The rich edit's input: the window messages it takes as a message filter,
// its framework events, the caret blink and the context menu.
#include "uilib/control/RichEdit.h"

#include <imm.h>

#include "uilib/control/TxtWinHost.h"

namespace SkinUI {

namespace {

// Composition form style: the window at a point.
const DWORD kCompositionAtPoint = 0x0002;

bool IsMouseMessage(UINT message)
{
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

bool IsKeyMessage(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == WM_IME_CHAR;
}

struct TMenuItem {
    UINT command; // 0: separator
    const wchar_t* text;
};

const TMenuItem kMenuItems[] = {
    {CRichEditUI::kMenuUndo, L"\u64a4\u9500(&U)"},      {CRichEditUI::kMenuRedo, L"\u91cd\u505a(&R)"},
    {0, nullptr},
    {CRichEditUI::kMenuCut, L"\u526a\u5207(&X)"},       {CRichEditUI::kMenuCopy, L"\u590d\u5236(&C)"},
    {CRichEditUI::kMenuPaste, L"\u7c98\u5e16(&V)"},     {CRichEditUI::kMenuClear, L"\u6e05\u7a7a(&L)"},
    {0, nullptr},
    {CRichEditUI::kMenuSelectAll, L"\u5168\u9009(&A)"},
};

} // namespace

bool CRichEditUI::IsPointInControl(POINT pt)
{
    return m_manager != nullptr && m_manager->FindControlAtPoint(pt) == this;
}

bool CRichEditUI::AcceptsMouseMessage(UINT message, LPARAM lParam, bool& mark)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    HWND window = m_manager->WindowHandle();
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        if (!IsPointInControl(pt)) return false;
        break;
    default:
        break;
    }
    if (message == WM_SETCURSOR) {
        GetCursorPos(&pt);
        ScreenToClient(window, &pt);
    } else if (message == WM_MOUSEWHEEL) {
        ScreenToClient(window, &pt);
    }
    RECT client;
    m_host->GetControlRect(&client);
    if (!PtInRect(&client, pt) || m_manager->IsMouseCaptured()) return false;
    if (message == WM_SETCURSOR) mark = false;
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN) {
        if (!m_manager->IsActivationSuppressed()) SetFocus(window);
        TakeFocus();
    }
    return true;
}

LRESULT CRichEditUI::PreFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (m_host == nullptr || m_manager == nullptr || !GetVisibility() || !GetEnabledState()) return 0;
    if (IsMouseMessage(message) && !AcceptsMouse()) return 0;
    if (message == WM_MOUSEWHEEL && (LOWORD(wParam) & MK_CONTROL) == 0) return 0;

    bool mark = true;
    bool always = false;
    if (message == WM_IME_COMPOSITION) {
        HWND window = m_manager->WindowHandle();
        HIMC context = ImmGetContext(window);
        if (context != nullptr) {
            COMPOSITIONFORM form = {};
            form.dwStyle = kCompositionAtPoint;
            GetCaretPos(&form.ptCurrentPos);
            ImmSetCompositionWindow(context, &form);
            ImmReleaseContext(window, context);
        }
        return 0;
    } else if (IsMouseMessage(message) || message == WM_SETCURSOR) {
        if (m_host->IsCaptured()) always = true;
        else if (!AcceptsMouseMessage(message, lParam, mark)) return 0;
    } else if (IsKeyMessage(message)) {
        if (!HasFocus()) return 0;
        // Without Tab the key moves the focus, as the manager does.
        if (!m_wantTab && (message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_TAB) return 0;
        always = true;
    } else if (message == WM_CONTEXTMENU) {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        POINT client = pt;
        ScreenToClient(m_manager->WindowHandle(), &client);
        if (!IsPointInControl(client)) return 0;
        ShowContextMenu(pt);
        handled = true;
        return 0;
    } else if (message == WM_COMMAND) {
        if (HasFocus() && HIWORD(wParam) == 0) RunMenuCommand(LOWORD(wParam));
        return 0;
    } else if (message == WM_HELP) {
        mark = false;
    } else {
        return 0;
    }

    LRESULT result = 0;
    const HRESULT hr = TxSendMessage(message, wParam, lParam, &result);
    if (mark && (hr == S_OK || always)) handled = true;
    return result;
}

void CRichEditUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CControlUI::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETCURSOR:
        if (GetEnabledState() && m_host != nullptr) {
            RECT client;
            m_host->GetControlRect(&client);
            if (m_host->DoSetCursor(&client, event.point)) return;
        }
        break;
    case UIEVENT_WINDOWSIZE:
        if (m_host != nullptr) m_host->MarkCaretStale();
        break;
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS: {
        const bool gained = event.type == UIEVENT_SETFOCUS;
        if (m_host != nullptr) {
            LRESULT result = 0;
            m_host->Services()->OnTxInPlaceActivate(nullptr);
            TxSendMessage(gained ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0, &result);
        }
        m_focused = gained;
        RequestRepaint();
        return;
    }
    case UIEVENT_TIMER:
        if (event.wParam == kCaretTimerId) {
            OnCaretTimer();
        } else if (m_host != nullptr) {
            LRESULT result = 0;
            TxSendMessage(WM_TIMER, event.wParam, event.lParam, &result);
        }
        return;
    case UIEVENT_SCROLLWHEEL:
        if ((event.keyState & MK_CONTROL) != 0) return;
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_KEYDOWN:
    case UIEVENT_KEYUP:
    case UIEVENT_CHAR:
    case UIEVENT_SYSKEY:
        // The message filter gave these to the text services.
        return;
    default:
        break;
    }
    CContainerUI::HandleEvent(event);
}

void CRichEditUI::OnCaretTimer()
{
    if (m_host == nullptr || m_manager == nullptr || !m_focused) return;
    if (GetFocus() != m_manager->WindowHandle()) return;
    if (m_manager->IsLayeredMode()) {
        if (!m_host->IsCaretShown()) return;
        m_drawCaret = !m_drawCaret;
        POINT pt;
        GetCaretPos(&pt);
        RECT caret = {pt.x, pt.y, pt.x + m_host->CaretWidth(), pt.y + m_host->CaretHeight()};
        for (CControlUI* clipper = this; clipper != nullptr; clipper = clipper->GetParentControl()) {
            const RECT& bounds = clipper->GetPosition();
            if (!IntersectRect(&caret, &caret, &bounds)) return;
        }
        m_manager->InvalidateArea(caret);
        return;
    }
    m_host->TxShowCaret(!m_host->IsCaretShown());
}

bool CRichEditUI::IsMenuCommandGrayed(UINT command) const
{
    const bool noSelection = GetSelectionType() == SEL_EMPTY;
    switch (command) {
    case kMenuUndo: return !CanUndo();
    case kMenuRedo: return !CanRedo();
    case kMenuCut:
    case kMenuClear: return m_readOnly || noSelection;
    case kMenuCopy: return noSelection;
    case kMenuPaste: return m_readOnly;
    default: return false;
    }
}

bool CRichEditUI::RunMenuCommand(UINT command)
{
    switch (command) {
    case kMenuUndo: Undo(); return true;
    case kMenuCut: Cut(); return true;
    case kMenuCopy: Copy(); return true;
    case kMenuPaste: Paste(); return true;
    case kMenuClear: Clear(); return true;
    case kMenuSelectAll: SelectAll(); return true;
    case kMenuRedo: Redo(); return true;
    default: return false;
    }
}

void CRichEditUI::ShowContextMenu(POINT screenPoint)
{
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return;
    for (const TMenuItem& item : kMenuItems) {
        if (item.command == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(menu, MF_STRING, item.command, item.text);
        if (IsMenuCommandGrayed(item.command)) EnableMenuItem(menu, item.command, MF_BYCOMMAND | MF_GRAYED);
    }
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, m_manager->WindowHandle(), nullptr);
    DestroyMenu(menu);
}

} // namespace SkinUI
