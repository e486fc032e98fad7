#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>

#include "DialogScript.h"
#include "UnitDialogTest.h"
#include "app/windows/NoiseThresholdWnd.h"
#include "tests/support/PollUntil.h"
#include "uilib/core/ResourceStore.h"

using dialogs::Click;
using dialogs::Notify;
using dialogs::SetText;
using dialogs::Step;
using dialogs::TextOf;
using SkinUI::WindowImplBase;

namespace {

const uint8_t kThresholdCommand = 0x26;
const uint8_t kNoiseQuery = 0x27;

class NoiseWindow : public UnitDialogTest {
protected:
    dialogs::ScriptResult Run(const std::vector<Step>& steps)
    {
        return dialogs::RunDialogScript(L"NoiseThresholdWnd", steps,
                                        [&] { ShowNoiseThresholdWnd(nullptr, controller); });
    }
};

std::wstring Off()
{
    return SkinUI::CResourceStore::GetInstance()->LookupText(L"${off}").CStr();
}

const int kNothing = 1;  // no threshold sent, the live one kept
// Ways out of the box by the window's own messages, each ending in a close.
const std::map<std::string, std::function<void(WindowImplBase&, HWND)>> kWays = {
    {"shift+tab, OK", [](WindowImplBase& w, HWND h) { w.PaintManager().FocusNextTabStop(false), Click(w, h, L"confirm_btn"); }},
    {"Cancel slid off, OK", [](WindowImplBase& w, HWND h) { dialogs::PressSlidOff(w, h, L"cancel_btn"), Click(w, h, L"confirm_btn"); }},
    {"Cancel", [](WindowImplBase& w, HWND h) { Click(w, h, L"cancel_btn"); }},
    {"close square", [](WindowImplBase& w, HWND h) { Click(w, h, L"closebtn"); }},
    {"Alt+F4", [](WindowImplBase&, HWND h) { PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0); }},
};

struct ThresholdCase {
    const char* label;
    int start;             // the live threshold when the window opens
    const wchar_t* typed;  // null: the text the window shows
    const char* action;    // "return", "valuechangedup", "valuechangeddown", "killfocus", or a way of kWays
    const wchar_t* shown;  // null: the off text
    int sent;              // kNothing: no threshold sent, the live one kept
};

class NoiseThreshold : public NoiseWindow, public ::testing::WithParamInterface<ThresholdCase> {};

TEST_P(NoiseThreshold, ClampsShowsStoresAndSendsTheThreshold)
{
    const ThresholdCase c = GetParam();
    controller.Current().inputSource = 1;
    controller.Current().inputThreshold = c.start;
    const size_t mark = unit().ReceivedFrames().size();
    std::wstring shown;
    const auto way = kWays.find(c.action);
    std::vector<Step> steps = {
        [&](WindowImplBase& w, HWND h) {
            dialogs::Find(w, L"value_edt")->TakeFocus();
            if (c.typed != nullptr) SetText(w, L"value_edt", c.typed);
            way != kWays.end() ? way->second(w, h) : Notify(w, L"value_edt", c.action);
            return true;
        },
        [&](WindowImplBase& w, HWND) {
            if (FramesOf(kThresholdCommand, mark).empty()) return false;
            shown = TextOf(w, L"value_edt");
            w.PostClose(0);
            return true;
        },
    };
    if (way != kWays.end()) steps.pop_back();
    const auto result = Run(steps);
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    ASSERT_TRUE(sim::PollUntil([&] { return controller.Device().IsQueueIdle(); }, 2000));
    const std::vector<sim::Frame> sent = FramesOf(kThresholdCommand, mark);
    EXPECT_EQ(c.sent == kNothing ? c.start : c.sent, controller.Current().inputThreshold);
    ASSERT_EQ(c.sent == kNothing ? 0u : 1u, sent.size());
    for (const sim::Frame& f : sent) EXPECT_EQ(std::vector<uint8_t>{static_cast<uint8_t>(static_cast<int8_t>(c.sent))}, f.data);
    if (way == kWays.end()) {
        EXPECT_EQ(c.shown != nullptr ? std::wstring(c.shown) : Off(), shown);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, NoiseThreshold,
    ::testing::Values(ThresholdCase{"BelowRangeIsOff", -60, L"-100", "return", nullptr, -81},
                      ThresholdCase{"AboveRangeClamps", -60, L"-30", "return", L"-40dBu", -40},
                      ThresholdCase{"OffWordInAnyCase", -60, L"off", "return", nullptr, -81},
                      ThresholdCase{"LeftForOkIsTaken", -60, L"-45", "killfocus", L"-45dBu", -45},
                      ThresholdCase{"ShiftTabOntoCancelThenOkIsTaken", -60, L"-50", "shift+tab, OK", nullptr, -50},
                      ThresholdCase{"CancelSlidOffThenOkIsTaken", -60, L"-50", "Cancel slid off, OK", nullptr, -50},
                      ThresholdCase{"CancelDrops", -60, L"-50", "Cancel", nullptr, kNothing},
                      ThresholdCase{"CloseSquareDrops", -60, L"-50", "close square", nullptr, kNothing},
                      ThresholdCase{"AltF4Drops", -60, L"-50", "Alt+F4", nullptr, kNothing},
                      ThresholdCase{"UpFromOff", -81, nullptr, "valuechangedup", L"-80dBu", -80},
                      ThresholdCase{"DownAtOffStays", -81, nullptr, "valuechangeddown", nullptr, -81},
                      ThresholdCase{"DownOneStep", -50, nullptr, "valuechangeddown", L"-51dBu", -51}),
    [](const ::testing::TestParamInfo<ThresholdCase>& info) { return info.param.label; });

TEST_F(NoiseWindow, PollsTwiceASecondWhileOpenShowsTheLevelsAndStopsOnClose)
{
    controller.Current().inputSource = 4;  // eight channels
    model.Access()->unit.noiseTenthsDb[0] = -523;
    model.Access()->unit.noiseTenthsDb[7] = -801;
    const size_t mark = unit().ReceivedFrames().size();
    std::chrono::steady_clock::time_point firstPoll;
    std::wstring level0, level7;
    bool column7 = false, column8 = true;
    int width = 0;
    size_t pollsAtClose = 0, sentAtClose = 0;
    HWND window = nullptr;
    const auto result = Run({
        [&](WindowImplBase& w, HWND h) {
            window = h;
            RECT rc;
            GetWindowRect(h, &rc);
            width = rc.right - rc.left;
            column7 = dialogs::Find(w, L"prg_group_7")->GetVisibility();
            column8 = dialogs::Find(w, L"prg_group_8")->GetVisibility();
            return true;
        },
        [&](WindowImplBase&, HWND) {
            if (FramesOf(kNoiseQuery, mark).empty()) return false;
            firstPoll = std::chrono::steady_clock::now();
            return true;
        },
        [&](WindowImplBase& w, HWND) {
            if (FramesOf(kNoiseQuery, mark).size() < 3) return false;
            level0 = TextOf(w, L"noise_0");
            level7 = TextOf(w, L"noise_7");
            return true;
        },
        [&](WindowImplBase& w, HWND h) {
            sentAtClose = FramesOf(kNoiseQuery, mark).size();
            dialogs::Click(w, h, L"cancel_btn");
            return true;
        },
    });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    const auto twoPeriods = std::chrono::steady_clock::now() - firstPoll;
    pollsAtClose = FramesOf(kNoiseQuery, mark).size();
    // Three polls are two periods apart at least; more than one extra poll
    // would mean a second timer.
    EXPECT_GE(twoPeriods, std::chrono::milliseconds(950));
    EXPECT_LE(pollsAtClose, 4u);
    for (const sim::Frame& poll : FramesOf(kNoiseQuery, mark)) EXPECT_EQ((std::vector<uint8_t>{0, 7}), poll.data);
    EXPECT_EQ(L" -52.3", level0);
    EXPECT_EQ(L" -80.1", level7);
    EXPECT_TRUE(column7);
    EXPECT_FALSE(column8);
    EXPECT_EQ(640 - 4 * 50, width);
    EXPECT_EQ(nullptr, controller.Device().mDspValueWnd);
    // The poll timer went with the window; once the queue has sent what it
    // held (at most the one poll pushed before the click), nothing more comes.
    EXPECT_FALSE(IsWindow(window));
    ASSERT_TRUE(sim::PollUntil([&] { return controller.Device().IsQueueIdle(); }, 2000));
    EXPECT_LE(FramesOf(kNoiseQuery, mark).size(), sentAtClose + 1);
}

TEST_F(NoiseWindow, ASourceWithoutChannelsAsksNothingAndKeepsSixColumnsWidth)
{
    controller.Current().inputSource = 1;
    const size_t mark = unit().ReceivedFrames().size();
    int width = 0;
    bool anyColumn = true;
    int ticks = 0;
    const auto result = Run({
        [&](WindowImplBase& w, HWND h) {
            RECT rc;
            GetWindowRect(h, &rc);
            width = rc.right - rc.left;
            anyColumn = false;
            for (int i = 0; i < CNoiseThresholdWnd::kChannels; ++i) {
                wchar_t name[16];
                _snwprintf(name, 15, L"prg_group_%d", i);
                name[15] = L'\0';
                anyColumn = anyColumn || dialogs::Find(w, name)->GetVisibility();
            }
            return true;
        },
        // Three poll periods of the window's life.
        [&](WindowImplBase&, HWND) { return ++ticks * 20 >= 3 * 500; },
        [&](WindowImplBase& w, HWND h) {
            dialogs::Click(w, h, L"closebtn");
            return true;
        },
    });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    EXPECT_TRUE(FramesOf(kNoiseQuery, mark).empty());
    EXPECT_FALSE(anyColumn);
    EXPECT_EQ(640 - 6 * 50, width);
}

} // namespace
