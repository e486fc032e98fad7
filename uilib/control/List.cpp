#include "uilib/control/List.h"

#include <cstdint>

#include "uilib/control/ListBody.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/ListNavigation.h"
#include "uilib/control/ListStyleAttributes.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

int EntryValue(void* entry)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(entry));
}

void* EntryOf(int index)
{
    return reinterpret_cast<void*>(static_cast<intptr_t>(index));
}

} // namespace

CListUI::CListUI()
    : m_fixedScrollBar(false),
      m_scrollSelect(false),
      m_currentIndex(-1),
      m_multiSelect(false),
      m_expandedIndex(-1),
      m_textCallback(nullptr),
      m_body(new CListBodyUI(this)),
      m_header(new CListHeaderUI())
{
    // The base's own insert: the list's AddChild sorts rows into the body.
    CVerticalLayoutUI::InsertChildAt(m_header, 0);
    CVerticalLayoutUI::InsertChildAt(m_body, 1);
}

CListUI::~CListUI() = default;

const wchar_t* CListUI::GetTypeName() const
{
    return L"ListUI";
}

void* CListUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"List") == 0) return this;
    if (CompareTextIgnoreCase(name, L"IList") == 0) return static_cast<IListUI*>(this);
    if (CompareTextIgnoreCase(name, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::FindInterface(name);
}

uint32_t CListUI::GetBehaviorFlags() const
{
    return UIFLAG_TABSTOP;
}

// ---- children --------------------------------------------------------------

CControlUI* CListUI::GetChildAt(int index) const
{
    return m_body->GetChildAt(index);
}

int CListUI::GetChildCount() const
{
    return m_body->GetChildCount();
}

int CListUI::IndexOfChild(CControlUI* control) const
{
    if (control == nullptr) return -1;
    if (control == m_header) return CVerticalLayoutUI::IndexOfChild(control);
    if (IsHeaderItem(control)) return m_header->IndexOfChild(control);
    return m_body->IndexOfChild(control);
}

bool CListUI::IsHeaderControl(CControlUI* control)
{
    return control != nullptr && control->FindInterface(L"ListHeader") != nullptr;
}

bool CListUI::IsHeaderItem(CControlUI* control) const
{
    // Derived header items keep the interface, not always the type name.
    return control != nullptr && control->FindInterface(L"ListHeaderItem") != nullptr;
}

void CListUI::RefreshColumnCount()
{
    const int items = m_header->GetChildCount();
    m_style.columnCount = items < TListItemStyle::kMaxColumns ? items : TListItemStyle::kMaxColumns;
}

bool CListUI::AdoptHeader(CControlUI* header)
{
    if (header == m_header) return true;
    // One header, whatever came first: columns already given to the old one
    // move into the new one, ahead of its own, and the old one goes.
    if (!CVerticalLayoutUI::InsertChildAt(header, 0)) return false;
    CListHeaderUI* adopted = static_cast<CListHeaderUI*>(header);
    CListHeaderUI* old = m_header;
    old->SetOwnsChildren(false);
    for (int i = old->GetChildCount() - 1; i >= 0; --i) {
        CControlUI* item = old->GetChildAt(i);
        old->RemoveChildAt(i);
        adopted->InsertChildAt(item, 0);
    }
    m_header = adopted;
    CVerticalLayoutUI::RemoveChild(old);
    RefreshColumnCount();
    return true;
}

bool CListUI::AddChild(CControlUI* control)
{
    if (control == nullptr) return false;
    if (IsHeaderControl(control)) return AdoptHeader(control);
    if (IsHeaderItem(control)) {
        const bool added = m_header->AddChild(control);
        RefreshColumnCount();
        return added;
    }
    IListItemUI* row = AsListItem(control);
    if (row != nullptr) {
        row->SetListOwner(this);
        row->SetListIndex(GetChildCount());
        return m_body->AddChild(control);
    }
    return CVerticalLayoutUI::InsertChildAt(control, CContainerUI::GetChildCount());
}

bool CListUI::InsertChildAt(CControlUI* control, int index)
{
    if (control == nullptr) return false;
    if (IsHeaderControl(control)) return AdoptHeader(control);
    if (IsHeaderItem(control)) {
        const bool added = m_header->InsertChildAt(control, index);
        RefreshColumnCount();
        return added;
    }
    if (!m_body->InsertChildAt(control, index)) return false;
    IListItemUI* row = AsListItem(control);
    if (row != nullptr) {
        row->SetListOwner(this);
        row->SetListIndex(index);
    }
    RenumberRows(index + 1, GetChildCount() - 1);
    ShiftRecordForInsert(index);
    if (index <= m_currentIndex) ++m_currentIndex;
    if (index <= m_expandedIndex) ++m_expandedIndex;
    return true;
}

bool CListUI::RemoveChild(CControlUI* control)
{
    if (control == nullptr) return false;
    if (control == m_header) {
        // The list always has a header: a fresh, empty one takes the place of
        // the one removed, so nothing keeps pointing at it.
        if (!CVerticalLayoutUI::RemoveChild(control)) return false;
        m_header = new CListHeaderUI();
        CVerticalLayoutUI::InsertChildAt(m_header, 0);
        RefreshColumnCount();
        return true;
    }
    if (IsHeaderItem(control)) {
        const bool removed = m_header->RemoveChild(control);
        RefreshColumnCount();
        return removed;
    }
    const int row = m_body->IndexOfChild(control);
    if (row < 0 && control != m_body && CContainerUI::IndexOfChild(control) >= 0)
        return CVerticalLayoutUI::RemoveChild(control);
    return RemoveChildAt(row);
}

bool CListUI::RemoveChildAt(int index)
{
    if (index < 0 || index >= GetChildCount()) return false;
    if (!m_body->RemoveChildAt(index)) return false;
    RenumberRows(index, GetChildCount() - 1);
    ShiftRecordForRemove(index);
    if (index == m_expandedIndex)
        m_expandedIndex = -1;
    else if (index < m_expandedIndex)
        --m_expandedIndex;
    if (index == m_currentIndex) {
        m_currentIndex = -1;
        // The nearest row before the removed one, else the first after it.
        SelectSingleItem(m_body->FindSelectableItem(index - 1, false), false);
    } else if (index < m_currentIndex) {
        --m_currentIndex;
    }
    return true;
}

void CListUI::RemoveAllChildren()
{
    m_currentIndex = -1;
    m_expandedIndex = -1;
    m_selection.Clear();
    m_body->RemoveAllChildren();
}

bool CListUI::MoveChildToIndex(CControlUI* control, int index)
{
    if (control == nullptr) return false;
    if (control == m_header) return CVerticalLayoutUI::MoveChildToIndex(control, index);
    if (IsHeaderItem(control)) return m_header->MoveChildToIndex(control, index);
    const int old = m_body->IndexOfChild(control);
    if (old < 0) return false;
    if (old == index) return true;
    // Remember the rows behind the indices, then read their new places.
    CControlUI* current = m_currentIndex >= 0 ? GetChildAt(m_currentIndex) : nullptr;
    CControlUI* expanded = m_expandedIndex >= 0 ? GetChildAt(m_expandedIndex) : nullptr;
    CUIPtrArray selectedRows;
    for (int i = 0; i < m_selection.Count(); ++i) selectedRows.Append(GetChildAt(EntryValue(m_selection[i])));
    if (!m_body->MoveChildToIndex(control, index)) return false;
    RenumberRows(old < index ? old : index, old < index ? index : old);
    m_currentIndex = current != nullptr ? m_body->IndexOfChild(current) : -1;
    m_expandedIndex = expanded != nullptr ? m_body->IndexOfChild(expanded) : -1;
    m_selection.Clear();
    for (int i = 0; i < selectedRows.Count(); ++i) {
        const int at = m_body->IndexOfChild(static_cast<CControlUI*>(selectedRows[i]));
        if (at >= 0) m_selection.Append(EntryOf(at));
    }
    return true;
}

void CListUI::RenumberRows(int from, int to)
{
    const int last = GetChildCount() - 1;
    for (int i = from < 0 ? 0 : from; i <= to && i <= last; ++i) {
        IListItemUI* row = AsListItem(GetChildAt(i));
        if (row != nullptr) row->SetListIndex(i);
    }
}

// ---- selection record ------------------------------------------------------

bool CListUI::IsRecorded(int index) const
{
    return m_selection.IndexOf(EntryOf(index)) >= 0;
}

void CListUI::RecordSelection(int index)
{
    if (!IsRecorded(index)) m_selection.Append(EntryOf(index));
}

void CListUI::ForgetRecorded(int index)
{
    const int at = m_selection.IndexOf(EntryOf(index));
    if (at >= 0) m_selection.RemoveAt(at);
}

void CListUI::ShiftRecordForInsert(int index)
{
    for (int i = 0; i < m_selection.Count(); ++i) {
        const int entry = EntryValue(m_selection[i]);
        if (entry >= index) m_selection.Replace(i, EntryOf(entry + 1));
    }
}

void CListUI::ShiftRecordForRemove(int index)
{
    ForgetRecorded(index);
    for (int i = 0; i < m_selection.Count(); ++i) {
        const int entry = EntryValue(m_selection[i]);
        if (entry > index) m_selection.Replace(i, EntryOf(entry - 1));
    }
}

uint32_t CListUI::GetOwnerKind() const
{
    return UILIST_OWNER_LIST;
}

TListItemStyle* CListUI::GetListStyleInfo()
{
    return &m_style;
}

int CListUI::GetSelectedIndex() const
{
    return m_selection.IsEmpty() ? -1 : EntryValue(m_selection[0]);
}

int CListUI::GetSelectedCount() const
{
    return m_selection.Count();
}

int CListUI::GetSelectedAt(int index) const
{
    if (m_selection.IsEmpty()) return -1;
    if (index < 0) return EntryValue(m_selection[0]);
    const int at = m_selection.IndexOf(EntryOf(index));
    if (at < 0 || at + 1 >= m_selection.Count()) return -1;
    return EntryValue(m_selection[at + 1]);
}

int CListUI::GetMinSelectedIndex() const
{
    int result = -1;
    for (int i = 0; i < m_selection.Count(); ++i) {
        const int entry = EntryValue(m_selection[i]);
        if (result < 0 || entry < result) result = entry;
    }
    return result;
}

int CListUI::GetMaxSelectedIndex() const
{
    int result = -1;
    for (int i = 0; i < m_selection.Count(); ++i) {
        const int entry = EntryValue(m_selection[i]);
        if (entry > result) result = entry;
    }
    return result;
}

bool CListUI::SelectSingleItem(int index, bool takeFocus)
{
    ClearSelection();
    if (index < 0) return false;
    CControlUI* control = GetChildAt(index);
    IListItemUI* row = AsListItem(control);
    if (row == nullptr || !row->SetItemSelected(true)) return false;
    // Read after the row's call-back, which may have recorded it already.
    const int previous = m_currentIndex;
    m_currentIndex = index;
    RecordSelection(index);
    EnsureItemVisible(index);
    if (takeFocus) control->TakeFocus();
    if (m_manager != nullptr && previous != m_currentIndex)
        m_manager->SendNotification(this, L"itemselect", static_cast<WPARAM>(index), 0);
    return true;
}

bool CListUI::AddToSelection(int index, bool takeFocus)
{
    if (!m_multiSelect) return SelectSingleItem(index, takeFocus);
    if (index < 0 || IsRecorded(index)) return false;
    CControlUI* control = GetChildAt(index);
    IListItemUI* row = AsListItem(control);
    if (row == nullptr) return false;
    // The row reports back through this operation; record only once, and
    // let only the outer call notify.
    const int before = m_selection.Count();
    if (!row->SetItemSelectedAdditive(true)) return false;
    const bool recordedByCallback = m_selection.Count() != before;
    m_currentIndex = index;
    RecordSelection(index);
    EnsureItemVisible(index);
    if (takeFocus) control->TakeFocus();
    if (m_manager != nullptr && !recordedByCallback)
        m_manager->SendNotification(this, L"itemselect", static_cast<WPARAM>(index), 0);
    return true;
}

bool CListUI::RemoveFromSelection(int index, bool others)
{
    if (!m_multiSelect) return false;
    if (!others) {
        if (index < 0 || !IsRecorded(index)) return false;
        CControlUI* control = GetChildAt(index);
        IListItemUI* row = AsListItem(control);
        if (row == nullptr || !control->GetEnabledState() || !row->SetItemSelectedAdditive(false)) return false;
        if (m_currentIndex == index) m_currentIndex = -1;
        ForgetRecorded(index);
        return true;
    }
    for (int i = m_selection.Count() - 1; i >= 0; --i) {
        if (i >= m_selection.Count()) continue;
        const int entry = EntryValue(m_selection[i]);
        if (entry == index) continue;
        CControlUI* control = GetChildAt(entry);
        IListItemUI* row = AsListItem(control);
        if (row == nullptr || !control->GetEnabledState() || !row->SetItemSelectedAdditive(false)) continue;
        ForgetRecorded(entry);
    }
    return true;
}

void CListUI::SelectEveryItem()
{
    for (int i = 0; i < GetChildCount(); ++i) {
        CControlUI* control = GetChildAt(i);
        IListItemUI* row = AsListItem(control);
        if (row == nullptr || !control->GetVisibility() || !control->GetEnabledState()) continue;
        if (row->SetItemSelectedAdditive(true)) m_currentIndex = i;
    }
}

void CListUI::ClearSelection()
{
    for (int i = 0; i < m_selection.Count(); ++i) {
        CControlUI* control = GetChildAt(EntryValue(m_selection[i]));
        IListItemUI* row = AsListItem(control);
        if (row != nullptr && control->GetEnabledState()) row->SetItemSelectedAdditive(false);
    }
    m_selection.Clear();
    m_currentIndex = -1;
}

void CListUI::SetMultipleSelection(bool on)
{
    m_multiSelect = on;
    if (!on) ClearSelection();
}

bool CListUI::HasMultipleSelection() const
{
    return m_multiSelect;
}

bool CListUI::SetItemExpandedAt(int index, bool expand)
{
    if (m_expandedIndex >= 0 && !m_style.multipleExpanding) {
        IListItemUI* row = AsListItem(GetChildAt(m_expandedIndex));
        if (row != nullptr) row->SetItemExpanded(false);
        m_expandedIndex = -1;
    }
    if (!expand) {
        RequestRelayout();
        return true;
    }
    CControlUI* control = GetChildAt(index);
    IListItemUI* row = AsListItem(control);
    if (row == nullptr || !control->GetVisibility()) return false;
    m_expandedIndex = index;
    if (!row->SetItemExpanded(true)) {
        m_expandedIndex = -1;
        return false;
    }
    RequestRelayout();
    return true;
}

int CListUI::GetExpandedIndex() const
{
    return m_expandedIndex;
}

CListHeaderUI* CListUI::GetHeaderControl() const
{
    return m_header;
}

CListBodyUI* CListUI::GetBodyContainer() const
{
    return m_body;
}

IListTextCallback* CListUI::GetTextCallback() const
{
    return m_textCallback;
}

void CListUI::SetTextCallback(IListTextCallback* callback)
{
    m_textCallback = callback;
}

bool CListUI::IsColumnEditable(int)
{
    return false;
}

CControlUI* CListUI::GetCellEditControl()
{
    return nullptr;
}

bool CListUI::IsColumnComboBox(int)
{
    return false;
}

CControlUI* CListUI::GetCellComboControl()
{
    return nullptr;
}

// ---- scrolling -------------------------------------------------------------

void CListUI::EnsureItemVisible(int index)
{
    if (m_currentIndex < 0) return;
    CControlUI* row = GetChildAt(index);
    if (row == nullptr) return;
    const CUIRect item = row->GetPosition();
    CUIRect visible = m_body->GetPosition();
    const CUIRect inset = m_body->GetScaledInsetRect();
    visible.top += inset.top;
    visible.bottom -= inset.bottom;
    CScrollBarUI* hbar = m_body->GetHScrollBarControl();
    if (hbar != nullptr && hbar->GetVisibility()) visible.bottom -= hbar->GetScaledFixedHeight();
    int dy = 0;
    if (item.top < visible.top) dy = item.top - visible.top;
    if (item.bottom > visible.bottom) dy = item.bottom - visible.bottom;
    ScrollBodyBy(0, dy);
}

void CListUI::ScrollBodyBy(int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    const CUISize offset = m_body->GetScrollOffset();
    m_body->SetScrollOffset(CUISize(offset.cx + dx, offset.cy + dy), true);
}

int CListUI::GetScaledChildGap() const
{
    return m_body->GetScaledChildGap();
}

int CListUI::GetChildGapValue() const
{
    return m_body->GetChildGapValue();
}

void CListUI::SetChildGap(int gap)
{
    m_body->SetChildGap(gap);
}

bool CListUI::DefersChildDeletion() const
{
    return m_body->DefersChildDeletion();
}

void CListUI::SetDefersChildDeletion(bool on)
{
    m_body->SetDefersChildDeletion(on);
}

CUISize CListUI::GetScrollOffset() const
{
    return m_body->GetScrollOffset();
}

CUISize CListUI::GetScrollExtent() const
{
    return m_body->GetScrollExtent();
}

void CListUI::SetScrollOffset(CUISize offset, bool notify)
{
    m_body->SetScrollOffset(offset, notify);
}

void CListUI::ScrollLineUp()
{
    m_body->ScrollLineUp();
}

void CListUI::ScrollLineDown()
{
    m_body->ScrollLineDown();
}

void CListUI::ScrollPageUp()
{
    m_body->ScrollPageUp();
}

void CListUI::ScrollPageDown()
{
    m_body->ScrollPageDown();
}

void CListUI::ScrollToTop()
{
    m_body->ScrollToTop();
}

void CListUI::ScrollToBottom()
{
    m_body->ScrollToBottom();
}

void CListUI::ScrollLineLeft()
{
    m_body->ScrollLineLeft();
}

void CListUI::ScrollLineRight()
{
    m_body->ScrollLineRight();
}

void CListUI::ScrollPageLeft()
{
    m_body->ScrollPageLeft();
}

void CListUI::ScrollPageRight()
{
    m_body->ScrollPageRight();
}

void CListUI::ScrollToLeftEnd()
{
    m_body->ScrollToLeftEnd();
}

void CListUI::ScrollToRightEnd()
{
    m_body->ScrollToRightEnd();
}

void CListUI::SetScrollBarsEnabled(bool vertical, bool horizontal)
{
    m_body->SetScrollBarsEnabled(vertical, horizontal);
}

CScrollBarUI* CListUI::GetVScrollBarControl() const
{
    return m_body->GetVScrollBarControl();
}

CScrollBarUI* CListUI::GetHScrollBarControl() const
{
    return m_body->GetHScrollBarControl();
}

void CListUI::SetFixedScrollBar(bool on)
{
    m_fixedScrollBar = on;
    RequestRepaint();
}

// ---- layout ----------------------------------------------------------------

CUISize CListUI::MeasureDesiredSize(CUISize available)
{
    CUISize size = CVerticalLayoutUI::MeasureDesiredSize(available);
    if (size.cy != 0 || m_body->GetVScrollBarControl() != nullptr) return size;
    const CUIRect inset = GetScaledInsetRect();
    const CUISize inner(available.cx - inset.left - inset.right, available.cy - inset.top - inset.bottom);
    size.cy = inset.top + inset.bottom + m_body->MeasureRows(inner);
    if (m_header->GetVisibility()) size.cy += m_header->MeasureDesiredSize(inner).cy + Scaled(GetChildGapValue());
    return size;
}

void CListUI::SetPosition(const RECT& rc, bool invalidate)
{
    CVerticalLayoutUI::SetPosition(rc, invalidate);
    RefreshColumnCount();
    const bool hidden = !m_header->GetVisibility();
    const int items = m_header->GetChildCount();
    if (hidden) {
        // A hidden header is still laid out so its items give column widths.
        for (int i = 0; i < items; ++i) m_header->GetChildAt(i)->SetInheritedVisibility(true);
        m_header->SetPosition(RECT{rc.left, 0, rc.right, 0}, false);
    }
    for (int i = 0; i < m_style.columnCount; ++i) {
        CControlUI* item = m_header->GetChildAt(i);
        if (item->GetVisibility() && !item->IsFloating()) m_style.columns[i] = item->GetPosition();
    }
    if (hidden) {
        for (int i = 0; i < items; ++i) m_header->GetChildAt(i)->SetInheritedVisibility(false);
    }
    m_body->SetPosition(m_body->GetPosition(), invalidate);
}

void CListUI::OffsetBy(int dx, int dy, bool invalidate)
{
    CVerticalLayoutUI::OffsetBy(dx, dy, invalidate);
    if (!m_header->GetVisibility()) m_header->OffsetBy(dx, dy, false);
}

// ---- events ----------------------------------------------------------------

void CListUI::HandleItemEvent(TEventInfo& event)
{
    HandleEvent(event);
}

void CListUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CVerticalLayoutUI::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETFOCUS:
        m_focused = true;
        return;
    case UIEVENT_KILLFOCUS:
        m_focused = false;
        return;
    case UIEVENT_KEYDOWN:
        OnKeyDown(event);
        return;
    case UIEVENT_SCROLLWHEEL:
        OnWheel(event);
        return;
    default:
        CVerticalLayoutUI::HandleEvent(event);
        return;
    }
}

void CListUI::MoveSelectionTo(int target)
{
    if (target < 0 || !IsSelectableRow(*m_body, target)) return;
    if (m_selection.Count() == 1 && GetSelectedIndex() == target) return;
    ClearSelection();
    SelectSingleItem(target, true);
}

void CListUI::OnKeyDown(TEventInfo& event)
{
    const int count = GetChildCount();
    switch (event.keyChar) {
    case VK_UP:
        if (!m_selection.IsEmpty()) {
            const int first = GetMinSelectedIndex();
            const int target = FindSelectableRowStrict(*m_body, first - 1, false);
            MoveSelectionTo(target >= 0 ? target : first);
        }
        return;
    case VK_DOWN:
        if (!m_selection.IsEmpty()) {
            const int last = GetMaxSelectedIndex();
            const int target = FindSelectableRowStrict(*m_body, last + 1, true);
            MoveSelectionTo(target >= 0 ? target : last);
        }
        return;
    case VK_PRIOR:
        ScrollPageUp();
        return;
    case VK_NEXT:
        ScrollPageDown();
        return;
    case VK_HOME:
        MoveSelectionTo(FindSelectableRowStrict(*m_body, 0, true));
        return;
    case VK_END:
        MoveSelectionTo(FindSelectableRowStrict(*m_body, count - 1, false));
        return;
    case VK_RETURN:
        if (m_currentIndex != -1) {
            CControlUI* row = GetChildAt(m_currentIndex);
            if (row != nullptr) row->ActivateControl();
        }
        return;
    case 'A':
        if (m_multiSelect && GetKeyState(VK_CONTROL) < 0) {
            SelectEveryItem();
            return;
        }
        break;
    default:
        break;
    }
    CVerticalLayoutUI::HandleEvent(event);
}

void CListUI::OnWheel(TEventInfo& event)
{
    const WORD direction = LOWORD(event.wParam);
    if (direction != 0 && direction != 1) {
        CVerticalLayoutUI::HandleEvent(event);
        return;
    }
    const bool down = direction == 1;
    if (!m_scrollSelect || m_multiSelect) {
        if (down)
            ScrollLineDown();
        else
            ScrollLineUp();
        return;
    }
    const int target = FindSelectableRowStrict(*m_body, m_currentIndex + (down ? 1 : -1), down);
    if (target >= 0) SelectSingleItem(target, true);
}

// ---- attributes ------------------------------------------------------------

void CListUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"header")) {
        m_header->SetVisibility(CompareTextIgnoreCase(value, L"hidden") != 0);
        return;
    }
    if (AttrNameEquals(name, L"headerbkimage")) {
        m_header->SetBackgroundImage(value);
        return;
    }
    if (AttrNameEquals(name, L"scrollselect")) {
        m_scrollSelect = ParseAttrBool(value);
        return;
    }
    if (AttrNameEquals(name, L"fixedscrollbar")) {
        SetFixedScrollBar(ParseAttrBool(value));
        return;
    }
    if (AttrNameEquals(name, L"multiexpanding")) {
        m_style.multipleExpanding = ParseAttrBool(value);
        return;
    }
    if (AttrNameEquals(name, L"itemshowrowline") || AttrNameEquals(name, L"itemshowcolumnline")) {
        bool& flag = AttrNameEquals(name, L"itemshowrowline") ? m_style.showRowLine : m_style.showColumnLine;
        flag = ParseAttrBool(value);
        RequestRepaint();
        return;
    }
    if (wcscmp(name, L"itemrselected") == 0) {
        const bool on = ParseAttrBool(value);
        if (on != m_style.rightButtonSelects) {
            m_style.rightButtonSelects = on;
            RequestRelayout();
        }
        return;
    }
    if (wcscmp(name, L"multiselect") == 0) {
        SetMultipleSelection(ParseAttrBool(value));
        return;
    }
    switch (ApplyListStyleAttribute(m_style, name, value)) {
    case ListStyleChange::NotStyle:
        CVerticalLayoutUI::ApplyAttribute(name, value);
        return;
    case ListStyleChange::Padding:
    case ListStyleChange::HtmlChanged:
        RequestRelayout();
        return;
    case ListStyleChange::Look:
        RequestRepaint();
        return;
    case ListStyleChange::TextFormat:
    case ListStyleChange::HtmlSame:
        return;
    }
}

} // namespace SkinUI
