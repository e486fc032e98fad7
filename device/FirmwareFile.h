#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/UpgradeFileName.h"

// Firmware upgrade files, checked over byte buffers before anything reaches
// the unit.
//
// Image format (N = the image's total size):
//   0      firmware id (1 MCU and loader, 2 DSP inside a merged file)
//   1      model id
//   2..5   start parameters, sent unchanged with the upgrade start command
//   6      N - 14 image bytes (what is transferred)
//   N - 8  4 trailing bytes, covered by the checksum, never sent
//   N - 4  checksum, big-endian: 32-bit sum of the N - 4 bytes before it
// Merged file: 2 header bytes (one of them 's'), image count n, n sizes
// (32-bit big-endian), then the MCU image and the DSP image.

// Result codes of the file parsers and of the upgrade start.
enum UpgradeResult : uint32_t {
    UPG_OK = 0,
    UPG_FILE_OPEN_FAIL = 1,
    UPG_FILE_INVALID = 2,
    UPG_CONNECT_FAIL = 3,
    UPG_START_FAIL = 4,  // the unit refused, or the upgrade kind is unknown
};

// What a file upgrades.
enum UpgradeKind : uint8_t {
    UPG_KIND_NONE = 0,
    UPG_KIND_DSP = 1,     // DSP flash image (standalone or merged file)
    UPG_KIND_MCU = 2,     // MCU application
    UPG_KIND_LOADER = 3,  // MCU loader
};

// Why a file was refused (the result is then UPG_FILE_INVALID).
enum class FirmwareFault : uint8_t {
    None,
    FileTooLarge,     // above the limit of its kind
    FileTooShort,     // a merged file shorter than its header and size list
    ReadFailed,       // the file could not be read whole
    NoMemory,         // no room for the file or for an image's bytes
    ImageTooShort,    // shorter than its header and trailer plus one image byte
    MergedHeader,     // neither header byte is 's'
    MergedCount,      // image count outside 2..5
    MergedSizes,      // the listed images do not fit the file
    FirmwareId,
    ModelId,
    Checksum,
};

constexpr size_t kMaxImageFileSize = 0x100000;   // a standalone image file
constexpr size_t kMaxMergedFileSize = 0x200000;  // a merged file
constexpr size_t kImageOverhead = 14;            // ids, start parameters, trailer, checksum
constexpr uint8_t kFirmwareIdMcu = 1;
constexpr uint8_t kFirmwareIdMergedDsp = 2;
constexpr uint32_t kMinMergedImages = 2;
constexpr uint32_t kMaxMergedImages = 5;

struct FirmwareImage {
    uint8_t firmwareId = 0;
    uint8_t modelId = 0;
    uint8_t startParams[4] = {0, 0, 0, 0};
    uint32_t storedChecksum = 0;    // as read from the file
    uint32_t computedChecksum = 0;  // sum of the bytes before the checksum
    uint32_t fileSize = 0;          // N
    std::vector<uint8_t> bytes;     // the N - 14 bytes to transfer; empty unless accepted
};

// A parsed upgrade file. The engine transfers `dsp` for UPG_KIND_DSP and
// `mcu` for UPG_KIND_MCU / UPG_KIND_LOADER; a merged file leaves both loaded
// (the MCU image is checked, not transferred). Image fields are filled as
// far as parsing got, also when a file is refused, for the engine's log.
struct FirmwareFile {
    UpgradeKind kind = UPG_KIND_NONE;
    FirmwareFault fault = FirmwareFault::None;
    bool faultInDsp = false;           // which image the fault was found in
    uint8_t mergedHeader[2] = {0, 0};  // merged files only
    uint32_t mergedCount = 0;          // merged files only
    FirmwareImage mcu;
    FirmwareImage dsp;
};

// The 32-bit wrap-around sum of len bytes.
uint32_t FirmwareChecksum(const uint8_t* data, size_t len);

// An MCU application (kind UPG_KIND_MCU) or loader (UPG_KIND_LOADER) file:
// firmware id 1, the expected model id and a matching checksum.
uint32_t ParseMcuFile(const uint8_t* data, size_t size, uint8_t expectedModelId,
                      UpgradeKind kind, FirmwareFile* out);

// A standalone DSP flash file: the expected model id and a matching
// checksum; its firmware id is not checked.
uint32_t ParseFlashFile(const uint8_t* data, size_t size, uint8_t expectedModelId,
                        FirmwareFile* out);

// A merged file: header, count 2..5, sizes that fit the file, then an MCU
// image (firmware id 1) and a DSP image (firmware id 2), both checked.
uint32_t ParseMergedFile(const uint8_t* data, size_t size, uint8_t expectedModelId,
                         FirmwareFile* out);

// Largest file accepted for a type (0 for types that carry no image).
size_t MaxUpgradeFileSize(UpgradeFileType type);

// Parses a file of one of the four image-carrying types; anything else is
// UPG_FILE_INVALID.
uint32_t ParseUpgradeFile(UpgradeFileType type, const uint8_t* data, size_t size,
                          uint8_t expectedModelId, FirmwareFile* out);
