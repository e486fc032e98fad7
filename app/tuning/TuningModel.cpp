#include "app/tuning/TuningModel.h"

#include <algorithm>
#include <cstring>

TuningModel::TuningModel()
    : mCurrent(std::make_unique<SceneProfile>()), mStored(kStoredScenes) {}

TuningModel::TuningModel(const TuningModel& other)
    : sceneNames(other.sceneNames),
      sceneValid(other.sceneValid),
      sceneSlot(other.sceneSlot),
      wholeConfigPath(other.wholeConfigPath),
      sceneNameInput(other.sceneNameInput),
      mCurrent(std::make_unique<SceneProfile>(*other.mCurrent)),
      mStored(other.mStored) {}

TuningModel& TuningModel::operator=(const TuningModel& other) {
    if (this == &other) return *this;
    sceneNames = other.sceneNames;
    sceneValid = other.sceneValid;
    sceneSlot = other.sceneSlot;
    wholeConfigPath = other.wholeConfigPath;
    sceneNameInput = other.sceneNameInput;
    *mCurrent = *other.mCurrent;
    mStored = other.mStored;
    return *this;
}

SceneProfile* TuningModel::Stored(int k) {
    return IsSceneIndex(k) ? &mStored[k] : nullptr;
}

const SceneProfile* TuningModel::Stored(int k) const {
    return IsSceneIndex(k) ? &mStored[k] : nullptr;
}

std::wstring TuningModel::SceneNameText(int k) const {
    std::wstring text;
    if (!IsSceneIndex(k)) return text;
    const SceneNameSlot& slot = sceneNames[k];
    for (int i = 0; i < kSceneNameChars; ++i) {
        wchar_t unit = static_cast<wchar_t>(slot[2 * i] | (slot[2 * i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

void TuningModel::SetSceneName(int k, const std::wstring& text) {
    if (!IsSceneIndex(k)) return;
    SceneNameSlot& slot = sceneNames[k];
    slot.fill(0);
    size_t count = std::min<size_t>(text.size(), kSceneNameChars);
    for (size_t i = 0; i < count; ++i) {
        // The slot holds UTF-16 little-endian units, whatever wchar_t is here.
        uint32_t unit = static_cast<uint32_t>(text[i]) & 0xFFFF;
        if (unit == 0) break;
        slot[2 * i] = static_cast<uint8_t>(unit & 0xFF);
        slot[2 * i + 1] = static_cast<uint8_t>(unit >> 8);
    }
}

bool TuningModel::StoreUnitSceneName(int k, const uint8_t* bytes, size_t length, NarrowToWideFn convert) {
    if (!IsSceneIndex(k) || !convert || (!bytes && length > 0)) return false;
    UnitSceneName narrow{};
    std::copy(bytes, bytes + std::min<size_t>(length, kSceneNameBytes), narrow.begin());
    wchar_t wide[kSceneNameBytes + 1] = {};
    if (!convert(narrow.data(), wide, kSceneNameBytes + 1)) return false;
    SetSceneName(k, wide);
    return true;
}

bool TuningModel::ToUnitSceneName(int k, UnitSceneName& out, WideToNarrowFn convert) const {
    out.fill(0);
    if (!IsSceneIndex(k) || !convert) return false;
    // Up to 4 bytes per character in a multi-byte code page; a text longer
    // than the unit's 16 bytes loses whole characters from its end, never
    // half of a double-byte one.
    const std::wstring text = SceneNameText(k);
    for (size_t count = text.size();; --count) {
        char narrow[kSceneNameChars * 4 + 1] = {};
        if (!convert(text.substr(0, count).c_str(), narrow, sizeof narrow)) return false;
        if (std::strlen(narrow) <= static_cast<size_t>(kSceneNameBytes)) {
            std::copy(narrow, narrow + kSceneNameBytes, out.begin());
            return true;
        }
    }
}

std::wstring TuningModel::UnstorableChars(const std::wstring& text, WideToNarrowFn toUnit, NarrowToWideFn fromUnit) {
    std::wstring lost;
    if (!toUnit || !fromUnit) return text;
    for (const wchar_t c : text) {
        const wchar_t one[] = {c, L'\0'};
        char narrow[8] = {};
        wchar_t back[4] = {};
        // A control character (a pasted Tab) would show as a box or nothing in the list.
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
        const bool kept = !control && toUnit(one, narrow, sizeof narrow) && fromUnit(narrow, back, 4) && back[0] == c;
        if (!kept && lost.find(c) == std::wstring::npos) lost.push_back(c);
    }
    return lost;
}
