#include "uilib/core/RenderKit.h"
#include "uilib/core/ScaledImageCache.h"

#include <cstring>
#include <new>

// Skin images are small; anything past these limits is not a skin image.
#define STBI_MAX_DIMENSIONS 8192
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace SkinUI {

TImageEntry* CRenderKit::DecodeImage(const BYTE* bytes, size_t size, DWORD mask)
{
    if (bytes == nullptr || size == 0 || size > 0x7FFFFFFF) return nullptr;
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    if (pixels == nullptr) return nullptr;

    BYTE* out = nullptr;
    HBITMAP bitmap = CreateArgbBitmap(nullptr, width, -height, &out);
    if (bitmap == nullptr || out == nullptr) {
        if (bitmap != nullptr) DeleteObject(bitmap);
        stbi_image_free(pixels);
        return nullptr;
    }

    bool hasAlpha = false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; ++i) {
        const stbi_uc* src = pixels + i * 4;
        BYTE* dst = out + i * 4;
        BYTE a = src[3];
        if (a < 255) {
            dst[0] = static_cast<BYTE>(src[2] * a / 255);
            dst[1] = static_cast<BYTE>(src[1] * a / 255);
            dst[2] = static_cast<BYTE>(src[0] * a / 255);
            hasAlpha = true;
        } else {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
        dst[3] = a;
        DWORD argb = (static_cast<DWORD>(dst[3]) << 24) | (static_cast<DWORD>(dst[2]) << 16) |
                     (static_cast<DWORD>(dst[1]) << 8) | dst[0];
        if (argb == mask) {
            std::memset(dst, 0, 4);
            hasAlpha = true;
        }
    }
    stbi_image_free(pixels);

    TImageEntry* entry = new (std::nothrow) TImageEntry;
    if (entry == nullptr) {
        DeleteObject(bitmap);
        return nullptr;
    }
    entry->bitmap = bitmap;
    entry->width = width;
    entry->height = height;
    entry->hasAlpha = hasAlpha;
    return entry;
}

void CRenderKit::FreeImageEntry(TImageEntry* entry, bool deleteRecord)
{
    if (entry == nullptr) return;
    if (entry->bitmap != nullptr) {
        CScaledImageCache::Forget(entry->bitmap);
        DeleteObject(entry->bitmap);
    }
    entry->bitmap = nullptr;
    delete[] entry->workPixels;
    entry->workPixels = nullptr;
    delete[] entry->sourcePixels;
    entry->sourcePixels = nullptr;
    if (deleteRecord) delete entry;
}

} // namespace SkinUI
