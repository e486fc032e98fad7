#include <stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unordered_set>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {

namespace {

struct Pixels {
    int width = 0, height = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> rgb{nullptr, stbi_image_free};
    const unsigned char* At(int x, int y) const { return rgb.get() + (static_cast<size_t>(y) * width + x) * 3; }
};

bool Load(const std::string& path, Pixels* pixels) {
    int channels = 0;
    pixels->rgb.reset(stbi_load(path.c_str(), &pixels->width, &pixels->height, &channels, 3));
    return pixels->rgb != nullptr && pixels->width > 0 && pixels->height > 0;
}

int Luma(const unsigned char* p) { return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000; }

constexpr int kMaxCountedColours = 4096;
constexpr int kNearBlack = 12;
// A change of brightness this sharp between neighbours is an edge.
constexpr int kEdgeStep = 60;

}  // namespace

PaintCheck CheckPainting(const std::string& pngPath) {
    PaintCheck check;
    Pixels pixels;
    if (!Load(pngPath, &pixels)) return check;
    check.loaded = true;
    check.width = pixels.width;
    check.height = pixels.height;
    size_t black = 0;
    std::unordered_set<uint32_t> colours;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            const unsigned char* p = pixels.At(x, y);
            if (p[0] < kNearBlack && p[1] < kNearBlack && p[2] < kNearBlack) ++black;
            if (colours.size() < kMaxCountedColours) colours.insert(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
        }
    }
    check.blackShare = static_cast<double>(black) / (static_cast<double>(pixels.width) * pixels.height);
    check.colours = static_cast<int>(colours.size());
    check.painted = check.blackShare < 0.5 && check.colours > 8;
    return check;
}

bool HasTextEdges(const std::string& pngPath, const Rect& area) {
    Pixels pixels;
    if (!Load(pngPath, &pixels)) return false;
    const int left = std::max(area.left, 1);
    const int right = std::min(area.right, pixels.width);
    const int top = std::max(area.top, 0);
    const int bottom = std::min(area.bottom, pixels.height);
    // Glyphs cross a row several times; a frame or a filled bar twice at most.
    int busyRows = 0;
    int edges = 0;
    for (int y = top; y < bottom; ++y) {
        int rowEdges = 0;
        for (int x = left; x < right; ++x) {
            if (std::abs(Luma(pixels.At(x, y)) - Luma(pixels.At(x - 1, y))) >= kEdgeStep) ++rowEdges;
        }
        edges += rowEdges;
        if (rowEdges >= 4) ++busyRows;
    }
    return busyRows >= 3 && edges >= 20;
}

}  // namespace e2e
