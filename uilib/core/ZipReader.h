#pragma once
// Reads members of a zip archive held in memory or in a file: stored and
// deflated members, optionally with traditional PKWARE encryption. Sizes,
// CRCs and methods come from the central directory; every offset and length
// read from the archive is checked against the source before it is used.

#include <cstdint>
#include <cstdio>
#include <memory>

#include <zlib.h>

#include "uilib/core/ZipCrypto.h"

namespace SkinUI {

// Result codes (ZipFormatMessage has their texts).
enum : uint32_t {
    ZR_OK = 0x00000000,
    ZR_NODUPH = 0x00000100,
    ZR_NOFILE = 0x00000200,
    ZR_NOALLOC = 0x00000300,
    ZR_WRITE = 0x00000400,
    ZR_NOTFOUND = 0x00000500,
    ZR_MORE = 0x00000600,
    ZR_CORRUPT = 0x00000700,
    ZR_READ = 0x00000800,
    ZR_PASSWORD = 0x00001000,
    ZR_ARGS = 0x00010000,
    ZR_NOTMMAP = 0x00020000,
    ZR_MEMSIZE = 0x00030000,
    ZR_FAILED = 0x00040000,
    ZR_ENDED = 0x00050000,
    ZR_MISSIZE = 0x00060000,
    ZR_PARTIALUNZ = 0x00070000,
    ZR_ZMODE = 0x00080000,
    ZR_NOTINITED = 0x01000000,
    ZR_SEEK = 0x02000000,
    ZR_NOCHANGE = 0x04000000,
    ZR_FLATE = 0x05000000,
};

// Longest item name reported, terminator included.
constexpr int kZipMaxName = 260;

// One member as ZipFindItem reports it. Times are 100-ns ticks since
// 1601-01-01: from an "UT" extra field (UTC) when present, otherwise the
// member's DOS stamp as written (local time).
struct TZipItem {
    int index;
    wchar_t name[kZipMaxName];
    uint32_t attributes;
    uint64_t accessTime;
    uint64_t creationTime;
    uint64_t writeTime;
    uint32_t compressedSize;
    uint32_t uncompressedSize;
};

class CZipReader {
public:
    CZipReader();
    ~CZipReader();
    CZipReader(const CZipReader&) = delete;
    CZipReader& operator=(const CZipReader&) = delete;

    // Reads the directory of an archive in `buffer`, which must stay alive
    // while the reader is open. `password` may be null.
    uint32_t OpenMemory(const void* buffer, uint32_t length, const char* password);
    uint32_t OpenFile(const wchar_t* fileName, const char* password);

    int EntryCount() const { return m_entryCount; }

    // Looks a member up by its stored name (ASCII-only case folding with
    // ignoreCase). Not found: *index = -1, item zeroed with index -1.
    uint32_t FindItem(const wchar_t* name, bool ignoreCase, int* index, TZipItem* item);

    // Reads member `index` into `buffer`. ZR_MORE when the buffer filled before
    // the member ended: the next call with the same index continues.
    uint32_t UnzipToMemory(int index, void* buffer, uint32_t length);

private:
    struct TEntry {
        uint16_t versionMadeBy;
        uint16_t flags;
        uint16_t method;
        uint16_t dosTime;
        uint16_t dosDate;
        uint32_t crc;
        uint32_t compressedSize;
        uint32_t uncompressedSize;
        const uint8_t* name;
        uint16_t nameLength;
        const uint8_t* extra;
        uint16_t extraLength;
        uint32_t externalAttributes;
        uint32_t localOffset;
    };

    struct TMember {
        int index = -1;
        TEntry entry {};
        bool encrypted = false;
        bool inflating = false;
        CZipCrypto crypto;
        z_stream stream {};
        uint64_t inputPos = 0;
        uint64_t inputLeft = 0;
        uint64_t produced = 0;
        uint32_t crc = 0;
    };

    uint32_t OpenSource(const char* password);
    uint32_t ReadDirectory();
    bool ReadAt(uint64_t offset, void* out, uint32_t length);
    TEntry EntryAt(int index) const;
    void FillItem(int index, TZipItem* item) const;

    uint32_t OpenMember(int index);
    void CloseMember();
    // Fills the buffer from the open member; *ended tells whether the member's
    // data is complete.
    uint32_t ReadStored(uint8_t* out, uint32_t length, bool* ended);
    uint32_t ReadDeflated(uint8_t* out, uint32_t length, bool* ended);
    bool RefillInput();
    // The code for damaged member data: encrypted members most likely have a
    // wrong password that passed the one-byte check.
    uint32_t DataFault(uint32_t plainCode) const;

    // Source: a memory block used in place, or a file.
    const uint8_t* m_memory = nullptr;
    FILE* m_file = nullptr;
    uint64_t m_sourceSize = 0;

    // Central directory: points into the memory block, or into m_dirCopy.
    const uint8_t* m_dir = nullptr;
    uint32_t m_dirSize = 0;
    std::unique_ptr<uint8_t[]> m_dirCopy;
    std::unique_ptr<uint32_t[]> m_entryOffsets;
    int m_entryCount = 0;
    uint64_t m_bytesBefore = 0;

    std::unique_ptr<char[]> m_password;

    TMember m_member;
    static constexpr uint32_t kInputChunk = 16384;
    std::unique_ptr<uint8_t[]> m_input;
};

} // namespace SkinUI
