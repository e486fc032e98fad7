// The unit pulled out or falling silent in the middle of every long
// operation, driven with real X input against BrisaDSP_sim.exe. The unit
// fails at a fixed command of the operation, so each row is repeatable. Each
// operation must end: the loading window gone, the window answering, the
// program's own notice; and once the unit is back the program connects again
// and shows what the unit holds.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {
namespace {

const char kMain[] = "Brisa DSP Audio";
const int kBoundMs = 30000;
// What the end of a job given up may add to its askings' waits before its notice shows.
const int kRuleMarginMs = 8000;

// How long the program waits for the answer to this frame at full length: a
// scene's store, recall or delete twice as long as the rest.
long ReplyWaitMs(const std::string& frame)
{
    for (const char* scene : {"02 08", "02 09", "02 0a"})
        if (frame.rfind(scene, 0) == 0) return 20000;
    return 10000;
}

// The visible windows, for a failure's message.
std::string Describe(App& app)
{
    std::string text;
    for (const WindowState& w : app.Windows())
        if (w.visible) text += " [" + w.title + "/" + w.className + "]";
    const ControlState message = app.Control("MessageText", "msgwnd");
    if (message.found) text += " box: \"" + message.text + "\"";
    return text;
}

bool Sent(App& app, size_t mark, const std::string& head)
{
    for (const UnitFrame& f : app.FramesSince(mark))
        if (f.Text().compare(0, head.size(), head) == 0) return true;
    return false;
}

bool MessageBoxShown(App& app)
{
    return WaitFor([&] { return app.Control("confirm_btn", "msgwnd").visible; });
}

// Answers the open message box with button: only that box is clicked, so a
// notice opening right after it stays for the test. False when the click did
// not close it: no box, or one that closed by itself.
bool ClickBoxButton(App& app, const std::string& button)
{
    const WindowState shown = app.Window("msgwnd");
    char box[32];
    std::snprintf(box, sizeof box, "#%lx", shown.hwnd);
    return shown.found && app.Click(button, box) && WaitFor([&] { return !app.Window(box).found; });
}

bool CopyFile(const std::string& from, const std::string& to)
{
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

// The scene window's name of row.
std::string SceneRowName(App& app, int row)
{
    int index = 0;
    for (const auto& control : app.Controls("scenewnd"))
        if (control.first == "value" && index++ == row) return control.second.text;
    return "<no row>";
}

// An operation: prepare brings it to its last user action, which go gives (Enter unless said).
struct Operation {
    std::function<bool(App&)> prepare;
    std::function<bool(App&)> go = [](App& app) { return app.Key("Return"); };
    std::string noticeWindow = "msgwnd";
    std::string noticeControl = "MessageText";
    // What must hold once the notice shows, before it is answered.
    std::function<void(App&)> whileTold;
    // Closes what the operation left open once the notice is answered.
    std::function<bool(App&)> close;
    // The device library's waits, in percent: short, so that a silent unit
    // costs little, but not shorter than the unit's restarts.
    int waitScale = 5;
    // False: the unit comes back in its loader, which the firmware runs
    // cover; the program is started afresh instead.
    bool readsBack = true;
    int boundMs = kBoundMs;  // how long its end may take while the unit hears nothing
    size_t commands = 0;     // all it sends, when known
    int askings = 0;         // the job's askings a silent unit receives from the fault on, when counted
};

Operation SceneSave(int slotRow, const std::string& name)
{
    Operation op;
    op.prepare = [slotRow, name](App& app) {
        return ChooseScene(app, "scene_item_saveas_scene", slotRow,
                           [&] { return app.Control("name_edt", "namemsgwnd").visible; }) &&
               app.Click("name_edt", "namemsgwnd") && app.Type(name, "name_edt", "namemsgwnd");
    };
    // The unit did not store the scene: the row keeps its old name.
    op.whileTold = [slotRow](App& app) { EXPECT_EQ("", SceneRowName(app, slotRow)); };
    op.close = [](App& app) {
        return app.Click("cancel_btn", "scenewnd") && WaitFor([&] { return !app.Window("scenewnd").found; });
    };
    return op;
}

// An operation whose preparation opens a box, which its confirm button answers.
Operation Confirmed(const std::function<bool(App&)>& opens)
{
    Operation op;
    op.prepare = [opens](App& app) { return opens(app) && MessageBoxShown(app); };
    op.go = [](App& app) { return ClickBoxButton(app, "confirm_btn"); };
    return op;
}

Operation SceneLoad()
{
    Operation op = Confirmed(
        [](App& app) { return ChooseScene(app, "scene_item_load_scene", 0, [&] { return app.Window("msgwnd").found; }); });
    op.close = SceneSave(0, "").close;
    return op;
}

// The whole configuration saved into a new file: a read cut short writes none.
Operation WholeSave(const std::string& name)
{
    Operation op;
    op.prepare = [name](App& app) {
        return app.Request("MENU scene_item_save_whole") == "OK" && app.FocusWindowTitled("Save As") &&
               app.Type(name);
    };
    op.whileTold = [name](App& app) {
        EXPECT_FALSE(std::filesystem::exists(app.WorkDir() + "/" + name + ".wpf"));
        EXPECT_FALSE(std::filesystem::exists(app.WorkDir() + "/" + name + ".wpf.tmp"));
    };
    return op;
}

Operation FactoryDefault()
{
    return Confirmed([](App& app) { return app.Request("MENU option_item_reset_default") == "OK"; });
}

// A sample profile file opened through the row: the whole configuration, or a scene's.
Operation Push(const std::string& extension, const std::string& row, size_t commands = 0)
{
    Operation op;
    op.commands = commands;
    op.prepare = [=](App& app) {
        return CopyFile(std::string(BRISA_PROFILE_SAMPLES) + "/sample" + extension, app.WorkDir() + "/push" + extension) &&
               app.Request("MENU " + row) == "OK" && app.FocusWindowTitled("Open") && app.Type("push" + extension);
    };
    return op;
}

// The sample's ten scenes with their names and stores, then the live state.
Operation WholePush() { return Push(".wpf", "scene_item_load_whole", 5334); }

Operation ProfilePush() { return Push(".spf", "scene_item_load_file"); }

Operation FirmwareImage()
{
    Operation op;
    op.prepare = [](App& app) {
        const std::string file = "BrisaDSP_FLASH_UPG.bin";
        if (!CopyFile(std::string(BRISA_SIM_FIRMWARE) + "/" + file, app.WorkDir() + "/" + file)) return false;
        if (app.Request("MENU option_item_firmware_upgrade") != "OK" ||
            !WaitFor([&] { return app.Control("file_btn", "updatefwwnd").visible; }, kBoundMs))
            return false;
        return app.Click("file_btn", "updatefwwnd") && app.FocusWindowTitled("Open") && app.Type(file) && app.Key("Return") &&
               WaitFor([&] { return app.Control("file_path_edt", "updatefwwnd").text.find(file) != std::string::npos; });
    };
    op.go = [](App& app) { return app.Click("update_btn", "updatefwwnd"); };
    op.noticeWindow = "updatefwwnd";
    op.boundMs = 2 * kBoundMs;
    op.waitScale = 25;
    op.readsBack = false;
    op.noticeControl = "update_tips";
    // A failed image may be tried again or the window closed.
    op.whileTold = [](App& app) { EXPECT_TRUE(app.Control("closebtn", "updatefwwnd").enabled); };
    op.close = [](App& app) {
        return app.Click("closebtn", "updatefwwnd") && WaitFor([&] { return !app.Window("updatefwwnd").found; });
    };
    return op;
}

Operation ForcedUpdate()
{
    Operation op = FirmwareImage();
    op.prepare = [](App& app) {
        return app.SetFirmware(1, 24) && app.Unplug() && MessageBoxShown(app) && ClickBoxButton(app, "confirm_btn") &&
               app.Plug() && MessageBoxShown(app) && ClickBoxButton(app, "confirm_btn") &&
               WaitFor([&] { return app.Control("update_btn", "updatefwwnd").enabled; });
    };
    op.boundMs = 4 * kBoundMs;
    return op;
}

bool OutputsPage(App& app)
{
    return app.Control("btn_reset_output", kMain).visible ||
           (app.Click("tab_outputs", kMain) && WaitFor([&] { return app.Control("btn_reset_output", kMain).visible; }));
}

// A pair of outputs bridged, with its first output muted first: the mute is
// the last thing the bridge copies to the second. Each row takes a pair no
// row before it left bridged.
Operation Bridge(int pair)
{
    Operation op;
    const std::string first = std::to_string(2 * pair), second = std::to_string(2 * pair + 1);
    const std::string button = "ch_bridge_" + std::to_string(pair);
    op.prepare = [=](App& app) {
        if (!app.Control("ch_mute_" + first, kMain).selected && !app.Click("ch_mute_" + first, kMain)) return false;
        return WaitFor([&] { return app.Params(0)["out" + first + ".mute"] == 1; }) &&
               !app.Control("ch_mute_" + second, kMain).selected && !app.Control(button, kMain).selected &&
               OutputsPage(app);
    };
    op.go = [=](App& app) { return app.Click(button, kMain); };
    return op;
}

// A box of a unit window the menu row opens (else CH3's volume) typed over and entered after a value
// taken, with a knob report read since. Untaken: the box shows what the unit took, its window closed
// with the link and opened again, and the notice is not answered by the Enter meant for the box.
Operation TypedBox(const std::string& menuRow = "", const std::string& window = kMain, const std::string& box = "edit_ch_volume_2")
{
    Operation op;
    const auto held = std::make_shared<std::string>();
    const auto open = [=](App& app) {
        return (menuRow.empty() ? OutputsPage(app) : app.Request("MENU " + menuRow) == "OK") && WaitFor([&] { return app.Control(box, window).visible; });
    };
    const auto typeIn = [=](App& app, const std::string& text) {
        bool cleared = app.Click(box, window) && app.Key("End");
        for (int i = 0; i < 8 && cleared; ++i) cleared = app.Key("BackSpace");
        return cleared && app.Type(text, box, window);
    };
    op.prepare = [=](App& app) {
        const int knob = app.Control("slider_main_volume", kMain).value == -30 ? -31 : -30;
        const bool taken = open(app) && typeIn(app, "-45") && app.Key("Return") && app.TurnKnob(knob) &&
                           WaitFor([&] { return app.Control("slider_main_volume", kMain).value == knob; });
        *held = app.Control(box, window).text;
        return taken && typeIn(app, "-49");
    };
    op.whileTold = [=](App& app) {
        EXPECT_TRUE(app.Key("Return"));
        EXPECT_EQ(menuRow.empty() ? *held : "", app.Control(box).text) << box;
    };
    op.close = [=](App& app) {
        const bool opened = menuRow.empty() || open(app);
        EXPECT_EQ(*held, app.Control(box, window).text) << box << " opened again";
        return menuRow.empty() || (opened && app.Click("closebtn", window) && WaitFor([&] { return !app.Window(window).found; }));
    };
    return op;
}

Operation OutputReset()
{
    return Confirmed([](App& app) { return OutputsPage(app) && app.Click("btn_reset_output", kMain); });
}

// The connect button's status read of a disconnected program.
Operation StatusRead()
{
    Operation op;
    op.prepare = [](App& app) {
        return app.Click("btnConnect", kMain) && WaitFor([&] { return IsDisconnected(app); });
    };
    op.go = [](App& app) { return app.Click("btnConnect", kMain); };
    return op;
}

// An edit the unit leaves unanswered (its mute button clicked), and while
// its exchange still waits, the whole of op: whatever op starts or closes
// never waits for that exchange on the UI thread. The reply's wait is held
// open from the edit's write to op's last action, however long op takes.
Operation BehindSilentEdit(Operation op, const std::string& mute)
{
    const auto begin = op.prepare, end = op.go;
    op.prepare = [mute](App& app) { return app.Control(mute, kMain).visible; };
    op.go = [=](App& app) {
        const auto held = [&](const char* what) { return WaitFor([&] { return app.Request(what) == "OK 1"; }); };
        return app.Request("HOLDWRITES 1") == "OK" && app.Click(mute, kMain) && held("HELDWRITES") &&
               app.Request("HOLDREADS 1") == "OK" && app.Request("HOLDWRITES 0") == "OK" && held("HELDREADS") &&
               begin(app) && end(app) && app.Request("HOLDREADS 0") == "OK";
    };
    op.waitScale = 50;
    return op;
}

// An edit held on its way to the unit (its mute button clicked) whose write
// then fails alone, with the whole of op queued behind it: the edit is
// told, not op.
Operation BehindFailedEdit(Operation op, const std::string& mute)
{
    const auto begin = op.prepare, end = op.go;
    // The edit's own write held before op begins: no other exchange is the one that fails.
    op.prepare = [=](App& app) {
        return app.Request("HOLDWRITES 1") == "OK" && app.Click(mute, kMain) &&
               WaitFor([&] { return app.Request("HELDWRITES") == "OK 1"; }) && begin(app);
    };
    op.go = [=](App& app) {
        return end(app) && WaitFor([&] { return app.Window("loadingwnd").found; }) && app.Request("HOLDWRITES 0") == "OK";
    };
    op.waitScale = 100;  // a save waits for the edit's write before it stores
    return op;
}

// Flap: the unit leaves and is back within a second. WriteFail: its writes
// fail while it stays listed (EarlierWriteFail: the one write before the
// operation's), ReadFail: its reads after it took the command (IdleReadFail:
// from now, no command asked), and the link is let go. AltF4, Close: the loading window gets Alt+F4 or another program's
// WM_CLOSE there, MainClose the main window, and is asked for the session's
// end, DisplayChange the main window; the job holds the program until it ends, the unit answering.
enum class Fault { Unplug, Flap, Silent, WriteFail, EarlierWriteFail, ReadFail, IdleReadFail, AltF4, Close, MainClose, DisplayChange };

struct FaultRow {
    const char* name;
    std::function<Operation()> operation;
    Fault fault;
    int atCommand;       // the unit fails at this command of the operation, counted from 1; past its last, pulled once it took them all
    const char* notice;  // the language key of what the program then says; null: nothing
    const char* held = nullptr;  // a window another program closes meanwhile, in vain
};

const FaultRow kRows[] = {
    // The scene's name reaches the unit, its store does not.
    {"scene save, unplugged", [] { return SceneSave(1, "ABC"); }, Fault::Unplug, 2, "save_scene_cut"},
    {"scene save, unplugged and back", [] { return SceneSave(4, "FLP"); }, Fault::Flap, 2, "save_scene_cut"},
    {"scene save, silent", [] { return SceneSave(2, "XYZ"); }, Fault::Silent, 2, "save_scene_fail"},
    {"scene save, silent, closed", [] { Operation op = SceneSave(3, "CLS"); op.waitScale = 25; return op; }, Fault::Silent, 2, "save_scene_fail", "scenewnd"},
    {"scene load, unplugged at its recall", SceneLoad, Fault::Unplug, 1, "load_scene_cut"},
    {"scene load, unplugged and back after its recall", SceneLoad, Fault::Flap, 2, "device_left_after_job"},
    {"scene load, silent to the recall", SceneLoad, Fault::Silent, 1, "load_scene_fail"},
    // Past the handshake: the recall is not shown as made.
    {"scene load, silent during its read", SceneLoad, Fault::Silent, 40, "load_scene_fail"},
    // In the third stored scene, then in the live read after the tenth.
    {"whole save, unplugged", [] { return WholeSave("whole1"); }, Fault::Unplug, 400, "whole_save_cut"},
    {"whole save, unplugged and back", [] { return WholeSave("whole10"); }, Fault::Flap, 300, "whole_save_cut"},
    {"whole load, unplugged and back", WholePush, Fault::Flap, 1500, "profile_push_cut"},
    {"whole load, unplugged and back in its closing wait", [] { Operation op = WholePush(); op.waitScale = 25; return op; }, Fault::Flap, 5335, "device_left_after_job"},
    {"whole save, silent", [] { return WholeSave("whole2"); }, Fault::Silent, 400, "whole_save_fail"},
    {"whole save, silent in the live read", [] { return WholeSave("whole3"); }, Fault::Silent, 1700, "whole_save_fail"},
    {"factory default, silent", FactoryDefault, Fault::Silent, 1, "factory_reset_fail"},
    {"factory default, silent, closed", [] { Operation op = FactoryDefault(); op.waitScale = 25; return op; }, Fault::Silent, 1, "factory_reset_fail", kMain},
    // Gone before it confirmed the reset: no restart follows.
    {"factory default, unplugged", FactoryDefault, Fault::Unplug, 1, "factory_reset_cut"},
    {"factory default, unplugged and back", FactoryDefault, Fault::Flap, 1, "factory_reset_cut"},
    {"profile push, unplugged", ProfilePush, Fault::Unplug, 100, "profile_push_cut"},
    {"profile push, silent", ProfilePush, Fault::Silent, 100, "profile_push_fail"},
    // Gone at the first command, which it never took.
    {"profile push, unplugged before it took any", ProfilePush, Fault::Unplug, 1, "profile_push_none"},
    {"whole load, unplugged before it took any", WholePush, Fault::Unplug, 1, "profile_push_none"},
    {"bridge, unplugged before it took any", [] { return Bridge(5); }, Fault::Unplug, 1, "outputs_none"},
    // At the first scene's store, which the push does not wait past.
    {"whole push, silent at a scene's store", WholePush, Fault::Silent, 485, "profile_push_fail"},
    {"bridge, unplugged", [] { return Bridge(2); }, Fault::Unplug, 10, "outputs_cut"},
    {"bridge, silent", [] { Operation op = Bridge(3); op.askings = 1; return op; }, Fault::Silent, 10, "outputs_fail"},
    {"output reset, unplugged", OutputReset, Fault::Unplug, 10, "outputs_cut"},
    {"output reset, unplugged and back", OutputReset, Fault::Flap, 10, "outputs_cut"},
    {"output reset, silent", OutputReset, Fault::Silent, 10, "outputs_fail"},
    {"scene load, writes failing at its recall", SceneLoad, Fault::WriteFail, 1, "load_scene_fail"},
    {"output reset, writes failing", OutputReset, Fault::WriteFail, 10, "outputs_fail"},
    {"whole save, writes failing", [] { return WholeSave("whole11"); }, Fault::WriteFail, 400, "whole_save_fail"},
    {"typed volume, writes failing", [] { return TypedBox(); }, Fault::WriteFail, 1, "edit_not_taken"},
    {"compressor threshold, writes failing", [] { return TypedBox("advance_item_compressors_on", "CompressorsOnWnd", "edit_threshold_3"); }, Fault::WriteFail, 1, "edit_not_taken"},
    {"noise threshold, writes failing", [] { return TypedBox("advance_item_noise_threshold", "msgwnd", "value_edt"); }, Fault::WriteFail, 1, "edit_not_taken"},
    {"bridge, writes failing", [] { return Bridge(4); }, Fault::WriteFail, 1, "outputs_fail"},
    {"idle, reads failing", [] { Operation op; op.prepare = op.go = [](App&) { return true; }; return op; }, Fault::IdleReadFail, 1, "device_no_answer"},
    {"bridge behind an edit whose write failed", [] { Operation op = Bridge(5); op.prepare = OutputsPage; return BehindFailedEdit(op, "ch_mute_12"); }, Fault::EarlierWriteFail, 1, "edit_not_taken"},
    {"scene save behind an edit whose write failed", [] { return BehindFailedEdit(SceneSave(5, "BHS"), "ch_mute_12"); }, Fault::EarlierWriteFail, 1, "edit_not_taken"},
    {"typed volume, its answer lost", [] { return TypedBox(); }, Fault::ReadFail, 1, "device_no_answer"},
    {"connect, unplugged during the status read", StatusRead, Fault::Unplug, 40, "device_plugout"},
    {"connect, silent during the status read", StatusRead, Fault::Silent, 40, "device_connect_fail"},
    // The link closed and opened again, a recall and a whole save started.
    {"reconnect behind an edit left unanswered", [] { return BehindSilentEdit(StatusRead(), "ch_mute_15"); },
     Fault::Silent, 1, "device_connect_fail"},
    {"scene load behind an edit left unanswered", [] { return BehindSilentEdit(SceneLoad(), "ch_mute_14"); },
     Fault::Silent, 1, "load_scene_fail"},
    {"whole save behind an edit left unanswered", [] { return BehindSilentEdit(WholeSave("whole4"), "ch_mute_13"); },
     Fault::Silent, 1, "whole_save_fail"},
    // Each save writes its file after the jobs before it.
    {"whole load, Alt+F4", WholePush, Fault::AltF4, 200, nullptr},
    {"whole load, WM_CLOSE", WholePush, Fault::Close, 200, nullptr},
    {"whole save, Alt+F4", [] { return WholeSave("whole5"); }, Fault::AltF4, 200, "profile_save_ok"},
    {"whole save, WM_CLOSE", [] { return WholeSave("whole6"); }, Fault::Close, 200, "profile_save_ok"},
    {"whole load, the main window closed", WholePush, Fault::MainClose, 200, nullptr},
    {"firmware image, the main window closed", FirmwareImage, Fault::MainClose, 20, "update_ok"},
    {"forced update, the main window closed", ForcedUpdate, Fault::MainClose, 20, "update_finish"},
    // The first scene's recall is not asked again; a get is, and the next
    // asking after it is the third.
    {"whole save, silent from the start, at full waits",
     [] { Operation op = WholeSave("whole7"); op.waitScale = 100; op.boundMs = 33000; op.askings = 1; return op; }, Fault::Silent, 1, "whole_save_fail"},
    {"whole save, silent from the first scene's last get, at full waits",
     [] { Operation op = WholeSave("whole8"); op.waitScale = 100; op.boundMs = 35000; op.askings = 3; return op; }, Fault::Silent, 164, "whole_save_fail"},
    {"firmware block, unplugged", FirmwareImage, Fault::Unplug, 12, "update_fail"},
    {"firmware block, silent", FirmwareImage, Fault::Silent, 12, "update_fail"},
    {"whole load, the display changed", WholePush, Fault::DisplayChange, 200, nullptr},  // last: the copy started again carries on
    {"whole save, the display changed", [] { return WholeSave("whole9"); }, Fault::DisplayChange, 200, "profile_save_ok"},
};

// Every output's mute and phase as the unit holds them.
void ExpectShowsTheUnit(App& app)
{
    std::map<std::string, long> unit = app.Params(0);
    for (int ch = 0; ch < 16; ++ch) {
        const std::string n = std::to_string(ch);
        EXPECT_EQ(unit["out" + n + ".mute"] != 0, app.Control("ch_mute_" + n, kMain).selected) << "output " << ch;
        EXPECT_EQ(unit["out" + n + ".phase"] != 0, app.Control("ch_phase_" + n, kMain).selected) << "output " << ch;
    }
}

class FaultE2E : public ::testing::TestWithParam<size_t> {
protected:
    void Start()
    {
        app.reset();  // gone before the next starts: one instance at a time
        app.reset(new App(LaunchOptions()));
        ASSERT_TRUE(app->Started()) << app->Error();
        ASSERT_TRUE(WaitFor([&] { return IsConnected(*app); }, kBoundMs));
    }

    void Run(const FaultRow& row)
    {
        const Operation op = row.operation();
        ASSERT_EQ("OK", app->Request("WAITSCALE " + std::to_string(op.waitScale)));
        ASSERT_TRUE(op.prepare(*app)) << Describe(*app);
        const bool flap = row.fault == Fault::Flap, unplug = row.fault == Fault::Unplug || flap,
                   writeFail = row.fault == Fault::WriteFail || row.fault == Fault::EarlierWriteFail,
                   idleReadFail = row.fault == Fault::IdleReadFail,
                   letGo = writeFail || row.fault == Fault::ReadFail || idleReadFail, closed = row.fault >= Fault::AltF4;
        const char* const faultWords[] = {" UNPLUG", " UNPLUG", " SILENT", " WRITEFAIL", " WRITEFAILONCE", " READFAIL"};
        // An image slow enough that the close comes before its end.
        ASSERT_EQ("OK", app->Request(row.fault == Fault::MainClose ? "PACE 30" : "PACE 0"));
        const bool afterLast = op.commands > 0 && static_cast<size_t>(row.atCommand) > op.commands;
        if (!closed && !afterLast) {
            ASSERT_EQ("OK", app->Request(idleReadFail ? "READFAIL"
                                                      : "FAULTAT " + std::to_string(row.atCommand) + faultWords[static_cast<int>(row.fault)]));
        }
        const size_t mark = app->Mark();
        // Alt+F4 is pressed on the loading window while the unit holds the job's write after the row's
        // command, a hold armed before the job starts: on a loaded machine the job could otherwise end
        // before the key, which would then close whatever is in front, or before a later hold.
        ASSERT_TRUE(row.fault != Fault::AltF4 || app->Request("HOLDWRITES 1 " + std::to_string(row.atCommand)) == "OK");
        ASSERT_TRUE(op.go(*app)) << Describe(*app);
        // The job's own pace stretches its waits, up to the kit's cap.
        const auto received = [&] { return static_cast<long>(app->Mark()); };
        auto reached = [&](size_t n) { return WaitWhileAdvancing([&] { return app->Mark() >= mark + n; }, received, kBoundMs); };
        // A write that failed did not reach it.
        ASSERT_TRUE(reached(afterLast ? op.commands : row.atCommand - (writeFail || idleReadFail ? 1 : 0))) << "the operation did not reach the unit" << Describe(*app);
        const auto faultAt = std::chrono::steady_clock::now();
        ASSERT_TRUE(!afterLast || app->Unplug());
        // Back as soon as the cut job has ended.
        const size_t plugged = app->Mark();
        ASSERT_TRUE(!flap || (WaitFor([&] { return !app->Window("loadingwnd").found; }, kBoundMs) && app->Plug()));
        EXPECT_TRUE(!row.held || (app->Request("CLOSE " + std::string(row.held)).rfind("OK", 0) == 0 && app->Window(row.held).found && !app->Window(kMain).enabled)) << Describe(*app);
        const std::string closing = row.fault == Fault::Close ? "loadingwnd" : kMain;
        const bool restart = row.fault == Fault::DisplayChange;
        ASSERT_TRUE(!restart || std::remove((app->WorkDir() + "/probe.port").c_str()) == 0);  // the new copy announces itself there
        if (closed) {
            if (row.fault == Fault::AltF4) {
                ASSERT_TRUE(WaitFor([&] { return app->Request("HELDWRITES") == "OK 1"; })) << "the job's write held";
                const std::string before = app->Request("SYSCLOSES");
                ASSERT_EQ(0u, before.rfind("OK ", 0)) << before;
                ASSERT_TRUE(app->FocusWindowTitled("loadingwnd") && app->Key("alt+F4"));
                ASSERT_TRUE(WaitFor([&] { return app->Request("SYSCLOSES") != before; })) << "the key reached no window";
                ASSERT_EQ("OK", app->Request("HOLDWRITES 0"));
            } else {
                ASSERT_EQ(0u, app->Request((restart ? "DISPLAYCHANGE " : "CLOSE ") + closing).rfind("OK", 0));
            }
            EXPECT_TRUE(row.fault != Fault::MainClose || app->Request("ENDSESSION " + closing) == "OK 0") << "session end";
            // Long after the close came, the job still runs behind its window.
            ASSERT_TRUE(reached(2 * row.atCommand));
            EXPECT_TRUE(app->Window(op.noticeWindow == "msgwnd" ? "loadingwnd" : op.noticeWindow).found && !app->Window(kMain).enabled) << Describe(*app);
            EXPECT_TRUE(reached(op.commands)) << "every command of the job";
            EXPECT_TRUE(LoadingEnds(*app, 3 * kBoundMs)) << "the job's loading window after the unit's last frame";
        }

        // The operation ends with the program's notice, the loading window gone.
        std::string told;
        EXPECT_TRUE(WaitWhileAdvancing([&] {
            const ControlState notice = app->Control(op.noticeControl, op.noticeWindow);
            told = notice.text;
            return (!row.notice || (notice.visible && told == SkinText("en", row.notice))) && !app->Window("loadingwnd").found &&
                   (!flap || IsConnected(*app));
        }, received, op.boundMs)) << "told \"" << told << "\";" << Describe(*app);
        // The silence rule: the job gives up after as many unanswered askings
        // (the link's own connect check, which the unit never answers, aside).
        if (op.askings > 0) {
            int askings = 0;
            long budgetMs = kRuleMarginMs;
            for (const UnitFrame& f : app->FramesSince(mark + row.atCommand - 1)) {
                const std::string text = f.Text();
                if (text.rfind("03 1f", 0) == 0) continue;
                ++askings;
                budgetMs += ReplyWaitMs(text) * op.waitScale / 100;
            }
            EXPECT_EQ(op.askings, askings) << "askings from the fault on";
            // The rule's own budget: each asking's whole reply wait, and a margin for the end's word.
            const auto heldMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - faultAt).count();
            EXPECT_LE(heldMs, budgetMs) << "the busy window held the installer";
        }
        // The copy started again reads the unit anew: its own frames pace the wait.
        EXPECT_TRUE(!restart || ((!row.notice || ClickBoxButton(*app, "confirm_btn")) && app->FollowRestart(kBoundMs) &&
                                 WaitWhileAdvancing([&] { return IsConnected(*app); }, received, kBoundMs)))
            << "started again once answered";
        if (restart) return;
        EXPECT_EQ("OK pong", app->Request("PING")) << "the window answers";
        EXPECT_EQ("OK 0 0", app->Request("UIEXCHANGES")) << "the UI thread waited on the unit";
        if (op.whileTold && !closed) op.whileTold(*app);
        if (op.noticeWindow == "msgwnd" && row.notice) {
            ASSERT_TRUE(ClickBoxButton(*app, "confirm_btn"));
        }
        if (row.fault == Fault::MainClose) {
            EXPECT_TRUE(WaitFor([&] { app->Request("CLOSE " + closing); return app->WaitExit(1000); }, kBoundMs));
            app.reset();
        }
        if (closed) return;
        if (op.close) {
            ASSERT_TRUE(op.close(*app));
        }

        if (!op.readsBack) {
            app.reset();
            return;
        }
        // The unit back: the program reads it again and shows what it holds.
        const size_t back = flap ? plugged : app->Mark();
        // Writes or reads that failed let the link go with their word: nothing
        // shown stays "Connected" unread. The removal then ends the unit's fault.
        if (letGo) {
            EXPECT_TRUE(IsDisconnected(*app)) << "the link let go" << Describe(*app);
            ASSERT_TRUE(app->Unplug());
        }
        if ((unplug && !flap) || letGo) {
            ASSERT_TRUE(app->Plug());
        } else {
            ASSERT_TRUE(app->SetSilent(false));
            ASSERT_TRUE(WaitFor([&] { return IsConnected(*app) || IsDisconnected(*app); }, kBoundMs));
            if (IsDisconnected(*app)) {
                ASSERT_TRUE(app->Click("btnConnect", kMain) && WaitFor([&] { return Sent(*app, back, "03 08 bb"); })) << Describe(*app);
            }
        }
        ASSERT_TRUE(WaitFor([&] { return IsConnected(*app) && Sent(*app, back, "03 08 bb"); }, kBoundMs))
            << "read again" << Describe(*app);
        ExpectShowsTheUnit(*app);
    }

    std::unique_ptr<App> app;
};

// The table in parts, each its own program run: a whole pass outlasts a
// test program's time on a loaded machine.
constexpr size_t kParts = 3;

TEST_P(FaultE2E, EveryOperationEndsCleanlyAndTheUnitIsReadBack)
{
    E2E_SKIP_WITHOUT_WINDOWS_BUILD();
    for (size_t i = GetParam(); i < std::size(kRows); i += kParts) {
        const FaultRow& row = kRows[i];
        SCOPED_TRACE(row.name);
        FailedSteps();  // what rows before it left
        if (!app || !IsConnected(*app)) {
            ASSERT_NO_FATAL_FAILURE(Start());
        }
        Run(row);
        // A row stopped half-way leaves the program to a fresh start.
        if (HasFatalFailure() && app) app.reset();
    }
    // The copy the program started again ends with its App: a fresh start
    // finds no other instance in the prefix.
    ASSERT_NO_FATAL_FAILURE(Start());
}

INSTANTIATE_TEST_SUITE_P(Part, FaultE2E, ::testing::Range<size_t>(0, kParts));

} // namespace
} // namespace e2e
