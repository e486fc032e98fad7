// Tree view: building from nested markup, pre-order, folding, check
// propagation, subtree removal and insertion with children.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "uilib/control/CheckBox.h"
#include "uilib/control/Label.h"
#include "uilib/control/Option.h"
#include "uilib/control/TreeNode.h"
#include "uilib/control/TreeView.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/UIManager.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;

namespace {

const wchar_t kTreeXml[] =
    L"<Window><TreeView name=\"tree\" visiblecheckbtn=\"TrUe\" itemminwidth=\"120\">"
    L"<TreeNode text=\"A\">"
    L"<TreeNode text=\"A1\"><TreeNode text=\"A1a\"/><TreeNode text=\"A1b\"/></TreeNode>"
    L"<TreeNode text=\"A2\"/>"
    L"</TreeNode>"
    L"<TreeNode text=\"B\"><Label name=\"icon\"/><TreeNode text=\"B1\"/></TreeNode>"
    L"</TreeView></Window>";

// A tree built from the markup above, owned by a manager without a window.
struct TreeHost {
    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = nullptr;
    CTreeViewUI* view = nullptr;

    TreeHost()
    {
        root = builder.BuildFromSource(kTreeXml, nullptr, nullptr, &manager);
        if (root == nullptr) return;
        manager.InitializeTree(root, nullptr);
        view = static_cast<CTreeViewUI*>(root->FindInterface(L"TreeView"));
    }
    ~TreeHost()
    {
        if (root == nullptr) return;
        manager.ForgetControl(root);
        root->AttachManager(nullptr, nullptr, false);
        delete root;
    }

    CTreeNodeUI* Node(const wchar_t* text) const
    {
        for (int i = 0; i < view->GetChildCount(); ++i) {
            CTreeNodeUI* node = view->GetNodeAt(i);
            if (node != nullptr && node->GetItemText() == text) return node;
        }
        return nullptr;
    }
    // Texts of the list items that pass the filter, in list order.
    std::wstring Walk(const std::function<bool(CTreeNodeUI*)>& pass) const
    {
        std::wstring out;
        for (int i = 0; i < view->GetChildCount(); ++i) {
            CTreeNodeUI* node = view->GetNodeAt(i);
            if (node == nullptr || !pass(node)) continue;
            if (!out.empty()) out += L" ";
            out += node->GetItemText().CStr();
        }
        return out;
    }
    std::wstring Order() const
    {
        return Walk([](CTreeNodeUI*) { return true; });
    }
    std::wstring Shown() const
    {
        return Walk([](CTreeNodeUI* n) { return n->GetVisibility(); });
    }
    std::wstring Checked() const
    {
        return Walk([](CTreeNodeUI* n) { return n->GetCheckBox()->IsChecked(); });
    }
};

// A detached node X with child X1, which has child X1a.
CTreeNodeUI* NewBranch()
{
    CTreeNodeUI* x = new CTreeNodeUI();
    x->SetItemText(L"X");
    CTreeNodeUI* x1 = new CTreeNodeUI();
    x1->SetItemText(L"X1");
    CTreeNodeUI* x1a = new CTreeNodeUI();
    x1a->SetItemText(L"X1a");
    x1->AddChildNode(x1a);
    x->AddChildNode(x1);
    return x;
}

void Fold(CTreeNodeUI* node, bool folded)
{
    node->GetFolderButton()->SetCheckedState(folded);
}

struct TreeCase {
    const char* name;
    std::function<void(TreeHost&)> act;
    const wchar_t* order;
    const wchar_t* shown;
    const wchar_t* checked;
};

const wchar_t kAll[] = L"A A1 A1a A1b A2 B B1";

const TreeCase kTreeCases[] = {
    {"markup nests in pre-order", [](TreeHost&) {}, kAll, kAll, L""},
    {"folding hides the descendants", [](TreeHost& t) { Fold(t.Node(L"A1"), true); }, kAll, L"A A1 A2 B B1", L""},
    {"unfolding keeps a folded child's children hidden",
     [](TreeHost& t) {
         Fold(t.Node(L"A1"), true);
         Fold(t.Node(L"A"), true);
         Fold(t.Node(L"A"), false);
     },
     kAll, L"A A1 A2 B B1", L""},
    {"a double click folds the node",
     [](TreeHost& t) { SkinUITest::SendEvent(*t.Node(L"B"), UIEVENT_DBLCLICK); }, kAll, L"A A1 A1a A1b A2 B", L""},
    {"checking sets the descendants only",
     [](TreeHost& t) { t.Node(L"A1")->SetCheckBoxChecked(true); }, kAll, kAll, L"A1 A1a A1b"},
    {"unchecking a branch under a checked node",
     [](TreeHost& t) {
         t.Node(L"A")->SetCheckBoxChecked(true);
         t.Node(L"A1")->SetCheckBoxChecked(false);
     },
     kAll, kAll, L"A A2"},
    {"checking the whole view", [](TreeHost& t) { t.view->CheckSubtree(true, nullptr); }, kAll, kAll, kAll},
    {"removing a child node takes its subtree",
     [](TreeHost& t) { EXPECT_TRUE(t.Node(L"A")->RemoveChild(t.Node(L"A1"))); }, L"A A2 B B1", L"A A2 B B1", L""},
    {"removing every child of a node keeps its row",
     [](TreeHost& t) {
         CTreeNodeUI* a = t.Node(L"A");
         EXPECT_TRUE(a->AddChild(new CLabelUI()));
         a->RemoveAllChildren();
         EXPECT_EQ(1, a->GetChildCount());
         EXPECT_EQ(a->GetRowLayout(), a->GetChildAt(0));
         EXPECT_EQ(0, a->GetChildNodeCount());
         EXPECT_EQ(L"A", a->GetItemText());
     },
     L"A B B1", L"A B B1", L""},
    {"removing a node from the view takes its subtree",
     [](TreeHost& t) { EXPECT_TRUE(t.view->RemoveNode(t.Node(L"A"))); }, L"B B1", L"B B1", L""},
    {"removing a leaf row by index",
     [](TreeHost& t) {
         EXPECT_TRUE(t.view->RemoveChildAt(t.Node(L"A2")->GetTreeIndex()));
         EXPECT_EQ(1, t.Node(L"A")->GetChildNodeCount());
     },
     L"A A1 A1a A1b B B1", L"A A1 A1a A1b B B1", L""},
    {"adding a branch puts it after the last descendant",
     [](TreeHost& t) { EXPECT_TRUE(t.Node(L"A")->AddChildNode(NewBranch())); },
     L"A A1 A1a A1b A2 X X1 X1a B B1", L"A A1 A1a A1b A2 X X1 X1a B B1", L""},
    {"inserting a branch before the first child",
     [](TreeHost& t) { EXPECT_TRUE(t.Node(L"A")->InsertChildAt(NewBranch(), 0)); },
     L"A X X1 X1a A1 A1a A1b A2 B B1", L"A X X1 X1a A1 A1a A1b A2 B B1", L""},
    {"inserting past the children appends after the subtree",
     [](TreeHost& t) { EXPECT_TRUE(t.Node(L"A1")->InsertChildAt(NewBranch(), 7)); },
     L"A A1 A1a A1b X X1 X1a A2 B B1", L"A A1 A1a A1b X X1 X1a A2 B B1", L""},
    {"inserting a branch before a row of the view",
     [](TreeHost& t) { EXPECT_EQ(t.view->InsertNodeAt(NewBranch(), 5), 8); },
     L"A A1 A1a A1b A2 X X1 X1a B B1", L"A A1 A1a A1b A2 X X1 X1a B B1", L""},
};

class TreeOperations : public ::testing::TestWithParam<TreeCase> {};

TEST_P(TreeOperations, ListOrderVisibilityAndChecks)
{
    TreeHost tree;
    ASSERT_NE(tree.view, nullptr);
    GetParam().act(tree);
    EXPECT_EQ(GetParam().order, tree.Order());
    EXPECT_EQ(GetParam().shown, tree.Shown());
    EXPECT_EQ(GetParam().checked, tree.Checked());
}

INSTANTIATE_TEST_SUITE_P(Tree, TreeOperations, ::testing::ValuesIn(kTreeCases),
                         [](const ::testing::TestParamInfo<TreeCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != '\0'; ++c)
                                 if (isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

TEST(TreeStructure, ParentsIndentsAndViewFlags)
{
    TreeHost tree;
    ASSERT_NE(tree.view, nullptr);
    CTreeNodeUI* a = tree.Node(L"A");
    CTreeNodeUI* a1 = tree.Node(L"A1");
    CTreeNodeUI* a1b = tree.Node(L"A1b");
    EXPECT_EQ(nullptr, a->GetParentNode());
    EXPECT_EQ(a, a1->GetParentNode());
    EXPECT_EQ(a1b, a->GetChildNode(0)->GetLastDescendant());
    EXPECT_EQ(tree.view, a1b->GetTreeView());
    EXPECT_FALSE(a->GetIndentLine()->GetVisibility());
    EXPECT_EQ(18, a1->GetIndentLine()->GetFixedSizeValue().cx);
    EXPECT_EQ(34, a1b->GetIndentLine()->GetFixedSizeValue().cx);
    EXPECT_TRUE(tree.view->AreCheckBoxesVisible());
    EXPECT_TRUE(a1b->GetCheckBox()->GetVisibility());
    EXPECT_EQ(120, a1b->GetMinSizeValue().cx);
    EXPECT_EQ(2u, tree.view->GetOwnerKind());
}

TEST(TreeStructure, ControlsThatAreNotNodes)
{
    TreeHost tree;
    ASSERT_NE(tree.view, nullptr);
    const int rows = tree.view->GetChildCount();
    CLabelUI label;
    EXPECT_FALSE(tree.view->AddNode(&label));
    EXPECT_EQ(-1, tree.view->InsertNodeAt(&label, 0));
    EXPECT_EQ(rows, tree.view->GetChildCount());

    // Markup puts them into the node's row, after the text.
    CTreeNodeUI* b = tree.Node(L"B");
    CControlUI* icon = tree.manager.FindControlByName(L"icon");
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(b->GetRowLayout(), icon->GetParentControl());
    EXPECT_EQ(4, b->GetRowLayout()->IndexOfChild(icon));
    // Added by a call they are ordinary children of the node.
    const int children = b->GetChildCount();
    EXPECT_EQ(1, children);
    EXPECT_TRUE(b->AddChild(new CLabelUI()));
    EXPECT_EQ(children + 1, b->GetChildCount());
    EXPECT_EQ(1, b->GetChildNodeCount());
}

TEST(TreeStructure, FolderButtonFlagReadsTrueInAnyCase)
{
    TreeHost tree;
    ASSERT_NE(tree.view, nullptr);
    const std::pair<const wchar_t*, bool> cases[] = {{L"TRUE", true}, {L"yes", false}, {L"true", true}, {L"1", false}};
    for (const auto& c : cases) {
        tree.view->ApplyAttribute(L"VisibleFolderBtn", c.first);
        EXPECT_EQ(c.second, tree.view->AreFolderButtonsVisible()) << c.first;
        EXPECT_EQ(c.second, tree.Node(L"A1a")->GetFolderButton()->GetVisibility()) << c.first;
    }
}

TEST(TreeColours, SelectionAndHoverColoursOfTheText)
{
    TreeHost tree;
    ASSERT_NE(tree.view, nullptr);
    tree.view->ApplyAttribute(L"itemtextcolor", L"#FF101010");
    tree.view->ApplyAttribute(L"itemhottextcolor", L"#FF202020");
    CTreeNodeUI* a2 = tree.Node(L"A2");
    COptionUI* text = a2->GetTextButton();

    SkinUITest::SendEvent(*a2, UIEVENT_MOUSEENTER);
    EXPECT_EQ(0xFF202020u, text->GetTextColor());
    SkinUITest::SendEvent(*a2, UIEVENT_MOUSELEAVE);
    EXPECT_EQ(0xFF101010u, text->GetTextColor());

    // Selected with no selected colour: the colour stays on leave.
    a2->SetItemSelected(true);
    text->SetTextColor(0xFF303030);
    SkinUITest::SendEvent(*a2, UIEVENT_MOUSELEAVE);
    EXPECT_EQ(0xFF303030u, text->GetTextColor());

    a2->SetSelectedItemTextColor(0xFF404040);
    a2->SetItemSelected(false);
    a2->SetItemSelected(true);
    EXPECT_EQ(0xFF404040u, text->GetTextColor());
}

} // namespace
