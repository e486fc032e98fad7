// Window messages routed to controls: mouse, keys, focus and tab order.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ManagerHarness.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/control/Slider.h"
#include "uilib/layout/Container.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

class Recorder : public INotifyUI {
public:
    void ReceiveNotify(TNotifyInfo& notify) override
    {
        types.push_back(notify.type.CStr());
        senders.push_back(notify.sender);
    }
    int CountOf(const wchar_t* type) const
    {
        int count = 0;
        for (const std::wstring& each : types) count += each == type ? 1 : 0;
        return count;
    }
    std::vector<std::wstring> types;
    std::vector<CControlUI*> senders;
};

// Sends "click" on a button-up inside itself, as buttons do.
class ClickProbe : public CProbeControl {
public:
    void HandleEvent(TEventInfo& event) override
    {
        CProbeControl::HandleEvent(event);
        if (event.type == UIEVENT_BUTTONUP && PtInRect(&m_item, event.point))
            m_manager->SendNotification(this, L"click");
    }
};

// Takes every context menu, as the rich edit takes one over itself.
struct MenuFilter : IMessageFilterUI {
    LRESULT PreFilterMessage(UINT message, WPARAM, LPARAM, bool& handled) override
    {
        handled = message == WM_CONTEXTMENU;
        return 0;
    }
};

struct RoutingWindow : ::testing::Test {
    CManagedWindow window;
    CProbeContainer* root = new CProbeContainer;
    ClickProbe* left = new ClickProbe;
    CProbeControl* right = new CProbeControl;
    Recorder recorder;

    void SetUp() override
    {
        ASSERT_NE(window.Handle(), nullptr);
        left->SetControlName(L"left");
        right->SetControlName(L"right");
        root->Add(left, RECT{10, 10, 110, 60});
        root->Add(right, RECT{200, 10, 300, 60});
        window.Manager().AttachRoot(root);
        window.Manager().RegisterNotifyReceiver(&recorder);
        window.ShowAndPaint();
    }

    void Send(UINT message, WPARAM wParam, int x, int y)
    {
        SendMessageW(window.Handle(), message, wParam, PointParam(x, y));
    }

    LPARAM ScreenPoint(int x, int y)
    {
        POINT pt = {x, y};
        ClientToScreen(window.Handle(), &pt);
        return PointParam(pt.x, pt.y);
    }
};

} // namespace

TEST_F(RoutingWindow, NamesAndPointsFindTheirControls)
{
    EXPECT_EQ(window.Manager().FindControlByName(L"left"), left);
    EXPECT_EQ(window.Manager().FindSubControlByName(nullptr, L"RIGHT"), right);
    EXPECT_EQ(window.Manager().FindControlAtPoint(POINT{20, 20}), left);
    EXPECT_EQ(window.Manager().FindControlAtPoint(POINT{150, 20}), root);
    EXPECT_EQ(window.Manager().FindSubControlsByClass(nullptr, L"ProbeUI")->Count(), 3);
    EXPECT_EQ(window.Manager().FindSubControlsByClass(root, L"*")->Count(), 3);
    EXPECT_EQ(window.Manager().FindSubControlsByClass(nullptr, L"LabelUI")->Count(), 0);
}

TEST_F(RoutingWindow, PressAndReleaseGiveEventsAndAClick)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    ASSERT_EQ(left->CountOf(UIEVENT_BUTTONDOWN), 1);
    EXPECT_EQ(left->LastOf(UIEVENT_BUTTONDOWN)->point.x, 20);
    EXPECT_EQ(left->LastOf(UIEVENT_BUTTONDOWN)->keyState, MK_LBUTTON);
    EXPECT_TRUE(window.Manager().IsMouseCaptured());
    EXPECT_EQ(window.Manager().FocusControl(), left);
    EXPECT_EQ(recorder.CountOf(L"setfocus"), 1);

    // While pressed, moves go to the pressed control wherever the mouse is.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 250, 20);
    EXPECT_EQ(left->CountOf(UIEVENT_MOUSEMOVE), 1);
    EXPECT_EQ(right->CountOf(UIEVENT_MOUSEMOVE), 0);

    Send(WM_LBUTTONUP, 0, 30, 30);
    EXPECT_EQ(left->CountOf(UIEVENT_BUTTONUP), 1);
    EXPECT_FALSE(window.Manager().IsMouseCaptured());
    ASSERT_EQ(recorder.CountOf(L"click"), 1);
    EXPECT_EQ(recorder.senders.back(), left);
    // A second release without a press reaches nobody.
    Send(WM_LBUTTONUP, 0, 30, 30);
    EXPECT_EQ(left->CountOf(UIEVENT_BUTTONUP), 1);
    // One set to take no focus at a press leaves the focus, and the keys a child window holds, where they were.
    const HWND keys = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 80, 20, 20, window.Handle(), nullptr, nullptr, nullptr);
    right->SetFocusOnPress(false), SetFocus(keys), Send(WM_LBUTTONDOWN, MK_LBUTTON, 250, 20), Send(WM_LBUTTONUP, 0, 250, 20);
    EXPECT_EQ(right->CountOf(UIEVENT_BUTTONUP), 1);
    EXPECT_EQ(left, window.Manager().FocusControl());
    EXPECT_EQ(keys, GetFocus());
    DestroyWindow(keys);
}

TEST_F(RoutingWindow, HoverMovesWithTheMouse)
{
    Send(WM_MOUSEMOVE, 0, 20, 20);
    EXPECT_EQ(left->CountOf(UIEVENT_MOUSEENTER), 1);
    EXPECT_EQ(left->CountOf(UIEVENT_MOUSEMOVE), 1);
    Send(WM_MOUSEMOVE, 0, 250, 20);
    EXPECT_EQ(left->CountOf(UIEVENT_MOUSELEAVE), 1);
    EXPECT_EQ(right->CountOf(UIEVENT_MOUSEENTER), 1);
    Send(WM_MOUSEMOVE, 0, 260, 20);
    EXPECT_EQ(right->CountOf(UIEVENT_MOUSEENTER), 1);
    EXPECT_EQ(right->CountOf(UIEVENT_MOUSEMOVE), 2);
    // The tip of the hover control goes with it out of the tree.
    CContainerUI* shelf = new CContainerUI;
    root->Detach(right), root->Add(shelf, RECT{200, 10, 300, 60}), shelf->AddChild(right), window.ShowAndPaint();
    right->SetToolTipText(L"tip"), Send(WM_MOUSEHOVER, 0, 260, 20);
    const HWND tip = SkinUITest::FindOwnWindow(L"tooltips_class32");
    ASSERT_TRUE(tip != nullptr && IsWindowVisible(tip));
    shelf->RemoveChild(right);
    EXPECT_FALSE(IsWindowVisible(tip)) << "the tip of a control taken out";
}

TEST_F(RoutingWindow, RightAndMiddleButtonsAndDoubleClick)
{
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 250, 20);
    EXPECT_EQ(right->CountOf(UIEVENT_RBUTTONDOWN), 1);
    Send(WM_RBUTTONUP, 0, 250, 20);
    EXPECT_EQ(right->CountOf(UIEVENT_RBUTTONUP), 1);
    Send(WM_MBUTTONDOWN, MK_MBUTTON, 20, 20);
    Send(WM_MBUTTONUP, 0, 20, 20);
    EXPECT_EQ(left->CountOf(UIEVENT_MBUTTONDOWN), 1);
    EXPECT_EQ(left->CountOf(UIEVENT_MBUTTONUP), 1);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 20);
    EXPECT_EQ(left->CountOf(UIEVENT_DBLCLICK), 1);
    EXPECT_TRUE(window.Manager().IsMouseCaptured());
    Send(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_FALSE(window.Manager().IsMouseCaptured());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 250, 20);
    Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 20, 20);
    Send(WM_LBUTTONUP, MK_RBUTTON, 20, 20);
    EXPECT_EQ(left->CountOf(UIEVENT_BUTTONUP), 1);  // a right press took the click: the left release is no one's
}

TEST_F(RoutingWindow, WheelDirectionAndContextMenu)
{
    SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), ScreenPoint(20, 20));
    ASSERT_EQ(left->CountOf(UIEVENT_SCROLLWHEEL), 1);
    EXPECT_EQ(left->LastOf(UIEVENT_SCROLLWHEEL)->wParam, 1u);
    SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), ScreenPoint(20, 20));
    EXPECT_EQ(left->LastOf(UIEVENT_SCROLLWHEEL)->wParam, 0u);
    // The wheel refreshes the hover state.
    EXPECT_GE(left->CountOf(UIEVENT_MOUSEENTER), 1);

    Send(WM_RBUTTONDOWN, MK_RBUTTON, 250, 20);
    SendMessageW(window.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.Handle()), ScreenPoint(250, 20));
    ASSERT_EQ(right->CountOf(UIEVENT_CONTEXTMENU), 1);
    EXPECT_EQ(right->LastOf(UIEVENT_CONTEXTMENU)->lParam, reinterpret_cast<LPARAM>(right));
    EXPECT_EQ(right->LastOf(UIEVENT_CONTEXTMENU)->point.x, 250);
}

// A left press, the owner's value 30, a way out, the release, a plain move onto the thumb.
TEST_F(RoutingWindow, EveryWayOutOfAPressEndsItOnceAndNothingAfter)
{
    CSliderUI* slider = new CSliderUI;  // thumb 10 px: at 10..20 for 0, 40..50 for 30
    slider->SetSendMove(true);
    root->Add(slider, RECT{10, 100, 120, 120});
    CScrollBarUI* bar = new CScrollBarUI;  // down arrow at 300..316, 184..200
    root->Add(bar, RECT{300, 100, 316, 200});
    CContainerUI* shelf = new CContainerUI;  // holds `left` where it was
    root->Detach(left), root->Add(shelf, RECT{10, 10, 110, 60}), shelf->AddChild(left);
    window.ShowAndPaint();
    const HWND h = window.Handle();
    MenuFilter filter;
    const auto filtered = [&](int x) {  // the left press let go, a right click whose menu the filter takes
        window.Manager().RegisterMessageFilter(&filter), Send(WM_LBUTTONUP, 0, 20, 20), Send(WM_RBUTTONDOWN, 2, x, 20),
            Send(WM_RBUTTONUP, 0, x, 20), window.Manager().UnregisterMessageFilter(&filter);
    };
    const auto unowned = [&](const std::function<void()>& meanwhile) {
        shelf->SetOwnsChildren(false), shelf->RemoveChild(left), meanwhile(), shelf->SetOwnsChildren(true),
            shelf->AddChild(left);
    };
    const struct { const char* how; int x, y; std::function<void()> out; int abandons, ups, values, value; } rows[] = {
        {"still thumb", 15, 110, [&] { Send(WM_MOUSEMOVE, MK_LBUTTON, 16, 111); }, 0, 0, 0, 30},
        {"right click", 20, 20, [&] { Send(WM_RBUTTONDOWN, 3, 20, 20), Send(WM_RBUTTONUP, 1, 20, 20); }, 1, 0, 0, 30},
        {"middle click", 20, 20, [&] { Send(WM_MBUTTONDOWN, 17, 20, 20), Send(WM_MBUTTONUP, 1, 20, 20); }, 1, 0, 0, 30},
        {"menu key", 20, 20, [&] { SendMessageW(h, WM_CONTEXTMENU, 0, -1); }, 1, 0, 0, 30},
        {"close", 20, 20, [&] { LRESULT r; window.Manager().ProcessMessage(WM_CLOSE, 0, 0, r); }, 1, 0, 0, 30},
        {"handed away", 20, 20, [&] { window.Manager().HandPressAway(); }, 0, 0, 0, 30},
        {"wheel", 20, 20, [&] { SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(1, 120), ScreenPoint(250, 20)); }, 0, 1, 0, 30},
        {"capture taken, focus kept", 20, 20, [&] { SendMessageW(h, WM_CAPTURECHANGED, 0, 0); }, 1, 0, 0, 30},
        {"right click beside a dragged thumb", 15, 110, [&] { Send(WM_MOUSEMOVE, MK_LBUTTON, 60, 102),
            Send(WM_RBUTTONDOWN, 3, 60, 102), Send(WM_RBUTTONUP, 1, 60, 102); }, 0, 0, 1, 45},
        {"disabled and enabled while held", 15, 110, [&] { Send(WM_MOUSEMOVE, MK_LBUTTON, 60, 110),
            slider->SetEnabledState(false), slider->SetEnabledState(true); }, 0, 0, 1, 45},
        {"hidden while held", 15, 110, [&] { slider->SetVisibility(false), Send(WM_MOUSEMOVE, MK_LBUTTON, 60, 110),
            Send(WM_MOUSEMOVE, MK_LBUTTON, 70, 110), slider->SetVisibility(true); }, 0, 0, 0, 30},
        {"quick second right click beside the thumb", 20, 20, [&] { Send(WM_LBUTTONUP, 0, 20, 20),
            Send(WM_RBUTTONDOWN, 2, 100, 110), Send(WM_RBUTTONUP, 0, 100, 110),
            Send(WM_RBUTTONDBLCLK, 2, 100, 110), Send(WM_RBUTTONUP, 0, 100, 110); }, 0, 1, 2, 32},
        {"scroll bar hidden while its arrow is held", 308, 195, [&] { bar->SetVisibility(false);
            EXPECT_FALSE(window.Manager().IsMouseCaptured());
            EXPECT_FALSE(window.Manager().StopTimer(bar, CScrollBarUI::kRepeatTimerId)) << "the repeat runs on"; }, 0, 0, 0, 30},
        {"taken out of a container that does not own it", 20, 20, [&] { window.Manager().ReleaseFocus(),
            window.Manager().FocusAfterLayout(left), window.Manager().StartTimer(left, 3, 100000),
            unowned([&] { UpdateWindow(h), recorder.types.clear();
            EXPECT_FALSE(window.Manager().StopTimer(left, 3)) << "timer out of the tree";
            EXPECT_NE(left, window.Manager().FocusControl()) << "focus out of the tree";
            window.Manager().SetFocusControl(right);
            EXPECT_EQ(0, recorder.CountOf(L"killfocus")) << "killfocus out of the tree"; }); }, 1, 0, 0, 30},
        {"a filter took a right click's menu, then a move and the menu key", 20, 20, [&] { filtered(250),
            Send(WM_MOUSEMOVE, 0, 20, 20), SendMessageW(h, WM_CONTEXTMENU, 0, -1);
            EXPECT_EQ(1, left->CountOf(UIEVENT_MOUSEMOVE)) << "the move went elsewhere";
            EXPECT_EQ(0, right->CountOf(UIEVENT_CONTEXTMENU)) << "stale menu"; }, 0, 1, 0, 30},
        {"menu after the filtered click's control left a container that does not own it", 20, 20, [&] { filtered(20),
            unowned([] {}), SendMessageW(h, WM_CONTEXTMENU, 0, ScreenPoint(20, 20));
            EXPECT_EQ(0, left->CountOf(UIEVENT_CONTEXTMENU)) << "menu out of the tree"; }, 0, 1, 0, 30},
        {"root replaced (last)", 20, 20, [&] { window.Manager().AttachRoot(new CProbeContainer); }, 0, 0, 0, 30},
    };
    for (const auto& row : rows) {
        left->events.clear(), right->events.clear(), recorder.types.clear();
        left->pressesEnded = 0;
        slider->SetValue(0);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, row.x, row.y);
        slider->SetValue(30);
        row.out();
        Send(WM_LBUTTONUP, 0, row.x, row.y);
        EXPECT_FALSE(window.Manager().IsMouseCaptured()) << row.how;
        const CUIRect thumb = slider->GetThumbRect();
        Send(WM_MOUSEMOVE, 0, thumb.left + 5, thumb.top + 5);
        EXPECT_EQ(row.abandons, left->pressesEnded) << row.how;
        EXPECT_EQ(row.ups, left->CountOf(UIEVENT_BUTTONUP)) << row.how;
        EXPECT_EQ(uint32_t{CSliderUI::kThumbHot}, slider->GetThumbState()) << row.how;
        EXPECT_EQ(row.value, slider->GetValue()) << row.how;
        EXPECT_EQ(row.values, recorder.CountOf(L"valuechanged") + recorder.CountOf(L"movevaluechanged")) << row.how;
        EXPECT_EQ(0, right->CountOf(UIEVENT_SCROLLWHEEL)) << row.how;
        EXPECT_TRUE(!window.Manager().FocusControl() || window.Manager().FocusControl()->HasFocus()) << row.how;
    }
}

TEST_F(RoutingWindow, SetCursorWhileCapturedIsSwallowed)
{
    right->SetFlags(UIFLAG_SETCURSOR);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    LRESULT handled = SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
                                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(handled, TRUE);
    EXPECT_EQ(right->CountOf(UIEVENT_SETCURSOR), 0);
    EXPECT_EQ(left->CountOf(UIEVENT_SETCURSOR), 0);
    Send(WM_LBUTTONUP, 0, 20, 20);
}

TEST_F(RoutingWindow, KeysGoToTheFocusedControl)
{
    window.Manager().SetFocusControl(right);
    SendMessageW(window.Handle(), WM_KEYDOWN, 'A', 0);
    SendMessageW(window.Handle(), WM_CHAR, 'a', 0);
    window.Manager().SetFocusControl(left);
    // The key-up goes where the key-down went.
    SendMessageW(window.Handle(), WM_KEYUP, 'A', 0);
    ASSERT_EQ(right->CountOf(UIEVENT_KEYDOWN), 1);
    EXPECT_EQ(right->LastOf(UIEVENT_KEYDOWN)->keyChar, 'A');
    EXPECT_EQ(right->CountOf(UIEVENT_CHAR), 1);
    EXPECT_EQ(right->CountOf(UIEVENT_KEYUP), 1);
    EXPECT_EQ(left->CountOf(UIEVENT_KEYUP), 0);
    EXPECT_EQ(right->CountOf(UIEVENT_KILLFOCUS), 1);
    EXPECT_EQ(recorder.CountOf(L"killfocus"), 1);
}

TEST_F(RoutingWindow, HiddenOrDisabledControlsDoNotTakeFocus)
{
    right->SetEnabledState(false);
    window.Manager().SetFocusControl(right);
    EXPECT_EQ(window.Manager().FocusControl(), nullptr);
    left->SetVisibility(false);
    window.Manager().SetFocusControl(left);
    EXPECT_EQ(window.Manager().FocusControl(), nullptr);
}

TEST_F(RoutingWindow, ResizeBeforeAnyRootIsHarmless)
{
    CManagedWindow bare;
    SendMessageW(bare.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    bare.Manager().SetInitialSize(320, 240);
    RECT rc;
    GetWindowRect(bare.Handle(), &rc);
    EXPECT_EQ(rc.right - rc.left, 320);
    bare.ShowAndPaint();
    EXPECT_EQ(bare.Manager().Root(), nullptr);
}

namespace {

struct TabWindow : ::testing::Test {
    CManagedWindow window;
    CProbeContainer* root = new CProbeContainer;
    CProbeControl* first = new CProbeControl;
    CProbeControl* plain = new CProbeControl;
    CProbeControl* second = new CProbeControl;
    CProbeControl* third = new CProbeControl;

    void SetUp() override
    {
        ASSERT_NE(window.Handle(), nullptr);
        for (CProbeControl* stop : {first, second, third}) stop->SetFlags(UIFLAG_TABSTOP);
        root->Add(first, RECT{0, 0, 50, 20});
        root->Add(plain, RECT{0, 20, 50, 40});
        root->Add(second, RECT{0, 40, 50, 60});
        root->Add(third, RECT{0, 60, 50, 80});
        window.Manager().AttachRoot(root);
        window.ShowAndPaint();
    }

    bool PressTab(bool shift)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        LRESULT result = 0;
        bool handled = window.Manager().PreFilterQueuedMessage(WM_KEYDOWN, VK_TAB, 0, result);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return handled;
    }
};

} // namespace

TEST_F(TabWindow, FirstPaintFocusesTheFirstTabStop)
{
    EXPECT_EQ(window.Manager().FocusControl(), first);
}

TEST_F(TabWindow, TabAndShiftTabCycleThroughTabStops)
{
    const struct {
        bool shift;
        CProbeControl* landsOn;
    } presses[] = {{false, second}, {false, third}, {false, first}, {true, third}, {true, second}};
    for (const auto& p : presses) {
        ASSERT_TRUE(PressTab(p.shift));
        EXPECT_EQ(window.Manager().FocusControl(), p.landsOn) << (&p - presses);
    }
}

TEST_F(TabWindow, DisabledTabStopsAreSkipped)
{
    second->SetEnabledState(false);
    ASSERT_TRUE(PressTab(false));
    EXPECT_EQ(window.Manager().FocusControl(), third);
}

TEST_F(TabWindow, OnlyAnEditorThatWantsTabKeepsIt)
{
    const struct {
        uint32_t flags;
        bool keeps;
    } cases[] = {
        {UIFLAG_TABSTOP | UIFLAG_WANTTAB, true},
        {UIFLAG_TABSTOP, false},
        // Wanting Return, as list rows do, is not wanting Tab.
        {UIFLAG_TABSTOP | UIFLAG_WANTRETURN, false},
    };
    second->SetType(L"RichEditUI");
    for (const auto& c : cases) {
        second->SetFlags(c.flags);
        window.Manager().SetFocusControl(second);
        EXPECT_EQ(!c.keeps, PressTab(false)) << c.flags;
        EXPECT_EQ(c.keeps ? second : third, window.Manager().FocusControl()) << c.flags;
    }
    EXPECT_NE(0u, UIFLAG_WANTRETURN);
    EXPECT_EQ(0u, UIFLAG_WANTRETURN & UIFLAG_WANTTAB);
}

TEST_F(TabWindow, AltShortcutOnALabelActivatesTheControlAfterIt)
{
    // The search visits the topmost (last) child first: after the label
    // "plain" it meets "first".
    plain->SetType(L"LabelUI");
    plain->SetShortcutKey(L's');
    LRESULT result = 0;
    EXPECT_TRUE(window.Manager().PreFilterQueuedMessage(WM_SYSCHAR, L'S', 0, result));
    EXPECT_EQ(first->activations, 1);
    EXPECT_EQ(plain->activations, 0);
    EXPECT_EQ(second->activations, 0);
    // A control carrying the shortcut itself is the one activated.
    third->SetShortcutKey(L'T');
    window.Manager().SetFocusControl(first);
    EXPECT_TRUE(window.Manager().PreFilterQueuedMessage(WM_SYSCHAR, L't', 0, result));
    EXPECT_EQ(window.Manager().FocusControl(), third);
    EXPECT_EQ(third->activations, 1);
    EXPECT_FALSE(window.Manager().PreFilterQueuedMessage(WM_SYSCHAR, L'q', 0, result));
}

TEST_F(TabWindow, FocusFromAControlLandsOnItAtTheNextPaint)
{
    window.Manager().FocusAfterLayout(second);
    EXPECT_EQ(window.Manager().FocusControl(), nullptr);
    UpdateWindow(window.Handle());
    EXPECT_EQ(window.Manager().FocusControl(), second);
    EXPECT_EQ(second->CountOf(UIEVENT_SETFOCUS), 1);
}
