#include "uilib/control/ActiveXWnd.h"

#include "uilib/control/ActiveX.h"
#include "uilib/control/ActiveXCtrl.h"
#include "uilib/core/RenderKit.h"

namespace SkinUI {

namespace {

// The caret flag toggles every this many caret timer ticks.
const int kCaretTicksPerToggle = 10;

} // namespace

CActiveXWnd::CActiveXWnd(CActiveXCtrl* site) : m_site(site), m_caretTicks(0), m_caretVisible(false) {}

HWND CActiveXWnd::Init(HWND parent)
{
    return CreateNativeWindow(parent, L"UIActiveX", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                              0, 0, 0);
}

const wchar_t* CActiveXWnd::GetWndClassName() const
{
    return L"ActiveXWnd";
}

bool CActiveXWnd::IsLayered() const
{
    CActiveXUI* owner = m_site->GetOwner();
    CPaintManagerUI* manager = owner != nullptr ? owner->GetPaintManager() : nullptr;
    return manager != nullptr && manager->IsLayeredMode();
}

void CActiveXWnd::PrintClient(HDC dc)
{
    RECT client;
    GetClientRect(m_window, &client);
    m_site->DrawObject(dc, client);
    if (!m_caretVisible) return;
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || info.hwndCaret != m_window) return;
    const RECT line = {info.rcCaret.left, info.rcCaret.top, info.rcCaret.left, info.rcCaret.bottom};
    // Black would be transparent in the layered window.
    DWORD color = 0xFF000000;
    CRenderKit::AvoidZeroRgb(color);
    CRenderKit::DrawLineSegment(dc, line, 1, color, PS_SOLID);
}

LRESULT CActiveXWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (IsLayered()) SetTimer(m_window, kCaretTimerId, GetCaretBlinkTime(), nullptr);
        break;
    case WM_TIMER:
        if (wParam != kCaretTimerId) break;
        if (IsLayered() && ++m_caretTicks >= kCaretTicksPerToggle) {
            m_caretTicks = 0;
            m_caretVisible = !m_caretVisible;
        }
        return 0;
    case WM_PRINTCLIENT:
        PrintClient(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_MOUSEACTIVATE: {
        CActiveXUI* owner = m_site->GetOwner();
        IOleObject* object = owner != nullptr ? owner->GetHostedObject() : nullptr;
        DWORD misc = 0;
        if (object != nullptr) object->GetMiscStatus(DVASPECT_CONTENT, &misc);
        if ((misc & OLEMISC_NOUIACTIVATE) == 0 && !m_site->IsInPlaceActive()) m_site->DoVerb(OLEIVERB_INPLACEACTIVATE);
        break;
    }
    case WM_SETFOCUS:
        m_site->SetFocused(true);
        if (!m_site->IsUIActivated()) m_site->DoVerb(OLEIVERB_UIACTIVATE);
        break;
    case WM_KILLFOCUS:
        m_site->SetFocused(false);
        break;
    case WM_ERASEBKGND:
        if (m_site->GetViewObject() != nullptr) return 1;
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(m_window, &ps);
        EndPaint(m_window, &ps);
        return 0;
    }
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

void CActiveXWnd::OnFinalWindowMessage(HWND window)
{
    CActiveXUI* owner = m_site->GetOwner();
    CPaintManagerUI* manager = owner != nullptr ? owner->GetPaintManager() : nullptr;
    if (manager != nullptr && manager->IsLayeredMode()) manager->UnregisterNativeWindow(window);
}

} // namespace SkinUI
