#include "app/windows/MainWnd.h"

#include <cwchar>

#include "app/windows/CompressorsOnWnd.h"
#include "app/windows/SettingsFile.h"
#include "base/Log.h"
#include "uilib/control/Menu.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

struct MenuItem {
    CUIString name;
    CUIString userData;
};

enum class Match { StartsWith, Is, IsIgnoringCase };

struct MenuRule {
    const wchar_t* name;
    Match match;
    void (*action)(CMainWnd& window, const MenuItem& item);
};

bool Matches(const MenuRule& rule, const CUIString& name)
{
    switch (rule.match) {
    case Match::StartsWith: return wcsncmp(name, rule.name, wcslen(rule.name)) == 0;
    case Match::Is: return name == rule.name;
    case Match::IsIgnoringCase: return name.CompareIgnoreCase(rule.name) == 0;
    }
    return false;
}

bool IsLanguage(const wchar_t* name)
{
    const wchar_t* current = CResourceStore::GetInstance()->CurrentLanguageName();
    return current != nullptr && _wcsicmp(current, name) == 0;
}

void SwitchTo(CMainWnd& w, const wchar_t* name, const wchar_t* value)
{
    if (!IsLanguage(name)) w.ChangeLanguage(name, value);
}

void SetOutput(CMainWnd& w, const MenuItem& item)
{
    EqualizerManager& c = w.Controller();
    const int ch = c.menuChannel;
    c.SetOutputValue(ch, item.name, 0);
    if (SceneProfile::IsChannel(ch) && c.Current().bridgeOutputs[ch / 2] != 0) c.SetOutputValue(ch ^ 1, item.name, 0);
}

int UserDataValue(const MenuItem& item)
{
    return static_cast<int>(wcstol(item.userData, nullptr, 10));
}

void OnSceneItem(CMainWnd& w, const MenuItem& item)
{
    EqualizerManager& c = w.Controller();
    const HWND owner = w.GetNativeHandle();
    if (item.name == L"scene_item_load_scene") c.LoadSenceConfigFromDSP(owner);
    else if (item.name == L"scene_item_saveas_scene") c.SaveSenceConfigToDSP(owner);
    else if (item.name == L"scene_item_delete_scene") c.DeleteDSPSenceConfig(owner);
    else if (item.name == L"scene_item_load_file") c.LoadSenceConfigFromFile();
    else if (item.name == L"scene_item_save_file") c.SaveSenceConfigToFile();
    else if (item.name == L"scene_item_load_whole") c.LoadWholeConfigFromFile();
    else if (item.name == L"scene_item_save_whole") c.SaveWholeConfigToFile();
}

void OnAdvanceItem(CMainWnd& w, const MenuItem& item)
{
    if (item.name == L"advance_item_mixer") w.Controller().ShowMixerWnd();
    else if (item.name == L"advance_item_noise_threshold") w.OpenNoiseThresholdWnd();
    else if (item.name == L"advance_item_compressors_on") w.OpenCompressorsOnWnd();
}

// Tested in order; the first match runs.
const MenuRule kMenuRules[] = {
    {L"output_menu", Match::StartsWith, SetOutput},
    {L"output_item", Match::StartsWith, SetOutput},
    {L"link_group_", Match::StartsWith,
     [](CMainWnd& w, const MenuItem& item) {
         LogPrintW(L"%d: %s\n", w.Controller().menuChannel, item.name.CStr());
         w.Controller().SetChSynchronize(w.Controller().menuChannel, UserDataValue(item));
     }},
    {L"delay_link_group_", Match::StartsWith,
     [](CMainWnd& w, const MenuItem& item) {
         LogPrintW(L"%d: %s\n", w.Controller().menuChannel, item.name.CStr());
         w.Controller().SetChDelayLink(w.Controller().menuChannel, UserDataValue(item));
     }},
    {L"option_item_firmware_upgrade", Match::StartsWith, [](CMainWnd& w, const MenuItem&) { w.OpenFirmwareUpdate(); }},
    {L"option_item_reset_default", Match::StartsWith,
     [](CMainWnd& w, const MenuItem&) { w.Controller().ResetMcuFactoryDefault(); }},
    {L"option_item_about", Match::StartsWith, [](CMainWnd& w, const MenuItem&) { w.OpenAbout(); }},
    {L"option_item_language", Match::IsIgnoringCase,
     [](CMainWnd& w, const MenuItem&) {
         if (!IsLanguage(L"cn_zh"))
             w.ChangeLanguage(L"cn_zh", L"1");
         else
             w.ChangeLanguage(L"en", L"0");
     }},
    {L"option_item_language_en", Match::IsIgnoringCase, [](CMainWnd& w, const MenuItem&) { SwitchTo(w, L"en", L"0"); }},
    {L"option_item_language_cn", Match::IsIgnoringCase,
     [](CMainWnd& w, const MenuItem&) { SwitchTo(w, L"cn_zh", L"1"); }},
    {L"option_item_language_ru", Match::IsIgnoringCase, [](CMainWnd& w, const MenuItem&) { SwitchTo(w, L"ru", L"2"); }},
    {L"scene_item_", Match::StartsWith, OnSceneItem},
    {L"advance_item_", Match::StartsWith, OnAdvanceItem},
};

} // namespace

void CMainWnd::OnMenuClick(WPARAM record)
{
    auto* info = reinterpret_cast<TMenuClickInfo*>(record);
    if (info == nullptr) return;
    MenuItem item;
    // The record's texts are terminated by the menu; the copies outlive it.
    item.name = info->name;
    item.userData = info->userData;
    CPaintManagerUI::FreeBlock(info);
    LogPrintW(L"on menu click %s\n", item.name.CStr());
    for (const MenuRule& rule : kMenuRules) {
        if (!Matches(rule, item.name)) continue;
        rule.action(*this, item);
        return;
    }
}

void CMainWnd::ChangeLanguage(const wchar_t* name, const wchar_t* settingValue)
{
    const std::wstring path = SettingsFilePath();
    LogPrintW(L"change language to %s - %s\n", name, settingValue);
    CResourceStore::GetInstance()->SelectLanguage(name);
    WritePrivateProfileStringW(L"config", L"lan", settingValue, path.c_str());
    InvalidateRect(m_window, nullptr, TRUE);
    m_pm.MarkLayoutDirty();
    LogPrintW(L"change language finish\n");
    m_controller.UpdateAllVolumeEdit();
    if (CCompressorsOnWnd* compressors = CCompressorsOnWnd::Current()) compressors->FollowLanguage();
}
