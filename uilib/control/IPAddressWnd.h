#pragma once

#include <windows.h>

#include "uilib/control/OverlayWnd.h"

namespace SkinUI {

class CIPAddressUI;

// The system address editor laid over an address control. Leaving it (for
// a window outside it) reads the address back and hides it; Escape keeps the
// old text, Delete or Backspace empties it; both close the editor.
class CIPAddressWnd : public COverlayWnd {
public:
    const wchar_t* GetWndClassName() const override;
    const wchar_t* GetSuperclassSource() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OpenOn(COverlayLabelUI* host) override;

private:
    CIPAddressUI* Owner() const;
    LRESULT HandleFieldFocusLoss(UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace SkinUI
