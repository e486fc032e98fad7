#include "uilib/control/ListRowCore.h"

#include "uilib/control/ScrollBar.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

CListRowCore::CListRowCore(CControlUI& self, IListItemUI& item)
    : m_self(self), m_item(item), m_index(-1), m_selected(false), m_buttonState(0), m_owner(nullptr),
      m_ownerControl(nullptr)
{
}

void CListRowCore::SetOwner(CControlUI* owner)
{
    m_ownerControl = owner;
    m_owner = AsListOwner(owner);
}

TListItemStyle* CListRowCore::Style() const
{
    return m_owner != nullptr ? m_owner->GetListStyleInfo() : nullptr;
}

bool CListRowCore::Select(bool select)
{
    if (!m_self.GetEnabledState()) return false;
    if (m_owner != nullptr && m_selected) m_owner->RemoveFromSelection(m_index, true);
    if (select != m_selected) {
        // Stored before the owner is told, so its call-back finds the row done.
        m_selected = select;
        if (select && m_owner != nullptr) m_owner->SelectSingleItem(m_index, false);
    }
    RequestItemRepaint();
    return true;
}

bool CListRowCore::SelectAdditive(bool select)
{
    if (!m_self.GetEnabledState()) return false;
    if (select != m_selected) {
        m_selected = select;
        if (select && m_owner != nullptr) m_owner->AddToSelection(m_index, false);
        RequestItemRepaint();
    }
    return true;
}

bool CListRowCore::FinishActivation(bool activated)
{
    if (!activated) return false;
    Notify(L"itemactivate");
    return true;
}

void CListRowCore::AfterVisibilityChange()
{
    if (m_self.GetVisibility() || !m_selected) return;
    m_selected = false;
    if (m_owner != nullptr) m_owner->SelectSingleItem(-1, false);
}

void CListRowCore::AfterEnabledChange()
{
    if (!m_self.GetEnabledState()) m_buttonState = 0;
}

void CListRowCore::Notify(const wchar_t* type, WPARAM wParam, LPARAM lParam)
{
    CPaintManagerUI* manager = m_self.GetPaintManager();
    if (manager != nullptr) manager->SendNotification(&m_self, type, wParam, lParam);
}

bool CListRowCore::PassToOwner(TEventInfo& event)
{
    if (m_owner == nullptr) return false;
    m_owner->HandleItemEvent(event);
    return true;
}

void CListRowCore::RequestItemRepaint()
{
    if (!m_self.GetVisibility()) return;
    CControlUI* parent = m_self.GetParentControl();
    CContainerUI* container =
        parent != nullptr ? static_cast<CContainerUI*>(parent->FindInterface(L"Container")) : nullptr;
    if (container == nullptr) {
        m_self.RequestRepaint();
        return;
    }
    CUIRect visible = container->GetPosition();
    const CUIRect inset = container->GetScaledInsetRect();
    visible.left += inset.left;
    visible.top += inset.top;
    visible.right -= inset.right;
    visible.bottom -= inset.bottom;
    CScrollBarUI* vbar = container->GetVScrollBarControl();
    if (vbar != nullptr && vbar->GetVisibility()) visible.right -= vbar->GetScaledFixedWidth();
    CScrollBarUI* hbar = container->GetHScrollBarControl();
    if (hbar != nullptr && hbar->GetVisibility()) visible.bottom -= hbar->GetScaledFixedHeight();
    RECT area;
    if (!IntersectRect(&area, &m_self.GetPosition(), &visible)) return;
    for (CControlUI* up = parent->GetParentControl(); up != nullptr; up = up->GetParentControl()) {
        if (!IntersectRect(&area, &area, &up->GetPosition())) return;
    }
    CPaintManagerUI* manager = m_self.GetPaintManager();
    if (manager != nullptr) manager->InvalidateArea(area);
}

void CListRowCore::PaintItemBackground(HDC dc, const RECT& rc)
{
    TListItemStyle* style = Style();
    if (style == nullptr) return;
    const bool disabled = !m_self.GetEnabledState();
    const bool evenRow = !style->alternateBack || (m_index % 2) == 0;
    DWORD color = evenRow ? style->backColor : 0;
    if (IsHot() && style->hotBackColor != 0) color = style->hotBackColor;
    if (m_selected && style->selectedBackColor != 0) color = style->selectedBackColor;
    if (disabled && style->disabledBackColor != 0) color = style->disabledBackColor;
    if (color != 0) CRenderKit::FillRectColor(dc, rc, m_self.ApplyHslToColor(color));

    if (disabled && !style->disabledImage.IsEmpty() && m_self.DrawImageSpec(dc, style->disabledImage, nullptr))
        return;
    if (m_selected && !style->selectedImage.IsEmpty() && m_self.DrawImageSpec(dc, style->selectedImage, nullptr))
        return;
    if (IsHot() && !style->hotImage.IsEmpty() && m_self.DrawImageSpec(dc, style->hotImage, nullptr)) return;
    const CUIString own = m_self.GetBackgroundImage();
    if (!own.IsEmpty()) {
        if (evenRow) m_self.DrawImageSpec(dc, own, nullptr);
    } else if (!style->backImage.IsEmpty() && m_self.DrawImageSpec(dc, style->backImage, nullptr)) {
        return;
    }

    if (style->lineColor == 0) return;
    const DWORD line = m_self.ApplyHslToColor(style->lineColor);
    if (style->showRowLine) {
        const RECT segment = {rc.left, rc.bottom - 1, rc.right, rc.bottom - 1};
        CRenderKit::DrawLineSegment(dc, segment, 1, line, PS_SOLID);
    }
    if (style->showColumnLine) {
        const int columns = style->columnCount < TListItemStyle::kMaxColumns ? style->columnCount
                                                                             : TListItemStyle::kMaxColumns;
        for (int i = 0; i < columns; ++i) {
            const RECT segment = {style->columns[i].right - 1, rc.top, style->columns[i].right - 1, rc.bottom};
            CRenderKit::DrawLineSegment(dc, segment, 1, line, PS_SOLID);
        }
    }
}

DWORD CListRowCore::TextColorFor(const TListItemStyle& style) const
{
    DWORD color = style.textColor;
    if (IsHot()) color = style.hotTextColor;
    if (m_selected) color = style.selectedTextColor;
    if (!m_self.GetEnabledState()) color = style.disabledTextColor;
    return color;
}

void CListRowCore::PaintItemText(HDC dc, const RECT& rc, UINT extraFormat)
{
    TListItemStyle* style = Style();
    const CUIString text = m_self.GetTextContent();
    CPaintManagerUI* manager = m_self.GetPaintManager();
    if (text.IsEmpty() || style == nullptr || manager == nullptr) return;
    const DWORD color = TextColorFor(*style);
    const CDpiScaler& scaler = *manager->DpiScaler();
    RECT area = {rc.left + scaler.ScaleValue(style->textPadding.left), rc.top + scaler.ScaleValue(style->textPadding.top),
                 rc.right - scaler.ScaleValue(style->textPadding.right),
                 rc.bottom - scaler.ScaleValue(style->textPadding.bottom)};
    CRenderKit::DrawControlText(dc, manager, area, text, color, style->font, style->textStyle | extraFormat,
                                style->showHtml);
}

bool CListRowCore::HandlePointerEvent(const TEventInfo& event)
{
    const bool enabled = m_self.GetEnabledState();
    switch (event.type) {
    case UIEVENT_RBUTTONDOWN:
        if (Style() == nullptr || !Style()->rightButtonSelects) return false;
        // A right press selects like a left one when the owner asks for it.
        [[fallthrough]];
    case UIEVENT_BUTTONDOWN:
        if (enabled) {
            if (GetKeyState(VK_CONTROL) < 0) {
                if (!m_item.IsItemSelected())
                    m_item.SetItemSelectedAdditive(true);
                else if (m_owner == nullptr)
                    m_item.SetItemSelectedAdditive(false);
                else
                    // Off only through the owner, so its record loses the row
                    // too; an owner with one selection keeps it.
                    m_owner->RemoveFromSelection(m_index, false);
            } else
                m_item.SetItemSelected(true);
        }
        return true;
    case UIEVENT_BUTTONUP:
        if (enabled) Notify(L"itemclick");
        return true;
    case UIEVENT_MOUSEMOVE:
        return true;
    case UIEVENT_MOUSEENTER:
        if (enabled) {
            m_buttonState |= kStateHot;
            RequestItemRepaint();
        }
        return true;
    case UIEVENT_MOUSELEAVE:
        if (IsHot()) {
            m_buttonState &= ~kStateHot;
            RequestItemRepaint();
        }
        return true;
    default:
        return false;
    }
}

bool CListRowCore::HandleActivationEvent(const TEventInfo& event)
{
    const bool isReturn = event.type == UIEVENT_KEYDOWN && event.keyChar == VK_RETURN;
    if (event.type != UIEVENT_DBLCLICK && !isReturn) return false;
    if (!m_self.GetEnabledState()) return event.type == UIEVENT_DBLCLICK;
    m_self.ActivateControl();
    RequestItemRepaint();
    return true;
}

} // namespace SkinUI
