#include "tests/e2e/kit/Session.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// The program's DPI rule backwards: the screen that gives each DPI.
const char* ScreenFor(int dpi) {
    switch (dpi) {
    case 120: return "1920x1080x24";
    case 144: return "2560x1440x24";
    default: return "1600x900x24";
    }
}

}  // namespace

std::string MissingWindowsBuild() {
    const std::string program = Session::WindowsBuild() + "/BrisaDSP_sim.exe";
    if (!Exists(program)) return "no Windows build: " + program + " does not exist";
    if (!Exists(Session::SourcePrefix() + "/system.reg")) return "no Wine prefix at " + Session::SourcePrefix();
    return std::string();
}

Session& Session::Get() {
    static Session session;
    return session;
}

Session::Session() {
    char pattern[] = "/tmp/brisa-e2e-XXXXXX";
    if (mkdtemp(pattern)) mRoot = pattern;
}

Session::~Session() {
    for (auto& prefix : mPrefixes) {
        if (prefix.second.pid <= 0) continue;
        RunTool({"wineserver", "-k"}, {{"WINEPREFIX", prefix.second.id}}, 20000);
        WaitChild(prefix.second.pid, 10000);
    }
    for (auto& display : mDisplays) {
        kill(display.second.pid, SIGTERM);
        WaitChild(display.second.pid, 5000);
    }
    if (!mRoot.empty()) RunTool({"rm", "-rf", mRoot}, {}, 60000);
}

std::string Session::WindowsBuild() {
    const char* over = std::getenv("BRISA_WIN_BUILD");
    return over && *over ? over : BRISA_WIN_BUILD_DIR;
}

std::string Session::SourcePrefix() {
    const char* over = std::getenv("BRISA_WINEPREFIX");
    return over && *over ? over : BRISA_WINE_PREFIX_DIR;
}

std::string Session::Prefix(int dpi) {
    auto found = mPrefixes.find(dpi);
    if (found != mPrefixes.end()) return found->second.id;
    Server& server = mPrefixes[dpi];
    const std::string copy = mRoot + "/prefix-" + std::to_string(dpi);
    if (mRoot.empty()) return server.id;
    // Wine programs of other tests may write into the source prefix while it
    // is copied (a file vanishing under cp fails the copy): a few tries.
    bool copied = false;
    for (int attempt = 0; attempt < 3 && !copied; ++attempt) {
        RunTool({"rm", "-rf", copy}, {}, 60000);
        copied = RunTool({"cp", "-a", SourcePrefix(), copy}, {}, 120000);
    }
    if (!copied) return server.id;
    server.id = copy;
    // One wineserver for the whole run, so instances can come and go.
    server.pid = Spawn({"wineserver", "-f", "-p"}, {{"WINEPREFIX", copy}});
    return server.id;
}

std::string Session::Display(int dpi) {
    auto found = mDisplays.find(dpi);
    if (found != mDisplays.end()) return found->second.id;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return std::string();
    // No reset when its last client leaves: the keymap stays from one program to the next.
    const pid_t pid = Spawn({"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0", ScreenFor(dpi),
                             "-nolisten", "tcp", "-noreset"},
                            {});
    close(pipeEnds[1]);
    std::string number;
    char c;
    while (read(pipeEnds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeEnds[0]);
    if (pid <= 0 || number.empty()) return (mDisplayError = "Xvfb did not start"), std::string();
    mDisplays[dpi] = Server{pid, ":" + number};
    if (!mKeymaps[dpi].Load(":" + number, mRoot, &mDisplayError)) {
        mDisplays[dpi].id.clear();
        return std::string();
    }
    return ":" + number;
}

std::string Session::NewFolder(const std::string& stem) {
    const std::string folder = mRoot + "/" + stem + "-" + std::to_string(++mFolders);
    return mkdir(folder.c_str(), 0755) == 0 ? folder : std::string();
}

Environment Session::WineEnvironment(int dpi) {
    return {{"WINEPREFIX", Prefix(dpi)},
            {"WINEDEBUG", "-all"},
            {"WINEDLLOVERRIDES", "mscoree,mshtml="},
            {"DISPLAY", Display(dpi)}};
}

}  // namespace e2e
