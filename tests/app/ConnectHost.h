// The main window on a small layout with the controls the controller
// drives (one strip per channel, 31 band rows), for the connect tests and
// the connect benchmark, and the simulated unit's model the main window
// tests answer from.
#pragma once

#include <string>
#include <vector>

#include "app/windows/MainWnd.h"
#include "tests/support/SimUnitModel.h"

// One model for the whole program: the window's reads and writes outlive a test.
sim::UnitModel& Unit();
// A frame as "tt ss oo " and its payload, all in hex.
std::string FrameText(const sim::Frame& f);
// The commands of the model's exchanges so far, as FrameText writes them.
std::vector<std::string> ReceivedCommands();

class CConnectHost : public CMainWnd {
public:
    SkinUI::CUIString GetSkinXmlName() const override { return m_layout.c_str(); }

private:
    static std::wstring Layout();
    std::wstring m_layout = Layout();
};
