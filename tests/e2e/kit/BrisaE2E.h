// The end-to-end kit: starts BrisaDSP_sim.exe under Wine on a private Xvfb,
// drives it with real X input and reads its windows and the simulated unit
// through the program's test probe (tests/support/SimProbe.h).
//
// A test program gets, per DPI it uses, one Xvfb and one private copy of the
// Wine prefix with its own wineserver, made on first use and removed when the
// program ends: instances at one DPI share the single-instance mutex. Screen
// sizes follow the program's DPI rule: 96 -> 1600x900, 120 -> 1920x1080,
// 144 -> 2560x1440.
//
// Usage:
//
//   TEST(MainWindow, MuteSendsItsFrame) {
//       E2E_SKIP_WITHOUT_WINDOWS_BUILD();
//       e2e::App app({});                       // English, 96 DPI
//       ASSERT_TRUE(app.Started()) << app.Error();
//       ASSERT_TRUE(e2e::WaitFor([&] { return app.Control("ch_mute_0").visible; }));
//       const size_t mark = app.Mark();
//       ASSERT_TRUE(app.Click("ch_mute_0"));
//       std::vector<e2e::UnitFrame> frames;
//       ASSERT_TRUE(e2e::WaitFor([&] { return !(frames = app.FramesSince(mark)).empty(); }));
//       EXPECT_EQ(frames[0].Text(), "01 09 bb 000001");
//   }
//
// Every wait is WaitFor with a bound; nothing sleeps a fixed time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Why the end-to-end tests cannot run here (the Windows build is missing),
// or empty when they can.
std::string MissingWindowsBuild();

#define E2E_SKIP_WITHOUT_WINDOWS_BUILD()                                           \
    do {                                                                           \
        const std::string e2eMissing = ::e2e::MissingWindowsBuild();               \
        if (!e2eMissing.empty()) GTEST_SKIP() << e2eMissing;                       \
    } while (0)

// Polls condition until it holds or boundMs passed; true when it held. A
// wait that ends without it is kept as a failed step named by its line,
// with the last probe request the condition made and its reply.
bool WaitFor(const std::function<bool()>& condition, int boundMs = 15000, const char* file = __builtin_FILE(),
             int line = __builtin_LINE());
// True when condition did not come within boundMs (nothing reached the unit,
// no box opened); one that came is kept as a failed step, one that did not
// keeps none.
bool NeverWithin(const std::function<bool()>& condition, int boundMs, const char* file = __builtin_FILE(),
                 int line = __builtin_LINE());
// Waits for condition while the work goes on: false once progress (a count
// the work moves, such as the frames the unit received) stood still for
// stallMs, or once 3 * stallMs passed in all: a loaded machine makes a long
// job slower, not failed, and a job that never stops fails by its line.
bool WaitWhileAdvancing(const std::function<bool()>& condition, const std::function<long()>& progress,
                        int stallMs = 30000, const char* file = __builtin_FILE(), int line = __builtin_LINE());
// The kit steps that failed since the last call (clicks, waits, keys,
// typing, probe requests), a line each with what it waited for and what it
// saw. Every failed check of a test prints them after its message.
std::string FailedSteps();

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    int CenterX() const { return (left + right) / 2; }
    int CenterY() const { return (top + bottom) / 2; }
};

// A named control of a skin window, as the probe reads it.
struct ControlState {
    bool found = false;
    std::string type;
    std::string text;   // UTF-8
    bool visible = false;
    bool enabled = false;
    bool selected = false;
    bool hasValue = false;  // sliders and progress bars
    int value = 0, min = 0, max = 0;
    bool hasIndex = false;  // combos and lists
    int index = -1;
    Rect rect;  // screen pixels
    // The window a click at its centre reaches when it is another window
    // ("title (class)"), which covers it; empty when it is its own.
    std::string over;
    std::string xwindow;  // the X window of its window, as X tools print it
    // Its window has a part left to paint: a layout asked for is made at the
    // paint, so until then the rectangle may not be where the click lands.
    bool dirty = false;
};

struct WindowState {
    bool found = false;
    unsigned long hwnd = 0;
    bool visible = false;
    bool enabled = false;  // takes input (false under a modal window)
    bool dirty = false;    // has a part left to paint
    Rect rect;
    std::string title;
    std::string className;
    std::string xwindow;  // as X tools print it
};

// A command the simulated unit received.
struct UnitFrame {
    uint8_t type = 0, subcommand = 0, optype = 0;
    std::vector<uint8_t> payload;
    long atMs = -1;  // when the unit took it, on its own clock
    // "01 09 bb 000001": type, subcommand, optype, payload, in hex.
    std::string Text() const;
};

struct ProcessResources {
    long gdi = -1, user = -1, threads = -1, replies = -1;
    long memoryKiB = -1;  // working set
    long faces = -1;      // composed image faces cached, one GDI bitmap each
    long images = -1;     // skin images the windows loaded on first use, one bitmap each
    long fonts = -1;      // fonts the windows made on demand
    long dcCache = -1;    // window DCs and regions, most held by the system's DC cache
};

struct LaunchOptions {
    std::string program = "BrisaDSP_sim.exe";  // in the Windows build folder
    int dpi = 96;                              // 96, 120 or 144
    int lan = 0;                               // [config] "lan"; negative: no settings file
    bool keepSettings = false;                 // the settings file as the last run left it (lan unused)
    bool saveLog = false;                      // "savelog.ini" in the working folder
    std::vector<std::string> markerFiles;      // more empty files there
    std::string workDir;                       // reuse a folder; empty: a new one
};

class App {
public:
    // Starts the program and connects to its probe (bounded; see Started).
    explicit App(const LaunchOptions& options);
    ~App();  // kills the program if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    bool Started() const;
    const std::string& Error() const;
    const std::string& WorkDir() const;
    std::string Display() const;

    // Skin windows. window: a title ("Brisa DSP Audio"), "#<hwnd hex>", or
    // empty for the first visible window holding the control.
    ControlState Control(const std::string& name, const std::string& window = "");
    // Every named control of a window, in tree order.
    std::vector<std::pair<std::string, ControlState>> Controls(const std::string& window);
    WindowState Window(const std::string& title);
    std::vector<WindowState> Windows();

    // Real X input at a control's centre (or at a point of the screen), once
    // its window has painted and nothing stays over it: one click, which the
    // caller then waits to see the effect of, toggles included.
    bool Click(const std::string& name, const std::string& window = "");
    bool DoubleClick(const std::string& name, const std::string& window = "");
    bool RightClick(const std::string& name, const std::string& window = "");
    bool ClickAt(int x, int y, int button = 1, int repeat = 1);
    // The pointer to a point of the screen, no button: hovering.
    bool MoveTo(int x, int y);
    // The pointer through the points at a hand's pace, all in one go: a row
    // on the way is crossed as quickly on a loaded machine as on an idle one.
    bool MoveAlong(const std::vector<std::pair<int, int>>& points);
    // The left button pressed at a point, and let go wherever the pointer is
    // then: a drag whose moves the test paces itself.
    bool Press(int x, int y);
    bool Release();
    // ASCII text, typed into whatever has the focus.
    bool Type(const std::string& text);
    // Types into a box the row emptied or selected, each key once the box
    // holds every character before it, and waits until the box holds exactly
    // text; a failed step says what it held. Every character outside ASCII
    // comes from the keys the kit bound on the private screen; a character
    // the keymap lacks fails before any key.
    bool Type(const std::string& text, const std::string& box, const std::string& window = "");
    bool Key(const std::string& keys);  // xdotool key names: "Return", "ctrl+a"
    // Waits for a top-level window of that exact title that the probe does
    // not see (a system dialog) and gives it the keyboard focus.
    bool FocusWindowTitled(const std::string& title);
    // Wheel notches over a control: positive away from the user (up).
    bool Wheel(const std::string& name, int notches, const std::string& window = "");
    // Presses at (x0, y0), moves in steps over durationMs, releases at (x1, y1).
    bool Drag(int x0, int y0, int x1, int y1, int steps = 10, int durationMs = 300);

    // The screen area of a window as PNG, once nothing is left to paint in
    // it; a paint that did not end within 15 s is noted as a failed step.
    bool Screenshot(const std::string& window, const std::string& pngPath);
    // The X server shows the window where the program has it (shown: where
    // it does): a window just moved may stand at its old place a while.
    bool ShownWhereItIs(const WindowState& window, Rect* shown = nullptr);
    // The log's console window stopped as a hung one is (or let go on): its
    // process is found by this program's probe file, which Wine hands on.
    bool HoldConsole(bool hold);

    // The simulated unit.
    size_t Mark();
    std::vector<UnitFrame> FramesSince(size_t mark);
    bool Unplug();
    bool Plug();
    bool SetModel(int id);
    bool SetFirmware(int main, int slave);
    bool TurnKnob(int db);
    bool SetSilent(bool silent);
    // "key=value" of the unit's identity, unit-wide values and one scene.
    std::map<std::string, long> Params(int scene = 0);

    // The process's counts; a count the probe gave up on under load is asked
    // for again (-1 fields only when it never answered).
    ProcessResources Resources();

    // The process.
    bool Running();
    // Kills the process and waits for its end; a copy it started of itself
    // and followed is ended through the probe's QUIT.
    bool Kill();
    // Waits for the process to end by itself; exitCode gets its exit code.
    bool WaitExit(int boundMs, int* exitCode = nullptr);
    // Requests go to the copy the program started of itself as it ended (the port file removed before); false past boundMs.
    bool FollowRestart(int boundMs);

    // One raw probe request: its first line, and the lines of a list reply.
    std::string Request(const std::string& line, std::vector<std::string>* list = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

// The text of a language key ("mutex_tips") in a language file of the
// skin ("en", "cn", "ru"); empty when the key is missing.
std::string SkinText(const std::string& language, const std::string& key);
// The main window idle, its connect button showing the text of key
// ("btn_connected", "btn_disconnected") in language and no loading window
// open; false without the button or the key.
bool LinkShows(App& app, const std::string& key, const std::string& language = "en");
inline bool IsConnected(App& app) { return LinkShows(app, "btn_connected"); }
inline bool IsDisconnected(App& app) { return LinkShows(app, "btn_disconnected"); }
// Waits for a job's loading window to end: while the unit receives the
// job's frames (a loaded machine makes it slower, up to capMs in all), and
// for kLoadingEndMs after the last one. A window still open then, or frames
// still coming at capMs, fails a step named by the caller's line.
constexpr int kLoadingEndMs = 15000;
bool LoadingEnds(App& app, int capMs = 60000, const char* file = __builtin_FILE(), int line = __builtin_LINE());
// Disconnects with the connect button and connects again, the unit read
// anew; one click each. False when the program
// does not show connected within boundMs.
bool Reconnect(App& app, int boundMs = 30000);
// The scene window opened through its menu row, row chosen once the list is
// laid out inside the window, its confirm button clicked; then waits for next.
bool ChooseScene(App& app, const std::string& menuRow, int row, const std::function<bool()>& next);
// build/screenshots of the source tree, made when missing.
std::string ScreenshotFolder();

// Checks of a screenshot's own painting.
struct PaintCheck {
    bool loaded = false;
    int width = 0, height = 0;
    double blackShare = 0;   // share of near-black pixels
    int colours = 0;         // distinct colours (counted up to 4096)
    bool painted = false;    // loaded, not mostly black, more than a few colours
};
PaintCheck CheckPainting(const std::string& pngPath);
// Text-like edges in an area of the PNG (pixels relative to the image): at
// least three rows of its inside (3 pixels in from the sides) that sharp
// colour changes cross at least twice, as glyph strokes do.
bool HasTextEdges(const std::string& pngPath, const Rect& area);
// Pixels of an area of the PNG (relative to the image) whose brightest
// colour channel reaches level: a light mark such as an arrow on a dark ground.
int BrightPixels(const std::string& pngPath, const Rect& area, int level);

// Pictures a window of the program (a title or "#<hwnd hex>") into png once
// it paints, and checks that every visible control with a text has it drawn.
// Empty when so; else what is wrong, a line each.
std::string PictureWindow(App& app, const std::string& window, const std::string& png);
// A UTF-8 text holding letters of another language's script than
// language's ("en", "cn", "ru"): Cyrillic outside Russian, Chinese outside
// Chinese. Latin letters (units, names) belong to every language.
bool InForeignScript(const std::string& text, const std::string& language);
// The first visible control of the window whose text is in a foreign script,
// as "name \"text\""; empty when none.
std::string ForeignScriptText(App& app, const std::string& window, const std::string& language);

}  // namespace e2e
