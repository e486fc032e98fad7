#pragma once

#include <cstdint>
#include <vector>

#include "uilib/core/UIPoint.h"
#include "uilib/core/UIRect.h"

// Anti-aliased wide Bezier chains drawn straight into 32-bit pixels. GDI+
// takes tens of milliseconds for the chart's sixteen 385-point curves under
// Wine; this takes well under one. Each curve blends once per pixel, with
// the coverage of the nearest part of the curve, so joints do not darken.
// Platform-free.
class CurveRaster {
public:
    // rows[0] is the top row of the canvas; stride is the distance between
    // rows in pixels (negative for a bottom-up bitmap). clip is in canvas
    // pixels and must lie inside the canvas.
    void Begin(uint32_t* top, int stride, const SkinUI::CUIRect& clip);

    // Draws the Bezier chain through count points (3k + 1: start, two
    // control points and an end per segment), shifted by (dx, dy), in an
    // ARGB colour with a pen of the given width. The pixels touched become
    // opaque.
    void DrawBezierChain(const SkinUI::CUIPoint* points, int count, int dx, int dy, uint32_t argb, float width);

private:
    void CoverSegment(float x0, float y0, float x1, float y1, float halfWidth);
    void Blend(uint32_t argb);

    uint32_t* m_top = nullptr;
    int m_stride = 0;
    SkinUI::CUIRect m_clip;
    std::vector<uint8_t> m_cover;
    std::vector<uint32_t> m_touched;
};
