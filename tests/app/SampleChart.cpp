#include "SampleChart.h"

#include <cmath>
#include <vector>

#include "app/tuning/EqBand.h"
#include "device/ResponseMath.h"
#include "uilib/core/UIManager.h"

namespace AppTest {

const wchar_t kChartAttributes[] =
    L"bkcolor=\"#FF0F1215\" curvecolor=\"#FF1EA7E1 #FFF5A524 #FF3FB950 #FFE5484D #FFB57BFF #FF2DD4BF "
    L"#FFF472B6 #FFA3E635 #FF60A5FA #FFFB923C #FFE879F9 #FFFACC15\"";

void LoadSampleChart(UIEqualizer& chart)
{
    const int channels = 16;
    const int points = EqChartModel::kCurvePoints;
    EqBand bands[31];
    ResetEqBands(bands, 31);
    ResponseGrid grid;
    MakeResponseGrid(48000.0, points, &grid);
    std::vector<double> freqs(channels * points);
    std::vector<double> gains(channels * points);
    std::vector<int> visible(channels, 1);
    for (int b = 0; b < 31; ++b) {
        bands[b].gain = static_cast<float>(3.0 * std::sin(b / 3.0));
        bands[b].Q = 4.0f + (b % 3);
    }
    ChannelBand current[31];
    for (int b = 0; b < 31; ++b) current[b] = {double(bands[b].freq), bands[b].gain, bands[b].Q};
    for (int c = 0; c < channels; ++c) {
        // Each other channel: three bands of its own and a crossover that
        // depends on whether it is a tweeter, a mid or a sub.
        ChannelBand eq[3] = {{120.0 * (1 + c % 4), 4.0 - c % 7, 1.4},
                             {900.0 + 350.0 * c, -5.0 + c % 5, 2.5},
                             {6000.0 + 500.0 * c, 3.0 - c % 3, 4.0}};
        const bool sub = c >= 12;
        const ChannelCrossover hp = {!sub, 40.0 + 30.0 * (c % 6), CROSSOVER_BUTTERWORTH, 2 + c % 3};
        const ChannelCrossover lp = {true, sub ? 70.0 + 10.0 * c : 14000.0 + 400.0 * c, CROSSOVER_LINKWITZ_RILEY, 4};
        std::copy(grid.freqs.begin(), grid.freqs.end(), freqs.begin() + c * points);
        if (c == 0) {
            const ChannelCrossover hp0 = {true, 60.0, CROSSOVER_BUTTERWORTH, 2};
            const ChannelCrossover lp0 = {true, 18000.0, CROSSOVER_BUTTERWORTH, 2};
            ChannelResponse(grid, 48000.0, current, 31, hp0, lp0, &gains[0]);
        } else {
            ChannelResponse(grid, 48000.0, eq, 3, hp, lp, &gains[c * points]);
        }
    }
    // The skin's axis-label face and size.
    if (chart.GetPaintManager() != nullptr) chart.GetPaintManager()->AddFont(0, L"Tahoma", 11, false, false, false, false);
    chart.ApplyAttributeList(L"font=\"0\" bypassfont=\"0\"");
    chart.SetPeqMode(true);
    chart.SetBands(bands, 31, 12);
    chart.setCurEqHpLp(60, 18000);
    chart.SetCurves(freqs.data(), gains.data(), channels, 0, visible.data(), 0);
}

} // namespace AppTest
