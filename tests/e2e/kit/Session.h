// What one test program shares: per DPI an Xvfb of the size that gives it and
// a private copy of the Wine prefix with its own wineserver (a wineserver
// keeps the screen size it first met). Removed when the program ends.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>

#include "tests/e2e/kit/Keymap.h"
#include "tests/e2e/kit/Process.h"

namespace e2e {

class Session {
public:
    static Session& Get();
    ~Session();

    // The Windows build folder and the prefix copied from.
    static std::string WindowsBuild();
    static std::string SourcePrefix();

    // The private prefix for dpi, copied on first use; empty when the copy failed.
    std::string Prefix(int dpi);
    // ":<n>" of the Xvfb sized for dpi, started on first use with the kit's
    // keymap loaded; empty on failure, with why in DisplayError.
    std::string Display(int dpi);
    const std::string& DisplayError() const { return mDisplayError; }
    // The keymap loaded on the display of dpi.
    const Keymap& Keys(int dpi) { return mKeymaps[dpi]; }
    // A new empty folder under the session's temporary folder.
    std::string NewFolder(const std::string& stem);
    // WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES and DISPLAY for dpi; the copied
    // prefix keeps the word size it was made with.
    Environment WineEnvironment(int dpi);

private:
    Session();
    struct Server {
        pid_t pid = -1;
        std::string id;  // display ":<n>" or prefix path
    };
    std::string mRoot;
    std::map<int, Server> mPrefixes;
    std::map<int, Server> mDisplays;
    std::map<int, Keymap> mKeymaps;
    std::string mDisplayError;
    int mFolders = 0;
};

}  // namespace e2e
