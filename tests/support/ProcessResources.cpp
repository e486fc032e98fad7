#include "tests/support/ProcessResources.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>

namespace sim {

namespace {

int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

// Wine reports no GUI resources; there the handle tables are read instead:
// both take a handle's 16-bit index alone, whatever its generation.
long CountGdiObjects() {
    long count = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    }
    return count;
}

long CountUserObjects() {
    long count = 0;
    for (uintptr_t index = 0x20; index < 0x10000; index += 2) {
        HWND window = reinterpret_cast<HWND>(index);
        DWORD process = 0;
        if (IsWindow(window) && GetWindowThreadProcessId(window, &process) && process == GetCurrentProcessId()) {
            ++count;
        } else if (IsMenu(reinterpret_cast<HMENU>(index))) {
            ++count;
        }
    }
    return count;
}

}  // namespace

ProcessCounts CountProcessResources() {
    HANDLE self = GetCurrentProcess();
    ProcessCounts counts;
    counts.gdi = static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS));
    counts.user = static_cast<long>(GetGuiResources(self, GR_USEROBJECTS));
    if (counts.gdi == 0) counts.gdi = CountGdiObjects();
    if (counts.user == 0) counts.user = CountUserObjects();
    counts.threads = ThreadCount();
    return counts;
}

}  // namespace sim
