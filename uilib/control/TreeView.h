#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/List.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

class CTreeNodeUI;

// A list whose rows are tree nodes, kept as one flat sequence in pre-order:
// a node's descendants follow it directly, and folding a node hides them.
class CTreeViewUI : public CListUI, public INotifyUI {
public:
    static constexpr uint32_t kOwnerKindTree = 2;

    CTreeViewUI();
    ~CTreeViewUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    uint32_t GetOwnerKind() const override;
    void ReceiveNotify(TNotifyInfo& notify) override;

    // Tree nodes from the skin go in through AddNode.
    bool AddChild(CControlUI* control) override;
    // Removes the row at the index, with its subtree when it is a node.
    bool RemoveChildAt(int index) override;

    // Appends the node and its subtree.
    virtual bool AddNode(CControlUI* control);
    virtual bool InsertNodeBefore(CControlUI* control, CControlUI* pointNode);
    // Inserts the node and its subtree in pre-order from the index; answers
    // the index after the last row inserted, -1 on failure.
    virtual long InsertNodeAt(CControlUI* control, int index);
    virtual bool RemoveNode(CControlUI* control);
    virtual bool HandleCheckBoxChanged(void* param);
    virtual bool HandleFolderChanged(void* param);
    virtual bool HandleItemDoubleClick(void* param);
    // Sets the check boxes of the node's descendants, or of every node.
    virtual bool CheckSubtree(bool checked, CTreeNodeUI* node);
    // Shows or hides the node's descendants (folded branches stay hidden), or
    // every node.
    virtual void ExpandSubtree(bool shown, CTreeNodeUI* node);
    virtual void SetFolderButtonsVisible(bool visible);
    virtual bool AreFolderButtonsVisible() const;
    virtual void SetCheckBoxesVisible(bool visible);
    virtual bool AreCheckBoxesVisible() const;
    virtual void SetItemMinWidth(unsigned width);
    virtual unsigned GetItemMinWidth() const;
    virtual void SetItemsTextColor(DWORD argb);
    virtual void SetItemsHotTextColor(DWORD argb);
    virtual void SetItemsSelectedTextColor(DWORD argb);
    virtual void SetItemsSelectedHotTextColor(DWORD argb);

    // The list item at the index as a tree node, or null.
    CTreeNodeUI* GetNodeAt(int index) const;

private:
    template <typename Fn>
    void ForEachNode(Fn fn) const
    {
        for (int i = 0; i < GetChildCount(); ++i) {
            CTreeNodeUI* item = GetNodeAt(i);
            if (item != nullptr) fn(item);
        }
    }
    // The expanded flag and the descendants follow the folder button.
    void FollowFolderButton(CTreeNodeUI* node);
    // Binds the handlers and applies the view's flags and minimum width.
    void PrepareNode(CTreeNodeUI* node);
    // The node that holds the sender (sender -> row -> node), or null.
    static CTreeNodeUI* NodeOfRowControl(CControlUI* sender);
    static CTreeNodeUI* AsTreeNode(CControlUI* control);

    unsigned m_itemMinWidth;
    bool m_folderButtonsVisible;
    bool m_checkBoxesVisible;
};

} // namespace SkinUI
