#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <limits>
#include <memory>

#include "app/tuning/ModelLog.h"
#include "app/tuning/ProfileFile.h"
#include "tests/app/ProfileTestKit.h"

namespace {

std::wstring Key(const wchar_t* key) { return key ? key : L"(none)"; }

// Every field the readers read is written; what comes back writes the same text.
TEST(ProfileJson, RoundTripsOfBothFormats) {
    auto written = DistinctModel();
    auto read = std::make_unique<TuningModel>();
    const std::string spf = WriteSceneProfileJson(written->Current());
    ASSERT_TRUE(ParseSceneProfileJson(spf, read->Current()).ok);
    EXPECT_EQ(WriteSceneProfileJson(read->Current()), spf);

    read = std::make_unique<TuningModel>();
    const std::string wpf = WriteWholeProfileJson(*written);
    ASSERT_TRUE(ParseWholeProfileJson(wpf, *read).ok);
    EXPECT_EQ(WriteWholeProfileJson(*read), wpf);
    EXPECT_EQ(read->sceneNames, written->sceneNames);
    EXPECT_EQ(read->Stored(7)->bridgeOutputs, written->Stored(7)->bridgeOutputs);
    EXPECT_EQ(read->Stored(7)->delayLinkSel, written->Stored(7)->delayLinkSel);
}

TEST(ProfileJson, WriterKeepsTheFilesKeyOrder) {
    auto toKeys = [](const cJSON* object) {
        std::string keys;
        for (const cJSON* item = object->child; item; item = item->next) keys += std::string(item->string) + ",";
        return keys;
    };
    auto m = DistinctModel();
    std::string spf = WriteSceneProfileJson(m->Current());
    EXPECT_EQ(spf.find_first_of(" \n\t"), std::string::npos) << "unformatted";
    EditJson(spf, [&](cJSON* root) {
        EXPECT_EQ(toKeys(root),
                  "model,model_name,mainVolume,acc,subVolume,mainVolumeMute,channels,inputs,inputMixVolume,outputs,"
                  "outputs_bk,linkOutputs,bridgeOutputs,linkSel,delayLinkSel,showOutChEqualizer,currOutChannel,"
                  "linkMode,lockMode,inputThreshold,inMixPhase,");
        EXPECT_EQ(toKeys(JsonAt(root, "channels/0")), "eqSize,gain,mute,delay,solo,phase,bypass,crossover,eqArray,");
        EXPECT_EQ(toKeys(JsonAt(root, "channels/0/crossover")), "bpType,hp,lp,");
        EXPECT_EQ(toKeys(JsonAt(root, "channels/0/crossover/hp")), "fs,type,slope,bypass,");
        EXPECT_EQ(toKeys(JsonAt(root, "channels/0/eqArray/0")), "freq,eqFactor,eqGain,enable,");
        EXPECT_EQ(cJSON_GetArraySize(JsonAt(root, "channels/12/eqArray")), 11);
        EXPECT_EQ(cJSON_GetArraySize(JsonAt(root, "inputMixVolume/8")), 12);
        EXPECT_EQ(cJSON_GetArraySize(JsonAt(root, "inMixPhase/8")), 12);
        EXPECT_STREQ(JsonAt(root, "model_name")->valuestring, "BrisaDSP");
        EXPECT_EQ(JsonAt(root, "model")->valueint, 95);
    });
    EditJson(WriteWholeProfileJson(*m), [&](cJSON* root) {
        EXPECT_EQ(toKeys(root), "model,model_name,mainVolume,acc,subVolume,mainVolumeMute,sceneName,currentProfile,sceneArray,");
        EXPECT_EQ(toKeys(JsonAt(root, "currentProfile")),
                  "channels,inputs,inputMixVolume,inMixPhase,outputs,outputs_bk,linkOutputs,bridgeOutputs,linkSel,"
                  "delayLinkSel,showOutChEqualizer,currOutChannel,linkMode,lockMode,inputThreshold,");
        EXPECT_EQ(toKeys(JsonAt(root, "sceneArray/9")),
                  "channels,inputs,inputMixVolume,outputs,outputs_bk,linkOutputs,bridgeOutputs,linkSel,delayLinkSel,"
                  "showOutChEqualizer,currOutChannel,linkMode,lockMode,");
        EXPECT_STREQ(JsonAt(root, "sceneName/0")->valuestring, "UwBjAGUAbgBlACAAMAAAAA==");
        EXPECT_EQ(std::string(JsonAt(root, "sceneName/9")->valuestring).size(), 24u);
    });
}

TEST(ProfileJson, NonFiniteNumbersAreWrittenAsZero) {
    auto p = std::make_unique<SceneProfile>();
    p->channels[2].delay = std::numeric_limits<float>::quiet_NaN();
    p->channels[2].bands[4].gain = std::numeric_limits<float>::infinity();
    std::string json = WriteSceneProfileJson(*p);
    EXPECT_EQ(json.find("null"), std::string::npos);
    auto read = std::make_unique<SceneProfile>();
    ASSERT_TRUE(ParseSceneProfileJson(json, *read).ok);
    EXPECT_EQ(read->channels[2].delay, 0.0f);
    EXPECT_EQ(read->channels[2].bands[4].gain, 0.0f);
}

// Values outside the editors' limits are clamped; fractions follow the file rules.
TEST(ProfileJson, ValuesSentToTheUnitAreClamped) {
    // also: a second value of the same file, set and checked beside the first.
    struct Case { const char* path; double value, expected; const char* also = nullptr; double alsoValue = 0, alsoExpected = 0; };
    const Case cases[] = {
        {"channels/1/gain", -3.7, -3}, {"channels/1/gain", 5, 0}, {"channels/1/gain", -90, -60},
        {"channels/1/delay", 1.25, 1.25}, {"channels/1/delay", 40, 15}, {"channels/1/delay", -1, 0},
        {"channels/1/mute", 7, 1}, {"channels/1/bypass", 256, 0},
        {"channels/1/eqArray/2/enable", 0.5, 1}, {"channels/1/eqArray/2/eqGain", 30, 12},
        {"channels/1/eqArray/2/eqGain", -25, -18}, {"channels/1/eqArray/2/eqFactor", 0.1, 0.5},
        {"channels/1/eqArray/2/eqFactor", 20, 9}, {"channels/1/eqArray/2/freq", 5, 20},
        {"channels/1/eqArray/2/freq", 70000, 20000}, {"channels/1/crossover/hp/fs", 30000, 20},
        {"channels/1/crossover/lp/type", 7, 1}, {"channels/1/crossover/lp/slope", -2, 0},
        {"channels/1/crossover/bpType", 7, 3}, {"mainVolume", 10, 6}, {"mainVolume", -100, -60},
        {"acc", 300, 255}, {"inputThreshold", -100, -81}, {"inputThreshold", 0, -40},
        {"inputMixVolume/3/11/15", 150, 100}, {"inputMixVolume/3/11/15", -5, 0},
        {"inputs/2/4", 0x12345, 0x2345}, {"inMixPhase/0/0", 3, 1}, {"bridgeOutputs/7", 9, 1},
        // The slope lists' range and the setter's bypass; type 2 lists only even slopes.
        {"channels/1/crossover/lp/slope", 12, 8}, {"channels/1/crossover/lp/slope", 300, 8},
        {"channels/1/crossover/lp/slope", -3, 0, "channels/1/crossover/lp/bypass", 0, 1},
        {"channels/1/crossover/hp/slope", 4, 4, "channels/1/crossover/hp/bypass", 1, 1},
        {"channels/1/crossover/hp/slope", 5, 6, "channels/1/crossover/hp/type", 2, 2},
        // Bits only of the unit's fourteen inputs.
        {"inputs/2/4", 131071, 16383},
    };
    const std::string base = WriteSceneProfileJson(*std::make_unique<SceneProfile>());
    for (const Case& tc : cases) {
        SCOPED_TRACE(std::string(tc.path) + " = " + std::to_string(tc.value));
        std::string json = EditJson(base, [&](cJSON* root) {
            JsonSet(root, tc.path, cJSON_CreateNumber(tc.value));
            if (tc.also != nullptr) JsonSet(root, tc.also, cJSON_CreateNumber(tc.alsoValue));
        });
        auto read = std::make_unique<SceneProfile>();
        ASSERT_TRUE(ParseSceneProfileJson(json, *read).ok);
        EditJson(WriteSceneProfileJson(*read), [&](cJSON* root) {
            EXPECT_FLOAT_EQ(static_cast<float>(JsonAt(root, tc.path)->valuedouble), static_cast<float>(tc.expected));
            if (tc.also != nullptr) {
                EXPECT_FLOAT_EQ(static_cast<float>(JsonAt(root, tc.also)->valuedouble), static_cast<float>(tc.alsoExpected));
            }
        });
    }
}

std::vector<std::string> gLog;
void RecordLog(const char* line) { gLog.push_back(line); }

TEST(ProfileFile, SavesAndLoadsThroughFiles) {
    ScratchFolder dir;
    auto m = DistinctModel();
    SetModelLogSink(RecordLog);
    gLog.clear();
    ProfileResult saved = SaveSceneProfile(m->Current(), dir / "live.spf");
    EXPECT_TRUE(saved.ok);
    EXPECT_EQ(Key(saved.messageKey), L"${profile_save_ok}");
    auto live = std::make_unique<SceneProfile>();
    ProfileResult loaded = LoadSceneProfile(dir / "live.spf", *live);
    EXPECT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.messageKey, nullptr);
    EXPECT_EQ(WriteSceneProfileJson(*live), WriteSceneProfileJson(m->Current()));
    EXPECT_EQ(gLog, std::vector<std::string>{"read profile file ok\n"});

    EXPECT_TRUE(SaveWholeProfile(*m, dir / "all.wpf").ok);
    auto model = std::make_unique<TuningModel>();
    SceneProfile* stored = model->Stored(4);
    ASSERT_TRUE(LoadWholeProfile(dir / "all.wpf", *model).ok);
    EXPECT_EQ(model->Stored(4), stored) << "a load keeps the profiles where they were";
    EXPECT_EQ(WriteWholeProfileJson(*model), WriteWholeProfileJson(*m));
    EXPECT_FALSE(std::filesystem::exists(dir / "all.wpf.tmp"));
    SetModelLogSink(nullptr);
}

TEST(ProfileFile, SampleFilesWrittenByHandLoad) {
    const std::filesystem::path samples = BRISA_PROFILE_SAMPLES;
    auto model = std::make_unique<TuningModel>();
    ASSERT_TRUE(LoadSceneProfile(samples / "sample.spf", model->Current()).ok);
    EXPECT_TRUE(SameJson(WriteSceneProfileJson(model->Current()), ReadFileText(samples / "sample.spf").value()));
    EXPECT_EQ(model->Current().channels[3].gain, -3.0f);
    EXPECT_FLOAT_EQ(model->Current().channels[3].bands[3].Q, 2.5f);
    EXPECT_EQ(model->Current().inputMixVolume[1][12][0], 100) << "rows 12 and 13 are not in the file";

    ASSERT_TRUE(LoadWholeProfile(samples / "sample.wpf", *model).ok);
    EXPECT_TRUE(SameJson(WriteWholeProfileJson(*model), ReadFileText(samples / "sample.wpf").value()));
    EXPECT_EQ(model->SceneNameText(0), L"Scene1");
    EXPECT_EQ(model->SceneNameText(9), L"ABCDEFGH");
    EXPECT_EQ(model->Stored(4)->channels[2].crossover.lp.fs, 8005);
}

enum class Format { Spf, Wpf };

struct BrokenCase {
    const char* name;
    Format format;
    std::function<std::string(const std::string& valid)> make;
    const wchar_t* key;
};

std::string Set(const std::string& json, const std::string& path, cJSON* value) {
    return EditJson(json, [&](cJSON* root) { JsonSet(root, path, value); });
}

std::string Remove(const std::string& json, const std::string& path, const std::string& key) {
    return EditJson(json, [&](cJSON* root) {
        cJSON_DeleteItemFromObjectCaseSensitive(path.empty() ? root : JsonAt(root, path), key.c_str());
    });
}

std::string Drop(const std::string& json, const std::string& path, int index) {
    return EditJson(json, [&](cJSON* root) { cJSON_DeleteItemFromArray(JsonAt(root, path), index); });
}

std::string DeepNesting(const std::string&) {
    return "{\"model\":95,\"inputs\":" + std::string(5000, '[') + std::string(5000, ']') + "}";
}

TEST(ProfileFile, BrokenFilesLeaveTheModelUntouched) {
    const wchar_t* load = L"${profile_load_error}";
    const wchar_t* open = L"${profile_open_error}";
    const wchar_t* other = L"${software_not_match}";
    auto n = [](double v) { return cJSON_CreateNumber(v); };
    const BrokenCase cases[] = {
        {"other model", Format::Spf, [&](auto& j) { return Set(j, "model", n(96)); }, other},
        {"model as text", Format::Spf, [&](auto& j) { return Set(j, "model", cJSON_CreateString("95")); }, load},
        {"no model", Format::Spf, [&](auto& j) { return Remove(j, "", "model"); }, load},
        {"missing inputs", Format::Spf, [&](auto& j) { return Remove(j, "", "inputs"); }, load},
        {"missing band key", Format::Spf, [&](auto& j) { return Remove(j, "channels/2/eqArray/4", "eqFactor"); }, load},
        {"missing crossover", Format::Spf, [&](auto& j) { return Remove(j, "channels/2", "crossover"); }, load},
        {"volume as text", Format::Spf, [&](auto& j) { return Set(j, "mainVolume", cJSON_CreateString("-5")); }, load},
        {"gain as text", Format::Spf, [&](auto& j) { return Set(j, "channels/0/gain", cJSON_CreateString("0")); }, load},
        {"channel not object", Format::Spf, [&](auto& j) { return Set(j, "channels/0", n(1)); }, load},
        {"mix rows of 14", Format::Spf, [&](auto& j) {
             return EditJson(j, [](cJSON* root) { cJSON_DeleteItemFromArray(JsonAt(root, "inputMixVolume/4/7"), 0);
                                                  cJSON_DeleteItemFromArray(JsonAt(root, "inputMixVolume/4/7"), 0); });
         }, load},
        {"15 channels", Format::Spf, [&](auto& j) { return Drop(j, "channels", 15); }, load},
        {"8 sources", Format::Spf, [&](auto& j) { return Drop(j, "inputs", 8); }, load},
        {"short outputs", Format::Spf, [&](auto& j) { return Drop(j, "outputs", 0); }, load},
        {"short inMixPhase", Format::Spf, [&](auto& j) { return Drop(j, "inMixPhase/3", 0); }, load},
        {"eqSize 11 with 10 bands", Format::Spf, [&](auto& j) { return Drop(j, "channels/12/eqArray", 10); }, load},
        {"eqSize 40", Format::Spf, [&](auto& j) { return Set(j, "channels/0/eqSize", n(40)); }, load},
        {"eqSize 31 on a narrow channel", Format::Spf, [&](auto& j) {
             return EditJson(j, [](cJSON* root) {
                 cJSON_ReplaceItemInObject(JsonAt(root, "channels/13"), "eqArray",
                                           cJSON_Duplicate(JsonAt(root, "channels/0/eqArray"), 1));
                 JsonSet(root, "channels/13/eqSize", cJSON_CreateNumber(31));
             });
         }, load},
        {"current channel 16", Format::Spf, [&](auto& j) { return Set(j, "currOutChannel", n(16)); }, load},
        {"output code 29", Format::Spf, [&](auto& j) { return Set(j, "outputs/3", n(29)); }, load},
        {"backup output code -1", Format::Spf, [&](auto& j) { return Set(j, "outputs_bk/3", n(-1)); }, load},
        {"link output 16", Format::Spf, [&](auto& j) { return Set(j, "linkOutputs/0", n(16)); }, load},
        {"link group 7", Format::Spf, [&](auto& j) { return Set(j, "linkSel/0", n(7)); }, load},
        {"delay link group -1", Format::Spf, [&](auto& j) { return Set(j, "delayLinkSel/0", n(-1)); }, load},
        {"truncated", Format::Spf, [&](auto& j) { return j.substr(0, j.size() / 2); }, open},
        {"not JSON", Format::Spf, [&](auto&) { return std::string("BrisaDSP profile"); }, open},
        {"empty", Format::Spf, [&](auto&) { return std::string(); }, open},
        {"deep nesting", Format::Spf, DeepNesting, open},
        {"top level array", Format::Spf, [&](auto&) { return std::string("[95]"); }, load},
        {"wpf other model", Format::Wpf, [&](auto& j) { return Set(j, "model", n(94)); }, other},
        {"nine names", Format::Wpf, [&](auto& j) { return Drop(j, "sceneName", 9); }, load},
        {"name as number", Format::Wpf, [&](auto& j) { return Set(j, "sceneName/2", n(3)); }, load},
        {"no current profile", Format::Wpf, [&](auto& j) { return Remove(j, "", "currentProfile"); }, load},
        {"nine scenes", Format::Wpf, [&](auto& j) { return Drop(j, "sceneArray", 0); }, load},
        {"scene output -1", Format::Wpf, [&](auto& j) { return Set(j, "sceneArray/9/outputs/15", n(-1)); }, load},
        {"scene link group as text", Format::Wpf, [&](auto& j) {
             return Set(j, "sceneArray/9/linkSel", cJSON_CreateString("none"));
         }, load},
        {"scene band short", Format::Wpf, [&](auto& j) { return Drop(j, "sceneArray/9/channels/0/eqArray", 0); }, load},
        {"wpf truncated", Format::Wpf, [&](auto& j) { return j.substr(0, j.size() - 3); }, load},
        {"wpf deep nesting", Format::Wpf, DeepNesting, load},
    };
    ScratchFolder dir;
    auto source = DistinctModel();
    const std::string validSpf = WriteSceneProfileJson(source->Current());
    const std::string validWpf = WriteWholeProfileJson(*source);
    auto model = DistinctModel();
    FillDistinct(model->Current(), 7);
    model->Current().linkSel.fill(3);
    const auto liveBefore = Bytes(model->Current());
    const auto storedBefore = Bytes(*model->Stored(6));
    const auto namesBefore = model->sceneNames;
    for (const BrokenCase& tc : cases) {
        SCOPED_TRACE(tc.name);
        std::filesystem::path path = dir / (tc.format == Format::Spf ? "broken.spf" : "broken.wpf");
        WriteText(path, tc.make(tc.format == Format::Spf ? validSpf : validWpf));
        ProfileResult r = tc.format == Format::Spf ? LoadSceneProfile(path, model->Current())
                                                   : LoadWholeProfile(path, *model);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(Key(r.messageKey), Key(tc.key));
        EXPECT_TRUE(Bytes(model->Current()) == liveBefore);
        EXPECT_TRUE(Bytes(*model->Stored(6)) == storedBefore);
        EXPECT_EQ(model->sceneNames, namesBefore);
    }
    auto live = std::make_unique<SceneProfile>();
    EXPECT_EQ(Key(LoadSceneProfile(dir / "missing.spf", *live).messageKey), Key(open));
    EXPECT_EQ(Key(LoadWholeProfile(dir / "missing.wpf", *model).messageKey), Key(open));
}

TEST(ProfileFile, WholeConfigurationWithoutLinksStillLoads) {
    auto source = DistinctModel();
    std::string json = EditJson(WriteWholeProfileJson(*source), [](cJSON* root) {
        for (const char* key : {"bridgeOutputs", "linkSel", "delayLinkSel"}) {
            cJSON_DeleteItemFromObjectCaseSensitive(JsonAt(root, "currentProfile"), key);
            for (int k = 0; k < kStoredScenes; ++k) {
                cJSON_DeleteItemFromObjectCaseSensitive(JsonAt(root, "sceneArray/" + std::to_string(k)), key);
            }
        }
    });
    auto model = std::make_unique<TuningModel>();
    model->Stored(2)->linkSel.fill(4);
    ASSERT_TRUE(ParseWholeProfileJson(json, *model).ok);
    EXPECT_EQ(model->Stored(2)->linkSel[0], 4) << "kept when the file has none";
    EXPECT_EQ(model->Stored(2)->outputs, source->Stored(2)->outputs);
}

TEST(ProfileFile, FailedSavesKeepThePreviousFile) {
    ScratchFolder dir;
    auto p = std::make_unique<SceneProfile>();
    ProfileResult r = SaveSceneProfile(*p, dir / "no_such_folder" / "x.spf");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(Key(r.messageKey), L"${profile_create_error}");
    EXPECT_FALSE(std::filesystem::exists(dir / "no_such_folder"));

    std::filesystem::path locked = dir / "locked.spf";
    WriteText(locked, "previous");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    r = SaveSceneProfile(*p, locked);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(Key(r.messageKey), L"${profile_create_error}");
    EXPECT_EQ(ReadFileText(locked).value_or(""), "previous");
    EXPECT_FALSE(SaveWholeProfile(*std::make_unique<TuningModel>(), locked).ok);
    EXPECT_EQ(ReadFileText(locked).value_or(""), "previous");
    EXPECT_FALSE(std::filesystem::exists(dir / "locked.spf.tmp"));

    std::filesystem::path replaced = dir / "replaced.spf";
    WriteText(replaced, "previous");
    EXPECT_TRUE(SaveSceneProfile(*p, replaced).ok);
    EXPECT_EQ(ReadFileText(replaced).value_or(""), WriteSceneProfileJson(*p));
}

}  // namespace
