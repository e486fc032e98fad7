#include <gtest/gtest.h>

#include <windows.h>

#include "DialogScript.h"
#include "UnitDialogTest.h"
#include "app/windows/CompressorsOnWnd.h"
#include "uilib/control/Slider.h"

using dialogs::Find;
using dialogs::Notify;
using dialogs::SetText;
using dialogs::Step;
using dialogs::TextOf;
using SkinUI::WindowImplBase;

namespace {

const uint8_t kCompressorSetting = 0x4A;
const uint8_t kCompressorOn = 0x49;

class CompressorWindow : public UnitDialogTest {
protected:
    void SetUp() override
    {
        UnitDialogTest::SetUp();
        controller.Current().scene = 0;
        controller.Current().inputSource = 2;
    }

    // Plays the steps, then waits for a frame of subcommand and closes.
    std::vector<sim::Frame> RunUntilSent(uint8_t subcommand, std::vector<Step> steps)
    {
        const size_t mark = unit().ReceivedFrames().size();
        steps.push_back([&](WindowImplBase& w, HWND) {
            if (FramesOf(subcommand, mark).empty()) return false;
            w.PostClose(0);
            return true;
        });
        const auto result = dialogs::RunDialogScript(L"CompressorsOnWnd", steps,
                                                     [&] { ShowCompressorsOnWnd(nullptr, controller); });
        EXPECT_TRUE(result.allStepsRan) << "step " << result.failedStep;
        return FramesOf(subcommand, mark);
    }
};

struct EditCase {
    const char* label;
    int ch;
    const wchar_t* param;
    int startAttack, startRelease;  // model values before the window opens
    const wchar_t* typed;           // typed and Enter (or "resize": the window resized instead); null: no typing
    int sliderTo;                   // with no typing: slider moved here, or
    const char* step;               // "valuechangedup"/"valuechangeddown" on the slider
    const wchar_t* shown;
    int slider;
    std::vector<uint8_t> payload;  // scene, source, ch, ch, threshold, attack (16-bit BE), release s
};

class CompressorEdits : public CompressorWindow, public ::testing::WithParamInterface<EditCase> {};

TEST_P(CompressorEdits, SnapClampShowAndSendOneChannel)
{
    const EditCase c = GetParam();
    controller.Current().compressorSettings.attack[c.ch] = c.startAttack;
    controller.Current().compressorSettings.release[c.ch] = c.startRelease;
    const std::wstring edit = std::wstring(L"edit_") + c.param + L"_" + std::to_wstring(c.ch);
    const std::wstring slider = std::wstring(L"slider_") + c.param + L"_" + std::to_wstring(c.ch);
    std::wstring shown;
    int sliderValue = 0;
    const auto sent = RunUntilSent(kCompressorSetting, {
        [&](WindowImplBase& w, HWND hwnd) {
            if (c.typed != nullptr) {
                if (c.step != nullptr) Find(w, edit.c_str())->TakeFocus();
                SetText(w, edit.c_str(), c.typed);
                if (c.step == nullptr) Notify(w, edit.c_str(), "return");
                else SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, 0);
            } else if (c.step == nullptr) {
                static_cast<SkinUI::CSliderUI*>(Find(w, slider.c_str()))->SetValue(c.sliderTo);
                Notify(w, slider.c_str(), "valuechanged");
            } else {
                Notify(w, slider.c_str(), c.step);
            }
            shown = TextOf(w, edit.c_str());
            sliderValue = static_cast<SkinUI::CSliderUI*>(Find(w, slider.c_str()))->GetValue();
            return true;
        },
    });
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(c.payload, sent[0].data);
    EXPECT_EQ(c.shown, shown);
    EXPECT_EQ(c.slider, sliderValue);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, CompressorEdits,
    ::testing::Values(
        EditCase{"AttackTypedAboveRangeClamps", 3, L"attack_time", 1000, 30000, L"5000", 0, nullptr, L"2000ms", 2000,
                 {0, 2, 3, 3, 64, 0, 0x07, 0xD0, 30, 0}},
        EditCase{"ThresholdTypedKeepsTenths", 0, L"threshold", 1000, 30000, L"-12.34", 0, nullptr, L"-12.3dB", -123,
                 {0, 2, 0, 0, 0xF4, 0xFD, 0x03, 0xE8, 30, 0}},
        EditCase{"AttackTypedThenTheWindowResized", 4, L"attack_time", 1000, 30000, L"300", 0, "resize", L"300ms", 300,
                 {0, 2, 4, 4, 64, 0, 0x01, 0x2C, 30, 0}},
        EditCase{"AttackUpSnapsToTheStep", 5, L"attack_time", 47, 30000, nullptr, 0, "valuechangedup", L"50ms", 50,
                 {0, 2, 5, 5, 64, 0, 0, 50, 30, 0}},
        EditCase{"ReleaseDownStopsAtTheMinimum", 15, L"release_time", 1000, 130, nullptr, 0, "valuechangeddown",
                 L"100ms", 100, {0, 2, 15, 15, 64, 0, 0x03, 0xE8, 0, 1}},
        EditCase{"ThresholdSlider", 9, L"threshold", 1000, 30000, nullptr, -455, nullptr, L"-45.5dB", -455,
                 {0, 2, 9, 9, 0xD3, 0xFB, 0x03, 0xE8, 30, 0}},
        EditCase{"ThresholdHalfGoesAwayFromZero", 2, L"threshold", 1000, 30000, L"-20.15", 0, nullptr, L"-20.2dB",
                 -202, {0, 2, 2, 2, 0xEC, 0xFE, 0x03, 0xE8, 30, 0}},
        EditCase{"MinusZeroIsZero", 4, L"threshold", 1000, 30000, L"-0", 0, nullptr, L"0.0dB", 0,
                 {0, 2, 4, 4, 0, 0, 0x03, 0xE8, 30, 0}},
        EditCase{"ReleaseGoesToTheNearestStepBelow", 6, L"release_time", 1000, 30000, L"149", 0, nullptr, L"100ms",
                 100, {0, 2, 6, 6, 64, 0, 0x03, 0xE8, 0, 1}},
        EditCase{"ReleaseGoesToTheNearestStepAbove", 7, L"release_time", 1000, 30000, L"151", 0, nullptr, L"200ms",
                 200, {0, 2, 7, 7, 64, 0, 0x03, 0xE8, 0, 2}}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return info.param.label; });

TEST_F(CompressorWindow, EachOnOffBoxSendsItsChannelsFlagFromSourceZero)
{
    const size_t mark = unit().ReceivedFrames().size();
    std::vector<std::vector<uint8_t>> expected, sent;
    RunUntilSent(kCompressorOn, {
        [&](WindowImplBase& w, HWND h) {
            for (uint8_t ch = 0; ch < CCompressorsOnWnd::kChannels; ++ch) {
                dialogs::Click(w, h, (L"box_enable_" + std::to_wstring(ch)).c_str());
                expected.push_back({0, 0, ch, ch, 0});
            }
            return true;
        },
        [&](WindowImplBase&, HWND) { return FramesOf(kCompressorOn, mark).size() >= expected.size(); },
    });
    for (const sim::Frame& f : FramesOf(kCompressorOn, mark)) sent.push_back(f.data);
    EXPECT_EQ(expected, sent);
    for (int ch = 0; ch < CCompressorsOnWnd::kChannels; ++ch)
        EXPECT_EQ(0, controller.Current().channels[ch].compressorFlag) << ch;
}

// From 1000 ms wheel notches down to 100 ms, clicks above the thumb back up, then every step typed.
TEST_F(CompressorWindow, EveryReleaseStepWheeledClickedOrTypedIsShownAndSentAsItIs)
{
    controller.Current().compressorSettings.release[1] = 1000;
    const size_t mark = unit().ReceivedFrames().size();
    std::vector<uint8_t> expected, sent;
    RunUntilSent(kCompressorSetting, {
        [&](WindowImplBase& w, HWND hwnd) {
            auto* slider = static_cast<SkinUI::CSliderUI*>(Find(w, L"slider_release_time_1"));
            auto shows = [&](int ms) {
                EXPECT_EQ(std::to_wstring(ms) + L"ms", TextOf(w, L"edit_release_time_1"));
                EXPECT_EQ(ms, slider->GetValue());
                expected.insert(expected.end(), {static_cast<uint8_t>(ms / 1000), static_cast<uint8_t>(ms / 100 % 10)});
            };
            const RECT rc = slider->GetPosition();  // its middle is above the thumb up to 1000 ms
            POINT at = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            const LPARAM middle = MAKELPARAM(at.x, at.y);
            ClientToScreen(hwnd, &at);
            for (int ms = 900; ms >= 100; ms -= 100) {
                SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(at.x, at.y));
                shows(ms);
            }
            for (int ms = 200; ms <= 1000; ms += 100) {
                SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, middle);
                SendMessageW(hwnd, WM_LBUTTONUP, 0, middle);
                shows(ms);
            }
            for (int ms = 100; ms <= 30000; ms += 100) {
                SetText(w, L"edit_release_time_1", std::to_wstring(ms).c_str());
                Notify(w, L"edit_release_time_1", "return");
                shows(ms);
            }
            return true;
        },
        [&](WindowImplBase&, HWND) { return FramesOf(kCompressorSetting, mark).size() * 2 >= expected.size(); },
    });
    for (const sim::Frame& f : FramesOf(kCompressorSetting, mark))
        sent.insert(sent.end(), f.data.end() - 2, f.data.end());
    EXPECT_EQ(expected, sent);
}

struct FocusCase {
    const wchar_t* from;
    const char* type;
    const wchar_t* to;
};

TEST_F(CompressorWindow, LeftAndRightMoveAlongTheChannelsAndWrapIntoTheNextParameter)
{
    const FocusCase cases[] = {
        {L"edit_release_time_15", "valuechangedright", L"edit_threshold_0"},
        {L"edit_threshold_0", "valuechangedleft", L"edit_release_time_15"},
        {L"edit_attack_time_3", "valuechangedright", L"edit_attack_time_4"},
        {L"edit_attack_time_0", "valuechangedleft", L"edit_threshold_15"},
    };
    std::vector<std::wstring> focused;
    std::vector<Step> steps;
    for (const FocusCase& c : cases) {
        steps.push_back([&, c](WindowImplBase& w, HWND) {
            Notify(w, c.from, c.type);
            SkinUI::CControlUI* focus = w.PaintManager().FocusControl();
            focused.push_back(focus != nullptr ? focus->GetControlName().CStr() : L"<none>");
            return true;
        });
    }
    steps.push_back([](WindowImplBase& w, HWND) {
        w.PostClose(0);
        return true;
    });
    const auto result =
        dialogs::RunDialogScript(L"CompressorsOnWnd", steps, [&] { ShowCompressorsOnWnd(nullptr, controller); });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    ASSERT_EQ(4u, focused.size());
    for (size_t i = 0; i < focused.size(); ++i) EXPECT_EQ(cases[i].to, focused[i]) << i;
}

} // namespace
