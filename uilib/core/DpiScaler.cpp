#include "uilib/core/DpiScaler.h"

namespace SkinUI {

namespace {

const int32_t kBaseDpi = 96;

// Width and height are mapped on their own, so that a rectangle keeps the
// same mapped size wherever it stands.
template <class Map>
void MapRectInPlace(UIRectBase& rc, Map map)
{
    int32_t width = map(rc.right - rc.left);
    int32_t height = map(rc.bottom - rc.top);
    rc.left = map(rc.left);
    rc.top = map(rc.top);
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
}

} // namespace

CDpiScaler::CDpiScaler() : m_scalePercent(0), m_systemScalePercent(0), m_awareness(UI_DPI_PER_MONITOR_AWARE)
{
    SetScaleFromDpi(kBaseDpi);
}

int32_t CDpiScaler::MulDivRound(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    int64_t num = static_cast<int64_t>(a) * b;
    int64_t den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    int64_t half = den / 2;
    int64_t q = num >= 0 ? (num + half) / den : (num - half) / den;
    if (q > INT32_MAX || q < -INT32_MAX)
        return -1;
    return static_cast<int32_t>(q);
}

void CDpiScaler::SetScaleFromDpi(int32_t dpi)
{
    m_scalePercent = MulDivRound(dpi, 100, kBaseDpi);
    if (m_systemScalePercent == 0)
        m_systemScalePercent = m_scalePercent;
}

int32_t CDpiScaler::PercentInUse() const
{
    switch (m_awareness) {
    case UI_DPI_UNAWARE:
        return 100;
    case UI_DPI_SYSTEM_AWARE:
        return m_systemScalePercent;
    default:
        return m_scalePercent;
    }
}

int32_t CDpiScaler::GetScalePercent() const
{
    return PercentInUse();
}

int32_t CDpiScaler::GetDpiValue() const
{
    if (m_awareness == UI_DPI_UNAWARE)
        return kBaseDpi;
    return MulDivRound(PercentInUse(), kBaseDpi, 100);
}

int32_t CDpiScaler::ScaleValue(int32_t v) const
{
    if (m_awareness == UI_DPI_UNAWARE)
        return v;
    return MulDivRound(v, PercentInUse(), 100);
}

int32_t CDpiScaler::UnscaleValue(int32_t v) const
{
    if (m_awareness == UI_DPI_UNAWARE)
        return v;
    return MulDivRound(v, 100, PercentInUse());
}

void CDpiScaler::ScaleRectInPlace(UIRectBase& rc) const
{
    MapRectInPlace(rc, [this](int32_t v) { return ScaleValue(v); });
}

void CDpiScaler::UnscaleRectInPlace(UIRectBase& rc) const
{
    MapRectInPlace(rc, [this](int32_t v) { return UnscaleValue(v); });
}

CUIRect CDpiScaler::ScaleRectFromEdges(int32_t left, int32_t top, int32_t right, int32_t bottom) const
{
    CUIRect rc(left, top, right, bottom);
    ScaleRectInPlace(rc);
    return rc;
}

void CDpiScaler::ScaleSizeInPlace(UISizeBase& sz) const
{
    sz.cx = ScaleValue(sz.cx);
    sz.cy = ScaleValue(sz.cy);
}

CUISize CDpiScaler::ScaleSizeFromValues(int32_t cx, int32_t cy) const
{
    return CUISize(ScaleValue(cx), ScaleValue(cy));
}

void CDpiScaler::ScalePointInPlace(UIPointBase& pt) const
{
    pt.x = ScaleValue(pt.x);
    pt.y = ScaleValue(pt.y);
}

} // namespace SkinUI
