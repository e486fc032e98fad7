#pragma once

// What the firmware benchmarks share: an image written to a file, and a
// device connected to an instant simulated unit already in its loader (no
// restart pause in the figures).

#include <cstdio>
#include <string>
#include <vector>

#include "device/DspDevice.h"
#include "tests/device/FirmwareImageBuilder.h"
#include "tests/support/SimLoader.h"

namespace fwtest {

inline bool WriteImage(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    fclose(f);
    return ok;
}

// Runs body(device) against the loader; 1 when the unit cannot be reached.
template <class Body>
int WithLoaderUnit(Body body) {
    sim::SimUnit& unit = sim::SimUnit::Instance();
    unit.Reset();
    sim::LoaderUnitModel model(unit);
    model.SetLoaderMode(true);
    unit.SetResponder(&model);
    int status = 0;
    {
        DspDevice device;
        device.SetDeviceConfig(kModelId, 16, 14, 0, 0);
        device.OpenHIDDevice();
        if (device.IsDeviceOpen() && device.Hand_Connect()) {
            body(device);
            device.CloseHIDDevice(false);
        } else {
            std::printf("no simulated unit\n");
            status = 1;
        }
    }
    unit.SetResponder(nullptr);
    return status;
}

}  // namespace fwtest
