#include "uilib/control/MenuList.h"

#include "uilib/control/ListHeader.h"
#include "uilib/control/MenuElement.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/RunPlacement.h"

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

CUISize CMenuUI::MeasureRows(const CContainerUI& parent, CUISize available, int* lastRowHeight) const
{
    int widest = 0;
    std::vector<TRunItem> rows;
    for (int i = 0; i < parent.GetChildCount(); ++i) {
        CControlUI* row = parent.GetChildAt(i);
        if (!IsMenuRow(row) || !row->GetVisibility()) continue;
        const CUISize size = row->MeasureDesiredSize(available);
        if (size.cx > widest) widest = size.cx;
        rows.push_back(MakeRunItem(row, size.cy, true));
        if (lastRowHeight != nullptr) *lastRowHeight = size.cy;
    }
    // Placed as the list body places them, in no length: nothing stretches.
    return CUISize(widest, PlaceRunItems(*this, 0, 0, GetChildGapValue(), rows));
}

CUISize CMenuUI::MeasureDesiredSize(CUISize available)
{
    const CUISize rows = MeasureRows(*this, available);
    const int widest = rows.cx;
    const int percent = m_manager != nullptr ? m_manager->DpiScaler()->GetScalePercent() : 100;
    const int unscaled = MulDiv(widest, 100, percent > 0 ? percent : 100);
    for (int i = 0; i < GetChildCount(); ++i) {
        CControlUI* row = GetChildAt(i);
        // Only on a change: the setter asks for a new layout.
        if (row->GetVisibility() && row->GetFixedSizeValue().cx != unscaled) row->SetFixedWidthValue(unscaled);
    }
    return rows;
}

} // namespace SkinUI
