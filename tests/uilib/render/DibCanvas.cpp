#include "DibCanvas.h"

#include <sstream>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace SkinUITest {

namespace {

// A top-down 32-bit DIB of that size.
BITMAPINFO TopDownInfo(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

DibCanvas::DibCanvas(int width, int height, uint32_t fill)
    : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(nullptr), m_old(nullptr), m_bits(nullptr), m_width(width),
      m_height(height)
{
    BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

DibCanvas::~DibCanvas()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

uint32_t DibCanvas::Pixel(int x, int y) const
{
    GdiFlush();
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0xDEADBEEF;
    return m_bits[y * m_width + x];
}

void DibCanvas::Fill(uint32_t argb)
{
    GdiFlush();
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = argb;
}

std::vector<uint8_t> DibCanvas::ToRgba() const
{
    GdiFlush();
    std::vector<uint8_t> out(static_cast<size_t>(m_width) * m_height * 4);
    for (int i = 0; i < m_width * m_height; ++i) {
        uint32_t p = m_bits[i];
        out[i * 4 + 0] = static_cast<uint8_t>(p >> 16);
        out[i * 4 + 1] = static_cast<uint8_t>(p >> 8);
        out[i * 4 + 2] = static_cast<uint8_t>(p);
        out[i * 4 + 3] = static_cast<uint8_t>(p >> 24);
    }
    return out;
}

::testing::AssertionResult HasRgb(const DibCanvas& canvas, std::initializer_list<RgbAt> points)
{
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    for (const RgbAt& p : points) {
        const uint32_t got = canvas.Rgb(p.x, p.y);
        if (got == p.rgb) continue;
        if (result) result = ::testing::AssertionFailure();
        std::ostringstream at;
        at << "(" << p.x << "," << p.y << ") is " << std::hex << got << ", not " << p.rgb << "; ";
        result << at.str();
    }
    return result;
}

int DibCanvas::CountRgb(const RECT& rc, uint32_t rgb) const
{
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (Rgb(x, y) == (rgb & 0x00FFFFFFu)) ++count;
        }
    }
    return count;
}

std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int width, int height)
{
    BITMAPINFO info = TopDownInfo(width, height);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    return pixels;
}

namespace {

void AppendBytes(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

} // namespace

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba)
{
    std::vector<uint8_t> out;
    stbi_write_png_to_func(AppendBytes, &out, width, height, 4, rgba.data(), width * 4);
    return out;
}

} // namespace SkinUITest
