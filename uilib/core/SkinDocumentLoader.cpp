#include "uilib/core/SkinDocumentLoader.h"

#include <windows.h>

#include <cstdint>

#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/ZipReader.h"

namespace SkinUI {

namespace {

bool IsResourceId(const wchar_t* source)
{
    return (reinterpret_cast<uintptr_t>(source) >> 16) == 0;
}

bool LoadFromResource(CSkinMarkup& doc, const wchar_t* id, const wchar_t* resourceType)
{
    HINSTANCE module = CPaintManagerUI::ResourceInstance();
    HRSRC found = FindResourceW(module, id, resourceType);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) return false;
    return doc.LoadFromBytes(bytes, size);
}

bool LoadFromSkinArchive(CSkinMarkup& doc, const wchar_t* name)
{
    if (CPaintManagerUI::IsSkinZipCached()) return doc.LoadFromZipEntry(CPaintManagerUI::SkinZipHandle(), name);
    // An archive that is not kept open is opened for this one read.
    CZipReader zip;
    return CPaintManagerUI::OpenSkinZipFile(zip) && doc.LoadFromZipEntry(&zip, name);
}

} // namespace

bool LoadSkinDocument(CSkinMarkup& doc, const wchar_t* source, const wchar_t* resourceType)
{
    if (source == nullptr) return false;
    if (IsResourceId(source)) return LoadFromResource(doc, source, resourceType);
    if (source[0] == L'<') return doc.LoadFromText(source);
    if (!CPaintManagerUI::SkinZipName().IsEmpty()) return LoadFromSkinArchive(doc, source);
    const CUIString path = CPaintManagerUI::SkinFolder() + CUIString(source);
    return doc.LoadFromDiskFile(path);
}

} // namespace SkinUI
