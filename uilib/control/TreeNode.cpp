#include "uilib/control/TreeNode.h"

#include "uilib/control/CheckBox.h"
#include "uilib/control/Label.h"
#include "uilib/control/Option.h"
#include "uilib/control/TreeView.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/HorizontalLayout.h"

namespace SkinUI {

namespace {

const int kNodeHeight = 18;
const int kNodeWidth = 250;
const int kIndentWidth = 2;

} // namespace

CTreeNodeUI::CTreeNodeUI()
    : m_expanded(true),
      m_itemTextColor(0),
      m_itemHotTextColor(0),
      m_selItemTextColor(0),
      m_selItemHotTextColor(0),
      m_treeView(nullptr),
      m_rowLayout(new CHorizontalLayoutUI()),
      m_indentLine(new CLabelUI()),
      m_folderButton(new CCheckBoxUI()),
      m_checkBox(new CCheckBoxUI()),
      m_textButton(new COptionUI()),
      m_parentNode(nullptr)
{
    SetFixedHeightValue(kNodeHeight);
    SetFixedWidthValue(kNodeWidth);
    m_folderButton->SetFixedWidthValue(kNodeHeight);
    m_checkBox->SetFixedWidthValue(kNodeHeight);
    m_indentLine->SetFixedWidthValue(kIndentWidth);
    m_textButton->ApplyAttribute(L"align", L"left");
    // Clicks on the text reach the row, which selects the node.
    m_textButton->SetAcceptsMouse(false);
    m_indentLine->SetVisibility(false);
    m_checkBox->SetVisibility(false);
    m_rowLayout->SetChildVAlignment(DT_VCENTER);

    m_rowLayout->AddChild(m_indentLine);
    m_rowLayout->AddChild(m_folderButton);
    m_rowLayout->AddChild(m_checkBox);
    m_rowLayout->AddChild(m_textButton);
    CContainerUI::AddChild(m_rowLayout);
}

CTreeNodeUI::~CTreeNodeUI() = default;

const wchar_t* CTreeNodeUI::GetTypeName() const
{
    return L"TreeNodeUI";
}

void* CTreeNodeUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"TreeNode") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

CTreeNodeUI* CTreeNodeUI::AsTreeNode(CControlUI* control)
{
    return control != nullptr ? static_cast<CTreeNodeUI*>(control->FindInterface(L"TreeNode")) : nullptr;
}

void CTreeNodeUI::HandleEvent(TEventInfo& event)
{
    const bool passedOn = IgnoresMouseEvent(event);
    CListContainerElementUI::HandleEvent(event);
    if (passedOn) return;

    const bool enabled = GetEnabledState();
    if (event.type == UIEVENT_DBLCLICK) {
        if (enabled && m_manager != nullptr) {
            m_manager->SendNotification(this, L"treeitemdbclick", 0, 0, false);
            RequestRepaint();
        }
    } else if (event.type == UIEVENT_MOUSEENTER) {
        if (!enabled) {
            m_textButton->SetTextColor(m_textButton->GetDisabledTextColor());
        } else if (IsItemSelected() && m_selItemHotTextColor != 0) {
            m_textButton->SetTextColor(m_selItemHotTextColor);
        } else {
            m_textButton->SetTextColor(m_itemHotTextColor);
        }
    } else if (event.type == UIEVENT_MOUSELEAVE) {
        if (!enabled) {
            m_textButton->SetTextColor(m_textButton->GetDisabledTextColor());
        } else if (!IsItemSelected()) {
            m_textButton->SetTextColor(m_itemTextColor);
        } else if (m_selItemTextColor != 0) {
            m_textButton->SetTextColor(m_selItemTextColor);
        }
    }
}

void CTreeNodeUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"text")) {
        SetItemText(value);
    } else if (AttrNameEquals(name, L"horizattr")) {
        m_rowLayout->ApplyAttributeList(value);
    } else if (AttrNameEquals(name, L"dotlineattr")) {
        m_indentLine->ApplyAttributeList(value);
    } else if (AttrNameEquals(name, L"folderattr")) {
        m_folderButton->ApplyAttributeList(value);
    } else if (AttrNameEquals(name, L"checkboxattr")) {
        m_checkBox->ApplyAttributeList(value);
    } else if (AttrNameEquals(name, L"itemattr")) {
        m_textButton->ApplyAttributeList(value);
    } else if (AttrNameEquals(name, L"itemtextcolor")) {
        SetItemTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"itemhottextcolor")) {
        SetItemHotTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"selitemtextcolor")) {
        SetSelectedItemTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"selitemhottextcolor")) {
        SetSelectedItemHotTextColor(ParseAttrColor(value, false));
    } else {
        CListContainerElementUI::ApplyAttribute(name, value);
    }
}

bool CTreeNodeUI::AddChild(CControlUI* control)
{
    if (AsTreeNode(control) != nullptr) return AddChildNode(control);
    return CContainerUI::AddChild(control);
}

bool CTreeNodeUI::AddChildNode(CControlUI* control)
{
    CTreeNodeUI* node = AsTreeNode(control);
    if (node == nullptr) return false;
    PlaceUnder(node);
    if (m_treeView != nullptr) {
        const int after = GetLastDescendant()->GetTreeIndex();
        if (after < 0 || m_treeView->InsertNodeAt(node, after + 1) < 0) return false;
    }
    return m_childNodes.Append(node);
}

bool CTreeNodeUI::InsertChildAt(CControlUI* control, int index)
{
    CTreeNodeUI* node = AsTreeNode(control);
    // The container's own adding goes through here for ordinary children.
    if (node == nullptr) return CContainerUI::InsertChildAt(control, index);
    CTreeNodeUI* point = GetChildNode(index);
    if (point != nullptr) {
        if (!m_childNodes.Insert(index, node)) return false;
    } else {
        // An appended child goes after this node's whole subtree, not straight
        // after the node, so the list keeps the tree's pre-order.
        if (m_treeView != nullptr) {
            const int after = GetLastDescendant()->GetTreeIndex();
            point = after >= 0 ? AsTreeNode(m_treeView->GetChildAt(after + 1)) : nullptr;
        }
        if (!m_childNodes.Append(node)) return false;
    }
    PlaceUnder(node);
    if (m_treeView == nullptr) return true;
    if (point != nullptr) return m_treeView->InsertNodeBefore(node, point);
    return m_treeView->AddNode(node);
}

bool CTreeNodeUI::RemoveChild(CControlUI* control)
{
    CTreeNodeUI* node = AsTreeNode(control);
    if (node == nullptr) return control != m_rowLayout && CContainerUI::RemoveChild(control);
    const int index = m_childNodes.IndexOf(node);
    if (index < 0 || GetChildNode(index) != node) return false;
    while (node->HasChildNodes()) node->RemoveChild(node->GetChildNode(0));
    m_childNodes.RemoveAt(index);
    if (m_treeView != nullptr) m_treeView->RemoveNode(node);
    return true;
}

void CTreeNodeUI::RemoveAllChildren()
{
    while (HasChildNodes() && RemoveChild(GetChildNode(0))) {
    }
    for (int i = CContainerUI::GetChildCount() - 1; i >= 0; --i) {
        CControlUI* child = CContainerUI::GetChildAt(i);
        if (child != m_rowLayout) CContainerUI::RemoveChild(child);
    }
}

bool CTreeNodeUI::ForgetChildNode(CTreeNodeUI* node)
{
    const int index = m_childNodes.IndexOf(node);
    return index >= 0 && m_childNodes.RemoveAt(index);
}

void CTreeNodeUI::PlaceUnder(CTreeNodeUI* node)
{
    node->m_indentLine->SetVisibility(true);
    node->m_parentNode = this;
    node->IndentBelow(this);
    node->m_textButton->SetGroupName(m_textButton->GetGroupName());
    node->m_treeView = m_treeView;
}

void CTreeNodeUI::IndentBelow(CTreeNodeUI* parent)
{
    // Markup builds children before their parent is placed, so a placed
    // branch takes its whole subtree's indents along.
    m_indentLine->SetFixedWidthValue(parent->m_indentLine->GetFixedSizeValue().cx + kIndentStep);
    for (int i = 0; i < GetChildNodeCount(); ++i) GetChildNode(i)->IndentBelow(this);
}

CTreeNodeUI* CTreeNodeUI::GetLastDescendant()
{
    CTreeNodeUI* last = this;
    while (last->HasChildNodes()) last = last->GetChildNode(last->GetChildNodeCount() - 1);
    return last;
}

int CTreeNodeUI::GetTreeIndex()
{
    if (m_treeView == nullptr) return -1;
    return m_treeView->IndexOfChild(this);
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int index) const
{
    return static_cast<CTreeNodeUI*>(m_childNodes.At(index));
}

bool CTreeNodeUI::SetItemSelected(bool select)
{
    const bool result = CListContainerElementUI::SetItemSelected(select);
    ApplyTextColorFor(IsItemSelected());
    return result;
}

bool CTreeNodeUI::SetItemSelectedAdditive(bool select)
{
    const bool result = CListContainerElementUI::SetItemSelectedAdditive(select);
    ApplyTextColorFor(IsItemSelected());
    return result;
}

void CTreeNodeUI::ApplyTextColorFor(bool selected)
{
    m_textButton->SetTextColor(selected ? m_selItemTextColor : m_itemTextColor);
}

CUIString CTreeNodeUI::GetItemText() const
{
    return m_textButton->GetTextContent();
}

void CTreeNodeUI::SetItemText(const wchar_t* text)
{
    m_textButton->SetTextContent(text);
}

void CTreeNodeUI::SetFolderButtonVisible(bool visible)
{
    m_folderButton->SetVisibility(visible);
}

void CTreeNodeUI::SetCheckBoxVisible(bool visible)
{
    m_checkBox->SetVisibility(visible);
}

void CTreeNodeUI::SetCheckBoxChecked(bool checked)
{
    m_checkBox->SetCheckedState(checked);
}

void CTreeNodeUI::SetItemTextColor(DWORD argb)
{
    m_itemTextColor = argb;
    m_textButton->SetTextColor(argb);
}

void CTreeNodeUI::SetItemHotTextColor(DWORD argb)
{
    m_itemHotTextColor = argb;
    RequestRepaint();
}

void CTreeNodeUI::SetSelectedItemTextColor(DWORD argb)
{
    m_selItemTextColor = argb;
    RequestRepaint();
}

void CTreeNodeUI::SetSelectedItemHotTextColor(DWORD argb)
{
    m_selItemHotTextColor = argb;
    RequestRepaint();
}

} // namespace SkinUI
