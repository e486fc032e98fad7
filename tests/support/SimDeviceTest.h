// A test fixture with a DspDevice opened on the simulated unit, which the
// responder the test class hands in answers.
#pragma once

#include <gtest/gtest.h>

#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "tests/support/SimUnit.h"

namespace sim {

class SimDeviceTest : public ::testing::Test {
protected:
    // waitScale: the device's waits in percent of their real length.
    SimDeviceTest(IResponder& responder, int waitScale) : responder_(responder), waitScale_(waitScale) {}

    void SetUp() override {
        SetDeviceWaitScaleForTests(waitScale_);
        unit().Reset();
        unit().SetResponder(&responder_);
        BeforeOpen();
        if (HasFatalFailure()) return;
        device.OpenHIDDevice();
        ASSERT_TRUE(device.IsDeviceOpen());
    }
    void TearDown() override {
        device.CloseHIDDevice(false);
        unit().SetResponder(nullptr);
    }
    // What the device must know before it opens: the model, its windows.
    virtual void BeforeOpen() {}

    static SimUnit& unit() { return SimUnit::Instance(); }

    DspDevice device;

private:
    IResponder& responder_;
    const int waitScale_;
};

}  // namespace sim
