#pragma once

#include <windows.h>

#include "uilib/core/UISize.h"
#include "uilib/layout/VerticalLayout.h"

namespace SkinUI {

// A vertical layout inside a frame drawn 5 pixels in from its edges, with
// the caption over the top line near the left corner, on the background
// colour, so the line breaks behind it.
class CGroupBoxUI : public CVerticalLayoutUI {
public:
    // Distance of the frame from the control's edges, in skin pixels.
    static const int kFrameInset = 5;
    // Distance of the caption from the frame's left corner, in skin pixels.
    static const int kCaptionIndent = 15;
    // Skin pixels of the top line left open beside the caption.
    static const int kCaptionGap = 4;

    CGroupBoxUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintTextLayer(HDC dc) override;
    void PaintBorderLines(HDC dc) override;

    void SetTextColor(DWORD argb);
    DWORD GetTextColor() const { return m_textColor; }
    void SetDisabledTextColor(DWORD argb);
    DWORD GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetFont(int id);
    int GetFont() const { return m_font; }
    // The caption's size, measured on dc, when the frame is available wide.
    CUISize MeasureCaption(HDC dc, int available) const;

private:
    CUIRect FrameRect() const;
    // Where the caption stands; empty without a text.
    CUIRect CaptionRect(HDC dc) const;

    DWORD m_textColor;
    DWORD m_disabledTextColor;
    int m_font;
    UINT m_textStyle;
};

} // namespace SkinUI
