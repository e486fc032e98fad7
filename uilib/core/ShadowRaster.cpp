#include "uilib/core/ShadowRaster.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

// Empty rows hold an inverted span far outside any bitmap, so that the
// max/min of erosion and stamping keep them empty without special cases.
const int32_t kFar = 1 << 28;
const TShadowSpan kEmpty = {kFar, -kFar};

bool IsEmpty(const TShadowSpan& span)
{
    return span.start >= span.end;
}

uint32_t Premultiplied(uint32_t color, unsigned int alpha)
{
    const uint32_t r = ((color >> 16) & 0xFF) * alpha / 255;
    const uint32_t g = ((color >> 8) & 0xFF) * alpha / 255;
    const uint32_t b = (color & 0xFF) * alpha / 255;
    return (static_cast<uint32_t>(alpha) << 24) | (r << 16) | (g << 8) | b;
}

const TShadowSpan& RowOr(const std::vector<TShadowSpan>& rows, int y)
{
    return (y >= 0 && y < static_cast<int>(rows.size())) ? rows[y] : kEmpty;
}

void Erode(std::vector<TShadowSpan>& rows)
{
    const std::vector<TShadowSpan> before = rows;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        const TShadowSpan& up = RowOr(before, y - 1);
        const TShadowSpan& here = before[y];
        const TShadowSpan& down = RowOr(before, y + 1);
        TShadowSpan next;
        next.start = 1 + std::max(here.start, std::max(up.start, down.start));
        next.end = std::min(here.end, std::min(up.end, down.end)) - 1;
        rows[y] = IsEmpty(next) ? kEmpty : next;
    }
}

class CKernel {
public:
    CKernel(const TShadowParams& params) : m_reach(std::max(params.size, params.sharpness))
    {
        const int side = 2 * m_reach + 1;
        m_cells.resize(static_cast<size_t>(side) * side);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const double d = std::sqrt(static_cast<double>((x - m_reach) * (x - m_reach) +
                                                               (y - m_reach) * (y - m_reach)));
                m_cells[static_cast<size_t>(y) * side + x] = ShadowKernelValue(params, d);
            }
        }
    }

    int Reach() const { return m_reach; }

    // Keeps the larger value per pixel, clipped to the bitmap.
    void Stamp(uint32_t* pixels, int width, int height, int cx, int cy) const
    {
        const int side = 2 * m_reach + 1;
        const int top = std::max(cy - m_reach, 0);
        const int bottom = std::min(cy + m_reach, height - 1);
        const int left = std::max(cx - m_reach, 0);
        const int right = std::min(cx + m_reach, width - 1);
        for (int y = top; y <= bottom; ++y) {
            const uint32_t* cell = &m_cells[static_cast<size_t>(y - cy + m_reach) * side];
            uint32_t* row = pixels + static_cast<size_t>(y) * width;
            for (int x = left; x <= right; ++x) {
                const uint32_t value = cell[x - cx + m_reach];
                if (value > row[x]) row[x] = value;
            }
        }
    }

private:
    int m_reach;
    std::vector<uint32_t> m_cells;
};

} // namespace

uint32_t ShadowKernelValue(const TShadowParams& params, double distance)
{
    const int reach = std::max(params.size, params.sharpness);
    const int core = params.size > params.sharpness ? params.size - params.sharpness : 0;
    if (distance > reach) return 0;
    unsigned int factor = static_cast<unsigned int>(params.darkness);
    if (distance >= core) {
        const double f = (1.0 - (distance - core) / (params.sharpness + 1)) * params.darkness;
        factor = f > 0 ? static_cast<unsigned int>(f) : 0;
    }
    return Premultiplied(params.color, factor);
}

void MakeShadowPixels(const TShadowParams& params, const std::vector<TShadowSpan>& frameRows, int frameWidth,
                      uint32_t* pixels, int width, int height)
{
    if (pixels == nullptr || width <= 0 || height <= 0) return;
    const int size = params.size;
    const int frameHeight = static_cast<int>(frameRows.size());

    // The outline in shadow coordinates, cut to the bitmap.
    std::vector<TShadowSpan> outline(static_cast<size_t>(height), kEmpty);
    for (int y = 0; y < height; ++y) {
        const TShadowSpan& frameRow = RowOr(frameRows, y - size);
        if (IsEmpty(frameRow)) continue;
        TShadowSpan span = {std::max(frameRow.start + size, 0), std::min(frameRow.end + size, width)};
        if (!IsEmpty(span)) outline[y] = span;
    }
    for (int n = size; n < params.sharpness; ++n) Erode(outline);

    const CKernel kernel(params);
    const int reach = kernel.Reach();
    for (int y = reach; y < height - reach; ++y) {
        const TShadowSpan& span = outline[y];
        if (IsEmpty(span)) continue;
        const TShadowSpan& up = RowOr(outline, y - 1);
        const TShadowSpan& down = RowOr(outline, y + 1);
        int x = span.start;
        const int leftEnd = std::min(std::max(up.start, down.start) + 1, span.end);
        for (; x < leftEnd; ++x) kernel.Stamp(pixels, width, height, x, y);
        for (x = std::max(x, std::min(up.end, down.end) - 1); x < span.end; ++x) {
            kernel.Stamp(pixels, width, height, x, y);
        }
    }

    const uint32_t solid = Premultiplied(params.color, static_cast<unsigned int>(params.darkness));
    const int firstRow = std::min(std::max(size - params.offsetY, 0), reach);
    const int lastRow = std::min(std::max(height - reach, std::min(size - params.offsetY + frameHeight, height)), height);
    for (int y = std::max(firstRow, 0); y < lastRow; ++y) {
        uint32_t* row = pixels + static_cast<size_t>(y) * width;
        const TShadowSpan& span = outline[y];
        for (int x = span.start; x < span.end; ++x) row[x] = solid;
        // The frame covers its own rows: nothing of the shadow shows through.
        const TShadowSpan& frameRow = RowOr(frameRows, y - size + params.offsetY);
        if (IsEmpty(frameRow)) continue;
        const int shift = size - params.offsetX;
        const int from = std::max(std::max(frameRow.start, 0) + shift, 0);
        const int to = std::min(std::min(frameRow.end, frameWidth) + shift, width);
        for (int x = from; x < to; ++x) row[x] = 0;
    }
}

} // namespace SkinUI
