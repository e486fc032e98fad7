#pragma once

#include <windows.h>

#include "uilib/core/FontEntry.h"
#include "uilib/core/UIPtrArray.h"

namespace SkinUI {

// Fonts made on demand by face, size and style, each kept under its own key
// so that a second variant never replaces one still selected somewhere.
class CFontVariantCache {
public:
    CFontVariantCache() = default;
    ~CFontVariantCache();
    CFontVariantCache(const CFontVariantCache&) = delete;
    CFontVariantCache& operator=(const CFontVariantCache&) = delete;

    // The entry for face, unscaled size and flags, made with the given
    // character height (pixels) when missing; metrics are measured on
    // measureDC, or on a screen DC when it is null. Null when GDI refuses.
    TFontEntry* Obtain(const wchar_t* face, int size, int pixelHeight, bool bold, bool underline, bool italic,
                       HDC measureDC);
    // The entry holding the handle, or null.
    TFontEntry* FindByHandle(HFONT font) const;
    int Count() const { return m_entries.Count(); }
    // Deletes every font; pointers handed out before become invalid.
    void Clear();

private:
    CUIPtrArray m_entries; // owned TFontEntry*
};

} // namespace SkinUI
