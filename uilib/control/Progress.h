#pragma once

#include <windows.h>

#include "uilib/control/Label.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// Fills part of its rectangle, by colour and/or image, in proportion to a
// value between a minimum and a maximum.
class CProgressUI : public CLabelUI {
public:
    CProgressUI();
    ~CProgressUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintForegroundColor(HDC dc) override;
    void PaintForegroundImage(HDC dc) override;

    // Called after every value change; shows the percentage as text when asked.
    virtual void RefreshValueText();

    // Out-of-range values are ignored, not clamped.
    void SetValue(int value);
    int GetValue() const { return m_value; }
    void SetMinValue(int value);
    int GetMinValue() const { return m_min; }
    void SetMaxValue(int value);
    int GetMaxValue() const { return m_max; }
    void SetHorizontal(bool on);
    bool IsHorizontal() const { return m_horizontal; }
    void SetStretchForeground(bool on);
    bool IsStretchForeground() const { return m_stretchFore; }
    void SetShowValueText(bool on) { m_showValueText = on; }
    bool IsShowValueText() const { return m_showValueText; }
    // Drawn instead of the foreground image while the control is disabled.
    void SetDisabledForeImage(const wchar_t* text);
    const CUIString& GetDisabledForeImage() const { return m_disabledForeImage; }

protected:
    // A maximum not above the minimum becomes minimum + 1 and the value is
    // clamped into range; both are stored.
    void NormalizeRange();
    // max - min, never below 1.
    int Span() const;

    bool m_showValueText;
    bool m_horizontal;
    bool m_stretchFore;
    int m_max;
    int m_min;
    int m_value;
    CUIString m_imageModifier;
    CUIString m_disabledForeImage;
};

} // namespace SkinUI
