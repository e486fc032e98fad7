#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "DialogScript.h"
#include "app/controls/SButtonUI.h"
#include "app/controls/UIEqualizer.h"
#include "app/windows/MainWnd.h"
#include "tests/support/SimUnit.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/layout/Container.h"

using namespace SkinUI;

namespace {

// A name the program looks up, the class it drives the control as, and
// whether the control carries its index in its user data.
struct Expected {
    const wchar_t* format; // "%d" once for indexed names
    int count;             // 0: a single control
    const wchar_t* face;   // interface the control must answer, null: any control
    bool indexInUserData;
};

const Expected kExpected[] = {
    {L"closebtn", 0, L"Button", false},
    {L"minbtn", 0, L"Button", false},
    {L"btnConnect", 0, L"SButton", false},
    {L"btn_scene", 0, L"Button", false},
    {L"btn_option", 0, L"Button", false},
    {L"btn_advance", 0, L"Button", false},
    {L"btn_debug", 0, L"Button", false},
    {L"channel_settings", 0, L"IContainer", false},
    {L"btn_input_source", 0, L"Combo", false},
    {L"slider_main_volume", 0, L"Slider", false},
    {L"edit_main_volume", 0, L"Edit", false},
    {L"main_mute", 0, L"CheckBox", false},
    {L"btn_amp_onoff", 0, L"SButton", false},
    {L"btn_rem_out1_onoff", 0, L"SButton", false},
    {L"btn_rem_out2_onoff", 0, L"SButton", false},
    {L"btn_2ohm_spk", 0, L"SButton", false},
    {L"btn_noise_gate", 0, L"SButton", false},
    {L"equalizer", 0, L"Curve", false},
    {L"btn_arg_eq", 0, L"SButton", false},
    {L"btn_bypass", 0, L"Button", false},
    {L"btn_reset_eq", 0, L"Button", false},
    {L"hp_type", 0, L"Combo", false},
    {L"lp_type", 0, L"Combo", false},
    {L"hp_slop", 0, L"Combo", false},
    {L"lp_slop", 0, L"Combo", false},
    {L"hp_freq", 0, L"Edit", false},
    {L"lp_freq", 0, L"Edit", false},
    {L"label_channel_name", 0, L"Label", false},
    {L"comb_ch_unit", 0, L"Combo", false},
    {L"btn_delay_down", 0, L"Button", false},
    {L"btn_delay_up", 0, L"Button", false},
    {L"btn_lock_output", 0, L"SButton", false},
    {L"btn_link_output", 0, L"SButton", false},
    {L"btn_reset_link", 0, L"Button", false},
    {L"btn_reset_output", 0, L"Button", false},
    {L"eq_slider_%d", 31, L"Slider", true},
    {L"eq_gain_%d", 31, L"Edit", true},
    {L"eq_freq_%d", 31, L"Edit", true},
    {L"eq_q_%d", 31, L"Edit", true},
    {L"pt_enable_%d", 31, L"SButton", true},
    {L"ch_enable_%d", 16, L"SButton", true},
    {L"ch_show_%d", 16, L"CheckBox", true},
    {L"ch_output_btn_%d", 16, L"Button", true},
    {L"slider_ch_volume_%d", 16, L"Slider", true},
    {L"edit_ch_volume_%d", 16, L"Edit", true},
    {L"ch_mute_%d", 16, L"CheckBox", true},
    {L"ch_solo_%d", 16, L"CheckBox", true},
    {L"ch_phase_%d", 16, L"CheckBox", true},
    {L"ch_synchronize_%d", 16, L"CheckBox", true},
    {L"delay_link_%d", 16, L"CheckBox", true},
    {L"edit_ch_delay_%d", 16, L"Edit", true},
    {L"slider_ch_delay_%d", 16, L"Slider", true},
    {L"delay_lable_%d", 16, L"Label", false},
};

void CollectTree(CControlUI* control, std::vector<CControlUI*>& all)
{
    if (control == nullptr) return;
    all.push_back(control);
    IContainerUI* container = static_cast<IContainerUI*>(control->FindInterface(L"IContainer"));
    if (container == nullptr) return;
    for (int i = 0; i < container->GetChildCount(); ++i) CollectTree(container->GetChildAt(i), all);
}

class MainWindowLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenAppSkin());
        if (CResourceStore::GetInstance()->LayoutPathOf(L"XML_MAIN") == nullptr) {
            GTEST_SKIP() << "the main layout is not in the skin yet";
        }
        // The window connects at start; with no unit on the bus it stays
        // disconnected and shows no loading window.
        sim::SimUnit::Instance().SetPresent(false);
        m_window = new CMainWnd();
        ASSERT_NE(nullptr, m_window->CreateNativeWindow(nullptr, CMainWnd::kTitle,
                                                        WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0,
                                                        CMainWnd::kWidth, CMainWnd::kHeight));
        SkinUITest::PumpFor(100);
    }
    void TearDown() override
    {
        sim::SimUnit::Instance().SetPresent(true);
        if (m_window == nullptr) return;
        if (IsWindow(*m_window)) DestroyWindow(*m_window);
        delete m_window;
    }
    CMainWnd* m_window = nullptr;
};

TEST_F(MainWindowLayout, HasEveryControlTheProgramLooksUpWithItsClassAndIndex)
{
    CPaintManagerUI& manager = m_window->PaintManager();
    std::wstring missing;
    std::wstring wrongClass;
    std::wstring wrongIndex;
    for (const Expected& e : kExpected) {
        const int count = e.count == 0 ? 1 : e.count;
        for (int i = 0; i < count; ++i) {
            const std::wstring name = e.count == 0 ? e.format : NameOf(e.format, i);
            CControlUI* control = manager.FindControlByName(name.c_str());
            if (control == nullptr) {
                missing += name + L" ";
                continue;
            }
            if (e.face != nullptr && control->FindInterface(e.face) == nullptr) wrongClass += name + L" ";
            if (e.indexInUserData && control->GetUserDataText() != CUIString(std::to_wstring(i).c_str())) {
                wrongIndex += name + L" ";
            }
        }
    }
    for (int i = 0; i < 12; ++i) {
        for (int ch = 0; ch < 16; ++ch) {
            wchar_t name[32];
            _snwprintf(name, 31, L"option_ch_in%d_%d", i, ch);
            CControlUI* control = manager.FindControlByName(name);
            if (control == nullptr) missing += std::wstring(name) + L" ";
            else if (control->FindInterface(L"CheckBox") == nullptr) wrongClass += std::wstring(name) + L" ";
        }
    }
    // The chart itself, not the passive plot that answers to the same face.
    CControlUI* chart = manager.FindControlByName(L"equalizer");
    if (chart != nullptr) {
        EXPECT_STREQ(L"UIEqualizer", chart->GetTypeName());
    }
    EXPECT_EQ(L"", missing);
    EXPECT_EQ(L"", wrongClass);
    EXPECT_EQ(L"", wrongIndex);
}

TEST_F(MainWindowLayout, EveryTextKeyResolvesInEveryLanguage)
{
    std::vector<CControlUI*> all;
    CollectTree(m_window->PaintManager().Root(), all);
    ASSERT_GT(all.size(), 500u);
    CResourceStore* store = CResourceStore::GetInstance();
    const wchar_t* const languages[] = {L"en", L"cn_zh", L"ru"};
    for (const wchar_t* language : languages) {
        store->SelectLanguage(language);
        std::wstring unresolved;
        for (CControlUI* control : all) {
            const CUIString text = control->GetTextContent();
            const CUIString tip = control->GetToolTipText();
            if (wcsncmp(text, L"${", 2) == 0) unresolved += std::wstring(text.CStr()) + L" ";
            if (wcsncmp(store->LookupText(tip), L"${", 2) == 0) unresolved += std::wstring(tip.CStr()) + L" ";
        }
        EXPECT_EQ(L"", unresolved) << language;
    }
    store->SelectLanguage(L"en");
}

TEST_F(MainWindowLayout, OpensAtItsSizeWithoutMaximiseOrSizingFrameAndBinds)
{
    RECT rc;
    GetWindowRect(*m_window, &rc);
    EXPECT_EQ(CMainWnd::kWidth, rc.right - rc.left);
    EXPECT_EQ(CMainWnd::kHeight, rc.bottom - rc.top);
    const LONG style = GetWindowLongW(*m_window, GWL_STYLE);
    EXPECT_EQ(0, style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_FALSE(m_window->IsSecondInstance());
    const BoundControls& c = m_window->Controller().Controls();
    CPaintManagerUI& manager = m_window->PaintManager();
    EXPECT_EQ(manager.FindControlByName(L"slider_main_volume"), static_cast<CControlUI*>(c.mainVolumeSlider));
    EXPECT_EQ(manager.FindControlByName(L"btn_input_source"), static_cast<CControlUI*>(c.inputSource));
    EXPECT_EQ(manager.FindControlByName(L"equalizer"), static_cast<CControlUI*>(c.equalizer));
    EXPECT_EQ(manager.FindControlByName(L"btnConnect"), static_cast<CControlUI*>(c.connect));
    EXPECT_EQ(nullptr, manager.FocusControl()) << "no key presses a control before one is clicked or tabbed to";
    // Built into its container, the channel settings' controls are found too.
    EXPECT_EQ(manager.FindControlByName(L"label_channel_name"), c.channelName);
    ASSERT_NE(nullptr, c.channelName);
    EXPECT_EQ(&manager, c.channelName->GetPaintManager()) << "the channel settings would not paint";
    EXPECT_EQ(static_cast<HWND>(*m_window), m_window->Controller().MainWindow());
}

} // namespace

namespace {

// How the main window is brought to close. A display change restarts the
// program (WinMain starts the new copy once this one has gone), but never
// under a running firmware window: the close waits until that has ended.
struct CloseCase {
    const char* label;
    bool displayChange;   // else the close button
    bool firmwareWindow;  // the change arrives while the firmware update window runs
    bool altF4 = false;   // the installer ends the program there: no restart
};

class MainWindowClose : public MainWindowLayout, public ::testing::WithParamInterface<CloseCase> {};

bool gMainOutlivedTheChange = false;
UINT gUpdateWindowClose = WM_CLOSE;

// Inside the update window's modal loop, once the change has arrived: the
// main window must still be there; then the update window is closed.
void CALLBACK CloseUpdateWindow(HWND, UINT, UINT_PTR id, DWORD)
{
    const HWND update = SkinUITest::FindOwnWindow(L"UpdateFwWnd");
    const HWND main = SkinUITest::FindOwnWindow(L"MainWnd");
    if (update == nullptr) return;
    KillTimer(nullptr, id);
    gMainOutlivedTheChange = main != nullptr && IsWindow(main);
    PostMessageW(update, gUpdateWindowClose, gUpdateWindowClose == WM_SYSCOMMAND ? SC_CLOSE : 0, 0);
}

TEST_P(MainWindowClose, DisconnectsAndEndsTheMessageLoop)
{
    const CloseCase& c = GetParam();
    const HWND window = *m_window;
    if (!c.displayChange) {
        ASSERT_NE(nullptr, dialogs::Find(*m_window, L"closebtn"));
        dialogs::Click(*m_window, window, L"closebtn");
    } else {
        PostMessageW(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
        // A second change before the close asks for nothing more.
        PostMessageW(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1600, 900));
    }
    if (c.firmwareWindow) {
        gMainOutlivedTheChange = false;
        gUpdateWindowClose = c.altF4 ? WM_SYSCOMMAND : WM_CLOSE;
        SetTimer(nullptr, 0, 300, CloseUpdateWindow);
        m_window->OpenFirmwareUpdate();
        EXPECT_TRUE(gMainOutlivedTheChange) << "closed under the firmware window";
    }
    bool quit = false;
    const DWORD start = GetTickCount();
    while (!(quit && !IsWindow(window)) && GetTickCount() - start < 5000) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    EXPECT_TRUE(quit);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(m_window->Controller().Device().IsDeviceOpen());
    EXPECT_EQ(c.displayChange && !c.altF4, m_window->RestartDue());
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowClose,
                         ::testing::Values(CloseCase{"close button", false, false},
                                           CloseCase{"display change", true, false},
                                           CloseCase{"display change under the firmware window", true, true},
                                           CloseCase{"Alt+F4 on the firmware window while a restart waits", true, true, true}));

} // namespace
