#include "SkinVariants.h"

#include <windows.h>

#include "tests/uilib/kit/MessagePump.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"

using namespace SkinUI;

void ForEachLanguageAndDpi(const std::function<void(const wchar_t* language, int dpi)>& check)
{
    CResourceStore* store = CResourceStore::GetInstance();
    const wchar_t* const languages[] = {L"en", L"cn_zh", L"ru"};
    const int dpis[] = {96, 120, 144};
    for (const wchar_t* language : languages) {
        store->SelectLanguage(language);
        for (int dpi : dpis) check(language, dpi);
    }
    store->SelectLanguage(L"en");
}

void ShowAtDpi(WindowImplBase& window, int dpi)
{
    CPaintManagerUI& manager = window.PaintManager();
    manager.DpiScaler()->SetAwareness(UI_DPI_PER_MONITOR_AWARE);
    manager.ApplyDpi(dpi);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    SkinUITest::PumpFor(300);
}
