#include <gtest/gtest.h>

#include <string>

#include "uilib/core/UIString.h"

using SkinUI::CUIString;

namespace {

std::wstring Repeat(wchar_t ch, int n)
{
    return std::wstring(static_cast<size_t>(n), ch);
}

bool IsInline(const CUIString& s)
{
    const char* p = reinterpret_cast<const char*>(s.CStr());
    const char* self = reinterpret_cast<const char*>(&s);
    return p >= self && p < self + sizeof(CUIString);
}

} // namespace

TEST(UIStringStorage, SixtyTwoCharactersStayInlineSixtyThreeGoToHeap)
{
    CUIString s(Repeat(L'a', 62).c_str());
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(62, s.Length());

    s = Repeat(L'b', 63).c_str();
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(Repeat(L'b', 63), s.CStr());

    s = Repeat(L'c', 64).c_str();
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(Repeat(L'c', 64), s.CStr());

    s = L"short text";
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(L"short text", s.CStr());
}

TEST(UIStringStorage, ShorterHeapTextReusesBlockLongerOneReallocates)
{
    CUIString s(Repeat(L'x', 100).c_str());
    const wchar_t* block = s.CStr();
    s = Repeat(L'y', 70).c_str();
    EXPECT_EQ(block, s.CStr());
    EXPECT_EQ(Repeat(L'y', 70), s.CStr());

    s = Repeat(L'z', 200).c_str();
    EXPECT_EQ(Repeat(L'z', 200), s.CStr());
    EXPECT_EQ(200, s.Length());
}

TEST(UIStringStorage, AppendAcrossThresholdKeepsFirstCharacters)
{
    std::wstring start = L"0123456789" + Repeat(L'k', 52);
    CUIString s(start.c_str());
    ASSERT_TRUE(IsInline(s));
    s += L'!';
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(start + L"!", s.CStr());
    s += L"tail";
    s += CUIString(L"+more");
    EXPECT_EQ(start + L"!tail+more", s.CStr());
}

TEST(UIStringStorage, ConstructorsAndClear)
{
    EXPECT_STREQ(L"", CUIString(nullptr).CStr());
    EXPECT_STREQ(L"abc", CUIString(L"abcdef", 3).CStr());
    EXPECT_STREQ(L"q", CUIString(L'q').CStr());
    CUIString copy(CUIString(Repeat(L'h', 90).c_str()));
    EXPECT_EQ(Repeat(L'h', 90), copy.CStr());

    copy.Clear();
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_TRUE(IsInline(copy));
    EXPECT_EQ(0, copy.Length());

    CUIString s(L"x");
    s = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s += static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(UIStringStorage, AssigningAndAppendingOwnTextIsSafe)
{
    CUIString s(L"0123456789");
    s = s.CStr() + 3;
    EXPECT_STREQ(L"3456789", s.CStr());

    CUIString heap(Repeat(L'm', 80).c_str());
    heap = heap.CStr() + 10;
    EXPECT_EQ(Repeat(L'm', 70), heap.CStr());

    CUIString twice(Repeat(L'd', 40).c_str());
    twice += twice;
    EXPECT_EQ(Repeat(L'd', 80), twice.CStr());
    twice += twice.CStr() + 70;
    EXPECT_EQ(Repeat(L'd', 90), twice.CStr());

    CUIString self(L"same");
    self = self;
    EXPECT_STREQ(L"same", self.CStr());
}

TEST(UIStringCompare, CaseSensitiveAndIgnoringCase)
{
    CUIString s(L"Button");
    EXPECT_TRUE(s == L"Button");
    EXPECT_FALSE(s == L"button");
    EXPECT_TRUE(s != L"button");
    EXPECT_TRUE(L"Button" == s);
    EXPECT_TRUE(s == CUIString(L"Button"));
    EXPECT_LT(s.Compare(L"Buttoo"), 0);
    EXPECT_GT(s.Compare(L"Butto"), 0);
    EXPECT_EQ(0, s.CompareIgnoreCase(L"bUTTON"));
    EXPECT_LT(s.CompareIgnoreCase(L"buttons"), 0);
    EXPECT_GT(s.CompareIgnoreCase(nullptr), 0);
    EXPECT_TRUE(CUIString(L"Abc") < CUIString(L"abc"));
    EXPECT_FALSE(CUIString(L"abc") < L"abc");

    s.ToLower();
    EXPECT_STREQ(L"button", s.CStr());
}

TEST(UIStringSlices, PrefixSubstringSuffix)
{
    CUIString s(L"skin/main.xml");
    EXPECT_STREQ(L"skin", s.Prefix(4).CStr());
    EXPECT_STREQ(L"", s.Prefix(-3).CStr());
    EXPECT_STREQ(L"skin/main.xml", s.Prefix(99).CStr());

    EXPECT_STREQ(L"main", s.Substring(5, 4).CStr());
    EXPECT_STREQ(L"main.xml", s.Substring(5).CStr());
    EXPECT_STREQ(L"xml", s.Substring(10, 50).CStr());
    EXPECT_STREQ(L"", s.Substring(13, 2).CStr());
    EXPECT_STREQ(L"", s.Substring(14).CStr());
    EXPECT_STREQ(L"", s.Substring(-1).CStr());

    EXPECT_STREQ(L".xml", s.Suffix(4).CStr());
    EXPECT_STREQ(L"skin/main.xml", s.Suffix(40).CStr());
    EXPECT_STREQ(L"", s.Suffix(0).CStr());

    CUIString joined = CUIString(L"ab") + CUIString(L"cd");
    EXPECT_STREQ(L"abcd", joined.CStr());
}

TEST(UIStringSearch, IndexOfBoundaries)
{
    CUIString s(L"a.b.c");
    EXPECT_EQ(1, s.IndexOf(L"."));
    EXPECT_EQ(3, s.IndexOf(L".", 2));
    EXPECT_EQ(-1, s.IndexOf(L".", 4));
    EXPECT_EQ(5, s.IndexOf(L"", 5));
    EXPECT_EQ(-1, s.IndexOf(L"", 6));
    EXPECT_EQ(-1, s.IndexOf(L".", -1));
    EXPECT_EQ(-1, s.IndexOf(nullptr));

    EXPECT_EQ(3, s.IndexOfChar(L'.', 2));
    EXPECT_EQ(-1, s.IndexOfChar(L'c', 5));
    EXPECT_EQ(4, s.IndexOfChar(L'c', 4));
    EXPECT_EQ(-1, s.IndexOfChar(L'a', -1));
    EXPECT_EQ(-1, CUIString().IndexOfChar(L'a', 0));

    EXPECT_EQ(3, s.LastIndexOfChar(L'.'));
    EXPECT_EQ(-1, s.LastIndexOfChar(L'z'));
}

TEST(UIStringReplace, InsertedTextIsNotSearchedAgain)
{
    CUIString s(L"aaa");
    EXPECT_EQ(3, s.ReplaceAll(L"a", L"aa"));
    EXPECT_STREQ(L"aaaaaa", s.CStr());

    CUIString path(L"xml\\main\\dlg.xml");
    EXPECT_EQ(2, path.ReplaceAll(L"\\", L"/"));
    EXPECT_STREQ(L"xml/main/dlg.xml", path.CStr());

    CUIString text(L"{\\n}line{\\n}");
    EXPECT_EQ(2, text.ReplaceAll(L"{\\n}", L""));
    EXPECT_STREQ(L"line", text.CStr());

    CUIString none(L"abc");
    EXPECT_EQ(0, none.ReplaceAll(L"", L"x"));
    EXPECT_EQ(0, none.ReplaceAll(L"zz", L"x"));
    EXPECT_STREQ(L"abc", none.CStr());

    CUIString grow(Repeat(L'-', 60).c_str());
    EXPECT_EQ(60, grow.ReplaceAll(L"-", L"<>"));
    EXPECT_EQ(120, grow.Length());
    EXPECT_EQ(0, grow.IndexOf(L"<><>"));

    CUIString own(L"abcabc");
    EXPECT_EQ(2, own.ReplaceAll(own.CStr() + 3, own.CStr()));
    EXPECT_STREQ(L"abcabcabcabc", own.CStr());
}
