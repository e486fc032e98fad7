#include "uilib/layout/HorizontalLayout.h"

#include "uilib/core/AttrParse.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CBoxLayoutUI(false) {}

const wchar_t* CHorizontalLayoutUI::GetTypeName() const
{
    return L"HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"HorizontalLayout") == 0) return static_cast<CHorizontalLayoutUI*>(this);
    return CBoxLayoutUI::FindInterface(name);
}

void CHorizontalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"sepwidth")) {
        SetSeparatorWidth(ParseAttrInt(value));
    } else {
        CBoxLayoutUI::ApplyAttribute(name, value);
    }
}

} // namespace SkinUI
