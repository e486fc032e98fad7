// The ActiveX host with the test control DLL in a real window: the order of
// the hosting protocol, sizing, painting through the site, windowless input
// by X events, delayed creation, the site's answers and release.
#include <string>

#include "HostedFixture.h"
#include "TestControlLink.h"
#include "tests/support/RectText.h"
#include "XInput.h"
#include "uilib/control/ActiveX.h"
#include "uilib/control/ActiveXCtrl.h"
#include "uilib/control/ActiveXFrameWnd.h"

using namespace SkinUI;
using SkinUITest::ClickAt;
using SkinUITest::HostedFixture;
using SkinUITest::PumpUntil;
using SkinUITest::RunXdotool;
using SkinUITest::ScreenPointOf;
using SkinUITest::TestControlLink;

namespace {

const wchar_t* const kAnyClass = L"{6A1F3E20-5B7C-4D11-9E2A-0C3B5D7F9A11}";

// "{R}" the control's rectangle, "{O}" the same at the origin, "{E}" its
// extent in HIMETRIC.
std::string Expand(std::string text, const RECT& rc)
{
    const RECT origin = {0, 0, rc.right - rc.left, rc.bottom - rc.top};
    HDC screen = GetDC(nullptr);
    const std::string extent = std::to_string(MulDiv(2540, rc.right - rc.left, GetDeviceCaps(screen, LOGPIXELSX))) +
                               "," +
                               std::to_string(MulDiv(2540, rc.bottom - rc.top, GetDeviceCaps(screen, LOGPIXELSY)));
    ReleaseDC(nullptr, screen);
    const std::pair<const char*, std::string> marks[] = {{"{R}", RectText(rc)}, {"{O}", RectText(origin)},
                                                         {"{E}", extent}};
    for (const auto& mark : marks) {
        for (size_t at = text.find(mark.first); at != std::string::npos; at = text.find(mark.first))
            text.replace(at, 3, mark.second);
    }
    return text;
}

struct ActiveXFixture : HostedFixture {
    CActiveXUI* MakeHost(DWORD misc, DWORD mode, const wchar_t* extra = L"")
    {
        link.Setup(misc, mode);
        CActiveXUI* control = new CActiveXUI();
        control->SetModuleName(TestControlLink::ModuleName());
        control->ApplyAttributeList(extra);
        control->SetClass(kAnyClass);
        Add(control, 100);
        return control;
    }
    TestControlLink link;
};

struct CreationCase {
    const char* name;
    DWORD misc;
    DWORD mode;
    bool created;
    const char* log;
};

const CreationCase kCreation[] = {
    {"windowless", 0, kTestWindowless, true,
     "InitNew;SetClientSite;SetHostNames(UIActiveX);DoVerb(-5,{R});Windowless;SetObjectRects({R});Active;Frame;"
     "SetSite;SetExtent({E});SetObjectRects({R})"},
    {"client site first", OLEMISC_SETCLIENTSITEFIRST, kTestWindowless, true,
     "SetClientSite;InitNew;SetHostNames(UIActiveX);DoVerb(-5,{R});Windowless;SetObjectRects({R});Active;Frame;"
     "SetSite;SetExtent({E});SetObjectRects({R})"},
    {"windowed", 0, 0, true,
     "InitNew;SetClientSite;SetHostNames(UIActiveX);DoVerb(-5,{R});SetObjectRects({O});Active;Frame;Window;"
     "SetSite;SetExtent({E});SetObjectRects({O})"},
    {"invisible at run time", OLEMISC_INVISIBLEATRUNTIME, kTestWindowless, true,
     "InitNew;SetClientSite;SetHostNames(UIActiveX);SetSite;SetExtent({E})"},
    {"no persistence", 0, kTestWindowless | kTestNoPersist, true,
     "SetClientSite;SetHostNames(UIActiveX);DoVerb(-5,{R});Windowless;SetObjectRects({R});Active;Frame;"
     "SetSite;SetExtent({E});SetObjectRects({R})"},
    {"refused initialisation", 0, kTestWindowless | kTestFailInitNew, false,
     "InitNew;SetSite(null);Close(1);SetClientSite(null);Final"},
};

} // namespace

TEST_F(ActiveXFixture, CreationFollowsTheHostingProtocolInOrder)
{
    ASSERT_TRUE(link.IsLoaded());
    // The pointer stays off the window: its moves would reach the objects.
    ASSERT_TRUE(RunXdotool(L"mousemove 0 0"));
    for (const CreationCase& c : kCreation) {
        SCOPED_TRACE(c.name);
        root = new CVerticalLayoutUI();
        away = new CButtonUI();
        Add(away, 30);
        CActiveXUI* control = MakeHost(c.misc, c.mode);
        Show();
        // The previous case's tree goes with the first messages.
        SkinUITest::Settle();
        EXPECT_EQ(link.Live(), c.created ? 1 : 0);
        EXPECT_EQ(recorder->Count(L"showactivex"), c.created ? 1 : 0);
        EXPECT_EQ(link.Log(), Expand(c.log, control->GetPosition()));
        EXPECT_EQ(control->GetHostedObject() != nullptr, c.created);
        EXPECT_TRUE(control->IsCreated());
        const bool windowed = c.created && (c.mode & kTestWindowless) == 0;
        if (windowed) {
            HWND child = control->GetHostWindow();
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(GetParent(child), Window());
            RECT placed;
            GetWindowRect(child, &placed);
            MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&placed), 2);
            EXPECT_EQ(RectText(placed), RectText(control->GetPosition()));
            control->SetVisibility(false);
            EXPECT_FALSE(IsWindowVisible(child));
        } else if (c.created && (c.misc & OLEMISC_INVISIBLEATRUNTIME) == 0) {
            EXPECT_EQ(control->GetHostWindow(), Window());
        }
        recorder->Clear();
        root->RemoveChild(control);
        SkinUITest::Pump();
        EXPECT_EQ(link.Live(), 0);
    }
}

TEST_F(ActiveXFixture, DelayedCreationWaitsForTheFirstLayout)
{
    Show();
    SkinUITest::Settle();
    ASSERT_EQ(link.Live(), 0);
    link.Setup(0, kTestWindowless);
    CActiveXUI delayed;
    delayed.SetModuleName(TestControlLink::ModuleName());
    EXPECT_TRUE(delayed.SetClass(kAnyClass));
    EXPECT_EQ(link.Live(), 0);
    delayed.SetPosition({0, 0, 50, 40});
    EXPECT_EQ(link.Live(), 1);
    EXPECT_EQ(link.Log().find("SetExtent("), link.Log().rfind("SetExtent("));

    CActiveXUI now;
    now.ApplyAttributeList(L"delaycreate=\"false\" modulename=\"hosted_test_control.dll\"");
    EXPECT_FALSE(now.IsDelayCreate());
    now.ApplyAttribute(L"clsid", kAnyClass);
    EXPECT_EQ(link.Live(), 2);

    CActiveXUI later;
    later.SetModuleName(TestControlLink::ModuleName());
    later.SetClass(kAnyClass);
    EXPECT_EQ(link.Live(), 2);
    later.SetDelayCreate(false);
    EXPECT_EQ(link.Live(), 3);
    later.ReleaseControl();
    now.ReleaseControl();
    delayed.ReleaseControl();
    EXPECT_EQ(link.Live(), 0);
}

namespace {

struct ClassCase {
    const wchar_t* text;
    bool accepted;
};

const ClassCase kClasses[] = {
    {L"{8856F961-340A-11D0-A96B-00C04FD705A2}", true},
    {L"{8856F961-340A-11D0-A96B}", false},
    {L"{00000000-0000-0000-0000-000000000000}", false},
    {L"No.Such.ProgId.Here", false},
    {L"", false},
};

} // namespace

TEST_F(ActiveXFixture, ClassTextIsAClassIdInBracesOrAProgId)
{
    for (const ClassCase& c : kClasses) {
        SCOPED_TRACE(std::wstring(c.text));
        CActiveXUI control;
        EXPECT_EQ(control.SetClass(c.text), c.accepted);
        EXPECT_EQ(IsEqualCLSID(control.GetClassId(), GUID_NULL), !c.accepted);
        EXPECT_FALSE(control.IsCreated());
    }
}

TEST_F(ActiveXFixture, WindowlessControlPaintsThroughTheSiteAndTakesItsInput)
{
    CActiveXUI* control = MakeHost(0, kTestWindowless);
    Show();
    ASSERT_NE(control->GetSite(), nullptr);
    ASSERT_TRUE(control->GetSite()->IsWindowless());

    // The object draws itself into the window's paint DC over its rectangle.
    const RECT& rc = control->GetPosition();
    HDC dc = GetDC(Window());
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    control->PaintArea(memory, rc, nullptr);
    EXPECT_EQ(GetPixel(memory, rc.left + 5, rc.top + 5), RGB(0x12, 0x34, 0x56));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(Window(), dc);

    // Clicks reach it in its hit area (the left half) only.
    link.Setup(0, kTestWindowless);
    ASSERT_TRUE(RunXdotool(ClickAt(ScreenPointOf(*control, Window(), 10, 10))));
    EXPECT_TRUE(PumpUntil([this] { return link.Log().find("Msg(0x202)") != std::string::npos; }));
    EXPECT_NE(link.Log().find("Msg(0x201)"), std::string::npos);
    link.Setup(0, kTestWindowless);
    const int width = rc.right - rc.left;
    ASSERT_TRUE(RunXdotool(ClickAt(ScreenPointOf(*control, Window(), width - 10, 10))));
    SkinUITest::Settle();
    EXPECT_EQ(link.Log().find("Msg(0x201)"), std::string::npos) << link.Log();

    // Keys reach it only while it has the focus.
    away->TakeFocus();
    link.Setup(0, kTestWindowless);
    ASSERT_TRUE(RunXdotool(L"key x"));
    SkinUITest::Settle();
    EXPECT_EQ(link.Log().find("Msg(0x100)"), std::string::npos) << link.Log();
    control->TakeFocus();
    ASSERT_TRUE(control->HasFocus());
    ASSERT_TRUE(RunXdotool(L"key x"));
    EXPECT_TRUE(PumpUntil([this] { return link.Log().find("Msg(0x101)") != std::string::npos; })) << link.Log();
    EXPECT_NE(link.Log().find("Msg(0x100);Msg(0x102)"), std::string::npos) << link.Log();

    // The cursor message goes to the object but stays unhandled.
    bool handled = true;
    POINT inside = ScreenPointOf(*control, Window(), 10, 10);
    SetCursorPos(inside.x, inside.y);
    EXPECT_EQ(control->PreFilterMessage(WM_SETCURSOR, 0, 0, handled), 0x51);
    EXPECT_FALSE(handled);
}

TEST_F(ActiveXFixture, SiteAnswersForTheHostedObjectUntilReleased)
{
    CActiveXUI* control = MakeHost(0, kTestWindowless);
    Show();
    SkinUITest::Settle();
    ASSERT_EQ(link.Live(), 1);
    CActiveXCtrl* site = control->GetSite();
    ASSERT_NE(site, nullptr);
    site->AddRef();

    IOleContainer* container = nullptr;
    ASSERT_EQ(site->GetContainer(&container), S_OK);
    IEnumUnknown* items = nullptr;
    ASSERT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, &items), S_OK);
    IUnknown* item = nullptr;
    ULONG fetched = 0;
    EXPECT_EQ(items->Next(1, &item, &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    item->Release();
    EXPECT_EQ(items->Next(1, &item, &fetched), S_FALSE);
    items->Reset();
    EXPECT_EQ(items->Next(1, &item, &fetched), S_OK);
    item->Release();
    items->Release();
    container->Release();

    IDispatch* extended = nullptr;
    EXPECT_EQ(site->GetExtendedControl(&extended), S_OK);
    if (extended != nullptr) extended->Release();
    HWND window = nullptr;
    EXPECT_EQ(site->GetWindow(&window), S_OK);
    EXPECT_EQ(window, Window());
    HDC dc = nullptr;
    EXPECT_EQ(site->GetDC(nullptr, 0, &dc), S_FALSE);
    EXPECT_EQ(site->GetCapture(), S_FALSE);
    EXPECT_EQ(site->SetFocus(TRUE), S_OK);
    EXPECT_TRUE(control->HasFocus());
    EXPECT_EQ(site->GetFocus(), S_OK);

    const int sites = CActiveXCtrl::LiveCount();
    control->ReleaseControl();
    EXPECT_EQ(link.Live(), 0);
    const std::string log = link.Log();
    EXPECT_NE(log.find("SetSite(null);Close(1);SetClientSite(null);Final"), std::string::npos) << log;

    // Every call needing the owner now answers E_UNEXPECTED.
    RECT rc = {};
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    IEnumUnknown* none = nullptr;
    BOOL noRedraw = FALSE;
    const HRESULT answers[] = {
        site->GetWindow(&window),     site->GetWindowContext(&frame, &document, &rc, &rc, nullptr),
        site->ShowObject(),           site->OnInPlaceActivateEx(&noRedraw, 0),
        site->GetExtendedControl(&extended), site->SetFocus(TRUE),
        site->GetDC(nullptr, 0, &dc), site->InvalidateRect(nullptr, FALSE),
        site->EnumObjects(0, &none),  site->SetCapture(TRUE),
    };
    for (HRESULT hr : answers) EXPECT_EQ(hr, E_UNEXPECTED);
    site->Release();
    EXPECT_EQ(CActiveXCtrl::LiveCount(), sites - 1);
    EXPECT_EQ(CActiveXFrameWnd::LiveCount(), 0);
}

TEST_F(ActiveXFixture, DestroyedHostsLeaveNoObjectSiteOrWindowBehind)
{
    Show();
    SkinUITest::Settle();
    const int sites = CActiveXCtrl::LiveCount();
    const int controls = CControlUI::LiveCount();
    for (int i = 0; i < 50; ++i) {
        CActiveXUI* control = MakeHost(0, i % 2 == 0 ? static_cast<DWORD>(kTestWindowless) : 0u);
        control->SetPosition({0, 40, 80, 90});
        ASSERT_NE(control->GetSite(), nullptr) << "cycle " << i;
        ASSERT_TRUE(control->GetSite()->IsInPlaceActive()) << "cycle " << i;
        root->RemoveChild(control);
        // Removed children are deleted from the message queue.
        SkinUITest::Pump();
        ASSERT_EQ(link.Live(), 0) << "cycle " << i;
    }
    EXPECT_EQ(CActiveXCtrl::LiveCount(), sites);
    EXPECT_EQ(CActiveXFrameWnd::LiveCount(), 0);
    EXPECT_EQ(CControlUI::LiveCount(), controls);
    EXPECT_EQ(FindWindowExW(Window(), nullptr, L"ActiveXWnd", nullptr), nullptr);
    // No filter of a destroyed host is asked any more.
    SendMessageW(Window(), WM_LBUTTONDOWN, 0, MAKELPARAM(10, 40));
    SendMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(10, 40));
}
