#pragma once
// Traditional PKWARE decryption of zip members (the "ZipCrypto" stream cipher).

#include <cstddef>
#include <cstdint>

namespace SkinUI {

class CZipCrypto {
public:
    // Size of the encryption header in front of every encrypted member.
    static constexpr uint32_t kHeaderSize = 12;

    // Starts the key schedule from the password (null = empty).
    void Init(const char* password);
    // Decrypts `length` bytes in place, advancing the keys.
    void Decrypt(uint8_t* data, size_t length);

private:
    void UpdateKeys(uint8_t plain);
    uint8_t StreamByte() const;

    uint32_t m_keys[3] = {0, 0, 0};
};

} // namespace SkinUI
