#pragma once

#include <windows.h>

#include "uilib/control/Progress.h"

// A progress drawn as a ring (skin element "CircleProgress"): a disc in the
// background colour, a sector in the foreground colour that starts at the
// bottom and grows clockwise, and a white centre that leaves a 10-pixel ring.
class CCircleProgressUI : public SkinUI::CProgressUI {
public:
    CCircleProgressUI();
    ~CCircleProgressUI() override;

    const wchar_t* GetTypeName() const override;
    void PaintBackgroundColor(HDC dc) override;
    void PaintForegroundColor(HDC dc) override;
    void PaintForegroundImage(HDC dc) override;

    // Degrees of the sector for a value in min..max; 0 for an empty range.
    static int SweepDegrees(int value, int min, int max);
};
