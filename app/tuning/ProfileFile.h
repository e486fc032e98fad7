// Reading and saving the profile files. A load parses and checks the whole
// file into a separate copy and replaces the model only when all of it is
// valid; a save writes a temporary file beside the target and replaces the
// target only when every write succeeded.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/tuning/ProfileJson.h"

// The whole file; nothing when it cannot be opened or read, or is larger
// than any profile file can be.
std::optional<std::string> ReadFileText(const std::filesystem::path& path);

// Writes text to path through a temporary file in the same folder. False
// (and the previous file untouched) when any step fails or path is read-only.
bool WriteFileReplacing(const std::filesystem::path& path, const std::string& text);

ProfileResult LoadSceneProfile(const std::filesystem::path& path, SceneProfile& live);
ProfileResult LoadWholeProfile(const std::filesystem::path& path, TuningModel& model);

// Success carries "${profile_save_ok}" for the scene profile and no message
// for the whole configuration; failure "${profile_create_error}".
ProfileResult SaveSceneProfile(const SceneProfile& profile, const std::filesystem::path& path);
ProfileResult SaveWholeProfile(const TuningModel& model, const std::filesystem::path& path);
