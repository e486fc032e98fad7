#include "uilib/layout/ChildLayout.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/DialogBuilder.h"

namespace SkinUI {

const wchar_t* CChildLayoutUI::GetTypeName() const
{
    return L"ChildLayoutUI";
}

// Answers as a plain control otherwise: the skin cannot nest elements in it.
void* CChildLayoutUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ChildLayout") == 0) return static_cast<CChildLayoutUI*>(this);
    return CControlUI::FindInterface(name);
}

void CChildLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"xmlfile")) {
        SetLayoutFile(value);
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

namespace {

// The files enclosing child layouts of this thread are building, innermost
// first: their content is initialised inside their own Initialize.
struct TBuildingFile {
    const CUIString* file;
    const TBuildingFile* outer;
};
thread_local const TBuildingFile* t_building = nullptr;

} // namespace

CUIString CChildLayoutUI::RefusalOf(const CUIString& file) const
{
    CUIString why;
    int depth = 0;
    for (const TBuildingFile* b = t_building; b != nullptr; b = b->outer, ++depth) {
        if (b->file->CompareIgnoreCase(file) == 0) {
            why.Printf(L"ChildLayout refuses xmlfile(%s): an enclosing child layout is building it", file.CStr());
            return why;
        }
    }
    if (depth >= CDialogBuilder::kMaxIncludeDepth)
        why.Printf(L"ChildLayout refuses xmlfile(%s): child layouts nested too deep", file.CStr());
    return why;
}

void CChildLayoutUI::Initialize()
{
    if (!m_layoutFile.IsEmpty()) {
        // A second initialisation replaces the content instead of stacking a copy.
        RemoveAllChildren();
        m_lastError = RefusalOf(m_layoutFile);
        if (!m_lastError.IsEmpty()) {
            CUIString line = m_lastError;
            line += L"\n";
            OutputDebugStringW(line.CStr());
        } else {
            CDialogBuilder builder;
            CControlUI* root = builder.BuildFromSource(m_layoutFile, nullptr, nullptr, m_manager, nullptr);
            m_lastError = builder.LastError();
            // Nested child layouts initialise inside AddChild.
            const TBuildingFile self = {&m_layoutFile, t_building};
            t_building = &self;
            if (root != nullptr) AddChild(root);
            t_building = self.outer;
        }
    }
    CContainerUI::Initialize();
}

} // namespace SkinUI
