// Buttons, options and check boxes: the click rules, state strips at two
// scales, option groups (including members that go away) and tab binding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "uilib/control/Button.h"
#include "uilib/control/CheckBox.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/TabLayoutInterface.h"
#include "uilib/core/ControlFactory.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/layout/Container.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;
using SkinUITest::SendKey;
using SkinUITest::SkinImageFolder;

namespace {

struct ButtonFixture : ::testing::Test {
    ButtonFixture() : recorder(manager)
    {
        button.AttachManager(&manager, nullptr, false);
        button.SetPosition({0, 0, 40, 20});
    }

    CPaintManagerUI manager;
    NotifyRecorder recorder;
    CButtonUI button;
};

// A control that answers as a tab layout and records the pages asked for.
class FakeTabs : public CControlUI, public ITabLayoutUI {
public:
    void* FindInterface(const wchar_t* name) override
    {
        if (CompareTextIgnoreCase(name, kTabLayoutInterface) == 0) return static_cast<ITabLayoutUI*>(this);
        return CControlUI::FindInterface(name);
    }
    bool SelectPageAt(int index) override
    {
        pages.push_back(index);
        return true;
    }
    std::vector<int> pages;
};

// Options joined to one manager, in group "g" unless said otherwise.
struct OptionFixture : ::testing::Test {
    OptionFixture() : recorder(manager) {}

    COptionUI* Make(const wchar_t* group = L"g")
    {
        COptionUI* option = new COptionUI();
        option->SetPosition({0, 0, 20, 20});
        option->AttachManager(&manager, nullptr, false);
        option->ApplyAttribute(L"group", group);
        // Attributes are applied attached, then the tree is initialised.
        option->AttachManager(nullptr, nullptr, false);
        option->AttachManager(&manager, nullptr, true);
        owned.push_back(option);
        return option;
    }
    void Release(COptionUI* option)
    {
        for (auto& slot : owned) {
            if (slot == option) slot = nullptr;
        }
        delete option;
    }
    int Members(const wchar_t* group)
    {
        CUIPtrArray* members = manager.OptionGroupMembers(group);
        return members != nullptr ? members->Count() : 0;
    }
    ~OptionFixture() override
    {
        for (COptionUI* option : owned) delete option;
    }

    CPaintManagerUI manager;
    NotifyRecorder recorder;
    std::vector<COptionUI*> owned;
};

const std::vector<uint32_t> kCells = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};

uint32_t PaintedCentre(CControlUI& control, int w, int h)
{
    DibCanvas canvas(w, h);
    RECT all = {0, 0, w, h};
    control.PaintArea(canvas.Dc(), all, nullptr);
    return canvas.Rgb(w / 2, h / 2);
}

// The cell shown by a 4-cell strip button in each state, at one scale.
void ExpectStripCells(int dpi, int size)
{
    SkinImageFolder folder;
    ASSERT_TRUE(folder.Write(L"strip.png", 10, kCells));
    ASSERT_TRUE(folder.Write(L"strip@150.png", 15, kCells));

    CPaintManagerUI manager;
    manager.ApplyDpi(dpi);
    CButtonUI button;
    button.AttachManager(&manager, nullptr, false);
    button.SetPosition({0, 0, size, size});
    button.ApplyAttribute(L"stateimage", L"file='strip.png'");
    button.ApplyAttribute(L"statecount", L"4");

    EXPECT_EQ(PaintedCentre(button, size, size), kCells[0]);
    // Texts stay in skin pixels and name the plain file: drawing scales them.
    EXPECT_EQ(button.GetHotImageSpec(), L"res='strip.png' restype='' dest='0,0,0,0' source='10,0,20,10'");
    EXPECT_EQ(button.GetPushedImageSpec(), L"res='strip.png' restype='' dest='0,0,0,0' source='20,0,30,10'");
    SendEvent(button, UIEVENT_MOUSEENTER, 1, 1);
    EXPECT_EQ(PaintedCentre(button, size, size), kCells[1]);
    SendEvent(button, UIEVENT_BUTTONDOWN, 1, 1);
    EXPECT_EQ(PaintedCentre(button, size, size), kCells[2]);
    SendEvent(button, UIEVENT_BUTTONUP, 100, 100);
    button.SetEnabledState(false);
    EXPECT_EQ(PaintedCentre(button, size, size), kCells[3]);
    button.AttachManager(nullptr, nullptr, false);
}

} // namespace

TEST_F(ButtonFixture, PressMoveOutAndReleaseOutsideSendsNoClick)
{
    SendEvent(button, UIEVENT_BUTTONDOWN, 10, 10);
    EXPECT_EQ(button.GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED), UISTATE_PUSHED | UISTATE_CAPTURED);
    SendEvent(button, UIEVENT_MOUSEMOVE, 100, 10);
    EXPECT_EQ(button.GetButtonState() & UISTATE_PUSHED, 0u);
    SendEvent(button, UIEVENT_MOUSEMOVE, 20, 10);
    EXPECT_NE(button.GetButtonState() & UISTATE_PUSHED, 0u);
    SendEvent(button, UIEVENT_MOUSEMOVE, 100, 10);
    SendEvent(button, UIEVENT_BUTTONUP, 100, 10);
    EXPECT_EQ(button.GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED), 0u);
    EXPECT_EQ(recorder.Types(), L"");

    SendEvent(button, UIEVENT_BUTTONDOWN, 10, 10);
    SendEvent(button, UIEVENT_BUTTONUP, 12, 12);
    EXPECT_EQ(recorder.Types(), L"click");

    // A press outside never captures, so its release is ignored.
    SendEvent(button, UIEVENT_BUTTONDOWN, 100, 10);
    SendEvent(button, UIEVENT_BUTTONUP, 10, 10);
    EXPECT_EQ(recorder.Count(L"click"), 1);
}

TEST_F(ButtonFixture, SpaceAndReturnClickOnlyWhenEnabled)
{
    SendKey(button, VK_SPACE);
    SendKey(button, VK_RETURN);
    SendKey(button, 'A');
    EXPECT_EQ(recorder.Types(), L"click click");
    button.SetEnabledState(false);
    SendKey(button, VK_SPACE);
    SendEvent(button, UIEVENT_BUTTONDOWN, 10, 10);
    SendEvent(button, UIEVENT_BUTTONUP, 10, 10);
    EXPECT_EQ(recorder.Count(L"click"), 2);
    EXPECT_EQ(button.GetButtonState(), 0u);
}

TEST_F(ButtonFixture, HotStateAndMenu)
{
    SendEvent(button, UIEVENT_MOUSEENTER, 10, 10);
    EXPECT_NE(button.GetButtonState() & UISTATE_HOT, 0u);
    SendEvent(button, UIEVENT_MOUSELEAVE, 100, 10);
    EXPECT_EQ(button.GetButtonState() & UISTATE_HOT, 0u);
    SendEvent(button, UIEVENT_CONTEXTMENU, 10, 10);
    EXPECT_EQ(recorder.Types(), L"");
    button.ApplyAttribute(L"menu", L"true");
    SendEvent(button, UIEVENT_CONTEXTMENU, 10, 10, 7);
    ASSERT_EQ(recorder.Types(), L"menu");
    EXPECT_EQ(recorder.Entries()[0].wParam, 7u);
}

TEST_F(ButtonFixture, StateColoursFillByState)
{
    button.ApplyAttribute(L"hotbkcolor", L"#FF00FF00");
    button.ApplyAttribute(L"pushedbkcolor", L"FF0000FF");
    button.ApplyAttribute(L"disabledbkcolor", L"#FF808080");
    button.SetBackgroundColor(0xFFFF0000);
    EXPECT_EQ(PaintedCentre(button, 40, 20), 0xFF0000u);
    SendEvent(button, UIEVENT_MOUSEENTER, 10, 10);
    EXPECT_EQ(PaintedCentre(button, 40, 20), 0x00FF00u);
    SendEvent(button, UIEVENT_BUTTONDOWN, 10, 10);
    EXPECT_EQ(PaintedCentre(button, 40, 20), 0x0000FFu);
    button.SetEnabledState(false);
    EXPECT_EQ(PaintedCentre(button, 40, 20), 0x808080u);
}

TEST_F(ButtonFixture, AttributesReachTheirFields)
{
    button.ApplyAttribute(L"normalimage", L"file='n.png'");
    button.ApplyAttribute(L"HOTIMAGE", L"file='h.png'");
    button.ApplyAttribute(L"pushedimage", L"file='p.png'");
    button.ApplyAttribute(L"focusedimage", L"file='f.png'");
    button.ApplyAttribute(L"disabledimage", L"file='d.png'");
    button.ApplyAttribute(L"hotforeimage", L"file='hf.png'");
    button.ApplyAttribute(L"hottextcolor", L"#FF010203");
    button.ApplyAttribute(L"pushedtextcolor", L"FF040506");
    button.ApplyAttribute(L"focusedtextcolor", L"#FF070809");
    button.ApplyAttribute(L"hotfont", L"2");
    button.ApplyAttribute(L"pushedfont", L"3");
    button.ApplyAttribute(L"focuedfont", L"4");
    button.ApplyAttribute(L"bindtabindex", L"3");
    button.ApplyAttribute(L"bindtabindex", L"-1");
    EXPECT_EQ(button.GetNormalImageSpec(), L"file='n.png'");
    EXPECT_EQ(button.GetHotImageSpec(), L"file='h.png'");
    EXPECT_EQ(button.GetPushedImageSpec(), L"file='p.png'");
    EXPECT_EQ(button.GetFocusedImageSpec(), L"file='f.png'");
    EXPECT_EQ(button.GetDisabledImageSpec(), L"file='d.png'");
    EXPECT_EQ(button.GetHotForeImageSpec(), L"file='hf.png'");
    EXPECT_EQ(button.GetHotTextColor(), 0xFF010203u);
    EXPECT_EQ(button.GetPushedTextColor(), 0xFF040506u);
    EXPECT_EQ(button.GetFocusedTextColor(), 0xFF070809u);
    EXPECT_EQ(button.GetHotFont(), 2);
    EXPECT_EQ(button.GetPushedFont(), 3);
    EXPECT_EQ(button.GetFocusedFont(), 4);
    EXPECT_EQ(button.GetBindTabIndex(), 3);
    EXPECT_EQ(button.GetTextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
    button.ApplyAttribute(L"stateimage", L"file='s.png'");
    EXPECT_TRUE(button.GetNormalImageSpec().IsEmpty());
    EXPECT_STREQ(button.GetTypeName(), L"ButtonUI");
    EXPECT_EQ(button.FindInterface(L"button"), &button);
    EXPECT_EQ(button.FindInterface(L"Label"), &button);
    EXPECT_EQ(button.FindInterface(L"Option"), nullptr);
}

TEST(ButtonStrip, FourCellsAtOneHundredPercent)
{
    ExpectStripCells(96, 10);
}

TEST(ButtonStrip, FourCellsAtOneHundredFiftyPercent)
{
    ExpectStripCells(144, 15);
}

TEST(ButtonStrip, TwoCellsShowTheSecondWhenPushed)
{
    SkinImageFolder folder;
    ASSERT_TRUE(folder.Write(L"two.png", 10, {0xFF0000, 0x00FF00}));
    CPaintManagerUI manager;
    CButtonUI button;
    button.AttachManager(&manager, nullptr, false);
    button.SetPosition({0, 0, 10, 10});
    button.ApplyAttribute(L"stateimage", L"two.png");
    button.ApplyAttribute(L"statecount", L"2");
    EXPECT_EQ(PaintedCentre(button, 10, 10), 0xFF0000u);
    SendEvent(button, UIEVENT_BUTTONDOWN, 1, 1);
    EXPECT_EQ(PaintedCentre(button, 10, 10), 0x00FF00u);
    EXPECT_TRUE(button.GetDisabledImageSpec().IsEmpty());
    button.AttachManager(nullptr, nullptr, false);
}

TEST(ButtonTabBinding, OnlyATabLayoutIsAskedToSelectAPage)
{
    CPaintManagerUI manager;
    NotifyRecorder recorder(manager);
    CContainerUI* root = new CContainerUI();
    CButtonUI* toPlain = new CButtonUI();
    CButtonUI* toTabs = new CButtonUI();
    CControlUI* plain = new CControlUI();
    FakeTabs* tabs = new FakeTabs();
    plain->SetControlName(L"plain");
    tabs->SetControlName(L"pages");
    toPlain->ApplyAttribute(L"bindtablayoutname", L"plain");
    toPlain->ApplyAttribute(L"bindtabindex", L"1");
    toTabs->ApplyAttribute(L"bindtablayoutname", L"pages");
    toTabs->ApplyAttribute(L"bindtabindex", L"2");
    root->AddChild(toPlain);
    root->AddChild(toTabs);
    root->AddChild(plain);
    root->AddChild(tabs);
    manager.InitializeTree(root, nullptr);

    EXPECT_TRUE(toPlain->Activate());
    EXPECT_TRUE(toTabs->Activate());
    EXPECT_EQ(recorder.Types(), L"click click");
    ASSERT_EQ(tabs->pages.size(), 1u);
    EXPECT_EQ(tabs->pages[0], 2);

    toTabs->SetVisibility(false);
    EXPECT_FALSE(toTabs->Activate());
    EXPECT_EQ(tabs->pages.size(), 1u);
    delete root;
}

TEST_F(OptionFixture, GroupSelectionIsExclusiveWithOneNotification)
{
    COptionUI* a = Make();
    COptionUI* b = Make();
    COptionUI* c = Make();
    EXPECT_EQ(Members(L"g"), 3);

    EXPECT_TRUE(a->Activate());
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(recorder.Types(), L"click selectchanged");
    EXPECT_EQ(recorder.Entries()[1].sender, a);

    a->Activate();
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(recorder.Types(), L"click selectchanged click");

    recorder.Clear();
    b->Activate();
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_EQ(recorder.Types(), L"click selectchanged");
    EXPECT_EQ(recorder.Entries()[1].sender, b);
    EXPECT_EQ(a->GetButtonState() & UISTATE_SELECTED, 0u);
    EXPECT_NE(b->GetButtonState() & UISTATE_SELECTED, 0u);
}

TEST_F(OptionFixture, WithoutGroupAnOptionToggles)
{
    COptionUI* a = Make(L"");
    a->Activate();
    EXPECT_TRUE(a->IsSelected());
    a->Activate();
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(recorder.Types(), L"click selectchanged click selectchanged");
}

TEST_F(OptionFixture, SelectedAttributeSelectsSilently)
{
    COptionUI* a = Make();
    COptionUI* b = Make();
    b->ApplyAttribute(L"selected", L"TRUE");
    EXPECT_TRUE(b->IsSelected());
    a->SetSelectedState(true, true);
    EXPECT_FALSE(b->IsSelected());
    EXPECT_EQ(recorder.Types(), L"");
}

TEST_F(OptionFixture, DeletedMemberLeavesItsGroup)
{
    COptionUI* a = Make();
    COptionUI* b = Make();
    COptionUI* c = Make();
    b->Activate();
    Release(b);
    EXPECT_EQ(Members(L"g"), 2);
    a->Activate();
    EXPECT_TRUE(a->IsSelected());

    // Detached first (as queued deletion and the builder do), deleted later.
    c->AttachManager(nullptr, nullptr, false);
    EXPECT_EQ(Members(L"g"), 1);
    Release(c);
    COptionUI* d = Make();
    d->Activate();
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(d->IsSelected());

    manager.QueueForDeletion(a);
    for (auto& slot : owned) {
        if (slot == a) slot = nullptr;
    }
    EXPECT_EQ(Members(L"g"), 1);
    Make()->Activate();
    EXPECT_FALSE(d->IsSelected());
}

TEST_F(OptionFixture, MovingToAnotherManagerOrGroupMovesMembership)
{
    COptionUI* a = Make();
    a->ApplyAttribute(L"group", L"h");
    EXPECT_EQ(Members(L"g"), 0);
    EXPECT_EQ(Members(L"h"), 1);
    EXPECT_EQ(a->GetGroupName(), L"h");

    CPaintManagerUI other;
    a->AttachManager(&other, nullptr, true);
    EXPECT_EQ(Members(L"h"), 0);
    CUIPtrArray* there = other.OptionGroupMembers(L"h");
    ASSERT_NE(there, nullptr);
    EXPECT_EQ(there->Count(), 1);
    Release(a);
    EXPECT_EQ(other.OptionGroupMembers(L"h"), nullptr);
}

TEST_F(OptionFixture, CheckBoxAutoCheckAndCheckedState)
{
    CCheckBoxUI box;
    box.SetPosition({0, 0, 20, 20});
    box.AttachManager(&manager, nullptr, true);
    box.ApplyAttribute(L"EnableAutoCheck", L"true");
    EXPECT_TRUE(box.IsAutoCheck());
    SendEvent(box, UIEVENT_BUTTONDOWN, 5, 5);
    EXPECT_TRUE(box.IsChecked());
    SendEvent(box, UIEVENT_BUTTONUP, 5, 5);
    ASSERT_EQ(recorder.Types(), L"selectchanged checkclick");
    EXPECT_EQ(recorder.Entries()[0].wParam, 1u);
    SendEvent(box, UIEVENT_BUTTONDOWN, 5, 5);
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(recorder.Entries()[2].wParam, 0u);
    // Outside the box nothing toggles.
    SendEvent(box, UIEVENT_BUTTONDOWN, 50, 5);
    EXPECT_FALSE(box.IsChecked());

    recorder.Clear();
    box.SetCheckedState(true);
    box.SetCheckedState(true);
    box.SetCheckedState(false);
    ASSERT_EQ(recorder.Types(), L"selectchanged selectchanged");
    EXPECT_EQ(recorder.Entries()[0].wParam, 1u);
    EXPECT_EQ(recorder.Entries()[1].wParam, 0u);
    box.AttachManager(nullptr, nullptr, false);
}

TEST_F(OptionFixture, CheckBoxInAGroupUnselectsTheOthersSilently)
{
    COptionUI* a = Make();
    a->SetSelectedState(true, true);
    CCheckBoxUI box;
    box.AttachManager(&manager, nullptr, true);
    box.SetGroupName(L"g");
    box.SetCheckedState(true);
    EXPECT_FALSE(a->IsSelected());
    ASSERT_EQ(recorder.Types(), L"selectchanged");
    EXPECT_EQ(recorder.Entries()[0].sender, &box);
    EXPECT_EQ(recorder.Entries()[0].wParam, 1u);
    box.SetCheckedState(false);
    EXPECT_EQ(recorder.Types(), L"selectchanged");
    EXPECT_STREQ(box.GetTypeName(), L"CheckBoxUI");
    EXPECT_EQ(box.FindInterface(L"Option"), &box);
    box.AttachManager(nullptr, nullptr, false);
}

TEST_F(OptionFixture, SelectedLookReplacesTheButtonLook)
{
    COptionUI* a = Make(L"");
    a->SetPosition({0, 0, 20, 20});
    a->SetBackgroundColor(0xFFFF0000);
    a->ApplyAttribute(L"selectedbkcolor", L"#FF00FF00");
    EXPECT_EQ(PaintedCentre(*a, 20, 20), 0xFF0000u);
    a->SetSelectedState(true, true);
    EXPECT_EQ(PaintedCentre(*a, 20, 20), 0x00FF00u);

    // Without a selected colour a selected option paints no background colour.
    COptionUI* b = Make(L"");
    b->SetPosition({0, 0, 20, 20});
    b->SetBackgroundColor(0xFFFF0000);
    b->SetSelectedState(true, true);
    EXPECT_EQ(PaintedCentre(*b, 20, 20), 0u);
}

TEST(ControlFactoryRegistration, SkinTagsCreateTheseControls)
{
    struct Case {
        const wchar_t* className;
        const wchar_t* typeName;
    } cases[] = {{L"CLabelUI", L"LabelUI"},     {L"CProgressUI", L"ProgressUI"}, {L"CSliderUI", L"SliderUI"},
                 {L"CButtonUI", L"ButtonUI"},   {L"COptionUI", L"OptionUI"},     {L"CCheckBoxUI", L"CheckBoxUI"},
                 {L"ceditui", L"EditUI"}};
    for (const Case& c : cases) {
        CControlUI* control = CControlFactory::GetInstance()->CreateControl(c.className);
        ASSERT_NE(control, nullptr) << c.className;
        EXPECT_STREQ(control->GetTypeName(), c.typeName);
        delete control;
    }
}

TEST(OptionFromSkin, BuiltOptionsShareTheirGroupOnceTheTreeIsLive)
{
    CPaintManagerUI manager;
    NotifyRecorder recorder(manager);
    CDialogBuilder builder;
    CControlUI* root = builder.BuildFromSource(
        L"<Window><VerticalLayout>"
        L"<Option name=\"a\" group=\"g\" selected=\"true\"/><Option name=\"b\" group=\"g\"/>"
        L"<CheckBox name=\"c\" EnableAutoCheck=\"true\"/><Slider name=\"s\" sendmove=\"true\"/>"
        L"<Edit name=\"e\" maxchar=\"6\"/><Progress name=\"p\"/><Label name=\"l\"/><Button name=\"x\"/>"
        L"</VerticalLayout></Window>",
        nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(builder.UnknownTags().IsEmpty());
    EXPECT_EQ(manager.OptionGroupMembers(L"g"), nullptr) << "a built tree is detached until it is attached";
    manager.InitializeTree(root, nullptr);
    CUIPtrArray* members = manager.OptionGroupMembers(L"g");
    ASSERT_NE(members, nullptr);
    EXPECT_EQ(members->Count(), 2);

    COptionUI* a = static_cast<COptionUI*>(manager.FindControlByName(L"a"));
    COptionUI* b = static_cast<COptionUI*>(manager.FindControlByName(L"b"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(a->IsSelected());
    b->Activate();
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(recorder.Types(), L"click selectchanged");
    EXPECT_TRUE(static_cast<CCheckBoxUI*>(manager.FindControlByName(L"c"))->IsAutoCheck());
    EXPECT_EQ(static_cast<CEditUI*>(manager.FindControlByName(L"e"))->GetMaxChar(), 6u);
    delete root;
    EXPECT_EQ(manager.OptionGroupMembers(L"g"), nullptr);
}
