#include "DialogScript.h"

#include <cstring>

#include "uilib/core/UIControl.h"

using namespace SkinUI;

namespace dialogs {

namespace {

struct Running {
    const wchar_t* className = nullptr;
    const std::vector<Step>* steps = nullptr;
    size_t next = 0;
    int ticks = 0;
    int maxTicks = 0;
    ScriptResult result;
};
Running* g_running = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (g_running == nullptr) return;
    Running& r = *g_running;
    HWND hwnd = FindWindowW(r.className, nullptr);
    auto* window = hwnd != nullptr ? dynamic_cast<WindowImplBase*>(reinterpret_cast<CWindowWnd*>(
                                         GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
                                   : nullptr;
    if (window == nullptr || r.next >= r.steps->size()) return;
    if ((*r.steps)[r.next](*window, hwnd)) {
        ++r.next;
        r.ticks = 0;
        if (r.next == r.steps->size()) {
            r.result.allStepsRan = true;
            KillTimer(nullptr, timer);
        }
        return;
    }
    if (++r.ticks < r.maxTicks) return;
    r.result.failedStep = std::to_string(r.next);
    KillTimer(nullptr, timer);
    window->PostClose(0);
}

} // namespace

ScriptResult RunDialogScript(const wchar_t* className, const std::vector<Step>& steps,
                             const std::function<void()>& open, int maxTicks)
{
    Running running;
    running.className = className;
    running.steps = &steps;
    running.maxTicks = maxTicks;
    g_running = &running;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, OnTick);
    open();
    KillTimer(nullptr, timer);
    g_running = nullptr;
    return running.result;
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
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
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
    if (control != nullptr) control->SetTextContent(text);
}

} // namespace dialogs
