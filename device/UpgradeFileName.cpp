#include "device/UpgradeFileName.h"

#include <string>

namespace {

bool Contains(const std::wstring& name, const wchar_t* part) {
    return name.find(part) != std::wstring::npos;
}

}  // namespace

UpgradeFileType UpgradeFileTypeFromPath(const wchar_t* path) {
    if (path == nullptr) return UpgradeFileType::Unknown;
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/') name = p + 1;
    }
    std::wstring upper(name);
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    if (Contains(upper, L"BL_UPG.BIN")) return UpgradeFileType::Loader;
    if (Contains(upper, L"FLASH_UPG.BIN")) return UpgradeFileType::Flash;
    if (Contains(upper, L"MCU_UPG.BIN")) return UpgradeFileType::Mcu;
    if (Contains(upper, L"UPG_FW.BIN")) return UpgradeFileType::Merged;
    if (Contains(upper, L"DOWNLOAD.BAT")) return UpgradeFileType::DownloadScript;
    return UpgradeFileType::Unknown;
}
