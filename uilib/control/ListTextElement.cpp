#include "uilib/control/ListTextElement.h"

#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CListTextElementUI::CListTextElementUI() : m_linkCount(0), m_hoverLink(-1), m_listOwner(nullptr)
{
    for (RECT& rc : m_linkRects) rc = RECT{0, 0, 0, 0};
}

CListTextElementUI::~CListTextElementUI()
{
    for (int i = 0; i < m_columnTexts.Count(); ++i) delete static_cast<CUIString*>(m_columnTexts[i]);
}

const wchar_t* CListTextElementUI::GetTypeName() const
{
    return L"ListTextElementUI";
}

void* CListTextElementUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListTextElement") == 0) return this;
    return CListLabelElementUI::FindInterface(name);
}

uint32_t CListTextElementUI::GetBehaviorFlags() const
{
    return UIFLAG_WANTRETURN | ((m_linkCount > 0 && GetEnabledState()) ? uint32_t(UIFLAG_SETCURSOR) : 0u);
}

void CListTextElementUI::SetListOwner(CControlUI* owner)
{
    CListLabelElementUI::SetListOwner(owner);
    m_listOwner = owner != nullptr ? static_cast<IListUI*>(owner->FindInterface(L"IList")) : nullptr;
}

CUIString CListTextElementUI::GetColumnText(int column) const
{
    const CUIString* text = static_cast<const CUIString*>(m_columnTexts.At(column));
    if (text == nullptr) return CUIString();
    return CResourceStore::GetInstance()->LookupText(*text);
}

bool CListTextElementUI::SetColumnText(int column, const wchar_t* text)
{
    if (column < 0 || column >= TListItemStyle::kMaxColumns) return false;
    while (m_columnTexts.Count() <= column) {
        if (!m_columnTexts.Append(nullptr)) return false;
    }
    CUIString* slot = static_cast<CUIString*>(m_columnTexts[column]);
    if (slot == nullptr) {
        slot = new CUIString(text);
        m_columnTexts.Replace(column, slot);
    } else {
        *slot = text;
    }
    RequestItemRepaint();
    return true;
}

int CListTextElementUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_linkCount; ++i) {
        if (PtInRect(&m_linkRects[i], pt)) return i;
    }
    return -1;
}

bool CListTextElementUI::HandleLinkEvent(const TEventInfo& event)
{
    switch (event.type) {
    case UIEVENT_SETCURSOR:
        if (LinkAt(event.point) < 0) return false;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return true;
    case UIEVENT_BUTTONUP: {
        const int link = GetEnabledState() ? LinkAt(event.point) : -1;
        if (link < 0) return false;
        m_row.Notify(L"link", static_cast<WPARAM>(link));
        return true;
    }
    case UIEVENT_MOUSEMOVE: {
        const int hover = LinkAt(event.point);
        if (hover != m_hoverLink) {
            m_hoverLink = hover;
            RequestItemRepaint();
        }
        return false;
    }
    case UIEVENT_MOUSELEAVE:
        if (m_hoverLink >= 0) {
            RequestItemRepaint();
            m_hoverLink = -1;
        }
        return false;
    default:
        return false;
    }
}

void CListTextElementUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (m_listOwner != nullptr)
            m_listOwner->HandleItemEvent(event);
        else
            CListLabelElementUI::HandleEvent(event);
        return;
    }
    if (m_linkCount > 0 && HandleLinkEvent(event)) return;
    CListLabelElementUI::HandleEvent(event);
}

CUISize CListTextElementUI::MeasureDesiredSize(CUISize)
{
    CUISize size(GetScaledFixedWidth(), GetScaledFixedHeight());
    TListItemStyle* style = m_listOwner != nullptr ? m_listOwner->GetListStyleInfo() : nullptr;
    if (size.cy == 0 && style != nullptr) size.cy = DefaultRowHeight(*style);
    return size;
}

void CListTextElementUI::PaintItemText(HDC dc, const RECT& rc)
{
    if (m_listOwner == nullptr || m_manager == nullptr) return;
    TListItemStyle* style = m_listOwner->GetListStyleInfo();
    const DWORD color = m_row.TextColorFor(*style);
    IListTextCallback* callback = m_listOwner->GetTextCallback();
    m_linkCount = 0;
    const int columns =
        style->columnCount < TListItemStyle::kMaxColumns ? style->columnCount : TListItemStyle::kMaxColumns;
    for (int i = 0; i < columns; ++i) {
        RECT cell = {style->columns[i].left + Scaled(style->textPadding.left) + ColumnTextInset(i),
                     rc.top + Scaled(style->textPadding.top),
                     style->columns[i].right - Scaled(style->textPadding.right),
                     rc.bottom - Scaled(style->textPadding.bottom)};
        CUIString text;
        if (callback != nullptr) {
            text = callback->GetItemText(this, m_row.Index(), i);
        } else {
            text = GetColumnText(i);
        }
        if (style->showHtml) {
            int found = kMaxLinks - m_linkCount;
            CRenderKit::DrawTaggedText(dc, m_manager, cell, text, color, &m_linkRects[m_linkCount],
                                       &m_linkTexts[m_linkCount], found, style->font, style->textStyle);
            // The renderer reports what it used; never trust it past the slots.
            if (found > 0) m_linkCount += found < kMaxLinks - m_linkCount ? found : kMaxLinks - m_linkCount;
        } else {
            CRenderKit::DrawPlainText(dc, m_manager, cell, text, color, style->font, style->textStyle);
        }
    }
    for (int i = m_linkCount; i < kMaxLinks; ++i) {
        m_linkRects[i] = RECT{0, 0, 0, 0};
        m_linkTexts[i].Clear();
    }
}

} // namespace SkinUI
