#include "app/tuning/ProfileFile.h"

#include <memory>

#include "app/tuning/PlatformFile.h"

namespace {

// A whole configuration is about half a megabyte; anything far larger is no profile.
constexpr long kMaxProfileFileBytes = 64L * 1024 * 1024;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// The data reaches the disk before the rename: a rename alone does not
// flush it, and a power loss would leave an empty file in the old one's place.
bool WriteAll(FILE* file, const std::string& text) {
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    bool flushed = std::fflush(file) == 0 && SyncFileToDisk(file);
    bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

}  // namespace

std::optional<std::string> ReadFileText(const std::filesystem::path& path) {
    File file(OpenPathFile(path, "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return std::nullopt;
    long length = std::ftell(file.get());
    if (length < 0 || length > kMaxProfileFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(length), '\0');
    if (std::fread(text.data(), 1, text.size(), file.get()) != text.size()) return std::nullopt;
    return text;
}

bool WriteFileReplacing(const std::filesystem::path& path, const std::string& text) {
    if (text.empty() || IsPathReadOnly(path)) return false;
    std::filesystem::path temp = path;
    temp += ".tmp";
    FILE* file = OpenPathFile(temp, "wb");
    if (!file) return false;
    if (WriteAll(file, text) && MovePathReplacing(temp, path)) return true;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
}

namespace {

// Parses into a copy on the heap (profiles are large) and commits only a
// fully valid file, so a refused one leaves target as it was.
template <typename Model>
ProfileResult LoadChecked(const std::filesystem::path& path, Model& target,
                          ProfileResult (*parse)(const std::string&, Model&)) {
    std::optional<std::string> text = ReadFileText(path);
    if (!text) return {false, kProfileOpenError};
    auto parsed = std::make_unique<Model>(target);
    ProfileResult result = parse(*text, *parsed);
    if (result.ok) target = *parsed;
    return result;
}

}  // namespace

ProfileResult LoadSceneProfile(const std::filesystem::path& path, SceneProfile& live) {
    return LoadChecked(path, live, ParseSceneProfileJson);
}

ProfileResult LoadWholeProfile(const std::filesystem::path& path, TuningModel& model) {
    return LoadChecked(path, model, ParseWholeProfileJson);
}

ProfileResult SaveSceneProfile(const SceneProfile& profile, const std::filesystem::path& path) {
    if (WriteFileReplacing(path, WriteSceneProfileJson(profile))) return {true, kProfileSaveOk};
    return {false, kProfileCreateError};
}

ProfileResult SaveWholeProfile(const TuningModel& model, const std::filesystem::path& path) {
    if (WriteFileReplacing(path, WriteWholeProfileJson(model))) return {true, nullptr};
    return {false, kProfileCreateError};
}
