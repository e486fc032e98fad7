#include "uilib/core/FontVariantCache.h"

#include <cwchar>
#include <new>

namespace SkinUI {

namespace {

void MeasureFont(TFontEntry& entry, HDC dc)
{
    HDC measure = dc != nullptr ? dc : CreateCompatibleDC(nullptr);
    if (measure == nullptr) return;
    HGDIOBJ old = SelectObject(measure, entry.font);
    GetTextMetricsW(measure, &entry.metrics);
    SelectObject(measure, old);
    if (dc == nullptr) DeleteDC(measure);
}

} // namespace

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

    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    if (wanted[0] != L'\0') {
        std::wcsncpy(lf.lfFaceName, wanted, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    }
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -pixelHeight;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline ? 1 : 0;
    lf.lfItalic = italic ? 1 : 0;
    HFONT font = CreateFontIndirectW(&lf);
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
    MeasureFont(*entry, measureDC);
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
