#include "tests/app/ProfileTestKit.h"

#include "app/tuning/PlatformFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

void FillDistinct(SceneProfile& p, int seed) {
    p.mainVolume = -10 - seed;
    p.acc = 5 + seed;
    p.subVolume = 2 + seed;
    p.mainVolumeMute = 1;
    for (int c = 0; c < kOutputChannels; ++c) {
        ChannelParams& ch = p.channels[c];
        ch.gain = static_cast<float>(-(c + seed) % 40);
        ch.mute = (c + seed) % 2;
        ch.delay = 0.125f * static_cast<float>((c + seed) % 100);
        ch.solo = c == seed % 16;
        ch.phase = (c + seed + 1) % 2;
        ch.bypass = c % 3 == 0;
        // Type 2 takes only even slopes.
        ch.crossover = CrossoverParams(40 + c + seed, 2, 4, 9000 - c, 3, c % 4);
        for (int k = 0; k < ch.eqSize; ++k) {
            ch.bands[k] = EqBand(0.1f * static_cast<float>((k + c + seed) % 200 - 120), 0.5f + 0.05f * k,
                                 25 + 600 * k + c, (k + seed) % 2);
        }
    }
    for (int s = 0; s < kInputSources; ++s) {
        for (int c = 0; c < kOutputChannels; ++c) {
            p.inputs[s][c] = (s * 16 + c + seed) % 0x1000;
            for (int i = 0; i < 12; ++i) p.inputMixVolume[s][i][c] = (s + i + c + seed) % 101;
        }
        for (int i = 0; i < 12; ++i) p.inMixPhase[s][i] = (s + i + seed) % 2;
    }
    for (int c = 0; c < kOutputChannels; ++c) {
        p.outputs[c] = (c + seed) % kOutputCodeCount;
        p.outputs_bk[c] = (c * 3 + seed) % kOutputCodeCount;
        p.linkOutputs[c] = (c + seed) % 17 - 1;
        p.linkSel[c] = (c + seed) % 7;
        p.delayLinkSel[c] = (c + 2 * seed) % 7;
        p.showOutChEqualizer[c] = (c + seed) % 2;
    }
    for (int b = 0; b < kBridgePairs; ++b) p.bridgeOutputs[b] = (b + seed) % 2;
    p.currOutChannel = (5 + seed) % 16;
    p.linkMode = 1;
    p.lockMode = seed % 2;
    p.inputThreshold = -41 - seed % 40;
}

std::unique_ptr<TuningModel> DistinctModel() {
    auto m = std::make_unique<TuningModel>();
    FillDistinct(m->Current(), 0);
    for (int k = 0; k < kStoredScenes; ++k) FillDistinct(*m->Stored(k), k + 1);
    for (int k = 0; k < kStoredScenes; ++k) m->SetSceneName(k, L"Scene " + std::to_wstring(k));
    m->SetSceneName(9, L"\x4E00\x4E01\x4E02\x4E03\x4E04\x4E05\x4E06\x4E07");  // fills all 16 bytes
    return m;
}

namespace {

struct JsonDeleter {
    void operator()(cJSON* json) const { cJSON_Delete(json); }
    void operator()(char* text) const { cJSON_free(text); }
};

}  // namespace

bool SameJson(const std::string& a, const std::string& b) {
    std::unique_ptr<cJSON, JsonDeleter> left(cJSON_Parse(a.c_str()));
    std::unique_ptr<cJSON, JsonDeleter> right(cJSON_Parse(b.c_str()));
    return left && right && cJSON_Compare(left.get(), right.get(), true);
}

std::string EditJson(const std::string& json, const std::function<void(cJSON* root)>& edit) {
    std::unique_ptr<cJSON, JsonDeleter> root(cJSON_Parse(json.c_str()));
    EXPECT_NE(root, nullptr);
    if (!root) return json;
    edit(root.get());
    std::unique_ptr<char, JsonDeleter> text(cJSON_PrintUnformatted(root.get()));
    return text.get();
}

namespace {

bool IsIndex(const std::string& part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
}

// Splits "a/b/c" into its parent path "a/b" and last part "c".
std::pair<std::string, std::string> SplitLast(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

cJSON* JsonAt(cJSON* root, const std::string& path) {
    cJSON* item = root;
    size_t start = 0;
    while (item && start <= path.size() && !path.empty()) {
        size_t end = path.find('/', start);
        std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        item = IsIndex(part) ? cJSON_GetArrayItem(item, std::stoi(part)) : cJSON_GetObjectItemCaseSensitive(item, part.c_str());
        if (end == std::string::npos) break;
        start = end + 1;
    }
    EXPECT_NE(item, nullptr) << path;
    return item;
}

void JsonSet(cJSON* root, const std::string& path, cJSON* value) {
    auto [parentPath, last] = SplitLast(path);
    cJSON* parent = parentPath.empty() ? root : JsonAt(root, parentPath);
    if (!parent) return;
    if (IsIndex(last)) {
        cJSON_ReplaceItemInArray(parent, std::stoi(last), value);
    } else {
        cJSON_ReplaceItemInObjectCaseSensitive(parent, last.c_str(), value);
    }
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    mPath = std::filesystem::temp_directory_path() /
            ("brisa_profile_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(mPath);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(mPath, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(mPath, ignored);
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    FILE* file = OpenPathFile(path, "wb");
    ASSERT_NE(file, nullptr) << path.string();
    EXPECT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
    std::fclose(file);
}
