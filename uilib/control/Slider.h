#pragma once

#include <windows.h>

#include "uilib/control/Progress.h"
#include "uilib/core/DragRect.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UISize.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// A progress bar with a draggable thumb. Sends "valuechanged" when the user
// changes the value and, with "sendmove", "movevaluechanged" while dragging.
// Values set by the program are dropped while the user holds the thumb; at
// the release the owner hears the thumb's value if it holds another.
class CSliderUI : public CProgressUI {
public:
    // Thumb state bits.
    static const uint32_t kThumbHot = 0x08;
    static const uint32_t kThumbCaptured = 0x40;

    CSliderUI();
    ~CSliderUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void SetEnabledState(bool enabled) override;
    void HandleEvent(TEventInfo& event) override;
    // The drag ends where the thumb is: a value the owner has not heard is
    // told once, and a press that never left the drag rectangle takes the
    // owner's value.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintForegroundImage(HDC dc) override;

    // Dropped while the thumb is captured.
    void SetValue(int value);
    void SetStep(int step) { m_step = step; }
    int GetStep() const { return m_step; }
    // Unscaled skin pixels.
    void SetThumbSize(int cx, int cy) { m_thumbSize = CUISize(cx, cy); }
    CUISize GetThumbSize() const { return m_thumbSize; }
    void SetSendMove(bool on) { m_sendMove = on; }
    bool IsSendMove() const { return m_sendMove; }
    void SetThumbImage(const wchar_t* text);
    void SetThumbHotImage(const wchar_t* text);
    void SetThumbPushedImage(const wchar_t* text);
    // The thumb of a slider that takes no input.
    void SetThumbDisabledImage(const wchar_t* text);
    const CUIString& GetThumbImage() const { return m_thumbImage; }
    const CUIString& GetThumbHotImage() const { return m_thumbHotImage; }
    const CUIString& GetThumbPushedImage() const { return m_thumbPushedImage; }
    const CUIString& GetThumbDisabledImage() const { return m_thumbDisabledImage; }
    uint32_t GetThumbState() const { return m_thumbState; }

    CUIRect GetThumbRect() const;

private:
    CUISize ScaledThumbSize() const;
    // Stores a user-made value in range, sends "valuechanged" and repaints.
    void CommitUserValue(int value);
    // The value for the held thumb with the pointer at pt: within the drag
    // rectangle the value it had when taken; past it the thumb moves as far
    // as the pointer has from the press.
    int DragValue(POINT pt);
    void OnButtonDown(const TEventInfo& event);
    void OnButtonUp(const TEventInfo& event);
    void OnMouseMove(const TEventInfo& event);
    void SetThumbHot(bool hot);

    CUISize m_thumbSize;
    uint32_t m_thumbState;
    int m_step;
    CUIString m_thumbImage;
    CUIString m_thumbHotImage;
    CUIString m_thumbPushedImage;
    CUIString m_thumbDisabledImage;
    CUIString m_thumbModifier;
    bool m_sendMove;
    // The value when the thumb was taken, and the last one the owner heard
    // or set.
    int m_valueAtCapture;
    int m_reportedValue;
    // Where the thumb was taken.
    CDragRect m_grab;
};

} // namespace SkinUI
