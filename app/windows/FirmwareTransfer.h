// One firmware image sent to the unit on a worker thread: the device
// library's engine is stepped until the image is done, failed or the window
// asks to stop, and every outcome is posted to the window that shows it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

class DspDevice;

// What the transfer posts (wParam 0 unless said).
constexpr UINT kFwMsgProgress = 1255;     // wParam: percent 0..100
constexpr UINT kFwMsgFinished = 1256;     // the image went over
constexpr UINT kFwMsgFailed = 1257;       // a step failed
constexpr UINT kFwMsgNotAccepted = 1258;  // the file or the unit's upgrade mode refused

// Runs on the caller's (worker) thread. startedMessage, when not 0, is
// posted once the unit accepted the image and before the first block. Every
// message carries tag as its lParam.
void RunFirmwareTransfer(DspDevice& device, const wchar_t* path, const std::atomic<uint8_t>& abortRequested,
                         HWND target, UINT startedMessage, LPARAM tag);
