#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <stb_image.h>
#include <stb_image_write.h>

#include "DibCanvas.h"
#include "RenderFixtures.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

namespace {

// Three controls painted as the manager paints its tree: the root, then
// its children in order (a container does this for a real tree).
class SmallTree : public CControlUI {
public:
    explicit SmallTree(CPaintManagerUI* manager)
    {
        AttachManager(manager, nullptr, false);
        SetPosition({0, 0, 64, 48});
        ApplyAttributeList(L"bkcolor=\"#FF202830\" bordercolor=\"#FF6080A0\" bordersize=\"2\"");
        m_panel.AttachManager(manager, this, false);
        m_panel.SetPosition({6, 6, 58, 26});
        m_panel.ApplyAttributeList(L"bkcolor=\"#FF3060C0\" bkcolor2=\"#FF90C0F0\" borderround=\"8,8\"");
        m_badge.AttachManager(manager, this, false);
        m_badge.SetPosition({6, 30, 58, 42});
        m_badge.ApplyAttributeList(L"bkimage=\"file='img/grid12.png' corner='4,4,4,4'\" "
                                   L"leftbordersize=\"1\" bordercolor=\"#FFFFFFFF\"");
    }
    ~SmallTree() override
    {
        m_panel.AttachManager(nullptr, nullptr, false);
        m_badge.AttachManager(nullptr, nullptr, false);
        AttachManager(nullptr, nullptr, false);
    }
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stop) override
    {
        CControlUI::PaintSelf(dc, paintArea, stop);
        return m_panel.PaintArea(dc, paintArea, stop) && m_badge.PaintArea(dc, paintArea, stop);
    }

private:
    CControlUI m_panel;
    CControlUI m_badge;
};

std::vector<uint8_t> BitmapRgba(HBITMAP bitmap, int width, int height)
{
    const std::vector<uint32_t> pixels = SkinUITest::BitmapPixels(bitmap, width, height);
    std::vector<uint8_t> rgba(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
        rgba[i * 4 + 0] = static_cast<uint8_t>(pixels[i] >> 16);
        rgba[i * 4 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgba[i * 4 + 2] = static_cast<uint8_t>(pixels[i]);
        rgba[i * 4 + 3] = 255; // GDI leaves alpha as it pleases; the picture is opaque
    }
    return rgba;
}

} // namespace

TEST(ControlTreePicture, MatchesTheReferenceImage)
{
    ASSERT_TRUE(SkinUITest::UseRenderArchive());
    CPaintManagerUI manager;
    SmallTree tree(&manager);
    HBITMAP bitmap = CRenderKit::RenderControlToBitmap(&manager, &tree, {0, 0, 64, 48}, 0);
    ASSERT_NE(nullptr, bitmap);
    const std::vector<uint8_t> actual = BitmapRgba(bitmap, 64, 48);
    DeleteObject(bitmap);
    // Kept in the temporary folder for a look when the comparison fails.
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string actualPath = std::string(folder) + "control_tree_actual.png";
    stbi_write_png(actualPath.c_str(), 64, 48, 4, actual.data(), 64 * 4);

    const std::vector<uint8_t> png = SkinUITest::ResourceBytes(L"RENDER_REFERENCE");
    ASSERT_FALSE(png.empty()) << "no reference picture linked in";
    int w = 0;
    int h = 0;
    int n = 0;
    stbi_uc* reference = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &n, 4);
    ASSERT_NE(nullptr, reference);
    ASSERT_EQ(64, w);
    ASSERT_EQ(48, h);
    int differing = 0;
    for (size_t i = 0; i < actual.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(static_cast<int>(actual[i + c]) - static_cast<int>(reference[i + c])) > 8) {
                ++differing;
                break;
            }
        }
    }
    stbi_image_free(reference);
    // Anti-aliased round corners may differ by a few pixels between GDI+ builds.
    EXPECT_LE(differing, 12);
}
