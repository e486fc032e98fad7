#pragma once

#include "uilib/core/SkinMarkup.h"

namespace SkinUI {

// Loads a skin document that is not XML text, from wherever the skin lives:
// a numeric resource id (a pointer value below 0x10000) of resourceType from
// the framework's resource module; otherwise a skin path, read from the skin
// archive when one is set, else from the skin folder. Matches the resource
// store's document loader hook.
bool LoadSkinDocument(CSkinMarkup& doc, const wchar_t* source, const wchar_t* resourceType);

} // namespace SkinUI
