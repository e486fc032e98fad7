// Firmware upgrade benchmark: the engine's time per block against an
// instant simulated unit already in its loader (no restart pause).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/device/LoaderBench.h"

namespace {

using Clock = std::chrono::steady_clock;

void BenchTransfer(DspDevice& device, const wchar_t* name, const std::vector<uint8_t>& file,
                   int blocks) {
    const std::wstring path = std::wstring(L"bench_") + name;
    if (!fwtest::WriteImage(path, file)) {
        std::printf("%ls: cannot write the file\n", name);
        return;
    }
    const auto start = Clock::now();
    const uint32_t started = device.UpgradeStart(path.c_str(), 0);
    int result = 0;
    while (started == UPG_OK && result <= 100) result = device.UpgradeProcess();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    _wremove(path.c_str());
    if (started != UPG_OK || result != DspDevice::kUpgradeDone) {
        std::printf("%ls: upgrade failed (start %u, end %d)\n", name, started, result);
        return;
    }
    std::printf("%ls: %.3f ms per block (%d blocks; target <= 1 ms)\n", name,
                seconds * 1e3 / blocks, blocks);
}

}  // namespace

int main() {
    // Each image against a unit fresh in its loader: a finished image
    // restarts the unit into its application.
    int status = 0;
    status |= fwtest::WithLoaderUnit(
        [](DspDevice& device) { BenchTransfer(device, L"FLASH_UPG.BIN", fwtest::DspImage(50 * 2000), 2000); });
    status |= fwtest::WithLoaderUnit(
        [](DspDevice& device) { BenchTransfer(device, L"MCU_UPG.BIN", fwtest::McuImage(32 * 2000), 2000); });
    return status;
}
