#include "uilib/control/EditWnd.h"

#include <vector>

#include "uilib/control/Edit.h"
#include "uilib/control/NativeOverlay.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// Reflected child messages arrive as this offset plus the message.
const UINT kReflect = 0x2000;

int g_liveWindows = 0;
int g_liveBrushes = 0;

// Keys the box hands to its owner as notifications instead of handling them.
struct TKeyNotification {
    WORD key;
    const wchar_t* notification;
};

const TKeyNotification kKeyNotifications[] = {
    {VK_RETURN, L"return"},
    {VK_UP, L"valuechangedup"},
    {VK_DOWN, L"valuechangeddown"},
    {VK_LEFT, L"valuechangedleft"},
    {VK_RIGHT, L"valuechangedright"},
};

} // namespace

CEditWnd::CEditWnd() : m_owner(nullptr), m_brush(nullptr), m_initialised(false), m_manager(nullptr), m_layered(false)
{
}

CEditWnd::~CEditWnd()
{
    DeleteBrush();
}

int CEditWnd::LiveWindowCount()
{
    return g_liveWindows;
}

int CEditWnd::LiveBrushCount()
{
    return g_liveBrushes;
}

const wchar_t* CEditWnd::GetWndClassName() const
{
    return kClassName;
}

const wchar_t* CEditWnd::GetSuperclassSource() const
{
    return L"Edit";
}

void CEditWnd::DeleteBrush()
{
    if (m_brush == nullptr) return;
    DeleteObject(m_brush);
    m_brush = nullptr;
    --g_liveBrushes;
}

CUIRect CEditWnd::ComputeEditRect() const
{
    if (m_owner == nullptr || m_manager == nullptr) return CUIRect();
    CUIRect rc = m_owner->GetPosition();
    const CUIRect padding = m_owner->ScaledTextPadding();
    rc.left += padding.left;
    rc.top += padding.top;
    rc.right -= padding.right;
    rc.bottom -= padding.bottom;
    return ClipToAncestors(*m_owner, CenterOnFontHeight(*m_manager, m_owner->GetFont(), rc));
}

CUIRect CEditWnd::PlacementRect() const
{
    CUIRect rc = ComputeEditRect();
    if (m_layered && m_manager != nullptr) {
        RECT window;
        GetWindowRect(m_manager->WindowHandle(), &window);
        rc.left += window.left;
        rc.right += window.left;
        rc.top += window.top - 1;
        rc.bottom += window.top - 1;
    }
    return rc;
}

bool CEditWnd::Init(CEditUI* owner)
{
    m_owner = owner;
    m_manager = owner != nullptr ? owner->GetPaintManager() : nullptr;
    if (m_manager == nullptr || m_manager->WindowHandle() == nullptr) return false;
    m_layered = m_manager->IsLayeredMode();

    DWORD style = m_layered ? (WS_POPUP | WS_VISIBLE | ES_AUTOHSCROLL) : (WS_CHILD | ES_AUTOHSCROLL);
    const UINT textStyle = owner->GetTextStyle();
    if (textStyle & DT_CENTER) style |= ES_CENTER;
    else if (textStyle & DT_RIGHT) style |= ES_RIGHT;
    if (owner->IsPasswordMode()) style |= ES_PASSWORD;
    if (CreateNativeWindowInRect(m_manager->WindowHandle(), nullptr, style, 0, PlacementRect()) == nullptr) {
        return false;
    }

    SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(ResolveFontHandle(*m_manager, owner->GetFont())),
                 TRUE);
    SendMessageW(m_window, EM_LIMITTEXT, owner->GetMaxChar(), 0);
    if (owner->IsPasswordMode()) SendMessageW(m_window, EM_SETPASSWORDCHAR, owner->GetPasswordChar(), 0);
    SetWindowTextW(m_window, owner->GetTextContent());
    SendMessageW(m_window, EM_SETMODIFY, FALSE, 0);
    SendMessageW(m_window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    EnableWindow(m_window, owner->GetEnabledState() ? TRUE : FALSE);
    SendMessageW(m_window, EM_SETREADONLY, owner->IsReadOnly() ? TRUE : FALSE, 0);
    SetWindowLongW(m_window, GWL_STYLE, GetWindowLongW(m_window, GWL_STYLE) | owner->GetNativeStyleBits());
    ShowWindow(m_window, SW_SHOWNOACTIVATE);
    SetFocus(m_window);

    const int length = GetWindowTextLengthW(m_window);
    if (owner->IsAutoSelectAll()) SendMessageW(m_window, EM_SETSEL, 0, length > 0 ? length : 1);
    else SendMessageW(m_window, EM_SETSEL, length, length);

    // Gone already (destroyed by a handler of the messages above): stay closed.
    if (m_window == nullptr) return false;
    m_initialised = true;
    ++g_liveWindows;
    return true;
}

void CEditWnd::DetachOwnerAndDestroy()
{
    m_owner = nullptr;
    if (m_window != nullptr) DestroyWindow(m_window);
}

void CEditWnd::Notify(const wchar_t* type)
{
    if (m_owner != nullptr && m_manager != nullptr) m_manager->SendNotification(m_owner, type, 0, 0, false);
}

LRESULT CEditWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS:
        return HandleFocusLoss(message, wParam, lParam);
    case kReflect + WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE) return HandleTextChange();
        if (HIWORD(wParam) == EN_UPDATE) InvalidateRect(m_window, nullptr, FALSE);
        return 0;
    case WM_KEYDOWN:
        for (const TKeyNotification& entry : kKeyNotifications) {
            if (LOWORD(wParam) != entry.key) continue;
            Notify(entry.notification);
            return 0;
        }
        if (LOWORD(wParam) == VK_ESCAPE && m_owner != nullptr) {
            // Typing is cancelled: the box holds what the program wrote, so
            // neither Enter nor a focus loss finds anything to take.
            m_owner->DropTyping();
            SendMessageW(m_window, EM_SETSEL, 0, -1);
            return 0;
        }
        if (LOWORD(wParam) == VK_TAB) {
            if (m_layered && m_manager != nullptr) m_manager->FocusNextTabStop(true);
            return 0;
        }
        break;
    case kReflect + WM_CTLCOLOREDIT:
    case kReflect + WM_CTLCOLORSTATIC:
        return HandleColor(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

LRESULT CEditWnd::HandleFocusLoss(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CWindowWnd::ProcessMessage(message, wParam, lParam);
    PostMessageW(m_window, WM_CLOSE, 0, 0);
    return result;
}

LRESULT CEditWnd::HandleTextChange()
{
    if (!m_initialised || m_owner == nullptr) return 0;
    const int length = GetWindowTextLengthW(m_window) + 1;
    std::vector<wchar_t> text(static_cast<size_t>(length), L'\0');
    GetWindowTextW(m_window, text.data(), length);
    m_owner->m_text = text.data();
    if (m_layered) m_owner->RequestRepaint();
    Notify(L"textchanged");
    return 0;
}

LRESULT CEditWnd::HandleColor(HDC dc)
{
    if (m_owner == nullptr || m_manager == nullptr) return 0;
    const DWORD back = m_owner->GetNativeBkColor();
    if (back == 0xFFFFFFFF) return 0;

    SetBkMode(dc, TRANSPARENT);
    const DWORD text = m_owner->GetTextColor();
    ::SetTextColor(dc, RGB((text >> 16) & 0xFF, (text >> 8) & 0xFF, text & 0xFF));

    if (back < 0xFF000000) {
        // Show what lies behind the box, washed with the colour.
        DeleteBrush();
        RECT rc;
        GetWindowRect(m_window, &rc);
        MapWindowPoints(HWND_DESKTOP, m_manager->WindowHandle(), reinterpret_cast<POINT*>(&rc), 2);
        HBITMAP behind = CRenderKit::RenderRootToBitmap(m_manager, rc, m_owner, back);
        if (behind != nullptr) {
            m_brush = CreatePatternBrush(behind);
            DeleteObject(behind);
            if (m_brush != nullptr) ++g_liveBrushes;
        }
    } else if (m_brush == nullptr) {
        m_brush = CreateSolidBrush(RGB((back >> 16) & 0xFF, (back >> 8) & 0xFF, back & 0xFF));
        if (m_brush != nullptr) ++g_liveBrushes;
    }
    return reinterpret_cast<LRESULT>(m_brush);
}

void CEditWnd::OnFinalWindowMessage(HWND window)
{
    if (m_owner != nullptr) m_owner->RequestRepaint();
    DeleteBrush();
    if (m_layered && m_manager != nullptr) m_manager->UnregisterNativeWindow(window);
    if (m_owner != nullptr && m_owner->m_window == this) m_owner->m_window = nullptr;
    m_owner = nullptr;
    if (!m_initialised) return;
    --g_liveWindows;
    delete this;
}

} // namespace SkinUI
