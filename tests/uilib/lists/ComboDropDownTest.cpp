// The combo's drop-down as a real window: placement, keys, row presses,
// closing, destruction while open and repeated use.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>

#include "ListTestKit.h"
#include "PopupHost.h"
#include "uilib/control/Combo.h"
#include "uilib/control/ComboWnd.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/layout/VerticalLayout.h"

using namespace SkinUI;
using ListTest::PopupHost;
using SkinUITest::PumpUntil;
using SkinUITest::NotifyRecorder;

namespace {

class ComboDropDown : public ::testing::Test {
public:
    void Open(int top, int rows, int dpi = 96)
    {
        host.reset(new PopupHost(RECT{100, top, 300, top + 24}));
        host->Manager().DpiScaler()->SetScaleFromDpi(dpi);
        layout = new CVerticalLayoutUI();
        combo = new CComboUI();
        combo->SetFixedHeightValue(24);
        ListTest::AddRows(*combo, rows);
        layout->AddChild(combo);
        host->SetRoot(layout);
        recorder.reset(new NotifyRecorder(host->Manager()));
    }
    void TearDown() override
    {
        recorder.reset();
        host.reset();
        EXPECT_TRUE(PumpUntil([&] { return ListTest::ThreadWindowCount() == baseline; }));
    }
    CComboWnd* DropDown() const { return combo->GetDropDownWindow(); }
    RECT DropDownRect() const
    {
        RECT rc = {0, 0, 0, 0};
        GetWindowRect(DropDown()->GetNativeHandle(), &rc);
        return rc;
    }
    bool WaitClosed() { return PumpUntil([&] { return DropDown() == nullptr; }); }
    void Key(WPARAM key) { SendMessageW(DropDown()->GetNativeHandle(), WM_KEYDOWN, key, 0); }

    const int baseline = ListTest::ThreadWindowCount();
    std::unique_ptr<PopupHost> host;
    std::unique_ptr<NotifyRecorder> recorder;
    CVerticalLayoutUI* layout = nullptr;
    CComboUI* combo = nullptr;
};

TEST_F(ComboDropDown, OpensBelowAsHighAsItsRows)
{
    Open(100, 3);
    SendMessageW(host->GetNativeHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(host->GetNativeHandle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_NE(DropDown(), nullptr);
    const RECT rc = DropDownRect();
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.top, 124);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(combo->GetButtonState() & (CComboUI::kStatePushed | CComboUI::kStateCaptured), uint32_t{CComboUI::kStatePushed});
    EXPECT_EQ(recorder->Count(L"predropdown"), 1);
    EXPECT_EQ(recorder->Count(L"dropdown"), 1);
    // The rows now live in the drop-down's tree.
    EXPECT_EQ(combo->GetChildAt(0)->GetPaintManager(), &DropDown()->PaintManager());

    ASSERT_TRUE(combo->ActivateControl());
    EXPECT_EQ(recorder->Count(L"predropdown"), 2);
    EXPECT_EQ(recorder->Count(L"dropdown"), 1);
}

TEST_F(ComboDropDown, AsHighAsItsRowsUpToTheBoxHeightAtEveryScale)
{
    // Rows of 20 and a margin of 4 under a box of 150, all skin pixels.
    const struct {
        int dpi;
        int rows;
        int height;
    } kCases[] = {{96, 3, 64}, {96, 10, 150}, {144, 7, 216}, {144, 10, 225}};
    for (const auto& c : kCases) {
        Open(100, c.rows, c.dpi);
        ASSERT_TRUE(combo->ActivateControl());
        const RECT rc = DropDownRect();
        EXPECT_EQ(rc.bottom - rc.top, c.height) << c.dpi << " dpi, " << c.rows << " rows";
        combo->CloseDropDownNow();
        recorder.reset();
        host.reset();
    }
}

TEST_F(ComboDropDown, OpensAboveNearTheBottomOfTheScreen)
{
    Open(860, 3);
    ASSERT_TRUE(combo->ActivateControl());
    const RECT rc = DropDownRect();
    EXPECT_EQ(rc.bottom, 860);
    EXPECT_EQ(rc.top, 796);
}

TEST_F(ComboDropDown, EscapeRestoresTheSelectionAndCloses)
{
    Open(100, 4);
    combo->SelectSingleItem(1, false);
    ASSERT_TRUE(combo->ActivateControl());
    recorder->Clear();
    Key(VK_DOWN);
    EXPECT_EQ(combo->GetSelectedIndex(), 2);
    Key(VK_ESCAPE);
    EXPECT_EQ(combo->GetSelectedIndex(), 1);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(recorder->Params(L"itemselect"), std::vector<int>({2, 1}));
    EXPECT_EQ(combo->GetButtonState() & CComboUI::kStatePushed, 0u);
    EXPECT_EQ(combo->GetChildAt(0)->GetParentControl(), combo);
    EXPECT_EQ(combo->GetChildAt(0)->GetPaintManager(), &host->Manager());
}

TEST_F(ComboDropDown, ReturnKeepsTheNewSelection)
{
    Open(100, 4);
    ASSERT_TRUE(combo->ActivateControl());
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(combo->GetSelectedIndex(), 1);
    EXPECT_EQ(combo->GetTextContent(), L"r1");
}

TEST_F(ComboDropDown, WheelInTheDropDownSelectsOrScrolls)
{
    Open(100, 10);
    combo->SelectSingleItem(0, false);
    ASSERT_TRUE(combo->ActivateControl());
    HWND drop = DropDown()->GetNativeHandle();
    SendMessageW(drop, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(combo->GetSelectedIndex(), 1);
    SendMessageW(drop, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(combo->GetSelectedIndex(), 0);
    combo->SetScrollSelect(false);
    SendMessageW(drop, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(combo->GetSelectedIndex(), 0);
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitClosed());
}

TEST_F(ComboDropDown, PressOnARowSelectsItAndCloses)
{
    Open(100, 4);
    ASSERT_TRUE(combo->ActivateControl());
    HWND drop = DropDown()->GetNativeHandle();
    UpdateWindow(drop);
    ASSERT_TRUE(PumpUntil([&] { return combo->GetChildAt(2)->GetPosition().bottom > 0; }));
    const RECT row = combo->GetChildAt(2)->GetPosition();
    POINT client = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    POINT screen = client;
    ClientToScreen(drop, &screen);
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
    const LPARAM at = MAKELPARAM(client.x, client.y);
    SendMessageW(drop, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(drop, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(combo->GetSelectedIndex(), 2);
}

TEST_F(ComboDropDown, DestroyingTheComboWhileOpenClosesTheDropDown)
{
    Open(100, 4);
    ASSERT_TRUE(combo->ActivateControl());
    HWND drop = DropDown()->GetNativeHandle();
    layout->SetDefersChildDeletion(false);
    ASSERT_TRUE(layout->RemoveChild(combo));
    combo = nullptr;
    EXPECT_FALSE(IsWindow(drop));
    // Messages still queued for the drop-down find nothing to reach.
    SkinUITest::PumpFor(50);
}

TEST_F(ComboDropDown, ClosingTheHostWhileOpenReturnsTheRows)
{
    Open(100, 4);
    ASSERT_TRUE(combo->ActivateControl());
    recorder.reset();
    host.reset();
    SkinUITest::PumpFor(50);
}

TEST_F(ComboDropDown, HundredOpenCloseCyclesLeaveNothingBehind)
{
    Open(100, 6);
    const int windows = ListTest::ThreadWindowCount();
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(combo->ActivateControl()) << i;
        Key(i % 2 == 0 ? VK_ESCAPE : VK_RETURN);
        ASSERT_TRUE(WaitClosed()) << i;
    }
    EXPECT_EQ(ListTest::ThreadWindowCount(), windows);
    EXPECT_EQ(recorder->Count(L"dropdown"), 100);
    for (int i = 0; i < combo->GetChildCount(); ++i) {
        EXPECT_EQ(combo->GetChildAt(i)->GetParentControl(), combo);
        EXPECT_EQ(combo->GetChildAt(i)->GetPaintManager(), &host->Manager());
    }
}

// Empties the combo from its "itemselect" handler, as code that rebuilds
// the rows on a selection would.
class EmptyOnSelect : public INotifyUI {
public:
    EmptyOnSelect(CPaintManagerUI& manager, CComboUI* combo) : m_manager(manager), m_combo(combo)
    {
        m_manager.RegisterNotifyReceiver(this);
    }
    ~EmptyOnSelect() { m_manager.UnregisterNotifyReceiver(this); }
    void ReceiveNotify(TNotifyInfo& notify) override
    {
        if (notify.type != L"itemselect" || m_combo->GetChildCount() == 0) return;
        m_combo->RemoveAllChildren();
        ++emptied;
    }
    int emptied = 0;

private:
    CPaintManagerUI& m_manager;
    CComboUI* m_combo;
};

TEST_F(ComboDropDown, RowsRemovedFromASelectionInsideTheDropDownCloseItSafely)
{
    const struct {
        const wchar_t* trigger;
        void (*run)(ComboDropDown& test, HWND drop);
    } cases[] = {
        {L"arrow key", [](ComboDropDown& t, HWND) { t.Key(VK_DOWN); }},
        {L"wheel",
         [](ComboDropDown&, HWND drop) {
             SendMessageW(drop, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
         }},
        {L"escape back to the old row", [](ComboDropDown& t, HWND) { t.Key(VK_ESCAPE); }},
        {L"row press",
         [](ComboDropDown& t, HWND drop) {
             UpdateWindow(drop);
             ASSERT_TRUE(PumpUntil([&] { return t.combo->GetChildAt(2)->GetPosition().bottom > 0; }));
             const RECT row = t.combo->GetChildAt(2)->GetPosition();
             const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
             SendMessageW(drop, WM_LBUTTONDOWN, MK_LBUTTON, at);
             SendMessageW(drop, WM_LBUTTONUP, 0, at);
         }},
    };
    for (const auto& c : cases) {
        Open(100, 4);
        combo->SelectSingleItem(0, false);
        ASSERT_TRUE(combo->ActivateControl()) << c.trigger;
        // Escape selects again only when the selection moved first.
        if (wcscmp(c.trigger, L"escape back to the old row") == 0) Key(VK_DOWN);
        {
            EmptyOnSelect emptier(host->Manager(), combo);
            c.run(*this, DropDown()->GetNativeHandle());
            EXPECT_EQ(1, emptier.emptied) << c.trigger;
        }
        EXPECT_EQ(0, combo->GetChildCount()) << c.trigger;
        EXPECT_EQ(nullptr, DropDown()) << c.trigger;
        EXPECT_EQ(-1, combo->GetSelectedIndex()) << c.trigger;
        SkinUITest::PumpFor(30);
        // Usable again afterwards.
        ListTest::AddRows(*combo, 2);
        ASSERT_TRUE(combo->ActivateControl()) << c.trigger;
        Key(VK_ESCAPE);
        EXPECT_TRUE(WaitClosed()) << c.trigger;
        recorder.reset();
        host.reset();
    }
}

} // namespace
