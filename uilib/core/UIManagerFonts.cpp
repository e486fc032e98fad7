// The paint manager's fonts: numbered fonts, the default font, font files.
#include <cwchar>
#include <new>
#include <vector>

#include "uilib/control/RichEdit.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/UIManagerShared.h"
#include "uilib/core/WideFileOpen.h"
#include "uilib/core/ZipReader.h"

namespace SkinUI {

namespace {

// Font files of a skin are never this large; anything bigger is refused.
const uint32_t kMaxFontFileBytes = 64u * 1024u * 1024u;

bool ReadWholeFile(const wchar_t* path, std::vector<BYTE>& out)
{
    FILE* file = OpenWideFileForReading(path);
    if (file == nullptr) return false;
    bool ok = false;
    if (fseek(file, 0, SEEK_END) == 0) {
        long size = ftell(file);
        if (size > 0 && static_cast<unsigned long>(size) <= kMaxFontFileBytes && fseek(file, 0, SEEK_SET) == 0) {
            out.resize(static_cast<size_t>(size));
            ok = fread(out.data(), 1, out.size(), file) == out.size();
        }
    }
    fclose(file);
    return ok;
}

bool ReadZipMember(CZipReader& zip, const wchar_t* name, std::vector<BYTE>& out)
{
    CUIString itemName(name);
    itemName.ReplaceAll(L"\\", L"/");
    int index = -1;
    TZipItem item;
    if (zip.FindItem(itemName, true, &index, &item) != ZR_OK || index < 0) return false;
    if (item.uncompressedSize == 0 || item.uncompressedSize > kMaxFontFileBytes) return false;
    out.resize(item.uncompressedSize);
    uint32_t result = zip.UnzipToMemory(index, out.data(), item.uncompressedSize);
    return result == ZR_OK || result == ZR_MORE;
}

bool ReadFromSkinZip(const wchar_t* name, std::vector<BYTE>& out)
{
    if (CPaintManagerUI::IsSkinZipCached()) {
        CZipReader* zip = CPaintManagerUI::SkinZipHandle();
        return zip != nullptr && ReadZipMember(*zip, name, out);
    }
    CZipReader zip;
    return CPaintManagerUI::OpenSkinZipFile(zip) && ReadZipMember(zip, name, out);
}

// Replaces target's font by a new one at the scaler's current DPI; the old
// handle is deleted only when the new one exists.
void RecreateFont(TFontEntry& entry, CDpiScaler& scaler, HDC measureDC)
{
    LOGFONTW lf;
    HFONT font = CreateSkinFont(entry.face, scaler.ScaleValue(entry.size), entry.bold, entry.underline,
                                entry.italic, lf);
    if (font == nullptr) return;
    if (entry.font != nullptr) DeleteObject(entry.font);
    entry.font = font;
    entry.metrics = TEXTMETRICW{};
    MeasureFontMetrics(entry, measureDC);
}

TFontEntry* FindEntryByHandle(CUIStringMap& map, HFONT font)
{
    for (int i = 0; i < map.Count(); ++i) {
        const wchar_t* key = map.KeyAt(i);
        TFontEntry* entry = key != nullptr ? static_cast<TFontEntry*>(map.Lookup(key, false)) : nullptr;
        if (entry != nullptr && entry->font == font) return entry;
    }
    return nullptr;
}

HFONT FindMatchingFont(CUIStringMap& map, const wchar_t* face, int size, bool bold, bool underline, bool italic)
{
    for (int i = 0; i < map.Count(); ++i) {
        const wchar_t* key = map.KeyAt(i);
        TFontEntry* entry = key != nullptr ? static_cast<TFontEntry*>(map.Lookup(key, false)) : nullptr;
        if (entry != nullptr && entry->face == face && entry->size == size && entry->bold == bold &&
            entry->underline == underline && entry->italic == italic) {
            return entry->font;
        }
    }
    return nullptr;
}

} // namespace

void MeasureFontMetrics(TFontEntry& entry, HDC dc)
{
    if (entry.font == nullptr) return;
    HDC measure = dc != nullptr ? dc : CreateCompatibleDC(nullptr);
    if (measure == nullptr) return;
    HGDIOBJ old = SelectObject(measure, entry.font);
    GetTextMetricsW(measure, &entry.metrics);
    SelectObject(measure, old);
    if (dc == nullptr) DeleteDC(measure);
}

HFONT CreateSkinFont(const wchar_t* face, int pixelHeight, bool bold, bool underline, bool italic, LOGFONTW& lf)
{
    lf = LOGFONTW{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    if (face != nullptr && face[0] != L'\0') {
        wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    }
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -pixelHeight;
    if (bold) lf.lfWeight = FW_BOLD;
    if (underline) lf.lfUnderline = 1;
    if (italic) lf.lfItalic = 1;
    return CreateFontIndirectW(&lf);
}

void DeleteFontEntry(TFontEntry* entry)
{
    if (entry == nullptr) return;
    if (entry->font != nullptr) DeleteObject(entry->font);
    delete entry;
}

HFONT CPaintManagerUI::AddFont(int id, const wchar_t* face, int size, bool bold, bool underline, bool italic,
                               bool shared)
{
    LOGFONTW lf;
    HFONT font = CreateSkinFont(face, DpiScaler()->ScaleValue(size), bold, underline, italic, lf);
    if (font == nullptr) return nullptr;
    TFontEntry* entry = new (std::nothrow) TFontEntry;
    if (entry == nullptr) {
        DeleteObject(font);
        return nullptr;
    }
    entry->font = font;
    entry->face = lf.lfFaceName;
    entry->size = size;
    entry->bold = bold;
    entry->underline = underline;
    entry->italic = italic;
    if (m_paintDC != nullptr) MeasureFontMetrics(*entry, m_paintDC);

    wchar_t key[16];
    _snwprintf(key, 16, L"%d", id);
    key[15] = L'\0';
    CUIStringMap& map = (shared || m_useSharedResources) ? s_shared.fonts : m_resources.fonts;
    TFontEntry* old = static_cast<TFontEntry*>(map.Lookup(key, false));
    if (old != nullptr) {
        map.Remove(key);
        DeleteFontEntry(old);
    }
    if (!map.InsertNew(key, entry)) {
        DeleteFontEntry(entry);
        return nullptr;
    }
    return font;
}

bool CPaintManagerUI::AddFontFile(const wchar_t* fileName)
{
    if (fileName == nullptr || fileName[0] == L'\0') return false;
    std::vector<BYTE> bytes;
    bool read = false;
    if (!s_skinZipName.IsEmpty()) {
        read = ReadFromSkinZip(fileName, bytes);
    } else {
        CUIString path = s_skinFolder + CUIString(fileName);
        read = ReadWholeFile(path, bytes);
    }
    if (!read) read = ReadWholeFile(fileName, bytes);
    if (!read || bytes.empty()) return false;
    DWORD installed = 0;
    HANDLE handle = AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &installed);
    if (handle == nullptr) return false;
    m_addedFontResources.Append(handle);
    return true;
}

void CPaintManagerUI::SetDefaultFont(const wchar_t* face, int size, bool bold, bool underline, bool italic,
                                     bool shared)
{
    LOGFONTW lf;
    HFONT font = CreateSkinFont(face, DpiScaler()->ScaleValue(size), bold, underline, italic, lf);
    if (font == nullptr) return;
    TFontEntry& entry = shared ? s_shared.defaultFont : m_resources.defaultFont;
    if (entry.font != nullptr) DeleteObject(entry.font);
    entry.font = font;
    entry.face = lf.lfFaceName;
    entry.size = size;
    entry.bold = bold;
    entry.underline = underline;
    entry.italic = italic;
    entry.metrics = TEXTMETRICW{};
    if (m_paintDC != nullptr) MeasureFontMetrics(entry, m_paintDC);
}

TFontEntry* CPaintManagerUI::DefaultFontEntry()
{
    TFontEntry& entry = m_resources.defaultFont.face.IsEmpty() ? s_shared.defaultFont : m_resources.defaultFont;
    if (entry.metrics.tmHeight == 0) MeasureFontMetrics(entry, m_paintDC);
    return &entry;
}

HFONT CPaintManagerUI::FontHandle(int id)
{
    return FontEntry(id)->font;
}

TFontEntry* CPaintManagerUI::FontEntry(int id)
{
    if (id < 0) return DefaultFontEntry();
    wchar_t key[16];
    _snwprintf(key, 16, L"%d", id);
    key[15] = L'\0';
    TFontEntry* entry = static_cast<TFontEntry*>(m_resources.fonts.Lookup(key));
    if (entry == nullptr) entry = static_cast<TFontEntry*>(s_shared.fonts.Lookup(key));
    if (entry == nullptr) return DefaultFontEntry();
    if (entry->metrics.tmHeight == 0) MeasureFontMetrics(*entry, m_paintDC);
    return entry;
}

TFontEntry* CPaintManagerUI::FontEntryOfHandle(HFONT font)
{
    if (font != nullptr) {
        TFontEntry* entry = FindEntryByHandle(m_resources.fonts, font);
        if (entry == nullptr) entry = FindEntryByHandle(s_shared.fonts, font);
        if (entry == nullptr) entry = m_fontVariants.FindByHandle(font);
        if (entry != nullptr) return entry;
    }
    return DefaultFontEntry();
}

HFONT CPaintManagerUI::FindFont(const wchar_t* face, int size, bool bold, bool underline, bool italic)
{
    HFONT font = FindMatchingFont(m_resources.fonts, face, size, bold, underline, italic);
    if (font == nullptr) font = FindMatchingFont(s_shared.fonts, face, size, bold, underline, italic);
    return font;
}

void CPaintManagerUI::RemoveAllFonts(bool shared)
{
    DrainMap<TFontEntry>(shared ? s_shared.fonts : m_resources.fonts, DeleteFontEntry);
}

void CPaintManagerUI::RebuildFonts()
{
    // Images and specs reload at the new scale when next drawn.
    RemoveAllDrawSpecs();
    RemoveAllImages(false);
    m_fontVariants.Clear();

    CDpiScaler& scaler = *DpiScaler();
    CUIStringMap* maps[2] = {&m_resources.fonts, &s_shared.fonts};
    for (CUIStringMap* map : maps) {
        for (int i = 0; i < map->Count(); ++i) {
            const wchar_t* key = map->KeyAt(i);
            TFontEntry* entry = key != nullptr ? static_cast<TFontEntry*>(map->Lookup(key, false)) : nullptr;
            if (entry != nullptr) RecreateFont(*entry, scaler, m_paintDC);
        }
    }
    if (!m_resources.defaultFont.face.IsEmpty()) RecreateFont(m_resources.defaultFont, scaler, m_paintDC);
    if (!s_shared.defaultFont.face.IsEmpty()) RecreateFont(s_shared.defaultFont, scaler, m_paintDC);
    // The text services keep a copy of the font: hand them the new one.
    if (m_root == nullptr) return;
    CUIPtrArray& richEdits = *FindSubControlsByClass(m_root, L"RichEditUI");
    for (int i = 0; i < richEdits.Count(); ++i) {
        CRichEditUI* edit = static_cast<CRichEditUI*>(richEdits[i]);
        edit->SetFont(edit->GetFont());
    }
}

} // namespace SkinUI
