#pragma once

#include <windows.h>

#include "uilib/control/Label.h"

namespace Gdiplus {
class Image;
}

namespace SkinUI {

// A busy indicator: the background image turns about the control's centre
// by 36 degrees every 100 ms, from the first successful paint on.
class CRingUI : public CLabelUI {
public:
    static constexpr UINT kTimerId = 100;
    static constexpr UINT kIntervalMs = 100;

    CRingUI();
    ~CRingUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintBackgroundImage(HDC dc) override;

    float GetAngle() const { return m_angle; }
    bool HasLoadedImage() const { return m_image != nullptr; }

private:
    void ReleaseImage();

    float m_angle;
    Gdiplus::Image* m_image;
};

} // namespace SkinUI
