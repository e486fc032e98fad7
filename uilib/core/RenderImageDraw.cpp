#include "uilib/core/RenderKit.h"

#include "uilib/core/ScaledImageCache.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

bool RectsMeet(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

} // namespace

bool CRenderKit::DrawImageSpec(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                               const wchar_t* attributeText, const wchar_t* modifier, HINSTANCE module)
{
    if (manager == nullptr || dc == nullptr) return false;
    const TImageDrawSpec* spec = manager->CachedImageDrawSpec(attributeText, modifier);
    return DrawParsedSpec(dc, manager, item, paint, spec, module);
}

bool CRenderKit::DrawParsedSpec(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                                const TImageDrawSpec* spec, HINSTANCE module)
{
    if (dc == nullptr || manager == nullptr || spec == nullptr) return false;
    RECT dest = item;
    const RECT& d = spec->dest;
    if (d.left != 0 || d.top != 0 || d.right != 0 || d.bottom != 0) {
        dest.left = item.left + d.left;
        dest.top = item.top + d.top;
        dest.right = item.left + d.right;
        if (dest.right > item.right) dest.right = item.right;
        dest.bottom = item.top + d.bottom;
        if (dest.bottom > item.bottom) dest.bottom = item.bottom;
    }
    return DrawImageFields(dc, manager, item, paint, spec->imageName, spec->resourceType, dest, spec->source,
                           spec->corners, spec->mask, spec->fade, spec->hole, spec->xTiled, spec->yTiled, module);
}

bool CRenderKit::DrawImageFields(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                                 const wchar_t* imageName, const wchar_t* resourceType, const RECT& dest,
                                 const RECT& source, const RECT& corners, DWORD mask, BYTE fade, bool hole,
                                 bool xTiled, bool yTiled, HINSTANCE module)
{
    if (dc == nullptr || manager == nullptr || imageName == nullptr || imageName[0] == L'\0') return false;
    const wchar_t* type = (resourceType != nullptr && resourceType[0] != L'\0') ? resourceType : nullptr;
    const TImageEntry* entry = manager->FindOrLoadImage(imageName, type, mask, false, module);
    if (entry == nullptr) return false;

    RECT src = source;
    if (src.left == 0 && src.top == 0 && src.right == 0 && src.bottom == 0) {
        src.right = entry->width;
        src.bottom = entry->height;
    }
    if (src.right > entry->width) src.right = entry->width;
    if (src.bottom > entry->height) src.bottom = entry->height;

    if (!RectsMeet(dest, item) || !RectsMeet(dest, paint)) return true;
    bool alpha = manager->IsLayeredMode() || entry->hasAlpha;
    if (!CScaledImageCache::Draw(dc, entry->bitmap, dest, paint, src, corners, alpha, fade, hole, xTiled, yTiled))
        DrawBitmap(dc, entry->bitmap, dest, paint, src, corners, alpha, fade, hole, xTiled, yTiled);
    return true;
}

} // namespace SkinUI
