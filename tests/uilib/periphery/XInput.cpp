#include "XInput.h"

#include <cwchar>
#include <string>

#include "MessagePump.h"

namespace SkinUITest {

bool RunXdotool(const std::wstring& arguments, DWORD waitMs)
{
    static int serial = 0;
    const std::wstring marker =
        L"/tmp/brisa_xdo_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++serial);
    // The marker tells that every event was sent; xdotool's exit code does
    // not reach a Wine process.
    std::wstring command = L"/bin/sh -c \"xdotool " + arguments + L"; touch " + marker + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"/bin/sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    // For a Linux program Wine may leave stale values in the process record;
    // closing them could close a live handle (the test's own output), so
    // they are left alone.
    const std::wstring seen = L"Z:" + marker;
    const bool done =
        PumpUntil([&seen] { return GetFileAttributesW(seen.c_str()) != INVALID_FILE_ATTRIBUTES; }, waitMs);
    DeleteFileW(seen.c_str());
    return done;
}

POINT ScreenPointOf(const SkinUI::CControlUI& control, HWND window, int dx, int dy)
{
    const SkinUI::CUIRect& rc = control.GetPosition();
    POINT pt = {rc.left + dx, rc.top + dy};
    ClientToScreen(window, &pt);
    return pt;
}

std::wstring ClickAt(POINT pt)
{
    return L"mousemove " + std::to_wstring(pt.x) + L" " + std::to_wstring(pt.y) + L" click 1";
}

} // namespace SkinUITest
