#pragma once

#include <windows.h>

#include "uilib/control/ListContainerElement.h"
#include "uilib/core/UIPtrArray.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

// One row of a tree view: an indent line, a folder button (selected =
// folded), a check box and a text button in a row layout. The node remembers
// its parent and child nodes; every node is a list item of its view, which
// owns it, so the child array never owns.
class CTreeNodeUI : public CListContainerElementUI {
public:
    static constexpr int kIndentStep = 16;

    CTreeNodeUI();
    ~CTreeNodeUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    // Tree nodes become child nodes; other controls ordinary children.
    bool AddChild(CControlUI* control) override;
    bool InsertChildAt(CControlUI* control, int index) override;
    // Removes a child node with its whole subtree.
    bool RemoveChild(CControlUI* control) override;
    // Removes the child nodes and the ordinary children; the row stays.
    void RemoveAllChildren() override;

    bool SetItemSelected(bool select) override;
    bool SetItemSelectedAdditive(bool select) override;

    bool AddChildNode(CControlUI* control);

    CUIString GetItemText() const;
    void SetItemText(const wchar_t* text);
    CTreeNodeUI* GetChildNode(int index) const;
    int GetChildNodeCount() const { return m_childNodes.Count(); }
    bool HasChildNodes() const { return !m_childNodes.IsEmpty(); }
    CTreeViewUI* GetTreeView() const { return m_treeView; }
    void SetTreeView(CTreeViewUI* view) { m_treeView = view; }
    CTreeNodeUI* GetParentNode() const { return m_parentNode; }
    void SetParentNode(CTreeNodeUI* parent) { m_parentNode = parent; }
    // The node's index among the view's list items; -1 without one.
    int GetTreeIndex();
    // The last node of this node's subtree in pre-order (itself when a leaf).
    CTreeNodeUI* GetLastDescendant();
    // Forgets a child node without touching the view; false when not listed.
    bool ForgetChildNode(CTreeNodeUI* node);

    bool IsExpandedFlag() const { return m_expanded; }
    void SetExpandedFlag(bool expanded) { m_expanded = expanded; }
    void SetFolderButtonVisible(bool visible);
    void SetCheckBoxVisible(bool visible);
    void SetCheckBoxChecked(bool checked);

    void SetItemTextColor(DWORD argb);
    void SetItemHotTextColor(DWORD argb);
    void SetSelectedItemTextColor(DWORD argb);
    void SetSelectedItemHotTextColor(DWORD argb);
    DWORD GetItemTextColor() const { return m_itemTextColor; }
    DWORD GetItemHotTextColor() const { return m_itemHotTextColor; }
    DWORD GetSelectedItemTextColor() const { return m_selItemTextColor; }
    DWORD GetSelectedItemHotTextColor() const { return m_selItemHotTextColor; }

    CHorizontalLayoutUI* GetRowLayout() const { return m_rowLayout; }
    CLabelUI* GetIndentLine() const { return m_indentLine; }
    CCheckBoxUI* GetFolderButton() const { return m_folderButton; }
    CCheckBoxUI* GetCheckBox() const { return m_checkBox; }
    COptionUI* GetTextButton() const { return m_textButton; }

private:
    // Makes the node a child of this one: indent, parent, option group, view.
    void PlaceUnder(CTreeNodeUI* node);
    // The indent one step deeper than the parent's, down the subtree.
    void IndentBelow(CTreeNodeUI* parent);
    // The text colour for the given selected state.
    void ApplyTextColorFor(bool selected);
    static CTreeNodeUI* AsTreeNode(CControlUI* control);

    bool m_expanded;
    DWORD m_itemTextColor;
    DWORD m_itemHotTextColor;
    DWORD m_selItemTextColor;
    DWORD m_selItemHotTextColor;
    CTreeViewUI* m_treeView;
    CHorizontalLayoutUI* m_rowLayout;
    CLabelUI* m_indentLine;
    CCheckBoxUI* m_folderButton;
    CCheckBoxUI* m_checkBox;
    COptionUI* m_textButton;
    CTreeNodeUI* m_parentNode;
    CUIPtrArray m_childNodes; // CTreeNodeUI*, not owned
};

} // namespace SkinUI
