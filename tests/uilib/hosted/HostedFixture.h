#pragma once

#include <gtest/gtest.h>

#include "ControlTestKit.h"
#include "MessagePump.h"
#include "NotifyRecorder.h"
#include "uilib/control/Button.h"
#include "uilib/layout/VerticalLayout.h"

namespace SkinUITest {

// One real host window for the program: each test puts its controls into a
// fresh vertical layout under a button that can take the focus away.
struct HostedFixture : ::testing::Test {
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Adds a control of the given height below the button.
    void Add(SkinUI::CControlUI* control, int height);
    // Attaches the tree, shows the window in front and waits for the layout.
    void Show();
    HWND Window() const { return host.GetNativeHandle(); }

    static HostWindow* sharedHost;
    HostWindow& host = *sharedHost;
    NotifyRecorder* recorder = nullptr;
    SkinUI::CVerticalLayoutUI* root = nullptr;
    SkinUI::CButtonUI* away = nullptr;
};

} // namespace SkinUITest
