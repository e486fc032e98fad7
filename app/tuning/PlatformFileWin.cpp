#include "app/tuning/PlatformFile.h"

#include <io.h>
#include <windows.h>

#include <string>

FILE* OpenPathFile(const std::filesystem::path& path, const char* mode) {
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
}

bool SyncFileToDisk(FILE* file) {
    return _commit(_fileno(file)) == 0;
}

bool MovePathReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool IsPathReadOnly(const std::filesystem::path& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}
