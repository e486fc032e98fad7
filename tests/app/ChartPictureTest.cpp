// The EQ chart with 16 curves, band points and handles, painted off-screen
// at 100 % and 150 % and compared with the checked-in pictures.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <stb_image.h>
#include <stb_image_write.h>

#include "DibCanvas.h"
#include "RenderFixtures.h"
#include "SampleChart.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

namespace {

struct PictureCase {
    int dpi;
    int width;
    int height;
    const wchar_t* reference;
    const char* actualName;
};

std::vector<uint8_t> PaintChart(const PictureCase& c)
{
    CPaintManagerUI manager;
    manager.ApplyDpi(c.dpi);
    UIEqualizer chart;
    chart.AttachManager(&manager, nullptr, false);
    chart.ApplyAttributeList(AppTest::kChartAttributes);
    chart.SetPosition({0, 0, c.width, c.height});
    AppTest::LoadSampleChart(chart);
    HBITMAP bitmap = CRenderKit::RenderControlToBitmap(&manager, &chart, {0, 0, c.width, c.height}, 0);
    std::vector<uint8_t> rgba;
    if (bitmap == nullptr) return rgba;
    const std::vector<uint32_t> pixels = SkinUITest::BitmapPixels(bitmap, c.width, c.height);
    DeleteObject(bitmap);
    rgba.resize(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
        rgba[i * 4 + 0] = static_cast<uint8_t>(pixels[i] >> 16);
        rgba[i * 4 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgba[i * 4 + 2] = static_cast<uint8_t>(pixels[i]);
        rgba[i * 4 + 3] = 255;
    }
    chart.AttachManager(nullptr, nullptr, false);
    return rgba;
}

} // namespace

TEST(ChartPicture, SixteenCurvesMatchTheReferenceAtBothScales)
{
    const PictureCase cases[] = {{96, 800, 260, L"CHART_REFERENCE_100", "eq_chart_100_actual.png"},
                                 {144, 1200, 390, L"CHART_REFERENCE_150", "eq_chart_150_actual.png"}};
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.actualName);
        const std::vector<uint8_t> actual = PaintChart(c);
        ASSERT_EQ(size_t(c.width) * c.height * 4, actual.size());
        // Kept in the temporary folder for a look when the comparison fails.
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        stbi_write_png((std::string(folder) + c.actualName).c_str(), c.width, c.height, 4, actual.data(),
                       c.width * 4);

        const std::vector<uint8_t> png = SkinUITest::ResourceBytes(c.reference);
        if (png.empty()) {
            ADD_FAILURE() << "no reference picture linked in";
            continue;
        }
        int w = 0;
        int h = 0;
        int n = 0;
        stbi_uc* reference = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &n, 4);
        ASSERT_NE(nullptr, reference);
        ASSERT_EQ(c.width, w);
        ASSERT_EQ(c.height, h);
        int differing = 0;
        for (size_t i = 0; i < actual.size(); i += 4) {
            for (size_t k = 0; k < 3; ++k) {
                if (std::abs(int(actual[i + k]) - int(reference[i + k])) > 8) {
                    ++differing;
                    break;
                }
            }
        }
        stbi_image_free(reference);
        // Anti-aliased curve edges may differ by a few pixels between GDI+ builds.
        EXPECT_LE(differing, c.width * c.height / 500);
    }
}
