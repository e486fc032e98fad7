#pragma once

#include "uilib/core/UIControl.h"

namespace SkinUI {

// A running position along one axis of a layout. Skin pixels (gaps,
// paddings, children at their skin size) add up and are scaled once from
// the last edge that came in device pixels, so that rounding never adds up
// along a row.
class CScaledRun {
public:
    CScaledRun(const CControlUI& scaler, int origin) : m_scaler(scaler), m_base(origin), m_run(0) {}

    int Position() const { return m_base + m_scaler.Scaled(m_run); }
    void AddSkin(int skin) { m_run += skin; }
    void AddDevice(int device)
    {
        m_base = Position() + device;
        m_run = 0;
    }

private:
    const CControlUI& m_scaler;
    int m_base;
    int m_run;
};

} // namespace SkinUI
