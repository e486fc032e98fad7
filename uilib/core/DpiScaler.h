#pragma once

#include <cstdint>

#include "uilib/core/UIPoint.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UISize.h"

namespace SkinUI {

// Process DPI awareness as the scaler records it.
enum UIDpiAwareness : int32_t {
    UI_DPI_UNAWARE = 0,
    UI_DPI_SYSTEM_AWARE = 1,
    UI_DPI_PER_MONITOR_AWARE = 2,
};

// Converts skin pixels (designed for 96 DPI) to device pixels and back.
// Unaware: values pass unchanged; system aware: the first scale ever set is
// used; per-monitor aware: the current scale.
class CDpiScaler {
public:
    CDpiScaler();

    void SetScaleFromDpi(int32_t dpi);
    int32_t GetScalePercent() const;
    int32_t GetDpiValue() const;
    int32_t GetAwareness() const { return m_awareness; }
    // Records the awareness without asking the system (SetProcessAwareness does).
    void SetAwareness(int32_t mode) { m_awareness = mode; }

    int32_t ScaleValue(int32_t v) const;
    int32_t UnscaleValue(int32_t v) const;
    // Size and origin are scaled apart, so a rectangle keeps its rounded size
    // wherever it lies.
    void ScaleRectInPlace(UIRectBase& rc) const;
    void UnscaleRectInPlace(UIRectBase& rc) const;
    CUIRect ScaleRectFromEdges(int32_t left, int32_t top, int32_t right, int32_t bottom) const;
    void ScaleSizeInPlace(UISizeBase& sz) const;
    CUISize ScaleSizeFromValues(int32_t cx, int32_t cy) const;
    void ScalePointInPlace(UIPointBase& pt) const;

    // a * b / c rounded half away from zero, as Win32 MulDiv; -1 when c is 0
    // or the result does not fit.
    static int32_t MulDivRound(int32_t a, int32_t b, int32_t c);

#ifdef _WIN32
    int32_t GetMonitorDpi(HMONITOR monitor) const;
    int32_t GetDpiForPoint(int32_t x, int32_t y) const;
    bool SetProcessAwareness(int32_t mode);
    static bool IsVistaOrLater();
#endif

private:
    int32_t PercentInUse() const;

    int32_t m_scalePercent;
    int32_t m_systemScalePercent;
    int32_t m_awareness;
};

} // namespace SkinUI
