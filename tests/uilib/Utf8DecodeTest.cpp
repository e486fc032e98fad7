#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uilib/core/Utf8Decode.h"

namespace {

std::wstring Decode(const std::string& bytes)
{
    std::vector<wchar_t> out(bytes.size() + 1, L'#');
    size_t n = SkinUI::Utf8ToWide(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), out.data());
    EXPECT_LE(n, bytes.size());
    return std::wstring(out.data(), n);
}

} // namespace

TEST(Utf8Decode, ValidSequences)
{
    EXPECT_EQ(L"abc", Decode("abc"));
    EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(0xE9)), Decode("\xC3\xA9"));
    EXPECT_EQ(std::wstring(L"\x4E2D\x6587"), Decode("\xE4\xB8\xAD\xE6\x96\x87"));
    std::wstring emoji = Decode("\xF0\x9F\x8E\xB5");
    if (sizeof(wchar_t) == 2) {
        ASSERT_EQ(2u, emoji.size());
        EXPECT_EQ(0xD83C, static_cast<int>(emoji[0]));
        EXPECT_EQ(0xDFB5, static_cast<int>(emoji[1]));
    } else {
        ASSERT_EQ(1u, emoji.size());
        EXPECT_EQ(0x1F3B5, static_cast<int>(emoji[0]));
    }
    EXPECT_EQ(std::wstring(L"a\0b", 3), Decode(std::string("a\0b", 3)));
}

TEST(Utf8Decode, MalformedInputBecomesReplacement)
{
    const std::wstring r(1, static_cast<wchar_t>(0xFFFD));
    EXPECT_EQ(r + L"x", Decode("\xC3x"));           // missing continuation
    EXPECT_EQ(L"a" + r, Decode("a\xE4\xB8"));        // truncated at the end
    EXPECT_EQ(r + r, Decode("\x80\xBF"));            // stray continuations
    EXPECT_EQ(r, Decode("\xC0\xAF"));                // overlong "/"
    EXPECT_EQ(r, Decode("\xED\xA0\x80"));            // encoded surrogate
    EXPECT_EQ(r, Decode("\xF4\x90\x80\x80"));        // above U+10FFFF
    EXPECT_EQ(r + L"z", Decode("\xFFz"));
}
