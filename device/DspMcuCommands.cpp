// Commands of the unit's microcontroller (packet type CMD_MCU).
#include "app/windows/Log.h"
#include "device/DspDevice.h"

void DspDevice::PC_Connect(uint8_t on) {
    LogPrintW(L"PC_Connect = %d\n", on);
    SendCtrlCommand(dsp::CMD_MCU, 0x1F, dsp::OP_SET, &on, 1);
}
