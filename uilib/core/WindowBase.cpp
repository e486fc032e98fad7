#include "uilib/core/WindowBase.h"

#include <cwchar>
#include <iterator>
#include <vector>

#include "uilib/control/Edit.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/UIControl.h"

namespace SkinUI {

namespace {

const wchar_t kSuperclassProperty[] = L"WndX";
// "Failed to load the resource file: " as the program has always shown it.
const wchar_t kSkinLoadFailed[] = L"\u52A0\u8F7D\u8D44\u6E90\u6587\u4EF6\u5931\u8D25\uFF1A";

HINSTANCE ProgramInstance()
{
    HINSTANCE instance = CPaintManagerUI::ProgramInstance();
    return instance != nullptr ? instance : GetModuleHandleW(nullptr);
}

// A caption drag runs the system's move loop nested in whichever loop took
// the press. A modal window opened during the drag takes the drag's
// button-up, and the move loop would then wait under it for one that never
// comes, holding every modal loop below it (and their owners disabled).
// Each move loop is noted with the number of modal loops it ran inside, per
// thread, as both kinds of loop belong to the thread that runs them. Only
// RunModal is counted: a system modal loop (message box, file dialog, popup
// menu) opened during a drag is not, nor a superclassed window's move loop.
struct SizeMoveLoop {
    HWND window;
    int modalDepth;
};
thread_local std::vector<SizeMoveLoop> g_sizeMoveLoops;
thread_local int g_modalDepth = 0;

// The modal loops of the thread, innermost last. A window's close taken by a
// loop nested in its own (a loading window opened meanwhile) still gives its
// own loop the answer it closed with.
struct ModalLoop {
    HWND window;
    const CWindowWnd* object;
    UINT* result;
};
thread_local std::vector<ModalLoop> g_modalLoops;

// The loop of window, when it runs one and takes its close.
ModalLoop* LoopTakingClose(HWND window)
{
    for (ModalLoop& loop : g_modalLoops)
        if (loop.window == window && IsWindow(window) && loop.object->TakesClose()) return &loop;
    return nullptr;
}

void NoteSizeMove(HWND window, UINT message)
{
    if (message == WM_ENTERSIZEMOVE) {
        g_sizeMoveLoops.push_back({window, g_modalDepth});
        return;
    }
    if (message != WM_EXITSIZEMOVE && message != WM_NCDESTROY) return;
    for (auto it = g_sizeMoveLoops.rbegin(); it != g_sizeMoveLoops.rend(); ++it) {
        if (it->window != window) continue;
        g_sizeMoveLoops.erase(std::next(it).base());
        // A window destroyed in its move loop never sees WM_EXITSIZEMOVE, and
        // the loop waits for a button-up that may never reach it (the press
        // was on a window that is gone): it gets one now, or the box that
        // takes it hands it down when it closes.
        if (message == WM_NCDESTROY) PostMessageW(nullptr, WM_LBUTTONUP, 0, 0);
        break;
    }
}

// Move loops begun at `depth` or deeper (records keep the order of nesting).
void DropSizeMovesFrom(int depth)
{
    while (!g_sizeMoveLoops.empty() && g_sizeMoveLoops.back().modalDepth >= depth) g_sizeMoveLoops.pop_back();
}

// A modal loop back at `depth` has ended: move loops begun inside it are
// over. Answers whether one it interrupted is still waiting for its
// button-up, with the button already up.
bool SizeMoveWaitsBelow(int depth)
{
    DropSizeMovesFrom(depth + 1);
    if (g_sizeMoveLoops.empty() || g_sizeMoveLoops.back().modalDepth != depth) return false;
    if (GetKeyState(VK_LBUTTON) < 0) return false;
    g_sizeMoveLoops.pop_back();
    return true;
}

// The button-up a move loop below waits for goes to the thread, as the
// dragged window may have gone; a modal loop that meets it hands it down.
bool IsHandedDownButtonUp(const MSG& msg) { return msg.hwnd == nullptr && msg.message == WM_LBUTTONUP; }

} // namespace

void CWindowWnd::EndReturnedMoveLoops()
{
    DropSizeMovesFrom(g_modalDepth);
}

// ---------------------------------------------------------------- CWindowWnd

CWindowWnd::CWindowWnd() : m_window(nullptr), m_previousProc(DefWindowProcW), m_subclassed(false) {}

const wchar_t* CWindowWnd::GetSuperclassSource() const
{
    return nullptr;
}

UINT CWindowWnd::GetWndClassStyle() const
{
    return 0;
}

LRESULT CWindowWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(m_previousProc, m_window, message, wParam, lParam);
}

void CWindowWnd::OnFinalWindowMessage(HWND /*window*/) {}

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSW wc = {};
    wc.style = GetWndClassStyle();
    wc.lpfnWndProc = &CWindowWnd::WindowProc;
    wc.hInstance = ProgramInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWndClassName();
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, GetSuperclassSource(), &wc) &&
        !GetClassInfoExW(ProgramInstance(), GetSuperclassSource(), &wc)) {
        return false;
    }
    m_previousProc = wc.lpfnWndProc;
    wc.lpfnWndProc = &CWindowWnd::SuperclassProc;
    wc.hInstance = ProgramInstance();
    wc.lpszClassName = GetWndClassName();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::CreateNativeWindow(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y,
                                    int width, int height, HMENU menu)
{
    const bool registered = GetSuperclassSource() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!registered) return nullptr;
    m_window = CreateWindowExW(exStyle, GetWndClassName(), name, style, x, y, width, height, parent, menu,
                               ProgramInstance(), this);
    return m_window;
}

HWND CWindowWnd::CreateNativeWindowInRect(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle,
                                          const RECT& rc, HMENU menu)
{
    return CreateNativeWindow(parent, name, style, exStyle, rc.left, rc.top, rc.right - rc.left,
                              rc.bottom - rc.top, menu);
}

void CWindowWnd::ShowNative(bool show, bool takeFocus)
{
    if (m_window == nullptr || !IsWindow(m_window)) return;
    ShowWindow(m_window, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void CWindowWnd::ShowPopupOwnerActive()
{
    HWND top = m_window;
    for (HWND up = GetParent(top); up != nullptr; up = GetParent(up)) top = up;
    ShowWindow(m_window, SW_SHOW);
    SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
}

UINT CWindowWnd::RunModalPopup(HWND parent, const wchar_t* name)
{
    // A creation that failed after the window's last message has already
    // deleted a self-owning object: nothing of it may be touched then.
    if (CreateNativeWindow(parent, name, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) return 0;
    CenterOverOwner();
    return RunModal();
}

UINT CWindowWnd::RunModal()
{
    // Everything the loop needs lives here: the window may delete its object
    // on its last message, after which no member may be touched.
    const HWND window = m_window;
    if (window == nullptr || !IsWindow(window)) return 0;
    const HWND owner = GetWindow(window, GW_OWNER);
    ShowWindow(window, SW_SHOWNORMAL);
    // EnableWindow answers whether the owner was disabled before.
    const bool ownerWasEnabled = owner != nullptr && !EnableWindow(owner, FALSE);
    const int depth = g_modalDepth++;
    UINT result = 0;
    g_modalLoops.push_back({window, this, &result});
    bool quit = false;
    bool handDown = false;
    MSG msg = {};
    while (IsWindow(window)) {
        EndReturnedMoveLoops();
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got == -1) break;
        if (IsHandedDownButtonUp(msg)) {
            handDown = true;
            continue;
        }
        if (msg.message == WM_MOUSEWHEEL && owner != nullptr && msg.hwnd == owner) continue;
        // A close the window refuses leaves its owner disabled.
        ModalLoop* closing = msg.message == WM_CLOSE ? LoopTakingClose(msg.hwnd) : nullptr;
        if (closing != nullptr) *closing->result = static_cast<UINT>(msg.wParam);
        if (closing != nullptr && msg.hwnd == window && ownerWasEnabled) {
            EnableWindow(owner, TRUE);
            SetFocus(owner);
        }
        if (!CPaintManagerUI::TranslateQueuedMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    g_modalDepth = depth;
    g_modalLoops.pop_back();
    if (SizeMoveWaitsBelow(depth) || handDown) PostMessageW(nullptr, WM_LBUTTONUP, 0, 0);
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return result;
}

void CWindowWnd::PostClose(UINT code)
{
    if (m_window == nullptr || !IsWindow(m_window)) return;
    m_closeAsked = true;
    PostMessageW(m_window, WM_CLOSE, code, 0);
}

void CWindowWnd::CenterOverOwner()
{
    if (m_window == nullptr) return;
    RECT rc;
    GetWindowRect(m_window, &rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    const HWND owner = GetWindow(m_window, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : m_window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT area = work;
    WINDOWPLACEMENT place = {};
    place.length = sizeof(place);
    if (owner != nullptr && IsIconic(owner) && GetWindowPlacement(owner, &place)) {
        // A minimised owner's rectangle is its icon's: the window goes where
        // the owner stands again once restored (kept in work-area terms).
        area = place.rcNormalPosition;
        OffsetRect(&area, work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top);
    } else if (owner != nullptr) {
        GetWindowRect(owner, &area);
    }
    int x = (area.left + area.right) / 2 - width / 2;
    int y = (area.top + area.bottom) / 2 - height / 2;
    if (x < work.left) x = work.left;
    else if (x + width > work.right) x = work.right - width;
    if (y < work.top) y = work.top;
    else if (y + height > work.bottom) y = work.bottom - height;
    SetWindowPos(m_window, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetClientAreaSize(int cx, int cy)
{
    if (m_window == nullptr) return;
    RECT rc;
    if (!GetClientRect(m_window, &rc)) return;
    if (cx != -1) rc.right = cx;
    if (cy != -1) rc.bottom = cy;
    const LONG style = GetWindowLongW(m_window, GWL_STYLE);
    const bool hasMenu = !(style & WS_CHILD) && GetMenu(m_window) != nullptr;
    if (!AdjustWindowRectEx(&rc, style, hasMenu, GetWindowLongW(m_window, GWL_EXSTYLE))) return;
    SetWindowPos(m_window, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWindowWnd::PostToWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostMessageW(m_window, message, wParam, lParam) != FALSE;
}

LRESULT CWindowWnd::SendToWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(m_window, message, wParam, lParam);
}

void CWindowWnd::Unsubclass()
{
    if (m_window == nullptr || !IsWindow(m_window) || !m_subclassed) return;
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    m_previousProc = DefWindowProcW;
    m_subclassed = false;
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    NoteSizeMove(window, message);
    CWindowWnd* object;
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        object = static_cast<CWindowWnd*>(create->lpCreateParams);
        object->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    } else {
        object = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY && object != nullptr) {
            const LRESULT result = CallWindowProcW(object->m_previousProc, window, message, wParam, lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return object->ReleaseWindow(window, result);
        }
    }
    if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return object->ProcessMessage(message, wParam, lParam);
}

LRESULT CWindowWnd::ReleaseWindow(HWND window, LRESULT result)
{
    if (m_subclassed) Unsubclass();
    m_window = nullptr;
    OnFinalWindowMessage(window);
    return result;
}

LRESULT CALLBACK CWindowWnd::SuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* object;
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        object = static_cast<CWindowWnd*>(create->lpCreateParams);
        object->m_window = window;
        SetPropW(window, kSuperclassProperty, object);
    } else {
        object = static_cast<CWindowWnd*>(GetPropW(window, kSuperclassProperty));
        if (message == WM_NCDESTROY && object != nullptr) {
            const LRESULT result = CallWindowProcW(object->m_previousProc, window, message, wParam, lParam);
            RemovePropW(window, kSuperclassProperty);
            return object->ReleaseWindow(window, result);
        }
    }
    if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return object->ProcessMessage(message, wParam, lParam);
}

// --------------------------------------------------------------- CNotifyPump

namespace {

const TNotifyMapEntry kPumpEntries[] = {
    {nullptr, nullptr, UINOTIFY_END, nullptr, nullptr},
};

const TNotifyMap kPumpMap = {nullptr, kPumpEntries};

} // namespace

CNotifyPump::CNotifyPump() : m_virtualWindows(CUIStringMap::kDefaultBuckets) {}

const TNotifyMap* CNotifyPump::GetNotifyMap() const
{
    return &kPumpMap;
}

bool CNotifyPump::RegisterVirtualWindow(const wchar_t* name, CNotifyPump* pump)
{
    if (name == nullptr || pump == nullptr) return false;
    return m_virtualWindows.InsertNew(name, pump);
}

bool CNotifyPump::DispatchNotify(TNotifyInfo& notify)
{
    if (!notify.virtualWindow.IsEmpty()) {
        for (int i = 0; i < m_virtualWindows.Count(); ++i) {
            const wchar_t* key = m_virtualWindows.KeyAt(i);
            if (key == nullptr || notify.virtualWindow.CompareIgnoreCase(key) != 0) continue;
            CNotifyPump* pump = static_cast<CNotifyPump*>(m_virtualWindows.Lookup(key, false));
            if (pump != nullptr && pump->DispatchToMap(notify)) return true;
        }
    }
    return DispatchToMap(notify);
}

bool CNotifyPump::DispatchToMap(TNotifyInfo& notify)
{
    for (const TNotifyMap* map = GetNotifyMap(); map != nullptr; map = map->base) {
        const TNotifyMapEntry* entry = FindMapEntry(map->entries, notify);
        if (entry == nullptr) continue;
        if (entry->signature == UINOTIFY_PARAMS && entry->paramHandler != nullptr) {
            entry->paramHandler(this, notify.wParam, notify.lParam);
            return true;
        }
        if (entry->signature == UINOTIFY_RECORD && entry->recordHandler != nullptr) {
            entry->recordHandler(this, notify);
            return true;
        }
        return false;
    }
    return false;
}

const TNotifyMapEntry* CNotifyPump::FindMapEntry(const TNotifyMapEntry* entries, const TNotifyInfo& notify)
{
    if (entries == nullptr) return nullptr;
    const CUIString sender = notify.sender != nullptr ? notify.sender->GetControlName() : CUIString();
    const TNotifyMapEntry* anyControl = nullptr;
    for (const TNotifyMapEntry* entry = entries; entry->signature != UINOTIFY_END; ++entry) {
        if (entry->type == nullptr || notify.type != entry->type) continue;
        const wchar_t* control = entry->controlName != nullptr ? entry->controlName : L"";
        if (control[0] == L'\0') {
            anyControl = entry;
        } else if (sender == control) {
            return entry;
        }
    }
    return anyControl;
}

// ----------------------------------------------------------- WindowImplBase

namespace {

void OnClickThunk(CNotifyPump* pump, TNotifyInfo& notify)
{
    static_cast<WindowImplBase*>(pump)->OnControlClick(notify);
}

const TNotifyMapEntry kWindowEntries[] = {
    {L"click", L"", UINOTIFY_RECORD, nullptr, &OnClickThunk},
    {nullptr, nullptr, UINOTIFY_END, nullptr, nullptr},
};

const TNotifyMap kWindowMap = {&kPumpMap, kWindowEntries};

// Control classes a press may drag the window by.
const wchar_t* const kCaptionClasses[] = {
    L"controlui",  L"textui",     L"labelui",    L"containerui",    L"horizontallayoutui",
    L"verticallayoutui", L"tablayoutui", L"childlayoutui", L"dialoglayoutui", L"progresscontainerui",
};

bool IsCaptionClass(const wchar_t* typeName)
{
    CUIString lower(typeName);
    lower.ToLower();
    for (const wchar_t* name : kCaptionClasses) {
        if (lower == name) return true;
    }
    return false;
}

} // namespace

const TNotifyMap* WindowImplBase::GetNotifyMap() const
{
    return &kWindowMap;
}

UINT WindowImplBase::GetWndClassStyle() const
{
    return CS_DBLCLKS;
}

CUIString WindowImplBase::GetSkinDirectory() const
{
    return CUIString();
}

const wchar_t* WindowImplBase::GetPaintManagerName() const
{
    return nullptr;
}

bool WindowImplBase::HandleDefaultKey(WPARAM key)
{
    return key == VK_ESCAPE;
}

LONG WindowImplBase::GetFrameStyle() const
{
    return GetWindowLongW(m_window, GWL_STYLE) & ~WS_CAPTION;
}

void WindowImplBase::ReceiveNotify(TNotifyInfo& notify)
{
    DispatchNotify(notify);
}

LRESULT WindowImplBase::PreFilterMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, bool& /*handled*/)
{
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) HandleDefaultKey(wParam);
    return 0;
}

CControlUI* WindowImplBase::CreateCustomControl(const wchar_t* /*className*/)
{
    return nullptr;
}

const wchar_t* WindowImplBase::LookupControlText(const wchar_t* /*key*/, const wchar_t* /*type*/)
{
    return nullptr;
}

void WindowImplBase::OnControlClick(TNotifyInfo& notify)
{
    const CUIString name = notify.sender != nullptr ? notify.sender->GetControlName() : CUIString();
    if (name == L"closebtn") {
        PostClose(1);
    } else if (name == L"minbtn") {
        SendMessageW(m_window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == L"maxbtn") {
        SendMessageW(m_window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == L"restorebtn") {
        SendMessageW(m_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

bool WindowImplBase::IsCaptionControl(CControlUI* control)
{
    if (control == nullptr) return false;
    for (CControlUI* c = control; c != nullptr; c = c->GetParentControl()) {
        if (!IsCaptionClass(c->GetTypeName())) return false;
    }
    return true;
}

#define SKINUI_NOT_HANDLED(name)                                                                     \
    LRESULT WindowImplBase::name(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& handled) \
    {                                                                                                \
        handled = false;                                                                             \
        return 0;                                                                                    \
    }

SKINUI_NOT_HANDLED(HandleClose)
SKINUI_NOT_HANDLED(HandleDestroy)
SKINUI_NOT_HANDLED(HandleMouseWheel)
SKINUI_NOT_HANDLED(HandleMouseHover)
SKINUI_NOT_HANDLED(HandleChar)
SKINUI_NOT_HANDLED(HandleKeyDown)
SKINUI_NOT_HANDLED(HandleKillFocus)
SKINUI_NOT_HANDLED(HandleSetFocus)
SKINUI_NOT_HANDLED(HandleLButtonDown)
SKINUI_NOT_HANDLED(HandleLButtonUp)
SKINUI_NOT_HANDLED(HandleMouseMove)
SKINUI_NOT_HANDLED(HandleOtherMessage)

#undef SKINUI_NOT_HANDLED

LRESULT WindowImplBase::HandleNcActivate(UINT /*message*/, WPARAM wParam, LPARAM /*lParam*/, bool& handled)
{
    if (IsIconic(m_window)) {
        handled = false;
        return 0;
    }
    return wParam == 0 ? 1 : 0;
}

LRESULT WindowImplBase::HandleNcCalcSize(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& /*handled*/)
{
    return 0;
}

LRESULT WindowImplBase::HandleNcPaint(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& /*handled*/)
{
    return 0;
}

LRESULT WindowImplBase::HandleNcHitTest(UINT /*message*/, WPARAM /*wParam*/, LPARAM lParam, bool& /*handled*/)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(m_window, &pt);
    RECT client;
    GetClientRect(m_window, &client);
    if (!IsZoomed(m_window)) {
        const CUIRect box = m_pm.SizeBox();
        const bool left = pt.x < client.left + box.left;
        const bool right = pt.x > client.right - box.right;
        if (pt.y < client.top + box.top) {
            if (left) return HTTOPLEFT;
            if (right) return HTTOPRIGHT;
            return HTTOP;
        }
        if (pt.y > client.bottom - box.bottom) {
            if (left) return HTBOTTOMLEFT;
            if (right) return HTBOTTOMRIGHT;
            return HTBOTTOM;
        }
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    const CUIRect caption = m_pm.ScaledCaptionRect();
    // -1 asks for the full height; scaled, it may come out as another negative.
    const int bottom = caption.bottom < 0 ? client.bottom : caption.bottom;
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
        pt.y < bottom) {
        if (IsCaptionControl(m_pm.FindControlAtPoint(pt))) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::HandleGetMinMaxInfo(UINT /*message*/, WPARAM /*wParam*/, LPARAM lParam, bool& /*handled*/)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    CUIRect work = monitor.rcWork;
    if (!(monitor.dwFlags & MONITORINFOF_PRIMARY)) work.MoveToOrigin();
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMaxPosition.x = work.left;
    info->ptMaxPosition.y = work.top;
    info->ptMaxSize.x = work.Width();
    info->ptMaxSize.y = work.Height();
    const CUISize maxTrack = m_pm.MaxTrackSize();
    info->ptMaxTrackSize.x = maxTrack.cx != 0 ? maxTrack.cx : work.Width();
    info->ptMaxTrackSize.y = maxTrack.cy != 0 ? maxTrack.cy : work.Height();
    const CUISize minTrack = m_pm.ScaledMinTrackSize();
    info->ptMinTrackSize.x = minTrack.cx;
    info->ptMinTrackSize.y = minTrack.cy;
    return 0;
}

LRESULT WindowImplBase::HandleSize(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& handled)
{
    if (!IsIconic(m_window)) {
        RECT rc;
        GetWindowRect(m_window, &rc);
        OffsetRect(&rc, -rc.left, -rc.top);
        const CUISize round = m_pm.CornerRounding();
        HRGN region = CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, round.cx, round.cy);
        if (region != nullptr) {
            // The window owns the region once set.
            if (!SetWindowRgn(m_window, region, TRUE)) DeleteObject(region);
        }
    }
    handled = false;
    return 0;
}

void WindowImplBase::SyncMaximizeButtons(bool maximized)
{
    CControlUI* maxButton = m_pm.FindControlByName(L"maxbtn");
    CControlUI* restoreButton = m_pm.FindControlByName(L"restorebtn");
    if (maxButton != nullptr) maxButton->SetVisibility(!maximized);
    if (restoreButton != nullptr) restoreButton->SetVisibility(maximized);
}

LRESULT WindowImplBase::HandleSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& /*handled*/)
{
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(m_window, WM_CLOSE, 0, 0);
        return 0;
    }
    const bool wasZoomed = IsZoomed(m_window) != FALSE;
    const LRESULT result = CWindowWnd::ProcessMessage(message, wParam, lParam);
    const bool zoomed = IsZoomed(m_window) != FALSE;
    if (wasZoomed != zoomed) SyncMaximizeButtons(zoomed);
    return result;
}

LRESULT WindowImplBase::HandleCreate(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& /*handled*/)
{
    LONG style = GetWindowLongW(m_window, GWL_STYLE);
    style &= ~WS_CAPTION;
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    SetWindowLongW(m_window, GWL_STYLE, style);

    m_pm.AttachWindow(m_window, GetPaintManagerName());
    m_pm.RegisterPreMessageFilter(this);

    CDialogBuilder builder;
    const CUIString directory = GetSkinDirectory();
    const CUIString xmlName = GetSkinXmlName();
    CControlUI* root;
    if (!directory.IsEmpty()) {
        const WORD id = static_cast<WORD>(ParseAttrInt(xmlName) & 0xFFFF);
        root = builder.BuildFromSource(MAKEINTRESOURCEW(id), directory, this, &m_pm);
    } else {
        root = builder.BuildFromSource(xmlName, nullptr, this, &m_pm);
    }
    if (root == nullptr) {
        CUIString text(kSkinLoadFailed);
        text += xmlName;
        MessageBoxW(nullptr, text, L"SkinUI", MB_OK | MB_ICONERROR);
        ExitProcess(1);
    }
    m_pm.AttachRoot(root);
    m_pm.RegisterNotifyReceiver(this);
    OnUiBuilt();
    return 0;
}

namespace {

// wParam: 1 after a window over this one closed, 0 at the start.
UINT KeysUntakenMessage()
{
    static const UINT message = RegisterWindowMessageW(L"SkinUI.KeysUntaken");
    return message;
}

UINT KeysRetakenMessage()
{
    static const UINT message = RegisterWindowMessageW(L"SkinUI.KeysRetaken");
    return message;
}

// Posted as this window is shown again from minimised, once the restore has
// put it on top.
UINT OwnedForwardMessage()
{
    static const UINT message = RegisterWindowMessageW(L"SkinUI.OwnedForward");
    return message;
}

struct TOwnedSearch {
    HWND owner;
    std::vector<HWND>* owned;  // topmost first
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM data)
{
    const TOwnedSearch& search = *reinterpret_cast<const TOwnedSearch*>(data);
    // A shadow beside its frame takes no input and stays under it.
    if (!IsWindowVisible(window) || (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0) return TRUE;
    for (HWND up = GetWindow(window, GW_OWNER); up != nullptr; up = GetWindow(up, GW_OWNER)) {
        if (up != search.owner) continue;
        search.owned->push_back(window);
        break;
    }
    return TRUE;
}

} // namespace

void WindowImplBase::BringOwnedForward()
{
    std::vector<HWND> owned;
    TOwnedSearch search = {m_window, &owned};
    EnumThreadWindows(GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&search));
    // From the lowest up, so that they keep their order among themselves.
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The modal window holding this one takes the keys.
    if (!owned.empty() && !IsWindowEnabled(m_window)) SetActiveWindow(owned.front());
}

void WindowImplBase::DropFirstFocus()
{
    PostMessageW(m_window, KeysUntakenMessage(), 0, 0);
}

void WindowImplBase::TakeKeysFromControls(bool afterCover)
{
    // A window opened over this one meanwhile asks again when it closes.
    if (!IsWindowEnabled(m_window)) return;
    if (!afterCover) {
        m_pm.SetFocusControl(nullptr);
        return;
    }
    // A box showing typing takes the keys again: what it shows is what
    // Enter takes and Escape takes back. Posted behind the close its edit
    // window queued as the keys went to the window closing: reopened after.
    if (CEditUI::FocusedTyping(&m_pm) != nullptr) {
        PostMessageW(m_window, KeysRetakenMessage(), 0, 0);
        return;
    }
    m_pm.ReleaseFocus();
    OnFocusReleased();
}

LRESULT WindowImplBase::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENABLE && wParam != FALSE && KeepsKeysFromControlsAfterCover())
        PostMessageW(m_window, KeysUntakenMessage(), 1, 0);
    if (message == KeysUntakenMessage()) {
        TakeKeysFromControls(wParam != 0);
        return 0;
    }
    if (message == KeysRetakenMessage()) {
        if (IsWindowEnabled(m_window) && CEditUI::FocusedTyping(&m_pm) != nullptr) m_pm.RenewFocus();
        return 0;
    }
    // The windows it owns, a notice or a job's window opened meanwhile among
    // them, stand above it again.
    if (message == WM_SIZE && wParam == SIZE_MINIMIZED) m_minimised = true;
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED && m_minimised) {
        m_minimised = false;
        PostMessageW(m_window, OwnedForwardMessage(), 0, 0);
    }
    if (message == OwnedForwardMessage()) {
        BringOwnedForward();
        return 0;
    }
    bool handled = true;
    LRESULT result = 0;
    switch (message) {
    case WM_CREATE: result = HandleCreate(message, wParam, lParam, handled); break;
    case WM_DESTROY: result = HandleDestroy(message, wParam, lParam, handled); break;
    case WM_SIZE: result = HandleSize(message, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = HandleSetFocus(message, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = HandleKillFocus(message, wParam, lParam, handled); break;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
        // A logoff or shutdown closes the window from outside too.
        if (!TakesClose()) {
            OnCloseRefused();
            return 0;
        }
        if (message == WM_CLOSE) result = HandleClose(message, wParam, lParam, handled);
        else handled = false;
        break;
    case WM_GETMINMAXINFO: result = HandleGetMinMaxInfo(message, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = HandleNcCalcSize(message, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = HandleNcHitTest(message, wParam, lParam, handled); break;
    case WM_NCPAINT: result = HandleNcPaint(message, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = HandleNcActivate(message, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = HandleKeyDown(message, wParam, lParam, handled); break;
    case WM_CHAR: result = HandleChar(message, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = HandleSysCommand(message, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = HandleMouseMove(message, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = HandleLButtonDown(message, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = HandleLButtonUp(message, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = HandleMouseWheel(message, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = HandleMouseHover(message, wParam, lParam, handled); break;
    default: handled = false; break;
    }
    if (handled) return result;
    handled = true;
    result = HandleOtherMessage(message, wParam, lParam, handled);
    if (handled) return result;
    if (m_pm.ProcessMessage(message, wParam, lParam, result)) return result;
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

void WindowImplBase::OnFinalWindowMessage(HWND /*window*/)
{
    m_pm.UnregisterPreMessageFilter(this);
    m_pm.UnregisterNotifyReceiver(this);
    m_pm.ForgetRootReferences();
}

} // namespace SkinUI
