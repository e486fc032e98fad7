// Device library benchmark against the simulated unit: the cost of a queued
// push, the worker's drain rate, and allocations on the receive path.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "tests/support/SimUnit.h"

namespace {
std::atomic<long> gAllocations{0};
}

void* operator new(size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

bool WaitIdle(DspDevice& device, int limitMs) {
    auto end = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!device.IsQueueIdle()) {
        if (Clock::now() > end) return false;
        Sleep(1);
    }
    return true;
}

void BenchPush(DspDevice& device, sim::SimUnit& unit) {
    const int count = 10000;
    unit.HoldWrites(true);  // the worker blocks on its first command
    device.EnableAsyncMode();
    const uint8_t payload[] = {0x00, 0x01, 0x00, 0x64};
    auto start = Clock::now();
    for (int i = 0; i < count; ++i) device.Submit(1, 0x08, 0xBB, payload, sizeof(payload), false);
    double elapsed = Seconds(Clock::now() - start);
    unit.HoldWrites(false);
    device.DisableAsyncMode();
    std::printf("queued push: %.2f us per command (%d pushes, payload allocation included; target <= 20 us)\n",
                elapsed * 1e6 / count, count);
}

void BenchDrain(DspDevice& device, sim::SimUnit& unit) {
    const int count = 600;
    unit.ClearReceived();
    device.EnableAsyncMode();
    const uint8_t payload[] = {0x00, 0x01, 0x00, 0x64};
    auto start = Clock::now();
    for (int i = 0; i < count; ++i) device.Submit(1, 0x08, 0xBB, payload, sizeof(payload), false);
    bool idle = WaitIdle(device, 120000);
    double elapsed = Seconds(Clock::now() - start);
    device.DisableAsyncMode();
    std::printf("queue drain: %.0f commands/s (%zu of %d sent%s; target >= 1000/s)\n",
                count / elapsed, unit.ReceivedReports().size(), count, idle ? "" : ", not finished");
}

void BenchReceiveAllocations(DspDevice& device, sim::SimUnit& unit) {
    const int reports = 2000;
    device.SetFrameHandler(nullptr);
    for (int i = 0; i < reports; ++i) unit.QueueFrame(4, 0x01, 0xDD, {0x01, 0x02, 0x03, 0x04});
    long before = gAllocations.load();
    int read = 0;
    for (int i = 0; i < reports; ++i) read += device.ReadHIDData(device.ReceiveBuffer(), 1000) ? 1 : 0;
    long allocations = gAllocations.load() - before;
    std::printf("receive path: %ld allocations over %d reports read (%.3f per report; target 0)\n",
                allocations, read, read ? static_cast<double>(allocations) / read : 0.0);
}

}  // namespace

int main() {
    auto& unit = sim::SimUnit::Instance();
    unit.Reset();
    sim::AckResponder ack;
    unit.SetResponder(&ack);
    DspDevice device;
    device.OpenHIDDevice();
    if (!device.IsDeviceOpen()) {
        std::printf("simulated unit did not open\n");
        return 1;
    }
    BenchPush(device, unit);
    BenchDrain(device, unit);
    unit.SetResponder(nullptr);
    BenchReceiveAllocations(device, unit);
    device.CloseHIDDevice(false);
    return 0;
}
