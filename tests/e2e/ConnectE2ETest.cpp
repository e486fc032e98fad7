// The program against its simulated unit with real X input: the connect at
// start, the unit's values in the window, its own reports, removal and
// arrival, foreign and newer units.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/DspQueryPayloads.h"
#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {
namespace {

const int kReadBoundMs = 30000;

bool MainLayoutInSkin()
{
    std::ifstream in(std::string(BRISA_SOURCE_DIR) + "/skin/xml/res.xml");
    std::stringstream text;
    text << in.rdbuf();
    return text.str().find("\"XML_MAIN\"") != std::string::npos;
}

#define SKIP_WITHOUT_MAIN_LAYOUT()                                                          \
    do {                                                                                    \
        E2E_SKIP_WITHOUT_WINDOWS_BUILD();                                                   \
        if (!MainLayoutInSkin()) GTEST_SKIP() << "the main layout is not in the skin yet"; \
    } while (0)

std::string Hex(const uint8_t* bytes, size_t length)
{
    std::string text;
    char byte[4];
    for (size_t i = 0; i < length; ++i) {
        std::snprintf(byte, sizeof(byte), "%02x", bytes[i]);
        text += byte;
    }
    return text;
}

std::string Head(int type, int sub, int op)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%02x %02x %02x ", type, sub, op);
    return text;
}

// The status read as the unit must receive it: (type, subcommand, optype)
// for each command and, for the range, band and trim gets, the payload too.
struct Expected {
    std::string head;
    std::string payload;  // empty: not compared
};

std::vector<Expected> StatusRead()
{
    std::vector<Expected> e;
    auto plain = [&](int type, int sub, int op) { e.push_back({Head(type, sub, op), ""}); };
    // A get whose payload the device library's encoder writes.
    auto query = [&](int sub, const std::function<void(uint8_t*, size_t*)>& encode) {
        uint8_t p[64];
        size_t n = 0;
        encode(p, &n);
        e.push_back({Head(1, sub, 0x66), Hex(p, n)});
    };
    auto range = [&](int sub, uint8_t source, uint8_t first, uint8_t last) {
        query(sub, [=](uint8_t* p, size_t* n) { dsp::EncodeRangeQuery(0, source, first, last, p, n); });
    };
    plain(3, 0x1f, 0xbb);
    plain(3, 0x08, 0xbb);
    for (int sub : {0x01, 0x02}) plain(1, sub, 0x66);
    plain(3, 0x92, 0x66);
    for (int sub : {0x03, 0x04, 0x3f, 0x45, 0x4b, 0x4e, 0x35}) plain(1, sub, 0x66);
    plain(2, 0x0f, 0x66);
    for (int sub : {0x07, 0x0d, 0x34}) range(sub, 0, 0, 15);
    plain(1, 0x0e, 0x66);
    plain(1, 0x0f, 0x66);
    for (uint8_t ch = 0; ch < 16; ch += 4) range(0x05, 0, ch, ch + 3);
    range(0x12, 0, 0, 15);
    for (uint8_t ch = 0; ch < 16; ++ch) {
        const int bands = ch < 12 ? 31 : 11;
        for (int b = 0; b < bands; b += 7) {
            const auto last = static_cast<uint8_t>(std::min(b + 6, bands - 1));
            query(0x06, [=](uint8_t* p, size_t* n) { dsp::EncodeEqQuery(0, 0, ch, static_cast<uint8_t>(b), last, p, n); });
        }
    }
    for (int sub : {0x08, 0x09, 0x0a, 0x34}) range(sub, 0, 0, 15);
    for (uint8_t source = 0; source < 9; ++source) range(0x0b, source, 0, 15);
    const int inputs[9] = {4, 2, 4, 2, 10, 14, 4, 2, 2};
    for (uint8_t source = 0; source < 9; ++source) {
        for (uint8_t in = 0; in < inputs[source]; ++in)
            query(0x24, [=](uint8_t* p, size_t* n) { dsp::EncodeInputMixTrimQuery(0, source, in, 0, 15, p, n); });
    }
    for (int i = 0; i < 18; ++i) plain(1, 0x4d, 0x66);
    plain(1, 0x26, 0x66);
    for (int i = 0; i < 10; ++i) plain(2, 0x0b, 0x66);
    query(0x4c, [](uint8_t* p, size_t* n) { dsp::EncodeBridgeQuery(0, 0, 8, p, n); });
    return e;
}

// The text of the open message box, which is then confirmed with a click.
std::string ConfirmNotice(App& app)
{
    std::string text;
    const bool shown = WaitFor([&] {
        const ControlState message = app.Control("MessageText", "msgwnd");
        text = message.text;
        return message.found && message.visible;
    });
    if (!shown) return "";
    const bool closed = app.Click("confirm_btn", "msgwnd") && WaitFor([&] { return !app.Window("msgwnd").found; });
    return closed ? text : text + " <stays open>";
}

std::string Format(const std::string& format, int a, int b, int c, int d)
{
    char text[512];
    std::snprintf(text, sizeof(text), format.c_str(), a, b, c, d);
    return text;
}

class ConnectE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_MAIN_LAYOUT();
        app.reset(new App(LaunchOptions()));
        ASSERT_TRUE(app->Started()) << app->Error();
    }
    std::unique_ptr<App> app;
};

TEST_F(ConnectE2E, StartReadsTheUnitInOrderAndShowsItsValues)
{
    const bool sawLoading = WaitFor([&] { return app->Window("loadingwnd").found; }, kReadBoundMs);
    ASSERT_TRUE(WaitFor([&] { return IsConnected(*app); }, kReadBoundMs));
    EXPECT_TRUE(sawLoading);

    const std::vector<UnitFrame> frames = app->FramesSince(0);
    const std::vector<Expected> expected = StatusRead();
    ASSERT_EQ(expected.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        const std::string text = frames[i].Text();
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].head, text.substr(0, 9));
        if (!expected[i].payload.empty()) {
            EXPECT_EQ(expected[i].payload, text.substr(9));
        }
    }

    std::map<std::string, long> unit = app->Params(0);
    EXPECT_EQ(unit["mainvolume"], app->Control("slider_main_volume").value);
    EXPECT_EQ(std::to_string(unit["mainvolume"]) + "dB", app->Control("edit_main_volume").text);
    for (int ch = 0; ch < 16; ++ch) {
        SCOPED_TRACE(ch);
        const std::string p = "out" + std::to_string(ch) + ".";
        EXPECT_EQ(unit[p + "mute"] != 0, app->Control("ch_mute_" + std::to_string(ch)).selected);
        EXPECT_EQ(unit[p + "gain"] * 10, app->Control("slider_ch_volume_" + std::to_string(ch)).value);
    }
    for (int b = 0; b < 31; ++b) {
        SCOPED_TRACE(b);
        const std::string q = "out0.eq" + std::to_string(b) + ".";
        char text[32];
        EXPECT_EQ(std::to_string(unit[q + "freq"]), app->Control("eq_freq_" + std::to_string(b)).text);
        std::snprintf(text, sizeof(text), "%.2f", unit[q + "q"] / 100.0);
        EXPECT_EQ(text, app->Control("eq_q_" + std::to_string(b)).text);
        std::snprintf(text, sizeof(text), "%.1f", unit[q + "gain"] / 10.0);
        EXPECT_EQ(text, app->Control("eq_gain_" + std::to_string(b)).text);
    }
}

TEST_F(ConnectE2E, KnobMovesTheMainVolumeAndNothingGoesBack)
{
    ASSERT_TRUE(WaitFor([&] { return IsConnected(*app); }, kReadBoundMs));
    const size_t mark = app->Mark();
    ASSERT_TRUE(app->TurnKnob(-20));
    ASSERT_TRUE(WaitFor([&] { return app->Control("slider_main_volume").value == -20; }));
    EXPECT_EQ("-20dB", app->Control("edit_main_volume").text);
    // Nothing reaches the unit while the report settles in the window.
    EXPECT_TRUE(NeverWithin([&] { return !app->FramesSince(mark).empty(); }, 1500));
}

TEST_F(ConnectE2E, UnplugAndPlugBackReconnectWithAFreshRead)
{
    ASSERT_TRUE(WaitFor([&] { return IsConnected(*app); }, kReadBoundMs));
    ASSERT_TRUE(app->Unplug());
    EXPECT_EQ(SkinText("en", "device_plugout"), ConfirmNotice(*app));
    ASSERT_TRUE(WaitFor([&] { return IsDisconnected(*app); }, kReadBoundMs));
    const size_t mark = app->Mark();
    // Busy past the system's wait for it, the window still hears of the return.
    ASSERT_EQ("OK", app->Request("STALL 8000"));
    ASSERT_TRUE(app->Plug());
    ASSERT_TRUE(WaitFor([&] { return IsConnected(*app); }, kReadBoundMs));
    EXPECT_EQ(StatusRead().size(), app->FramesSince(mark).size());

    // Pulled in the middle of the next read: no hang, the clean disconnected state.
    ASSERT_TRUE(app->Unplug());
    EXPECT_EQ(SkinText("en", "device_plugout"), ConfirmNotice(*app));
    ASSERT_TRUE(app->Plug());
    ASSERT_TRUE(WaitFor([&] { return app->Window("loadingwnd").found; }, kReadBoundMs));
    ASSERT_TRUE(app->Unplug());
    EXPECT_EQ(SkinText("en", "device_plugout"), ConfirmNotice(*app));
    ASSERT_TRUE(WaitFor([&] { return IsDisconnected(*app); }, kReadBoundMs));
    EXPECT_TRUE(app->Running());
}

TEST_F(ConnectE2E, ForeignModelAndNewerFirmwareGiveTheirNotices)
{
    ASSERT_TRUE(WaitFor([&] { return IsConnected(*app); }, kReadBoundMs));
    ASSERT_TRUE(app->Unplug());
    ConfirmNotice(*app);
    ASSERT_TRUE(app->SetModel(96));
    ASSERT_TRUE(app->Plug());
    EXPECT_EQ(SkinText("en", "device_not_match") + " 96", ConfirmNotice(*app));
    ASSERT_TRUE(WaitFor([&] { return IsDisconnected(*app); }, kReadBoundMs));

    ASSERT_TRUE(app->Unplug());
    ConfirmNotice(*app);
    ASSERT_TRUE(app->SetModel(95));
    ASSERT_TRUE(app->SetFirmware(1, 26));
    ASSERT_TRUE(app->Plug());
    EXPECT_EQ(Format(SkinText("en", "dsp_fw_new_tips"), 1, 26, 1, 25), ConfirmNotice(*app));
    EXPECT_TRUE(WaitFor([&] { return IsConnected(*app); }, kReadBoundMs));
}

} // namespace
} // namespace e2e
