#include "ListTestKit.h"

#include <cwchar>

namespace ListTest {

Recorder::Recorder(SkinUI::CPaintManagerUI& manager) : m_manager(manager)
{
    m_manager.RegisterNotifyReceiver(this);
}

Recorder::~Recorder()
{
    m_manager.UnregisterNotifyReceiver(this);
}

void Recorder::ReceiveNotify(SkinUI::TNotifyInfo& notify)
{
    m_entries.push_back({std::wstring(notify.type.CStr()), notify.sender, notify.wParam, notify.lParam});
}

int Recorder::Count(const wchar_t* type) const
{
    int n = 0;
    for (const Entry& e : m_entries) n += e.type == type ? 1 : 0;
    return n;
}

std::vector<int> Recorder::Params(const wchar_t* type) const
{
    std::vector<int> out;
    for (const Entry& e : m_entries)
        if (e.type == type) out.push_back(static_cast<int>(e.wParam));
    return out;
}

CtrlHeld::CtrlHeld()
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
}

CtrlHeld::~CtrlHeld()
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

SkinUI::CListLabelElementUI* NewRow(const wchar_t* text, int height)
{
    SkinUI::CListLabelElementUI* row = new SkinUI::CListLabelElementUI();
    row->SetTextContent(text);
    row->SetFixedHeightValue(height);
    return row;
}

void AddRows(SkinUI::IContainerUI& rows, int count, int height)
{
    for (int i = 0; i < count; ++i) {
        wchar_t name[16];
        _snwprintf(name, 16, L"r%d", i);
        SkinUI::CListLabelElementUI* row = NewRow(name, height);
        row->SetControlName(name);
        rows.AddChild(row);
    }
}

void SendEvent(SkinUI::CControlUI& control, int type, int x, int y, WPARAM wParam)
{
    SkinUI::TEventInfo event;
    event.type = type;
    event.sender = &control;
    event.point = {x, y};
    event.wParam = wParam;
    event.timestamp = GetTickCount();
    control.HandleEvent(event);
}

void SendKey(SkinUI::CControlUI& control, WORD key)
{
    SkinUI::TEventInfo event;
    event.type = SkinUI::UIEVENT_KEYDOWN;
    event.sender = &control;
    event.keyChar = key;
    event.wParam = key;
    control.HandleEvent(event);
}

void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

namespace {

BOOL CALLBACK CountWindow(HWND window, LPARAM counter)
{
    if (IsWindow(window)) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

} // namespace

int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace ListTest
