#include "uilib/control/Text.h"

#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const int kMeasureExtent = 9999;

} // namespace

CTextUI::CTextUI() : m_linkCount(0), m_linkRects(), m_hoverLink(-1)
{
    m_textStyle = DT_WORDBREAK;
    m_textPadding = CUIRect(2, 0, 2, 0);
}

CTextUI::~CTextUI() = default;

const wchar_t* CTextUI::GetTypeName() const
{
    return L"TextUI";
}

void* CTextUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Text") == 0) return this;
    return CLabelUI::FindInterface(name);
}

uint32_t CTextUI::GetBehaviorFlags() const
{
    return GetEnabledState() && m_linkCount > 0 ? uint32_t(UIFLAG_SETCURSOR) : 0u;
}

const CUIString* CTextUI::GetLinkText(int index) const
{
    if (index < 0 || index >= m_linkCount) return nullptr;
    return &m_linkTexts[index];
}

CUIRect CTextUI::GetLinkRect(int index) const
{
    if (index < 0 || index >= m_linkCount) return CUIRect();
    return CUIRect(m_linkRects[index]);
}

int CTextUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_linkCount; ++i) {
        if (PtInRect(&m_linkRects[i], pt)) return i;
    }
    return -1;
}

void CTextUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CLabelUI::HandleEvent(event);
        return;
    }
    const bool enabled = GetEnabledState();
    const bool hasLinks = m_linkCount > 0;
    const int link = hasLinks ? LinkAt(event.point) : -1;
    if (event.type == UIEVENT_SETCURSOR && hasLinks) {
        if (link >= 0) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return;
        }
    }
    if ((event.type == UIEVENT_BUTTONDOWN || (event.type == UIEVENT_DBLCLICK && enabled)) && hasLinks) {
        if (link >= 0) {
            RequestRepaint();
            return;
        }
    }
    if (event.type == UIEVENT_BUTTONUP && enabled && hasLinks) {
        if (link >= 0) {
            if (m_manager != nullptr) m_manager->SendNotification(this, L"link", static_cast<WPARAM>(link), 0, false);
            return;
        }
    }
    if (event.type == UIEVENT_CONTEXTMENU) return;
    if (event.type == UIEVENT_MOUSEMOVE && enabled && hasLinks) {
        if (link != m_hoverLink) {
            m_hoverLink = link;
            RequestRepaint();
            return;
        }
    }
    if (event.type == UIEVENT_MOUSELEAVE && enabled && hasLinks && m_hoverLink != -1) {
        m_hoverLink = -1;
        RequestRepaint();
        return;
    }
    CLabelUI::HandleEvent(event);
}

CUISize CTextUI::MeasureDesiredSize(CUISize available)
{
    if (m_manager == nullptr) return CLabelUI::MeasureDesiredSize(available);
    const CUIRect padding = ScaledTextPadding();
    RECT rc = {0, 0, m_autoWidth ? kMeasureExtent : GetScaledFixedWidth(), kMeasureExtent};
    rc.left += padding.left;
    rc.right -= padding.right;

    HDC dc = m_manager->DeviceContext();
    HDC ownDC = nullptr;
    if (dc == nullptr) dc = ownDC = CreateCompatibleDC(nullptr);
    const CUIString text = GetTextContent();
    const UINT style = m_textStyle | DT_CALCRECT;
    if (m_showHtml) {
        int none = 0;
        CRenderKit::DrawTaggedText(dc, m_manager, rc, text, m_textColor, nullptr, nullptr, none, m_font, style);
    } else {
        CRenderKit::DrawPlainText(dc, m_manager, rc, text, m_textColor, m_font, style);
    }
    if (ownDC != nullptr) DeleteDC(ownDC);
    // Kept at 100 %: the fixed width is scaled again when read.
    if (m_autoWidth) m_fixedSize.cx = Unscaled((rc.right - rc.left) + padding.left + padding.right);
    return CControlUI::MeasureDesiredSize(available);
}

void CTextUI::PaintTextLayer(HDC dc)
{
    const CUIString text = GetTextContent();
    if (text.IsEmpty()) {
        m_linkCount = 0;
        return;
    }
    if (m_manager == nullptr) return;
    ResolveDefaultTextColors();
    m_linkCount = m_showHtml ? kMaxLinks : 0;

    const CUIRect padding = ScaledTextPadding();
    RECT rc = m_item;
    rc.left += padding.left;
    rc.right -= padding.right;
    rc.top += padding.top;
    rc.bottom -= padding.bottom;
    const DWORD color = GetEnabledState() ? m_textColor : m_disabledTextColor;
    if (m_showHtml) {
        CRenderKit::DrawTaggedText(dc, m_manager, rc, text, color, m_linkRects, m_linkTexts, m_linkCount, m_font,
                                   m_textStyle);
    } else {
        CRenderKit::DrawPlainText(dc, m_manager, rc, text, color, m_font, m_textStyle);
    }
}

} // namespace SkinUI
