// The program's firmware work against its simulated unit with real X input:
// the update window with valid, broken and interrupted files, the forced
// update of an older unit, the factory reset, the language switch across a
// restart and the handles left after many connects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"
#include "tests/e2e/kit/Process.h"

namespace e2e {
namespace {

const int kReadBoundMs = 30000;
const int kUpdateBoundMs = 60000;
const std::string kImages = BRISA_SIM_FIRMWARE;

bool CopyFile(const std::string& from, const std::string& to, bool spoil)
{
    std::ifstream in(from, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 64) return false;
    if (spoil) bytes[40] ^= 0x10;
    std::ofstream out(to, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string WaitNotice(App& app)
{
    std::string text;
    WaitFor([&] {
        const ControlState message = app.Control("MessageText", "msgwnd");
        text = message.text;
        return message.found && message.visible;
    });
    return text;
}

// Answers the open message box with its button, once it shows text: that
// box goes, though a notice the answer brings may open at once.
bool Answer(App& app, const std::string& text, const std::string& button)
{
    const std::string shown = WaitNotice(app);
    if (shown != text) {
        ADD_FAILURE() << "notice shows \"" << shown << "\", not \"" << text << "\"";
        return false;
    }
    char box[32];
    std::snprintf(box, sizeof box, "#%lx", app.Window("msgwnd").hwnd);
    return app.Click(button, box) && WaitFor([&] { return !app.Window(box).found; });
}

// The first frame from index from on that starts with head; -1 none.
long IndexOf(const std::vector<UnitFrame>& frames, const std::string& head, long from)
{
    for (size_t i = static_cast<size_t>(from); i < frames.size(); ++i)
        if (frames[i].Text().compare(0, head.size(), head) == 0) return static_cast<long>(i);
    return -1;
}

bool Sent(const std::vector<UnitFrame>& frames, const std::string& head)
{
    return IndexOf(frames, head, 0) >= 0;
}

std::string Format(const std::string& format, int a, int b, int c, int d)
{
    char text[512];
    std::snprintf(text, sizeof(text), format.c_str(), a, b, c, d);
    return text;
}

class FirmwareE2E : public ::testing::Test {
protected:
    void Start()
    {
        app.reset(new App(LaunchOptions()));
        ASSERT_TRUE(app->Started()) << app->Error();
        ASSERT_TRUE(WaitFor([&] { return IsConnected(*app); }, kReadBoundMs));
        // The unit's restart pause and reply waits at a quarter.
        ASSERT_EQ("OK", app->Request("WAITSCALE 25"));
    }
    // The update window from the option menu, with file chosen in the
    // system's file dialog by typing its name.
    void OpenAndChoose(const std::string& file)
    {
        ASSERT_EQ("OK", app->Request("MENU option_item_firmware_upgrade"));
        Choose(file);
    }
    void Choose(const std::string& file)
    {
        ASSERT_TRUE(WaitFor([&] { return app->Control("file_btn", "updatefwwnd").visible; }));
        ASSERT_TRUE(app->Click("file_btn", "updatefwwnd") && app->FocusWindowTitled("Open"));
        ASSERT_TRUE(app->Type(file));
        ASSERT_TRUE(app->Key("Return"));
        ASSERT_TRUE(WaitFor([&] {
            const std::string shown = app->Control("file_path_edt", "updatefwwnd").text;
            return shown.size() > file.size() && shown.compare(shown.size() - file.size(), file.size(), file) == 0;
        }));
    }
    std::string Tips() { return app->Control("update_tips", "updatefwwnd").text; }

    std::unique_ptr<App> app;
};

TEST_F(FirmwareE2E, UpdateWindowSendsValidFilesRefusesBrokenOnesAndSurvivesAnUnplug)
{
    Start();
    ASSERT_EQ("OK", app->Request("PACE 8"));
    for (const char* name : {"BrisaDSP_MCU_UPG.bin", "BrisaDSP_FLASH_UPG.bin"})
        ASSERT_TRUE(CopyFile(kImages + "/" + name, app->WorkDir() + "/" + name, false));
    ASSERT_TRUE(CopyFile(kImages + "/BrisaDSP_MCU_UPG.bin", app->WorkDir() + "/bad_MCU_UPG.bin", true));

    // Valid images: the bar moves, the end is told, the unit restarts and is read again.
    for (const std::string file : {"BrisaDSP_MCU_UPG.bin", "BrisaDSP_FLASH_UPG.bin"}) {
        SCOPED_TRACE(file);
        ASSERT_NO_FATAL_FAILURE(OpenAndChoose(file));
        const size_t mark = app->Mark();
        ASSERT_TRUE(app->Click("update_btn", "updatefwwnd"));
        bool midway = false;
        ASSERT_TRUE(WaitFor(
            [&] {
                const ControlState bar = app->Control("progress", "updatefwwnd");
                midway |= bar.value > 0 && bar.value < 100;
                return Tips() == SkinText("en", "update_ok");
            },
            kUpdateBoundMs));
        EXPECT_TRUE(midway) << "progress shown on the way";
        EXPECT_EQ(100, app->Control("progress", "updatefwwnd").value);
        ASSERT_TRUE(WaitFor([&] { return !app->Window("updatefwwnd").found && IsConnected(*app); }, kReadBoundMs));
        // The image's finish, then the handshake of the read after the restart.
        const std::vector<UnitFrame> frames = app->FramesSince(mark);
        const long finish = IndexOf(frames, file.find("MCU") != std::string::npos ? "03 04 bb" : "02 05 bb", 0);
        ASSERT_GE(finish, 0);
        EXPECT_GT(IndexOf(frames, "03 08 bb", finish), finish);
    }

    // A broken image: refused before anything goes out; closing the window
    // brings the link back to work.
    ASSERT_NO_FATAL_FAILURE(OpenAndChoose("bad_MCU_UPG.bin"));
    size_t mark = app->Mark();
    ASSERT_TRUE(app->Click("update_btn", "updatefwwnd"));
    ASSERT_TRUE(WaitFor([&] { return Tips() == SkinText("en", "load_fw_fail"); }));
    EXPECT_TRUE(app->FramesSince(mark).empty());
    ASSERT_TRUE(app->Click("closebtn", "updatefwwnd"));
    ASSERT_TRUE(WaitFor([&] { return !app->Window("updatefwwnd").found && IsConnected(*app); }, kReadBoundMs));
    EXPECT_TRUE(Sent(app->FramesSince(mark), "03 08 bb")) << "read again";
    mark = app->Mark();
    const bool muted = app->Control("ch_mute_0").selected;
    ASSERT_TRUE(app->Click("ch_mute_0"));
    ASSERT_TRUE(WaitFor([&] { return Sent(app->FramesSince(mark), "01 09 bb"); }));
    EXPECT_EQ(!muted, app->Params(0)["out0.mute"] != 0);
    ASSERT_TRUE(Reconnect(*app, kReadBoundMs));

    // Pulled part way through an image: the failure is told and nothing
    // hangs. The unit comes back in its loader: the program says so, offers
    // the update again, and the finished image brings the unit back to work.
    ASSERT_EQ("OK", app->Request("VANISHAT 30"));
    ASSERT_NO_FATAL_FAILURE(OpenAndChoose("BrisaDSP_FLASH_UPG.bin"));
    ASSERT_TRUE(app->Click("update_btn", "updatefwwnd"));
    ASSERT_TRUE(WaitFor([&] { return Tips() == SkinText("en", "update_fail"); }, kUpdateBoundMs));
    EXPECT_EQ("", PictureWindow(*app, "updatefwwnd", ScreenshotFolder() + "/dialog_update_en_96_failed.png"));
    EXPECT_TRUE(app->Control("cancel_btn", "updatefwwnd").enabled);
    EXPECT_FALSE(app->Window("msgwnd").found) << "no unplug notice over the update";
    ASSERT_EQ("OK", app->Request("VANISHAT -1"));
    ASSERT_TRUE(app->Plug());
    ASSERT_TRUE(Answer(*app, SkinText("en", "device_status_unnormal"), "confirm_btn"));
    ASSERT_NO_FATAL_FAILURE(Choose("BrisaDSP_FLASH_UPG.bin"));
    ASSERT_TRUE(app->Click("update_btn", "updatefwwnd"));
    ASSERT_TRUE(WaitFor([&] { return !app->Window("updatefwwnd").found && IsConnected(*app); }, kUpdateBoundMs));
    EXPECT_TRUE(app->Running());
}

TEST_F(FirmwareE2E, OlderUnitIsOfferedTheCarriedFirmwareAndRunsBothStages)
{
    Start();
    ASSERT_TRUE(app->SetFirmware(1, 24));
    // Offered on the unit's return in each language: pictured before it
    // starts, and left in each but the last, which runs it.
    size_t mark = 0;
    for (const std::string language : {"cn", "ru", "en"}) {
        SCOPED_TRACE(language);
        ASSERT_EQ("OK", app->Request("MENU option_item_language_" + language));
        ASSERT_TRUE(WaitFor([&] { return LinkShows(*app, "btn_connected", language); }));
        ASSERT_TRUE(app->Unplug());
        ASSERT_TRUE(Answer(*app, SkinText(language, "device_plugout"), "confirm_btn"));
        mark = app->Mark();
        ASSERT_TRUE(app->Plug());
        ASSERT_TRUE(Answer(*app, Format(SkinText(language, "update_tips"), 1, 24, 1, 25), "confirm_btn"));
        ASSERT_TRUE(WaitFor([&] { return app->Control("update_btn", "updatefwwnd").enabled; }));
        const std::string ready = ScreenshotFolder() + "/force_update_" + language + "_96_ready.png";
        EXPECT_EQ("", PictureWindow(*app, "updatefwwnd", ready));
        EXPECT_EQ("", ForeignScriptText(*app, "updatefwwnd", language));
        if (language == "en") break;
        ASSERT_TRUE(app->Click("cancel_btn", "updatefwwnd") && WaitFor([&] { return !app->Window("updatefwwnd").found; }));
    }
    EXPECT_EQ("ForceUpdateWnd", app->Window("updatefwwnd").className);
    EXPECT_NE(std::string::npos, app->Control("mcu_file", "updatefwwnd").text.find("MCU_UPG.bin"));
    EXPECT_NE(std::string::npos, app->Control("flash_file", "updatefwwnd").text.find("FLASH_UPG.bin"));

    ASSERT_TRUE(app->Click("update_btn", "updatefwwnd"));
    // Pictured once mid-stage: buttons waiting, a bar moved on.
    const std::string running = ScreenshotFolder() + "/force_update_en_96_running.png";
    bool locked = false;
    bool pictured = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            const bool waiting = !app->Control("cancel_btn", "updatefwwnd").enabled;
            locked |= waiting;
            if (waiting && !pictured && app->Control("mcu_progress", "updatefwwnd").value > 0)
                pictured = app->Screenshot("updatefwwnd", running) && CheckPainting(running).painted;
            return Tips() == SkinText("en", "update_finish");
        },
        2 * kUpdateBoundMs));
    EXPECT_TRUE(locked) << "the buttons wait for the stages";
    EXPECT_TRUE(pictured) << running;
    EXPECT_EQ(100, app->Control("mcu_progress", "updatefwwnd").value);
    EXPECT_EQ(100, app->Control("flash_progress", "updatefwwnd").value);
    EXPECT_FALSE(app->Window("msgwnd").found) << "the restarts raise no unplug notice";

    // Closing reads the unit again, which now runs the carried version.
    ASSERT_TRUE(app->Click("closebtn", "updatefwwnd"));
    ASSERT_TRUE(WaitFor([&] { return !app->Window("updatefwwnd").found && IsConnected(*app); }, kReadBoundMs));
    const std::vector<UnitFrame> frames = app->FramesSince(mark);
    const long mcuStart = IndexOf(frames, "03 02 bb", 0);
    const long flashStart = IndexOf(frames, "02 03 bb", 0);
    ASSERT_GE(mcuStart, 0);
    EXPECT_GT(flashStart, mcuStart);
    EXPECT_GT(IndexOf(frames, "03 08 bb", flashStart), flashStart);
    EXPECT_FALSE(Sent(frames, "03 90 bb")) << "no factory reset unless asked";
    std::map<std::string, long> unit = app->Params(0);
    EXPECT_EQ(1, unit["fw.main"]);
    EXPECT_EQ(25, unit["fw.slave"]);
    EXPECT_TRUE(NeverWithin([&] { return app->Window("msgwnd").found; }, 1500)) << "not offered again";
}

TEST_F(FirmwareE2E, FactoryDefaultAsksResetsAndReconnects)
{
    Start();
    // A setting the reset must take back.
    ASSERT_EQ(0, app->Params(0)["out0.mute"]);
    ASSERT_TRUE(app->Click("ch_mute_0"));
    ASSERT_TRUE(WaitFor([&] { return app->Params(0)["out0.mute"] == 1; }));
    const bool mutedBefore = app->Control("ch_mute_0").selected;

    // Cancelled: nothing goes out.
    ASSERT_EQ("OK", app->Request("MENU option_item_reset_default"));
    size_t mark = app->Mark();
    ASSERT_TRUE(Answer(*app, SkinText("en", "factory_default_tips"), "cancel_btn"));
    EXPECT_TRUE(app->FramesSince(mark).empty());
    mark = app->Mark();
    ASSERT_EQ("OK", app->Request("MENU option_item_reset_default"));
    ASSERT_TRUE(Answer(*app, SkinText("en", "factory_default_tips"), "confirm_btn"));
    ASSERT_TRUE(WaitFor([&] { return Sent(app->FramesSince(mark), "03 90 bb"); }));
    EXPECT_EQ("03 90 bb ", app->FramesSince(mark)[0].Text()) << "the reset is the first and only command then";
    // The reset's own end closes its loading window and tells of the restart,
    // before the restart's read opens a window of its own.
    const unsigned long resetWindow = app->Window("loadingwnd").hwnd;
    EXPECT_TRUE(WaitFor([&] {
        const WindowState loading = app->Window("loadingwnd");
        return app->Window("msgwnd").found && (!loading.found || loading.hwnd != resetWindow);
    }, kLoadingEndMs)) << "the reset's end after the unit's last frame";
    // The restart's read runs under the notice, its loading window over it;
    // the notice stays until answered.
    // Watched through the restart's removal and return: its notice stands alone.
    long mostNotices = 0;
    const auto readAgain = [&] {
        const std::vector<WindowState> windows = app->Windows();
        mostNotices = std::max<long>(mostNotices, std::count_if(windows.begin(), windows.end(), [](const WindowState& w) { return w.title == "msgwnd"; }));
        return IsConnected(*app) && IndexOf(app->FramesSince(mark), "03 08 bb", 0) > 0;
    };
    ASSERT_TRUE(WaitFor(readAgain, kReadBoundMs));
    EXPECT_EQ(1, mostNotices) << "no unplug notice for the restart";
    ASSERT_TRUE(Answer(*app, SkinText("en", "device_reboot"), "confirm_btn"));
    EXPECT_TRUE(NeverWithin([&] { return app->Window("msgwnd").found; }, 1500)) << "no notice after the answered one";
    EXPECT_TRUE(mutedBefore);
    EXPECT_EQ(0, app->Params(0)["out0.mute"]);
    EXPECT_FALSE(app->Control("ch_mute_0").selected) << "the reset values read back";
}

TEST_F(FirmwareE2E, LanguageMenuChangesEveryTextAtOnceAndTheNextStartKeepsIt)
{
    Start();
    // Controls and the keys of their texts, read in one snapshot of the window.
    const std::map<std::string, std::string> texts = {
        {"btnConnect", "btn_connected"}, {"btn_scene", "scene"},     {"btn_option", "option"},
        {"btn_advance", "advance"},      {"main_mute", "mute"},      {"btn_bypass", "bypass_eq"},
        {"btn_reset_eq", "reset_eq"},    {"edit_acc", "off"}};
    auto shows = [&](const std::string& language) {
        size_t matching = 0;
        for (const auto& control : app->Controls("Brisa DSP Audio")) {
            const auto key = texts.find(control.first);
            if (key != texts.end() && control.second.text == SkinText(language, key->second)) ++matching;
        }
        return matching;
    };
    ASSERT_EQ(texts.size(), shows("en"));
    ASSERT_EQ("OK", app->Request("MENU option_item_language_ru"));
    ASSERT_TRUE(WaitFor([&] { return app->Control("btnConnect").text == SkinText("ru", "btn_connected"); }));
    EXPECT_EQ(texts.size(), shows("ru"));

    ASSERT_TRUE(app->Kill());
    LaunchOptions again;
    again.keepSettings = true;
    again.workDir = app->WorkDir();
    app.reset(new App(again));
    ASSERT_TRUE(app->Started()) << app->Error();
    ASSERT_TRUE(WaitFor([&] { return app->Control("btnConnect").text == SkinText("ru", "btn_connected"); }, kReadBoundMs));
    EXPECT_EQ(texts.size(), shows("ru"));
    ASSERT_EQ("OK", app->Request("MENU option_item_language_en"));
    ASSERT_TRUE(WaitFor([&] { return shows("en") == texts.size(); }));
}

// Every face a cycle paints, the button's tooltip and the composed skin
// images, is made on first use and kept: the warm-up cycles make them with
// the pointer resting on the button and a press held on it, so that the
// counts after them are what twenty more cycles must come back to.
TEST_F(FirmwareE2E, TwentyConnectsLeaveHandlesAndThreadsAtTheirBaseline)
{
    Start();
    const Environment x = {{"DISPLAY", app->Display()}};
    auto cycle = [&](bool holdPress) {
        for (const bool connect : {false, true}) {
            const ControlState button = app->Control("btnConnect");
            ASSERT_TRUE(RunTool({"xdotool", "mousemove", std::to_string(button.rect.CenterX()),
                                 std::to_string(button.rect.CenterY())}, x));
            if (holdPress) {
                // The window has taken the press once it answers twice more.
                ASSERT_TRUE(RunTool({"xdotool", "mousedown", "1"}, x));
                for (int i = 0; i < 3; ++i) app->Control("btnConnect");
                ASSERT_TRUE(RunTool({"xdotool", "mouseup", "1"}, x));
            } else {
                ASSERT_TRUE(app->Click("btnConnect"));
            }
            ASSERT_TRUE(WaitFor([&] { return connect ? IsConnected(*app) : IsDisconnected(*app); }, kReadBoundMs));
        }
    };
    for (int i = 0; i < 3; ++i) ASSERT_NO_FATAL_FAILURE(cycle(true));
    const ProcessResources before = app->Resources();
    ASSERT_GT(before.gdi, 0);
    std::string counts;
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NO_FATAL_FAILURE(cycle(false));
        const ProcessResources now = app->Resources();
        counts += " " + std::to_string(now.gdi) + "/" + std::to_string(now.user);
    }
    ProcessResources after;
    EXPECT_TRUE(WaitFor([&] {
        after = app->Resources();
        return after.threads <= before.threads && after.gdi == before.gdi && after.user == before.user;
    })) << "gdi/user " << before.gdi << "/" << before.user << " then" << counts << "; threads " << before.threads
        << "->" << after.threads;
    EXPECT_EQ(before.replies, after.replies);
}

} // namespace
} // namespace e2e
