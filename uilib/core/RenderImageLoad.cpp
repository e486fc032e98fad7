#include "uilib/core/RenderKit.h"

#include <cstring>
#include <new>

#include <gdiplus.h>

#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/ZipReader.h"

namespace SkinUI {

namespace {

const DWORD kMaxImageFileBytes = 32u * 1024u * 1024u;

// A byte buffer read from one of the skin's sources.
struct TByteBlock {
    BYTE* data = nullptr;
    DWORD size = 0;

    ~TByteBlock() { delete[] data; }
    bool Empty() const { return data == nullptr; }
    void Adopt(BYTE* bytes, DWORD length)
    {
        delete[] data;
        data = bytes;
        size = length;
    }
};

bool ReadWholeFile(const wchar_t* path, TByteBlock& out)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    bool ok = false;
    if (size != INVALID_FILE_SIZE && high == 0 && size > 0 && size <= kMaxImageFileBytes) {
        BYTE* bytes = new (std::nothrow) BYTE[size];
        DWORD read = 0;
        if (bytes != nullptr && ReadFile(file, bytes, size, &read, nullptr) && read == size) {
            out.Adopt(bytes, size);
            ok = true;
        } else {
            delete[] bytes;
        }
    }
    CloseHandle(file);
    return ok;
}

bool ReadResource(HINSTANCE module, const wchar_t* nameOrId, const wchar_t* type, TByteBlock& out)
{
    HRSRC found = FindResourceW(module, nameOrId, type);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    if (loaded == nullptr || size == 0 || size > kMaxImageFileBytes) return false;
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) return false;
    BYTE* copy = new (std::nothrow) BYTE[size];
    if (copy == nullptr) return false;
    std::memcpy(copy, bytes, size);
    out.Adopt(copy, size);
    FreeResource(loaded);
    return true;
}

bool ReadZipEntry(CZipReader& zip, const wchar_t* name, TByteBlock& out)
{
    CUIString entryName(name);
    entryName.ReplaceAll(L"\\", L"/");
    int index = -1;
    TZipItem item;
    if (zip.FindItem(entryName, true, &index, &item) != ZR_OK || index < 0) return false;
    DWORD size = item.uncompressedSize;
    if (size == 0 || size > kMaxImageFileBytes) return false;
    BYTE* bytes = new (std::nothrow) BYTE[size];
    if (bytes == nullptr) return false;
    uint32_t result = zip.UnzipToMemory(index, bytes, size);
    if (result != ZR_OK && result != ZR_MORE) {
        delete[] bytes;
        return false;
    }
    out.Adopt(bytes, size);
    return true;
}

// The skin archive, kept open or opened for this one read.
bool ReadFromSkinZip(const wchar_t* name, TByteBlock& out)
{
    if (CPaintManagerUI::IsSkinZipCached()) {
        CZipReader* zip = CPaintManagerUI::SkinZipHandle();
        return zip != nullptr && ReadZipEntry(*zip, name, out);
    }
    CZipReader zip;
    return CPaintManagerUI::OpenSkinZipFile(zip) && ReadZipEntry(zip, name, out);
}

// Skin folder file or archive entry, whichever the skin uses.
bool ReadFromSkin(const wchar_t* name, TByteBlock& out)
{
    if (CPaintManagerUI::SkinZipName().IsEmpty()) {
        CUIString path = CPaintManagerUI::SkinFolder() + CUIString(name);
        return ReadWholeFile(path, out);
    }
    return ReadFromSkinZip(name, out);
}

bool IsIntResource(const wchar_t* nameOrId)
{
    return (reinterpret_cast<uintptr_t>(nameOrId) >> 16) == 0;
}

} // namespace

char* WideToNewMultiByte(const wchar_t* text, UINT codePage)
{
    if (text == nullptr) return nullptr;
    int needed = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return nullptr;
    char* buffer = new (std::nothrow) char[needed + 1];
    if (buffer == nullptr) return nullptr;
    std::memset(buffer, 0, static_cast<size_t>(needed) + 1);
    WideCharToMultiByte(codePage, 0, text, -1, buffer, needed, nullptr, nullptr);
    return buffer;
}

TImageEntry* CRenderKit::LoadImageByName(const wchar_t* name, const wchar_t* resourceType, DWORD mask,
                                         HINSTANCE module)
{
    if (name == nullptr) return nullptr;
    if (resourceType == nullptr) {
        const wchar_t* mapped = CResourceStore::GetInstance()->ImagePathOf(name);
        if (mapped != nullptr && mapped[0] != L'\0') {
            CUIString path(mapped);
            return LoadImage(path, nullptr, mask, module);
        }
    }
    return LoadImage(name, resourceType, mask, module);
}

TImageEntry* CRenderKit::LoadImageByRef(const wchar_t* nameOrId, const wchar_t* resourceType, DWORD mask,
                                        HINSTANCE module)
{
    return LoadImage(nameOrId, resourceType, mask, module);
}

TImageEntry* CRenderKit::LoadImage(const wchar_t* nameOrId, const wchar_t* resourceType, DWORD mask,
                                   HINSTANCE module)
{
    if (nameOrId == nullptr) return nullptr;
    TByteBlock bytes;
    if (resourceType != nullptr) {
        HINSTANCE source = module != nullptr ? module : CPaintManagerUI::ResourceInstance();
        ReadResource(source, nameOrId, resourceType, bytes);
    } else {
        ReadFromSkin(nameOrId, bytes);
    }
    if (bytes.Empty() && !IsIntResource(nameOrId)) ReadWholeFile(nameOrId, bytes);
    if (bytes.Empty()) return nullptr;
    return DecodeImage(bytes.data, bytes.size, mask);
}

Gdiplus::Image* CRenderKit::LoadGdiplusImage(const wchar_t* attributeText)
{
    if (attributeText == nullptr) return nullptr;
    TImageDrawSpec spec;
    spec.Parse(attributeText, nullptr, nullptr);
    if (spec.imageName.IsEmpty()) return nullptr;
    TByteBlock bytes;
    if (!ReadFromSkin(spec.imageName, bytes)) ReadWholeFile(spec.imageName, bytes);
    if (bytes.Empty()) return nullptr;
    return LoadGdiplusImageFromMemory(bytes.data, bytes.size);
}

Gdiplus::Image* CRenderKit::LoadGdiplusImageFromMemory(const BYTE* bytes, size_t size)
{
    if (bytes == nullptr || size == 0 || size > kMaxImageFileBytes) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return nullptr;
    void* target = GlobalLock(block);
    if (target == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    Gdiplus::Image* image = Gdiplus::Image::FromStream(stream, FALSE);
    // The image keeps its own reference to the stream.
    stream->Release();
    if (image != nullptr && image->GetLastStatus() != Gdiplus::Ok) {
        delete image;
        image = nullptr;
    }
    return image;
}

} // namespace SkinUI
