#include "device/FirmwareFileReader.h"

#include <stdio.h>

#include <new>

namespace {

struct FileCloser {
    FILE* f;
    ~FileCloser() { fclose(f); }
};

uint32_t Fail(FirmwareFault* fault, FirmwareFault why) {
    *fault = why;
    return UPG_FILE_INVALID;
}

}  // namespace

uint32_t ReadFirmwareFile(const wchar_t* path, size_t maxSize, std::vector<uint8_t>* out,
                          FirmwareFault* fault) {
    out->clear();
    *fault = FirmwareFault::None;
    FILE* f = _wfopen(path, L"rb");
    if (f == nullptr) return UPG_FILE_OPEN_FAIL;
    FileCloser closer{f};
    if (fseek(f, 0, SEEK_END) != 0) return Fail(fault, FirmwareFault::ReadFailed);
    const long size = ftell(f);
    if (size < 0) return Fail(fault, FirmwareFault::ReadFailed);
    if (static_cast<unsigned long>(size) > maxSize) return Fail(fault, FirmwareFault::FileTooLarge);
    if (fseek(f, 0, SEEK_SET) != 0) return Fail(fault, FirmwareFault::ReadFailed);
    try {
        out->resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return Fail(fault, FirmwareFault::NoMemory);
    }
    if (size > 0 && fread(out->data(), 1, out->size(), f) != out->size()) {
        out->clear();
        return Fail(fault, FirmwareFault::ReadFailed);
    }
    return UPG_OK;
}

uint32_t LoadUpgradeFile(const wchar_t* path, UpgradeFileType type, uint8_t expectedModelId,
                         FirmwareFile* out) {
    *out = FirmwareFile{};
    const size_t maxSize = MaxUpgradeFileSize(type);
    if (maxSize == 0) return UPG_FILE_INVALID;
    std::vector<uint8_t> data;
    const uint32_t result = ReadFirmwareFile(path, maxSize, &data, &out->fault);
    if (result == UPG_FILE_OPEN_FAIL && type == UpgradeFileType::Merged) return UPG_FILE_INVALID;
    if (result != UPG_OK) return result;
    return ParseUpgradeFile(type, data.data(), data.size(), expectedModelId, out);
}
