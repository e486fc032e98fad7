#include "uilib/layout/Container.h"

#include <cstdlib>

#include "uilib/control/ScrollBar.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// Default line step for vertical scrolling: a text line and some air.
const int kLineStepBase = 8;

bool RectsMeet(const RECT& a, const RECT& b)
{
    RECT tmp;
    return IntersectRect(&tmp, &a, &b) != FALSE;
}

} // namespace

CContainerUI::CContainerUI()
    : m_childGap(0),
      m_childHAlign(0),
      m_childVAlign(0),
      m_ownsChildren(true),
      m_defersDeletion(true),
      m_childrenAcceptMouse(true),
      m_scrollStep(0),
      m_vScrollBar(nullptr),
      m_hScrollBar(nullptr)
{
}

CContainerUI::~CContainerUI()
{
    m_defersDeletion = false;
    RemoveAllChildren();
    delete m_vScrollBar;
    delete m_hScrollBar;
}

const wchar_t* CContainerUI::GetTypeName() const
{
    return L"ContainerUI";
}

void* CContainerUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
    if (CompareTextIgnoreCase(name, L"Container") == 0) return static_cast<CContainerUI*>(this);
    return CControlUI::FindInterface(name);
}

CControlUI* CContainerUI::GetChildAt(int index) const
{
    return static_cast<CControlUI*>(m_children.At(index));
}

int CContainerUI::IndexOfChild(CControlUI* control) const
{
    return m_children.IndexOf(control);
}

int CContainerUI::GetChildCount() const
{
    return m_children.Count();
}

bool CContainerUI::AddChild(CControlUI* control)
{
    return InsertChildAt(control, m_children.Count());
}

bool CContainerUI::InsertChildAt(CControlUI* control, int index)
{
    if (control == nullptr || index < 0 || index > m_children.Count()) return false;
    if (m_manager != nullptr) m_manager->InitializeTree(control, this);
    if (!GetVisibility()) {
        control->SetInheritedVisibility(false);
    } else {
        RequestRelayout();
    }
    return m_children.Insert(index, control);
}

void CContainerUI::DisposeChild(CControlUI* control)
{
    // Kept or freed, the child takes nothing of the window's along.
    if (m_manager != nullptr) m_manager->LetGoOfSubtree(control);
    if (!m_ownsChildren) return;
    if (m_defersDeletion && m_manager != nullptr) {
        m_manager->QueueForDeletion(control);
    } else {
        delete control;
    }
}

bool CContainerUI::RemoveChild(CControlUI* control)
{
    const int index = m_children.IndexOf(control);
    if (index < 0) return false;
    RequestRelayout();
    // Out of the list first, so the child's destructor never finds itself among
    // its siblings.
    m_children.RemoveAt(index);
    DisposeChild(control);
    return true;
}

bool CContainerUI::RemoveChildAt(int index)
{
    CControlUI* control = GetChildAt(index);
    return control != nullptr && RemoveChild(control);
}

void CContainerUI::RemoveAllChildren()
{
    CUIPtrArray gone;
    for (int i = 0; i < m_children.Count(); ++i) gone.Append(m_children[i]);
    m_children.Clear();
    for (int i = 0; i < gone.Count(); ++i) DisposeChild(static_cast<CControlUI*>(gone[i]));
    RequestRelayout();
}

bool CContainerUI::MoveChildToIndex(CControlUI* control, int index)
{
    const int from = m_children.IndexOf(control);
    if (from < 0) return false;
    RequestRelayout();
    m_children.RemoveAt(from);
    if (m_children.Insert(index, control)) return true;
    // A bad target keeps the child where it was.
    m_children.Insert(from, control);
    return false;
}

CUIRect CContainerUI::GetScaledInsetRect() const
{
    return CUIRect(Scaled(m_inset.left), Scaled(m_inset.top), Scaled(m_inset.right), Scaled(m_inset.bottom));
}

void CContainerUI::SetInsetRect(int left, int top, int right, int bottom)
{
    m_inset = CUIRect(left, top, right, bottom);
    RequestRelayout();
}

int CContainerUI::GetScaledChildGap() const
{
    return Scaled(m_childGap);
}

void CContainerUI::SetChildGap(int gap)
{
    m_childGap = gap;
    RequestRelayout();
}

uint32_t CContainerUI::GetChildHAlignment() const
{
    return m_childHAlign;
}

void CContainerUI::SetChildHAlignment(uint32_t align)
{
    m_childHAlign = align;
    RequestRelayout();
}

uint32_t CContainerUI::GetChildVAlignment() const
{
    return m_childVAlign;
}

void CContainerUI::SetChildVAlignment(uint32_t align)
{
    m_childVAlign = align;
    RequestRelayout();
}

bool CContainerUI::OwnsChildren() const
{
    return m_ownsChildren;
}

void CContainerUI::SetOwnsChildren(bool on)
{
    m_ownsChildren = on;
}

bool CContainerUI::DefersChildDeletion() const
{
    return m_defersDeletion;
}

void CContainerUI::SetDefersChildDeletion(bool on)
{
    m_defersDeletion = on;
}

bool CContainerUI::ChildrenAcceptMouse() const
{
    return m_childrenAcceptMouse;
}

void CContainerUI::SetChildrenAcceptMouse(bool on)
{
    m_childrenAcceptMouse = on;
}

void CContainerUI::SetEnabledState(bool enabled)
{
    if (m_enabled == enabled) return;
    CControlUI::SetEnabledState(enabled);
    for (int i = 0; i < m_children.Count(); ++i) ChildAt(i)->SetEnabledState(enabled);
}

void CContainerUI::VisibilityChanged(bool wasVisible, bool own)
{
    CControlUI::VisibilityChanged(wasVisible, own);
    const bool effective = GetVisibility();
    for (int i = 0; i < m_children.Count(); ++i) ChildAt(i)->SetInheritedVisibility(effective);
}

void CContainerUI::SetAcceptsMouse(bool on)
{
    if (m_vScrollBar != nullptr) m_vScrollBar->SetAcceptsMouse(on);
    if (m_hScrollBar != nullptr) m_hScrollBar->SetAcceptsMouse(on);
    CControlUI::SetAcceptsMouse(on);
}

void CContainerUI::AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow)
{
    for (int i = 0; i < m_children.Count(); ++i) ChildAt(i)->AttachManager(manager, this, initNow);
    if (m_vScrollBar != nullptr) m_vScrollBar->AttachManager(manager, this, initNow);
    if (m_hScrollBar != nullptr) m_hScrollBar->AttachManager(manager, this, initNow);
    CControlUI::AttachManager(manager, parent, initNow);
}

void CContainerUI::OffsetBy(int dx, int dy, bool invalidate)
{
    CControlUI::OffsetBy(dx, dy, invalidate);
    if (IsScrollBarShown(m_vScrollBar)) m_vScrollBar->OffsetBy(dx, dy, false);
    if (IsScrollBarShown(m_hScrollBar)) m_hScrollBar->OffsetBy(dx, dy, false);
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = ChildAt(i);
        if (child->GetVisibility()) child->OffsetBy(dx, dy, false);
    }
}

bool CContainerUI::IsScrollBarShown(const CScrollBarUI* bar) const
{
    return bar != nullptr && bar->GetVisibility();
}

int CContainerUI::VisibleVBarWidth() const
{
    return IsScrollBarShown(m_vScrollBar) ? m_vScrollBar->GetScaledFixedWidth() : 0;
}

int CContainerUI::VisibleHBarHeight() const
{
    return IsScrollBarShown(m_hScrollBar) ? m_hScrollBar->GetScaledFixedHeight() : 0;
}

CUIRect CContainerUI::InnerRect() const
{
    const CUIRect inset = GetScaledInsetRect();
    CUIRect rc(m_item.left + inset.left, m_item.top + inset.top, m_item.right - inset.right,
               m_item.bottom - inset.bottom);
    rc.right -= VisibleVBarWidth();
    rc.bottom -= VisibleHBarHeight();
    return rc;
}

CUISize CContainerUI::GetScrollOffset() const
{
    CUISize offset;
    if (IsScrollBarShown(m_hScrollBar)) offset.cx = m_hScrollBar->GetScrollPos();
    if (IsScrollBarShown(m_vScrollBar)) offset.cy = m_vScrollBar->GetScrollPos();
    return offset;
}

CUISize CContainerUI::GetScrollExtent() const
{
    CUISize extent;
    if (IsScrollBarShown(m_hScrollBar)) extent.cx = m_hScrollBar->GetScrollRange();
    if (IsScrollBarShown(m_vScrollBar)) extent.cy = m_vScrollBar->GetScrollRange();
    return extent;
}

CScrollBarUI* CContainerUI::GetVScrollBarControl() const
{
    return m_vScrollBar;
}

CScrollBarUI* CContainerUI::GetHScrollBarControl() const
{
    return m_hScrollBar;
}

int CContainerUI::FindSelectableItem(int index, bool forward) const
{
    const int count = m_children.Count();
    if (count == 0) return -1;
    if (index < 0) index = 0;
    if (index > count - 1) index = count - 1;
    const int step = forward ? 1 : -1;
    for (int i = index; i >= 0 && i < count; i += step) {
        CControlUI* child = ChildAt(i);
        if (child->FindInterface(L"ListItem") != nullptr && child->GetVisibility() && child->GetEnabledState()) {
            return i;
        }
    }
    // Nothing at or before the index: the first selectable one from the top.
    return forward ? -1 : FindSelectableItem(0, true);
}

CControlUI* CContainerUI::FindDescendantByName(const wchar_t* name)
{
    return m_manager != nullptr ? m_manager->FindSubControlByName(this, name) : nullptr;
}

CUIRect CContainerUI::GetContentArea() const
{
    const CUIRect inset = GetScaledInsetRect();
    CUIRect rc(m_item.left + inset.left, m_item.top + inset.top, m_item.right - inset.right,
               m_item.bottom - inset.bottom);
    if (IsScrollBarShown(m_vScrollBar)) {
        rc.top -= m_vScrollBar->GetScrollPos();
        rc.bottom -= m_vScrollBar->GetScrollPos();
        rc.bottom += m_vScrollBar->GetScrollRange();
        rc.right -= m_vScrollBar->GetScaledFixedWidth();
    }
    if (IsScrollBarShown(m_hScrollBar)) {
        rc.left -= m_hScrollBar->GetScrollPos();
        rc.right -= m_hScrollBar->GetScrollPos();
        rc.right += m_hScrollBar->GetScrollRange();
        rc.bottom -= m_hScrollBar->GetScaledFixedHeight();
    }
    return rc;
}

void CContainerUI::SetPosition(const RECT& rc, bool invalidate)
{
    CControlUI::SetPosition(rc, invalidate);
    if (m_children.IsEmpty()) return;
    const CUIRect inner = GetContentArea();
    for (int i = 0; i < m_children.Count(); ++i) {
        if (StaysOutOfFlow(i)) continue;
        CControlUI* child = ChildAt(i);
        int width = inner.Width();
        if (width < child->GetScaledMinWidth()) width = child->GetScaledMinWidth();
        if (width > child->GetScaledMaxWidth()) width = child->GetScaledMaxWidth();
        int height = inner.Height();
        if (height < child->GetScaledMinHeight()) height = child->GetScaledMinHeight();
        if (height > child->GetScaledMaxHeight()) height = child->GetScaledMaxHeight();
        const RECT place = {inner.left, inner.top, inner.left + width, inner.top + height};
        child->SetPosition(place, false);
    }
}

bool CContainerUI::StaysOutOfFlow(int index)
{
    CControlUI* child = ChildAt(index);
    if (child == nullptr || !child->GetVisibility()) return true;
    if (!child->IsFloating()) return false;
    PlaceFloatChild(index);
    return true;
}

void CContainerUI::PlaceFloatChild(int index)
{
    CControlUI* child = ChildAt(index);
    if (child == nullptr || !child->GetVisibility() || !child->IsFloating()) return;
    const int containerWidth = m_item.Width();
    const int containerHeight = m_item.Height();
    const CUISize origin = child->GetFixedOrigin();
    const int width = child->GetScaledFixedWidth();
    const int height = child->GetScaledFixedHeight();
    const uint32_t align = child->GetFloatAlignment();
    CUIRect place;
    if (align != 0) {
        place = CUIRect(0, 0, width, height);
        int dx = origin.cx;
        if (align & UIFLOAT_CENTER) {
            dx = (containerWidth - width) / 2;
        } else if (align & UIFLOAT_RIGHT) {
            dx = containerWidth - width;
        }
        int dy = origin.cy;
        if (align & UIFLOAT_VCENTER) {
            dy = (containerHeight - height) / 2;
        } else if (align & UIFLOAT_BOTTOM) {
            dy = containerHeight - height;
        }
        place.Translate(dx + m_item.left, dy + m_item.top);
    } else {
        const TFloatAnchors anchors = child->GetFloatAnchors();
        place.left = static_cast<int>(containerWidth * anchors.left) + m_item.left + origin.cx;
        place.top = static_cast<int>(containerHeight * anchors.top) + m_item.top + origin.cy;
        place.right = static_cast<int>(containerWidth * anchors.right) + m_item.left + width + origin.cx;
        place.bottom = static_cast<int>(containerHeight * anchors.bottom) + m_item.top + height + origin.cy;
    }
    child->SetPosition(place, false);
}

void CContainerUI::UpdateScrollBars(const RECT& rc, int requiredWidth, int requiredHeight)
{
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    // Each change of a bar's visibility lays the container out again, which
    // brings both bars up to date; this call then has nothing more to do.
    if (m_hScrollBar != nullptr) {
        if (width < requiredWidth && !m_hScrollBar->GetVisibility()) {
            m_hScrollBar->SetVisibility(true);
            m_hScrollBar->SetScrollRange(requiredWidth - width);
            m_hScrollBar->SetScrollPos(0);
            SetPosition(m_item, true);
            return;
        }
        if (m_hScrollBar->GetVisibility()) {
            const int range = requiredWidth - width;
            if (range < 1) {
                m_hScrollBar->SetVisibility(false);
                m_hScrollBar->SetScrollPos(0);
                m_hScrollBar->SetScrollRange(0);
                SetPosition(m_item, true);
                return;
            }
            const RECT bar = {rc.left, rc.bottom, rc.right, rc.bottom + m_hScrollBar->GetScaledFixedHeight()};
            m_hScrollBar->SetPosition(bar, true);
            if (range != m_hScrollBar->GetScrollRange()) {
                const int before = m_hScrollBar->GetScrollPos();
                m_hScrollBar->SetScrollRange(std::abs(range));
                if (m_hScrollBar->GetScrollPos() < before) {
                    SetPosition(m_item, true);
                    return;
                }
            }
        }
    }
    if (m_vScrollBar != nullptr) {
        if (height < requiredHeight && !m_vScrollBar->GetVisibility()) {
            m_vScrollBar->SetVisibility(true);
            m_vScrollBar->SetScrollRange(requiredHeight - height);
            m_vScrollBar->SetScrollPos(0);
            SetPosition(m_item, true);
            return;
        }
        if (m_vScrollBar->GetVisibility()) {
            const int range = requiredHeight - height;
            if (range < 1) {
                m_vScrollBar->SetVisibility(false);
                m_vScrollBar->SetScrollPos(0);
                m_vScrollBar->SetScrollRange(0);
                SetPosition(m_item, true);
                return;
            }
            const RECT bar = {rc.right, rc.top, rc.right + m_vScrollBar->GetScaledFixedWidth(), rc.bottom};
            m_vScrollBar->SetPosition(bar, true);
            if (range != m_vScrollBar->GetScrollRange()) {
                const int before = m_vScrollBar->GetScrollPos();
                m_vScrollBar->SetScrollRange(std::abs(range));
                if (m_vScrollBar->GetScrollPos() < before) SetPosition(m_item, true);
            }
        }
    }
}

void CContainerUI::SetScrollOffset(CUISize offset, bool notify)
{
    int dx = 0;
    int dy = 0;
    if (IsScrollBarShown(m_vScrollBar)) {
        const int before = m_vScrollBar->GetScrollPos();
        m_vScrollBar->SetScrollPos(offset.cy);
        dy = m_vScrollBar->GetScrollPos() - before;
    }
    if (IsScrollBarShown(m_hScrollBar)) {
        const int before = m_hScrollBar->GetScrollPos();
        m_hScrollBar->SetScrollPos(offset.cx);
        dx = m_hScrollBar->GetScrollPos() - before;
    }
    if (dx == 0 && dy == 0) return;
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = ChildAt(i);
        if (!child->GetVisibility() || child->IsFloating()) continue;
        CUIRect place = child->GetPosition();
        place.Translate(-dx, -dy);
        child->SetPosition(place, true);
    }
    RequestRepaint();
    if (notify && m_vScrollBar != nullptr && m_manager != nullptr) {
        // A skin may set a line size of 0; count lines of at least one pixel.
        int line = m_vScrollBar->GetLineSize();
        if (line < 1) line = 1;
        const WPARAM lines = static_cast<WPARAM>((m_vScrollBar->GetScrollPos() + line) / line);
        m_manager->SendNotification(this, L"scroll", lines, 0, false);
    }
}

void CContainerUI::SetScrollStep(int step)
{
    if (step > 0) m_scrollStep = step;
}

int CContainerUI::GetScaledScrollStep() const
{
    return Scaled(m_scrollStep);
}

int CContainerUI::VerticalLineStep() const
{
    const int step = GetScaledScrollStep();
    if (step != 0) return step;
    if (m_manager == nullptr) return kLineStepBase;
    const TFontEntry* font = m_manager->DefaultFontEntry();
    if (font == nullptr) return kLineStepBase;
    return kLineStepBase + (font->metrics.tmHeight > 0 ? font->metrics.tmHeight : Scaled(font->size));
}

void CContainerUI::ScrollLineUp()
{
    CUISize offset = GetScrollOffset();
    offset.cy -= VerticalLineStep();
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollLineDown()
{
    CUISize offset = GetScrollOffset();
    offset.cy += VerticalLineStep();
    SetScrollOffset(offset, true);
}

int CContainerUI::VerticalPage() const
{
    const CUIRect inset = GetScaledInsetRect();
    return m_item.Height() - inset.top - inset.bottom - VisibleHBarHeight();
}

int CContainerUI::HorizontalPage() const
{
    const CUIRect inset = GetScaledInsetRect();
    return m_item.Width() - inset.left - inset.right - VisibleVBarWidth();
}

void CContainerUI::ScrollPageUp()
{
    CUISize offset = GetScrollOffset();
    offset.cy -= VerticalPage();
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollPageDown()
{
    CUISize offset = GetScrollOffset();
    offset.cy += VerticalPage();
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollToTop()
{
    CUISize offset = GetScrollOffset();
    offset.cy = 0;
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollToBottom()
{
    if (m_manager != nullptr && m_manager->WindowHandle() != nullptr) UpdateWindow(m_manager->WindowHandle());
    CUISize offset = GetScrollOffset();
    offset.cy = GetScrollExtent().cy;
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollLineLeft()
{
    const int step = GetScaledScrollStep() != 0 ? GetScaledScrollStep() : kLineStepBase;
    CUISize offset = GetScrollOffset();
    offset.cx -= step;
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollLineRight()
{
    const int step = GetScaledScrollStep() != 0 ? GetScaledScrollStep() : kLineStepBase;
    CUISize offset = GetScrollOffset();
    offset.cx += step;
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollPageLeft()
{
    CUISize offset = GetScrollOffset();
    offset.cx -= HorizontalPage();
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollPageRight()
{
    CUISize offset = GetScrollOffset();
    offset.cx += HorizontalPage();
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollToLeftEnd()
{
    CUISize offset = GetScrollOffset();
    offset.cx = 0;
    SetScrollOffset(offset, true);
}

void CContainerUI::ScrollToRightEnd()
{
    if (m_manager != nullptr && m_manager->WindowHandle() != nullptr) UpdateWindow(m_manager->WindowHandle());
    CUISize offset = GetScrollOffset();
    offset.cx = GetScrollExtent().cx;
    SetScrollOffset(offset, true);
}

void CContainerUI::SetScrollBarsEnabled(bool vertical, bool horizontal)
{
    if (vertical && m_vScrollBar == nullptr) {
        m_vScrollBar = new CScrollBarUI();
        m_vScrollBar->SetOwner(this);
        m_vScrollBar->AttachManager(m_manager, nullptr, false);
        if (m_manager != nullptr) {
            const wchar_t* defaults = m_manager->FindDefaultAttributes(L"VScrollBar");
            if (defaults != nullptr) m_vScrollBar->ApplyAttributeList(defaults);
        }
    } else if (!vertical && m_vScrollBar != nullptr) {
        delete m_vScrollBar;
        m_vScrollBar = nullptr;
    }
    if (horizontal && m_hScrollBar == nullptr) {
        m_hScrollBar = new CScrollBarUI();
        m_hScrollBar->SetHorizontal(true);
        m_hScrollBar->SetOwner(this);
        m_hScrollBar->AttachManager(m_manager, nullptr, false);
        if (m_manager != nullptr) {
            const wchar_t* defaults = m_manager->FindDefaultAttributes(L"HScrollBar");
            if (defaults != nullptr) m_hScrollBar->ApplyAttributeList(defaults);
        }
    } else if (!horizontal && m_hScrollBar != nullptr) {
        delete m_hScrollBar;
        m_hScrollBar = nullptr;
    }
    RequestRelayout();
}

void CContainerUI::ApplyScrollBarStyle(CScrollBarUI* bar, const CUIString& style)
{
    if (bar == nullptr || style.IsEmpty()) return;
    const wchar_t* named = m_manager != nullptr ? m_manager->FindStyle(style) : nullptr;
    bar->ApplyAttributeList(named != nullptr ? named : style.CStr());
}

void CContainerUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CControlUI::HandleEvent(event);
        return;
    }
    if (event.type == UIEVENT_SETFOCUS) {
        m_focused = true;
        return;
    }
    if (event.type == UIEVENT_KILLFOCUS) {
        m_focused = false;
        return;
    }
    const bool vertical = IsScrollBarShown(m_vScrollBar) && m_vScrollBar->GetEnabledState();
    const bool horizontal = !vertical && IsScrollBarShown(m_hScrollBar) && m_hScrollBar->GetEnabledState();
    if (vertical || horizontal) {
        if (event.type == UIEVENT_KEYDOWN) {
            switch (event.keyChar) {
            case VK_PRIOR: vertical ? ScrollPageUp() : ScrollPageLeft(); return;
            case VK_NEXT: vertical ? ScrollPageDown() : ScrollPageRight(); return;
            case VK_END: vertical ? ScrollToBottom() : ScrollToRightEnd(); return;
            case VK_HOME: vertical ? ScrollToTop() : ScrollToLeftEnd(); return;
            case VK_UP: vertical ? ScrollLineUp() : ScrollLineLeft(); return;
            case VK_DOWN: vertical ? ScrollLineDown() : ScrollLineRight(); return;
            default: break;
            }
        } else if (event.type == UIEVENT_SCROLLWHEEL) {
            if (event.wParam == 0) {
                vertical ? ScrollLineUp() : ScrollLineLeft();
                return;
            }
            if (event.wParam == 1) {
                vertical ? ScrollLineDown() : ScrollLineRight();
                return;
            }
        }
    }
    CControlUI::HandleEvent(event);
}

CControlUI* CContainerUI::FindInTree(UIFindPredicate predicate, void* data, uint32_t flags)
{
    if ((flags & UIFIND_VISIBLE) && !GetVisibility()) return nullptr;
    if ((flags & UIFIND_ENABLED) && !GetEnabledState()) return nullptr;
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    if (hitTest && !PtInRect(&m_item, *static_cast<const POINT*>(data))) return nullptr;
    if ((flags & UIFIND_UPDATETEST) && predicate(this, data) != nullptr) return nullptr;
    const bool selfCounts = !hitTest || m_mouseEnabled;
    if ((flags & UIFIND_ME_FIRST) && selfCounts) {
        CControlUI* found = predicate(this, data);
        if (found != nullptr) return found;
    }
    if (selfCounts) {
        if (m_vScrollBar != nullptr) {
            CControlUI* found = m_vScrollBar->FindInTree(predicate, data, flags);
            if (found != nullptr) return found;
        }
        if (m_hScrollBar != nullptr) {
            CControlUI* found = m_hScrollBar->FindInTree(predicate, data, flags);
            if (found != nullptr) return found;
        }
    }
    if (!hitTest || m_childrenAcceptMouse) {
        const CUIRect inner = InnerRect();
        const int count = m_children.Count();
        const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
        for (int n = 0; n < count; ++n) {
            CControlUI* child = ChildAt(topFirst ? count - 1 - n : n);
            CControlUI* found = child->FindInTree(predicate, data, flags);
            if (found == nullptr) continue;
            if (!hitTest || child->IsFloating() ||
                PtInRect(&inner, *static_cast<const POINT*>(data))) {
                return found;
            }
        }
    }
    if (flags & UIFIND_ME_FIRST) return nullptr;
    return selfCounts ? predicate(this, data) : nullptr;
}

bool CContainerUI::PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl)
{
    RECT area;
    if (!IntersectRect(&area, &paintArea, &m_item)) return true;
    CRenderClip clip;
    CRenderClip::ClipToRect(dc, area, clip);
    CControlUI::PaintSelf(dc, area, stopControl);

    if (!m_children.IsEmpty()) {
        const CUIRect inner = InnerRect();
        RECT innerArea;
        if (!IntersectRect(&innerArea, &paintArea, &inner)) {
            for (int i = 0; i < m_children.Count(); ++i) {
                CControlUI* child = ChildAt(i);
                if (!child->GetVisibility() || !child->IsFloating()) continue;
                if (!RectsMeet(paintArea, child->GetPosition()) || !RectsMeet(m_item, child->GetPosition())) continue;
                if (child == stopControl || !child->PaintArea(dc, paintArea, stopControl)) return false;
            }
        } else {
            CRenderClip innerClip;
            CRenderClip::ClipToRect(dc, innerArea, innerClip);
            for (int i = 0; i < m_children.Count(); ++i) {
                CControlUI* child = ChildAt(i);
                if (!child->GetVisibility() || !RectsMeet(paintArea, child->GetPosition())) continue;
                if (child->IsFloating()) {
                    if (!RectsMeet(m_item, child->GetPosition())) continue;
                    CRenderClip::SelectOuterRegion(dc, innerClip);
                    const bool painted = child != stopControl && child->PaintArea(dc, paintArea, stopControl);
                    CRenderClip::SelectInnerRegion(dc, innerClip);
                    if (!painted) return false;
                } else {
                    if (!RectsMeet(inner, child->GetPosition())) continue;
                    if (child == stopControl || !child->PaintArea(dc, paintArea, stopControl)) return false;
                }
            }
        }
    }

    CScrollBarUI* bars[2] = {m_vScrollBar, m_hScrollBar};
    for (CScrollBarUI* bar : bars) {
        if (!IsScrollBarShown(bar) || !RectsMeet(paintArea, bar->GetPosition())) continue;
        if (bar == stopControl || !bar->PaintArea(dc, paintArea, stopControl)) return false;
    }
    return true;
}

void CContainerUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"inset")) {
        int32_t v[4];
        ParseAttrIntList(value, v, 4);
        SetInsetRect(v[0], v[1], v[2], v[3]);
    } else if (AttrNameEquals(name, L"mousechild")) {
        SetChildrenAcceptMouse(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"vscrollbar")) {
        SetScrollBarsEnabled(ParseAttrBool(value), m_hScrollBar != nullptr);
    } else if (AttrNameEquals(name, L"vscrollbarstyle")) {
        m_vScrollBarStyle = value;
        SetScrollBarsEnabled(true, m_hScrollBar != nullptr);
        ApplyScrollBarStyle(m_vScrollBar, m_vScrollBarStyle);
    } else if (AttrNameEquals(name, L"hscrollbar")) {
        SetScrollBarsEnabled(m_vScrollBar != nullptr, ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"hscrollbarstyle")) {
        m_hScrollBarStyle = value;
        SetScrollBarsEnabled(m_vScrollBar != nullptr, true);
        ApplyScrollBarStyle(m_hScrollBar, m_hScrollBarStyle);
    } else if (AttrNameEquals(name, L"childpadding")) {
        SetChildGap(ParseAttrInt(value));
    } else if (wcscmp(name, L"childalign") == 0) {
        if (wcscmp(value, L"left") == 0) m_childHAlign = DT_LEFT;
        else if (wcscmp(value, L"center") == 0) m_childHAlign = DT_CENTER;
        else if (wcscmp(value, L"right") == 0) m_childHAlign = DT_RIGHT;
    } else if (wcscmp(name, L"childvalign") == 0) {
        if (wcscmp(value, L"top") == 0) m_childVAlign = DT_TOP;
        else if (wcscmp(value, L"vcenter") == 0) m_childVAlign = DT_VCENTER;
        else if (wcscmp(value, L"bottom") == 0) m_childVAlign = DT_BOTTOM;
    } else if (AttrNameEquals(name, L"scrollstepsize")) {
        SetScrollStep(ParseAttrInt(value));
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

} // namespace SkinUI
