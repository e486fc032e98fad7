#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/e2e/kit/BrisaE2E.h"
#include "tests/e2e/kit/Keymap.h"
#include "tests/e2e/kit/ProbeReply.h"
#include "tests/e2e/kit/Session.h"
#include "tests/e2e/kit/Steps.h"

namespace e2e {

namespace {

constexpr int kStartBoundMs = 60000;
// A typed text reaching its box, a click's effect showing: the program's
// own input, not a job.
constexpr int kTypedBoundMs = 15000;
constexpr int kEffectBoundMs = 15000;

// "Z:\tmp\x" for "/tmp/x": Wine's drive for the Unix root.
std::string WindowsPath(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
}

bool WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

struct App::Impl {
    LaunchOptions options;
    std::string error;
    std::string workDir;
    std::string display;
    pid_t pid = -1;
    bool ended = false;
    int exitCode = -1;
    int socket = -1;
    bool followed = false;  // the probe is a copy the program started itself
    std::string pending;

    bool Start();
    // Where the X server shows the X window now (it maps, moves or resizes
    // it only once the program's X requests reach it), or false.
    bool XGeometry(const std::string& xwindow, Rect* rect) {
        const std::string file = workDir + "/geometry.txt";
        std::remove(file.c_str());
        if (xwindow.empty() || !RunTool({"xwininfo", "-id", xwindow}, XEnvironment(), 15000, file)) return false;
        const std::string text = ReadFile(file);
        int x = 0, y = 0, width = 0, height = 0;
        const auto field = [&](const char* name, int* value) {
            const size_t at = text.find(name);
            return at != std::string::npos && std::sscanf(text.c_str() + at + std::strlen(name), "%d", value) == 1;
        };
        if (text.find("IsViewable") == std::string::npos || !field("Absolute upper-left X:", &x) ||
            !field("Absolute upper-left Y:", &y) || !field("Width:", &width) || !field("Height:", &height))
            return false;
        *rect = Rect{x, y, x + width, y + height};
        return true;
    }
    // Reaps the process once it ended.
    bool Alive();
    bool Connect(unsigned port);
    bool ReadLine(std::string* line);
    Environment XEnvironment() const { return {{"DISPLAY", display}}; }
    bool Xdotool(const std::vector<std::string>& args) {
        std::vector<std::string> argv{"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunTool(argv, XEnvironment(), 15000);
    }
    // A step's X input, failed with its name.
    bool Input(const std::string& step, const std::vector<std::string>& args) {
        return Xdotool(args) || NoteFailedStep(step + ": xdotool failed");
    }
    // The top-level X window under the pointer as the X server has it now
    // (decimal), empty when xdotool cannot tell; at gets where the pointer is.
    std::string WindowUnderPointer(std::pair<int, int>* at = nullptr) {
        const std::string file = workDir + "/pointer.txt";
        std::remove(file.c_str());
        if (!RunTool({"xdotool", "getmouselocation"}, XEnvironment(), 15000, file)) return std::string();
        const std::string text = ReadFile(file);
        if (at && std::sscanf(text.c_str(), "x:%d y:%d", &at->first, &at->second) != 2) *at = {-1, -1};
        const size_t found = text.find("window:");
        if (found == std::string::npos) return std::string();
        const size_t from = found + 7;
        return text.substr(from, text.find_first_not_of("0123456789", from) - from);
    }
    // A visible control a click at its centre reaches, the pointer on it, or
    // a failed step saying what the probe or the X server showed there. The
    // pointer goes onto the control first, as a hand does. Only what still
    // stands over the control then (a loading window going, another program
    // brought forward), a window still laying out and painting what it was
    // asked to, or one the X server has not yet mapped, is waited out as a
    // person waits for what they see; the program's own tooltip is put away
    // as a hand puts it away.
    bool Aim(App& app, const std::string& step, const std::string& name, const std::string& window,
             ControlState* c) {
        *c = app.Control(name, window);
        if (!c->found) return NoteFailedStep(step + ": no such control");
        if (!c->visible) return NoteFailedStep(step + ": not visible");
        if (c->xwindow.empty()) return NoteFailedStep(step + ": the probe names no X window for it");
        std::pair<int, int> rest(-1, -1);
        WindowUnderPointer(&rest);
        int x = c->rect.CenterX(), y = c->rect.CenterY();
        if (!Input(step, {"mousemove", std::to_string(x), std::to_string(y)})) return false;
        std::string under;
        int lift = 0;
        const bool reached = Poll(
            [&] {
                *c = app.Control(name, window);
                // The program's tooltip, opened below where the pointer
                // rested, stays while its window sees the pointer on that
                // control (a jump lands on the tooltip): the hand leaves the
                // control upwards, away from the tooltip, which hides it.
                if (c->over.find("(tooltips_class32)") != std::string::npos && rest.second >= 0) {
                    lift = std::min(lift + 4, 48);
                    Xdotool({"mousemove", std::to_string(rest.first), std::to_string(rest.second - lift)});
                    return false;
                }
                if (lift > 0) {
                    lift = 0;
                    Xdotool({"mousemove", std::to_string(x), std::to_string(y)});
                    return false;
                }
                // A control that moved is followed.
                if (c->visible && (c->rect.CenterX() != x || c->rect.CenterY() != y)) {
                    x = c->rect.CenterX(), y = c->rect.CenterY();
                    if (!Xdotool({"mousemove", std::to_string(x), std::to_string(y)})) return false;
                }
                return c->visible && !c->dirty && c->over.empty() && (under = WindowUnderPointer()) == c->xwindow;
            },
            kEffectBoundMs);
        if (reached) return true;
        const std::string bound = " for " + std::to_string(kEffectBoundMs) + " ms";
        if (!c->visible) return NoteFailedStep(step + ": not visible after the pointer came" + bound);
        if (!c->over.empty()) return NoteFailedStep(step + ": under " + c->over + bound);
        if (c->dirty) return NoteFailedStep(step + ": its window still painting" + bound);
        return NoteFailedStep(step + ": the X server shows window " + (under.empty() ? "none" : under) +
                              " there, not its window " + c->xwindow + bound);
    }
    // A click at the centre Aim found, let go once the probe, asked after the
    // press, still has the control there: a layout between Aim's reading and
    // the press fails the step by name instead of clicking what came there.
    bool PressWhereAimed(App& app, const std::string& step, const std::string& name, const std::string& window,
                         const ControlState& aimed, int button) {
        const int x = aimed.rect.CenterX(), y = aimed.rect.CenterY();
        if (!Input(step, {"mousemove", std::to_string(x), std::to_string(y), "mousedown", std::to_string(button)}))
            return false;
        const ControlState pressed = app.Control(name, window);
        const bool released = Input(step, {"mouseup", std::to_string(button)});
        const Rect& r = pressed.rect;
        if (!pressed.visible || (x >= r.left && x < r.right && y >= r.top && y < r.bottom)) return released;
        return NoteFailedStep(step + ": pressed at its centre " + std::to_string(x) + "," + std::to_string(y) +
                              ", which it had left by then for " + std::to_string(r.CenterX()) + "," + std::to_string(r.CenterY()));
    }
};

bool App::Impl::Start() {
    const std::string missing = MissingWindowsBuild();
    if (!missing.empty()) return (error = missing), false;
    Session& session = Session::Get();
    const std::string prefix = session.Prefix(options.dpi);
    if (prefix.empty()) return (error = "copying the Wine prefix failed"), false;
    display = session.Display(options.dpi);
    if (display.empty()) return (error = session.DisplayError()), false;
    workDir = options.workDir.empty() ? session.NewFolder("run") : options.workDir;
    if (workDir.empty()) return (error = "no working folder"), false;

    if (options.saveLog) WriteFile(workDir + "/savelog.ini", "");
    for (const std::string& marker : options.markerFiles) WriteFile(workDir + "/" + marker, "");
    const std::string settings = prefix + "/drive_c/ProgramData/varolt.ini";
    if (options.keepSettings) {
        // As the program wrote it last.
    } else if (options.lan < 0) {
        std::remove(settings.c_str());
    } else if (!WriteFile(settings, "[config]\r\nlan=" + std::to_string(options.lan) + "\r\n")) {
        return (error = "cannot write " + settings), false;
    }

    const std::string portFile = workDir + "/probe.port";
    std::remove(portFile.c_str());
    Environment env = session.WineEnvironment(options.dpi);
    env["BRISA_PROBE_PORT_FILE"] = WindowsPath(portFile);
    pid = Spawn({"wine", Session::WindowsBuild() + "/" + options.program}, env, workDir, workDir + "/wine.out");
    if (pid <= 0) return (error = "wine did not start"), false;

    std::string port;
    const bool announced = Poll(
        [&] {
            port = ReadFile(portFile);
            return !port.empty() || !Alive();
        },
        kStartBoundMs);
    if (!announced || port.empty()) return (error = "the probe did not announce its port"), false;
    if (!Connect(static_cast<unsigned>(std::atoi(port.c_str())))) return (error = "cannot connect to the probe"), false;
    return true;
}

bool App::Impl::Connect(unsigned port) {
    socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0) return false;
    // A reply never takes longer than the probe's own UI-thread bound.
    timeval timeout = {20, 0};
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
}

bool App::Impl::ReadLine(std::string* line) {
    for (;;) {
        const size_t end = pending.find('\n');
        if (end != std::string::npos) {
            *line = pending.substr(0, end);
            pending.erase(0, end + 1);
            return true;
        }
        char buffer[4096];
        const ssize_t n = recv(socket, buffer, sizeof(buffer), 0);
        if (n <= 0) return false;
        pending.append(buffer, static_cast<size_t>(n));
    }
}

App::App(const LaunchOptions& options) : m(new Impl) {
    m->options = options;
    if (!m->Start()) Kill();
}

App::~App() {
    Kill();
    if (m->socket >= 0) close(m->socket);
}

bool App::Started() const { return m->socket >= 0 && m->error.empty(); }
const std::string& App::Error() const { return m->error; }
const std::string& App::WorkDir() const { return m->workDir; }
std::string App::Display() const { return m->display; }

std::string App::Request(const std::string& line, std::vector<std::string>* list) {
    if (m->socket < 0) return "ERR not connected";
    const std::string request = line + "\n";
    if (send(m->socket, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) {
        NoteFailedStep("request \"" + line + "\": send failed");
        return "ERR send failed";
    }
    std::string first;
    if (!m->ReadLine(&first)) first = "ERR no reply";
    NoteSeen(line, first);
    // A window or control that is not there is an answer, which the caller weighs.
    const bool answered = first.rfind("ERR no window ", 0) == 0 || first.rfind("ERR no control ", 0) == 0;
    if (first.rfind("ERR", 0) == 0 && !answered) NoteFailedStep("request \"" + line + "\": " + first);
    const std::string word = line.substr(0, line.find(' '));
    if (word == "WINDOWS" || word == "CONTROLS" || word == "FRAMES" || word == "PARAMS" ||
        word == "GDIOBJECTS") {
        const long count = first.rfind("OK ", 0) == 0 ? std::atol(first.c_str() + 3) : 0;
        std::string item;
        for (long i = 0; i < count; ++i) {
            if (!m->ReadLine(&item)) return "ERR reply cut";
            if (list) list->push_back(item);
        }
    }
    return first;
}

ControlState App::Control(const std::string& name, const std::string& window) {
    return ParseControl(Request("CONTROL " + name + (window.empty() ? "" : " " + window)));
}

std::vector<std::pair<std::string, ControlState>> App::Controls(const std::string& window) {
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, ControlState>> controls;
    if (Request("CONTROLS " + window, &lines).rfind("OK", 0) != 0) return controls;
    for (const std::string& line : lines) {
        const auto fields = ParseRecord("OK " + line);
        if (fields.count("name")) controls.emplace_back(fields.at("name"), ParseControl("OK " + line));
    }
    return controls;
}

WindowState App::Window(const std::string& title) { return ParseWindow(Request("WINDOW " + title)); }

std::vector<WindowState> App::Windows() {
    std::vector<std::string> lines;
    std::vector<WindowState> windows;
    if (Request("WINDOWS", &lines).rfind("OK", 0) != 0) return windows;
    for (const std::string& line : lines) windows.push_back(ParseWindow("OK " + line));
    return windows;
}

// No "--sync" on moves: it waits for a motion that never comes when the
// pointer is already there. The server takes the fake events in order anyway.
bool App::ClickAt(int x, int y, int button, int repeat) {
    return m->Input("click at " + std::to_string(x) + "," + std::to_string(y), {"mousemove", std::to_string(x), std::to_string(y), "click", "--repeat",
                       std::to_string(repeat), "--delay", "60", std::to_string(button)});
}

bool App::MoveTo(int x, int y) { return m->Input("move the pointer", {"mousemove", std::to_string(x), std::to_string(y)}); }

bool App::MoveAlong(const std::vector<std::pair<int, int>>& points) {
    std::vector<std::string> args;
    for (const auto& p : points) args.insert(args.end(), {"mousemove", std::to_string(p.first), std::to_string(p.second), "sleep", "0.02"});
    return m->Input("move the pointer along " + std::to_string(points.size()) + " points", args);
}

bool App::Press(int x, int y) {
    return m->Input("press at " + std::to_string(x) + "," + std::to_string(y),
                    {"mousemove", std::to_string(x), std::to_string(y), "mousedown", "1"});
}

bool App::Release() { return m->Input("release", {"mouseup", "1"}); }

bool App::Click(const std::string& name, const std::string& window) {
    ControlState c;
    const std::string step = "click " + name + " " + window;
    return m->Aim(*this, step, name, window, &c) && m->PressWhereAimed(*this, step, name, window, c, 1);
}

bool App::DoubleClick(const std::string& name, const std::string& window) {
    ControlState c;
    return m->Aim(*this, "double-click " + name + " " + window, name, window, &c) && ClickAt(c.rect.CenterX(), c.rect.CenterY(), 1, 2);
}

bool App::RightClick(const std::string& name, const std::string& window) {
    ControlState c;
    const std::string step = "right-click " + name + " " + window;
    return m->Aim(*this, step, name, window, &c) && m->PressWhereAimed(*this, step, name, window, c, 3);
}

bool App::Type(const std::string& text) {
    const std::string step = "type \"" + text + "\"";
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return NoteFailedStep(step + ": a character outside ASCII needs its box");
    }
    return text.empty() || m->Input(step, {"type", "--delay", "40", "--", text});
}

// ASCII goes as typed text, every other character as its key of the kit's
// keymap: xdotool never binds and restores a key of its own while Wine reads.
// Wine makes a key's character in the key group of the last key event it
// read, which on a loaded machine may already be a later one's: each key of
// the second group is pressed with that group held until the box shows its
// character, and the next key goes once the box shows every one before it.
bool App::Type(const std::string& text, const std::string& box, const std::string& window) {
    const std::string step = "type \"" + text + "\" into " + box;
    std::u32string chars;
    if (!DecodeUtf8(text, &chars)) return NoteFailedStep(step + ": not UTF-8");
    const Keymap& keys = Session::Get().Keys(m->options.dpi);
    for (char32_t c : chars) {
        if (c >= 0x80 && keys.Find(c).keycode == 0) {
            return NoteFailedStep(step + ": the kit's keymap lacks " + DescribeCharacter(c));
        }
    }
    std::string held;
    for (size_t at = 0, c = 0; at < text.size();) {
        // An ASCII run, or one character of the second group.
        size_t end = at;
        while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
        const bool ascii = end > at;
        if (!ascii) {
            for (end = at + 1; end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80;) ++end;
        }
        const KeyStroke key = ascii ? KeyStroke() : keys.Find(chars[c]);
        const std::string group = ascii ? "" : Keymap::Group(key);
        const bool sent = ascii ? Type(text.substr(at, end - at))
                                : m->Input(step, {"keydown", group}) && m->Input(step, {"key", std::to_string(key.keycode)});
        c += ascii ? end - at : 1;
        at = end;
        const std::string typed = text.substr(0, at);
        const bool shown = sent && Poll([&] { return (held = Control(box, window).text) == typed; }, kTypedBoundMs);
        if (!ascii && !m->Input(step, {"keyup", group})) return false;
        if (!sent) return false;
        if (!shown) return NoteFailedStep(step + ": after \"" + typed + "\" the box held \"" + held + "\"");
    }
    return true;
}

bool App::Key(const std::string& keys) { return m->Input("key " + keys, {"key", "--delay", "40", keys}); }

bool App::FocusWindowTitled(const std::string& title) {
    return m->Input("focus the window titled \"" + title + "\"",
                    {"search", "--sync", "--onlyvisible", "--name", "^" + title + "$", "windowfocus", "--sync", "%1"});
}

bool App::Wheel(const std::string& name, int notches, const std::string& window) {
    ControlState c;
    if (!m->Aim(*this, "wheel over " + name + " " + window, name, window, &c) || notches == 0) return false;
    return m->Input("wheel over " + name, {"mousemove", std::to_string(c.rect.CenterX()), std::to_string(c.rect.CenterY()),
                       "click", "--repeat", std::to_string(notches > 0 ? notches : -notches), "--delay", "60",
                       notches > 0 ? "4" : "5"});
}

bool App::Drag(int x0, int y0, int x1, int y1, int steps, int durationMs) {
    if (steps < 1) steps = 1;
    if (!Press(x0, y0)) return false;
    bool moved = true;
    for (int i = 1; i <= steps && moved; ++i) {
        // The pace of a hand: the program sees the moves spread over the duration.
        std::this_thread::sleep_for(std::chrono::milliseconds(durationMs / steps));
        moved = MoveTo(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    }
    return Release() && moved;
}

bool App::ShownWhereItIs(const WindowState& w, Rect* shown) {
    Rect at;
    const bool read = w.found && m->XGeometry(w.xwindow, &at);
    if (shown) *shown = at;
    return read && at.left == w.rect.left && at.top == w.rect.top && at.right == w.rect.right && at.bottom == w.rect.bottom;
}

// Taken once the program has nothing left to paint in the window and the X
// server shows the window where the program has it: the crop is the
// program's rectangle, and a menu grown after it opened may still stand
// narrower on the screen.
bool App::Screenshot(const std::string& window, const std::string& pngPath) {
    WindowState w;
    Rect shown;
    if (!Poll([&] { return !(w = Window(window)).found || (!w.dirty && ShownWhereItIs(w, &shown)); }, kEffectBoundMs))
        NoteFailedStep("screenshot of " + window + ": still painting, or the X server shows it at " +
                       std::to_string(shown.left) + "," + std::to_string(shown.top) + " " +
                       std::to_string(shown.Width()) + "x" + std::to_string(shown.Height()) + ", after " + std::to_string(kEffectBoundMs) + " ms");
    if (!w.found || w.rect.Width() <= 0 || w.rect.Height() <= 0) return false;
    const std::string crop = std::to_string(w.rect.Width()) + "x" + std::to_string(w.rect.Height()) + "+" +
                             std::to_string(w.rect.left) + "+" + std::to_string(w.rect.top);
    return RunTool({"import", "-display", m->display, "-window", "root", "-crop", crop, "+repage", pngPath}, {});
}

size_t App::Mark() {
    const std::string reply = Request("MARK");
    return reply.rfind("OK ", 0) == 0 ? std::strtoul(reply.c_str() + 3, nullptr, 10) : 0;
}

std::vector<UnitFrame> App::FramesSince(size_t mark) {
    std::vector<std::string> lines;
    std::vector<UnitFrame> frames;
    if (Request("FRAMES " + std::to_string(mark), &lines).rfind("OK", 0) != 0) return frames;
    for (const std::string& line : lines) frames.push_back(ParseFrame(line));
    return frames;
}

bool App::HoldConsole(bool hold) {
    const std::string probeFile = "BRISA_PROBE_PORT_FILE=" + WindowsPath(m->workDir + "/probe.port");
    int held = 0;
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc ? readdir(proc) : nullptr) {
        const std::string dir = std::string("/proc/") + entry->d_name;
        const std::string environment = ReadFile(dir + "/environ"), command = ReadFile(dir + "/cmdline");
        if (command.find("conhost.exe") == std::string::npos ||
            environment.find(probeFile + '\0') == std::string::npos)
            continue;
        held += kill(std::atoi(entry->d_name), hold ? SIGSTOP : SIGCONT) == 0;
    }
    if (proc) closedir(proc);
    return held == 1 || NoteFailedStep((hold ? "stop" : "go on with") + std::string(" the console: ") + std::to_string(held) + " processes");
}

bool App::Unplug() { return Request("UNPLUG") == "OK"; }
bool App::Plug() { return Request("PLUG") == "OK"; }
bool App::SetModel(int id) { return Request("MODEL " + std::to_string(id)) == "OK"; }
bool App::SetFirmware(int main, int slave) {
    return Request("FIRMWARE " + std::to_string(main) + " " + std::to_string(slave)) == "OK";
}
bool App::TurnKnob(int db) { return Request("KNOB " + std::to_string(db)) == "OK"; }
bool App::SetSilent(bool silent) { return Request(silent ? "SILENT 1" : "SILENT 0") == "OK"; }

std::map<std::string, long> App::Params(int scene) {
    std::vector<std::string> lines;
    std::map<std::string, long> params;
    if (Request("PARAMS " + std::to_string(scene), &lines).rfind("OK", 0) != 0) return params;
    for (const std::string& line : lines) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) params[line.substr(0, eq)] = std::atol(line.c_str() + eq + 1);
    }
    return params;
}

// A count the probe gave up on (the UI thread busy past the probe's bound
// on a loaded machine) is asked for again.
ProcessResources App::Resources() {
    ProcessResources counts;
    WaitFor([&] { return (counts = ParseResources(Request("RESOURCES"))).gdi >= 0; }, 60000);
    return counts;
}

bool App::Impl::Alive() {
    if (ended || pid <= 0) return false;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid) return true;
    ended = true;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

bool App::Running() { return m->Alive(); }

bool App::Kill() {
    // A copy started again by the program itself ends at the probe's word;
    // left running it would hold the prefix's one instance from the next start.
    char byte;
    const auto gone = [&] { return recv(m->socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0; };
    if (m->followed && m->socket >= 0 && !gone() && Request("QUIT") == "OK" && !Poll(gone, 10000))
        NoteFailedStep("the copy started again did not end at QUIT within 10000 ms");
    m->followed = false;
    if (!Running()) return true;
    kill(m->pid, SIGKILL);
    return WaitExit(10000);
}

bool App::WaitExit(int boundMs, int* exitCode) {
    const bool ended = Poll([&] { return !Running(); }, boundMs);
    if (ended && exitCode) *exitCode = m->exitCode;
    return ended;
}

bool App::FollowRestart(int boundMs) {
    std::string port;
    if (!WaitExit(boundMs)) return NoteFailedStep("follow the restart: the program still ran after " + std::to_string(boundMs) + " ms");
    // The new copy starts as any program does.
    const bool back = Poll([&] { return !(port = ReadFile(m->workDir + "/probe.port")).empty(); }, kStartBoundMs);
    close(m->socket);
    m->socket = -1;
    m->followed = back && m->Connect(static_cast<unsigned>(std::atoi(port.c_str())));
    return m->followed ||
           NoteFailedStep("follow the restart: no new copy announced its probe within " + std::to_string(kStartBoundMs) + " ms");
}

bool LinkShows(App& app, const std::string& key, const std::string& language) {
    const std::string expected = SkinText(language, key);
    const ControlState button = app.Control("btnConnect", "Brisa DSP Audio");
    return !expected.empty() && button.found && button.text == expected && !app.Window("loadingwnd").found;
}

bool LoadingEnds(App& app, int capMs, const char* file, int line) {
    long last = -1;
    bool open = true;
    auto moved = std::chrono::steady_clock::now();
    const bool settled = Poll(
        [&] {
            const long at = static_cast<long>(app.Mark());
            open = app.Window("loadingwnd").found;
            const auto now = std::chrono::steady_clock::now();
            if (at != last) last = at, moved = now;
            return !open || now - moved >= std::chrono::milliseconds(kLoadingEndMs);
        },
        capMs);
    if (!open) return true;
    const char* slash = std::strrchr(file, '/');
    const std::string where = "loading window at " + std::string(slash ? slash + 1 : file) + ":" + std::to_string(line);
    return NoteFailedStep(where + (settled ? ": open " + std::to_string(kLoadingEndMs) + " ms after the unit's last frame, " +
                                                 std::to_string(last)
                                           : ": the unit's frames still came, at " + std::to_string(last) + ", after " +
                                                 std::to_string(capMs) + " ms"));
}

bool Reconnect(App& app, int boundMs) {
    const std::string main = "Brisa DSP Audio";
    const std::string disconnected = SkinText("en", "btn_disconnected");
    return app.Click("btnConnect", main) && WaitFor([&] { return LinkShows(app, "btn_disconnected"); }) &&
           app.Click("btnConnect", main) &&
           WaitFor([&] { return app.Control("btnConnect", main).text != disconnected; }) &&
           WaitFor([&] { return LinkShows(app, "btn_connected"); }, boundMs);
}

bool ChooseScene(App& app, const std::string& menuRow, int row, const std::function<bool()>& next) {
    if (app.Request("MENU " + menuRow) != "OK") return NoteFailedStep("MENU " + menuRow + ": refused");
    const std::string item = "listitem" + std::to_string(row);
    return WaitFor([&] {
               const WindowState window = app.Window("scenewnd");
               const Rect rc = app.Control(item, "scenewnd").rect;
               return window.visible && rc.Width() > 0 && rc.top >= window.rect.top && rc.bottom <= window.rect.bottom;
           }) &&
           app.Click(item, "scenewnd") && WaitFor([&] { return app.Control("listview", "scenewnd").index == row; }) &&
           app.Click("confirm_btn", "scenewnd") && WaitFor(next);
}

}  // namespace e2e
