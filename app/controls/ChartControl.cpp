#include "app/controls/ChartControl.h"

#include <cwchar>

#include "uilib/core/AttrParse.h"

using namespace SkinUI;

ChartControl::ChartControl(UINT defaultTextStyle) : m_text(defaultTextStyle), m_autoWidth(false)
{
}

void* ChartControl::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Curve") == 0) return this;
    return CControlUI::FindInterface(name);
}

uint32_t ChartControl::GetBehaviorFlags() const
{
    return GetEnabledState() ? uint32_t(UIFLAG_SETCURSOR) : 0u;
}

void ChartControl::SetTextContent(const wchar_t* text)
{
    CControlUI::SetTextContent(text);
    if (m_autoWidth) RequestParentRelayout();
}

bool ChartControl::IsAutoWidth() const
{
    return m_autoWidth;
}

void ChartControl::SetAutoWidth(bool on)
{
    m_autoWidth = on;
}

void ChartControl::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_SETFOCUS || event.type == UIEVENT_KILLFOCUS) {
        m_focused = event.type == UIEVENT_SETFOCUS;
        return;
    }
    CControlUI::HandleEvent(event);
}

void ChartControl::ApplyAttribute(const wchar_t* name, const wchar_t* value)
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
