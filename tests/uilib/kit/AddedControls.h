#pragma once

#include "uilib/layout/Container.h"

namespace SkinUITest {

// A plain control with the given attributes, added to the layout.
inline SkinUI::CControlUI* AddControl(SkinUI::CContainerUI& layout, const wchar_t* attributes = L"")
{
    SkinUI::CControlUI* child = new SkinUI::CControlUI();
    child->ApplyAttributeList(attributes);
    layout.AddChild(child);
    return child;
}

} // namespace SkinUITest
