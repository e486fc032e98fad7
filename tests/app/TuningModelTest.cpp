#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/tuning/TuningModel.h"

namespace {

// A stand-in for a double-byte code page: every character takes two bytes
// (high, low), so 8 characters fill all 16 bytes of the unit's name.
bool WideToDoubleByte(const wchar_t* in, char* out, size_t capacity) {
    std::string bytes;
    for (const wchar_t* c = in; *c; ++c) {
        bytes += static_cast<char>(0x80 | ((*c >> 8) & 0x7F));
        bytes += static_cast<char>(*c & 0xFF);
    }
    if (bytes.size() + 1 > capacity) return false;
    std::memcpy(out, bytes.c_str(), bytes.size() + 1);
    return true;
}

// A stand-in for a code page of three bytes per character (as UTF-8 writes CJK).
bool WideToTripleByte(const wchar_t* in, char* out, size_t capacity) {
    std::string bytes;
    for (const wchar_t* c = in; *c; ++c) {
        bytes += static_cast<char>(0xE0 | ((*c >> 12) & 0x0F));
        bytes += static_cast<char>(0x80 | ((*c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (*c & 0x3F));
    }
    if (bytes.size() + 1 > capacity) return false;
    std::memcpy(out, bytes.c_str(), bytes.size() + 1);
    return true;
}

// Latin-1: one byte per character.
bool Latin1ToWide(const char* in, wchar_t* out, size_t capacity) {
    size_t n = std::strlen(in);
    if (n + 1 > capacity) return false;
    for (size_t i = 0; i <= n; ++i) out[i] = static_cast<unsigned char>(in[i]);
    return true;
}

TEST(TuningModel, StartsEmptyWithDefaultProfiles) {
    TuningModel m;
    EXPECT_EQ(m.sceneValid, 0u);
    EXPECT_EQ(m.sceneSlot, 0);
    for (int k = 0; k < kStoredScenes; ++k) {
        EXPECT_EQ(m.SceneNameText(k), L"");
        ASSERT_NE(m.Stored(k), nullptr);
        EXPECT_EQ(m.Stored(k)->outputs[0], 1);
    }
    EXPECT_EQ(m.Stored(-1), nullptr);
    EXPECT_EQ(m.Stored(10), nullptr);
    EXPECT_EQ(m.Current().inputThreshold, -60);
}

TEST(TuningModel, CopyIsSeparate) {
    TuningModel a;
    a.Stored(2)->GetEqBands(0)[0].gain = -4.0f;
    a.SetSceneName(1, L"Club");
    TuningModel b(a);
    b.Stored(2)->GetEqBands(0)[0].gain = 1.0f;
    b.Current().mainVolume = -20;
    EXPECT_EQ(a.Stored(2)->GetEqBands(0)[0].gain, -4.0f);
    EXPECT_EQ(a.Current().mainVolume, 0);
    EXPECT_EQ(b.SceneNameText(1), L"Club");
    a = b;
    EXPECT_EQ(a.Current().mainVolume, -20);
    EXPECT_NE(&a.Current(), &b.Current());
}

TEST(TuningModel, SceneNamesStayInsideTheirSlots) {
    struct { const char* name; std::wstring in, out; } cases[] = {
        {"short", L"Home", L"Home"},
        {"eight fill the slot", L"ABCDEFGH", L"ABCDEFGH"},
        {"longer is cut", L"ABCDEFGHIJ", L"ABCDEFGH"},
        {"non-Latin", L"\x4E2D\x6587", L"\x4E2D\x6587"},
        {"empty", L"", L""},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        TuningModel m;
        m.sceneNames[4].fill(0xEE);
        m.sceneNames[5].fill(0x41);  // a neighbour with no terminator must not be read
        m.SetSceneName(4, tc.in);
        EXPECT_EQ(m.SceneNameText(4), tc.out);
        EXPECT_EQ(m.SceneNameText(5), std::wstring(8, L'\x4141')) << "a full slot ends after 8 characters";
    }
}

TEST(TuningModel, UnitNamesConvertWithoutOverrun) {
    TuningModel m;
    // Sixteen name bytes with no terminator, followed by junk.
    const char fromUnit[] = "0123456789abcdefJUNK";
    ASSERT_TRUE(m.StoreUnitSceneName(0, reinterpret_cast<const uint8_t*>(fromUnit), 16, Latin1ToWide));
    EXPECT_EQ(m.SceneNameText(0), L"01234567") << "16 narrow characters are cut to the slot's 8";
    ASSERT_TRUE(m.StoreUnitSceneName(1, reinterpret_cast<const uint8_t*>("Hall\0xyz"), 8, Latin1ToWide));
    EXPECT_EQ(m.SceneNameText(1), L"Hall");
    EXPECT_FALSE(m.StoreUnitSceneName(10, reinterpret_cast<const uint8_t*>("x"), 1, Latin1ToWide));

    m.SetSceneName(2, L"\x4E00\x4E01\x4E02\x4E03\x4E04\x4E05\x4E06\x4E07");
    UnitSceneName out;
    ASSERT_TRUE(m.ToUnitSceneName(2, out, WideToDoubleByte));
    char expected[17];
    ASSERT_TRUE(WideToDoubleByte(m.SceneNameText(2).c_str(), expected, sizeof expected));
    EXPECT_EQ(std::memcmp(out.data(), expected, 16), 0) << "all 16 bytes of a full name survive";
    EXPECT_EQ(out[16], 0);
    EXPECT_FALSE(m.ToUnitSceneName(11, out, WideToDoubleByte));
    EXPECT_EQ(out[0], 0);
}

TEST(TuningModel, UnitNameLongerThanSixteenBytesLosesWholeCharacters) {
    TuningModel m;
    m.SetSceneName(3, L"\x4E00\x4E01\x4E02\x4E03\x4E04\x4E05\x4E06\x4E07");
    UnitSceneName out;
    ASSERT_TRUE(m.ToUnitSceneName(3, out, WideToTripleByte));
    char expected[17] = {};
    ASSERT_TRUE(WideToTripleByte(L"\x4E00\x4E01\x4E02\x4E03\x4E04", expected, sizeof expected));
    EXPECT_STREQ(out.data(), expected) << "five characters (15 bytes) fit, the sixth would be split";
    EXPECT_EQ(out[15], 0);
}

}  // namespace
