#include "app/controls/CurveRaster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

using SkinUI::CUIPoint;
using SkinUI::CUIRect;

void CurveRaster::Begin(uint32_t* top, int stride, const CUIRect& clip)
{
    m_top = top;
    m_stride = stride;
    m_clip = clip;
    const size_t size = clip.Width() > 0 && clip.Height() > 0 ? size_t(clip.Width()) * clip.Height() : 0;
    m_cover.assign(size, 0);
    m_touched.clear();
}

void CurveRaster::CoverSegment(float x0, float y0, float x1, float y1, float halfWidth)
{
    const float reach = halfWidth + 0.5f;
    const int left = std::max<int>(m_clip.left, static_cast<int>(std::floor(std::min(x0, x1) - reach)));
    const int right = std::min<int>(m_clip.right, static_cast<int>(std::ceil(std::max(x0, x1) + reach)));
    const int top = std::max<int>(m_clip.top, static_cast<int>(std::floor(std::min(y0, y1) - reach)));
    const int bottom = std::min<int>(m_clip.bottom, static_cast<int>(std::ceil(std::max(y0, y1) + reach)));
    const float vx = x1 - x0;
    const float vy = y1 - y0;
    const float lengthSq = vx * vx + vy * vy;
    const int width = m_clip.Width();
    const float reachSq = reach * reach;
    const float inner = std::max(0.0f, reach - 1.0f);
    const float innerSq = inner * inner;
    for (int y = top; y < bottom; ++y) {
        const float py = y + 0.5f - y0;
        for (int x = left; x < right; ++x) {
            const float px = x + 0.5f - x0;
            float t = lengthSq > 0 ? (px * vx + py * vy) / lengthSq : 0.0f;
            t = std::max(0.0f, std::min(1.0f, t));
            const float ex = px - t * vx;
            const float ey = py - t * vy;
            const float distSq = ex * ex + ey * ey;
            if (distSq >= reachSq) continue;
            // Pixels a whole pixel inside the pen's edge need no root.
            const uint8_t level =
                distSq <= innerSq ? 255 : static_cast<uint8_t>((reach - std::sqrt(distSq)) * 255.0f + 0.5f);
            const size_t index = size_t(y - m_clip.top) * width + (x - m_clip.left);
            uint8_t& cell = m_cover[index];
            if (cell == 0) m_touched.push_back(static_cast<uint32_t>(index));
            cell = std::max(cell, level);
        }
    }
}

void CurveRaster::Blend(uint32_t argb)
{
    const uint32_t alpha = argb >> 24;
    const uint32_t sr = (argb >> 16) & 0xFF;
    const uint32_t sg = (argb >> 8) & 0xFF;
    const uint32_t sb = argb & 0xFF;
    const int width = m_clip.Width();
    for (uint32_t index : m_touched) {
        const uint32_t a = m_cover[index] * alpha / 255;
        m_cover[index] = 0;
        const int x = m_clip.left + static_cast<int>(index % width);
        const int y = m_clip.top + static_cast<int>(index / width);
        uint32_t& pixel = m_top[static_cast<std::ptrdiff_t>(y) * m_stride + x];
        const uint32_t dr = (pixel >> 16) & 0xFF;
        const uint32_t dg = (pixel >> 8) & 0xFF;
        const uint32_t db = pixel & 0xFF;
        const uint32_t r = (sr * a + dr * (255 - a) + 127) / 255;
        const uint32_t g = (sg * a + dg * (255 - a) + 127) / 255;
        const uint32_t b = (sb * a + db * (255 - a) + 127) / 255;
        pixel = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    m_touched.clear();
}

void CurveRaster::DrawBezierChain(const CUIPoint* points, int count, int dx, int dy, uint32_t argb, float width)
{
    if (m_top == nullptr || points == nullptr || count < 4 || m_cover.empty()) return;
    const float half = width / 2;
    // Each cubic segment of the chart's curves spans a few pixels: three
    // straight pieces follow it to well under a pixel.
    const int pieces = 3;
    for (int s = 0; s + 3 < count; s += 3) {
        float px = static_cast<float>(points[s].x + dx);
        float py = static_cast<float>(points[s].y + dy);
        for (int k = 1; k <= pieces; ++k) {
            const float t = static_cast<float>(k) / pieces;
            const float u = 1 - t;
            const float w0 = u * u * u;
            const float w1 = 3 * u * u * t;
            const float w2 = 3 * u * t * t;
            const float w3 = t * t * t;
            const float x = w0 * points[s].x + w1 * points[s + 1].x + w2 * points[s + 2].x + w3 * points[s + 3].x + dx;
            const float y = w0 * points[s].y + w1 * points[s + 1].y + w2 * points[s + 2].y + w3 * points[s + 3].y + dy;
            CoverSegment(px, py, x, y, half);
            px = x;
            py = y;
        }
    }
    Blend(argb);
}
