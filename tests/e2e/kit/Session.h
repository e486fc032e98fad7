// What one test program shares: a private copy of the Wine prefix with its
// own wineserver, and one Xvfb per DPI. Removed when the program ends.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>

#include "tests/e2e/kit/Process.h"

namespace e2e {

class Session {
public:
    static Session& Get();
    ~Session();

    // The Windows build folder and the prefix copied from.
    static std::string WindowsBuild();
    static std::string SourcePrefix();

    // The private prefix, copied on first use; empty when the copy failed.
    const std::string& Prefix();
    // ":<n>" of the Xvfb sized for dpi, started on first use; empty on failure.
    std::string Display(int dpi);
    // A new empty folder under the session's temporary folder.
    std::string NewFolder(const std::string& stem);
    // WINEPREFIX, WINEARCH, WINEDEBUG, WINEDLLOVERRIDES and DISPLAY for dpi.
    Environment WineEnvironment(int dpi);

private:
    Session();
    std::string mRoot;
    std::string mPrefix;
    bool mPrefixTried = false;
    pid_t mWineServer = -1;
    std::map<int, std::pair<pid_t, std::string>> mDisplays;
    int mFolders = 0;
};

}  // namespace e2e
