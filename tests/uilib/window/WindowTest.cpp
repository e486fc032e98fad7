#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SkinSetup.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"
#include "uilib/layout/Container.h"
#include "tests/uilib/kit/MessagePump.h"

using namespace SkinUI;

namespace {

// An interactive control standing in for a button: never a caption.
class CPressableUI : public CControlUI {
public:
    const wchar_t* GetTypeName() const override { return L"PressableUI"; }
};

const wchar_t kProbeLayout[] =
    L"<Window size=\"300,200\" caption=\"0,0,0,30\" sizebox=\"4,4,4,4\" roundcorner=\"6,6\">"
    L"<VerticalLayout bkcolor=\"#FF16191D\">"
    L"  <HorizontalLayout height=\"30\" bkcolor=\"#FF1F2329\">"
    L"    <Control name=\"title\"/>"
    L"    <Pressable name=\"press\" width=\"40\"/>"
    L"    <Pressable name=\"maxbtn\" width=\"20\"/>"
    L"    <Pressable name=\"restorebtn\" width=\"20\" visible=\"false\"/>"
    L"    <Pressable name=\"closebtn\" width=\"30\"/>"
    L"  </HorizontalLayout>"
    L"  <Control name=\"body\"/>"
    L"</VerticalLayout>"
    L"</Window>";

class CTestWindow : public WindowImplBase {
public:
    explicit CTestWindow(const wchar_t* skin, bool deleteOnFinal = false)
        : m_skin(skin), m_deleteOnFinal(deleteOnFinal)
    {
    }

    const wchar_t* GetWndClassName() const override { return L"BrisaTestWindow"; }
    CUIString GetSkinXmlName() const override { return m_skin; }
    CControlUI* CreateCustomControl(const wchar_t* className) override
    {
        if (CompareTextIgnoreCase(className, L"Pressable") == 0) return new CPressableUI();
        return nullptr;
    }
    void OnFinalWindowMessage(HWND window) override
    {
        WindowImplBase::OnFinalWindowMessage(window);
        if (m_deleteOnFinal) delete this;
    }

    HWND Create(HWND owner = nullptr, int x = 100, int y = 100)
    {
        return CreateNativeWindow(owner, L"Brisa test", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, x, y, 0, 0);
    }

    // Shows the window and lets it lay out and paint once.
    void ShowAndSettle()
    {
        ShowWindow(m_window, SW_SHOWNOACTIVATE);
        UpdateWindow(m_window);
        SkinUITest::PumpFor(250);
    }

    LRESULT HitTestAt(int clientX, int clientY)
    {
        POINT pt = {clientX, clientY};
        ClientToScreen(m_window, &pt);
        return SendMessageW(m_window, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

private:
    CUIString m_skin;
    bool m_deleteOnFinal;
};


TEST(WindowImplBase, BuildsTheTreeFromItsLayoutAndTakesTheSize)
{
    CTestWindow window(kProbeLayout);
    ASSERT_NE(nullptr, window.Create());
    window.ShowAndSettle();
    RECT rc;
    GetWindowRect(window, &rc);
    EXPECT_EQ(300, rc.right - rc.left);
    EXPECT_EQ(200, rc.bottom - rc.top);
    EXPECT_EQ(0, GetWindowLongW(window, GWL_STYLE) & WS_CAPTION);
    CControlUI* body = window.PaintManager().FindControlByName(L"body");
    ASSERT_NE(nullptr, body);
    EXPECT_EQ(30, body->GetPosition().top);
    EXPECT_EQ(200, body->GetPosition().bottom);
    DestroyWindow(window);
}

TEST(WindowImplBase, HitTestsGiveSizeBoxCaptionAndClient)
{
    CTestWindow window(kProbeLayout);
    ASSERT_NE(nullptr, window.Create());
    window.ShowAndSettle();
    const struct {
        int x;
        int y;
        LRESULT hit;
    } points[] = {{2, 2, HTTOPLEFT}, {150, 1, HTTOP}, {298, 2, HTTOPRIGHT}, {1, 100, HTLEFT}, {299, 100, HTRIGHT},
                  {1, 198, HTBOTTOMLEFT}, {150, 199, HTBOTTOM}, {299, 199, HTBOTTOMRIGHT}, {50, 15, HTCAPTION},
                  {150, 100, HTCLIENT}};
    for (const auto& p : points) EXPECT_EQ(p.hit, window.HitTestAt(p.x, p.y)) << p.x << "," << p.y;
    // Caption row: the plain control drags the window, the pressable does not.
    CControlUI* press = window.PaintManager().FindControlByName(L"press");
    ASSERT_NE(nullptr, press);
    EXPECT_EQ(HTCLIENT, window.HitTestAt(press->GetPosition().left + 5, 15));
    DestroyWindow(window);
}

TEST(WindowImplBase, MaximisedWindowHasNoSizeBoxAndSwapsItsButtons)
{
    CTestWindow window(kProbeLayout);
    ASSERT_NE(nullptr, window.Create());
    window.ShowAndSettle();
    CControlUI* maxButton = window.PaintManager().FindControlByName(L"maxbtn");
    CControlUI* restoreButton = window.PaintManager().FindControlByName(L"restorebtn");
    ASSERT_NE(nullptr, maxButton);
    ASSERT_NE(nullptr, restoreButton);
    // Checked straight after the command: without a window manager, Wine
    // later takes the maximised state back when the X server reports the
    // window's real geometry.
    SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(IsZoomed(window));
    EXPECT_FALSE(maxButton->GetVisibility());
    EXPECT_TRUE(restoreButton->GetVisibility());
    EXPECT_EQ(HTCAPTION, window.HitTestAt(2, 2));
    SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(maxButton->GetVisibility());
    EXPECT_FALSE(restoreButton->GetVisibility());
    DestroyWindow(window);
}

TEST(WindowImplBase, RunModalReturnsThePostCloseCode)
{
    CTestWindow window(kProbeLayout);
    ASSERT_NE(nullptr, window.Create());
    window.PostClose(2);
    EXPECT_EQ(2u, window.RunModal());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, window.GetNativeHandle());

    CTestWindow closedBySystem(kProbeLayout);
    ASSERT_NE(nullptr, closedBySystem.Create());
    PostMessageW(closedBySystem, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(0u, closedBySystem.RunModal());
}

TEST(WindowImplBase, CloseButtonClickClosesWithCodeOne)
{
    CTestWindow window(kProbeLayout);
    ASSERT_NE(nullptr, window.Create());
    CControlUI* close = window.PaintManager().FindControlByName(L"closebtn");
    ASSERT_NE(nullptr, close);
    window.PaintManager().SendNotification(close, L"click");
    EXPECT_EQ(1u, window.RunModal());
}

TEST(WindowImplBase, ModalLoopRestoresTheOwnersEnabledState)
{
    CTestWindow owner(kProbeLayout);
    ASSERT_NE(nullptr, owner.Create());

    CTestWindow dialog(kProbeLayout);
    ASSERT_NE(nullptr, dialog.Create(owner));
    dialog.PostClose(3);
    EXPECT_EQ(3u, dialog.RunModal());
    EXPECT_TRUE(IsWindowEnabled(owner));

    // An owner that was disabled before stays disabled.
    EnableWindow(owner, FALSE);
    CTestWindow second(kProbeLayout);
    ASSERT_NE(nullptr, second.Create(owner));
    second.PostClose(4);
    EXPECT_EQ(4u, second.RunModal());
    EXPECT_FALSE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST(WindowImplBase, WindowDeletingItselfOnItsLastMessageEndsTheModalLoop)
{
    CTestWindow owner(kProbeLayout);
    ASSERT_NE(nullptr, owner.Create());
    CTestWindow* dialog = new CTestWindow(kProbeLayout, true);
    const HWND handle = dialog->Create(owner);
    ASSERT_NE(nullptr, handle);
    dialog->PostClose(5);
    EXPECT_EQ(5u, dialog->RunModal());
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

// A caption drag is under way (the system's move loop) when modal boxes open
// one after another over the dragged window; the first takes the drag's
// button-up. Or the dragged window goes during its move loop (boxes may open
// after it, before the release), or the drag is another thread's.
enum class DragKind { kTopLevel, kInOwnModal, kDestroyed, kOtherThread };
struct DragInterrupted {
    HWND dragged;
    int boxes;
    DragKind kind;
    HANDLE entered;
    bool guardFired;
};
DragInterrupted g_drag;

void CALLBACK OpenBoxesDuringDrag(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (g_drag.kind == DragKind::kOtherThread) {
        SetEvent(g_drag.entered);
        return;
    }
    // The user lets go; the move loop still waits for it when its window has gone.
    PostMessageW(g_drag.dragged, WM_LBUTTONUP, 0, 0);
    const HWND boxOwner = g_drag.kind == DragKind::kDestroyed ? GetWindow(g_drag.dragged, GW_OWNER) : g_drag.dragged;
    if (g_drag.kind == DragKind::kDestroyed) DestroyWindow(g_drag.dragged);
    for (int i = 0; i < g_drag.boxes; ++i) {
        CTestWindow box(kProbeLayout);
        ASSERT_NE(nullptr, box.Create(boxOwner));
        box.PostClose(1);
        box.RunModal();
    }
}

void CALLBACK EndStuckDrag(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_drag.guardFired = true;
    PostMessageW(nullptr, WM_LBUTTONUP, 0, 0);
}

void DragCaption(HWND window)
{
    const UINT_PTR open = SetTimer(nullptr, 0, 50, OpenBoxesDuringDrag);
    const UINT_PTR guard = SetTimer(nullptr, 0, 3000, EndStuckDrag);
    SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(150, 115));
    KillTimer(nullptr, open);
    KillTimer(nullptr, guard);
}

void CALLBACK DragThenClose(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    DragCaption(g_drag.dragged);
    PostMessageW(g_drag.dragged, WM_CLOSE, 0, 0);
}

DWORD WINAPI DragOnItsOwnThread(void*)
{
    CTestWindow window(kProbeLayout);
    if (window.Create(nullptr, 500, 300) == nullptr) return 1;
    window.ShowAndSettle();
    g_drag.dragged = window;
    DragCaption(window);
    DestroyWindow(window);
    return 0;
}

// Whether a box opened and closed now leaves a button-up on this thread for
// a move loop that is not waiting for it.
bool BoxLeavesAStrayButtonUp(HWND owner)
{
    CTestWindow box(kProbeLayout);
    if (box.Create(owner) == nullptr) return true;
    box.PostClose(1);
    box.RunModal();
    MSG msg;
    return PeekMessageW(&msg, reinterpret_cast<HWND>(-1), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE) != FALSE;
}

TEST(WindowImplBase, CaptionDragInterruptedByModalBoxesEndsWhenTheyClose)
{
    const struct {
        const char* name;
        int boxes;
        DragKind kind;
    } kCases[] = {
        {"one box", 1, DragKind::kTopLevel},
        {"two boxes", 2, DragKind::kTopLevel},
        {"dragged in its own modal loop", 1, DragKind::kInOwnModal},
        {"dragged window destroyed", 0, DragKind::kDestroyed},
        {"destroyed, then a box opens before the release", 1, DragKind::kDestroyed},
        {"dragged on another thread", 0, DragKind::kOtherThread},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CTestWindow owner(kProbeLayout);
        ASSERT_NE(nullptr, owner.Create());
        owner.ShowAndSettle();
        g_drag = {owner, c.boxes, c.kind, nullptr, false};
        if (c.kind == DragKind::kTopLevel) {
            DragCaption(owner);
        } else if (c.kind == DragKind::kInOwnModal) {
            CTestWindow dialog(kProbeLayout);
            ASSERT_NE(nullptr, dialog.Create(owner));
            g_drag.dragged = dialog;
            SetTimer(nullptr, 0, 50, DragThenClose);
            dialog.RunModal();
        } else if (c.kind == DragKind::kDestroyed) {
            CTestWindow* doomed = new CTestWindow(kProbeLayout, true);
            g_drag.dragged = doomed->Create(owner);
            ASSERT_NE(nullptr, g_drag.dragged);
            doomed->ShowAndSettle();
            DragCaption(g_drag.dragged);
            CWindowWnd::EndReturnedMoveLoops();  // as the main loop's next turn does
        } else {
            g_drag.entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            DWORD threadId = 0;
            const HANDLE thread = CreateThread(nullptr, 0, DragOnItsOwnThread, nullptr, 0, &threadId);
            ASSERT_NE(nullptr, thread);
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_drag.entered, 5000));
            EXPECT_FALSE(BoxLeavesAStrayButtonUp(owner));
            PostThreadMessageW(threadId, WM_LBUTTONUP, 0, 0);
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
            CloseHandle(thread);
            CloseHandle(g_drag.entered);
        }
        EXPECT_FALSE(g_drag.guardFired);
        EXPECT_TRUE(IsWindowEnabled(owner));
        EXPECT_FALSE(BoxLeavesAStrayButtonUp(owner));
        DestroyWindow(owner);
    }
}

TEST(WindowImplBase, QuitInsideTheModalLoopIsPostedAgain)
{
    CTestWindow window(kProbeLayout);
    ASSERT_NE(nullptr, window.Create());
    PostQuitMessage(7);
    window.RunModal();
    EXPECT_TRUE(IsWindow(window));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    DestroyWindow(window);
}

TEST(WindowImplBase, FinalMessageUnregistersTheWindowFromItsManager)
{
    CTestWindow window(kProbeLayout);
    ASSERT_NE(nullptr, window.Create());
    CPaintManagerUI& manager = window.PaintManager();
    EXPECT_TRUE(manager.UnregisterNotifyReceiver(&window));
    EXPECT_TRUE(manager.RegisterNotifyReceiver(&window));
    DestroyWindow(window);
    EXPECT_FALSE(manager.UnregisterNotifyReceiver(&window));
    EXPECT_EQ(nullptr, window.GetNativeHandle());
}

// A superclass of the system edit window, as the edit box's pop-up is made.
class CEditSuperclass : public CWindowWnd {
public:
    const wchar_t* GetWndClassName() const override { return L"BrisaTestEdit"; }
    const wchar_t* GetSuperclassSource() const override { return L"EDIT"; }
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CHAR) ++chars;
        return CWindowWnd::ProcessMessage(message, wParam, lParam);
    }
    void OnFinalWindowMessage(HWND window) override
    {
        finalWindow = window;
        hadProperty = GetPropW(window, L"WndX") != nullptr;
    }
    int chars = 0;
    HWND finalWindow = nullptr;
    bool hadProperty = true;
};

TEST(WindowWnd, SuperclassRoutesThroughTheObjectToTheSystemClass)
{
    CEditSuperclass edit;
    const HWND handle = edit.CreateNativeWindow(nullptr, L"abc", WS_POPUP, 0, 10, 10, 120, 24);
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(&edit, GetPropW(handle, L"WndX"));
    SendMessageW(handle, WM_CHAR, L'x', 0);
    EXPECT_EQ(1, edit.chars);
    wchar_t text[16] = {};
    GetWindowTextW(handle, text, 16);
    // The caret starts at the front of the text.
    EXPECT_STREQ(L"xabc", text);
    DestroyWindow(handle);
    EXPECT_EQ(handle, edit.finalWindow);
    EXPECT_FALSE(edit.hadProperty);
    EXPECT_EQ(nullptr, edit.GetNativeHandle());
}

TEST(WindowWnd, ClientSizeAndCentringOverTheOwner)
{
    CTestWindow owner(kProbeLayout);
    ASSERT_NE(nullptr, owner.Create(nullptr, 400, 300));
    CTestWindow dialog(kProbeLayout);
    ASSERT_NE(nullptr, dialog.Create(owner));
    dialog.SetClientAreaSize(120, -1);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(120, client.right);
    EXPECT_EQ(200, client.bottom);
    dialog.CenterOverOwner();
    RECT ownerRect;
    RECT rc;
    GetWindowRect(owner, &ownerRect);
    GetWindowRect(dialog, &rc);
    EXPECT_EQ((ownerRect.left + ownerRect.right) / 2 - 60, rc.left);
    EXPECT_EQ((ownerRect.top + ownerRect.bottom) / 2 - 100, rc.top);
    // Near the screen's edge the window stays on the work area.
    SetWindowPos(owner, nullptr, -250, -150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.CenterOverOwner();
    GetWindowRect(dialog, &rc);
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    DestroyWindow(dialog);
    DestroyWindow(owner);
}

// Named pump entries win over entries for any control, wherever they stand.
class CMapWindow : public CNotifyPump {
public:
    const TNotifyMap* GetNotifyMap() const override;
    static void OnAny(CNotifyPump* pump, TNotifyInfo&) { static_cast<CMapWindow*>(pump)->seen += L"any;"; }
    static void OnNamed(CNotifyPump* pump, TNotifyInfo&) { static_cast<CMapWindow*>(pump)->seen += L"named;"; }
    static LRESULT OnParams(CNotifyPump* pump, WPARAM w, LPARAM l)
    {
        static_cast<CMapWindow*>(pump)->seen += L"params" + std::to_wstring(w + l) + L";";
        return 0;
    }
    std::wstring seen;
};

const TNotifyMapEntry kMapEntries[] = {
    {L"click", L"", UINOTIFY_RECORD, nullptr, &CMapWindow::OnAny},
    {L"click", L"ok", UINOTIFY_RECORD, nullptr, &CMapWindow::OnNamed},
    {L"valuechanged", L"", UINOTIFY_PARAMS, &CMapWindow::OnParams, nullptr},
    {nullptr, nullptr, UINOTIFY_END, nullptr, nullptr},
};
const TNotifyMap kMap = {nullptr, kMapEntries};

const TNotifyMap* CMapWindow::GetNotifyMap() const
{
    return &kMap;
}

TEST(NotifyPump, ExactNameBeatsAnyControlAndVirtualWindowsComeFirst)
{
    CControlUI ok;
    ok.SetControlName(L"ok");
    CControlUI other;
    other.SetControlName(L"other");
    CMapWindow pump;
    TNotifyInfo notify;
    notify.type = L"click";
    notify.sender = &ok;
    EXPECT_TRUE(pump.DispatchNotify(notify));
    notify.sender = &other;
    EXPECT_TRUE(pump.DispatchNotify(notify));
    notify.type = L"valuechanged";
    notify.wParam = 3;
    notify.lParam = 4;
    EXPECT_TRUE(pump.DispatchNotify(notify));
    notify.type = L"unknown";
    EXPECT_FALSE(pump.DispatchNotify(notify));
    EXPECT_EQ(L"named;any;params7;", pump.seen);

    CNotifyPump outer;
    EXPECT_TRUE(outer.RegisterVirtualWindow(L"Page", &pump));
    EXPECT_FALSE(outer.RegisterVirtualWindow(L"Page", &pump));
    notify.type = L"click";
    notify.sender = &ok;
    notify.virtualWindow = L"page";
    EXPECT_TRUE(outer.DispatchNotify(notify));
    EXPECT_EQ(L"named;any;params7;named;", pump.seen);
    notify.virtualWindow = L"elsewhere";
    EXPECT_FALSE(outer.DispatchNotify(notify));
}

} // namespace
