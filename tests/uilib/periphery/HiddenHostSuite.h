#pragma once

#include <gtest/gtest.h>

#include "ControlTestKit.h"

namespace SkinUITest {

// One hidden window per test suite whose manager runs the controls' timers;
// closing windows costs time here, so the suite shares it.
struct HiddenHostSuite : ::testing::Test {
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override { ASSERT_NE(host->GetNativeHandle(), nullptr); }

    static HostWindow* host;
};

} // namespace SkinUITest
