// Reading back a file of wide characters, as the program's log writes them.
#pragma once

#include <stdio.h>

#include <string>

namespace sim {

// The whole file; "<missing>" when it cannot be opened, which no check
// of its text takes for the real thing.
inline std::wstring ReadWideFile(const std::wstring& path) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return L"<missing>";
    std::wstring text;
    wchar_t c;
    while (fread(&c, sizeof(c), 1, f) == 1) text += c;
    fclose(f);
    return text;
}

}  // namespace sim
