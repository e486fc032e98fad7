#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/FirmwareFile.h"

// Reads a whole file by its wide path. A file above maxSize is refused with
// UPG_FILE_INVALID (FileTooLarge) before any of it is read; one that cannot
// be opened gives UPG_FILE_OPEN_FAIL, a failed read UPG_FILE_INVALID
// (ReadFailed).
uint32_t ReadFirmwareFile(const wchar_t* path, size_t maxSize, std::vector<uint8_t>* out,
                          FirmwareFault* fault);

// Reads and parses an upgrade file of the given type. A merged file that
// cannot be opened is reported as UPG_FILE_INVALID, the other types as
// UPG_FILE_OPEN_FAIL.
uint32_t LoadUpgradeFile(const wchar_t* path, UpgradeFileType type, uint8_t expectedModelId,
                         FirmwareFile* out);
