#include "device/Base64.h"

#include <array>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kSkip = 0xFF;
constexpr uint8_t kPad = 0xFE;

constexpr std::array<uint8_t, 256> MakeDecodeTable() {
    std::array<uint8_t, 256> table{};
    for (auto& entry : table) entry = kSkip;
    for (uint8_t i = 0; i < 64; ++i) table[static_cast<uint8_t>(kAlphabet[i])] = i;
    table['='] = kPad;
    return table;
}

constexpr std::array<uint8_t, 256> kDecode = MakeDecodeTable();
// The table is made while compiling; any compiler must be able to.
static_assert(kDecode['A'] == 0 && kDecode['/'] == 63 && kDecode['='] == kPad && kDecode['*'] == kSkip,
              "decode table");

}  // namespace

bool Base64Encode(const uint8_t* data, uint32_t length, char* out, uint32_t* capacity) {
    if (!out || !capacity || *capacity == 0 || (!data && length > 0)) return false;
    uint64_t needed = (static_cast<uint64_t>(length) + 2) / 3 * 4 + 1;
    if (*capacity < needed) return false;
    uint32_t o = 0;
    uint32_t i = 0;
    for (; i + 3 <= length; i += 3) {
        uint32_t v = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        out[o++] = kAlphabet[(v >> 18) & 63];
        out[o++] = kAlphabet[(v >> 12) & 63];
        out[o++] = kAlphabet[(v >> 6) & 63];
        out[o++] = kAlphabet[v & 63];
    }
    uint32_t rest = length - i;
    if (rest > 0) {
        uint32_t v = data[i] << 16;
        if (rest == 2) v |= data[i + 1] << 8;
        out[o++] = kAlphabet[(v >> 18) & 63];
        out[o++] = kAlphabet[(v >> 12) & 63];
        out[o++] = rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out[o++] = '=';
    }
    out[o] = '\0';
    *capacity = o;
    return true;
}

bool Base64Decode(const std::string& text, uint8_t* out, uint32_t* capacity) {
    if (!capacity || (!out && *capacity > 0)) return false;
    uint32_t written = 0;
    uint32_t group = 0;
    int counted = 0;
    int yields = 3;
    for (unsigned char c : text) {
        uint8_t v = kDecode[c];
        if (v == kSkip) continue;
        if (v == kPad) {
            v = 0;
            --yields;
        }
        group = (group << 6) | v;
        if (++counted < 4) continue;
        if (yields < 1) break;
        if (written + static_cast<uint32_t>(yields) > *capacity) return false;
        out[written++] = static_cast<uint8_t>(group >> 16);
        if (yields > 1) out[written++] = static_cast<uint8_t>(group >> 8);
        if (yields > 2) out[written++] = static_cast<uint8_t>(group);
        if (yields < 3) break;  // padding ends the text
        group = 0;
        counted = 0;
    }
    *capacity = written;
    return true;
}
