// Get queries: each asks the unit for a DSP value; the answer is decoded by
// the frame handler and reaches the application as a window message.
#include "base/Log.h"
#include "device/DspDevice.h"
#include "device/DspQueryPayloads.h"
#include "device/DspSetPayloads.h"
#include "device/DspSubcommands.h"

using namespace dsp;

namespace {

// Plain queries always wait for their answer on the caller's thread.
void Ask(DspDevice& device, uint8_t subcommand, const uint8_t* payload, size_t length,
         bool sync = true) {
    device.Submit(CMD_DSP, subcommand, OP_GET, payload, static_cast<uint8_t>(length), sync);
}

// Sends the request when it was built; otherwise logs why nothing was sent.
void AskIfBuilt(DspDevice& device, const wchar_t* query, uint8_t subcommand, bool built,
                const uint8_t* payload, size_t length, bool sync = true) {
    if (!built) {
        LogPrintW(L"%s: arguments out of range, nothing sent\n", query);
        return;
    }
    Ask(device, subcommand, payload, length, sync);
}

// scene, source, ch, ch_end.
void AskRange(DspDevice& device, const wchar_t* query, uint8_t subcommand, uint8_t scene,
              uint8_t source, uint8_t ch, uint8_t chEnd) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    const bool built = EncodeRangeQuery(scene, source, ch, chEnd, payload, &length);
    AskIfBuilt(device, query, subcommand, built, payload, length);
}

}  // namespace

void DspDevice::Get_Source() {
    LogPrintW(L"Get_Source\n");
    Ask(*this, DSP_SOURCE_SWITCH, nullptr, 0);
}

void DspDevice::Get_Main_Volume() {
    LogPrintW(L"Get_Main_Volume\n");
    Ask(*this, DSP_VOLUME, nullptr, 0);
}

void DspDevice::Get_Main_Volume_Queued() {
    LogPrintW(L"Get_Main_Volume\n");
    Ask(*this, DSP_VOLUME, nullptr, 0, false);
}

void DspDevice::Get_Subwoofer_Volume() {
    LogPrintW(L"Get_Subwoofer_Volume\n");
    Ask(*this, DSP_SUBWOOFER_VOLUME, nullptr, 0);
}

void DspDevice::Get_Mute() {
    LogPrintW(L"Get_Mute\n");
    Ask(*this, DSP_MUTE, nullptr, 0);
}

void DspDevice::Get_Filter(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_Filter: channel(%d) to channel(%d) @source(%d), scene(%d)\n", ch, ch_end,
              source, scene);
    AskRange(*this, L"Get_Filter", DSP_FILTER_SET, scene, source, ch, ch_end);
}

void DspDevice::Get_EQ(uint8_t scene, uint8_t source, uint8_t ch, uint8_t band,
                       uint8_t band_end) {
    LogPrintW(L"Get_EQ: band(%d) band_end(%d) @channel(%d) @source(%d), scene(%d)\n", band,
              band_end, ch, source, scene);
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    const bool built = EncodeEqQuery(scene, source, ch, band, band_end, payload, &length);
    AskIfBuilt(*this, L"Get_EQ", DSP_EQ_CH, built, payload, length);
}

void DspDevice::Get_Delay(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_Delay: scene(%d), channel(%d)\n", scene, ch);
    AskRange(*this, L"Get_Delay", DSP_DELAY_CH, scene, source, ch, ch_end);
}

void DspDevice::Get_Trim(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_Trim: scene(%d), channel(%d)\n", scene, ch);
    AskRange(*this, L"Get_Trim", DSP_TRIM_CH, scene, source, ch, ch_end);
}

void DspDevice::Get_Mute_Ch(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_Mute_Ch: scene(%d), channel(%d)\n", scene, ch);
    AskRange(*this, L"Get_Mute_Ch", DSP_MUTE_CH, scene, source, ch, ch_end);
}

void DspDevice::Get_Phase(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_Phase: scene(%d), channel(%d)\n", scene, ch);
    AskRange(*this, L"Get_Phase", DSP_PHASE_CH, scene, source, ch, ch_end);
}

void DspDevice::Get_Mix_Ch(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_Mix_Ch: scene(%d), output_channel(%d)\n", scene, ch);
    AskRange(*this, L"Get_Mix_Ch", DSP_MIX_CH, scene, source, ch, ch_end);
}

void DspDevice::Get_CH_Type(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_CH_Type: scene(%d), channel(%d), channel_end(%d)\n", scene, ch, ch_end);
    AskRange(*this, L"Get_CH_Type", DSP_CH_TYPE, scene, source, ch, ch_end);
}

void DspDevice::Get_CH_Link(uint8_t scene) {
    LogPrintW(L"Get_CH_Link: scene(%d)\n", scene);
    Ask(*this, DSP_CH_LINK, &scene, 1);
}

void DspDevice::Get_CH_Lock(uint8_t scene) {
    LogPrintW(L"Get_CH_Lock: scene(%d)\n", scene);
    Ask(*this, DSP_CH_LOCK, &scene, 1);
}

void DspDevice::Get_PEQ_Bypass(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_PEQ_Bypass: scene(%d), channel(%d)\n", scene, ch);
    AskRange(*this, L"Get_PEQ_Bypass", DSP_EQ_BYPASS, scene, source, ch, ch_end);
}

void DspDevice::Get_Input_Mix_CH_Trim(uint8_t scene, uint8_t source, uint8_t in_ch,
                                      uint8_t out_ch_x, uint8_t out_ch_y) {
    LogPrintW(L"Get_Input_Mix_CH_Trim: scene(%d), in_channel(%d), out_ch_x(%d) to out_ch_y(%d)\n",
              scene, in_ch, out_ch_x, out_ch_y);
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    const bool built =
        EncodeInputMixTrimQuery(scene, source, in_ch, out_ch_x, out_ch_y, payload, &length);
    AskIfBuilt(*this, L"Get_Input_Mix_CH_Trim", DSP_INPUT_MIX_CH_TRIM, built, payload, length);
}

void DspDevice::Get_Ch_Solo(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_Ch_Solo: scene(%d), channel(%d) to ch(%d)\n", scene, ch, ch_end);
    AskRange(*this, L"Get_Ch_Solo", DSP_CH_SOLO, scene, source, ch, ch_end);
}

void DspDevice::Get_Speaker_Config() {
    LogPrintW(L"Get_Speaker_Config\n");
    Ask(*this, DSP_SPK_CH_CONFIG, nullptr, 0);
}

void DspDevice::Get_Amp_Mute() {
    LogPrintW(L"Get_Amp_Mute\n");
    Ask(*this, DSP_AMP_MUTE, nullptr, 0);
}

void DspDevice::Get_InDistort(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_InDistort: scene(%d), channel(%d)\n", scene, ch);
    AskRange(*this, L"Get_InDistort", DSP_INPUT_CH_DISTORT, scene, source, ch, ch_end);
}

void DspDevice::Get_OutDistort(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"Get_OutDistort: scene(%d), channel(%d)\n", scene, ch);
    AskRange(*this, L"Get_OutDistort", DSP_OUTPUT_CH_DISTORT, scene, source, ch, ch_end);
}

void DspDevice::Get_MemData(uint32_t address, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    EncodeMemData(address, 0, payload, &length);
    LogPrintW(L"Get_MemData: addr(0x%08x), data(0x%08x)\n", address, 0u);
    LogPrintW(L"addr %02x, %02x, %02x, %02x\n", payload[0], payload[1], payload[2], payload[3]);
    LogPrintW(L"data %02x, %02x, %02x, %02x\n", payload[4], payload[5], payload[6], payload[7]);
    Ask(*this, DSP_MEM_DATA, payload, length, sync);
}

void DspDevice::Get_Rem_Out() {
    LogPrintW(L"Get_Rem_Out\n");
    Ask(*this, DSP_REM_OUT, nullptr, 0);
}

void DspDevice::Get_Spk_Ohm() {
    LogPrintW(L"Get_Spk_Ohm\n");
    Ask(*this, DSP_SPK_OHM, nullptr, 0);
}

void DspDevice::Get_Ouput_Bridge(uint8_t scene, uint8_t source, uint8_t count) {
    LogPrintW(L"Get_Ouput_Bridge\n");
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    const bool built = EncodeBridgeQuery(scene, source, count, payload, &length);
    AskIfBuilt(*this, L"Get_Ouput_Bridge", DSP_OUPUT_BRIDGE, built, payload, length);
}

void DspDevice::Get_Cross_Source_Mix_CS47048(uint8_t scene, uint8_t source, uint8_t ch) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    // The set layout with the two vice bytes zero.
    const bool built = EncodeCrossSourceMix(scene, source, ch, 0, 0, payload, &length);
    AskIfBuilt(*this, L"Get_Cross_Source_Mix_CS47048", DSP_CROSS_SOURCE_MIX_CS47048, built,
               payload, length);
}

void DspDevice::Get_Noise_Gate() {
    LogPrintW(L"Get_Noise_Gate\n");
    Ask(*this, DSP_NOISE_GATE, nullptr, 0);
}

void DspDevice::Get_Input_Threshold(uint8_t scene, uint8_t source, bool sync) {
    const uint8_t payload[2] = {scene, source};
    LogPrintW(L"Get_Input_Threshold: scene(%d), source(%d)\n", scene, source);
    Ask(*this, DSP_INPUT_THRESHOLD, payload, sizeof(payload), sync);
}

void DspDevice::Get_Input_Noise(uint8_t ch_x, uint8_t ch_y, bool sync) {
    LogPrintW(L"Get_Input_Noise: ch_x(%d) to ch_y(%d)\n", ch_x, ch_y);
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    const bool built = EncodeInputNoiseQuery(ch_x, ch_y, payload, &length);
    AskIfBuilt(*this, L"Get_Input_Noise", DSP_INPUT_NOISE, built, payload, length, sync);
}
