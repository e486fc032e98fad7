#include "uilib/control/RollText.h"

#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// Far enough that the measuring pass never wraps the text.
const int kMeasureReach = 10000;

} // namespace

CRollTextUI::CRollTextUI() : m_step(5), m_offset(0), m_rolling(false), m_direction(kRollLeft), m_extent(0) {}

CRollTextUI::~CRollTextUI()
{
    if (m_manager != nullptr) {
        m_manager->StopTimer(this, kEndTimer);
        m_manager->StopTimer(this, kTickTimer);
    }
}

const wchar_t* CRollTextUI::GetTypeName() const
{
    return L"RollTextUI";
}

void* CRollTextUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"RollText") == 0) return this;
    return CLabelUI::FindInterface(name);
}

void CRollTextUI::SetTextContent(const wchar_t* text)
{
    CLabelUI::SetTextContent(text);
    m_extent = 0;
}

void CRollTextUI::PlaceAndRemeasure(const RECT& rc)
{
    SetPosition(rc, true);
    m_extent = 0;
}

void CRollTextUI::BeginRoll(int direction, UINT tickMs, UINT durationSeconds)
{
    m_direction = direction;
    if (m_rolling) EndRoll();
    m_extent = 0;
    if (m_manager != nullptr) {
        m_manager->StopTimer(this, kTickTimer);
        m_manager->StartTimer(this, kTickTimer, tickMs);
        m_manager->StopTimer(this, kEndTimer);
        m_manager->StartTimer(this, kEndTimer, durationSeconds * 1000);
    }
    m_rolling = true;
}

void CRollTextUI::EndRoll()
{
    if (!m_rolling) return;
    if (m_manager != nullptr) {
        m_manager->StopTimer(this, kEndTimer);
        m_manager->StopTimer(this, kTickTimer);
    }
    m_rolling = false;
}

void CRollTextUI::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_TIMER && event.wParam == kEndTimer) {
        if (m_manager != nullptr) {
            m_manager->StopTimer(this, kEndTimer);
            m_manager->SendNotification(this, L"textrollend");
        }
        return;
    }
    if (event.type == UIEVENT_TIMER && event.wParam == kTickTimer) {
        RequestRepaint();
        return;
    }
    CLabelUI::HandleEvent(event);
}

void CRollTextUI::PaintTextLayer(HDC dc)
{
    if (m_manager == nullptr) return;
    ResolveDefaultTextColors();
    const DWORD color = GetEnabledState() ? m_textColor : m_disabledTextColor;
    const CUIString text = GetTextContent();
    if (text.IsEmpty()) return;

    const CUIRect padding = ScaledTextPadding();
    CUIRect rc(m_item.left + padding.left, m_item.top + padding.top, m_item.right - padding.right,
               m_item.bottom - padding.bottom);
    const bool measured = m_extent > 0;
    if (measured) {
        const int span = IsHorizontal() ? rc.Width() : rc.Height();
        const int limit = span + m_extent;
        // Enter from the far side, then move one step per paint.
        const int sign = (m_direction == kRollLeft || m_direction == kRollUp) ? 1 : -1;
        const int shift = sign * (span - m_offset);
        if (IsHorizontal()) {
            rc.Translate(shift, 0);
            rc.right = rc.left + m_extent;
        } else {
            rc.Translate(0, shift);
            rc.bottom = rc.top + m_extent;
        }
        m_offset += m_step;
        if (m_offset > limit) m_offset = 0;
    }
    UINT style = DT_WORDBREAK | DT_EDITCONTROL;
    if (!measured) {
        style |= DT_CALCRECT;
        if (IsHorizontal())
            rc.right += kMeasureReach;
        else
            rc.bottom += kMeasureReach;
    }
    if (m_showHtml) {
        int links = 0;
        CRenderKit::DrawTaggedText(dc, m_manager, rc, text, color, nullptr, nullptr, links, m_font, style);
    } else {
        CRenderKit::DrawPlainText(dc, m_manager, rc, text, color, m_font, style);
    }
    if (!measured) m_extent = IsHorizontal() ? rc.Width() : rc.Height();
}

} // namespace SkinUI
