// What the controller keeps of the model: the live profile, the unit's ten
// stored scenes and their names, and the scene-transfer bookkeeping.
// Profiles are large, so they live on the heap.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/tuning/SceneProfile.h"

constexpr int kStoredScenes = 10;
constexpr int kSceneNameBytes = 16;  // one slot: at most 8 UTF-16 units
constexpr int kSceneNameChars = kSceneNameBytes / 2;
constexpr int kPathChars = 260;

using SceneNameSlot = std::array<uint8_t, kSceneNameBytes>;
// The unit's narrow name: 16 bytes are sent, the last byte keeps a terminator.
using UnitSceneName = std::array<char, kSceneNameBytes + 1>;

// The system's code-page conversions (whole zero-terminated text, false when
// it does not fit or cannot be converted).
using NarrowToWideFn = bool (*)(const char* in, wchar_t* out, size_t capacity);
using WideToNarrowFn = bool (*)(const wchar_t* in, char* out, size_t capacity);

class TuningModel {
public:
    TuningModel();
    TuningModel(const TuningModel& other);
    TuningModel& operator=(const TuningModel& other);

    SceneProfile& Current() { return *mCurrent; }
    const SceneProfile& Current() const { return *mCurrent; }
    // Stored profile k (the unit's scene k + 1); null when k is not 0..9.
    SceneProfile* Stored(int k);
    const SceneProfile* Stored(int k) const;

    static bool IsSceneIndex(int k) { return k >= 0 && k < kStoredScenes; }

    // Name slot k as text: up to the first zero, at most 8 characters.
    std::wstring SceneNameText(int k) const;
    // Stores at most 8 characters of text into slot k, zero-filling the rest.
    void SetSceneName(int k, const std::wstring& text);
    // Slot k from the unit's name bytes (ending at the first zero or after
    // 16 bytes), converted from the code page; a longer result is cut to 8.
    bool StoreUnitSceneName(int k, const uint8_t* bytes, size_t length, NarrowToWideFn convert);
    // Slot k converted to the code page for the unit: zero-filled, at most 16
    // bytes, always terminated.
    bool ToUnitSceneName(int k, UnitSceneName& out, WideToNarrowFn convert) const;
    // The characters of text the code page cannot hold (they would come back
    // from the unit as others) and the control characters, each once, in order.
    static std::wstring UnstorableChars(const std::wstring& text, WideToNarrowFn toUnit, NarrowToWideFn fromUnit);

    std::array<SceneNameSlot, kStoredScenes> sceneNames{};
    uint32_t sceneValid = 0;
    int sceneSlot = 0;  // 1..10 once the scene window chose one
    std::array<wchar_t, kPathChars> wholeConfigPath{};
    UnitSceneName sceneNameInput{};

private:
    std::unique_ptr<SceneProfile> mCurrent;
    std::vector<SceneProfile> mStored;
};
