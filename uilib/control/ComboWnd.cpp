#include "uilib/control/ComboWnd.h"

#include "uilib/control/Combo.h"
#include "uilib/control/ListInterfaces.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/ShadowWindow.h"
#include "uilib/layout/VerticalLayout.h"

namespace SkinUI {

namespace {

// Room below the rows, in skin pixels.
const int kDropBoxMargin = 4;

} // namespace

CComboWnd::CComboWnd()
    : m_owner(nullptr),
      m_layout(nullptr),
      m_oldSelection(-1),
      m_hitItem(false),
      m_rowsReturned(false),
      m_depth(0),
      m_deletePending(false)
{
}

CComboWnd::~CComboWnd() = default;

const wchar_t* CComboWnd::GetWndClassName() const
{
    return L"ComboWnd";
}

bool CComboWnd::Init(CComboUI* owner)
{
    m_layout = nullptr;
    m_hitItem = false;
    m_owner = owner;
    m_oldSelection = owner->GetSelectedIndex();

    // The box size, its inset and margin are skin pixels, as the rows are.
    const CUISize box(owner->Scaled(owner->GetDropBoxSize().cx), owner->Scaled(owner->GetDropBoxSize().cy));
    const CUIRect o = owner->GetPosition();
    RECT r = {o.left, o.bottom, box.cx > 0 ? o.left + box.cx : o.right, o.bottom + box.cy};
    const CUISize available(r.right - r.left, box.cy);
    int total = owner->Scaled(owner->GetDropBoxInset().top + kDropBoxMargin);
    for (int i = 0; i < owner->GetChildCount(); ++i) {
        CControlUI* child = owner->GetChildAt(i);
        if (child->GetVisibility()) total += child->MeasureDesiredSize(available).cy;
    }
    const int height = total < box.cy ? total : box.cy;
    r.bottom = r.top + height;

    CPaintManagerUI* ownerManager = owner->GetPaintManager();
    HWND ownerWindow = ownerManager != nullptr ? ownerManager->WindowHandle() : nullptr;
    MapWindowPoints(ownerWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(ownerWindow, MONITOR_DEFAULTTOPRIMARY), &monitor);
    if (r.bottom > monitor.rcWork.bottom) {
        r = RECT{o.left, o.top - height, box.cx > 0 ? o.left + box.cx : o.right, o.top};
        MapWindowPoints(ownerWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    }

    // Counted as handling: a creation that fails after the window existed
    // runs the final message, which then leaves the one deletion to us.
    ++m_depth;
    const HWND made = CreateNativeWindowInRect(ownerWindow, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, r);
    --m_depth;
    if (made == nullptr) {
        ReturnRows();
        delete this;
        return false;
    }
    ShowPopupOwnerActive();
    return true;
}

void CComboWnd::BuildDropDown()
{
    CPaintManagerUI* ownerManager = m_owner->GetPaintManager();
    m_pm.SetUseSharedImages(true);
    m_pm.AttachWindow(m_window);
    if (ownerManager != nullptr) m_pm.DpiScaler()->SetScaleFromDpi(ownerManager->DpiScaler()->GetDpiValue());
    m_pm.SetLayeredMode(true);

    m_layout = new CVerticalLayoutUI();
    m_layout->AttachManager(&m_pm, nullptr, true);
    const wchar_t* defaults = ownerManager != nullptr ? ownerManager->FindDefaultAttributes(L"VerticalLayout") : nullptr;
    if (defaults != nullptr) m_layout->ApplyAttributeList(defaults);
    m_layout->SetInsetRect(1, 1, 1, 1);
    m_layout->SetBackgroundColor(0xFFFFFFFF);
    m_layout->SetBorderLineColor(0xFFC6C7D2);
    m_layout->SetBorderLineWidth(1);
    // The rows stay the combo's; the layout only shows them.
    m_layout->SetOwnsChildren(false);
    m_layout->SetScrollBarsEnabled(true, false);
    m_layout->ApplyAttributeList(m_owner->GetDropBoxAttributes());
    for (int i = 0; i < m_owner->GetChildCount(); ++i) m_layout->AddChild(m_owner->GetChildAt(i));

    CShadowUI* ownShadow = m_pm.ShadowWindow();
    CShadowUI* ownerShadow = ownerManager != nullptr ? ownerManager->ShadowWindow() : nullptr;
    if (ownShadow != nullptr) {
        if (ownerShadow != nullptr) ownerShadow->CopySettingsTo(ownShadow);
        ownShadow->SetShown(m_owner->IsShowShadow());
    }
    m_pm.AttachRoot(m_layout);
    m_pm.RegisterNotifyReceiver(this);
}

void CComboWnd::ReturnRows()
{
    if (m_rowsReturned || m_owner == nullptr) return;
    m_rowsReturned = true;
    m_owner->AttachManager(m_owner->GetPaintManager(), m_owner->GetParentControl(), false);
    for (int i = 0; i < m_owner->GetChildCount(); ++i) m_owner->GetChildAt(i)->SetPosition(RECT{0, 0, 0, 0}, true);
}

void CComboWnd::CloseNow()
{
    ReturnRows();
    if (m_window != nullptr && IsWindow(m_window)) {
        DestroyWindow(m_window);
        return;
    }
    if (m_owner != nullptr) m_owner->OnDropDownClosed();
    delete this;
}

void CComboWnd::OnFinalWindowMessage(HWND)
{
    // Also reached when the owner's window is destroyed with the drop-down
    // open: the rows must not stay in this manager's tree.
    ReturnRows();
    if (m_owner != nullptr) m_owner->OnDropDownClosed();
    m_owner = nullptr;
    if (m_depth > 0) {
        m_deletePending = true;
        return;
    }
    delete this;
}

void CComboWnd::ReceiveNotify(TNotifyInfo& notify)
{
    if (notify.type == L"windowinit") EnsureVisible(m_oldSelection);
}

POINT CComboWnd::CursorInClient() const
{
    POINT pt = {0, 0};
    GetCursorPos(&pt);
    ScreenToClient(m_window, &pt);
    return pt;
}

bool CComboWnd::IsHitItem(POINT pt)
{
    CControlUI* control = m_pm.FindControlAtPoint(pt);
    if (control == nullptr || control->FindInterface(L"ScrollBar") != nullptr) return false;
    for (CControlUI* up = control; up != nullptr; up = up->GetParentControl()) {
        if (AsListItem(up) != nullptr) return true;
    }
    return false;
}

void CComboWnd::EnsureVisible(int index)
{
    if (m_owner == nullptr || m_layout == nullptr || m_owner->GetSelectedIndex() < 0) return;
    CControlUI* row = m_layout->GetChildAt(index);
    if (row == nullptr) return;
    const CUIRect item = row->GetPosition();
    CUIRect list = m_layout->GetPosition();
    CScrollBarUI* hbar = m_layout->GetHScrollBarControl();
    if (hbar != nullptr && hbar->GetVisibility()) list.bottom -= hbar->GetScaledFixedHeight();
    if (item.top >= list.top && item.bottom < list.bottom) return;
    int dy = 0;
    if (item.top < list.top) dy = item.top - list.top;
    if (item.bottom > list.bottom) dy = item.bottom - list.bottom;
    ScrollBy(0, dy);
}

void CComboWnd::ScrollBy(int dx, int dy)
{
    if ((dx == 0 && dy == 0) || m_layout == nullptr) return;
    const CUISize offset = m_layout->GetScrollOffset();
    m_layout->SetScrollOffset(CUISize(offset.cx + dx, offset.cy + dy), true);
}

void CComboWnd::OnKeyDown(WPARAM key)
{
    TEventInfo event;
    event.type = UIEVENT_KEYDOWN;
    event.keyChar = static_cast<uint16_t>(key);
    event.timestamp = GetTickCount();
    m_owner->HandleEvent(event);
    // The owner's handlers may have closed the drop-down.
    if (m_owner != nullptr) EnsureVisible(m_owner->GetSelectedIndex());
}

void CComboWnd::OnWheel(WPARAM wParam, LPARAM lParam)
{
    TEventInfo event;
    event.type = UIEVENT_SCROLLWHEEL;
    event.wParam = static_cast<short>(HIWORD(wParam)) < 0 ? 1 : 0;
    event.lParam = lParam;
    event.timestamp = GetTickCount();
    if (m_owner->IsScrollSelect()) {
        m_owner->HandleEvent(event);
        if (m_owner != nullptr) EnsureVisible(m_owner->GetSelectedIndex());
    } else if (m_layout != nullptr) {
        m_layout->HandleEvent(event);
    }
}

LRESULT CComboWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    ++m_depth;
    const LRESULT result = HandleMessage(message, wParam, lParam);
    --m_depth;
    if (m_depth == 0 && m_deletePending) delete this;
    return result;
}

LRESULT CComboWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        BuildDropDown();
        return 0;
    case WM_CLOSE:
        ReturnRows();
        if (m_owner != nullptr) m_owner->TakeFocus();
        break;
    case WM_LBUTTONDOWN:
        m_hitItem = IsHitItem(CursorInClient());
        break;
    case WM_LBUTTONUP:
        if (m_hitItem && IsHitItem(CursorInClient())) PostMessageW(m_window, WM_KILLFOCUS, 0, 0);
        m_hitItem = false;
        break;
    case WM_KEYDOWN:
        if (m_owner == nullptr) break;
        if (wParam == VK_RETURN) {
            PostMessageW(m_window, WM_KILLFOCUS, 0, 0);
        } else if (wParam == VK_ESCAPE) {
            m_owner->SelectSingleItem(m_oldSelection, true);
            EnsureVisible(m_oldSelection);
            if (m_window != nullptr) PostMessageW(m_window, WM_KILLFOCUS, 0, 0);
        } else {
            OnKeyDown(wParam);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (m_owner != nullptr) OnWheel(wParam, lParam);
        return 0;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_window) PostMessageW(m_window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
    LRESULT result = 0;
    if (m_window == nullptr) return result;
    if (m_pm.ProcessMessage(message, wParam, lParam, result)) return result;
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

} // namespace SkinUI
