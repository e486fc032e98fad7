#include "app/controls/UIEqualizerAc.h"

#include "app/controls/ChartGrid.h"
#include "app/controls/EqChartGeometry.h"

using namespace SkinUI;

namespace {

const DWORD kGridColor = 0xFF444444;
const int kGainGrid[] = {-15, -10, -5, 5, 10, 15};

} // namespace

UIEqualizerAc::UIEqualizerAc() : ChartControl(DT_VCENTER | DT_SINGLELINE)
{
}

UIEqualizerAc::~UIEqualizerAc() = default;

const wchar_t* UIEqualizerAc::GetTypeName() const
{
    return L"UIEqualizerAc";
}

int UIEqualizerAc::ZeroY(int top, int bottom)
{
    return top + ((bottom - top) * kMaxGain) / (kMaxGain - kMinGain);
}

float UIEqualizerAc::GainToY(float gain, int top, int bottom, float zeroY)
{
    if (gain > 0) return zeroY - (zeroY - top) * gain / kMaxGain;
    if (gain < 0) return zeroY + (bottom - zeroY) * gain / kMinGain;
    return zeroY;
}

bool UIEqualizerAc::PaintSelf(HDC dc, const RECT&, CControlUI*)
{
    // Taken afresh at every paint, so a resize moves the grid at once.
    const CUIRect plot = GetPosition();
    const int zeroY = ZeroY(plot.top, plot.bottom);
    const int gainCount = static_cast<int>(sizeof(kGainGrid) / sizeof(kGainGrid[0]));
    int gainYs[gainCount];
    for (int i = 0; i < gainCount; ++i) {
        gainYs[i] = ChartTrunc(GainToY(static_cast<float>(kGainGrid[i]), plot.top, plot.bottom,
                                       static_cast<float>(zeroY)));
    }
    PaintChartGrid(dc, plot, zeroY, gainYs, gainCount, {ApplyHslToColor(GetBackgroundColor()), kGridColor, 1});
    return true;
}
