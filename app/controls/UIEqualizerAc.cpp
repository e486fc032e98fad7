#include "app/controls/UIEqualizerAc.h"

#include <cwchar>

#include "app/controls/ChartGrid.h"
#include "app/controls/EqChartGeometry.h"
#include "uilib/core/AttrParse.h"

using namespace SkinUI;

namespace {

const DWORD kGridColor = 0xFF444444;
const int kGainGrid[] = {-15, -10, -5, 5, 10, 15};

} // namespace

UIEqualizerAc::UIEqualizerAc() : m_text(DT_VCENTER | DT_SINGLELINE), m_autoWidth(false)
{
}

UIEqualizerAc::~UIEqualizerAc() = default;

const wchar_t* UIEqualizerAc::GetTypeName() const
{
    return L"UIEqualizerAc";
}

void* UIEqualizerAc::FindInterface(const wchar_t* name)
{
    // The same interface name as the EQ chart.
    if (name != nullptr && CompareTextIgnoreCase(name, L"Curve") == 0) return this;
    return CControlUI::FindInterface(name);
}

uint32_t UIEqualizerAc::GetBehaviorFlags() const
{
    return GetEnabledState() ? uint32_t(UIFLAG_SETCURSOR) : 0u;
}

void UIEqualizerAc::SetTextContent(const wchar_t* text)
{
    CControlUI::SetTextContent(text);
    if (m_autoWidth) RequestParentRelayout();
}

bool UIEqualizerAc::IsAutoWidth() const
{
    return m_autoWidth;
}

void UIEqualizerAc::SetAutoWidth(bool on)
{
    m_autoWidth = on;
}

void UIEqualizerAc::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_SETFOCUS) {
        m_focused = true;
        return;
    }
    if (event.type == UIEVENT_KILLFOCUS) {
        m_focused = false;
        return;
    }
    CControlUI::HandleEvent(event);
}

void UIEqualizerAc::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    bool repaint = false;
    if (m_text.Apply(name, value, repaint)) {
        if (repaint) RequestRepaint();
    } else if (wcscmp(name, L"autocalcwidth") == 0) {
        SetAutoWidth(ParseAttrBool(value));
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
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
