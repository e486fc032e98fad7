#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIPtrArray.h"
#include "uilib/core/UIStringMap.h"

namespace SkinUI {

class CMenuWnd;
class CPaintManagerUI;
class MenuObserverImpl;

// What the observer asks its receivers: close every menu, or the menus that
// descend from one window.
enum UIMenuBroadcastCode : uint32_t {
    UIMENU_CLOSE_ALL = 1,
    UIMENU_CLOSE_DESCENDANTS = 2,
};

struct TMenuBroadcastInfo {
    uint32_t code;
    HWND window;
};

// One open menu as the observer sees it.
class MenuReceiverImpl {
public:
    MenuReceiverImpl() = default;
    virtual ~MenuReceiverImpl();
    MenuReceiverImpl(const MenuReceiverImpl&) = delete;
    MenuReceiverImpl& operator=(const MenuReceiverImpl&) = delete;

    virtual void RegisterObserver(MenuObserverImpl* observer);
    virtual void DetachFromObservers();
    virtual bool ReceiveBroadcast(const TMenuBroadcastInfo& info);
    // The menu window behind this receiver, or null.
    virtual CMenuWnd* AsMenuWindow();

private:
    CUIPtrArray m_observers; // MenuObserverImpl*
};

// The process-wide register of open menus: who receives the menus' clicks,
// the optional check map, and the broadcast that closes menus.
class MenuObserverImpl {
public:
    // Walks the receivers in registration order, skipping null entries.
    class ReceiverIterator {
    public:
        explicit ReceiverIterator(const MenuObserverImpl& observer) : m_observer(observer), m_index(0) {}
        MenuReceiverImpl* next();

    private:
        const MenuObserverImpl& m_observer;
        int m_index;
    };

    MenuObserverImpl() = default;
    virtual ~MenuObserverImpl() = default;
    MenuObserverImpl(const MenuObserverImpl&) = delete;
    MenuObserverImpl& operator=(const MenuObserverImpl&) = delete;

    virtual void RegisterReceiver(MenuReceiverImpl* receiver);
    virtual void UnregisterReceiver(MenuReceiverImpl* receiver);
    // Last registered first; always false.
    virtual bool BroadcastToReceivers(const TMenuBroadcastInfo& info);
    virtual void SetNotifyManager(CPaintManagerUI* manager);
    virtual CPaintManagerUI* GetNotifyManager() const { return m_notifyManager; }
    virtual void SetSharedMenuData(CUIStringMap* checkMap) { m_checkMap = checkMap; }
    virtual CUIStringMap* GetSharedMenuData() const { return m_checkMap; }

    int ReceiverCount() const { return m_receivers.Count(); }

private:
    CUIPtrArray m_receivers; // MenuReceiverImpl*
    CPaintManagerUI* m_notifyManager = nullptr;
    CUIStringMap* m_checkMap = nullptr; // not owned
};

} // namespace SkinUI
