#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CContainerUI;

// Scroll bar with two arrow buttons, a thumb and a rail decoration. It turns
// clicks, drags and held buttons into scroll commands of its owner container
// (or moves its own position when it has none), repeating on a 50 ms timer.
class CScrollBarUI : public CControlUI {
private:
    // Images of one part, by state.
    struct TPartImages {
        CUIString normal;
        CUIString hot;
        CUIString pushed;
        CUIString disabled;
    };

public:
    static const UINT kRepeatTimerId = 10;
    static const UINT kRepeatMs = 50;
    static const int kDefaultThickness = 16;

    CScrollBarUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void SetEnabledState(bool enabled) override;
    void TakeFocus() override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void HandleEvent(TEventInfo& event) override;
    // Stops the repeat and lets go of the pressed part: at the button-up or
    // when the window gives the press up.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;

    CContainerUI* GetOwner() const { return m_owner; }
    void SetOwner(CContainerUI* owner) { m_owner = owner; }
    bool IsHorizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal);
    int GetScrollRange() const { return static_cast<int>(m_range); }
    void SetScrollRange(int64_t range);
    int GetScrollPos() const { return static_cast<int>(m_position); }
    void SetScrollPos(int64_t position);
    int GetLineSize() const { return m_lineSize; }
    void SetLineSize(int size) { m_lineSize = size; }
    bool IsShowButton1() const { return m_showButton1; }
    void SetShowButton1(bool show);
    bool IsShowButton2() const { return m_showButton2; }
    void SetShowButton2(bool show);

    const CUIRect& Button1Rect() const { return m_button1Rect; }
    const CUIRect& Button2Rect() const { return m_button2Rect; }
    const CUIRect& ThumbRect() const { return m_thumbRect; }
    uint32_t Button1State() const { return m_button1State; }
    uint32_t Button2State() const { return m_button2State; }
    uint32_t ThumbState() const { return m_thumbState; }

protected:
    void VisibilityChanged(bool wasVisible, bool own) override;

private:
    // Moves by a line (+1/-1) or a page towards the given point.
    void StepLine(int direction);
    void StepPageTowards(POINT pt);
    void OnButtonDown(const TEventInfo& event);
    void OnTimerTick();
    void OnMouseMove(const TEventInfo& event);
    bool ApplyImageAttribute(const wchar_t* name, const wchar_t* value);
    void SetPartImage(CUIString& slot, const wchar_t* value);

    // Draws one part by state; falls back to the normal image; no image at all
    // outlines the rectangle when outline is set.
    void PaintPart(HDC dc, const TPartImages& images, uint32_t& state, const RECT& part, bool withModifier,
                   bool outline);
    void PaintRail(HDC dc);
    CUIString DestModifier(const RECT& part) const;

    bool m_horizontal;
    int64_t m_range;
    int64_t m_position;
    int m_lineSize;
    CContainerUI* m_owner;
    POINT m_lastMouse;
    int m_lastPosition;
    int m_dragOffset;
    int m_repeatCount;
    TPartImages m_backImages;
    bool m_showButton1;
    CUIRect m_button1Rect;
    uint32_t m_button1State;
    TPartImages m_button1Images;
    bool m_showButton2;
    CUIRect m_button2Rect;
    uint32_t m_button2State;
    TPartImages m_button2Images;
    CUIRect m_thumbRect;
    uint32_t m_thumbState;
    TPartImages m_thumbImages;
    TPartImages m_railImages;
};

} // namespace SkinUI
