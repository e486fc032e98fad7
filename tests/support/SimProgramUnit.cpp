#include "tests/support/SimProgramUnit.h"

#include <windows.h>
#include <dbt.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cwchar>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace sim {

namespace {

constexpr wchar_t kInterfaceName[] =
    L"\\\\?\\HID#VID_0483&PID_5750#7&2a4c1d3b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
// The HID interface class.
constexpr GUID kHidClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

BOOL CALLBACK CollectMainWindows(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[32] = {};
    if (process == GetCurrentProcessId() && GetClassNameW(window, className, 32) > 0 &&
        wcscmp(className, L"MainWnd") == 0) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    }
    return TRUE;
}

// The broadcast of one plug move, and whether the program has taken it.
struct PlugMove {
    std::vector<unsigned char> bytes;
    WPARAM event = 0;
    bool taken = false;
};

// Sent, not posted, one move at a time in the order they happened, by a
// thread of its own that waits as long as the program takes: a sent message
// the receiver has not begun when a timed send gives up is dropped, and a
// program busy for a few seconds on a loaded machine would never hear of a
// replug.
class PlugBroadcaster {
public:
    PlugBroadcaster() { std::thread([this] { Run(); }).detach(); }

    // Returns once the program has taken the move, or after a while if it is
    // busy; the move reaches it all the same.
    void Send(bool arrived) {
        auto move = std::make_shared<PlugMove>();
        move->event = arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
        const size_t nameChars = wcslen(kInterfaceName) + 1;
        move->bytes.resize(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + nameChars * sizeof(wchar_t));
        auto* broadcast = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(move->bytes.data());
        broadcast->dbcc_size = static_cast<DWORD>(move->bytes.size());
        broadcast->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        broadcast->dbcc_classguid = kHidClass;
        wmemcpy(broadcast->dbcc_name, kInterfaceName, nameChars);

        std::unique_lock<std::mutex> lock(mMutex);
        mMoves.push_back(move);
        mChanged.notify_all();
        // The UI thread itself never waits for its own queue.
        if (OnWindowThread()) return;
        mChanged.wait_for(lock, std::chrono::milliseconds(kTakeWaitMs), [&move] { return move->taken; });
    }

private:
    static constexpr int kTakeWaitMs = 5000;

    static std::vector<HWND> MainWindows() {
        std::vector<HWND> windows;
        EnumWindows(CollectMainWindows, reinterpret_cast<LPARAM>(&windows));
        return windows;
    }

    static bool OnWindowThread() {
        for (HWND window : MainWindows()) {
            if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return true;
        }
        return false;
    }

    void Run() {
        for (;;) {
            std::shared_ptr<PlugMove> move;
            {
                std::unique_lock<std::mutex> lock(mMutex);
                mChanged.wait(lock, [this] { return !mMoves.empty(); });
                move = mMoves.front();
                mMoves.pop_front();
            }
            for (HWND window : MainWindows()) {
                SendMessageW(window, WM_DEVICECHANGE, move->event, reinterpret_cast<LPARAM>(move->bytes.data()));
            }
            std::lock_guard<std::mutex> lock(mMutex);
            move->taken = true;
            mChanged.notify_all();
        }
    }

    std::mutex mMutex;
    std::condition_variable mChanged;
    std::deque<std::shared_ptr<PlugMove>> mMoves;
};

// How long a restart (a reboot, a factory reset, into the loader and back)
// keeps the unit off the bus: long enough for a window to show what it says
// meanwhile.
constexpr int kRestartMs = 1000;

// The unit answers before the program's first call, whether a probe runs or not.
[[maybe_unused]] const bool gWired = (ProgramUnit(), true);

}  // namespace

LoaderUnitModel& ProgramUnit() {
    static LoaderUnitModel* model = [] {
        SimUnit& unit = SimUnit::Instance();
        unit.Reset();
        // Never deleted: threads of the program may still use it at exit.
        auto* made = new LoaderUnitModel(unit);
        // Never deleted either: its thread runs for the life of the process.
        auto* broadcaster = new PlugBroadcaster();
        made->SetPlugListener([broadcaster](bool arrived) { broadcaster->Send(arrived); });
        made->SetRestartDelay(kRestartMs);
        made->SetLoaderRestartDelay(kRestartMs);
        unit.SetResponder(made);
        return made;
    }();
    return *model;
}

}  // namespace sim
