#include "tests/device/DspGoldenCases.h"

#include <cstdlib>

#include "device/DspQueryPayloads.h"
#include "device/DspSetPayloads.h"

using namespace dsp;

namespace {

constexpr uint8_t SET = 0xBB;
constexpr uint8_t GET = 0x66;

// Arguments of the rows. Arrays of the refused rows are long enough for the
// range they name, so a missing check shows as a sent frame, not a crash.
const float kDelays[] = {2.345f, 0.0f, 15.0f};
const float kDelays17[17] = {};
const float kTrims[] = {-3.7f, 6.0f};
const float kTrimHundredths[] = {1.25f, -3.25f};
const uint8_t kOnOffOn[] = {1, 0, 1};
const uint8_t kBytes17[17] = {};
const uint32_t kMasks[] = {0x2A05, 0x0001};
const uint32_t kMasks17[17] = {};
const uint8_t kTypes[] = {1, 7};
const uint8_t kPairs[] = {0, 1, 2, 3};
const uint8_t kPairs19[38] = {};
const uint8_t kBadPair[] = {0, 16};
const uint8_t kResetChannels[] = {3, 4};
const uint8_t kResetChannels8[8] = {};
const uint8_t kBadResetChannel[] = {16};
const uint8_t kMixTrims[] = {100, 0, 50};
const CompressorSetting2 kCompressors[] = {{-20.5f, 10, 1500}, {-3.0f, 300, 200}};
const CompressorSetting2 kCompressors9[9] = {};
const uint32_t kBridges[] = {1, 0, 0, 1, 0, 0, 0, 0x101};
const uint32_t kBridges18[18] = {};
const uint8_t kCompBypass = 1;
const float kCompNoise = -60.5f;
const float kCompRatio = 2.5f;
const uint32_t kCompAttack = 0x0123;
const uint32_t kCompRelease = 0x0456;
const float kCompKnee = 4.6f;

CsAutoSetting CountingSetting() {
    CsAutoSetting setting;
    for (uint8_t i = 0; i < sizeof(setting.bytes); ++i) setting.bytes[i] = i;
    return setting;
}
const CsAutoSetting kAutoSetting = CountingSetting();

}  // namespace

#define ENC(call) [](uint8_t* out, size_t* length) { return call; }
// The builder and the method given the same arguments: SAME's method also
// takes sync, QUERY's takes nothing more and no sync flag.
#define SAME(encoder, method, ...) ENC(encoder(__VA_ARGS__, out, length)), DEV(method(__VA_ARGS__, sync))
#define QUERY(encoder, method, ...) ENC(encoder(__VA_ARGS__, out, length)), DEV(method(__VA_ARGS__)) false
#ifdef _WIN32
#define DEV(call) [](DspDevice& d, bool sync) { (void)sync; d.call; },
#else
#define DEV(call)
#endif

const std::vector<GoldenCase>& GoldenCases() {
    static const std::vector<GoldenCase> cases = {
        // Set commands.
        {"Source_Switch_Ctrl", 0x01, SET, "53", nullptr, DEV(Source_Switch_Ctrl(0x53, sync))},
        {"Main_Volume_Ctrl", 0x02, SET, "F6", nullptr, DEV(Main_Volume_Ctrl(-10.7f, sync))},
        {"Main_Volume_Ctrl +6", 0x02, SET, "06", nullptr, DEV(Main_Volume_Ctrl(6.0f, sync))},
        {"Mute_Ctrl", 0x04, SET, "01", nullptr, DEV(Mute_Ctrl(1, sync))},
        {"Filter_Ctrl", 0x05, SET, "02 00 04 02 01 03 E8 03", SAME(EncodeFilter, Filter_Ctrl, 2, 0, 4, 2, 1000, 3, 1)},
        {"Filter_Ctrl low 16 bits", 0x05, SET, "00 00 0F 01 02 11 70 04",
         SAME(EncodeFilter, Filter_Ctrl, 0, 0, 15, 1, 70000, 4, 2)},
        {"EQ_Ctrl", 0x06, SET, "00 00 03 05 03 E8 05 08 0F 00", SAME(EncodeEq, EQ_Ctrl, 0, 0, 3, 5, 1000, 5.8f, -3.0f)},
        {"EQ_Ctrl Q 4.6 gain 4.6", 0x06, SET, "01 00 0F 1E 4E 20 04 06 16 06",
         SAME(EncodeEq, EQ_Ctrl, 1, 0, 15, 30, 20000, 4.6f, 4.6f)},
        {"EQ_Ctrl Q 2.3 gain 2.3", 0x06, SET, "00 00 00 01 00 50 02 03 14 03",
         SAME(EncodeEq, EQ_Ctrl, 0, 0, 0, 1, 80, 2.3f, 2.3f)},
        {"EQ_Ctrl gain -3.7", 0x06, SET, "00 00 01 02 04 E2 01 01 0E 03",
         SAME(EncodeEq, EQ_Ctrl, 0, 0, 1, 2, 1250, 1.15f, -3.7f)},
        {"EQ_Ctrl -18 dB, Q 0.5", 0x06, SET, "00 00 00 00 00 14 00 05 00 00",
         SAME(EncodeEq, EQ_Ctrl, 0, 0, 0, 0, 20, 0.5f, -18.0f)},
        {"EQ_Ctrl Q 5.85 sends tenths", 0x06, SET, "00 00 00 00 00 14 05 08 18 05",
         SAME(EncodeEq, EQ_Ctrl, 0, 0, 0, 0, 20, 5.85f, 6.5f)},
        {"Delay_Ctrl", 0x07, SET, "00 00 02 04 02 01 59 00 00 00 0F 00 00",
         SAME(EncodeDelays, Delay_Ctrl, 0, 0, 2, 4, kDelays)},
        {"Delay_Ctrl last < first", 0x07, SET, "00 00 05 04", SAME(EncodeDelays, Delay_Ctrl, 0, 0, 5, 4, kDelays)},
        {"Trim_Ctrl", 0x08, SET, "00 00 00 01 FD 06",
         ENC(EncodeTrims(0, 0, 0, 1, kTrims, false, out, length)),
         DEV(Trim_Ctrl(0, 0, 0, 1, kTrims, sync))},
        {"Trim_Ctrl hundredths", 0x08, SET, "00 00 03 04 01 19 FD E7",
         ENC(EncodeTrims(0, 0, 3, 4, kTrimHundredths, true, out, length)),
         DEV(Trim_Ctrl(0, 0, 3, 4, kTrimHundredths, sync)) true, 14, 1},
        {"Mute_Ch_Ctrl", 0x09, SET, "00 00 00 02 01 00 01",
         SAME(EncodeChannelBytes, Mute_Ch_Ctrl, 0, 0, 0, 2, kOnOffOn)},
        {"Phase_Ctrl", 0x0A, SET, "02 00 0F 0F 01", nullptr,
         DEV(Phase_Ctrl(2, 0, 15, 15, kOnOffOn, sync))},
        {"Mix_Ch_Ctrl 14 inputs", 0x0B, SET, "00 03 00 01 2A 05 00 01",
         ENC(EncodeMixMasks(0, 3, 0, 1, kMasks, 14, out, length)),
         DEV(Mix_Ch_Ctrl(0, 3, 0, 1, kMasks, sync))},
        {"Mix_Ch_Ctrl 8 inputs", 0x0B, SET, "00 03 00 01 05 01",
         ENC(EncodeMixMasks(0, 3, 0, 1, kMasks, 8, out, length)),
         DEV(Mix_Ch_Ctrl(0, 3, 0, 1, kMasks, sync)) true, 8},
        {"CH_Type_Ctrl", 0x0D, SET, "00 00 00 01 01 07", nullptr,
         DEV(CH_Type_Ctrl(0, 0, 0, 1, kTypes, sync))},
        {"CH_Link_Ctrl", 0x0E, SET, "00 01 02 00 01 02 03", SAME(EncodeChannelLink, CH_Link_Ctrl, 0, 1, 2, kPairs)},
        {"CH_Link_Ctrl cleared", 0x0E, SET, "00 00 00", SAME(EncodeChannelLink, CH_Link_Ctrl, 0, 0, 0, nullptr)},
        {"CH_Lock_Ctrl", 0x0F, SET, "00 01", nullptr, DEV(CH_Lock_Ctrl(0, 1, sync))},
        {"PEQ_Reset_Ctrl", 0x11, SET, "00 00 02 03 04", SAME(EncodePeqReset, PEQ_Reset_Ctrl, 0, 0, 2, kResetChannels)},
        {"PEQ_Bypass_Ctrl", 0x12, SET, "00 00 00 00 01", nullptr,
         DEV(PEQ_Bypass_Ctrl(0, 0, 0, 0, kOnOffOn, sync))},
        {"Input_Phase_Ctrl", 0x22, SET, "00 02 00 01 01 00", nullptr,
         DEV(Input_Phase_Ctrl(0, 2, 0, 1, kOnOffOn, sync))},
        {"Input_Mix_Trim_Ctrl", 0x24, SET, "00 05 0B 00 02 64 00 32",
         SAME(EncodeInputMixTrims, Input_Mix_Trim_Ctrl, 0, 5, 11, 0, 2, kMixTrims)},
        {"Input_Ch_Threshold_Ctrl", 0x26, SET, "C4", nullptr,
         DEV(Input_Ch_Threshold_Ctrl(-60, sync))},
        {"Solo_Ctrl", 0x34, SET, "00 00 01 01 01", nullptr,
         DEV(Solo_Ctrl(0, 0, 1, 1, kOnOffOn, sync))},
        {"AUTO_ON_Ctrl", 0x3B, SET, "01 01", nullptr, DEV(AUTO_ON_Ctrl(1, 1, sync))},
        {"IRC_Active_Bypass_Ctrl", 0x3C, SET, "00 01", nullptr,
         DEV(IRC_Active_Bypass_Ctrl(0, 1, sync))},
        {"CS_Auto_Setting_Ctrl", 0x3D, SET,
         "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 "
         "1A 1B 1C 1D 1E 1F 20 21 22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F 30 31 32 33",
         nullptr, DEV(CS_Auto_Setting_Ctrl(kAutoSetting, sync))},
        {"Compressor_Ctrl", 0x3E, SET, "00 00 02 01 27 05 02 05 04 06 01 23 04 56",
         ENC(EncodeCompressor(0, 0, 2, 1, -60.5f, 2.5f, 0x0123, 0x0456, 4.6f, out, length)),
         DEV(Compressor_Ctrl(0, 0, 2, &kCompBypass, &kCompNoise, &kCompRatio, &kCompAttack,
                             &kCompRelease, &kCompKnee, sync))},
        {"Amp_Mute_Ctrl", 0x3F, SET, "01", nullptr, DEV(Amp_Mute_Ctrl(1, sync))},
        {"Set_MemData", 0x42, SET, "78 56 34 12 BE BA FE CA", SAME(EncodeMemData, Set_MemData, 0x12345678, 0xCAFEBABE)},
        {"Rem_Out_Ctrl", 0x45, SET, "01 00", nullptr, DEV(Rem_Out_Ctrl(1, 0, sync))},
        {"Compressor_Ch_Ctrl", 0x49, SET, "00 00 00 01 01 00", nullptr,
         DEV(Compressor_Ch_Ctrl(0, 0, 0, 1, kOnOffOn, sync))},
        {"Compressor_Ctrl2", 0x4A, SET, "00 00 03 04 EC FB 00 0A 01 05 FD 00 01 2C 00 02",
         SAME(EncodeCompressor2, Compressor_Ctrl2, 0, 0, 3, 4, kCompressors)},
        {"Spk_Ohm_Ctrl", 0x4B, SET, "01", nullptr, DEV(Spk_Ohm_Ctrl(1, sync))},
        {"Output_Bridge_Ctrl", 0x4C, SET, "00 00 08 01 00 00 01 00 00 00 01",
         SAME(EncodeOutputBridge, Output_Bridge_Ctrl, 0, 0, 8, kBridges)},
        {"Cross_Source_Mix_Ctrl_CS47048", 0x4D, SET, "01 02 04 05 03",
         SAME(EncodeCrossSourceMix, Cross_Source_Mix_Ctrl_CS47048, 1, 2, 3, 4, 5)},
        {"Noise_Gate_Ctrl", 0x4E, SET, "01", nullptr, DEV(Noise_Gate_Ctrl(1, sync))},

        // Set commands at the limits: the largest accepted, then refused ones.
        {"Delay_Ctrl 16 channels", 0x07, SET,
         "00 00 00 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
         "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
         SAME(EncodeDelays, Delay_Ctrl, 0, 0, 0, 15, kDelays17)},
        {"Compressor_Ctrl2 8 channels", 0x4A, SET,
         "00 00 00 07 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
         "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
         SAME(EncodeCompressor2, Compressor_Ctrl2, 0, 0, 0, 7, kCompressors9)},
        {"PEQ_Reset_Ctrl 7 channels", 0x11, SET, "00 00 07 00 00 00 00 00 00 00",
         SAME(EncodePeqReset, PEQ_Reset_Ctrl, 0, 0, 7, kResetChannels8)},
        {"Output_Bridge_Ctrl 17 entries", 0x4C, SET, "00 00 11 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
         SAME(EncodeOutputBridge, Output_Bridge_Ctrl, 0, 0, 17, kBridges18)},
        {"Filter_Ctrl channel 16", 0x05, SET, nullptr, SAME(EncodeFilter, Filter_Ctrl, 0, 0, 16, 1, 1000, 3, 1)},
        {"EQ_Ctrl channel 16", 0x06, SET, nullptr, SAME(EncodeEq, EQ_Ctrl, 0, 0, 16, 0, 1000, 1.0f, 0.0f)},
        {"EQ_Ctrl band 31", 0x06, SET, nullptr, SAME(EncodeEq, EQ_Ctrl, 0, 0, 0, 31, 1000, 1.0f, 0.0f)},
        {"Delay_Ctrl channel 16", 0x07, SET, nullptr, SAME(EncodeDelays, Delay_Ctrl, 0, 0, 0, 16, kDelays17)},
        {"Trim_Ctrl channel 16", 0x08, SET, nullptr,
         ENC(EncodeTrims(0, 0, 16, 16, kDelays17, false, out, length)),
         DEV(Trim_Ctrl(0, 0, 16, 16, kDelays17, sync))},
        {"Mute_Ch_Ctrl channel 16", 0x09, SET, nullptr, SAME(EncodeChannelBytes, Mute_Ch_Ctrl, 0, 0, 16, 16, kBytes17)},
        {"Mix_Ch_Ctrl channel 16", 0x0B, SET, nullptr,
         ENC(EncodeMixMasks(0, 0, 0, 16, kMasks17, 14, out, length)),
         DEV(Mix_Ch_Ctrl(0, 0, 0, 16, kMasks17, sync))},
        {"CH_Type_Ctrl null values", 0x0D, SET, nullptr, SAME(EncodeChannelBytes, CH_Type_Ctrl, 0, 0, 0, 1, nullptr)},
        {"CH_Link_Ctrl 19 pairs", 0x0E, SET, nullptr, SAME(EncodeChannelLink, CH_Link_Ctrl, 0, 1, 19, kPairs19)},
        {"CH_Link_Ctrl channel 16", 0x0E, SET, nullptr, SAME(EncodeChannelLink, CH_Link_Ctrl, 0, 1, 1, kBadPair)},
        {"PEQ_Reset_Ctrl 8 channels", 0x11, SET, nullptr,
         SAME(EncodePeqReset, PEQ_Reset_Ctrl, 0, 0, 8, kResetChannels8)},
        {"PEQ_Reset_Ctrl channel 16", 0x11, SET, nullptr,
         SAME(EncodePeqReset, PEQ_Reset_Ctrl, 0, 0, 1, kBadResetChannel)},
        {"Input_Mix_Trim_Ctrl input 16", 0x24, SET, nullptr,
         SAME(EncodeInputMixTrims, Input_Mix_Trim_Ctrl, 0, 0, 16, 0, 2, kMixTrims)},
        {"Input_Mix_Trim_Ctrl output 16", 0x24, SET, nullptr,
         SAME(EncodeInputMixTrims, Input_Mix_Trim_Ctrl, 0, 0, 0, 0, 16, kBytes17)},
        {"Compressor_Ctrl channel 16", 0x3E, SET, nullptr,
         ENC(EncodeCompressor(0, 0, 16, 0, 0.0f, 1.0f, 0, 0, 0.0f, out, length)),
         DEV(Compressor_Ctrl(0, 0, 16, &kCompBypass, &kCompNoise, &kCompRatio, &kCompAttack,
                             &kCompRelease, &kCompKnee, sync))},
        {"Compressor_Ctrl null setting", 0x3E, SET, nullptr, nullptr,
         DEV(Compressor_Ctrl(0, 0, 0, &kCompBypass, nullptr, &kCompRatio, &kCompAttack,
                             &kCompRelease, &kCompKnee, sync))},
        {"Compressor_Ctrl2 9 channels", 0x4A, SET, nullptr,
         SAME(EncodeCompressor2, Compressor_Ctrl2, 0, 0, 0, 8, kCompressors9)},
        {"Output_Bridge_Ctrl 18 entries", 0x4C, SET, nullptr,
         SAME(EncodeOutputBridge, Output_Bridge_Ctrl, 0, 0, 18, kBridges18)},
        {"Cross_Source_Mix_Ctrl_CS47048 channel 16", 0x4D, SET, nullptr,
         SAME(EncodeCrossSourceMix, Cross_Source_Mix_Ctrl_CS47048, 0, 0, 16, 0, 0)},

        // Get queries.
        {"Get_Source", 0x01, GET, "", nullptr, DEV(Get_Source()) false},
        {"Get_Main_Volume", 0x02, GET, "", nullptr, DEV(Get_Main_Volume()) false},
        {"Get_Subwoofer_Volume", 0x03, GET, "", nullptr, DEV(Get_Subwoofer_Volume()) false},
        {"Get_Mute", 0x04, GET, "", nullptr, DEV(Get_Mute()) false},
        {"Get_Filter", 0x05, GET, "00 00 00 03", QUERY(EncodeRangeQuery, Get_Filter, 0, 0, 0, 3)},
        {"Get_EQ", 0x06, GET, "00 00 02 00 06", QUERY(EncodeEqQuery, Get_EQ, 0, 0, 2, 0, 6)},
        {"Get_Delay", 0x07, GET, "01 00 00 0F", nullptr, DEV(Get_Delay(1, 0, 0, 15)) false},
        {"Get_Trim", 0x08, GET, "02 00 03 04", nullptr, DEV(Get_Trim(2, 0, 3, 4)) false},
        {"Get_Mute_Ch", 0x09, GET, "00 00 00 0F", nullptr, DEV(Get_Mute_Ch(0, 0, 0, 15)) false},
        {"Get_Phase", 0x0A, GET, "00 00 05 06", nullptr, DEV(Get_Phase(0, 0, 5, 6)) false},
        {"Get_Mix_Ch", 0x0B, GET, "00 08 00 0F", nullptr, DEV(Get_Mix_Ch(0, 8, 0, 15)) false},
        {"Get_CH_Type", 0x0D, GET, "03 00 00 0F", nullptr, DEV(Get_CH_Type(3, 0, 0, 15)) false},
        {"Get_CH_Link", 0x0E, GET, "03", nullptr, DEV(Get_CH_Link(3)) false},
        {"Get_CH_Lock", 0x0F, GET, "0A", nullptr, DEV(Get_CH_Lock(10)) false},
        {"Get_PEQ_Bypass", 0x12, GET, "00 00 0C 0F", nullptr,
         DEV(Get_PEQ_Bypass(0, 0, 12, 15)) false},
        {"Get_Input_Mix_CH_Trim", 0x24, GET, "00 05 0B 00 0F",
         QUERY(EncodeInputMixTrimQuery, Get_Input_Mix_CH_Trim, 0, 5, 11, 0, 15)},
        {"Get_Ch_Solo", 0x34, GET, "00 00 00 0F", nullptr, DEV(Get_Ch_Solo(0, 0, 0, 15)) false},
        {"Get_Speaker_Config", 0x35, GET, "", nullptr, DEV(Get_Speaker_Config()) false},
        {"Get_Amp_Mute", 0x3F, GET, "", nullptr, DEV(Get_Amp_Mute()) false},
        {"Get_InDistort", 0x40, GET, "00 00 00 0D", nullptr, DEV(Get_InDistort(0, 0, 0, 13)) false},
        {"Get_OutDistort", 0x41, GET, "00 00 00 0F", nullptr,
         DEV(Get_OutDistort(0, 0, 0, 15)) false},
        {"Get_MemData", 0x42, GET, "34 12 00 00 00 00 00 00",
         ENC(EncodeMemData(0x1234, 0, out, length)), DEV(Get_MemData(0x1234, sync))},
        {"Get_Rem_Out", 0x45, GET, "", nullptr, DEV(Get_Rem_Out()) false},
        {"Get_Spk_Ohm", 0x4B, GET, "", nullptr, DEV(Get_Spk_Ohm()) false},
        {"Get_Ouput_Bridge", 0x4C, GET, "00 00 08", QUERY(EncodeBridgeQuery, Get_Ouput_Bridge, 0, 0, 8)},
        {"Get_Cross_Source_Mix_CS47048", 0x4D, GET, "00 03 00 00 01",
         ENC(EncodeCrossSourceMix(0, 3, 1, 0, 0, out, length)),
         DEV(Get_Cross_Source_Mix_CS47048(0, 3, 1)) false},
        {"Get_Noise_Gate", 0x4E, GET, "", nullptr, DEV(Get_Noise_Gate()) false},
        {"Get_Input_Threshold", 0x26, GET, "00 04", nullptr,
         DEV(Get_Input_Threshold(0, 4, sync))},
        {"Get_Input_Noise", 0x27, GET, "00 0D", SAME(EncodeInputNoiseQuery, Get_Input_Noise, 0, 13)},

        // Queries beyond the arrays.
        {"Get_Filter channel 16", 0x05, GET, nullptr, QUERY(EncodeRangeQuery, Get_Filter, 0, 0, 0, 16)},
        {"Get_EQ channel 16", 0x06, GET, nullptr, QUERY(EncodeEqQuery, Get_EQ, 0, 0, 16, 0, 6)},
        {"Get_EQ band 31", 0x06, GET, nullptr, QUERY(EncodeEqQuery, Get_EQ, 0, 0, 0, 24, 31)},
        {"Get_Input_Mix_CH_Trim input 16", 0x24, GET, nullptr,
         QUERY(EncodeInputMixTrimQuery, Get_Input_Mix_CH_Trim, 0, 0, 16, 0, 15)},
        {"Get_Ouput_Bridge 21 entries", 0x4C, GET, nullptr, QUERY(EncodeBridgeQuery, Get_Ouput_Bridge, 0, 0, 21)},
        {"Get_Cross_Source_Mix_CS47048 channel 16", 0x4D, GET, nullptr,
         nullptr, DEV(Get_Cross_Source_Mix_CS47048(0, 0, 16)) false},
        {"Get_Input_Noise channels 0..255", 0x27, GET, nullptr, SAME(EncodeInputNoiseQuery, Get_Input_Noise, 0, 255)},
    };
    return cases;
}

std::vector<uint8_t> HexBytes(const char* hex) {
    std::vector<uint8_t> bytes;
    char* end = nullptr;
    for (const char* p = hex; *p; p = end) {
        const unsigned long value = std::strtoul(p, &end, 16);
        if (end == p) break;
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}
