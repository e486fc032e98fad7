#include "app/controls/ChartGrid.h"

#include "app/controls/EqChartGeometry.h"
#include "uilib/core/RenderKit.h"

using SkinUI::CRenderKit;
using SkinUI::CUIRect;

void PaintChartGrid(HDC dc, const CUIRect& plot, int zeroY, const int* gainYs, int gainCount,
                    const ChartGridStyle& style)
{
    CRenderKit::FillRectColor(dc, plot, style.background);
    CRenderKit::DrawRectOutline(dc, plot, style.lineWidth, style.lineColor);
    CRenderKit::DrawLineSegment(dc, {plot.left, zeroY, plot.left + plot.Width(), zeroY}, style.lineWidth,
                                style.lineColor, PS_SOLID);
    for (int i = 0; i < gainCount; ++i) {
        CRenderKit::DrawLineSegment(dc, {plot.left, gainYs[i], plot.right, gainYs[i]}, style.lineWidth,
                                    style.lineColor, PS_DOT);
    }
    for (int i = 0; i < kChartFreqGridCount - 1; ++i) {
        const int x = ChartTrunc(ChartLogAxisX(plot.left, plot.Width(), kChartFreqGrid[i]));
        CRenderKit::DrawLineSegment(dc, {x, plot.top, x, plot.bottom}, style.lineWidth, style.lineColor, PS_SOLID);
    }
}
