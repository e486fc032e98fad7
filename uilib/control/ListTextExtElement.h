#pragma once

#include <windows.h>

#include "uilib/control/ListCheckBox.h"
#include "uilib/control/ListTextElement.h"

namespace SkinUI {

class CListExUI;

// A row of the extended list: one text per column, a check box when a
// column is checkable ("listitemchecked"), and clicks on cells handed to the
// list, which edits them in place.
class CListTextExtElementUI : public CListTextElementUI {
public:
    CListTextExtElementUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    // A press on the check box ends untoggled.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void SetListOwner(CControlUI* owner) override;
    void PaintItemText(HDC dc, const RECT& rc) override;
    // The list's cell editor follows the row it edits.
    void SetPosition(const RECT& rc, bool invalidate = true) override;

    // Needs a list and 0 <= column < column count; repaints on a change.
    bool SetCellText(int column, const wchar_t* text);
    CUIString GetCellText(int column) const { return GetColumnText(column); }
    void SetChecked(bool checked);
    bool IsChecked() const { return m_checkBox.IsChecked(); }
    const CListCheckBox& GetCheckBox() const { return m_checkBox; }
    // The column under the point, -1 when none.
    int CellAt(POINT pt) const;
    // The first checkable column, -1 when none.
    int CheckableColumn() const;
    // The cell's edit rectangle in the list's coordinates; empty for -1.
    CUIRect CellEditRect(int column) const;

protected:
    int ColumnTextInset(int column) const override;

private:
    bool OwnerHasFocus() const;

    CListExUI* m_exOwner;
    CListCheckBox m_checkBox;
};

} // namespace SkinUI
