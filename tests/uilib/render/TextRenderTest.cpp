#include <gtest/gtest.h>

#include <string>

#include "DibCanvas.h"
#include "RenderFixtures.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;

namespace {

const int kFont = 1;
const DWORD kBlack = 0xFF000000;

class TextRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SkinUITest::UseRenderArchive());
        face = SkinUITest::InstallTestFont();
        ASSERT_NE(nullptr, face);
        ASSERT_NE(nullptr, manager.AddFont(kFont, face, 16, false, false, false, false));
    }

    // Width and line height of the test font as GDI measures them.
    SIZE Extent(HDC dc, const wchar_t* text)
    {
        HGDIOBJ old = SelectObject(dc, manager.FontHandle(kFont));
        SIZE size = {};
        GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
        SelectObject(dc, old);
        return size;
    }

    TEXTMETRICW Metrics(HDC dc)
    {
        HGDIOBJ old = SelectObject(dc, manager.FontHandle(kFont));
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        return tm;
    }

    void Tagged(DibCanvas& canvas, RECT rc, const wchar_t* text, UINT style, DWORD colour = kBlack)
    {
        int links = 0;
        CRenderKit::DrawTaggedText(canvas.Dc(), &manager, rc, text, colour, nullptr, nullptr, links, kFont, style);
    }

    static int Ink(const DibCanvas& canvas, const RECT& rc)
    {
        int count = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                if (canvas.Rgb(x, y) != 0xFFFFFF) ++count;
            }
        }
        return count;
    }

    CPaintManagerUI manager;
    const wchar_t* face = nullptr;
};

} // namespace

TEST_F(TextRender, ColouredRunStaysInsideItsCharacters)
{
    DibCanvas canvas(300, 40, 0xFFFFFFFF);
    Tagged(canvas, {0, 0, 300, 40}, L"ab{c #FF0000}cd{/c}ef", DT_SINGLELINE);
    const int ab = Extent(canvas.Dc(), L"ab").cx;
    const int abcd = Extent(canvas.Dc(), L"abcd").cx;
    const int all = Extent(canvas.Dc(), L"abcdef").cx;
    int redInside = 0;
    int redOutside = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 300; ++x) {
            const uint32_t p = canvas.Rgb(x, y);
            const bool red = ((p >> 16) & 0xFF) > 160 && ((p >> 8) & 0xFF) < 90 && (p & 0xFF) < 90;
            if (!red) continue;
            if (x >= ab && x < abcd) ++redInside;
            else ++redOutside;
        }
    }
    EXPECT_GT(redInside, 10);
    EXPECT_EQ(0, redOutside);
    EXPECT_GT(Ink(canvas, {abcd, 0, all, 40}), 10);
    EXPECT_EQ(0, Ink(canvas, {all + 1, 0, 300, 40}));
}

TEST_F(TextRender, BoldRunUsesABoldVariant)
{
    DibCanvas plain(300, 40, 0xFFFFFFFF);
    DibCanvas bold(300, 40, 0xFFFFFFFF);
    Tagged(plain, {0, 0, 300, 40}, L"ab mmmm cd", DT_SINGLELINE);
    Tagged(bold, {0, 0, 300, 40}, L"ab {b}mmmm{/b} cd", DT_SINGLELINE);
    const int start = Extent(plain.Dc(), L"ab ").cx;
    const int end = Extent(plain.Dc(), L"ab mmmm").cx;
    EXPECT_GT(Ink(bold, {start, 0, end, 40}), Ink(plain, {start, 0, end, 40}));
    // Before the bold run both drawings are the same.
    EXPECT_EQ(Ink(plain, {0, 0, start - 1, 40}), Ink(bold, {0, 0, start - 1, 40}));
}

TEST_F(TextRender, VariantsAreKeptSideBySide)
{
    DibCanvas canvas(300, 40, 0xFFFFFFFF);
    const int before = manager.FontVariants().Count();
    Tagged(canvas, {0, 0, 300, 40}, L"{b}x{i}y{/i}z{/b}{u}w{/u}{i}v{/i}", DT_SINGLELINE);
    // Bold, bold italic, underline and italic: four fonts, none replacing another.
    EXPECT_EQ(before + 4, manager.FontVariants().Count());
    HFONT plain = manager.FontHandle(kFont);
    TFontEntry* bold = manager.FontVariants().Obtain(face, 16, 16, true, false, false, nullptr);
    ASSERT_NE(nullptr, bold);
    EXPECT_EQ(OBJ_FONT, static_cast<int>(GetObjectType(bold->font)));
    EXPECT_NE(plain, bold->font);
    // Drawing again reuses them.
    Tagged(canvas, {0, 0, 300, 40}, L"{b}x{i}y{/i}z{/b}{u}w{/u}{i}v{/i}", DT_SINGLELINE);
    EXPECT_EQ(before + 4, manager.FontVariants().Count());
}

TEST_F(TextRender, WrappedLinkGivesTwoRectanglesWithOneText)
{
    DibCanvas canvas(200, 100, 0xFFFFFFFF);
    const int cw = Extent(canvas.Dc(), L"m").cx;
    RECT rc = {0, 0, cw * 10 + cw / 2, 100};
    RECT rects[4] = {};
    CUIString texts[4];
    int count = 4;
    CRenderKit::DrawTaggedText(canvas.Dc(), &manager, rc, L"go {a home}abcdefghijkl{/a} end", kBlack, rects, texts,
                               count, kFont, 0);
    ASSERT_EQ(2, count);
    EXPECT_EQ(CUIString(L"home"), texts[0]);
    EXPECT_EQ(CUIString(L"home"), texts[1]);
    EXPECT_EQ(3 * cw, rects[0].left);
    EXPECT_EQ(10 * cw, rects[0].right);
    EXPECT_EQ(0, rects[1].left);
    EXPECT_EQ(5 * cw, rects[1].right);
    EXPECT_EQ(rects[0].bottom, rects[1].top);
    EXPECT_GT(rects[1].right, rects[1].left);
    // The link takes the manager's link colour when the text colour is 0.
    DibCanvas linked(200, 40, 0xFFFFFFFF);
    int none = 0;
    RECT line = {0, 0, 200, 40};
    CRenderKit::DrawTaggedText(linked.Dc(), &manager, line, L"{a x}mmm{/a}", 0, nullptr, nullptr, none, kFont,
                               DT_SINGLELINE);
    int blue = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            const uint32_t p = linked.Rgb(x, y);
            if ((p & 0xFF) > 160 && ((p >> 16) & 0xFF) < 90) ++blue;
        }
    }
    EXPECT_GT(blue, 10);
}

TEST_F(TextRender, MoreLinksThanSlotsFillOnlyTheSlots)
{
    DibCanvas canvas(600, 40, 0xFFFFFFFF);
    RECT rc = {0, 0, 600, 40};
    RECT rects[2] = {};
    CUIString texts[2];
    int count = 2;
    CRenderKit::DrawTaggedText(canvas.Dc(), &manager, rc, L"{a 1}a{/a}{a 2}b{/a}{a 3}c{/a}{a 4}d{/a}", kBlack,
                               rects, texts, count, kFont, DT_SINGLELINE);
    EXPECT_EQ(2, count);
    EXPECT_EQ(CUIString(L"2"), texts[1]);
}

TEST_F(TextRender, InlineImageCells)
{
    DibCanvas canvas(100, 40, 0xFF000000);
    Tagged(canvas, {10, 0, 100, 40}, L"{i img/cells24.png 4 2}", DT_SINGLELINE);
    // The third 6-pixel cell (blue), bottom-aligned on the line.
    const int line = Metrics(canvas.Dc()).tmHeight + Metrics(canvas.Dc()).tmExternalLeading;
    const int top = line > 6 ? line - 6 - (line - 6) / 2 : 0;
    EXPECT_EQ(36, canvas.CountRgb({10, top, 16, top + 6}, 0x0000FF));
    EXPECT_EQ(0, canvas.CountRgb({0, 0, 100, 40}, 0xFF0000));
    EXPECT_EQ(0u, canvas.Rgb(16, top + 2));

    canvas.Fill(0xFF000000);
    Tagged(canvas, {10, 0, 100, 40}, L"{i img/cells24.png 0 9}", DT_SINGLELINE);
    EXPECT_EQ(36, canvas.CountRgb({10, top, 16, top + 6}, 0xFF0000));
    EXPECT_EQ(36, canvas.CountRgb({28, top, 34, top + 6}, 0xFFFFFF));

    // A missing image takes no room.
    canvas.Fill(0xFFFFFFFF);
    RECT measure = {0, 0, 100, 40};
    int none = 0;
    CRenderKit::DrawTaggedText(canvas.Dc(), &manager, measure, L"{i img/none.png}", kBlack, nullptr, nullptr, none,
                               kFont, DT_CALCRECT);
    EXPECT_EQ(0, measure.right);
}

TEST_F(TextRender, EllipsisEndsALineThatDoesNotFit)
{
    DibCanvas tagged(200, 40, 0xFFFFFFFF);
    DibCanvas expected(200, 40, 0xFFFFFFFF);
    const int cw = Extent(tagged.Dc(), L"m").cx;
    const RECT rc = {0, 0, cw * 5 + cw / 2, 40};
    Tagged(tagged, rc, L"abcdefghijklmnop", DT_SINGLELINE | DT_END_ELLIPSIS);

    HDC dc = expected.Dc();
    HRGN clip = CreateRectRgnIndirect(&rc);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
    HGDIOBJ old = SelectObject(dc, manager.FontHandle(kFont));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 0, 0, L"abc", 3);
    TextOutW(dc, 3 * cw, 0, L"...", 3);
    SelectObject(dc, old);
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(expected.ToRgba(), tagged.ToRgba());
}

TEST_F(TextRender, CalcRectMeasuresWithoutDrawing)
{
    DibCanvas canvas(200, 100, 0xFFFFFFFF);
    const TEXTMETRICW tm = Metrics(canvas.Dc());
    RECT rc = {5, 5, 200, 100};
    int none = 0;
    CRenderKit::DrawTaggedText(canvas.Dc(), &manager, rc, L"abcd", kBlack, nullptr, nullptr, none, kFont,
                               DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(5 + Extent(canvas.Dc(), L"abcd").cx, rc.right);
    EXPECT_EQ(5 + tm.tmHeight + tm.tmExternalLeading, rc.bottom);

    rc = {0, 0, 200, 100};
    CRenderKit::DrawTaggedText(canvas.Dc(), &manager, rc, L"x{y 40}", kBlack, nullptr, nullptr, none, kFont,
                               DT_CALCRECT);
    EXPECT_GE(rc.bottom, 40);
    EXPECT_EQ(0, Ink(canvas, {0, 0, 200, 100}));

    // Two lines through a line feed and an n tag.
    rc = {0, 0, 200, 100};
    CRenderKit::DrawTaggedText(canvas.Dc(), &manager, rc, L"a\nb{n}c", kBlack, nullptr, nullptr, none, kFont,
                               DT_CALCRECT);
    EXPECT_EQ(3 * (tm.tmHeight + tm.tmExternalLeading), rc.bottom);
}

// Offsets near the limits of int: the pen must not wrap around to the far
// left (or the line height turn negative) and draw or measure nonsense.
TEST_F(TextRender, HugeTagOffsetsAreCutNotWrapped)
{
    DibCanvas canvas(200, 100, 0xFFFFFFFF);
    int none = 0;
    const struct {
        const wchar_t* text;
        LONG minRight;
        LONG maxBottom;
    } cases[] = {
        {L"{x 2147483647}{x 2147483647}a", 200, 100},
        {L"a{x -2147483647}{x -2147483647}b", 0, 100},
        {L"{y 2147483647}a", 0, 200000},
        {L"{p 2147483647}a{/p}", 0, 100},
    };
    for (const auto& c : cases) {
        RECT rc = {0, 0, 200, 100};
        CRenderKit::DrawTaggedText(canvas.Dc(), &manager, rc, c.text, kBlack, nullptr, nullptr, none, kFont,
                                   DT_CALCRECT | DT_SINGLELINE);
        EXPECT_GE(rc.right, c.minRight) << c.text;
        EXPECT_LE(rc.right, 200000) << c.text;
        EXPECT_GE(rc.bottom, 0) << c.text;
        EXPECT_LE(rc.bottom, c.maxBottom) << c.text;
    }
}

TEST_F(TextRender, RawTextAndEscapesAreDrawnAsText)
{
    DibCanvas raw(300, 40, 0xFFFFFFFF);
    DibCanvas plain(300, 40, 0xFFFFFFFF);
    Tagged(raw, {0, 0, 300, 40}, L"{r}{b}x{/b}{/r}", DT_SINGLELINE);
    Tagged(plain, {0, 0, 300, 40}, L"<{>b<}>x<{>/b<}>", DT_SINGLELINE);
    EXPECT_EQ(plain.ToRgba(), raw.ToRgba());
    RECT rc = {0, 0, 300, 40};
    int none = 0;
    CRenderKit::DrawTaggedText(raw.Dc(), &manager, rc, L"{r}{b}x{/b}{/r}", kBlack, nullptr, nullptr, none, kFont,
                               DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(Extent(raw.Dc(), L"{b}x{/b}").cx, rc.right);
}

TEST_F(TextRender, UnterminatedTagsEndAtTheTextEnd)
{
    DibCanvas canvas(300, 40, 0xFFFFFFFF);
    RECT rc = {0, 0, 300, 40};
    int none = 0;
    // Each stops at the terminator instead of reading past it.
    const wchar_t* texts[] = {L"a{c #FF", L"a{x 1", L"a<b", L"a{i img/cells24.png 4", L"{f", L"{p 3", L"{r}abc",
                              L"a{/", L"{a"};
    for (const wchar_t* text : texts) {
        RECT measure = rc;
        CRenderKit::DrawTaggedText(canvas.Dc(), &manager, measure, text, kBlack, nullptr, nullptr, none, kFont,
                                   DT_CALCRECT);
        EXPECT_LE(measure.right, 300) << std::string(text, text + wcslen(text));
        Tagged(canvas, rc, text, DT_SINGLELINE);
    }
}

TEST_F(TextRender, PlainTextReferenceDrawsOneCharacter)
{
    DibCanvas viaRef(100, 40, 0xFFFFFFFF);
    DibCanvas direct(100, 40, 0xFFFFFFFF);
    RECT rc = {0, 0, 100, 40};
    CRenderKit::DrawPlainText(viaRef.Dc(), &manager, rc, L"&#x41 ", kBlack, kFont, DT_SINGLELINE);
    rc = {0, 0, 100, 40};
    CRenderKit::DrawPlainText(direct.Dc(), &manager, rc, L"A", kBlack, kFont, DT_SINGLELINE);
    EXPECT_EQ(direct.ToRgba(), viaRef.ToRgba());
    EXPECT_GT(Ink(direct, {0, 0, 100, 40}), 10);

    const CUISize size = CRenderKit::MeasureTextExtent(direct.Dc(), &manager, L"abc", kFont);
    EXPECT_EQ(Extent(direct.Dc(), L"abc").cx, size.cx);
    EXPECT_EQ(0, CRenderKit::MeasureTextExtent(direct.Dc(), &manager, L"", kFont).cx);

    DibCanvas over(40, 20, 0xFF000000);
    rc = {0, 0, 40, 20};
    CRenderKit::DrawTextOverColor(over.Dc(), &manager, rc, L"i", 0xFFFFFFFF, kFont, DT_SINGLELINE, 0xFF0000FF);
    EXPECT_EQ(0x0000FFu, over.Rgb(39, 19));
}

TEST_F(TextRender, GdiplusPathMeasuresWithCalcRect)
{
    manager.SetUseGdiplusText(true);
    DibCanvas canvas(200, 40, 0xFFFFFFFF);
    RECT rc = {0, 0, 200, 40};
    CRenderKit::DrawPlainText(canvas.Dc(), &manager, rc, L"abcd", kBlack, kFont, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(rc.right, 10);
    EXPECT_LT(rc.right, 200);
    EXPECT_EQ(0, Ink(canvas, {0, 0, 200, 40}));
    rc = {0, 0, 200, 40};
    CRenderKit::DrawPlainText(canvas.Dc(), &manager, rc, L"abcd", kBlack, kFont, DT_SINGLELINE);
    EXPECT_GT(Ink(canvas, {0, 0, 200, 40}), 10);
    manager.SetUseGdiplusText(false);
}
