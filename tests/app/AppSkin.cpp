#include "AppSkin.h"

#include <windows.h>
#include <ole2.h>

#include <cwchar>

#include "app/windows/SkinResources.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

bool OpenAppSkin()
{
    static bool opened = false;
    if (opened) return true;
    // As the program: windows register as drop targets, which needs OLE.
    OleInitialize(nullptr);
    CPaintManagerUI::SetModuleInstance(GetModuleHandleW(nullptr));
    LoadSkinResources();
    CResourceStore* store = CResourceStore::GetInstance();
    if (store->LayoutPathOf(L"XML_MSG") == nullptr) return false;
    RegisterSkinLanguages();
    if (store->LanguageCount() != 3) return false;
    store->SelectLanguage(L"en");
    opened = true;
    return true;
}

std::wstring Text(const wchar_t* key)
{
    return CResourceStore::GetInstance()->LookupText(key).CStr();
}

std::string Narrow(const CUIString& text)
{
    return std::string(text.CStr(), text.CStr() + text.Length());
}

std::string Resolved(const wchar_t* key)
{
    return Narrow(CResourceStore::GetInstance()->LookupText(key));
}

std::wstring NameOf(const wchar_t* format, int index)
{
    wchar_t name[64];
    _snwprintf(name, 63, format, index);
    name[63] = L'\0';
    return name;
}

std::wstring TextOf(SkinUI::CPaintManagerUI& manager, const wchar_t* name)
{
    SkinUI::CControlUI* control = manager.FindControlByName(name);
    return control != nullptr ? std::wstring(control->GetTextContent().CStr()) : L"<missing>";
}

bool VisibleOf(SkinUI::CPaintManagerUI& manager, const wchar_t* name)
{
    SkinUI::CControlUI* control = manager.FindControlByName(name);
    return control != nullptr && control->GetVisibility();
}
