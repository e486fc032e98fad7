// The mixer and the service windows of the program against its simulated
// unit, driven with real X input; the unit's received frames are the oracle.
// The advance menu's rows are chosen through the probe, which posts the
// record a menu row posts when it is clicked.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"
#include "tests/support/FrameSignature.h"

namespace e2e {
namespace {

const int kReadBoundMs = 30000;
const char kMain[] = "Brisa DSP Audio";
const char kMixer[] = "MixerWnd";

std::string Hex(const std::vector<int>& bytes)
{
    std::string text;
    char byte[4];
    for (int b : bytes) {
        std::snprintf(byte, sizeof(byte), "%02x", b & 0xFF);
        text += byte;
    }
    return text;
}

std::string Set(int subcommand, const std::vector<int>& payload)
{
    char head[16];
    std::snprintf(head, sizeof(head), "01 %02x bb ", subcommand);
    return head + Hex(payload);
}

std::string Cell(const char* part, int output, int row)
{
    return std::string(part) + std::to_string(output) + "_" + std::to_string(row);
}

// The frames of one subcommand since mark, as text.
std::vector<std::string> FramesOf(App& app, size_t mark, int subcommand)
{
    std::vector<std::string> found;
    for (const UnitFrame& f : app.FramesSince(mark))
        if (f.subcommand == subcommand) found.push_back(f.Text());
    return found;
}

class DialogsE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!MissingWindowsBuild().empty()) return;
        LaunchOptions options;
        options.markerFiles = {"debug.ini"};
        app.reset(new App(options));
    }
    static void TearDownTestSuite() { app.reset(); }

    void SetUp() override
    {
        E2E_SKIP_WITHOUT_WINDOWS_BUILD();
        ASSERT_TRUE(app && app->Started()) << (app ? app->Error() : "");
        ASSERT_TRUE(WaitFor([] { return LinkShows(*app, "btn_connected"); }, kReadBoundMs));
    }

    // The unit reports source next; the program reads it again through the
    // connect button (off, then on).
    static void SwitchSource(int source)
    {
        ASSERT_EQ("OK", app->Request("SOURCE " + std::to_string(source)));
        ASSERT_TRUE(Reconnect(*app, kReadBoundMs));
    }

    static void OpenFromAdvanceMenu(const std::string& row, const std::string& window)
    {
        ASSERT_EQ("OK", app->Request("MENU " + row));
        ASSERT_TRUE(WaitFor([&] { return app->Window(window).visible; })) << window;
    }

    static void Close(const std::string& window)
    {
        ASSERT_TRUE(app->Click("closebtn", window));
        ASSERT_TRUE(WaitFor([&] { return !app->Window(window).found; })) << window;
    }

    // Selects the edit's text with the keyboard and types over it, then Enter
    // (or no key for null).
    static void TypeInto(const std::string& edit, const std::string& window, const std::string& text,
                         const char* key = "Return")
    {
        // A window just built may show its cells a moment after itself.
        ASSERT_TRUE(WaitFor([&] { return app->Control(edit, window).visible; })) << edit << " in " << window;
        ASSERT_TRUE(app->Click(edit, window));
        ASSERT_TRUE(app->Key("End"));
        ASSERT_TRUE(app->Key("shift+Home"));
        ASSERT_TRUE(app->Type(text));
        if (key != nullptr) {
            ASSERT_TRUE(app->Key(key));
        }
    }

    // Waits for count frames of subcommand since mark, then for none more.
    static std::vector<std::string> Exactly(size_t mark, int subcommand, size_t count)
    {
        std::vector<std::string> frames;
        WaitFor([&] { return (frames = FramesOf(*app, mark, subcommand)).size() >= count; });
        NeverWithin([&] { return FramesOf(*app, mark, subcommand).size() > count; }, 700);
        return FramesOf(*app, mark, subcommand);
    }

    static std::unique_ptr<App> app;
};

std::unique_ptr<App> DialogsE2E::app;

// One cell change in the mixer of each kind of source and its one command:
// scene 0, source, the row's routing bit, the output twice, the volume.
struct MixerCase {
    int source;
    int output, row;
    const char* typed;  // null: the cell's on/off box is clicked
    std::vector<int> payload;
};

TEST_F(DialogsE2E, MixerCellOfEachSourceKindSendsOneTrim)
{
    const MixerCase cases[] = {
        {0, 4, 1, nullptr, {0, 0, 1, 4, 4, 100}},    // two inputs
        {4, 10, 7, "37", {0, 4, 7, 10, 10, 37}},     // low level, eight inputs
        {5, 15, 9, "250", {0, 5, 9, 15, 15, 100}},   // high level, ten rows; above the slider's range
        {3, 0, 12, nullptr, {0, 3, 0, 0, 0, 100}},   // no own inputs: the first cross-source row
    };
    for (const MixerCase& c : cases) {
        SCOPED_TRACE("source " + std::to_string(c.source));
        SwitchSource(c.source);
        OpenFromAdvanceMenu("advance_item_mixer", kMixer);
        const size_t mark = app->Mark();
        if (c.typed == nullptr)
            ASSERT_TRUE(app->Click(Cell("box_enable_", c.output, c.row), kMixer) && WaitFor([&] { return !FramesOf(*app, mark, 0x24).empty(); }));
        else
            TypeInto(Cell("box_edit_", c.output, c.row), kMixer, c.typed);
        EXPECT_EQ(std::vector<std::string>{Set(0x24, c.payload)}, Exactly(mark, 0x24, 1));
        EXPECT_EQ(std::to_string(c.payload.back()), app->Control(Cell("box_edit_", c.output, c.row), kMixer).text);
        EXPECT_TRUE(app->Control(Cell("box_enable_", c.output, c.row), kMixer).selected);
        Close(kMixer);
    }
}

std::vector<std::string> Signature(const std::vector<UnitFrame>& frames)
{
    sim::FrameSignature signature;
    for (const UnitFrame& f : frames) signature.Add(f.subcommand, f.payload);
    return signature.Tokens();
}

// Waits until the frames since mark read as expected, and returns them.
std::vector<std::string> SignatureSince(App& app, size_t mark, const std::vector<std::string>& expected)
{
    std::vector<std::string> sent;
    WaitFor([&] { return (sent = Signature(app.FramesSince(mark))) == expected; });
    return sent;
}

TEST_F(DialogsE2E, MixerBridgeCopiesTheChannelThenEachChangeGoesToTheTwin)
{
    SwitchSource(2);
    OpenFromAdvanceMenu("advance_item_mixer", kMixer);
    char type[8];
    std::snprintf(type, sizeof(type), "%02X", static_cast<int>(app->Params()["out2.type"]));
    size_t mark = app->Mark();
    ASSERT_TRUE(app->Click("ch_bridge_1", kMixer) && WaitFor([&] { return !FramesOf(*app, mark, 0x4C).empty(); }));
    // The outputs page's bridge: channel 4 becomes a copy of channel 3.
    const std::vector<std::string> bridged = {
        "4C:00 00 08 00 01 00 00 00 00 00 00", "06@3*31", "05@3*2", "12@3", "08@3", "07@3", "24@3*108", "09@3",
        std::string("0D:00 00 03 03 ") + type, "05@3*2", "08@3", "05@3*2", "0A@3",
        "34:00 00 00 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", "09@3*2"};
    EXPECT_EQ(bridged, SignatureSince(*app, mark, bridged));
    std::map<std::string, long> unit = app->Params();
    for (const char* key : {".type", ".gain", ".delay", ".eq5.gain"})
        EXPECT_EQ(unit[std::string("out2") + key], unit[std::string("out3") + key]) << key;
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(app->Control(Cell("box_edit_", 2, row), kMixer).text, app->Control(Cell("box_edit_", 3, row), kMixer).text);

    mark = app->Mark();
    ASSERT_TRUE(app->Click("box_enable_2_0", kMixer));
    const std::vector<std::string> expected = {Set(0x24, {0, 2, 0, 2, 2, 100}), Set(0x24, {0, 2, 0, 3, 3, 100})};
    EXPECT_EQ(expected, Exactly(mark, 0x24, 2));
    EXPECT_TRUE(app->Control("box_enable_3_0", kMixer).selected);
    EXPECT_EQ("100", app->Control("box_edit_3_0", kMixer).text);
    // Separated again, both channels are emptied and shown so; a change
    // then stays in its own column.
    mark = app->Mark();
    ASSERT_TRUE(app->Click("ch_bridge_1", kMixer));
    EXPECT_EQ(216u, Exactly(mark, 0x24, 216).size());
    EXPECT_EQ("0", app->Control("box_edit_2_0", kMixer).text);
    EXPECT_FALSE(app->Control("box_enable_3_0", kMixer).selected);
    mark = app->Mark();
    ASSERT_TRUE(app->Click("box_enable_2_1", kMixer));
    EXPECT_EQ(std::vector<std::string>{Set(0x24, {0, 2, 1, 2, 2, 100})}, Exactly(mark, 0x24, 1));
    Close(kMixer);
}

// Compressor_Ctrl2 payload: scene, source, channel twice, threshold (2),
// attack in ms (2, big-endian), release (2).
int AttackOf(const std::string& frame)
{
    return std::stoi(frame.substr(9 + 2 * 6, 4), nullptr, 16);
}

TEST_F(DialogsE2E, CompressorGridSnapsClampsAndSendsOneChannel)
{
    OpenFromAdvanceMenu("advance_item_compressors_on", "CompressorsOnWnd");
    const int before = app->Control("slider_attack_time_3", "CompressorsOnWnd").value;
    size_t mark = app->Mark();
    ASSERT_TRUE(app->Click("edit_attack_time_3", "CompressorsOnWnd"));
    ASSERT_TRUE(app->Key("Up"));
    std::vector<std::string> sent = Exactly(mark, 0x4A, 1);
    ASSERT_EQ(1u, sent.size());
    const int snapped = (before + 10) - (before + 10) % 10;
    EXPECT_EQ("0303", sent[0].substr(13, 4));
    EXPECT_EQ(snapped, AttackOf(sent[0]));

    mark = app->Mark();
    TypeInto("edit_attack_time_5", "CompressorsOnWnd", "5000");
    sent = Exactly(mark, 0x4A, 1);
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ("0505", sent[0].substr(13, 4));
    EXPECT_EQ(2000, AttackOf(sent[0]));
    EXPECT_EQ("2000ms", app->Control("edit_attack_time_5", "CompressorsOnWnd").text);
    // Typed but not confirmed: closing with the X sends nothing.
    mark = app->Mark();
    TypeInto("edit_threshold_5", "CompressorsOnWnd", "-50", nullptr);
    Close("CompressorsOnWnd");
    EXPECT_EQ(0u, Exactly(mark, 0x4A, 0).size());
}

TEST_F(DialogsE2E, NoiseWindowAsksTwiceASecondWhileOpenAndNeverAfter)
{
    SwitchSource(4);
    const size_t mark = app->Mark();
    OpenFromAdvanceMenu("advance_item_noise_threshold", "msgwnd");
    using Clock = std::chrono::steady_clock;
    std::vector<long> polls;  // when the unit took each
    ASSERT_TRUE(WaitFor([&] {
        polls.clear();
        for (const UnitFrame& f : app->FramesSince(mark))
            if (f.subcommand == 0x27) polls.push_back(f.atMs);
        return polls.size() >= 5;
    }));
    // Four periods of 500 ms.
    const long fourPeriods = polls[4] - polls[0];
    EXPECT_GE(fourPeriods, 1900);
    EXPECT_LE(fourPeriods, 4000);
    for (const std::string& poll : FramesOf(*app, mark, 0x27)) EXPECT_EQ("00", poll.substr(9, 2)) << poll;
    Close("msgwnd");

    // Closed: a mute click reaches the unit a period and a half later with
    // no poll before it.
    const size_t closed = app->Mark();
    const Clock::time_point closedAt = Clock::now();
    ASSERT_TRUE(WaitFor([&] { return Clock::now() - closedAt >= std::chrono::milliseconds(750); }));
    ASSERT_TRUE(app->Click("ch_mute_0", kMain));
    ASSERT_TRUE(WaitFor([&] { return !FramesOf(*app, closed, 0x09).empty(); }));
    EXPECT_TRUE(FramesOf(*app, closed, 0x27).empty());
    ASSERT_TRUE(app->Click("ch_mute_0", kMain));

    // A source without inputs asks nothing while the window is open.
    SwitchSource(1);
    const size_t none = app->Mark();
    OpenFromAdvanceMenu("advance_item_noise_threshold", "msgwnd");
    const Clock::time_point openedAt = Clock::now();
    ASSERT_TRUE(WaitFor([&] { return Clock::now() - openedAt >= std::chrono::milliseconds(1600); }));
    Close("msgwnd");
    EXPECT_TRUE(FramesOf(*app, none, 0x27).empty());
}

// Each box the program asks with is answered by one click on any of its
// buttons or its close square: a box that lost the first click stands on.
struct BoxCase {
    const char* what;
    std::function<bool()> open;  // true once the box shows
    const char* window;
    const char* button;
};

TEST_F(DialogsE2E, EveryBoxTakesTheFirstClickOnEachButtonThatLeavesIt)
{
    auto fromOutputs = [](const char* button, const char* window) {
        return [=] {
            return app->Click("tab_outputs", kMain) && WaitFor([] { return app->Control("btn_lock_output", kMain).visible; }) &&
                   app->Click(button, kMain) && WaitFor([=] { return app->Control("MessageText", window).visible; });
        };
    };
    auto nameBox = [] {
        return ChooseScene(*app, "scene_item_saveas_scene", 1, [] { return app->Control("name_edt", "namemsgwnd").visible; });
    };
    auto about = [] {
        return app->Request("MENU option_item_about") == "OK" && WaitFor([] { return app->Window("msgwnd").visible; });
    };
    const BoxCase cases[] = {
        {"about", about, "msgwnd", "closebtn"},
        {"lock the outputs?", fromOutputs("btn_lock_output", "msgwnd"), "msgwnd", "cancel_btn"},
        {"lock the outputs?", fromOutputs("btn_lock_output", "msgwnd"), "msgwnd", "closebtn"},
        {"reset the outputs?", fromOutputs("btn_reset_output", "msgwnd"), "msgwnd", "closebtn"},
        {"link the outputs?", fromOutputs("btn_link_output", "msgcbwnd"), "msgcbwnd", "cancel_btn"},
        {"link the outputs?", fromOutputs("btn_link_output", "msgcbwnd"), "msgcbwnd", "closebtn"},
        {"the scene's name", nameBox, "namemsgwnd", "cancel_btn"},
        {"the scene's name", nameBox, "namemsgwnd", "closebtn"},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + c.button);
        ASSERT_TRUE(c.open());
        ASSERT_TRUE(app->Click(c.button, c.window));
        ASSERT_TRUE(WaitFor([&] { return !app->Window(c.window).found; })) << "one click left it open";
        if (app->Window("scenewnd").found) {
            ASSERT_TRUE(app->Click("cancel_btn", "scenewnd") && WaitFor([] { return !app->Window("scenewnd").found; }));
        }
    }
    EXPECT_TRUE(app->Control("ch_output_btn_0", kMain).enabled) << "no answer locked the outputs";
}

TEST_F(DialogsE2E, MemoryWordWrittenIsReadBackFromTheUnit)
{
    // Opened after a switch to each language and pictured; used in the last.
    for (const std::string language : {"cn", "ru", "en"}) {
        SCOPED_TRACE(language);
        ASSERT_EQ("OK", app->Request("MENU option_item_language_" + language));
        ASSERT_TRUE(WaitFor([&] { return LinkShows(*app, "btn_connected", language); }));
        ASSERT_TRUE(app->Click("btn_debug", kMain) && WaitFor([] { return app->Window("memwrwnd").visible; }));
        EXPECT_EQ("", PictureWindow(*app, "memwrwnd", ScreenshotFolder() + "/dialog_memory_" + language + "_96.png"));
        EXPECT_EQ("", ForeignScriptText(*app, "memwrwnd", language));
        if (language != "en") Close("memwrwnd");
    }
    const size_t mark = app->Mark();
    TypeInto("addr_edit", "memwrwnd", "0x1234");
    TypeInto("data_edit", "memwrwnd", "0xcafe0042");
    ASSERT_TRUE(app->Click("write_btn", "memwrwnd"));
    EXPECT_EQ(std::vector<std::string>{Set(0x42, {0x34, 0x12, 0, 0, 0x42, 0x00, 0xfe, 0xca})}, Exactly(mark, 0x42, 1));
    TypeInto("data_edit", "memwrwnd", "0");
    ASSERT_TRUE(WaitFor([] { return app->Control("data_edit", "memwrwnd").text == "0"; }));
    ASSERT_TRUE(app->Click("read_btn", "memwrwnd"));
    EXPECT_TRUE(WaitFor([] { return app->Control("data_edit", "memwrwnd").text == "0xcafe0042"; }))
        << app->Control("data_edit", "memwrwnd").text;
    Close("memwrwnd");
}

} // namespace
} // namespace e2e
