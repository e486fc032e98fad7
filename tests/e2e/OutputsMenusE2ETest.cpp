// The crossover, the output menu and the five popup menus of the main window,
// driven with real X input against BrisaDSP_sim.exe: the unit's log of
// received frames and the program's windows and log are the oracle.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {
namespace {

const char kTitle[] = "Brisa DSP Audio";
const char kMenuClass[] = "SkinMenuWnd";
const int kSlopeRowHeight = 16;

// The open menu windows, topmost last as the probe lists them.
std::vector<WindowState> Menus(App& app)
{
    std::vector<WindowState> menus;
    for (const WindowState& w : app.Windows())
        if (w.className == kMenuClass && w.visible) menus.push_back(w);
    return menus;
}

// The open menu window that is none of known (a sub-menu just opened).
WindowState NewestMenu(App& app, const std::vector<WindowState>& known)
{
    for (const WindowState& w : Menus(app)) {
        bool seen = false;
        for (const WindowState& k : known) seen = seen || k.hwnd == w.hwnd;
        if (!seen) return w;
    }
    return WindowState();
}

// The visible window of a class; found is false when there is none.
WindowState WindowOfClass(App& app, const std::string& className)
{
    for (const WindowState& w : app.Windows())
        if (w.className == className && w.visible) return w;
    return WindowState();
}

// Where a menu opens by its alignment: its top-left or top-right corner
// under its control's left or right edge.
bool UnderLeftEdge(const Rect& menu, const Rect& anchor) { return menu.left == anchor.left && menu.top == anchor.bottom; }
bool UnderRightEdge(const Rect& menu, const Rect& anchor)
{
    return menu.right == anchor.right && menu.top == anchor.bottom;
}
// Opening upward, its bottom a few pixels (scaled) above the box.
bool AboveLeftEdge(const Rect& menu, const Rect& anchor)
{
    return menu.left == anchor.left && menu.bottom < anchor.top && menu.bottom >= anchor.top - 8;
}

// A visible window other than the main window and the menus: a dialog that
// a menu row opened.
bool DialogOpen(App& app)
{
    for (const WindowState& w : app.Windows())
        if (w.visible && w.className != "MainWnd" && w.className != kMenuClass) return true;
    return false;
}

// The window a probe selector names by handle.
std::string Selector(const WindowState& w)
{
    char text[32];
    std::snprintf(text, sizeof text, "#%lx", w.hwnd);
    return text;
}

// The log is UTF-16LE; its ASCII lines are enough here.
bool LogHas(App& app, const std::string& text)
{
    std::ifstream in(app.WorkDir() + "/save.log", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string ascii;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i + 1] == 0) ascii += bytes[i];
    return ascii.find(text) != std::string::npos;
}

std::string Hex(std::initializer_list<int> bytes)
{
    std::string text;
    for (int b : bytes) {
        char two[4];
        std::snprintf(two, sizeof two, "%02x", b & 0xFF);
        text += two;
    }
    return text;
}

std::string Filter(int ch, int k, int type, int freq, int slope)
{
    return "01 05 bb " + Hex({0, 0, ch, k, type, freq >> 8, freq, slope});
}

std::vector<std::string> SetFramesSince(App& app, size_t mark)
{
    std::vector<std::string> texts;
    for (const UnitFrame& f : app.FramesSince(mark))
        if (f.optype == 0xbb) texts.push_back(f.Text());
    return texts;
}

class OutputsMenusE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        E2E_SKIP_WITHOUT_WINDOWS_BUILD();
        LaunchOptions options;
        options.saveLog = true;
        Launch(options);
    }

    // Started and done with its start-up read, which holds the window. The
    // log also goes to the console, which under Wine slows the read a great
    // deal on a loaded machine: it fails once the unit hears nothing more.
    void Launch(const LaunchOptions& options)
    {
        app.reset();
        app.reset(new App(options));
        ASSERT_TRUE(app->Started()) << app->Error();
        ASSERT_TRUE(WaitWhileAdvancing([&] { return LinkShows(*app, "btn_connected"); },
                                       [&] { return static_cast<long>(app->Mark()); }));
    }

    // Opens a menu by clicking its control and waits for it; the menu's
    // window and the control as they are once placed says the menu sits at
    // its control (a menu window is made first and moved to its anchor
    // after, and a window just shown may still be laid out), or as they are
    // when the bound ran out, for the checks that follow to tell.
    bool OpenMenu(const std::string& control, WindowState* menu, ControlState* anchor,
                  const std::function<bool(const Rect& menu, const Rect& anchor)>& placed)
    {
        if (!app->Click(control, kTitle)) return false;
        auto read = [&] {
            const std::vector<WindowState> menus = Menus(*app);
            if (menus.size() != 1) return false;
            *menu = menus[0];
            *anchor = app->Control(control, kTitle);
            return true;
        };
        if (!WaitFor(read)) return false;
        WaitFor([&] { return read() && placed(menu->rect, anchor->rect); });
        return true;
    }
    // Runs a row and lets the log reach its file: a channel change writes
    // more than the log keeps before flushing.
    void ChooseAndFlush(const std::string& row, const WindowState& menu)
    {
        ASSERT_TRUE(app->Click(row, Selector(menu)));
        ASSERT_TRUE(WaitFor([&] { return Menus(*app).empty(); }));
        ASSERT_TRUE(app->Click("ch_enable_0", kTitle));
    }
    // A row opens its window, which its close button closes again.
    void ChooseAndClose(const std::string& row, const WindowState& menu, const std::string& className)
    {
        ASSERT_TRUE(app->Click(row, Selector(menu)));
        WindowState opened;
        ASSERT_TRUE(WaitFor([&] { return (opened = WindowOfClass(*app, className)).found; })) << className;
        // Clicked once the window is laid out: its close button inside it,
        // at the same place on two reads.
        Rect last;
        ASSERT_TRUE(WaitFor([&] {
            opened = WindowOfClass(*app, className);
            const ControlState close = app->Control("closebtn", Selector(opened));
            const bool settled = close.visible && close.rect.Width() > 0 && close.rect.left == last.left &&
                                 close.rect.top == last.top && close.rect.right <= opened.rect.right &&
                                 close.rect.top >= opened.rect.top;
            last = close.rect;
            return settled;
        })) << className;
        ASSERT_TRUE(app->Click("closebtn", Selector(opened)));
        ASSERT_TRUE(WaitFor([&] { return !WindowOfClass(*app, className).found; })) << className;
    }

    // Chooses a row down a path of group rows as a hand does: the menu opened
    // by a click, the pointer onto each row once its level is painted, in
    // steps, cutting the corner through the parent's row below the group on
    // the way into each sub-menu; one click, and the menus gone.
    bool ChooseByHand(const std::string& anchor, const std::vector<std::string>& path)
    {
        const ControlState start = app->Control(anchor, kTitle);
        if (!app->Click(anchor, kTitle)) return false;
        std::vector<WindowState> levels;
        int x = start.rect.CenterX(), y = start.rect.CenterY(), height = 0;
        for (const std::string& name : path) {
            WindowState level;
            ControlState row;
            if (!WaitFor([&] {
                    level = NewestMenu(*app, levels);
                    row = app->Control(name, Selector(level));
                    return level.found && !level.dirty && row.visible && !row.dirty && row.rect.top >= level.rect.top &&
                           row.rect.bottom <= level.rect.bottom;
                }))
                return false;
            // One sweep: resting on the row below longer than a hand does
            // would let that row take over and close the sub-menu.
            std::vector<std::pair<int, int>> sweep;
            if (!levels.empty()) {
                const Rect& parent = levels.back().rect;
                const int edge = level.rect.left >= parent.right ? parent.right - 10 : parent.left + 10;
                for (int i = 1; i <= 3; ++i) sweep.emplace_back(x + (edge - x) * i / 3, y + height * i / 3);
                x = edge, y += height;
            }
            for (int i = 1; i <= 4; ++i)
                sweep.emplace_back(x + (row.rect.CenterX() - x) * i / 4, y + (row.rect.CenterY() - y) * i / 4);
            if (!app->MoveAlong(sweep)) return false;
            x = row.rect.CenterX(), y = row.rect.CenterY(), height = row.rect.Height();
            levels.push_back(level);
        }
        return app->ClickAt(x, y) && WaitFor([&] { return Menus(*app).empty(); });
    }

    std::unique_ptr<App> app;
};

TEST_F(OutputsMenusE2E, SlopeAndOutputChoiceSendTheirFrames)
{
    // A slope picked from the high-pass slope list: row 2, or row 3 where
    // the unit's factory setting is row 2 already.
    const ControlState type = app->Control("hp_type", kTitle);
    const int freq = std::atoi(app->Control("hp_freq", kTitle).text.c_str());
    ASSERT_GE(freq, 20);
    size_t mark = app->Mark();
    // Read once laid out: the end of the start-up read may lay the window out again.
    ControlState combo;
    auto comboNow = [&] { return (combo = app->Control("hp_slop", kTitle)).visible && combo.rect.Width() > 0; };
    ASSERT_TRUE(WaitFor(comboNow));
    const int slope = combo.index == 2 ? 3 : 2;
    // The drop-down list: shown (a click the window did not take yet is
    // given again), then placed under the combo, on the screen too.
    WindowState drop;
    auto dropShown = [&](bool placed) {
        for (const WindowState& w : app->Windows()) {
            if (!w.visible || w.className != "ComboWnd") continue;
            if (!placed || (comboNow() && w.rect.left == combo.rect.left && w.rect.top >= combo.rect.bottom &&
                            w.rect.top <= combo.rect.bottom + 4))
                return (drop = w).found;
        }
        return false;
    };
    ASSERT_TRUE(app->Click("hp_slop", kTitle) && WaitFor([&] { return dropShown(false); }));
    ASSERT_TRUE(WaitFor([&] { return dropShown(true) && app->ShownWhereItIs(drop); }))
        << drop.className << " at " << drop.rect.left << "," << drop.rect.top << " under the combo at "
        << combo.rect.left << "," << combo.rect.bottom;
    std::vector<std::string> frames;
    ASSERT_TRUE(app->ClickAt(drop.rect.left + 20, drop.rect.top + 1 + slope * kSlopeRowHeight + kSlopeRowHeight / 2));
    ASSERT_TRUE(WaitFor([&] { return !(frames = SetFramesSince(*app, mark)).empty(); }));
    EXPECT_EQ(std::vector<std::string>{Filter(0, 2, type.index, freq, slope)}, frames);

    // Channel 3's output menu: rear, centre, full range (the one rear speaker
    // the unit's factory layout leaves free).
    WindowState menu;
    ControlState anchor;
    ASSERT_TRUE(OpenMenu("ch_output_btn_2", &menu, &anchor, UnderLeftEdge));
    EXPECT_EQ(anchor.rect.left, menu.rect.left);
    EXPECT_EQ(anchor.rect.bottom, menu.rect.top);
    mark = app->Mark();
    WindowState rear;
    ASSERT_TRUE(app->Click("output_menu_rear", Selector(menu)) && WaitFor([&] { return (rear = NewestMenu(*app, {menu})).found; }));
    WindowState rearCenter;
    ASSERT_TRUE(app->Click("output_menu_rear_center", Selector(rear)) && WaitFor([&] { return (rearCenter = NewestMenu(*app, {menu, rear})).found; }));
    // Three levels open: each menu window paints itself.
    const std::vector<WindowState> open = Menus(*app);
    EXPECT_EQ(3u, open.size());
    for (size_t i = 0; i < open.size(); ++i) {
        const std::string png = ScreenshotFolder() + "/output_menu_level" + std::to_string(i) + ".png";
        EXPECT_TRUE(WaitFor([&] { return app->Screenshot(Selector(open[i]), png) && CheckPainting(png).painted; }))
            << png;
    }
    ASSERT_TRUE(app->Click("output_menu_rear_center_all_freq", Selector(rearCenter)));
    const std::vector<std::string> expected = {"01 09 bb 0000020200", "01 0d bb 000002021c", Filter(2, 2, 3, 20, 0),
                                               Filter(2, 1, 3, 20000, 0), "01 08 bb 0000020200"};
    ASSERT_TRUE(WaitFor([&] { return (frames = SetFramesSince(*app, mark)).size() >= expected.size(); }));
    EXPECT_EQ(expected, frames);
    EXPECT_EQ(SkinText("en", "rear_center_all"), app->Control("ch_output_btn_2", kTitle).text);
    EXPECT_TRUE(WaitFor([&] { return Menus(*app).empty(); }));
}

// Each menu opens at its control as its alignment says, and one of its rows acts.
TEST_F(OutputsMenusE2E, EveryMenuOpensAtItsAnchorAndARowActs)
{
    WindowState menu;
    ControlState anchor;

    // Advance: top-left corner under the button's left edge.
    ASSERT_TRUE(OpenMenu("btn_advance", &menu, &anchor, UnderLeftEdge));
    EXPECT_EQ(anchor.rect.left, menu.rect.left);
    EXPECT_EQ(anchor.rect.bottom, menu.rect.top);
    ChooseAndClose("advance_item_noise_threshold", menu, "NoiseThresholdWnd");

    // Option: top-right corner under the button's right edge; about opens.
    ASSERT_TRUE(OpenMenu("btn_option", &menu, &anchor, UnderRightEdge));
    EXPECT_EQ(anchor.rect.right, menu.rect.right);
    EXPECT_EQ(anchor.rect.bottom, menu.rect.top);
    EXPECT_TRUE(app->Control("option_item_reset_default", Selector(menu)).enabled) << "connected";
    ChooseAndClose("option_item_about", menu, "AboutWnd");

    // Delay link group of channel 4: opens upward, its bottom 4 px above the box.
    ASSERT_TRUE(OpenMenu("delay_link_3", &menu, &anchor, AboveLeftEdge));
    EXPECT_EQ(anchor.rect.left, menu.rect.left);
    EXPECT_EQ(anchor.rect.top - 4, menu.rect.bottom);
    ChooseAndFlush("delay_link_group_2", menu);
    EXPECT_TRUE(WaitFor([&] { return LogHas(*app, "on menu click delay_link_group_2"); }));
    EXPECT_TRUE(LogHas(*app, "3: delay_link_group_2"));

    // Scene: top-right corner under the button's right edge.
    ASSERT_TRUE(OpenMenu("btn_scene", &menu, &anchor, UnderRightEdge));
    EXPECT_EQ(anchor.rect.right, menu.rect.right);
    EXPECT_EQ(anchor.rect.bottom, menu.rect.top);
    EXPECT_TRUE(app->Control("scene_item_load_scene", Selector(menu)).enabled) << "connected";
    // The scene rows' work opens its own windows; the row reached the
    // window's menu handling when the log says so or such a window opened.
    ChooseAndFlush("scene_item_load_scene", menu);
    EXPECT_TRUE(WaitFor([&] { return LogHas(*app, "on menu click scene_item_load_scene") || DialogOpen(*app); }));
}

// Every popup menu in every language at each DPI, opened by a click and
// followed down its group rows: each level pictured; a row that opens a level
// shows the arrow at its right end and a leaf none; the levels of one cascade
// share one width; the speaker tree disables the positions other channels
// hold, and with the unit gone the rows that need it are disabled.
struct TMenuPath {
    const char* anchor;
    std::vector<std::string> groups;  // opened in turn, one level each
    const char* stem;
    int disabledRows;  // over all its levels
    bool connected;
    bool (*placed)(const Rect& menu, const Rect& anchor);
};

const TMenuPath kMenuPaths[] = {
    {"btn_option", {"option_menu_language"}, "menu_option", 0, true, UnderRightEdge},
    {"btn_scene", {}, "menu_scene", 0, true, UnderRightEdge},
    {"btn_advance", {}, "menu_advance", 0, true, UnderLeftEdge},
    {"delay_link_3", {}, "menu_delay_group", 0, true, AboveLeftEdge},
    {"ch_output_btn_2", {"output_menu_front", "output_menu_front_left"}, "menu_output", 5, true, UnderLeftEdge},
    // Factory settings; load, save and delete a scene of the unit.
    {"btn_option", {}, "menu_option_disconnected", 1, false, UnderRightEdge},
    {"btn_scene", {}, "menu_scene_disconnected", 3, false, UnderRightEdge},
};

// Each language with the unit there, then each with it gone.
const struct {
    const char* language;
    bool connected;
} kMenuStates[] = {{"en", true}, {"cn", true}, {"ru", true}, {"en", false}, {"cn", false}, {"ru", false}};

// Rows with a sub-menu.
const std::set<std::string> kGroupRows = {
    "option_menu_language",   "output_menu_front",       "output_menu_rear",       "output_menu_center",
    "output_menu_subwoof",    "output_menu_front_left",  "output_menu_front_right", "output_menu_front_center",
    "output_menu_rear_left",  "output_menu_rear_right",  "output_menu_rear_center"};

TEST_F(OutputsMenusE2E, EveryMenuInEveryLanguageShowsItsArrowsAndKeepsOneWidthPerCascade)
{
    for (const int dpi : {96, 120, 144}) {
        if (dpi != 96) {
            // The arrow image of another scale: the program started again on a larger screen.
            LaunchOptions options;
            options.dpi = dpi;
            Launch(options);
            if (HasFatalFailure()) return;
        }
        bool plugged = true;
        for (const auto& state : kMenuStates) {
            const char* language = state.language;
            if (!state.connected && plugged) {
                plugged = false;
                ASSERT_TRUE(app->Unplug());
                ASSERT_TRUE(WaitFor([&] { return app->Control("confirm_btn", "msgwnd").visible; }));
                ASSERT_TRUE(app->Click("confirm_btn", "msgwnd") && WaitFor([&] { return !app->Window("msgwnd").found; }));
            }
            ASSERT_TRUE(ChooseByHand("btn_option", {"option_menu_language", std::string("option_item_language_") + language}));
            const char* link = state.connected ? "btn_connected" : "btn_disconnected";
            ASSERT_TRUE(WaitFor([&] { return LinkShows(*app, link, language); }, 60000));
            for (const TMenuPath& path : kMenuPaths) {
                if (path.connected != state.connected) continue;
                SCOPED_TRACE(std::string(path.stem) + " " + language + " " + std::to_string(dpi));
                WindowState menu;
                ControlState anchor;
                ASSERT_TRUE(OpenMenu(path.anchor, &menu, &anchor, path.placed));
                // Each level is looked at as it opens: its deeper rows are laid out only by their own level.
                std::vector<WindowState> levels;
                int disabled = 0;
                auto look = [&](const WindowState& level) {
                    const size_t i = levels.size();
                    levels.push_back(level);
                    EXPECT_EQ(levels[0].rect.Width(), level.rect.Width()) << "level " << i;
                    const std::string png = ScreenshotFolder() + "/" + path.stem + "_" + language + "_" +
                                            std::to_string(dpi) + "_level" + std::to_string(i) + ".png";
                    ASSERT_TRUE(
                        WaitFor([&] { return app->Screenshot(Selector(level), png) && CheckPainting(png).painted; }))
                        << png;
                    int rows = 0;
                    for (const auto& named : app->Controls(Selector(level))) {
                        const ControlState& row = named.second;
                        if (row.type != "MenuElementUI" || !row.visible || row.rect.Height() == 0 ||
                            row.rect.top < level.rect.top || row.rect.bottom > level.rect.bottom)
                            continue;
                        ++rows;
                        disabled += !row.enabled;
                        // The arrow's tip, right of where any text may reach.
                        const int right = row.rect.right - level.rect.left;
                        const Rect tip{right - 12 * dpi / 96, row.rect.top - level.rect.top, right - 6 * dpi / 96,
                                       row.rect.bottom - level.rect.top};
                        EXPECT_EQ(kGroupRows.count(named.first) == 1, BrightPixels(png, tip, 120) > 0)
                            << png << ": " << named.first;
                    }
                    EXPECT_GT(rows, 0) << png;
                };
                look(menu);
                for (const std::string& group : path.groups) {
                    WindowState next;
                    auto opened = [&] {
                        for (const WindowState& w : Menus(*app)) {
                            bool known = false;
                            for (const WindowState& level : levels) known = known || level.hwnd == w.hwnd;
                            if (!known) next = w;
                        }
                        return next.found;
                    };
                    ASSERT_TRUE(app->Click(group, Selector(levels.back())) && WaitFor(opened)) << group;
                    // Read once it stands still: made first, moved to its row after.
                    Rect last;
                    ASSERT_TRUE(WaitFor([&] {
                        const bool settled = opened() && next.rect.left == last.left && next.rect.top == last.top &&
                                             next.rect.Width() == last.Width();
                        last = next.rect;
                        return settled;
                    }));
                    look(next);
                }
                EXPECT_EQ(path.disabledRows, disabled);
                // Put away level by level with the key.
                for (size_t open = Menus(*app).size(), i = 0; open > 0 && i < 6; open = Menus(*app).size(), ++i) {
                    app->Key("Escape");
                    WaitFor([&] { return Menus(*app).size() < open; }, 2000);
                }
                ASSERT_TRUE(WaitFor([&] { return Menus(*app).empty(); }));
            }
        }
    }
}

} // namespace
} // namespace e2e
