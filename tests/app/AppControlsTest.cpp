// The application controls on a real paint manager: the factory, the
// chart's notifications for a drag, the selectable button and the ring.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "SampleChart.h"
#include "app/controls/AppControlFactory.h"
#include "app/controls/CircleProgressUI.h"
#include "app/controls/SButtonUI.h"
#include "app/controls/UIEqualizerAc.h"
#include "device/ResponseMath.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/VerticalLayout.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;

TEST(AppControlFactory, MakesTheFourApplicationElements)
{
    const struct {
        const wchar_t* name;
        const wchar_t* type; // null: no control
    } cases[] = {{L"Curve", L"UIEqualizer"},      {L"curve", L"UIEqualizer"},    {L"CurveAc", L"UIEqualizerAc"},
                 {L"SButton", L"SButtonUI"},      {L"SBUTTON", L"SButtonUI"},    {L"CircleProgress", L"CircleProgress"},
                 {L"Button", nullptr},            {L"CurveAcX", nullptr},        {L"", nullptr}};
    for (const auto& c : cases) {
        std::unique_ptr<CControlUI> control(CreateAppControl(c.name));
        if (c.type == nullptr) {
            EXPECT_EQ(nullptr, control) << c.name;
        } else {
            ASSERT_NE(nullptr, control) << c.name;
            EXPECT_STREQ(c.type, control->GetTypeName());
        }
    }
    EXPECT_EQ(nullptr, CreateAppControl(nullptr));
    std::unique_ptr<CControlUI> ac(CreateAppControl(L"CurveAc"));
    EXPECT_EQ(ac.get(), ac->FindInterface(L"Curve"));
}

namespace {

struct ChartFixture : ::testing::Test {
    ChartFixture() : recorder(manager)
    {
        chart.AttachManager(&manager, nullptr, false);
        chart.SetPosition({0, 0, 800, 260});
        AppTest::LoadSampleChart(chart);
    }
    ~ChartFixture() override { chart.AttachManager(nullptr, nullptr, false); }

    CPaintManagerUI manager;
    NotifyRecorder recorder;
    UIEqualizer chart;
};

} // namespace

TEST_F(ChartFixture, DragSendsNotificationsWithTheBandInTheUserData)
{
    const CUIPoint band3 = chart.Model().BandPoint(3);
    const CUIRect h = chart.Model().HpRect();
    const CUIRect l = chart.Model().LpRect();
    const std::wstring hpDone = L"equalizer_eq equalizer_eq equalizer_eq_release equalizer_hp equalizer_hp_release";
    const struct {
        int type;
        int x;
        int y;
        std::wstring types; // every notification so far
        const wchar_t* userData;
    } steps[] = {
        {UIEVENT_MOUSEMOVE, band3.x, band3.y, L"equalizer_eq", L"3"},
        {UIEVENT_BUTTONDOWN, band3.x, band3.y, L"equalizer_eq", L"3"},
        {UIEVENT_MOUSEMOVE, band3.x + 40, 0, L"equalizer_eq equalizer_eq", L"3"},
        {UIEVENT_MOUSEMOVE, band3.x + 40, -30, L"equalizer_eq equalizer_eq", L"3"},
        {UIEVENT_BUTTONUP, band3.x + 40, -30, L"equalizer_eq equalizer_eq equalizer_eq_release", L"3"},
        {UIEVENT_BUTTONDOWN, h.left + 2, h.top + 2, L"equalizer_eq equalizer_eq equalizer_eq_release", L"3"},
        {UIEVENT_MOUSEMOVE, 300, 100, L"equalizer_eq equalizer_eq equalizer_eq_release equalizer_hp", L"3"},
        {UIEVENT_BUTTONUP, 300, 100,
         L"equalizer_eq equalizer_eq equalizer_eq_release equalizer_hp equalizer_hp_release", L"3"},
        // A press the window gave up on ends where the hand last took it.
        {UIEVENT_BUTTONDOWN, l.left + 2, l.top + 2, hpDone, L"3"},
        {UIEVENT_MOUSEMOVE, 600, 100, hpDone + L" equalizer_lp", L"3"},
        {0, 20, 20, hpDone + L" equalizer_lp equalizer_lp_release", L"3"},
        {UIEVENT_MOUSEMOVE, 700, 100, hpDone + L" equalizer_lp equalizer_lp_release", L"3"},
    };
    for (const auto& s : steps) {
        if (s.type == 0) chart.EndPress();  // the window gave the press up
        else SendEvent(chart, s.type, s.x, s.y);
        EXPECT_EQ(s.types, recorder.Types()) << s.type << " at " << s.x << "," << s.y;
        EXPECT_STREQ(s.userData, chart.GetUserDataText().CStr());
    }
    for (const auto& entry : recorder.Entries()) EXPECT_EQ(&chart, entry.sender);
    EXPECT_FLOAT_EQ(12.0f, chart.GetBand(3).gain);
    EXPECT_EQ(chart.Model().Geometry().XToFreq(300), chart.GetHpFreq());
    EXPECT_EQ(chart.Model().Geometry().XToFreq(600), chart.GetLpFreq());
    EXPECT_EQ(-1, chart.GetSelectedBand());
}

TEST_F(ChartFixture, HoveringKeepsItsCursorWhenTheWindowAsks)
{
    const CUIPoint band = chart.Model().BandPoint(7);
    const struct {
        int x;
        int y;
        const wchar_t* cursor;
    } cases[] = {{band.x, band.y, IDC_HAND}, {band.x, 250, IDC_ARROW}, {chart.Model().HpRect().left + 1,
                                                                         chart.Model().HpRect().top + 1, IDC_SIZEWE}};
    for (const auto& c : cases) {
        SendEvent(chart, UIEVENT_MOUSEMOVE, c.x, c.y);
        SetCursor(nullptr);
        SendEvent(chart, UIEVENT_SETCURSOR, c.x, c.y);
        EXPECT_EQ(LoadCursorW(nullptr, c.cursor), GetCursor()) << c.x << "," << c.y;
    }
}

TEST_F(ChartFixture, HiddenCurvesAreNotDrawn)
{
    // Only curve 5 is shown besides the current one; a pixel of curve 7's
    // colour anywhere means a hidden curve was drawn.
    std::vector<double> freqs(16 * 512);
    std::vector<double> gains(16 * 512);
    ResponseGrid grid;
    MakeResponseGrid(48000.0, 512, &grid);
    int visible[16] = {};
    visible[5] = 1;
    for (int c = 0; c < 16; ++c) {
        std::copy(grid.freqs.begin(), grid.freqs.end(), freqs.begin() + c * 512);
        std::fill(gains.begin() + c * 512, gains.begin() + (c + 1) * 512, -16.0 + 2.0 * c);
    }
    chart.ApplyAttributeList(AppTest::kChartAttributes);
    chart.SetCurves(freqs.data(), gains.data(), 16, 0, visible, 0);
    DibCanvas canvas(800, 260);
    chart.PaintArea(canvas.Dc(), {0, 0, 800, 260}, nullptr);
    const RECT all = {0, 0, 800, 260};
    EXPECT_GT(canvas.CountRgb(all, 0x2DD4BF), 500);  // curve 5
    EXPECT_EQ(0, canvas.CountRgb(all, 0xA3E635));    // curve 7
    EXPECT_GT(canvas.CountRgb(all, 0x1EA7E1), 500);  // current curve 0
}

TEST(SButton, SelectedStateIsTheProgramsAlone)
{
    CPaintManagerUI manager;
    NotifyRecorder recorder(manager);
    CSButtonUI button;
    button.AttachManager(&manager, nullptr, false);
    button.SetPosition({0, 0, 40, 20});
    button.ApplyAttributeList(L"selected=\"true\" selectedbkcolor=\"#FF1EA7E1\" bkcolor=\"#FF2A3038\"");
    ASSERT_TRUE(button.IsSelected());

    SendEvent(button, UIEVENT_BUTTONDOWN, 5, 5);
    SendEvent(button, UIEVENT_BUTTONUP, 5, 5);
    EXPECT_EQ(L"click", recorder.Types());
    EXPECT_TRUE(button.IsSelected());

    DibCanvas canvas(40, 20);
    button.PaintArea(canvas.Dc(), {0, 0, 40, 20}, nullptr);
    EXPECT_EQ(0x1EA7E1u, canvas.Rgb(20, 10));
    button.SetSelectedState(false);
    button.PaintArea(canvas.Dc(), {0, 0, 40, 20}, nullptr);
    EXPECT_EQ(0x2A3038u, canvas.Rgb(20, 10));

    // Disabling keeps the selected look of a selected button only.
    const struct {
        bool selected;
        uint32_t state;
    } disabling[] = {{true, UISTATE_SELECTED}, {false, 0}};
    for (const auto& d : disabling) {
        button.SetEnabledState(true);
        button.SetSelectedState(d.selected);
        SendEvent(button, UIEVENT_MOUSEENTER, 5, 5);
        button.SetEnabledState(false);
        EXPECT_EQ(d.state, button.GetButtonState());
    }
    button.AttachManager(nullptr, nullptr, false);
}

TEST(SButton, SelectedStripOfTwoGivesItsSecondFrameToHotAndPushed)
{
    SkinUITest::SkinImageFolder folder;
    ASSERT_TRUE(folder.Write(L"two.png", 10, {0xFF0000, 0x00FF00}));
    CPaintManagerUI manager;
    CSButtonUI button;
    button.AttachManager(&manager, nullptr, false);
    button.SetPosition({0, 0, 10, 10});
    button.ApplyAttributeList(L"selected=\"true\" selectedstateimage=\"two.png\" selectedstatecount=\"2\"");
    const struct {
        int event;
        uint32_t rgb;
    } steps[] = {{0, 0xFF0000}, {UIEVENT_MOUSEENTER, 0x00FF00}, {UIEVENT_BUTTONDOWN, 0x00FF00},
                 {UIEVENT_BUTTONUP, 0x00FF00}, {UIEVENT_MOUSELEAVE, 0xFF0000}};
    for (const auto& s : steps) {
        if (s.event != 0) SendEvent(button, s.event, 5, 5);
        DibCanvas canvas(10, 10);
        button.PaintArea(canvas.Dc(), {0, 0, 10, 10}, nullptr);
        EXPECT_EQ(s.rgb, canvas.Rgb(5, 5)) << "after event " << s.event;
    }
    EXPECT_EQ(button.GetSelectedHotImageSpec(), button.GetSelectedPushedImageSpec());
    EXPECT_TRUE(button.IsSelected());
    button.AttachManager(nullptr, nullptr, false);
}

TEST(SButton, SelectedWithoutLookDrawsNoBackground)
{
    CPaintManagerUI manager;
    CSButtonUI button;
    button.AttachManager(&manager, nullptr, false);
    button.SetPosition({0, 0, 40, 20});
    button.ApplyAttributeList(L"bkcolor=\"#FF2A3038\" selected=\"true\"");
    DibCanvas canvas(40, 20, 0xFF123456);
    button.PaintArea(canvas.Dc(), {0, 0, 40, 20}, nullptr);
    EXPECT_EQ(0x123456u, canvas.Rgb(20, 10));
    button.AttachManager(nullptr, nullptr, false);
}

TEST(CircleProgress, SweepGrowsClockwiseFromTheBottom)
{
    const struct {
        int value;
        int min;
        int max;
        int sweep;
    } sweeps[] = {{0, 0, 100, 0}, {25, 0, 100, 90}, {50, 0, 100, 180}, {100, 0, 100, 360}, {33, 0, 100, 118},
                  {60, 10, 110, 180}, {5, 5, 5, 0}};
    for (const auto& s : sweeps) EXPECT_EQ(s.sweep, CCircleProgressUI::SweepDegrees(s.value, s.min, s.max));

    // At 25 % the sector runs from straight down to the left: the ring's
    // lower-left quarter is filled, the rest is the disc colour; the centre is white.
    CPaintManagerUI manager;
    CCircleProgressUI ring;
    ring.AttachManager(&manager, nullptr, false);
    ring.SetPosition({0, 0, 100, 100});
    ring.ApplyAttributeList(L"bkcolor=\"#FF202020\" forecolor=\"#FF1EA7E1\" value=\"25\"");
    DibCanvas canvas(100, 100);
    ring.PaintArea(canvas.Dc(), {0, 0, 100, 100}, nullptr);
    const struct {
        int x;
        int y;
        uint32_t rgb;
    } pixels[] = {{20, 80, 0x1EA7E1}, {80, 80, 0x202020}, {20, 20, 0x202020}, {80, 20, 0x202020}, {50, 50, 0xFFFFFF}};
    for (const auto& p : pixels) EXPECT_EQ(p.rgb, canvas.Rgb(p.x, p.y)) << p.x << "," << p.y;
    ring.AttachManager(nullptr, nullptr, false);
}

TEST(UIEqualizerAc, GridFollowsTheControlAtEveryPaint)
{
    CPaintManagerUI manager;
    UIEqualizerAc plot;
    plot.AttachManager(&manager, nullptr, false);
    plot.ApplyAttributeList(L"bkcolor=\"#FF0F1215\"");
    const struct {
        int height;
        int zeroY;
    } sizes[] = {{200, 100}, {300, 150}, {0, 0}};
    for (const auto& s : sizes) {
        plot.SetPosition({0, 0, 400, s.height});
        EXPECT_EQ(s.zeroY, UIEqualizerAc::ZeroY(0, s.height));
        if (s.height == 0) continue;
        DibCanvas canvas(400, s.height);
        plot.PaintArea(canvas.Dc(), {0, 0, 400, s.height}, nullptr);
        EXPECT_EQ(0x444444u, canvas.Rgb(200, s.zeroY)) << s.height;
        EXPECT_EQ(0x0F1215u, canvas.Rgb(200, s.zeroY + 3)) << s.height;
    }
    EXPECT_FLOAT_EQ(25.0f, UIEqualizerAc::GainToY(15.0f, 0, 200, 100.0f));
    EXPECT_FLOAT_EQ(175.0f, UIEqualizerAc::GainToY(-15.0f, 0, 200, 100.0f));
    plot.AttachManager(nullptr, nullptr, false);
}

TEST_F(ChartFixture, CurvesReachATargetThatIsNotADib)
{
    // A device-dependent bitmap has no pixels to write: GDI+ draws instead.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 800, 260);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    chart.ApplyAttributeList(AppTest::kChartAttributes);
    chart.PaintArea(dc, {0, 0, 800, 260}, nullptr);
    int current = 0;
    for (int x = 0; x < 800; x += 2) {
        for (int y = 0; y < 260; ++y) {
            const COLORREF c = GetPixel(dc, x, y);
            if (c == RGB(0x1E, 0xA7, 0xE1)) ++current;
        }
    }
    EXPECT_GT(current, 200);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(ChartWindow, MouseMessagesDragABandAndAReleaseOutsideEndsIt)
{
    SkinUITest::HostWindow host;
    host.CreateNativeWindow(nullptr, L"chart test", WS_POPUP | WS_VISIBLE, 0, 40, 40, 840, 300);
    ASSERT_NE(nullptr, host.GetNativeHandle());
    host.Attach();
    NotifyRecorder recorder(host.pm);
    CVerticalLayoutUI* root = new CVerticalLayoutUI();
    root->ApplyAttributeList(L"inset=\"20,20,20,20\" bkcolor=\"#FF16191D\"");
    UIEqualizer* chart = new UIEqualizer();
    chart->ApplyAttributeList(AppTest::kChartAttributes);
    root->AddChild(chart);
    host.pm.AttachRoot(root);
    SkinUITest::Settle();
    ASSERT_EQ(20, chart->GetPosition().left);
    AppTest::LoadSampleChart(*chart);
    HWND window = host.GetNativeHandle();
    const CUIPoint band = chart->Model().BandPoint(20);
    auto send = [&](UINT message, int x, int y) {
        SendMessageW(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    };
    send(WM_MOUSEMOVE, band.x, band.y);
    send(WM_LBUTTONDOWN, band.x, band.y);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(band.x, band.y - 30));
    send(WM_LBUTTONUP, band.x, -60); // above the window: the chart has the capture
    std::wstring chartTypes;
    for (const auto& entry : recorder.Entries()) {
        if (entry.type.rfind(L"equalizer", 0) == 0) chartTypes += (chartTypes.empty() ? L"" : L" ") + entry.type;
    }
    EXPECT_EQ(L"equalizer_eq equalizer_eq equalizer_eq_release", chartTypes);
    EXPECT_STREQ(L"20", chart->GetUserDataText().CStr());
    EXPECT_FLOAT_EQ(12.0f, chart->GetBand(20).gain);
    EXPECT_EQ(CAPTURE_NONE, chart->Model().Capture());
    // Hovering works again after the drag.
    const CUIPoint other = chart->Model().BandPoint(5);
    send(WM_MOUSEMOVE, other.x, other.y);
    EXPECT_STREQ(L"5", chart->GetUserDataText().CStr());

    // Painted through the manager's own buffer: the current curve shows.
    HBITMAP shot = CRenderKit::RenderRootToBitmap(&host.pm, {0, 0, 840, 300}, nullptr, 0);
    ASSERT_NE(nullptr, shot);
    const std::vector<uint32_t> pixels = SkinUITest::BitmapPixels(shot, 840, 300);
    DeleteObject(shot);
    int current = 0;
    for (uint32_t p : pixels) current += (p & 0xFFFFFF) == 0x1EA7E1 ? 1 : 0;
    EXPECT_GT(current, 300);
    recorder.Clear();
    host.Detach();
    DestroyWindow(window);
    SkinUITest::Pump();
}
