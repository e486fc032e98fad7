#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/ListInterfaces.h"
#include "uilib/core/UIPtrArray.h"
#include "uilib/layout/VerticalLayout.h"

namespace SkinUI {

class CListBodyUI;
class CListHeaderUI;

// A vertical stack of rows under an optional row of column headers, with
// single or multiple selection, keys, wheel scrolling or selection and one
// expandable row. The list holds the header and the body as its own two
// children; rows live in the body and are addressed through the list.
class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();
    ~CListUI() override;


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;

    // Rows; the header and its items are sorted to their own places.
    CControlUI* GetChildAt(int index) const override;
    int IndexOfChild(CControlUI* control) const override;
    bool MoveChildToIndex(CControlUI* control, int index) override;
    int GetChildCount() const override;
    bool AddChild(CControlUI* control) override;
    bool InsertChildAt(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;

    // A list with no height of its own that cannot scroll is as high as its
    // parts, each scaled as laid out: its last row ends on its inner edge.
    CUISize MeasureDesiredSize(CUISize available) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void OffsetBy(int dx, int dy, bool invalidate = true) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    // Forwarded to the body.
    int GetScaledChildGap() const override;
    int GetChildGapValue() const override;
    void SetChildGap(int gap) override;
    bool DefersChildDeletion() const override;
    void SetDefersChildDeletion(bool on) override;
    CUISize GetScrollOffset() const override;
    CUISize GetScrollExtent() const override;
    void SetScrollOffset(CUISize offset, bool notify = true) override;
    void ScrollLineUp() override;
    void ScrollLineDown() override;
    void ScrollPageUp() override;
    void ScrollPageDown() override;
    void ScrollToTop() override;
    void ScrollToBottom() override;
    void ScrollLineLeft() override;
    void ScrollLineRight() override;
    void ScrollPageLeft() override;
    void ScrollPageRight() override;
    void ScrollToLeftEnd() override;
    void ScrollToRightEnd() override;
    void SetScrollBarsEnabled(bool vertical, bool horizontal) override;
    CScrollBarUI* GetVScrollBarControl() const override;
    CScrollBarUI* GetHScrollBarControl() const override;

    // IListOwnerUI.
    uint32_t GetOwnerKind() const override;
    TListItemStyle* GetListStyleInfo() override;
    int GetSelectedIndex() const override;
    bool SelectSingleItem(int index, bool takeFocus = false) override;
    bool AddToSelection(int index, bool takeFocus = false) override;
    bool RemoveFromSelection(int index, bool others) override;
    void HandleItemEvent(TEventInfo& event) override;

    // IListUI.
    CListHeaderUI* GetHeaderControl() const override;
    CListBodyUI* GetBodyContainer() const override;
    IListTextCallback* GetTextCallback() const override;
    void SetTextCallback(IListTextCallback* callback) override;
    bool SetItemExpandedAt(int index, bool expand) override;
    int GetExpandedIndex() const override;
    void SetMultipleSelection(bool on) override;
    bool HasMultipleSelection() const override;
    void SelectEveryItem() override;
    void ClearSelection() override;
    int GetSelectedCount() const override;
    int GetSelectedAt(int index) const override;

    // Cell editing hooks for derived lists.
    virtual bool IsColumnEditable(int column);
    virtual CControlUI* GetCellEditControl();
    virtual bool IsColumnComboBox(int column);
    virtual CControlUI* GetCellComboControl();

    int GetMinSelectedIndex() const;
    int GetMaxSelectedIndex() const;
    // The row last selected: target of Return and of wheel selection.
    int GetCurrentIndex() const { return m_currentIndex; }
    void EnsureItemVisible(int index);
    void ScrollBodyBy(int dx, int dy);

    bool IsFixedScrollBar() const { return m_fixedScrollBar; }
    void SetFixedScrollBar(bool on);
    bool IsScrollSelect() const { return m_scrollSelect; }
    void SetScrollSelect(bool on) { m_scrollSelect = on; }
    // The list's own "scrollstepsize", which the body scrolls by.
    int GetListScrollStep() const { return CContainerUI::GetScaledScrollStep(); }
    // Refreshes the column count from the header's items.
    void RefreshColumnCount();

private:
    bool IsHeaderControl(CControlUI* control);
    bool IsHeaderItem(CControlUI* control) const;
    bool AdoptHeader(CControlUI* header);
    void RenumberRows(int from, int to);
    bool IsRecorded(int index) const;
    void RecordSelection(int index);
    void ForgetRecorded(int index);
    // Keeps the record naming the same rows after rows moved.
    void ShiftRecordForInsert(int index);
    void ShiftRecordForRemove(int index);
    void OnKeyDown(TEventInfo& event);
    void OnWheel(TEventInfo& event);
    // Moves a one-row selection to target when target can take it; nothing
    // changes otherwise.
    void MoveSelectionTo(int target);

    bool m_fixedScrollBar;
    bool m_scrollSelect;
    int m_currentIndex;
    bool m_multiSelect;
    CUIPtrArray m_selection; // row indices, in the order they were selected
    int m_expandedIndex;
    IListTextCallback* m_textCallback;
    CListBodyUI* m_body;
    CListHeaderUI* m_header;
    TListItemStyle m_style;
};

} // namespace SkinUI
