// Commands of the unit's microcontroller (packet type CMD_MCU).
#include "base/Log.h"
#include "device/DspDevice.h"

namespace {
constexpr uint8_t kEnterUpgradeMode = 0x01;
constexpr uint8_t kHandshake = 0x08;
constexpr uint8_t kPcConnect = 0x1F;
constexpr uint8_t kReboot = 0x8F;
constexpr uint8_t kFactoryDefault = 0x90;
constexpr uint8_t kPowerOffTime = 0x91;
constexpr uint8_t kAccDelay = 0x92;
}  // namespace

void DspDevice::MCU_Enter_Upg_Mode() {
    LogPrintW(L"MCU_Enter_Upg_Mode\n");
    Submit(dsp::CMD_MCU, kEnterUpgradeMode, dsp::OP_SET, nullptr, 0, true);
}

bool DspDevice::Hand_Connect() {
    LogPrintW(L"Hand_Connect\n");
    // Only the handshake's own answer counts: an unsolicited report that
    // arrives first is dispatched but does not make the handshake succeed.
    return Submit(dsp::CMD_MCU, kHandshake, dsp::OP_SET, nullptr, 0, true);
}

void DspDevice::PC_Connect(uint8_t on) { PC_Connect(on, nullptr, mLinkSerial.load()); }

void DspDevice::PC_Connect(uint8_t on, hid_device_* closed, uint32_t link) {
    LogPrintW(L"PC_Connect = %d\n", on);
    WriteCommand(closed, link, dsp::CMD_MCU, kPcConnect, dsp::OP_SET, &on, 1);
}

void DspDevice::MCU_Reboot_Ctrl() {
    LogPrintW(L"MCU_Reboot_Ctrl\n");
    Submit(dsp::CMD_MCU, kReboot, dsp::OP_SET, nullptr, 0, true);
}

bool DspDevice::MCU_Factory_Default() {
    return Submit(dsp::CMD_MCU, kFactoryDefault, dsp::OP_SET, nullptr, 0, true, kFactoryDefaultWaitMs);
}

void DspDevice::Set_Power_Off_Time(uint32_t milliseconds, bool sync) {
    LogPrintW(L"Set_Power_Off_Time = %dms\n", static_cast<int>(milliseconds));
    const uint8_t payload[] = {static_cast<uint8_t>(milliseconds >> 8),
                               static_cast<uint8_t>(milliseconds)};
    Submit(dsp::CMD_MCU, kPowerOffTime, dsp::OP_SET, payload, sizeof(payload), sync);
}

void DspDevice::Set_Acc(uint8_t delay, bool sync) {
    LogPrintW(L"Set_Acc delay:%d\n", delay);
    Submit(dsp::CMD_MCU, kAccDelay, dsp::OP_SET, &delay, 1, sync);
}

void DspDevice::Get_Acc() {
    LogPrintW(L"Get_Acc\n");
    Submit(dsp::CMD_MCU, kAccDelay, dsp::OP_GET, nullptr, 0, true);
}
