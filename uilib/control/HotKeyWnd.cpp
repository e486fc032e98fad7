#include "uilib/control/HotKeyWnd.h"

#include <commctrl.h>

#include "uilib/control/HotKey.h"
#include "uilib/control/NativeOverlay.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// WM_COMMAND reflected back to the child that sent it.
const UINT kReflectedCommand = 0x2000 + WM_COMMAND;
// The text shown when the key was cleared.
const wchar_t kNoKey[] = L"\u65E0";

} // namespace

CHotKeyWnd::CHotKeyWnd() : m_initialised(false) {}

const wchar_t* CHotKeyWnd::GetWndClassName() const
{
    return L"HotKeyClass";
}

const wchar_t* CHotKeyWnd::GetSuperclassSource() const
{
    return HOTKEY_CLASSW;
}

CHotKeyUI* CHotKeyWnd::Owner() const
{
    return static_cast<CHotKeyUI*>(m_host);
}

bool CHotKeyWnd::OpenOn(COverlayLabelUI* host)
{
    CPaintManagerUI* manager = host != nullptr ? host->GetPaintManager() : nullptr;
    if (manager == nullptr || manager->WindowHandle() == nullptr) return false;
    m_host = host;
    if (m_window != nullptr) return true;
    CHotKeyUI* owner = Owner();
    EnsureEditorClasses();
    if (CreateNativeWindowInRect(manager->WindowHandle(), nullptr, WS_CHILD | ES_AUTOHSCROLL, 0,
                                 owner->NativeRect()) == nullptr)
        return false;
    m_created = true;
    SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(ResolveFontHandle(*manager, owner->GetFont())), TRUE);
    SetHotKey(owner->GetKey(), owner->GetModifiers());
    owner->SetTextContent(GetHotKeyName());
    EnableWindow(m_window, owner->GetEnabledState() ? TRUE : FALSE);
    ShowWindow(m_window, SW_SHOWNOACTIVATE);
    SetFocus(m_window);
    m_initialised = true;
    return true;
}

void CHotKeyWnd::GetHotKey(uint16_t& key, uint16_t& modifiers) const
{
    const LRESULT pair = SendMessageW(m_window, HKM_GETHOTKEY, 0, 0);
    key = static_cast<uint16_t>(LOBYTE(LOWORD(pair)));
    modifiers = static_cast<uint16_t>(HIBYTE(LOWORD(pair)));
}

void CHotKeyWnd::SetHotKey(uint16_t key, uint16_t modifiers)
{
    SendMessageW(m_window, HKM_SETHOTKEY, MAKEWORD(key, modifiers), 0);
}

CUIString CHotKeyWnd::GetHotKeyName() const
{
    uint16_t key = 0;
    uint16_t modifiers = 0;
    GetHotKey(key, modifiers);
    return CHotKeyUI::ComposeHotKeyName(key, modifiers);
}

void CHotKeyWnd::OnKeyChanged()
{
    CHotKeyUI* owner = Owner();
    if (!m_initialised || owner == nullptr) return;
    uint16_t key = 0;
    uint16_t modifiers = 0;
    GetHotKey(key, modifiers);
    if (key == 0) {
        owner->SetHotKey(0, 0);
        owner->SetTextContent(kNoKey);
    } else {
        owner->SetHotKey(key, modifiers);
        owner->SetTextContent(GetHotKeyName());
    }
    if (owner->GetPaintManager() != nullptr) owner->GetPaintManager()->SendNotification(owner, L"textchanged");
}

void CHotKeyWnd::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    CHotKeyUI* owner = Owner();
    if (owner != nullptr) {
        RECT client;
        GetClientRect(m_window, &client);
        const DWORD back = owner->GetNativeBkColor();
        HBRUSH brush = CreateSolidBrush(RGB((back >> 16) & 0xFF, (back >> 8) & 0xFF, back & 0xFF));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        const DWORD text = owner->GetTextColor();
        ::SetTextColor(dc, RGB((text >> 16) & 0xFF, (text >> 8) & 0xFF, text & 0xFF));
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(m_window, WM_GETFONT, 0, 0)));
        const CUIString name = GetHotKeyName();
        DrawTextW(dc, name, -1, &client, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SIZE extent = {0, 0};
        GetTextExtentPoint32W(dc, name, name.Length(), &extent);
        SelectObject(dc, oldFont);
        SetCaretPos(extent.cx, 0);
    }
    EndPaint(m_window, &ps);
}

LRESULT CHotKeyWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = CWindowWnd::ProcessMessage(message, wParam, lParam);
        PostMessageW(m_window, WM_CLOSE, 0, 0);
        return result;
    }
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE) {
            OnKeyChanged();
        } else if (HIWORD(wParam) == EN_UPDATE) {
            InvalidateRect(m_window, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            CHotKeyUI* owner = Owner();
            if (owner != nullptr && owner->GetPaintManager() != nullptr)
                owner->GetPaintManager()->SendNotification(owner, L"return");
            return 0;
        }
        break;
    case WM_NCACTIVATE:
    case WM_NCCALCSIZE:
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    default:
        break;
    }
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

} // namespace SkinUI
