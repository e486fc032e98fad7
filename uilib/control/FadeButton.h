#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/Button.h"
#include "uilib/layout/UIAnimation.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// A button that cross-fades between its normal and hot images when the mouse
// enters and leaves.
class CFadeButtonUI : public CButtonUI, public CUIAnimation {
public:
    static constexpr int kFadeInId = 8;
    static constexpr int kFadeOutId = 9;
    static constexpr int kFrameMs = 10;
    static constexpr int kFrames = 30;

    CFadeButtonUI();
    ~CFadeButtonUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    void PaintStateImage(HDC dc) override;
    void SetNormalImageSpec(const wchar_t* text) override;

    void OnAnimationStep(int totalFrames, int currentFrame, int id) override;
    void OnAnimationStart(int id, bool firstLoop) override;
    void OnAnimationStop(int id) override;

    BYTE GetFadeAlpha() const { return m_fadeAlpha; }
    const CUIString& GetLastImage() const { return m_lastImage; }

private:
    // Starts one fade after stopping the other; false while it already runs.
    bool BeginFade(int id, int otherId, bool& flag);

    CUIString m_oldImage;
    CUIString m_newImage;
    CUIString m_lastImage;
    BYTE m_fadeAlpha;
    bool m_mouseEntered;
    bool m_mouseLeft;
};

} // namespace SkinUI
