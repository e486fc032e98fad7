#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>
#include <windows.h>

namespace SkinUITest {

// A top-down 32-bit DIB section selected into a memory DC: what the tests
// draw into and read back pixel by pixel.
class DibCanvas {
public:
    DibCanvas(int width, int height, uint32_t fill = 0);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // 0xAARRGGBB of one pixel (the DIB's stored bytes).
    uint32_t Pixel(int x, int y) const;
    uint32_t Rgb(int x, int y) const { return Pixel(x, y) & 0x00FFFFFFu; }
    void Fill(uint32_t argb);
    // Pixels as RGBA bytes, rows top to bottom.
    std::vector<uint8_t> ToRgba() const;
    // Number of pixels whose colour (alpha ignored) equals rgb inside the rectangle.
    int CountRgb(const RECT& rc, uint32_t rgb) const;

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    uint32_t* m_bits;
    int m_width;
    int m_height;
};

// A point and the colour expected there, alpha ignored.
struct RgbAt {
    int x;
    int y;
    uint32_t rgb;
};

// Success when every point has its colour; else names each point that has not.
::testing::AssertionResult HasRgb(const DibCanvas& canvas, std::initializer_list<RgbAt> points);

// The pixels of a bitmap as 0xAARRGGBB words (alpha as GDI left it), rows
// top to bottom.
std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int width, int height);

// PNG bytes of an RGBA image (rows top to bottom).
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba);

} // namespace SkinUITest
