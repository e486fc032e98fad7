#include <gtest/gtest.h>

#include <vector>

#include "uilib/control/ScrollBar.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"
#include "uilib/layout/VerticalLayout.h"
#include "tests/uilib/kit/ExpectRect.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;
using SkinUITest::ExpectRect;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;
using SkinUITest::SendKey;

namespace {

// A control that reports its destruction and answers as a list item.
class CProbeControl : public CControlUI {
public:
    explicit CProbeControl(bool* destroyed = nullptr, bool listItem = false)
        : m_destroyed(destroyed), m_listItem(listItem)
    {
    }
    ~CProbeControl() override
    {
        if (m_destroyed != nullptr) *m_destroyed = true;
    }
    void* FindInterface(const wchar_t* name) override
    {
        if (m_listItem && CompareTextIgnoreCase(name, L"ListItem") == 0) return this;
        return CControlUI::FindInterface(name);
    }

private:
    bool* m_destroyed;
    bool m_listItem;
};

// Records the events that reach it.
class CEventSink : public CContainerUI {
public:
    void HandleEvent(TEventInfo& event) override { types.push_back(event.type); }
    std::vector<int32_t> types;
};

// Takes a tree out of its manager and deletes it, before the manager goes.
void DeleteTree(CPaintManagerUI& manager, CControlUI* root)
{
    manager.ForgetControl(root);
    root->AttachManager(nullptr, nullptr, false);
    delete root;
}

TEST(Container, ChildListOperationsRefuseBadInput)
{
    CContainerUI container;
    CControlUI* a = new CControlUI();
    CControlUI* b = new CControlUI();
    CControlUI* c = new CControlUI();
    EXPECT_FALSE(container.AddChild(nullptr));
    EXPECT_TRUE(container.AddChild(a));
    EXPECT_TRUE(container.AddChild(c));
    EXPECT_FALSE(container.InsertChildAt(b, 5));
    EXPECT_TRUE(container.InsertChildAt(b, 1));
    EXPECT_EQ(3, container.GetChildCount());
    EXPECT_EQ(1, container.IndexOfChild(b));
    EXPECT_EQ(nullptr, container.GetChildAt(3));
    EXPECT_EQ(nullptr, container.GetChildAt(-1));
    EXPECT_TRUE(container.MoveChildToIndex(a, 2));
    EXPECT_EQ(a, container.GetChildAt(2));
    EXPECT_FALSE(container.MoveChildToIndex(a, 7));
    EXPECT_EQ(a, container.GetChildAt(2));
    CControlUI stranger;
    EXPECT_FALSE(container.RemoveChild(&stranger));
    EXPECT_FALSE(container.RemoveChildAt(3));
    EXPECT_EQ(-1, container.IndexOfChild(&stranger));
}

TEST(Container, RemovedChildIsDeletedAtOnceWithoutManager)
{
    CContainerUI container;
    bool destroyed = false;
    CProbeControl* child = new CProbeControl(&destroyed);
    container.AddChild(child);
    EXPECT_TRUE(container.RemoveChild(child));
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(0, container.GetChildCount());
}

TEST(Container, ContainerThatOwnsNothingLeavesRemovedChildrenAlive)
{
    bool destroyed = false;
    CProbeControl child(&destroyed);
    {
        CContainerUI container;
        container.SetOwnsChildren(false);
        container.AddChild(&child);
        container.RemoveAllChildren();
        container.AddChild(&child);
    }
    EXPECT_FALSE(destroyed);
}

TEST(Container, DeferredRemovalKeepsTheChildUntilTheManagerCleansUp)
{
    // Declared before the manager: its clean-up reports here.
    bool destroyed = false;
    bool destroyedNow = false;
    CPaintManagerUI manager;
    CContainerUI* container = new CContainerUI();
    manager.InitializeTree(container, nullptr);
    CProbeControl* child = new CProbeControl(&destroyed);
    container->AddChild(child);
    EXPECT_EQ(&manager, child->GetPaintManager());
    EXPECT_EQ(container, child->GetParentControl());
    EXPECT_TRUE(container->RemoveChild(child));
    EXPECT_FALSE(destroyed);

    container->SetDefersChildDeletion(false);
    CProbeControl* second = new CProbeControl(&destroyedNow);
    container->AddChild(second);
    container->RemoveChild(second);
    EXPECT_TRUE(destroyedNow);

    DeleteTree(manager, container);
    // The queued child belongs to the manager now and goes with it.
}

TEST(Container, ChildAddedToHiddenContainerIsHiddenByInheritance)
{
    CContainerUI container;
    container.SetVisibility(false);
    CControlUI* child = new CControlUI();
    container.AddChild(child);
    EXPECT_FALSE(child->GetVisibility());
    container.SetVisibility(true);
    EXPECT_TRUE(child->GetVisibility());
}

TEST(Container, EnabledStateReachesEveryChild)
{
    CContainerUI container;
    CControlUI* child = new CControlUI();
    container.AddChild(child);
    container.SetEnabledState(false);
    EXPECT_FALSE(child->GetEnabledState());
    container.SetEnabledState(true);
    EXPECT_TRUE(child->GetEnabledState());
}

TEST(Container, BaseStacksEveryChildOverTheInnerArea)
{
    CContainerUI container;
    container.ApplyAttribute(L"inset", L"2,3,4,5");
    CControlUI* child = new CControlUI();
    CControlUI* small = new CControlUI();
    small->ApplyAttribute(L"maxwidth", L"10");
    container.AddChild(child);
    container.AddChild(small);
    container.SetPosition(RECT{0, 0, 100, 50}, false);
    EXPECT_EQ(CUIRect(2, 3, 96, 45).left, child->GetPosition().left);
    EXPECT_EQ(96, child->GetPosition().right);
    EXPECT_EQ(45, child->GetPosition().bottom);
    EXPECT_EQ(12, small->GetPosition().right);
}

TEST(Container, FloatingChildrenByAlignmentAndAnchors)
{
    CContainerUI container;
    CControlUI* centred = new CControlUI();
    centred->ApplyAttributeList(L"float=\"true\" width=\"20\" height=\"10\" floatalign=\"center,bottom\"");
    CControlUI* anchored = new CControlUI();
    anchored->ApplyAttributeList(L"float=\"0.5,0.5,0.5,0.5\" pos=\"2,3,12,8\"");
    container.AddChild(centred);
    container.AddChild(anchored);
    container.SetPosition(RECT{100, 200, 200, 300}, false);
    ExpectRect(centred->GetPosition(), 140, 290, 160, 300);
    ExpectRect(anchored->GetPosition(), 152, 253, 162, 258);
}

CControlUI* FindAny(CControlUI* control, void*)
{
    return control;
}

TEST(Container, HitTestDescendsOnlyWhenChildrenAcceptTheMouse)
{
    CContainerUI container;
    CControlUI* child = new CControlUI();
    container.AddChild(child);
    container.SetPosition(RECT{0, 0, 100, 100}, false);
    POINT pt = {50, 50};
    const uint32_t flags = UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST;
    EXPECT_EQ(child, container.FindInTree(FindAny, &pt, flags));
    container.ApplyAttribute(L"mousechild", L"false");
    EXPECT_EQ(&container, container.FindInTree(FindAny, &pt, flags));
    POINT outside = {150, 50};
    EXPECT_EQ(nullptr, container.FindInTree(FindAny, &outside, flags));
}

TEST(Container, HitTestTakesTheTopmostChildFirst)
{
    CContainerUI container;
    CControlUI* below = new CControlUI();
    CControlUI* above = new CControlUI();
    container.AddChild(below);
    container.AddChild(above);
    container.SetPosition(RECT{0, 0, 100, 100}, false);
    POINT pt = {10, 10};
    EXPECT_EQ(above, container.FindInTree(FindAny, &pt, UIFIND_HITTEST | UIFIND_TOP_FIRST));
    EXPECT_EQ(below, container.FindInTree(FindAny, &pt, UIFIND_HITTEST));
}

TEST(Container, BackwardSearchForSelectableItemEnds)
{
    CContainerUI container;
    EXPECT_EQ(-1, container.FindSelectableItem(0, false));
    container.AddChild(new CProbeControl());
    container.AddChild(new CProbeControl());
    // No list items at all: both directions give up.
    EXPECT_EQ(-1, container.FindSelectableItem(1, false));
    EXPECT_EQ(-1, container.FindSelectableItem(0, true));
    container.AddChild(new CProbeControl(nullptr, true));
    CProbeControl* disabled = new CProbeControl(nullptr, true);
    disabled->SetEnabledState(false);
    container.AddChild(disabled);
    EXPECT_EQ(2, container.FindSelectableItem(3, false));
    EXPECT_EQ(2, container.FindSelectableItem(-4, true));
    EXPECT_EQ(-1, container.FindSelectableItem(3, true));
    // Nothing at or before index 1: the first selectable from the top.
    EXPECT_EQ(2, container.FindSelectableItem(1, false));
}

TEST(Container, KeysAndWheelWithoutScrollBarsGoToTheParent)
{
    CEventSink parent;
    CContainerUI* container = new CContainerUI();
    parent.AddChild(container);
    container->AttachManager(nullptr, &parent, false);
    SendKey(*container, VK_DOWN);
    SendEvent(*container, UIEVENT_SCROLLWHEEL, 0, 0, 1);
    ASSERT_EQ(2u, parent.types.size());
    EXPECT_EQ(UIEVENT_KEYDOWN, parent.types[0]);
    EXPECT_EQ(UIEVENT_SCROLLWHEEL, parent.types[1]);
}

CVerticalLayoutUI* TallList(int rows)
{
    CVerticalLayoutUI* list = new CVerticalLayoutUI();
    list->ApplyAttribute(L"vscrollbar", L"true");
    for (int i = 0; i < rows; ++i) {
        CControlUI* row = new CControlUI();
        row->ApplyAttribute(L"height", L"20");
        list->AddChild(row);
    }
    list->SetPosition(RECT{0, 0, 100, 100}, false);
    return list;
}

TEST(Container, KeysAndWheelScrollAVisibleBar)
{
    CVerticalLayoutUI* list = TallList(10);
    ASSERT_EQ(100, list->GetScrollExtent().cy);
    SendEvent(*list, UIEVENT_SCROLLWHEEL, 0, 0, 1);
    // No manager: the default line is 8 pixels.
    EXPECT_EQ(8, list->GetScrollOffset().cy);
    SendKey(*list, VK_END);
    EXPECT_EQ(100, list->GetScrollOffset().cy);
    SendKey(*list, VK_PRIOR);
    EXPECT_EQ(0, list->GetScrollOffset().cy);
    list->SetScrollStep(30);
    list->ScrollLineDown();
    EXPECT_EQ(30, list->GetScrollOffset().cy);
    delete list;
}

TEST(Container, ScrollNotificationCountsLinesEvenWithLineSizeZero)
{
    CPaintManagerUI manager;
    NotifyRecorder recorder(manager);
    CVerticalLayoutUI* list = TallList(10);
    manager.InitializeTree(list, nullptr);
    list->GetVScrollBarControl()->SetLineSize(20);
    list->SetScrollOffset(CUISize(0, 40), true);
    ASSERT_EQ(1u, recorder.Entries().size());
    EXPECT_EQ(L"scroll", recorder.Entries()[0].type);
    EXPECT_EQ(list, recorder.Entries()[0].sender);
    EXPECT_EQ(3u, recorder.Entries()[0].wParam);

    list->GetVScrollBarControl()->SetLineSize(0);
    list->SetScrollOffset(CUISize(0, 45), true);
    ASSERT_EQ(2u, recorder.Entries().size());
    EXPECT_EQ(46u, recorder.Entries()[1].wParam);

    // The same offset again: nothing moves and nothing is sent.
    list->SetScrollOffset(CUISize(0, 45), true);
    EXPECT_EQ(2u, recorder.Entries().size());

    manager.UnregisterNotifyReceiver(&recorder);
    DeleteTree(manager, list);
}

TEST(Container, ArrowPressScrollsTheOwnerAndBothReportScroll)
{
    CPaintManagerUI manager;
    NotifyRecorder recorder(manager);
    CVerticalLayoutUI* list = TallList(10);
    manager.InitializeTree(list, nullptr);
    list->SetScrollStep(20);
    CScrollBarUI* bar = list->GetVScrollBarControl();
    const CUIRect down = bar->Button2Rect();
    SendEvent(*bar, UIEVENT_BUTTONDOWN, (down.left + down.right) / 2, (down.top + down.bottom) / 2);
    EXPECT_EQ(20, list->GetScrollOffset().cy);
    ASSERT_EQ(2u, recorder.Entries().size());
    EXPECT_EQ(list, recorder.Entries()[0].sender);
    EXPECT_EQ(bar, recorder.Entries()[1].sender);
    EXPECT_EQ(L"scroll", recorder.Entries()[1].type);
    manager.UnregisterNotifyReceiver(&recorder);
    DeleteTree(manager, list);
}

TEST(Container, MouseEventsOfAContainerThatIgnoresTheMouseGoToItsParent)
{
    CEventSink parent;
    CContainerUI* container = new CContainerUI();
    parent.AddChild(container);
    container->AttachManager(nullptr, &parent, false);
    container->SetAcceptsMouse(false);
    SendEvent(*container, UIEVENT_BUTTONDOWN);
    SendEvent(*container, UIEVENT_SETFOCUS);
    ASSERT_EQ(1u, parent.types.size());
    EXPECT_EQ(UIEVENT_BUTTONDOWN, parent.types[0]);
    EXPECT_TRUE(container->HasFocus());
}

TEST(Container, ScrollBarStyleFromTheManagerDefaults)
{
    CPaintManagerUI manager;
    manager.SetDefaultAttributeList(L"VScrollBar", L"width=\"9\" linesize=\"13\"", false);
    CContainerUI* container = new CContainerUI();
    manager.InitializeTree(container, nullptr);
    container->ApplyAttribute(L"vscrollbar", L"true");
    ASSERT_NE(nullptr, container->GetVScrollBarControl());
    EXPECT_EQ(13, container->GetVScrollBarControl()->GetLineSize());
    EXPECT_EQ(container, container->GetVScrollBarControl()->GetOwner());
    container->ApplyAttribute(L"vscrollbarstyle", L"linesize=\"5\"");
    EXPECT_EQ(5, container->GetVScrollBarControl()->GetLineSize());
    container->ApplyAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(nullptr, container->GetVScrollBarControl());
    DeleteTree(manager, container);
}

TEST(Container, ChildAlignmentWordsAreCaseSensitive)
{
    CContainerUI container;
    container.ApplyAttribute(L"childalign", L"right");
    EXPECT_EQ(2u, container.GetChildHAlignment());
    container.ApplyAttribute(L"childalign", L"Left");
    EXPECT_EQ(2u, container.GetChildHAlignment());
    container.ApplyAttribute(L"childvalign", L"bottom");
    EXPECT_EQ(8u, container.GetChildVAlignment());
    container.ApplyAttribute(L"ChildVAlign", L"top");
    EXPECT_EQ(8u, container.GetChildVAlignment());
}

} // namespace
