#include "ControlTestKit.h"

namespace SkinUITest {

NotifyRecorder::NotifyRecorder(SkinUI::CPaintManagerUI& manager) : m_manager(manager)
{
    m_manager.RegisterNotifyReceiver(this);
}

NotifyRecorder::~NotifyRecorder()
{
    m_manager.UnregisterNotifyReceiver(this);
}

void NotifyRecorder::ReceiveNotify(SkinUI::TNotifyInfo& notify)
{
    m_entries.push_back({std::wstring(notify.type.CStr()), notify.sender, notify.wParam});
}

int NotifyRecorder::Count(const wchar_t* type) const
{
    int n = 0;
    for (const Entry& e : m_entries) n += e.type == type ? 1 : 0;
    return n;
}

std::wstring NotifyRecorder::Types() const
{
    std::wstring all;
    for (const Entry& e : m_entries) {
        if (!all.empty()) all += L' ';
        all += e.type;
    }
    return all;
}

void SendEvent(SkinUI::CControlUI& control, int type, int x, int y, WPARAM wParam)
{
    SkinUI::TEventInfo event;
    event.type = type;
    event.sender = &control;
    event.point = {x, y};
    event.wParam = wParam;
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

} // namespace SkinUITest
