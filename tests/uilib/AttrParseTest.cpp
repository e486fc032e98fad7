#include <gtest/gtest.h>

#include <vector>

#include "uilib/core/AttrParse.h"
#include "uilib/core/UIString.h"

using namespace SkinUI;

TEST(AttrParse, BooleansAreTrueOnlyForTrueInAnyCase)
{
    EXPECT_TRUE(ParseAttrBool(L"true"));
    EXPECT_TRUE(ParseAttrBool(L"TrUe"));
    EXPECT_FALSE(ParseAttrBool(L"1"));
    EXPECT_FALSE(ParseAttrBool(L"true "));
    EXPECT_FALSE(ParseAttrBool(L""));
    EXPECT_FALSE(ParseAttrBool(nullptr));
}

TEST(AttrParse, ColoursWithAndWithoutHashAndBlanks)
{
    EXPECT_EQ(0xFF336699u, ParseAttrColor(L"#FF336699", false));
    EXPECT_EQ(0xFF336699u, ParseAttrColor(L"FF336699", false));
    EXPECT_EQ(0xFF336699u, ParseAttrColor(L"  #ff336699", true));
    // Without blank skipping a leading blank reads as no colour.
    EXPECT_EQ(0u, ParseAttrColor(L" #FF336699", false));
    EXPECT_EQ(0x12u, ParseAttrColor(L"#12xyz", false));
    EXPECT_EQ(0u, ParseAttrColor(L"#", false));
    // Never more than eight digits.
    EXPECT_EQ(0x12345678u, ParseAttrColor(L"123456789A", false));
}

TEST(AttrParse, NumberListsUseOneSeparatorAndFillMissingWithZero)
{
    int32_t v[4] = {7, 7, 7, 7};
    EXPECT_EQ(4, ParseAttrIntList(L"-1,-1,100,50", v, 4));
    EXPECT_EQ(std::vector<int32_t>({-1, -1, 100, 50}), std::vector<int32_t>(v, v + 4));

    EXPECT_EQ(3, ParseAttrIntList(L"1 2;3", v, 4));
    EXPECT_EQ(std::vector<int32_t>({1, 2, 3, 0}), std::vector<int32_t>(v, v + 4));

    EXPECT_EQ(0, ParseAttrIntList(L"", v, 4));
    EXPECT_EQ(0, v[0]);
    EXPECT_EQ(0, ParseAttrIntList(nullptr, v, 2));
}

TEST(AttrParse, ShortListNeverReadsStaleCharactersBehindTheTerminator)
{
    // A string whose inline buffer once held a longer list.
    CUIString text(L"10,20,30,40");
    text = L"10";
    int32_t v[4] = {9, 9, 9, 9};
    EXPECT_EQ(1, ParseAttrIntList(text, v, 4));
    EXPECT_EQ(std::vector<int32_t>({10, 0, 0, 0}), std::vector<int32_t>(v, v + 4));

    // A list ending in a separator stops at the terminator too.
    text = L"10,20,30,40";
    text = L"5,";
    EXPECT_EQ(1, ParseAttrIntList(text, v, 4));
    EXPECT_EQ(5, v[0]);
    EXPECT_EQ(0, v[1]);
}

TEST(AttrParse, DoubleListsReadFractions)
{
    double v[4] = {9, 9, 9, 9};
    EXPECT_EQ(4, ParseAttrDoubleList(L"0.5,0,1,1", v, 4));
    EXPECT_DOUBLE_EQ(0.5, v[0]);
    EXPECT_DOUBLE_EQ(0.0, v[1]);
    EXPECT_DOUBLE_EQ(1.0, v[3]);
    EXPECT_EQ(1, ParseAttrDoubleList(L"0.25", v, 4));
    EXPECT_DOUBLE_EQ(0.25, v[0]);
    EXPECT_DOUBLE_EQ(0.0, v[3]);
}

TEST(AttrParse, NamesCompareWithAsciiCaseFold)
{
    EXPECT_TRUE(AttrNameEquals(L"BkColor", L"bkcolor"));
    EXPECT_FALSE(AttrNameEquals(L"bkcolor", L"bkcolor1"));
    EXPECT_FALSE(AttrNameEquals(L"bkcolor1", L"bkcolor"));
    EXPECT_TRUE(AttrNameEquals(nullptr, nullptr));
    EXPECT_FALSE(AttrNameEquals(L"a", nullptr));
}

TEST(AttrParse, IntegersReadFromTheStart)
{
    EXPECT_EQ(42, ParseAttrInt(L"42px"));
    EXPECT_EQ(-3, ParseAttrInt(L"-3"));
    EXPECT_EQ(0, ParseAttrInt(L"x1"));
    EXPECT_EQ(0, ParseAttrInt(nullptr));
}
