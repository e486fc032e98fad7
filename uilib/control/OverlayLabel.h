#pragma once

#include <windows.h>

#include "uilib/control/Label.h"
#include "uilib/control/OverlayWnd.h"

namespace SkinUI {

// A label that lays a native editor window over itself while it has the
// focus (date picker, address editor, hot key editor). It opens the editor
// when it gains the focus or is clicked while focused, swallows the mouse
// otherwise, and moves the focus on when the window is resized under it.
class COverlayLabelUI : public CLabelUI {
public:
    static const uint32_t kStateHot = 0x08;

    // An open editor is destroyed with the control.
    ~COverlayLabelUI() override;

    void HandleEvent(TEventInfo& event) override;

    bool HasOverlay() const { return m_overlay != nullptr; }
    COverlayWnd* GetOverlay() const { return m_overlay; }
    // Makes the editor when there is none, then opens it on this control.
    void OpenOverlay();
    // Called by the editor as its window goes away.
    void ForgetOverlay(COverlayWnd* overlay);

protected:
    // reopenOnClick: a click also re-initialises an editor already open;
    // tracksHot: entering and leaving set and clear the hot bit.
    COverlayLabelUI(bool reopenOnClick, bool tracksHot);
    virtual COverlayWnd* CreateOverlay() = 0;

    uint32_t m_overlayState;

private:
    COverlayWnd* m_overlay;
    bool m_reopenOnClick;
    bool m_tracksHot;
};

} // namespace SkinUI
