#pragma once

#include <windows.h>

#include "uilib/layout/VerticalLayout.h"

namespace SkinUI {

class CListUI;

// The scrolled part of a list: holds the rows, widens them to the header's
// columns, and keeps the header items in step when scrolled sideways.
class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* owner);

    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void SetScrollOffset(CUISize offset, bool notify = true) override;
    void HandleEvent(TEventInfo& event) override;
    // The list's own step, so "scrollstepsize" is given to the list.
    int GetScaledScrollStep() const override;

    CListUI* GetOwnerList() const { return m_owner; }
    // Height the rows take in available, placed as laid out, with the inset
    // and a horizontal bar they or the header would show.
    int MeasureRows(CUISize available);

private:
    // Width the header asks for, 0 without header items.
    int HeaderRequiredWidth(CUISize available) const;
    // Height of all rows, or of the rows counted as a grid of equal cells
    // when that is more: rows are stacked, so the last stays in reach.
    int RequiredHeight(int contentWidth, int stackedHeight) const;
    // Moves the header items by -dx and copies their rectangles into the
    // owner's column rectangles.
    void FollowHeader(int dx);

    CListUI* m_owner;
};

} // namespace SkinUI
