#include "uilib/control/ListLabelElement.h"

#include "uilib/core/UIManager.h"

namespace SkinUI {

CListLabelElementUI::CListLabelElementUI() = default;

const wchar_t* CListLabelElementUI::GetTypeName() const
{
    return L"ListLabelElementUI";
}

void* CListLabelElementUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListLabelElement") == 0) return this;
    return CListElementUI::FindInterface(name);
}

void CListLabelElementUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!m_row.PassToOwner(event)) CListElementUI::HandleEvent(event);
        return;
    }
    if (m_row.HandlePointerEvent(event)) return;
    CListElementUI::HandleEvent(event);
}

int CListLabelElementUI::DefaultRowHeight(const TListItemStyle& style) const
{
    if (m_manager == nullptr) return 0;
    const CUIRect padding(style.textPadding);
    return m_manager->FontEntry(style.font)->metrics.tmHeight + 8 + Scaled(padding.top) + Scaled(padding.bottom);
}

CUISize CListLabelElementUI::MeasureDesiredSize(CUISize available)
{
    TListItemStyle* style = m_row.Style();
    if (style == nullptr) return CUISize(0, 0);
    CUISize size(GetScaledFixedWidth(), GetScaledFixedHeight());
    if (size.cx == 0 && m_manager != nullptr) size.cx = available.cx;
    if (size.cy == 0) size.cy = DefaultRowHeight(*style);
    return size;
}

bool CListLabelElementUI::PaintSelf(HDC dc, const RECT&, CControlUI*)
{
    PaintItemBackground(dc, m_item);
    PaintItemText(dc, m_item);
    return true;
}

void CListLabelElementUI::PaintItemText(HDC dc, const RECT& rc)
{
    m_row.PaintItemText(dc, rc, 0);
}

} // namespace SkinUI
