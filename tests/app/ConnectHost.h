// The main window on a small layout with the controls the controller
// drives (one strip per channel, 31 band rows), for the connect tests and
// the connect benchmark.
#pragma once

#include <string>

#include "app/windows/MainWnd.h"

class CConnectHost : public CMainWnd {
public:
    SkinUI::CUIString GetSkinXmlName() const override { return m_layout.c_str(); }

private:
    static std::wstring Layout();
    std::wstring m_layout = Layout();
};
