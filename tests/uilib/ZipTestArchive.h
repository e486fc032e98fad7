#pragma once
// Builds zip archives in memory for the reader's tests, including forms the
// Info-ZIP tool does not write (encryption checked against the CRC, foreign
// methods, comments, timestamps) and with the offsets a test needs to damage
// them on purpose.

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUITest {

struct TTestMember {
    std::string name;
    std::vector<uint8_t> data;
    uint16_t method = 0; // 0 stored, 8 deflated, anything else: data kept raw
    std::string password; // empty: not encrypted
    bool descriptor = false; // flag bit 3: check byte from the time, data descriptor follows
    uint16_t dosTime = 0x6000; // 12:00:00
    uint16_t dosDate = 0x5021; // 2020-01-01
    std::vector<uint8_t> centralExtra;
};

struct TTestArchive {
    std::vector<uint8_t> bytes;
    std::vector<size_t> localOffsets; // of each local header
    std::vector<size_t> dataOffsets; // of each member's data (after its encryption header)
    std::vector<size_t> centralOffsets; // of each central header
    size_t endOffset = 0; // of the end record
};

TTestArchive BuildTestZip(const std::vector<TTestMember>& members, const std::string& comment = "");

// Raw deflate of data (no zlib header), as zip members carry it.
std::vector<uint8_t> RawDeflate(const std::vector<uint8_t>& data);

std::vector<uint8_t> TextBytes(const std::string& text);
// Deterministic pseudo-random bytes that do not compress.
std::vector<uint8_t> NoiseBytes(size_t size, uint32_t seed);

} // namespace SkinUITest
