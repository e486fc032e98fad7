// A bounded fuzz run of the zip reader: mutated copies of the Info-ZIP
// fixtures, from a fixed seed, opened and read in full. Run natively with the
// sanitizers, which turn any read or write out of bounds into a failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "uilib/core/ZipHandle.h"

using namespace SkinUI;

namespace {

const char* const kArchives[] = {"plain_stored.zip", "plain_deflated.zip", "crypt_stored.zip",
                                 "crypt_deflated.zip"};
const wchar_t* const kMembers[] = {L"counting.txt", L"noise.bin", L"k1000.txt", L"r1000.bin",
                                   L"XML/main_dlg.xml", L"empty.txt"};
constexpr int kRounds = 300000;

std::vector<uint8_t> ReadFixture(const char* name) {
    std::vector<uint8_t> data;
    std::string path = std::string(BRISA_ZIP_FIXTURES) + "/" + name;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return data;
    uint8_t chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0) data.insert(data.end(), chunk, chunk + n);
    std::fclose(f);
    return data;
}

void Mutate(std::vector<uint8_t>& bytes, std::mt19937& random) {
    switch (random() % 4) {
    case 0:  // flip a few bits
        for (int i = 1 + random() % 8; i > 0; --i) bytes[random() % bytes.size()] ^= 1u << (random() % 8);
        break;
    case 1:  // cut the archive short
        bytes.resize(random() % bytes.size());
        break;
    case 2: {  // overwrite a 16- or 32-bit field, often with an extreme value
        size_t at = random() % bytes.size();
        const uint32_t extremes[] = {0u, 0xFFFFu, 0xFFFFFFFFu, 0x7FFFFFFFu, static_cast<uint32_t>(random())};
        uint32_t value = extremes[random() % 5];
        for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        break;
    }
    default:  // random bytes over a stretch
        for (size_t at = random() % bytes.size(), n = 1 + random() % 32; n > 0 && at < bytes.size(); --n, ++at)
            bytes[at] = static_cast<uint8_t>(random());
        break;
    }
}

// Opens an exact-size heap copy and reads every member it can find.
int ReadEverything(const std::vector<uint8_t>& bytes, const char* password) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.empty() ? 1 : bytes.size()]);
    if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
    HZIP zip = ZipOpenMemory(copy.get(), static_cast<uint32_t>(bytes.size()), password);
    if (!zip) return 0;
    int membersRead = 0;
    for (const wchar_t* name : kMembers) {
        int index = -1;
        TZipItem item;
        if (ZipFindItem(zip, name, false, &index, &item) != ZR_OK) continue;
        std::vector<uint8_t> out(item.uncompressedSize > (1u << 20) ? (1u << 20) : item.uncompressedSize + 1);
        if (ZipUnzipToMemory(zip, index, out.data(), static_cast<uint32_t>(out.size())) == ZR_OK) ++membersRead;
    }
    ZipClose(zip);
    return membersRead;
}

TEST(ZipFuzz, MutatedArchivesNeverReadOutOfBounds) {
    std::vector<std::vector<uint8_t>> originals;
    for (const char* name : kArchives) {
        originals.push_back(ReadFixture(name));
        ASSERT_FALSE(originals.back().empty()) << name;
    }
    std::mt19937 random(20261207);
    long membersRead = 0;
    for (int round = 0; round < kRounds; ++round) {
        size_t which = random() % originals.size();
        std::vector<uint8_t> bytes = originals[which];
        for (int i = 1 + random() % 3; i > 0 && !bytes.empty(); --i) Mutate(bytes, random);
        membersRead += ReadEverything(bytes, which >= 2 ? BRISA_ZIP_FIXTURE_PASSWORD : nullptr);
    }
    // Most mutations leave some members intact: the run reached the readers.
    EXPECT_GT(membersRead, kRounds / 10);
}

}  // namespace
