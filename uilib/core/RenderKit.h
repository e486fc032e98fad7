#pragma once

#include <windows.h>

#include "uilib/core/UIRect.h"
#include "uilib/core/UISize.h"
#include "uilib/core/UIString.h"

namespace Gdiplus {
class Image;
}

namespace SkinUI {

class CPaintManagerUI;
class CControlUI;
struct TImageDrawSpec;

// One loaded skin image: a top-down 32-bit DIB section of premultiplied BGRA.
struct TImageEntry {
    HBITMAP bitmap = nullptr;
    // Working and unadjusted pixel copies; only images taking part in the
    // hue/saturation/lightness adjustment have them.
    BYTE* workPixels = nullptr;
    BYTE* sourcePixels = nullptr;
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    bool usesHsl = false;
    CUIString resourceType;
    DWORD maskColor = 0;
};

// A clip region pushed onto a DC; the destructor puts the previous clip back.
class CRenderClip {
public:
    CRenderClip() = default;
    ~CRenderClip();
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;

    static void ClipToRect(HDC dc, const RECT& rc, CRenderClip& clip);
    static void ClipToRoundRect(HDC dc, const RECT& rc, const RECT& round, int cornerWidth, int cornerHeight,
                                CRenderClip& clip);
    // Switch between the clip from before (outer) and this record's own (inner).
    static void SelectOuterRegion(HDC dc, const CRenderClip& clip);
    static void SelectInnerRegion(HDC dc, const CRenderClip& clip);

private:
    void Begin(HDC dc, const RECT& rc, HRGN extra);

    CUIRect m_item;
    HDC m_dc = nullptr;
    HRGN m_clip = nullptr;
    // The clip in force before; null with m_hadClip false when there was none.
    HRGN m_saved = nullptr;
    bool m_hadClip = false;
};

// The framework's stateless drawing toolkit.
class CRenderKit {
public:
    // Image loading: the caller owns the entry returned.
    static TImageEntry* LoadImageByName(const wchar_t* name, const wchar_t* resourceType, DWORD mask,
                                        HINSTANCE module);
    static TImageEntry* LoadImageByRef(const wchar_t* nameOrId, const wchar_t* resourceType, DWORD mask,
                                       HINSTANCE module);
    static TImageEntry* LoadImage(const wchar_t* nameOrId, const wchar_t* resourceType, DWORD mask,
                                  HINSTANCE module);
    // Decodes image file bytes (PNG, JPEG, BMP, ...) into an entry; null on failure.
    static TImageEntry* DecodeImage(const BYTE* bytes, size_t size, DWORD mask);
    static void FreeImageEntry(TImageEntry* entry, bool deleteRecord);
    static Gdiplus::Image* LoadGdiplusImage(const wchar_t* attributeText);
    static Gdiplus::Image* LoadGdiplusImageFromMemory(const BYTE* bytes, size_t size);

    // Image drawing.
    static bool DrawImageSpec(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                              const wchar_t* attributeText, const wchar_t* modifier, HINSTANCE module);
    static bool DrawParsedSpec(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                               const TImageDrawSpec* spec, HINSTANCE module);
    static bool DrawImageFields(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                                const wchar_t* imageName, const wchar_t* resourceType, const RECT& dest,
                                const RECT& source, const RECT& corners, DWORD mask, BYTE fade, bool hole,
                                bool xTiled, bool yTiled, HINSTANCE module);
    static void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                           const RECT& corners, bool alpha, BYTE fade, bool hole, bool xTiled, bool yTiled);

    // Shapes and fills.
    static void FillRectColor(HDC dc, const RECT& rc, DWORD argb);
    static void FillGradient(HDC dc, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps);
    static void DrawLineSegment(HDC dc, const RECT& rc, int penWidth, DWORD argb, int penStyle);
    static void DrawRectOutline(HDC dc, const RECT& rc, int penWidth, DWORD argb);
    static void DrawRoundRectOutline(HDC dc, const RECT& rc, int penWidth, int cornerWidth, int cornerHeight,
                                     DWORD argb);
    static void StrokeRoundRectPath(HDC dc, float x, float y, float width, float height, float radius,
                                    DWORD penArgb, float penWidth, bool fill, DWORD fillArgb);
    static void AvoidZeroRgb(DWORD& argb);
    // A 32-bit DIB section; a negative height makes it top-down, as in a
    // bitmap header. pixels, when given, receives its bits (null on failure).
    static HBITMAP CreateArgbBitmap(HDC dc, int width, int height, BYTE** pixels);

    // Colour adjustment.
    static DWORD AdjustColorHsl(DWORD argb, short hue, short saturation, short lightness);
    static void ApplyHslToImage(bool enable, TImageEntry* entry, short hue, short saturation, short lightness);
    static void RgbToHsl(DWORD argb, float* hue, float* saturation, float* lightness);
    static void HslToRgb(DWORD* argb, float hue, float saturation, float lightness);
    static DWORD MixPixels(DWORD color1, double weight1, DWORD color2, double weight2);

    // Off-screen rendering; the caller deletes the DIB section returned.
    static HBITMAP RenderRootToBitmap(CPaintManagerUI* manager, const RECT& rc, CControlUI* stopControl,
                                      DWORD washArgb);
    static HBITMAP RenderControlToBitmap(CPaintManagerUI* manager, CControlUI* control, const RECT& rc,
                                         DWORD washArgb);

    // Text.
    static void DrawPlainText(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text, DWORD argb,
                              int fontId, UINT style);
    static void DrawTextOverColor(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text,
                                  DWORD textArgb, int fontId, UINT style, DWORD backArgb);
    static CUISize MeasureTextExtent(HDC dc, CPaintManagerUI* manager, const wchar_t* text, int fontId);
    static void DrawTaggedText(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text, DWORD argb,
                               RECT* linkRects, CUIString* linkTexts, int& linkCount, int fontId, UINT style);
    // Tagged text (links not recorded) when tagged, plain text otherwise.
    static void DrawControlText(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text, DWORD argb,
                                int fontId, UINT style, bool tagged);
};

// Newly allocated, zero-terminated multibyte copy (caller frees with delete[]);
// null for null input.
char* WideToNewMultiByte(const wchar_t* text, UINT codePage);

} // namespace SkinUI
