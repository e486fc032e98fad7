#include "uilib/control/TreeView.h"

#include "uilib/control/CheckBox.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/TreeNode.h"
#include "uilib/core/AttrParse.h"

namespace SkinUI {

CTreeViewUI::CTreeViewUI() : m_itemMinWidth(0), m_folderButtonsVisible(true), m_checkBoxesVisible(false)
{
    GetHeaderControl()->SetVisibility(false);
}

CTreeViewUI::~CTreeViewUI() = default;

const wchar_t* CTreeViewUI::GetTypeName() const
{
    return L"TreeViewUI";
}

void* CTreeViewUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"TreeView") == 0) return this;
    return CListUI::FindInterface(name);
}

uint32_t CTreeViewUI::GetOwnerKind() const
{
    return kOwnerKindTree;
}

void CTreeViewUI::ReceiveNotify(TNotifyInfo&) {}

CTreeNodeUI* CTreeViewUI::AsTreeNode(CControlUI* control)
{
    return control != nullptr ? static_cast<CTreeNodeUI*>(control->FindInterface(L"TreeNode")) : nullptr;
}

CTreeNodeUI* CTreeViewUI::GetNodeAt(int index) const
{
    return AsTreeNode(GetChildAt(index));
}

CTreeNodeUI* CTreeViewUI::NodeOfRowControl(CControlUI* sender)
{
    CControlUI* row = sender != nullptr ? sender->GetParentControl() : nullptr;
    return AsTreeNode(row != nullptr ? row->GetParentControl() : nullptr);
}

void CTreeViewUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"visiblefolderbtn")) {
        SetFolderButtonsVisible(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"visiblecheckbtn")) {
        SetCheckBoxesVisible(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"itemminwidth")) {
        SetItemMinWidth(static_cast<unsigned>(ParseAttrInt(value)));
    } else if (AttrNameEquals(name, L"itemtextcolor")) {
        SetItemsTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"itemhottextcolor")) {
        SetItemsHotTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"selitemtextcolor")) {
        SetItemsSelectedTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"selitemhottextcolor")) {
        SetItemsSelectedHotTextColor(ParseAttrColor(value, false));
    } else {
        CListUI::ApplyAttribute(name, value);
    }
}

bool CTreeViewUI::AddChild(CControlUI* control)
{
    if (AsTreeNode(control) != nullptr) return AddNode(control);
    return CListUI::AddChild(control);
}

void CTreeViewUI::PrepareNode(CTreeNodeUI* node)
{
    node->OnNotify.AddDelegate(MakeDelegate(this, &CTreeViewUI::HandleItemDoubleClick));
    node->GetFolderButton()->OnNotify.AddDelegate(MakeDelegate(this, &CTreeViewUI::HandleFolderChanged));
    node->GetCheckBox()->OnNotify.AddDelegate(MakeDelegate(this, &CTreeViewUI::HandleCheckBoxChanged));
    node->SetFolderButtonVisible(m_folderButtonsVisible);
    node->SetCheckBoxVisible(m_checkBoxesVisible);
    if (m_itemMinWidth != 0) node->SetMinWidthValue(static_cast<int>(m_itemMinWidth));
}

bool CTreeViewUI::AddNode(CControlUI* control)
{
    CTreeNodeUI* node = AsTreeNode(control);
    if (node == nullptr) return false;
    PrepareNode(node);
    if (!CListUI::AddChild(node)) return false;
    for (int i = 0; i < node->GetChildNodeCount(); ++i) {
        CTreeNodeUI* child = node->GetChildNode(i);
        if (child != nullptr) AddNode(child);
    }
    node->SetTreeView(this);
    return true;
}

long CTreeViewUI::InsertNodeAt(CControlUI* control, int index)
{
    CTreeNodeUI* node = AsTreeNode(control);
    if (node == nullptr) return -1;
    PrepareNode(node);
    if (!CListUI::InsertChildAt(node, index)) return -1;
    node->SetTreeView(this);
    // The whole subtree follows in pre-order, so no descendant is left out of
    // the list.
    long next = index + 1;
    for (int i = 0; i < node->GetChildNodeCount() && next >= 0; ++i) {
        CTreeNodeUI* child = node->GetChildNode(i);
        if (child != nullptr) next = InsertNodeAt(child, static_cast<int>(next));
    }
    return next;
}

bool CTreeViewUI::InsertNodeBefore(CControlUI* control, CControlUI* pointNode)
{
    if (control == nullptr || pointNode == nullptr) return false;
    const int index = IndexOfChild(pointNode);
    if (index < 0) return false;
    return InsertNodeAt(control, index) >= 0;
}

bool CTreeViewUI::RemoveNode(CControlUI* control)
{
    CTreeNodeUI* node = AsTreeNode(control);
    if (node == nullptr || IndexOfChild(node) < 0) return false;
    for (int i = node->GetChildNodeCount() - 1; i >= 0; --i) node->RemoveChild(node->GetChildNode(i));
    // A node removed straight from the view must not stay in its parent's list.
    if (node->GetParentNode() != nullptr) node->GetParentNode()->ForgetChildNode(node);
    // The list's own removal by index: ours would come back here.
    return CListUI::RemoveChildAt(IndexOfChild(node));
}

bool CTreeViewUI::RemoveChildAt(int index)
{
    CTreeNodeUI* node = GetNodeAt(index);
    if (node != nullptr) return RemoveNode(node);
    return CListUI::RemoveChildAt(index);
}

bool CTreeViewUI::HandleCheckBoxChanged(void* param)
{
    TNotifyInfo* notify = static_cast<TNotifyInfo*>(param);
    if (notify->type != L"selectchanged") return true;
    CTreeNodeUI* node = NodeOfRowControl(notify->sender);
    if (node != nullptr) CheckSubtree(node->GetCheckBox()->IsChecked(), node);
    return true;
}

bool CTreeViewUI::HandleFolderChanged(void* param)
{
    TNotifyInfo* notify = static_cast<TNotifyInfo*>(param);
    if (notify->type != L"selectchanged") return true;
    CTreeNodeUI* node = NodeOfRowControl(notify->sender);
    if (node != nullptr) FollowFolderButton(node);
    return true;
}

bool CTreeViewUI::HandleItemDoubleClick(void* param)
{
    TNotifyInfo* notify = static_cast<TNotifyInfo*>(param);
    if (notify->type.CompareIgnoreCase(L"treeitemdbclick") != 0) return true;
    CTreeNodeUI* node = AsTreeNode(notify->sender);
    if (node == nullptr) return true;
    CCheckBoxUI* folder = node->GetFolderButton();
    folder->SetCheckedState(!folder->IsChecked());
    FollowFolderButton(node);
    return true;
}

void CTreeViewUI::FollowFolderButton(CTreeNodeUI* node)
{
    const bool unfolded = !node->GetFolderButton()->IsChecked();
    node->SetExpandedFlag(unfolded);
    ExpandSubtree(unfolded, node);
}

bool CTreeViewUI::CheckSubtree(bool checked, CTreeNodeUI* node)
{
    if (node == nullptr) {
        // Every node is a list item, so one walk over the list reaches all.
        ForEachNode([checked](CTreeNodeUI* item) { item->SetCheckBoxChecked(checked); });
        return true;
    }
    for (int i = 0; i < node->GetChildNodeCount(); ++i) {
        CTreeNodeUI* child = node->GetChildNode(i);
        child->SetCheckBoxChecked(checked);
        if (child->HasChildNodes()) CheckSubtree(checked, child);
    }
    return true;
}

void CTreeViewUI::ExpandSubtree(bool shown, CTreeNodeUI* node)
{
    if (node == nullptr) {
        ForEachNode([this, shown](CTreeNodeUI* item) { ExpandSubtree(shown, item); });
        return;
    }
    for (int i = 0; i < node->GetChildNodeCount(); ++i) {
        CTreeNodeUI* child = node->GetChildNode(i);
        child->SetVisibility(shown);
        if (child->HasChildNodes() && !child->GetFolderButton()->IsChecked()) ExpandSubtree(shown, child);
    }
}

void CTreeViewUI::SetFolderButtonsVisible(bool visible)
{
    m_folderButtonsVisible = visible;
    ForEachNode([visible](CTreeNodeUI* item) { item->SetFolderButtonVisible(visible); });
}

bool CTreeViewUI::AreFolderButtonsVisible() const
{
    return m_folderButtonsVisible;
}

void CTreeViewUI::SetCheckBoxesVisible(bool visible)
{
    m_checkBoxesVisible = visible;
    ForEachNode([visible](CTreeNodeUI* item) { item->SetCheckBoxVisible(visible); });
}

bool CTreeViewUI::AreCheckBoxesVisible() const
{
    return m_checkBoxesVisible;
}

void CTreeViewUI::SetItemMinWidth(unsigned width)
{
    m_itemMinWidth = width;
    ForEachNode([width](CTreeNodeUI* item) { item->SetMinWidthValue(static_cast<int>(width)); });
    RequestRepaint();
}

unsigned CTreeViewUI::GetItemMinWidth() const
{
    return m_itemMinWidth;
}

void CTreeViewUI::SetItemsTextColor(DWORD argb)
{
    ForEachNode([argb](CTreeNodeUI* item) { item->SetItemTextColor(argb); });
}

void CTreeViewUI::SetItemsHotTextColor(DWORD argb)
{
    ForEachNode([argb](CTreeNodeUI* item) { item->SetItemHotTextColor(argb); });
}

void CTreeViewUI::SetItemsSelectedTextColor(DWORD argb)
{
    ForEachNode([argb](CTreeNodeUI* item) { item->SetSelectedItemTextColor(argb); });
}

void CTreeViewUI::SetItemsSelectedHotTextColor(DWORD argb)
{
    ForEachNode([argb](CTreeNodeUI* item) { item->SetSelectedItemHotTextColor(argb); });
}

} // namespace SkinUI
