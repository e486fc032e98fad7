// EQ band editing in the program against its simulated unit with real X
// input: a typed band frequency and a two-second drag on the EQ chart.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/controls/EqChartGeometry.h"
#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {
namespace {

const char kTitle[] = "Brisa DSP Audio";
const uint8_t kEqBand = 0x06;

// The unit's band payload after scene, source, channel and band: frequency
// BE16, Q in whole units and tenths, gain + 18 dB in whole dB and tenths.
std::string BandTail(int freq, double q, double gain)
{
    const long qTenths = std::lround(q * 10);
    const long gTenths = std::lround((gain + 18) * 10);
    char text[32];
    std::snprintf(text, sizeof text, "%04x%02lx%02lx%02lx%02lx", freq, qTenths / 10, qTenths % 10, gTenths / 10,
                  gTenths % 10);
    return text;
}

std::vector<UnitFrame> BandFrames(App& app, size_t mark, int ch, int band)
{
    std::vector<UnitFrame> out;
    for (const UnitFrame& f : app.FramesSince(mark)) {
        if (f.subcommand == kEqBand && f.optype == 0xbb && f.payload.size() >= 10 && f.payload[2] == ch &&
            f.payload[3] == band)
            out.push_back(f);
    }
    return out;
}

class BandProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        E2E_SKIP_WITHOUT_WINDOWS_BUILD();
        app.reset(new App(LaunchOptions{}));
        ASSERT_TRUE(app->Started()) << app->Error();
        ASSERT_TRUE(WaitFor([&] { return app->Window(kTitle).visible && LinkShows(*app, "btn_connected"); }, 30000));
    }
    std::unique_ptr<App> app;
};

TEST_F(BandProcess, TypedFrequencyWithKSendsTheBand)
{
    // Frequencies are typed in the parametric mode, after its question.
    ASSERT_TRUE(app->Click("btn_arg_eq", kTitle));
    ASSERT_TRUE(WaitFor([&] { return app->Control("confirm_btn", "msgwnd").visible; }));
    ASSERT_TRUE(app->Click("confirm_btn", "msgwnd") && WaitFor([&] { return !app->Window("msgwnd").found; }));
    ASSERT_TRUE(WaitFor([&] { return app->Control("eq_freq_5", kTitle).enabled; }));

    const double q = std::atof(app->Control("eq_q_5", kTitle).text.c_str());
    const double gain = std::atof(app->Control("eq_gain_5", kTitle).text.c_str());
    const size_t mark = app->Mark();
    ASSERT_TRUE(app->Click("eq_freq_5", kTitle));
    ASSERT_TRUE(app->Key("End"));
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(app->Key("BackSpace"));
    ASSERT_TRUE(app->Type("2k5", "eq_freq_5", kTitle));
    ASSERT_TRUE(app->Key("Return"));
    std::vector<UnitFrame> frames;
    ASSERT_TRUE(WaitFor([&] { return !(frames = BandFrames(*app, mark, 0, 5)).empty(); }));
    EXPECT_EQ("01 06 bb 00000005" + BandTail(2500, q, gain), frames[0].Text());
    EXPECT_EQ(1u, frames.size());
    EXPECT_TRUE(WaitFor([&] { return app->Control("eq_freq_5", kTitle).text == "2500"; }));
}

TEST_F(BandProcess, TwoSecondDragSendsThroughTheGateAndTheBoxFollows)
{
    const ControlState chart = app->Control("equalizer", kTitle);
    ASSERT_TRUE(chart.visible);
    EqChartGeometry geometry;
    geometry.Set(SkinUI::CUIRect(chart.rect.left, chart.rect.top, chart.rect.right, chart.rect.bottom), 100);
    // The unit may hold several bands on one point; the chart takes one of
    // them, and the unit's frames name which.
    const int freq = std::atoi(app->Control("eq_freq_17", kTitle).text.c_str());
    const float before = static_cast<float>(std::atof(app->Control("eq_gain_17", kTitle).text.c_str()));
    ASSERT_GE(freq, 20);
    const int x = geometry.FreqToX(freq);
    const int y = geometry.GainToY(before);

    const size_t mark = app->Mark();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(app->Drag(x, y, x, geometry.GainToY(6.0f), 40, 2000));
    const long dragMs = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
    std::vector<UnitFrame> frames;
    std::string box;
    ASSERT_TRUE(WaitFor([&] {
        int band = -1;
        for (const UnitFrame& f : app->FramesSince(mark)) {
            if (band < 0 && f.subcommand == kEqBand && f.payload.size() >= 10 && f.payload[2] == 0) band = f.payload[3];
        }
        if (band < 0) return false;
        frames = BandFrames(*app, mark, 0, band);
        box = app->Control("eq_gain_" + std::to_string(band), kTitle).text;
        const std::vector<uint8_t>& last = frames.back().payload;
        return std::fabs(last[8] + last[9] / 10.0 - 18 - std::atof(box.c_str())) < 0.05;
    })) << frames.size() << " frames, box " << box;
    EXPECT_GT(std::atof(box.c_str()), before + 3) << "the band followed the drag up";
    // One send per 500 ms while dragging (the first move included), one at the release.
    EXPECT_GE(frames.size(), 2u);
    EXPECT_LE(frames.size(), static_cast<size_t>(dragMs / 500 + 1 + 1)) << "drag took " << dragMs << " ms";
}

} // namespace
} // namespace e2e
