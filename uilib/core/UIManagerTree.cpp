// The paint manager's control tree: the root, the name index, searches,
// forgetting and deferred deletion of controls, and option groups.
#include <new>

#include "uilib/core/ShadowWindow.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

CControlUI* RegisterName(CControlUI* control, void* data)
{
    CUIString name = control->GetControlName();
    if (!name.IsEmpty()) static_cast<CUIStringMap*>(data)->InsertNew(name, control);
    return nullptr;
}

CControlUI* ForgetOne(CControlUI* control, void* data)
{
    static_cast<CPaintManagerUI*>(data)->ForgetControl(control);
    return nullptr;
}

CControlUI* ContainsPoint(CControlUI* control, void* data)
{
    const POINT& pt = *static_cast<const POINT*>(data);
    return PtInRect(&control->GetPosition(), pt) ? control : nullptr;
}

CControlUI* NameMatches(CControlUI* control, void* data)
{
    return control->GetControlName().CompareIgnoreCase(static_cast<const wchar_t*>(data)) == 0 ? control : nullptr;
}

struct TClassSearch {
    const wchar_t* className;
    CUIPtrArray* found;
};

CControlUI* CollectClass(CControlUI* control, void* data)
{
    TClassSearch& search = *static_cast<TClassSearch*>(data);
    if (wcscmp(search.className, L"*") == 0 || wcscmp(search.className, control->GetTypeName()) == 0)
        search.found->Append(control);
    return nullptr;
}

void RemoveAll(CUIPtrArray& list, const void* item)
{
    for (int i = list.Count() - 1; i >= 0; --i) {
        if (list[i] == item) list.RemoveAt(i);
    }
}

} // namespace

bool CPaintManagerUI::AttachRoot(CControlUI* control)
{
    if (m_shadow != nullptr) m_shadow->AttachToWindow(this);
    SetFocusControl(nullptr);
    m_hoverControl = nullptr;
    // The old tree goes, its press with it, and the mouse with the press.
    EndClick(TPressEnd::Forgotten);
    m_keyControl = nullptr;
    if (m_root != nullptr) {
        m_postPaintControls.Clear();
        QueueForDeletion(m_root);
    }
    m_root = control;
    m_firstLayoutPending = true;
    m_layoutNeeded = true;
    m_focusPending = true;
    return InitializeTree(control, nullptr);
}

CControlUI* CPaintManagerUI::Root() const { return m_root; }

bool CPaintManagerUI::InitializeTree(CControlUI* control, CControlUI* parent)
{
    if (control == nullptr) return false;
    control->AttachManager(this, parent != nullptr ? parent : control->GetParentControl(), true);
    control->FindInTree(RegisterName, &m_nameIndex, UIFIND_ALL);
    return true;
}

void CPaintManagerUI::ForgetControl(CControlUI* control)
{
    if (control == nullptr) return;
    if (m_root == control) m_root = nullptr;
    DropReferencesTo(control);
}

void CPaintManagerUI::ForgetRootReferences()
{
    if (m_root != nullptr) DropReferencesTo(m_root);
}

void CPaintManagerUI::DropReferencesTo(CControlUI* control)
{
    if (m_keyControl == control) m_keyControl = nullptr;
    if (m_hoverControl == control) ForgetHoverControl();
    if (m_clickControl == control) EndClick(TPressEnd::Forgotten);
    if (m_menuControl == control) m_menuControl = nullptr;
    if (m_focusControl == control) m_focusControl = nullptr;
    if (m_heldFocus == control) m_heldFocus = nullptr;
    if (m_releasedFocus == control) m_releasedFocus = nullptr;
    StopControlTimers(control);
    CUIString name = control->GetControlName();
    if (!name.IsEmpty() && m_nameIndex.Lookup(name, false) == control) m_nameIndex.Remove(name);
    for (int i = 0; i < m_notificationQueue.Count(); ++i) {
        TNotifyInfo* notify = static_cast<TNotifyInfo*>(m_notificationQueue[i]);
        if (notify->sender == control) notify->sender = nullptr;
    }
    RemoveAll(m_postPaintControls, control);
    RemoveAll(m_foundControls, control);
    for (int i = 0; i < m_optionGroups.Count(); ++i) {
        const wchar_t* group = m_optionGroups.KeyAt(i);
        CUIPtrArray* members = group != nullptr ? static_cast<CUIPtrArray*>(m_optionGroups.Lookup(group, false)) : nullptr;
        if (members != nullptr) RemoveAll(*members, control);
    }
}

void CPaintManagerUI::ForgetSubtree(CControlUI* control)
{
    control->FindInTree(ForgetOne, this, UIFIND_ALL);
}

void CPaintManagerUI::QueueForDeletion(CControlUI* control)
{
    if (control == nullptr) return;
    // Nothing may keep pointing into the subtree once it is detached: its
    // destructor no longer reaches this manager.
    ForgetSubtree(control);
    control->AttachManager(nullptr, nullptr, false);
    m_delayedDeletion.Append(control);
    PostQueuedWork();
}

CControlUI* CPaintManagerUI::FindControlByName(const wchar_t* name)
{
    if (name == nullptr) return nullptr;
    return static_cast<CControlUI*>(m_nameIndex.Lookup(name));
}

CControlUI* CPaintManagerUI::FindControlAtPoint(POINT pt)
{
    if (m_root == nullptr) return nullptr;
    return m_root->FindInTree(ContainsPoint, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const wchar_t* name)
{
    CControlUI* start = parent != nullptr ? parent : m_root;
    if (start == nullptr || name == nullptr) return nullptr;
    return start->FindInTree(NameMatches, const_cast<wchar_t*>(name), UIFIND_ALL);
}

CUIPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* parent, const wchar_t* className)
{
    m_foundControls.Clear();
    CControlUI* start = parent != nullptr ? parent : m_root;
    if (start == nullptr || className == nullptr) return &m_foundControls;
    TClassSearch search = {className, &m_foundControls};
    start->FindInTree(CollectClass, &search, UIFIND_ALL);
    return &m_foundControls;
}

CUIPtrArray* CPaintManagerUI::FoundControls() { return &m_foundControls; }
void CPaintManagerUI::SetUsesVirtualWindows(bool on) { m_usesVirtualWindows = on; }
bool CPaintManagerUI::UsesVirtualWindows() const { return m_usesVirtualWindows; }

bool CPaintManagerUI::JoinOptionGroup(const wchar_t* group, CControlUI* control)
{
    if (group == nullptr || control == nullptr) return false;
    CUIPtrArray* members = static_cast<CUIPtrArray*>(m_optionGroups.Lookup(group));
    if (members != nullptr) {
        if (members->IndexOf(control) >= 0) return false;
        return members->Append(control);
    }
    members = new (std::nothrow) CUIPtrArray(6);
    if (members == nullptr) return false;
    members->Append(control);
    if (!m_optionGroups.InsertNew(group, members)) {
        delete members;
        return false;
    }
    return true;
}

void CPaintManagerUI::LeaveOptionGroup(const wchar_t* group, CControlUI* control)
{
    if (group == nullptr) return;
    CUIPtrArray* members = static_cast<CUIPtrArray*>(m_optionGroups.Lookup(group));
    if (members == nullptr) return;
    int index = members->IndexOf(control);
    if (index >= 0) members->RemoveAt(index);
    if (members->IsEmpty()) {
        m_optionGroups.Remove(group);
        delete members;
    }
}

CUIPtrArray* CPaintManagerUI::OptionGroupMembers(const wchar_t* group)
{
    if (group == nullptr) return nullptr;
    return static_cast<CUIPtrArray*>(m_optionGroups.Lookup(group));
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    for (int i = 0; i < m_optionGroups.Count(); ++i) {
        const wchar_t* group = m_optionGroups.KeyAt(i);
        if (group != nullptr) delete static_cast<CUIPtrArray*>(m_optionGroups.Lookup(group, false));
    }
    m_optionGroups.RemoveAll();
}

} // namespace SkinUI
