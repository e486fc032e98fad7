// Which firmware images each program carries, and the checks that decide
// whether the forced update may use them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/tuning/CarriedFirmware.h"
#include "base/Log.h"

namespace {

constexpr uint8_t kModelId = 95;

struct ProgramCase {
    const wchar_t* path;
    CarriedFirmwareState expected;
};

class ProgramImages : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(ProgramImages, CarriesExactlyWhatItsBuildWasGiven)
{
    const ProgramCase c = GetParam();
    HMODULE program = LoadLibraryExW(c.path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program);
    EXPECT_EQ(c.expected, CheckCarriedFirmware(FindCarriedFirmware(program), kModelId));
    FreeLibrary(program);
}

INSTANTIATE_TEST_SUITE_P(Builds, ProgramImages,
                         ::testing::Values(ProgramCase{BRISA_PROGRAM_EXE, BRISA_PROGRAM_CARRIES},
                                           ProgramCase{BRISA_SIM_PROGRAM_EXE, CarriedFirmwareState::Usable}));

// The simulated program's images as bytes, to be spoilt one way at a time.
struct Images {
    std::vector<uint8_t> mcu;
    std::vector<uint8_t> flash;
};

Images SimImages()
{
    Images images;
    HMODULE program = LoadLibraryExW(BRISA_SIM_PROGRAM_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (program == nullptr) return images;
    const CarriedFirmware found = FindCarriedFirmware(program);
    if (found.mcu != nullptr) images.mcu.assign(found.mcu, found.mcu + found.mcuSize);
    if (found.flash != nullptr) images.flash.assign(found.flash, found.flash + found.flashSize);
    FreeLibrary(program);
    return images;
}

struct SpoilCase {
    const char* what;
    void (*spoil)(Images&);
    CarriedFirmwareState expected;
};

class SpoiltImages : public ::testing::TestWithParam<SpoilCase> {};

TEST_P(SpoiltImages, AreNotOffered)
{
    Images images = SimImages();
    ASSERT_FALSE(images.mcu.empty());
    ASSERT_FALSE(images.flash.empty());
    GetParam().spoil(images);
    CarriedFirmware carried;
    if (!images.mcu.empty()) carried = {images.mcu.data(), images.mcu.size(), nullptr, 0};
    if (!images.flash.empty()) {
        carried.flash = images.flash.data();
        carried.flashSize = images.flash.size();
    }
    EXPECT_EQ(GetParam().expected, CheckCarriedFirmware(carried, kModelId)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SpoiltImages,
    ::testing::Values(SpoilCase{"untouched", [](Images&) {}, CarriedFirmwareState::Usable},
                      SpoilCase{"MCU for another model", [](Images& i) { i.mcu[1] = 96; }, CarriedFirmwareState::FailsChecks},
                      SpoilCase{"DSP for another model", [](Images& i) { i.flash[1] = 94; }, CarriedFirmwareState::FailsChecks},
                      SpoilCase{"MCU with the DSP firmware id", [](Images& i) { i.mcu[0] = 2; }, CarriedFirmwareState::FailsChecks},
                      SpoilCase{"DSP byte changed", [](Images& i) { i.flash[100] ^= 1; }, CarriedFirmwareState::FailsChecks},
                      SpoilCase{"MCU checksum changed", [](Images& i) { i.mcu.back() ^= 1; }, CarriedFirmwareState::FailsChecks},
                      SpoilCase{"DSP image missing", [](Images& i) { i.flash.clear(); }, CarriedFirmwareState::Incomplete},
                      SpoilCase{"MCU image missing", [](Images& i) { i.mcu.clear(); }, CarriedFirmwareState::Incomplete},
                      SpoilCase{"both missing", [](Images& i) { i = Images(); }, CarriedFirmwareState::NotCarried}));

TEST(ForcedUpdateOffer, AProgramWithoutImagesSaysWhyInTheLog)
{
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
    const std::wstring path = std::wstring(folder) + L"brisa_carried_fw.log";
    ASSERT_TRUE(OpenLogFile(path.c_str()));
    // This test program carries no images.
    const bool offered = ForcedUpdateOffered(kModelId);
    CloseLog();
    EXPECT_FALSE(offered);
    std::string text;
    FILE* file = _wfopen(path.c_str(), L"rb");
    ASSERT_NE(nullptr, file);
    char chunk[512];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) text.append(chunk, got);
    fclose(file);
    EXPECT_NE(std::string::npos, text.find("No forced firmware update offered: this build carries no firmware images"))
        << text;
    DeleteFileW(path.c_str());
}

} // namespace
