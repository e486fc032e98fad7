#pragma once

#include <windows.h>

#include "uilib/core/WindowBase.h"

namespace SkinUI {

class COverlayLabelUI;

// A native editor window laid over a control while it is edited. It deletes
// itself when its window is gone and then lets its host know.
class COverlayWnd : public CWindowWnd {
public:
    void OnFinalWindowMessage(HWND window) override;

    // Opens (or re-opens) the editor on the host; false only when a window
    // could not be made, and the host then deletes this object.
    virtual bool OpenOn(COverlayLabelUI* host) = 0;
    // The host is going away: the window forgets it and is destroyed now.
    void DetachHostAndDestroy();
    COverlayLabelUI* GetHost() const { return m_host; }

protected:
    COverlayWnd();

    COverlayLabelUI* m_host;
    // True once the window exists; only then does it delete itself.
    bool m_created;
};

} // namespace SkinUI
