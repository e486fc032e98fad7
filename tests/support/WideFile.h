// Reading back a file of wide characters, as the program's log writes them,
// or of bytes, as an upgrade image is.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

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

// The whole file; empty when it cannot be opened.
inline std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return bytes;
    uint8_t chunk[4096];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof(chunk), f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(f);
    return bytes;
}

}  // namespace sim
