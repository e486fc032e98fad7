// A message-only window standing in for a window of the program: it collects
// the device library's posted replies and frees their records.
#pragma once

#include <windows.h>

#include <vector>

#include "device/DspRecords.h"

namespace sim {

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Replies that travel as a value in lParam; every other one carries a record.
inline bool CarriesValue(const Posted& m) {
    if (m.message == WM_HANDSHAKE_REFUSED || m.message == WM_FLASH_ACK || m.message == WM_READ_SCENE_ID)
        return true;
    if (m.message == WM_READ_FLASH_VALUE) return m.wParam == 0x08;
    if (m.message == WM_READ_MCU_VALUE) return m.wParam == 0x92;
    if (m.message != WM_READ_DSP_VALUE) return false;
    switch (m.wParam) {
    case 0x01: case 0x02: case 0x03: case 0x04: case 0x26: case 0x3F: case 0x4B: case 0x4E:
        return true;
    default:
        return false;
    }
}

class ReplyWindow {
public:
    ReplyWindow()
        : hwnd(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr)) {}
    ~ReplyWindow() {
        for (const Posted& m : messages)
            if (!CarriesValue(m)) dsp::FreeDspRecord(reinterpret_cast<void*>(m.lParam));
        DestroyWindow(hwnd);
    }
    void Collect() {
        MSG msg;
        while (PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE))
            messages.push_back({msg.message, msg.wParam, msg.lParam});
    }
    template <typename Record>
    static const Record& As(const Posted& m) {
        return *reinterpret_cast<const Record*>(m.lParam);
    }

    HWND hwnd;
    std::vector<Posted> messages;
};

}  // namespace sim
