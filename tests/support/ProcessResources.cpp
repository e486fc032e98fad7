#include "tests/support/ProcessResources.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cstdio>
#include <string>

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
// One pass gives the whole count and the window DCs and regions among it.
void CountGdiObjects(long* all, long* dcCache) {
    *all = 0;
    *dcCache = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (type == 0) continue;
        ++*all;
        if (type == OBJ_DC || type == OBJ_REGION) ++*dcCache;
    }
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    if (GetWindowThreadProcessId(window, &process) && process == GetCurrentProcessId()) ++*reinterpret_cast<long*>(count);
    return TRUE;
}

// The windows found by walking the window tree and the menus by handle:
// under Wine, asking about every possible window handle takes a server
// round trip each, which a loaded machine stretches to seconds.
long CountUserObjects() {
    long count = 0;
    for (HWND parent : {HWND(nullptr), HWND_MESSAGE}) {
        for (HWND top = FindWindowExW(parent, nullptr, nullptr, nullptr); top; top = FindWindowExW(parent, top, nullptr, nullptr)) {
            CountOwnWindow(top, reinterpret_cast<LPARAM>(&count));
            EnumChildWindows(top, CountOwnWindow, reinterpret_cast<LPARAM>(&count));
        }
    }
    for (uintptr_t index = 0x20; index < 0x10000; index += 2) {
        if (IsMenu(reinterpret_cast<HMENU>(index))) ++count;
    }
    return count;
}

// The first use of a system cursor loads its images, held by the process
// from then on: whether a run hovered a slider or an edit must not show in
// the counts, so every standard cursor is loaded before any count.
void LoadSystemCursors() {
    static const LPCWSTR kCursors[] = {IDC_ARROW, IDC_IBEAM,    IDC_WAIT,     IDC_CROSS,  IDC_UPARROW, IDC_SIZE,
                                       IDC_ICON,  IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS,  IDC_SIZEALL,
                                       IDC_NO,    IDC_HAND,     IDC_APPSTARTING, IDC_HELP};
    for (LPCWSTR cursor : kCursors) LoadCursorW(nullptr, cursor);
}

// The window a DC is given for; a DC of the system's cache that was given
// back has none (and keeps the region of the last window it served).
std::string DcWindow(HDC dc) {
    const HWND window = WindowFromDC(dc);
    if (window == nullptr) return "in the cache, given back";
    char className[64] = "";
    char title[48] = "";
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, title, sizeof(title));
    return std::string(className) + " \"" + title + "\"";
}

// A bitmap by its size, a font by face, height and weight, a region by its
// box, a DC by the window it was last given for: what a leak hunt needs to
// tell them apart; other kinds by their type number.
std::string GdiObjectLine(uintptr_t index, DWORD type) {
    HGDIOBJ object = reinterpret_cast<HGDIOBJ>(index);
    char line[200];
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
    } else if (type == OBJ_DC) {
        std::snprintf(line, sizeof(line), "%04x window DC %s", static_cast<unsigned>(index),
                      DcWindow(static_cast<HDC>(object)).c_str());
    } else {
        std::snprintf(line, sizeof(line), "%04x type %lu", static_cast<unsigned>(index), type);
    }
    return line;
}

}  // namespace

std::vector<std::string> GdiObjectList() {
    LoadSystemCursors();
    std::vector<std::string> lines;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (type != 0) lines.push_back(GdiObjectLine(index, type));
    }
    return lines;
}

ProcessCounts CountProcessResources() {
    LoadSystemCursors();
    HANDLE self = GetCurrentProcess();
    ProcessCounts counts;
    counts.gdi = static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS));
    counts.user = static_cast<long>(GetGuiResources(self, GR_USEROBJECTS));
    long walked = 0;
    CountGdiObjects(&walked, &counts.dcCache);
    if (counts.gdi == 0) counts.gdi = walked;
    if (counts.user == 0) counts.user = CountUserObjects();
    counts.threads = ThreadCount();
    return counts;
}

}  // namespace sim
