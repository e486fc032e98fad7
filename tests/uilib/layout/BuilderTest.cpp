#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "uilib/core/ControlFactory.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/ChildLayout.h"
#include "uilib/layout/Container.h"
#include "uilib/layout/VerticalLayout.h"

using namespace SkinUI;

namespace {

// An application control: records how many children it had when its own
// attributes arrived.
class CCurveUI : public CContainerUI {
public:
    const wchar_t* GetTypeName() const override { return L"CurveUI"; }
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override
    {
        childrenAtFirstAttribute.push_back(GetChildCount());
        CContainerUI::ApplyAttribute(name, value);
    }
    std::vector<int> childrenAtFirstAttribute;
};

class CCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateCustomControl(const wchar_t* className) override
    {
        asked.push_back(className);
        if (std::wstring(className) == L"Curve") return new CCurveUI();
        return nullptr;
    }
    std::vector<std::wstring> asked;
};

CContainerUI* AsContainer(CControlUI* control)
{
    return static_cast<CContainerUI*>(control->FindInterface(L"Container"));
}

// Builds with a manager that has no window; the manager owns the tree.
struct TBuild {
    CPaintManagerUI manager;
    CCallback callback;
    CDialogBuilder builder;
    CControlUI* root = nullptr;

    explicit TBuild(const wchar_t* xml)
    {
        root = builder.BuildFromSource(xml, nullptr, &callback, &manager);
        if (root != nullptr) manager.InitializeTree(root, nullptr);
    }
    ~TBuild()
    {
        if (root == nullptr) return;
        manager.ForgetControl(root);
        root->AttachManager(nullptr, nullptr, false);
        delete root;
    }
};

TEST(DialogBuilder, BuildsIntoAContainerAlreadyInAWindow)
{
    TBuild build(L"<Window><VerticalLayout name=\"host\"/></Window>");
    ASSERT_NE(nullptr, build.root);
    CDialogBuilder inner;
    CControlUI* row = inner.BuildFromSource(
        L"<Layout><HorizontalLayout name=\"row\"><Control name=\"cell\" width=\"84\"/></HorizontalLayout></Layout>",
        nullptr, nullptr, &build.manager, build.root);
    ASSERT_NE(nullptr, row) << inner.LastError().CStr();
    CControlUI* cell = build.manager.FindControlByName(L"cell");
    ASSERT_NE(nullptr, cell);
    // Attached for painting and lookups, in the container it was built into.
    EXPECT_EQ(&build.manager, row->GetPaintManager());
    EXPECT_EQ(&build.manager, cell->GetPaintManager());
    EXPECT_EQ(build.root, row->GetParentControl());
    EXPECT_EQ(row, cell->GetParentControl());
    EXPECT_EQ(84, cell->GetFixedSizeValue().cx);
    EXPECT_EQ(1, AsContainer(build.root)->GetChildCount());
}

TEST(ControlFactory, NamesIgnoreCaseAndTheFirstRegistrationWins)
{
    CControlFactory* factory = CControlFactory::GetInstance();
    CControlUI* a = factory->CreateControl(L"CVerticalLayoutUI");
    CControlUI* b = factory->CreateControl(L"cverticallayoutui");
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_STREQ(L"VerticalLayoutUI", a->GetTypeName());
    EXPECT_STREQ(L"VerticalLayoutUI", b->GetTypeName());
    delete a;
    delete b;
    EXPECT_EQ(nullptr, factory->CreateControl(L"CNoSuchUI"));
    const int count = factory->Count();
    EXPECT_FALSE(factory->RegisterControl(L"CCONTAINERUI", []() -> CControlUI* { return new CVerticalLayoutUI(); }));
    EXPECT_EQ(count, factory->Count());
    CControlUI* c = factory->CreateControl(L"CContainerUI");
    EXPECT_STREQ(L"ContainerUI", c->GetTypeName());
    delete c;
}

TEST(DialogBuilder, BuildsTheTreeWithDefaultsStylesIncludesAndCustomTags)
{
    TBuild build(
        L"<Window size=\"300,200\">"
        L"<Font id=\"1\" name=\"Arial\" size=\"14\" bold=\"true\"/>"
        L"<Default name=\"Control\" value=\"height=&quot;21&quot; userdata=&quot;default&quot;\"/>"
        L"<Style name=\"st_wide\" value=\"width=&quot;77&quot;\"/>"
        L"<VerticalLayout name=\"root\" inset=\"1,2,3,4\">"
        L"  <Control name=\"a\"/>"
        L"  <Control name=\"b\" userdata=\"own\" innerstyle=\"st_wide\"/>"
        L"  <Include source=\"&lt;Layout&gt;&lt;Control name=&quot;inc&quot;/&gt;&lt;/Layout&gt;\" count=\"3\"/>"
        L"  <Include source=\"&lt;Layout&gt;&lt;Control name=&quot;none&quot;/&gt;&lt;/Layout&gt;\" count=\"0\"/>"
        L"  <Curve name=\"curve\" padding=\"1,1,1,1\"><Control name=\"inner\"/></Curve>"
        L"  <Mystery name=\"gone\"><Control name=\"lost\"/></Mystery>"
        L"</VerticalLayout>"
        L"</Window>");
    ASSERT_NE(nullptr, build.root) << build.builder.LastError().CStr();
    EXPECT_STREQ(L"VerticalLayoutUI", build.root->GetTypeName());
    EXPECT_EQ(L"root", build.root->GetControlName());
    EXPECT_EQ(2, AsContainer(build.root)->GetInsetValue().top);

    CContainerUI* root = AsContainer(build.root);
    ASSERT_EQ(6, root->GetChildCount());
    const wchar_t* names[] = {L"a", L"b", L"inc", L"inc", L"inc", L"curve"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(names[i], root->GetChildAt(i)->GetControlName()) << i;

    CControlUI* a = root->GetChildAt(0);
    EXPECT_EQ(21, a->GetFixedSizeValue().cy);
    EXPECT_EQ(L"default", a->GetUserDataText());
    CControlUI* b = root->GetChildAt(1);
    EXPECT_EQ(L"own", b->GetUserDataText());
    EXPECT_EQ(77, b->GetFixedSizeValue().cx);

    CCurveUI* curve = static_cast<CCurveUI*>(root->GetChildAt(5));
    EXPECT_STREQ(L"CurveUI", curve->GetTypeName());
    ASSERT_FALSE(curve->childrenAtFirstAttribute.empty());
    EXPECT_EQ(1, curve->childrenAtFirstAttribute.front());

    // The callback hears bare tags, never the class-name form.
    EXPECT_EQ(std::vector<std::wstring>({L"Curve", L"Mystery"}), build.callback.asked);
    EXPECT_EQ(L"Mystery", build.builder.UnknownTags());

    // The tree is attached again by the manager: parents are set.
    EXPECT_EQ(build.root, a->GetParentControl());
    EXPECT_EQ(a, build.manager.FindControlByName(L"a"));
    EXPECT_EQ(nullptr, build.manager.FindControlByName(L"lost"));
    EXPECT_EQ(nullptr, build.manager.FindControlByName(L"none"));

    TFontEntry* font = build.manager.FontEntry(1);
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(L"Arial", font->face);
    EXPECT_TRUE(font->bold);
}

TEST(DialogBuilder, FontWithoutIdRegistersNothing)
{
    TBuild build(L"<Window><Font name=\"Courier New\" size=\"30\" default=\"true\"/><Control/></Window>");
    ASSERT_NE(nullptr, build.root);
    EXPECT_NE(L"Courier New", build.manager.DefaultFontEntry()->face);
}

TEST(DialogBuilder, TagsIgnoreCase)
{
    TBuild build(L"<Window><VERTICALLAYOUT><container/><CoNtRoL/></VERTICALLAYOUT></Window>");
    ASSERT_NE(nullptr, build.root);
    EXPECT_STREQ(L"VerticalLayoutUI", build.root->GetTypeName());
    ASSERT_EQ(2, AsContainer(build.root)->GetChildCount());
    EXPECT_STREQ(L"ContainerUI", AsContainer(build.root)->GetChildAt(0)->GetTypeName());
    EXPECT_TRUE(build.builder.UnknownTags().IsEmpty());
}

TEST(DialogBuilder, ChildrenOfANonContainerAreRefused)
{
    TBuild build(L"<Window><VerticalLayout><Control><Control name=\"x\"/></Control></VerticalLayout></Window>");
    ASSERT_NE(nullptr, build.root);
    ASSERT_EQ(1, AsContainer(build.root)->GetChildCount());
    EXPECT_EQ(nullptr, build.manager.FindControlByName(L"x"));
    EXPECT_FALSE(build.builder.LastError().IsEmpty());
}

TEST(DialogBuilder, BadDocumentsGiveNoTree)
{
    CDialogBuilder builder;
    EXPECT_EQ(nullptr, builder.BuildFromSource(L"<Window><Control></Window>", nullptr, nullptr, nullptr));
    EXPECT_FALSE(builder.LastError().IsEmpty());
    EXPECT_EQ(nullptr, builder.BuildFromSource(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, builder.BuildFromSource(L"no/such/layout.xml", nullptr, nullptr, nullptr));
}

// Layout files in a folder of their own, found through the skin folder.
class DialogBuilderFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"brisa_builder_test\\";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        m_oldFolder = CPaintManagerUI::SkinFolder().CStr();
        CPaintManagerUI::SetSkinFolder(m_folder.c_str());
    }
    void TearDown() override
    {
        for (const std::wstring& name : m_files) DeleteFileW((m_folder + name).c_str());
        RemoveDirectoryW(m_folder.c_str());
        CPaintManagerUI::SetSkinFolder(m_oldFolder.c_str());
    }
    void Write(const wchar_t* name, const char* text)
    {
        m_files.push_back(name);
        HANDLE file = CreateFileW((m_folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
        CloseHandle(file);
    }

    std::wstring m_folder;
    std::wstring m_oldFolder;
    std::vector<std::wstring> m_files;
};

TEST_F(DialogBuilderFiles, IncludedFileIsBuiltCountTimes)
{
    Write(L"row.xml", "<Layout><Control name=\"row\"/></Layout>");
    TBuild build(L"<Window><VerticalLayout><Include source=\"row.xml\" count=\"3\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, build.root);
    EXPECT_EQ(3, AsContainer(build.root)->GetChildCount());
}

TEST_F(DialogBuilderFiles, LayoutIdResolvesThroughTheResourceIndex)
{
    Write(L"panel.xml", "<Window><Container name=\"panel\"/></Window>");
    CResourceStore::GetInstance()->LoadResourceIndex(L"<Res><Xml id=\"XML_TEST_PANEL\" path=\"panel.xml\"/></Res>");
    TBuild build(L"XML_TEST_PANEL");
    ASSERT_NE(nullptr, build.root) << build.builder.LastError().CStr();
    EXPECT_EQ(L"panel", build.root->GetControlName());
}

TEST_F(DialogBuilderFiles, SelfIncludeAndIncludeCyclesAreRefused)
{
    Write(L"self.xml", "<Layout><Control name=\"s\"/><Include source=\"self.xml\"/></Layout>");
    Write(L"ping.xml", "<Layout><Control name=\"ping\"/><Include source=\"pong.xml\"/></Layout>");
    Write(L"pong.xml", "<Layout><Control name=\"pong\"/><Include source=\"PING.xml\"/></Layout>");

    TBuild self(L"<Window><VerticalLayout><Include source=\"self.xml\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, self.root);
    EXPECT_EQ(1, AsContainer(self.root)->GetChildCount());
    EXPECT_NE(-1, self.builder.LastError().IndexOf(L"self.xml")) << self.builder.LastError().CStr();

    TBuild cycle(L"<Window><VerticalLayout><Include source=\"ping.xml\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, cycle.root);
    EXPECT_EQ(2, AsContainer(cycle.root)->GetChildCount());
    EXPECT_FALSE(cycle.builder.LastError().IsEmpty());
}

TEST_F(DialogBuilderFiles, TopLevelIncludeBecomesTheRootAndLeaksNothing)
{
    Write(L"panel.xml", "<Window><Container name=\"panel\"><Control/></Container></Window>");
    const int baseline = CControlUI::LiveCount();
    {
        TBuild build(L"<Window><Include source=\"panel.xml\"/></Window>");
        ASSERT_NE(nullptr, build.root) << build.builder.LastError().CStr();
        EXPECT_EQ(L"panel", build.root->GetControlName());
        EXPECT_TRUE(build.builder.LastError().IsEmpty());
    }
    EXPECT_EQ(baseline, CControlUI::LiveCount());
    {
        // A second copy has nowhere to go: refused and freed.
        TBuild build(L"<Window><Include source=\"panel.xml\" count=\"2\"/></Window>");
        ASSERT_NE(nullptr, build.root);
        EXPECT_EQ(L"panel", build.root->GetControlName());
        EXPECT_NE(-1, build.builder.LastError().IndexOf(L"top-level")) << build.builder.LastError().CStr();
    }
    EXPECT_EQ(baseline, CControlUI::LiveCount());
}

// The child layout builds its file when it is initialised, once per
// initialisation; a file that cannot be built leaves it empty, and so does
// one that an enclosing child layout is building (itself, or a cycle).
TEST_F(DialogBuilderFiles, ChildLayoutBuildsItsFileAtInitialisation)
{
    Write(L"child.xml", "<Window><HorizontalLayout name=\"inside\"><Label name=\"deep\"/></HorizontalLayout></Window>");
    Write(L"selfchild.xml", "<Window><VerticalLayout><ChildLayout name=\"again\" xmlfile=\"SelfChild.xml\"/>"
                            "</VerticalLayout></Window>");
    Write(L"ping_child.xml", "<Window><ChildLayout name=\"to_pong\" xmlfile=\"pong_child.xml\"/></Window>");
    Write(L"pong_child.xml", "<Window><ChildLayout name=\"to_ping\" xmlfile=\"ping_child.xml\"/></Window>");
    const struct {
        const wchar_t* xml;
        int children;
        const wchar_t* refused; // the nested child layout left empty, or null
        const wchar_t* file;    // the file its refusal names
    } cases[] = {
        {L"<Window><VerticalLayout><ChildLayout name=\"c\" xmlfile=\"child.xml\"/></VerticalLayout></Window>", 1,
         nullptr, nullptr},
        {L"<Window><VerticalLayout><ChildLayout name=\"c\" xmlfile=\"missing.xml\"/></VerticalLayout></Window>", 0,
         nullptr, nullptr},
        {L"<Window><VerticalLayout><ChildLayout name=\"c\"/></VerticalLayout></Window>", 0, nullptr, nullptr},
        {L"<Window><VerticalLayout><ChildLayout name=\"c\" xmlfile=\"selfchild.xml\"/></VerticalLayout></Window>",
         1, L"again", L"SelfChild.xml"},
        {L"<Window><VerticalLayout><ChildLayout name=\"c\" xmlfile=\"ping_child.xml\"/></VerticalLayout></Window>",
         1, L"to_ping", L"ping_child.xml"},
    };
    for (const auto& c : cases) {
        TBuild build(c.xml);
        ASSERT_NE(nullptr, build.root) << c.xml;
        CControlUI* child = build.manager.FindControlByName(L"c");
        ASSERT_NE(nullptr, child) << c.xml;
        EXPECT_STREQ(L"ChildLayoutUI", child->GetTypeName());
        EXPECT_EQ(child, child->FindInterface(L"ChildLayout"));
        // Not a container to the skin: elements cannot be nested in it.
        EXPECT_EQ(nullptr, child->FindInterface(L"IContainer"));
        CContainerUI* layout = static_cast<CContainerUI*>(child->FindInterface(L"ChildLayout"));
        EXPECT_EQ(c.children, layout->GetChildCount()) << c.xml;
        if (c.refused != nullptr) {
            CControlUI* nested = build.manager.FindControlByName(c.refused);
            ASSERT_NE(nullptr, nested) << c.xml;
            CChildLayoutUI* refused = static_cast<CChildLayoutUI*>(nested->FindInterface(L"ChildLayout"));
            EXPECT_EQ(0, refused->GetChildCount());
            EXPECT_NE(-1, refused->LastError().IndexOf(c.file)) << refused->LastError().CStr();
            continue;
        }
        if (c.children == 0) continue;
        CControlUI* deep = build.manager.FindControlByName(L"deep");
        ASSERT_NE(nullptr, deep);
        EXPECT_EQ(build.manager.FindControlByName(L"inside"), deep->GetParentControl());
        // Initialising again rebuilds instead of stacking a second copy.
        child->Initialize();
        EXPECT_EQ(1, layout->GetChildCount());
    }
}

} // namespace
