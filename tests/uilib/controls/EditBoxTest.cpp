// The edit box: defaults and painting at rest (headless), and its native
// window in a real host window (needs a display; the test run gives Xvfb).
#include <gtest/gtest.h>

#include <vector>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "tests/support/ProcessResources.h"
#include "uilib/control/Button.h"
#include "uilib/control/Edit.h"
#include "uilib/control/EditWnd.h"
#include "uilib/layout/VerticalLayout.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::HostWindow;
using SkinUITest::Pump;
using SkinUITest::Settle;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;

namespace {

BOOL CALLBACK CountOne(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int ChildWindowCount(HWND parent)
{
    int count = 0;
    EnumChildWindows(parent, CountOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A host with a vertical layout holding a group (with the edit box), a
// button and a tall filler, so the layout can scroll. One host window serves
// the whole suite: closing an active top-level window costs seconds here.
struct EditWindowFixture : ::testing::Test {
    static void SetUpTestSuite()
    {
        sharedHost = new HostWindow();
        sharedHost->CreateNativeWindow(nullptr, L"edit test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 50, 50, 400, 300);
        if (sharedHost->GetNativeHandle() != nullptr) sharedHost->Attach();
    }
    static void TearDownTestSuite()
    {
        sharedHost->Detach();
        if (sharedHost->GetNativeHandle() != nullptr) DestroyWindow(sharedHost->GetNativeHandle());
        Pump();
        delete sharedHost;
        sharedHost = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(host.GetNativeHandle(), nullptr);
        recorder = new NotifyRecorder(host.pm);

        root = new CVerticalLayoutUI();
        group = new CVerticalLayoutUI();
        edit = new CEditUI();
        other = new CButtonUI();
        CControlUI* filler = new CControlUI();
        group->SetFixedHeightValue(40);
        edit->SetFixedHeightValue(30);
        edit->SetControlName(L"edit");
        other->SetFixedHeightValue(30);
        filler->SetFixedHeightValue(1000);
        group->AddChild(edit);
        root->AddChild(group);
        root->AddChild(other);
        root->AddChild(filler);
        root->SetScrollBarsEnabled(true, false);
        // The previous test's tree is deleted by the manager.
        host.pm.AttachRoot(root);
        SetFocus(host.GetNativeHandle());
        InvalidateRect(host.GetNativeHandle(), nullptr, FALSE);
        UpdateWindow(host.GetNativeHandle());
        Settle();
        // The first paint focuses the first tab stop, the box: start closed.
        other->TakeFocus();
        Pump();
        ASSERT_EQ(edit->GetNativeWindow(), nullptr);
        recorder->Clear();
    }
    void TearDown() override
    {
        delete recorder;
        host.pm.SetFocusControl(nullptr);
        Pump();
    }
    POINT EditCentre() const
    {
        const RECT& rc = edit->GetPosition();
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void Click(POINT pt)
    {
        SendMessageW(host.GetNativeHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        SendMessageW(host.GetNativeHandle(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        Pump();
    }
    // Gives the box the focus, which opens its native window.
    HWND OpenByFocus()
    {
        edit->TakeFocus();
        Pump();
        return edit->GetNativeWindow();
    }
    // Takes the Win32 focus back to the host, which closes an open box.
    void CloseByFocus()
    {
        SetFocus(host.GetNativeHandle());
        Pump();
    }
    DWORD Selection()
    {
        return static_cast<DWORD>(SendMessageW(edit->GetNativeWindow(), EM_GETSEL, 0, 0));
    }

    static HostWindow* sharedHost;
    HostWindow& host = *sharedHost;
    NotifyRecorder* recorder = nullptr;
    CVerticalLayoutUI* root = nullptr;
    CVerticalLayoutUI* group = nullptr;
    CEditUI* edit = nullptr;
    CButtonUI* other = nullptr;
};

HostWindow* EditWindowFixture::sharedHost = nullptr;

} // namespace

TEST(EditBoxAtRest, Defaults)
{
    CEditUI edit;
    EXPECT_EQ(edit.GetMaxChar(), 255u);
    EXPECT_EQ(edit.GetPasswordChar(), L'*');
    EXPECT_EQ(edit.GetTipValueColor(), 0xFFBAC0C5u);
    EXPECT_EQ(edit.GetTextPadding().left, 4);
    EXPECT_EQ(edit.GetTextPadding().top, 3);
    EXPECT_EQ(edit.GetTextPadding().right, 4);
    EXPECT_EQ(edit.GetTextPadding().bottom, 3);
    EXPECT_EQ(edit.GetBackgroundColor(), 0xFFFFFFFFu);
    EXPECT_EQ(edit.GetNativeBkColor(), 0xFFFFFFFFu);
    EXPECT_EQ(edit.GetBehaviorFlags(), 3u);
    edit.SetEnabledState(false);
    EXPECT_EQ(edit.GetBehaviorFlags(), 0u);
    EXPECT_STREQ(edit.GetTypeName(), L"EditUI");
    EXPECT_EQ(edit.FindInterface(L"edit"), &edit);
    EXPECT_EQ(edit.GetNativeWindow(), nullptr);
    CControlUI* made = CEditUI::CreateControlInstance();
    EXPECT_STREQ(made->GetTypeName(), L"EditUI");
    delete made;
}

TEST(EditBoxAtRest, Attributes)
{
    CEditUI edit;
    edit.ApplyAttribute(L"autoselall", L"True");
    EXPECT_FALSE(edit.IsAutoSelectAll());
    edit.ApplyAttribute(L"AutoSelAll", L"true");
    EXPECT_FALSE(edit.IsAutoSelectAll());
    EXPECT_STREQ(edit.FindCustomAttribute(L"AutoSelAll"), L"true");
    edit.ApplyAttribute(L"autoselall", L"true");
    EXPECT_TRUE(edit.IsAutoSelectAll());

    edit.ApplyAttribute(L"ReadOnly", L"TRUE");
    edit.ApplyAttribute(L"numberonly", L"true");
    edit.ApplyAttribute(L"password", L"true");
    edit.ApplyAttribute(L"passwordchar", L"#x");
    edit.ApplyAttribute(L"maxchar", L"12");
    edit.ApplyAttribute(L"tipvalue", L"enter a value");
    edit.ApplyAttribute(L"tipvaluecolor", L"#FF102030");
    edit.ApplyAttribute(L"nativetextcolor", L"FF405060");
    edit.ApplyAttribute(L"nativebkcolor", L"#80FFFFFF");
    edit.ApplyAttribute(L"normalimage", L"file='edit.png' corner='4,4,4,4'");
    edit.ApplyAttribute(L"textpadding", L"2,2,2,2");
    EXPECT_TRUE(edit.IsReadOnly());
    EXPECT_EQ(edit.GetNativeStyleBits(), static_cast<DWORD>(ES_NUMBER));
    EXPECT_TRUE(edit.IsPasswordMode());
    EXPECT_EQ(edit.GetPasswordChar(), L'#');
    EXPECT_EQ(edit.GetMaxChar(), 12u);
    EXPECT_EQ(edit.GetTipValue(), L"enter a value");
    EXPECT_EQ(edit.GetTipValueColor(), 0xFF102030u);
    EXPECT_EQ(edit.GetNativeTextColor(), 0xFF405060u);
    EXPECT_EQ(edit.GetNativeBkColor(), 0x80FFFFFFu);
    EXPECT_EQ(edit.GetNormalImage(), L"file='edit.png' corner='4,4,4,4'");
    EXPECT_EQ(edit.GetTextPadding().left, 2);
    edit.ApplyAttribute(L"numberonly", L"false");
    EXPECT_EQ(edit.GetNativeStyleBits(), 0u);
}

TEST(EditBoxAtRest, TipTextAndPasswordMasking)
{
    CPaintManagerUI manager;
    RECT all = {0, 0, 120, 24};
    // A box with a blue text and, unless empty, a tip drawn in red.
    auto paint = [&](DibCanvas& canvas, const wchar_t* tip, const wchar_t* text, bool password) {
        CEditUI edit;
        edit.SetTextColor(0xFF0000FF);
        if (*tip != L'\0') {
            edit.SetTipValue(tip);
            edit.ApplyAttribute(L"tipvaluecolor", L"#FFFF0000");
        }
        edit.SetTextContent(text);
        edit.SetPasswordMode(password);
        edit.AttachManager(&manager, nullptr, false);
        edit.SetPosition(all);
        canvas.Fill(0xFFFFFFFF);
        edit.PaintTextLayer(canvas.Dc());
        edit.AttachManager(nullptr, nullptr, false);
    };

    // An empty box, and a box whose text is the tip, show the tip in its colour.
    DibCanvas tipCanvas(120, 24), sameCanvas(120, 24);
    paint(tipCanvas, L"WWWW", L"", false);
    EXPECT_GT(tipCanvas.CountRgb(all, 0xFF0000), 5);
    paint(sameCanvas, L"WWWW", L"WWWW", true);
    EXPECT_EQ(sameCanvas.ToRgba(), tipCanvas.ToRgba()) << "the tip is never masked";

    // "abc" in password mode is drawn as three mask characters.
    DibCanvas secretCanvas(120, 24), starsCanvas(120, 24);
    paint(secretCanvas, L"", L"abc", true);
    paint(starsCanvas, L"", L"***", false);
    EXPECT_EQ(secretCanvas.ToRgba(), starsCanvas.ToRgba());
    EXPECT_LT(starsCanvas.CountRgb(all, 0xFFFFFF), 120 * 24 - 3) << "the mask characters are drawn";
}

TEST(EditBoxAtRest, WheelStepsTheValueOnlyWhenEnabled)
{
    CPaintManagerUI manager;
    NotifyRecorder recorder(manager);
    CEditUI edit;
    edit.AttachManager(&manager, nullptr, false);
    SendEvent(edit, UIEVENT_SCROLLWHEEL, 0, 0, 0);
    SendEvent(edit, UIEVENT_SCROLLWHEEL, 0, 0, 1);
    EXPECT_EQ(recorder.Types(), L"valuechangedup valuechangeddown");
    edit.SetEnabledState(false);
    SendEvent(edit, UIEVENT_SCROLLWHEEL, 0, 0, 0);
    EXPECT_EQ(recorder.Count(L"valuechangedup"), 1);
    edit.AttachManager(nullptr, nullptr, false);
}

TEST_F(EditWindowFixture, OpensOnClickTakesTextAndReports)
{
    edit->SetTextContent(L"12");
    recorder->Clear();
    Click(EditCentre());
    HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    EXPECT_TRUE(IsWindowVisible(native));
    EXPECT_EQ(GetFocus(), native);
    EXPECT_EQ(GetParent(native), host.GetNativeHandle());
    EXPECT_EQ(recorder->Count(L"textchanged"), 0) << "writing the text on opening is not a change";

    SendMessageW(native, WM_CHAR, L'5', 0);
    SendMessageW(native, WM_CHAR, L'0', 0);
    EXPECT_EQ(edit->GetTextContent(), L"1250");
    EXPECT_EQ(recorder->Count(L"textchanged"), 2);

    recorder->Clear();
    SendMessageW(native, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(recorder->Types(), L"return");
    EXPECT_EQ(edit->GetTextContent(), L"1250");

    edit->SetTextContent(L"7");
    EXPECT_EQ(recorder->Count(L"textchanged"), 1);
    wchar_t shown[16] = {};
    GetWindowTextW(native, shown, 16);
    EXPECT_STREQ(shown, L"7");
}

TEST_F(EditWindowFixture, ArrowKeysAndWheelStepInsteadOfMoving)
{
    edit->SetTextContent(L"345");
    HWND native = OpenByFocus();
    ASSERT_NE(native, nullptr);
    SendMessageW(native, EM_SETSEL, 1, 1);
    recorder->Clear();
    const WORD keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};
    for (WORD key : keys) SendMessageW(native, WM_KEYDOWN, key, 0);
    EXPECT_EQ(recorder->Types(), L"valuechangedup valuechangeddown valuechangedleft valuechangedright");
    EXPECT_EQ(Selection(), static_cast<DWORD>(MAKELONG(1, 1)));

    // The wheel over the box steps; over the filler it scrolls the layout.
    recorder->Clear();
    POINT screen = EditCentre();
    ClientToScreen(host.GetNativeHandle(), &screen);
    SendMessageW(host.GetNativeHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(screen.x, screen.y));
    SendMessageW(host.GetNativeHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(recorder->Types(), L"valuechangeddown valuechangedup");
    EXPECT_EQ(root->GetScrollOffset().cy, 0);
}

TEST_F(EditWindowFixture, ClickIntoAFocusedClosedBoxSelectsEverything)
{
    edit->SetTextContent(L"hello");
    ASSERT_NE(OpenByFocus(), nullptr);
    CloseByFocus();
    EXPECT_EQ(edit->GetNativeWindow(), nullptr);
    EXPECT_TRUE(edit->HasFocus());

    Click(EditCentre());
    ASSERT_NE(edit->GetNativeWindow(), nullptr);
    EXPECT_EQ(Selection(), static_cast<DWORD>(MAKELONG(0, 5)));
}

TEST_F(EditWindowFixture, ClosesWhenItOrItsContainerIsHidden)
{
    for (CControlUI* hidden : {static_cast<CControlUI*>(edit), static_cast<CControlUI*>(group)}) {
        SCOPED_TRACE(hidden == edit ? "the box hidden" : "its container hidden");
        UpdateWindow(host.GetNativeHandle());
        HWND native = OpenByFocus();
        ASSERT_NE(native, nullptr);
        hidden->SetVisibility(false);
        Pump();
        EXPECT_EQ(edit->GetNativeWindow(), nullptr);
        EXPECT_FALSE(IsWindow(native));
        edit->SetVisibility(true);
    }
}

TEST_F(EditWindowFixture, SurvivesBeingDestroyedWhileOpen)
{
    const int baseline = CEditWnd::LiveWindowCount();
    HWND native = OpenByFocus();
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(CEditWnd::LiveWindowCount(), baseline + 1);
    group->SetDefersChildDeletion(false);
    group->RemoveChild(edit);
    edit = nullptr;
    EXPECT_FALSE(IsWindow(native));
    Pump();
    EXPECT_EQ(CEditWnd::LiveWindowCount(), baseline);
    // Messages that were on their way find nothing to reach.
    Click({10, 200});
    EXPECT_EQ(ChildWindowCount(host.GetNativeHandle()), 0);
}

TEST_F(EditWindowFixture, PasswordModeAndNumberOnlyWhileOpen)
{
    HWND native = OpenByFocus();
    ASSERT_NE(native, nullptr);
    edit->SetPasswordMode(true);
    EXPECT_EQ(SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0), L'*');
    edit->SetPasswordChar(L'#');
    EXPECT_EQ(SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0), L'#');
    edit->SetPasswordMode(false);
    EXPECT_EQ(SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0), 0);
    edit->SetPasswordChar(L'*');
    EXPECT_EQ(SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0), 0) << "no masking outside password mode";

    edit->SetNumberOnly(true);
    EXPECT_EQ(GetWindowLongW(native, GWL_STYLE) & ES_NUMBER, 0);
    edit->SetMaxChar(3);
    EXPECT_EQ(SendMessageW(native, EM_GETLIMITTEXT, 0, 0), 3);
    CloseByFocus();
    Click(EditCentre());
    native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    EXPECT_NE(GetWindowLongW(native, GWL_STYLE) & ES_NUMBER, 0);
}

TEST_F(EditWindowFixture, TranslucentBackgroundBrushesAndSystemColours)
{
    HWND native = OpenByFocus();
    ASSERT_NE(native, nullptr);
    HDC dc = GetDC(native);
    // Reflected colour messages get no brush: the system colours stay.
    EXPECT_EQ(SendMessageW(native, 0x2000 + WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(native)),
              0);
    edit->SetNativeBkColor(0x80FFFFFF);
    const LRESULT brush = SendMessageW(host.GetNativeHandle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(native));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(brush)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(CEditWnd::LiveBrushCount(), 1);
    ReleaseDC(native, dc);
    CloseByFocus();
    EXPECT_EQ(CEditWnd::LiveBrushCount(), 0);
}

TEST_F(EditWindowFixture, OpenCloseCyclesReturnToTheBaseline)
{
    const int windows = CEditWnd::LiveWindowCount();
    const int brushes = CEditWnd::LiveBrushCount();
    const sim::ProcessCounts before = sim::CountProcessResources();
    edit->SetNativeBkColor(0x80202020);
    // Even cycles open by focus and close by focusing the host window; odd
    // ones open by a click into the still focused box and close by moving
    // the focus to the button.
    for (int i = 0; i < 200; ++i) {
        if (i % 2 == 0) edit->TakeFocus();
        else Click(EditCentre());
        Pump();
        HWND native = edit->GetNativeWindow();
        ASSERT_NE(native, nullptr) << "cycle " << i;
        SendMessageW(native, WM_CHAR, L'1', 0);
        UpdateWindow(native);
        if (i % 2 == 0) CloseByFocus();
        else other->TakeFocus();
        Settle();
        ASSERT_EQ(edit->GetNativeWindow(), nullptr) << "cycle " << i;
    }
    EXPECT_EQ(CEditWnd::LiveWindowCount(), windows);
    EXPECT_EQ(CEditWnd::LiveBrushCount(), brushes);
    EXPECT_EQ(ChildWindowCount(host.GetNativeHandle()), 0);
    const sim::ProcessCounts after = sim::CountProcessResources();
    EXPECT_LE(after.gdi, before.gdi);
    EXPECT_LE(after.user, before.user);
}
