#include "uilib/core/ZipCrypto.h"

#include <zlib.h>

namespace SkinUI {

namespace {

uint32_t CrcByte(uint32_t crc, uint8_t byte)
{
    static const z_crc_t* const table = get_crc_table();
    return static_cast<uint32_t>(table[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}

} // namespace

void CZipCrypto::Init(const char* password)
{
    m_keys[0] = 0x12345678u;
    m_keys[1] = 0x23456789u;
    m_keys[2] = 0x34567890u;
    for (const char* p = password; p != nullptr && *p != '\0'; ++p) {
        UpdateKeys(static_cast<uint8_t>(*p));
    }
}

void CZipCrypto::UpdateKeys(uint8_t plain)
{
    m_keys[0] = CrcByte(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = CrcByte(m_keys[2], static_cast<uint8_t>(m_keys[1] >> 24));
}

uint8_t CZipCrypto::StreamByte() const
{
    const uint32_t t = (m_keys[2] & 0xFFFF) | 2;
    return static_cast<uint8_t>(((t * (t ^ 1)) >> 8) & 0xFF);
}

void CZipCrypto::Decrypt(uint8_t* data, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        const uint8_t plain = static_cast<uint8_t>(data[i] ^ StreamByte());
        UpdateKeys(plain);
        data[i] = plain;
    }
}

} // namespace SkinUI
