// Automatic room calibration commands (packet type CMD_DSP, DSP_IRC_*).
#include "base/Log.h"
#include "device/DspDevice.h"

namespace {
constexpr uint8_t kIrcCtrl = 0x13;
constexpr uint8_t kIrcDistance = 0x14;
constexpr uint8_t kIrcEq = 0x16;
constexpr uint8_t kIrcSpectrum = 0x1A;
constexpr uint8_t kIrcSelTestModule = 0x1E;
}  // namespace

void DspDevice::IRC_Ctrl(uint8_t on, uint16_t ircch, uint8_t irc_eqmode, bool sync) {
    LogPrintW(L"IRC_Ctrl: on(%d), ircch=0x%x, irc_eqmode = %d, syncMode(%d)\n", on, ircch,
              irc_eqmode, sync ? 1 : 0);
    const uint8_t payload[] = {on, static_cast<uint8_t>(ircch >> 8), static_cast<uint8_t>(ircch),
                               irc_eqmode};
    Submit(dsp::CMD_DSP, kIrcCtrl, dsp::OP_SET, payload, sizeof(payload), sync);
}

void DspDevice::IRC_Get() {
    LogPrintW(L"IRC_Get\n");
    Submit(dsp::CMD_DSP, kIrcCtrl, dsp::OP_GET, nullptr, 0, true);
}

void DspDevice::IRC_Get_Distance(uint8_t ch, uint8_t ch_end) {
    LogPrintW(L"IRC_Get_Distance from ch(%d) to ch_end(%d)\n", ch, ch_end);
    const uint8_t payload[] = {ch, ch_end};
    Submit(dsp::CMD_DSP, kIrcDistance, dsp::OP_GET, payload, sizeof(payload), true);
}

void DspDevice::IRC_Get_EQ(uint8_t ch, uint8_t band, uint8_t band_end) {
    LogPrintW(L"IRC_Get_EQ: from band(%d) to band_end(%d) @channel(%d)\n", band, band_end, ch);
    const uint8_t payload[] = {ch, band, band_end};
    Submit(dsp::CMD_DSP, kIrcEq, dsp::OP_GET, payload, sizeof(payload), true);
}

void DspDevice::IRC_Get_Spectrum(uint8_t ch, uint8_t band, uint8_t band_end) {
    LogPrintW(L"IRC_Get_Spectrum: from band(%d) to band_end(%d) @channel(%d)\n", band, band_end, ch);
    const uint8_t payload[] = {ch, band, band_end};
    Submit(dsp::CMD_DSP, kIrcSpectrum, dsp::OP_GET, payload, sizeof(payload), true);
}

void DspDevice::IRC_Sel_Test_Module(uint8_t module, bool sync) {
    LogPrintW(L"IRC_Sel_Test_Module: Module(0x%x), syncMode(%d)\n", module, sync ? 1 : 0);
    Submit(dsp::CMD_DSP, kIrcSelTestModule, dsp::OP_SET, &module, 1, sync);
}
