// The main window's "mainpage" virtual window: its notifications are only
// logged.
#pragma once

#include "uilib/core/WindowBase.h"

class CMainPage : public SkinUI::CNotifyPump {
public:
    const SkinUI::TNotifyMap* GetNotifyMap() const override;
    void SetPaintManager(SkinUI::CPaintManagerUI* manager) { m_manager = manager; }

private:
    SkinUI::CPaintManagerUI* m_manager = nullptr;
};
