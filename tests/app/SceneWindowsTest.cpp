// The unit's scene store through the real scene window, name entry, message
// boxes and loading window of a main window connected to the simulated unit:
// the flash frames each operation sends, the questions it asks, and what the
// list and the model show afterwards. Also the two-box question.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "ConnectHost.h"
#include "DialogScript.h"
#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
#include "app/windows/LanguageFormat.h"
#include "app/windows/MsgCheckBoxWnd.h"
#include "device/DeviceTiming.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitModel.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/List.h"
#include "uilib/control/Option.h"
#include "uilib/core/ResourceStore.h"

using dialogs::Click;
using dialogs::Step;
using dialogs::WindowStep;
using namespace SkinUI;

namespace {

const uint8_t kFlash = 2;

std::vector<std::string> FlashFramesSince(size_t mark)
{
    std::vector<std::string> lines;
    const std::vector<sim::Frame> all = sim::SimUnit::Instance().ReceivedFrames();
    for (size_t i = mark; i < all.size(); ++i)
        if (all[i].type == kFlash) lines.push_back(FrameText(all[i]));
    return lines;
}

std::wstring Formatted(const wchar_t* key, int number, const wchar_t* name = nullptr)
{
    const CUIString format = CResourceStore::GetInstance()->LookupText(key);
    wchar_t text[512];
    if (name != nullptr) _snwprintf(text, 511, format, number, name);
    else _snwprintf(text, 511, format, number);
    text[511] = L'\0';
    return text;
}

void StoreInUnit(int scene, const char* name, int8_t gainDb)
{
    sim::StateAccess s = Unit().Access();
    s->store[scene].valid = true;
    std::memset(s->store[scene].name, 0, sizeof s->store[scene].name);
    std::memcpy(s->store[scene].name, name, strlen(name));
    s->store[scene].params = s->scene[0];
    s->store[scene].params.out[0].gainDb = gainDb;
}

// What the steps saw, for the checks after the window closed.
struct Seen {
    std::vector<std::wstring> boxes;  // texts of the message boxes, in order
    bool nameEntry = false;
    std::vector<std::wstring> rows;   // the list's names when the scene window closed
};

WindowStep OnScene(Step step) { return {L"MsgWnd", L"scenewnd", step}; }
WindowStep OnBox(Step step) { return {L"MsgWnd", L"msgwnd", step}; }
WindowStep OnName(Step step) { return {L"NameMsgWnd", nullptr, step}; }
WindowStep OnLoading(Step step) { return {L"LoadingWnd", nullptr, step}; }

WindowStep ChooseRow(int row, int clicks = 1)
{
    return OnScene([row, clicks](WindowImplBase& w, HWND hwnd) {
        auto* list = dynamic_cast<CListUI*>(dialogs::Find(w, L"listview"));
        if (list == nullptr || !IsWindowEnabled(hwnd)) return false;
        list->SelectSingleItem(row);
        for (int i = 0; i < clicks; ++i) Click(w, hwnd, L"confirm_btn");
        return true;
    });
}

WindowStep Answer(Seen& seen, const wchar_t* button)
{
    return OnBox([&seen, button](WindowImplBase& w, HWND hwnd) {
        seen.boxes.push_back(dialogs::TextOf(w, L"MessageText"));
        Click(w, hwnd, button);
        return true;
    });
}

WindowStep EnterName(Seen& seen, const wchar_t* name)
{
    return OnName([&seen, name](WindowImplBase& w, HWND) {
        seen.nameEntry = true;
        dialogs::SetText(w, L"name_edt", name);
        dialogs::Notify(w, L"name_edt", "return");
        return true;
    });
}

// Once the transfer is over and nothing covers the scene window: its rows, then close.
WindowStep CloseWhenIdle(Seen& seen, EqualizerManager& controller)
{
    return OnScene([&seen, &controller](WindowImplBase& w, HWND hwnd) {
        if (controller.IsSceneJobRunning() || SkinUITest::FindOwnWindow(L"LoadingWnd") != nullptr ||
            SkinUITest::FindOwnWindow(L"MsgWnd", L"msgwnd") != nullptr || !IsWindowEnabled(hwnd))
            return false;
        auto* list = dynamic_cast<CListUI*>(dialogs::Find(w, L"listview"));
        for (int i = 0; list != nullptr && i < list->GetChildCount(); ++i) {
            CControlUI* value = w.PaintManager().FindSubControlByName(list->GetChildAt(i), L"value");
            seen.rows.push_back(value != nullptr ? value->GetTextContent().CStr() : L"<missing>");
        }
        Click(w, hwnd, L"cancel_btn");
        return true;
    });
}

// One main window connected for the whole suite (a connect reads the whole
// unit); each test starts from the same two stored scenes, in the unit and
// in the model.
class SceneWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(OpenAppSkin());
        SetDeviceWaitScaleForTests(5);
        sim::SimUnit::Instance().Reset();
        sim::SimUnit::Instance().SetResponder(&Unit());
        Unit().FactoryDefaults();
        s_window = new CConnectHost();
        ASSERT_NE(nullptr, s_window->CreateNativeWindow(nullptr, L"ConnectHost", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1200, 900));
    }
    static void TearDownTestSuite()
    {
        if (s_window != nullptr && IsWindow(*s_window)) DestroyWindow(*s_window);
        delete s_window;
        s_window = nullptr;
        sim::SimUnit::Instance().SetResponder(nullptr);
        SetDeviceWaitScaleForTests(100);
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_window);
        Unit().SetSilent(false);
        // Connected, again after a test that let the unit go, and its read done.
        EqualizerManager& c = Controller();
        if (!c.Device().IsDeviceOpen()) c.ConnectDevice(false);
        ASSERT_TRUE(SkinUITest::PumpUntil(
            [&] { return c.Device().IsAsyncMode() && !c.IsStatusReadRunning() && s_window->LoadingWindow() == nullptr; },
            30000));
        TuningModel& model = Controller().Model();
        for (int scene = 1; scene <= kStoredScenes; ++scene) {
            {
                sim::StateAccess s = Unit().Access();
                s->store[scene] = sim::StoredScene();
            }
            model.SetSceneName(scene - 1, L"");
        }
        StoreInUnit(3, "Stage", -7);
        StoreInUnit(4, "Live", -9);
        model.SetSceneName(2, L"Stage");
        model.SetSceneName(3, L"Live");
        model.sceneValid = 1u << 2 | 1u << 3;
    }
    void TearDown() override { Unit().SetSilent(false); }
    static EqualizerManager& Controller() { return s_window->Controller(); }
    static HWND Main() { return s_window->GetNativeHandle(); }

    static CConnectHost* s_window;
};
CConnectHost* SceneWindows::s_window = nullptr;

// Save: exact flash frames, the questions on the way, the list and the model.
struct SaveCase {
    const char* label;
    int row;
    const wchar_t* typed;
    bool overwriteAsked;
    std::vector<std::string> frames;  // after the scene id get
    const wchar_t* rowAfter;          // the row's name when the window closed
    bool nameLost = false;            // the row shows no name, the unit still holds its scene
    bool idLate = false;              // the unit (on scene 4) answers which scene is current once the job runs
    bool unitGone = false;            // the link closed while the name was typed: told, nothing sent
    bool linkBusy = false;            // a connect read held the link when the name was confirmed
    bool linkReplaced = false;        // a new link opened while the save waited for a queued edit
    bool readShown = false;           // as linkBusy, the read's loading window shown: saved once the read ends
    bool goneFirst = false;           // the unit left with the window open: refused before any question
    bool goneAfter = false;           // the unit left once it took the store, before the save's end was told
};

const SaveCase kSaveCases[] = {
    {"an empty slot goes straight to the name entry", 1, L"ABC", false,
     {"02 0b bb 021041424300000000000000000000000000", "02 08 bb 0200"}, L"ABC"},
    {"a named slot is overwritten after the question", 2, L"Night", true,
     {"02 0b bb 03104e696768740000000000000000000000", "02 08 bb 0300"}, L"Night"},
    {"a name of scene 4 is refused and nothing is sent", 1, L"Live", false, {}, L""},
    {"spaces of any kind around it do not make it another name", 1, L" Live\u00A0", false, {}, L""},
    {"the entry keeps eight characters", 1, L"ABCDEFGHIJ", false,
     {"02 0b bb 021041424344454647480000000000000000", "02 08 bb 0200"}, L"ABCDEFGH"},
    {"a slot still valid in the unit without a name is asked for too", 3, L"Gig", true,
     {"02 0b bb 041047696700000000000000000000000000", "02 08 bb 0400"}, L"Gig", true},
    {"a late answer which scene is current leaves the save on the chosen slot", 1, L"ABC", false,
     {"02 0b bb 021041424300000000000000000000000000", "02 08 bb 0200"}, L"ABC", false, true},
    {"a name confirmed after the unit left is told not saved", 1, L"ABC", false, {}, L"", false, false, true},
    {"a name confirmed during a connect read is told busy and taken again after it", 1, L"ABC", false,
     {"02 0b bb 021041424300000000000000000000000000", "02 08 bb 0200"}, L"ABC", false, false, false, true},
    {"a link opened while the save waits gets neither name nor store", 1, L"ABC", false, {}, L"", false, false, false, false, true},
    {"a name confirmed under the connect read's loading window is saved once the read ends", 1, L"ABC", false,
     {"02 0f 66 ", "02 0b 66 01", "02 0b 66 02", "02 0b 66 03", "02 0b 66 04", "02 0b 66 05", "02 0b 66 06", "02 0b 66 07",
      "02 0b 66 08", "02 0b 66 09", "02 0b 66 0a", "02 0b bb 021041424300000000000000000000000000", "02 08 bb 0200"},
     L"ABC", false, false, false, false, false, true},
    {"a window left open after the unit left refuses before it asks", 2, L"Night", false, {}, L"Stage", false, false, false, false, false, false, true},
    {"a unit that left after the store is told in the one notice", 1, L"ABC", false,
     {"02 0b bb 021041424300000000000000000000000000", "02 08 bb 0200"}, L"ABC", false, false, false, false, false, false, false, true},
};

class SceneSave : public SceneWindows, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SceneSave, SendsTheNameThenTheSave)
{
    const SaveCase& c = GetParam();
    EqualizerManager& controller = Controller();
    const bool refused = c.frames.empty() && !c.goneFirst;
    if (c.nameLost) controller.Model().SetSceneName(c.row, L"");
    Seen seen;
    std::vector<WindowStep> steps;
    size_t mark = sim::SimUnit::Instance().ReceivedFrames().size();
    if (c.goneFirst)
        steps.push_back(OnScene([&](WindowImplBase&, HWND) {
            if (FlashFramesSince(mark).empty()) return false;  // the window's own question went out
            controller.DisconnectDevice();
            return true;
        }));
    steps.push_back(ChooseRow(c.row));
    if (c.overwriteAsked) steps.push_back(Answer(seen, L"confirm_btn"));
    if (c.unitGone)
        steps.push_back(OnName([&](WindowImplBase&, HWND) { controller.DisconnectDevice(); return true; }));
    if (c.linkBusy || c.linkReplaced || c.readShown)
        steps.push_back(OnName([&](WindowImplBase&, HWND) {
            sim::SimUnit::Instance().HoldWrites(true);
            if (c.linkReplaced) controller.Device().Get_Main_Volume_Queued();
            MSG loading;  // the read's own loading window left out: the entry stays on top, as on the program
            if ((c.linkBusy || c.readShown) && !controller.IsStatusReadRunning()) controller.StartStatusRead();
            if (!c.readShown) PeekMessageW(&loading, Main(), WM_BUSY_BEGIN, WM_BUSY_BEGIN, PM_REMOVE);
            return sim::SimUnit::Instance().WaitForBlockedWrite(2000);
        }));
    if (!c.goneFirst) steps.push_back(EnterName(seen, c.typed));
    if (c.readShown)
        steps.push_back(OnLoading([](WindowImplBase&, HWND) {
            sim::SimUnit::Instance().HoldWrites(false);
            return true;
        }));
    if (c.linkBusy) {
        steps.push_back(Answer(seen, L"confirm_btn"));
        steps.push_back(OnName([&](WindowImplBase&, HWND) {
            sim::SimUnit::Instance().HoldWrites(false);
            mark = sim::SimUnit::Instance().ReceivedFrames().size();
            return !controller.LinkJobRunning();
        }));
        steps.push_back(EnterName(seen, c.typed));
    }
    if (c.linkReplaced)
        steps.push_back(OnLoading([&](WindowImplBase&, HWND) {
            controller.DisconnectDevice();
            controller.Device().OpenHIDDevice();
            sim::SimUnit::Instance().HoldWrites(false);
            return true;
        }));
    if (c.idLate) {
        Unit().Access()->currentScene = 4;
        sim::SimUnit::Instance().HoldWrites(true);
        steps.push_back(OnLoading([](WindowImplBase&, HWND) {
            sim::SimUnit::Instance().HoldWrites(false);
            return true;
        }));
    }
    if (c.goneAfter) {
        sim::SimUnit::Instance().HoldWrites(true);
        // On the window's thread, so the save's end waits until the unit is gone.
        steps.push_back(OnLoading([&](WindowImplBase&, HWND) {
            sim::SimUnit::Instance().HoldWrites(false);
            const bool stored = sim::PollUntil([&] { return FlashFramesSince(mark).size() == 3; }, 2000) &&
                                sim::SimUnit::Instance().WaitForInputDrained(2000);
            sim::SimUnit::Instance().SetPresent(false);
            return stored;
        }));
    }
    steps.push_back(Answer(seen, L"confirm_btn"));  // the save's notice, or the refusal
    steps.push_back(CloseWhenIdle(seen, controller));
    const auto result = dialogs::RunWindowScript(steps, [&] { controller.SaveSenceConfigToDSP(Main()); });
    sim::SimUnit::Instance().HoldWrites(false);
    sim::SimUnit::Instance().SetPresent(true);
    Unit().Access()->currentScene = 0;
    if (c.linkReplaced) controller.DisconnectDevice();
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;

    std::vector<std::string> expected{c.linkBusy ? 0u : 1u, "02 0e 66 "};
    expected.insert(expected.end(), c.frames.begin(), c.frames.end());
    EXPECT_EQ(expected, FlashFramesSince(mark));
    std::vector<std::wstring> boxes;
    if (c.overwriteAsked) boxes.push_back(Formatted(L"${save_scene_overwrite}", c.row + 1));
    if (c.linkBusy) boxes.push_back(CResourceStore::GetInstance()->LookupText(L"${device_busy}").CStr());
    if (c.goneAfter)
        boxes.push_back(CResourceStore::GetInstance()->LookupText(L"${device_left_after_job}").CStr());
    else if (c.unitGone || c.linkReplaced || c.goneFirst)
        boxes.push_back(Formatted(c.linkReplaced ? L"${save_scene_cut}" : L"${save_scene_offline}", 0));
    else if (refused) {
        const CUIString format = CResourceStore::GetInstance()->LookupText(L"${same_name_tips}");
        wchar_t text[512];
        _snwprintf(text, 511, format, L"Live", 4, L"Live");
        text[511] = L'\0';
        boxes.push_back(text);
    } else {
        boxes.push_back(CResourceStore::GetInstance()->LookupText(L"${save_scene_ok}").CStr());
    }
    EXPECT_EQ(boxes, seen.boxes);
    ASSERT_EQ(10u, seen.rows.size());
    EXPECT_EQ(c.rowAfter, seen.rows[c.row]);
    EXPECT_EQ(c.rowAfter, controller.Model().SceneNameText(c.row));
    EXPECT_EQ(!refused, (controller.Model().sceneValid >> c.row & 1) != 0);
    EXPECT_EQ(nullptr, controller.Device().mSceneWnd) << "the closed window takes no more replies";
}

INSTANTIATE_TEST_SUITE_P(Cases, SceneSave, ::testing::ValuesIn(kSaveCases));

TEST_F(SceneWindows, DeclinedOverwriteAsksNoNameAndSendsNothing)
{
    Seen seen;
    const size_t mark = sim::SimUnit::Instance().ReceivedFrames().size();
    const auto result = dialogs::RunWindowScript(
        {ChooseRow(2), Answer(seen, L"cancel_btn"), CloseWhenIdle(seen, Controller())},
        [&] { Controller().SaveSenceConfigToDSP(Main()); });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    EXPECT_FALSE(seen.nameEntry);
    EXPECT_EQ(std::vector<std::string>{"02 0e 66 "}, FlashFramesSince(mark));
    EXPECT_EQ(L"Stage", seen.rows[2]);
}

// Enter on the question, then Enter and Space once it closed (keyed): the
// question answers no and the scene window's buttons take neither key.
class SceneLoad : public SceneWindows, public ::testing::WithParamInterface<bool> {};

TEST_P(SceneLoad, AsksThenRecallsAndReadsTheSceneBack)
{
    Seen seen;
    EqualizerManager& controller = Controller();
    ASSERT_NE(-7.0f, controller.Current().channels[0].gain);
    const size_t mark = sim::SimUnit::Instance().ReceivedFrames().size();
    const WindowStep keys[] = {OnBox([&seen](WindowImplBase& w, HWND hwnd) {
                                   seen.boxes.push_back(dialogs::TextOf(w, L"MessageText"));
                                   return PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0) != FALSE;
                               }),
                               OnScene([](WindowImplBase&, HWND hwnd) {
                                   return SkinUITest::FindOwnWindow(L"MsgWnd", L"msgwnd") == nullptr && IsWindowEnabled(hwnd) &&
                                          PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0) && PostMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
                               })};
    std::vector<WindowStep> steps{ChooseRow(2), Answer(seen, L"confirm_btn"), CloseWhenIdle(seen, controller)};
    if (GetParam()) steps = {ChooseRow(2), keys[0], keys[1], CloseWhenIdle(seen, controller)};
    const auto result = dialogs::RunWindowScript(steps, [&] { controller.LoadSenceConfigFromDSP(Main()); });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    EXPECT_EQ(std::vector<std::wstring>{Formatted(L"${load_scene_tips1}", 3, L"Stage")}, seen.boxes);
    const std::vector<std::string> flash = FlashFramesSince(mark);
    if (GetParam()) {
        EXPECT_EQ(std::vector<std::string>{"02 0e 66 "}, flash) << "nothing recalled";
        return;
    }
    ASSERT_GE(flash.size(), 3u);
    EXPECT_EQ("02 0e 66 ", flash[0]);
    EXPECT_EQ("02 09 bb 0300", flash[1]) << "the recall comes before the read";
    EXPECT_EQ("02 0f 66 ", flash[2]);
    EXPECT_FLOAT_EQ(-7.0f, controller.Current().channels[0].gain) << "the recalled scene's values";
    EXPECT_TRUE(controller.Device().IsAsyncMode()) << "queued commands flow again";
    EXPECT_EQ(3, controller.Model().sceneSlot);
}

INSTANTIATE_TEST_SUITE_P(Cases, SceneLoad, ::testing::Values(true, false));

struct DeleteCase {
    const char* label;
    bool silent;
    uint32_t validAfter;
    const wchar_t* rowAfter;  // what the unit still holds
    bool clickedAgain = false;  // Delete clicked again as the job starts, and once it ended
};

class SceneDelete : public SceneWindows, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(SceneDelete, ClearsTheRowOnceStartedAndGivesItBackWithoutAnAcknowledgement)
{
    const DeleteCase& c = GetParam();
    EqualizerManager& controller = Controller();
    Seen seen;
    std::wstring rowWhileBusy = L"<not seen>";
    std::vector<WindowStep> steps{OnScene([&](WindowImplBase&, HWND) {
                                      Unit().SetSilent(c.silent);
                                      return true;
                                  }),
                                  ChooseRow(3, c.clickedAgain ? 2 : 1)};
    // Acknowledged, the loading window may be gone before a tick could see it.
    if (c.silent) {
        steps.push_back(OnLoading([&](WindowImplBase&, HWND) {
            auto* scene = dynamic_cast<WindowImplBase*>(reinterpret_cast<CWindowWnd*>(
                GetWindowLongPtrW(SkinUITest::FindOwnWindow(L"MsgWnd", L"scenewnd"), GWLP_USERDATA)));
            auto* list = scene != nullptr ? dynamic_cast<CListUI*>(dialogs::Find(*scene, L"listview")) : nullptr;
            if (list == nullptr) return false;
            rowWhileBusy = scene->PaintManager().FindSubControlByName(list->GetChildAt(3), L"value")->GetTextContent().CStr();
            return true;
        }));
        steps.push_back(Answer(seen, L"confirm_btn"));
    }
    if (c.clickedAgain) steps.push_back(ChooseRow(3));
    steps.push_back(CloseWhenIdle(seen, controller));
    const size_t mark = sim::SimUnit::Instance().ReceivedFrames().size();
    const auto result = dialogs::RunWindowScript(steps, [&] { controller.DeleteDSPSenceConfig(Main()); });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    if (c.silent) {
        EXPECT_EQ(L"", rowWhileBusy) << "cleared before the unit answers";
    }
    EXPECT_EQ((std::vector<std::string>{"02 0e 66 ", "02 0a bb 04"}), FlashFramesSince(mark));
    EXPECT_EQ(c.rowAfter, seen.rows[3]);
    EXPECT_EQ(c.rowAfter, controller.Model().SceneNameText(3));
    EXPECT_EQ(c.validAfter, controller.Model().sceneValid & (1u << 3));
    const std::vector<std::wstring> told{Formatted(L"${delete_scene_fail}", 0)};
    EXPECT_EQ(c.silent ? told : std::vector<std::wstring>(), seen.boxes) << "a silent unit is told so";
    EXPECT_EQ(!c.silent, controller.Device().IsDeviceOpen()) << "and let go";
}

INSTANTIATE_TEST_SUITE_P(Cases, SceneDelete,
                         ::testing::Values(DeleteCase{"acknowledged", false, 0, L""},
                                           DeleteCase{"silent", true, 1u << 3, L"Live"},
                                           DeleteCase{"double-clicked", false, 0, L"", true}));

TEST_F(SceneWindows, ConfirmWithoutSelectionDoesNothing)
{
    Seen seen;
    const size_t mark = sim::SimUnit::Instance().ReceivedFrames().size();
    const auto result = dialogs::RunWindowScript(
        {OnScene([](WindowImplBase& w, HWND hwnd) {
             Click(w, hwnd, L"confirm_btn");
             return true;
         }),
         CloseWhenIdle(seen, Controller())},
        [&] { Controller().DeleteDSPSenceConfig(Main()); });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    EXPECT_EQ(std::vector<std::string>{"02 0e 66 "}, FlashFramesSince(mark));
    EXPECT_EQ(L"Live", seen.rows[3]);
}

// The two-box question: which box decides the result, and when texts apply.
struct CheckBoxCase {
    const char* label;
    std::function<void(WindowImplBase&)> tick;
    const wchar_t* second;  // the second box's text handed in
    int result;
    const wchar_t* firstText;  // null: the layout's
    bool keyed = false;        // tick pressed a key that answers before the click
};

class CheckBoxQuestion : public ::testing::TestWithParam<CheckBoxCase> {};

void Tick(WindowImplBase& w, const wchar_t* name, bool on)
{
    static_cast<COptionUI*>(dialogs::Find(w, name))->SetSelectedState(on, false);
}

TEST_P(CheckBoxQuestion, ReturnsTheTickedBox)
{
    const CheckBoxCase& c = GetParam();
    ASSERT_TRUE(OpenAppSkin());
    int result = -1;
    std::wstring first;
    const auto run = dialogs::RunDialogScript(
        L"MsgCheckBoxWnd",
        {[&](WindowImplBase& w, HWND hwnd) {
             first = dialogs::TextOf(w, L"check_box_0");
             c.tick(w);
             Click(w, hwnd, L"confirm_btn");
             return true;
         },
         // Reached only while the question stays open after the click.
         [&](WindowImplBase& w, HWND hwnd) {
             Click(w, hwnd, L"cancel_btn");
             return true;
         }},
        [&] { result = AskDestructiveChoice(nullptr, L"Q", L"Which way?", L"One way", c.second); });
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.result == 0 && !c.keyed, run.allStepsRan);
    const std::wstring layoutFirst = CResourceStore::GetInstance()->LookupText(L"${copy_left_to_right}").CStr();
    EXPECT_EQ(c.firstText != nullptr ? c.firstText : layoutFirst, first);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckBoxQuestion,
    ::testing::Values(CheckBoxCase{"first box as laid out", [](WindowImplBase&) {}, L"Other way", 1, L"One way"},
                      CheckBoxCase{"second box", [](WindowImplBase& w) { Tick(w, L"check_box_1", true); },
                                   L"Other way", 2, L"One way"},
                      CheckBoxCase{"neither box stays open",
                                   [](WindowImplBase& w) {
                                       Tick(w, L"check_box_0", false);
                                       Tick(w, L"check_box_1", false);
                                   },
                                   L"Other way", 0, L"One way"},
                      CheckBoxCase{"one empty text keeps both layout texts", [](WindowImplBase&) {}, L"", 1,
                                   nullptr},
                      CheckBoxCase{"Enter at open cancels", [](WindowImplBase& w) { PostMessageW(w, WM_KEYDOWN, VK_RETURN, 0); }, L"Other way", 0, L"One way", true}));

struct FormatCase {
    const wchar_t* format;
    const char* kinds;
    bool takes;
};

TEST(LanguageFormat, AcceptsOnlyTheArgumentsThePlaceGives)
{
    const FormatCase cases[] = {
        {L"Load scene %d (%s)?", "ds", true},   {L"Scene %d (%s)", "sd", false},
        {L"100%% of %d", "d", true},            {L"%5.1f", "d", false},
        {L"name %s, %d, %s", "sds", true},      {L"scene %d %d", "d", false},
        {L"dangling %", "", false},             {L"plain", "", true},
    };
    for (const FormatCase& c : cases) EXPECT_EQ(c.takes, FormatTakes(c.format, c.kinds)) << c.kinds;
}

} // namespace
