// The profile files as JSON text: a scene profile (*.spf) holds the live
// state, a whole configuration (*.wpf) the live state, the scene names and
// the ten stored scenes.
#pragma once

#include <string>

#include "app/tuning/TuningModel.h"

// The outcome of a profile operation and the language key of the message the
// caller shows (null: nothing to show).
struct ProfileResult {
    bool ok;
    const wchar_t* messageKey;
};

extern const wchar_t kProfileOpenError[];    // "${profile_open_error}"
extern const wchar_t kProfileLoadError[];    // "${profile_load_error}"
extern const wchar_t kSoftwareNotMatch[];    // "${software_not_match}"
extern const wchar_t kProfileCreateError[];  // "${profile_create_error}"
extern const wchar_t kProfileSaveOk[];       // "${profile_save_ok}"

// Unformatted JSON in the files' key order; empty when the tree could not be
// built. Non-finite numbers are written as 0.
std::string WriteSceneProfileJson(const SceneProfile& profile);
std::string WriteWholeProfileJson(const TuningModel& model);

// Parse and check the whole text into profile or model, which start as
// copies of what they would replace: keys a format does not carry keep those
// values. After a failure the target holds partial values and must be
// dropped; the caller's live model is never handed in directly.
ProfileResult ParseSceneProfileJson(const std::string& text, SceneProfile& profile);
ProfileResult ParseWholeProfileJson(const std::string& text, TuningModel& model);
