// Notifications, synchronous and queued, and deferred deletion of controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ManagerHarness.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

const UINT kQueuedWork = 0x8001;

std::vector<std::wstring>* g_journal = nullptr;

class Journal : public INotifyUI {
public:
    explicit Journal(const wchar_t* name) : m_name(name) {}
    void ReceiveNotify(TNotifyInfo& notify) override
    {
        g_journal->push_back(m_name + L":" + notify.type.CStr());
        senders.push_back(notify.sender);
        if (unregisterFrom != nullptr) unregisterFrom->UnregisterNotifyReceiver(this);
    }
    std::vector<CControlUI*> senders;
    CPaintManagerUI* unregisterFrom = nullptr;

private:
    std::wstring m_name;
};

bool SenderDelegate(void* param)
{
    g_journal->push_back(std::wstring(L"delegate:") + static_cast<TNotifyInfo*>(param)->type.CStr());
    return true;
}

struct NotifyWindow : ::testing::Test {
    CManagedWindow window;
    CProbeContainer* root = new CProbeContainer;
    CProbeControl* child = new CProbeControl;
    std::vector<std::wstring> journal;
    Journal first{L"first"};
    Journal second{L"second"};

    void SetUp() override
    {
        ASSERT_NE(window.Handle(), nullptr);
        g_journal = &journal;
        child->SetControlName(L"child");
        child->SetFlags(UIFLAG_TABSTOP);
        root->Add(child, RECT{10, 10, 110, 60});
        window.Manager().AttachRoot(root);
        window.ShowAndPaint();
        PumpPending();
        journal.clear();
        window.Manager().RegisterNotifyReceiver(&first);
        window.Manager().RegisterNotifyReceiver(&second);
    }

    void TearDown() override { g_journal = nullptr; }
};

} // namespace

TEST_F(NotifyWindow, SynchronousNotificationsReachDelegatesThenReceivers)
{
    child->OnNotify.AddDelegate(MakeDelegate(&SenderDelegate));
    window.Manager().SendNotification(child, L"changed");
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0], L"delegate:changed");
    EXPECT_EQ(journal[1], L"first:changed");
    EXPECT_EQ(journal[2], L"second:changed");
}

TEST_F(NotifyWindow, TwoQueuedNotificationsArriveInOrderThroughOneMessage)
{
    window.Manager().SendNotification(child, L"one", 1, 0, true);
    window.Manager().SendNotification(child, L"two", 2, 0, true);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(DispatchQueued(window.Handle(), kQueuedWork), 1);
    ASSERT_EQ(journal.size(), 4u);
    EXPECT_EQ(journal[0], L"first:one");
    EXPECT_EQ(journal[1], L"second:one");
    EXPECT_EQ(journal[2], L"first:two");
    EXPECT_EQ(journal[3], L"second:two");
    // Once drained, the next queued notification posts again.
    window.Manager().SendNotification(child, L"three", 0, 0, true);
    EXPECT_EQ(DispatchQueued(window.Handle(), kQueuedWork), 1);
}

TEST_F(NotifyWindow, AReceiverLeavingDuringDispatchSkipsNobody)
{
    first.unregisterFrom = &window.Manager();
    window.Manager().SendNotification(child, L"once");
    window.Manager().SendNotification(child, L"twice");
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0], L"first:once");
    EXPECT_EQ(journal[1], L"second:once");
    EXPECT_EQ(journal[2], L"second:twice");
    EXPECT_FALSE(window.Manager().UnregisterNotifyReceiver(&first));
    EXPECT_FALSE(window.Manager().RegisterNotifyReceiver(nullptr));
}

TEST_F(NotifyWindow, DeferredDeletionForgetsTheControlEverywhere)
{
    // Hovered, focused, pressed, ticking and named, with a notification queued.
    SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, PointParam(20, 20));
    ASSERT_EQ(child->CountOf(UIEVENT_MOUSEENTER), 1);
    window.Manager().SetFocusControl(child);
    ASSERT_EQ(window.Manager().FocusControl(), child);
    SendMessageW(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(20, 20));
    ASSERT_TRUE(window.Manager().IsMouseCaptured());
    ASSERT_TRUE(window.Manager().StartTimer(child, 3, 100000));
    window.Manager().SendNotification(child, L"late", 0, 0, true);
    const CProbeControl* gone = child;
    first.senders.clear();

    ASSERT_TRUE(root->Detach(child));
    window.Manager().QueueForDeletion(child);
    EXPECT_EQ(window.Manager().FocusControl(), nullptr);
    EXPECT_EQ(window.Manager().FindControlByName(L"child"), nullptr);
    EXPECT_FALSE(window.Manager().IsMouseCaptured());

    EXPECT_EQ(DispatchQueued(window.Handle(), kQueuedWork), 1);
    EXPECT_EQ(CProbeControl::Live().count(gone), 0u);
    ASSERT_EQ(first.senders.size(), 1u);
    EXPECT_EQ(first.senders[0], nullptr);

    // Mouse, keys and the old timer id reach no freed control.
    SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, PointParam(22, 22));
    SendMessageW(window.Handle(), WM_LBUTTONUP, 0, PointParam(22, 22));
    SendMessageW(window.Handle(), WM_KEYDOWN, 'A', 0);
    SendMessageW(window.Handle(), WM_KEYUP, 'A', 0);
    SendMessageW(window.Handle(), WM_TIMER, 17, 0);
    ASSERT_NE(root->LastOf(UIEVENT_MOUSEMOVE), nullptr);
    EXPECT_EQ(root->LastOf(UIEVENT_MOUSEMOVE)->point.x, 22);
    EXPECT_EQ(root->CountOf(UIEVENT_BUTTONUP), 0);
    EXPECT_EQ(root->CountOf(UIEVENT_TIMER), 0);

    // A new control may take the freed name.
    CProbeControl* again = new CProbeControl;
    again->SetControlName(L"child");
    root->Add(again, RECT{10, 10, 110, 60});
    EXPECT_EQ(window.Manager().FindControlByName(L"child"), again);
}

TEST_F(NotifyWindow, DeferredDeletionForgetsAWholeSubtree)
{
    CProbeContainer* box = new CProbeContainer;
    CProbeControl* inner = new CProbeControl;
    inner->SetControlName(L"inner");
    box->Add(inner, RECT{0, 0, 20, 20});
    root->Add(box, RECT{200, 10, 300, 60});
    window.Manager().SetFocusControl(inner);
    ASSERT_TRUE(window.Manager().StartTimer(inner, 1, 100000));
    ASSERT_EQ(window.Manager().FindControlByName(L"inner"), inner);

    ASSERT_TRUE(root->Detach(box));
    window.Manager().QueueForDeletion(box);
    EXPECT_EQ(window.Manager().FocusControl(), nullptr);
    EXPECT_EQ(window.Manager().FindControlByName(L"inner"), nullptr);
    EXPECT_EQ(DispatchQueued(window.Handle(), kQueuedWork), 1);
    EXPECT_EQ(CProbeControl::Live().count(inner), 0u);
    SendMessageW(window.Handle(), WM_TIMER, 17, 0);
    SendMessageW(window.Handle(), WM_KEYDOWN, 'B', 0);
}

TEST_F(NotifyWindow, ImmediateDeletionIsForgottenToo)
{
    SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, PointParam(20, 20));
    window.Manager().SetFocusControl(child);
    ASSERT_TRUE(root->Delete(child));
    EXPECT_EQ(window.Manager().FocusControl(), nullptr);
    SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, PointParam(200, 100));
    ASSERT_NE(root->LastOf(UIEVENT_MOUSEMOVE), nullptr);
    EXPECT_EQ(root->LastOf(UIEVENT_MOUSEMOVE)->point.x, 200);
}

TEST_F(NotifyWindow, ReplacingTheRootDeletesTheOldTreeLater)
{
    CProbeContainer* fresh = new CProbeContainer;
    const CProbeControl* oldChild = child;
    window.Manager().AttachRoot(fresh);
    EXPECT_EQ(window.Manager().FindControlByName(L"child"), nullptr);
    EXPECT_EQ(CProbeControl::Live().count(oldChild), 1u);
    EXPECT_EQ(DispatchQueued(window.Handle(), kQueuedWork), 1);
    EXPECT_EQ(CProbeControl::Live().count(oldChild), 0u);
    EXPECT_EQ(window.Manager().Root(), fresh);
}

TEST_F(NotifyWindow, FirstPaintSendsWindowInitThenQueuesWindowSize)
{
    CManagedWindow other;
    Journal watcher(L"w");
    other.Manager().RegisterNotifyReceiver(&watcher);
    other.Manager().AttachRoot(new CProbeContainer);
    other.ShowAndPaint();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0], L"w:windowinit");
    EXPECT_EQ(DispatchQueued(other.Handle(), kQueuedWork), 1);
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[1], L"w:windowsize");
    // Repainting without a layout sends neither again.
    InvalidateRect(other.Handle(), nullptr, FALSE);
    UpdateWindow(other.Handle());
    EXPECT_EQ(DispatchQueued(other.Handle(), kQueuedWork), 0);
    EXPECT_EQ(journal.size(), 2u);
}
