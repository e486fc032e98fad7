#include "uilib/control/Menu.h"

#include <cwchar>

#include "uilib/control/ListBody.h"
#include "uilib/control/MenuElement.h"
#include "uilib/control/MenuList.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/ShadowWindow.h"

namespace SkinUI {

void CopyTextCut(wchar_t* destination, int capacity, const wchar_t* text)
{
    if (capacity <= 0) return;
    int n = 0;
    if (text != nullptr) {
        while (text[n] != L'\0' && n < capacity - 1) ++n;
        // Never leave the first half of a surrogate pair at the cut.
        if (text[n] != L'\0' && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
        wmemcpy(destination, text, static_cast<size_t>(n));
    }
    destination[n] = L'\0';
}

CMenuWnd::CMenuWnd()
    : m_closing(false),
      m_basePoint{0, 0},
      m_skinSource(L""),
      m_owner(nullptr),
      m_layout(nullptr),
      m_align(MenuAlignLeft | MenuAlignTop),
      m_notifyManager(nullptr),
      m_buildFailed(false),
      m_rowsReturned(false),
      m_creating(false),
      m_holder(nullptr)
{
}

CMenuWnd::~CMenuWnd()
{
    DetachFromObservers();
    if (m_owner != nullptr) m_owner->OnSubMenuClosed(this);
    if (m_holder != nullptr && *m_holder == this) *m_holder = nullptr;
}

MenuObserverImpl& CMenuWnd::GetMenuObserver()
{
    static MenuObserverImpl observer;
    return observer;
}

const wchar_t* CMenuWnd::GetWndClassName() const
{
    return L"SkinMenuWnd";
}

CMenuWnd* CMenuWnd::AsMenuWindow()
{
    return this;
}

CMenuUI* CMenuWnd::GetMenuRoot() const
{
    CControlUI* root = m_pm.Root();
    return root != nullptr ? static_cast<CMenuUI*>(root->FindInterface(L"Menu")) : nullptr;
}

// ---- check map -----------------------------------------------------------------

TMenuCheckInfo* CMenuWnd::SetMenuCheckInfo(const wchar_t* name, bool checked)
{
    CUIStringMap* map = GetMenuObserver().GetSharedMenuData();
    if (name == nullptr || name[0] == L'\0' || map == nullptr) return nullptr;
    TMenuCheckInfo* info = static_cast<TMenuCheckInfo*>(map->Lookup(name));
    if (info != nullptr) {
        info->checked = checked;
        return info;
    }
    info = new TMenuCheckInfo();
    CopyTextCut(info->name, TMenuCheckInfo::kNameChars, name);
    info->checked = checked;
    if (!map->InsertNew(name, info)) {
        delete info;
        return nullptr;
    }
    return info;
}

void CMenuWnd::ClearMenuCheckInfo()
{
    CUIStringMap* map = GetMenuObserver().GetSharedMenuData();
    if (map == nullptr) return;
    for (int i = 0; i < map->Count(); ++i) {
        const wchar_t* key = map->KeyAt(i);
        if (key != nullptr) delete static_cast<TMenuCheckInfo*>(map->Lookup(key, false));
    }
    map->RemoveAll();
}

void CMenuWnd::ForgetCheckMap(const CUIStringMap* checkMap)
{
    MenuObserverImpl& observer = GetMenuObserver();
    if (checkMap != nullptr && observer.GetSharedMenuData() == checkMap) observer.SetSharedMenuData(nullptr);
}

// ---- opening -------------------------------------------------------------------

bool CMenuWnd::Init(CMenuElementUI* owner, const wchar_t* skinSource, POINT point, CPaintManagerUI* notifyManager,
                    CUIStringMap* checkMap, uint32_t align)
{
    m_layout = nullptr;
    m_basePoint = point;
    m_skinSource = skinSource != nullptr ? skinSource : L"";
    m_owner = owner;
    m_align = align;
    m_notifyManager = notifyManager;
    MenuObserverImpl& observer = GetMenuObserver();
    HWND parent = nullptr;
    if (owner == nullptr) {
        // A top-level menu needs a window to belong and report to.
        if (notifyManager == nullptr || notifyManager->WindowHandle() == nullptr) {
            delete this;
            return false;
        }
        observer.SetNotifyManager(notifyManager);
        if (checkMap != nullptr) observer.SetSharedMenuData(checkMap);
        parent = notifyManager->WindowHandle();
    } else {
        CPaintManagerUI* ownerManager = owner->GetPaintManager();
        parent = ownerManager != nullptr ? ownerManager->WindowHandle() : nullptr;
    }
    observer.RegisterReceiver(this);

    const RECT empty = {0, 0, 0, 0};
    m_creating = true;
    const HWND made = CreateNativeWindowInRect(parent, nullptr, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, empty);
    m_creating = false;
    if (made == nullptr) {
        ReturnRows();
        delete this;
        return false;
    }
    if (m_buildFailed) {
        // The final message deletes the object.
        DestroyWindow(m_window);
        return false;
    }
    ShowPopupOwnerActive();
    return true;
}

void CMenuWnd::BuildSubMenu()
{
    LONG style = GetWindowLongW(m_window, GWL_STYLE);
    style &= ~WS_CAPTION;
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    SetWindowLongW(m_window, GWL_STYLE, style);
    RECT client;
    GetClientRect(m_window, &client);
    SetWindowPos(m_window, nullptr, client.left, client.top, client.right - client.left, client.bottom - client.top,
                 SWP_FRAMECHANGED);

    CPaintManagerUI* ownerManager = m_owner->GetPaintManager();
    m_pm.AttachWindow(m_window);
    if (ownerManager != nullptr) m_pm.DpiScaler()->SetScaleFromDpi(ownerManager->DpiScaler()->GetDpiValue());
    m_layout = new CMenuUI();
    m_pm.SetUseSharedImages(true);
    m_layout->AttachManager(&m_pm, nullptr, true);
    const wchar_t* defaults = ownerManager != nullptr ? ownerManager->FindDefaultAttributes(L"Menu") : nullptr;
    if (defaults != nullptr) {
        m_layout->ApplyAttributeList(defaults);
        // Passed on, so a sub-menu of this one looks the same; a copy, as
        // the store may replace the text it came from.
        const CUIString look(defaults);
        m_pm.SetDefaultAttributeList(L"Menu", look, false);
    }
    // Rows shown here that open a further level draw their arrow from here.
    const wchar_t* arrow = ownerManager != nullptr ? ownerManager->FindDefaultAttributes(L"ExplandIcon") : nullptr;
    if (arrow != nullptr) {
        const CUIString image(arrow);
        m_pm.SetDefaultAttributeList(L"ExplandIcon", image, false);
    }
    // The rows stay the parent row's; this menu only shows them.
    m_layout->GetBodyContainer()->SetOwnsChildren(false);
    for (int i = 0; i < m_owner->GetChildCount(); ++i) {
        CControlUI* row = m_owner->GetChildAt(i);
        if (!IsMenuElement(row)) continue;
        static_cast<CMenuElementUI*>(row)->SetListOwner(m_layout);
        m_layout->AddChild(row);
    }
    CShadowUI* shadow = m_pm.ShadowWindow();
    CShadowUI* ownerShadow = ownerManager != nullptr ? ownerManager->ShadowWindow() : nullptr;
    bool shown = false;
    if (shadow != nullptr) {
        if (ownerShadow != nullptr) ownerShadow->CopySettingsTo(shadow);
        shown = shadow->IsShown();
        shadow->SetShown(false);
    }
    m_pm.SetLayeredMode(ownerManager != nullptr && ownerManager->IsLayeredMode());
    m_pm.AttachRoot(m_layout);
    m_pm.RegisterNotifyReceiver(this);
    ResizeSubMenu();
    FinishBuild(shown);
}

bool CMenuWnd::BuildTopLevel()
{
    m_pm.AttachWindow(m_window);
    m_pm.DpiScaler()->SetScaleFromDpi(m_notifyManager->DpiScaler()->GetDpiValue());
    CDialogBuilder builder;
    CControlUI* root = builder.BuildFromSource(m_skinSource, nullptr, this, &m_pm);
    if (root == nullptr || root->FindInterface(L"Menu") == nullptr) {
        // A layout that is missing or holds no menu: no window is shown.
        delete root;
        return false;
    }
    CShadowUI* shadow = m_pm.ShadowWindow();
    bool shown = false;
    if (shadow != nullptr) {
        shown = shadow->IsShown();
        shadow->SetShown(false);
    }
    m_pm.AttachRoot(root);
    m_pm.RegisterNotifyReceiver(this);
    ResizeMenu();
    FinishBuild(shown);
    return true;
}

void CMenuWnd::FinishBuild(bool shadowShown)
{
    CMenuUI* root = GetMenuRoot();
    if (root != nullptr) root->SetMenuWindow(this);
    CShadowUI* shadow = m_pm.ShadowWindow();
    if (shadow != nullptr) {
        shadow->SetShown(shadowShown);
        shadow->AttachToWindow(&m_pm);
    }
}

CControlUI* CMenuWnd::CreateCustomControl(const wchar_t* className)
{
    if (CompareTextIgnoreCase(className, L"Menu") == 0) return new CMenuUI();
    if (CompareTextIgnoreCase(className, L"MenuElement") == 0) return new CMenuElementUI();
    return nullptr;
}

// ---- placement -----------------------------------------------------------------

void CMenuWnd::ResizeMenu()
{
    CControlUI* root = m_pm.Root();
    if (root == nullptr) return;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    CUISize size = root->MeasureDesiredSize(CUISize(work.right - work.left, work.bottom - work.top));
    m_pm.SetInitialSize(size.cx, size.cy);
    size = m_pm.InitialSize();
    CContainerUI* container = static_cast<CContainerUI*>(root->FindInterface(L"Container"));
    const CUIRect inset = container != nullptr ? container->GetScaledInsetRect() : CUIRect();
    const RECT r = PlaceTopLevelMenu(m_basePoint, size.cx, size.cy, inset.top + inset.bottom, m_align, work);
    SetForegroundWindow(m_window);
    MoveWindow(m_window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    SetWindowPos(m_window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW);
}

void CMenuWnd::ResizeSubMenu()
{
    if (m_owner == nullptr || m_layout == nullptr) return;
    CPaintManagerUI* ownerManager = m_owner->GetPaintManager();
    HWND ownerWindow = ownerManager != nullptr ? ownerManager->WindowHandle() : nullptr;
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor);

    TSubMenuPlacement in = {};
    in.work = monitor.rcWork;
    const CUISize available(in.work.right - in.work.left, in.work.bottom - in.work.top);
    const CUISize rows = m_layout->MeasureRows(*m_owner, available, &in.lastRowHeight);
    in.width = rows.cx;
    in.height = rows.cy;
    GetWindowRect(ownerWindow, &in.parentWindow);
    POINT rowTop = {m_owner->GetPosition().left, m_owner->GetPosition().top};
    ClientToScreen(ownerWindow, &rowTop);
    in.rowTop = rowTop.y;
    MenuObserverImpl::ReceiverIterator walk(GetMenuObserver());
    for (MenuReceiverImpl* receiver = walk.next(); receiver != nullptr; receiver = walk.next()) {
        CMenuWnd* menu = receiver->AsMenuWindow();
        if (menu == nullptr) continue;
        if (menu->m_window == ownerWindow) break;
        RECT other;
        GetWindowRect(menu->m_window, &other);
        in.reachRight = other.left >= in.parentWindow.right;
        in.reachBottom = other.top >= in.parentWindow.bottom;
        if (in.reachRight || in.reachBottom) break;
    }
    // As wide as a top-level menu of the same rows: cascaded levels of one
    // row width line up.
    in.width += kTopLevelMenuExtraWidth - kSubMenuExtraWidth;
    in.align = m_align;
    const RECT r = PlaceSubMenu(in);
    const CUIRect inset = m_layout->GetScaledInsetRect();
    MoveWindow(m_window, r.left, r.top, r.right - r.left, r.bottom - r.top + inset.top + inset.bottom, FALSE);
}

// ---- closing -------------------------------------------------------------------

void CMenuWnd::CloseMenu(UINT result)
{
    if (m_window == nullptr || !IsWindow(m_window)) return;
    PostMessageW(m_window, WM_CLOSE, static_cast<WPARAM>(result), 0);
    m_closing = true;
}

bool CMenuWnd::ReceiveBroadcast(const TMenuBroadcastInfo& info)
{
    if (info.code == UIMENU_CLOSE_ALL) {
        CloseMenu(1);
    } else if (info.code == UIMENU_CLOSE_DESCENDANTS) {
        for (HWND up = GetParent(m_window); up != nullptr; up = GetParent(up)) {
            if (up == info.window) {
                CloseMenu(1);
                break;
            }
        }
    }
    return true;
}

void CMenuWnd::ReturnRows()
{
    if (m_rowsReturned || m_owner == nullptr) return;
    m_rowsReturned = true;
    m_owner->AttachManager(m_owner->GetPaintManager(), m_owner->GetParentControl(), false);
    m_owner->SetPosition(m_owner->GetPosition(), true);
}

void CMenuWnd::OnFinalWindowMessage(HWND)
{
    DetachFromObservers();
    if (m_owner != nullptr) {
        // Also reached without WM_CLOSE when a parent menu goes first.
        ReturnRows();
        for (int i = 0; i < m_owner->GetChildCount(); ++i) {
            CControlUI* row = m_owner->GetChildAt(i);
            if (!IsMenuElement(row)) continue;
            static_cast<CMenuElementUI*>(row)->SetListOwner(m_owner->GetParentControl());
            row->SetVisibility(false);
            row->SetInheritedVisibility(false);
        }
    }
    if (m_creating) return;
    delete this;
}

bool CMenuWnd::IsMenuWindow(HWND window) const
{
    if (window == nullptr) return false;
    MenuObserverImpl::ReceiverIterator walk(GetMenuObserver());
    for (MenuReceiverImpl* receiver = walk.next(); receiver != nullptr; receiver = walk.next()) {
        CMenuWnd* menu = receiver->AsMenuWindow();
        if (menu != nullptr && menu->m_window == window) return true;
    }
    return false;
}

void CMenuWnd::ApplyRoundRegion()
{
    RECT rc;
    GetWindowRect(m_window, &rc);
    const CUISize round = m_pm.CornerRounding();
    HRGN region = CreateRoundRectRgn(0, 0, rc.right - rc.left + 1, rc.bottom - rc.top + 1, round.cx, round.cy);
    // The window owns the region from here on.
    if (region != nullptr && SetWindowRgn(m_window, region, TRUE) == 0) DeleteObject(region);
}

void CMenuWnd::ReceiveNotify(TNotifyInfo& notify)
{
    CPaintManagerUI* target = GetMenuObserver().GetNotifyManager();
    if (target != nullptr && (notify.type == L"click" || notify.type == L"valuechanged"))
        target->SendNotificationRecord(notify, false);
}

LRESULT CMenuWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (m_owner != nullptr)
            BuildSubMenu();
        else
            m_buildFailed = !BuildTopLevel();
        break;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) ApplyRoundRegion();
        break;
    case WM_KILLFOCUS:
        if (!IsMenuWindow(reinterpret_cast<HWND>(wParam)))
            GetMenuObserver().BroadcastToReceivers(TMenuBroadcastInfo{UIMENU_CLOSE_ALL, m_window});
        break;
    case WM_CLOSE:
        if (m_owner != nullptr) {
            ReturnRows();
            m_owner->TakeFocus();
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE || wParam == VK_LEFT) CloseMenu(1);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_CONTEXTMENU:
        return 0;
    default:
        break;
    }
    if (message == WM_CREATE && m_buildFailed) return 0;
    LRESULT result = 0;
    if (m_pm.ProcessMessage(message, wParam, lParam, result)) return result;
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

} // namespace SkinUI
