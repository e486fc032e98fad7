#include "uilib/core/ScaledImageCache.h"

#include <iterator>
#include <map>
#include <mutex>
#include <tuple>

#include "uilib/core/RenderKit.h"
#include "uilib/core/RenderSystemCalls.h"

namespace SkinUI {

namespace {

struct TFaceKey {
    HBITMAP bitmap;
    int width;
    int height;
    RECT source;
    RECT corners;
    bool blend;
    bool hole;
    bool xTiled;
    bool yTiled;

    auto Tie() const
    {
        return std::make_tuple(bitmap, width, height, source.left, source.top, source.right, source.bottom,
                               corners.left, corners.top, corners.right, corners.bottom, blend, hole, xTiled, yTiled);
    }
    bool operator<(const TFaceKey& other) const { return Tie() < other.Tie(); }
};

struct TFace {
    HBITMAP bitmap = nullptr;
    // Every pixel of full alpha: copied, not blended.
    bool opaque = false;
    unsigned long long used = 0;  // the draw count when it was last drawn
};

struct TCache {
    std::mutex lock;
    std::map<TFaceKey, TFace> faces;
    size_t pixels = 0;
    unsigned long long draws = 0;
    HDC memory = nullptr;
};

TCache& Cache()
{
    static TCache cache;
    return cache;
}

void DropAll(TCache& cache)
{
    for (auto& item : cache.faces) DeleteObject(item.second.bitmap);
    cache.faces.clear();
    cache.pixels = 0;
}

void Drop(TCache& cache, std::map<TFaceKey, TFace>::iterator it)
{
    cache.pixels -= static_cast<size_t>(it->first.width) * static_cast<size_t>(it->first.height);
    DeleteObject(it->second.bitmap);
    cache.faces.erase(it);
}

// Room for one more face of that many pixels, made by dropping the least
// recently drawn ones.
void MakeRoom(TCache& cache, size_t pixels)
{
    while (!cache.faces.empty() && (cache.faces.size() >= CScaledImageCache::kFaceBudget ||
                                    cache.pixels + pixels > CScaledImageCache::kPixelBudget)) {
        auto oldest = cache.faces.begin();
        for (auto it = cache.faces.begin(); it != cache.faces.end(); ++it)
            if (it->second.used < oldest->second.used) oldest = it;
        Drop(cache, oldest);
    }
}

bool AllOpaque(const BYTE* pixels, size_t count)
{
    const DWORD* p = reinterpret_cast<const DWORD*>(pixels);
    for (size_t i = 0; i < count; ++i)
        if ((p[i] >> 24) != 0xFF) return false;
    return true;
}

// The face drawn once onto cleared pixels: blending premultiplied pieces
// over transparent black leaves exactly their own values.
bool Compose(TCache& cache, const TFaceKey& key, TFace& face)
{
    BYTE* pixels = nullptr;
    HBITMAP bitmap = CRenderKit::CreateArgbBitmap(cache.memory, key.width, -key.height, &pixels);
    if (bitmap == nullptr || pixels == nullptr) {
        if (bitmap != nullptr) DeleteObject(bitmap);
        return false;
    }
    const size_t count = static_cast<size_t>(key.width) * static_cast<size_t>(key.height);
    ZeroMemory(pixels, count * 4);
    HGDIOBJ old = SelectObject(cache.memory, bitmap);
    const RECT whole = {0, 0, key.width, key.height};
    CRenderKit::DrawBitmap(cache.memory, key.bitmap, whole, whole, key.source, key.corners, key.blend, 255, key.hole,
                           key.xTiled, key.yTiled);
    GdiFlush();
    SelectObject(cache.memory, old);
    face.bitmap = bitmap;
    // Faces drawn without blending are copied as the direct draw would.
    face.opaque = !key.blend || AllOpaque(pixels, count);
    return true;
}

} // namespace

bool CScaledImageCache::Draw(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                             const RECT& corners, bool alpha, BYTE fade, bool hole, bool xTiled, bool yTiled)
{
    const int width = dest.right - dest.left;
    const int height = dest.bottom - dest.top;
    if (dc == nullptr || bitmap == nullptr || width <= 0 || height <= 0) return false;
    // A copied face with a hole would paint over the middle the direct draw
    // leaves alone.
    // Pieces are blended, not copied, whenever the direct draw blends them.
    const bool blend = alpha || fade < 255;
    if (hole && !blend) return false;
    if (static_cast<size_t>(width) * static_cast<size_t>(height) > kPixelBudget / 4) return false;
    RECT shown;
    if (!IntersectRect(&shown, &dest, &paint)) return true;

    TCache& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.lock);
    if (cache.memory == nullptr) cache.memory = CreateCompatibleDC(nullptr);
    if (cache.memory == nullptr) return false;
    const TFaceKey key = {bitmap, width, height, source, corners, blend, hole, xTiled, yTiled};
    auto found = cache.faces.find(key);
    if (found == cache.faces.end()) {
        const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
        // Faces of every size a resized window or a slider went through are
        // not kept forever.
        MakeRoom(cache, pixels);
        TFace face;
        if (!Compose(cache, key, face)) return false;
        found = cache.faces.emplace(key, face).first;
        cache.pixels += pixels;
    }
    TFace& face = found->second;
    face.used = ++cache.draws;
    HGDIOBJ old = SelectObject(cache.memory, face.bitmap);
    const int sx = shown.left - dest.left;
    const int sy = shown.top - dest.top;
    const int w = shown.right - shown.left;
    const int h = shown.bottom - shown.top;
    if (face.opaque && fade == 255) {
        BitBlt(dc, shown.left, shown.top, w, h, cache.memory, sx, sy, SRCCOPY);
    } else {
        AlphaBlendFunction blend = SystemAlphaBlend();
        const BLENDFUNCTION function = {AC_SRC_OVER, 0, fade, AC_SRC_ALPHA};
        if (blend != nullptr) blend(dc, shown.left, shown.top, w, h, cache.memory, sx, sy, w, h, function);
    }
    SelectObject(cache.memory, old);
    return true;
}

void CScaledImageCache::Forget(HBITMAP bitmap)
{
    TCache& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.lock);
    for (auto it = cache.faces.begin(); it != cache.faces.end();) {
        auto next = std::next(it);
        if (it->first.bitmap == bitmap) Drop(cache, it);
        it = next;
    }
}

void CScaledImageCache::ForgetAll()
{
    TCache& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.lock);
    DropAll(cache);
}

size_t CScaledImageCache::CachedFaces()
{
    TCache& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return cache.faces.size();
}

size_t CScaledImageCache::CachedPixels()
{
    TCache& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return cache.pixels;
}

} // namespace SkinUI
