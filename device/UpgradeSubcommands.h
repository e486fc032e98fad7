// Subcommand bytes of the firmware upgrade: the MCU application's and its
// loader's (packet type CMD_MCU) and the DSP flash's (CMD_FLASH).
#pragma once

#include <cstdint>

namespace dsp::upgrade {

constexpr uint8_t kMcuEnter = 0x01;
constexpr uint8_t kMcuStart = 0x02;
constexpr uint8_t kMcuBlock = 0x03;
constexpr uint8_t kMcuFinish = 0x04;
constexpr uint8_t kLoaderEnter = 0xA0;
constexpr uint8_t kLoaderStart = 0xA1;
constexpr uint8_t kLoaderBlock = 0xA2;
constexpr uint8_t kLoaderFinish = 0xA3;
constexpr uint8_t kFlashErase = 0x02;
constexpr uint8_t kFlashStart = 0x03;
constexpr uint8_t kFlashBlock = 0x04;
constexpr uint8_t kFlashFinish = 0x05;

}  // namespace dsp::upgrade
