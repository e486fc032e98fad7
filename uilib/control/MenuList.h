#pragma once

#include <cstdint>

#include "uilib/control/List.h"

namespace SkinUI {

class CMenuWnd;

// The root list of a menu window: takes only menu rows, keeps their sub-rows
// hidden, and gives every row the width of the widest.
class CMenuUI : public CListUI {
public:
    CMenuUI();
    ~CMenuUI() override;


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetOwnerKind() const override;
    bool AddChild(CControlUI* control) override;
    bool InsertChildAt(CControlUI* control, int index) override;
    int IndexOfChild(CControlUI* control) const override;
    bool MoveChildToIndex(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    // The widest of parent's shown menu rows and their height stacked as
    // this list places them; the last row's height when asked.
    CUISize MeasureRows(const CContainerUI& parent, CUISize available, int* lastRowHeight = nullptr) const;

    CMenuWnd* GetMenuWindow() const { return m_window; }
    void SetMenuWindow(CMenuWnd* window) { m_window = window; }

private:
    static bool IsMenuRow(CControlUI* control);
    // Hides the row's own sub-rows; false for a control that is no menu row.
    static bool PrepareRow(CControlUI* control);

    CMenuWnd* m_window;
};

} // namespace SkinUI
