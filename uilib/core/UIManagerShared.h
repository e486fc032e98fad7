#pragma once
// Helpers shared by the paint manager's source files.

#include <windows.h>

#include "uilib/core/FontEntry.h"
#include "uilib/core/UIStringMap.h"

namespace SkinUI {

// Hands every value of the map to release, then empties the map.
template <typename T, typename Release>
void DrainMap(CUIStringMap& map, Release release)
{
    for (int i = 0; i < map.Count(); ++i) {
        const wchar_t* key = map.KeyAt(i);
        if (key != nullptr) release(static_cast<T*>(map.Lookup(key, false)));
    }
    map.RemoveAll();
}

// Text metrics of the entry's font on dc, or on a memory DC when dc is null.
void MeasureFontMetrics(TFontEntry& entry, HDC dc);

// A font from the default GUI font's description with the given face (none:
// keep the system face), pixel height and styles; logFont receives what was
// asked for. Null when GDI refuses.
HFONT CreateSkinFont(const wchar_t* face, int pixelHeight, bool bold, bool underline, bool italic,
                     LOGFONTW& logFont);

// Deletes the entry's font and the entry.
void DeleteFontEntry(TFontEntry* entry);

} // namespace SkinUI
