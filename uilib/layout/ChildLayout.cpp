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

void CChildLayoutUI::Initialize()
{
    if (!m_layoutFile.IsEmpty()) {
        CDialogBuilder builder;
        CControlUI* root = builder.BuildFromSource(m_layoutFile, nullptr, nullptr, m_manager, nullptr);
        // A second initialisation replaces the content instead of stacking a copy.
        RemoveAllChildren();
        if (root != nullptr) AddChild(root);
    }
    CContainerUI::Initialize();
}

} // namespace SkinUI
