// An installer's session against the simulated program with real X input:
// the unit's received frames and stored parameters are the oracle, and the
// program must end every stage in a state the user was told about.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/tuning/ProfileFile.h"
#include "tests/e2e/kit/BrisaE2E.h"
#include "tests/e2e/kit/RandomUse.h"

namespace e2e {
namespace {

const int kBoundMs = 60000;
const char kMain[] = "Brisa DSP Audio";

bool Connected(App& app, const char* language = "en")
{
    return LinkShows(app, "btn_connected", language);
}

bool Disconnected(App& app)
{
    return app.Control("btnConnect", kMain).text == SkinText("en", "btn_disconnected") &&
           !app.Window("loadingwnd").found;
}

// The texts of the message boxes the program shows until none is left
// open, each confirmed with a click.
std::multiset<std::string> ConfirmNotices(App& app, int firstBoundMs = kBoundMs)
{
    std::multiset<std::string> texts;
    int bound = firstBoundMs;
    for (;;) {
        std::string text;
        const bool shown = WaitFor(
            [&] {
                const ControlState message = app.Control("MessageText", "msgwnd");
                text = message.text;
                return message.found && message.visible;
            },
            bound);
        if (!shown) return texts;
        texts.insert(text);
        if (!app.Click("confirm_btn", "msgwnd") || !WaitFor([&] {
                return app.Control("MessageText", "msgwnd").text != text || !app.Window("msgwnd").found;
            }))
            return texts;
        bound = 1500;
    }
}

std::multiset<std::string> Notices(std::initializer_list<const char*> keys)
{
    std::multiset<std::string> texts;
    for (const char* key : keys) texts.insert(SkinText("en", key));
    return texts;
}

std::vector<std::string> Texts(const std::vector<UnitFrame>& frames)
{
    std::vector<std::string> texts;
    for (const UnitFrame& f : frames) texts.push_back(f.Text());
    return texts;
}

// Waits for count frames since mark, then for none more.
std::vector<std::string> Exactly(App& app, size_t mark, size_t count)
{
    WaitFor([&] { return app.FramesSince(mark).size() >= count; });
    NeverWithin([&] { return app.FramesSince(mark).size() > count; }, 700);
    return Texts(app.FramesSince(mark));
}

void TypeInto(App& app, const std::string& edit, const std::string& text)
{
    ASSERT_TRUE(app.Click(edit, kMain));
    ASSERT_TRUE(app.Key("End"));
    ASSERT_TRUE(app.Key("shift+Home"));
    ASSERT_TRUE(app.Type(text, edit, kMain));
    ASSERT_TRUE(app.Key("Return"));
}

// Picks a file in the row's common dialog by typing its name and Enter.
bool ChooseInDialog(App& app, const std::string& row, const std::string& title, const std::string& name)
{
    return app.Request("MENU " + row).rfind("OK", 0) == 0 && app.FocusWindowTitled(title) && app.Type(name) &&
           app.Key("Return");
}

// A copy of the sample scene profile in the program's folder, and its content.
SceneProfile PlaceSample(App& app, const std::string& name)
{
    const std::filesystem::path file = std::filesystem::path(app.WorkDir()) / name;
    std::filesystem::copy_file(std::filesystem::path(BRISA_PROFILE_SAMPLES) / "sample.spf", file,
                               std::filesystem::copy_options::overwrite_existing);
    SceneProfile profile;
    EXPECT_TRUE(LoadSceneProfile(file, profile).ok);
    return profile;
}

bool UnitHoldsLevels(App& app, const SceneProfile& file)
{
    std::map<std::string, long> unit = app.Params(0);
    for (int ch = 0; ch < 16; ++ch) {
        const std::string p = "out" + std::to_string(ch) + ".";
        if (std::lround(file.channels[ch].gain) != unit[p + "gain"] || file.channels[ch].mute != unit[p + "mute"])
            return false;
    }
    return true;
}

TEST(InstallerSession, FromStartThroughEditsFilesLanguageAndUnplugToClose)
{
    E2E_SKIP_WITHOUT_WINDOWS_BUILD();
    App app(LaunchOptions{});
    ASSERT_TRUE(app.Started()) << app.Error();

    // Start: the program connects and reads the unit, which it then shows.
    ASSERT_TRUE(WaitFor([&] { return Connected(app); }, kBoundMs));
    const std::vector<std::string> opening = Texts(app.FramesSince(0));
    ASSERT_GE(opening.size(), 2u);
    EXPECT_EQ("03 1f bb 01", opening[0]);
    EXPECT_EQ("03 08 bb", opening[1].substr(0, 8));
    EXPECT_EQ("", ShownDiffersFromUnit(app));

    // A bypassed EQ's kept gain that the unit no longer holds is told.
    TypeInto(app, "eq_gain_3", "4");
    ASSERT_TRUE(WaitFor([&] { return app.Params(0)["out0.eq3.gain"] == 40; }));
    ASSERT_TRUE(SetEqBypass(app, 0, 1));
    EXPECT_EQ("", ShownDiffersFromUnit(app));
    ASSERT_EQ("OK", app.Request("EQGAIN 0 3 60"));
    EXPECT_EQ("kept out0.eq3.gain: unit 6.0, shown 4.0", ShownDiffersFromUnit(app));
    ASSERT_EQ("OK", app.Request("EQGAIN 0 3 40"));
    ASSERT_TRUE(SetEqBypass(app, 0, 0));

    // A channel level typed, then its mute clicked: one command each, and the unit holds them.
    size_t mark = app.Mark();
    TypeInto(app, "edit_ch_volume_0", "-12");
    EXPECT_EQ((std::vector<std::string>{"01 08 bb 000000000c", "01 09 bb 0000000000"}), Exactly(app, mark, 2));
    mark = app.Mark();
    ASSERT_TRUE(app.Click("ch_mute_0", kMain));
    EXPECT_EQ(std::vector<std::string>{"01 09 bb 0000000001"}, Exactly(app, mark, 1));
    std::map<std::string, long> unit = app.Params(0);
    EXPECT_EQ(-12, unit["out0.gain"]);
    EXPECT_EQ(1, unit["out0.mute"]);
    EXPECT_EQ("", ShownDiffersFromUnit(app));

    // A scene profile opened from a file reaches the unit and is shown.
    const SceneProfile file = PlaceSample(app, "session.spf");
    ASSERT_TRUE(ChooseInDialog(app, "scene_item_load_file", "Open", "session.spf"));
    // The push ends when the unit holds the file's channel levels and mutes.
    ASSERT_TRUE(WaitFor([&] { return UnitHoldsLevels(app, file); }, kBoundMs));
    ASSERT_TRUE(WaitFor([&] { return Connected(app); }, kBoundMs));
    EXPECT_EQ("", ShownDiffersFromUnit(app));

    // Saved back to a file: the same values come out.
    ASSERT_TRUE(ChooseInDialog(app, "scene_item_save_file", "Save As", "kept"));
    EXPECT_EQ(Notices({"profile_save_ok"}), ConfirmNotices(app));
    SceneProfile saved;
    ASSERT_TRUE(LoadSceneProfile(std::filesystem::path(app.WorkDir()) / "kept.spf", saved).ok);
    for (int ch = 0; ch < 16; ++ch) {
        EXPECT_FLOAT_EQ(file.channels[ch].gain, saved.channels[ch].gain) << ch;
        EXPECT_EQ(file.channels[ch].mute, saved.channels[ch].mute) << ch;
    }

    // The language switch redraws the texts and does not talk to the unit.
    mark = app.Mark();
    ASSERT_EQ("OK", app.Request("MENU option_item_language_ru"));
    EXPECT_TRUE(WaitFor([&] { return Connected(app, "ru"); }));
    ASSERT_EQ("OK", app.Request("MENU option_item_language_en"));
    EXPECT_TRUE(WaitFor([&] { return Connected(app); }));
    EXPECT_TRUE(app.FramesSince(mark).empty());

    // Unplugged and plugged back: the notice, then a fresh read of what the unit holds.
    ASSERT_TRUE(app.Unplug());
    EXPECT_EQ(Notices({"device_plugout"}), ConfirmNotices(app));
    ASSERT_TRUE(WaitFor([&] { return Disconnected(app); }));
    ASSERT_TRUE(app.Plug());
    ASSERT_TRUE(WaitFor([&] { return Connected(app); }, kBoundMs));
    EXPECT_EQ("", ShownDiffersFromUnit(app));

    // Nothing of the session waited on the unit from the UI thread.
    EXPECT_EQ("OK 0 0", app.Request("UIEXCHANGES"));

    // Closed by its button: the process ends cleanly.
    ASSERT_TRUE(app.Click("closebtn", kMain));
    int code = -1;
    ASSERT_TRUE(app.WaitExit(20000, &code));
    EXPECT_EQ(0, code);
}

}  // namespace
}  // namespace e2e
