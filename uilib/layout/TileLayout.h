#pragma once

#include <windows.h>

#include "uilib/core/UISize.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

// Arranges its children in a grid of equal cells, row by row, each child
// centred in its cell. With an item width the column count follows the width.
class CTileLayoutUI : public CContainerUI {
public:
    CTileLayoutUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    CUISize GetItemSize() const { return m_itemSize; }
    void SetItemSize(CUISize size);
    int GetColumns() const { return m_columns; }
    // Values of 0 or less are ignored.
    void SetColumns(int columns);

private:
    // Height of the row starting at child `first`: its tallest member plus
    // that member's padding.
    int MeasureRow(int first, int cellWidth) const;

    CUISize m_itemSize;
    int m_columns;
};

} // namespace SkinUI
