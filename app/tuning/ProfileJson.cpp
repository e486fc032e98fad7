#include "app/tuning/ProfileJson.h"

#include <cJSON.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/tuning/ModelLog.h"
#include "app/tuning/ProfileRules.h"
#include "device/Base64.h"

const wchar_t kProfileOpenError[] = L"${profile_open_error}";
const wchar_t kProfileLoadError[] = L"${profile_load_error}";
const wchar_t kSoftwareNotMatch[] = L"${software_not_match}";
const wchar_t kProfileCreateError[] = L"${profile_create_error}";
const wchar_t kProfileSaveOk[] = L"${profile_save_ok}";

namespace {

const char kModelName[] = "BrisaDSP";
constexpr int kFileInputChannels = 12;  // the files carry input channels 0-11

struct JsonDeleter {
    void operator()(cJSON* json) const { cJSON_Delete(json); }
};
using Json = std::unique_ptr<cJSON, JsonDeleter>;

struct JsonTextDeleter {
    void operator()(char* text) const { cJSON_free(text); }
};

// ---- writing

cJSON* Number(double v) { return cJSON_CreateNumber(std::isfinite(v) ? v : 0.0); }

cJSON* Numbers(const int32_t* values, int count) {
    cJSON* array = cJSON_CreateArray();
    for (int i = 0; i < count; ++i) cJSON_AddItemToArray(array, Number(values[i]));
    return array;
}

template <size_t N>
cJSON* Numbers(const std::array<int32_t, N>& values) {
    return Numbers(values.data(), static_cast<int>(N));
}

cJSON* FilterJson(const FilterParams& f) {
    cJSON* o = cJSON_CreateObject();
    cJSON_AddItemToObject(o, "fs", Number(f.fs));
    cJSON_AddItemToObject(o, "type", Number(f.type));
    cJSON_AddItemToObject(o, "slope", Number(f.slope));
    cJSON_AddItemToObject(o, "bypass", Number(f.bypass));
    return o;
}

cJSON* ChannelJson(const ChannelParams& ch) {
    cJSON* o = cJSON_CreateObject();
    cJSON_AddItemToObject(o, "eqSize", Number(ch.eqSize));
    cJSON_AddItemToObject(o, "gain", Number(ch.gain));
    cJSON_AddItemToObject(o, "mute", Number(ch.mute));
    cJSON_AddItemToObject(o, "delay", Number(ch.delay));
    cJSON_AddItemToObject(o, "solo", Number(ch.solo));
    cJSON_AddItemToObject(o, "phase", Number(ch.phase));
    cJSON_AddItemToObject(o, "bypass", Number(ch.bypass));
    cJSON* crossover = cJSON_CreateObject();
    cJSON_AddItemToObject(crossover, "bpType", Number(ch.crossover.bpType));
    cJSON_AddItemToObject(crossover, "hp", FilterJson(ch.crossover.hp));
    cJSON_AddItemToObject(crossover, "lp", FilterJson(ch.crossover.lp));
    cJSON_AddItemToObject(o, "crossover", crossover);
    cJSON* bands = cJSON_CreateArray();
    int count = std::min(std::max(ch.eqSize, 0), kMaxEqBands);
    for (int k = 0; k < count; ++k) {
        const EqBand& b = ch.bands[k];
        cJSON* band = cJSON_CreateObject();
        cJSON_AddItemToObject(band, "freq", Number(b.freq));
        cJSON_AddItemToObject(band, "eqFactor", Number(b.Q));
        cJSON_AddItemToObject(band, "eqGain", Number(b.gain));
        cJSON_AddItemToObject(band, "enable", Number(b.enable));
        cJSON_AddItemToArray(bands, band);
    }
    cJSON_AddItemToObject(o, "eqArray", bands);
    return o;
}

// ---- reading

bool ReadInt(const cJSON* item, int32_t& out) {
    if (!cJSON_IsNumber(item)) return false;
    out = item->valueint;  // cJSON saturates values beyond the int range
    return true;
}

bool ReadFloat(const cJSON* item, float& out) {
    if (!cJSON_IsNumber(item)) return false;
    out = static_cast<float>(item->valuedouble);
    return true;
}

bool ReadInt(const cJSON* object, const char* key, int32_t& out) {
    return ReadInt(cJSON_GetObjectItem(object, key), out);
}

bool IsArrayOf(const cJSON* array, int count) {
    return cJSON_IsArray(array) && cJSON_GetArraySize(array) == count;
}

// Exactly count numbers.
bool ReadInts(const cJSON* array, int32_t* out, int count) {
    if (!IsArrayOf(array, count)) return false;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, array) {
        if (!ReadInt(item, *out++)) return false;
    }
    return true;
}

template <size_t N>
bool ReadInts(const cJSON* array, std::array<int32_t, N>& out) {
    return ReadInts(array, out.data(), static_cast<int>(N));
}

// Exactly rows entries, each accepted by readRow(entry, index).
template <typename ReadRow>
bool ReadRows(const cJSON* array, int rows, ReadRow readRow) {
    if (!IsArrayOf(array, rows)) return false;
    int r = 0;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, array) {
        if (!readRow(item, r++)) return false;
    }
    return true;
}

bool ReadFilter(const cJSON* o, FilterParams& f) {
    return cJSON_IsObject(o) && ReadInt(o, "fs", f.fs) && ReadInt(o, "type", f.type) &&
           ReadInt(o, "slope", f.slope) && ReadInt(o, "bypass", f.bypass);
}

bool ReadBand(const cJSON* o, EqBand& b) {
    const cJSON* enable = cJSON_GetObjectItem(o, "enable");
    if (!cJSON_IsObject(o) || !ReadInt(o, "freq", b.freq) || !ReadFloat(cJSON_GetObjectItem(o, "eqFactor"), b.Q) ||
        !ReadFloat(cJSON_GetObjectItem(o, "eqGain"), b.gain) || !cJSON_IsNumber(enable)) {
        return false;
    }
    b.enable = enable->valuedouble != 0 ? 1 : 0;
    return true;
}

bool ReadChannel(const cJSON* o, ChannelParams& ch) {
    int32_t gain = 0;
    int32_t bypass = 0;
    if (!cJSON_IsObject(o) || !ReadInt(o, "eqSize", ch.eqSize) || !ReadInt(o, "gain", gain) ||
        !ReadInt(o, "mute", ch.mute) || !ReadFloat(cJSON_GetObjectItem(o, "delay"), ch.delay) ||
        !ReadInt(o, "solo", ch.solo) || !ReadInt(o, "phase", ch.phase) || !ReadInt(o, "bypass", bypass)) {
        return false;
    }
    ch.gain = static_cast<float>(gain);  // whole dB: a fraction in the file is dropped
    ch.bypass = static_cast<uint8_t>(bypass & 0xFF);
    const cJSON* crossover = cJSON_GetObjectItem(o, "crossover");
    if (!cJSON_IsObject(crossover) || !ReadInt(crossover, "bpType", ch.crossover.bpType) ||
        !ReadFilter(cJSON_GetObjectItem(crossover, "hp"), ch.crossover.hp) ||
        !ReadFilter(cJSON_GetObjectItem(crossover, "lp"), ch.crossover.lp)) {
        return false;
    }
    // A band count other than the channel's would not fit its rows.
    if (ch.eqSize < 0 || ch.eqSize > kMaxEqBands) return false;
    return ReadRows(cJSON_GetObjectItem(o, "eqArray"), ch.eqSize,
                    [&](const cJSON* band, int k) { return ReadBand(band, ch.bands[k]); });
}

// ---- the profile's keys, each read and written by one entry

struct ProfileField {
    const char* key;
    bool (*read)(const cJSON* value, SceneProfile& p);
    cJSON* (*write)(const SceneProfile& p);
};

const ProfileField kFields[] = {
    {"mainVolume", [](const cJSON* v, SceneProfile& p) { return ReadInt(v, p.mainVolume); },
     [](const SceneProfile& p) { return Number(p.mainVolume); }},
    {"acc", [](const cJSON* v, SceneProfile& p) { return ReadInt(v, p.acc); },
     [](const SceneProfile& p) { return Number(p.acc); }},
    {"subVolume", [](const cJSON* v, SceneProfile& p) { return ReadInt(v, p.subVolume); },
     [](const SceneProfile& p) { return Number(p.subVolume); }},
    {"mainVolumeMute", [](const cJSON* v, SceneProfile& p) { return ReadInt(v, p.mainVolumeMute); },
     [](const SceneProfile& p) { return Number(p.mainVolumeMute); }},
    {"channels",
     [](const cJSON* v, SceneProfile& p) {
         return ReadRows(v, kOutputChannels, [&](const cJSON* ch, int c) { return ReadChannel(ch, p.channels[c]); });
     },
     [](const SceneProfile& p) {
         cJSON* array = cJSON_CreateArray();
         int count = std::min(std::max(p.channelCount, 0), kOutputChannels);
         for (int c = 0; c < count; ++c) cJSON_AddItemToArray(array, ChannelJson(p.channels[c]));
         return array;
     }},
    {"inputs",
     [](const cJSON* v, SceneProfile& p) {
         return ReadRows(v, kInputSources, [&](const cJSON* row, int s) { return ReadInts(row, p.inputs[s]); });
     },
     [](const SceneProfile& p) {
         cJSON* array = cJSON_CreateArray();
         for (const auto& row : p.inputs) cJSON_AddItemToArray(array, Numbers(row));
         return array;
     }},
    {"inputMixVolume",
     [](const cJSON* v, SceneProfile& p) {
         return ReadRows(v, kInputSources, [&](const cJSON* source, int s) {
             return ReadRows(source, kFileInputChannels,
                             [&](const cJSON* row, int i) { return ReadInts(row, p.inputMixVolume[s][i]); });
         });
     },
     [](const SceneProfile& p) {
         cJSON* array = cJSON_CreateArray();
         for (const auto& source : p.inputMixVolume) {
             cJSON* rows = cJSON_CreateArray();
             for (int i = 0; i < kFileInputChannels; ++i) cJSON_AddItemToArray(rows, Numbers(source[i]));
             cJSON_AddItemToArray(array, rows);
         }
         return array;
     }},
    {"inMixPhase",
     [](const cJSON* v, SceneProfile& p) {
         return ReadRows(v, kInputSources,
                         [&](const cJSON* row, int s) { return ReadInts(row, p.inMixPhase[s].data(), kFileInputChannels); });
     },
     [](const SceneProfile& p) {
         cJSON* array = cJSON_CreateArray();
         for (const auto& row : p.inMixPhase) cJSON_AddItemToArray(array, Numbers(row.data(), kFileInputChannels));
         return array;
     }},
    {"outputs", [](const cJSON* v, SceneProfile& p) { return ReadInts(v, p.outputs); },
     [](const SceneProfile& p) { return Numbers(p.outputs); }},
    {"outputs_bk", [](const cJSON* v, SceneProfile& p) { return ReadInts(v, p.outputs_bk); },
     [](const SceneProfile& p) { return Numbers(p.outputs_bk); }},
    {"linkOutputs", [](const cJSON* v, SceneProfile& p) { return ReadInts(v, p.linkOutputs); },
     [](const SceneProfile& p) { return Numbers(p.linkOutputs); }},
    {"bridgeOutputs", [](const cJSON* v, SceneProfile& p) { return ReadInts(v, p.bridgeOutputs); },
     [](const SceneProfile& p) { return Numbers(p.bridgeOutputs); }},
    {"linkSel", [](const cJSON* v, SceneProfile& p) { return ReadInts(v, p.linkSel); },
     [](const SceneProfile& p) { return Numbers(p.linkSel); }},
    {"delayLinkSel", [](const cJSON* v, SceneProfile& p) { return ReadInts(v, p.delayLinkSel); },
     [](const SceneProfile& p) { return Numbers(p.delayLinkSel); }},
    {"showOutChEqualizer", [](const cJSON* v, SceneProfile& p) { return ReadInts(v, p.showOutChEqualizer); },
     [](const SceneProfile& p) { return Numbers(p.showOutChEqualizer); }},
    {"currOutChannel", [](const cJSON* v, SceneProfile& p) { return ReadInt(v, p.currOutChannel); },
     [](const SceneProfile& p) { return Number(p.currOutChannel); }},
    {"linkMode", [](const cJSON* v, SceneProfile& p) { return ReadInt(v, p.linkMode); },
     [](const SceneProfile& p) { return Number(p.linkMode); }},
    {"lockMode", [](const cJSON* v, SceneProfile& p) { return ReadInt(v, p.lockMode); },
     [](const SceneProfile& p) { return Number(p.lockMode); }},
    {"inputThreshold", [](const cJSON* v, SceneProfile& p) { return ReadInt(v, p.inputThreshold); },
     [](const SceneProfile& p) { return Number(p.inputThreshold); }},
};

const ProfileField* FindField(const char* key) {
    for (const ProfileField& f : kFields) {
        if (std::string(f.key) == key) return &f;
    }
    return nullptr;
}

// A key of a format; optional keys are written always and read when present
// (older whole configurations lack the link selections and bridges).
struct FieldUse {
    const char* key;
    bool required;
};

const FieldUse kHeadFields[] = {
    {"mainVolume", true}, {"acc", true}, {"subVolume", true}, {"mainVolumeMute", true},
};
const FieldUse kSceneFileFields[] = {
    {"channels", true}, {"inputs", true}, {"inputMixVolume", true}, {"outputs", true},
    {"outputs_bk", true}, {"linkOutputs", true}, {"bridgeOutputs", true}, {"linkSel", true},
    {"delayLinkSel", true}, {"showOutChEqualizer", true}, {"currOutChannel", true}, {"linkMode", true},
    {"lockMode", true}, {"inputThreshold", true}, {"inMixPhase", true},
};
const FieldUse kWholeCurrentFields[] = {
    {"channels", true}, {"inputs", true}, {"inputMixVolume", true}, {"inMixPhase", true},
    {"outputs", true}, {"outputs_bk", true}, {"linkOutputs", true}, {"bridgeOutputs", false},
    {"linkSel", false}, {"delayLinkSel", false}, {"showOutChEqualizer", true}, {"currOutChannel", true},
    {"linkMode", true}, {"lockMode", true}, {"inputThreshold", true},
};
const FieldUse kWholeSceneFields[] = {
    {"channels", true}, {"inputs", true}, {"inputMixVolume", true}, {"outputs", true},
    {"outputs_bk", true}, {"linkOutputs", true}, {"bridgeOutputs", false}, {"linkSel", false},
    {"delayLinkSel", false}, {"showOutChEqualizer", true}, {"currOutChannel", true}, {"linkMode", true},
    {"lockMode", true},
};

template <size_t N>
void WriteFields(cJSON* object, const SceneProfile& p, const FieldUse (&uses)[N]) {
    for (const FieldUse& use : uses) cJSON_AddItemToObject(object, use.key, FindField(use.key)->write(p));
}

template <size_t N>
bool ReadFields(const cJSON* object, SceneProfile& p, const FieldUse (&uses)[N]) {
    if (!cJSON_IsObject(object)) return false;
    for (const FieldUse& use : uses) {
        const cJSON* value = cJSON_GetObjectItem(object, use.key);
        if (!value && !use.required) continue;
        if (!value || !FindField(use.key)->read(value, p)) return false;
    }
    return true;
}

std::string Print(const Json& root) {
    if (!root) return {};
    std::unique_ptr<char, JsonTextDeleter> text(cJSON_PrintUnformatted(root.get()));
    return text ? std::string(text.get()) : std::string();
}

cJSON* ModelHead(const SceneProfile& live) {
    cJSON* root = cJSON_CreateObject();
    cJSON_AddItemToObject(root, "model", Number(kProfileModelId));
    cJSON_AddItemToObject(root, "model_name", cJSON_CreateString(kModelName));
    WriteFields(root, live, kHeadFields);
    return root;
}

// Whether the root is an object of our model; both readers start here.
enum class HeadCheck { Ok, Broken, OtherModel };

HeadCheck CheckModel(const cJSON* root) {
    int32_t model = 0;
    if (!cJSON_IsObject(root) || !ReadInt(root, "model", model)) return HeadCheck::Broken;
    return model == kProfileModelId ? HeadCheck::Ok : HeadCheck::OtherModel;
}

ProfileResult Refused(const wchar_t* key) {
    if (key == kProfileLoadError) ModelLog("read profile file error! error\n");
    ModelLog("read profile file error! error1\n");
    return {false, key};
}

ProfileResult Loaded() {
    ModelLog("read profile file ok\n");
    return {true, nullptr};
}

// Parses text, checks its model and reads the rest with readBody.
template <typename ReadBody>
ProfileResult ParseChecked(const std::string& text, const wchar_t* unparsableKey, ReadBody readBody) {
    Json root(cJSON_ParseWithLength(text.data(), text.size()));
    if (!root) return {false, unparsableKey};
    switch (CheckModel(root.get())) {
        case HeadCheck::Broken: return Refused(kProfileLoadError);
        case HeadCheck::OtherModel: return Refused(kSoftwareNotMatch);
        case HeadCheck::Ok: break;
    }
    return readBody(root.get()) ? Loaded() : Refused(kProfileLoadError);
}

bool ReadSceneNames(const cJSON* array, std::array<SceneNameSlot, kStoredScenes>& names) {
    return ReadRows(array, kStoredScenes, [&](const cJSON* item, int k) {
        if (!cJSON_IsString(item)) return false;
        std::string text = item->valuestring;
        // Decode all of it, keep the slot's 16 bytes.
        std::vector<uint8_t> bytes(text.size() / 4 * 3 + 3 + kSceneNameBytes, 0);
        uint32_t capacity = static_cast<uint32_t>(bytes.size());
        if (!Base64Decode(text, bytes.data(), &capacity)) return false;
        std::copy(bytes.begin(), bytes.begin() + kSceneNameBytes, names[k].begin());
        return true;
    });
}

}  // namespace

std::string WriteSceneProfileJson(const SceneProfile& profile) {
    Json root(ModelHead(profile));
    WriteFields(root.get(), profile, kSceneFileFields);
    return Print(root);
}

std::string WriteWholeProfileJson(const TuningModel& model) {
    Json root(ModelHead(model.Current()));
    cJSON* names = cJSON_CreateArray();
    for (const SceneNameSlot& slot : model.sceneNames) {
        char text[32] = {};
        uint32_t capacity = sizeof text;
        Base64Encode(slot.data(), kSceneNameBytes, text, &capacity);
        cJSON_AddItemToArray(names, cJSON_CreateString(text));
    }
    cJSON_AddItemToObject(root.get(), "sceneName", names);
    cJSON* current = cJSON_CreateObject();
    WriteFields(current, model.Current(), kWholeCurrentFields);
    cJSON_AddItemToObject(root.get(), "currentProfile", current);
    cJSON* scenes = cJSON_CreateArray();
    for (int k = 0; k < kStoredScenes; ++k) {
        cJSON* scene = cJSON_CreateObject();
        WriteFields(scene, *model.Stored(k), kWholeSceneFields);
        cJSON_AddItemToArray(scenes, scene);
    }
    cJSON_AddItemToObject(root.get(), "sceneArray", scenes);
    return Print(root);
}

ProfileResult ParseSceneProfileJson(const std::string& text, SceneProfile& profile) {
    return ParseChecked(text, kProfileOpenError, [&](const cJSON* root) {
        return ReadFields(root, profile, kHeadFields) && ReadFields(root, profile, kSceneFileFields) &&
               ApplyProfileFileRules(profile);
    });
}

// Unparsable text gives the load error here, the open error for a scene profile.
ProfileResult ParseWholeProfileJson(const std::string& text, TuningModel& model) {
    return ParseChecked(text, kProfileLoadError, [&](const cJSON* root) {
        SceneProfile& live = model.Current();
        return ReadFields(root, live, kHeadFields) &&
               ReadSceneNames(cJSON_GetObjectItem(root, "sceneName"), model.sceneNames) &&
               ReadFields(cJSON_GetObjectItem(root, "currentProfile"), live, kWholeCurrentFields) &&
               ApplyProfileFileRules(live) &&
               ReadRows(cJSON_GetObjectItem(root, "sceneArray"), kStoredScenes, [&](const cJSON* scene, int k) {
                   SceneProfile& stored = *model.Stored(k);
                   return ReadFields(scene, stored, kWholeSceneFields) && ApplyProfileFileRules(stored);
               });
    });
}
