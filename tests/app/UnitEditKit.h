// Editing tests on a real window bound to a controller whose unit is the
// simulated one: the window opened on the unit, and the frames the unit
// received as "SS:hex bytes" (subcommand and payload) for tables of
// expected commands.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tuning/EqualizerManager.h"
#include "device/DspRecords.h"
#include "tests/support/SimUnit.h"
#include "uilib/core/WindowBase.h"

std::vector<std::string> Described(const std::vector<sim::Frame>& frames);

// A report of the unit, as the device library posts it to the controller.
template <class Record>
void PostReport(EqualizerManager& controller, int subcommand, const Record& record)
{
    auto* posted = dsp::NewDspRecord<Record>();
    *posted = record;
    controller.ReadDspValueCallback(subcommand, reinterpret_cast<LPARAM>(posted));
}

class UnitEditTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Shows host, binds the controller to it and opens the unit with its
    // queue running.
    void Open(SkinUI::WindowImplBase& host, EqualizerManager& controller, int width, int height);
    // The frames received once the queue is idle.
    std::vector<std::string> Sent(EqualizerManager& controller);
    void Close(SkinUI::WindowImplBase& host, EqualizerManager& controller);

    sim::AckResponder m_ack;
};
