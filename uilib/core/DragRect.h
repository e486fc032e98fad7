#pragma once

#include "uilib/core/UIPoint.h"
#include "uilib/core/UISize.h"

namespace SkinUI {

// The system's drag rectangle around a press: cx by cy pixels centred on the
// press point. Until the pointer leaves it the press has moved nothing, so
// the jitter of a hand held still changes nothing.
class CDragRect {
public:
    // The size the system gives, read at each press: the user may change it.
    static CUISize SystemSize();

    void Press(const CUIPoint& at, const CUISize& size);
    // Follows the pointer.
    void Track(const CUIPoint& p);
    // The pointer has been outside the rectangle since the press, even if
    // back inside now.
    bool HasLeft() const { return m_left; }
    const CUIPoint& PressPoint() const { return m_press; }

private:
    CUIPoint m_press;
    CUISize m_size;
    bool m_left = false;
};

} // namespace SkinUI
