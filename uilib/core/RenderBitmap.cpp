#include "uilib/core/RenderKit.h"

#include "uilib/core/RenderSystemCalls.h"

namespace SkinUI {

namespace {

bool RectsMeet(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

// Draws pieces of one bitmap selected into a memory DC.
class CBitmapPainter {
public:
    CBitmapPainter(HDC target, HBITMAP bitmap, const RECT& paint, bool blend, BYTE fade)
        : m_target(target), m_source(CreateCompatibleDC(target)), m_old(nullptr), m_paint(paint), m_blend(blend)
    {
        if (m_source != nullptr) m_old = SelectObject(m_source, bitmap);
        m_function.BlendOp = AC_SRC_OVER;
        m_function.BlendFlags = 0;
        m_function.SourceConstantAlpha = fade;
        m_function.AlphaFormat = AC_SRC_ALPHA;
    }

    ~CBitmapPainter()
    {
        if (m_source == nullptr) return;
        SelectObject(m_source, m_old);
        DeleteDC(m_source);
    }

    bool Ready() const { return m_source != nullptr; }

    // One piece: source (x, y, w, h) onto the destination; pieces of no size
    // or outside the paint rectangle are skipped (a negative size would mirror).
    void Piece(const RECT& dest, int sx, int sy, int sw, int sh) const
    {
        int dw = dest.right - dest.left;
        int dh = dest.bottom - dest.top;
        if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
        if (!RectsMeet(dest, m_paint)) return;
        if (m_blend) {
            AlphaBlendFunction blend = SystemAlphaBlend();
            if (blend != nullptr) blend(m_target, dest.left, dest.top, dw, dh, m_source, sx, sy, sw, sh, m_function);
        } else if (dw == sw && dh == sh) {
            BitBlt(m_target, dest.left, dest.top, dw, dh, m_source, sx, sy, SRCCOPY);
        } else {
            StretchBlt(m_target, dest.left, dest.top, dw, dh, m_source, sx, sy, sw, sh, SRCCOPY);
        }
    }

    void CopyClipped(const RECT& dest, const RECT& source) const
    {
        RECT clipped;
        if (!IntersectRect(&clipped, &dest, &m_paint)) return;
        BitBlt(m_target, clipped.left, clipped.top, clipped.right - clipped.left, clipped.bottom - clipped.top,
               m_source, source.left + clipped.left - dest.left, source.top + clipped.top - dest.top, SRCCOPY);
    }

private:
    HDC m_target;
    HDC m_source;
    HGDIOBJ m_old;
    RECT m_paint;
    bool m_blend;
    BLENDFUNCTION m_function;
};

void DrawMiddle(const CBitmapPainter& painter, const RECT& middle, const RECT& source, const RECT& corners,
                bool xTiled, bool yTiled)
{
    const int tileW = (source.right - source.left) - corners.left - corners.right;
    const int tileH = (source.bottom - source.top) - corners.top - corners.bottom;
    const int midW = middle.right - middle.left;
    const int midH = middle.bottom - middle.top;
    // Corners as large as the source leave no middle to tile.
    if (tileW <= 0 || tileH <= 0 || midW <= 0 || midH <= 0) return;
    const int sx = source.left + corners.left;
    const int sy = source.top + corners.top;

    if (!xTiled && !yTiled) {
        painter.Piece(middle, sx, sy, tileW, tileH);
        return;
    }
    const int columns = xTiled ? (midW + tileW - 1) / tileW : 1;
    const int rows = yTiled ? (midH + tileH - 1) / tileH : 1;
    for (int j = 0; j < rows; ++j) {
        RECT cell = middle;
        int srcH = tileH;
        if (yTiled) {
            cell.top = middle.top + j * tileH;
            cell.bottom = middle.top + (j + 1) * tileH;
            if (cell.bottom > middle.bottom) cell.bottom = middle.bottom;
            srcH = cell.bottom - cell.top;
        }
        for (int i = 0; i < columns; ++i) {
            int srcW = tileW;
            if (xTiled) {
                cell.left = middle.left + i * tileW;
                cell.right = middle.left + (i + 1) * tileW;
                if (cell.right > middle.right) cell.right = middle.right;
                srcW = cell.right - cell.left;
            }
            painter.Piece(cell, sx, sy, srcW, srcH);
        }
    }
}

void DrawBorderPieces(const CBitmapPainter& painter, const RECT& r, const RECT& s, const RECT& e)
{
    const int sw = s.right - s.left;
    const int sh = s.bottom - s.top;
    const int edgeSrcW = sw - e.left - e.right;
    const int edgeSrcH = sh - e.top - e.bottom;
    if (e.left > 0 && e.top > 0) {
        painter.Piece({r.left, r.top, r.left + e.left, r.top + e.top}, s.left, s.top, e.left, e.top);
    }
    if (e.top > 0) {
        painter.Piece({r.left + e.left, r.top, r.right - e.right, r.top + e.top}, s.left + e.left, s.top, edgeSrcW,
                      e.top);
    }
    if (e.right > 0 && e.top > 0) {
        painter.Piece({r.right - e.right, r.top, r.right, r.top + e.top}, s.right - e.right, s.top, e.right, e.top);
    }
    if (e.left > 0) {
        painter.Piece({r.left, r.top + e.top, r.left + e.left, r.bottom - e.bottom}, s.left, s.top + e.top, e.left,
                      edgeSrcH);
    }
    if (e.right > 0) {
        painter.Piece({r.right - e.right, r.top + e.top, r.right, r.bottom - e.bottom}, s.right - e.right,
                      s.top + e.top, e.right, edgeSrcH);
    }
    if (e.left > 0 && e.bottom > 0) {
        painter.Piece({r.left, r.bottom - e.bottom, r.left + e.left, r.bottom}, s.left, s.bottom - e.bottom, e.left,
                      e.bottom);
    }
    if (e.bottom > 0) {
        painter.Piece({r.left + e.left, r.bottom - e.bottom, r.right - e.right, r.bottom}, s.left + e.left,
                      s.bottom - e.bottom, edgeSrcW, e.bottom);
    }
    if (e.right > 0 && e.bottom > 0) {
        painter.Piece({r.right - e.right, r.bottom - e.bottom, r.right, r.bottom}, s.right - e.right,
                      s.bottom - e.bottom, e.right, e.bottom);
    }
}

} // namespace

void CRenderKit::DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                            const RECT& corners, bool alpha, BYTE fade, bool hole, bool xTiled, bool yTiled)
{
    if (dc == nullptr || bitmap == nullptr) return;
    const bool blend = alpha || fade < 255;
    CBitmapPainter painter(dc, bitmap, paint, blend, fade);
    if (!painter.Ready()) return;
    SetStretchBltMode(dc, HALFTONE);

    const bool noCorners = corners.left == 0 && corners.top == 0 && corners.right == 0 && corners.bottom == 0;
    if (!blend && noCorners && dest.right - dest.left == source.right - source.left &&
        dest.bottom - dest.top == source.bottom - source.top) {
        painter.CopyClipped(dest, source);
        return;
    }

    const RECT middle = {dest.left + corners.left, dest.top + corners.top, dest.right - corners.right,
                         dest.bottom - corners.bottom};
    if (!hole && RectsMeet(middle, paint)) DrawMiddle(painter, middle, source, corners, xTiled, yTiled);
    DrawBorderPieces(painter, dest, source, corners);
}

} // namespace SkinUI
