#pragma once

#include <windows.h>

#include "uilib/control/Label.h"

namespace SkinUI {

// A label whose text runs through its area like a ticker. A fast timer
// repaints (each paint moves the text one step); a slow one reports
// "textrollend" when the rolling time is over.
class CRollTextUI : public CLabelUI {
public:
    enum Direction { kRollLeft = 0, kRollRight = 1, kRollUp = 2, kRollDown = 3 };
    static const UINT kTickTimer = 20;
    static const UINT kEndTimer = 21;

    CRollTextUI();
    ~CRollTextUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void SetTextContent(const wchar_t* text) override;
    void HandleEvent(TEventInfo& event) override;
    void PaintTextLayer(HDC dc) override;
    // Places the control and measures the text again at the next paint.
    virtual void PlaceAndRemeasure(const RECT& rc);

    void BeginRoll(int direction, UINT tickMs, UINT durationSeconds);
    void EndRoll();
    bool IsRolling() const { return m_rolling; }
    int GetDirection() const { return m_direction; }
    int GetOffset() const { return m_offset; }
    int GetStep() const { return m_step; }
    void SetStep(int pixels) { m_step = pixels; }
    // Width (left, right) or height (up, down) of the text; 0 until measured.
    int GetTextExtent() const { return m_extent; }

private:
    bool IsHorizontal() const { return m_direction == kRollLeft || m_direction == kRollRight; }

    int m_step;
    int m_offset;
    bool m_rolling;
    int m_direction;
    int m_extent;
};

} // namespace SkinUI
