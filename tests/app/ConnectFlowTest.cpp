// The main window against the simulated unit: connect, the status read,
// the replies in the bound controls, removal and arrival, the unit's own
// reports and the language switch, through the real window's messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "ConnectHost.h"
#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
#include "app/tuning/OutputCode.h"
#include "app/windows/LoadingWnd.h"
#include "app/windows/MainWnd.h"
#include "app/windows/SettingsFile.h"
#include "device/DeviceTiming.h"
#include "device/DspRecords.h"
#include "tests/support/ProcessResources.h"
#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitModel.h"
#include "tests/support/StatusReadConversation.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Menu.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

const DWORD kReadBoundMs = 30000;

// Distinct values on every channel and band, so that a value shown on the
// wrong channel or band is caught.
void FillUnit()
{
    sim::StateAccess s = Unit().Access();
    s->identity = sim::Identity();
    s->unit.source = 0x53;
    s->unit.mainVolumeDb = -12;
    for (int ch = 0; ch < 16; ++ch) {
        sim::OutputChannel& out = s->scene[0].out[ch];
        out.gainDb = static_cast<int8_t>(-(ch + 1));
        out.delayMicros = static_cast<uint32_t>(1000 * (ch % 10) + 7 * ch);
        out.mute = ch % 2;
        out.phase = ch % 3 == 0;
        out.solo = ch == 5;
        out.type = static_cast<uint8_t>(ch + 1);
        out.eqBypass = 0;
        for (int b = 0; b < sim::EqBandCount(ch); ++b) {
            out.eq[b].freqHz = static_cast<uint16_t>(20 + 37 * b + ch);
            out.eq[b].qHundredths = static_cast<uint16_t>(100 + 10 * b + ch);
            out.eq[b].gainTenthsDb = static_cast<int16_t>(10 * ((b + ch) % 9) - 40);
        }
    }
    // Every cross-source channel names its own second source, so a read of
    // the wrong channel shows.
    for (int source = 0; source < 9; ++source)
        for (int ch = 0; ch < sim::kCrossChannels; ++ch)
            s->scene[0].cross[source][ch] = {static_cast<uint8_t>(0x51 + (source + ch) % 9), static_cast<uint8_t>(ch)};
}

std::wstring TextOf(CPaintManagerUI& pm, const wchar_t* format, int index)
{
    return TextOf(pm, NameOf(format, index).c_str());
}

template <class T>
T* Named(CPaintManagerUI& pm, const wchar_t* format, int index = 0)
{
    return static_cast<T*>(pm.FindControlByName(NameOf(format, index).c_str()));
}

std::wstring Printed(const wchar_t* format, double value)
{
    wchar_t text[64];
    _snwprintf(text, 63, format, value);
    text[63] = L'\0';
    return text;
}

// The open message box's text and the box itself, or null.
HWND OpenNotice(std::wstring* text)
{
    for (int i = 0; i < CPaintManagerUI::LiveManagerCount(); ++i) {
        CPaintManagerUI* pm = CPaintManagerUI::LiveManagerAt(i);
        HWND window = pm != nullptr ? pm->WindowHandle() : nullptr;
        if (window == nullptr || !IsWindow(window)) continue;
        wchar_t className[32] = {};
        GetClassNameW(window, className, 31);
        if (wcscmp(className, L"MsgWnd") != 0) continue;
        CControlUI* label = pm->FindControlByName(L"MessageText");
        if (text != nullptr && label != nullptr) *text = label->GetTextContent().CStr();
        return window;
    }
    return nullptr;
}

// Watches from inside modal loops (the loading window, message boxes):
// timer procedures run there too.
struct Watch {
    static Watch* active;
    bool sawLoading = false;
    bool keepNotices = false;  // seen, and left open
    std::vector<std::wstring> notices;
    std::function<void()> onTick;
    // At a loading window's creation, its holder already naming it.
    std::function<void()> onLoading;

    // The loading window may come and go between two ticks: its creation is
    // caught by a hook instead.
    Watch()
    {
        active = this;
        timer = SetTimer(nullptr, 0, 5, &Watch::Tick);
        hook = SetWindowsHookExW(WH_CBT, &Watch::Created, nullptr, GetCurrentThreadId());
    }
    ~Watch()
    {
        UnhookWindowsHookEx(hook);
        KillTimer(nullptr, timer);
        active = nullptr;
    }
    static LRESULT CALLBACK Created(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && active != nullptr) {
            const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
            const LPCWSTR cls = create->lpcs->lpszClass;
            if (!IS_INTRESOURCE(cls) && wcscmp(cls, L"LoadingWnd") == 0) {
                active->sawLoading = true;
                if (active->onLoading) active->onLoading();
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Watch* w = active;
        if (w == nullptr) return;
        if (SkinUITest::FindOwnWindow(L"LoadingWnd") != nullptr) w->sawLoading = true;
        std::wstring text;
        if (HWND box = OpenNotice(&text)) {
            w->notices.push_back(text);
            if (!w->keepNotices) PostMessageW(box, WM_CLOSE, 0, 0);
        }
        if (w->onTick) w->onTick();
    }
    UINT_PTR timer = 0;
    HHOOK hook = nullptr;
};
Watch* Watch::active = nullptr;

void SendPlug(HWND window, bool arrived)
{
    const wchar_t path[] = L"\\\\?\\HID#VID_0483&PID_5750#7&0483&5750&0#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    std::vector<unsigned char> bytes(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + sizeof(path));
    auto* b = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    b->dbcc_size = static_cast<DWORD>(bytes.size());
    b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    wmemcpy(b->dbcc_name, path, wcslen(path) + 1);
    SendMessageW(window, WM_DEVICECHANGE, arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                 reinterpret_cast<LPARAM>(b));
}


class ConnectFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenAppSkin());
        SetDeviceWaitScaleForTests(10);
        sim::SimUnit::Instance().Reset();
        sim::SimUnit::Instance().SetResponder(&Unit());
        Unit().SetSilent(false);
        FillUnit();
        Unit().ClearExchanges();
        mRecords = dsp::LiveDspRecordCount();
    }
    void TearDown() override
    {
        if (mWindow != nullptr && IsWindow(*mWindow)) DestroyWindow(*mWindow);
        delete mWindow;
        sim::SimUnit::Instance().SetResponder(nullptr);
        SetDeviceWaitScaleForTests(100);
    }
    // Creates the window, which connects at once, and waits for the read.
    void Start()
    {
        mWindow = new CConnectHost();
        ASSERT_NE(nullptr, mWindow->CreateNativeWindow(nullptr, L"ConnectHost", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1200, 900));
        ASSERT_TRUE(WaitConnected());
    }
    bool WaitConnected()
    {
        EqualizerManager& c = mWindow->Controller();
        return SkinUITest::PumpUntil(
            [&] {
                return c.Device().IsAsyncMode() && !c.IsStatusReadRunning() && mWindow->LoadingWindow() == nullptr &&
                       Button()->IsSelected();
            },
            kReadBoundMs);
    }
    bool WaitDisconnected()
    {
        EqualizerManager& c = mWindow->Controller();
        return SkinUITest::PumpUntil(
            [&] {
                return !c.Device().IsDeviceOpen() && !c.IsStatusReadRunning() &&
                       mWindow->LoadingWindow() == nullptr &&
                       std::wstring(Button()->GetTextContent().CStr()) == Text(L"${btn_disconnected}");
            },
            kReadBoundMs);
    }
    CSButtonUI* Button() { return Named<CSButtonUI>(mWindow->PaintManager(), L"btnConnect"); }

    CConnectHost* mWindow = nullptr;
    int mRecords = 0;
};

TEST_F(ConnectFlow, StartReadsTheUnitInOrderAndShowsEveryValue)
{
    Watch watch;
    Start();
    EXPECT_TRUE(watch.sawLoading);
    EXPECT_EQ(Text(L"${btn_connected}"), std::wstring(Button()->GetTextContent().CStr()));
    EXPECT_TRUE(mWindow->Controller().Device().IsAsyncMode());

    // The frames equal the application's conversation run on its own.
    const std::vector<std::string> received = ReceivedCommands();
    Unit().ClearExchanges();
    {
        DspDevice reference;
        reference.OpenHIDDevice();
        ASSERT_TRUE(reference.IsDeviceOpen());
        ASSERT_TRUE(sim::RunStatusRead(reference));
        reference.CloseHIDDevice(false);
    }
    const std::vector<std::string> expected = ReceivedCommands();
    ASSERT_GT(expected.size(), 150u);
    EXPECT_EQ(expected, received);

    CPaintManagerUI& pm = mWindow->PaintManager();
    const sim::UnitState unit = Unit().Snapshot();
    const SceneProfile& model = mWindow->Controller().Current();
    EXPECT_EQ(unit.unit.mainVolumeDb, Named<CSliderUI>(pm, L"slider_main_volume")->GetValue());
    EXPECT_EQ(Printed(L"%.0fdB", unit.unit.mainVolumeDb), TextOf(pm, L"edit_main_volume"));
    EXPECT_EQ(unit.unit.source - 0x51, Named<CComboUI>(pm, L"btn_input_source")->GetSelectedIndex());
    for (int ch = 0; ch < 16; ++ch) {
        SCOPED_TRACE(ch);
        const sim::OutputChannel& out = unit.scene[0].out[ch];
        EXPECT_FLOAT_EQ(out.gainDb, model.channels[ch].gain);
        EXPECT_EQ(out.gainDb * 10, Named<CSliderUI>(pm, L"slider_ch_volume_%d", ch)->GetValue());
        EXPECT_EQ(Printed(L"%.0fdB", out.gainDb), TextOf(pm, L"edit_ch_volume_%d", ch));
        EXPECT_EQ(Printed(L"%.3f ms", out.delayMicros / 1000.0), TextOf(pm, L"edit_ch_delay_%d", ch));
        EXPECT_EQ(out.mute != 0, Named<COptionUI>(pm, L"ch_mute_%d", ch)->IsSelected());
        EXPECT_EQ(out.phase != 0, Named<COptionUI>(pm, L"ch_phase_%d", ch)->IsSelected());
        EXPECT_EQ(out.solo != 0, Named<COptionUI>(pm, L"ch_solo_%d", ch)->IsSelected());
        EXPECT_EQ(Text(GetOutputSpeakerTextOrEmpty(out.type)), TextOf(pm, L"ch_output_btn_%d", ch));
        for (int b = 0; b < sim::EqBandCount(ch); ++b) {
            const EqBand& band = model.channels[ch].bands[b];
            EXPECT_EQ(out.eq[b].freqHz, band.freq) << "band " << b;
            EXPECT_NEAR(out.eq[b].qHundredths / 100.0, band.Q, 1e-4) << "band " << b;
            EXPECT_NEAR(out.eq[b].gainTenthsDb / 10.0, band.gain, 1e-4) << "band " << b;
        }
    }
    // The mixer's two cross-source rows of every source hold the unit's choice.
    const int firstCrossChannel[9] = {2, 0, 2, 0, 8, 10, 2, 0, 0};
    for (int source = 0; source < 9; ++source) {
        for (int ch = firstCrossChannel[source]; ch < firstCrossChannel[source] + 2; ++ch) {
            EXPECT_EQ((source + ch) % 9, model.crossSourceMix.source[source][ch]) << source << " " << ch;
            EXPECT_EQ(ch, model.crossSourceMix.channel[source][ch]) << source << " " << ch;
        }
    }
    // The current channel's 31 band rows.
    const sim::OutputChannel& shown = unit.scene[0].out[model.currOutChannel];
    for (int b = 0; b < 31; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(Printed(L"%.0f", shown.eq[b].freqHz), TextOf(pm, L"eq_freq_%d", b));
        EXPECT_EQ(Printed(L"%.2f", shown.eq[b].qHundredths / 100.0), TextOf(pm, L"eq_q_%d", b));
        EXPECT_EQ(Printed(L"%.1f", shown.eq[b].gainTenthsDb / 10.0), TextOf(pm, L"eq_gain_%d", b));
        EXPECT_EQ(shown.eq[b].gainTenthsDb, Named<CSliderUI>(pm, L"eq_slider_%d", b)->GetValue());
    }
    EXPECT_EQ(mRecords, dsp::LiveDspRecordCount());
}

TEST_F(ConnectFlow, KnobReportMovesTheMainVolumeAndSendsNothing)
{
    Start();
    Unit().ClearExchanges();
    Unit().TurnVolumeKnob(-27);
    CPaintManagerUI& pm = mWindow->PaintManager();
    ASSERT_TRUE(SkinUITest::PumpUntil([&] { return Named<CSliderUI>(pm, L"slider_main_volume")->GetValue() == -27; }));
    EXPECT_EQ(L"-27dB", TextOf(pm, L"edit_main_volume"));
    SkinUITest::PumpFor(300);
    EXPECT_TRUE(ReceivedCommands().empty());
    EXPECT_EQ(mRecords, dsp::LiveDspRecordCount());
}

TEST_F(ConnectFlow, UnplugDuringTheReadEndsItCleanlyAndThePlugReadsAgain)
{
    Watch watch;
    HWND* window = nullptr;
    bool unplugged = false;
    WPARAM firstToken = 0;  // the first read's loading window's
    watch.onLoading = [&] {
        if (firstToken == 0 && mWindow->LoadingWindow() != nullptr) firstToken = mWindow->LoadingWindow()->Token();
    };
    // Pulled once the read is well under way, from inside the loading loop.
    watch.onTick = [&] {
        if (unplugged || window == nullptr || Unit().Exchanges().size() < 60) return;
        unplugged = true;
        Unit().Vanish();
        SendPlug(*window, false);
    };
    mWindow = new CConnectHost();
    HWND handle = nullptr;
    window = &handle;
    handle = mWindow->CreateNativeWindow(nullptr, L"ConnectHost", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1200, 900);
    ASSERT_NE(nullptr, handle);
    ASSERT_TRUE(SkinUITest::PumpUntil([&] { return unplugged; }, kReadBoundMs));
    ASSERT_TRUE(WaitDisconnected());
    ASSERT_TRUE(SkinUITest::PumpUntil([&] { return !watch.notices.empty(); }));
    EXPECT_EQ(Text(L"${device_plugout}"), watch.notices[0]);
    EXPECT_EQ(-1, mWindow->Controller().Current().model);

    Unit().Return();
    Unit().ClearExchanges();
    SendPlug(handle, true);
    ASSERT_TRUE(WaitConnected());
    EXPECT_GT(Unit().Exchanges().size(), 150u);
    // A second arrival while connected leaves the link alone.
    SendPlug(handle, true);
    SkinUITest::PumpFor(200);
    EXPECT_TRUE(mWindow->Controller().Device().IsDeviceOpen());
    EXPECT_TRUE(Button()->IsSelected());
    // Pulled while connected, the read's failures told before the removal's
    // broadcast comes: the notice that tells of it stays through it. Looked
    // at from the notice's own loop.
    DWORD sentAt = 0;
    bool stayed = false;
    watch.keepNotices = true;
    watch.onTick = [&] {
        if (stayed || OpenNotice(nullptr) == nullptr) return;
        if (sentAt == 0) {
            sentAt = GetTickCount();
            SendPlug(handle, false);
        } else if (GetTickCount() - sentAt > 200) {
            stayed = true;
            watch.keepNotices = false;
        }
    };
    Unit().Vanish();
    mWindow->Controller().StartStatusRead();
    ASSERT_TRUE(SkinUITest::PumpUntil([&] { return sentAt != 0 && OpenNotice(nullptr) == nullptr; }, kReadBoundMs));
    EXPECT_TRUE(stayed) << "the removal closed the notice that told of it";
    watch.keepNotices = false;
    watch.onTick = nullptr;
    Unit().Return();
    SendPlug(handle, true);
    ASSERT_TRUE(WaitConnected());
    // Pulled again, back, and pulled at the start of that read, which gives up
    // before the removal is taken; the unit is back before its outcome is.
    for (int pass = 0; pass < 2; ++pass) {
        Unit().Vanish();
        for (const DWORD start = GetTickCount(); pass == 1 && mWindow->Controller().IsStatusReadRunning();) {
            ASSERT_LT(GetTickCount() - start, kReadBoundMs) << "the read outlived its unit";
            Sleep(1);
        }
        SendPlug(handle, false);
        Unit().Return();
        SendPlug(handle, true);
    }
    EXPECT_TRUE(WaitConnected());
    // The ends of an output job and a factory reset met on a link since
    // replaced, with the token of a loading window of that link, taken in a
    // read's loading window (the read held at its first write): the new link
    // and that window stay.
    bool ticked = false, stood = false;
    watch.onTick = [&] {
        if (ticked) return;
        ticked = true;
        stood = mWindow->LoadingWindow() != nullptr && mWindow->Controller().Device().IsDeviceOpen();
        sim::SimUnit::Instance().HoldWrites(false);
    };
    sim::SimUnit::Instance().HoldWrites(true);
    mWindow->Controller().StartStatusRead();
    for (JobKind stale : {JobKind::Outputs, JobKind::FactoryReset}) {
        JobReport report;
        report.kind = stale;
        report.linked = report.unanswered = report.silent = true;
        report.busy = static_cast<uint16_t>(firstToken);
        PostMessageW(handle, WM_LINK_JOB_DONE, mWindow->Controller().Device().LinkSerial() - 1, PackJobReport(report));
    }
    EXPECT_TRUE(WaitConnected());
    EXPECT_NE(0u, firstToken);
    EXPECT_TRUE(stood);
}

struct IdentityCase {
    int model, master, slave;
    const wchar_t* noticeKey;  // null: none
    bool connected;
};

class ConnectIdentity : public ConnectFlow, public ::testing::WithParamInterface<IdentityCase> {};

TEST_P(ConnectIdentity, ModelAndFirmwareDecideTheOutcome)
{
    const IdentityCase c = GetParam();
    {
        sim::StateAccess s = Unit().Access();
        s->identity.model = static_cast<uint8_t>(c.model);
        s->identity.master = static_cast<uint8_t>(c.master);
        s->identity.slave = static_cast<uint8_t>(c.slave);
    }
    Watch watch;
    mWindow = new CConnectHost();
    ASSERT_NE(nullptr, mWindow->CreateNativeWindow(nullptr, L"ConnectHost", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1200, 900));
    if (c.connected) {
        ASSERT_TRUE(WaitConnected());
    } else {
        ASSERT_TRUE(SkinUITest::PumpUntil([&] { return !watch.notices.empty(); }, kReadBoundMs));
        ASSERT_TRUE(WaitDisconnected());
    }
    SkinUITest::PumpFor(300);
    if (c.noticeKey == nullptr) {
        EXPECT_TRUE(watch.notices.empty());
        return;
    }
    ASSERT_EQ(1u, watch.notices.size());
    const std::wstring format = Text(c.noticeKey);
    wchar_t expected[512];
    if (c.connected)
        _snwprintf(expected, 511, format.c_str(), c.master, c.slave, 1, 25);
    else
        _snwprintf(expected, 511, L"%s %d", format.c_str(), c.model);
    expected[511] = L'\0';
    EXPECT_EQ(std::wstring(expected), watch.notices[0]);
}

INSTANTIATE_TEST_SUITE_P(Units, ConnectIdentity,
                         ::testing::Values(IdentityCase{95, 1, 25, nullptr, true},
                                           IdentityCase{95, 1, 26, L"${dsp_fw_new_tips}", true},
                                           IdentityCase{95, 2, 0, L"${dsp_fw_new_tips}", true},
                                           IdentityCase{96, 1, 25, L"${device_not_match}", false}));

// Replies whose scene, channel or band lies outside the model: dropped, and
// every record freed.
TEST_F(ConnectFlow, OutOfRangeRepliesAreDroppedAndFreed)
{
    Start();
    EqualizerManager& c = mWindow->Controller();
    const SceneProfile before = c.Current();
    struct Bad {
        int subcommand;
        std::function<void*()> make;
    };
    const Bad bad[] = {
        {0x06, [] { auto* r = dsp::NewDspRecord<dsp::DspEqBandRecord>(); *r = {0, 0, 31, 999, 2.0f, 6.0f}; return r; }},
        {0x06, [] { auto* r = dsp::NewDspRecord<dsp::DspEqBandRecord>(); *r = {0, 12, 11, 999, 2.0f, 6.0f}; return r; }},
        {0x06, [] { auto* r = dsp::NewDspRecord<dsp::DspEqBandRecord>(); *r = {0, 16, 0, 999, 2.0f, 6.0f}; return r; }},
        {0x06, [] { auto* r = dsp::NewDspRecord<dsp::DspEqBandRecord>(); *r = {11, 0, 0, 999, 2.0f, 6.0f}; return r; }},
        {0x08, [] { auto* r = dsp::NewDspRecord<dsp::DspTrimRecord>(); *r = {0, -1, -30.0f}; return r; }},
        {0x0B, [] { auto* r = dsp::NewDspRecord<dsp::DspMixRecord>(); *r = {0, 0, 16, 0xFFF}; return r; }},
        {0x0B, [] { auto* r = dsp::NewDspRecord<dsp::DspMixRecord>(); *r = {0, 9, 0, 0xFFF}; return r; }},
        {0x0D, [] { auto* r = dsp::NewDspRecord<dsp::DspChValueRecord>(); *r = {0, 0, 29}; return r; }},
        {0x24, [] { auto* r = dsp::NewDspRecord<dsp::DspInputMixTrimRecord>(); *r = {0, 0, 14, 0, 15, {}}; return r; }},
        {0x4D, [] { auto* r = dsp::NewDspRecord<dsp::DspCrossSourceMixRecord>(); *r = {0, 0, 12, 0x52, 1, 0}; return r; }},
        {0x4C, [] { auto* r = dsp::NewDspRecord<dsp::DspBridgeRecord>(); *r = {0, 0, 20, {}}; return r; }},
    };
    for (const Bad& b : bad) PostMessageW(*mWindow, WM_READ_DSP_VALUE, b.subcommand, reinterpret_cast<LPARAM>(b.make()));
    auto* name = dsp::NewDspRecord<dsp::SceneNameRecord>();
    name->index = 10;
    std::memcpy(name->name, "SCENE", 5);
    PostMessageW(*mWindow, WM_READ_FLASH_VALUE, 0x0B, reinterpret_cast<LPARAM>(name));
    ASSERT_TRUE(SkinUITest::PumpUntil([&] { return dsp::LiveDspRecordCount() == mRecords; }));
    const SceneProfile& after = c.Current();
    for (int ch = 0; ch < 16; ++ch) {
        EXPECT_EQ(before.channels[ch].gain, after.channels[ch].gain) << ch;
        EXPECT_EQ(before.outputs[ch], after.outputs[ch]) << ch;
        for (int b = 0; b < 31; ++b) EXPECT_EQ(before.channels[ch].bands[b].freq, after.channels[ch].bands[b].freq);
    }
    EXPECT_EQ(before.inputs, after.inputs);
    EXPECT_EQ(before.bridgeOutputs, after.bridgeOutputs);
    EXPECT_EQ(before.crossSourceMix.source, after.crossSourceMix.source);
}

TEST_F(ConnectFlow, RepeatedConnectsLeaveNoRecordsHandlesOrThreads)
{
    Start();
    EqualizerManager& c = mWindow->Controller();
    const sim::ProcessCounts before = sim::CountProcessResources();
    for (int i = 0; i < 20; ++i) {
        c.ConnectDevice(true);  // open: this closes
        ASSERT_TRUE(WaitDisconnected()) << i;
        c.ConnectDevice(true);
        ASSERT_TRUE(WaitConnected()) << i;
    }
    EXPECT_EQ(mRecords, dsp::LiveDspRecordCount());
    EXPECT_TRUE(SkinUITest::PumpUntil([&] { return sim::CountProcessResources().threads <= before.threads; }));
    const sim::ProcessCounts after = sim::CountProcessResources();
    EXPECT_EQ(before.gdi, after.gdi);
    EXPECT_EQ(before.user, after.user);
}

TEST_F(ConnectFlow, LanguageMenuSwitchesAndKeepsTheChoice)
{
    Start();
    const std::wstring path = SettingsFilePath();
    struct Step {
        const wchar_t* item;
        const wchar_t* language;
        int setting;
    };
    const Step steps[] = {{L"option_item_language_ru", L"ru", 2},
                          {L"option_item_language", L"cn_zh", 1},
                          {L"option_item_language", L"en", 0},
                          {L"option_item_language_cn", L"cn_zh", 1},
                          {L"option_item_language_en", L"en", 0}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.item);
        // As the menu hands it over: a C heap block the window frees.
        auto* info = static_cast<TMenuClickInfo*>(calloc(1, sizeof(TMenuClickInfo)));
        ASSERT_NE(nullptr, info);
        CopyTextCut(info->name, TMenuClickInfo::kNameChars, s.item);
        PostMessageW(*mWindow, WM_MENU_ITEM_CLICKED, reinterpret_cast<WPARAM>(info), 0);
        SkinUITest::PumpPending();
        EXPECT_STREQ(s.language, CResourceStore::GetInstance()->CurrentLanguageName());
        EXPECT_EQ(s.setting, ReadLanguageSetting(path));
    }
}

} // namespace
