// The process's message loop and the paint managers' look at queued
// messages before they are dispatched: accelerators, Tab and Alt shortcuts.
#include <cwctype>

#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"

namespace SkinUI {

namespace {

bool TypeContains(CControlUI* control, const wchar_t* part)
{
    return wcsstr(control->GetTypeName(), part) != nullptr;
}

struct TShortcutSearch {
    wchar_t key;
    bool pickNext;
};

// A label carrying the shortcut hands it to the next control that can take focus.
CControlUI* MatchShortcut(CControlUI* control, void* data)
{
    TShortcutSearch& search = *static_cast<TShortcutSearch*>(data);
    if (!control->GetVisibility()) return nullptr;
    if (static_cast<wchar_t>(towupper(control->GetShortcutKey())) == search.key) search.pickNext = true;
    if (!search.pickNext || TypeContains(control, L"LabelUI")) return nullptr;
    return control;
}

} // namespace

bool CPaintManagerUI::TranslateWithAccelerators(MSG* msg)
{
    for (int i = 0; i < m_translators.Count(); ++i) {
        if (static_cast<ITranslateAccelerator*>(m_translators[i])->TranslateAcceleratorMessage(msg) == 0) return true;
    }
    return false;
}

bool CPaintManagerUI::PreFilterQueuedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    for (int i = 0; i < m_preMessageFilters.Count(); ++i) {
        bool handled = false;
        LRESULT answer =
            static_cast<IMessageFilterUI*>(m_preMessageFilters[i])->PreFilterMessage(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    switch (message) {
    case WM_KEYDOWN: {
        if (wParam != VK_TAB) return false;
        CControlUI* focus = m_focusControl;
        if (focus != nullptr && focus->GetVisibility() && focus->GetEnabledState()) {
            bool editorWantsTab =
                TypeContains(focus, L"RichEditUI") && (focus->GetBehaviorFlags() & UIFLAG_WANTTAB) != 0;
            if (editorWantsTab || TypeContains(focus, L"WkeWebkitUI")) return false;
        }
        FocusNextTabStop(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    case WM_SYSKEYDOWN:
        if (m_focusControl != nullptr)
            RaiseControlEvent(m_focusControl, UIEVENT_SYSKEY, m_lastMousePoint, static_cast<WORD>(wParam),
                              0, 0, 0);
        return false;
    case WM_SYSCHAR: {
        if (m_root == nullptr) return false;
        TShortcutSearch search = {static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam))), false};
        CControlUI* found =
            m_root->FindInTree(MatchShortcut, &search, UIFIND_ME_FIRST | UIFIND_TOP_FIRST | UIFIND_ENABLED);
        if (found == nullptr) return false;
        found->TakeFocus();
        found->ActivateControl();
        return true;
    }
    default:
        return false;
    }
}

bool CPaintManagerUI::TranslateQueuedMessage(MSG* msg)
{
    if (msg == nullptr || msg->hwnd == nullptr) return false;
    LRESULT result = 0;
    if ((GetWindowLongW(msg->hwnd, GWL_STYLE) & WS_CHILD) == 0) {
        for (int i = 0; i < s_liveManagers.Count(); ++i) {
            CPaintManagerUI* manager = static_cast<CPaintManagerUI*>(s_liveManagers[i]);
            if (manager->m_window != msg->hwnd) continue;
            if (manager->TranslateWithAccelerators(msg)) return true;
            return manager->PreFilterQueuedMessage(msg->message, msg->wParam, msg->lParam, result);
        }
        return false;
    }
    for (HWND ancestor = GetParent(msg->hwnd); ancestor != nullptr; ancestor = GetParent(ancestor)) {
        for (int i = 0; i < s_liveManagers.Count(); ++i) {
            CPaintManagerUI* manager = static_cast<CPaintManagerUI*>(s_liveManagers[i]);
            if (manager->m_window != msg->hwnd && manager->m_window != ancestor) continue;
            if (manager->TranslateWithAccelerators(msg)) return true;
            manager->PreFilterQueuedMessage(msg->message, msg->wParam, msg->lParam, result);
        }
    }
    return false;
}

void CPaintManagerUI::RunMessageLoop()
{
    MSG msg = {};
    // GetMessageW answers -1 on failure; that ends the loop rather than spinning.
    for (;;) {
        CWindowWnd::EndReturnedMoveLoops();
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        if (TranslateQueuedMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace SkinUI
