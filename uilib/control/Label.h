#pragma once

#include <windows.h>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIRect.h"

namespace SkinUI {

// A text in a font, colour and alignment, optionally with formatting tags;
// can make its width follow the text.
class CLabelUI : public CControlUI {
public:
    // DT_VCENTER | DT_SINGLELINE.
    static const UINT kDefaultTextStyle = 36;

    CLabelUI();
    ~CLabelUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void SetTextContent(const wchar_t* text) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    void PaintTextLayer(HDC dc) override;

    virtual bool IsAutoWidth() const;
    virtual void SetAutoWidth(bool on);

    void SetTextColor(DWORD argb);
    DWORD GetTextColor() const { return m_textColor; }
    void SetDisabledTextColor(DWORD argb);
    DWORD GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetFont(int id);
    int GetFont() const { return m_font; }
    void SetTextPadding(int left, int top, int right, int bottom);
    // Unscaled, as the skin gave it.
    const CUIRect& GetTextPadding() const { return m_textPadding; }
    void SetShowHtml(bool on);
    bool IsShowHtml() const { return m_showHtml; }
    void SetTextStyle(UINT style) { m_textStyle = style; }
    UINT GetTextStyle() const { return m_textStyle; }

protected:
    // Replaces colours of 0 by the manager's defaults, in the fields themselves.
    void ResolveDefaultTextColors();
    // The text padding scaled to the manager's DPI.
    CUIRect ScaledTextPadding() const;

    DWORD m_textColor;
    DWORD m_disabledTextColor;
    int m_font;
    UINT m_textStyle;
    CUIRect m_textPadding;
    bool m_showHtml;
    bool m_autoWidth;
};

} // namespace SkinUI
