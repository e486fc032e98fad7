#include "uilib/core/FontVariantCache.h"

#include <new>

#include "uilib/core/UIManagerShared.h"

namespace SkinUI {

CFontVariantCache::~CFontVariantCache()
{
    Clear();
}

TFontEntry* CFontVariantCache::Obtain(const wchar_t* face, int size, int pixelHeight, bool bold, bool underline,
                                      bool italic, HDC measureDC)
{
    const wchar_t* wanted = face != nullptr ? face : L"";
    for (int i = 0; i < m_entries.Count(); ++i) {
        TFontEntry* entry = static_cast<TFontEntry*>(m_entries[i]);
        if (entry->size == size && entry->bold == bold && entry->underline == underline &&
            entry->italic == italic && entry->face == wanted) {
            return entry;
        }
    }

    LOGFONTW lf;
    HFONT font = CreateSkinFont(wanted, pixelHeight, bold, underline, italic, lf);
    if (font == nullptr) return nullptr;

    TFontEntry* entry = new (std::nothrow) TFontEntry;
    if (entry == nullptr || !m_entries.Append(entry)) {
        delete entry;
        DeleteObject(font);
        return nullptr;
    }
    entry->font = font;
    entry->face = wanted[0] != L'\0' ? wanted : lf.lfFaceName;
    entry->size = size;
    entry->bold = bold;
    entry->underline = underline;
    entry->italic = italic;
    MeasureFontMetrics(*entry, measureDC);
    return entry;
}

TFontEntry* CFontVariantCache::FindByHandle(HFONT font) const
{
    for (int i = 0; i < m_entries.Count(); ++i) {
        TFontEntry* entry = static_cast<TFontEntry*>(m_entries[i]);
        if (entry->font == font) return entry;
    }
    return nullptr;
}

void CFontVariantCache::Clear()
{
    for (int i = 0; i < m_entries.Count(); ++i) {
        TFontEntry* entry = static_cast<TFontEntry*>(m_entries[i]);
        DeleteObject(entry->font);
        delete entry;
    }
    m_entries.Clear();
}

} // namespace SkinUI
