#pragma once

// Upgrade files are recognised by name: the file name (after the last '\' or
// '/'), upper-cased, is searched for "BL_UPG.BIN", "FLASH_UPG.BIN",
// "MCU_UPG.BIN" and "UPG_FW.BIN" in that order; a name with none of them
// may still be "DOWNLOAD.BAT".
enum class UpgradeFileType {
    Unknown,
    DownloadScript,  // "DOWNLOAD.BAT": no image, nothing to transfer
    Loader,          // MCU loader image
    Flash,           // DSP flash image
    Mcu,             // MCU application image
    Merged,          // MCU and DSP images in one file
};

UpgradeFileType UpgradeFileTypeFromPath(const wchar_t* path);
