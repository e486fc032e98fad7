#include <stb_image.h>
#include <sys/stat.h>

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

bool Decode(const std::string& path, Pixels* pixels) {
    int channels = 0;
    pixels->rgb.reset(stbi_load(path.c_str(), &pixels->width, &pixels->height, &channels, 3));
    return pixels->rgb != nullptr && pixels->width > 0 && pixels->height > 0;
}

// The last picture read, kept while its file is unchanged: a screenshot is
// asked about many areas in a row.
const Pixels* Load(const std::string& path) {
    static std::string cachedPath;
    static struct timespec cachedTime = {};
    static off_t cachedSize = -1;
    static Pixels cached;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return nullptr;
    if (path != cachedPath || info.st_size != cachedSize || info.st_mtim.tv_sec != cachedTime.tv_sec ||
        info.st_mtim.tv_nsec != cachedTime.tv_nsec) {
        cachedPath = path;
        cachedTime = info.st_mtim;
        cachedSize = info.st_size;
        if (!Decode(path, &cached)) cached.rgb.reset();
    }
    return cached.rgb ? &cached : nullptr;
}

// The largest change of one colour channel: red text on a dark ground changes little in brightness.
int Step(const unsigned char* a, const unsigned char* b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

constexpr int kMaxCountedColours = 4096;
constexpr int kNearBlack = 12;
// A change this sharp between neighbours is an edge.
constexpr int kEdgeStep = 60;
constexpr int kFrameInset = 3;

}  // namespace

PaintCheck CheckPainting(const std::string& pngPath) {
    PaintCheck check;
    const Pixels* loaded = Load(pngPath);
    if (!loaded) return check;
    const Pixels& pixels = *loaded;
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
    const Pixels* loaded = Load(pngPath);
    if (!loaded) return false;
    const Pixels& pixels = *loaded;
    // The inside of the area: a control's frame lies along its sides.
    const int left = std::max(area.left + kFrameInset, 1);
    const int right = std::min(area.right - kFrameInset, pixels.width);
    const int top = std::max(area.top + 2, 0);
    const int bottom = std::min(area.bottom - 2, pixels.height);
    // Glyph strokes cross a row with a sharp rise and fall; a plain or
    // gradient fill has neither.
    int strokeRows = 0;
    for (int y = top; y < bottom; ++y) {
        int rowEdges = 0;
        for (int x = left; x < right; ++x) {
            if (Step(pixels.At(x, y), pixels.At(x - 1, y)) >= kEdgeStep) ++rowEdges;
        }
        if (rowEdges >= 2) ++strokeRows;
    }
    return strokeRows >= 3;
}

int BrightPixels(const std::string& pngPath, const Rect& area, int level) {
    const Pixels* loaded = Load(pngPath);
    if (!loaded) return 0;
    const Pixels& pixels = *loaded;
    int bright = 0;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, pixels.height); ++y) {
        for (int x = std::max(area.left, 0); x < std::min(area.right, pixels.width); ++x) {
            const unsigned char* p = pixels.At(x, y);
            if (std::max({p[0], p[1], p[2]}) >= level) ++bright;
        }
    }
    return bright;
}

}  // namespace e2e
