#pragma once

#include <windows.h>

#include "uilib/control/ListCheckBox.h"
#include "uilib/control/ListHeaderItem.h"

namespace SkinUI {

// A column header of the extended list: a header item that may carry a check
// box (checking it checks every row) and marks its column as edited in place
// with an edit field or a combo box. Sends "listheaderclick" and
// "listheaditemchecked".
class CListContainerHeaderItemUI : public CListHeaderItemUI {
public:
    CListContainerHeaderItemUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    // Ends a press on the check box untoggled, or the header item's own.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintTextLayer(HDC dc) override;

    bool IsColumnEditable() const { return m_editable; }
    void SetColumnEditable(bool on) { m_editable = on; }
    bool IsColumnComboBox() const { return m_comboable; }
    void SetColumnComboBox(bool on) { m_comboable = on; }
    bool IsColumnCheckable() const { return m_checkable; }
    void SetColumnCheckable(bool on) { m_checkable = on; }
    void SetChecked(bool checked);
    bool IsChecked() const { return m_checkBox.IsChecked(); }
    const CListCheckBox& GetCheckBox() const { return m_checkBox; }

protected:
    int TextLeftInset() const override;

private:
    bool m_editable;
    bool m_comboable;
    bool m_checkable;
    CListCheckBox m_checkBox;
};

} // namespace SkinUI
