// Profile files from the main window against the simulated unit: a loaded
// scene profile or whole configuration is pushed with exactly the frames the
// unit expects, a refused file changes nothing, the display follows the file
// and a save reports its outcome.
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
#include "ProfileTestKit.h"
#include "PushShape.h"
#include "app/controls/SButtonUI.h"
#include "app/tuning/AppMessages.h"
#include "app/tuning/ProfileFile.h"
#include "device/DeviceTiming.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitModel.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

const DWORD kBoundMs = 60000;

std::wstring ControlText(CConnectHost& w, const wchar_t* format, int index)
{
    return TextOf(w.PaintManager(), NameOf(format, index).c_str());
}

// One connected window for all cases: each starts from what the last one left.
class ProfileTransfer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!OpenAppSkin()) return;
        SetDeviceWaitScaleForTests(1);
        sim::SimUnit::Instance().Reset();
        sim::SimUnit::Instance().SetResponder(&Unit());
        mWindow = new CConnectHost();
        mWindow->CreateNativeWindow(nullptr, L"ConnectHost", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1200, 900);
    }
    static void TearDownTestSuite()
    {
        if (mWindow != nullptr && IsWindow(*mWindow)) DestroyWindow(*mWindow);
        delete mWindow;
        mWindow = nullptr;
        sim::SimUnit::Instance().SetResponder(nullptr);
        SetDeviceWaitScaleForTests(100);
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, mWindow);
        ASSERT_TRUE(IsWindow(*mWindow));
        Unit().SetSilent(false);
        ASSERT_TRUE(WaitIdle());
        Unit().ClearExchanges();
    }
    // Connected, no transfer, no loading window, the queue taking edits.
    bool WaitIdle()
    {
        EqualizerManager& c = mWindow->Controller();
        return SkinUITest::PumpUntil(
            [&] {
                return c.Device().IsAsyncMode() && !c.IsStatusReadRunning() && !c.IsTransferRunning() &&
                       mWindow->LoadingWindow() == nullptr;
            },
            kBoundMs);
    }
    // Runs action and returns the text of the message box it shows, closed
    // with its button; an action whose box comes later pumps until mShown is set.
    std::wstring NoticeOf(const std::function<void()>& action)
    {
        mShown.clear();
        const dialogs::ScriptResult r = dialogs::RunDialogScript(
            L"MsgWnd",
            {[&](WindowImplBase& w, HWND hwnd) {
                mShown = dialogs::TextOf(w, L"MessageText");
                dialogs::Click(w, hwnd, L"confirm_btn");
                return true;
            }},
            action, 2500);
        EXPECT_TRUE(r.allStepsRan) << "step " << r.failedStep;
        return mShown;
    }
    EqualizerManager& Controller() { return mWindow->Controller(); }

    static CConnectHost* mWindow;
    ScratchFolder mFolder;
    std::wstring mShown;
};
CConnectHost* ProfileTransfer::mWindow = nullptr;

struct PushCase {
    const char* name;
    std::function<void(TuningModel&)> edit;
    bool whole;
};

// A job's worker, about to be marked stopped, waits there until the test has looked.
const HANDLE gAtJobEnd = CreateEventW(nullptr, FALSE, FALSE, nullptr);
const HANDLE gLooked = CreateEventW(nullptr, FALSE, FALSE, nullptr);
void HoldJobEnd()
{
    SetEvent(gAtJobEnd);
    WaitForSingleObject(gLooked, kBoundMs);
}

const PushCase kPushCases[] = {
    {"scene profile: source 3 routes only source 3, -12 dB goes out as 12, volume 0 as 6",
     [](TuningModel& m) {
         m.Current().inputSource = 3;
         m.Current().mainVolume = 0;
         m.Current().channels[4].gain = -12.0f;
     },
     false},
    {"whole configuration: every scene's commands carry its number, name before store", [](TuningModel&) {}, true},
};

TEST_F(ProfileTransfer, LoadedFilePushesItsFramesInOrderThenShowsIt)
{
    for (const PushCase& c : kPushCases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TuningModel> file = DistinctModel();
        c.edit(*file);
        file->SetSceneName(2, L"Stage");
        const std::filesystem::path path = mFolder / (c.whole ? "push.wpf" : "push.spf");
        ASSERT_TRUE(c.whole ? SaveWholeProfile(*file, path).ok : SaveSceneProfile(file->Current(), path).ok);
        // The live source is the unit's, not the file's.
        Controller().Current().inputSource = file->Current().inputSource;
        Unit().ClearExchanges();

        EqualizerManager::SetJobEndCheck(HoldJobEnd);
        if (c.whole)
            Controller().LoadWholeConfigFile(path.wstring());
        else
            Controller().LoadSenceConfigFile(path.wstring());
        // Held as it is about to be marked stopped, the push has its end
        // waiting in the window's queue.
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(gAtJobEnd, kBoundMs)) << "the push never stopped";
        EqualizerManager::SetJobEndCheck(nullptr);
        MSG end;
        EXPECT_TRUE(Controller().IsTransferRunning()) << "marked stopped before its end was posted";
        EXPECT_TRUE(PeekMessageW(&end, *mWindow, WM_LINK_JOB_DONE, WM_LINK_JOB_DONE, PM_NOREMOVE));
        SetEvent(gLooked);
        ASSERT_TRUE(WaitIdle());

        const std::vector<std::string> shape = c.whole ? WholePushShape(*file) : LivePushShape(file->Current());
        EXPECT_EQ(shape, CutToShape(ReceivedCommands(), shape));
        const std::vector<sim::Exchange> frames = Unit().Exchanges();
        if (!c.whole) {
            ASSERT_EQ(485u, frames.size());
            // Channel 4's trim byte in the sixteen-channel trim command.
            EXPECT_EQ(12, frames[2 + 12 * 33 + 4 * 13 + 1].command.data[4 + 4]);
        } else {
            // Name slot 2 and stored profile 2 are the unit's scene 3.
            const sim::UnitState unit = Unit().Snapshot();
            EXPECT_EQ(std::string("Stage"), std::string(reinterpret_cast<const char*>(unit.store[3].name), 5));
            EXPECT_TRUE(unit.store[3].valid);
            EXPECT_EQ(file->Stored(2)->channels[5].mute, unit.store[3].params.out[5].mute);
        }
        // The unit holds the file's bridges.
        const sim::UnitState unit = Unit().Snapshot();
        for (int pair = 0; pair < kBridgePairs; ++pair)
            EXPECT_EQ(file->Current().bridgeOutputs[pair], unit.scene[0].bridge[pair]) << pair;
        // The file's current channel stays current after the refresh, with its bands shown.
        const SceneProfile& live = Controller().Current();
        const int current = file->Current().currOutChannel;
        EXPECT_EQ(current, live.currOutChannel);
        auto* enable = static_cast<CSButtonUI*>(mWindow->PaintManager().FindControlByName(
            (L"ch_enable_" + std::to_wstring(current)).c_str()));
        ASSERT_NE(nullptr, enable);
        EXPECT_TRUE(enable->IsSelected());
        EXPECT_EQ(std::to_wstring(file->Current().channels[current].bands[3].freq), ControlText(*mWindow, L"eq_freq_%d", 3));
        EXPECT_EQ(std::to_wstring(static_cast<int>(file->Current().channels[7].gain)) + L"dB",
                  ControlText(*mWindow, L"edit_ch_volume_%d", 7));
        // The file's solo and mute as written, not as the editors' rules would leave them.
        EXPECT_EQ(file->Current().channels[0].solo, live.channels[0].solo);
        EXPECT_EQ(file->Current().channels[1].mute, live.channels[1].mute);
        EXPECT_TRUE(Controller().Device().IsAsyncMode());
    }
}

// A unit that stops answering ends the push after three unanswered
// commands instead of waiting out every time-out, the link closes and the
// user is told; a connect reads the unit again.
TEST_F(ProfileTransfer, PushStopsWhenTheUnitStopsAnswering)
{
    std::unique_ptr<TuningModel> file = DistinctModel();
    const std::filesystem::path path = mFolder / "silent.spf";
    ASSERT_TRUE(SaveSceneProfile(file->Current(), path).ok);
    Controller().Current().inputSource = file->Current().inputSource;
    Unit().SetSilent(true);
    const std::wstring shown = NoticeOf([&] {
        Controller().LoadSenceConfigFile(path.wstring());
        EXPECT_TRUE(SkinUITest::PumpUntil([&] { return !mShown.empty(); }, kBoundMs));
    });
    Unit().SetSilent(false);
    EXPECT_EQ(Text(L"${profile_push_fail}"), shown);
    std::vector<std::string> shape = LivePushShape(file->Current());
    shape.resize(3);
    shape.push_back("03 1f bb 00");
    // The worker writes the goodbye, then releases the handle.
    EXPECT_TRUE(SkinUITest::PumpUntil([] { return sim::SimUnit::Instance().OpenHandleCount() == 0; }, kBoundMs));
    EXPECT_EQ(shape, CutToShape(ReceivedCommands(), shape));
    EXPECT_EQ(file->Current().currOutChannel, Controller().Current().currOutChannel);
    EXPECT_FALSE(Controller().Device().IsDeviceOpen());
    Controller().ConnectDevice(false);
    EXPECT_TRUE(WaitIdle());
}

struct RefusedCase {
    const char* name;
    std::function<std::string(const std::string& spf)> text;
    const wchar_t* key;
    bool whole;
};

const RefusedCase kRefused[] = {
    {"not JSON", [](const std::string&) { return std::string("{\"model\":95,"); }, L"${profile_open_error}", false},
    {"another model",
     [](const std::string& spf) { return EditJson(spf, [](cJSON* r) { JsonSet(r, "model", cJSON_CreateNumber(96)); }); },
     L"${software_not_match}", false},
    {"current channel out of range",
     [](const std::string& spf) {
         return EditJson(spf, [](cJSON* r) { JsonSet(r, "currOutChannel", cJSON_CreateNumber(16)); });
     },
     L"${profile_load_error}", false},
    {"whole configuration with nine names",
     [](const std::string&) {
         return EditJson(WriteWholeProfileJson(*DistinctModel()),
                         [](cJSON* r) { cJSON_DeleteItemFromArray(JsonAt(r, "sceneName"), 9); });
     },
     L"${profile_load_error}", true},
};

TEST_F(ProfileTransfer, RefusedFileSendsNothingAndChangesNothing)
{
    const std::string spf = WriteSceneProfileJson(DistinctModel()->Current());
    for (const RefusedCase& c : kRefused) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path path = mFolder / (c.whole ? "broken.wpf" : "broken.spf");
        WriteText(path, c.text(spf));
        const TuningModel before = Controller().Model();
        const std::wstring volume = ControlText(*mWindow, L"edit_ch_volume_%d", 0);
        const std::wstring freq = ControlText(*mWindow, L"eq_freq_%d", 0);
        Unit().ClearExchanges();

        const std::wstring shown = NoticeOf([&] {
            if (c.whole)
                Controller().LoadWholeConfigFile(path.wstring());
            else
                Controller().LoadSenceConfigFile(path.wstring());
        });
        EXPECT_EQ(Text(c.key), shown);
        EXPECT_FALSE(Controller().IsTransferRunning());
        EXPECT_EQ(nullptr, mWindow->LoadingWindow());
        EXPECT_TRUE(Unit().Exchanges().empty());
        EXPECT_EQ(WriteWholeProfileJson(before), WriteWholeProfileJson(Controller().Model()));
        EXPECT_EQ(volume, ControlText(*mWindow, L"edit_ch_volume_%d", 0));
        EXPECT_EQ(freq, ControlText(*mWindow, L"eq_freq_%d", 0));
    }
}

struct SaveCase {
    const char* name;
    const char* file;
    bool whole;
    const wchar_t* key;
    // The unit fails at this command of the read (0: never); a file saved
    // earlier must then stay as it was.
    int failAt = 0;
    sim::UnitModel::CommandFault fault = sim::UnitModel::CommandFault::Silent;
    // The link closed and opened again at this command (0: never).
    size_t relinkAt = 0;
    bool unitGone = false;  // pulled before the save, as while its file dialog is open
};

const SaveCase kSaves[] = {
    {"scene profile", "saved.spf", false, L"${profile_save_ok}"},
    {"scene profile into a missing folder", "missing/saved.spf", false, L"${profile_create_error}"},
    {"whole configuration read back from the unit", "saved.wpf", true, L"${profile_save_ok}"},
    {"whole configuration into a missing folder", "missing/saved.wpf", true, L"${profile_create_error}"},
    // In the third stored scene; then past the ten scenes, in the live read.
    {"whole configuration, the unit silent part way", "saved.wpf", true, L"${whole_save_fail}", 400},
    {"whole configuration, the unit silent in the live read", "saved.wpf", true, L"${whole_save_fail}", 1700},
    {"whole configuration, the unit gone part way", "saved.wpf", true, L"${whole_save_cut}", 400,
     sim::UnitModel::CommandFault::Vanish},
    // One get of the third stored scene left unanswered, the rest answered: it is asked again.
    {"whole configuration, one answer missed", "saved.wpf", true, L"${profile_save_ok}", 400,
     sim::UnitModel::CommandFault::Drop},
    // While the unit lets that get wait, unplugged and plugged in again.
    {"whole configuration, the link renewed part way", "saved.wpf", true, L"${whole_save_cut}", 400,
     sim::UnitModel::CommandFault::Drop, 400},
    // Its scenes were never read: the unit's names would stand over the program's values.
    {"whole configuration with the unit gone", "saved.wpf", true, L"${whole_save_offline}", 0, {}, 0, true},
};

TEST_F(ProfileTransfer, SaveTellsItsOutcomeAndTheFileLoadsBack)
{
    {
        sim::StateAccess unit = Unit().Access();
        unit->store[3].valid = true;
        memset(unit->store[3].name, 0, sizeof(unit->store[3].name));
        memcpy(unit->store[3].name, "Hall", 4);
        unit->store[3].params.out[2].mute = 1;
        unit->store[3].params.bridge[5] = 1;
        unit->scene[0].bridge[5] = 0;
        // The live state is read back too: the unit and the program agree on it.
        unit->scene[0].out[3].gainDb = -7;
    }
    Controller().Current().channels[3].gain = -7.0f;
    for (const SaveCase& c : kSaves) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path path = mFolder / c.file;
        const std::string before = std::filesystem::exists(path) ? ReadFileText(path).value_or("") : "";
        Unit().FailAtCommand(c.failAt, c.fault);
        const std::wstring shown = NoticeOf([&] {
            // The whole configuration is read from the unit on a worker first.
            if (!c.whole) return Controller().SaveSenceConfigFile(path.wstring());
            const size_t mark = Unit().Exchanges().size();
            if (c.unitGone) {
                Unit().Vanish();
                Controller().DisconnectDevice();
            }
            Controller().SaveWholeConfigFile(path.wstring());
            if (c.relinkAt > 0) {
                ASSERT_TRUE(sim::PollUntil([&] { return Unit().Exchanges().size() >= mark + c.relinkAt; }, kBoundMs));
                Controller().Device().CloseHIDDevice(false);
                Controller().Device().OpenHIDDevice();
            }
            // A read cut short leaves the link closed, with nothing to wait for.
            EXPECT_TRUE(SkinUITest::PumpUntil(
                [&] { return !mShown.empty() && (c.failAt > 0 || c.unitGone ? !Controller().IsTransferRunning() : WaitIdle()); },
                kBoundMs));
        });
        EXPECT_EQ(Text(c.key), shown);
        if ((c.failAt > 0 || c.unitGone) && c.key != std::wstring(L"${profile_save_ok}")) {
            ASSERT_FALSE(before.empty());
            EXPECT_EQ(before, ReadFileText(path).value_or("")) << "the earlier save stays";
            EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));
            // The unit back and read again for the next row.
            Unit().SetSilent(false);
            Unit().Return();
            if (Controller().Device().IsDeviceOpen()) Controller().DisconnectDevice();
            Controller().ConnectDevice(false);
            ASSERT_TRUE(WaitIdle());
            continue;
        }
        if (c.key != std::wstring(L"${profile_save_ok}")) {
            EXPECT_FALSE(std::filesystem::exists(path));
            continue;
        }
        TuningModel back;
        ASSERT_TRUE(c.whole ? LoadWholeProfile(path, back).ok : LoadSceneProfile(path, back.Current()).ok);
        EXPECT_FLOAT_EQ(-7.0f, back.Current().channels[3].gain);
        if (c.whole) {
            EXPECT_EQ(L"Hall", back.SceneNameText(2));
            EXPECT_EQ(1, back.Stored(2)->channels[2].mute);
            // The scene's bridge is its own, not the live state's.
            EXPECT_EQ(1, back.Stored(2)->bridgeOutputs[5]);
            EXPECT_EQ(0, back.Current().bridgeOutputs[5]);
        }
    }
}

} // namespace
