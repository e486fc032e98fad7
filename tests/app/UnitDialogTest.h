// A controller connected to the simulated unit, for tests of the windows that
// edit the unit's settings.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "AppSkin.h"
#include "app/tuning/EqualizerManager.h"
#include "device/DeviceTiming.h"
#include "tests/support/SimUnitModel.h"

class UnitDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenAppSkin());
        SetDeviceWaitScaleForTests(5);
        unit().Reset();
        unit().SetResponder(&model);
        controller.Device().OpenHIDDevice();
        ASSERT_TRUE(controller.Device().IsDeviceOpen());
        controller.Device().EnableAsyncMode();
    }
    void TearDown() override
    {
        controller.Device().CloseHIDDevice(false);
        unit().SetResponder(nullptr);
    }
    static sim::SimUnit& unit() { return sim::SimUnit::Instance(); }

    // The frames of subcommand the unit received from index from on.
    std::vector<sim::Frame> FramesOf(uint8_t subcommand, size_t from)
    {
        std::vector<sim::Frame> found;
        const std::vector<sim::Frame> all = unit().ReceivedFrames();
        for (size_t i = from; i < all.size(); ++i)
            if (all[i].subcommand == subcommand) found.push_back(all[i]);
        return found;
    }

    sim::UnitModel model{unit()};
    EqualizerManager controller;
};
