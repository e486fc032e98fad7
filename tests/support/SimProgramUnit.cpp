#include "tests/support/SimProgramUnit.h"

#include <windows.h>
#include <dbt.h>

#include <cstddef>
#include <cwchar>
#include <utility>
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

// Sent, not posted: the broadcast lives on this stack, as the system's does
// for the length of the call.
void BroadcastPlug(bool arrived) {
    const size_t nameChars = wcslen(kInterfaceName) + 1;
    std::vector<unsigned char> bytes(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
                                     nameChars * sizeof(wchar_t));
    auto* broadcast = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    broadcast->dbcc_size = static_cast<DWORD>(bytes.size());
    broadcast->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    broadcast->dbcc_classguid = kHidClass;
    wmemcpy(broadcast->dbcc_name, kInterfaceName, nameChars);

    std::vector<HWND> windows;
    EnumWindows(CollectMainWindows, reinterpret_cast<LPARAM>(&windows));
    const WPARAM event = arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    bool late = false;
    for (HWND window : windows) {
        DWORD_PTR result = 0;
        late |= SendMessageTimeoutW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(broadcast),
                                    SMTO_NORMAL, 5000, &result) == 0;
    }
    // A window busy past the wait still takes the message afterwards: the
    // broadcast must stay readable then, so it is never freed.
    if (late) new std::vector<unsigned char>(std::move(bytes));
}

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
        made->SetPlugListener(BroadcastPlug);
        made->SetRestartDelay(kRestartMs);
        made->SetLoaderRestartDelay(kRestartMs);
        unit.SetResponder(made);
        return made;
    }();
    return *model;
}

}  // namespace sim
