// The main window as a process: its place and title, the single instance,
// the language setting, the log header and its painting in every language.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {
namespace {

const char kTitle[] = "Brisa DSP Audio";

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// The first lines of the log, whose entries are UTF-16LE (ASCII here).
std::vector<std::string> WideLogLines(const std::string& path, size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines(1);
    char unit[2];
    while (lines.size() <= count && in.read(unit, 2)) {
        if (unit[0] == '\n' && unit[1] == 0) lines.emplace_back();
        else if (unit[1] == 0 && unit[0] != '\r') lines.back() += unit[0];
    }
    lines.pop_back();
    return lines;
}

// Sized and placed as asked, the skin's texts drawn.
void CheckMainWindowPainting(App& app, const std::string& png) {
    EXPECT_EQ("", PictureWindow(app, kTitle, png));
}

// The window reads the simulated unit at start behind its loading window;
// the checks look at the window once that is done.
bool StartUpReadDone(App& app, const std::string& language) {
    return LinkShows(app, "btn_connected", language);
}

class MainWindowProcess : public ::testing::Test {
protected:
    void SetUp() override { E2E_SKIP_WITHOUT_WINDOWS_BUILD(); }
};

TEST_F(MainWindowProcess, OpensCentredAndRefusesASecondInstanceInItsLanguage) {
    App first(LaunchOptions{});
    ASSERT_TRUE(first.Started()) << first.Error();
    ASSERT_TRUE(WaitFor([&] { return first.Window(kTitle).visible; }));
    const WindowState main = first.Window(kTitle);
    EXPECT_EQ(main.className, "MainWnd");
    EXPECT_EQ(main.rect.Width(), 1230);
    EXPECT_EQ(main.rect.Height(), 650);
    EXPECT_EQ(main.rect.left, (1600 - 1230) / 2);
    EXPECT_EQ(main.rect.top, (900 - 650) / 2);
    // No marker, no log.
    EXPECT_FALSE(FileExists(first.WorkDir() + "/save.log"));

    const struct {
        int lan;
        const char* language;
        bool closeFirst;  // while the notice waits: a new start then runs
    } cases[] = {{0, "en", false}, {1, "cn", false}, {2, "ru", false}, {0, "en", true}};
    // The first copy's loading window, shown late on a loaded machine, would
    // cover the second copy's notice and take its clicks.
    ASSERT_TRUE(WaitFor([&] { return StartUpReadDone(first, "en"); }, 30000));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        LaunchOptions options;
        options.lan = c.lan;
        App second(options);
        ASSERT_TRUE(second.Started()) << second.Error();
        const std::string expected = SkinText(c.language, "mutex_tips");
        ASSERT_FALSE(expected.empty());
        ASSERT_TRUE(WaitFor([&] { return second.Control("MessageText", "msgwnd").text == expected; }))
            << second.Control("MessageText", "msgwnd").text;
        if (c.closeFirst) {
            ASSERT_TRUE(first.Click("closebtn", kTitle) && WaitFor([&] { return !first.Running(); }));
            App third(LaunchOptions{});
            EXPECT_TRUE(third.Started() && WaitFor([&] { return StartUpReadDone(third, "en"); }, 30000)) << third.Error();
        }
        ASSERT_TRUE(second.Click("confirm_btn", "msgwnd") && WaitFor([&] { return !second.Running() || !second.Window("msgwnd").visible; }));
        int code = -1;
        ASSERT_TRUE(second.WaitExit(20000, &code));
        EXPECT_EQ(code, 0);
        if (c.closeFirst) continue;
        EXPECT_TRUE(first.Running());
        EXPECT_EQ(first.Request("PING"), "OK pong");
        EXPECT_TRUE(first.Window(kTitle).visible);
    }
}

TEST_F(MainWindowProcess, SaveLogHoldsTheFourHeaderLines) {
    LaunchOptions options;
    options.saveLog = true;
    App app(options);
    ASSERT_TRUE(app.Started()) << app.Error();
    // Every line of the read also goes to the console, which under Wine
    // makes the logged read several times slower on a loaded machine.
    ASSERT_TRUE(WaitFor([&] { return app.Window(kTitle).visible && StartUpReadDone(app, "en"); }, 90000));
    // A console that takes nothing more, hung or slow, holds no exit.
    ASSERT_TRUE(app.HoldConsole(true));
    ASSERT_TRUE(app.Click("closebtn", kTitle) && WaitFor([&] { return !app.Running() || !app.Window(kTitle).visible; }));
    int code = -1;
    const bool ended = app.WaitExit(20000, &code);
    app.HoldConsole(false);
    ASSERT_TRUE(ended);
    EXPECT_EQ(code, 0);
    const std::vector<std::string> lines = WideLogLines(app.WorkDir() + "/save.log", 4);
    const char* const expected[] = {"MODEL_NAME: BrisaDSP", "MODEL_ID: 95", "VERSION: v6.8.7", "INNER_FW: 1, 25"};
    ASSERT_EQ(lines.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        // "[hh:mm:ss.mmm] " before each entry.
        ASSERT_GE(lines[i].size(), 15u) << lines[i];
        EXPECT_EQ(lines[i][0], '[');
        EXPECT_EQ(lines[i].substr(13, 2), "] ");
        EXPECT_EQ(lines[i].substr(15), expected[i]);
    }
}

// A message box the program opened: pictured, then answered with button.
void PictureAndAnswer(App& app, const std::string& png, const std::string& button) {
    ASSERT_TRUE(WaitFor([&] { return app.Control(button, "msgwnd").visible; })) << png;
    EXPECT_TRUE(WaitFor([&] { return app.Screenshot("msgwnd", png) && CheckPainting(png).painted; })) << png;
    ASSERT_TRUE(app.Click(button, "msgwnd") && WaitFor([&] { return !app.Window("msgwnd").found; })) << png;
}

// The pages under the tab row: the tab, a control on its page and the
// picture's suffix.
const struct {
    const char* tab;
    const char* member;
    const char* suffix;
} kPages[] = {{"tab_eq_bands", "eq_slider_30", ""},
              {"tab_routing", "option_ch_in0_0", "_routing"},
              {"tab_outputs", "btn_lock_output", "_outputs"}};

// The dialogs the menus open: the row, the dialog's title, the control that
// closes it, the picture's name, and a control whose text ends in the word of
// a language key: the compressors' times in the main window's word for ms,
// the mixer's first row as its cross-source lists name it (no key given).
const struct {
    const char* row;
    const char* window;
    const char* close;
    const char* stem;
    const char* worded = nullptr;
    const char* key = nullptr;
} kDialogs[] = {{"advance_item_mixer", "MixerWnd", "closebtn", "dialog_mixer", "title_label_0"},
                {"advance_item_compressors_on", "CompressorsOnWnd", "closebtn", "dialog_compressors",
                 "edit_release_time_0", "unit_ms"},
                {"advance_item_noise_threshold", "msgwnd", "closebtn", "dialog_noise"},
                {"scene_item_load_scene", "scenewnd", "cancel_btn", "dialog_scene"},
                {"option_item_about", "msgwnd", "confirm_btn", "dialog_about"},
                {"option_item_firmware_upgrade", "updatefwwnd", "closebtn", "dialog_update"}};

// Tuned states: a step brings a control to a value (selected, a list row, a
// number typed, a row of the menu the control opens; none: a click that
// asks), answers a question with OK, and may picture the window then.
struct TuningStep {
    const char* control;
    const char* value;
    const char* picture = nullptr;
};
const std::vector<TuningStep> kTuning = {
    {"tab_eq_bands", "1"},       {"btn_arg_eq", "1"},
    {"ch_mute_2", "1"},          {"ch_solo_3", "1"},
    {"ch_phase_4", "1"},         {"ch_show_1", "1"},
    {"ch_show_5", "1"},          {"ch_synchronize_0", "1"},
    {"ch_synchronize_1", "1"},   {"edit_ch_delay_2", "2.35"},
    {"delay_link_2", "delay_link_group_1"}, {"delay_link_3", "delay_link_group_1"},
    {"ch_enable_0", "1"},        {"eq_gain_23", "6"},
    {"eq_gain_27", "-9", "_tuned"}, {"btn_bypass", "", "_bypass"},
    {"btn_bypass", ""},          {"tab_routing", "1", "_tuned_routing"}};
// Then, once every language is pictured tuned: parting a bridged pair
// empties both channels' outputs and routing, so the pair stays bridged.
const std::vector<TuningStep> kBridged = {{"tab_outputs", "1"},
                                          {"ch_bridge_2", "1"},
                                          {"comb_ch_unit", "1", "_cm"},
                                          {"comb_ch_unit", "2", "_inch"},
                                          {"comb_ch_unit", "0"}};

bool Reach(App& app, const std::string& name, const std::string& value) {
    const ControlState control = app.Control(name, kTitle);
    auto asks = [&] { return app.Window("msgwnd").found; };
    auto there = [&] {
        const ControlState now = app.Control(name, kTitle);
        return value.empty() ? asks() : now.hasIndex ? now.index == std::stoi(value) : now.selected == (value == "1");
    };
    if (std::isalpha(static_cast<unsigned char>(value[0]))) {
        // The row is clicked once its menu stands still at its control.
        Rect last;
        auto placed = [&] {
            const ControlState row = app.Control(value);
            const bool still = row.visible && row.rect.left == last.left && row.rect.top == last.top;
            last = row.rect;
            return still;
        };
        return app.Click(name, kTitle) && WaitFor([&] { return app.Control(value).visible; }) && WaitFor(placed) &&
               app.Click(value, "") && WaitFor([&] { return !app.Control(value).visible; });
    }
    if (control.type == "EditUI")
        return app.Click(name, kTitle) && app.Key("End") && app.Key("shift+Home") &&
               app.Type(value, name, kTitle) && app.Key("Return");
    if (control.hasIndex) return there() || (app.Wheel(name, control.index - std::stoi(value), kTitle) && WaitFor(there));
    return (there() || (app.Click(name, kTitle) && WaitFor([&] { return there() || asks(); }))) &&
           (!asks() || (app.Click("confirm_btn", "msgwnd") && WaitFor([&] { return !asks(); })));
}

// Each dialog opened from the program in the language just switched to:
// pictured once laid out (its closing control inside it and still), every
// text in that language; closed again.
void PictureDialogs(App& app, const std::string& language, const std::string& tail,
                    const std::string& firstRow = "opt_l") {
    for (const auto& dialog : kDialogs) {
        SCOPED_TRACE(dialog.stem);
        ASSERT_EQ("OK", app.Request(std::string("MENU ") + dialog.row));
        Rect last;
        ASSERT_TRUE(WaitFor([&] {
            const WindowState window = app.Window(dialog.window);
            const Rect close = app.Control(dialog.close, dialog.window).rect;
            const bool settled = window.visible && !app.Window("loadingwnd").found && close.Width() > 0 &&
                                 close.left == last.left && close.top == last.top && close.right <= window.rect.right &&
                                 close.bottom <= window.rect.bottom;
            last = close;
            return settled;
        }));
        EXPECT_EQ("", PictureWindow(app, dialog.window, ScreenshotFolder() + "/" + dialog.stem + tail + ".png"));
        EXPECT_EQ("", ForeignScriptText(app, dialog.window, language));
        const std::string text = dialog.worded ? app.Control(dialog.worded, dialog.window).text : "";
        const std::string word = dialog.worded ? SkinText(language, dialog.key ? dialog.key : "csm_" + firstRow) : "";
        EXPECT_TRUE(text.size() >= word.size() && !text.compare(text.size() - word.size(), word.size(), word)) << text;
        ASSERT_TRUE(app.Click(dialog.close, dialog.window) && WaitFor([&] { return !app.Window(dialog.window).found; }));
        ASSERT_TRUE(WaitFor([&] { return StartUpReadDone(app, language); }));
    }
}

// Left and right edges in the window of repeated elements: the band
// buttons, the routing grid's last box, the channel table's last columns,
// the title bar's buttons and the bridge buttons; then the delay-group menu's
// rows, their top and bottom under its first row's top.
std::vector<int> RepeatedEdges(App& app, std::vector<std::string>* names) {
    std::vector<std::string> repeated = {"option_ch_in0_15", "delay_link_15", "edit_ch_delay_15", "btn_advance",
                                         "ch_bridge_7"};
    for (int b = 0; b < 31; ++b) repeated.push_back("pt_enable_" + std::to_string(b));
    std::vector<std::string>& edges = *names;
    edges = repeated;
    for (int g = 0; g < 7; ++g) edges.push_back("delay_link_group_" + std::to_string(g));
    std::vector<int> strip;
    const Rect window = app.Window(kTitle).rect;
    for (const std::string& name : repeated) {
        const Rect rect = app.Control(name, kTitle).rect;
        strip.insert(strip.end(), {rect.left - window.left, rect.right - window.left});
    }
    std::vector<int> menu, read;
    EXPECT_TRUE(app.Click("delay_link_3", kTitle) && WaitFor([&] { return app.Control(edges.back()).visible; }));
    EXPECT_TRUE(WaitFor([&] {
        menu = read;
        read.clear();
        const int top = app.Control(edges[repeated.size()]).rect.top;
        for (size_t e = repeated.size(); e < edges.size(); ++e) {
            const Rect rect = app.Control(edges[e]).rect;
            read.insert(read.end(), {rect.top - top, rect.bottom - top});
        }
        return read == menu;
    }));
    strip.insert(strip.end(), menu.begin(), menu.end());
    EXPECT_TRUE(app.Key("Escape") && WaitFor([&] { return !app.Control(edges.back()).visible; }));
    return strip;
}

// Everything repeated scales as a whole: each edge where the 96 DPI one
// stands times the scale, within a pixel.
TEST_F(MainWindowProcess, RepeatedElementsScaleAsAWholeAt120And144Dpi) {
    const int dpis[] = {96, 120, 144};
    std::vector<std::string> edges;
    std::vector<std::vector<int>> strips;
    for (const int dpi : dpis) {
        LaunchOptions options;
        options.dpi = dpi;
        App app(options);
        ASSERT_TRUE(app.Started()) << app.Error();
        ASSERT_TRUE(WaitFor([&] { return app.Window(kTitle).visible && StartUpReadDone(app, "en"); }, 30000));
        ASSERT_TRUE(app.Click("tab_outputs", kTitle) && WaitFor([&] { return app.Control("btn_lock_output", kTitle).visible; }));
        strips.push_back(RepeatedEdges(app, &edges));
        if (HasFailure()) return;
        ASSERT_TRUE(app.Kill());
    }
    for (size_t d = 1; d < strips.size(); ++d) {
        ASSERT_EQ(strips[0].size(), strips[d].size());
        for (size_t e = 0; e < strips[d].size(); ++e) {
            EXPECT_NEAR(strips[0][e] * dpis[d] / 96.0, strips[d][e], 1.0) << dpis[d] << " dpi, " << edges[e / 2];
        }
    }
}

const struct {
    int lan;
    const char* language;
} kLanguages[] = {{0, "en"}, {1, "cn"}, {2, "ru"}};

// The real program at each DPI the screen gives it, one start per language
// (switched through the option menu): every page connected, every dialog,
// the outputs locked, the window disconnected after an unplug, and the
// message boxes of one, two and three buttons as the program opens them.
class MainWindowAtDpi : public ::testing::TestWithParam<std::tuple<int, size_t>> {
protected:
    void SetUp() override { E2E_SKIP_WITHOUT_WINDOWS_BUILD(); }
};

TEST_P(MainWindowAtDpi, PaintsEveryPageStateDialogAndMessageBoxInEveryLanguage) {
    const int dpi = std::get<0>(GetParam());
    const auto& language = kLanguages[std::get<1>(GetParam())];
    LaunchOptions options;
    options.dpi = dpi;
    App app(options);
    ASSERT_TRUE(app.Started()) << app.Error();
    ASSERT_TRUE(WaitFor([&] { return app.Window(kTitle).visible && StartUpReadDone(app, "en"); }, 30000));
    const Rect window = app.Window(kTitle).rect;
    EXPECT_EQ(1230 * dpi / 96, window.Width()) << dpi;
    EXPECT_EQ(650 * dpi / 96, window.Height()) << dpi;
    const std::string tail = std::string("_") + language.language + "_" + std::to_string(dpi);
    SCOPED_TRACE(tail);
    ASSERT_EQ("OK", app.Request(std::string("MENU option_item_language_") + language.language));
    ASSERT_TRUE(WaitFor([&] { return StartUpReadDone(app, language.language); }));
    for (const auto& page : kPages) {
        // A settled window takes the first click: a second one would hide a lost click.
        ASSERT_TRUE(app.Click(page.tab, kTitle) && WaitFor([&] { return app.Control(page.member, kTitle).visible; }))
            << page.tab;
        CheckMainWindowPainting(app, ScreenshotFolder() + "/main" + tail + page.suffix + ".png");
    }
    PictureDialogs(app, language.language, tail);
    if (HasFatalFailure()) return;
    if (language.lan == 0) {
        // The slope list shows its nine rows of 16 skin pixels inside
        // its one-pixel inset without scrolling; its current row closes it.
        const ControlState slope = app.Control("hp_slop", kTitle);
        WindowState drop;
        auto dropped = [&] {
            drop = WindowState();
            for (const WindowState& w : app.Windows())
                if (w.visible && w.className == "ComboWnd") drop = w;
            return drop.found;
        };
        ASSERT_TRUE(app.Click("hp_slop", kTitle) && WaitFor(dropped));
        const int row = 16 * dpi / 96;
        const int inset = (dpi + 48) / 96;
        EXPECT_GE(drop.rect.Height(), 9 * row + 2 * inset) << dpi << " dpi";
        ASSERT_TRUE(app.ClickAt(drop.rect.left + 20, drop.rect.top + inset + slope.index * row + row / 2));
        ASSERT_TRUE(WaitFor([&] { return !dropped(); }));
        EXPECT_EQ(slope.index, app.Control("hp_slop", kTitle).index);
    }
    // On the outputs page: locking asks (two buttons) and disables every output button.
    ASSERT_TRUE(app.Click("btn_lock_output", kTitle) && WaitFor([&] { return app.Window("msgwnd").found; }));
    PictureAndAnswer(app, ScreenshotFolder() + "/msg_two" + tail + ".png", "confirm_btn");
    ASSERT_TRUE(WaitFor([&] { return !app.Control("ch_output_btn_0", kTitle).enabled; }));
    CheckMainWindowPainting(app, ScreenshotFolder() + "/main" + tail + "_locked.png");
    ASSERT_TRUE(app.Click("btn_lock_output", kTitle) && WaitFor([&] { return app.Window("msgwnd").found; }));
    PictureAndAnswer(app, ScreenshotFolder() + "/msg_two" + tail + "_unlock.png", "confirm_btn");
    ASSERT_TRUE(WaitFor([&] { return app.Control("ch_output_btn_0", kTitle).enabled; }));
    // Resetting the outputs offers three answers; cancelled.
    ASSERT_TRUE(app.Click("btn_reset_output", kTitle) && WaitFor([&] { return app.Window("msgwnd").found; }));
    PictureAndAnswer(app, ScreenshotFolder() + "/msg_three" + tail + ".png", "cancel_btn");
    // Unplugged: a one-button notice, then the disconnected window until the unit returns.
    ASSERT_TRUE(app.Unplug());
    const std::string notice = SkinText(language.language, "device_plugout");
    ASSERT_TRUE(WaitFor([&] { return app.Control("MessageText", "msgwnd").text == notice; }));
    PictureAndAnswer(app, ScreenshotFolder() + "/msg_one" + tail + ".png", "confirm_btn");
    ASSERT_TRUE(WaitFor([&] {
        return app.Control("btnConnect", kTitle).text == SkinText(language.language, "btn_disconnected");
    }));
    CheckMainWindowPainting(app, ScreenshotFolder() + "/main" + tail + "_disconnected.png");
    // The compressors with no unit, in their disabled state.
    ASSERT_EQ("OK", app.Request("MENU advance_item_compressors_on"));
    ASSERT_TRUE(WaitFor([&] { return app.Control("closebtn", "CompressorsOnWnd").visible; }));
    const std::string offline = ScreenshotFolder() + "/dialog_compressors" + tail + "_offline.png";
    EXPECT_EQ("", PictureWindow(app, "CompressorsOnWnd", offline));
    ASSERT_TRUE(app.Click("closebtn", "CompressorsOnWnd") && WaitFor([&] { return !app.Window("CompressorsOnWnd").found; }));
    ASSERT_TRUE(app.Plug());
    ASSERT_TRUE(WaitFor([&] { return StartUpReadDone(app, language.language); }, 30000));
    // Tuned, in every language at 96 DPI and in Chinese and Russian at
    // 120 and 144; the dialogs again with a twelve-input source.
    if (dpi == 96 || language.lan != 0) {
        ASSERT_TRUE(app.Request("MENU option_item_language_en") == "OK" && app.Request("SOURCE 5") == "OK" &&
                    Reconnect(app));
        ASSERT_EQ("OK", app.Request(std::string("MENU option_item_language_") + language.language));
        for (const std::vector<TuningStep>* steps : {&kTuning, &kBridged}) {
            for (const auto& step : *steps) {
                ASSERT_TRUE(Reach(app, step.control, step.value)) << step.control;
                ASSERT_TRUE(WaitFor([&] { return StartUpReadDone(app, language.language); })) << step.control;
                if (step.picture)
                    CheckMainWindowPainting(app, ScreenshotFolder() + "/main" + tail + step.picture + ".png");
            }
            if (steps == &kTuning) PictureDialogs(app, language.language, tail + "_tuned", "hi_1");
        }
    }
    ASSERT_TRUE(app.Kill());
}

INSTANTIATE_TEST_SUITE_P(Dpi, MainWindowAtDpi,
                         ::testing::Combine(::testing::Values(96, 120, 144), ::testing::Range<size_t>(0, std::size(kLanguages))),
                         [](const ::testing::TestParamInfo<std::tuple<int, size_t>>& info) {
                             return std::to_string(std::get<0>(info.param)) + "_" + kLanguages[std::get<1>(info.param)].language;
                         });

}  // namespace
}  // namespace e2e
