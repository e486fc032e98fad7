#pragma once

#include <windows.h>

#include "uilib/control/OverlayWnd.h"

namespace SkinUI {

class CDateTimeUI;

// The system date picker laid over a date control while it is edited. Every
// change shows in the control at once; Escape puts back the date it opened
// with. It closes when it loses the focus (unless its calendar is open) and
// deletes itself when its window is gone.
class CDateTimeWnd : public COverlayWnd {
public:
    CDateTimeWnd();

    const wchar_t* GetWndClassName() const override;
    const wchar_t* GetSuperclassSource() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OpenOn(COverlayLabelUI* host) override;

    bool IsDroppedDown() const { return m_droppedDown; }
    const SYSTEMTIME& GetOldTime() const { return m_oldTime; }

private:
    CDateTimeUI* Owner() const;
    void ReadBack();
    bool IsCalendar(HWND window) const;

    bool m_droppedDown;
    SYSTEMTIME m_oldTime;
};

} // namespace SkinUI
