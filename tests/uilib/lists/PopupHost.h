#pragma once

#include <string>
#include <vector>
#include <windows.h>

#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"

namespace ListTest {

// A shown top-level window with a paint manager, standing in for the
// application's window: it hosts a control tree and receives the menus'
// click records, which it copies and frees as the application does.
class PopupHost : public SkinUI::CWindowWnd {
public:
    struct Click {
        std::wstring name;
        std::wstring userData;
        std::wstring text;
        int checked;
        LPARAM row;
    };

    explicit PopupHost(const RECT& screenRect);
    ~PopupHost() override;

    const wchar_t* GetWndClassName() const override { return L"ListTestHostWnd"; }
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    SkinUI::CPaintManagerUI& Manager() { return m_pm; }
    // Makes root the tree of the window and lays it out over the client area.
    void SetRoot(SkinUI::CControlUI* root);
    // Screen point of a client point.
    POINT ToScreen(POINT client) const;

    std::vector<Click> clicks;

private:
    SkinUI::CPaintManagerUI m_pm;
};

} // namespace ListTest
