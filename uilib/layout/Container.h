#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIPtrArray.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UISize.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CScrollBarUI;

// The container interface: FindInterface("IContainer") of any container.
class IContainerUI {
public:
    virtual CControlUI* GetChildAt(int index) const = 0;
    virtual int IndexOfChild(CControlUI* control) const = 0;
    virtual bool MoveChildToIndex(CControlUI* control, int index) = 0;
    virtual int GetChildCount() const = 0;
    virtual bool AddChild(CControlUI* control) = 0;
    virtual bool InsertChildAt(CControlUI* control, int index) = 0;
    virtual bool RemoveChild(CControlUI* control) = 0;
    virtual bool RemoveChildAt(int index) = 0;
    virtual void RemoveAllChildren() = 0;

protected:
    ~IContainerUI() = default;
};

// A control holding an ordered list of children (owned by default), with
// optional scroll bars. The base stacks every child over the inner area.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    // IContainerUI.
    CControlUI* GetChildAt(int index) const override;
    int IndexOfChild(CControlUI* control) const override;
    bool MoveChildToIndex(CControlUI* control, int index) override;
    int GetChildCount() const override;
    bool AddChild(CControlUI* control) override;
    bool InsertChildAt(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;

    // CControlUI.
    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow = true) override;
    CUIRect GetContentArea() const override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void OffsetBy(int dx, int dy, bool invalidate = true) override;
    void SetEnabledState(bool enabled) override;
    void SetAcceptsMouse(bool on) override;
    CControlUI* FindInTree(UIFindPredicate predicate, void* data, uint32_t flags) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;

    // Container operations.
    virtual CUIRect GetScaledInsetRect() const;
    virtual void SetInsetRect(int left, int top, int right, int bottom);
    virtual int GetScaledChildGap() const;
    // Unscaled, as the skin gave it.
    virtual int GetChildGapValue() const { return m_childGap; }
    virtual void SetChildGap(int gap);
    virtual uint32_t GetChildHAlignment() const;
    virtual void SetChildHAlignment(uint32_t align);
    virtual uint32_t GetChildVAlignment() const;
    virtual void SetChildVAlignment(uint32_t align);
    virtual bool OwnsChildren() const;
    virtual void SetOwnsChildren(bool on);
    virtual bool DefersChildDeletion() const;
    virtual void SetDefersChildDeletion(bool on);
    virtual bool ChildrenAcceptMouse() const;
    virtual void SetChildrenAcceptMouse(bool on);
    virtual int FindSelectableItem(int index, bool forward) const;
    virtual CUISize GetScrollOffset() const;
    virtual CUISize GetScrollExtent() const;
    virtual void SetScrollOffset(CUISize offset, bool notify = true);
    virtual void SetScrollStep(int step);
    virtual int GetScaledScrollStep() const;
    virtual void ScrollLineUp();
    virtual void ScrollLineDown();
    virtual void ScrollPageUp();
    virtual void ScrollPageDown();
    virtual void ScrollToTop();
    virtual void ScrollToBottom();
    virtual void ScrollLineLeft();
    virtual void ScrollLineRight();
    virtual void ScrollPageLeft();
    virtual void ScrollPageRight();
    virtual void ScrollToLeftEnd();
    virtual void ScrollToRightEnd();
    virtual void SetScrollBarsEnabled(bool vertical, bool horizontal);
    virtual CScrollBarUI* GetVScrollBarControl() const;
    virtual CScrollBarUI* GetHScrollBarControl() const;
    virtual void PlaceFloatChild(int index);
    virtual void UpdateScrollBars(const RECT& rc, int requiredWidth, int requiredHeight);

    // The manager's search for a named control inside this container.
    CControlUI* FindDescendantByName(const wchar_t* name);

    const CUIRect& GetInsetValue() const { return m_inset; }

protected:
    void VisibilityChanged(bool wasVisible, bool own) override;
    // The item rectangle less the scaled inset and the visible bars.
    CUIRect InnerRect() const;
    // True when child `index` takes no place in the flow: hidden, or floating
    // (and then placed here, where its own coordinates say).
    bool StaysOutOfFlow(int index);
    // The container's own children, whatever a derived GetChildAt answers
    // (a list answers its rows).
    CControlUI* ChildAt(int index) const { return static_cast<CControlUI*>(m_children.At(index)); }
    // Width of the visible vertical bar, height of the visible horizontal one.
    int VisibleVBarWidth() const;
    int VisibleHBarHeight() const;
    bool IsScrollBarShown(const CScrollBarUI* bar) const;
    // Line step of vertical scrolling: the skin's, or a text line and some air.
    int VerticalLineStep() const;
    // A page: the inner height (width) less the other bar.
    int VerticalPage() const;
    int HorizontalPage() const;
    // Lets the manager drop what it holds inside the child, then frees it when owned.
    void DisposeChild(CControlUI* control);
    void ApplyScrollBarStyle(CScrollBarUI* bar, const CUIString& style);

    CUIPtrArray m_children;
    CUIRect m_inset;
    int m_childGap;
    uint32_t m_childHAlign;
    uint32_t m_childVAlign;
    bool m_ownsChildren;
    bool m_defersDeletion;
    bool m_childrenAcceptMouse;
    int m_scrollStep;
    CScrollBarUI* m_vScrollBar;
    CScrollBarUI* m_hScrollBar;
    CUIString m_vScrollBarStyle;
    CUIString m_hScrollBarStyle;
};

} // namespace SkinUI
