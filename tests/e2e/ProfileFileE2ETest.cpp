// Profile files through the common dialogs with real X input: a scene
// profile typed into the open dialog is pushed to the unit in the unit's
// order, and one saved through the save dialog exists and loads back. The
// scene menu's rows are reached through the main window's menu-click path.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/tuning/ProfileFile.h"
#include "tests/app/PushShape.h"
#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {
namespace {

const int kBoundMs = 60000;

bool IsIdle(App& app)
{
    return LinkShows(app, "btn_connected");
}

std::vector<std::string> Texts(const std::vector<UnitFrame>& frames)
{
    std::vector<std::string> texts;
    for (const UnitFrame& f : frames) texts.push_back(f.Text());
    return texts;
}

// Picks a file in the row's common dialog by typing its name and Enter.
bool ChooseInDialog(App& app, const std::string& row, const std::string& title, const std::string& name)
{
    return app.Request("MENU " + row).rfind("OK", 0) == 0 && app.FocusWindowTitled(title) && app.Type(name) &&
           app.Key("Return");
}

class ProfileFileE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        E2E_SKIP_WITHOUT_WINDOWS_BUILD();
        app.reset(new App(LaunchOptions()));
        ASSERT_TRUE(app->Started()) << app->Error();
        ASSERT_TRUE(WaitFor([&] { return IsIdle(*app); }, kBoundMs));
    }
    std::unique_ptr<App> app;
};

TEST_F(ProfileFileE2E, ProfileOpenedInTheDialogIsPushedInTheUnitsOrder)
{
    const std::filesystem::path file = std::filesystem::path(app->WorkDir()) / "push.spf";
    std::filesystem::copy_file(std::filesystem::path(BRISA_PROFILE_SAMPLES) / "sample.spf", file);
    SceneProfile expected;
    ASSERT_TRUE(LoadSceneProfile(file, expected).ok);
    const std::vector<std::string> shape = LivePushShape(expected);

    const size_t mark = app->Mark();
    ASSERT_TRUE(ChooseInDialog(*app, "scene_item_load_file", "Open", "push.spf"));
    std::vector<UnitFrame> frames;
    ASSERT_TRUE(WaitFor([&] { return (frames = app->FramesSince(mark)).size() >= shape.size(); }, kBoundMs))
        << frames.size() << " frames";
    ASSERT_TRUE(LoadingEnds(*app, kBoundMs) && WaitFor([&] { return IsIdle(*app); }));
    frames = app->FramesSince(mark);
    EXPECT_EQ(shape, CutToShape(Texts(frames), shape));
    // The file's current channel is the one shown.
    EXPECT_EQ("CH" + std::to_string(expected.currOutChannel + 1), app->Control("label_channel_name").text);
}

TEST_F(ProfileFileE2E, ProfileSavedInTheDialogExistsAndLoadsBack)
{
    const size_t mark = app->Mark();
    ASSERT_TRUE(ChooseInDialog(*app, "scene_item_save_file", "Save As", "saved"));
    ASSERT_TRUE(WaitFor([&] { return app->Control("MessageText", "msgwnd").found; }, kBoundMs));
    EXPECT_EQ(SkinText("en", "profile_save_ok"), app->Control("MessageText", "msgwnd").text);
    EXPECT_TRUE(app->Click("confirm_btn", "msgwnd") && WaitFor([&] { return !app->Window("msgwnd").found; }));

    // A name typed without an extension gets the scene profile's.
    const std::filesystem::path saved = std::filesystem::path(app->WorkDir()) / "saved.spf";
    ASSERT_TRUE(std::filesystem::exists(saved));
    SceneProfile back;
    EXPECT_TRUE(LoadSceneProfile(saved, back).ok);
    EXPECT_TRUE(app->FramesSince(mark).empty()) << "saving a scene profile does not talk to the unit";
}

}  // namespace
}  // namespace e2e
