// The mixer, the compressor grid, the noise window and the memory window:
// their pictures in every language at 96 and 144 DPI, and open/close cycles
// that give back every GDI and USER object and thread they took.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ServiceWindows.h"
#include "SkinVariants.h"
#include "UnitDialogTest.h"
#include "WindowLook.h"
#include "app/windows/MixerWnd.h"
#include "tests/support/ProcessResources.h"
#include "tests/uilib/kit/MessagePump.h"

using dialogs::CreateServiceWindow;
using dialogs::kServiceWindows;
using dialogs::ServiceWindowKind;
using SkinUI::WindowImplBase;

namespace {

// Open/close cycles per window here; scripts/bench runs a hundred.
const int kCycles = 15;

class ServiceWindows : public UnitDialogTest {
protected:
    void SetUp() override
    {
        UnitDialogTest::SetUp();
        SceneProfile& p = controller.Current();
        // The source with the most rows, some of them routed.
        p.inputSource = 5;
        for (int o = 0; o < 16; ++o) {
            p.inputs[5][o] = 1 << (o % 12);
            p.inputMixVolume[5][o % 12][o] = 20 + 5 * o;
        }
    }
};

RECT ScreenRect(WindowImplBase& w, const wchar_t* name)
{
    SkinUI::CControlUI* control = w.PaintManager().FindControlByName(name);
    return control != nullptr ? RECT(control->GetPosition()) : RECT{0, 0, 0, 0};
}

TEST_F(ServiceWindows, PaintInEveryLanguageAtBothDpisWithEveryMixerRowInside)
{
    ForEachLanguageAndDpi([&](const wchar_t* language, int dpi) {
        for (const ServiceWindowKind& kind : kServiceWindows) {
            WindowImplBase* window = CreateServiceWindow(kind, controller);
            ASSERT_NE(nullptr, window) << kind.label;
            const HWND handle = window->GetNativeHandle();
            CheckWindow(*window, kind.label, language, dpi);
            if (std::wstring(kind.label) == L"xml_mixer") {
                RECT client;
                GetClientRect(handle, &client);
                // The last cross-source row and the buttons under it lie inside.
                for (const wchar_t* name : {L"title_label_0", L"title_label_9", L"box_15_13", L"btn_reset_input"}) {
                    const RECT rc = ScreenRect(*window, name);
                    EXPECT_GT(rc.bottom, rc.top) << name;
                    EXPECT_LE(rc.bottom, client.bottom) << name << " " << dpi;
                    EXPECT_LE(rc.right, client.right) << name << " " << dpi;
                }
            }
            DestroyWindow(handle);
            SkinUITest::PumpPending();
        }
    });
}

TEST_F(ServiceWindows, OpenCloseCyclesGiveBackEveryHandleAndThread)
{
    for (const ServiceWindowKind& kind : kServiceWindows) {
        // The first window loads the images and fonts the skin keeps.
        WindowImplBase* first = CreateServiceWindow(kind, controller);
        ASSERT_NE(nullptr, first) << kind.label;
        DestroyWindow(first->GetNativeHandle());
        SkinUITest::PumpPending();
        const sim::ProcessCounts before = sim::CountProcessResources();
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            WindowImplBase* window = CreateServiceWindow(kind, controller);
            ASSERT_NE(nullptr, window) << kind.label;
            ShowWindow(window->GetNativeHandle(), SW_SHOWNOACTIVATE);
            SkinUITest::PumpPending();
            DestroyWindow(window->GetNativeHandle());
            SkinUITest::PumpPending();
        }
        const sim::ProcessCounts after = sim::CountProcessResources();
        EXPECT_EQ(before.gdi, after.gdi) << kind.label;
        EXPECT_EQ(before.user, after.user) << kind.label;
        EXPECT_EQ(before.threads, after.threads) << kind.label;
        EXPECT_EQ(nullptr, CMixerWnd::Current()) << kind.label;
    }
}

} // namespace
