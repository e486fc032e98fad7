// Lock, left/right link, bridge, output reset and the channel groups, and
// every job kind asked for with no unit, on the main window against the
// simulated unit: each action goes in as the
// framework's notification, the question boxes are answered from a timer
// inside their modal loops, and the unit's received frames are the oracle.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "ConnectHost.h"
#include "UnitEditKit.h"
#include "app/controls/SButtonUI.h"
#include "app/controls/UIEqualizer.h"
#include "app/tuning/AppMessages.h"
#include "app/tuning/ProfileFile.h"
#include "app/tuning/ReachedOperation.h"
#include "app/windows/MainWnd.h"
#include "device/DeviceTiming.h"
#include "tests/support/FrameSignature.h"
#include "tests/support/PollUntil.h"
#include "tests/support/PushThreadGuard.h"
#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitModel.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/Option.h"
#include "uilib/layout/TabLayout.h"

using namespace SkinUI;

namespace {

std::vector<std::string> Signature(const std::vector<sim::Frame>& frames)
{
    sim::FrameSignature signature;
    for (const sim::Frame& f : frames) signature.Add(f.subcommand, f.data);
    return signature.Tokens();
}

// Answers the message boxes the controller opens, in order, from a thread
// timer that runs inside their modal loops; records each box's text.
struct BoxAnswers {
    static BoxAnswers* active;
    std::vector<int> answers;
    size_t next = 0;
    std::vector<std::wstring> texts;
    UINT_PTR timer = 0;

    explicit BoxAnswers(std::vector<int> a) : answers(std::move(a))
    {
        active = this;
        timer = SetTimer(nullptr, 0, 5, &BoxAnswers::Tick);
    }
    ~BoxAnswers()
    {
        KillTimer(nullptr, timer);
        active = nullptr;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        BoxAnswers* self = active;
        if (self == nullptr) return;
        for (int i = 0; i < CPaintManagerUI::LiveManagerCount(); ++i) {
            CPaintManagerUI* pm = CPaintManagerUI::LiveManagerAt(i);
            HWND box = pm != nullptr ? pm->WindowHandle() : nullptr;
            wchar_t className[32] = {};
            if (box == nullptr || !IsWindowVisible(box) || GetClassNameW(box, className, 31) == 0 ||
                GetPropW(box, L"answered") != nullptr)
                continue;
            if (wcscmp(className, L"MsgCheckBoxWnd") == 0) {
                self->Choose(*pm, box);
                continue;
            }
            if (wcscmp(className, L"MsgWnd") != 0) {
                // The service windows a click opens are closed again.
                if (wcscmp(className, L"NoiseThresholdWnd") != 0 && wcscmp(className, L"MemWrWnd") != 0) continue;
                self->texts.push_back(className);
                SetPropW(box, L"answered", reinterpret_cast<HANDLE>(1));
                PostMessageW(box, WM_CLOSE, 0, 0);
                continue;
            }
            CControlUI* text = pm->FindControlByName(L"MessageText");
            self->texts.push_back(text != nullptr ? text->GetTextContent().CStr() : L"");
            const int answer = self->next < self->answers.size() ? self->answers[self->next++] : 0;
            SetPropW(box, L"answered", reinterpret_cast<HANDLE>(1));
            PostMessageW(box, WM_CLOSE, static_cast<WPARAM>(answer), 0);
        }
    }
    // The two-box question: answer n ticks box n - 1 and confirms, 0 cancels.
    void Choose(CPaintManagerUI& pm, HWND box)
    {
        CControlUI* text = pm.FindControlByName(L"MessageText");
        texts.push_back(text != nullptr ? text->GetTextContent().CStr() : L"");
        const int answer = next < answers.size() ? answers[next++] : 0;
        SetPropW(box, L"answered", reinterpret_cast<HANDLE>(1));
        if (answer == 1 || answer == 2) {
            auto* tick = static_cast<COptionUI*>(pm.FindControlByName(answer == 1 ? L"check_box_0" : L"check_box_1"));
            if (tick != nullptr) tick->SetSelectedState(true, true);
        }
        CControlUI* button = pm.FindControlByName(answer == 0 ? L"cancel_btn" : L"confirm_btn");
        if (button != nullptr) pm.SendNotification(button, L"click");
    }
};
BoxAnswers* BoxAnswers::active = nullptr;

class OutputJobs;

struct JobCase {
    const char* name;
    std::function<void(OutputJobs&)> setup;
    std::function<void(OutputJobs&)> action;
    std::vector<int> answers;          // message box results, in order
    std::vector<const wchar_t*> boxes;  // their texts' keys
    std::vector<std::string> frames;   // the unit's frames, as Signature writes them
    std::function<void(OutputJobs&)> check;
};

class OutputJobs : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(OpenAppSkin());
        SetDeviceWaitScaleForTests(10);
        sim::InstallPushThreadGuard();
        sim::SimUnit::Instance().Reset();
        sim::SimUnit::Instance().SetResponder(&Unit());
        Unit().SetSilent(false);
        sWindow = new CMainWnd();
        ASSERT_NE(nullptr, sWindow->CreateNativeWindow(nullptr, CMainWnd::kTitle, WS_OVERLAPPEDWINDOW, 0, 0, 0,
                                                      CMainWnd::kWidth, CMainWnd::kHeight));
        ShowWindow(*sWindow, SW_SHOWNOACTIVATE);
        EqualizerManager& c = sWindow->Controller();
        ASSERT_TRUE(SkinUITest::PumpUntil(
            [&] { return c.Device().IsAsyncMode() && !c.IsStatusReadRunning() && sWindow->LoadingWindow() == nullptr; },
            30000));
    }
    static void TearDownTestSuite()
    {
        if (sWindow != nullptr && IsWindow(*sWindow)) DestroyWindow(*sWindow);
        delete sWindow;
        sWindow = nullptr;
        sim::SimUnit::Instance().SetResponder(nullptr);
        SetDeviceWaitScaleForTests(100);
    }

    CMainWnd& Window() { return *sWindow; }
    EqualizerManager& Controller() { return sWindow->Controller(); }
    SceneProfile& Profile() { return Controller().Current(); }
    template <class T = CControlUI>
    T* Named(const wchar_t* format, int index = 0)
    {
        return static_cast<T*>(sWindow->PaintManager().FindControlByName(NameOf(format, index).c_str()));
    }
    void Click(const wchar_t* format, int index = 0)
    {
        CControlUI* control = Named(format, index);
        ASSERT_NE(nullptr, control) << "no control";
        sWindow->PaintManager().SendNotification(control, L"click");
    }
    void Toggle(const wchar_t* format, int index)
    {
        auto* option = Named<COptionUI>(format, index);
        ASSERT_NE(nullptr, option);
        option->SetSelectedState(!option->IsSelected(), false);
    }
    bool Selected(const wchar_t* format, int index = 0)
    {
        CControlUI* control = Named(format, index);
        if (auto* option = static_cast<COptionUI*>(control->FindInterface(L"Option"))) return option->IsSelected();
        return static_cast<CSButtonUI*>(control)->IsSelected();
    }
    bool Enabled(const wchar_t* format, int index = 0) { return Named(format, index)->GetEnabledState(); }

    // The factory state of the outputs, their controls unlocked and unlinked,
    // channel 1 current.
    void Restore()
    {
        SceneProfile& p = Profile();
        p.Reset();
        p.linkSel.fill(0);
        p.delayLinkSel.fill(0);
        for (int pair = 0; pair < kBridgePairs; ++pair) Named<CSButtonUI>(L"ch_bridge_%d", pair)->SetSelectedState(false);
        Named<CSButtonUI>(L"btn_lock_output")->SetSelectedState(false);
        Named<CSButtonUI>(L"btn_link_output")->SetSelectedState(false);
        Named(L"btn_link_output")->SetEnabledState(true);
        for (int ch = 0; ch < kOutputChannels; ++ch) {
            Named(L"ch_output_btn_%d", ch)->SetEnabledState(true);
            Named(L"ch_synchronize_%d", ch)->SetEnabledState(true);
            Named<COptionUI>(L"ch_synchronize_%d", ch)->SetSelectedState(false, true);
            Named(L"delay_link_%d", ch)->SetEnabledState(true);
        }
        Controller().SetCurChannelChange(0);
    }
    // Waits until the unit took what the setup queued.
    void Settle()
    {
        EXPECT_TRUE(SkinUITest::PumpUntil([&] { return Controller().Device().IsQueueIdle(); }, 5000));
    }
    // Runs the action until the unit took every command it queued; a job
    // behind the busy window must end it only then. Returns the frames.
    std::vector<sim::Frame> Run(const JobCase& c, BoxAnswers& boxes)
    {
        const size_t none = static_cast<size_t>(-1);
        size_t atBusyEnd = none;
        sawBusy = false;
        c.action(*this);
        // Nothing pumped since the action: a loading window it asked for is still queued.
        MSG begin;
        begun = PeekMessageW(&begin, *sWindow, WM_BUSY_BEGIN, WM_BUSY_BEGIN, PM_NOREMOVE) != FALSE;
        EXPECT_TRUE(SkinUITest::PumpUntil(
            [&] {
                const bool busy = Controller().IsOutputJobRunning() || sWindow->LoadingWindow() != nullptr;
                if (busy) sawBusy = true;
                if (!busy && sawBusy && atBusyEnd == none) atBusyEnd = sim::SimUnit::Instance().ReceivedFrames().size();
                return !busy && boxes.next >= c.answers.size() && Controller().Device().IsQueueIdle();
            },
            20000));
        // The job's end, posted as it stopped running, is taken within the row.
        SkinUITest::PumpPending();
        const std::vector<sim::Frame> frames = sim::SimUnit::Instance().ReceivedFrames();
        if (sawBusy) {
            EXPECT_EQ(frames.size(), atBusyEnd);
        }
        return frames;
    }

    // Whether the last Run saw a loading window or a job's waiter, and
    // whether its action asked for a loading window.
    bool sawBusy = false;
    bool begun = false;
    static CMainWnd* sWindow;
};
CMainWnd* OutputJobs::sWindow = nullptr;

const char kLinkOff[] = "0E:00 00 00";
const char kLock[] = "0F:00 01";
const char kUnlock[] = "0F:00 00";
const char kNoBridge[] = "4C:00 00 08 00 00 00 00 00 00 00 00";
const char kBridge2[] = "4C:00 00 08 00 00 01 00 00 00 00 00";
const char kSoloNone[] = "34:00 00 00 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";

// What assigning outputs sends per channel from the first on: the channel
// selected, its speaker type, its crossover and its gain.
std::vector<std::string> OutputSends(int first, const std::vector<int>& outputs)
{
    std::vector<std::string> frames;
    for (size_t i = 0; i < outputs.size(); ++i) {
        const int ch = first + static_cast<int>(i);
        const std::string at = "@" + std::to_string(ch);
        char type[32];
        std::snprintf(type, sizeof type, "0D:00 00 %02X %02X %02X", ch, ch, outputs[i]);
        frames.insert(frames.end(), {"09" + at, type, "05" + at + "*2", "08" + at});
    }
    return frames;
}

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The factory's speaker type of each output.
const std::vector<int> kFactoryOutputs = {0x01, 0x07, 0x02, 0x08, 0x0D, 0x10, 0x19, 0x1A,
                                          0x13, 0x14, 0x03, 0x09, 0x0E, 0x11, 0x16, 0x17};
// Pair 3 bridged: its second channel given what the first holds.
const std::vector<std::string> kBridgePair3 = {
    kBridge2, "06@5*31", "05@5*2", "12@5", "08@5", "07@5", "24@5*108", "09@5", "0D:00 00 05 05 0D", "05@5*2",
    "08@5", "05@5*2", "0A@5", kSoloNone, "09@5*2"};
// Bridged pair 3 separated: both channels emptied and silenced.
const std::vector<std::string> kUnbridgePair3 =
    Joined({{kNoBridge}, OutputSends(4, {0, 0}), {"0A@4", "0A@5", "24@4*108", "24@5*108"}});
// An output reset ends unlocked and unlinked, every gain sent, channel 1 current.
const std::vector<std::string> kResetTail = {kUnlock, kLinkOff, "08@0-15", "09@0"};

// Left to right on the factory outputs: the pairs whose first channel holds
// the left speaker, each sending its own gain and its partner's.
const std::vector<std::string> kLinkLeftToRight = {
    kLock, "08@0", "08@1", "08@2", "08@3", "08@4", "08@5", "08@6", "08@7", "08@10", "08@11", "08@12", "08@13",
    "08@14", "08@15", "07@0", "09@0", "0E:00 01 07 00 01 02 03 04 05 06 07 0A 0B 0C 0D 0E 0F"};

// Channel 1 customised so that the copy shows which way it went.
void Link(OutputJobs& t)
{
    t.Profile().channels[0].bands[3] = EqBand(4.0f, 2.0f, 1000, 1);
    t.Profile().channels[0].crossover.hp = FilterParams(2000, 2, 3);
    t.Click(L"btn_link_output");
}

// With the unit pulled out, the link is closed; the check ends plugged in and read again.
void Unplugged(OutputJobs& t)
{
    Unit().Vanish();
    t.Controller().DisconnectDevice();
}

void Reconnected(OutputJobs& t)
{
    Unit().Return();
    t.Controller().ConnectDevice(false);
    EXPECT_TRUE(SkinUITest::PumpUntil([&] {
        return t.Controller().Device().IsAsyncMode() && !t.Controller().IsStatusReadRunning() &&
               t.Window().LoadingWindow() == nullptr;
    }, 30000));
}

void Replugged(OutputJobs& t, size_t boxes)
{
    // No loading window, no waiter, and no word trails the row's own boxes.
    EXPECT_FALSE(t.sawBusy);
    EXPECT_FALSE(t.begun);
    SkinUITest::PumpPending();
    EXPECT_EQ(boxes, BoxAnswers::active->texts.size());
    Reconnected(t);
}

// The model with channel 3 at -13 dB as a profile file, for the rows that load one.
std::wstring JobFile(OutputJobs& t, bool whole)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / (whole ? "jobs.wpf" : "jobs.spf");
    TuningModel file = t.Controller().Model();
    file.Current().channels[2].gain = -13.0f;
    EXPECT_TRUE(whole ? SaveWholeProfile(file, path).ok : SaveSceneProfile(file.Current(), path).ok);
    return path.wstring();
}

void RefusedUnplugged(OutputJobs& t) { Replugged(t, 1); }
void ShownUnplugged(OutputJobs& t)
{
    EXPECT_FLOAT_EQ(-13.0f, t.Profile().channels[2].gain);
    Replugged(t, 0);
}

const JobCase kJobCases[] = {
    {"a new layout shows no band picked when the installer picked none",
     [](OutputJobs& t) { t.Controller().UpdateEqualizer(-1); },
     [](OutputJobs& t) { TNotifyInfo size; size.type = L"windowsize"; t.Window().ReceiveNotify(size); }, {}, {}, {},
     [](OutputJobs& t) { EXPECT_EQ(-1, t.Named<UIEqualizer>(L"equalizer")->Model().Selected()); }},
    {"lock confirmed: locked, output buttons off",
     [](OutputJobs&) {}, [](OutputJobs& t) { t.Click(L"btn_lock_output"); }, {1}, {L"${lock_output_tips}"}, {kLock},
     [](OutputJobs& t) {
         EXPECT_EQ(1, t.Profile().lockMode);
         EXPECT_TRUE(t.Selected(L"btn_lock_output"));
         EXPECT_FALSE(t.Enabled(L"ch_output_btn_%d", 7));
     }},
    {"lock refused: unlocked, the current channel shown again",
     [](OutputJobs&) {}, [](OutputJobs& t) { t.Click(L"btn_lock_output"); }, {0}, {L"${lock_output_tips}"},
     {"09@0", kUnlock},
     [](OutputJobs& t) {
         EXPECT_EQ(0, t.Profile().lockMode);
         EXPECT_FALSE(t.Selected(L"btn_lock_output"));
         EXPECT_TRUE(t.Enabled(L"ch_output_btn_%d", 7));
     }},
    {"unlock while linked drops the link first",
     [](OutputJobs& t) {
         t.Profile().lockMode = 1;
         t.Profile().linkMode = 1;
         LinkPairedOutputs(t.Profile());
         t.Named<CSButtonUI>(L"btn_lock_output")->SetSelectedState(true);
         t.Named<CSButtonUI>(L"btn_link_output")->SetSelectedState(true);
         t.Named(L"ch_synchronize_%d", 4)->SetEnabledState(false);
     },
     [](OutputJobs& t) { t.Click(L"btn_lock_output"); }, {1}, {L"${unlock_output_tips}"}, {kLinkOff, "09@0", kUnlock},
     [](OutputJobs& t) {
         EXPECT_EQ(0, t.Profile().linkMode);
         EXPECT_EQ(-1, t.Profile().linkOutputs[0]);
         EXPECT_FALSE(t.Selected(L"btn_link_output"));
         EXPECT_TRUE(t.Enabled(L"ch_synchronize_%d", 4));
     }},
    {"unlock refused keeps lock and link",
     [](OutputJobs& t) {
         t.Profile().lockMode = 1;
         t.Profile().linkMode = 1;
         LinkPairedOutputs(t.Profile());
     },
     [](OutputJobs& t) { t.Click(L"btn_lock_output"); }, {0}, {L"${unlock_output_tips}"}, {kLock},
     [](OutputJobs& t) {
         EXPECT_EQ(1, t.Profile().linkMode);
         EXPECT_EQ(1, t.Profile().linkOutputs[0]);
         EXPECT_TRUE(t.Selected(L"btn_lock_output"));
     }},
    {"link without a pair on one side: refused with a notice",
     [](OutputJobs& t) {
         for (OutputCode& code : t.Profile().outputs) code = 0;
         t.Profile().outputs[0] = 1;
         t.Profile().outputs[6] = 7;
     },
     [](OutputJobs& t) { t.Click(L"btn_link_output"); }, {1}, {L"${not_linkable_tips}"}, {kLinkOff},
     [](OutputJobs& t) { EXPECT_EQ(0, t.Profile().linkMode); }},
    {"link cancelled sends nothing", [](OutputJobs&) {}, [](OutputJobs& t) { t.Click(L"btn_link_output"); }, {0},
     {L"${link_tips}"}, {}, [](OutputJobs& t) {
         EXPECT_EQ(0, t.Profile().linkMode);
         EXPECT_FALSE(t.Selected(L"btn_link_output"));
     }},
    {"link left to right copies channel 1 to 2 and pairs every side", [](OutputJobs&) {},
     [](OutputJobs& t) { Link(t); }, {1}, {L"${link_tips}"}, kLinkLeftToRight,
     [](OutputJobs& t) {
         const SceneProfile& p = t.Profile();
         const int partners[kOutputChannels] = {1, 0, 3, 2, 5, 4, 7, 6, -1, -1, 11, 10, 13, 12, 15, 14};
         for (int ch = 0; ch < kOutputChannels; ++ch) EXPECT_EQ(partners[ch], p.linkOutputs[ch]) << ch;
         EXPECT_FLOAT_EQ(4.0f, p.channels[1].bands[3].gain);
         EXPECT_EQ(2000, p.channels[1].crossover.hp.fs);
         EXPECT_EQ(1, p.lockMode);
         EXPECT_TRUE(t.Selected(L"btn_link_output"));
         EXPECT_TRUE(t.Selected(L"btn_lock_output"));
         EXPECT_FALSE(t.Enabled(L"ch_synchronize_%d", 3));
         EXPECT_FALSE(t.Enabled(L"delay_link_%d", 3));
         EXPECT_FALSE(t.Enabled(L"ch_output_btn_%d", 3));
     }},
    {"link right to left copies from the right speakers", [](OutputJobs&) {},
     [](OutputJobs& t) { Link(t); }, {2}, {L"${link_tips}"},
     {kLock, "08@1", "08@0", "08@3", "08@2", "08@5", "08@4", "08@7", "08@6", "08@11", "08@10", "08@13", "08@12",
      "08@15", "08@14", "07@0", "09@0", "0E:00 01 07 01 00 03 02 05 04 07 06 0B 0A 0D 0C 0F 0E"},
     [](OutputJobs& t) {
         // Channel 2's bands and crossover replaced channel 1's.
         EXPECT_FLOAT_EQ(0.0f, t.Profile().channels[0].bands[3].gain);
         EXPECT_EQ(t.Profile().channels[1].crossover.hp.fs, t.Profile().channels[0].crossover.hp.fs);
     }},
    {"unlink releases link and lock", [](OutputJobs& t) {
         t.Profile().lockMode = 1;
         t.Profile().linkMode = 1;
         LinkPairedOutputs(t.Profile());
         t.Named(L"ch_output_btn_%d", 2)->SetEnabledState(false);
     },
     [](OutputJobs& t) { t.Click(L"btn_link_output"); }, {}, {}, {kUnlock, "09@0", kLinkOff},
     [](OutputJobs& t) {
         EXPECT_EQ(0, t.Profile().linkMode);
         EXPECT_EQ(0, t.Profile().lockMode);
         EXPECT_EQ(-1, t.Profile().linkOutputs[1]);
         EXPECT_TRUE(t.Enabled(L"ch_output_btn_%d", 2));
     }},
    {"bridging pair 3 makes channel 6 a copy of channel 5", [](OutputJobs& t) {
         ChannelParams& c = t.Profile().channels[4];
         c.crossover.hp = FilterParams(2000, 2, 3);
         c.bands[0] = EqBand(3.0f, 2.0f, 100, 1);
         c.bands[1] = EqBand(5.0f, 2.0f, 200, 0);
         c.bypass = 0;
         c.phase = 1;
         c.gain = -6.0f;
         c.delay = 1.0f;
         t.Profile().inputMixVolume[0][0][4] = 77;
     },
     [](OutputJobs& t) { t.Click(L"ch_bridge_%d", 2); }, {}, {},
     kBridgePair3,
     [](OutputJobs& t) {
         const SceneProfile& p = t.Profile();
         EXPECT_EQ(1, p.bridgeOutputs[2]);
         EXPECT_EQ(2000, p.channels[5].crossover.hp.fs);
         EXPECT_FLOAT_EQ(3.0f, p.channels[5].bands[0].gain);
         EXPECT_FLOAT_EQ(-6.0f, p.channels[5].gain);
         EXPECT_FLOAT_EQ(1.0f, p.channels[5].delay);
         EXPECT_EQ(1, p.channels[5].phase);
         EXPECT_EQ(77, p.inputMixVolume[0][0][5]);
         EXPECT_TRUE(t.Selected(L"ch_bridge_%d", 2));
         // The switched-off band is sent silent.
         sim::StateAccess unit = Unit().Access();
         EXPECT_EQ(30, unit->scene[0].out[5].eq[0].gainTenthsDb);
         EXPECT_EQ(0, unit->scene[0].out[5].eq[1].gainTenthsDb);
     }},
    {"un-bridging pair 3 separates and silences both channels", [](OutputJobs& t) {
         t.Profile().bridgeOutputs[2] = 1;
         t.Profile().channels[4].phase = t.Profile().channels[5].phase = 1;
         t.Profile().inputMixVolume[0][0][4] = t.Profile().inputMixVolume[0][0][5] = 77;
         t.Named<CSButtonUI>(L"ch_bridge_%d", 2)->SetSelectedState(true);
     },
     [](OutputJobs& t) { t.Click(L"ch_bridge_%d", 2); }, {}, {}, kUnbridgePair3,
     [](OutputJobs& t) {
         const SceneProfile& p = t.Profile();
         EXPECT_EQ(0, p.bridgeOutputs[2]);
         EXPECT_EQ(0, p.channels[4].phase);
         EXPECT_EQ(0, p.inputMixVolume[0][0][4]);
         EXPECT_EQ(0, p.inputMixVolume[0][0][5]);
         EXPECT_FALSE(t.Selected(L"ch_bridge_%d", 2));
     }},
    {"output reset to defaults separates the bridged pair only", [](OutputJobs& t) {
         t.Profile().bridgeOutputs[2] = 1;
         t.Profile().lockMode = 1;
         t.Profile().linkMode = 1;
         t.Profile().inputMixVolume[0][0][0] = 55;
         t.Named(L"ch_synchronize_%d", 9)->SetEnabledState(false);
     },
     [](OutputJobs& t) { t.Click(L"btn_reset_output"); }, {1}, {L"${empty_output_tips}"},
     Joined({kUnbridgePair3, OutputSends(0, kFactoryOutputs), kResetTail}),
     [](OutputJobs& t) {
         const SceneProfile& p = t.Profile();
         EXPECT_EQ(0, p.bridgeOutputs[2]);
         EXPECT_EQ(0, p.lockMode);
         EXPECT_EQ(0, p.linkMode);
         // Routing of channels that were not bridged survives.
         EXPECT_EQ(55, p.inputMixVolume[0][0][0]);
         EXPECT_TRUE(t.Enabled(L"ch_synchronize_%d", 9));
         EXPECT_EQ(0, p.currOutChannel);
     }},
    {"output reset emptied without bridges sends the bridges once", [](OutputJobs&) {},
     [](OutputJobs& t) { t.Click(L"btn_reset_output"); }, {2}, {L"${empty_output_tips}"},
     Joined({{kNoBridge}, OutputSends(0, std::vector<int>(16, 0)), kResetTail}),
     [](OutputJobs& t) { EXPECT_EQ(0, t.Profile().lockMode); }},
    // With no unit the change is the model's alone: nothing sent, no job word.
    {"a bridge with no unit", Unplugged, [](OutputJobs& t) { t.Click(L"ch_bridge_%d", 2); }, {}, {}, {},
     [](OutputJobs& t) {
         EXPECT_EQ(1, t.Profile().bridgeOutputs[2]);
         Replugged(t, 0);
     }},
    // The status tick falls after the job's end was posted, before it is
    // taken: the edit's word alone, the job not told as cut by the unit leaving.
    {"a bridge behind an edit the unit did not take tells the edit alone", [](OutputJobs&) {},
     [](OutputJobs& t) {
         sim::SimUnit::Instance().FailWrites(true);
         t.Controller().Device().Mute_Ctrl(0, false);
         t.Click(L"ch_bridge_%d", 2);
         EXPECT_TRUE(sim::PollUntil([&] { return !t.Controller().IsOutputJobRunning(); }, 5000));
         t.Controller().ReadUnitReports();
         // The worker says goodbye on its next turn; no queue count covers it.
         EXPECT_TRUE(SkinUITest::PumpUntil([] {
             const std::vector<sim::Frame> frames = sim::SimUnit::Instance().ReceivedFrames();
             return !frames.empty() && frames.back().subcommand == 0x1F;
         }, 5000));
     },
     {1}, {L"${edit_not_taken}"}, Joined({kBridgePair3, {"1F:00"}}),  // the link's leave frame last
     [](OutputJobs& t) {
         EXPECT_FALSE(t.Controller().Device().IsDeviceOpen()) << "the link let go";
         Reconnected(t);
     }},
    {"an output reset with no unit", [](OutputJobs& t) { Unplugged(t); t.Profile().lockMode = 1; },
     [](OutputJobs& t) { t.Click(L"btn_reset_output"); }, {1}, {L"${empty_output_tips}"}, {},
     [](OutputJobs& t) {
         EXPECT_EQ(0, t.Profile().lockMode);
         Replugged(t, 1);
     }},
    // Every other job kind with no unit: refused with its word before it asks, or the model's alone.
    {"a scene load with no unit", Unplugged, [](OutputJobs& t) { t.Controller().StartSceneJob(JobKind::SceneLoad, 3); },
     {1}, {L"${load_scene_offline}"}, {}, RefusedUnplugged},
    {"a scene save with no unit", Unplugged, [](OutputJobs& t) { t.Controller().StartSceneJob(JobKind::SceneSave, 3); },
     {1}, {L"${save_scene_offline}"}, {}, RefusedUnplugged},
    {"a scene delete with no unit", Unplugged, [](OutputJobs& t) { t.Controller().StartSceneJob(JobKind::SceneDelete, 3); },
     {1}, {L"${delete_scene_offline}"}, {}, RefusedUnplugged},
    {"a whole save with no unit", Unplugged, [](OutputJobs& t) { t.Controller().SaveWholeConfigFile(L"jobs_offline.wpf"); },
     {1}, {L"${whole_save_offline}"}, {}, RefusedUnplugged},
    {"a factory reset with no unit", Unplugged, [](OutputJobs& t) { t.Controller().ResetMcuFactoryDefault(); }, {1},
     {L"${job_offline}"}, {}, RefusedUnplugged},
    {"a profile loaded with no unit", Unplugged,
     [](OutputJobs& t) { t.Controller().LoadSenceConfigFile(JobFile(t, false)); }, {}, {}, {}, ShownUnplugged},
    {"a whole configuration loaded with no unit", Unplugged,
     [](OutputJobs& t) { t.Controller().LoadWholeConfigFile(JobFile(t, true)); }, {}, {}, {}, ShownUnplugged},
    {"output reset cancelled does nothing", [](OutputJobs& t) { t.Profile().lockMode = 1; },
     [](OutputJobs& t) { t.Click(L"btn_reset_output"); }, {0}, {L"${empty_output_tips}"}, {},
     [](OutputJobs& t) { EXPECT_EQ(1, t.Profile().lockMode); }},
    {"joining a group resends the crossover per member and levels the group", [](OutputJobs& t) {
         t.Profile().linkSel[0] = 1;
         t.Profile().channels[0].bypass = 0;
     },
     [](OutputJobs& t) { t.Toggle(L"ch_synchronize_%d", 3); }, {}, {},
     {"05@3*2", "12@0", "12@3", "08@0", "08@1", "08@2", "08@3", "08@4", "08@5", "08@6", "08@7", "08@8", "08@9",
      "08@10", "08@11", "08@12", "08@13", "08@14", "08@15", "09@3"},
     [](OutputJobs& t) {
         EXPECT_EQ(1, t.Profile().linkSel[3]);
         EXPECT_EQ(0, t.Profile().channels[3].bypass);
         EXPECT_EQ(3, t.Profile().currOutChannel);
         EXPECT_FALSE(t.Enabled(L"btn_link_output"));
     }},
    {"joining a group keeps a fractional trim the unit reported", [](OutputJobs& t) {
         PostReport(t.Controller(), 0x08, dsp::DspTrimRecord{0, 5, -12.34f});
     },
     [](OutputJobs& t) { t.Toggle(L"ch_synchronize_%d", 3); }, {}, {},
     {"08@0", "08@1", "08@2", "08@3", "08@4", "08@5", "08@6", "08@7", "08@8", "08@9", "08@10", "08@11", "08@12",
      "08@13", "08@14", "08@15", "09@3"},
     [](OutputJobs& t) { EXPECT_NEAR(-12.34f, t.Profile().channels[5].gain, 1e-4); }},
    {"leaving the last group frees the link button", [](OutputJobs& t) {
         t.Profile().linkSel[3] = 1;
         t.Named<COptionUI>(L"ch_synchronize_%d", 3)->SetSelectedState(true, true);
         t.Named(L"btn_link_output")->SetEnabledState(false);
     },
     [](OutputJobs& t) { t.Toggle(L"ch_synchronize_%d", 3); }, {}, {}, {"09@3"},
     [](OutputJobs& t) {
         EXPECT_EQ(0, t.Profile().linkSel[3]);
         EXPECT_TRUE(t.Enabled(L"btn_link_output"));
     }},
    {"a delay link group on a bridged channel marks both", [](OutputJobs& t) { t.Profile().bridgeOutputs[1] = 1; },
     [](OutputJobs& t) { t.Controller().SetChDelayLink(2, 4); }, {}, {}, {"09@2", "09@3"},
     [](OutputJobs& t) {
         EXPECT_EQ(4, t.Profile().delayLinkSel[2]);
         EXPECT_EQ(4, t.Profile().delayLinkSel[3]);
         EXPECT_EQ(0xFFFF0000u, static_cast<unsigned>(t.Named(L"delay_link_%d", 3)->GetBackgroundColor()));
         EXPECT_EQ(0xFFFF0000u, static_cast<unsigned>(t.Named(L"delay_link_%d", 3)->GetForegroundColor()));
         EXPECT_FALSE(t.Enabled(L"btn_link_output"));
     }},
    {"reset link clears every group and keeps the current channel", [](OutputJobs& t) {
         t.Profile().linkSel[2] = t.Profile().linkSel[9] = 2;
         t.Controller().SetCurChannelChange(5);
     },
     [](OutputJobs& t) { t.Click(L"btn_reset_link"); }, {}, {},
     {"09@0", "09@1", "09@2", "09@3", "09@4", "09@5", "09@6", "09@7", "09@8", "09@9", "09@10", "09@11", "09@12",
      "09@13", "09@14", "09@15", "09@5"},
     [](OutputJobs& t) {
         EXPECT_EQ(0, t.Profile().linkSel[9]);
         EXPECT_EQ(5, t.Profile().currOutChannel);
     }},
    {"a profile shown unlinked opens the group buttons an earlier link closed", [](OutputJobs& t) {
         t.Named(L"ch_synchronize_%d", 9)->SetEnabledState(false);
         t.Named(L"delay_link_%d", 9)->SetEnabledState(false);
     },
     [](OutputJobs& t) { t.Controller().RefreshFromProfile(); }, {}, {}, {"09@0"},
     [](OutputJobs& t) {
         EXPECT_TRUE(t.Enabled(L"ch_synchronize_%d", 9));
         EXPECT_TRUE(t.Enabled(L"delay_link_%d", 9));
     }},
    {"a link report shows on the link and lock buttons", [](OutputJobs&) {},
     [](OutputJobs& t) { PostReport(t.Controller(), 0x0E, dsp::DspLinkRecord{0, 1, {}}); }, {}, {}, {"09@0"},
     [](OutputJobs& t) {
         EXPECT_TRUE(t.Selected(L"btn_link_output"));
         EXPECT_TRUE(t.Selected(L"btn_lock_output"));
         EXPECT_EQ(1, t.Profile().linkOutputs[0]);
         EXPECT_FALSE(t.Enabled(L"ch_output_btn_%d", 7));
     }},
    {"an output type report moves the speaker position with its frame and delay",
     [](OutputJobs& t) { t.Profile().channels[0].delay = 2.0f; },
     [](OutputJobs& t) { PostReport(t.Controller(), 0x0D, dsp::DspChValueRecord{0, 0, 5}); }, {}, {}, {},
     [](OutputJobs& t) {
         // The positions show on the outputs page.
         auto* pages = t.Named<CTabLayoutUI>(L"main_pages");
         pages->SelectPageAt(2);
         for (const wchar_t* name : {L"speaker_%d", L"spk_con_%d", L"spk_delay_%d"}) {
             EXPECT_TRUE(t.Named(name, 4)->GetVisibility()) << name;
             EXPECT_FALSE(t.Named(name, 0)->GetVisibility()) << name;
         }
         EXPECT_EQ(L"2.000", std::wstring(t.Named(L"spk_delay_%d", 4)->GetTextContent().CStr()));
         PostReport(t.Controller(), 0x0D, dsp::DspChValueRecord{0, 0, 1});
         pages->SelectPageAt(0);
     }},
};

TEST_F(OutputJobs, EachActionSendsItsFramesAndEndsBusyAfterTheDrain)
{
    for (const JobCase& c : kJobCases) {
        SCOPED_TRACE(c.name);
        Restore();
        c.setup(*this);
        Settle();
        sim::SimUnit::Instance().ClearReceived();
        sim::ResetPushThreadGuard();
        BoxAnswers boxes(c.answers);
        const std::vector<sim::Frame> frames = Run(c, boxes);
        EXPECT_EQ(c.frames, Signature(frames));
        ASSERT_EQ(c.boxes.size(), boxes.texts.size());
        for (size_t i = 0; i < c.boxes.size(); ++i) EXPECT_EQ(Text(c.boxes[i]), boxes.texts[i]);
        c.check(*this);
        // The jobs queue everything from the UI thread; their threads only wait.
        EXPECT_EQ(0, sim::GuardedPushes().offUiThread);
        EXPECT_EQ(static_cast<long>(frames.size()), sim::GuardedPushes().pushed);
    }
}

// One row of the main window's notification table: the notification, the
// control that sends it (the layout's, or a stand-in of that name), and the
// operations it must reach itself, as each reports itself (none: "").
struct WalkRow {
    const wchar_t* type;
    const wchar_t* name;
    int index;
    const char* operation;
    std::vector<int> answers = {};
    // The unit's frames, as Signature writes them; not checked when empty.
    std::vector<std::string> frames = {};
    // What the box holds, for a box taken only when typed into.
    const wchar_t* typed = nullptr;
};

// Every operation the control reached itself, each as "name index" when it takes an index.
std::string gReached;
void RecordReached(const char* operation, const int* index, int depth)
{
    if (depth != 0) return;
    gReached += (gReached.empty() ? "" : ", ") + std::string(operation);
    if (index != nullptr) gReached += " " + std::to_string(*index);
}

const WalkRow kWalk[] = {
    {L"click", L"ch_output_btn_2", 2, "ShowOutputMenu 2"},
    {L"click", L"btn_amp_onoff", 0, "SwitchAmpOnOff"},
    {L"click", L"btn_rem_out1_onoff", 0, "SwitchRemOut1"},
    {L"click", L"btn_rem_out2_onoff", 0, "SwitchRemOut2"},
    {L"click", L"btn_2ohm_spk", 0, "SwitchSpkOhm"},
    {L"click", L"btn_noise_gate", 0, "SwitchNoiseGate"},
    {L"click", L"btn_option", 0, "ShowOptionMenu"},
    {L"click", L"btn_scene", 0, "ShowSceneMenu"},
    {L"click", L"btn_reset_eq", 0, "SetOutputEqReset"},
    {L"click", L"btn_bypass", 0, "SetOutputBypass"},
    {L"click", L"btn_reset_output", 0, "SetOutputReset", {0}, {}},
    {L"click", L"ch_enable_6", 6, "SetCurChannelChange 6", {}, {"09@6"}},
    {L"click", L"ch_bridge_7", 7, "SwitchBridge 7"},
    {L"click", L"bridge_checkbox_7", 7, "SwitchBridgeCheckBox 7"},
    {L"click", L"speaker_13", 13, "SetSpeakerFocus 13", {}, {"09@4"}},
    {L"click", L"pt_enable_4", 4, "OnEqEnable 4"},
    {L"click", L"btn_lock_output", 0, "SetOutpuLock", {0}, {"09@4", kUnlock}},
    {L"click", L"btn_link_output", 0, "SetOutputLink", {0}, {}},
    {L"click", L"btn_reset_link", 0, "ResetLink"},
    {L"click", L"btn_delay_up", 0, "SetSpeakerDelayUp 13", {}, {"07@4"}},
    {L"click", L"btn_delay_down", 0, "SetSpeakerDelayUp 13", {}, {"07@4"}},
    {L"click", L"advance_item_noise_threshold", 0, "OpenNoiseThresholdWnd"},
    {L"click", L"btn_debug", 0, "ShowMemWrWnd"},
    {L"click", L"btn_arg_eq", 0, "SetOutputEqMode"},
    {L"click", L"btn_advance", 0, "ShowAdvanceMenu"},
    {L"click", L"btn_irc", 0, ""},
    {L"selectchanged", L"ch_show_3", 3, "SetChEqualizerShow 3", {}, {}},
    {L"selectchanged", L"ch_mute", 0, "SetChMute 4"},
    {L"selectchanged", L"ch_mute_3", 3, "SetChMute 3", {}, {"09@3"}},
    {L"selectchanged", L"ch_phase", 0, "SetChPhase 4"},
    {L"selectchanged", L"ch_phase_3", 3, "SetChPhase 3", {}, {"0A@3"}},
    {L"selectchanged", L"ch_solo_3", 3, "SetChSolo 3"},
    {L"selectchanged", L"ch_synchronize_3", 3, "SetChSynchronize 3"},
    {L"selectchanged", L"delay_link_3", 3, "ShowDelayLinkGroupMenu 3"},
    {L"selectchanged", L"main_mute", 0, "SetMainMute"},
    {L"selectchanged", L"option_ch_in1_2", 0, "SetInputIn 2"},
    {L"valuechanged", L"eq_slider_4", 4, "SetChEqSlider 4"},
    {L"valuechanged", L"slider_main_volume", 0, "SetMainVolumeSlider"},
    {L"valuechanged", L"slider_acc", 0, "SetAccSlider"},
    {L"valuechanged", L"slider_ch_volume", 0, "SetChVolumeSlider 4"},
    {L"movevaluechanged", L"slider_ch_volume_5", 5, "SetChVolumeSlider 5"},
    {L"valuechanged", L"slider_ch_delay_5", 5, "SetChDelaySlider 5"},
    {L"valuechangedup", L"eq_freq_4", 4, "SetEqFreqUp 4"},
    {L"valuechangeddown", L"eq_q_4", 4, "SetEqQUp 4"},
    {L"valuechangedup", L"eq_gain_4", 4, "SetEqGainUp 4"},
    {L"valuechangedup", L"hp_freq", 0, "SetHpFreqUp"},
    {L"valuechangeddown", L"lp_freq", 0, "SetLpFreqUp"},
    {L"valuechangedup", L"edit_main_volume", 0, "SetMainVolumeUp"},
    {L"valuechangeddown", L"edit_acc", 0, "SetAccUp"},
    {L"valuechangedup", L"edit_ch_volume", 0, "SetChVolumeUp 4"},
    {L"valuechangeddown", L"edit_ch_volume_5", 5, "SetChVolumeUp 5"},
    {L"valuechangedup", L"edit_ch_delay_5", 5, "SetChDelayUp 5"},
    {L"valuechangeddown", L"spk_delay_7", 7, "SetSpeakerDelayUp 7"},
    {L"return", L"edit_main_volume", 0, "SetMainVolumeEdit", {}, {}, L"-5"},
    {L"return", L"edit_acc", 0, "SetAccEdit", {}, {}, L"7"},
    // Enter moves the focus down the column; the box it reaches shows its band.
    {L"return", L"eq_q_3", 3, "UpdateEqualizer 3"},
    {L"return", L"hp_freq", 0, "SetHpFreq", {}, {}, L"300"},
    {L"return", L"lp_freq", 0, "SetLpFreq", {}, {}, L"5000"},
    {L"return", L"edit_ch_delay_5", 5, "LeaveChDelayEdit 5"},
    {L"return", L"edit_ch_volume", 0, "LeaveChVolumeEdit 4"},
    {L"return", L"edit_ch_volume_5", 5, "LeaveChVolumeEdit 5"},
    {L"return", L"spk_delay_7", 7, "LeaveSpeakerDelayEdit 7"},
    {L"killfocus", L"edit_main_volume", 0, "SetMainVolumeEdit", {}, {}, L"-5"},
    {L"killfocus", L"edit_acc", 0, "SetAccEdit", {}, {}, L"7"},
    {L"killfocus", L"eq_gain_2", 2, "SetChEqEdit 2"},
    {L"killfocus", L"hp_freq", 0, "SetHpFreq", {}, {}, L"300"},
    {L"killfocus", L"lp_freq", 0, "SetLpFreq", {}, {}, L"5000"},
    {L"killfocus", L"edit_ch_delay_5", 5, "LeaveChDelayEdit 5", {}, {}},
    {L"killfocus", L"edit_ch_volume_5", 5, "LeaveChVolumeEdit 5", {}, {}},
    {L"setfocus", L"eq_freq_2", 2, "UpdateEqualizer 2"},
    {L"setfocus", L"spk_delay_1", 1, "SetSpeakerDelayFocus 1"},
    {L"setfocus", L"slider_ch_delay_9", 9, "SetChActive 9"},
    {L"itemselect", L"comb_ch_unit", 0, "SetDelayUnit", {}, {}},
    {L"itemselect", L"hp_type", 0, "SetHpType"},
    {L"itemselect", L"lp_type", 0, "SetLpType"},
    {L"itemselect", L"hp_slop", 0, "SetHpSlop"},
    {L"itemselect", L"lp_slop", 0, "SetLpSlop"},
    {L"itemselect", L"btn_input_source", 0, "SetInputSource"},
    {L"itemselect", L"btn_channel_select", 0, ""},
    {L"equalizer_hp", L"equalizer", 1, "EqualizerCallback 1"},
    {L"equalizer_eq_release", L"equalizer", 3, "EqualizerCallback 3"},
    {L"equalizer_lp", L"equalizer", -1, ""},
    {L"windowsize", L"", 0, "UpdateEqualizer -1"},
};

// Every notification of the table reaches its operation; rows whose
// operation is already built also show its effect on the unit.
TEST_F(OutputJobs, EveryNotificationOfTheTableReachesItsOperation)
{
    for (const WalkRow& row : kWalk) {
        SCOPED_TRACE(testing::Message() << std::string(row.type, row.type + wcslen(row.type)) << " "
                                        << std::string(row.name, row.name + wcslen(row.name)));
        Restore();
        Controller().SetCurChannelChange(4);
        Settle();
        CControlUI* sender = Window().PaintManager().FindControlByName(row.name);
        CControlUI standIn;
        if (sender == nullptr) {
            standIn.SetControlName(row.name);
            sender = &standIn;
        }
        wchar_t index[16];
        _snwprintf(index, 15, L"%d", row.index);
        index[15] = L'\0';
        const CUIString ownData = sender->GetUserDataText();
        const CUIString ownText = sender->GetTextContent();
        sender->SetUserDataText(index);
        if (row.typed != nullptr) sender->SetTextContent(row.typed);
        sim::SimUnit::Instance().ClearReceived();
        TNotifyInfo notify;
        notify.type = row.type;
        notify.sender = *row.name != L'\0' ? sender : nullptr;
        {
            BoxAnswers boxes(row.answers);
            gReached.clear();
            SetOperationCheck(RecordReached);
            Window().ReceiveNotify(notify);
            SetOperationCheck(nullptr);
            EXPECT_EQ(row.operation, gReached);
            EXPECT_TRUE(SkinUITest::PumpUntil(
                [&] {
                    return !Controller().IsOutputJobRunning() && Window().LoadingWindow() == nullptr &&
                           Controller().Device().IsQueueIdle();
                },
                20000));
        }
        sender->SetUserDataText(ownData);
        sender->SetTextContent(ownText);
        if (!row.frames.empty() || !row.answers.empty()) {
            EXPECT_EQ(row.frames, Signature(sim::SimUnit::Instance().ReceivedFrames()));
        }
    }
}

struct FocusRow {
    const char* name;
    int channel;         // current channel: 0-11 have 31 bands, 12-15 have 11
    bool graphicEq;      // the band frequency and Q boxes disabled
    const wchar_t* from;
    const wchar_t* type;  // "valuechangedleft", "valuechangedright" or "return"
    const wchar_t* to;
};

const FocusRow kFocusRows[] = {
    {"right past the last band's gain goes to the first volume", 12, false, L"eq_gain_10", L"valuechangedright",
     L"edit_ch_volume_0"},
    // A volume box with the focus makes its channel current: 31 bands.
    {"left from the first volume to the last band's gain", 12, false, L"edit_ch_volume_0", L"valuechangedleft",
     L"eq_gain_30"},
    {"right from the main volume to the first frequency", 0, false, L"edit_main_volume", L"valuechangedright",
     L"eq_freq_0"},
    {"the low-pass wraps to the main volume", 0, false, L"lp_freq", L"valuechangedright", L"edit_main_volume"},
    {"and back", 0, false, L"edit_main_volume", L"valuechangedleft", L"lp_freq"},
    {"the last delay goes on to the high-pass", 0, false, L"edit_ch_delay_15", L"valuechangedright", L"hp_freq"},
    {"graphic EQ: right from the main volume to the first gain", 0, true, L"edit_main_volume", L"valuechangedright",
     L"eq_gain_0"},
    {"graphic EQ: left from the first gain to the main volume", 0, true, L"eq_gain_0", L"valuechangedleft",
     L"edit_main_volume"},
    {"Enter in a Q box goes to the gain below it", 0, false, L"eq_q_3", L"return", L"eq_gain_3"},
    {"Enter in a gain box goes to the next band's frequency", 0, false, L"eq_gain_3", L"return", L"eq_freq_4"},
    {"Enter in the last band's gain wraps to the first frequency", 12, false, L"eq_gain_10", L"return", L"eq_freq_0"},
};

TEST_F(OutputJobs, ArrowsAndEnterMoveTheFocusAlongTheCycle)
{
    CPaintManagerUI& pm = Window().PaintManager();
    for (const FocusRow& row : kFocusRows) {
        SCOPED_TRACE(row.name);
        // The window holds no focused box that would come back with the
        // window's own focus.
        SetFocus(Window());
        pm.SetFocusControl(nullptr);
        Restore();
        Controller().SetCurChannelChange(row.channel);
        for (int b = 0; b < kMaxEqBands; ++b) {
            for (const wchar_t* format : {L"eq_freq_%d", L"eq_q_%d"}) {
                if (CControlUI* box = Named(format, b)) box->SetEnabledState(!row.graphicEq);
            }
        }
        CControlUI* from = pm.FindControlByName(row.from);
        ASSERT_NE(nullptr, from);
        pm.SetFocusControl(from);
        ASSERT_EQ(from, pm.FocusControl());
        SCOPED_TRACE(testing::Message() << "current channel " << Profile().currOutChannel);
        pm.SendNotification(from, row.type);
        ASSERT_NE(nullptr, pm.FocusControl());
        EXPECT_EQ(std::wstring(row.to), pm.FocusControl()->GetControlName().CStr());
    }
    for (int b = 0; b < kMaxEqBands; ++b) {
        for (const wchar_t* format : {L"eq_freq_%d", L"eq_q_%d"}) {
            if (CControlUI* box = Named(format, b)) box->SetEnabledState(true);
        }
    }
}

// A change of the current channel reaches the chart at once and asks for the
// next paint; a hidden channel's curve keeps its data but is not drawn.
TEST_F(OutputJobs, TheChartShowsTheCurrentCurveOnTheNextPaint)
{
    Restore();
    auto* chart = static_cast<UIEqualizer*>(Window().PaintManager().FindControlByName(L"equalizer"));
    ASSERT_NE(nullptr, chart);
    ChannelParams& seventh = Profile().channels[6];
    seventh.bypass = 0;
    seventh.bands[0] = EqBand(6.0f, 2.0f, 1000, 1);
    for (int ch : {3, 6}) {
        Profile().showOutChEqualizer[ch] = 1;
        Named<COptionUI>(L"ch_show_%d", ch)->SetSelectedState(true, true);
    }
    UpdateWindow(Window());
    Click(L"ch_enable_%d", 6);
    RECT pending;
    EXPECT_TRUE(GetUpdateRect(Window(), &pending, FALSE));
    EXPECT_EQ(6, chart->Model().CurrentCurve());
    // The band's peak: the current curve rises above the flat one of channel 4.
    SkinUI::CUIPoint peaked[kCurvePoints];
    SkinUI::CUIPoint flat[kCurvePoints];
    const int n = chart->Model().BuildCurvePoints(6, false, peaked);
    ASSERT_EQ(n, chart->Model().BuildCurvePoints(3, false, flat));
    int highest = 0;
    for (int i = 0; i < n; ++i) highest = std::max(highest, static_cast<int>(flat[i].y - peaked[i].y));
    EXPECT_GT(highest, 5);
    UpdateWindow(Window());
    EXPECT_FALSE(GetUpdateRect(Window(), &pending, FALSE));

    Toggle(L"ch_show_%d", 3);
    EXPECT_FALSE(chart->Model().CurveVisible(3));
    EXPECT_TRUE(chart->Model().CurveVisible(6));
    EXPECT_EQ(n, chart->Model().BuildCurvePoints(3, false, flat));
}

} // namespace
