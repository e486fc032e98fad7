// The mixer, the compressor grid, the noise window and the memory window:
// their pictures in every language at 96, 120 and 144 DPI, and open/close cycles
// that give back every GDI and USER object and thread they took.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

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

// The finish each window's picture must show: an edit whose rounded
// corners lie on the edit colour (no light pixel), and a slider whole inside
// its cell, tall or wide enough for its 14 px thumb across.
const struct {
    const wchar_t* window;
    const wchar_t* edit;
    const wchar_t* slider;  // null: none
    const wchar_t* cell;
    bool vertical;
} kFinish[] = {
    {L"xml_mixer", L"box_edit_0_0", L"box_volume_0_0", L"box_0_0", false},
    {L"xml_mixer", L"box_edit_15_13", L"box_volume_15_13", L"box_15_13", false},
    {L"xml_compressors_on", L"edit_threshold_0", L"slider_threshold_0", L"column_0", true},
    {L"xml_compressors_on", L"edit_release_time_15", L"slider_release_time_15", L"column_15", true},
    {L"xml_noise_threshold", L"value_edt", nullptr, nullptr, false},
};

uint32_t Brightest(uint32_t rgb)
{
    return std::max({rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF});
}

void CheckFinish(WindowImplBase& window, const std::wstring& label, const std::vector<uint32_t>& pixels, int dpi)
{
    RECT client;
    GetClientRect(window.GetNativeHandle(), &client);
    for (const auto& row : kFinish) {
        if (label != row.window || pixels.empty()) continue;
        const RECT edit = ScreenRect(window, row.edit);
        ASSERT_GT(edit.right, edit.left) << row.edit;
        for (const POINT corner : {POINT{edit.left, edit.top}, POINT{edit.right - 1, edit.top},
                                   POINT{edit.left, edit.bottom - 1}, POINT{edit.right - 1, edit.bottom - 1}}) {
            EXPECT_LT(Brightest(pixels[corner.y * client.right + corner.x]), 0x60u)
                << row.edit << " corner " << corner.x << "," << corner.y << " at " << dpi;
        }
        if (row.slider == nullptr) continue;
        const RECT slider = ScreenRect(window, row.slider);
        const RECT cell = ScreenRect(window, row.cell);
        EXPECT_TRUE(slider.left >= cell.left && slider.top >= cell.top && slider.right <= cell.right &&
                    slider.bottom <= cell.bottom)
            << row.slider << " outside " << row.cell << " at " << dpi;
        EXPECT_GE(row.vertical ? slider.right - slider.left : slider.bottom - slider.top, 14 * dpi / 96)
            << row.slider << " at " << dpi;
    }
}

TEST_F(ServiceWindows, PaintInEveryLanguageAtEachDpiWithEveryMixerRowInside)
{
    ForEachLanguageAndDpi([&](const wchar_t* language, int dpi) {
        for (const ServiceWindowKind& kind : kServiceWindows) {
            WindowImplBase* window = CreateServiceWindow(kind, controller);
            ASSERT_NE(nullptr, window) << kind.label;
            const HWND handle = window->GetNativeHandle();
            CheckFinish(*window, kind.label, CheckWindow(*window, kind.label, language, dpi), dpi);
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
