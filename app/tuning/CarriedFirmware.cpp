#include "app/tuning/CarriedFirmware.h"

#include "base/Log.h"
#include "device/FirmwareFile.h"

namespace {

const uint8_t* FindImage(HMODULE module, const wchar_t* name, size_t* size)
{
    *size = 0;
    HRSRC resource = FindResourceW(module, name, kCarriedType);
    if (resource == nullptr) return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr) return nullptr;
    *size = SizeofResource(module, resource);
    return static_cast<const uint8_t*>(LockResource(loaded));
}

const char* ReasonOf(CarriedFirmwareState state)
{
    switch (state) {
    case CarriedFirmwareState::NotCarried: return "this build carries no firmware images";
    case CarriedFirmwareState::Incomplete: return "this build carries only one of the two firmware images";
    case CarriedFirmwareState::FailsChecks: return "the carried firmware images fail the model or checksum check";
    case CarriedFirmwareState::Usable: break;
    }
    return "";
}

} // namespace

CarriedFirmware FindCarriedFirmware(HMODULE module)
{
    CarriedFirmware images;
    images.mcu = FindImage(module, kCarriedMcuName, &images.mcuSize);
    images.flash = FindImage(module, kCarriedFlashName, &images.flashSize);
    return images;
}

CarriedFirmwareState CheckCarriedFirmware(const CarriedFirmware& images, uint8_t modelId)
{
    if (images.mcu == nullptr && images.flash == nullptr) return CarriedFirmwareState::NotCarried;
    if (images.mcu == nullptr || images.flash == nullptr) return CarriedFirmwareState::Incomplete;
    FirmwareFile parsed;
    if (ParseMcuFile(images.mcu, images.mcuSize, modelId, UPG_KIND_MCU, &parsed) != UPG_OK ||
        ParseFlashFile(images.flash, images.flashSize, modelId, &parsed) != UPG_OK) {
        return CarriedFirmwareState::FailsChecks;
    }
    return CarriedFirmwareState::Usable;
}

bool ForcedUpdateOffered(uint8_t modelId)
{
    const CarriedFirmwareState state = CheckCarriedFirmware(FindCarriedFirmware(GetModuleHandleW(nullptr)), modelId);
    if (state == CarriedFirmwareState::Usable) return true;
    LogPrintA("No forced firmware update offered: %s\n", ReasonOf(state));
    return false;
}
