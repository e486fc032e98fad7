#include "device/FirmwareFileReader.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "tests/device/FirmwareImageBuilder.h"
#include "tests/device/TempFirmwareFile.h"

namespace {

using fwtest::kModelId;

using fwtest::TempFile;

// Letters outside the ANSI code page in every file name.
const wchar_t* const kFilePrefix = L"fw_\u00e9\u4e2d\u0416_";

TEST(FirmwareFileReader, LoadsEachTypeByWidePath) {
    const std::vector<uint8_t> mcu = fwtest::McuImage(70);
    TempFile mcuFile(kFilePrefix, L"MCU_UPG.BIN", mcu);
    FirmwareFile out;
    ASSERT_EQ(LoadUpgradeFile(mcuFile.path(), UpgradeFileTypeFromPath(mcuFile.path()), kModelId, &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_MCU);
    EXPECT_EQ(out.mcu.bytes, fwtest::Pattern(70, 3));

    TempFile merged(kFilePrefix, L"UPG_FW.BIN", fwtest::MergedFile({mcu, fwtest::DspImage(120)}));
    ASSERT_EQ(LoadUpgradeFile(merged.path(), UpgradeFileType::Merged, kModelId, &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_DSP);
    EXPECT_EQ(out.dsp.bytes, fwtest::Pattern(120, 9));

    ASSERT_EQ(LoadUpgradeFile(mcuFile.path(), UpgradeFileType::Mcu, 94, &out), UPG_FILE_INVALID);
    EXPECT_EQ(out.fault, FirmwareFault::ModelId);
}

TEST(FirmwareFileReader, MissingFiles) {
    FirmwareFile out;
    EXPECT_EQ(LoadUpgradeFile(L"no_such_MCU_UPG.BIN", UpgradeFileType::Mcu, kModelId, &out), UPG_FILE_OPEN_FAIL);
    EXPECT_EQ(LoadUpgradeFile(L"no_such_FLASH_UPG.BIN", UpgradeFileType::Flash, kModelId, &out),
              UPG_FILE_OPEN_FAIL);
    // The merged parser reports an unopenable file as invalid.
    EXPECT_EQ(LoadUpgradeFile(L"no_such_UPG_FW.BIN", UpgradeFileType::Merged, kModelId, &out), UPG_FILE_INVALID);
    std::vector<uint8_t> data = {1, 2, 3};
    FirmwareFault fault = FirmwareFault::Checksum;
    EXPECT_EQ(ReadFirmwareFile(L"no_such_file.bin", 100, &data, &fault), UPG_FILE_OPEN_FAIL);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(fault, FirmwareFault::None);
}

TEST(FirmwareFileReader, OversizedFileIsRefusedUnread) {
    TempFile big(kFilePrefix, L"FLASH_UPG.BIN", fwtest::DspImage(0x100000 - 13));
    FirmwareFile out;
    EXPECT_EQ(LoadUpgradeFile(big.path(), UpgradeFileType::Flash, kModelId, &out), UPG_FILE_INVALID);
    EXPECT_EQ(out.fault, FirmwareFault::FileTooLarge);
    EXPECT_TRUE(out.dsp.bytes.empty());
    std::vector<uint8_t> data;
    FirmwareFault fault = FirmwareFault::None;
    EXPECT_EQ(ReadFirmwareFile(big.path(), 0x100000, &data, &fault), UPG_FILE_INVALID);
    EXPECT_EQ(fault, FirmwareFault::FileTooLarge);
    EXPECT_EQ(data.capacity(), 0u);
    // The merged limit is larger.
    EXPECT_EQ(ReadFirmwareFile(big.path(), 0x200000, &data, &fault), UPG_OK);
    EXPECT_EQ(data.size(), 0x100001u);
}

TEST(FirmwareFileReader, EmptyAndUnknownFiles) {
    TempFile empty(kFilePrefix, L"MCU_UPG.BIN", {});
    FirmwareFile out;
    EXPECT_EQ(LoadUpgradeFile(empty.path(), UpgradeFileType::Mcu, kModelId, &out), UPG_FILE_INVALID);
    EXPECT_EQ(out.fault, FirmwareFault::ImageTooShort);
    EXPECT_EQ(LoadUpgradeFile(empty.path(), UpgradeFileType::Unknown, kModelId, &out), UPG_FILE_INVALID);
    EXPECT_EQ(LoadUpgradeFile(empty.path(), UpgradeFileType::DownloadScript, kModelId, &out), UPG_FILE_INVALID);
}

}  // namespace
