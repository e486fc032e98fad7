#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "uilib/core/ShadowRaster.h"

using namespace SkinUI;

namespace {

std::vector<TShadowSpan> RectangleRows(int width, int height)
{
    return std::vector<TShadowSpan>(static_cast<size_t>(height), TShadowSpan{0, width});
}

TEST(ShadowRaster, KernelCentreAndRim)
{
    TShadowParams params;
    params.darkness = 150;
    params.color = 0xFF0000;
    params.sharpness = 5;
    params.size = 5;
    EXPECT_EQ(0x96960000u, ShadowKernelValue(params, 0.0));
    EXPECT_EQ(0x00000000u, ShadowKernelValue(params, 6.0));
    EXPECT_EQ(0u, ShadowKernelValue(params, 5.5));
    // d = 3: (1 - 3/6) * 150 = 75.
    EXPECT_EQ(0x4B4B0000u, ShadowKernelValue(params, 3.0));
}

TEST(ShadowRaster, FramePixelsStayClearAndTheShadowIsSymmetric)
{
    TShadowParams params;
    params.size = 6;
    params.sharpness = 4;
    params.darkness = 200;
    params.color = 0x102030;
    const int frameWidth = 20;
    const int frameHeight = 10;
    const int width = frameWidth + 12;
    const int height = frameHeight + 12;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
    MakeShadowPixels(params, RectangleRows(frameWidth, frameHeight), frameWidth, pixels.data(), width, height);
    for (int y = 6; y < 16; ++y) {
        for (int x = 6; x < 26; ++x) EXPECT_EQ(0u, pixels[y * width + x]) << x << "," << y;
    }
    bool any = false;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[y * width + x];
            any = any || p != 0;
            EXPECT_EQ(p, pixels[y * width + (width - 1 - x)]) << x << "," << y;
            EXPECT_EQ(p, pixels[(height - 1 - y) * width + x]) << x << "," << y;
            // Premultiplied: no channel above alpha.
            const uint32_t a = p >> 24;
            EXPECT_LE((p >> 16) & 0xFF, a);
            EXPECT_LE(p & 0xFF, a);
        }
    }
    EXPECT_TRUE(any);
    // Just outside the frame the shadow is at full darkness.
    EXPECT_EQ(200u, pixels[5 * width + 16] >> 24);
}

TEST(ShadowRaster, NoOutlineDrawsNothing)
{
    TShadowParams params;
    params.size = 5;
    std::vector<TShadowSpan> rows(10, TShadowSpan{0, 0});
    std::vector<uint32_t> pixels(20 * 20, 0);
    MakeShadowPixels(params, rows, 10, pixels.data(), 20, 20);
    for (uint32_t p : pixels) EXPECT_EQ(0u, p);
}

TEST(ShadowRaster, HostileSpansAndExtremesStayInsideTheBuffer)
{
    // Spans wider than the frame, a stale region, offsets and negative sizes:
    // the sanitizer build checks that nothing is written outside.
    const int sizes[] = {-35, -3, 0, 1, 17, 35};
    const int sharpnesses[] = {0, 5, 35};
    for (int size : sizes) {
        for (int sharpness : sharpnesses) {
            TShadowParams params;
            params.size = size;
            params.sharpness = sharpness;
            params.offsetX = 35;
            params.offsetY = -35;
            const int frameWidth = 40;
            const int frameHeight = 30;
            std::vector<TShadowSpan> rows(frameHeight, TShadowSpan{-100, 500});
            const int width = frameWidth + 2 * size;
            const int height = frameHeight + 2 * size;
            if (width <= 0 || height <= 0) continue;
            std::vector<uint32_t> pixels(static_cast<size_t>(width) * height + 1, 0xDEADBEEF);
            pixels.back() = 0x12345678;
            MakeShadowPixels(params, rows, frameWidth, pixels.data(), width, height);
            EXPECT_EQ(0x12345678u, pixels.back()) << size << "/" << sharpness;
        }
    }
    MakeShadowPixels(TShadowParams(), RectangleRows(4, 4), 4, nullptr, 4, 4);
}

} // namespace
