#include "device/UpgradeFileName.h"

#include <gtest/gtest.h>

namespace {

TEST(UpgradeFileName, RecognisesEachKindIgnoringCase) {
    EXPECT_EQ(UpgradeFileTypeFromPath(L"C:\\fw\\BrisaDSP_MCU_UPG.bin"), UpgradeFileType::Mcu);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"c:\\fw\\my_mcu_upg.bin"), UpgradeFileType::Mcu);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"C:\\fw\\BrisaDSP_FLASH_UPG.BIN"), UpgradeFileType::Flash);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"BL_UPG.BIN"), UpgradeFileType::Loader);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"d:\\new\\upg_fw.bin"), UpgradeFileType::Merged);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"D:\\Download.bat"), UpgradeFileType::DownloadScript);
    // Non-ASCII letters around the name change nothing.
    EXPECT_EQ(UpgradeFileTypeFromPath(L"C:\\\u00e9\u4e2d\\\u00e9mcu_upg.bin"), UpgradeFileType::Mcu);
}

TEST(UpgradeFileName, OnlyTheFileNameCounts) {
    EXPECT_EQ(UpgradeFileTypeFromPath(L"C:\\MCU_UPG.BIN\\other.bin"), UpgradeFileType::Unknown);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"Z:/tmp/MCU_UPG.BIN/x.bin"), UpgradeFileType::Unknown);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"Z:/tmp/fw/MCU_UPG.BIN"), UpgradeFileType::Mcu);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"C:\\fw\\"), UpgradeFileType::Unknown);
}

TEST(UpgradeFileName, FirstMatchInFixedOrderWins) {
    EXPECT_EQ(UpgradeFileTypeFromPath(L"FLASH_UPG.BIN.BL_UPG.BIN"), UpgradeFileType::Loader);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"MCU_UPG.BIN.FLASH_UPG.BIN"), UpgradeFileType::Flash);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"UPG_FW.BIN.MCU_UPG.BIN"), UpgradeFileType::Mcu);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"DOWNLOAD.BAT.UPG_FW.BIN"), UpgradeFileType::Merged);
}

TEST(UpgradeFileName, OtherNamesAreUnknown) {
    EXPECT_EQ(UpgradeFileTypeFromPath(nullptr), UpgradeFileType::Unknown);
    EXPECT_EQ(UpgradeFileTypeFromPath(L""), UpgradeFileType::Unknown);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"C:\\fw\\firmware.bin"), UpgradeFileType::Unknown);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"MCU_UPG.BI"), UpgradeFileType::Unknown);
    EXPECT_EQ(UpgradeFileTypeFromPath(L"MCU-UPG.BIN"), UpgradeFileType::Unknown);
}

}  // namespace
