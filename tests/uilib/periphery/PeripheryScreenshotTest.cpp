// Controls of the framework's periphery painted in a shown window at 100 %
// and 150 %, one row of the table per scene: each is checked on its own
// painting, and the pictures are left in the screenshot folder for the
// gallery.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "uilib/control/ComboBox.h"
#include "uilib/control/GifAnim.h"
#include "uilib/control/HotKey.h"
#include "uilib/control/ListContainerHeaderItem.h"
#include "uilib/control/ListEx.h"
#include "uilib/control/ListTextExtElement.h"
#include "uilib/control/LoadingBar.h"
#include "uilib/control/RichEdit.h"
#include "uilib/control/Text.h"
#include "uilib/control/TreeView.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/RenderKit.h"
#include "tests/uilib/kit/ExpectRect.h"
#include "tests/uilib/kit/MessagePump.h"

using namespace SkinUI;
using SkinUITest::HostWindow;

namespace {

const wchar_t kIndicators[] =
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

void SavePicture(const Picture& picture, int height, const std::wstring& name)
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

// Everything a row's checks look at: the window, its picture, its scale.
struct Scene {
    HostWindow& host;
    Picture picture;
    int percent;
    int width;
    int height;

    CControlUI* Find(const wchar_t* name) const { return host.pm.FindControlByName(name); }
    RECT RectOf(const wchar_t* name) const { return RECT(Find(name)->GetPosition()); }
    int Scaled(int skinPixels) const { return (skinPixels * percent + 50) / 100; }
    int CountRgb(const RECT& rc, uint32_t rgb) const
    {
        return picture.Count(rc, [rgb](uint32_t c) { return c == rgb; });
    }
    bool Fills(const RECT& rc, uint32_t rgb) const
    {
        return CountRgb(rc, rgb) == (rc.right - rc.left) * (rc.bottom - rc.top);
    }
    // One real paint of the window.
    void Paint() const
    {
        InvalidateRect(host.GetNativeHandle(), nullptr, FALSE);
        UpdateWindow(host.GetNativeHandle());
    }
};

struct PictureRow {
    const char* name;
    int dpi;
    const wchar_t* layout;
    // Before the picture is taken, and after it; either may be null.
    void (*prepare)(Scene& scene);
    void (*check)(Scene& scene);
    // The control whose text must be drawn, or null.
    const wchar_t* texted;
};

const std::vector<uint32_t> kArrowCells = {0x20A040, 0xA02040, 0x2040A0, 0xA0A020, 0x808080};
const uint32_t kBox = 0x3060C0;
const uint32_t kSeparator = 0xC03060;
const uint32_t kFrame = 0x2080C0;

void PrepareIndicators(Scene& scene)
{
    static_cast<CGifAnimUI*>(scene.Find(L"gif"))->SetImageFile(BRISA_GIF_FIXTURES L"\\one_frame.gif");
    CLoadingBarUI* bar = static_cast<CLoadingBarUI*>(scene.Find(L"bar"));
    InvalidateRect(scene.host.GetNativeHandle(), nullptr, FALSE);
    ASSERT_TRUE(SkinUITest::PumpUntil([bar] { return bar->IsStarted(); }));
    scene.host.pm.StopTimer(bar, CLoadingBarUI::kTimerId);
}

void CheckIndicators(Scene& scene)
{
    const Picture& picture = scene.picture;
    const RECT tree = scene.RectOf(L"tree");
    const int row = scene.Scaled(18);
    for (int i = 0; i < 3; ++i) {
        const RECT line = {tree.left, tree.top + i * row, tree.right, tree.top + (i + 1) * row};
        EXPECT_GT(picture.Count(line, IsDark), 10) << "tree row " << i;
    }
    EXPECT_GT(scene.CountRgb({tree.left, tree.top, tree.right, tree.top + row}, 0x8090A0), 0) << "folder button";
    EXPECT_EQ(2, static_cast<CTextUI*>(scene.Find(L"text"))->GetLinkCount());

    const RECT gif = scene.RectOf(L"gif");
    EXPECT_GT(scene.CountRgb(gif, 0xFF0000), (gif.right - gif.left) * 30);
    const RECT ring = scene.RectOf(L"ring");
    EXPECT_GT(scene.CountRgb(ring, 0xFF0000), 100);
    EXPECT_GT(scene.CountRgb(ring, 0x0000FF), 100);

    EXPECT_TRUE(scene.Fills(scene.RectOf(L"fade"), 0x40A0A0)) << "fade button at rest";
    EXPECT_TRUE(scene.Fills(scene.RectOf(L"tabs"), 0x30A050)) << "first tab page";

    const RECT barRect = scene.RectOf(L"bar");
    const int block = (barRect.right - barRect.left) * 3 / 10;
    EXPECT_EQ(block * (barRect.bottom - barRect.top), scene.CountRgb(barRect, 0x2080C0));
}

void PrepareCombo(Scene& scene)
{
    static_cast<CComboBoxUI*>(scene.Find(L"combo"))->SelectSingleItem(0);
}

// The arrow's cell fills the rightmost scaled cell width inside the border
// (give or take the pixel its rounding back to skin pixels may cost), and
// the selected row's text stops left of it.
void CheckCombo(Scene& scene)
{
    const RECT combo = scene.RectOf(L"combo");
    const int border = scene.Scaled(1);
    const int arrow = scene.Scaled(20);
    EXPECT_EQ(arrow, static_cast<CComboBoxUI*>(scene.Find(L"combo"))->GetArrowWidth());
    const RECT cell = {combo.right - border - arrow - 1, combo.top + border - 1, combo.right - border + 1,
                       combo.bottom - border + 1};
    // The cell of the state the combo is in (it may hold the focus).
    auto isArrow = [](uint32_t c) {
        return std::find(kArrowCells.begin(), kArrowCells.end(), c) != kArrowCells.end();
    };
    EXPECT_GE(scene.picture.Count(cell, isArrow), (arrow - 1) * (combo.bottom - combo.top - 2 * border - 1));
    EXPECT_EQ(scene.picture.Count(combo, isArrow), scene.picture.Count(cell, isArrow));
    EXPECT_EQ(0, scene.picture.Count(cell, IsDark));
    EXPECT_GT(scene.picture.Count({combo.left, combo.top, cell.left, combo.bottom}, IsDark), 30);
    // The text centred in the box on one line, cut with an ellipsis: its
    // last inked column is a dot's.
    int top = combo.bottom, bottom = combo.top, last = combo.left;
    for (int y = combo.top + border; y < combo.bottom - border; ++y) {
        for (int x = combo.left + border; x < cell.left; ++x) {
            if (!IsDark(scene.picture.pixels[static_cast<size_t>(y) * scene.width + x])) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            last = std::max(last, x);
        }
    }
    EXPECT_NEAR(top - combo.top, combo.bottom - 1 - bottom, scene.Scaled(3)) << "rows " << top << "-" << bottom;
    EXPECT_LE(scene.picture.Count({last, combo.top, last + 1, combo.bottom}, IsDark), scene.Scaled(2));
}

// The row's cell rectangle under the editor, in window pixels.
RECT EditedCell(const Scene& scene)
{
    const RECT column = scene.RectOf(L"name_column");
    const RECT row = scene.RectOf(L"row0");
    return RECT{column.left + 1, row.top + 1, column.right - 1, row.bottom - 1};
}

void PrepareList(Scene& scene)
{
    CListExUI* list = static_cast<CListExUI*>(scene.Find(L"list"));
    static_cast<CListTextExtElementUI*>(scene.Find(L"row0"))->SetCellText(1, L"Front left");
    static_cast<CListTextExtElementUI*>(scene.Find(L"row1"))->SetCellText(1, L"Front right");
    static_cast<CListTextExtElementUI*>(scene.Find(L"row1"))->SetChecked(true);
    scene.Paint();
    RECT cell = EditedCell(scene);
    OffsetRect(&cell, -list->GetPosition().left, -list->GetPosition().top);
    list->HandleCellClick(0, 1, cell, L"Front left");
    scene.Paint();
}

// The boxes are drawn exactly on their hit rectangles (6 pixels in, the
// box size, centred, all scaled), the header's separator on its drag zone
// (the right 4 skin pixels, give or take one), and the editor sits on its cell.
void CheckList(Scene& scene)
{
    const RECT column = scene.RectOf(L"name_column");
    const int separator = scene.Scaled(4);
    const RECT zone = {column.right - separator - 1, column.top, column.right + 1, column.bottom};
    EXPECT_GE(scene.CountRgb(zone, kSeparator), (separator - 1) * (column.bottom - column.top - 1));
    EXPECT_EQ(scene.CountRgb(zone, kSeparator), scene.CountRgb(scene.RectOf(L"list"), kSeparator));
    const wchar_t* const kRows[] = {L"row0", L"row1"};
    for (const wchar_t* name : kRows) {
        const RECT row = scene.RectOf(name);
        const int size = scene.Scaled(14);
        const int top = row.top + ((row.bottom - row.top) - size) / 2;
        const RECT box = {row.left + scene.Scaled(6), top, row.left + scene.Scaled(6) + size, top + size};
        EXPECT_EQ(size * size, scene.CountRgb(box, kBox)) << "box of " << name;
        EXPECT_EQ(size * size, scene.CountRgb(row, kBox)) << "nothing beside the box of " << name;
    }
    CRichEditUI* edit = static_cast<CListExUI*>(scene.Find(L"list"))->GetEditControl();
    ASSERT_NE(nullptr, edit);
    const RECT cell = EditedCell(scene);
    SkinUITest::ExpectRect(edit->GetPosition(), cell.left, cell.top, cell.right, cell.bottom);
    EXPECT_GT(scene.picture.Count(cell, IsDark), 30) << "the edited text";
}

// The frame stands the scaled inset in from the edges, and its top line
// breaks behind the caption (the scene has no background colour to hide it).
void CheckGroupBox(Scene& scene)
{
    const RECT group = scene.RectOf(L"group");
    const int inset = scene.Scaled(5);
    const int height = group.bottom - group.top;
    EXPECT_TRUE(scene.Fills({group.left + inset, group.top + height / 4, group.left + inset + 1,
                             group.bottom - height / 4}, kFrame)) << "left line";
    EXPECT_EQ(0, scene.CountRgb({group.left, group.top, group.left + inset, group.bottom}, kFrame));
    const int top = group.top + inset;
    const int caption = group.left + inset + scene.Scaled(15);
    EXPECT_EQ(0, scene.CountRgb({caption, top, caption + scene.Scaled(30), top + 1}, kFrame)) << "behind the caption";
    EXPECT_TRUE(scene.Fills({group.right - inset - 100, top, group.right - inset - 1, top + 1}, kFrame)) << "top line";
}

// At rest, with the native control closed: the label shows the key's name.
void PrepareHotKey(Scene& scene)
{
    scene.host.pm.SetFocusControl(nullptr);
    CHotKeyUI* hotKey = static_cast<CHotKeyUI*>(scene.Find(L"hotkey"));
    hotKey->SetHotKey('A', CHotKeyUI::kModControl | CHotKeyUI::kModShift);
    hotKey->SetTextContent(CHotKeyUI::ComposeHotKeyName('A', CHotKeyUI::kModControl | CHotKeyUI::kModShift));
}

// No text left of the scaled text inset, and the text right after it.
void CheckTextInset(const Scene& scene, const wchar_t* name, int inset)
{
    const RECT box = scene.RectOf(name);
    const int left = box.left + scene.Scaled(inset);
    EXPECT_EQ(0, scene.picture.Count({box.left, box.top, left, box.bottom}, IsDark)) << "left of the inset";
    EXPECT_GT(scene.picture.Count({left, box.top, left + scene.Scaled(4), box.bottom}, IsDark), 0) << "at the inset";
}

// The field from the top and the bar along the bottom at their scaled
// heights, the background between them.
void CheckPalette(Scene& scene)
{
    const RECT palette = scene.RectOf(L"palette");
    auto line = [&](int y) { return RECT{palette.left, y, palette.right, y + 1}; };
    const int field = palette.top + scene.Scaled(110);
    const int bar = palette.bottom - scene.Scaled(16);
    EXPECT_EQ(0, scene.CountRgb(line(field - 1), kBackground)) << "the field's last row";
    EXPECT_TRUE(scene.Fills(line(field), kBackground)) << "below the field";
    EXPECT_TRUE(scene.Fills(line(bar - 1), kBackground)) << "above the bar";
    EXPECT_EQ(0, scene.CountRgb(line(bar), kBackground)) << "the bar's first row";
}

#define SCENE(controls) \
    L"<Window><VerticalLayout bkcolor=\"#FFF4F6F8\" inset=\"10,10,10,10\" childpadding=\"8\">" controls \
    L"</VerticalLayout></Window>"

const PictureRow kRows[] = {
    {"indicators", 96, kIndicators, PrepareIndicators, CheckIndicators, L"text"},
    {"indicators", 144, kIndicators, PrepareIndicators, CheckIndicators, L"text"},
    {"combobox", 144,
     SCENE(L"<ComboBox name=\"combo\" height=\"36\" width=\"180\" bordersize=\"1\" bordercolor=\"#FF8090A0\""
           L" bkcolor=\"#FFFFFFFF\" textpadding=\"4,0,4,0\" itemtextcolor=\"#FF202020\""
           L" arrowimage=\"file='arrow.png' source='0,0,100,20'\">"
           L"<ListLabelElement text=\"A selected row longer than the combo box\"/></ComboBox>"),
     PrepareCombo, CheckCombo, L"combo"},
    {"listex", 144,
     SCENE(L"<ListEx name=\"list\" height=\"120\" itemalign=\"center\" itemtextcolor=\"#FF202020\" bkcolor=\"#FFFFFFFF\">"
           L"<ListContainerHeaderItem text=\"On\" width=\"60\" checkable=\"true\" checkboxwidth=\"14\""
           L" checkboxheight=\"14\" checkboxnormalimage=\"box.png\"/>"
           L"<ListContainerHeaderItem name=\"name_column\" text=\"Name\" width=\"150\" editable=\"true\""
           L" sepimage=\"sep.png\"/>"
           L"<ListTextExtElement name=\"row0\" height=\"26\" checkboxwidth=\"14\" checkboxheight=\"14\""
           L" checkboxnormalimage=\"box.png\" checkboxselectedimage=\"box.png\"/>"
           L"<ListTextExtElement name=\"row1\" height=\"26\" checkboxwidth=\"14\" checkboxheight=\"14\""
           L" checkboxnormalimage=\"box.png\" checkboxselectedimage=\"box.png\"/>"
           L"</ListEx>"),
     PrepareList, CheckList, L"list"},
    {"groupbox", 144,
     SCENE(L"<GroupBox name=\"group\" height=\"80\" text=\"Outputs\" bordersize=\"1\" bordercolor=\"#FF2080C0\""
           L" textcolor=\"#FF202020\"/>"),
     nullptr, CheckGroupBox, L"group"},
    {"hotkey", 144,
     SCENE(L"<HotKey name=\"hotkey\" height=\"30\" textcolor=\"#FF202020\" bkcolor=\"#FFFFFFFF\"/>"),
     PrepareHotKey, [](Scene& scene) { CheckTextInset(scene, L"hotkey", 4); }, L"hotkey"},
    {"palette", 144,
     SCENE(L"<ColorPalette name=\"palette\" height=\"140\" width=\"240\" palletheight=\"110\" barheight=\"16\"/>"),
     nullptr, CheckPalette, nullptr},
    {"richedit", 144,
     SCENE(L"<RichEdit name=\"rich\" height=\"40\" multiline=\"false\" bkcolor=\"#FFFFFFFF\""
           L" textpadding=\"4,0,4,0\" text=\"Rich text at every scale\"/>"),
     nullptr, [](Scene& scene) { CheckTextInset(scene, L"rich", 4); }, L"rich"},
};

class PeripheryScreenshot : public ::testing::TestWithParam<PictureRow> {};

TEST_P(PeripheryScreenshot, EachControlPaintsItsPart)
{
    const PictureRow& row = GetParam();
    const int percent = row.dpi * 100 / 96;
    SkinUITest::SkinImageFolder folder;
    ASSERT_TRUE(folder.Write(L"ring_halves.png", 20, {0xFF0000, 0x0000FF}));
    ASSERT_TRUE(folder.Write(L"fade_normal.png", 20, {0x40A0A0}));
    ASSERT_TRUE(folder.Write(L"fade_hot.png", 20, {0xA0A040}));
    // Every scale's variant, as the skin's generator makes them.
    ASSERT_TRUE(folder.Write(L"arrow.png", 20, kArrowCells));
    ASSERT_TRUE(folder.Write(L"arrow@150.png", 30, kArrowCells));
    ASSERT_TRUE(folder.Write(L"box.png", 14, {kBox}));
    ASSERT_TRUE(folder.Write(L"box@150.png", 21, {kBox}));
    ASSERT_TRUE(folder.Write(L"sep.png", 4, {kSeparator}));
    ASSERT_TRUE(folder.Write(L"sep@150.png", 6, {kSeparator}));

    HostWindow host;
    host.CreateNativeWindow(nullptr, L"periphery", WS_POPUP | WS_VISIBLE, 0, 40, 40, 360, 240);
    ASSERT_NE(nullptr, host.GetNativeHandle());
    host.Attach();
    // Scales the window too.
    host.pm.ApplyDpi(row.dpi);
    RECT client;
    GetClientRect(host.GetNativeHandle(), &client);
    Scene scene{host, {}, percent, client.right, client.bottom};
    EXPECT_EQ(360 * percent / 100, scene.width);
    CDialogBuilder builder;
    CControlUI* root = builder.BuildFromSource(row.layout, nullptr, nullptr, &host.pm);
    ASSERT_NE(nullptr, root) << builder.LastError().CStr();
    host.pm.AttachRoot(root);
    scene.Paint();
    if (row.prepare != nullptr) row.prepare(scene);

    HBITMAP bitmap = CRenderKit::RenderRootToBitmap(&host.pm, client, nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    scene.picture.width = scene.width;
    scene.picture.pixels = SkinUITest::BitmapPixels(bitmap, scene.width, scene.height);
    DeleteObject(bitmap);
    SavePicture(scene.picture, scene.height,
                L"periphery_" + std::wstring(row.name, row.name + strlen(row.name)) + L"_en_" +
                    std::to_wstring(row.dpi) + L".png");

    if (row.check != nullptr) row.check(scene);
    if (row.texted != nullptr) {
        EXPECT_GT(scene.picture.Count(scene.RectOf(row.texted), IsDark), 50);
    }
    EXPECT_EQ(0, scene.picture.Count({0, 0, scene.width, 2}, [](uint32_t c) { return c != kBackground; }));

    host.Detach();
    // The manager deletes the tree with itself.
    DestroyWindow(host.GetNativeHandle());
}

INSTANTIATE_TEST_SUITE_P(Rows, PeripheryScreenshot, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<PictureRow>& info) {
                             return std::string(info.param.name) + "_" + std::to_string(info.param.dpi);
                         });

} // namespace
