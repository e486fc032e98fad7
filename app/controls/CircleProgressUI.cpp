#include "app/controls/CircleProgressUI.h"

#include <gdiplus.h>

CCircleProgressUI::CCircleProgressUI() = default;

CCircleProgressUI::~CCircleProgressUI() = default;

const wchar_t* CCircleProgressUI::GetTypeName() const
{
    return L"CircleProgress";
}

int CCircleProgressUI::SweepDegrees(int value, int min, int max)
{
    if (max <= min) return 0;
    return static_cast<int>(static_cast<float>(value - min) / static_cast<float>(max - min) * 360.0f);
}

void CCircleProgressUI::PaintBackgroundColor(HDC dc)
{
    Gdiplus::Graphics graphics(dc);
    Gdiplus::SolidBrush brush{Gdiplus::Color(GetBackgroundColor())};
    graphics.FillPie(&brush, m_item.left, m_item.top, m_item.Width(), m_item.Height(), 0.0f, 360.0f);
}

void CCircleProgressUI::PaintForegroundColor(HDC dc)
{
    Gdiplus::Graphics graphics(dc);
    const int sweep = SweepDegrees(GetValue(), GetMinValue(), GetMaxValue());
    if (sweep != 0) {
        Gdiplus::SolidBrush brush{Gdiplus::Color(GetForegroundColor())};
        // GDI+ angles run clockwise from the positive x axis: 90 is straight down.
        graphics.FillPie(&brush, m_item.left, m_item.top, m_item.Width(), m_item.Height(), 90.0f,
                         static_cast<float>(sweep));
    }
    Gdiplus::SolidBrush white{Gdiplus::Color(0xFFFFFFFF)};
    const int inset = 10;
    graphics.FillEllipse(&white, m_item.left + inset, m_item.top + inset, m_item.Width() - 2 * inset,
                         m_item.Height() - 2 * inset);
}

void CCircleProgressUI::PaintForegroundImage(HDC)
{
}
