// DSP parameter set commands: each builds its payload, logs it and hands it
// to Submit (sent and awaited now, queued, or dropped).
#include "base/Log.h"
#include "device/DspDevice.h"
#include "device/DspEncoding.h"
#include "device/DspSetPayloads.h"
#include "device/DspSubcommands.h"

using namespace dsp;

namespace {

void SendSet(DspDevice& device, uint8_t subcommand, const uint8_t* payload, size_t length,
             bool sync) {
    device.Submit(CMD_DSP, subcommand, OP_SET, payload, static_cast<uint8_t>(length), sync);
}

// False, with a log line, when the payload could not be built.
bool Built(const wchar_t* member, bool built) {
    if (!built) LogPrintW(L"%s: arguments out of range, nothing sent\n", member);
    return built;
}

// The per-channel line of the one-byte channel-range members.
void LogChannelBytes(const wchar_t* member, const wchar_t* label, uint8_t scene, uint8_t first,
                     uint8_t last, const uint8_t* values) {
    for (int ch = first; ch <= last; ++ch)
        LogPrintW(L"%s: scene(%d), channel(%d), %s(%d)\n", member, scene, ch, label,
                  values[ch - first]);
}

// A one-byte-per-channel range member whose log line follows the common form.
void SendChannelBytes(DspDevice& device, const wchar_t* member, const wchar_t* label,
                      uint8_t subcommand, uint8_t scene, uint8_t source, uint8_t first,
                      uint8_t last, const uint8_t* values, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(member, EncodeChannelBytes(scene, source, first, last, values, payload, &length)))
        return;
    LogChannelBytes(member, label, scene, first, last, values);
    SendSet(device, subcommand, payload, length, sync);
}

// Continuation pieces of a line written in parts carry no time prefix.
void EndPartLine() {
    LogPrintW(L"\n");
    LogTimePrefixOn.store(1);
}

}  // namespace

void DspDevice::Source_Switch_Ctrl(uint8_t source, bool sync) {
    LogPrintW(L"Source_Switch_Ctrl: source(0x%x)\n", source);
    SendSet(*this, DSP_SOURCE_SWITCH, &source, 1, sync);
}

void DspDevice::Main_Volume_Ctrl(float gain, bool sync) {
    const uint8_t payload = static_cast<uint8_t>(Truncate(gain) & 0xFF);
    LogPrintW(L"Main_Volume_Ctrl gain:(%.1f) \n", gain);
    SendSet(*this, DSP_VOLUME, &payload, 1, sync);
}

void DspDevice::Mute_Ctrl(uint8_t mute, bool sync) {
    LogPrintW(L"Mute_Ctrl %d\n", mute);
    SendSet(*this, DSP_MUTE, &mute, 1, sync);
}

void DspDevice::Filter_Ctrl(uint8_t scene, uint8_t source, uint8_t ch, uint8_t iFilter,
                            uint32_t freq, uint8_t slope, uint8_t type, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Filter_Ctrl",
               EncodeFilter(scene, source, ch, iFilter, freq, slope, type, payload, &length)))
        return;
    LogPrintW(L"Filter_Ctrl scene@(%d), source(%d), ch(%d), iFilter(%d), freq(%d), slope(%d), "
              L"type(%d)\n",
              scene, source, ch, iFilter, static_cast<int>(freq & 0xFFFF), slope, type);
    SendSet(*this, DSP_FILTER_SET, payload, length, sync);
}

void DspDevice::EQ_Ctrl(uint8_t scene, uint8_t source, uint8_t ch, uint8_t band, uint32_t freq,
                        float Q, float gain, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"EQ_Ctrl", EncodeEq(scene, source, ch, band, freq, Q, gain, payload, &length)))
        return;
    LogPrintW(L"EQ_Ctrl: gain(%.2f) ,freqValue(%d) ,qValue(%f) @ band(%d) @channel(%d) "
              L"@scene(%d)\n",
              gain, static_cast<int>(freq & 0xFFFF), Q, band, ch, scene);
    SendSet(*this, DSP_EQ_CH, payload, length, sync);
}

void DspDevice::Delay_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                           const float* delays_ms, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Delay_Ctrl",
               EncodeDelays(scene, source, first, last, delays_ms, payload, &length)))
        return;
    for (int ch = first; ch <= last; ++ch)
        LogPrintW(L"Delay_Ctrl: scene(%d), channel(%d), delay(%.3f)\n", scene, ch,
                  delays_ms[ch - first]);
    SendSet(*this, DSP_DELAY_CH, payload, length, sync);
}

void DspDevice::Trim_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                          const float* trims_db, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Trim_Ctrl", EncodeTrims(scene, source, first, last, trims_db,
                                         mTrimHundredths != 0, payload, &length)))
        return;
    LogPrintW(L"destch_x = %d, dest_chy = %d\n", first, last);
    for (int ch = first; ch <= last; ++ch)
        LogPrintW(L"Trim_Ctrl: scene(%d), channel(%d), trim(%.2f)\n", scene, ch,
                  trims_db[ch - first]);
    SendSet(*this, DSP_TRIM_CH, payload, length, sync);
}

void DspDevice::Mute_Ch_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                             const uint8_t* mute, bool sync) {
    SendChannelBytes(*this, L"Mute_Ch_Ctrl", L"mute", DSP_MUTE_CH, scene, source, first, last,
                     mute, sync);
}

void DspDevice::Phase_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                           const uint8_t* phase, bool sync) {
    SendChannelBytes(*this, L"Phase_Ctrl", L"phase", DSP_PHASE_CH, scene, source, first, last,
                     phase, sync);
}

void DspDevice::Mix_Ch_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                            const uint32_t* masks, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Mix_Ch_Ctrl", EncodeMixMasks(scene, source, first, last, masks, mInputCount,
                                              payload, &length)))
        return;
    for (int ch = first; ch <= last; ++ch)
        LogPrintW(L"Mix_Ch_Ctrl: scene(%d), source(%d), output_channel(%d), input_ch(0x%x)\n",
                  scene, source, ch, masks[ch - first]);
    SendSet(*this, DSP_MIX_CH, payload, length, sync);
}

void DspDevice::CH_Type_Ctrl(uint8_t scene, uint8_t source, uint8_t ch_x, uint8_t ch_y,
                             const uint8_t* types, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"CH_Type_Ctrl",
               EncodeChannelBytes(scene, source, ch_x, ch_y, types, payload, &length)))
        return;
    LogPrintW(L"CH_Type_Ctrl scene(%d), source(%d), ch_x(%d), ch_y(%d)\n", scene, source, ch_x,
              ch_y);
    for (int ch = ch_x; ch <= ch_y; ++ch)
        LogPrintW(L"CH_Type_Ctrl channel(%d) -> t_ch_type(0x%x)\n", ch, types[ch - ch_x]);
    SendSet(*this, DSP_CH_TYPE, payload, length, sync);
}

void DspDevice::CH_Link_Ctrl(uint8_t scene, uint8_t link, uint8_t count, const uint8_t* pairs,
                             bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"CH_Link_Ctrl", EncodeChannelLink(scene, link, count, pairs, payload, &length)))
        return;
    LogPrintW(L"CH_Link_Ctrl scene(%d), link(%d), ch_count(%d)\n", scene, link, count);
    for (int i = 0; i < count; ++i)
        LogPrintW(L"from ch(%d) to ch(%d)\n", pairs[2 * i], pairs[2 * i + 1]);
    SendSet(*this, DSP_CH_LINK, payload, length, sync);
}

void DspDevice::CH_Lock_Ctrl(uint8_t scene, uint8_t lock, bool sync) {
    const uint8_t payload[2] = {scene, lock};
    SendSet(*this, DSP_CH_LOCK, payload, sizeof(payload), sync);
}

void DspDevice::PEQ_Reset_Ctrl(uint8_t scene, uint8_t source, uint8_t count,
                               const uint8_t* channels, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"PEQ_Reset_Ctrl",
               EncodePeqReset(scene, source, count, channels, payload, &length)))
        return;
    LogPrintW(L"PEQ_Reset_Ctrl: scene(%d), ch_count(%d), ", scene, count);
    LogTimePrefixOn.store(0);
    for (int i = 0; i < count; ++i) LogPrintW(L"ch(%d), ", channels[i]);
    EndPartLine();
    SendSet(*this, DSP_EQ_RESET, payload, length, sync);
}

void DspDevice::PEQ_Bypass_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                                const uint8_t* bypass, bool sync) {
    SendChannelBytes(*this, L"PEQ_Bypass_Ctrl", L"bypass", DSP_EQ_BYPASS, scene, source, first,
                     last, bypass, sync);
}

void DspDevice::Input_Phase_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                                 const uint8_t* phase, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Input_Phase_Ctrl",
               EncodeChannelBytes(scene, source, first, last, phase, payload, &length)))
        return;
    for (int ch = first; ch <= last; ++ch)
        LogPrintW(L"Input_Phase_Ctrl: scene(%d), source(%d), channel(%d), phase(%d)\n", scene,
                  source, ch, phase[ch - first]);
    SendSet(*this, DSP_INPUT_CH_PHASE, payload, length, sync);
}

void DspDevice::Input_Mix_Trim_Ctrl(uint8_t scene, uint8_t source, uint8_t in_ch,
                                    uint8_t out_first, uint8_t out_last, const uint8_t* trims,
                                    bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Input_Mix_Trim_Ctrl", EncodeInputMixTrims(scene, source, in_ch, out_first,
                                                           out_last, trims, payload, &length)))
        return;
    LogPrintW(L"Input_Mix_Trim_Ctrl: scene(%d), source(%d), in_channel(%d),out_channel(%d to %d), ",
              scene, source, in_ch, out_first, out_last);
    LogTimePrefixOn.store(0);
    for (int ch = out_first; ch <= out_last; ++ch)
        LogPrintW(L"out_ch(%d)=trim(%d), ", ch, trims[ch - out_first]);
    EndPartLine();
    SendSet(*this, DSP_INPUT_MIX_CH_TRIM, payload, length, sync);
}

void DspDevice::Input_Ch_Threshold_Ctrl(int8_t threshold, bool sync) {
    const uint8_t payload = static_cast<uint8_t>(threshold);
    LogPrintW(L"Input_Ch_Threshold_Ctrl:threshold(%d)\n", threshold);
    SendSet(*this, DSP_INPUT_THRESHOLD, &payload, 1, sync);
}

void DspDevice::Solo_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                          const uint8_t* solo, bool sync) {
    SendChannelBytes(*this, L"Solo_Ctrl", L"solo", DSP_CH_SOLO, scene, source, first, last, solo,
                     sync);
}

void DspDevice::AUTO_ON_Ctrl(uint8_t scene, uint8_t on, bool sync) {
    const uint8_t payload[2] = {scene, on};
    SendSet(*this, DSP_AUTO_EFFECTION_ON_OFF_CONTROL, payload, sizeof(payload), sync);
}

void DspDevice::IRC_Active_Bypass_Ctrl(uint8_t scene, uint8_t on, bool sync) {
    const uint8_t payload[2] = {scene, on};
    SendSet(*this, DSP_IRC_ACTIVE_BYPASS_CONTROL, payload, sizeof(payload), sync);
}

void DspDevice::CS_Auto_Setting_Ctrl(const CsAutoSetting& setting, bool sync) {
    SendSet(*this, DSP_CS_AUTO_SETTING, setting.bytes, sizeof(setting.bytes), sync);
}

void DspDevice::Compressor_Ctrl(uint8_t scene, uint8_t source, uint8_t ch, const uint8_t* bypass,
                                const float* noise, const float* ratio, const uint32_t* attack,
                                const uint32_t* release, const float* soft_knee, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    const bool complete = bypass && noise && ratio && attack && release && soft_knee;
    if (!Built(L"Compressor_Ctrl",
               complete && EncodeCompressor(scene, source, ch, *bypass, *noise, *ratio, *attack,
                                            *release, *soft_knee, payload, &length)))
        return;
    SendSet(*this, DSP_COMPRESSOR_SETTING, payload, length, sync);
}

void DspDevice::Amp_Mute_Ctrl(uint8_t t_mute, bool sync) {
    LogPrintW(L"Amp_Mute_Ctrl t_mute(%d)\n", t_mute);
    SendSet(*this, DSP_AMP_MUTE, &t_mute, 1, sync);
}

void DspDevice::Set_MemData(uint32_t address, uint32_t data, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    EncodeMemData(address, data, payload, &length);
    LogPrintW(L"addr %02x, %02x, %02x, %02x\n", payload[0], payload[1], payload[2], payload[3]);
    LogPrintW(L"data %02x, %02x, %02x, %02x\n", payload[4], payload[5], payload[6], payload[7]);
    SendSet(*this, DSP_MEM_DATA, payload, length, sync);
}

void DspDevice::Rem_Out_Ctrl(uint8_t remOut1, uint8_t remOut2, bool sync) {
    const uint8_t payload[2] = {remOut1, remOut2};
    LogPrintW(L"Rem_Out_Ctrl remOut1(%d), remOut2(%d)\n", remOut1, remOut2);
    SendSet(*this, DSP_REM_OUT, payload, sizeof(payload), sync);
}

void DspDevice::Compressor_Ch_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                                   const uint8_t* on, bool sync) {
    SendChannelBytes(*this, L"Compressor_Ch_Ctrl", L"On", DSP_COMPRESSOR_ON_CH, scene, source,
                     first, last, on, sync);
}

void DspDevice::Compressor_Ctrl2(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                                 const CompressorSetting2* records, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Compressor_Ctrl2",
               EncodeCompressor2(scene, source, first, last, records, payload, &length)))
        return;
    for (int ch = first; ch <= last; ++ch) {
        const CompressorSetting2& record = records[ch - first];
        const uint8_t* group = payload + 4 + 6 * (ch - first);
        const float seconds = static_cast<float>(record.release * 0.001);
        LogPrintW(L"Compressor_Ctrl2: scene(%d), channel(%d), threshold(%g) %d %d, attack(%d), "
                  L"release(%g)\n",
                  scene, ch, record.threshold, static_cast<int8_t>(group[0]),
                  static_cast<int8_t>(group[1]), record.attack, seconds * 1000.0f);
    }
    SendSet(*this, DSP_COMPRESSOR_SETTING2, payload, length, sync);
}

void DspDevice::Spk_Ohm_Ctrl(uint8_t ohm, bool sync) {
    LogPrintW(L"Spk_Ohm_Ctrl ohm(%d)\n", ohm);
    SendSet(*this, DSP_SPK_OHM, &ohm, 1, sync);
}

void DspDevice::Output_Bridge_Ctrl(uint8_t scene, uint8_t source, uint8_t count,
                                   const uint32_t* bridge, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Output_Bridge_Ctrl",
               EncodeOutputBridge(scene, source, count, bridge, payload, &length)))
        return;
    LogPrintW(L"Output_Bridge_Ctrl scene(%d) source(%d) count(%d)\n", scene, source, count);
    for (int i = 0; i < count; ++i) LogPrintW(L"bridge[%d] = %d\n", i, bridge[i]);
    SendSet(*this, DSP_OUPUT_BRIDGE, payload, length, sync);
}

void DspDevice::Cross_Source_Mix_Ctrl_CS47048(uint8_t scene, uint8_t source, uint8_t ch,
                                              uint8_t vice_source, uint8_t vice_ch, bool sync) {
    uint8_t payload[kMaxCommandPayload];
    size_t length = 0;
    if (!Built(L"Cross_Source_Mix_Ctrl_CS47048",
               EncodeCrossSourceMix(scene, source, ch, vice_source, vice_ch, payload, &length)))
        return;
    LogPrintW(L"Cross_Source_Mix_Ctrl_CS47048: scene(0x%x), source(0x%x), ch(0x%x), "
              L"vice_source(0x%x), vice_ch(0x%x)\n",
              scene, source, ch, vice_source, vice_ch);
    SendSet(*this, DSP_CROSS_SOURCE_MIX_CS47048, payload, length, sync);
}

void DspDevice::Noise_Gate_Ctrl(uint8_t onoff, bool sync) {
    LogPrintW(L"Noise_Gate_Ctrl onoff(%d)\n", onoff);
    SendSet(*this, DSP_NOISE_GATE, &onoff, 1, sync);
}
