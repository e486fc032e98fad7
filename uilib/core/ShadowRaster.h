#pragma once

#include <cstdint>
#include <vector>

namespace SkinUI {

// What the computed shadow is made from.
struct TShadowParams {
    int size = 0;      // -35..35: how far the shadow reaches past the frame
    int sharpness = 5; // 0..35: width of the soft edge
    int darkness = 150;
    int offsetX = 0;
    int offsetY = 0;
    uint32_t color = 0; // 0x00RRGGBB; the channels keep their places in the pixels
};

// One row of the frame's outline: [start, end); empty when start >= end.
struct TShadowSpan {
    int32_t start;
    int32_t end;
};

// The soft shadow of a frame whose outline rows are given (frame coordinates),
// drawn into width x height premultiplied ARGB pixels, top row first, where
// width and height are the frame's plus 2 x size. Pixels under the frame stay
// 0. Nothing is written outside the buffer, whatever the spans say.
void MakeShadowPixels(const TShadowParams& params, const std::vector<TShadowSpan>& frameRows, int frameWidth,
                      uint32_t* pixels, int width, int height);

// The kernel's pixel value at a distance (in pixels) from its centre.
uint32_t ShadowKernelValue(const TShadowParams& params, double distance);

} // namespace SkinUI
