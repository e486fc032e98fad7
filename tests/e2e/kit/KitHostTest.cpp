// The kit against a small skin window linked with the probe and the
// simulated unit: every probe request, and real X input on each kind of control.
#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {
namespace {

class KitHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!MissingWindowsBuild().empty()) return;
        LaunchOptions options;
        options.program = "BrisaKitHost.exe";
        host.reset(new App(options));
    }
    static void TearDownTestSuite() { host.reset(); }

    void SetUp() override {
        E2E_SKIP_WITHOUT_WINDOWS_BUILD();
        ASSERT_TRUE(host && host->Started()) << (host ? host->Error() : "");
        // Painted once: the first paint lays the controls out, before it they stand at 0,0,0,0.
        ASSERT_TRUE(WaitFor([] {
            const WindowState w = host->Window("Kit Host");
            return w.visible && !w.dirty;
        }));
    }

    static std::unique_ptr<App> host;
};

std::unique_ptr<App> KitHost::host;

TEST_F(KitHost, ListsItsWindow) {
    const std::vector<WindowState> windows = host->Windows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].title, "Kit Host");
    EXPECT_EQ(windows[0].className, "MainWnd");
    EXPECT_EQ(windows[0].rect.Width(), 420);
    EXPECT_EQ(windows[0].rect.Height(), 260);
    // Centred on the 1600 x 900 screen.
    EXPECT_EQ(windows[0].rect.left, (1600 - 420) / 2);
}

TEST_F(KitHost, ReadsControlsByName) {
    struct Case {
        const char* name;
        const char* type;
        bool hasValue;
    } const cases[] = {
        {"plug_state", "LabelUI", false},
        {"send_btn", "ButtonUI", false},
        {"name_edit", "EditUI", false},
        {"level", "SliderUI", true},
        {"loud_check", "CheckBoxUI", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ControlState s = host->Control(c.name, "Kit Host");
        ASSERT_TRUE(s.found);
        EXPECT_EQ(s.type, c.type);
        EXPECT_EQ(s.hasValue, c.hasValue);
        EXPECT_TRUE(s.visible);
        EXPECT_TRUE(s.enabled);
        EXPECT_GT(s.rect.Width(), 0);
        EXPECT_GE(s.rect.left, host->Window("Kit Host").rect.left);
    }
    std::vector<std::string> names;
    for (const auto& named : host->Controls("Kit Host")) names.push_back(named.first);
    EXPECT_EQ(names, (std::vector<std::string>{"plug_state", "send_btn", "name_edit", "level", "loud_check"}));
    EXPECT_EQ(host->Control("send_btn").text, "Mute the unit");
    EXPECT_EQ(host->Control("level").max, 100);
    EXPECT_FALSE(host->Control("no_such_control").found);
    EXPECT_FALSE(host->Control("send_btn", "msgwnd").found);
    // Aim waits out only what stays over its control once the pointer is on
    // it: the tooltip the pointer's rest left there goes, a window is named.
    const ControlState send = host->Control("send_btn", "Kit Host");
    ASSERT_TRUE(host->MoveTo(send.rect.CenterX() - 40, send.rect.CenterY()));
    ASSERT_TRUE(WaitFor([] { return host->Control("name_edit").over.find("(tooltips_class32)") != std::string::npos; }));
    EXPECT_TRUE(host->Click("name_edit", "Kit Host"));
    LaunchOptions second;
    second.program = "BrisaKitHost.exe";
    std::unique_ptr<App> cover(new App(second));  // centred, as the host is
    ASSERT_TRUE(cover->Started() && WaitFor([&] { return cover->Window("Kit Host").visible; })) << cover->Error();
    EXPECT_FALSE(host->Click("send_btn", "Kit Host"));
    cover.reset();
    // Checks that must fail on what is not there.
    EXPECT_FALSE(host->Click("no_such_control", "Kit Host"));
    EXPECT_FALSE(LinkShows(*host, "no_such_key"));
    EXPECT_FALSE(host->Type("\xe4\xb8\xad", "name_edit"));
    // Each failed step says which it was and what it saw.
    const std::string steps = FailedSteps();
    EXPECT_NE(steps.find("click send_btn Kit Host: under Kit Host (MainWnd) for 15000 ms"), std::string::npos) << steps;
    EXPECT_NE(steps.find("click no_such_control Kit Host: no such control"), std::string::npos) << steps;
    EXPECT_NE(steps.find("type \"\xe4\xb8\xad\" into name_edit: the kit's keymap lacks U+4E2D"), std::string::npos) << steps;
}

TEST_F(KitHost, ClickSendsTheCommandToTheUnit) {
    const size_t mark = host->Mark();
    std::vector<UnitFrame> frames;
    // A quiet window takes the first click.
    ASSERT_TRUE(host->Click("send_btn", "Kit Host"));
    ASSERT_TRUE(WaitFor([&] { return !(frames = host->FramesSince(mark)).empty(); }));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Text(), "01 04 bb 01");
    EXPECT_EQ(host->Params()["mute"], 1);
}

TEST_F(KitHost, CheckBoxEditSliderAndWheelTakeRealInput) {
    ASSERT_TRUE(host->Click("loud_check"));
    EXPECT_TRUE(WaitFor([] { return host->Control("loud_check").selected; }));

    ASSERT_TRUE(host->Click("name_edit"));
    // Letters, signs and digits of the kit's keymap, as X input.
    const std::string typed = "Brisa 16 Зал №1 −3,5к Ёё Їжак ２０ «»";
    ASSERT_TRUE(host->Type(typed, "name_edit"));
    ASSERT_TRUE(host->Key("Return"));
    EXPECT_TRUE(WaitFor([&] { return host->Control("name_edit").text == typed; })) << host->Control("name_edit").text;

    const ControlState level = host->Control("level");
    const int y = level.rect.CenterY();
    ASSERT_TRUE(host->Drag(level.rect.left + 10, y, level.rect.right - 10, y, 8, 200));
    EXPECT_TRUE(WaitFor([] { return host->Control("level").value >= 90; })) << host->Control("level").value;

    const int before = host->Control("level").value;
    ASSERT_TRUE(host->Wheel("level", -3));
    EXPECT_TRUE(WaitFor([&] { return host->Control("level").value == before - 3; }))
        << host->Control("level").value;
}

TEST_F(KitHost, UnplugAndPlugReachTheMainWindow) {
    ASSERT_TRUE(host->Unplug());
    std::string text;
    ASSERT_TRUE(WaitFor([&] { return (text = host->Control("plug_state").text).rfind("removed ", 0) == 0; })) << text;
    for (const char* part : {"HID", "0483", "5750"}) EXPECT_NE(text.find(part), std::string::npos) << part;
    ASSERT_TRUE(host->Plug());
    ASSERT_TRUE(WaitFor([&] { return (text = host->Control("plug_state").text).rfind("arrived ", 0) == 0; })) << text;
    for (const char* part : {"HID", "0483", "5750"}) EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(KitHost, UnitIdentityAndKnob) {
    ASSERT_TRUE(host->SetModel(77));
    ASSERT_TRUE(host->SetFirmware(2, 31));
    ASSERT_TRUE(host->TurnKnob(-12));
    ASSERT_TRUE(host->SetSilent(true));
    ASSERT_TRUE(host->SetSilent(false));
    std::map<std::string, long> params = host->Params();
    EXPECT_EQ(params["model"], 77);
    EXPECT_EQ(params["fw.main"], 2);
    EXPECT_EQ(params["fw.slave"], 31);
    EXPECT_EQ(params["mainvolume"], -12);
    EXPECT_EQ(params.count("out15.eq10.gain"), 1u);
    EXPECT_EQ(params.count("out15.eq11.gain"), 0u);  // outputs 12..15 have 11 bands
    host->SetModel(95);
    host->SetFirmware(1, 25);
}

TEST_F(KitHost, RefusesMalformedRequests) {
    for (const char* request : {"BOGUS", "MODEL 300", "FIRMWARE 1", "KNOB x", "SILENT 2", "FRAMES -1",
                                "PARAMS 11", "CONTROL", "WINDOW nobody"}) {
        EXPECT_EQ(host->Request(request).rfind("ERR ", 0), 0u) << request;
    }
}

TEST_F(KitHost, ProcessResourcesAndScreenshot) {
    const ProcessResources r = host->Resources();
    EXPECT_GT(r.threads, 1);  // the UI thread and the probe's
    EXPECT_EQ(r.replies, 0);
    EXPECT_GE(r.gdi, 0);

    const std::string png = host->WorkDir() + "/host.png";
    ASSERT_TRUE(host->Screenshot("Kit Host", png));
    const PaintCheck check = CheckPainting(png);
    EXPECT_TRUE(check.painted) << check.blackShare << " " << check.colours;
    EXPECT_EQ(check.width, 420);
    const Rect window = host->Window("Kit Host").rect;
    const auto local = [&](const Rect& r) {
        return Rect{r.left - window.left, r.top - window.top, r.right - window.left, r.bottom - window.top};
    };
    EXPECT_TRUE(HasTextEdges(png, local(host->Control("send_btn").rect)));
    EXPECT_EQ("", PictureWindow(*host, "Kit Host", png));
    // The window's bottom margin is plain.
    const Rect checkBox = local(host->Control("loud_check").rect);
    EXPECT_FALSE(HasTextEdges(png, Rect{0, checkBox.bottom, check.width, check.height}));
    EXPECT_TRUE(HasTextEdges(png, checkBox));
}

// A text left from another language: the ACC box's "关" in Russian, "ВЫКЛ"
// in English; units and numbers in Latin letters belong to every language.
TEST(KitScript, TellsTextOfAnotherLanguage) {
    const struct {
        const char* text;
        const char* language;
        bool foreign;
    } cases[] = {{"\xe5\x85\xb3", "ru", true},           {"\xd0\x92\xd0\xab\xd0\x9a\xd0\x9b", "en", true},
                 {"\xd0\xbc\xd1\x81", "cn", true},       {"\xe5\x85\xb3", "cn", false},
                 {"\xd0\xbc\xd1\x81", "ru", false},      {"OFF", "cn", false},
                 {"0.000 ms", "ru", false},                {"\xe2\x88\x92" "12 dB \xe2\x86\x92", "en", false}};
    for (const auto& c : cases) EXPECT_EQ(c.foreign, InForeignScript(c.text, c.language)) << c.text << " " << c.language;
}

TEST_F(KitHost, KillEndsTheProcess) {
    // Last: the suite's host goes away.
    ASSERT_TRUE(host->Kill());
    EXPECT_FALSE(host->Running());
    EXPECT_EQ(host->Request("PING").rfind("ERR", 0), 0u);
}

}  // namespace
}  // namespace e2e
