// The probe's requests about skin windows and their controls; UI thread only.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/controls/SButtonUI.h"
#include "tests/support/ProcessResources.h"
#include "tests/support/RectText.h"
#include "tests/support/SimProbe.h"
#include "uilib/control/ListInterfaces.h"
#include "uilib/control/Menu.h"
#include "uilib/control/Option.h"
#include "uilib/control/Progress.h"
#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"

namespace sim {

namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(size > 0 ? static_cast<size_t>(size) : 0, L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
    return wide;
}

std::wstring WindowText(HWND window, bool title) {
    wchar_t text[256] = {};
    if (title) GetWindowTextW(window, text, 256);
    else GetClassNameW(window, text, 256);
    return text;
}

// Top-level windows with a skin tree, in the order they were made.
std::vector<CPaintManagerUI*> SkinWindows() {
    std::vector<CPaintManagerUI*> windows;
    for (int i = 0; i < CPaintManagerUI::LiveManagerCount(); ++i) {
        CPaintManagerUI* manager = CPaintManagerUI::LiveManagerAt(i);
        HWND window = manager ? manager->WindowHandle() : nullptr;
        if (window && IsWindow(window) && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
            windows.push_back(manager);
        }
    }
    return windows;
}

std::string XWindow(HWND window) {
    const auto id = reinterpret_cast<uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
    return id != 0 ? std::to_string(id) : std::string();
}

std::string WindowRecord(HWND window) {
    RECT rc = {};
    GetWindowRect(window, &rc);
    char handle[16];
    std::snprintf(handle, sizeof(handle), "%lx", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
    return std::string("hwnd=") + handle + "\tvisible=" + (IsWindowVisible(window) ? "1" : "0") +
           "\tenabled=" + (IsWindowEnabled(window) ? "1" : "0") +
           "\tdirty=" + (GetUpdateRect(window, nullptr, FALSE) ? "1" : "0") + "\trect=" + RectText(rc) +
           "\txwindow=" + XWindow(window) + "\ttitle=" + ProbeEscape(WindowText(window, true)) +
           "\tclass=" + ProbeEscape(WindowText(window, false));
}

// The words from index on, joined again by single blanks.
std::string Rest(const std::vector<std::string>& words, size_t index) {
    std::string rest;
    for (size_t i = index; i < words.size(); ++i) rest += (rest.empty() ? "" : " ") + words[i];
    return rest;
}

bool Matches(HWND window, const std::string& selector) {
    if (!selector.empty() && selector[0] == '#') {
        return std::strtoul(selector.c_str() + 1, nullptr, 16) == reinterpret_cast<uintptr_t>(window);
    }
    return WindowText(window, true) == Wide(selector);
}

bool Shown(CControlUI* control) {
    for (; control; control = control->GetParentControl()) {
        if (!control->GetVisibility()) return false;
    }
    return true;
}

// The top-level window a click at the rectangle's centre reaches, when it
// is not window (another window, of this program or another, shown over it).
std::string WindowOver(const RECT& rc, HWND window) {
    const POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    const HWND hit = WindowFromPoint(centre);
    const HWND top = hit != nullptr ? GetAncestor(hit, GA_ROOT) : nullptr;
    if (top == window) return std::string();
    if (top == nullptr) return "nothing";
    return ProbeEscape(WindowText(top, true)) + " (" + ProbeEscape(WindowText(top, false)) + ")";
}

// The X window the display driver shows window in (decimal, as X tools
// print it), for the kit to see that the X server puts it under the pointer.
// Controls not yet attached (pages built later) have no manager: the window is the one searched.
std::string ControlRecord(CControlUI* control, HWND window) {
    RECT rc = control->GetPosition();
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    std::string value, low, high, index;
    if (auto* progress = static_cast<SkinUI::CProgressUI*>(control->FindInterface(L"Progress"))) {
        value = std::to_string(progress->GetValue());
        low = std::to_string(progress->GetMinValue());
        high = std::to_string(progress->GetMaxValue());
    }
    if (auto* owner = static_cast<SkinUI::IListOwnerUI*>(control->FindInterface(L"IListOwner"))) {
        index = std::to_string(owner->GetSelectedIndex());
    }
    auto* option = static_cast<SkinUI::COptionUI*>(control->FindInterface(L"Option"));
    // The application's selectable buttons keep their own state.
    auto* button = static_cast<SkinUI::CSButtonUI*>(control->FindInterface(L"SButton"));
    const bool selected = (option != nullptr && option->IsSelected()) || (button != nullptr && button->IsSelected());
    return "OK type=" + ProbeEscape(control->GetTypeName()) + "\ttext=" + ProbeEscape(control->GetTextContent().CStr()) +
           "\tvisible=" + (Shown(control) ? "1" : "0") + "\tover=" + WindowOver(rc, window) + "\txwindow=" + XWindow(window) +
           "\tdirty=" + (GetUpdateRect(window, nullptr, FALSE) ? "1" : "0") + "\tenabled=" + (control->GetEnabledState() ? "1" : "0") +
           "\tselected=" + (selected ? "1" : "0") + "\tvalue=" + value + "\tmin=" + low +
           "\tmax=" + high + "\tindex=" + index + "\trect=" + RectText(rc) + "\n";
}

// Every named control of the tree, in tree order; returns null to go on.
CControlUI* CollectNamed(CControlUI* control, void* data) {
    if (!control->GetControlName().IsEmpty()) static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

std::string Controls(const std::vector<std::string>& words) {
    const std::string selector = Rest(words, 1);
    for (CPaintManagerUI* manager : SkinWindows()) {
        if (!Matches(manager->WindowHandle(), selector)) continue;
        std::vector<CControlUI*> named;
        if (manager->Root()) manager->Root()->FindInTree(CollectNamed, &named, SkinUI::UIFIND_ALL);
        std::vector<std::string> lines;
        for (CControlUI* control : named) {
            const std::string record = ControlRecord(control, manager->WindowHandle());
            lines.push_back("name=" + ProbeEscape(control->GetControlName().CStr()) + "\t" +
                            record.substr(3, record.size() - 4));
        }
        return ProbeList(lines);
    }
    return ProbeError("no window " + selector);
}

std::string Control(const std::vector<std::string>& words) {
    if (words.size() < 2) return ProbeError("CONTROL <name> [window]");
    const std::wstring name = Wide(words[1]);
    const std::string selector = Rest(words, 2);
    CControlUI* hidden = nullptr;
    HWND hiddenWindow = nullptr;
    for (CPaintManagerUI* manager : SkinWindows()) {
        HWND window = manager->WindowHandle();
        if (!selector.empty() && !Matches(window, selector)) continue;
        CControlUI* control = manager->FindControlByName(name.c_str());
        if (!control) continue;
        if (!selector.empty() || IsWindowVisible(window)) return ControlRecord(control, window);
        if (!hidden) {
            hidden = control;
            hiddenWindow = window;
        }
    }
    return hidden ? ControlRecord(hidden, hiddenWindow) : ProbeError("no control " + words[1]);
}

// Posted as a popup menu posts a chosen row, so the row's action runs
// outside the probe's request, modal dialogs included.
std::string MenuRow(const std::vector<std::string>& words) {
    if (words.size() != 2) return ProbeError("MENU <row name>");
    for (CPaintManagerUI* manager : SkinWindows()) {
        HWND window = manager->WindowHandle();
        if (WindowText(window, false) != L"MainWnd") continue;
        auto* info = static_cast<SkinUI::TMenuClickInfo*>(calloc(1, sizeof(SkinUI::TMenuClickInfo)));
        if (!info) return ProbeError("out of memory");
        const std::wstring name = Wide(words[1]);
        wcsncpy(info->name, name.c_str(), SkinUI::TMenuClickInfo::kNameChars - 1);
        if (PostMessageW(window, SkinUI::WM_MENU_ITEM_CLICKED, reinterpret_cast<WPARAM>(info), 0)) return "OK\n";
        free(info);
        return ProbeError("main window gone");
    }
    return ProbeError("no main window");
}

// Alt+F4 reaches a window as a posted WM_SYSCOMMAND SC_CLOSE; counted as
// the thread takes it, so that a row can wait until its key was handled,
// not only sent.
HHOOK gSysCloseHook = nullptr;
long gSysCloses = 0;

LRESULT CALLBACK CountSysClose(int code, WPARAM wParam, LPARAM lParam) {
    const auto* taken = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && taken->message == WM_SYSCOMMAND && (taken->wParam & 0xFFF0) == SC_CLOSE)
        ++gSysCloses;
    return CallNextHookEx(gSysCloseHook, code, wParam, lParam);
}

std::string SysCloses() {
    if (gSysCloseHook == nullptr)
        gSysCloseHook = SetWindowsHookExW(WH_GETMESSAGE, CountSysClose, nullptr, GetCurrentThreadId());
    if (gSysCloseHook == nullptr) return ProbeError("no hook");
    return "OK " + std::to_string(gSysCloses) + "\n";
}

}  // namespace

std::string ProbeUiAnswer(const std::vector<std::string>& words) {
    const std::string& request = words[0];
    if (request == "WINDOWS") {
        std::vector<std::string> lines;
        for (CPaintManagerUI* manager : SkinWindows()) lines.push_back(WindowRecord(manager->WindowHandle()));
        return ProbeList(lines);
    }
    if (request == "WINDOW" || request == "CLOSE" || request == "ENDSESSION" || request == "DISPLAYCHANGE" ||
        request == "MINIMIZE" || request == "RESTORE") {
        const std::string selector = Rest(words, 1);
        for (CPaintManagerUI* manager : SkinWindows()) {
            if (!Matches(manager->WindowHandle(), selector)) continue;
            if (request == "ENDSESSION")
                return "OK " + std::to_string(SendMessageW(manager->WindowHandle(), WM_QUERYENDSESSION, 0, 0)) + "\n";
            // Posted as another program (or the system) posts it.
            if (request == "CLOSE") PostMessageW(manager->WindowHandle(), WM_CLOSE, 0, 0);
            if (request == "DISPLAYCHANGE") PostMessageW(manager->WindowHandle(), WM_DISPLAYCHANGE, 32, 0);
            // As the taskbar minimises and restores a program's window.
            if (request == "MINIMIZE" || request == "RESTORE")
                ShowWindow(manager->WindowHandle(), request == "MINIMIZE" ? SW_MINIMIZE : SW_RESTORE);
            return "OK " + WindowRecord(manager->WindowHandle()) + "\n";
        }
        return ProbeError("no window " + selector);
    }
    if (request == "SYSCLOSES") return SysCloses();
    if (request == "RESOURCES") return ProbeResources();
    if (request == "GDIOBJECTS") return ProbeList(GdiObjectList());
    if (request == "CONTROL") return Control(words);
    if (request == "CONTROLS") return Controls(words);
    if (request == "MENU") return MenuRow(words);
    return std::string();
}

}  // namespace sim
