#pragma once

#include <windows.h>

#include "uilib/core/UIRect.h"
#include "uilib/layout/TabLayout.h"
#include "uilib/layout/UIAnimation.h"

namespace SkinUI {

// A tab layout that slides the newly selected page in from the side (or from
// above or below) over 15 frames of 10 ms.
class CAnimationTabLayoutUI : public CTabLayoutUI, public CUIAnimation {
public:
    static constexpr int kSlideId = 1;
    static constexpr int kFrameMs = 10;
    static constexpr int kFrames = 15;
    // How far short of a full width a horizontal slide starts.
    static constexpr int kSlideInset = 52;

    CAnimationTabLayoutUI();
    ~CAnimationTabLayoutUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    bool SelectPageAt(int index) override;

    void OnAnimationStep(int totalFrames, int currentFrame, int id) override;
    void OnAnimationStart(int id, bool firstLoop) override;
    void OnAnimationStop(int id) override;

    bool IsVertical() const { return m_vertical; }
    int GetDirection() const { return m_direction; }

private:
    void BeginSlide();

    bool m_vertical;
    int m_direction;
    CUIRect m_currentPos;
    CUIRect m_oldPos;
    CControlUI* m_currentPage;
    bool m_pageShown;
};

} // namespace SkinUI
