#pragma once

#include <string>
#include <vector>
#include <windows.h>

#include "uilib/control/ListLabelElement.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"

namespace ListTest {

// Every notification a manager delivers, with both parameters.
class Recorder : public SkinUI::INotifyUI {
public:
    struct Entry {
        std::wstring type;
        SkinUI::CControlUI* sender;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit Recorder(SkinUI::CPaintManagerUI& manager);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    int Count(const wchar_t* type) const;
    // The wParam values of every notification of that type, in order.
    std::vector<int> Params(const wchar_t* type) const;
    const std::vector<Entry>& Entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }

private:
    SkinUI::CPaintManagerUI& m_manager;
    std::vector<Entry> m_entries;
};

// Holds Ctrl down in this thread's keyboard state while alive.
class CtrlHeld {
public:
    CtrlHeld();
    ~CtrlHeld();
    CtrlHeld(const CtrlHeld&) = delete;
    CtrlHeld& operator=(const CtrlHeld&) = delete;
};

// A label row of fixed height with a text.
SkinUI::CListLabelElementUI* NewRow(const wchar_t* text, int height = 20);
// Adds count rows named "r0".. to the container (a list or a combo).
void AddRows(SkinUI::IContainerUI& rows, int count, int height = 20);

void SendEvent(SkinUI::CControlUI& control, int type, int x = 0, int y = 0, WPARAM wParam = 0);
void SendKey(SkinUI::CControlUI& control, WORD key);

// Runs the thread's messages until done() or the time is up; true when done.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 3000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
    return true;
}

// Runs the pending messages for a moment.
void PumpFor(DWORD ms);

// Top-level windows of this thread that are still alive.
int ThreadWindowCount();

} // namespace ListTest
