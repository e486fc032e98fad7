#include "app/windows/SkinResources.h"

#include <windows.h>

#include "skin/skin_password.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/SkinDocumentLoader.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

void LoadSkinResources()
{
    CPaintManagerUI::SetResourceKind(UIRES_ZIP_MEMORY);
    CUIString folder = CPaintManagerUI::ModuleFolder();
    folder += L"skin\\Varolt12to16_BrisaDSP\\";
    CPaintManagerUI::SetSkinFolder(folder);

    // Layouts and language files are read through the store's loader, which
    // looks in the archive once it is open.
    CResourceStore::GetInstance()->SetDocumentLoader(LoadSkinDocument);

    HINSTANCE module = CPaintManagerUI::ResourceInstance();
    HRSRC found = FindResourceW(module, L"IDR_ZIPRES", L"ZIPRES");
    if (found == nullptr) return;
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes != nullptr && size != 0 &&
        CPaintManagerUI::OpenSkinZipFromMemory(bytes, size, BrisaSkin::kSkinPassword)) {
        CResourceStore::GetInstance()->LoadResourceIndex(L"xml\\res.xml");
    }
    if (loaded != nullptr) FreeResource(loaded);
}

void RegisterSkinLanguages()
{
    CResourceStore* store = CResourceStore::GetInstance();
    store->AddLanguage(L"lan/lan_en.xml", L"en");
    store->AddLanguage(L"lan/lan_cn.xml", L"cn_zh");
    store->AddLanguage(L"lan/lan_ru.xml", L"ru");
}
