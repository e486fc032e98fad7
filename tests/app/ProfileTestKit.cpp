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
        ch.crossover = CrossoverParams(40 + c + seed, 2, 3, 9000 - c, 3, c % 4);
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

void ExpectSameFileFields(const SceneProfile& e, const SceneProfile& a, FileFields fields) {
    if (fields == FileFields::SceneFile) {
        EXPECT_EQ(e.mainVolume, a.mainVolume);
        EXPECT_EQ(e.acc, a.acc);
        EXPECT_EQ(e.subVolume, a.subVolume);
        EXPECT_EQ(e.mainVolumeMute, a.mainVolumeMute);
    }
    if (fields != FileFields::WholeScene) {
        EXPECT_EQ(e.inputThreshold, a.inputThreshold);
        EXPECT_EQ(e.inMixPhase, a.inMixPhase);
    }
    for (int c = 0; c < kOutputChannels; ++c) {
        SCOPED_TRACE(c);
        const ChannelParams& ec = e.channels[c];
        const ChannelParams& ac = a.channels[c];
        EXPECT_EQ(ec.eqSize, ac.eqSize);
        EXPECT_EQ(ec.gain, ac.gain);
        EXPECT_EQ(ec.mute, ac.mute);
        EXPECT_EQ(ec.delay, ac.delay);
        EXPECT_EQ(ec.solo, ac.solo);
        EXPECT_EQ(ec.phase, ac.phase);
        EXPECT_EQ(ec.bypass, ac.bypass);
        EXPECT_EQ(ec.crossover.bpType, ac.crossover.bpType);
        for (auto [ef, af] : {std::make_pair(ec.crossover.hp, ac.crossover.hp),
                              std::make_pair(ec.crossover.lp, ac.crossover.lp)}) {
            EXPECT_EQ(ef.fs, af.fs);
            EXPECT_EQ(ef.type, af.type);
            EXPECT_EQ(ef.slope, af.slope);
            EXPECT_EQ(ef.bypass, af.bypass);
        }
        for (int k = 0; k < ec.eqSize; ++k) {
            EXPECT_EQ(ec.bands[k].freq, ac.bands[k].freq) << k;
            EXPECT_EQ(ec.bands[k].Q, ac.bands[k].Q) << k;
            EXPECT_EQ(ec.bands[k].gain, ac.bands[k].gain) << k;
            EXPECT_EQ(ec.bands[k].enable, ac.bands[k].enable) << k;
        }
    }
    EXPECT_EQ(e.inputs, a.inputs);
    for (int s = 0; s < kInputSources; ++s) {
        for (int i = 0; i < 12; ++i) EXPECT_EQ(e.inputMixVolume[s][i], a.inputMixVolume[s][i]);
    }
    EXPECT_EQ(e.outputs, a.outputs);
    EXPECT_EQ(e.outputs_bk, a.outputs_bk);
    EXPECT_EQ(e.linkOutputs, a.linkOutputs);
    EXPECT_EQ(e.bridgeOutputs, a.bridgeOutputs);
    EXPECT_EQ(e.linkSel, a.linkSel);
    EXPECT_EQ(e.delayLinkSel, a.delayLinkSel);
    EXPECT_EQ(e.showOutChEqualizer, a.showOutChEqualizer);
    EXPECT_EQ(e.currOutChannel, a.currOutChannel);
    EXPECT_EQ(e.linkMode, a.linkMode);
    EXPECT_EQ(e.lockMode, a.lockMode);
}

namespace {

struct JsonDeleter {
    void operator()(cJSON* json) const { cJSON_Delete(json); }
    void operator()(char* text) const { cJSON_free(text); }
};

}  // namespace

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
