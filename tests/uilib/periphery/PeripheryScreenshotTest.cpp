// The tree, text, GIF, ring, fade button, animated tab layout and loading bar
// together in a shown window at
// 100 % and 150 %: each is checked on its own painting, and the pictures are
// left beside the test program for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "uilib/control/GifAnim.h"
#include "uilib/control/LoadingBar.h"
#include "uilib/control/Text.h"
#include "uilib/control/TreeView.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/RenderKit.h"
#include "tests/uilib/kit/MessagePump.h"

using namespace SkinUI;
using SkinUITest::HostWindow;

namespace {

const wchar_t kLayout[] =
    L"<Window><VerticalLayout bkcolor=\"#FFF4F6F8\" inset=\"10,10,10,10\" childpadding=\"8\">"
    L"<TreeView name=\"tree\" height=\"60\" visiblecheckbtn=\"true\" itemtextcolor=\"#FF202020\">"
    L"<TreeNode text=\"Outputs\" folderattr=\"bkcolor=&quot;#FF8090A0&quot; padding=&quot;4,4,4,4&quot;\">"
    L"<TreeNode text=\"Front left\"/><TreeNode text=\"Front right\"/></TreeNode>"
    L"</TreeView>"
    L"<Text name=\"text\" height=\"36\" showhtml=\"true\" textcolor=\"#FF202020\""
    L" text=\"Read the {a manual}manual{/a} or the {a log}log{/a} first.\"/>"
    L"<HorizontalLayout height=\"40\" childpadding=\"10\">"
    L"<GifAnim name=\"gif\" width=\"40\" autoplay=\"false\"/>"
    L"<Ring name=\"ring\" width=\"40\" bkimage=\"ring_halves.png\"/>"
    L"<FadeButton name=\"fade\" width=\"40\" normalimage=\"fade_normal.png\" hotimage=\"fade_hot.png\"/>"
    L"<AnimationTabLayout name=\"tabs\" width=\"80\">"
    L"<Control bkcolor=\"#FF30A050\"/><Control bkcolor=\"#FFA03050\"/>"
    L"</AnimationTabLayout>"
    L"</HorizontalLayout>"
    L"<LoadingBar name=\"bar\" height=\"8\" forecolor=\"#FF2080C0\" bkcolor=\"#FFDDE3E8\"/>"
    L"</VerticalLayout></Window>";

const uint32_t kBackground = 0xF4F6F8;

struct Picture {
    std::vector<uint32_t> pixels;
    int width = 0;

    int Count(const RECT& rc, const std::function<bool(uint32_t)>& pass) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (pass(pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF)) ++n;
        return n;
    }
};

bool IsDark(uint32_t rgb)
{
    return ((rgb >> 16) & 0xFF) < 0x80 && ((rgb >> 8) & 0xFF) < 0x80 && (rgb & 0xFF) < 0x80;
}

void SavePicture(const Picture& picture, int height, const wchar_t* name)
{
    std::vector<uint8_t> rgba(picture.pixels.size() * 4);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        rgba[i * 4] = static_cast<uint8_t>(picture.pixels[i] >> 16);
        rgba[i * 4 + 1] = static_cast<uint8_t>(picture.pixels[i] >> 8);
        rgba[i * 4 + 2] = static_cast<uint8_t>(picture.pixels[i]);
        rgba[i * 4 + 3] = 0xFF;
    }
    const std::vector<uint8_t> png = SkinUITest::EncodePng(picture.width, height, rgba);
    const std::string folder = BRISA_SCREENSHOT_DIR;
    CreateDirectoryW(std::wstring(folder.begin(), folder.end()).c_str(), nullptr);
    const std::wstring path = std::wstring(folder.begin(), folder.end()) + name;
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(nullptr, f);
    fwrite(png.data(), 1, png.size(), f);
    fclose(f);
}

class PeripheryScreenshot : public ::testing::TestWithParam<int> {};

TEST_P(PeripheryScreenshot, EachControlPaintsItsPart)
{
    const int dpi = GetParam();
    const int percent = dpi * 100 / 96;
    SkinUITest::SkinImageFolder folder;
    ASSERT_TRUE(folder.Write(L"ring_halves.png", 20, {0xFF0000, 0x0000FF}));
    ASSERT_TRUE(folder.Write(L"fade_normal.png", 20, {0x40A0A0}));
    ASSERT_TRUE(folder.Write(L"fade_hot.png", 20, {0xA0A040}));

    HostWindow host;
    host.CreateNativeWindow(nullptr, L"periphery", WS_POPUP | WS_VISIBLE, 0, 40, 40, 360, 240);
    ASSERT_NE(nullptr, host.GetNativeHandle());
    host.Attach();
    // Scales the window too.
    host.pm.ApplyDpi(dpi);
    RECT client;
    GetClientRect(host.GetNativeHandle(), &client);
    const int width = client.right;
    const int height = client.bottom;
    EXPECT_EQ(360 * percent / 100, width);
    CDialogBuilder builder;
    CControlUI* root = builder.BuildFromSource(kLayout, nullptr, nullptr, &host.pm);
    ASSERT_NE(nullptr, root);
    host.pm.AttachRoot(root);
    static_cast<CGifAnimUI*>(host.pm.FindControlByName(L"gif"))->SetImageFile(BRISA_GIF_FIXTURES L"\\one_frame.gif");
    CLoadingBarUI* bar = static_cast<CLoadingBarUI*>(host.pm.FindControlByName(L"bar"));
    InvalidateRect(host.GetNativeHandle(), nullptr, FALSE);
    ASSERT_TRUE(SkinUITest::PumpUntil([bar] { return bar->IsStarted(); }));
    host.pm.StopTimer(bar, CLoadingBarUI::kTimerId);

    HBITMAP bitmap = CRenderKit::RenderRootToBitmap(&host.pm, client, nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    Picture picture;
    picture.width = width;
    picture.pixels = SkinUITest::BitmapPixels(bitmap, width, height);
    DeleteObject(bitmap);
    SavePicture(picture, height, percent == 100 ? L"periphery_100.png" : L"periphery_150.png");

    auto rectOf = [&host](const wchar_t* name) { return RECT(host.pm.FindControlByName(name)->GetPosition()); };
    const RECT tree = rectOf(L"tree");
    const int row = 18 * percent / 100;
    for (int i = 0; i < 3; ++i) {
        const RECT line = {tree.left, tree.top + i * row, tree.right, tree.top + (i + 1) * row};
        EXPECT_GT(picture.Count(line, IsDark), 10) << "tree row " << i;
    }
    EXPECT_GT(picture.Count({tree.left, tree.top, tree.right, tree.top + row},
                            [](uint32_t c) { return c == 0x8090A0; }), 0) << "folder button";
    const RECT text = rectOf(L"text");
    EXPECT_GT(picture.Count(text, IsDark), 50);
    EXPECT_EQ(2, static_cast<CTextUI*>(host.pm.FindControlByName(L"text"))->GetLinkCount());

    const RECT gif = rectOf(L"gif");
    EXPECT_GT(picture.Count(gif, [](uint32_t c) { return c == 0xFF0000; }), (gif.right - gif.left) * 30);
    const RECT ring = rectOf(L"ring");
    EXPECT_GT(picture.Count(ring, [](uint32_t c) { return c == 0xFF0000; }), 100);
    EXPECT_GT(picture.Count(ring, [](uint32_t c) { return c == 0x0000FF; }), 100);

    auto fills = [&picture](const RECT& rc, uint32_t rgb) {
        return picture.Count(rc, [rgb](uint32_t c) { return c == rgb; }) == (rc.right - rc.left) * (rc.bottom - rc.top);
    };
    EXPECT_TRUE(fills(rectOf(L"fade"), 0x40A0A0)) << "fade button at rest";
    EXPECT_TRUE(fills(rectOf(L"tabs"), 0x30A050)) << "first tab page";

    const RECT barRect = rectOf(L"bar");
    const int block = (barRect.right - barRect.left) * 3 / 10;
    EXPECT_EQ(block * (barRect.bottom - barRect.top), picture.Count(barRect, [](uint32_t c) { return c == 0x2080C0; }));
    EXPECT_EQ(0, picture.Count({0, 0, width, 2}, [](uint32_t c) { return c != kBackground; }));

    host.Detach();
    // The manager deletes the tree with itself.
    DestroyWindow(host.GetNativeHandle());
}

INSTANTIATE_TEST_SUITE_P(Dpi, PeripheryScreenshot, ::testing::Values(96, 144));

} // namespace
