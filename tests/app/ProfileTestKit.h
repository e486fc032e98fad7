// Shared steps of the profile file tests: distinct profiles, JSON edits and
// a scratch folder.
#pragma once

#include <cJSON.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tuning/TuningModel.h"

// A model whose live profile, stored scenes and names all differ.
std::unique_ptr<TuningModel> DistinctModel();

// Whether two JSON texts hold the same values (key order and spacing aside).
bool SameJson(const std::string& a, const std::string& b);

// Every field a profile file carries gets a value that differs from the
// defaults and from other seeds.
void FillDistinct(SceneProfile& p, int seed);

// Parses json, applies edit to the tree and prints it again.
std::string EditJson(const std::string& json, const std::function<void(cJSON* root)>& edit);
// The item at a path like "channels/12/eqArray" (numbers index arrays).
cJSON* JsonAt(cJSON* root, const std::string& path);
// Replaces the item at path with value (a new item).
void JsonSet(cJSON* root, const std::string& path, cJSON* value);

// A raw copy, to prove an object was not touched at all.
template <typename T>
std::vector<unsigned char> Bytes(const T& value) {
    const auto* p = reinterpret_cast<const unsigned char*>(&value);
    return std::vector<unsigned char>(p, p + sizeof(T));
}

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::filesystem::path operator/(const std::string& name) const { return mPath / name; }
    const std::filesystem::path& path() const { return mPath; }

private:
    std::filesystem::path mPath;
};

void WriteText(const std::filesystem::path& path, const std::string& text);
