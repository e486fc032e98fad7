#pragma once

#include "uilib/core/UIControl.h"

namespace SkinUI {

// A running position along one axis of a layout. Skin pixels (gaps,
// paddings, children at their skin size) add up and are scaled once from
// the last edge that came in device pixels, so that rounding never adds up
// along a row; a child measured to another size adds its device pixels.
class CScaledRun {
public:
    CScaledRun(const CControlUI& scaler, int origin) : m_scaler(scaler), m_base(origin), m_run(0) {}

    int Position() const { return m_base + m_scaler.Scaled(m_run); }
    void Restart(int origin)
    {
        m_base = origin;
        m_run = 0;
    }
    void AddSkin(int skin) { m_run += skin; }
    void AddDevice(int device)
    {
        m_base = Position() + device;
        m_run = 0;
    }
    // Whether a child of skin size skinSize that measured measured device
    // pixels stands at its skin size.
    bool AtSkinSize(int skinSize, int measured) const { return skinSize > 0 && m_scaler.Scaled(skinSize) == measured; }
    // Adds a child measured to measured device pixels: its skin size when
    // that is what it measured to.
    void AddChild(int skinSize, int measured)
    {
        if (AtSkinSize(skinSize, measured)) {
            AddSkin(skinSize);
        } else {
            AddDevice(measured);
        }
    }

private:
    const CControlUI& m_scaler;
    int m_base;
    int m_run;
};

} // namespace SkinUI
