#include "uilib/control/MenuList.h"

#include "uilib/control/ListHeader.h"
#include "uilib/control/MenuElement.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CMenuUI::CMenuUI() : m_window(nullptr)
{
    GetHeaderControl()->SetVisibility(false);
}

CMenuUI::~CMenuUI() = default;

const wchar_t* CMenuUI::GetTypeName() const
{
    return L"MenuUI";
}

void* CMenuUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"Menu") == 0) return this;
    return CListUI::FindInterface(name);
}

uint32_t CMenuUI::GetOwnerKind() const
{
    return UILIST_OWNER_MENU;
}

bool CMenuUI::IsMenuRow(CControlUI* control)
{
    return IsMenuElement(control);
}

bool CMenuUI::PrepareRow(CControlUI* control)
{
    if (!IsMenuRow(control)) return false;
    CContainerUI* row = static_cast<CContainerUI*>(control->FindInterface(L"Container"));
    for (int i = 0; row != nullptr && i < row->GetChildCount(); ++i) {
        CControlUI* sub = row->GetChildAt(i);
        if (IsMenuRow(sub)) sub->SetInheritedVisibility(false);
    }
    return true;
}

bool CMenuUI::AddChild(CControlUI* control)
{
    return PrepareRow(control) && CListUI::AddChild(control);
}

bool CMenuUI::InsertChildAt(CControlUI* control, int index)
{
    return PrepareRow(control) && CListUI::InsertChildAt(control, index);
}

int CMenuUI::IndexOfChild(CControlUI* control) const
{
    return IsMenuRow(control) ? CListUI::IndexOfChild(control) : -1;
}

bool CMenuUI::MoveChildToIndex(CControlUI* control, int index)
{
    return IsMenuRow(control) && CListUI::MoveChildToIndex(control, index);
}

bool CMenuUI::RemoveChild(CControlUI* control)
{
    return IsMenuRow(control) && CListUI::RemoveChild(control);
}

CUISize CMenuUI::MeasureDesiredSize(CUISize available)
{
    int widest = 0;
    int height = 0;
    for (int i = 0; i < GetChildCount(); ++i) {
        CControlUI* row = GetChildAt(i);
        if (!row->GetVisibility()) continue;
        const CUISize size = row->MeasureDesiredSize(available);
        if (size.cx > widest) widest = size.cx;
        height += size.cy;
    }
    const int percent = m_manager != nullptr ? m_manager->DpiScaler()->GetScalePercent() : 100;
    const int unscaled = MulDiv(widest, 100, percent > 0 ? percent : 100);
    for (int i = 0; i < GetChildCount(); ++i) {
        CControlUI* row = GetChildAt(i);
        // Only on a change: the setter asks for a new layout.
        if (row->GetVisibility() && row->GetFixedSizeValue().cx != unscaled) row->SetFixedWidthValue(unscaled);
    }
    return CUISize(widest, height);
}

} // namespace SkinUI
