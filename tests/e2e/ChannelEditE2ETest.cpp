// Channel editing, bridging, the output reset and the lock driven with real
// X input on the whole program; the simulated unit's received frames are the
// oracle. The rows run in order on one program, each from the state the
// rows before it left. Every kind of slider the program has is dragged by
// hand in a table of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/controls/EqChartGeometry.h"
#include "tests/e2e/kit/BrisaE2E.h"
#include "tests/support/FrameSignature.h"

namespace e2e {
namespace {

const char kTitle[] = "Brisa DSP Audio";
const char kComp[] = "CompressorsOnWnd";

// A set command's frame as the kit writes it: "01 <sub> bb <payload>".
std::string Set(int subcommand, const std::string& payload)
{
    char head[16];
    std::snprintf(head, sizeof head, "01 %02x bb ", subcommand);
    return head + payload;
}

std::string Hex(std::initializer_list<int> bytes)
{
    std::string text;
    char byte[4];
    for (int b : bytes) {
        std::snprintf(byte, sizeof byte, "%02x", b & 0xFF);
        text += byte;
    }
    return text;
}

// One channel's mute, trim (the attenuation in whole dB) and delay.
std::string Mute(int ch, int on) { return Set(0x09, Hex({0, 0, ch, ch, on})); }
std::string Trim(int ch, int attenuation) { return Set(0x08, Hex({0, 0, ch, ch, attenuation})); }

struct Row {
    const char* name;
    std::function<bool(App&)> action;
    // The frames the unit received, in order: exact texts, or (for long
    // jobs) the signature of tests/support/FrameSignature.h.
    std::function<std::vector<std::string>(App&)> frames;
    bool signature;
    std::function<void(App&)> check;
    bool busy = false;  // the action runs behind the loading window
    // Brings the program to the action's starting state; its frames are not counted.
    std::function<bool(App&)> prepare = nullptr;
};

std::vector<std::string> Texts(const std::vector<UnitFrame>& frames)
{
    std::vector<std::string> texts;
    for (const UnitFrame& f : frames) texts.push_back(f.Text());
    return texts;
}

std::vector<std::string> Signature(const std::vector<UnitFrame>& frames)
{
    sim::FrameSignature signature;
    for (const UnitFrame& f : frames) signature.Add(f.subcommand, f.payload);
    return signature.Tokens();
}

// Clicks the box's button once the box shows its text.
bool Answer(App& app, const std::string& key, const std::string& button)
{
    return WaitFor([&] { return app.Control("MessageText", "msgwnd").text == SkinText("en", key); }) &&
           app.Click(button, "msgwnd");
}

// Clears the edit as a user would (to its end, then back over every
// character) and types the text and Enter (or the key given).
bool TypeInto(App& app, const std::string& edit, const std::string& text, const std::string& key = "Return")
{
    const size_t length = app.Control(edit).text.size();
    if (!app.Click(edit) || !app.Key("End")) return false;
    for (size_t i = 0; i < length + 2; ++i) {
        if (!app.Key("BackSpace")) return false;
    }
    return WaitFor([&] { return app.Control(edit).text.empty(); }) && app.Type(text, edit) && app.Key(key);
}

// The open drop-down of a combo box; empty when none is open.
Rect DropDown(App& app)
{
    for (const WindowState& w : app.Windows()) {
        if (w.className == "ComboWnd" && w.visible) return w.rect;
    }
    return Rect();
}

bool DropDownOpen(App& app) { return DropDown(app).Height() > 0; }

// The delay unit chosen on the outputs page: its drop-down holds ms, cm and in.
bool ChooseUnit(App& app, int unit)
{
    const auto failed = [](const std::string& step) {
        ADD_FAILURE() << step;
        return false;
    };
    if (!app.Click("tab_outputs") || !WaitFor([&] { return app.Control("comb_ch_unit").visible; })) return failed("no outputs page");
    if (!app.Click("comb_ch_unit") || !WaitFor([&] { return DropDownOpen(app); })) return failed("no drop-down");
    const Rect box = DropDown(app);
    if (!app.ClickAt(box.CenterX(), box.top + box.Height() * (2 * unit + 1) / 6) ||
        !WaitFor([&] { return app.Control("comb_ch_unit").index == unit; }))
        return failed("unit not chosen: " + std::to_string(app.Control("comb_ch_unit").index));
    return true;
}

// The unit has taken what a move of linked channel 1 off its trim queued:
// channel 2's trim followed, and channel 2's frame after it came last.
bool UnitSettled(App& app, long from)
{
    return WaitFor([&] {
        std::map<std::string, long> unit = app.Params();
        const size_t count = app.Mark();
        const std::vector<UnitFrame> last = app.FramesSince(count > 0 ? count - 1 : 0);
        return unit["out0.gain"] != from && unit["out1.gain"] == unit["out0.gain"] && !last.empty() &&
               last.back().Text() == Mute(1, 0);
    });
}

// Clicks into the edit and out of it again, onto the first speaker position.
bool ClickInAndOut(App& app, const std::string& edit)
{
    return app.Click(edit) && app.Click("spk_delay_0");
}

const std::string kNoBridge = "4C:00 00 08 00 00 00 00 00 00 00 00";

// Channel 1's band 17 as the chart shows it: at its frequency, and at 0 dB while switched off.
EqChartGeometry Chart(App& app)
{
    const ControlState chart = app.Control("equalizer", kTitle);
    EqChartGeometry geometry;
    geometry.Set(SkinUI::CUIRect(chart.rect.left, chart.rect.top, chart.rect.right, chart.rect.bottom), 100);
    return geometry;
}

int Band17Freq(App& app) { return std::atoi(app.Control("eq_freq_17").text.c_str()); }

// Band 17 switched on again at +6 dB.
std::vector<std::string> Band17On(App& app)
{
    const int freq = Band17Freq(app);
    const int q = static_cast<int>(std::lround(std::atof(app.Control("eq_q_17").text.c_str()) * 10));
    return {Set(0x06, Hex({0, 0, 0, 17, freq >> 8, freq, q / 10, q % 10, 24, 0}))};
}

// Band 17 at +6 dB, then switched off, each held so by the unit (the box
// shows a value before its frame reaches the unit): the EQ page shows.
bool Band17SwitchedOff(App& app)
{
    const auto unitHolds = [&](long tenths) { return WaitFor([&] { return app.Params()["out0.eq17.gain"] == tenths; }); };
    return app.Click("tab_eq_bands") && WaitFor([&] { return app.Control("eq_gain_17").visible; }) &&
           TypeInto(app, "eq_gain_17", "6") && WaitFor([&] { return app.Control("eq_gain_17").text == "6.0"; }) &&
           unitHolds(60) && app.Click("pt_enable_17") &&
           WaitFor([&] { return app.Control("eq_gain_17").text == "0.0"; }) && unitHolds(0);
}

// Channel 1's band switched off at +6 dB, touched on the chart at (dx, dy) from its dot by a click or a
// hover, then its enable button clicked; back on the outputs page for the rows after.
Row Band17Touched(const char* name, bool click, int dx, int dy)
{
    return {name,
            [=](App& app) {
                const EqChartGeometry geometry = Chart(app);
                const int x = geometry.FreqToX(Band17Freq(app)) + dx, y = geometry.GainToY(0.0f) + dy;
                return (click ? app.ClickAt(x, y) : app.MoveTo(x, y)) && app.Click("pt_enable_17") && app.Click("tab_outputs");
            },
            Band17On, false,
            [](App& app) {
                EXPECT_EQ("6.0", app.Control("eq_gain_17").text);
                EXPECT_TRUE(app.Control("pt_enable_17").selected);
            },
            false, Band17SwitchedOff};
}

// A reset: no bridges, each output given its speaker (with its crossover
// and trim), the lock off, the links cleared, every trim, channel 1 shown.
std::vector<std::string> ResetFrames(const int (&codes)[16])
{
    std::vector<std::string> frames = {kNoBridge};
    char text[32];
    for (int ch = 0; ch < 16; ++ch) {
        std::snprintf(text, sizeof text, "0D:00 00 %02X %02X %02X", ch, ch, codes[ch]);
        const std::string at = "@" + std::to_string(ch);
        frames.insert(frames.end(), {"09" + at, text, "05" + at + "*2", "08" + at});
    }
    frames.insert(frames.end(), {"0F:00 00", "0E:00 00 00", "08@0-15", "09@0"});
    return frames;
}

// The speaker each output has on a new unit, and none.
const int kDefaultSpeakers[16] = {1, 7, 2, 8, 13, 16, 25, 26, 19, 20, 3, 9, 14, 17, 22, 23};
const int kNoSpeakers[16] = {};
// Every solo off, sent again when a link or bridge change applies the last solo channel.
const char kSoloNone[] = "34:00 00 00 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";

const Row kRows[] = {
    {"click mute of channel 1",
     [](App& app) { return app.Click("ch_mute_0"); },
     [](App&) { return std::vector<std::string>{Mute(0, 1)}; }, false,
     [](App& app) {
         EXPECT_TRUE(app.Control("ch_mute_0").selected);
         EXPECT_EQ(1, app.Params()["out0.mute"]);
     }},
    {"after a notice answered with Enter, a second Enter presses nothing",
     [](App& app) { return app.Request("MENU option_item_about") == "OK" && WaitFor([&] { return app.Control("confirm_btn", "msgwnd").visible; }) && app.Key("Return") && WaitFor([&] { return !app.Window("msgwnd").found; }) && app.Key("Return"); },
     [](App&) { return std::vector<std::string>{}; }, false, [](App& app) { EXPECT_EQ(1, app.Params()["out0.mute"]); }},
    {"channel 1's high-pass dragged to the chart's end, on out of the window to the top and the right: it stays",
     [](App& app) {  // the first of eight steps to the chart's last pixel, the last ones past the screen's edges
         const EqChartGeometry chart = Chart(app);
         const SkinUI::CUIRect h = chart.HpHandleRect(std::atoi(app.Control("hp_freq").text.c_str()));
         const int x = (h.left + h.right) / 2, y = (h.top + h.bottom) / 2;
         return app.Drag(x, y, x + 8 * (chart.Plot().right - 1 - x), y - 800, 8, 2400);
     },
     [](App& app) {  // from the first step, and the release
         const int f = Chart(app).XToFreq(Chart(app).Plot().right - 1), type = app.Params()["out0.hp.type"],
                   slope = app.Params()["out0.hp.slope"];
         return std::vector<std::string>(2, Set(0x05, Hex({0, 0, 0, 2, type, f >> 8, f, slope})));
     }, false, [](App&) {}},
    {"type -12 and Enter into channel 1's volume: trim, then unmute",
     [](App& app) { return TypeInto(app, "edit_ch_volume_0", "-12"); },
     [](App&) { return std::vector<std::string>{Trim(0, 12), Mute(0, 0)}; }, false,
     [](App& app) {
         EXPECT_EQ("-12dB", app.Control("edit_ch_volume_0").text);
         EXPECT_EQ(-120, app.Control("slider_ch_volume_0").value);
         EXPECT_FALSE(app.Control("ch_mute_0").selected);
         EXPECT_EQ(-12, app.Params()["out0.gain"]);
     }},
    {"wheel down on channel 2's volume: channel 2 current, one dB down",
     [](App& app) { return app.Wheel("slider_ch_volume_1", -1); },
     [](App&) { return std::vector<std::string>{Mute(1, 0), Trim(1, 1), Mute(1, 0)}; }, false,
     [](App& app) {
         EXPECT_EQ(-10, app.Control("slider_ch_volume_1").value);
         EXPECT_EQ("-1dB", app.Control("edit_ch_volume_1").text);
     }},
    {"a Unicode minus in channel 2's volume is a minus",
     [](App& app) { return TypeInto(app, "edit_ch_volume_1", "\u221212"); },
     [](App&) { return std::vector<std::string>{Trim(1, 12), Mute(1, 0)}; }, false,
     [](App& app) { EXPECT_EQ(-12, app.Params()["out1.gain"]); }},
    {"-30 typed into channel 2's volume, Escape, a click elsewhere: nothing sent",
     [](App& app) { return TypeInto(app, "edit_ch_volume_1", "-30", "Escape") && app.Click("edit_ch_delay_1"); },
     [](App&) { return std::vector<std::string>{}; }, false,
     [](App& app) { EXPECT_EQ("-12dB", app.Control("edit_ch_volume_1").text); }},
    {"-7 typed into channel 2's volume, a notice over it answered: nothing sent, -7 kept, the box takes Escape",
     [](App& app) { return TypeInto(app, "edit_ch_volume_1", "-7", "End") && app.Request("MENU option_item_about") == "OK" && WaitFor([&] { return app.Control("confirm_btn", "msgwnd").visible; }) && app.Key("Return") && WaitFor([&] { return !app.Window("msgwnd").found; }) && app.Control("edit_ch_volume_1").text == "-7" && app.Key("Escape") && app.Click("edit_ch_delay_1"); },
     [](App&) { return std::vector<std::string>{}; }, false, [](App& app) { EXPECT_EQ("-12dB", app.Control("edit_ch_volume_1").text); }},
    {"-1 typed into the main volume, the cable out, the knob at -30, back: the read's -30 shows, a click elsewhere sends nothing",
     [](App& app) { return app.Click("edit_acc"); }, [](App&) { return std::vector<std::string>{}; }, false, [](App& app) { EXPECT_EQ("-30dB", app.Control("edit_main_volume").text); },
     false, [](App& app) { return TypeInto(app, "edit_main_volume", "-1", "End") && app.Unplug() && WaitFor([&] { return app.Window("msgwnd").found; }) && app.TurnKnob(-30) && app.Plug() && WaitFor([&] { return LinkShows(app, "btn_connected") && !app.Window("msgwnd").found; }, 30000); }},
    {"-1 typed into channel 2's volume, the notice closed by the unit's return: the box shows the unit's value, 2, Enter, Escape and a click elsewhere send nothing",
     [](App& app) { return app.Key("2") && app.Key("Return") && app.Key("Escape") && app.Click("edit_acc"); }, [](App&) { return std::vector<std::string>{}; }, false, [](App& app) { EXPECT_EQ(std::to_string(app.Params()["out1.gain"]) + "dB", app.Control("edit_ch_volume_1").text); },
     false, [](App& app) { return TypeInto(app, "edit_ch_volume_1", "-1", "End") && app.Unplug() && WaitFor([&] { return app.Window("msgwnd").found; }) && app.Plug() && WaitFor([&] { return LinkShows(app, "btn_connected") && !app.Window("msgwnd").found; }, 30000); }},
    {"-4 typed into the main volume, a notice over it answered, the knob at -20: the box keeps -4 and Enter sends it",
     [](App& app) { return app.Key("Return"); }, [](App&) { return std::vector<std::string>{Set(0x02, "0a"), Set(0x04, "00")}; }, false, [](App& app) { EXPECT_EQ("-4dB", app.Control("edit_main_volume").text); },
     false, [](App& app) { return TypeInto(app, "edit_main_volume", "-4", "End") && app.Request("MENU option_item_about") == "OK" && WaitFor([&] { return app.Control("confirm_btn", "msgwnd").visible; }) && app.Key("Return") && WaitFor([&] { return !app.Window("msgwnd").found; }) && app.TurnKnob(-20) && WaitFor([&] { return app.Control("slider_main_volume").value == -20; }) && app.Control("edit_main_volume").text == "-4"; }},
    {"a notice raised while minimised stands over the main window once restored",
     [](App& app) { return app.Request("MINIMIZE " + std::string(kTitle)).rfind("OK", 0) == 0 && app.Unplug() && WaitFor([&] { const WindowState w = app.Window("msgwnd"); return w.visible && !w.dirty; }) && app.Request("RESTORE " + std::string(kTitle)).rfind("OK", 0) == 0; },
     [](App&) { return std::vector<std::string>{}; }, false,
     [](App& app) {
         auto inside = [](const Rect& a, const Rect& b) { return a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom; };
         EXPECT_TRUE(WaitFor([&] { return inside(app.Window("msgwnd").rect, app.Window(kTitle).rect) && app.Control("confirm_btn", "msgwnd").over.empty(); }));
         EXPECT_TRUE(app.Click("confirm_btn", "msgwnd") && WaitFor([&] { return !app.Window("msgwnd").found; }) && app.Plug() && WaitFor([&] { return LinkShows(app, "btn_connected"); }, 30000));
     }},
    {"3,5 with a Cyrillic k in channel 2's high-pass is 3500 Hz",
     [](App& app) { return TypeInto(app, "hp_freq", "3,5\u043a"); },
     [](App& app) {
         std::map<std::string, long> unit = app.Params();
         return std::vector<std::string>{Set(0x05, Hex({0, 0, 1, 2, static_cast<int>(unit["out1.hp.type"]), 0x0D, 0xAC,
                                                        static_cast<int>(unit["out1.hp.slope"])}))};
     },
     false, [](App& app) { EXPECT_EQ("3500Hz", app.Control("hp_freq").text); }},
    {"off typed in the main volume turns it off",
     [](App& app) { return TypeInto(app, "edit_main_volume", "off"); },
     [](App&) { return std::vector<std::string>{Set(0x02, "42"), Set(0x04, "00")}; }, false,
     [](App& app) { EXPECT_EQ(SkinText("en", "off"), app.Control("edit_main_volume").text); }},
    {"solo on channel 3 and off again",
     [](App& app) {
         return app.Click("ch_solo_2") && WaitFor([&] { return app.Control("ch_solo_2").selected; }) &&
                app.Click("ch_solo_2");
     },
     [](App&) {
         const std::string head = Hex({0, 0, 0, 15});
         return std::vector<std::string>{Set(0x34, head + Hex({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})),
                                         Mute(2, 0), Set(0x34, head + std::string(32, '0')), Mute(2, 0)};
     },
     false, [](App& app) { EXPECT_FALSE(app.Control("ch_solo_2").selected); }},
    {"channels 5 and 6 join link group 1",
     [](App& app) {
         return app.Click("ch_synchronize_4") && WaitFor([&] { return app.Control("ch_synchronize_4").selected; }) &&
                app.Click("ch_synchronize_5");
     },
     [](App& app) {
         std::map<std::string, long> unit = app.Params();
         // Joining alone: every trim, then the channel shown.
         std::vector<std::string> frames;
         auto trims = [&] {
             for (int ch = 0; ch < 16; ++ch)
                 frames.push_back(Trim(ch, static_cast<int>(-unit["out" + std::to_string(ch) + ".gain"])));
         };
         trims();
         frames.push_back(Mute(4, 0));
         // Joining channel 5: its own crossover again, the group takes
         // channel 5's EQ bypass, every trim, then the channel shown.
         // The program holds the unit's filters within its ranges: type 1..3, 20..20000 Hz.
         for (const char* side : {"lp", "hp"}) {
             const std::string f = std::string("out5.") + side + ".";
             const int freq = std::min(std::max(static_cast<int>(unit[f + "freq"]), 20), 20000);
             const int type = std::min(std::max(static_cast<int>(unit[f + "type"]), 1), 3);
             frames.push_back(Set(0x05, Hex({0, 0, 5, side[0] == 'l' ? 1 : 2, type, freq >> 8, freq,
                                             static_cast<int>(unit[f + "slope"])})));
         }
         const int bypass = static_cast<int>(unit["out4.eqbypass"]);
         frames.push_back(Set(0x12, Hex({0, 0, 4, 4, bypass})));
         frames.push_back(Set(0x12, Hex({0, 0, 5, 5, bypass})));
         trims();
         frames.push_back(Mute(5, 0));
         return frames;
     },
     false,
     [](App& app) {
         EXPECT_TRUE(app.Control("ch_synchronize_5").selected);
         EXPECT_FALSE(app.Control("btn_link_output").enabled);
     }},
    {"a group member follows a typed volume",
     [](App& app) { return TypeInto(app, "edit_ch_volume_4", "-6"); },
     [](App&) { return std::vector<std::string>{Mute(4, 0), Trim(4, 6), Mute(4, 0), Trim(5, 6), Mute(5, 0)}; },
     false,
     [](App& app) {
         EXPECT_EQ("-6dB", app.Control("edit_ch_volume_5").text);
         EXPECT_EQ(-6, app.Params()["out5.gain"]);
     }},
    {"100 cm typed into channel 3's delay",
     [](App& app) { return ChooseUnit(app, 1) && TypeInto(app, "edit_ch_delay_2", "100"); },
     // 100 cm = 2.890 ms: whole ms 2, thousandths 890.
     [](App&) { return std::vector<std::string>{Mute(2, 0), Set(0x07, Hex({0, 0, 2, 2, 2, 0x03, 0x7A}))}; }, false,
     [](App& app) {
         EXPECT_EQ("100 cm", app.Control("edit_ch_delay_2").text);
         EXPECT_TRUE(app.Control("slider_ch_delay_2").visible);
         EXPECT_FALSE(app.Control("slider_ch_delay_3").visible);
     }},
    {"60 cm typed at channel 1's speaker and left by a click: sent as Enter sends it", [](App& app) { return TypeInto(app, "spk_delay_0", "60", "End") && app.Click("edit_acc"); },
     [](App&) { return std::vector<std::string>{Mute(0, 0), Set(0x07, Hex({0, 0, 0, 0, 1, 0x02, 0xDE}))}; }, false, [](App& app) { EXPECT_EQ("60 cm", app.Control("edit_ch_delay_0").text); }},
    {"50 cm typed at channel 1's speaker shows in its strip: a click into the strip's box and out sends nothing",
     [](App& app) { return TypeInto(app, "spk_delay_0", "50") && ClickInAndOut(app, "edit_ch_delay_0"); },
     // 50 cm = 1.445 ms; each focus on the speaker makes channel 1 current.
     [](App&) { return std::vector<std::string>{Mute(0, 0), Set(0x07, Hex({0, 0, 0, 0, 1, 0x01, 0xBD})), Mute(0, 0)}; },
     false,
     [](App& app) {
         EXPECT_EQ("50 cm", app.Control("edit_ch_delay_0").text);
         EXPECT_EQ(1445, app.Control("slider_ch_delay_0").value);
     }},
    {"1 ms shown as 35 cm: a click into the box and out sends nothing",
     [](App& app) { return ClickInAndOut(app, "edit_ch_delay_1"); },
     [](App&) { return std::vector<std::string>{Mute(0, 0)}; }, false,
     [](App& app) { EXPECT_EQ("35 cm", app.Control("edit_ch_delay_1").text); }, false,
     [](App& app) {
         return ChooseUnit(app, 0) && TypeInto(app, "edit_ch_delay_1", "1") &&
                WaitFor([&] { return app.Control("edit_ch_delay_1").text == "1.000 ms"; }) && ChooseUnit(app, 1);
     }},
    {"after a reconnect the delays show in cm: a click into a box and out sends nothing",
     [](App& app) { return ClickInAndOut(app, "edit_ch_delay_2"); },
     [](App&) { return std::vector<std::string>{Mute(2, 0), Mute(0, 0)}; }, false,
     [](App& app) {
         EXPECT_EQ("100 cm", app.Control("edit_ch_delay_2").text);
         EXPECT_EQ("50 cm", app.Control("edit_ch_delay_0").text);
     },
     false, [](App& app) { return Reconnect(app); }},
    Band17Touched("a hover over channel 1's switched-off +6 dB band sends nothing: its enable button sends +6 dB again",
                  false, 0, 0),
    Band17Touched("a click beside channel 1's switched-off +6 dB band's dot sends nothing: its enable button sends +6 dB again",
                  true, 2, 3),
    {"3 typed into band 31's gain, left by Tab onto the connect button: sent as any Tab sends it", [](App& app) { return TypeInto(app, "eq_gain_30", "3", "Tab"); },
     [](App&) { return std::vector<std::string>{Set(0x06, Hex({0, 0, 0, 30, 0x4E, 0x20, 5, 8, 21, 0}))}; }, false, [](App& app) { EXPECT_EQ("3.0", app.Control("eq_gain_30").text);
         EXPECT_TRUE(TypeInto(app, "eq_gain_30", "0") && WaitFor([&] { return app.Params()["out0.eq30.gain"] == 0; }) && app.Click("tab_outputs") &&
                     WaitFor([&] { return app.Control("ch_bridge_1").visible; })); },
     false, [](App& app) { return app.Click("tab_eq_bands") && WaitFor([&] { return app.Control("eq_gain_30").visible; }); }},
    {"bridge channels 3 and 4: channel 4 becomes a copy of 3",
     [](App& app) { return app.Click("ch_bridge_1"); },
     [](App& app) {
         // The twin takes channel 3's speaker too.
         char type[32];
         std::snprintf(type, sizeof type, "0D:00 00 03 03 %02X", static_cast<int>(app.Params()["out2.type"]));
         return std::vector<std::string>{
             "4C:00 00 08 00 01 00 00 00 00 00 00", "06@3*31", "05@3*2", "12@3", "08@3", "07@3", "24@3*108",
             "09@3", type, "05@3*2", "08@3", "05@3*2", "0A@3",
             kSoloNone, "09@3*2"};
     },
     true,
     [](App& app) {
         std::map<std::string, long> unit = app.Params();
         EXPECT_EQ(unit["out2.delay"], unit["out3.delay"]);
         EXPECT_EQ(unit["out2.eq5.gain"], unit["out3.eq5.gain"]);
         EXPECT_EQ(unit["out2.gain"], unit["out3.gain"]);
         // The twin takes the first channel's speaker, whatever it is.
         EXPECT_EQ(unit["out2.type"], unit["out3.type"]);
     },
     true},
    {"un-bridge them: both separated and silenced",
     [](App& app) { return app.Click("ch_bridge_1"); },
     [](App&) {
         return std::vector<std::string>{kNoBridge, "09@2", "0D:00 00 02 02 00", "05@2*2", "08@2", "09@3",
                                         "0D:00 00 03 03 00", "05@3*2", "08@3", "0A@2", "0A@3", "24@2*108",
                                         "24@3*108", kSoloNone};
     },
     true, [](App& app) { EXPECT_EQ(0, app.Params()["out3.phase"]); }, true},
    {"output reset answered default",
     [](App& app) { return app.Click("btn_reset_output") && Answer(app, "empty_output_tips", "confirm_btn"); },
     [](App&) { return ResetFrames(kDefaultSpeakers); }, true, [](App& app) { EXPECT_EQ(0, app.Params()["lock"]); },
     true},
    {"reset link leaves no group, so the outputs can be linked",
     [](App& app) { return app.Click("btn_reset_link"); },
     [](App&) {
         std::vector<std::string> frames;
         for (int ch = 0; ch < 16; ++ch) frames.push_back("09@" + std::to_string(ch));
         frames.push_back("09@0");
         return frames;
     },
     true, [](App& app) { EXPECT_TRUE(app.Control("btn_link_output").enabled); }},
    {"link with the second box ticked copies each right speaker to its left partner",
     [](App& app) {
         return app.Click("btn_link_output") &&
                WaitFor([&] { return app.Control("MessageText", "msgcbwnd").text == SkinText("en", "link_tips"); }) &&
                app.Click("check_box_1", "msgcbwnd") && WaitFor([&] { return app.Control("check_box_1", "msgcbwnd").selected; }) &&
                app.Click("confirm_btn", "msgcbwnd") && WaitFor([&] { return !app.Window("msgcbwnd").found; });
     },
     [](App&) {
         return std::vector<std::string>{
             "0F:00 01", "08@1", "08@0", "08@3", "08@2", "08@5", "08@4", "08@7", "08@6", "08@11", "08@10", "08@13",
             "08@12", "08@15", "08@14", "07@0", "09@0", kSoloNone,
             "0E:00 01 07 01 00 03 02 05 04 07 06 0B 0A 0D 0C 0F 0E"};
     },
     true,
     [](App& app) {
         std::map<std::string, long> unit = app.Params();
         EXPECT_EQ(1, unit["linkmode"]);
         EXPECT_EQ(1, unit["lock"]);
         EXPECT_EQ(unit["out1.eq5.gain"], unit["out0.eq5.gain"]);
         EXPECT_FALSE(app.Control("ch_output_btn_3").enabled);
     }},
    {"channel 2 linked to channel 1 follows it off, to -20 dB and off again: both end off",
     [](App& app) { return TypeInto(app, "edit_ch_volume_0", "-60"); },
     [](App&) { return std::vector<std::string>{Trim(0, 60), Mute(0, 0), Trim(1, 60), Mute(1, 0)}; }, false,
     [](App& app) {
         EXPECT_EQ(-600, app.Control("slider_ch_volume_1").value);
         EXPECT_EQ(-60, app.Params()["out1.gain"]);
     },
     false,
     [](App& app) {
         // From the thumb at off, in one move, to -20.6 dB on the 90 px slider with its 14 px thumb: -20 dB let go.
         const Rect slider = app.Control("slider_ch_volume_0").rect;
         // Both off first: a partner follows by the difference, and stops at off.
         return TypeInto(app, "edit_ch_volume_0", "-60") && TypeInto(app, "edit_ch_volume_1", "-60") &&
                WaitFor([&] { return app.Control("slider_ch_volume_1").value == -600; }) &&
                app.Drag(slider.left + 7, slider.CenterY(), slider.left + 57, slider.CenterY(), 1, 100) &&
                WaitFor([&] { return app.Control("slider_ch_volume_0").value == -200; }) && UnitSettled(app, -60);
     }},
    {"unlink releases link and lock without a question",
     [](App& app) { return app.Click("btn_link_output"); },
     [](App&) { return std::vector<std::string>{"0F:00 00", "09@0", kSoloNone, "0E:00 00 00"}; }, true,
     [](App& app) {
         EXPECT_EQ(0, app.Params()["linkmode"]);
         EXPECT_TRUE(app.Control("ch_output_btn_3").enabled);
     }},
    {"a reconnect to a unit linked meanwhile shows link and lock: a click unlinks",
     [](App& app) {
         return WaitFor([&] { return app.Control("btn_link_output").selected && app.Control("btn_lock_output").selected; },
                        5000) &&
                app.Click("btn_link_output");
     },
     [](App&) { return std::vector<std::string>{"0F:00 00", "09@0", kSoloNone, "0E:00 00 00"}; }, true,
     [](App& app) {
         EXPECT_EQ(0, app.Params()["linkmode"]);
         EXPECT_FALSE(app.Control("btn_link_output").selected);
     },
     false, [](App& app) { return app.Request("LINK 1") == "OK" && Reconnect(app); }},
    {"a threshold typed while no unit is connected, into a disabled box, is refused and stays so after the reconnect",
     [](App& app) { return app.Request("MENU advance_item_compressors_on") == "OK"; },
     [](App&) { return std::vector<std::string>{}; }, false,
     [](App& app) {
         EXPECT_TRUE(WaitFor([&] { return app.Control("edit_threshold_3", kComp).text == "64.0dB"; }));
         EXPECT_TRUE(WaitFor([&] { return app.Window(kComp).visible; }) &&
                     app.Click("closebtn", kComp) && WaitFor([&] { return !app.Window(kComp).found; }));
     },
     false, [](App& app) {
         return app.Click("btnConnect", kTitle) && WaitFor([&] { return LinkShows(app, "btn_disconnected"); }) &&
                app.Request("MENU advance_item_compressors_on") == "OK" &&
                WaitFor([&] { return app.Control("edit_threshold_3", kComp).visible && !app.Control("box_enable_3", kComp).enabled; }) &&
                !app.Control("edit_threshold_3", kComp).enabled && !app.Control("slider_release_time_3", kComp).enabled &&
                app.Click("edit_threshold_3", kComp) && app.Key("End") && app.Key("shift+Home") && app.Type("-33") &&
                app.Key("Return") && app.Click("closebtn", kComp) && WaitFor([&] { return !app.Window(kComp).found; }) &&
                app.Click("btnConnect", kTitle) && WaitFor([&] { return !LinkShows(app, "btn_disconnected"); }) &&
                WaitFor([&] { return LinkShows(app, "btn_connected"); }, 30000);
     }},
    {"a compressor window open across a switch to Russian shows its times in the Russian word",
     [](App& app) { return app.Request("MENU advance_item_compressors_on") == "OK" && app.Request("MENU option_item_language_ru") == "OK"; },
     [](App&) { return std::vector<std::string>{}; }, false,
     [](App& app) {
         EXPECT_TRUE(WaitFor([&] { return app.Control("edit_release_time_3", kComp).text == "30000 мс"; }));
         EXPECT_TRUE(app.Request("MENU option_item_language_en") == "OK" && app.Click("closebtn", kComp) && WaitFor([&] { return !app.Window(kComp).found; }));
     }},
    {"output reset answered emptied",
     [](App& app) { return app.Click("btn_reset_output") && Answer(app, "empty_output_tips", "third_btn"); },
     [](App&) { return ResetFrames(kNoSpeakers); }, true, [](App&) {}, true},
    {"output reset cancelled",
     [](App& app) { return app.Click("btn_reset_output") && Answer(app, "empty_output_tips", "cancel_btn"); },
     [](App&) { return std::vector<std::string>{}; }, false, [](App&) {}},
    {"a Cyrillic scene name on this system is refused and nothing is sent",
     [](App& app) {
         const std::string told = SkinText("en", "scene_name_chars");
         return ChooseScene(app, "scene_item_saveas_scene", 0, [&] { return app.Control("name_edt", "namemsgwnd").visible; }) &&
                app.Click("name_edt", "namemsgwnd") && app.Type("Зал №1", "name_edt", "namemsgwnd") && app.Key("Return") &&
                WaitFor([&] {
                    const std::string text = app.Control("MessageText", "msgwnd").text;
                    return text.rfind(told.substr(0, told.find('%')), 0) == 0 && text.find("Зал№") != std::string::npos;
                }) &&
                app.Click("confirm_btn", "msgwnd") && WaitFor([&] { return !app.Window("msgwnd").found; }) &&
                app.Click("cancel_btn", "scenewnd") && WaitFor([&] { return !app.Window("scenewnd").found; });
     },
     [](App&) { return std::vector<std::string>{"02 0e 66 "}; }, false,
     [](App& app) { EXPECT_EQ(0, app.Params(1)["store1.valid"]); }},
    {"lock the outputs",
     [](App& app) { return app.Click("btn_lock_output") && Answer(app, "lock_output_tips", "confirm_btn"); },
     [](App&) { return std::vector<std::string>{Set(0x0F, Hex({0, 1}))}; }, false,
     [](App& app) {
         EXPECT_EQ(1, app.Params()["lock"]);
         EXPECT_FALSE(app.Control("ch_output_btn_7").enabled);
     }},
    {"an output button click while locked does nothing",
     [](App& app) { return app.Click("ch_output_btn_0") && app.Request("PING") == "OK pong"; },
     [](App&) { return std::vector<std::string>{}; }, false,
     [](App& app) {
         EXPECT_FALSE(app.Control("ch_output_btn_0").enabled);
         for (const WindowState& w : app.Windows()) EXPECT_NE("MenuWnd", w.className) << w.title;
     }},
    {"-1 typed into channel 3's volume at -20, the connect button clicked: nothing sent, the box and the unit keep -20 through the next connect", 
     [](App& app) { return app.Click("btnConnect", kTitle) && WaitFor([&] { return LinkShows(app, "btn_disconnected"); }); },
     [](App&) { return std::vector<std::string>{"03 1f bb 00"}; }, false,
     [](App& app) {
         EXPECT_EQ("-20dB", app.Control("edit_ch_volume_2").text);
         EXPECT_TRUE(app.Click("btnConnect", kTitle) && WaitFor([&] { return LinkShows(app, "btn_connected"); }, 30000));
         EXPECT_EQ(-20, app.Params()["out2.gain"]);
         EXPECT_EQ("-20dB", app.Control("edit_ch_volume_2").text);
     }, false,
     [](App& app) { return TypeInto(app, "edit_ch_volume_2", "-20") && WaitFor([&] { return app.Params()["out2.gain"] == -20; }) && TypeInto(app, "edit_ch_volume_2", "-1", "End"); }},
    {"5 typed into the ACC box after the main volume's typing went through a minimise and the cable out and back: a click elsewhere sends it", [](App& app) { return app.Click("edit_main_volume"); }, [](App&) { return std::vector<std::string>{"03 92 bb 05"}; }, false, [](App& app) { EXPECT_EQ("5", app.Control("edit_acc").text); }, false, [](App& app) { return TypeInto(app, "edit_main_volume", "-3", "End") && app.Request("MINIMIZE " + std::string(kTitle)).rfind("OK", 0) == 0 && app.Unplug() && WaitFor([&] { return app.Window("msgwnd").found; }) && app.Request("RESTORE " + std::string(kTitle)).rfind("OK", 0) == 0 && app.Plug() && WaitFor([&] { return LinkShows(app, "btn_connected") && !app.Window("msgwnd").found; }, 30000) && app.Click("edit_acc") && TypeInto(app, "edit_acc", "5", "End"); }},
    {"-17 typed into channel 4's volume, the window minimised: taken as any leaving takes it, and shown so once restored", [](App& app) { return app.Request("MINIMIZE " + std::string(kTitle)).rfind("OK", 0) == 0; }, [](App&) { return std::vector<std::string>{Trim(3, 17), Mute(3, 0)}; }, false, [](App& app) { EXPECT_EQ(0u, app.Request("RESTORE " + std::string(kTitle)).rfind("OK", 0)); EXPECT_EQ("-17dB", app.Control("edit_ch_volume_3").text); }, false, [](App& app) { return TypeInto(app, "edit_ch_volume_3", "-17", "End"); }},
};

class ChannelEditE2E : public ::testing::Test {
protected:
    void SetUp() override { E2E_SKIP_WITHOUT_WINDOWS_BUILD(); }
};

TEST_F(ChannelEditE2E, EachActionSendsItsFramesInOrder)
{
    App app(LaunchOptions{});
    ASSERT_TRUE(app.Started()) << app.Error();
    ASSERT_TRUE(WaitFor([&] { return LinkShows(app, "btn_connected"); }, 30000));
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        FailedSteps();  // what rows before it left
        if (row.prepare) {
            ASSERT_TRUE(row.prepare(app));
        }
        const std::vector<std::string> expected = row.frames(app);
        const size_t mark = app.Mark();
        ASSERT_TRUE(row.action(app));
        std::vector<UnitFrame> frames;
        if (row.busy) {
            // A loaded machine makes the job slower: its frames are waited
            // for while they come, and its loading window for a fixed time
            // after the unit's last.
            EXPECT_TRUE(WaitWhileAdvancing([&] {
                frames = app.FramesSince(mark);
                return (row.signature ? Signature(frames) : Texts(frames)) == expected;
            }, [&] { return static_cast<long>(app.Mark()); }, 15000)) << "the job's frames";
            ASSERT_TRUE(LoadingEnds(app)) << "the loading window 15 s after the unit's last frame";
        } else if (!expected.empty()) {
            EXPECT_TRUE(WaitFor([&] { return (frames = app.FramesSince(mark)).size() >= expected.size(); })) << "the frames";
        }
        // Nothing more arrives afterwards.
        EXPECT_EQ("OK pong", app.Request("PING"));
        EXPECT_EQ(frames.size(), app.FramesSince(mark).size());
        frames = app.FramesSince(mark);
        EXPECT_EQ(expected, row.signature ? Signature(frames) : Texts(frames));
        row.check(app);
    }
    // Every command of these jobs was queued by the UI thread.
    const std::string pushes = app.Request("PUSHES");
    ASSERT_EQ(0u, pushes.rfind("OK ", 0)) << pushes;
    EXPECT_EQ(" 0", pushes.substr(pushes.rfind(' '))) << pushes;
}

// A slider kind dragged by hand: the thumb pressed at its centre and moved
// in steps to the release point; the slider follows every step and the unit
// gets the release point's value. Without a move the press only takes the
// thumb: the value stays and nothing is sent.
struct SliderDrag {
    int dpi;  // 0: at 96 DPI and at 144, before the drags
    const char* name;
    const char* window;  // title of the window holding the slider
    const char* slider;
    // Shows the slider (opening its window) at its starting value.
    std::function<bool(App&)> prepare;
    int dx, dy;  // from the press to the release, in pixels at 96 DPI
    // The last frames a move to value sends, in order; none when empty.
    std::function<std::vector<std::string>(App&, int value)> release;
    // The frame that gives the unit value: the drag's last of its command.
    std::function<std::string(App&, int value)> holds;
    std::function<bool(App&)> finish;
    // The value its box shows, when the slider rests on that once let go rather than on the release point.
    std::function<int(App&)> rests = nullptr;
};

// The slider's value as far from the press (x0, y0) as the pointer, cut toward the press.
int ValueAt(const ControlState& s, int thumb, int x0, int y0, int x, int y)
{
    const long range = s.max - s.min;
    const bool horizontal = s.rect.Height() <= s.rect.Width();
    const long track = (horizontal ? s.rect.Width() : s.rect.Height()) - thumb;
    const long value = s.value + (horizontal ? x - x0 : y0 - y) * range / track;
    return static_cast<int>(std::max<long>(s.min, std::min<long>(s.max, value)));
}

// The centre of the thumb at the slider's value.
void ThumbCentre(const ControlState& s, int thumb, int* x, int* y)
{
    const long done = s.value - s.min, span = s.max - s.min;
    if (s.rect.Height() <= s.rect.Width()) {
        *x = s.rect.left + static_cast<int>(done * (s.rect.Width() - thumb) / span) + thumb / 2;
        *y = s.rect.CenterY();
    } else {
        *x = s.rect.CenterX();
        *y = s.rect.bottom - static_cast<int>(done * (s.rect.Height() - thumb) / span) - thumb + thumb / 2;
    }
}

// The commands the program has queued for the unit so far.
long Pushed(App& app) { return std::atol(app.Request("PUSHES").c_str() + 3); }

// Waits until the unit got a frame for each command queued since the marks.
bool UnitTook(App& app, long pushed, size_t mark)
{
    return WaitFor([&] { return static_cast<long>(app.Mark() - mark) >= Pushed(app) - pushed; });
}

// Types the text into the box; the slider shows the value and the unit has it.
bool Typed(App& app, const std::string& box, const std::string& text, const std::string& slider, int value)
{
    const long pushed = Pushed(app);
    const size_t mark = app.Mark();
    return TypeInto(app, box, text) && WaitFor([&] { return app.Control(slider).value == value; }) &&
           UnitTook(app, pushed, mark);
}

bool VolumeAt(App& app, const std::string& db, int tenths)
{
    return app.Click("tab_outputs") && WaitFor([&] { return app.Control("edit_ch_volume_0").visible; }) &&
           Typed(app, "edit_ch_volume_0", db, "slider_ch_volume_0", tenths);
}

bool VolumeAtMinus10(App& app) { return VolumeAt(app, "-10", -100); }

// Turns the wheel over the laid out slider: it steps as often, and the unit has the value.
bool WheelBy(App& app, const std::string& window, const std::string& slider, int notches, int step = 1)
{
    auto value = [&] { return app.Control(slider, window).value; };
    if (!WaitFor([&] { return app.Control(slider, window).rect.Width() > 0; })) return false;
    const int before = value();
    const long pushed = Pushed(app);
    const size_t mark = app.Mark();
    return app.Wheel(slider, notches, window) && WaitFor([&] { return value() == before + notches * step; }) &&
           UnitTook(app, pushed, mark);
}

bool OpenWindow(App& app, const std::string& row, const std::string& window)
{
    return app.Request("MENU " + row) == "OK" && WaitFor([&] { return app.Window(window).visible; });
}

bool CloseWindow(App& app, const std::string& window)
{
    return app.Click("closebtn", window) && WaitFor([&] { return !app.Window(window).found; });
}

// Starting values a press on the thumb's centre used to change.
bool VolumeAtMinus12(App& app) { return VolumeAt(app, "-12", -120); }
bool DelayAt2_6(App& app) { return Typed(app, "edit_ch_delay_0", "2.6", "slider_ch_delay_0", 2600); }
bool Band6AtMinus4(App& app)
{
    return app.Click("tab_eq_bands") && WaitFor([&] { return app.Control("eq_gain_5").visible; }) &&
           Typed(app, "eq_gain_5", "-4", "eq_slider_5", -40);
}
bool AccAt12(App& app) { return Typed(app, "edit_acc", "12", "slider_acc", 12); }
bool OpenComp(App& app) { return OpenWindow(app, "advance_item_compressors_on", kComp); }
bool CloseComp(App& app) { return CloseWindow(app, kComp); }
bool ReleaseDown(App& app) { return OpenComp(app) && WheelBy(app, kComp, "slider_release_time_3", -1, 100); }
bool OpenMixer(App& app) { return OpenWindow(app, "advance_item_mixer", "MixerWnd"); }
bool MixerUp(App& app) { return OpenMixer(app) && WheelBy(app, "MixerWnd", "box_volume_4_1", 2); }
bool CloseMixer(App& app) { return CloseWindow(app, "MixerWnd"); }

// Channel 1's trim, the attenuation in whole dB, then its unmute.
std::vector<std::string> VolumeRelease(App&, int tenths) { return {Trim(0, -tenths / 10), Mute(0, 0)}; }
std::string VolumeHeld(App&, int tenths) { return Trim(0, -tenths / 10); }
int VolumeBox(App& app) { return std::atoi(app.Control("edit_ch_volume_0").text.c_str()) * 10; }

// Channel 1's delay: whole ms and thousandths.
std::string Delay(App&, int micros)
{
    return Set(0x07, Hex({0, 0, 0, 0, micros / 1000, micros % 1000 >> 8, micros % 1000}));
}

// Band 6 of channel 1 with the frequency and Q its boxes show; the gain as g + 18 dB.
std::string Band5(App& app, int tenths)
{
    const int freq = std::atoi(app.Control("eq_freq_5").text.c_str());
    const int q = static_cast<int>(std::lround(std::atof(app.Control("eq_q_5").text.c_str()) * 10));
    return Set(0x06, Hex({0, 0, 0, 5, freq >> 8, freq, q / 10, q % 10, (tenths + 180) / 10, (tenths + 180) % 10}));
}

// The unit takes 6 dB less the volume.
std::string MainVolume(App&, int db) { return Set(0x02, Hex({6 - db})); }

// The ACC delay goes to the unit's controller.
std::string Acc(App&, int value) { return "03 92 bb " + Hex({value}); }

// The compressor of channel 4, threshold whole dB and signed tenths, with
// the attack and release its boxes show.
std::string Compressor(App& app, int tenths)
{
    const int attack = std::atoi(app.Control("edit_attack_time_3", kComp).text.c_str());
    const int release = std::atoi(app.Control("edit_release_time_3", kComp).text.c_str());
    return Set(0x4A, Hex({0, 0, 3, 3, tenths / 10, tenths % 10, attack >> 8, attack, release / 1000,
                          release / 100 % 10}));
}

// The mixer cell of output 5 and the first source's second input.
std::string MixerCell(App&, int volume) { return Set(0x24, Hex({0, 0, 1, 4, 4, volume})); }

const SliderDrag kSliderDrags[] = {
    {0, "channel volume at -12 dB pressed", kTitle, "slider_ch_volume_0", VolumeAtMinus12, 0, 0, {}, {}, nullptr},
    {0, "channel delay at 2.6 ms pressed", kTitle, "slider_ch_delay_0", DelayAt2_6, 0, 0, {}, {}, nullptr},
    {0, "EQ band 6 at -4 dB pressed", kTitle, "eq_slider_5", Band6AtMinus4, 0, 0, {}, {}, nullptr},
    {0, "main volume pressed", kTitle, "slider_main_volume", nullptr, 0, 0, {}, {}, nullptr},
    {0, "ACC at 12 pressed", kTitle, "slider_acc", AccAt12, 0, 0, {}, {}, nullptr},
    {0, "threshold pressed", kComp, "slider_threshold_3", OpenComp, 0, 0, {}, {}, CloseComp},
    {0, "attack pressed", kComp, "slider_attack_time_3", OpenComp, 0, 0, {}, {}, CloseComp},
    {0, "release pressed", kComp, "slider_release_time_3", ReleaseDown, 0, 0, {}, {}, CloseComp},
    {0, "mixer cell pressed", "MixerWnd", "box_volume_4_1", MixerUp, 0, 0, {}, {}, CloseMixer},
    {96, "channel volume from -10 dB, 30 px left", kTitle, "slider_ch_volume_0", VolumeAtMinus10, -30, 0,
     VolumeRelease, VolumeHeld, nullptr, VolumeBox},
    {96, "channel delay from 5 ms, 12 px right", kTitle, "slider_ch_delay_0",
     [](App& app) { return Typed(app, "edit_ch_delay_0", "5", "slider_ch_delay_0", 5000); },
     12, 0, [](App& app, int v) { return std::vector<std::string>{Delay(app, v)}; }, Delay, nullptr},
    {96, "EQ band 6 gain, 20 px up", kTitle, "eq_slider_5",
     [](App& app) { return app.Click("tab_eq_bands"); }, 0, -20,
     [](App& app, int v) { return std::vector<std::string>{Band5(app, v)}; }, Band5, nullptr},
    {96, "main volume, 25 px left", kTitle, "slider_main_volume", nullptr, -25, 0,
     [](App& app, int v) { return std::vector<std::string>{MainVolume(app, v), Set(0x04, "00")}; }, MainVolume,
     nullptr},
    {96, "ACC, 20 px right", kTitle, "slider_acc", nullptr, 20, 0,
     [](App& app, int v) { return std::vector<std::string>{Acc(app, v)}; }, Acc, nullptr},
    {96, "compressor threshold of channel 4, 20 px down", kComp, "slider_threshold_3",
     OpenComp, 0, 20, [](App& app, int v) { return std::vector<std::string>{Compressor(app, v)}; }, Compressor,
     CloseComp},
    // The last move gave the cell its value; the release sends it no more.
    {96, "mixer cell of output 5, input 2, 15 px right", "MixerWnd", "box_volume_4_1",
     OpenMixer, 15, 0, {}, MixerCell, CloseMixer},
    {144, "channel volume from -10 dB, 30 px left", kTitle, "slider_ch_volume_0", VolumeAtMinus10, -30, 0,
     VolumeRelease, VolumeHeld, nullptr, VolumeBox},
};

TEST(SliderDragE2E, EachSliderFollowsTheDragAndTheUnitGetsTheReleasePoint)
{
    E2E_SKIP_WITHOUT_WINDOWS_BUILD();
    std::unique_ptr<App> app;
    int dpi = 0;
    std::vector<std::pair<int, const SliderDrag*>> runs;
    for (int at : {96, 144}) {
        for (const SliderDrag& row : kSliderDrags) {
            if (row.dpi == at || row.dpi == 0) runs.emplace_back(at, &row);
        }
    }
    for (const auto& run : runs) {
        const SliderDrag& row = *run.second;
        SCOPED_TRACE(std::string(row.name) + " at " + std::to_string(run.first) + " DPI");
        if (run.first != dpi) {
            app.reset();
            LaunchOptions options;
            options.dpi = dpi = run.first;
            app.reset(new App(options));
            ASSERT_TRUE(app->Started()) << app->Error();
            ASSERT_TRUE(WaitFor([&] { return LinkShows(*app, "btn_connected"); }, 30000));
        }
        if (row.prepare) {
            ASSERT_TRUE(row.prepare(*app));
        }
        // A window just opened lays its controls out a moment later.
        ControlState slider;
        ASSERT_TRUE(WaitFor([&] {
            slider = app->Control(row.slider, row.window);
            return slider.visible && slider.enabled && slider.rect.Width() > 0 && slider.rect.Height() > 0;
        })) << row.slider;
        const int thumb = 14 * dpi / 96;
        int x0 = 0, y0 = 0;
        ThumbCentre(slider, thumb, &x0, &y0);
        const int x1 = x0 + row.dx * dpi / 96, y1 = y0 + row.dy * dpi / 96;
        // The press, then each step of the hand: the slider shows the value
        // under the pointer, and on the press point the value it had.
        int shown = 0;
        auto value = [&](int x, int y) {  // within the drag rectangle (4 by 4 px here) the value it had
            return std::abs(x - x0) <= 2 && std::abs(y - y0) <= 2 ? slider.value : ValueAt(slider, thumb, x0, y0, x, y);
        };
        auto follows = [&](int x, int y) {
            const int under = value(x, y);
            if (WaitFor([&] { return (shown = app->Control(row.slider, row.window).value) == under; }, 5000))
                return true;
            ADD_FAILURE() << "at (" << x << "," << y << ") the slider shows " << shown << ", not " << under;
            return false;
        };
        const long pushed = Pushed(*app);
        const size_t pressed = app->Mark();
        bool followed = app->Press(x0, y0) && follows(x0, y0);
        const int steps = 5;
        for (int i = 1; i <= steps && followed; ++i) {
            const int x = x0 + (x1 - x0) * i / steps, y = y0 + (y1 - y0) * i / steps;
            followed = app->MoveTo(x, y) && follows(x, y);
        }
        const int released = value(x1, y1);
        const std::vector<std::string> expected =
            row.release ? row.release(*app, released) : std::vector<std::string>{};
        // The moves' frames first, so that none of them is counted as the release's.
        ASSERT_TRUE(UnitTook(*app, pushed, pressed));
        const size_t mark = app->Mark();
        const std::vector<std::string> moved = Texts(app->FramesSince(pressed));
        EXPECT_EQ(expected, std::vector<std::string>(moved.end() - std::min(moved.size(), expected.size()), moved.end()));
        ASSERT_TRUE(app->Release() && app->Request("PING") == "OK pong" && UnitTook(*app, pushed, pressed));
        EXPECT_EQ(std::vector<std::string>{}, Texts(app->FramesSince(mark)));
        const int rest = row.rests ? row.rests(*app) : released;
        EXPECT_TRUE(WaitFor([&] { return app->Control(row.slider, row.window).value == rest; })) << "rests on " << rest;
        const std::string held = row.holds ? row.holds(*app, rest) : "";
        std::string last;
        for (const UnitFrame& f : app->FramesSince(pressed)) {
            // Without a command to hold, no frame at all since the press.
            if (held.empty() || f.Text().compare(0, 5, held, 0, 5) == 0) last = f.Text();
        }
        EXPECT_EQ(held, last);
        if (row.dx == 0 && row.dy == 0) {
            // Pressed again, slipping a pixel toward each end, then past the drag rectangle: one value, sent once.
            const size_t again = app->Mark();
            ASSERT_TRUE(app->Press(x0, y0));
            for (const int d : {-1, 1, 5}) {
                const int x = slider.rect.Height() <= slider.rect.Width() ? x0 + d : x0, y = x == x0 ? y0 - d : y0;
                ASSERT_TRUE(app->MoveTo(x, y) && follows(x, y)) << d;
            }
            ASSERT_TRUE(app->Release() && app->Request("PING") == "OK pong" && UnitTook(*app, pushed, pressed));
            std::map<std::string, int> sent;
            for (const UnitFrame& f : app->FramesSince(again)) EXPECT_EQ(1, ++sent[f.Text()]) << f.Text();
            EXPECT_FALSE(sent.empty());
        }
        if (row.finish) {
            ASSERT_TRUE(row.finish(*app));
        }
    }
}

}  // namespace
}  // namespace e2e
