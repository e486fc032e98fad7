#include "tests/uilib/ZipTestArchive.h"

#include <zlib.h>

namespace SkinUITest {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// The traditional cipher's encrypting side, written independently of the
// reader's so that a shared mistake cannot hide.
class Encryptor {
public:
    explicit Encryptor(const std::string& password)
    {
        for (char c : password) Update(static_cast<uint8_t>(c));
    }
    uint8_t Encrypt(uint8_t plain)
    {
        const uint32_t t = (m_k[2] & 0xFFFF) | 2;
        const uint8_t cipher = static_cast<uint8_t>(plain ^ (((t * (t ^ 1)) >> 8) & 0xFF));
        Update(plain);
        return cipher;
    }

private:
    static uint32_t Crc(uint32_t crc, uint8_t b)
    {
        crc ^= b;
        for (int i = 0; i < 8; ++i) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        return crc;
    }
    void Update(uint8_t plain)
    {
        m_k[0] = Crc(m_k[0], plain);
        m_k[1] = (m_k[1] + (m_k[0] & 0xFF)) * 134775813u + 1;
        m_k[2] = Crc(m_k[2], static_cast<uint8_t>(m_k[1] >> 24));
    }
    uint32_t m_k[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

} // namespace

std::vector<uint8_t> RawDeflate(const std::vector<uint8_t>& data)
{
    z_stream zs {};
    deflateInit2(&zs, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::vector<uint8_t> out(deflateBound(&zs, static_cast<uLong>(data.size())) + 16);
    zs.next_in = const_cast<Bytef*>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

std::vector<uint8_t> TextBytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> NoiseBytes(size_t size, uint32_t seed)
{
    std::vector<uint8_t> out(size);
    uint32_t x = seed * 2654435761u + 1;
    for (auto& b : out) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<uint8_t>(x >> 24);
    }
    return out;
}

TTestArchive BuildTestZip(const std::vector<TTestMember>& members, const std::string& comment)
{
    TTestArchive a;
    std::vector<uint8_t>& out = a.bytes;
    struct Written {
        uint16_t flags;
        uint32_t crc, csize, usize;
    };
    std::vector<Written> written;
    for (const TTestMember& m : members) {
        std::vector<uint8_t> payload = m.method == 8 ? RawDeflate(m.data) : m.data;
        const uint32_t crc = static_cast<uint32_t>(crc32(0, m.data.data(), static_cast<uInt>(m.data.size())));
        uint16_t flags = 0;
        if (!m.password.empty()) {
            flags |= 1;
            if (m.descriptor) flags |= 8;
            Encryptor enc(m.password);
            std::vector<uint8_t> sealed;
            for (int i = 0; i < 11; ++i) sealed.push_back(enc.Encrypt(static_cast<uint8_t>(0x5A + 7 * i)));
            sealed.push_back(enc.Encrypt(static_cast<uint8_t>(m.descriptor ? m.dosTime >> 8 : crc >> 24)));
            for (uint8_t b : payload) sealed.push_back(enc.Encrypt(b));
            payload.swap(sealed);
        } else if (m.descriptor) {
            flags |= 8;
        }
        const Written w {
            flags, crc, static_cast<uint32_t>(payload.size()), static_cast<uint32_t>(m.data.size())};
        a.localOffsets.push_back(out.size());
        Put32(out, 0x04034B50);
        Put16(out, 20);
        Put16(out, flags);
        Put16(out, m.method);
        Put16(out, m.dosTime);
        Put16(out, m.dosDate);
        Put32(out, w.crc);
        Put32(out, w.csize);
        Put32(out, w.usize);
        Put16(out, static_cast<uint32_t>(m.name.size()));
        Put16(out, 0);
        out.insert(out.end(), m.name.begin(), m.name.end());
        a.dataOffsets.push_back(out.size() + (m.password.empty() ? 0 : 12));
        out.insert(out.end(), payload.begin(), payload.end());
        if (flags & 8) {
            Put32(out, 0x08074B50);
            Put32(out, w.crc);
            Put32(out, w.csize);
            Put32(out, w.usize);
        }
        written.push_back(w);
    }
    const size_t dirStart = out.size();
    for (size_t i = 0; i < members.size(); ++i) {
        const TTestMember& m = members[i];
        const Written& w = written[i];
        a.centralOffsets.push_back(out.size());
        Put32(out, 0x02014B50);
        Put16(out, 0x031E); // made on Unix
        Put16(out, 20);
        Put16(out, w.flags);
        Put16(out, m.method);
        Put16(out, m.dosTime);
        Put16(out, m.dosDate);
        Put32(out, w.crc);
        Put32(out, w.csize);
        Put32(out, w.usize);
        Put16(out, static_cast<uint32_t>(m.name.size()));
        Put16(out, static_cast<uint32_t>(m.centralExtra.size()));
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, 0);
        Put32(out, 0100644u << 16);
        Put32(out, static_cast<uint32_t>(a.localOffsets[i]));
        out.insert(out.end(), m.name.begin(), m.name.end());
        out.insert(out.end(), m.centralExtra.begin(), m.centralExtra.end());
    }
    a.endOffset = out.size();
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(members.size()));
    Put16(out, static_cast<uint32_t>(members.size()));
    Put32(out, static_cast<uint32_t>(a.endOffset - dirStart));
    Put32(out, static_cast<uint32_t>(dirStart));
    Put16(out, static_cast<uint32_t>(comment.size()));
    out.insert(out.end(), comment.begin(), comment.end());
    return a;
}

} // namespace SkinUITest
