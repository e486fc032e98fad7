#include "uilib/control/MenuObserver.h"

namespace SkinUI {

MenuReceiverImpl::~MenuReceiverImpl()
{
    DetachFromObservers();
}

void MenuReceiverImpl::RegisterObserver(MenuObserverImpl* observer)
{
    if (observer != nullptr) m_observers.Append(observer);
}

void MenuReceiverImpl::DetachFromObservers()
{
    for (int i = 0; i < m_observers.Count(); ++i)
        static_cast<MenuObserverImpl*>(m_observers[i])->UnregisterReceiver(this);
    m_observers.Clear();
}

bool MenuReceiverImpl::ReceiveBroadcast(const TMenuBroadcastInfo&)
{
    return false;
}

CMenuWnd* MenuReceiverImpl::AsMenuWindow()
{
    return nullptr;
}

MenuReceiverImpl* MenuObserverImpl::ReceiverIterator::next()
{
    while (m_index < m_observer.m_receivers.Count()) {
        MenuReceiverImpl* receiver = static_cast<MenuReceiverImpl*>(m_observer.m_receivers[m_index++]);
        if (receiver != nullptr) return receiver;
    }
    return nullptr;
}

void MenuObserverImpl::RegisterReceiver(MenuReceiverImpl* receiver)
{
    if (receiver == nullptr) return;
    m_receivers.Append(receiver);
    receiver->RegisterObserver(this);
}

void MenuObserverImpl::UnregisterReceiver(MenuReceiverImpl* receiver)
{
    if (receiver == nullptr) return;
    const int at = m_receivers.IndexOf(receiver);
    if (at >= 0) m_receivers.RemoveAt(at);
}

bool MenuObserverImpl::BroadcastToReceivers(const TMenuBroadcastInfo& info)
{
    // A receiver may leave the list while it is told; re-check the bound.
    for (int i = m_receivers.Count() - 1; i >= 0; --i) {
        if (i >= m_receivers.Count()) continue;
        MenuReceiverImpl* receiver = static_cast<MenuReceiverImpl*>(m_receivers[i]);
        if (receiver != nullptr) receiver->ReceiveBroadcast(info);
    }
    return false;
}

void MenuObserverImpl::SetNotifyManager(CPaintManagerUI* manager)
{
    if (manager != nullptr) m_notifyManager = manager;
}

} // namespace SkinUI
