#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/controls/CurveColors.h"
#include "app/controls/CurveRaster.h"
#include "app/controls/EqChartModel.h"
#include "device/ResponseMath.h"

using SkinUI::CUIPoint;
using SkinUI::CUIRect;
using SkinUI::CUISize;

namespace {

void ExpectRect(const CUIRect& rc, int l, int t, int r, int b)
{
    EXPECT_EQ(l, rc.left);
    EXPECT_EQ(t, rc.top);
    EXPECT_EQ(r, rc.right);
    EXPECT_EQ(b, rc.bottom);
}

// The main window's chart size at 100 % and 150 %.
struct Plot {
    CUIRect rc;
    int scale;
};
const Plot kPlot100 = {CUIRect(10, 20, 810, 280), 100};
const Plot kPlot150 = {CUIRect(15, 30, 1215, 420), 150};

EqChartGeometry GeometryOf(const Plot& plot)
{
    EqChartGeometry g;
    g.Set(plot.rc, plot.scale);
    return g;
}

} // namespace

struct AxisCase {
    Plot plot;
    double freq;
    int x;          // FreqToX(freq)
    int freqBack;   // XToFreq(x)
    float gain;
    int y;          // GainToY(gain)
    float gainBack; // YToGain(y)
};

TEST(EqChartGeometry, FrequencyAndGainMapToPixelsAndBack)
{
    const AxisCase cases[] = {
        {kPlot100, 20, 10, 20, 12.0f, 20, 12.0f},
        {kPlot100, 20000, 810, 20000, -18.0f, 280, -18.0f},
        {kPlot100, 1000, 463, 999, 6.0f, 72, 6.0f},
        {kPlot100, 100, 196, 100, 0.0f, 124, 0.0f},
        {kPlot100, 12500, 755, 12439, -9.0f, 202, -9.0f},
        {kPlot100, 2011, 543, 1994, 3.5f, 93, 3.5769231f},
        {kPlot150, 20, 15, 20, 12.0f, 30, 12.0f},
        {kPlot150, 20000, 1215, 20000, -18.0f, 420, -18.0f},
        {kPlot150, 1000, 694, 997, 6.0f, 108, 6.0f},
        {kPlot150, 100, 294, 100, -5.0f, 251, -5.0f},
    };
    for (const AxisCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.plot.scale << " freq " << c.freq << " gain " << c.gain);
        const EqChartGeometry g = GeometryOf(c.plot);
        EXPECT_EQ(c.x, g.FreqToX(c.freq));
        EXPECT_EQ(c.freqBack, g.XToFreq(c.x));
        EXPECT_EQ(c.y, g.GainToY(c.gain));
        EXPECT_NEAR(c.gainBack, g.YToGain(c.y), 1e-5);
    }
    EXPECT_EQ(124.0f, GeometryOf(kPlot100).ZeroY());
    EXPECT_EQ(186.0f, GeometryOf(kPlot150).ZeroY());
}

TEST(EqChartGeometry, RectanglesStayInsideThePlot)
{
    const EqChartGeometry g = GeometryOf(kPlot100);
    ExpectRect(g.BandHitRect(CUIPoint(463, 72)), 455, 64, 471, 80);
    ExpectRect(g.BandHitRect(CUIPoint(12, 100)), 10, 92, 26, 108);
    ExpectRect(g.BandHitRect(CUIPoint(500, 279)), 492, 264, 508, 280);
    ExpectRect(g.GeqLabelRect(CUIPoint(463, 72)), 438, 86, 488, 101);
    ExpectRect(g.GeqLabelRect(CUIPoint(463, 21)), 438, 42, 488, 57);
    ExpectRect(g.PeqLabelRect(CUIPoint(800, 260)), 660, 231, 810, 246);
    ExpectRect(g.PeqLabelRect(CUIPoint(300, 278)), 225, 243, 375, 258);
    ExpectRect(g.HpHandleRect(100), 189, 193, 203, 203);
    ExpectRect(g.HpHandleRect(20), 10, 193, 24, 203);
    ExpectRect(g.HpHandleRect(20000), 796, 193, 810, 203);
    ExpectRect(g.LpHandleRect(10000), 722, 219, 736, 231);
    const EqChartGeometry big = GeometryOf(kPlot150);
    ExpectRect(big.BandHitRect(CUIPoint(694, 108)), 682, 96, 706, 120);
    ExpectRect(big.HpHandleRect(100), 284, 290, 304, 305);
    ExpectRect(big.LpHandleRect(20000), 1194, 329, 1215, 346);
}

TEST(EqChartGeometry, QHandlesAndQDragAreInverse)
{
    struct Case {
        Plot plot;
        float q;
        int distance; // of each handle's centre from the point
    };
    const Case cases[] = {{kPlot100, 0.5f, 162}, {kPlot100, 9.0f, 9}, {kPlot100, 1.0f, 81}, {kPlot100, 0.1f, 162},
                          {kPlot100, 20.0f, 9}, {kPlot150, 1.0f, 121}, {kPlot150, 9.0f, 13}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.plot.scale << " Q " << c.q);
        const EqChartGeometry g = GeometryOf(c.plot);
        CUIRect left;
        CUIRect right;
        g.QHandleRects(CUIPoint(463, 150), c.q, left, right);
        EXPECT_EQ(463 - c.distance, (left.left + left.right) / 2);
        EXPECT_EQ(463 + c.distance, (right.left + right.right) / 2);
        EXPECT_EQ(left.top, right.top);
        const float bounded = std::fmax(0.5f, std::fmin(9.0f, c.q));
        EXPECT_NEAR(bounded, g.QFromDrag(463 + c.distance, 463), bounded * 0.02f);
    }
    const EqChartGeometry g = GeometryOf(kPlot100);
    EXPECT_FLOAT_EQ(9.0f, g.QFromDrag(463, 463));   // closer than 3 px counts as 3
    EXPECT_FLOAT_EQ(0.5f, g.QFromDrag(900, 463));
}

namespace {

// Three bands of a parametric chart at 100 %: band 0 at (463, 72) with Q 1,
// band 1 at (196, 124), band 2 at (543, 78) under band 0's right Q handle;
// H at 100 Hz, L at 10 kHz.
class ChartFixture : public testing::Test {
protected:
    void SetUp() override
    {
        model.SetParametric(true);
        Load(0);
        model.SetCrossover(100, 10000);
    }
    void Load(int selected)
    {
        const EqBand bands[3] = {EqBand(6.0f, 1.0f, 1000, 1), EqBand(0.0f, 5.8f, 100, 1),
                                 EqBand(5.3f, 5.8f, 2011, 1)};
        model.SetBands(bands, 3, selected, kPlot100.rc, 100);
    }
    EqChartModel model;
};

} // namespace

TEST_F(ChartFixture, PressPicksQHandleThenBandThenHThenL)
{
    struct Case {
        bool parametric;
        int selectedBefore;
        CUIPoint p;
        int capture;
        int selected;
        ChartCursor cursor;
        int jitter = 0;  // of the release, as a tap's, in both directions
    };
    const Case cases[] = {
        {true, 0, CUIPoint(544, 80), FACTOR_CAPTURED, 0, ChartCursor::SizeWE},
        {true, 0, CUIPoint(463, 72), INDEX_CAPTURED, 0, ChartCursor::SizeAll},
        {true, 0, CUIPoint(196, 124), INDEX_CAPTURED, 1, ChartCursor::SizeAll},
        {true, 0, CUIPoint(196, 198), HP_CAPTURED, -1, ChartCursor::SizeWE},
        {true, 0, CUIPoint(729, 225), LP_CAPTURED, -1, ChartCursor::SizeWE},
        {true, 0, CUIPoint(300, 250), CAPTURE_NONE, 0, ChartCursor::Keep},
        {false, 0, CUIPoint(544, 80), INDEX_CAPTURED, 2, ChartCursor::SizeNS},
        {true, -1, CUIPoint(544, 80), INDEX_CAPTURED, 2, ChartCursor::SizeAll},
        {true, 0, CUIPoint(463, 72), INDEX_CAPTURED, 0, ChartCursor::SizeAll, 2},
    };
    model.SetDragSize(CUISize(4, 4));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "press " << c.p.x << "," << c.p.y << " parametric " << c.parametric);
        model.SetParametric(c.parametric);
        Load(c.selectedBefore);
        const ChartInput in = model.Press(c.p);
        EXPECT_EQ(c.capture, model.Capture());
        EXPECT_EQ(c.selected, model.Selected());
        EXPECT_EQ(c.cursor, in.cursor);
        EXPECT_EQ(c.capture == INDEX_CAPTURED, in.selectionToUserData);
        EXPECT_EQ(ChartNotify::None, in.notify);
        const EqBand before = model.Band(std::max(c.selected, 0));
        const int hp = model.HpFreq();
        // A click that never left the drag rectangle commits nothing.
        const CUIPoint released(c.p.x + c.jitter, c.p.y - c.jitter);
        EXPECT_EQ(ChartNotify::None, model.Move(released).notify);
        EXPECT_EQ(ChartNotify::None, model.Release(released).notify);
        EXPECT_EQ(CAPTURE_NONE, model.Capture());
        const EqBand& after = model.Band(std::max(c.selected, 0));
        EXPECT_TRUE(before.freq == after.freq && before.gain == after.gain && before.Q == after.Q && hp == model.HpFreq());
    }
}

TEST_F(ChartFixture, HandlesOutsideTheCrossoverRangeAreHiddenAndHitNothing)
{
    struct Case {
        int hp;
        int lp;
        bool hpShown;
        bool lpShown;
    };
    const Case cases[] = {{19, 20001, false, false}, {20, 20000, true, true}, {-1, 10000, false, true},
                          {100, -1, true, false}};
    for (const Case& c : cases) {
        model.SetCrossover(c.hp, c.lp);
        EXPECT_EQ(c.hpShown ? c.hp : -1, model.HpFreq());
        EXPECT_EQ(c.lpShown ? c.lp : -1, model.LpFreq());
        EXPECT_EQ(c.hpShown, model.HpRect().Width() > 0);
        EXPECT_EQ(c.lpShown, model.LpRect().Width() > 0);
    }
    model.SetCrossover(19, 20001);
    model.Press(CUIPoint(15, 198)); // where H at 20 Hz would stand
    EXPECT_EQ(CAPTURE_NONE, model.Capture());
}

struct Step {
    enum Kind { Press, Move, Release } kind;
    int x;
    int y;
    ChartNotify notify;
    int freq; // of the selected band, or of the handle dragged
    float value; // gain, Q, or unused
};

namespace {

void RunSteps(EqChartModel& model, const std::vector<Step>& steps, int capture)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE(testing::Message() << "step " << i << " at " << s.x << "," << s.y);
        const CUIPoint p(s.x, s.y);
        const ChartInput in = s.kind == Step::Press  ? model.Press(p)
                              : s.kind == Step::Move ? model.Move(p)
                                                     : model.Release(p);
        EXPECT_EQ(s.notify, in.notify);
        if (capture == HP_CAPTURED) {
            EXPECT_EQ(s.freq, model.HpFreq());
        } else if (capture == LP_CAPTURED) {
            EXPECT_EQ(s.freq, model.LpFreq());
        } else {
            const EqBand& band = model.Band(model.Selected());
            EXPECT_EQ(s.freq, band.freq);
            EXPECT_NEAR(s.value, capture == FACTOR_CAPTURED ? band.Q : band.gain, 1e-4);
        }
    }
    EXPECT_EQ(CAPTURE_NONE, model.Capture());
}

} // namespace

TEST_F(ChartFixture, BandDragClampsToThePlotAndNotifiesOnlyOnChange)
{
    RunSteps(model,
             {{Step::Press, 463, 72, ChartNotify::None, 1000, 6.0f},
              {Step::Move, 463, 72, ChartNotify::None, 1000, 6.0f},
              {Step::Move, 462, 72, ChartNotify::Eq, 991, 6.0f},
              {Step::Move, 462, 72, ChartNotify::None, 991, 6.0f},
              {Step::Move, 900, 0, ChartNotify::Eq, 20000, 12.0f},
              {Step::Move, -50, 400, ChartNotify::Eq, 20, -18.0f},
              {Step::Release, -50, 400, ChartNotify::EqRelease, 20, -18.0f}},
             INDEX_CAPTURED);
    ExpectRect(model.BandRect(0), 10, 264, 26, 280);
    // Hovering: one notification per change of band, none while on the same one.
    const struct {
        int x;
        int y;
        ChartNotify notify;
        int selected;
    } hover[] = {{196, 124, ChartNotify::Eq, 1}, {197, 125, ChartNotify::None, 1}, {12, 275, ChartNotify::Eq, 0},
                 {400, 200, ChartNotify::None, 0}};
    for (const auto& h : hover) {
        const ChartInput in = model.Move(CUIPoint(h.x, h.y));
        EXPECT_EQ(h.notify, in.notify);
        EXPECT_EQ(h.notify == ChartNotify::Eq, in.repaint);
        EXPECT_EQ(h.selected, model.Selected());
    }
}

TEST_F(ChartFixture, GraphicModeDragsGainOnly)
{
    model.SetParametric(false);
    RunSteps(model,
             {{Step::Press, 463, 72, ChartNotify::None, 1000, 6.0f},
              {Step::Move, 700, 100, ChartNotify::Eq, 1000, 2.7692308f},
              {Step::Release, 700, 100, ChartNotify::EqRelease, 1000, 2.7692308f}},
             INDEX_CAPTURED);
    EXPECT_EQ(463, model.BandPoint(0).x);
}

TEST_F(ChartFixture, QDragSkipsChangesBelowOneHundredth)
{
    RunSteps(model,
             {{Step::Press, 544, 80, ChartNotify::None, 1000, 1.0f},
              {Step::Move, 613, 80, ChartNotify::Eq, 1000, 0.54f},
              {Step::Move, 614, 80, ChartNotify::None, 1000, 0.54f},
              {Step::Release, 614, 80, ChartNotify::EqRelease, 1000, 0.5364239f}},
             FACTOR_CAPTURED);
}

TEST_F(ChartFixture, CrossoverHandlesNeverCrossEachOther)
{
    RunSteps(model,
             {{Step::Press, 196, 198, ChartNotify::None, 100, 0},
              {Step::Move, 463, 198, ChartNotify::Hp, 999, 0},
              {Step::Move, 800, 198, ChartNotify::None, 999, 0},
              {Step::Release, 800, 198, ChartNotify::HpRelease, 999, 0}},
             HP_CAPTURED);
    // Without an L handle H does not move; without H, L moves freely.
    model.SetCrossover(100, -1);
    RunSteps(model,
             {{Step::Press, 196, 198, ChartNotify::None, 100, 0},
              {Step::Move, 463, 198, ChartNotify::None, 100, 0},
              {Step::Release, 463, 198, ChartNotify::HpRelease, 100, 0}},
             HP_CAPTURED);
    model.SetCrossover(-1, 10000);
    RunSteps(model,
             {{Step::Press, 729, 225, ChartNotify::None, 10000, 0},
              {Step::Move, 100, 225, ChartNotify::Lp, 44, 0},
              {Step::Release, -20, 225, ChartNotify::LpRelease, 20, 0}},
             LP_CAPTURED);
}

TEST_F(ChartFixture, OutOfRangeInputIsBounded)
{
    std::vector<EqBand> many(40, EqBand(1.0f, 2.0f, 500, 1));
    EXPECT_FALSE(model.SetBands(many.data(), 40, 35, kPlot100.rc, 100));
    EXPECT_EQ(EqChartModel::kMaxBands, model.BandCount());
    EXPECT_EQ(-1, model.Selected());
    EXPECT_FALSE(model.AllFlat());
    const EqBand flat[2] = {};
    EXPECT_TRUE(model.SetBands(flat, 2, 1, kPlot100.rc, 100));
    EXPECT_TRUE(model.AllFlat());

    std::vector<double> freqs(20 * 512, 1000.0);
    std::vector<double> gains(20 * 512, 3.0);
    std::vector<int> visible(20, 1);
    EXPECT_FALSE(model.SetCurves(freqs.data(), gains.data(), 0, 0, visible.data()));
    EXPECT_EQ(0, model.CurveCount());
    EXPECT_TRUE(model.SetCurves(freqs.data(), gains.data(), 20, 3, visible.data()));
    EXPECT_EQ(EqChartModel::kMaxCurves, model.CurveCount());

    uint32_t colors[12];
    EXPECT_EQ(2, ParseCurveColors(L"#FF112233 #FF445566", colors, 12));
    EXPECT_EQ(0xFF112233u, colors[0]);
    EXPECT_EQ(0xFF445566u, colors[1]);
    std::wstring fourteen;
    for (int i = 0; i < 14; ++i) fourteen += L"#FF0000AA ";
    EXPECT_EQ(12, ParseCurveColors(fourteen.c_str(), colors, 12));
}

TEST_F(ChartFixture, CurvePointsOfTheResponseGridMakeWholeBezierChains)
{
    ResponseGrid grid;
    MakeResponseGrid(48000.0, 512, &grid);
    std::vector<double> freqs(2 * 512);
    std::vector<double> gains(2 * 512, -400.0);
    std::copy(grid.freqs.begin(), grid.freqs.end(), freqs.begin());
    std::copy(grid.freqs.begin(), grid.freqs.end(), freqs.begin() + 512);
    for (int k = 0; k < 512; ++k) gains[k] = 6.0 * std::sin(k / 40.0);
    const int visible[2] = {1, 0};
    ASSERT_TRUE(model.SetCurves(freqs.data(), gains.data(), 2, 0, visible));

    CUIPoint raw[512];
    CUIPoint smooth[512];
    const int n = model.BuildCurvePoints(0, false, raw);
    EXPECT_EQ(386, n);
    EXPECT_EQ(385, EqChartModel::BezierPointCount(n));
    EXPECT_EQ(810, raw[0].x); // the highest frequency first
    EXPECT_EQ(n, model.BuildCurvePoints(0, true, smooth));
    for (int k = 0; k < n; ++k) EXPECT_NE(20000, smooth[k].x);
    // -400 dB reads far below the plot, but stays a finite pixel.
    CUIPoint deep[512];
    EXPECT_EQ(386, model.BuildCurvePoints(1, false, deep));
    EXPECT_GT(deep[0].y, 280);

    const int counts[][2] = {{0, 0}, {4, 0}, {5, 4}, {6, 4}, {8, 7}, {386, 385}, {387, 385}};
    for (const auto& c : counts) EXPECT_EQ(c[1], EqChartModel::BezierPointCount(c[0])) << c[0];
}

TEST(CurveRaster, BlendsOnceInsideTheClipAndLeavesTheRestAlone)
{
    // A 40 x 20 bottom-up canvas; a chain along y = 10 from x = 2 to x = 38,
    // drawn twice through the same pixels at half alpha.
    const int w = 40;
    const int h = 20;
    std::vector<uint32_t> pixels(w * h, 0x00102030);
    const CUIPoint chain[7] = {{2, 10}, {8, 10}, {14, 10}, {20, 10}, {26, 10}, {32, 10}, {38, 10}};
    CurveRaster raster;
    uint32_t* top = pixels.data() + (h - 1) * w;
    raster.Begin(top, -w, CUIRect(0, 0, 30, h));
    raster.DrawBezierChain(chain, 7, 0, 0, 0x80FF0000, 2.0f);
    auto at = [&](int x, int y) { return top[-y * w + x]; };
    // Rows 9 and 10 lie wholly under a 2-pixel pen on y = 10: one blend of
    // half alpha, however many pieces cover them.
    EXPECT_EQ(0xFF881018u, at(15, 9));
    EXPECT_EQ(0xFF881018u, at(15, 10));
    EXPECT_EQ(0x00102030u, at(15, 11));   // a 2-pixel pen covers two rows
    EXPECT_EQ(0x00102030u, at(15, 5));    // far from the line
    EXPECT_EQ(0x00102030u, at(35, 10));   // outside the clip
    EXPECT_EQ(0x00102030u, at(0, 10));    // before the chain starts
    // A 3-pixel pen on y = 15: full rows 14 and 15, half-covered rows 13 and 16.
    raster.DrawBezierChain(chain, 7, 0, 5, 0xFFFFFFFF, 3.0f);
    EXPECT_EQ(0xFF889098u, at(15, 13));
    EXPECT_EQ(0xFFFFFFFFu, at(15, 14));
    EXPECT_EQ(0xFFFFFFFFu, at(15, 15));
    EXPECT_EQ(0xFF889098u, at(15, 16));
    EXPECT_EQ(0x00102030u, at(15, 17));
    // A chain shorter than one segment draws nothing.
    raster.DrawBezierChain(chain, 3, 0, -5, 0xFFFFFFFF, 2.0f);
    EXPECT_EQ(0x00102030u, at(15, 5));
}
