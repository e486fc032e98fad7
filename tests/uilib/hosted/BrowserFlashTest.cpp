// The browser and Flash hosts: the system's browser control made, advised
// and released under Wine (which renders no page), the host's COM answers by
// direct calls, Flash failing cleanly without a player, and the test
// control standing in for a player to exercise the event sink.
#include <string>

#include <mshtmhst.h>
#include <urlmon.h>

#include "HostedFixture.h"
#include "TestControlLink.h"
#include "uilib/control/ActiveXCtrl.h"
#include "uilib/control/ActiveXFrameWnd.h"
#include "uilib/control/Flash.h"
#include "uilib/control/WebBrowser.h"

using namespace SkinUI;
using SkinUITest::HostedFixture;
using SkinUITest::TestControlLink;

namespace {

struct VisibleWindows {
    int count = 0;
};

BOOL CALLBACK CountVisibleOfProcess(HWND window, LPARAM data)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window))
        ++reinterpret_cast<VisibleWindows*>(data)->count;
    return TRUE;
}

int VisibleTopLevelWindows()
{
    VisibleWindows windows;
    EnumWindows(CountVisibleOfProcess, reinterpret_cast<LPARAM>(&windows));
    return windows.count;
}

// {D27CDB6D-AE6D-11CF-96B8-444553540000}
const IID kDiidPlayerEvents = {0xd27cdb6d, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {988934A4-064B-11D3-BB80-00104B35E7F9}: the download manager service and interface.
const GUID kDownloadManager = {0x988934a4, 0x064b, 0x11d3, {0xbb, 0x80, 0x00, 0x10, 0x4b, 0x35, 0xe7, 0xf9}};
// {F38BC242-B950-11D1-8918-00C04FC2C836}
const GUID kDocHostCommands = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

struct HostedObjectsFixture : HostedFixture {
    TestControlLink link;
};

} // namespace

TEST_F(HostedObjectsFixture, SystemBrowserIsMadeAdvisedAndReleasedWithoutADialog)
{
    const int sites = CActiveXCtrl::LiveCount();
    CWebBrowserUI* browser = new CWebBrowserUI();
    browser->ApplyAttributeList(L"homepage=\"about:blank\" autonavi=\"false\"");
    Add(browser, 200);
    Show();
    ASSERT_TRUE(browser->IsCreated());
    ASSERT_NE(browser->GetWebBrowser(), nullptr);
    EXPECT_NE(browser->GetEventCookie(), 0u);
    EXPECT_TRUE(browser->IsAcceleratorRegistered());
    EXPECT_EQ(browser->FindInterface(L"webbrowser"), browser);
    // The browser is windowed: its window is a child of the site's.
    HWND site = browser->GetHostWindow();
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(GetParent(site), Window());
    SkinUITest::Settle();
    EXPECT_EQ(VisibleTopLevelWindows(), 1);

    // A key while the focus is elsewhere stays with the window.
    SetFocus(Window());
    MSG key = {Window(), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_EQ(browser->TranslateAcceleratorMessage(&key), S_FALSE);

    browser->ReleaseControl();
    EXPECT_FALSE(browser->IsCreated());
    EXPECT_EQ(browser->GetWebBrowser(), nullptr);
    EXPECT_EQ(browser->GetEventCookie(), 0u);
    EXPECT_FALSE(browser->IsAcceleratorRegistered());
    EXPECT_EQ(CActiveXCtrl::LiveCount(), sites);
    EXPECT_EQ(CActiveXFrameWnd::LiveCount(), 0);
    EXPECT_EQ(VisibleTopLevelWindows(), 1);
}

namespace {

struct ExecCase {
    const GUID* group;
    DWORD command;
    HRESULT answer;
};

const ExecCase kExec[] = {
    {nullptr, OLECMDID_SHOWSCRIPTERROR, OLECMDERR_E_UNKNOWNGROUP},
    {&GUID_NULL, OLECMDID_SHOWSCRIPTERROR, OLECMDERR_E_UNKNOWNGROUP},
    {&kDocHostCommands, OLECMDID_SHOWMESSAGE, OLECMDERR_E_NOTSUPPORTED},
    {&kDocHostCommands, OLECMDID_SHOWSCRIPTERROR, E_INVALIDARG},
};

struct EventCase {
    DISPID id;
    HRESULT answer;
};

const EventCase kEvents[] = {
    {250, S_OK}, {252, S_OK}, {102, S_OK}, {105, S_OK}, {113, S_OK},
    {259, S_OK}, {271, S_OK}, {273, S_OK}, {104, DISP_E_MEMBERNOTFOUND}, {0, DISP_E_MEMBERNOTFOUND},
};

} // namespace

TEST_F(HostedObjectsFixture, BrowserHostAnswersItsCallers)
{
    CWebBrowserUI browser;
    EXPECT_FALSE(browser.IsCreated());

    // One identity whichever interface is asked.
    IUnknown* fromDispatch = nullptr;
    IUnknown* fromServices = nullptr;
    static_cast<IDispatch*>(&browser)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromDispatch));
    static_cast<IServiceProvider*>(&browser)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromServices));
    EXPECT_NE(fromDispatch, nullptr);
    EXPECT_EQ(fromDispatch, fromServices);
    void* none = &browser;
    EXPECT_EQ(static_cast<IDispatch*>(&browser)->QueryInterface(IID_IOleObject, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    void* service = nullptr;
    EXPECT_EQ(browser.QueryService(SID_SInternetSecurityManager, IID_IInternetSecurityManager, &service), S_OK);
    EXPECT_EQ(service, static_cast<IInternetSecurityManager*>(&browser));
    EXPECT_EQ(browser.QueryService(kDownloadManager, kDownloadManager, &service), E_NOINTERFACE);
    EXPECT_EQ(service, nullptr);

    DWORD policy = 0xFFFF;
    EXPECT_EQ(browser.ProcessUrlAction(L"about:blank", URLACTION_SCRIPT_RUN, reinterpret_cast<BYTE*>(&policy),
                                       sizeof(policy), nullptr, 0, 0, 0),
              S_OK);
    EXPECT_EQ(policy, static_cast<DWORD>(URLPOLICY_ALLOW));
    BYTE small = 0x55;
    EXPECT_EQ(browser.ProcessUrlAction(L"about:blank", URLACTION_SCRIPT_RUN, &small, 1, nullptr, 0, 0, 0),
              INET_E_DEFAULT_ACTION);
    EXPECT_EQ(small, 0x55);
    DWORD zone = 77;
    EXPECT_EQ(browser.MapUrlToZone(L"about:blank", &zone, 0), INET_E_DEFAULT_ACTION);

    for (const ExecCase& c : kExec) {
        VARIANT out;
        VariantInit(&out);
        EXPECT_EQ(browser.Exec(c.group, c.command, 0, nullptr, &out), c.answer);
        if (c.answer == E_INVALIDARG) {
            EXPECT_EQ(out.vt, VT_BOOL);
            EXPECT_EQ(out.boolVal, VARIANT_TRUE);
        }
    }
    for (const EventCase& c : kEvents) {
        EXPECT_EQ(browser.Invoke(c.id, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), c.answer)
            << c.id;
    }
    EXPECT_EQ(browser.Invoke(250, IID_IDispatch, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
              E_INVALIDARG);

    DOCHOSTUIINFO info = {};
    info.cbSize = sizeof(info);
    info.dwFlags = 0x1;
    EXPECT_EQ(browser.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0x200005u);
    IDispatch* external = reinterpret_cast<IDispatch*>(&browser);
    EXPECT_EQ(browser.GetExternal(&external), S_FALSE);
    EXPECT_EQ(external, nullptr);

    MSG click = {nullptr, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    MSG key = {nullptr, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_EQ(browser.TranslateAcceleratorMessage(&click), S_FALSE);
    EXPECT_EQ(browser.TranslateAcceleratorMessage(&key), E_NOTIMPL);
    EXPECT_EQ(browser.Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0), 0);
}

TEST_F(HostedObjectsFixture, FlashWithoutAPlayerFailsCleanly)
{
    CFlashUI* flash = new CFlashUI();
    Add(flash, 100);
    Show();
    EXPECT_TRUE(flash->IsCreated());
    EXPECT_EQ(flash->GetHostedObject(), nullptr);
    EXPECT_EQ(flash->GetPlayer(), nullptr);
    EXPECT_EQ(flash->GetEventCookie(), 0u);
    EXPECT_EQ(flash->GetHostWindow(), nullptr);
    EXPECT_FALSE(flash->CreateControl());
    EXPECT_EQ(flash->FindInterface(L"flash"), flash);
    SkinUITest::Settle();
    EXPECT_EQ(VisibleTopLevelWindows(), 1);
}

TEST_F(HostedObjectsFixture, StandInPlayerFeedsFlashsEventSinkAndTakesItsKeys)
{
    ASSERT_TRUE(link.IsLoaded());
    link.Setup(0, kTestWindowless);
    CFlashUI* flash = new CFlashUI();
    flash->ApplyAttribute(L"modulename", TestControlLink::ModuleName());
    Add(flash, 100);
    Show();
    ASSERT_NE(flash->GetPlayer(), nullptr);
    EXPECT_NE(flash->GetEventCookie(), 0u);
    EXPECT_EQ(link.Sinks(), 1);
    // The player's events reach the sink, which takes every one.
    EXPECT_EQ(link.Fire(1), S_OK);
    EXPECT_EQ(link.Fire(0x7A5), S_OK);
    void* events = nullptr;
    EXPECT_EQ(static_cast<IDispatch*>(flash)->QueryInterface(kDiidPlayerEvents, &events), S_OK);
    static_cast<IDispatch*>(flash)->Release();

    // Keys go to the player only while the focus is in its window.
    MSG key = {Window(), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    SetFocus(nullptr);
    EXPECT_EQ(flash->TranslateAcceleratorMessage(&key), S_FALSE);
    SetFocus(Window());
    ASSERT_EQ(GetFocus(), Window());
    EXPECT_EQ(flash->TranslateAcceleratorMessage(&key), S_OK);
    EXPECT_NE(link.Log().find("TranslateAccelerator(0x100)"), std::string::npos);

    flash->ReleaseControl();
    EXPECT_EQ(link.Sinks(), 0);
    EXPECT_EQ(flash->GetPlayer(), nullptr);
    EXPECT_NE(link.Log().find("Unadvise(1)"), std::string::npos) << link.Log();
    SkinUITest::Pump();
    EXPECT_EQ(link.Live(), 0);
}
