#include "device/FirmwareFile.h"

#include <new>

namespace {

constexpr int kAnyFirmwareId = -1;
constexpr size_t kStartParamsOffset = 2;
constexpr size_t kImageBytesOffset = 6;
constexpr size_t kTrailerSize = 8;  // trailing bytes and checksum
constexpr size_t kMergedSizesOffset = 3;

uint32_t ReadBigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// Checks one image in place and records what it read; allocates nothing.
FirmwareFault CheckImage(const uint8_t* data, size_t size, uint8_t expectedModelId,
                         int requiredFirmwareId, FirmwareImage* img) {
    // At least one image byte: an empty image has nothing to send and
    // would make the progress a division by zero.
    if (size < kImageOverhead + 1) return FirmwareFault::ImageTooShort;
    img->fileSize = static_cast<uint32_t>(size);
    img->firmwareId = data[0];
    img->modelId = data[1];
    for (size_t i = 0; i < 4; ++i) img->startParams[i] = data[kStartParamsOffset + i];
    img->computedChecksum = FirmwareChecksum(data, size - 4);
    img->storedChecksum = ReadBigEndian32(data + size - 4);
    if (requiredFirmwareId != kAnyFirmwareId && img->firmwareId != requiredFirmwareId) {
        return FirmwareFault::FirmwareId;
    }
    if (img->modelId != expectedModelId) return FirmwareFault::ModelId;
    if (img->computedChecksum != img->storedChecksum) return FirmwareFault::Checksum;
    return FirmwareFault::None;
}

// False when there is no room for the bytes.
bool TakeImageBytes(const uint8_t* data, size_t size, FirmwareImage* img) {
    try {
        img->bytes.assign(data + kImageBytesOffset, data + size - kTrailerSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

uint32_t Refuse(FirmwareFile* out, FirmwareFault fault, bool inDsp = false) {
    out->kind = UPG_KIND_NONE;
    out->fault = fault;
    out->faultInDsp = inDsp;
    return UPG_FILE_INVALID;
}

uint32_t ParseSingleImage(const uint8_t* data, size_t size, uint8_t expectedModelId,
                          int requiredFirmwareId, UpgradeKind kind, FirmwareImage* img,
                          FirmwareFile* out) {
    const bool inDsp = kind == UPG_KIND_DSP;
    if (size > kMaxImageFileSize) return Refuse(out, FirmwareFault::FileTooLarge, inDsp);
    const FirmwareFault fault = CheckImage(data, size, expectedModelId, requiredFirmwareId, img);
    if (fault != FirmwareFault::None) return Refuse(out, fault, inDsp);
    if (!TakeImageBytes(data, size, img)) return Refuse(out, FirmwareFault::NoMemory, inDsp);
    out->kind = kind;
    return UPG_OK;
}

}  // namespace

uint32_t FirmwareChecksum(const uint8_t* data, size_t len) {
    uint32_t sum = 0;
    for (size_t i = 0; i < len; ++i) sum += data[i];
    return sum;
}

uint32_t ParseMcuFile(const uint8_t* data, size_t size, uint8_t expectedModelId,
                      UpgradeKind kind, FirmwareFile* out) {
    *out = FirmwareFile{};
    if (kind != UPG_KIND_MCU && kind != UPG_KIND_LOADER) return UPG_START_FAIL;
    return ParseSingleImage(data, size, expectedModelId, kFirmwareIdMcu, kind, &out->mcu, out);
}

uint32_t ParseFlashFile(const uint8_t* data, size_t size, uint8_t expectedModelId,
                        FirmwareFile* out) {
    *out = FirmwareFile{};
    return ParseSingleImage(data, size, expectedModelId, kAnyFirmwareId, UPG_KIND_DSP, &out->dsp, out);
}

uint32_t ParseMergedFile(const uint8_t* data, size_t size, uint8_t expectedModelId,
                         FirmwareFile* out) {
    *out = FirmwareFile{};
    if (size > kMaxMergedFileSize) return Refuse(out, FirmwareFault::FileTooLarge);
    if (size < kMergedSizesOffset) return Refuse(out, FirmwareFault::FileTooShort);
    out->mergedHeader[0] = data[0];
    out->mergedHeader[1] = data[1];
    if (data[0] != 's' && data[1] != 's') return Refuse(out, FirmwareFault::MergedHeader);
    out->mergedCount = data[2];
    if (out->mergedCount < kMinMergedImages || out->mergedCount > kMaxMergedImages) {
        return Refuse(out, FirmwareFault::MergedCount);
    }
    const size_t headerSize = kMergedSizesOffset + 4 * size_t(out->mergedCount);
    if (size < headerSize) return Refuse(out, FirmwareFault::FileTooShort);

    // Every listed image must lie inside the file (64-bit sum: no wrap).
    uint64_t listed = 0;
    for (uint32_t i = 0; i < out->mergedCount; ++i) {
        listed += ReadBigEndian32(data + kMergedSizesOffset + 4 * i);
    }
    if (listed > size - headerSize) return Refuse(out, FirmwareFault::MergedSizes);

    const uint8_t* mcuData = data + headerSize;
    const size_t mcuSize = ReadBigEndian32(data + kMergedSizesOffset);
    const uint8_t* dspData = mcuData + mcuSize;
    const size_t dspSize = ReadBigEndian32(data + kMergedSizesOffset + 4);

    FirmwareFault fault = CheckImage(mcuData, mcuSize, expectedModelId, kFirmwareIdMcu, &out->mcu);
    if (fault != FirmwareFault::None) return Refuse(out, fault);
    fault = CheckImage(dspData, dspSize, expectedModelId, kFirmwareIdMergedDsp, &out->dsp);
    if (fault != FirmwareFault::None) return Refuse(out, fault, true);
    // Both are kept; only the DSP image is transferred.
    if (!TakeImageBytes(mcuData, mcuSize, &out->mcu)) return Refuse(out, FirmwareFault::NoMemory);
    if (!TakeImageBytes(dspData, dspSize, &out->dsp)) return Refuse(out, FirmwareFault::NoMemory, true);
    out->kind = UPG_KIND_DSP;
    return UPG_OK;
}

size_t MaxUpgradeFileSize(UpgradeFileType type) {
    switch (type) {
        case UpgradeFileType::Loader:
        case UpgradeFileType::Flash:
        case UpgradeFileType::Mcu:
            return kMaxImageFileSize;
        case UpgradeFileType::Merged:
            return kMaxMergedFileSize;
        default:
            return 0;
    }
}

uint32_t ParseUpgradeFile(UpgradeFileType type, const uint8_t* data, size_t size,
                          uint8_t expectedModelId, FirmwareFile* out) {
    switch (type) {
        case UpgradeFileType::Loader:
            return ParseMcuFile(data, size, expectedModelId, UPG_KIND_LOADER, out);
        case UpgradeFileType::Mcu:
            return ParseMcuFile(data, size, expectedModelId, UPG_KIND_MCU, out);
        case UpgradeFileType::Flash:
            return ParseFlashFile(data, size, expectedModelId, out);
        case UpgradeFileType::Merged:
            return ParseMergedFile(data, size, expectedModelId, out);
        default:
            *out = FirmwareFile{};
            return UPG_FILE_INVALID;
    }
}
