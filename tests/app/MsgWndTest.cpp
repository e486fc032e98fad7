#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "AppSkin.h"
#include "DialogScript.h"
#include "app/windows/MsgWnd.h"
#include "tests/uilib/kit/MessagePump.h"

using namespace SkinUI;

namespace {

// What one box showed while it was open, read from inside its modal loop.
struct Seen {
    bool opened = false;
    bool cancelVisible = false;
    bool thirdVisible = false;
    std::wstring title;
    std::wstring text;
    std::wstring confirmCaption;
};

// Runs inside the box's modal loop on a thread timer: records what the box
// shows, then answers through answer(box).
struct BoxScript {
    Seen seen;
    std::function<void(CMsgWnd&, HWND)> answer;
    int ticks = 0;
};
BoxScript* g_script = nullptr;

void CALLBACK OnScriptTick(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = SkinUITest::FindOwnWindow(L"MsgWnd", L"msgwnd");
    if (window == nullptr || g_script == nullptr) return;
    CWindowWnd* object = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    CMsgWnd* box = dynamic_cast<CMsgWnd*>(object);
    if (box == nullptr) return;
    if (!g_script->seen.opened) {
        CPaintManagerUI& manager = box->PaintManager();
        g_script->seen.opened = true;
        g_script->seen.cancelVisible = VisibleOf(manager, L"cancel_btn");
        g_script->seen.thirdVisible = VisibleOf(manager, L"third_btn");
        g_script->seen.title = TextOf(manager, L"MessageTitle");
        g_script->seen.text = TextOf(manager, L"MessageText");
        g_script->seen.confirmCaption = TextOf(manager, L"confirm_btn");
    }
    ++g_script->ticks;
    KillTimer(nullptr, timer);
    g_script->answer(*box, window);
}

// A real click: the mouse pressed and let go over the control's centre.
void ClickControl(CMsgWnd& box, HWND window, const wchar_t* name)
{
    ASSERT_NE(nullptr, dialogs::Find(box, name)) << name;
    dialogs::Click(box, window, name);
}

int RunScripted(BoxScript& script, const std::function<int()>& open)
{
    g_script = &script;
    SetTimer(nullptr, 0, 30, OnScriptTick);
    const int result = open();
    g_script = nullptr;
    return result;
}

const wchar_t kHeldEnter[] = L"held Enter";  // its auto-repeat reaches the box, then cancel is clicked
const wchar_t kTabEnter[] = L"Tab, Enter";  // from the default button to the next stop, which is pressed

struct ButtonCase {
    int count;
    const wchar_t* click;
    int result;
    bool cancelShown;
    bool thirdShown;
    bool destructive = false;
};

class MsgBoxButtons : public ::testing::TestWithParam<ButtonCase> {
protected:
    void SetUp() override { ASSERT_TRUE(OpenAppSkin()); }
};

TEST_P(MsgBoxButtons, ShowsTheAskedButtonsAndAnswersWithTheClickedOne)
{
    const ButtonCase c = GetParam();
    BoxScript script;
    script.answer = [&](CMsgWnd& box, HWND window) {
        const LPARAM repeat = c.click == kHeldEnter ? 1 << 30 : 0;
        if (c.click == kTabEnter) PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
        const bool enter = c.click == nullptr || c.click == kTabEnter;
        if (enter || repeat) PostMessageW(window, WM_KEYDOWN, VK_RETURN, repeat);  // Enter
        if (c.click != nullptr && !enter) ClickControl(box, window, c.click == kHeldEnter ? L"cancel_btn" : c.click);
    };
    const wchar_t* captions[CMsgWnd::kMaxButtons] = {L"Yes", L"No", L"Empty"};
    const int result = RunScripted(script, [&] {
        return c.destructive ? AskDestructive(nullptr, L"Notice", L"Empty the outputs?", captions, c.count)
                             : ShowMsgBoxEx(nullptr, L"Notice", L"Empty the outputs?", captions, c.count);
    });
    ASSERT_TRUE(script.seen.opened);
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.cancelShown, script.seen.cancelVisible);
    EXPECT_EQ(c.thirdShown, script.seen.thirdVisible);
    EXPECT_EQ(L"Notice", script.seen.title);
    EXPECT_EQ(L"Empty the outputs?", script.seen.text);
    EXPECT_EQ(L"Yes", script.seen.confirmCaption);
    EXPECT_EQ(nullptr, SkinUITest::FindOwnWindow(L"MsgWnd"));
}

INSTANTIATE_TEST_SUITE_P(Counts, MsgBoxButtons,
                         ::testing::Values(ButtonCase{1, L"confirm_btn", 1, false, false},
                                           ButtonCase{2, L"cancel_btn", 0, true, false},
                                           ButtonCase{2, L"confirm_btn", 1, true, false},
                                           ButtonCase{3, L"third_btn", 2, true, true},
                                           ButtonCase{3, nullptr, 1, true, true},
                                           ButtonCase{3, nullptr, 0, true, true, true},
                                           ButtonCase{3, kHeldEnter, 0, true, true},
                                           ButtonCase{3, kTabEnter, 2, true, true, true},
                                           ButtonCase{3, L"closebtn", 0, true, true}));

TEST(MsgBox, EmptyTitleAndTextKeepTheLayoutsAndTheQuestionShowsBothButtons)
{
    ASSERT_TRUE(OpenAppSkin());
    BoxScript script;
    script.answer = [](CMsgWnd& box, HWND window) { ClickControl(box, window, L"confirm_btn"); };
    const int result = RunScripted(script, [] { return ShowMsgBox(nullptr, L"", L""); });
    EXPECT_EQ(1, result);
    EXPECT_EQ(std::wstring(CResourceStore::GetInstance()->LookupText(L"${tips}").CStr()), script.seen.title);
    EXPECT_TRUE(script.seen.cancelVisible);
    EXPECT_FALSE(script.seen.thirdVisible);
}

TEST(MsgBox, EscapeLeavesTheBoxOpenAndACloseFromOutsideAnswersItsCode)
{
    ASSERT_TRUE(OpenAppSkin());
    BoxScript script;
    bool openAfterEscape = false;
    script.answer = [&](CMsgWnd&, HWND window) {
        if (script.ticks == 1) {
            PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
            SetTimer(nullptr, 0, 60, OnScriptTick);
            return;
        }
        openAfterEscape = IsWindow(window) != FALSE;
        PostMessageW(window, WM_CLOSE, 7, 0);
    };
    const int result = RunScripted(script, [] { return ShowMsgBox(nullptr, L"${tips}", L"${device_plugout}"); });
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(2, script.ticks);
    EXPECT_EQ(7, result);
}

} // namespace
