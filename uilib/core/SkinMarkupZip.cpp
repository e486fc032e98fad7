// Loading a skin document from an entry of an open skin archive.
#include "uilib/core/SkinMarkup.h"

#include <cstdlib>

#include "uilib/core/UIString.h"
#include "uilib/core/ZipReader.h"

namespace SkinUI {

bool CSkinMarkup::LoadFromZipEntry(CZipReader* zip, const wchar_t* name, SkinEncoding encoding)
{
    ReleaseDocument();
    if (!zip)
        return Fail(L"Error opening zip file", nullptr, 0);

    // Archive names use "/" only.
    CUIString entryName(name);
    entryName.ReplaceAll(L"\\", L"/");
    int index = -1;
    TZipItem item;
    if (zip->FindItem(entryName.CStr(), true, &index, &item) != ZR_OK || index < 0)
        return Fail(L"Could not find ziped file", nullptr, 0);
    if (item.uncompressedSize == 0)
        return Fail(L"File is empty", nullptr, 0);
    if (item.uncompressedSize > kMaxDocumentBytes)
        return Fail(L"File too large", nullptr, 0);

    // Zeroed: a member shorter than its recorded size leaves only zeros,
    // which the parser reads as white space.
    unsigned char* bytes = static_cast<unsigned char*>(calloc(item.uncompressedSize, 1));
    if (!bytes)
        return Fail(L"Out of memory", nullptr, 0);
    uint32_t result = zip->UnzipToMemory(index, bytes, item.uncompressedSize);
    if (result != ZR_OK && result != ZR_MORE) {
        free(bytes);
        return Fail(L"Could not unzip file", nullptr, 0);
    }
    bool loaded = LoadFromBytes(bytes, item.uncompressedSize, encoding);
    free(bytes);
    return loaded;
}

} // namespace SkinUI
