#include "app/windows/FirmwareTransfer.h"

#include "device/DspDevice.h"

void RunFirmwareTransfer(DspDevice& device, const wchar_t* path, const std::atomic<uint8_t>& abortRequested,
                         HWND target, UINT startedMessage, LPARAM tag)
{
    // The window switched the queue off; a command still in progress ends first.
    device.WaitCommandInProgress();
    if (device.UpgradeStart(path, 0) != UPG_OK) {
        PostMessageW(target, kFwMsgNotAccepted, 0, tag);
        return;
    }
    if (startedMessage != 0) PostMessageW(target, startedMessage, 0, tag);
    uint8_t step = 0;
    int shown = -1;
    while (abortRequested.load() == 0) {
        step = device.UpgradeProcess();
        if (step > 100) break;
        // Each block takes several steps at one percentage; posting only the
        // changes keeps a large image from filling the window's queue, where
        // the result could be lost.
        if (step != shown) {
            PostMessageW(target, kFwMsgProgress, step, tag);
            shown = step;
        }
    }
    PostMessageW(target, step == DspDevice::kUpgradeFailed ? kFwMsgFailed : kFwMsgFinished, 0, tag);
}
