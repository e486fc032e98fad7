#pragma once

#include <gtest/gtest.h>

#include <vector>
#include <windows.h>

#include "uilib/control/ListLabelElement.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"
#include "tests/uilib/kit/MessagePump.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"

namespace ListTest {

// Holds Ctrl down in this thread's keyboard state while alive.
class CtrlHeld {
public:
    CtrlHeld();
    ~CtrlHeld();
    CtrlHeld(const CtrlHeld&) = delete;
    CtrlHeld& operator=(const CtrlHeld&) = delete;
};

// A label row of fixed height with a text.
SkinUI::CListLabelElementUI* NewRow(const wchar_t* text, int height = 20);
// Adds count rows named "r0".. to the container (a list or a combo).
void AddRows(SkinUI::IContainerUI& rows, int count, int height = 20);

// Top-level windows of this thread that are still alive.
int ThreadWindowCount();

// Inputs besides keys: the wheel turned one notch (down: towards the last row).
enum : int { kWheelUp = -1, kWheelDown = -2 };

// Inputs sent in turn, then the row that must be selected and how many
// selections must have been announced since the walk began.
struct Step {
    std::vector<int> inputs;
    int selected;
    int announced;
};

// A list or combo made ready (attributes, rows disabled or hidden, a row
// selected, the recorder cleared), then walked by keys and the wheel.
struct Walk {
    const char* name;
    const wchar_t* attributes;
    std::vector<int> disabled;
    std::vector<int> hidden;
    int start;
    std::vector<Step> steps;
    std::vector<int> announcedRows;
};

template <class Owner>
void ExpectWalk(Owner& owner, SkinUITest::NotifyRecorder& recorder, const Walk& walk)
{
    SCOPED_TRACE(walk.name);
    owner.ApplyAttributeList(walk.attributes);
    for (int i : walk.disabled) owner.GetChildAt(i)->SetEnabledState(false);
    for (int i : walk.hidden) owner.GetChildAt(i)->SetVisibility(false);
    owner.SelectSingleItem(walk.start, false);
    recorder.Clear();
    for (size_t s = 0; s < walk.steps.size(); ++s) {
        for (int input : walk.steps[s].inputs) {
            if (input == kWheelUp || input == kWheelDown)
                SkinUITest::SendEvent(owner, SkinUI::UIEVENT_SCROLLWHEEL, 0, 0, input == kWheelDown);
            else
                SkinUITest::SendKey(owner, static_cast<WORD>(input));
        }
        EXPECT_EQ(walk.steps[s].selected, owner.GetSelectedIndex()) << "after step " << s;
        EXPECT_EQ(walk.steps[s].announced, recorder.Count(L"itemselect")) << "after step " << s;
    }
    EXPECT_EQ(walk.announcedRows, recorder.Params(L"itemselect"));
}

} // namespace ListTest
