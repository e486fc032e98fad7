// A test fixture that opens the simulated unit through the hidapi C
// interface with the given model answering, for tests that speak raw reports.
#pragma once

#include <gtest/gtest.h>
#include <hidapi.h>

#include <cstdint>
#include <vector>

#include "device/FrameCodec.h"
#include "tests/support/SimUnit.h"

namespace sim {

template <typename Model>
class RawDeviceTest : public ::testing::Test {
protected:
    using Bytes = std::vector<uint8_t>;

    void SetUp() override {
        unit().Reset();
        unit().SetResponder(&model);
        device = hid_open(0x0483, 0x5750, nullptr);
        ASSERT_NE(nullptr, device);
    }
    void TearDown() override {
        if (device) hid_close(device);
        unit().SetResponder(nullptr);
    }
    static SimUnit& unit() { return SimUnit::Instance(); }

    // A 64-byte input report holding exactly these bytes, then padding.
    static Bytes Report(Bytes bytes) {
        bytes.resize(dsp::kInputReportSize, 0);
        return bytes;
    }

    Model model{unit()};
    hid_device* device = nullptr;
};

}  // namespace sim
