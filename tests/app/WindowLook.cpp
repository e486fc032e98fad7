#include "WindowLook.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "DibCanvas.h"
#include "SkinSetup.h"
#include "SkinVariants.h"
#include "uilib/core/RenderKit.h"

using namespace SkinUI;

namespace {

struct Look {
    int black = 0;
    size_t colours = 0;
};

// The window's own painting, whatever part of it the screen shows.
std::vector<uint32_t> PaintedPixels(WindowImplBase& window, RECT& client)
{
    GetClientRect(window, &client);
    HBITMAP bitmap = CRenderKit::RenderRootToBitmap(&window.PaintManager(), client, nullptr, 0);
    if (bitmap == nullptr) return {};
    std::vector<uint32_t> pixels = SkinUITest::BitmapPixels(bitmap, client.right, client.bottom);
    DeleteObject(bitmap);
    return pixels;
}

Look LookOf(const std::vector<uint32_t>& pixels, const RECT& client, int percent)
{
    Look look;
    std::set<uint32_t> colours;
    const int inset = 2 * percent / 100;
    for (int y = inset; y < client.bottom - inset; ++y) {
        for (int x = inset; x < client.right - inset; ++x) {
            const uint32_t rgb = pixels[y * client.right + x] & 0xFFFFFF;
            look.black += rgb == 0;
            if (colours.size() < 4096) colours.insert(rgb);
        }
    }
    look.colours = colours.size();
    return look;
}

bool SavePng(const std::vector<uint32_t>& pixels, const RECT& client, const std::wstring& path)
{
    std::vector<uint8_t> rgba;
    rgba.reserve(pixels.size() * 4);
    for (uint32_t p : pixels) {
        rgba.push_back(static_cast<uint8_t>(p >> 16));
        rgba.push_back(static_cast<uint8_t>(p >> 8));
        rgba.push_back(static_cast<uint8_t>(p));
        rgba.push_back(255);
    }
    const std::vector<uint8_t> png = SkinUITest::EncodePng(client.right, client.bottom, rgba);
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr) return false;
    const bool written = !png.empty() && fwrite(png.data(), 1, png.size(), file) == png.size();
    fclose(file);
    return written;
}

} // namespace

std::vector<uint32_t> CheckWindow(WindowImplBase& window, const wchar_t* layout, const wchar_t* language, int dpi,
                                  size_t minColours)
{
    ShowAtDpi(window, dpi);
    const std::wstring label = std::wstring(layout) + L"_" + language + L"_" + std::to_wstring(dpi) + L"dpi";
    // Inside the work area of the smallest screen shown at this DPI: the
    // screen less a 40 px taskbar at 96 DPI, scaled.
    const SIZE screen = dpi < 120 ? SIZE{1366, 768} : dpi < 144 ? SIZE{1600, 900} : SIZE{1920, 1080};
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_TRUE(frame.right - frame.left <= screen.cx && frame.bottom - frame.top <= screen.cy - 40 * dpi / 96)
        << label.c_str() << " is " << frame.right - frame.left << "x" << frame.bottom - frame.top;
    RECT client;
    const std::vector<uint32_t> pixels = PaintedPixels(window, client);
    EXPECT_EQ(static_cast<size_t>(client.right) * client.bottom, pixels.size()) << label.c_str();
    if (pixels.size() != static_cast<size_t>(client.right) * client.bottom) return {};
    EXPECT_TRUE(SavePng(pixels, client, ScreenshotFolder() + label + L".png")) << label.c_str();
    const Look look = LookOf(pixels, client, dpi * 100 / 96);
    EXPECT_EQ(0, look.black) << label.c_str();
    EXPECT_GT(look.colours, minColours) << label.c_str();
    return pixels;
}
