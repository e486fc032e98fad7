#include "tests/support/PushThreadGuard.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "device/DspDevice.h"

namespace sim {

namespace {

std::atomic<long> gPushed{0};
std::atomic<long> gOffThread{0};
std::atomic<uint8_t> gLastOff{0};
std::atomic<long> gWaitedOnUi{0};
std::atomic<uint8_t> gLastWaited{0};

// Without a window there is no UI thread to hold the device to.
DWORD UiThreadOf(HWND mainWnd) {
    return mainWnd != nullptr ? GetWindowThreadProcessId(mainWnd, nullptr) : 0;
}

void CheckPush(HWND mainWnd, uint8_t subcommand) {
    gPushed.fetch_add(1);
    const DWORD owner = UiThreadOf(mainWnd);
    if (owner == 0 || owner == GetCurrentThreadId()) return;
    gOffThread.fetch_add(1);
    gLastOff.store(subcommand);
    char line[96];
    std::snprintf(line, sizeof(line), "command 0x%02x queued off the UI thread\n", subcommand);
    OutputDebugStringA(line);
}

void CheckExchange(HWND mainWnd, uint8_t subcommand) {
    if (UiThreadOf(mainWnd) != GetCurrentThreadId()) return;
    gWaitedOnUi.fetch_add(1);
    gLastWaited.store(subcommand);
    char line[96];
    std::snprintf(line, sizeof(line), "command 0x%02x waited for on the UI thread\n", subcommand);
    OutputDebugStringA(line);
}

}  // namespace

void InstallPushThreadGuard() {
    DspDevice::SetPushCheck(CheckPush);
    DspDevice::SetExchangeCheck(CheckExchange);
}

PushCounts GuardedPushes() {
    PushCounts counts;
    counts.pushed = gPushed.load();
    counts.offUiThread = gOffThread.load();
    counts.lastOffSubcommand = gLastOff.load();
    counts.waitedOnUiThread = gWaitedOnUi.load();
    counts.lastWaitedSubcommand = gLastWaited.load();
    return counts;
}

void ResetPushThreadGuard() {
    gPushed.store(0);
    gOffThread.store(0);
    gLastOff.store(0);
    gWaitedOnUi.store(0);
    gLastWaited.store(0);
}

}  // namespace sim
