#pragma once

#include <windows.h>

#include "uilib/control/OverlayWnd.h"

namespace SkinUI {

class CIPAddressUI;

// The system address editor laid over an address control. Leaving it (for
// a window outside it) reads the address back and hides it; Escape in any of
// its fields closes it and keeps the old text.
class CIPAddressWnd : public COverlayWnd {
public:
    const wchar_t* GetWndClassName() const override;
    const wchar_t* GetSuperclassSource() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OpenOn(COverlayLabelUI* host) override;

private:
    CIPAddressUI* Owner() const;
    LRESULT HandleFieldFocusLoss(UINT message, WPARAM wParam, LPARAM lParam);
    // The keys reach the four fields, not the editor: Escape is passed up.
    void WatchFieldKeys();
    static LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR editor);
};

} // namespace SkinUI
