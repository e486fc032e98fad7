#include "tests/support/ProcessResources.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cstdio>

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

// Wine hands out window DCs from a cache of 64 and keeps in each DC given
// back the visible region of the window it served last, a GDI object of
// the process, until the DC serves again: which regions are held depends on
// which windows painted last, dead or alive. Taking the whole cache for the
// desktop at once and giving it back leaves every cached DC holding the
// same region, so that two counts of one state agree.
void SettleDcCache() {
    const int kCachedDcs = 64;
    HWND desktop = GetDesktopWindow();
    std::vector<HDC> taken;
    for (int i = 0; i < kCachedDcs; ++i) {
        HDC dc = GetDCEx(desktop, nullptr, DCX_CACHE);
        if (dc != nullptr) taken.push_back(dc);
    }
    for (HDC dc : taken) ReleaseDC(desktop, dc);
}

// A bitmap by its size, a font by face, height and weight, a region by its
// box: what a leak hunt needs to tell them apart; other kinds by their type
// number.
std::string GdiObjectLine(uintptr_t index, DWORD type) {
    HGDIOBJ object = reinterpret_cast<HGDIOBJ>(index);
    char line[160];
    BITMAP bitmap = {};
    LOGFONTA font = {};
    if (type == OBJ_BITMAP && GetObjectW(object, sizeof(bitmap), &bitmap)) {
        std::snprintf(line, sizeof(line), "%04x bitmap %ldx%ld", static_cast<unsigned>(index), bitmap.bmWidth,
                      bitmap.bmHeight);
    } else if (type == OBJ_FONT && GetObjectA(object, sizeof(font), &font)) {
        std::snprintf(line, sizeof(line), "%04x font %s %ld %ld", static_cast<unsigned>(index), font.lfFaceName,
                      font.lfHeight, font.lfWeight);
    } else if (type == OBJ_REGION) {
        RECT box = {};
        GetRgnBox(static_cast<HRGN>(object), &box);
        std::snprintf(line, sizeof(line), "%04x region %ld,%ld,%ld,%ld", static_cast<unsigned>(index), box.left,
                      box.top, box.right, box.bottom);
    } else {
        std::snprintf(line, sizeof(line), "%04x type %lu", static_cast<unsigned>(index), type);
    }
    return line;
}

}  // namespace

std::vector<std::string> GdiObjectList() {
    SettleDcCache();
    std::vector<std::string> lines;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (type != 0) lines.push_back(GdiObjectLine(index, type));
    }
    return lines;
}

ProcessCounts CountProcessResources() {
    SettleDcCache();
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
