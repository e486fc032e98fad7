#pragma once

#include <windows.h>

#include "uilib/control/Label.h"

namespace SkinUI {

// An indeterminate progress indicator: a block of the foreground colour, 30 %
// of the width, bouncing left and right from the first paint on.
class CLoadingBarUI : public CLabelUI {
public:
    static constexpr UINT kTimerId = 101;
    static constexpr UINT kIntervalMs = 10;
    static constexpr int kStepPixels = 3;

    CLoadingBarUI();
    ~CLoadingBarUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintForegroundColor(HDC dc) override;

    void Start();
    bool IsStarted() const { return m_started; }
    bool IsMovingBack() const { return m_movingBack; }
    int GetOffset() const { return m_offset; }
    int GetBlockWidth() const { return m_blockWidth; }

private:
    void TurnAtEdges();

    bool m_started;
    bool m_movingBack;
    int m_offset;
    int m_blockWidth;
};

} // namespace SkinUI
