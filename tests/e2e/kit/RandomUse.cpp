#include "tests/e2e/kit/RandomUse.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>

namespace e2e {
namespace {

const char kMain[] = "Brisa DSP Audio";
const int kStepBoundMs = 20000;
// A read after a plug-back, or a push, may hold the busy window this long.
const int kBusyBoundMs = 60000;
const size_t kTrail = 12;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Controls whose use ends the run's subject or leaves the skin: the main
// window's close and minimise, and rows that open the system's file dialogs.
bool Excluded(const std::string& window, const std::string& name)
{
    if (window == kMain && (name == "closebtn" || name == "minbtn")) return true;
    return Contains(name, "_file") || Contains(name, "_whole") || Contains(name, "firmware_upgrade");
}

struct Target {
    std::string window, title, name;
    ControlState state;
};

// "#<hwnd hex>": titles of dialogs repeat.
std::string Handle(const WindowState& w)
{
    char hex[16];
    std::snprintf(hex, sizeof(hex), "#%lx", w.hwnd);
    return hex;
}

bool IsDialog(const WindowState& w) { return w.visible && w.title != kMain && w.title != "loadingwnd"; }

// The topmost open dialog takes the input, as a modal one would: its
// selector and its title.
std::pair<std::string, std::string> ActiveWindow(App& app)
{
    std::pair<std::string, std::string> active(kMain, kMain);
    for (const WindowState& w : app.Windows())
        if (IsDialog(w)) active = {Handle(w), w.title};
    return active;
}

std::vector<Target> Targets(App& app, const std::pair<std::string, std::string>& window)
{
    std::vector<Target> targets;
    const auto controls = app.Controls(window.first);
    if (controls.empty()) return targets;
    // Popup menus have no title: counted under their first row's name.
    const std::string title = window.second.empty() ? "menu " + controls.front().first : window.second;
    for (const auto& named : controls) {
        const ControlState& c = named.second;
        if (!c.visible || !c.enabled || c.rect.Width() < 4 || c.rect.Height() < 4) continue;
        if (Excluded(window.second, named.first)) continue;
        targets.push_back({window.first, title, named.first, c});
    }
    return targets;
}

size_t Pick(std::mt19937& random, size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(random); }

// Targets grouped by their name without the trailing number: the 31 band
// boxes of one column or the 16 mutes are one kind, as likely to be picked
// as a lone button that opens a dialog.
std::vector<std::vector<Target>> Kinds(const std::vector<Target>& targets)
{
    std::vector<std::vector<Target>> kinds;
    std::map<std::string, size_t> index;
    for (const Target& t : targets) {
        const std::string stem = t.name.substr(0, t.name.find_last_not_of("0123456789") + 1);
        auto found = index.emplace(stem, kinds.size());
        if (found.second) kinds.emplace_back();
        kinds[found.first->second].push_back(t);
    }
    return kinds;
}

bool BusyEnds(App& app)
{
    return WaitFor([&] { return !app.Window("loadingwnd").found; }, kBusyBoundMs);
}

// One random use of target; returns what was done.
std::string Use(App& app, std::mt19937& random, const Target& t)
{
    const Rect& r = t.state.rect;
    const int kind = std::uniform_int_distribution<int>(0, 9)(random);
    auto within = [&](int from, int to) { return std::uniform_int_distribution<int>(from, std::max(from, to - 1))(random); };
    if (kind <= 4) {
        app.ClickAt(within(r.left + 1, r.right - 1), within(r.top + 1, r.bottom - 1));
        return "click " + t.name;
    }
    if (kind == 5) {
        const int notches = std::uniform_int_distribution<int>(-3, 3)(random);
        app.Wheel(t.name, notches == 0 ? 1 : notches, t.window);
        return "wheel " + t.name + " " + std::to_string(notches);
    }
    if (kind == 6 && Contains(t.state.type, "Edit")) {
        const std::string typed = std::to_string(std::uniform_int_distribution<int>(-80, 25000)(random));
        app.ClickAt(r.CenterX(), r.CenterY());
        app.Key("End");
        app.Key("shift+Home");
        app.Type(typed);
        app.Key("Return");
        return "type " + typed + " into " + t.name;
    }
    if (kind <= 7) {
        app.Drag(within(r.left, r.right), within(r.top, r.bottom), within(r.left - 20, r.right + 20),
                 within(r.top - 20, r.bottom + 20), 6, 150);
        return "drag " + t.name;
    }
    if (kind == 8) {
        app.RightClick(t.name, t.window);
        return "right-click " + t.name;
    }
    app.ClickAt(r.CenterX(), r.CenterY(), 1, 2);
    return "double-click " + t.name;
}

}  // namespace

RandomUseResult RunRandomUse(App& app, const RandomUseOptions& options)
{
    RandomUseResult result;
    std::mt19937 random(options.seed);
    bool plugged = true;
    auto note = [&](const std::string& step) {
        result.trail.push_back(step);
        if (result.trail.size() > kTrail) result.trail.erase(result.trail.begin());
    };
    for (; result.done < options.actions; ++result.done) {
        if (options.plugEvery > 0 && result.done % options.plugEvery == options.plugEvery - 1) {
            plugged = !plugged;
            if (!(plugged ? app.Plug() : app.Unplug())) {
                result.failure = "the probe did not take the plug change";
                return result;
            }
            note(plugged ? "plug" : "unplug");
            ++result.byKind[plugged ? "plug" : "unplug"];
        } else {
            const std::vector<std::vector<Target>> kinds = Kinds(Targets(app, ActiveWindow(app)));
            if (!kinds.empty()) {
                const std::vector<Target>& kind = kinds[Pick(random, kinds.size())];
                const Target& t = kind[Pick(random, kind.size())];
                const std::string step = Use(app, random, t);
                ++result.byWindow[t.title];
                ++result.byKind[step.substr(0, step.find(' '))];
                note(step);
                // Now and then a dialog or menu is put away by its key.
                if (std::uniform_int_distribution<int>(0, 7)(random) == 0) app.Key("Escape");
            } else {
                // A menu whose rows are all disabled, or a window with nothing
                // to use: put away as the user would.
                app.Key("Escape");
                note("escape");
                ++result.byKind["escape"];
            }
        }
        if (!app.Running()) {
            result.failure = "the program ended";
            return result;
        }
        if (!WaitFor([&] { return app.Request("PING") == "OK pong"; }, kStepBoundMs)) {
            result.failure = "the window does not answer";
            return result;
        }
        if (!BusyEnds(app)) {
            result.failure = "the busy window stays";
            return result;
        }
        if (options.sampleEvery <= 0 || result.done % options.sampleEvery != 0) continue;
        const ProcessResources now = app.Resources();
        result.peakGdi = std::max(result.peakGdi, now.gdi);
        result.peakUser = std::max(result.peakUser, now.user);
        result.peakThreads = std::max(result.peakThreads, now.threads);
    }
    if (!plugged) app.Plug();
    return result;
}

std::string CountsText(const std::map<std::string, int>& counts)
{
    std::string text;
    for (const auto& count : counts)
        text += (text.empty() ? "" : ", ") + count.first + ": " + std::to_string(count.second);
    return text;
}

bool SettleConnected(App& app)
{
    app.Plug();
    for (int round = 0; round < 20; ++round) {
        bool others = false;
        for (const WindowState& w : app.Windows()) {
            if (!IsDialog(w)) continue;
            others = true;
            const std::string hex = Handle(w);
            if (app.Control("confirm_btn", hex).visible) app.Click("confirm_btn", hex);
            else if (app.Control("closebtn", hex).visible) app.Click("closebtn", hex);
            else app.Key("Escape");
            WaitFor([&] { return !app.Window(hex).found; }, 3000);
        }
        if (!others && BusyEnds(app)) break;
    }
    // Random use may have switched the language; the checks read English.
    app.Request("MENU option_item_language_en");
    WaitFor([&] {
        const std::string text = app.Control("btnConnect", kMain).text;
        return text == SkinText("en", "btn_connected") || text == SkinText("en", "btn_disconnected");
    });
    if (app.Control("btnConnect", kMain).text == SkinText("en", "btn_disconnected")) app.Click("btnConnect", kMain);
    return WaitFor(
        [&] {
            return app.Control("btnConnect", kMain).text == SkinText("en", "btn_connected") &&
                   !app.Window("loadingwnd").found && app.Windows().size() == 1;
        },
        kBusyBoundMs);
}

std::string ShownDiffersFromUnit(App& app)
{
    std::map<std::string, long> unit = app.Params(0);
    if (unit.empty()) return "the unit's parameters could not be read";
    auto differs = [](const std::string& what, const std::string& unitText, const std::string& shown) {
        return what + ": unit " + unitText + ", shown " + shown;
    };
    const ControlState mainVolume = app.Control("slider_main_volume", kMain);
    if (mainVolume.value != unit["mainvolume"])
        return differs("main volume", std::to_string(unit["mainvolume"]), std::to_string(mainVolume.value));
    for (int ch = 0; ch < 16; ++ch) {
        const std::string p = "out" + std::to_string(ch) + ".";
        const bool muted = app.Control("ch_mute_" + std::to_string(ch), kMain).selected;
        if (muted != (unit[p + "mute"] != 0)) return differs(p + "mute", std::to_string(unit[p + "mute"]), muted ? "1" : "0");
        const int level = app.Control("slider_ch_volume_" + std::to_string(ch), kMain).value;
        if (level != unit[p + "gain"] * 10) return differs(p + "gain", std::to_string(unit[p + "gain"]), std::to_string(level));
    }
    const std::string label = app.Control("label_channel_name", kMain).text;
    int current = -1;
    if (std::sscanf(label.c_str(), "CH%d", &current) != 1 || current < 1 || current > 16)
        return "no current channel shown: \"" + label + "\"";
    --current;
    const int bands = current < 12 ? 31 : 11;
    for (int b = 0; b < bands; ++b) {
        const std::string q = "out" + std::to_string(current) + ".eq" + std::to_string(b) + ".";
        const std::string n = std::to_string(b);
        char text[32];
        const std::string freq = app.Control("eq_freq_" + n, kMain).text;
        if (freq != std::to_string(unit[q + "freq"])) return differs(q + "freq", std::to_string(unit[q + "freq"]), freq);
        std::snprintf(text, sizeof(text), "%.2f", unit[q + "q"] / 100.0);
        const std::string qText = app.Control("eq_q_" + n, kMain).text;
        if (qText != text) return differs(q + "q", text, qText);
        std::snprintf(text, sizeof(text), "%.1f", unit[q + "gain"] / 10.0);
        const std::string gain = app.Control("eq_gain_" + n, kMain).text;
        if (gain != text) return differs(q + "gain", text, gain);
    }
    return "";
}

}  // namespace e2e
