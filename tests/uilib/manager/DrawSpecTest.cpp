// The image attribute syntax, parsed with and without a manager's DPI scale.
#include <gtest/gtest.h>

#include "uilib/core/UIManager.h"
#include "tests/uilib/kit/ExpectRect.h"

using namespace SkinUI;
using SkinUITest::ExpectRect;

namespace {

TImageDrawSpec ParsedAlone(const wchar_t* attributes, const wchar_t* modifier = nullptr)
{
    TImageDrawSpec spec;
    spec.Parse(attributes, modifier, nullptr);
    return spec;
}

} // namespace

TEST(DrawSpecParse, ScaledManagerRewritesNameAndRectangles)
{
    CPaintManagerUI manager;
    manager.ApplyDpi(144);
    TImageDrawSpec spec;
    spec.Parse(L"file='a.png' dest='0,0,10,10' fade='128'", nullptr, &manager);
    EXPECT_EQ(spec.imageName, L"a@150.png");
    ExpectRect(spec.dest, 0, 0, 15, 15);
    EXPECT_EQ(spec.fade, 128);
    EXPECT_EQ(spec.attributeText, L"file='a.png' dest='0,0,10,10' fade='128'");
}

TEST(DrawSpecParse, EveryRectangleIsScaled)
{
    CPaintManagerUI manager;
    manager.ApplyDpi(192);
    TImageDrawSpec spec;
    spec.Parse(L"file='x.png' source='1,2,3,4' corner='5,6,7,8'", nullptr, &manager);
    EXPECT_EQ(spec.imageName, L"x@200.png");
    ExpectRect(spec.source, 2, 4, 6, 8);
    ExpectRect(spec.corners, 10, 12, 14, 16);
}

TEST(DrawSpecParse, NormalScaleKeepsEverything)
{
    CPaintManagerUI manager;
    TImageDrawSpec spec;
    spec.Parse(L"file='a.b.png' dest='1,2,3,4'", nullptr, &manager);
    EXPECT_EQ(spec.imageName, L"a.b.png");
    ExpectRect(spec.dest, 1, 2, 3, 4);
}

TEST(DrawSpecParse, BareValueIsTheImageNameWithDefaults)
{
    TImageDrawSpec spec = ParsedAlone(L"a.png");
    EXPECT_EQ(spec.imageName, L"a.png");
    EXPECT_TRUE(spec.resourceType.IsEmpty());
    ExpectRect(spec.dest, 0, 0, 0, 0);
    ExpectRect(spec.source, 0, 0, 0, 0);
    ExpectRect(spec.corners, 0, 0, 0, 0);
    EXPECT_EQ(spec.mask, 0u);
    EXPECT_EQ(spec.fade, 255);
    EXPECT_FALSE(spec.hole || spec.xTiled || spec.yTiled || spec.hsl);
}

TEST(DrawSpecParse, EveryKeyReachesItsField)
{
    TImageDrawSpec spec = ParsedAlone(L"res='12' restype='PNG' source='1,2,3,4' corner='4,3,2,1' mask='#FF00FF00' "
                                      L"hole='TRUE' xtiled='true' ytiled='yes' hsl='True' iconsize='16,24' "
                                      L"iconalign='left'");
    EXPECT_EQ(spec.imageName, L"12");
    EXPECT_EQ(spec.resourceType, L"PNG");
    ExpectRect(spec.source, 1, 2, 3, 4);
    ExpectRect(spec.corners, 4, 3, 2, 1);
    EXPECT_EQ(spec.mask, 0xFF00FF00u);
    EXPECT_TRUE(spec.hole);
    EXPECT_TRUE(spec.xTiled);
    EXPECT_FALSE(spec.yTiled);
    EXPECT_TRUE(spec.hsl);
    EXPECT_EQ(spec.iconSize.cx, 16);
    EXPECT_EQ(spec.iconSize.cy, 24);
    EXPECT_EQ(spec.iconAlign, L"left");
}

// The name, fade, mask and destination that one attribute text leaves.
TEST(DrawSpecParse, EachTextLeavesItsNameFadeMaskAndDestination)
{
    const struct {
        const char* what;
        const wchar_t* attributes;
        const wchar_t* modifier;
        const wchar_t* name;
        int fade;
        DWORD mask;
        RECT dest;
    } cases[] = {
        {"mask with a hash", L"file='a.png' mask='#FFAA0011'", nullptr, L"a.png", 255, 0xFFAA0011u, {}},
        {"mask without a hash", L"file='a.png' mask='FFAA0011'", nullptr, L"a.png", 255, 0xFFAA0011u, {}},
        {"fade keeps the low byte", L"file='a.png' fade='300'", nullptr, L"a.png", 300 & 0xFF, 0, {}},
        // No blank after a value: the rest of that text is ignored.
        {"glued item", L"file='a.png' dest='1,2,3,4'x fade='10'", nullptr, L"a.png", 255, 0, {1, 2, 3, 4}},
        // A missing closing quote keeps the whole text as the name.
        {"open quote", L"file='a.png", nullptr, L"file='a.png", 255, 0, {}},
        // A missing "=" ends the pass; the modifier pass still runs.
        {"no equals sign", L"file 'a.png'", L"fade='9'", L"file 'a.png'", 9, 0, {}},
        {"blanks around the equals sign", L"  file = 'b.png' fade =  '20'", nullptr, L"b.png", 20, 0, {}},
        {"empty value and unknown keys", L"file='' other='x' FILE='c.png' fade='7'", nullptr,
         L"file='' other='x' FILE='c.png' fade='7'", 7, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TImageDrawSpec parsed = ParsedAlone(c.attributes, c.modifier);
        EXPECT_EQ(parsed.imageName, c.name);
        EXPECT_EQ(parsed.fade, c.fade);
        EXPECT_EQ(parsed.mask, c.mask);
        ExpectRect(parsed.dest, c.dest.left, c.dest.top, c.dest.right, c.dest.bottom);
    }
}

TEST(DrawSpecParse, ModifierIsReadAfterTheAttributes)
{
    TImageDrawSpec spec = ParsedAlone(L"file='a.png' source='0,0,10,10'", L"source='10,0,20,10' fade='40'");
    ExpectRect(spec.source, 10, 0, 20, 10);
    EXPECT_EQ(spec.fade, 40);
    EXPECT_EQ(spec.imageName, L"a.png");
    EXPECT_EQ(spec.modifierText, L"source='10,0,20,10' fade='40'");
}

TEST(DrawSpecParse, ShortNumberListsReadMissingNumbersAsZero)
{
    ExpectRect(ParsedAlone(L"file='a.png' dest='5,6'").dest, 5, 6, 0, 0);
    ExpectRect(ParsedAlone(L"file='a.png' corner='7'").corners, 7, 0, 0, 0);
    TImageDrawSpec icon = ParsedAlone(L"file='a.png' iconsize='9'");
    EXPECT_EQ(icon.iconSize.cx, 9);
    EXPECT_EQ(icon.iconSize.cy, 0);
}

TEST(DrawSpecParse, ParsingAgainResetsNothingButWhatIsGiven)
{
    TImageDrawSpec spec = ParsedAlone(L"file='a.png' fade='1'");
    spec.Reset();
    EXPECT_TRUE(spec.imageName.IsEmpty());
    EXPECT_EQ(spec.fade, 255);
    spec.Parse(spec.attributeText, spec.modifierText, nullptr);
    EXPECT_TRUE(spec.imageName.IsEmpty());
}

TEST(DrawSpecVariant, StripsEveryPercentMarker)
{
    CUIString plain;
    EXPECT_TRUE(TImageDrawSpec::StripDpiVariant(L"img/a@150.png", plain));
    EXPECT_EQ(plain, L"img/a.png");
    EXPECT_TRUE(TImageDrawSpec::StripDpiVariant(L"a@125.b@125.png", plain));
    EXPECT_EQ(plain, L"a.b.png");
    EXPECT_FALSE(TImageDrawSpec::StripDpiVariant(L"a.png", plain));
    EXPECT_FALSE(TImageDrawSpec::StripDpiVariant(L"mail@home.png", plain));
    EXPECT_FALSE(TImageDrawSpec::StripDpiVariant(L"a@.png", plain));
    EXPECT_FALSE(TImageDrawSpec::StripDpiVariant(nullptr, plain));
}

TEST(DrawSpecCache, OneParsedSpecPerTextPair)
{
    CPaintManagerUI manager;
    TImageDrawSpec* first = manager.CachedImageDrawSpec(L"file='a.png'", L"fade='10'");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->fade, 10);
    EXPECT_EQ(manager.CachedImageDrawSpec(L"file='a.png'", L"fade='10'"), first);
    TImageDrawSpec* other = manager.CachedImageDrawSpec(L"file='a.png'", nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, first);
    EXPECT_EQ(other->fade, 255);
    EXPECT_EQ(manager.CachedImageDrawSpec(L"", L""), nullptr);
    EXPECT_EQ(manager.CachedImageDrawSpec(nullptr, nullptr), nullptr);
}

TEST(DrawSpecCache, DpiChangeDropsCachedSpecs)
{
    CPaintManagerUI manager;
    EXPECT_EQ(manager.CachedImageDrawSpec(L"file='a.png'", nullptr)->imageName, L"a.png");
    manager.ApplyDpi(120);
    EXPECT_EQ(manager.CachedImageDrawSpec(L"file='a.png'", nullptr)->imageName, L"a@125.png");
}
