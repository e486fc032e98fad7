#pragma once

#include <windows.h>

#include "uilib/control/List.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/UIRect.h"

namespace SkinUI {

class CComboBoxUI;
class CListContainerHeaderItemUI;
class CListTextExtElementUI;
class CRichEditUI;

// Fills the in-place combo box before it opens on a cell; implemented by the
// list's owner.
class IListComboCallback {
public:
    virtual void FillComboItems(CComboBoxUI* combo, int row, int column) = 0;

protected:
    ~IListComboCallback() = default;
};

// A list whose header items may carry check boxes and mark columns as edited
// in place: a click on such a cell lays a single-line rich edit or a combo
// box over it, and the value is written back into the row the edit was
// opened on when the edit loses the focus or the combo selects. An open
// editor follows its row wherever it is laid out; when the row leaves the
// list, what was typed goes into it and the editor closes. The list
// registers itself for its window's notifications.
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
    void SetPosition(const RECT& rc, bool invalidate = true) override;

    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;

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
    // A row has been laid out: the open editor moves onto its new cell.
    void FollowRow(CListTextExtElementUI* row);

    void ReceiveNotify(TNotifyInfo& notify) override;

    // The current index of the row being edited, -1 when none or gone.
    int GetEditRow() const;
    int GetEditColumn() const { return m_editColumn; }
    CRichEditUI* GetEditControl() const { return m_edit; }
    CComboBoxUI* GetComboControl() const { return m_combo; }

private:
    // The header item at that index when it is an extended one, else null.
    CListContainerHeaderItemUI* HeaderItemAt(int column) const;
    // Lays a cell editor over rc (list coordinates, device pixels).
    void PlaceEditor(CControlUI* editor, const RECT& rc);
    // Puts the editor on its remembered cell.
    void KeepOnCell(CControlUI* editor);
    CUIRect& PlaceOf(CControlUI* editor);
    void ParkEditor(CControlUI* editor, bool hide);
    void ParkBoth();
    // Writes the text into the remembered cell when its row is still here.
    void CommitToCell(const wchar_t* text);
    void ForgetEdit();
    void CloseOnRowGone();
    void SetEveryRowChecked(bool checked);
    bool IsOwnRow(CControlUI* control);

    CRichEditUI* m_edit;
    CComboBoxUI* m_combo;
    // The row itself, not its index: rows inserted or removed above it move
    // it. Dropped when the row leaves the list.
    CControlUI* m_editRow;
    int m_editColumn;
    // Each editor's cell in the list's own device pixels; empty when parked.
    CUIRect m_editPlace;
    CUIRect m_comboPlace;
    // The editor the remembered cell was opened with: a late notification of
    // the other one never writes into it.
    CControlUI* m_activeEditor;
    IListComboCallback* m_comboCallback;
    CPaintManagerUI* m_registeredWith;
};

} // namespace SkinUI
