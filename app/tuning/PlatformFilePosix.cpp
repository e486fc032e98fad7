#include "app/tuning/PlatformFile.h"

#include <sys/stat.h>
#include <unistd.h>

FILE* OpenPathFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool SyncFileToDisk(FILE* file) {
    return fsync(fileno(file)) == 0;
}

bool MovePathReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

// The owner's write bit stands for the read-only mark (root ignores it, so
// it is tested rather than trusted to make writes fail).
bool IsPathReadOnly(const std::filesystem::path& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}
