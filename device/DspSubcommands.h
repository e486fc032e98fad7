// Subcommand bytes of the DSP packet type, by their protocol names.
#pragma once

#include <cstdint>

namespace dsp {

enum DspSubcommand : uint8_t {
    DSP_SOURCE_SWITCH = 0x01,
    DSP_VOLUME = 0x02,
    DSP_SUBWOOFER_VOLUME = 0x03,
    DSP_MUTE = 0x04,
    DSP_FILTER_SET = 0x05,
    DSP_EQ_CH = 0x06,
    DSP_DELAY_CH = 0x07,
    DSP_TRIM_CH = 0x08,
    DSP_MUTE_CH = 0x09,
    DSP_PHASE_CH = 0x0A,
    DSP_MIX_CH = 0x0B,
    DSP_CH_TYPE = 0x0D,
    DSP_CH_LINK = 0x0E,
    DSP_CH_LOCK = 0x0F,
    DSP_EQ_RESET = 0x11,
    DSP_EQ_BYPASS = 0x12,
    DSP_INPUT_CH_PHASE = 0x22,
    DSP_INPUT_MIX_CH_TRIM = 0x24,
    DSP_INPUT_THRESHOLD = 0x26,
    DSP_INPUT_NOISE = 0x27,
    DSP_CH_SOLO = 0x34,
    DSP_SPK_CH_CONFIG = 0x35,
    DSP_AUTO_EFFECTION_ON_OFF_CONTROL = 0x3B,
    DSP_IRC_ACTIVE_BYPASS_CONTROL = 0x3C,
    DSP_CS_AUTO_SETTING = 0x3D,
    DSP_COMPRESSOR_SETTING = 0x3E,
    DSP_AMP_MUTE = 0x3F,
    DSP_INPUT_CH_DISTORT = 0x40,
    DSP_OUTPUT_CH_DISTORT = 0x41,
    DSP_MEM_DATA = 0x42,
    DSP_REM_OUT = 0x45,
    DSP_COMPRESSOR_ON_CH = 0x49,
    DSP_COMPRESSOR_SETTING2 = 0x4A,
    DSP_SPK_OHM = 0x4B,
    DSP_OUPUT_BRIDGE = 0x4C,
    DSP_CROSS_SOURCE_MIX_CS47048 = 0x4D,
    DSP_NOISE_GATE = 0x4E,
};

}  // namespace dsp
