// Firmware upgrade benchmark: the engine's time per block against an
// instant simulated unit already in its loader (no restart pause).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "device/DspDevice.h"
#include "tests/device/FirmwareImageBuilder.h"
#include "tests/support/SimLoader.h"

namespace {

using Clock = std::chrono::steady_clock;

bool WriteFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    fclose(f);
    return ok;
}

void BenchTransfer(DspDevice& device, const wchar_t* name, const std::vector<uint8_t>& file,
                   int blocks) {
    const std::wstring path = std::wstring(L"bench_") + name;
    if (!WriteFile(path, file)) {
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
    sim::SimUnit& unit = sim::SimUnit::Instance();
    unit.Reset();
    sim::LoaderUnitModel model(unit);
    model.SetLoaderMode(true);
    unit.SetResponder(&model);
    {
        DspDevice device;
        device.SetDeviceConfig(fwtest::kModelId, 16, 14, 0, 0);
        device.OpenHIDDevice();
        if (!device.IsDeviceOpen() || !device.Hand_Connect()) {
            std::printf("no simulated unit\n");
            return 1;
        }
        BenchTransfer(device, L"FLASH_UPG.BIN", fwtest::DspImage(50 * 2000), 2000);
        BenchTransfer(device, L"MCU_UPG.BIN", fwtest::McuImage(32 * 2000), 2000);
        device.CloseHIDDevice(false);
    }
    unit.SetResponder(nullptr);
    return 0;
}
