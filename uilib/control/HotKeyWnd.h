#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/OverlayWnd.h"

namespace SkinUI {

class CHotKeyUI;

// The system hot key control laid over a hot key control while it has the
// focus. Paints the shortcut's name itself on the owner's native background
// colour and closes when it loses the focus.
class CHotKeyWnd : public COverlayWnd {
public:
    CHotKeyWnd();

    const wchar_t* GetWndClassName() const override;
    const wchar_t* GetSuperclassSource() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OpenOn(COverlayLabelUI* host) override;

    void GetHotKey(uint16_t& key, uint16_t& modifiers) const;
    void SetHotKey(uint16_t key, uint16_t modifiers);
    CUIString GetHotKeyName() const;

private:
    CHotKeyUI* Owner() const;
    void OnKeyChanged();
    void Paint();

    bool m_initialised;
};

} // namespace SkinUI
