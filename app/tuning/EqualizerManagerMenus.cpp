#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include <cwchar>

#include "base/Log.h"
#include "uilib/control/Menu.h"
#include "uilib/control/MenuElement.h"
#include "uilib/control/MenuList.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

// Where a menu opens relative to its control.
enum Anchor { kBelowLeft, kAboveLeft, kBelowRight };
// Above the control, the menu's bottom edge keeps this gap.
const int kAboveGap = 4;
const uint32_t kTopLeftAtPoint = MenuAlignLeft | MenuAlignTop;
const uint32_t kBottomAtPoint = MenuAlignBottom;
const uint32_t kTopRightAtPoint = MenuAlignTop | MenuAlignRight;
const uint32_t kLeftSubMenuAlign = MenuAlignTop | MenuAlignRight | MenuAlignSideFixed;
const int kLeftOpeningChannel = 8;

const wchar_t* const kHiddenAdvanceItems[] = {L"advance_item_autocal", L"advance_item_poweroff_delay",
                                              L"advance_item_ktv", L"advance_item_compressor"};
const wchar_t* const kUnitSceneItems[] = {L"scene_item_load_scene", L"scene_item_saveas_scene",
                                          L"scene_item_delete_scene"};
const wchar_t* const kOutputGroupRows[] = {L"output_menu_front", L"output_menu_front_left", L"output_menu_front_right",
                                           L"output_menu_rear",  L"output_menu_rear_left",  L"output_menu_rear_right",
                                           L"output_menu_center", L"output_menu_subwoof"};
const wchar_t* const kOutputLeaves[] = {
    L"output_menu_front_left_high_freq",  L"output_menu_front_left_mid_freq",
    L"output_menu_front_left_low_freq",   L"output_menu_front_left_mid_high_freq",
    L"output_menu_front_left_mid_low_freq", L"output_menu_front_left_all_freq",
    L"output_menu_front_right_high_freq", L"output_menu_front_right_mid_freq",
    L"output_menu_front_right_low_freq",  L"output_menu_front_right_mid_high_freq",
    L"output_menu_front_right_mid_low_freq", L"output_menu_front_right_all_freq",
    L"output_menu_front_center_all_freq", L"output_menu_rear_left_high_freq",
    L"output_menu_rear_left_mid_freq",    L"output_menu_rear_left_low_freq",
    L"output_menu_rear_left_all_freq",    L"output_menu_rear_right_high_freq",
    L"output_menu_rear_right_mid_freq",   L"output_menu_rear_right_low_freq",
    L"output_menu_rear_right_all_freq",   L"output_menu_rear_center_all_freq",
    L"output_menu_center_high_freq",      L"output_menu_center_low_freq",
    L"output_menu_center_all_freq",       L"output_menu_subwoof_left",
    L"output_menu_subwoof_right",         L"output_menu_subwoof_low",
};

// The language each row of the option menu chooses.
const struct {
    const wchar_t* row;
    const wchar_t* language;
} kLanguageRows[] = {{L"option_item_language_en", L"en"},
                     {L"option_item_language_cn", L"cn_zh"},
                     {L"option_item_language_ru", L"ru"}};
const int kMarkSize = 18;
// No group and groups 1 to 6.
const int kDelayGroupRows = 7;

CMenuElementUI* Row(CMenuWnd* menu, const wchar_t* name)
{
    CMenuUI* root = menu->GetMenuRoot();
    if (root == nullptr) return nullptr;
    return static_cast<CMenuElementUI*>(root->FindDescendantByName(name));
}

// The tick on the row of the current choice, none on the others.
void MarkRow(CMenuElementUI* row, bool current)
{
    if (row == nullptr) return;
    row->SetIcon(current ? L"right.png" : L"");
    row->SetIconSize(kMarkSize, kMarkSize);
}

void EnableRows(CMenuWnd* menu, const wchar_t* const* names, int count, bool enabled)
{
    for (int i = 0; i < count; ++i)
        if (CControlUI* row = Row(menu, names[i])) row->SetEnabledState(enabled);
}

} // namespace

CMenuWnd* EqualizerManager::OpenMenu(HWND mainWnd, CControlUI* control, CMenuWnd*& menu, CPaintManagerUI* notify,
                                     const wchar_t* layout, int anchor, uint32_t align)
{
    // The menu deletes itself when its window goes; only its window is
    // closed here, and the weak pointer clears itself.
    if (menu != nullptr) {
        menu->SetWeakHolder(nullptr);
        menu->CloseMenu(0);
        menu = nullptr;
    }
    if (control == nullptr || mainWnd == nullptr) return nullptr;
    const CUIRect& rc = control->GetPosition();
    POINT point = {anchor == kBelowRight ? rc.right : rc.left, anchor == kAboveLeft ? rc.top - kAboveGap : rc.bottom};
    ClientToScreen(mainWnd, &point);
    auto* opened = new CMenuWnd();
    if (!opened->Init(nullptr, layout, point, notify, nullptr, align)) {
        LogPrintW(L"menu %s could not open\n", layout);
        return nullptr;
    }
    opened->SetWeakHolder(&menu);
    menu = opened;
    return opened;
}

void EqualizerManager::ShowAdvanceMenu(HWND mainWnd, CControlUI* control, CMenuWnd*& menu, CPaintManagerUI* notify)
{
    const ReachedOperation reached(__func__);
    CMenuWnd* opened = OpenMenu(mainWnd, control, menu, notify, L"xml/advance_menu.xml", kBelowLeft, kTopLeftAtPoint);
    if (opened == nullptr) return;
    for (const wchar_t* name : kHiddenAdvanceItems)
        if (CControlUI* row = Row(opened, name)) row->SetVisibility(false);
    opened->ResizeMenu();
}

void EqualizerManager::ShowDelayLinkGroupMenu(HWND mainWnd, CControlUI* control, CMenuWnd*& menu,
                                              CPaintManagerUI* notify)
{
    const ReachedOperation reached(__func__, menuChannel);
    CMenuWnd* opened =
        OpenMenu(mainWnd, control, menu, notify, L"xml/delay_link_group_menu.xml", kAboveLeft, kBottomAtPoint);
    if (opened == nullptr) return;
    const int ch = menuChannel;
    const int group = ch >= 0 && ch < kOutputChannels ? mModel.Current().delayLinkSel[ch] : -1;
    for (int n = 0; n < kDelayGroupRows; ++n) {
        wchar_t name[32];
        _snwprintf(name, 31, L"delay_link_group_%d", n);
        name[31] = L'\0';
        MarkRow(Row(opened, name), n == group);
    }
    opened->ResizeMenu();
}

void EqualizerManager::ShowOutputMenu(HWND mainWnd, CControlUI* control, CMenuWnd*& menu, CPaintManagerUI* notify,
                                      int ch)
{
    const ReachedOperation reached(__func__, ch);
    CMenuWnd::ClearMenuCheckInfo();
    CMenuWnd* opened = OpenMenu(mainWnd, control, menu, notify, L"xml/output_menu.xml", kBelowLeft, kTopLeftAtPoint);
    if (opened == nullptr) return;
    if (ch >= kLeftOpeningChannel) {
        for (const wchar_t* name : kOutputGroupRows)
            if (CMenuElementUI* row = Row(opened, name)) row->SetSubMenuAlign(kLeftSubMenuAlign);
    }
    for (const wchar_t* name : kOutputLeaves) MarkOutputMenuItem(Row(opened, name), name, ch);
    opened->ResizeMenu();
}

void EqualizerManager::ShowOptionMenu(HWND mainWnd, CControlUI* control, CMenuWnd*& menu, CPaintManagerUI* notify)
{
    const ReachedOperation reached(__func__);
    CMenuWnd* opened = OpenMenu(mainWnd, control, menu, notify, L"xml/option_menu.xml", kBelowRight, kTopRightAtPoint);
    if (opened == nullptr) return;
    if (!mDevice.IsDeviceOpen()) {
        const wchar_t* const reset[] = {L"option_item_reset_default"};
        EnableRows(opened, reset, 1, false);
    }
    const wchar_t* current = CResourceStore::GetInstance()->CurrentLanguageName();
    for (const auto& language : kLanguageRows) {
        MarkRow(Row(opened, language.row), _wcsicmp(current, language.language) == 0);
    }
    opened->ResizeMenu();
}

void EqualizerManager::ShowSceneMenu(HWND mainWnd, CControlUI* control, CMenuWnd*& menu, CPaintManagerUI* notify)
{
    const ReachedOperation reached(__func__);
    CMenuWnd* opened = OpenMenu(mainWnd, control, menu, notify, L"xml/scene_menu.xml", kBelowRight, kTopRightAtPoint);
    if (opened == nullptr) return;
    if (!mDevice.IsDeviceOpen()) EnableRows(opened, kUnitSceneItems, 3, false);
    opened->ResizeMenu();
}
