#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/uilib/ZipTestArchive.h"
#include "uilib/core/ZipHandle.h"

// Folder of the Info-ZIP archives made at build time, and their password.
#ifndef BRISA_ZIP_FIXTURES
#error "BRISA_ZIP_FIXTURES must name the fixture folder"
#endif
#ifndef BRISA_ZIP_FIXTURE_PASSWORD
#error "BRISA_ZIP_FIXTURE_PASSWORD must give the fixtures' password"
#endif

using namespace SkinUI;
using namespace SkinUITest;

namespace {

const char* const kMembers[]
    = {"counting.txt", "noise.bin", "k1000.txt", "r1000.bin", "XML/main_dlg.xml", "empty.txt"};
const char* const kArchives[]
    = {"plain_stored.zip", "plain_deflated.zip", "crypt_stored.zip", "crypt_deflated.zip"};

std::string FixturePath(const std::string& relative)
{
    return std::string(BRISA_ZIP_FIXTURES) + "/" + relative;
}

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::vector<uint8_t> data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return data;
    uint8_t chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0) data.insert(data.end(), chunk, chunk + n);
    std::fclose(f);
    return data;
}

bool IsEncryptedFixture(const std::string& archive)
{
    return archive.compare(0, 5, "crypt") == 0;
}

// Finds and reads one whole member; *code gets the read's result.
std::vector<uint8_t> ReadMember(HZIP zip, const char* name, uint32_t* code)
{
    int index = -1;
    TZipItem item;
    *code = ZipFindItem(zip, Widen(name).c_str(), false, &index, &item);
    if (*code != ZR_OK) return {};
    // A damaged directory may claim any size; the fixtures are far smaller.
    if (item.uncompressedSize > (1u << 20)) {
        *code = ZR_MEMSIZE;
        return {};
    }
    std::vector<uint8_t> data(item.uncompressedSize);
    *code = ZipUnzipToMemory(zip, index, data.data(), static_cast<uint32_t>(data.size()));
    return data;
}

// Opens a heap copy of exactly the given bytes, so that any read past the
// end is caught by the sanitizer.
struct MemoryZip {
    explicit MemoryZip(const std::vector<uint8_t>& bytes, const char* password = nullptr)
        : copy(new uint8_t[bytes.size() + 1])
        , zip(nullptr)
    {
        if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
        zip = ZipOpenMemory(copy.get(), static_cast<uint32_t>(bytes.size()), password);
    }
    ~MemoryZip()
    {
        if (zip != nullptr) ZipClose(zip);
    }
    std::unique_ptr<uint8_t[]> copy;
    HZIP zip;
};

TTestMember Member(const std::string& name, std::vector<uint8_t> data, uint16_t method = 0,
    const std::string& password = "", bool descriptor = false)
{
    TTestMember m;
    m.name = name;
    m.data = std::move(data);
    m.method = method;
    m.password = password;
    m.descriptor = descriptor;
    return m;
}

uint32_t ReadIndex(HZIP zip, int index, std::vector<uint8_t>* out)
{
    return ZipUnzipToMemory(zip, index, out->data(), static_cast<uint32_t>(out->size()));
}

} // namespace

TEST(ZipReaderInfoZip, EveryMemberOfEveryArchiveReadsBackExactly)
{
    for (const char* archive : kArchives) {
        const std::vector<uint8_t> bytes = ReadWholeFile(FixturePath(archive));
        ASSERT_FALSE(bytes.empty()) << archive;
        const char* password = IsEncryptedFixture(archive) ? BRISA_ZIP_FIXTURE_PASSWORD : nullptr;
        MemoryZip mz(bytes, password);
        ASSERT_NE(mz.zip, nullptr) << archive;
        for (const char* name : kMembers) {
            uint32_t code = 0;
            const std::vector<uint8_t> data = ReadMember(mz.zip, name, &code);
            EXPECT_EQ(code, ZR_OK) << archive << " " << name;
            EXPECT_EQ(data, ReadWholeFile(FixturePath(std::string("src/") + name))) << archive << " " << name;
        }
    }
}

TEST(ZipReaderInfoZip, OpensFromAFileByWideName)
{
    const HZIP zip
        = ZipOpenFile(Widen(FixturePath("crypt_deflated.zip")).c_str(), BRISA_ZIP_FIXTURE_PASSWORD);
    ASSERT_NE(zip, nullptr);
    uint32_t code = 0;
    EXPECT_EQ(ReadMember(zip, "counting.txt", &code), ReadWholeFile(FixturePath("src/counting.txt")));
    EXPECT_EQ(code, ZR_OK);
    EXPECT_EQ(ReadMember(zip, "noise.bin", &code), ReadWholeFile(FixturePath("src/noise.bin")));
    EXPECT_EQ(code, ZR_OK);
    EXPECT_EQ(ZipClose(zip), ZR_OK);

    EXPECT_EQ(ZipOpenFile(Widen(FixturePath("no-such.zip")).c_str(), nullptr), nullptr);
    wchar_t text[64];
    ZipFormatMessage(kZipLastResult, text, 64);
    EXPECT_STREQ(text, L"Couldn't create/open file");
}

TEST(ZipReaderInfoZip, WrongOrMissingPasswordNeverSucceeds)
{
    for (const char* archive : {"crypt_stored.zip", "crypt_deflated.zip"}) {
        const std::vector<uint8_t> bytes = ReadWholeFile(FixturePath(archive));
        // Many wrong passwords: about one in 256 passes the check byte and
        // must then fail on the data.
        for (int attempt = 0; attempt < 300; ++attempt) {
            const std::string wrong = "wrong" + std::to_string(attempt);
            MemoryZip mz(bytes, wrong.c_str());
            ASSERT_NE(mz.zip, nullptr);
            // Not the empty member: with no data there is nothing to tell a
            // lucky wrong password from the right one.
            for (const char* name : kMembers) {
                if (std::strcmp(name, "empty.txt") == 0) continue;
                uint32_t code = 0;
                ReadMember(mz.zip, name, &code);
                EXPECT_EQ(code, ZR_PASSWORD) << archive << " " << name << " " << wrong;
            }
        }
        MemoryZip none(bytes, nullptr);
        uint32_t code = 0;
        ReadMember(none.zip, "counting.txt", &code);
        EXPECT_EQ(code, ZR_PASSWORD);
    }
}

TEST(ZipReaderInfoZip, PlainArchiveIgnoresAPassword)
{
    MemoryZip mz(ReadWholeFile(FixturePath("plain_deflated.zip")), "unused");
    uint32_t code = 0;
    EXPECT_EQ(ReadMember(mz.zip, "counting.txt", &code), ReadWholeFile(FixturePath("src/counting.txt")));
    EXPECT_EQ(code, ZR_OK);
}

TEST(ZipReaderInfoZip, ChunkedReadsContinueAndRestart)
{
    for (const char* archive : kArchives) {
        const char* password = IsEncryptedFixture(archive) ? BRISA_ZIP_FIXTURE_PASSWORD : nullptr;
        MemoryZip mz(ReadWholeFile(FixturePath(archive)), password);
        for (const char* name : {"k1000.txt", "r1000.bin"}) {
            const std::vector<uint8_t> expected = ReadWholeFile(FixturePath(std::string("src/") + name));
            int index = -1;
            ASSERT_EQ(ZipFindItem(mz.zip, Widen(name).c_str(), false, &index, nullptr), ZR_OK);
            int other = -1;
            ASSERT_EQ(ZipFindItem(mz.zip, L"counting.txt", false, &other, nullptr), ZR_OK);

            std::vector<uint8_t> first(600), second(600, 0xEE), scratch(10);
            EXPECT_EQ(ReadIndex(mz.zip, index, &first), ZR_MORE) << archive << " " << name;
            EXPECT_TRUE(std::equal(first.begin(), first.end(), expected.begin()));
            EXPECT_EQ(ReadIndex(mz.zip, index, &second), ZR_OK) << archive << " " << name;
            EXPECT_TRUE(std::equal(second.begin(), second.begin() + 400, expected.begin() + 600));

            // Another member in between: the first starts over.
            EXPECT_EQ(ReadIndex(mz.zip, index, &first), ZR_MORE);
            EXPECT_EQ(ReadIndex(mz.zip, other, &scratch), ZR_MORE);
            EXPECT_EQ(ReadIndex(mz.zip, index, &first), ZR_MORE);
            EXPECT_TRUE(std::equal(first.begin(), first.end(), expected.begin()));
            EXPECT_EQ(ReadIndex(mz.zip, index, &second), ZR_OK);
        }
    }
}

TEST(ZipReaderInfoZip, TruncatedAtEveryLengthFailsCleanly)
{
    for (const char* archive : {"plain_deflated.zip", "crypt_deflated.zip"}) {
        const std::vector<uint8_t> bytes = ReadWholeFile(FixturePath(archive));
        const char* password = IsEncryptedFixture(archive) ? BRISA_ZIP_FIXTURE_PASSWORD : nullptr;
        for (size_t length = 0; length < bytes.size(); ++length) {
            MemoryZip mz(std::vector<uint8_t>(bytes.begin(), bytes.begin() + length), password);
            // The end record is the last thing in the archive: any cut loses it.
            EXPECT_EQ(mz.zip, nullptr) << archive << " cut to " << length;
        }
    }
}

TEST(ZipReaderInfoZip, EveryDamagedByteGivesAnErrorOrTheTrueContent)
{
    for (const char* archive : {"plain_deflated.zip", "crypt_deflated.zip"}) {
        const std::vector<uint8_t> bytes = ReadWholeFile(FixturePath(archive));
        const char* password = IsEncryptedFixture(archive) ? BRISA_ZIP_FIXTURE_PASSWORD : nullptr;
        std::vector<std::vector<uint8_t>> originals;
        for (const char* name : kMembers)
            originals.push_back(ReadWholeFile(FixturePath(std::string("src/") + name)));
        for (size_t pos = 0; pos < bytes.size(); ++pos) {
            std::vector<uint8_t> damaged = bytes;
            damaged[pos] ^= 0xA5;
            MemoryZip mz(damaged, password);
            if (mz.zip == nullptr) continue;
            for (size_t i = 0; i < originals.size(); ++i) {
                uint32_t code = 0;
                const std::vector<uint8_t> data = ReadMember(mz.zip, kMembers[i], &code);
                if (code == ZR_OK) {
                    EXPECT_EQ(data, originals[i]) << archive << " byte " << pos << " " << kMembers[i];
                }
            }
        }
    }
}

TEST(ZipReaderLookup, NamesAndCase)
{
    MemoryZip mz(ReadWholeFile(FixturePath("plain_stored.zip")));
    int index = 99;
    TZipItem item;
    EXPECT_EQ(ZipFindItem(mz.zip, L"xml/Main_dlg.xml", true, &index, &item), ZR_OK);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(item.index, 4);
    EXPECT_STREQ(item.name, L"XML/main_dlg.xml");
    EXPECT_EQ(item.uncompressedSize, 23u);
    EXPECT_EQ(item.compressedSize, 23u);

    EXPECT_EQ(ZipFindItem(mz.zip, L"xml/Main_dlg.xml", false, &index, &item), ZR_NOTFOUND);
    EXPECT_EQ(ZipFindItem(mz.zip, L"XML\\main_dlg.xml", true, &index, &item), ZR_NOTFOUND);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(item.index, -1);
    EXPECT_EQ(item.name[0], L'\0');
    EXPECT_EQ(item.uncompressedSize, 0u);
    EXPECT_EQ(item.writeTime, 0u);
    EXPECT_EQ(ZipFindItem(mz.zip, L"XML/main_dlg.xm", true, &index, &item), ZR_NOTFOUND);
    EXPECT_EQ(ZipFindItem(mz.zip, nullptr, true, &index, &item), ZR_ARGS);
}

TEST(ZipReaderLookup, NamesOf256BytesOrMoreAreNeverFound)
{
    const std::string name255(255, 'n');
    const std::string name256(256, 'm');
    const TTestArchive a = BuildTestZip({Member(name255, TextBytes("a")), Member(name256, TextBytes("b"))});
    MemoryZip mz(a.bytes);
    int index = -1;
    EXPECT_EQ(ZipFindItem(mz.zip, Widen(name255).c_str(), false, &index, nullptr), ZR_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(ZipFindItem(mz.zip, Widen(name256).c_str(), false, &index, nullptr), ZR_NOTFOUND);
    EXPECT_EQ(ZipFindItem(mz.zip, Widen(std::string(400, 'x')).c_str(), false, &index, nullptr), ZR_NOTFOUND);
}

TEST(ZipReaderLookup, ItemNamesAreCleanedToRelativePaths)
{
    const TTestArchive a = BuildTestZip({Member("C:/dir/a.txt", TextBytes("1")),
        Member("/abs.txt", TextBytes("2")), Member("x/../../y/b.txt", TextBytes("3")),
        Member("../up.txt", TextBytes("4")), Member("\xD0\xBB\xD0\xB0\xD0\xBD.xml", TextBytes("5"))});
    MemoryZip mz(a.bytes);
    const struct {
        const char* stored;
        const wchar_t* reported;
    } cases[] = {{"C:/dir/a.txt", L"dir/a.txt"}, {"/abs.txt", L"abs.txt"}, {"x/../../y/b.txt", L"y/b.txt"},
        {"../up.txt", L"up.txt"}};
    for (const auto& c : cases) {
        TZipItem item;
        ASSERT_EQ(ZipFindItem(mz.zip, Widen(c.stored).c_str(), false, nullptr, &item), ZR_OK) << c.stored;
        EXPECT_STREQ(item.name, c.reported);
    }
    TZipItem item;
    ASSERT_EQ(ZipFindItem(mz.zip, L"\x043B\x0430\x043D.xml", false, nullptr, &item), ZR_OK);
    EXPECT_STREQ(item.name, L"\x043B\x0430\x043D.xml");
}

TEST(ZipReaderLookup, TimesAndAttributes)
{
    TTestMember dos = Member("dos.txt", TextBytes("d"));
    dos.dosDate = static_cast<uint16_t>(((2020 - 1980) << 9) | (1 << 5) | 2); // 2020-01-02
    dos.dosTime = static_cast<uint16_t>((3 << 11) | (4 << 5) | 3); // 03:04:06
    TTestMember ut = dos;
    ut.name = "ut.txt";
    // "UT" field: modification and access times announced, both present.
    ut.centralExtra = {0x55, 0x54, 9, 0, 3, 0x00, 0x00, 0x00, 0x60, 0x10, 0x00, 0x00, 0x00};
    TTestMember lying = dos;
    lying.name = "lying.txt";
    // A "UT" field claiming far more bytes than the extra field holds.
    lying.centralExtra = {0x55, 0x54, 200, 0, 1, 0x00, 0x00, 0x00, 0x60};
    const TTestArchive a = BuildTestZip({dos, ut, lying});
    MemoryZip mz(a.bytes);

    const uint64_t k1601 = 11644473600ULL;
    TZipItem item;
    ASSERT_EQ(ZipFindItem(mz.zip, L"dos.txt", false, nullptr, &item), ZR_OK);
    const uint64_t dosTicks = (1577934246ULL + k1601) * 10000000ULL; // 2020-01-02 03:04:06
    EXPECT_EQ(item.writeTime, dosTicks);
    EXPECT_EQ(item.accessTime, dosTicks);
    EXPECT_EQ(item.creationTime, dosTicks);
    EXPECT_EQ(item.attributes, 0x20u); // a regular, writable Unix file

    ASSERT_EQ(ZipFindItem(mz.zip, L"ut.txt", false, nullptr, &item), ZR_OK);
    EXPECT_EQ(item.writeTime, (0x60000000ULL + k1601) * 10000000ULL);
    EXPECT_EQ(item.accessTime, (0x10ULL + k1601) * 10000000ULL);
    EXPECT_EQ(item.creationTime, dosTicks);

    ASSERT_EQ(ZipFindItem(mz.zip, L"lying.txt", false, nullptr, &item), ZR_OK);
    EXPECT_EQ(item.writeTime, dosTicks);
}

TEST(ZipReaderBuilt, EncryptionCheckedAgainstTheCrcOrTheTime)
{
    const std::vector<uint8_t> text = TextBytes(std::string(3000, 'q') + "end");
    for (bool descriptor : {false, true}) {
        for (uint16_t method : {uint16_t(0), uint16_t(8)}) {
            const TTestArchive a = BuildTestZip({Member("m", text, method, "s3cret", descriptor)});
            MemoryZip right(a.bytes, "s3cret");
            std::vector<uint8_t> out(text.size());
            EXPECT_EQ(ReadIndex(right.zip, 0, &out), ZR_OK) << descriptor << " " << method;
            EXPECT_EQ(out, text);
            MemoryZip wrong(a.bytes, "s3creT");
            EXPECT_EQ(ReadIndex(wrong.zip, 0, &out), ZR_PASSWORD);
            // The check byte refuses this password before any data is read.
            std::vector<uint8_t> chunk(100);
            EXPECT_EQ(ReadIndex(wrong.zip, 0, &chunk), ZR_PASSWORD);
        }
    }
}

TEST(ZipReaderBuilt, CrcOrSizeMismatchIsAnError)
{
    const std::vector<uint8_t> text = TextBytes(std::string(500, 'z'));
    for (uint16_t method : {uint16_t(0), uint16_t(8)}) {
        for (const std::string& password : {std::string(), std::string("pw")}) {
            TTestArchive a = BuildTestZip({Member("m", text, method, password)});
            const size_t crcField = a.centralOffsets[0] + 16;
            a.bytes[crcField] ^= 0x01;
            MemoryZip mz(a.bytes, password.empty() ? nullptr : password.c_str());
            std::vector<uint8_t> out(text.size());
            EXPECT_EQ(ReadIndex(mz.zip, 0, &out), password.empty() ? ZR_CORRUPT : ZR_PASSWORD)
                << method << " " << password;
        }
    }
    // A stored member whose data differs from its CRC.
    TTestArchive a = BuildTestZip({Member("m", text)});
    a.bytes[a.dataOffsets[0] + 10] ^= 0x40;
    MemoryZip mz(a.bytes);
    std::vector<uint8_t> out(text.size());
    EXPECT_EQ(ReadIndex(mz.zip, 0, &out), ZR_CORRUPT);

    // A deflated member longer than the directory says.
    TTestArchive longer = BuildTestZip({Member("m", text, 8)});
    longer.bytes[longer.centralOffsets[0] + 24] = 0xF0; // size 0x1F0 instead of 0x1F4
    MemoryZip mzl(longer.bytes);
    std::vector<uint8_t> big(600);
    EXPECT_EQ(ReadIndex(mzl.zip, 0, &big), ZR_FLATE);
}

TEST(ZipReaderBuilt, WholeMemberExactlyFillingTheBufferCompletesInOneCall)
{
    // A stream whose last byte (its end code) lies beyond the reader's first
    // 16 KiB of input: the buffer fills before the end has been seen.
    auto sample = [](size_t length) {
        std::vector<uint8_t> bytes = NoiseBytes(length, 11);
        for (auto& b : bytes) b = static_cast<uint8_t>('a' + (b & 0x0F));
        return bytes;
    };
    const size_t wanted = 16385;
    size_t lo = 1000, hi = 60000;
    while (lo + 1 < hi) {
        const size_t mid = (lo + hi) / 2;
        (RawDeflate(sample(mid)).size() < wanted ? lo : hi) = mid;
    }
    std::vector<uint8_t> text;
    for (size_t length = lo > 100 ? lo - 100 : 1; length < lo + 100 && text.empty(); ++length) {
        if (RawDeflate(sample(length)).size() == wanted) text = sample(length);
    }
    ASSERT_FALSE(text.empty());
    for (const std::string& password : {std::string(), std::string("pw")}) {
        const TTestArchive a = BuildTestZip({Member("m", text, 8, password)});
        MemoryZip mz(a.bytes, password.c_str());
        std::vector<uint8_t> out(text.size());
        EXPECT_EQ(ReadIndex(mz.zip, 0, &out), ZR_OK);
        EXPECT_EQ(out, text);
    }
}

TEST(ZipReaderBuilt, OnlyStoredAndDeflatedMembersAreRead)
{
    const TTestArchive a
        = BuildTestZip({Member("bz", TextBytes("abc"), 12), Member("ok", TextBytes("abc"), 8)});
    MemoryZip mz(a.bytes);
    std::vector<uint8_t> out(3);
    EXPECT_EQ(ReadIndex(mz.zip, 0, &out), ZR_CORRUPT);
    EXPECT_EQ(ReadIndex(mz.zip, 1, &out), ZR_OK);

    // Local and central headers that disagree on the method.
    TTestArchive mixed = BuildTestZip({Member("m", TextBytes("abc"), 0)});
    mixed.bytes[mixed.localOffsets[0] + 8] = 8;
    MemoryZip mzm(mixed.bytes);
    EXPECT_EQ(ReadIndex(mzm.zip, 0, &out), ZR_CORRUPT);
}

TEST(ZipReaderBuilt, PrefixCommentAndEmptyArchive)
{
    const TTestArchive a = BuildTestZip({Member("a.txt", TextBytes("alpha"), 8)}, "a comment PK");
    std::vector<uint8_t> prefixed = NoiseBytes(1024, 7);
    prefixed.insert(prefixed.end(), a.bytes.begin(), a.bytes.end());
    for (const std::vector<uint8_t>* bytes :
        {&a.bytes, static_cast<const std::vector<uint8_t>*>(&prefixed)}) {
        MemoryZip mz(*bytes);
        ASSERT_NE(mz.zip, nullptr);
        uint32_t code = 0;
        EXPECT_EQ(ReadMember(mz.zip, "a.txt", &code), TextBytes("alpha"));
        EXPECT_EQ(code, ZR_OK);
    }
    MemoryZip empty(BuildTestZip({}).bytes);
    ASSERT_NE(empty.zip, nullptr);
    int index = 0;
    EXPECT_EQ(ZipFindItem(empty.zip, L"a.txt", false, &index, nullptr), ZR_NOTFOUND);
    EXPECT_EQ(ZipUnzipToMemory(empty.zip, 0, nullptr, 0), ZR_ARGS);
}

TEST(ZipReaderBuilt, HostileLengthsAndOffsetsAreRefused)
{
    const std::vector<uint8_t> text = TextBytes(std::string(300, 'h'));
    const TTestArchive good = BuildTestZip({Member("m", text, 8), Member("n", text)});
    std::vector<uint8_t> out(text.size());

    auto patch32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    auto patch16 = [](std::vector<uint8_t>& b, size_t at, uint16_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    // The good archive with a 32-bit or a 16-bit field overwritten.
    auto patched = [&](size_t at, bool wide, uint32_t value) {
        std::vector<uint8_t> bad = good.bytes;
        if (wide) {
            patch32(bad, at, value);
        } else {
            patch16(bad, at, static_cast<uint16_t>(value));
        }
        return bad;
    };

    // Open fails: the directory does not hold together.
    struct OpenCase {
        const char* what;
        size_t at;
        bool wide;
        uint32_t value;
    } openCases[] = {
        {"directory size beyond the archive", good.endOffset + 12, true, 0x7FFFFFFF},
        {"directory offset beyond the archive", good.endOffset + 16, true, 0x7FFFFFF0},
        {"central name length beyond the directory", good.centralOffsets[1] + 28, false, 0xFFFF},
        {"central extra length beyond the directory", good.centralOffsets[0] + 30, false, 0x8000},
        {"central comment length beyond the directory", good.centralOffsets[1] + 32, false, 200},
        {"central signature", good.centralOffsets[1], true, 0x12345678},
        {"second disk", good.endOffset + 4, false, 1},
    };
    std::vector<uint8_t> counted = good.bytes;
    patch16(counted, good.endOffset + 8, 40);
    patch16(counted, good.endOffset + 10, 40);
    EXPECT_EQ(MemoryZip(counted).zip, nullptr) << "entry count beyond the directory";
    patch16(counted, good.endOffset + 8, 3);
    patch16(counted, good.endOffset + 10, 3);
    EXPECT_EQ(MemoryZip(counted).zip, nullptr) << "one entry more than the directory holds";

    for (const OpenCase& c : openCases) {
        MemoryZip mz(patched(c.at, c.wide, c.value));
        EXPECT_EQ(mz.zip, nullptr) << c.what;
    }

    // Open works, the member read fails: its own headers point outside.
    struct ReadCase {
        const char* what;
        size_t at;
        bool wide;
        uint32_t value;
        uint32_t expected;
    } readCases[] = {
        {"local header offset beyond the archive", good.centralOffsets[0] + 42, true, 0xFFFFFF00, ZR_CORRUPT},
        {"local header offset into the last bytes", good.centralOffsets[0] + 42, true,
            static_cast<uint32_t>(good.bytes.size() - 10), ZR_CORRUPT},
        {"compressed size beyond the archive", good.centralOffsets[0] + 20, true, 0x00100000, ZR_CORRUPT},
        {"local extra length beyond the archive", good.localOffsets[0] + 28, false, 0xFFF0, ZR_CORRUPT},
        {"local signature", good.localOffsets[0], true, 0, ZR_CORRUPT},
        {"compressed size shorter than the stream", good.centralOffsets[0] + 20, true, 5, ZR_FLATE},
    };
    for (const ReadCase& c : readCases) {
        MemoryZip mz(patched(c.at, c.wide, c.value));
        ASSERT_NE(mz.zip, nullptr) << c.what;
        EXPECT_EQ(ReadIndex(mz.zip, 0, &out), c.expected) << c.what;
        // The other member is untouched and still reads.
        EXPECT_EQ(ReadIndex(mz.zip, 1, &out), ZR_OK) << c.what;
    }

    // A stored member whose sizes disagree.
    std::vector<uint8_t> bad = good.bytes;
    patch32(bad, good.centralOffsets[1] + 24, 301);
    MemoryZip mz(bad);
    EXPECT_EQ(ReadIndex(mz.zip, 1, &out), ZR_CORRUPT);
}

TEST(ZipReaderHandle, ArgumentsAndHandles)
{
    wchar_t text[64];
    EXPECT_EQ(ZipClose(nullptr), ZR_ARGS);
    EXPECT_EQ(ZipFormatMessage(kZipLastResult, text, 64), 24u);
    EXPECT_STREQ(text, L"Caller: faulty arguments");
    EXPECT_EQ(ZipFindItem(nullptr, L"a", true, nullptr, nullptr), ZR_ARGS);
    EXPECT_EQ(ZipUnzipToMemory(nullptr, 0, text, 1), ZR_ARGS);

    TZipHandle foreign {2, nullptr};
    EXPECT_EQ(ZipClose(&foreign), ZR_ZMODE);
    EXPECT_EQ(ZipUnzipToMemory(&foreign, 0, text, 1), ZR_ZMODE);

    EXPECT_EQ(ZipOpenMemory(nullptr, 10, nullptr), nullptr);
    const std::vector<uint8_t> junk = NoiseBytes(100, 3);
    MemoryZip notZip(junk);
    EXPECT_EQ(notZip.zip, nullptr);
    EXPECT_EQ(ZipFormatMessage(kZipLastResult, text, 64), 25u);

    const TTestArchive a = BuildTestZip({Member("a", TextBytes("x"))});
    MemoryZip mz(a.bytes);
    uint8_t byte = 0;
    EXPECT_EQ(ZipUnzipToMemory(mz.zip, -1, &byte, 1), ZR_ARGS);
    EXPECT_EQ(ZipUnzipToMemory(mz.zip, 1, &byte, 1), ZR_ARGS);
    EXPECT_EQ(ZipUnzipToMemory(mz.zip, 0, nullptr, 1), ZR_ARGS);
    EXPECT_EQ(ZipUnzipToMemory(mz.zip, 0, &byte, 1), ZR_OK);
    EXPECT_EQ(byte, 'x');
}

TEST(ZipReaderHandle, MessagesAreCutAndCounted)
{
    wchar_t text[40];
    std::fill(std::begin(text), std::end(text), L'#');
    EXPECT_EQ(ZipFormatMessage(ZR_NOTFOUND, text, 10), 29u);
    EXPECT_STREQ(text, L"File not ");
    EXPECT_EQ(ZipFormatMessage(ZR_PASSWORD, nullptr, 0), 25u);
    text[0] = L'#';
    EXPECT_EQ(ZipFormatMessage(ZR_PASSWORD, text, 0), 25u);
    EXPECT_EQ(text[0], L'#');
    EXPECT_EQ(ZipFormatMessage(ZR_FLATE, text, 40), 41u);
    EXPECT_EQ(std::wstring(text), L"Zip-bug: an internal error during flati");
    ZipFormatMessage(0x123, text, 40);
    EXPECT_STREQ(text, L"unknown zip result code");
}
