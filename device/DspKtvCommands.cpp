// Karaoke effect setters (packet type CMD_KTV).
#include "device/DspDevice.h"

void DspDevice::KtvSet(uint8_t subcommand, const uint8_t* value, uint8_t length, bool sync) {
    Submit(dsp::CMD_KTV, subcommand, dsp::OP_SET, value, length, sync);
}

void DspDevice::KTV_Mic_Vol_Ctrl(uint8_t value, bool sync) { KtvSet(0x01, &value, 1, sync); }
void DspDevice::KTV_Music_Vol_Ctrl(uint8_t value, bool sync) { KtvSet(0x02, &value, 1, sync); }
void DspDevice::KTV_Howling_Ctrl(uint8_t value, bool sync) { KtvSet(0x03, &value, 1, sync); }
void DspDevice::KTV_Echo_Level_Ctrl(uint8_t value, bool sync) { KtvSet(0x04, &value, 1, sync); }

void DspDevice::KTV_Echo_Delay_Ctrl(uint16_t value, bool sync) {
    const uint8_t bytes[] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    KtvSet(0x05, bytes, sizeof(bytes), sync);
}

void DspDevice::KTV_Reverb_Level_Ctrl(uint8_t value, bool sync) { KtvSet(0x06, &value, 1, sync); }
void DspDevice::KTV_Reverb_Time_Ctrl(uint8_t value, bool sync) { KtvSet(0x07, &value, 1, sync); }
void DspDevice::KTV_Voice_Changer_Ctrl(uint8_t value, bool sync) { KtvSet(0x08, &value, 1, sync); }

void DspDevice::KTV_Bass_Gain_Ctrl(int8_t value, bool sync) {
    const uint8_t byte = static_cast<uint8_t>(value);
    KtvSet(0x09, &byte, 1, sync);
}

void DspDevice::KTV_Treble_Gain_Ctrl(int8_t value, bool sync) {
    const uint8_t byte = static_cast<uint8_t>(value);
    KtvSet(0x0A, &byte, 1, sync);
}
