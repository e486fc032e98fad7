#include "uilib/core/ZipReader.h"

#include <climits>
#include <cstring>
#include <new>

#include "uilib/core/Utf8Decode.h"
#include "uilib/core/Utf8Encode.h"
#include "uilib/core/WideFileOpen.h"

namespace SkinUI {

namespace {

constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kEndRecordSize = 22;
constexpr uint32_t kCentralHeaderSize = 46;
constexpr uint32_t kLocalHeaderSize = 30;
// The end record sits at most a full-length comment before the end.
constexpr uint64_t kMaxEndSearch = 0xFFFF + kEndRecordSize;
constexpr uint32_t kSearchStep = 1024;
// Lookup names of this many UTF-8 bytes or more are never found.
constexpr size_t kMaxLookupName = 256;

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDescriptor = 0x0008;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr int64_t kUnixEpochIn1601Seconds = 11644473600LL;

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8)
        | (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

uint64_t DosToTicks(uint16_t dosDate, uint16_t dosTime)
{
    const int year = 1980 + (dosDate >> 9);
    const int month = (dosDate >> 5) & 0x0F;
    const int day = dosDate & 0x1F;
    if (month < 1 || month > 12 || day < 1) return 0;
    const int64_t seconds = DaysFromCivil(year, month, day) * 86400 + kUnixEpochIn1601Seconds
        + (dosTime >> 11) * 3600 + ((dosTime >> 5) & 0x3F) * 60 + (dosTime & 0x1F) * 2;
    return static_cast<uint64_t>(seconds) * kTicksPerSecond;
}

uint64_t UnixToTicks(uint32_t unixTime)
{
    const int64_t seconds = static_cast<int32_t>(unixTime) + kUnixEpochIn1601Seconds;
    return static_cast<uint64_t>(seconds) * kTicksPerSecond;
}

bool IsSeparator(wchar_t c)
{
    return c == L'/' || c == L'\\';
}

// Makes a stored name safe as a relative path: no drive, no leading
// separator, nothing up to a "..": repeated until nothing changes.
void CleanItemName(wchar_t* name)
{
    bool changed = true;
    while (changed) {
        changed = false;
        size_t skip = 0;
        const size_t length = std::wcslen(name);
        if (length >= 2 && name[1] == L':'
            && ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'a' && name[0] <= L'z'))) {
            skip = 2;
        } else if (length >= 1 && IsSeparator(name[0])) {
            skip = 1;
        } else if (length >= 3 && name[0] == L'.' && name[1] == L'.' && IsSeparator(name[2])) {
            skip = 3;
        } else {
            for (size_t i = 0; i + 3 < length; ++i) {
                if (IsSeparator(name[i]) && name[i + 1] == L'.' && name[i + 2] == L'.'
                    && IsSeparator(name[i + 3])) {
                    skip = i + 4;
                    break;
                }
            }
        }
        if (skip > 0) {
            std::memmove(name, name + skip, (length - skip + 1) * sizeof(wchar_t));
            changed = true;
        }
    }
}

uint8_t FoldAscii(uint8_t c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 'a' + 'A') : c;
}

// Host systems whose external attributes carry a Unix mode in the high word.
constexpr uint8_t kHostUnix = 3;
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kDosAttributeMask = 0x3F;

uint32_t ItemAttributes(uint16_t versionMadeBy, uint32_t external)
{
    uint32_t attributes = external & kDosAttributeMask;
    if ((versionMadeBy >> 8) == kHostUnix) {
        const uint32_t mode = external >> 16;
        if ((mode & 0170000) == 0040000) attributes |= kAttrDirectory;
        if ((mode & 0170000) == 0100000) attributes |= kAttrArchive;
        if (mode != 0 && (mode & 0200) == 0) attributes |= kAttrReadOnly;
    }
    return attributes;
}

} // namespace

CZipReader::CZipReader() = default;

CZipReader::~CZipReader()
{
    CloseMember();
    if (m_file != nullptr) std::fclose(m_file);
}

uint32_t CZipReader::OpenMemory(const void* buffer, uint32_t length, const char* password)
{
    if (buffer == nullptr || m_memory != nullptr || m_file != nullptr) return ZR_ARGS;
    m_memory = static_cast<const uint8_t*>(buffer);
    m_sourceSize = length;
    return OpenSource(password);
}

uint32_t CZipReader::OpenFile(const wchar_t* fileName, const char* password)
{
    if (fileName == nullptr || m_memory != nullptr || m_file != nullptr) return ZR_ARGS;
    m_file = OpenWideFileForReading(fileName);
    if (m_file == nullptr) return ZR_NOFILE;
    if (std::fseek(m_file, 0, SEEK_END) != 0) return ZR_NOFILE;
    const long size = std::ftell(m_file);
    if (size < 0) return ZR_NOFILE;
    m_sourceSize = static_cast<uint64_t>(size);
    return OpenSource(password);
}

uint32_t CZipReader::OpenSource(const char* password)
{
    m_input.reset(new (std::nothrow) uint8_t[kInputChunk]);
    if (!m_input) return ZR_NOALLOC;
    if (password != nullptr) {
        const size_t length = std::strlen(password);
        m_password.reset(new (std::nothrow) char[length + 1]);
        if (!m_password) return ZR_NOALLOC;
        std::memcpy(m_password.get(), password, length + 1);
    }
    return ReadDirectory();
}

bool CZipReader::ReadAt(uint64_t offset, void* out, uint32_t length)
{
    if (offset > m_sourceSize || length > m_sourceSize - offset) return false;
    if (m_memory != nullptr) {
        std::memcpy(out, m_memory + offset, length);
        return true;
    }
    if (m_file == nullptr || offset > static_cast<uint64_t>(LONG_MAX)) return false;
    if (std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0) return false;
    return std::fread(out, 1, length, m_file) == length;
}

uint32_t CZipReader::ReadDirectory()
{
    if (m_sourceSize < kEndRecordSize) return ZR_NOFILE;

    // Search backwards for the end record, one step at a time with an overlap
    // so that a signature across a step boundary is still seen.
    const uint64_t maxBack = m_sourceSize < kMaxEndSearch ? m_sourceSize : kMaxEndSearch;
    uint8_t window[kSearchStep + 4];
    uint64_t endPos = UINT64_MAX;
    for (uint64_t back = 4; back < maxBack && endPos == UINT64_MAX;) {
        back = (back + kSearchStep < maxBack) ? back + kSearchStep : maxBack;
        const uint64_t readPos = m_sourceSize - back;
        const uint64_t rest = m_sourceSize - readPos;
        const uint32_t readSize = static_cast<uint32_t>(rest < sizeof(window) ? rest : sizeof(window));
        if (!ReadAt(readPos, window, readSize)) return ZR_NOFILE;
        for (uint32_t i = readSize - 4 + 1; i-- > 0;) {
            const uint64_t candidate = readPos + i;
            if (Le32(window + i) == kEndSignature && candidate + kEndRecordSize <= m_sourceSize) {
                endPos = candidate;
                break;
            }
        }
    }
    if (endPos == UINT64_MAX) return ZR_NOFILE;

    uint8_t end[kEndRecordSize];
    if (!ReadAt(endPos, end, kEndRecordSize)) return ZR_NOFILE;
    const uint16_t disk = Le16(end + 4);
    const uint16_t dirDisk = Le16(end + 6);
    const uint16_t entriesHere = Le16(end + 8);
    const uint16_t entries = Le16(end + 10);
    const uint32_t dirSize = Le32(end + 12);
    const uint32_t dirOffset = Le32(end + 16);
    if (disk != 0 || dirDisk != 0 || entriesHere != entries) return ZR_NOFILE;
    // Anything in front of the archive (a self-extractor) shifts every offset.
    if (endPos < static_cast<uint64_t>(dirOffset) + dirSize) return ZR_NOFILE;
    m_bytesBefore = endPos - (static_cast<uint64_t>(dirOffset) + dirSize);
    if (static_cast<uint64_t>(entries) * kCentralHeaderSize > dirSize) return ZR_NOFILE;

    const uint64_t dirStart = dirOffset + m_bytesBefore;
    if (m_memory != nullptr) {
        m_dir = m_memory + dirStart;
    } else {
        m_dirCopy.reset(new (std::nothrow) uint8_t[dirSize > 0 ? dirSize : 1]);
        if (!m_dirCopy) return ZR_NOALLOC;
        if (!ReadAt(dirStart, m_dirCopy.get(), dirSize)) return ZR_NOFILE;
        m_dir = m_dirCopy.get();
    }
    m_dirSize = dirSize;

    // Walk the whole directory once: every header must fit, so that later
    // lookups and reads can trust the recorded offsets.
    m_entryOffsets.reset(new (std::nothrow) uint32_t[entries > 0 ? entries : 1]);
    if (!m_entryOffsets) return ZR_NOALLOC;
    uint64_t pos = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        if (pos + kCentralHeaderSize > m_dirSize) return ZR_NOFILE;
        const uint8_t* header = m_dir + pos;
        if (Le32(header) != kCentralSignature) return ZR_NOFILE;
        const uint64_t total = static_cast<uint64_t>(kCentralHeaderSize) + Le16(header + 28)
            + Le16(header + 30) + Le16(header + 32);
        if (pos + total > m_dirSize) return ZR_NOFILE;
        m_entryOffsets[i] = static_cast<uint32_t>(pos);
        pos += total;
    }
    m_entryCount = entries;
    return ZR_OK;
}

CZipReader::TEntry CZipReader::EntryAt(int index) const
{
    const uint8_t* h = m_dir + m_entryOffsets[index];
    TEntry e;
    e.versionMadeBy = Le16(h + 4);
    e.flags = Le16(h + 8);
    e.method = Le16(h + 10);
    e.dosTime = Le16(h + 12);
    e.dosDate = Le16(h + 14);
    e.crc = Le32(h + 16);
    e.compressedSize = Le32(h + 20);
    e.uncompressedSize = Le32(h + 24);
    e.nameLength = Le16(h + 28);
    e.extraLength = Le16(h + 30);
    e.externalAttributes = Le32(h + 38);
    e.localOffset = Le32(h + 42);
    e.name = h + kCentralHeaderSize;
    e.extra = e.name + e.nameLength;
    return e;
}

void CZipReader::FillItem(int index, TZipItem* item) const
{
    const TEntry e = EntryAt(index);
    std::memset(item, 0, sizeof(*item));
    item->index = index;
    // Longer names are cut; the decoder never yields more characters than bytes.
    const size_t nameBytes = e.nameLength < kZipMaxName - 1 ? e.nameLength : kZipMaxName - 1;
    item->name[Utf8ToWide(e.name, nameBytes, item->name)] = L'\0';
    CleanItemName(item->name);
    item->attributes = ItemAttributes(e.versionMadeBy, e.externalAttributes);
    const uint64_t dosTicks = DosToTicks(e.dosDate, e.dosTime);
    item->accessTime = item->creationTime = item->writeTime = dosTicks;
    item->compressedSize = e.compressedSize;
    item->uncompressedSize = e.uncompressedSize;

    // Extended timestamp ("UT"): flags, then the times its flags announce.
    constexpr uint16_t kExtendedTimestamp = 0x5455;
    uint32_t pos = 0;
    while (pos + 4 <= e.extraLength) {
        const uint16_t id = Le16(e.extra + pos);
        const uint16_t size = Le16(e.extra + pos + 2);
        const uint8_t* data = e.extra + pos + 4;
        if (pos + 4 + size > e.extraLength) break;
        if (id == kExtendedTimestamp && size >= 1) {
            const uint8_t flags = data[0];
            uint32_t at = 1;
            uint64_t* targets[3] = {&item->writeTime, &item->accessTime, &item->creationTime};
            for (int bit = 0; bit < 3; ++bit) {
                if ((flags & (1 << bit)) == 0) continue;
                if (at + 4 > size) break;
                *targets[bit] = UnixToTicks(Le32(data + at));
                at += 4;
            }
        }
        pos += 4 + size;
    }
}

uint32_t CZipReader::FindItem(const wchar_t* name, bool ignoreCase, int* index, TZipItem* item)
{
    if (name == nullptr) return ZR_ARGS;
    char wanted[kZipMaxName];
    const size_t wantedLength = WideToUtf8(name, wanted, sizeof(wanted));
    if (wantedLength != static_cast<size_t>(-1) && wantedLength < kMaxLookupName) {
        for (int i = 0; i < m_entryCount; ++i) {
            const TEntry e = EntryAt(i);
            if (e.nameLength != wantedLength) continue;
            bool same = true;
            for (size_t k = 0; k < wantedLength && same; ++k) {
                const uint8_t a = e.name[k];
                const uint8_t b = static_cast<uint8_t>(wanted[k]);
                same = ignoreCase ? FoldAscii(a) == FoldAscii(b) : a == b;
            }
            if (!same) continue;
            CloseMember();
            if (index != nullptr) *index = i;
            if (item != nullptr) FillItem(i, item);
            return ZR_OK;
        }
    }
    if (index != nullptr) *index = -1;
    if (item != nullptr) {
        std::memset(item, 0, sizeof(*item));
        item->index = -1;
    }
    return ZR_NOTFOUND;
}

uint32_t CZipReader::OpenMember(int index)
{
    const TEntry e = EntryAt(index);
    const uint64_t localPos = static_cast<uint64_t>(e.localOffset) + m_bytesBefore;
    uint8_t local[kLocalHeaderSize];
    if (!ReadAt(localPos, local, kLocalHeaderSize)) return ZR_CORRUPT;
    if (Le32(local) != kLocalSignature) return ZR_CORRUPT;
    const uint16_t localMethod = Le16(local + 8);
    if (localMethod != e.method || (e.method != kMethodStored && e.method != kMethodDeflated)) {
        return ZR_CORRUPT;
    }
    const uint64_t dataPos = localPos + kLocalHeaderSize + Le16(local + 26) + Le16(local + 28);
    if (dataPos > m_sourceSize || e.compressedSize > m_sourceSize - dataPos) return ZR_CORRUPT;

    TMember& m = m_member;
    m.entry = e;
    m.encrypted = (e.flags & kFlagEncrypted) != 0;
    m.inputPos = dataPos;
    m.inputLeft = e.compressedSize;
    m.produced = 0;
    m.crc = 0;

    if (m.encrypted) {
        if (!m_password) return ZR_PASSWORD;
        if (m.inputLeft < CZipCrypto::kHeaderSize) return ZR_CORRUPT;
        uint8_t header[CZipCrypto::kHeaderSize];
        if (!ReadAt(m.inputPos, header, sizeof(header))) return ZR_READ;
        m.crypto.Init(m_password.get());
        m.crypto.Decrypt(header, sizeof(header));
        // Writers that stream a data descriptor check against the time instead
        // of the CRC, which they did not know yet.
        const uint8_t check = (e.flags & kFlagDescriptor) != 0 ? static_cast<uint8_t>(e.dosTime >> 8)
                                                               : static_cast<uint8_t>(e.crc >> 24);
        if (header[CZipCrypto::kHeaderSize - 1] != check) return ZR_PASSWORD;
        m.inputPos += CZipCrypto::kHeaderSize;
        m.inputLeft -= CZipCrypto::kHeaderSize;
    }

    if (e.method == kMethodStored) {
        if (m.inputLeft != e.uncompressedSize) return ZR_CORRUPT;
    } else {
        m.stream = z_stream {};
        if (inflateInit2(&m.stream, -MAX_WBITS) != Z_OK) return ZR_NOALLOC;
        m.inflating = true;
    }
    m.index = index;
    return ZR_OK;
}

void CZipReader::CloseMember()
{
    if (m_member.inflating) inflateEnd(&m_member.stream);
    m_member.inflating = false;
    m_member.index = -1;
}

uint32_t CZipReader::DataFault(uint32_t plainCode) const
{
    return m_member.encrypted ? ZR_PASSWORD : plainCode;
}

bool CZipReader::RefillInput()
{
    TMember& m = m_member;
    const uint32_t n = static_cast<uint32_t>(m.inputLeft < kInputChunk ? m.inputLeft : kInputChunk);
    if (!ReadAt(m.inputPos, m_input.get(), n)) return false;
    if (m.encrypted) m.crypto.Decrypt(m_input.get(), n);
    m.inputPos += n;
    m.inputLeft -= n;
    m.stream.next_in = m_input.get();
    m.stream.avail_in = n;
    return true;
}

uint32_t CZipReader::ReadStored(uint8_t* out, uint32_t length, bool* ended)
{
    TMember& m = m_member;
    while (length > 0 && m.inputLeft > 0) {
        const uint32_t n = static_cast<uint32_t>(m.inputLeft < length ? m.inputLeft : length);
        if (!ReadAt(m.inputPos, out, n)) return ZR_READ;
        if (m.encrypted) m.crypto.Decrypt(out, n);
        m.crc = static_cast<uint32_t>(crc32(m.crc, out, n));
        m.produced += n;
        m.inputPos += n;
        m.inputLeft -= n;
        out += n;
        length -= n;
    }
    *ended = m.inputLeft == 0;
    return ZR_OK;
}

uint32_t CZipReader::ReadDeflated(uint8_t* out, uint32_t length, bool* ended)
{
    TMember& m = m_member;
    z_stream& zs = m.stream;
    zs.next_out = out;
    zs.avail_out = length;
    // Once the buffer holds the whole member, one spare byte lets inflate reach
    // the stream end, so the member completes (and is checked) in this call.
    uint8_t spare = 0;
    bool usingSpare = false;
    *ended = false;
    for (;;) {
        if (zs.avail_out == 0) {
            if (usingSpare || m.produced != m.entry.uncompressedSize) return ZR_OK;
            zs.next_out = &spare;
            zs.avail_out = 1;
            usingSpare = true;
        }
        if (zs.avail_in == 0 && m.inputLeft > 0 && !RefillInput()) return ZR_READ;
        uint8_t* const start = zs.next_out;
        const uInt room = zs.avail_out;
        const int ret = inflate(&zs, Z_NO_FLUSH);
        const uInt made = room - zs.avail_out;
        if (usingSpare && made > 0) return DataFault(ZR_FLATE);
        m.crc = static_cast<uint32_t>(crc32(m.crc, start, made));
        m.produced += made;
        if (m.produced > m.entry.uncompressedSize) return DataFault(ZR_FLATE);
        if (ret == Z_STREAM_END) {
            *ended = true;
            return ZR_OK;
        }
        if (ret == Z_BUF_ERROR) {
            // No progress possible: only acceptable while there is more to feed.
            if (zs.avail_in == 0 && m.inputLeft == 0) return DataFault(ZR_FLATE);
            continue;
        }
        if (ret != Z_OK) return DataFault(ZR_FLATE);
    }
}

uint32_t CZipReader::UnzipToMemory(int index, void* buffer, uint32_t length)
{
    if (index < 0 || index >= m_entryCount || (buffer == nullptr && length > 0)) return ZR_ARGS;
    if (m_member.index != index) {
        CloseMember();
        const uint32_t code = OpenMember(index);
        if (code != ZR_OK) {
            CloseMember();
            return code;
        }
    }
    bool ended = false;
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t code = m_member.entry.method == kMethodStored ? ReadStored(out, length, &ended)
                                                           : ReadDeflated(out, length, &ended);
    if (code == ZR_OK && !ended) return ZR_MORE;
    if (code == ZR_OK) {
        // A member read to its end must match the directory's size and CRC.
        if (m_member.produced != m_member.entry.uncompressedSize || m_member.crc != m_member.entry.crc) {
            code = DataFault(ZR_CORRUPT);
        }
    }
    CloseMember();
    return code;
}

} // namespace SkinUI
