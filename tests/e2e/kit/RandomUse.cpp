#include "tests/e2e/kit/RandomUse.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <set>

namespace e2e {
namespace {

const char kMain[] = "Brisa DSP Audio";
const int kStepBoundMs = 20000;
// A read after a plug-back, or a push, may hold the busy window this long.
const int kBusyBoundMs = 60000;
const size_t kTrail = 12;
// How long the unit stays away: long enough for the notices and the
// disconnected state to take some use, short enough that most use reaches
// a connected program.
const int kUnpluggedActions = 6;
// A dialog that took this many actions leans towards its close buttons, so
// that a grid of many cells does not keep the run from the other windows.
const int kDialogStay = 10;
// How many boxes in a row are confirmed towards the update offer.
const int kOfferConfirms = 3;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Controls whose use ends the run's subject or leaves the skin: the main
// window's close and minimise, the buttons and rows that open the system's
// file dialogs, and the forced update's start, whose two stages of a real
// image hold the window for minutes and are the firmware tests' subject.
bool Excluded(const WindowState& window, const std::string& name)
{
    if (window.title == kMain && (name == "closebtn" || name == "minbtn")) return true;
    if (window.className == "ForceUpdateWnd" && name == "update_btn") return true;
    return Contains(name, "_file") || Contains(name, "_whole") || name == "file_btn";
}

// The windows every run must reach; menus count as one.
const char* const kMustReach[] = {"MainWnd",    "menu",          "MixerWnd",          "MemWrWnd",
                                  "msgwnd",     "scenewnd",      "NameMsgWnd",        "CompressorsOnWnd",
                                  "AboutWnd",   "UpdateFwWnd",   "NoiseThresholdWnd", "ForceUpdateWnd"};
const char kForced[] = "ForceUpdateWnd";

// A control of a window (by label) and the windows it leads towards.
struct Lead {
    const char* window;
    const char* stem;
    std::vector<std::string> opens;
};

const Lead kLeads[] = {
    {"MainWnd", "btn_advance", {"MixerWnd", "CompressorsOnWnd", "NoiseThresholdWnd"}},
    {"MainWnd", "btn_option", {"AboutWnd", "UpdateFwWnd"}},
    {"MainWnd", "btn_scene", {"scenewnd", "NameMsgWnd"}},
    {"MainWnd", "btn_debug", {"MemWrWnd"}},
    {"menu", "advance_item_mixer", {"MixerWnd"}},
    {"menu", "advance_item_compressors_on", {"CompressorsOnWnd"}},
    {"menu", "advance_item_noise_threshold", {"NoiseThresholdWnd"}},
    {"menu", "option_item_about", {"AboutWnd"}},
    {"menu", "option_item_firmware_upgrade", {"UpdateFwWnd"}},
    {"menu", "scene_item_load_scene", {"scenewnd"}},
    {"menu", "scene_item_delete_scene", {"scenewnd"}},
    {"menu", "scene_item_saveas_scene", {"scenewnd", "NameMsgWnd"}},
    // A row chosen and confirmed in the save mode asks for the name; a
    // question confirmed may be the overwrite or the update offer.
    {"scenewnd", "listitem", {"NameMsgWnd"}},
    {"scenewnd", "confirm_btn", {"NameMsgWnd"}},
    {"msgwnd", "confirm_btn", {"NameMsgWnd", kForced}},
};

struct Target {
    std::string window, label, name;
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

// A window's kind: its class, or its title where boxes share one class.
std::string Label(const WindowState& w)
{
    if (w.className == "SkinMenuWnd") return "menu";
    return w.className == "MsgWnd" ? w.title : w.className;
}

std::string Selector(const WindowState& w) { return w.hwnd ? Handle(w) : kMain; }

std::string Stem(const std::string& name) { return name.substr(0, name.find_last_not_of("0123456789") + 1); }

std::vector<Target> Targets(App& app, const WindowState& window)
{
    std::vector<Target> targets;
    const auto controls = app.Controls(Selector(window));
    if (controls.empty()) return targets;
    // Popup menus have no title: counted under their first row's name.
    const std::string label = Label(window) == "menu" ? "menu " + controls.front().first : Label(window);
    for (const auto& named : controls) {
        const ControlState& c = named.second;
        if (!c.visible || !c.enabled || c.rect.Width() < 4 || c.rect.Height() < 4) continue;
        if (Excluded(window, named.first)) continue;
        targets.push_back({Selector(window), label, named.first, c});
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
        auto found = index.emplace(Stem(t.name), kinds.size());
        if (found.second) kinds.emplace_back();
        kinds[found.first->second].push_back(t);
    }
    return kinds;
}

int Count(const std::map<std::string, int>& counts, const std::string& key)
{
    const auto found = counts.find(key);
    return found == counts.end() ? 0 : found->second;
}

// How far a window is reached: entered, and acted in, that many times.
int Reached(const RandomUseResult& r, const std::string& window)
{
    return std::min(Count(r.entered, window), Count(r.acted, window));
}

// How far the least reached window a target leads to was reached; -1 when
// it leads nowhere in particular.
int LeadScore(const Target& t, const std::string& windowKind, const RandomUseResult& r)
{
    int score = -1;
    for (const Lead& lead : kLeads) {
        if (windowKind != lead.window || Stem(t.name) != lead.stem) continue;
        for (const std::string& opens : lead.opens) {
            const int times = Reached(r, opens);
            if (score < 0 || times < score) score = times;
        }
    }
    return score;
}

// The targets leading towards the least reached window; empty when none leads.
std::vector<Target> Leading(const std::vector<Target>& targets, const std::string& windowKind,
                            const RandomUseResult& r)
{
    std::vector<Target> best;
    int bestScore = -1;
    for (const Target& t : targets) {
        const int score = LeadScore(t, windowKind, r);
        if (score < 0 || (bestScore >= 0 && score > bestScore)) continue;
        if (score != bestScore) best.clear();
        bestScore = score;
        best.push_back(t);
    }
    return best;
}

// A firmware image goes to the unit while an update window holds its
// buttons. A unit pulled then stays in its loader, which only a finished
// update brings back (the firmware tests cover that): random use leaves
// that round's unplug out.
bool Transferring(App& app, const WindowState& w)
{
    const std::string label = Label(w);
    if (!w.visible || (label != "UpdateFwWnd" && label != kForced)) return false;
    const ControlState cancel = app.Control("cancel_btn", Handle(w));
    return cancel.found && !cancel.enabled;
}

std::vector<Target> Closers(const std::vector<Target>& targets)
{
    std::vector<Target> closers;
    for (const Target& t : targets)
        if (t.name == "closebtn" || t.name == "cancel_btn") closers.push_back(t);
    return closers;
}

bool BusyEnds(App& app)
{
    return WaitFor([&] { return !app.Window("loadingwnd").found; }, kBusyBoundMs);
}

// What a hand types into a number box: numbers, signs, decimals, the unit
// letters the boxes take, and junk.
std::string Typed(std::mt19937& random)
{
    static const char* const kJunk[] = {"abc", "--", "1..2", "k", "+-3", "12dB", "0x1f", "", "99999999", "2k5k"};
    auto number = [&](int from, int to) { return std::to_string(std::uniform_int_distribution<int>(from, to)(random)); };
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
    case 0: return number(-80, 25000);
    case 1: return "-" + number(0, 99);
    case 2: return number(-20, 20) + "." + number(0, 99);
    case 3: return number(0, 20) + "k" + number(0, 9);
    default: return kJunk[Pick(random, sizeof(kJunk) / sizeof(kJunk[0]))];
    }
}

// One random use of target, or of a visible edit of its window when
// typing; returns what was done.
std::string Use(App& app, std::mt19937& random, const Target& t, const std::vector<Target>& all)
{
    const Rect& r = t.state.rect;
    const int kind = std::uniform_int_distribution<int>(0, 10)(random);
    auto within = [&](int from, int to) { return std::uniform_int_distribution<int>(from, std::max(from, to - 1))(random); };
    std::vector<const Target*> edits;
    for (const Target& e : all)
        if (Contains(e.state.type, "Edit")) edits.push_back(&e);
    if (kind <= 4) {
        app.ClickAt(within(r.left + 1, r.right - 1), within(r.top + 1, r.bottom - 1));
        return "click " + t.name;
    }
    if (kind == 5) {
        const int notches = std::uniform_int_distribution<int>(-3, 3)(random);
        app.Wheel(t.name, notches == 0 ? 1 : notches, t.window);
        return "wheel " + t.name + " " + std::to_string(notches);
    }
    if (kind <= 7 && !edits.empty()) {
        const Target& edit = *edits[Pick(random, edits.size())];
        const std::string typed = Typed(random);
        app.ClickAt(edit.state.rect.CenterX(), edit.state.rect.CenterY());
        app.Key("End");
        app.Key("shift+Home");
        if (!typed.empty()) app.Type(typed);
        app.Key("Return");
        return "type \"" + typed + "\" into " + edit.name;
    }
    if (kind <= 8) {
        app.Drag(within(r.left, r.right), within(r.top, r.bottom), within(r.left - 20, r.right + 20),
                 within(r.top - 20, r.bottom + 20), 6, 150);
        return "drag " + t.name;
    }
    if (kind == 9) {
        app.RightClick(t.name, t.window);
        return "right-click " + t.name;
    }
    app.ClickAt(r.CenterX(), r.CenterY(), 1, 2);
    return "double-click " + t.name;
}

int Least(const RandomUseResult& r)
{
    int least = -1;
    for (const char* window : kMustReach) {
        const int times = Reached(r, window);
        if (least < 0 || times < least) least = times;
    }
    return least;
}

}  // namespace

RandomUseResult RunRandomUse(App& app, const RandomUseOptions& options)
{
    RandomUseResult result;
    result.entered = options.entered;
    result.acted = options.acted;
    std::mt19937 random(options.seed);
    bool plugged = true;
    std::map<std::string, long> identity = app.Params(0);
    if (identity.count("fw.main") == 0 || identity.count("fw.slave") == 0) {
        result.failure = "the unit's firmware could not be read";
        return result;
    }
    const int main = static_cast<int>(identity["fw.main"]), slave = static_cast<int>(identity["fw.slave"]);
    bool offered = false;   // the unit came back on older firmware
    int forcedBefore = 0;   // the forced update's entries when it was offered
    // Boxes confirmed towards the offer since: a box that comes back at once
    // (the update cannot start over another dialog) is not followed for ever.
    int offerConfirms = 0;
    unsigned long steeredIn = 0;  // the window the last action followed a lead in
    unsigned long current = 0;    // the active window, and the actions it took
    int actionsIn = 0;
    std::set<unsigned long> seen;
    auto note = [&](const std::string& step) {
        result.trail.push_back(step);
        if (result.trail.size() > kTrail) result.trail.erase(result.trail.begin());
    };
    for (; result.done < options.actions; ++result.done) {
        WindowState active;
        active.title = kMain;
        active.className = "MainWnd";
        bool transferring = false;
        for (const WindowState& w : app.Windows()) {
            if (w.visible && seen.insert(w.hwnd).second) ++result.entered[Label(w)];
            if ((w.title == kMain && !active.found) || IsDialog(w)) active = w;
            transferring = transferring || Transferring(app, w);
        }
        if (offered && Count(result.entered, kForced) > forcedBefore) offered = false;
        const int phase = options.plugEvery > 0 ? result.done % options.plugEvery : -1;
        const bool plugDue =
            phase >= 0 && phase == (plugged ? options.plugEvery : std::min(kUnpluggedActions, options.plugEvery)) - 1;
        if (plugDue && !(plugged && transferring)) {
            plugged = !plugged;
            // When the forced update is the least reached window, the unit
            // comes back on a firmware older than the one the program carries.
            offered = plugged && slave > 0 && Reached(result, kForced) <= Least(result);
            forcedBefore = Count(result.entered, kForced);
            offerConfirms = 0;
            if (plugged && !app.SetFirmware(main, offered ? slave - 1 : slave)) {
                result.failure = "the probe did not take the firmware change";
                return result;
            }
            if (!(plugged ? app.Plug() : app.Unplug())) {
                result.failure = "the probe did not take the plug change";
                return result;
            }
            note(plugged ? (offered ? "plug on older firmware" : "plug") : "unplug");
            ++result.byKind[plugged ? "plug" : "unplug"];
        } else {
            const std::string kind = Label(active);
            if (active.hwnd != current) {
                current = active.hwnd;
                actionsIn = 0;
            }
            ++actionsIn;
            const std::vector<Target> targets = Targets(app, active);
            std::vector<Target> leading = Leading(targets, kind, result);
            if (leading.empty() && kind != "MainWnd" && kind != "menu" && actionsIn > kDialogStay)
                leading = Closers(targets);
            // A lead followed goes on in the window it opened (a menu's row).
            const bool opened = steeredIn != 0 && active.hwnd != steeredIn;
            const bool steer =
                !leading.empty() &&
                (opened || (offered && kind == "msgwnd" && offerConfirms++ < kOfferConfirms) || Pick(random, 2) == 0);
            if (steer) {
                const Target& t = leading[Pick(random, leading.size())];
                app.ClickAt(t.state.rect.CenterX(), t.state.rect.CenterY());
                ++result.byWindow[t.label];
                ++result.acted[kind];
                ++result.byKind["click"];
                note("click " + t.name + " (towards a window)");
            } else if (!targets.empty()) {
                const std::vector<std::vector<Target>> kinds = Kinds(targets);
                const std::vector<Target>& same = kinds[Pick(random, kinds.size())];
                const Target& t = same[Pick(random, same.size())];
                const std::string step = Use(app, random, t, targets);
                ++result.byWindow[t.label];
                ++result.acted[kind];
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
            steeredIn = steer ? active.hwnd : 0;
        }
        if (!app.Running()) {
            result.failure = "the program ended";
            return result;
        }
        // Asked of the UI thread, which a PING never reaches.
        std::string reply;
        if (!WaitFor([&] { return (reply = app.Request("WINDOW " + std::string(kMain))).rfind("OK", 0) == 0; },
                     kStepBoundMs)) {
            result.failure = "the UI thread does not answer after \"" + result.trail.back() + "\" in " + Label(active) +
                             " \"" + active.title + "\": " + reply;
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
    app.SetFirmware(main, slave);
    if (!plugged) app.Plug();
    return result;
}

std::string Unreached(const std::map<std::string, int>& entered, const std::map<std::string, int>& acted)
{
    std::string missing;
    for (const char* window : kMustReach) {
        const int in = Count(entered, window), used = Count(acted, window);
        if (in > 0 && used > 0) continue;
        missing += (missing.empty() ? "" : ", ") + std::string(window) + " (entered " + std::to_string(in) +
                   ", acted " + std::to_string(used) + ")";
    }
    return missing;
}

std::string CountsText(const std::map<std::string, int>& counts)
{
    std::string text;
    for (const auto& count : counts)
        text += (text.empty() ? "" : ", ") + count.first + ": " + std::to_string(count.second);
    return text;
}

// The first enabled button of a dialog that puts it away; "" when it has
// none, and "held" when its buttons are there but disabled (a transfer runs).
std::string Dismisser(App& app, const std::string& window)
{
    bool held = false;
    for (const char* name : {"closebtn", "cancel_btn", "confirm_btn"}) {
        const ControlState c = app.Control(name, window);
        if (c.visible && c.enabled) return name;
        held = held || c.visible;
    }
    return held ? "held" : "";
}

bool MakeMainTooltip(App& app)
{
    const long before = app.Resources().user;
    const ControlState connect = app.Control("btnConnect", "Brisa DSP Audio");
    return connect.found && app.MoveTo(connect.rect.CenterX(), connect.rect.CenterY()) &&
           WaitFor([&] { return app.Resources().user > before; }, kStepBoundMs);
}

// The brushes the program holds: an edit window's background is one, and
// the system menu's first paint makes two that it keeps.
int Brushes(App& app)
{
    std::vector<std::string> objects;
    app.Request("GDIOBJECTS", &objects);
    return static_cast<int>(std::count_if(objects.begin(), objects.end(),
                                          [](const std::string& o) { return Contains(o, "type 2"); }));
}

bool MakeEditMenu(App& app)
{
    const std::string box = "edit_ch_volume_0";
    const long bare = app.Resources().user;
    const int unpainted = Brushes(app);
    // The box's own edit window comes with the first click and paints its
    // background, the menu with the right one. The menu is put away once its
    // paint made what the system keeps: a key before the paint (a loaded
    // machine) puts it away unpainted, and a later run's menu makes it.
    if (!app.Click(box, kMain) ||
        !WaitFor([&] { return app.Resources().user > bare && Brushes(app) > unpainted; }, kStepBoundMs))
        return false;
    const long editing = app.Resources().user;
    const int edited = Brushes(app);
    int painted = 0;
    // A row first highlighted makes two more brushes the system keeps.
    return app.RightClick(box, kMain) &&
           WaitFor([&] { return app.Resources().user > editing && (painted = Brushes(app)) > edited; }, kStepBoundMs) &&
           app.Key("Down") && WaitFor([&] { return Brushes(app) > painted; }, kStepBoundMs) &&
           app.Key("Escape") && WaitFor([&] { return app.Resources().user == editing; }, kStepBoundMs);
}

std::string SettleConnected(App& app)
{
    app.Plug();
    const std::string connected = SkinText("en", "btn_connected");
    const std::string disconnected = SkinText("en", "btn_disconnected");
    bool english = false;
    std::string state;
    // Dialogs are put away for as long as they come, each by one click or
    // key that must close it: a transfer a dialog's buttons hold ends or
    // fails within the busy bound, and connecting may bring a notice of its own.
    // The newest first, as a hand puts away what stands on top: a click the
    // program took late may open a menu over a notice.
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(3 * kBusyBoundMs)) {
        // The busy window is waited out before a dialog below it is put
        // away, as a hand waits: a click meanwhile waits in the program's
        // queue behind the read's answers. The one the program posted itself
        // to open (the plug's read) is open once what it posted is taken.
        if (!WaitFor([&] { return app.Request("SYNC") == "OK"; }, kBusyBoundMs) || !BusyEnds(app)) {
            state = "the busy window stays";
            continue;
        }
        state.clear();
        const std::vector<WindowState> windows = app.Windows();
        for (auto newest = windows.rbegin(); newest != windows.rend(); ++newest) {
            const WindowState& w = *newest;
            if (!IsDialog(w)) continue;
            state = Label(w) + " \"" + w.title + "\"";
            // Under a box of its own: that box is put away first.
            if (!w.enabled) continue;
            const std::string hex = Handle(w);
            const std::string button = Dismisser(app, hex);
            if (button == "held") {
                WaitFor([&] { return Dismisser(app, hex) != "held"; }, kBusyBoundMs);
                break;
            }
            const std::string put = button.empty() ? "Escape" : "a click on " + button;
            // A notice the program closes itself as the hand comes (the unit's
            // return closes its unplug notice) is put away too.
            const bool done = button.empty() ? app.Key("Escape") : app.Click(button, hex);
            if (done ? !WaitFor([&] { return !app.Window(hex).found; }, kStepBoundMs) : app.Window(hex).found)
                return state + " stays open after " + put;
            break;
        }
        if (!state.empty()) continue;
        // Random use may have switched the language; the checks read English.
        if (!english) {
            app.Request("MENU option_item_language_en");
            english = true;
        }
        const std::string text = app.Control("btnConnect", kMain).text;
        if (text == connected && app.Windows().size() == 1) return "";
        state = "connect button \"" + text + "\"";
        if (text != disconnected) {
            WaitFor([&] { return app.Control("btnConnect", kMain).text != text; }, 1000);
            continue;
        }
        if (!app.Click("btnConnect", kMain) ||
            !WaitFor([&] { return app.Control("btnConnect", kMain).text != text || app.Windows().size() > 1; },
                     kStepBoundMs))
            return "a click on btnConnect showing \"" + text + "\" had no effect";
    }
    return state;
}

namespace {

std::string Differs(const std::string& what, const std::string& unitText, const std::string& shown)
{
    return what + ": unit " + unitText + ", shown " + shown;
}

// The first of the channel's EQ bands whose boxes differ from the unit; a
// bypassed EQ shows no gain.
std::string BandsDiffer(App& app, std::map<std::string, long>& unit, int channel, bool bypassed)
{
    const int bands = channel < 12 ? 31 : 11;
    for (int b = 0; b < bands; ++b) {
        const std::string q = "out" + std::to_string(channel) + ".eq" + std::to_string(b) + ".";
        const std::string n = std::to_string(b);
        char text[32];
        const std::string freq = app.Control("eq_freq_" + n, kMain).text;
        if (freq != std::to_string(unit[q + "freq"])) return Differs(q + "freq", std::to_string(unit[q + "freq"]), freq);
        std::snprintf(text, sizeof(text), "%.2f", unit[q + "q"] / 100.0);
        const std::string qText = app.Control("eq_q_" + n, kMain).text;
        if (qText != text) return Differs(q + "q", text, qText);
        std::snprintf(text, sizeof(text), "%.1f", bypassed ? 0.0 : unit[q + "gain"] / 10.0);
        const std::string gain = app.Control("eq_gain_" + n, kMain).text;
        if (gain != text) return Differs(q + "gain", text, gain);
    }
    return "";
}

}  // namespace

std::string GdiMissing(const std::vector<std::string>& from, const std::vector<std::string>& in)
{
    auto kind = [](const std::string& line) { return line.substr(line.find(' ') + 1); };
    std::map<std::string, int> held;
    for (const std::string& line : in) ++held[kind(line)];
    std::string missing;
    for (const std::string& line : from)
        if (held[kind(line)]-- <= 0) missing += "\n  " + kind(line);
    return missing;
}

std::vector<std::string> WindowDcs(const std::vector<std::string>& objects)
{
    std::vector<std::string> dcs;
    for (const std::string& line : objects)
        if (Contains(line, " window DC ") || Contains(line, " region ")) dcs.push_back(line);
    return dcs;
}

bool SetEqBypass(App& app, int channel, long bypass)
{
    const std::string key = "out" + std::to_string(channel) + ".eqbypass";
    return app.Click("btn_bypass", kMain) && WaitFor([&] { return app.Control("confirm_btn", "msgwnd").visible; }) &&
           app.Click("confirm_btn", "msgwnd") && WaitFor([&] { return !app.Window("msgwnd").found; }) &&
           WaitFor([&] { return app.Params(0)[key] == bypass; }, 5000);
}

std::string ShownDiffersFromUnit(App& app)
{
    std::map<std::string, long> unit = app.Params(0);
    if (unit.empty()) return "the unit's parameters could not be read";
    const ControlState mainVolume = app.Control("slider_main_volume", kMain);
    if (mainVolume.value != unit["mainvolume"])
        return Differs("main volume", std::to_string(unit["mainvolume"]), std::to_string(mainVolume.value));
    for (int ch = 0; ch < 16; ++ch) {
        const std::string p = "out" + std::to_string(ch) + ".";
        const bool muted = app.Control("ch_mute_" + std::to_string(ch), kMain).selected;
        if (muted != (unit[p + "mute"] != 0)) return Differs(p + "mute", std::to_string(unit[p + "mute"]), muted ? "1" : "0");
        const int level = app.Control("slider_ch_volume_" + std::to_string(ch), kMain).value;
        if (level != unit[p + "gain"] * 10) return Differs(p + "gain", std::to_string(unit[p + "gain"]), std::to_string(level));
    }
    const std::string label = app.Control("label_channel_name", kMain).text;
    int current = -1;
    if (std::sscanf(label.c_str(), "CH%d", &current) != 1 || current < 1 || current > 16)
        return "no current channel shown: \"" + label + "\"";
    --current;
    const bool bypassed = unit["out" + std::to_string(current) + ".eqbypass"] == 1;
    const std::string shown = BandsDiffer(app, unit, current, bypassed);
    if (!shown.empty() || !bypassed) return shown;
    // The gains a bypassed EQ keeps come back with the EQ, which sends the
    // bypass alone: they must be the unit's. The EQ is then bypassed again.
    if (!SetEqBypass(app, current, 0)) {
        for (const auto& param : unit) {
            const std::string p = "out" + std::to_string(current) + ".eq";
            const bool gain = param.first.size() > 5 && param.first.compare(param.first.size() - 5, 5, ".gain") == 0;
            if (param.first.rfind(p, 0) == 0 && gain && param.second != 0)
                return Differs(param.first + " kept", std::to_string(param.second), "a flat EQ that cannot come back");
        }
        return "";
    }
    unit = app.Params(0);
    const std::string kept = BandsDiffer(app, unit, current, false);
    if (!SetEqBypass(app, current, 1)) return "the EQ of out" + std::to_string(current) + " is not bypassed again";
    return kept.empty() ? "" : "kept " + kept;
}

}  // namespace e2e
