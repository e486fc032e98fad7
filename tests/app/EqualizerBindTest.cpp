#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>

#include "AppSkin.h"
#include "app/controls/AppControlFactory.h"
#include "app/controls/SButtonUI.h"
#include "app/tuning/EqualizerManager.h"
#include "app/tuning/OutputCode.h"
#include "tests/uilib/kit/MessagePump.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "uilib/control/Button.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/WindowBase.h"

using namespace SkinUI;
using SkinUITest::NotifyRecorder;

namespace {

// Controls the binder sets up, each in the opposite of its starting state,
// plus a one-strip variant and a control of the wrong class.
std::wstring Layout(bool perChannelStrips)
{
    std::wstring xml =
        L"<Window size=\"900,700\"><VerticalLayout>"
        L"<SButton name=\"btnConnect\" height=\"20\"/>"
        L"<Button name=\"btn_debug\" height=\"20\"/>"
        L"<Button name=\"btn_advance\" height=\"20\" visible=\"false\"/>"
        L"<Combo name=\"btn_input_source\" width=\"120\" height=\"20\">"
        L"<ListLabelElement name=\"source_opt\" text=\"a\"/><ListLabelElement name=\"source_coax\" text=\"b\"/>"
        L"<ListLabelElement name=\"source_bt\" text=\"c\" visible=\"false\"/>"
        L"<ListLabelElement name=\"source_aux\" text=\"d\"/><ListLabelElement name=\"source_low\" text=\"e\"/>"
        L"<ListLabelElement name=\"source_hi\" text=\"f\"/><ListLabelElement name=\"source_dmp\" text=\"g\"/>"
        L"<ListLabelElement name=\"source_udp\" text=\"h\"/><ListLabelElement name=\"source_scp\" text=\"i\"/>"
        L"</Combo>"
        L"<Slider name=\"slider_main_volume\" height=\"20\" min=\"0\" max=\"100\" value=\"50\"/>"
        L"<Edit name=\"edit_main_volume\" height=\"20\"/>"
        L"<Combo name=\"hp_type\" height=\"20\"><ListLabelElement text=\"0\"/><ListLabelElement text=\"1\"/></Combo>"
        L"<Label name=\"comb_ch_unit\" height=\"20\"/>"
        L"<SButton name=\"ch_enable_0\" userdata=\"0\" height=\"20\"/>"
        L"<CheckBox name=\"ch_show_0\" height=\"20\" visible=\"false\"/>"
        L"<Button name=\"ch_output_btn_0\" height=\"20\" visible=\"false\"/>"
        L"<Slider name=\"slider_ch_delay_0\" height=\"20\"/>"
        L"<Edit name=\"edit_ch_delay_0\" height=\"20\" visible=\"false\"/>"
        L"<Container name=\"input_123_0\" height=\"20\"/>"
        L"<HorizontalLayout height=\"20\">"
        L"<CheckBox name=\"option_ch_in0_0\"/><CheckBox name=\"option_ch_in1_0\"/><CheckBox name=\"option_ch_in2_0\"/>"
        L"<CheckBox name=\"option_ch_in7_0\"/><CheckBox name=\"option_ch_in8_0\"/>"
        L"<CheckBox name=\"option_ch_in11_0\" selected=\"true\"/></HorizontalLayout>"
        L"<SButton name=\"speaker_0\" text=\"FL\" height=\"20\"/>"
        L"<SButton name=\"speaker_3\" text=\"FR\" height=\"20\"/>"
        L"<Container name=\"spk_con_0\" height=\"20\"/>"
        L"<Edit name=\"spk_delay_0\" height=\"20\"/>";
    if (perChannelStrips) {
        xml += L"<Slider name=\"slider_ch_volume_0\" height=\"20\" visible=\"false\"/>"
               L"<Slider name=\"slider_ch_volume_1\" height=\"20\"/>";
    } else {
        xml += L"<Slider name=\"slider_ch_volume\" height=\"20\"/><CheckBox name=\"ch_mute\" height=\"20\"/>";
    }
    return xml + L"</VerticalLayout></Window>";
}

class CBindHost : public WindowImplBase {
public:
    explicit CBindHost(bool perChannelStrips) : m_layout(Layout(perChannelStrips)) {}
    const wchar_t* GetWndClassName() const override { return L"BrisaBindHost"; }
    CUIString GetSkinXmlName() const override { return m_layout.c_str(); }
    CControlUI* CreateCustomControl(const wchar_t* className) override { return CreateAppControl(className); }

private:
    std::wstring m_layout;
};

// Runs the binder with the current directory set to a folder that holds
// "debug.ini" or not.
class BindFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenAppSkin());
        GetCurrentDirectoryW(MAX_PATH, m_previous);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"brisa_bind_test";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        DeleteFileW((m_folder + L"\\debug.ini").c_str());
        SetCurrentDirectoryW(m_folder.c_str());
    }
    void TearDown() override
    {
        SetCurrentDirectoryW(m_previous);
        DeleteFileW((m_folder + L"\\debug.ini").c_str());
        RemoveDirectoryW(m_folder.c_str());
    }
    void Bind(CBindHost& host, EqualizerManager& controller)
    {
        ASSERT_NE(nullptr, host.CreateNativeWindow(nullptr, L"bind", WS_POPUP, 0, 0, 0, 900, 700));
        ShowWindow(host, SW_SHOWNOACTIVATE);
        SkinUITest::PumpFor(50);
        controller.Init(&host.PaintManager(), host);
    }
    CControlUI* Named(CBindHost& host, const wchar_t* name) { return host.PaintManager().FindControlByName(name); }

    wchar_t m_previous[MAX_PATH] = {};
    std::wstring m_folder;
};

TEST_F(BindFixture, PutsTheControlsInTheirStartingState)
{
    CBindHost host(true);
    EqualizerManager controller;
    Bind(host, controller);
    const BoundControls& c = controller.Controls();

    EXPECT_EQ(static_cast<HWND>(host), controller.MainWindow());
    EXPECT_EQ(Named(host, L"btnConnect"), static_cast<CControlUI*>(c.connect));
    EXPECT_FALSE(Named(host, L"btn_debug")->GetVisibility()) << "hidden without debug.ini";
    EXPECT_TRUE(Named(host, L"btn_advance")->GetVisibility());

    ASSERT_NE(nullptr, c.mainVolumeSlider);
    EXPECT_EQ(-60, c.mainVolumeSlider->GetMinValue());
    EXPECT_EQ(6, c.mainVolumeSlider->GetMaxValue());
    EXPECT_EQ(0, c.mainVolumeSlider->GetValue());

    // A control of another class under a bound name counts as absent.
    EXPECT_EQ(nullptr, c.delayUnit);
    EXPECT_NE(nullptr, Named(host, L"comb_ch_unit"));

    const ChannelStripControls& strip = c.channels[0];
    ASSERT_NE(nullptr, strip.volumeSlider);
    EXPECT_EQ(-600, strip.volumeSlider->GetMinValue());
    EXPECT_EQ(0, strip.volumeSlider->GetMaxValue());
    const wchar_t* const shown[] = {L"ch_show_0", L"ch_output_btn_0", L"slider_ch_volume_0", L"edit_ch_delay_0"};
    for (const wchar_t* name : shown) EXPECT_TRUE(Named(host, name)->GetVisibility()) << name;
    const wchar_t* const hidden[] = {L"slider_ch_delay_0", L"input_123_0", L"speaker_3"};
    for (const wchar_t* name : hidden) EXPECT_FALSE(Named(host, name)->GetVisibility()) << name;
    // Channel 0 holds output code 1 by default: its position shows, emptied,
    // with its frame and the channel's delay, and its output button names the speaker.
    for (const wchar_t* name : {L"speaker_0", L"spk_con_0", L"spk_delay_0"})
        EXPECT_TRUE(Named(host, name)->GetVisibility()) << name;
    EXPECT_TRUE(Named(host, L"speaker_0")->GetTextContent().IsEmpty());
    EXPECT_EQ(L"0.000", std::wstring(Named(host, L"spk_delay_0")->GetTextContent().CStr()));
    EXPECT_EQ(L"0dB", std::wstring(Named(host, L"edit_main_volume")->GetTextContent().CStr()));
    EXPECT_EQ(CResourceStore::GetInstance()->LookupText(GetOutputSpeakerText(1)),
              Named(host, L"ch_output_btn_0")->GetTextContent());

    // The focus ends on the connect button.
    EXPECT_EQ(Named(host, L"btnConnect"), host.PaintManager().FocusControl());
    DestroyWindow(host);
}

TEST_F(BindFixture, ClearsTheLinkGroupsAndTakesTheMainVolumeFromTheProfile)
{
    CBindHost host(true);
    EqualizerManager controller;
    controller.Current().linkSel[3] = 2;
    controller.Current().delayLinkSel[15] = 5;
    controller.Current().mainVolume = -12;
    Bind(host, controller);
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        EXPECT_EQ(0, controller.Current().linkSel[ch]) << ch;
        EXPECT_EQ(0, controller.Current().delayLinkSel[ch]) << ch;
    }
    EXPECT_EQ(-12, controller.Controls().mainVolumeSlider->GetValue());
    EXPECT_EQ(L"-12dB", std::wstring(Named(host, L"edit_main_volume")->GetTextContent().CStr()));
    DestroyWindow(host);
}

struct RoutingCase {
    int source;
    int mask;
    // Input index, then whether it shows (and is enabled) and is selected.
    struct Box {
        int input;
        bool shown;
        bool selected;
    } boxes[6];
};

class BindRouting : public BindFixture, public ::testing::WithParamInterface<RoutingCase> {};

TEST_P(BindRouting, ShowsTheSourcesInputsAndSelectsTheRoutedOnes)
{
    const RoutingCase r = GetParam();
    CBindHost host(true);
    EqualizerManager controller;
    controller.Current().inputSource = r.source;
    if (r.source >= 0 && r.source < kInputSources) controller.Current().inputs[r.source][0] = r.mask;
    Bind(host, controller);
    for (const RoutingCase::Box& box : r.boxes) {
        wchar_t name[32];
        _snwprintf(name, 31, L"option_ch_in%d_0", box.input);
        COptionUI* option = static_cast<COptionUI*>(Named(host, name)->FindInterface(L"Option"));
        ASSERT_NE(nullptr, option) << name;
        EXPECT_EQ(box.shown, option->GetVisibility()) << "source " << r.source << " input " << box.input;
        EXPECT_EQ(box.shown, option->GetEnabledState()) << "source " << r.source << " input " << box.input;
        EXPECT_EQ(box.selected, option->IsSelected()) << "source " << r.source << " input " << box.input;
    }
    DestroyWindow(host);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, BindRouting,
    ::testing::Values(
        // Two inputs for source 0; the mask's bits beyond them still select.
        RoutingCase{0, 0x1 | 0x100, {{0, true, true}, {1, true, false}, {2, false, false}, {7, false, false},
                                     {8, false, true}, {11, false, false}}},
        RoutingCase{4, 0x82, {{0, true, false}, {1, true, true}, {2, true, false}, {7, true, true},
                              {8, false, false}, {11, false, false}}},
        RoutingCase{5, 0x800, {{0, true, false}, {1, true, false}, {2, true, false}, {7, true, false},
                               {8, true, false}, {11, true, true}}},
        RoutingCase{1, 0xFFF, {{0, false, true}, {1, false, true}, {2, false, true}, {7, false, true},
                               {8, false, true}, {11, false, true}}},
        // A source outside the table routes nothing and shows nothing.
        RoutingCase{42, 0, {{0, false, false}, {1, false, false}, {2, false, false}, {7, false, false},
                            {8, false, false}, {11, false, false}}}));

TEST_F(BindFixture, DebugButtonShowsOnlyWithTheMarkerFile)
{
    HANDLE marker = CreateFileW((m_folder + L"\\debug.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, marker);
    CloseHandle(marker);
    CBindHost host(true);
    EqualizerManager controller;
    Bind(host, controller);
    EXPECT_TRUE(Named(host, L"btn_debug")->GetVisibility());
    DestroyWindow(host);
}

TEST_F(BindFixture, InputSourceListShowsTheUnitsSourcesAndStartsOnItemFive)
{
    CBindHost host(true);
    EqualizerManager controller;
    Bind(host, controller);
    CComboUI* list = controller.Controls().inputSource;
    ASSERT_NE(nullptr, list);
    struct Row {
        const wchar_t* name;
        bool visible;
    };
    const Row rows[] = {{L"source_opt", true},  {L"source_coax", false}, {L"source_bt", true},
                        {L"source_aux", false}, {L"source_low", true},   {L"source_hi", true},
                        {L"source_dmp", true},  {L"source_udp", false},  {L"source_scp", false}};
    for (const Row& row : rows) {
        CControlUI* item = list->FindDescendantByName(row.name);
        ASSERT_NE(nullptr, item) << row.name;
        EXPECT_EQ(row.visible, item->GetVisibility()) << row.name;
        EXPECT_EQ(16, item->GetScaledFixedHeight()) << row.name;
    }
    // Room for every row, hidden ones included, at 16 pixels each.
    EXPECT_EQ(9 * 16, list->GetDropBoxSize().cy);
    EXPECT_EQ(list->GetFixedSizeValue().cx, list->GetDropBoxSize().cx);
    EXPECT_EQ(5, list->GetSelectedIndex());
    DestroyWindow(host);
}

TEST_F(BindFixture, StartupSelectsTheSourceAndChannelOneThroughTheWindowsNotifications)
{
    CBindHost host(true);
    ASSERT_NE(nullptr, host.CreateNativeWindow(nullptr, L"bind", WS_POPUP, 0, 0, 0, 900, 700));
    NotifyRecorder recorder(host.PaintManager());
    EqualizerManager controller;
    controller.Init(&host.PaintManager(), host);
    SkinUITest::PumpFor(50);
    EXPECT_EQ(1, recorder.Count(L"itemselect"));
    ASSERT_EQ(1, recorder.Count(L"click"));
    for (const NotifyRecorder::Entry& entry : recorder.Entries()) {
        if (entry.type == L"click") {
            EXPECT_EQ(Named(host, L"ch_enable_0"), entry.sender);
        }
    }
    DestroyWindow(host);
}

struct AccessorCase {
    bool perChannelStrips;
    int channel;
    const wchar_t* slider; // the control GetVolumeSlider answers, null for none
    const wchar_t* mute;
};

class BindAccessors : public BindFixture, public ::testing::WithParamInterface<AccessorCase> {};

TEST_P(BindAccessors, AnswerTheChannelsOwnOrTheOneStripsForTheCurrentChannel)
{
    const AccessorCase a = GetParam();
    CBindHost host(a.perChannelStrips);
    EqualizerManager controller;
    Bind(host, controller);
    CControlUI* slider = a.slider != nullptr ? Named(host, a.slider) : nullptr;
    CControlUI* mute = a.mute != nullptr ? Named(host, a.mute) : nullptr;
    EXPECT_EQ(slider, static_cast<CControlUI*>(controller.GetVolumeSlider(a.channel)));
    EXPECT_EQ(mute, static_cast<CControlUI*>(controller.GetMuteButton(a.channel)));
    if (a.perChannelStrips) {
        EXPECT_EQ(Named(host, L"slider_ch_volume_0"), static_cast<CControlUI*>(controller.GetFirstVolumeSlider()));
    } else {
        EXPECT_EQ(Named(host, L"slider_ch_volume"), static_cast<CControlUI*>(controller.GetFirstVolumeSlider()));
    }
    DestroyWindow(host);
}

INSTANTIATE_TEST_SUITE_P(Layouts, BindAccessors,
                         ::testing::Values(AccessorCase{true, 0, L"slider_ch_volume_0", nullptr},
                                           AccessorCase{true, 1, L"slider_ch_volume_1", nullptr},
                                           AccessorCase{true, 2, nullptr, nullptr},
                                           AccessorCase{false, 0, L"slider_ch_volume", L"ch_mute"},
                                           AccessorCase{false, 1, nullptr, nullptr},
                                           AccessorCase{true, 16, nullptr, nullptr},
                                           AccessorCase{true, -1, nullptr, nullptr}));

TEST(DbText, TruncatesTowardZero)
{
    const struct {
        float value;
        const wchar_t* text;
    } cases[] = {{-3.7f, L"-3dB"}, {5.9f, L"5dB"}, {-0.4f, L"0dB"}, {-60.0f, L"-60dB"}, {0.0f, L"0dB"}};
    for (const auto& c : cases) EXPECT_STREQ(c.text, FormatDbText(c.value)) << c.value;
}

TEST(SliderClamp, WritesTheClampedValueBackAndTellsWhetherTheSliderMustMove)
{
    CSliderUI slider;
    slider.SetMinValue(-600);
    slider.SetMaxValue(0);
    slider.SetValue(0);
    const struct {
        float in;
        float out;
        bool moves;
    } cases[] = {{10.0f, 0.0f, false}, {-700.0f, -600.0f, true}, {-300.0f, -300.0f, true}, {0.0f, 0.0f, false},
                 {-600.0f, -600.0f, true}};
    for (const auto& c : cases) {
        float value = c.in;
        EXPECT_EQ(c.moves, ClampToSlider(&slider, value)) << c.in;
        EXPECT_EQ(c.out, value) << c.in;
    }
    float untouched = 5.0f;
    EXPECT_FALSE(ClampToSlider(nullptr, untouched));
    EXPECT_EQ(5.0f, untouched);
}

} // namespace
