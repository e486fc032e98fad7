#pragma once

#include <windows.h>

#include "uilib/control/List.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/UIRect.h"

namespace SkinUI {

class CComboBoxUI;
class CEditUI;
class CListContainerHeaderItemUI;

// Fills the in-place combo box before it opens on a cell; implemented by the
// list's owner.
class IListComboCallback {
public:
    virtual void FillComboItems(CComboBoxUI* combo, int row, int column) = 0;

protected:
    ~IListComboCallback() = default;
};

// A list whose header items may carry check boxes and mark columns as edited
// in place: a click on such a cell lays an edit field or a combo box over it,
// and the value is written back into the row when the edit loses the focus
// or the combo selects. The list registers itself for its window's
// notifications.
class CListExUI : public CListUI, public INotifyUI {
public:
    static const wchar_t* const kEditName;
    static const wchar_t* const kComboName;

    CListExUI();
    ~CListExUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void InitHook() override;
    void HandleEvent(TEventInfo& event) override;
    void HandleItemEvent(TEventInfo& event) override;

    bool IsColumnEditable(int column) override;
    CControlUI* GetCellEditControl() override;
    bool IsColumnComboBox(int column) override;
    CControlUI* GetCellComboControl() override;
    virtual bool IsColumnCheckable(int column);
    virtual IListComboCallback* GetComboCallback() const { return m_comboCallback; }
    virtual void SetComboCallback(IListComboCallback* callback) { m_comboCallback = callback; }

    // A row's click on a cell (column -1 and an empty rectangle outside every
    // cell); rc is in the list's own coordinates.
    void HandleCellClick(int row, int column, const RECT& rc, const wchar_t* text);
    // A row's check box changed: the column's header item follows.
    void HandleRowChecked(int row, int column, bool checked);

    void ReceiveNotify(TNotifyInfo& notify) override;

    int GetEditRow() const { return m_editRow; }
    int GetEditColumn() const { return m_editColumn; }
    CEditUI* GetEditControl() const { return m_edit; }
    CComboBoxUI* GetComboControl() const { return m_combo; }

private:
    // The header item at that index when it is an extended one, else null.
    CListContainerHeaderItemUI* HeaderItemAt(int column) const;
    // Lays a cell editor over rc (list coordinates).
    void PlaceEditor(CControlUI* editor, const RECT& rc);
    void ParkEditor(CControlUI* editor, bool hide);
    void ParkBoth();
    // Writes the text into the remembered cell when that row still exists.
    void CommitToCell(const wchar_t* text);
    void SetEveryRowChecked(bool checked);
    bool IsOwnRow(CControlUI* control);

    CEditUI* m_edit;
    CComboBoxUI* m_combo;
    int m_editRow;
    int m_editColumn;
    // The editor the remembered cell was opened with: a late notification of
    // the other one never writes into it.
    CControlUI* m_activeEditor;
    IListComboCallback* m_comboCallback;
    CPaintManagerUI* m_registeredWith;
};

} // namespace SkinUI
