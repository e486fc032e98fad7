#include "uilib/layout/TileLayout.h"

#include "uilib/control/ScrollBar.h"
#include "uilib/core/AttrParse.h"

namespace SkinUI {

namespace {

// Height offered to a child whose desired height is measured for a width.
const int kUnboundHeight = 9999;

int Clamp(int value, int low, int high)
{
    if (value < low) value = low;
    if (value > high) value = high;
    return value;
}

bool TakesCell(CControlUI* child)
{
    return child->GetVisibility() && !child->IsFloating();
}

} // namespace

CTileLayoutUI::CTileLayoutUI() : m_columns(1) {}

const wchar_t* CTileLayoutUI::GetTypeName() const
{
    return L"TileLayoutUI";
}

void* CTileLayoutUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"TileLayout") == 0) return static_cast<CTileLayoutUI*>(this);
    return CContainerUI::FindInterface(name);
}

void CTileLayoutUI::SetItemSize(CUISize size)
{
    if (m_itemSize.cx == size.cx && m_itemSize.cy == size.cy) return;
    m_itemSize = size;
    RequestRelayout();
}

void CTileLayoutUI::SetColumns(int columns)
{
    if (columns <= 0) return;
    m_columns = columns;
    RequestRelayout();
}

void CTileLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"itemsize")) {
        int32_t size[2];
        ParseAttrIntList(value, size, 2);
        SetItemSize(CUISize(size[0], size[1]));
    } else if (AttrNameEquals(name, L"columns")) {
        SetColumns(ParseAttrInt(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

int CTileLayoutUI::MeasureRow(int first, int cellWidth) const
{
    const CControlUI* lead = ChildAt(first);
    const int halfGap = GetScaledChildGap() / 2;
    int rowHeight = 0;
    int cell = 0;
    for (int i = first; i < m_children.Count() && cell < m_columns; ++i) {
        CControlUI* child = ChildAt(i);
        if (!TakesCell(child)) continue;
        const CUIRect pad = child->GetScaledPadding();
        const bool edge = cell == 0 || cell == m_columns - 1;
        int width = cellWidth - pad.left - pad.right - (edge ? halfGap : GetScaledChildGap());
        width = Clamp(width, lead->GetScaledMinWidth(), lead->GetScaledMaxWidth());
        CUISize desired = child->MeasureDesiredSize(CUISize(width, kUnboundHeight));
        const int height = Clamp(desired.cy, lead->GetScaledMinHeight(), lead->GetScaledMaxHeight());
        if (height + pad.top + pad.bottom > rowHeight) rowHeight = height + pad.top + pad.bottom;
        ++cell;
    }
    return rowHeight;
}

void CTileLayoutUI::SetPosition(const RECT& rc, bool invalidate)
{
    CControlUI::SetPosition(rc, invalidate);
    const CUIRect work = InnerRect();
    if (m_children.IsEmpty()) {
        UpdateScrollBars(work, 0, 0);
        return;
    }
    const bool vBar = IsScrollBarShown(m_vScrollBar);
    const bool hBar = IsScrollBarShown(m_hScrollBar);

    const int itemWidth = Scaled(m_itemSize.cx);
    if (itemWidth > 0) m_columns = work.Width() / itemWidth;
    if (m_columns < 1) m_columns = 1;
    const int cellWidth = (hBar ? m_hScrollBar->GetScrollRange() + work.Width() : work.Width()) / m_columns;
    const int gap = GetScaledChildGap();
    const int halfGap = gap / 2;
    const int vPos = vBar ? m_vScrollBar->GetScrollPos() : 0;

    const int firstLeft = work.left - (hBar ? m_hScrollBar->GetScrollPos() : 0);
    int cellLeft = firstLeft;
    int rowTop = work.top - vPos;
    int rowHeight = 0;
    int placed = 0;
    int requiredHeight = 0;
    for (int i = 0; i < m_children.Count(); ++i) {
        if (StaysOutOfFlow(i)) continue;
        CControlUI* child = ChildAt(i);
        const int column = placed % m_columns;
        if (column == 0) rowHeight = MeasureRow(i, cellWidth);
        const CUIRect pad = child->GetScaledPadding();
        CUIRect box(cellLeft + pad.left, rowTop + pad.top, cellLeft + cellWidth - pad.right, rowTop + rowHeight);
        if (column != 0) box.left += halfGap;
        if (column != m_columns - 1) box.right -= halfGap;

        CUISize size = child->MeasureDesiredSize(CUISize(box.Width(), box.Height()));
        if (size.cx == 0) size.cx = box.Width();
        if (size.cy == 0) size.cy = box.Height();
        size.cx = Clamp(size.cx, child->GetScaledMinWidth(), child->GetScaledMaxWidth());
        size.cy = Clamp(size.cy, child->GetScaledMinHeight(), child->GetScaledMaxHeight());
        const int left = (box.left + box.right - size.cx) / 2;
        const int top = (box.top + box.bottom - size.cy) / 2;
        child->SetPosition(RECT{left, top, left + size.cx, top + size.cy}, true);

        requiredHeight = rowTop + rowHeight - work.top + vPos;
        ++placed;
        if (placed % m_columns == 0) {
            cellLeft = firstLeft;
            rowTop += gap + rowHeight;
            rowHeight = 0;
        } else {
            cellLeft += cellWidth;
        }
    }
    UpdateScrollBars(work, 0, requiredHeight);
}

} // namespace SkinUI
