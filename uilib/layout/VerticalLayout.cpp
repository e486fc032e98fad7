#include "uilib/layout/VerticalLayout.h"

#include "uilib/core/AttrParse.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : CBoxLayoutUI(true) {}

const wchar_t* CVerticalLayoutUI::GetTypeName() const
{
    return L"VerticalLayoutUI";
}

void* CVerticalLayoutUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"VerticalLayout") == 0) return static_cast<CVerticalLayoutUI*>(this);
    return CBoxLayoutUI::FindInterface(name);
}

void CVerticalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"sepheight")) {
        SetSeparatorHeight(ParseAttrInt(value));
    } else {
        CBoxLayoutUI::ApplyAttribute(name, value);
    }
}

} // namespace SkinUI
