// The firmware images the program carries for the forced update: resources
// "FW_MCU" and "FW_FLASH" of type "FWIMAGE", present only when the build was
// given images (the simulated-unit build carries synthetic ones).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The images' version, as the unit reports it once they are installed.
constexpr int kCarriedMain = 1;
constexpr int kCarriedSlave = 25;

// The images' resource names and type.
constexpr wchar_t kCarriedMcuName[] = L"FW_MCU";
constexpr wchar_t kCarriedFlashName[] = L"FW_FLASH";
constexpr wchar_t kCarriedType[] = L"FWIMAGE";

struct CarriedFirmware {
    const uint8_t* mcu = nullptr;
    size_t mcuSize = 0;
    const uint8_t* flash = nullptr;
    size_t flashSize = 0;
};

// Why the forced update can or cannot be offered.
enum class CarriedFirmwareState {
    Usable,
    NotCarried,    // the build embedded no images
    Incomplete,    // only one of the two images
    FailsChecks,   // an image is not for this model or its checksum is wrong
};

// The images' bytes in module; both null when it carries none.
CarriedFirmware FindCarriedFirmware(HMODULE module);
// Both images present and passing the same checks a chosen file must pass.
CarriedFirmwareState CheckCarriedFirmware(const CarriedFirmware& images, uint8_t modelId);
// Checks the program's own images and logs why the forced update is not
// offered when it cannot be; true when it can.
bool ForcedUpdateOffered(uint8_t modelId);
