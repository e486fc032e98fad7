// The paint manager's receiver lists and notifications, synchronous and
// queued behind the framework's private message.
#include <new>

#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// Queued notifications and deferred deletions.
const UINT kQueuedWorkMessage = 0x8001;

bool AppendReceiver(CUIPtrArray& list, void* receiver)
{
    return receiver != nullptr && list.Append(receiver);
}

bool RemoveReceiver(CUIPtrArray& list, void* receiver)
{
    int index = list.IndexOf(receiver);
    return index >= 0 && list.RemoveAt(index);
}

} // namespace

bool CPaintManagerUI::RegisterNotifyReceiver(INotifyUI* receiver) { return AppendReceiver(m_notifiers, receiver); }
bool CPaintManagerUI::UnregisterNotifyReceiver(INotifyUI* receiver) { return RemoveReceiver(m_notifiers, receiver); }

bool CPaintManagerUI::RegisterPreMessageFilter(IMessageFilterUI* filter)
{
    return AppendReceiver(m_preMessageFilters, filter);
}

bool CPaintManagerUI::UnregisterPreMessageFilter(IMessageFilterUI* filter)
{
    return RemoveReceiver(m_preMessageFilters, filter);
}

bool CPaintManagerUI::RegisterMessageFilter(IMessageFilterUI* filter) { return AppendReceiver(m_messageFilters, filter); }
bool CPaintManagerUI::UnregisterMessageFilter(IMessageFilterUI* filter) { return RemoveReceiver(m_messageFilters, filter); }

bool CPaintManagerUI::RegisterTranslateAccelerator(ITranslateAccelerator* translator)
{
    return AppendReceiver(m_translators, translator);
}

bool CPaintManagerUI::UnregisterTranslateAccelerator(ITranslateAccelerator* translator)
{
    return RemoveReceiver(m_translators, translator);
}

bool CPaintManagerUI::RegisterPostPaintControl(CControlUI* control)
{
    return AppendReceiver(m_postPaintControls, control);
}

bool CPaintManagerUI::UnregisterPostPaintControl(CControlUI* control)
{
    return RemoveReceiver(m_postPaintControls, control);
}

bool CPaintManagerUI::UnregisterNativeWindow(HWND child)
{
    int index = m_nativeWindows.IndexOf(child);
    if (index < 0) return false;
    m_nativeWindows.RemoveAt(index);
    m_nativeWindowControls.RemoveAt(index);
    return true;
}

void CPaintManagerUI::SendNotification(CControlUI* sender, const wchar_t* type, WPARAM wParam, LPARAM lParam,
                                       bool async)
{
    TNotifyInfo notify;
    notify.sender = sender;
    notify.type = type;
    notify.wParam = wParam;
    notify.lParam = lParam;
    SendNotificationRecord(notify, async);
}

void CPaintManagerUI::SendNotificationRecord(TNotifyInfo& notify, bool async)
{
    notify.point = m_lastMousePoint;
    notify.timestamp = GetTickCount();
    if (m_usesVirtualWindows && notify.sender != nullptr) notify.virtualWindow = notify.sender->GetVirtualWindowName();
    if (!async) {
        DeliverNotification(notify);
        return;
    }
    TNotifyInfo* copy = new (std::nothrow) TNotifyInfo;
    if (copy == nullptr) return;
    copy->sender = notify.sender;
    copy->type = notify.type;
    copy->wParam = notify.wParam;
    copy->lParam = notify.lParam;
    copy->point = notify.point;
    copy->timestamp = notify.timestamp;
    if (!m_notificationQueue.Append(copy)) {
        delete copy;
        return;
    }
    PostQueuedWork();
}

void CPaintManagerUI::DeliverNotification(TNotifyInfo& notify)
{
    if (notify.sender != nullptr && notify.sender->OnNotify.HasDelegates()) notify.sender->OnNotify.Invoke(&notify);
    // A receiver may unregister itself while being told; the next one then
    // moves into its place and must not be skipped.
    for (int i = 0; i < m_notifiers.Count();) {
        INotifyUI* receiver = static_cast<INotifyUI*>(m_notifiers[i]);
        receiver->ReceiveNotify(notify);
        if (i < m_notifiers.Count() && m_notifiers[i] == receiver) ++i;
    }
}

void CPaintManagerUI::PostQueuedWork()
{
    if (m_queuePosted || m_window == nullptr) return;
    m_queuePosted = PostMessageW(m_window, kQueuedWorkMessage, 0, 0) != FALSE;
}

void CPaintManagerUI::ServiceQueuedWork()
{
    while (!m_delayedDeletion.IsEmpty()) {
        CControlUI* control = static_cast<CControlUI*>(m_delayedDeletion[0]);
        m_delayedDeletion.RemoveAt(0);
        delete control;
    }
    m_queuePosted = false;
    while (!m_notificationQueue.IsEmpty()) {
        TNotifyInfo* notify = static_cast<TNotifyInfo*>(m_notificationQueue[0]);
        m_notificationQueue.RemoveAt(0);
        DeliverNotification(*notify);
        delete notify;
    }
}

} // namespace SkinUI
