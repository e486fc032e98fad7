#include <gtest/gtest.h>

#include <string>

#include "uilib/core/UIString.h"

using SkinUI::CUIString;

TEST(UIStringPrintf, WideStringArgumentPrintsWhole)
{
    CUIString s;
    EXPECT_EQ(4, s.Printf(L"%s|%d", L"ab", 5));
    EXPECT_STREQ(L"ab|5", s.CStr());

    EXPECT_EQ(10, s.Printf(L"[%S]%02x", "narrow", 0xA));
    EXPECT_STREQ(L"[narrow]0a", s.CStr());
}

TEST(UIStringPrintf, LongResultTakesHeapBlock)
{
    std::wstring part(700, L'w');
    CUIString s;
    EXPECT_EQ(1401, s.Printf(L"%s-%s", part.c_str(), part.c_str()));
    EXPECT_EQ(part + L"-" + part, s.CStr());
}

TEST(UIStringPrintf, ArgumentMayBeTheStringItself)
{
    CUIString s(L"self");
    s.Printf(L"<%s>", s.CStr());
    EXPECT_STREQ(L"<self>", s.CStr());
}

TEST(UIStringPrintf, ShortFormCutsToSixtyThreeCharacters)
{
    std::wstring hundred(100, L'h');
    CUIString s;
    EXPECT_EQ(-1, s.PrintfShort(L"%s", hundred.c_str()));
    EXPECT_EQ(std::wstring(63, L'h'), s.CStr());

    EXPECT_EQ(5, s.PrintfShort(L"%s:%d", L"id", 42));
    EXPECT_STREQ(L"id:42", s.CStr());
}
