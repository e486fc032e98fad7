// Crossover, output assignment and the unit-wide settings in the program's
// main window connected to the simulated unit: each row an action through
// the window's own controls and notifications, the exact frames the unit
// received in order, and the model and controls afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "ConnectHost.h"
#include "app/controls/SButtonUI.h"
#include "app/windows/MainWnd.h"
#include "device/DeviceTiming.h"
#include "device/FrameCodec.h"
#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitModel.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Menu.h"
#include "uilib/control/MenuElement.h"
#include "uilib/control/MenuList.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/layout/TabLayout.h"

using namespace SkinUI;

namespace {

// "TT SS:payload" of every set frame: the gets of the main-volume poll are
// the unit's business, not the action's.
std::vector<std::string> SetFrames()
{
    std::vector<std::string> out;
    for (const sim::Frame& f : sim::SimUnit::Instance().ReceivedFrames()) {
        if (f.optype != dsp::OP_SET) continue;
        char text[8];
        snprintf(text, sizeof text, "%02X %02X:", f.type, f.subcommand);
        std::string line = text;
        for (size_t i = 0; i < f.data.size(); ++i) {
            snprintf(text, sizeof text, i == 0 ? "%02X" : " %02X", f.data[i]);
            line += text;
        }
        out.push_back(line);
    }
    return out;
}

const int kRoutingPage = 1;
const int kOutputsPage = 2;

struct Win {
    CMainWnd* window = nullptr;

    EqualizerManager& C() { return window->Controller(); }
    SceneProfile& P() { return C().Current(); }
    template <class T = CControlUI>
    T* At(const wchar_t* format, int a = 0, int b = 0)
    {
        wchar_t name[64];
        _snwprintf(name, 63, format, a, b);
        name[63] = L'\0';
        auto* control = static_cast<T*>(window->PaintManager().FindControlByName(name));
        EXPECT_NE(nullptr, control) << Narrow(name);
        return control;
    }
    // The user's ways in: the window's own notifications reach the controller.
    void Type(const wchar_t* edit, const wchar_t* text)
    {
        At<CEditUI>(edit)->SetTextContent(text);
        window->Dispatch(L"return", At(edit));
    }
    void Pick(const wchar_t* combo, int index) { At<CComboUI>(combo)->SelectSingleItem(index, false); }
    void Check(const wchar_t* format, bool on, int a = 0, int b = 0) { At<COptionUI>(format, a, b)->SetSelectedState(on, false); }
    void Click(const wchar_t* name) { window->OnClick(At(name)); }
    void Slide(const wchar_t* name, int value)
    {
        At<CSliderUI>(name)->SetValue(value);
        window->Dispatch(L"valuechanged", At(name));
    }
    // A menu row chosen, delivered as the menu delivers it.
    void ChooseMenuRow(const wchar_t* name)
    {
        auto* info = static_cast<TMenuClickInfo*>(calloc(1, sizeof(TMenuClickInfo)));
        CopyTextCut(info->name, TMenuClickInfo::kNameChars, name);
        window->OnMenuClick(reinterpret_cast<WPARAM>(info));
    }
    // The tab page that holds the controls a check looks at.
    void ShowPage(int page) { At<CTabLayoutUI>(L"main_pages")->SelectPageAt(page); }
    // A known crossover on channel ch: hp 80 Hz, lp 3000 Hz, type 1, filters off.
    void PlainCrossover(int ch) { P().channels[ch].crossover = CrossoverParams(80, 1, 0, 3000, 1, 0); }
};

// Expected frames, written as the unit reads them.
std::string Hex(const char* head, std::initializer_list<int> bytes)
{
    std::string line = head;
    bool first = true;
    for (int b : bytes) {
        char text[4];
        snprintf(text, sizeof text, first ? "%02X" : " %02X", b & 0xFF);
        line += text;
        first = false;
    }
    return line;
}
// Filter k (2 high-pass, 1 low-pass) of channel ch: type, frequency BE, slope.
std::string F(int ch, int k, int type, int freq, int slope)
{
    return Hex("01 05:", {0, 0, ch, k, type, freq >> 8, freq, slope});
}
std::string Mute(int ch, int on) { return Hex("01 09:", {0, 0, ch, ch, on}); }
std::string Trim(int ch, int attenuation) { return Hex("01 08:", {0, 0, ch, ch, attenuation}); }
std::string Type(int ch, int code) { return Hex("01 0D:", {0, 0, ch, ch, code}); }

struct Row {
    const char* name;
    std::function<void(Win&)> setup;
    std::function<void(Win&)> action;
    std::vector<std::string> frames;
    std::function<void(Win&)> check;
};

const Row kCrossoverRows[] = {
    {"a slope picked sends the current channel's high-pass with it",
     [](Win&) {}, [](Win& w) { w.Pick(L"hp_slop", 2); },
     {F(0, 2, 1, 80, 2)},
     [](Win& w) {
         EXPECT_EQ(2, w.P().channels[0].crossover.GetHpSlope());
         EXPECT_EQ(0, w.P().channels[0].crossover.GetHpBypass());
     }},
    {"high-pass typed above the low-pass stops at it; the bridge partner follows",
     [](Win& w) {
         w.P().bridgeOutputs[0] = 1;
         w.PlainCrossover(1);
     },
     [](Win& w) { w.Type(L"hp_freq", L"5000"); },
     {F(0, 2, 1, 3000, 0), F(1, 2, 1, 3000, 0)},
     [](Win& w) {
         EXPECT_EQ("3000Hz", Narrow(w.At(L"hp_freq")->GetTextContent()));
         EXPECT_EQ(3000, w.P().channels[1].crossover.GetHpFreq());
     }},
    {"low-pass typed below the high-pass stops at it",
     [](Win&) {}, [](Win& w) { w.Type(L"lp_freq", L"10"); },
     {F(0, 1, 1, 80, 0)},
     [](Win& w) { EXPECT_EQ("80Hz", Narrow(w.At(L"lp_freq")->GetTextContent())); }},
    {"2k5 reads 2500 Hz; the link group member is sent before the channel",
     [](Win& w) {
         w.P().linkSel[0] = w.P().linkSel[3] = 1;
         w.PlainCrossover(3);
     },
     [](Win& w) { w.Type(L"lp_freq", L"2k5"); },
     {F(3, 1, 1, 2500, 0), F(0, 1, 1, 2500, 0)},
     [](Win& w) { EXPECT_EQ(2500, w.P().channels[3].crossover.GetLpFreq()); }},
    {"type 2 with an odd slope shows, stores and sends the next even one and hides the odd rows",
     [](Win& w) {
         w.P().channels[0].crossover.SetHpSlope(3);
         w.C().SetFreqDivider(0);
     },
     [](Win& w) { w.Pick(L"hp_type", 2); },
     {F(0, 2, 2, 80, 4)},
     [](Win& w) {
         auto* slope = w.At<CComboUI>(L"hp_slop");
         EXPECT_EQ(4, slope->GetSelectedIndex());
         for (int item = 1; item <= 8; ++item) EXPECT_EQ(item % 2 == 0, slope->GetChildAt(item)->GetVisibility()) << item;
         EXPECT_EQ(4, w.P().channels[0].crossover.GetHpSlope());
     }},
    {"the up stepper walks the log grid from 80 Hz",
     [](Win&) {}, [](Win& w) { w.window->Dispatch(L"valuechangedup", w.At(L"hp_freq")); },
     {F(0, 2, 1, 82, 0)},
     [](Win& w) { EXPECT_EQ("82Hz", Narrow(w.At(L"hp_freq")->GetTextContent())); }},
    {"leaving a frequency box the program wrote sends nothing",
     [](Win&) {}, [](Win& w) { w.window->Dispatch(L"killfocus", w.At(L"hp_freq")); }, {},
     [](Win& w) { EXPECT_EQ(80, w.P().channels[0].crossover.GetHpFreq()); }},
    {"making another channel current loads its crossover into the editor",
     [](Win& w) { w.P().channels[5].crossover = CrossoverParams(250, 3, 4, 8000, 2, 6); },
     [](Win& w) { w.Click(L"ch_enable_5"); },
     {Mute(5, 0)},
     [](Win& w) {
         EXPECT_EQ("250Hz", Narrow(w.At(L"hp_freq")->GetTextContent()));
         EXPECT_EQ("8000Hz", Narrow(w.At(L"lp_freq")->GetTextContent()));
         EXPECT_EQ(3, w.At<CComboUI>(L"hp_type")->GetSelectedIndex());
         EXPECT_EQ(6, w.At<CComboUI>(L"lp_slop")->GetSelectedIndex());
         EXPECT_FALSE(w.At<CComboUI>(L"lp_slop")->GetChildAt(5)->GetVisibility());
     }},
};

const Row kUnitRows[] = {
    {"main volume typed -60: off, attenuation 66, then unmute",
     [](Win&) {}, [](Win& w) { w.Type(L"edit_main_volume", L"-60"); },
     {Hex("01 02:", {66}), Hex("01 04:", {0})},
     [](Win& w) {
         EXPECT_EQ(Resolved(L"${off}"), Narrow(w.At(L"edit_main_volume")->GetTextContent()));
         EXPECT_EQ(-60, w.P().mainVolume);
     }},
    {"Enter in the main volume as shown sends nothing: a muted output stays muted",
     [](Win& w) { w.P().mainVolume = -60, w.P().mainVolumeMute = 1; },
     [](Win& w) { w.Type(L"edit_main_volume", L"OFF"); }, {}, [](Win& w) { EXPECT_EQ(1, w.P().mainVolumeMute); }},
    {"main volume slider at +6 dB: attenuation 0",
     [](Win&) {}, [](Win& w) { w.Slide(L"slider_main_volume", 6); },
     {Hex("01 02:", {0}), Hex("01 04:", {0})},
     [](Win& w) { EXPECT_EQ("6dB", Narrow(w.At(L"edit_main_volume")->GetTextContent())); }},
    {"main mute on", [](Win&) {}, [](Win& w) { w.Check(L"main_mute", true); }, {Hex("01 04:", {1})},
     [](Win& w) { EXPECT_EQ(1, w.P().mainVolumeMute); }},
    {"a volume step while muted unmutes after the volume",
     [](Win& w) {
         w.Check(L"main_mute", true);
         w.Slide(L"slider_main_volume", 0);
         w.Check(L"main_mute", true);
     },
     [](Win& w) { w.window->Dispatch(L"valuechangedup", w.At(L"edit_main_volume")); },
     {Hex("01 02:", {5}), Hex("01 04:", {0})},
     [](Win& w) {
         EXPECT_FALSE(w.At<COptionUI>(L"main_mute")->IsSelected());
         EXPECT_EQ(0, w.P().mainVolumeMute);
         EXPECT_EQ(1, w.P().mainVolume);
     }},
    {"leaving the main volume box untouched keeps the mute",
     [](Win& w) { w.Check(L"main_mute", true); },
     [](Win& w) { w.window->Dispatch(L"killfocus", w.At(L"edit_main_volume")); }, {},
     [](Win& w) { EXPECT_TRUE(w.At<COptionUI>(L"main_mute")->IsSelected()); }},
    {"ACC slider", [](Win&) {}, [](Win& w) { w.Slide(L"slider_acc", 12); }, {Hex("03 92:", {12})},
     [](Win& w) {
         EXPECT_EQ(12, w.P().acc);
         EXPECT_EQ("12", Narrow(w.At(L"edit_acc")->GetTextContent()));
     }},
    {"ACC typed below the range shows off at the slider's minimum",
     [](Win&) {}, [](Win& w) { w.Type(L"edit_acc", L"-5"); }, {Hex("03 92:", {0})},
     [](Win& w) { EXPECT_EQ(Resolved(L"${off}"), Narrow(w.At(L"edit_acc")->GetTextContent())); }},
    {"the coaxial source has no input rows and is switched at once",
     [](Win&) {}, [](Win& w) { w.Pick(L"btn_input_source", 1); }, {Hex("01 01:", {0x52})},
     [](Win& w) {
         EXPECT_EQ(1, w.P().inputSource);
         w.ShowPage(kRoutingPage);
         for (int r = 0; r < 12; ++r) EXPECT_FALSE(w.At(L"option_ch_in%d_%d", r, 7)->GetVisibility()) << r;
     }},
    {"the high-level source shows all twelve rows",
     [](Win&) {}, [](Win& w) { w.Pick(L"btn_input_source", 5); }, {Hex("01 01:", {0x56})},
     [](Win& w) {
         w.ShowPage(kRoutingPage);
         for (int r = 0; r < 12; ++r) {
             EXPECT_TRUE(w.At(L"option_ch_in%d_%d", r, 15)->GetVisibility()) << r;
             EXPECT_TRUE(w.At(L"option_ch_in%d_%d", r, 15)->GetEnabledState()) << r;
         }
     }},
    {"routing input 3 to output 5 with its mix at 0 raises the mix to 100 after the mask",
     [](Win& w) {
         w.Pick(L"btn_input_source", 5);
         w.P().inputs[5][5] = 0;
         w.P().inputMixVolume[5][3][5] = 0;
     },
     [](Win& w) { w.Check(L"option_ch_in%d_%d", true, 3, 5); },
     {Hex("01 0B:", {0, 5, 5, 5, 0x00, 0x08}), Hex("01 24:", {0, 5, 3, 5, 5, 100})},
     [](Win& w) {
         EXPECT_EQ(8, w.P().inputs[5][5]);
         EXPECT_EQ(100, w.P().inputMixVolume[5][3][5]);
     }},
    {"amplifier off: the unit is told to mute it",
     [](Win& w) { w.C().ShowAmpState(true); }, [](Win& w) { w.Click(L"btn_amp_onoff"); }, {Hex("01 3F:", {1})},
     [](Win& w) {
         auto* b = w.At<CSButtonUI>(L"btn_amp_onoff");
         EXPECT_FALSE(b->IsSelected());
         EXPECT_EQ(Resolved(L"${amp_off}"), Narrow(b->GetTextContent()));
         EXPECT_EQ(0xFFFF0000, b->GetTextColor());
         EXPECT_EQ(0, w.P().ampOn);
     }},
    {"remote output 2 off sends both remote states",
     [](Win& w) {
         w.C().ShowRemOut1State(true);
         w.C().ShowRemOut2State(true);
     }, [](Win& w) { w.Click(L"btn_rem_out2_onoff"); }, {Hex("01 45:", {1, 0})},
     [](Win& w) { EXPECT_EQ(0, w.P().remOut2On); }},
    {"speaker impedance to 4 ohm", [](Win& w) { w.C().ShowSpkOhmState(true); }, [](Win& w) { w.Click(L"btn_2ohm_spk"); }, {Hex("01 4B:", {0})},
     [](Win& w) { EXPECT_EQ(Resolved(L"${btn_4ohm_spk}"), Narrow(w.At(L"btn_2ohm_spk")->GetTextContent())); }},
    {"noise gate on", [](Win& w) { w.C().ShowNoiseGateState(false); }, [](Win& w) { w.Click(L"btn_noise_gate"); }, {Hex("01 4E:", {1})},
     [](Win& w) {
         EXPECT_EQ(1, w.P().noiseGate);
         EXPECT_EQ(0xFFFFFFFF, w.At<CSButtonUI>(L"btn_noise_gate")->GetTextColor());
     }},
};

// Code 13 is the rear left tweeter: its default crossover is a high-pass.
const Row kOutputRows[] = {
    {"an output chosen for another channel makes it current and sends type, both filters and its gain",
     [](Win& w) {
         w.window->Controller().menuChannel = 2;
         w.P().outputs[2] = 0;
     },
     [](Win& w) { w.ChooseMenuRow(L"output_menu_rear_left_high_freq"); },
     {Mute(2, 0), Type(2, 13), F(2, 2, 3, 3400, 2), F(2, 1, 3, 20000, 0), Trim(2, 0)},
     [](Win& w) {
         EXPECT_EQ(13, w.P().outputs[2]);
         EXPECT_EQ(13, w.P().outputs_bk[2]);
         EXPECT_EQ(2, w.P().currOutChannel);
         EXPECT_EQ(Resolved(L"${rear_left_tweeter}"), Narrow(w.At(L"ch_output_btn_%d", 2)->GetTextContent()));
         EXPECT_EQ("3400Hz", Narrow(w.At(L"hp_freq")->GetTextContent()));
         w.ShowPage(kOutputsPage);
         EXPECT_TRUE(w.At(L"speaker_%d", 12)->GetVisibility());
         // Channel 2 held the front left midrange in the unit's factory layout.
         EXPECT_FALSE(w.At(L"speaker_%d", 1)->GetVisibility()) << "front left midrange is no longer assigned";
     }},
    {"a bridged pair takes the choice on both channels",
     [](Win& w) {
         w.window->Controller().menuChannel = 4;
         w.P().bridgeOutputs[2] = 1;
     },
     [](Win& w) { w.ChooseMenuRow(L"output_menu_rear_left_high_freq"); },
     {Mute(4, 0), Type(4, 13), F(4, 2, 3, 3400, 2), F(4, 1, 3, 20000, 0), Trim(4, 0), Mute(5, 0), Type(5, 13),
      F(5, 2, 3, 3400, 2), F(5, 1, 3, 20000, 0), Trim(5, 0)},
     [](Win& w) { EXPECT_EQ(5, w.P().currOutChannel); }},
    {"Enter in an untouched strip or speaker delay box shown in cm keeps the delay off the cm grid and sends nothing",
     [](Win& w) {
         w.P().channels[1].delay = 1.0f;
         w.Pick(L"comb_ch_unit", 1);
         w.C().SetDelayUnit();
     },
     [](Win& w) {
         w.window->Dispatch(L"return", w.At(L"edit_ch_delay_%d", 1));
         w.window->Dispatch(L"return", w.At(L"spk_delay_%d", w.P().outputs[1] - 1));
     },
     {},
     [](Win& w) {
         EXPECT_FLOAT_EQ(1.0f, w.P().channels[1].delay);
         EXPECT_EQ("35 cm", Narrow(w.At(L"edit_ch_delay_%d", 1)->GetTextContent()));
         w.Pick(L"comb_ch_unit", 0);
         w.C().SetDelayUnit();
     }},
    {"a group row or a foreign name assigns nothing",
     [](Win& w) { w.window->Controller().menuChannel = 3; },
     [](Win& w) {
         w.ChooseMenuRow(L"output_menu_front");
         w.ChooseMenuRow(L"output_item_unknown");
     },
     {}, [](Win& w) { EXPECT_NE(-1, w.P().outputs[3]); }},
};

class OutputsSettings : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(OpenAppSkin());
        SetDeviceWaitScaleForTests(10);
        sim::SimUnit::Instance().Reset();
        sim::SimUnit::Instance().SetResponder(&Unit());
        win.window = new CMainWnd();
        ASSERT_NE(nullptr, win.window->CreateNativeWindow(nullptr, L"Brisa DSP Audio", WS_POPUP, 0, 0, 0, 1230, 650));
        ShowWindow(*win.window, SW_SHOWNOACTIVATE);
        EqualizerManager& c = win.C();
        ASSERT_TRUE(SkinUITest::PumpUntil(
            [&] {
                return c.Device().IsAsyncMode() && !c.IsStatusReadRunning() && win.window->LoadingWindow() == nullptr &&
                       c.Controls().connect->IsSelected();
            },
            30000));
    }
    static void TearDownTestSuite()
    {
        if (win.window != nullptr && IsWindow(*win.window)) DestroyWindow(*win.window);
        SkinUITest::PumpFor(20);
        delete win.window;
        win.window = nullptr;
        sim::SimUnit::Instance().SetResponder(nullptr);
        SetDeviceWaitScaleForTests(100);
    }

    // Each row starts from channel 0 current with a known crossover, no
    // bridges and no link groups.
    void RunRows(const Row* rows, size_t count)
    {
        ASSERT_NE(nullptr, win.window);
        for (size_t i = 0; i < count; ++i) {
            const Row& row = rows[i];
            SCOPED_TRACE(row.name);
            SceneProfile& p = win.P();
            p.bridgeOutputs.fill(0);
            p.linkSel.fill(0);
            win.PlainCrossover(0);
            win.Click(L"ch_enable_0");
            row.setup(win);
            ASSERT_TRUE(SkinUITest::PumpUntil([&] { return win.C().Device().IsQueueIdle(); }, 10000));
            sim::SimUnit::Instance().ClearReceived();
            row.action(win);
            ASSERT_TRUE(SkinUITest::PumpUntil([&] { return win.C().Device().IsQueueIdle(); }, 10000));
            EXPECT_EQ(row.frames, SetFrames());
            row.check(win);
        }
    }

    static Win win;
};
Win OutputsSettings::win;

TEST_F(OutputsSettings, CrossoverEditsSendTheirFilters) { RunRows(kCrossoverRows, std::size(kCrossoverRows)); }

TEST_F(OutputsSettings, UnitWideSettingsSendTheirCommands) { RunRows(kUnitRows, std::size(kUnitRows)); }

TEST_F(OutputsSettings, OutputChoicesAssignAndSend) { RunRows(kOutputRows, std::size(kOutputRows)); }

// The output menu of a right-hand channel: used positions carry the check,
// positions that clash are disabled, sub-menus open to the left.
TEST_F(OutputsSettings, OutputMenuMarksUsedAndBlockedPositions)
{
    SceneProfile& p = win.P();
    p.outputs.fill(0);
    p.outputs[5] = 1;   // front left tweeter
    p.outputs[0] = 3;   // front left woofer
    win.window->OnClick(win.At(L"ch_output_btn_%d", 12));
    CMenuWnd* menu = win.window->MenuSlot();
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(12, win.C().menuChannel);
    auto row = [&](const wchar_t* name) {
        return static_cast<CMenuElementUI*>(menu->GetMenuRoot()->FindDescendantByName(name));
    };
    for (int code = 1; code < kOutputCodeCount; ++code) {
        const wchar_t* name = GetOutputItemName(code);
        CMenuElementUI* item = row(name);
        ASSERT_NE(nullptr, item) << code;
        EXPECT_EQ(p.IsOutputCodeUsed(code), item->GetIcon() == L"right.png") << code;
        EXPECT_EQ(p.IsOutputCodeFree(code, 12), item->GetEnabledState()) << code;
        EXPECT_EQ(44u, item->GetSubMenuAlign()) << code;
    }
    EXPECT_EQ(L"right.png", row(L"output_menu_front_left_high_freq")->GetIcon());
    EXPECT_FALSE(row(L"output_menu_front_left_all_freq")->GetEnabledState()) << "full range clashes with the woofer";
    EXPECT_EQ(44u, row(L"output_menu_rear")->GetSubMenuAlign());

    // Channel 3 lets the framework choose the side; the old menu goes first.
    win.window->OnClick(win.At(L"ch_output_btn_%d", 3));
    ASSERT_TRUE(SkinUITest::PumpUntil([&] { return win.window->MenuSlot() != nullptr && win.window->MenuSlot() != menu; }));
    menu = win.window->MenuSlot();
    EXPECT_NE(44u, row(L"output_menu_rear")->GetSubMenuAlign());
    menu->CloseMenu(0);
    EXPECT_TRUE(SkinUITest::PumpUntil([&] { return win.window->MenuSlot() == nullptr; }));
}

// Disconnected, the unit's rows of the option and scene menus are disabled
// and the file rows stay usable.
TEST_F(OutputsSettings, MenusDisableTheUnitsRowsWhileDisconnected)
{
    EqualizerManager& c = win.C();
    c.DisconnectDevice();
    ASSERT_FALSE(c.Device().IsDeviceOpen());
    struct Expect {
        const wchar_t* button;
        const wchar_t* row;
        bool enabled;
    };
    const Expect kExpect[] = {
        {L"btn_option", L"option_item_reset_default", false}, {L"btn_option", L"option_item_about", true},
        {L"btn_scene", L"scene_item_load_scene", false},      {L"btn_scene", L"scene_item_saveas_scene", false},
        {L"btn_scene", L"scene_item_delete_scene", false},    {L"btn_scene", L"scene_item_load_file", true},
        {L"btn_scene", L"scene_item_save_whole", true},
    };
    for (const Expect& e : kExpect) {
        win.Click(e.button);
        CMenuWnd* menu = win.window->MenuSlot();
        ASSERT_NE(nullptr, menu);
        CControlUI* row = menu->GetMenuRoot()->FindDescendantByName(e.row);
        ASSERT_NE(nullptr, row) << Narrow(e.row);
        EXPECT_EQ(e.enabled, row->GetEnabledState()) << Narrow(e.row);
    }
    win.window->MenuSlot()->CloseMenu(0);
    EXPECT_TRUE(SkinUITest::PumpUntil([&] { return win.window->MenuSlot() == nullptr; }));
}

// Whatever the current language, each language row names its language in
// its own script; only the current one carries the mark.
TEST_F(OutputsSettings, LanguageRowsNameTheirLanguageInItsOwnScriptAndMarkTheCurrent)
{
    const struct {
        const wchar_t* row;
        const wchar_t* language;
        const wchar_t* name;
    } kRows[] = {{L"option_item_language_en", L"en", L"English"},
                 {L"option_item_language_cn", L"cn_zh", L"\u4e2d\u6587"},
                 {L"option_item_language_ru", L"ru", L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439"}};
    for (const auto& current : kRows) {
        CResourceStore::GetInstance()->SelectLanguage(current.language);
        win.Click(L"btn_option");
        CMenuWnd* menu = win.window->MenuSlot();
        ASSERT_NE(nullptr, menu);
        for (const auto& r : kRows) {
            auto* row = static_cast<CMenuElementUI*>(menu->GetMenuRoot()->FindDescendantByName(r.row));
            ASSERT_NE(nullptr, row) << Narrow(r.row);
            EXPECT_EQ(std::wstring(r.name), row->GetTextContent().CStr()) << Narrow(current.language);
            EXPECT_EQ(r.row == current.row, row->GetIcon() == L"right.png") << Narrow(current.language) << Narrow(r.row);
        }
    }
    CResourceStore::GetInstance()->SelectLanguage(L"en");
    win.window->MenuSlot()->CloseMenu(0);
    EXPECT_TRUE(SkinUITest::PumpUntil([&] { return win.window->MenuSlot() == nullptr; }));
}

} // namespace
