#include "DialogScript.h"

#include <cstring>
#include <cwchar>

#include "tests/support/RectText.h"
#include "tests/uilib/kit/MessagePump.h"
#include "uilib/control/Edit.h"
#include "uilib/core/UIControl.h"

using namespace SkinUI;

namespace dialogs {

namespace {

struct Running {
    const std::vector<WindowStep>* steps = nullptr;
    size_t next = 0;
    int ticks = 0;
    int maxTicks = 0;
    bool failed = false;
    bool inStep = false;  // a step that pumps messages must not be re-entered
    ScriptResult result;
};
Running* g_running = nullptr;

// The last click a step posted and the window as it stood then, told when
// the window is left open: where the click went and whether it was active.
std::string g_lastClick;
std::wstring g_lastClickName;

std::string WindowState(HWND hwnd)
{
    return std::string(IsWindowVisible(hwnd) ? "shown" : "hidden") + (IsWindowEnabled(hwnd) ? ", enabled" : ", disabled") +
           (GetUpdateRect(hwnd, nullptr, FALSE) ? ", paint pending" : ", painted") +
           (GetActiveWindow() == hwnd ? ", active" : ", not active") + (GetFocus() == hwnd ? ", focused" : ", not focused");
}

WindowImplBase* FindScriptWindow(const WindowStep& step, HWND* found)
{
    HWND hwnd = SkinUITest::FindOwnWindow(step.className, step.windowName);
    if (found != nullptr) *found = hwnd;
    return hwnd != nullptr ? dynamic_cast<WindowImplBase*>(
                                 reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
                           : nullptr;
}

// The clicked control and its window as they stand now, when open.
std::string ClickedNow(const std::vector<WindowStep>& steps)
{
    for (const WindowStep& step : steps) {
        HWND hwnd = nullptr;
        WindowImplBase* window = FindScriptWindow(step, &hwnd);
        CControlUI* control = window != nullptr && !g_lastClickName.empty() ? Find(*window, g_lastClickName.c_str()) : nullptr;
        if (control != nullptr) return "; now at " + RectText(control->GetPosition()) + ", the window " + WindowState(hwnd);
    }
    return "";
}

// The class of a window the steps name that is open; null when none is.
const wchar_t* OpenScriptWindow(const std::vector<WindowStep>& steps)
{
    for (const WindowStep& step : steps)
        if (FindScriptWindow(step, nullptr) != nullptr) return step.className;
    return nullptr;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_running == nullptr || g_running->inStep) return;
    Running& r = *g_running;
    if (r.failed) {
        // Closed, or destroyed once a close has been ignored for as long as a step may take.
        const bool force = ++r.ticks > r.maxTicks;
        for (const WindowStep& step : *r.steps) {
            HWND hwnd = nullptr;
            if (WindowImplBase* window = FindScriptWindow(step, &hwnd)) force ? (void)DestroyWindow(hwnd) : window->PostClose(0);
        }
        return;
    }
    if (r.next >= r.steps->size()) {
        // After the last step its windows get as long to close as a step gets.
        const wchar_t* open = OpenScriptWindow(*r.steps);
        if (open == nullptr || ++r.ticks < r.maxTicks) return;
        r.result.allStepsRan = false;
        r.result.failedStep = "past the last: " + std::string(open, open + wcslen(open)) + " stayed open" + g_lastClick + ClickedNow(*r.steps);
        r.failed = true;
        r.ticks = 0;
        return;
    }
    HWND hwnd = nullptr;
    WindowImplBase* window = FindScriptWindow((*r.steps)[r.next], &hwnd);
    // A hand meets a window once it is shown and painted: before its first
    // paint its controls are not laid out, and a click meets none of them.
    if (window != nullptr && (!IsWindowVisible(hwnd) || GetUpdateRect(hwnd, nullptr, FALSE))) window = nullptr;
    r.inStep = true;
    const bool done = window != nullptr && (*r.steps)[r.next].step(*window, hwnd);
    r.inStep = false;
    if (done) {
        ++r.next;
        r.ticks = 0;
        r.result.allStepsRan = r.next == r.steps->size();
        return;
    }
    if (++r.ticks < r.maxTicks) return;
    r.result.failedStep = std::to_string(r.next);
    r.failed = true;
    r.ticks = 0;
}

} // namespace

ScriptResult RunWindowScript(const std::vector<WindowStep>& steps, const std::function<void()>& open, int maxTicks)
{
    Running running;
    running.steps = &steps;
    running.maxTicks = maxTicks;
    g_running = &running;
    g_lastClick.clear(), g_lastClickName.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, OnTick);
    open();
    KillTimer(nullptr, timer);
    g_running = nullptr;
    return running.result;
}

ScriptResult RunDialogScript(const wchar_t* className, const std::vector<Step>& steps,
                             const std::function<void()>& open, int maxTicks)
{
    std::vector<WindowStep> windowSteps;
    for (const Step& step : steps) windowSteps.push_back({className, nullptr, step});
    return RunWindowScript(windowSteps, open, maxTicks);
}

CControlUI* Find(WindowImplBase& window, const wchar_t* name)
{
    return window.PaintManager().FindControlByName(name);
}

std::wstring TextOf(WindowImplBase& window, const wchar_t* name)
{
    CControlUI* control = Find(window, name);
    return control != nullptr ? std::wstring(control->GetTextContent().CStr()) : L"<missing>";
}

void Click(WindowImplBase& window, HWND hwnd, const wchar_t* name)
{
    CControlUI* control = Find(window, name);
    if (control == nullptr) return;
    const RECT rc = control->GetPosition();
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    g_lastClickName = name;
    g_lastClick = "; last click on " + std::string(name, name + wcslen(name)) + " at " + RectText(rc) + ", the window " +
                  WindowState(hwnd);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

void PressSlidOff(WindowImplBase& window, HWND hwnd, const wchar_t* name)
{
    const RECT rc = Find(window, name)->GetPosition();
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 2, rc.top + 2));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, 0);
}

void Notify(WindowImplBase& window, const wchar_t* name, const char* type)
{
    TNotifyInfo notify;
    notify.type = std::wstring(type, type + strlen(type)).c_str();
    notify.sender = Find(window, name);
    if (notify.sender != nullptr) window.PaintManager().SendNotificationRecord(notify);
}

void SetText(WindowImplBase& window, const wchar_t* name, const wchar_t* text)
{
    CControlUI* control = Find(window, name);
    auto* edit = control != nullptr ? static_cast<CEditUI*>(control->FindInterface(L"Edit")) : nullptr;
    if (edit != nullptr) edit->RestoreTyping(text);
    else if (control != nullptr) control->SetTextContent(text);
}

} // namespace dialogs
