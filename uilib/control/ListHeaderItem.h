#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIString.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

// One column header: a clickable caption with state images and a separator
// zone at one edge that the user drags to change the column's width.
class CListHeaderItemUI : public CContainerUI {
public:
    static const uint32_t kStateFocused = 0x01;
    static const uint32_t kStateHot = 0x08;
    static const uint32_t kStatePushed = 0x10;
    static const uint32_t kStateCaptured = 0x40;

    CListHeaderItemUI();
    ~CListHeaderItemUI() override;


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void SetEnabledState(bool enabled) override;
    void HandleEvent(TEventInfo& event) override;
    // At the button-up or when the window gives the press up.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    void PaintStateImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;

    // The drag zone: at the left edge for a negative width, else the right.
    CUIRect GetSeparatorRect() const;
    bool IsDraggable() const { return m_draggable; }
    void SetDraggable(bool on);
    int GetSeparatorWidth() const { return m_separatorWidth; }
    void SetSeparatorWidth(int width) { m_separatorWidth = width; }
    uint32_t GetButtonState() const { return m_buttonState; }
    int GetScale() const { return m_scale; }
    void SetScale(int percent) { m_scale = percent; }
    UINT GetTextStyle() const { return m_textStyle; }

protected:
    // Room kept free left of the text (a check box, in derived items).
    virtual int TextLeftInset() const { return 0; }

    // The notification a press outside the separator sends.
    const wchar_t* m_clickNotification;

private:
    // The separator rectangle widened by 4 pixels towards the inside.
    CUIRect DragZone() const;
    void OnButtonDown(const TEventInfo& event);
    void OnDragMove(const TEventInfo& event);

    POINT m_lastMouse;
    bool m_draggable;
    uint32_t m_buttonState;
    int m_separatorWidth;
    DWORD m_textColor;
    int m_font;
    UINT m_textStyle;
    bool m_showHtml;
    CUIRect m_textPadding;
    CUIString m_normalImage;
    CUIString m_hotImage;
    CUIString m_pushedImage;
    CUIString m_focusedImage;
    CUIString m_separatorImage;
    CUIString m_separatorModifier;
    int m_scale;
};

} // namespace SkinUI
