#include "NotifyRecorder.h"

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
    m_entries.push_back({std::wstring(notify.type.CStr()), notify.sender, notify.wParam, notify.lParam});
}

int NotifyRecorder::Count(const wchar_t* type) const
{
    int n = 0;
    for (const Entry& e : m_entries) n += e.type == type ? 1 : 0;
    return n;
}

std::vector<int> NotifyRecorder::Params(const wchar_t* type) const
{
    std::vector<int> out;
    for (const Entry& e : m_entries)
        if (e.type == type) out.push_back(static_cast<int>(e.wParam));
    return out;
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

} // namespace SkinUITest
