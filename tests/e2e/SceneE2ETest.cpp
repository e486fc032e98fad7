// The program's scene store with real X input: the live state saved as a
// named scene through the scene window and the name entry, recalled, and
// deleted, with the simulated unit's received frames as the oracle. The
// scene menu's rows are chosen through the main window's menu-click path.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {
namespace {

const int kReadBoundMs = 30000;

// The flash-store frames (type 2) the unit received since mark.
std::vector<std::string> FlashFrames(App& app, size_t mark)
{
    std::vector<std::string> lines;
    for (const UnitFrame& f : app.FramesSince(mark))
        if (f.type == 2) lines.push_back(f.Text());
    return lines;
}

// The names the scene window's ten rows show, in order.
std::vector<std::string> RowNames(App& app)
{
    std::vector<std::string> names;
    for (const auto& control : app.Controls("scenewnd"))
        if (control.first == "value") names.push_back(control.second.text);
    return names;
}

// The open message box's text, then its confirm button is clicked.
std::string ConfirmBox(App& app)
{
    std::string text;
    if (!WaitFor([&] {
            const ControlState message = app.Control("MessageText", "msgwnd");
            text = message.text;
            return message.found && message.visible;
        }))
        return "<no box>";
    if (!(app.Click("confirm_btn", "msgwnd") && WaitFor([&] { return !app.Window("msgwnd").found; }))) return "<stays open>";
    return text;
}

// The bright pixels of the loading bar's moving block in the bar's left
// half, as painted on the screen; -1 without a picture.
int BarBlockLeft(App& app)
{
    const std::string png = app.WorkDir() + "/loading.png";
    const Rect window = app.Window("loadingwnd").rect;
    const Rect bar = app.Control("loading_bar", "loadingwnd").rect;
    if (bar.Width() <= 0 || !app.Screenshot("loadingwnd", png)) return -1;
    return BrightPixels(png, Rect{bar.left - window.left, bar.top - window.top, bar.CenterX() - window.left, bar.bottom - window.top}, 200);
}

bool CloseSceneWindow(App& app)
{
    return LoadingEnds(app) && app.Click("cancel_btn", "scenewnd") && WaitFor([&] { return !app.Window("scenewnd").found; });
}

TEST(SceneE2E, SaveAsSceneTwoLoadItBackAndDeleteIt)
{
    E2E_SKIP_WITHOUT_WINDOWS_BUILD();
    App app({});
    ASSERT_TRUE(app.Started()) << app.Error();
    ASSERT_TRUE(WaitFor([&] { return LinkShows(app, "btn_connected"); }, kReadBoundMs));
    ASSERT_FALSE(app.Control("ch_mute_0").selected);

    // The live state with channel 1 muted, saved as scene 2 named "ABC".
    ASSERT_TRUE(app.Click("ch_mute_0"));
    ASSERT_TRUE(WaitFor([&] { return app.Params(0)["out0.mute"] == 1; }));
    size_t mark = app.Mark();
    ASSERT_TRUE(ChooseScene(app, "scene_item_saveas_scene", 1,
                              [&] { return app.Control("name_edt", "namemsgwnd").visible; }));
    ASSERT_TRUE(app.Click("name_edt", "namemsgwnd"));
    ASSERT_TRUE(app.Type("ABC", "name_edt", "namemsgwnd"));
    EXPECT_EQ("", PictureWindow(app, "namemsgwnd", ScreenshotFolder() + "/dialog_name_en_96.png"));
    ASSERT_TRUE(app.Key("Return"));
    EXPECT_EQ(SkinText("en", "save_scene_ok"), ConfirmBox(app));
    EXPECT_EQ((std::vector<std::string>{"02 0e 66 ", "02 0b bb 021041424300000000000000000000000000",
                                        "02 08 bb 0200"}),
              FlashFrames(app, mark));
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<std::string> rows = RowNames(app);
        return rows.size() == 10 && rows[1] == "ABC";
    }));
    EXPECT_EQ("", PictureWindow(app, "scenewnd", ScreenshotFolder() + "/dialog_scene_en_96_stored.png"));
    EXPECT_EQ(1, app.Params(2)["store2.valid"]);
    EXPECT_EQ(1, app.Params(2)["out0.mute"]);
    ASSERT_TRUE(CloseSceneWindow(app));

    // Unmuted live, then scene 2 recalled: the control shows the scene's mute again.
    ASSERT_TRUE(app.Click("ch_mute_0"));
    ASSERT_TRUE(WaitFor([&] { return app.Params(0)["out0.mute"] == 0 && !app.Control("ch_mute_0").selected; }));
    mark = app.Mark();
    ASSERT_TRUE(ChooseScene(app, "scene_item_load_scene", 1, [&] { return app.Window("msgwnd").found; }));
    char question[256];
    std::snprintf(question, sizeof question, SkinText("en", "load_scene_tips1").c_str(), 2, "ABC");
    EXPECT_EQ(question, ConfirmBox(app));
    ASSERT_TRUE(WaitFor([&] { return app.Control("ch_mute_0").selected; }, kReadBoundMs));
    const std::vector<std::string> recall = FlashFrames(app, mark);
    ASSERT_GE(recall.size(), 2u);
    EXPECT_EQ("02 09 bb 0200", recall[1]);
    ASSERT_TRUE(CloseSceneWindow(app));

    // Saved as scene 3 while the unit's answer that scene 2 is current waits
    // behind held commands until the save runs: scene 2 stays as it was.
    ASSERT_EQ("OK", app.Request("HOLDWRITES 1"));
    mark = app.Mark();
    ASSERT_TRUE(ChooseScene(app, "scene_item_saveas_scene", 2,
                              [&] { return app.Control("name_edt", "namemsgwnd").visible; }));
    ASSERT_TRUE(app.Click("name_edt", "namemsgwnd"));
    ASSERT_TRUE(app.Type("DEF", "name_edt", "namemsgwnd"));
    ASSERT_TRUE(app.Click("confirm_btn", "namemsgwnd"));
    const bool busy = WaitFor([&] { return app.Window("loadingwnd").found; });
    // Held, the loading window's bar keeps moving: its block is painted elsewhere.
    int first = -1;
    const bool moved = busy && WaitFor([&] {
        const int now = BarBlockLeft(app);
        if (first < 0) first = now;
        return now >= 0 && now != first;
    });
    ASSERT_EQ("OK", app.Request("HOLDWRITES 0"));
    ASSERT_TRUE(busy);
    EXPECT_TRUE(moved) << "the loading bar's block stood at " << first << " bright pixels in the bar's left half";
    EXPECT_EQ(SkinText("en", "save_scene_ok"), ConfirmBox(app));
    EXPECT_EQ((std::vector<std::string>{"02 0e 66 ", "02 0b bb 031044454600000000000000000000000000",
                                        "02 08 bb 0300"}),
              FlashFrames(app, mark));
    EXPECT_EQ(1, app.Params(3)["store3.valid"]);
    ASSERT_TRUE(CloseSceneWindow(app));

    // Deleted: the row clears and the unit forgets the scene.
    mark = app.Mark();
    ASSERT_TRUE(ChooseScene(app, "scene_item_delete_scene", 1, [&] { return FlashFrames(app, mark).size() >= 2; }));
    ASSERT_TRUE(WaitFor([&] { return app.Params(2)["store2.valid"] == 0; }));
    EXPECT_EQ((std::vector<std::string>{"02 0e 66 ", "02 0a bb 02"}), FlashFrames(app, mark));
    EXPECT_EQ("", RowNames(app).at(1));
    ASSERT_TRUE(CloseSceneWindow(app));
}

} // namespace
} // namespace e2e
