#include "device/Base64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

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

struct DecodeCase {
    const char* text;
    uint32_t capacity;
    bool decoded;
    std::string bytes;  // what a decoded text gives
};

TEST(Base64, DecodesIntoCapacity) {
    const DecodeCase cases[] = {
        {"YWJj", 3, true, "abc"},
        {"YWJj", 2, false, ""},
        {"YQ==", 3, true, "a"},
        // Foreign bytes are skipped.
        {"YW\r\nJj", 3, true, "abc"},
        {"Y\xC3W Jj", 3, true, "abc"},
        // Decoding stops after a padded group and drops an incomplete tail.
        {"YQ==YWJj", 8, true, "a"},
        {"YWJjYW", 8, true, "abc"},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.text << " into " << c.capacity);
        std::vector<uint8_t> out(c.capacity);  // exactly the room given
        uint32_t cap = c.capacity;
        ASSERT_EQ(c.decoded, Base64Decode(c.text, out.data(), &cap));
        if (!c.decoded) continue;
        EXPECT_EQ(c.bytes.size(), cap);
        EXPECT_EQ(c.bytes, std::string(out.begin(), out.begin() + cap));
    }
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
