#pragma once

#include <cstdint>
#include <vector>
#include <windows.h>

#include "uilib/layout/Container.h"
#include "uilib/layout/RunPlacement.h"

namespace SkinUI {

// A container that stacks its children along one axis, shares the free space
// among children without a size of their own, aligns them on the other axis,
// and may be resized by dragging a separator strip along one of its edges.
// The vertical and horizontal layouts are this class on either axis.
class CBoxLayoutUI : public CContainerUI {
public:
    ~CBoxLayoutUI() override;

    uint32_t GetBehaviorFlags() const override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void HandleEvent(TEventInfo& event) override;
    // Ends a separator drag where the strip was last dragged to.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintAfterTree(HDC dc, const RECT& paintArea) override;

    // Thickness of the drag strip: positive along the bottom (right) edge,
    // negative along the top (left) edge, 0 for none.
    int GetSeparatorSize() const { return m_separatorSize; }
    void SetSeparatorSize(int size) { m_separatorSize = size; }
    bool IsSeparatorImmediate() const { return m_immediate; }
    void SetSeparatorImmediate(bool immediate);
    CUIRect GetSeparatorRect(bool useNewPosition) const;
    bool IsDraggingSeparator() const { return (m_buttonState & kDragging) != 0; }

protected:
    explicit CBoxLayoutUI(bool vertical);

    // Measures the children in flow once into items along the stacking
    // axis; available and the answer are in the layout's frame (cx across,
    // cy along). Answers the size across the children need.
    int MeasureItems(CUISize available, std::vector<TRunItem>& items);
    // Where a child stands across the layout: left and right in the frame,
    // scrolled crossPos of crossRange; at least leastCross wide within its
    // bounds.
    CUIRect Across(const CControlUI& child, const CUIRect& frame, int availableCross, int crossRange, int crossPos,
                   int leastCross) const;

private:
    static const uint32_t kDragging = 0x40;

    bool OnSeparatorEvent(TEventInfo& event);
    void DragSeparatorTo(POINT pt);

    bool m_vertical;
    int m_separatorSize;
    uint32_t m_buttonState;
    POINT m_lastMouse;
    CUIRect m_newPosition;
    bool m_immediate;
};

} // namespace SkinUI
