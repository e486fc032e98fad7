#include "uilib/control/ListHeader.h"

#include "uilib/control/ListHeaderItem.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

CListHeaderUI::CListHeaderUI() : m_scaleHeader(false) {}

const wchar_t* CListHeaderUI::GetTypeName() const
{
    return L"ListHeaderUI";
}

void* CListHeaderUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListHeader") == 0) return this;
    return CHorizontalLayoutUI::FindInterface(name);
}

CUISize CListHeaderUI::MeasureDesiredSize(CUISize available)
{
    CUISize size(0, GetScaledFixedHeight());
    int tallest = 0;
    for (int i = 0; i < m_children.Count(); ++i) {
        const CUISize item = static_cast<CControlUI*>(m_children[i])->MeasureDesiredSize(available);
        size.cx += item.cx;
        if (item.cy > tallest) tallest = item.cy;
    }
    if (size.cy == 0 && m_manager != nullptr) {
        const int least = m_manager->DefaultFontEntry()->metrics.tmHeight + 6;
        size.cy = tallest > least ? tallest : least;
    }
    return size;
}

void CListHeaderUI::ApplyScaleWidths(int availableWidth)
{
    int base = availableWidth;
    // The list answers for its body's bar, whose width the rows lose.
    CContainerUI* parent = m_parent != nullptr ? static_cast<CContainerUI*>(m_parent->FindInterface(L"Container"))
                                               : nullptr;
    if (parent != nullptr) {
        CScrollBarUI* bar = parent->GetVScrollBarControl();
        if (bar != nullptr && bar->GetVisibility()) base -= bar->GetCurrentWidth();
    }
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = static_cast<CControlUI*>(m_children[i]);
        CListHeaderItemUI* item = static_cast<CListHeaderItemUI*>(child->FindInterface(L"ListHeaderItem"));
        if (item == nullptr) continue;
        int width = static_cast<int>(static_cast<float>(item->GetScale()) * static_cast<float>(base) / 100.0f);
        if (m_manager != nullptr) width = m_manager->DpiScaler()->UnscaleValue(width);
        // Only on a change: the setter asks for a new layout.
        if (item->GetFixedSizeValue().cx != width) item->SetFixedWidthValue(width);
    }
}

void CListHeaderUI::SetPosition(const RECT& rc, bool invalidate)
{
    if (m_scaleHeader) {
        const CUIRect inset = GetScaledInsetRect();
        ApplyScaleWidths((rc.right - rc.left) - inset.left - inset.right);
    }
    CHorizontalLayoutUI::SetPosition(rc, invalidate);
}

void CListHeaderUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"scaleheader")) {
        m_scaleHeader = ParseAttrBool(value);
        return;
    }
    CHorizontalLayoutUI::ApplyAttribute(name, value);
}

} // namespace SkinUI
