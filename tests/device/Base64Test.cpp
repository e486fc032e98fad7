#include "device/Base64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

std::string Encode(const std::string& bytes, uint32_t capacity = 64) {
    char out[64];
    uint32_t cap = capacity;
    if (!Base64Encode(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()), out, &cap))
        return "<fail>";
    EXPECT_EQ(std::strlen(out), cap);
    return out;
}

TEST(Base64, EncodesWithPadding) {
    EXPECT_EQ("YWJj", Encode("abc"));
    EXPECT_EQ("YWI=", Encode("ab"));
    EXPECT_EQ("YQ==", Encode("a"));
    EXPECT_EQ("", Encode(""));
}

TEST(Base64, EncodeNeedsRoomForTextAndTerminator) {
    uint8_t name[16] = {};
    char out[32];
    uint32_t cap = 24;
    EXPECT_FALSE(Base64Encode(name, 16, out, &cap));
    cap = 25;
    ASSERT_TRUE(Base64Encode(name, 16, out, &cap));
    EXPECT_EQ(24u, cap);
    EXPECT_EQ('\0', out[24]);
    cap = 0;
    EXPECT_FALSE(Base64Encode(name, 16, out, &cap));
    cap = 25;
    EXPECT_FALSE(Base64Encode(name, 16, nullptr, &cap));
}

TEST(Base64, DecodesIntoCapacity) {
    uint8_t out[3];
    uint32_t cap = 3;
    ASSERT_TRUE(Base64Decode("YWJj", out, &cap));
    EXPECT_EQ(3u, cap);
    EXPECT_EQ(0, std::memcmp(out, "abc", 3));
    cap = 2;
    EXPECT_FALSE(Base64Decode("YWJj", out, &cap));
    cap = 3;
    ASSERT_TRUE(Base64Decode("YQ==", out, &cap));
    EXPECT_EQ(1u, cap);
    EXPECT_EQ('a', out[0]);
}

TEST(Base64, SkipsForeignBytes) {
    uint8_t out[3];
    uint32_t cap = 3;
    ASSERT_TRUE(Base64Decode("YW\r\nJj", out, &cap));
    EXPECT_EQ(3u, cap);
    EXPECT_EQ(0, std::memcmp(out, "abc", 3));
    cap = 3;
    ASSERT_TRUE(Base64Decode("Y\xC3W Jj", out, &cap));
    EXPECT_EQ(3u, cap);
    EXPECT_EQ(0, std::memcmp(out, "abc", 3));
}

TEST(Base64, StopsAfterPaddedGroupAndDropsIncompleteTail) {
    uint8_t out[8];
    uint32_t cap = 8;
    ASSERT_TRUE(Base64Decode("YQ==YWJj", out, &cap));
    EXPECT_EQ(1u, cap);
    cap = 8;
    ASSERT_TRUE(Base64Decode("YWJjYW", out, &cap));
    EXPECT_EQ(3u, cap);
}

TEST(Base64, SceneNamesRoundTrip) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        uint8_t name[16];
        for (auto& b : name) b = static_cast<uint8_t>(random());
        char text[25];
        uint32_t cap = sizeof(text);
        ASSERT_TRUE(Base64Encode(name, 16, text, &cap));
        uint8_t back[16];
        uint32_t backCap = sizeof(back);
        ASSERT_TRUE(Base64Decode(text, back, &backCap));
        ASSERT_EQ(16u, backCap);
        ASSERT_EQ(0, std::memcmp(name, back, 16));
    }
}

}  // namespace
