#pragma once

#include <windows.h>

#include "uilib/control/Combo.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// A combo box whose arrow is cut out of a five-cell strip (normal, hot,
// pushed, focused, disabled) and placed at the right border; the selected
// row's text is drawn left of it.
class CComboBoxUI : public CComboUI {
public:
    // Strip cells in their order.
    enum ArrowState { kArrowNormal = 0, kArrowHot = 1, kArrowPushed = 2, kArrowFocused = 3, kArrowDisabled = 4 };

    CComboBoxUI();

    const wchar_t* GetTypeName() const override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintStateImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;

    const CUIString& GetArrowImage() const { return m_arrowImage; }
    // In device pixels, as last painted.
    int GetArrowWidth() const { return m_arrowWidth; }

    // The strip cell for combo state bits.
    static int ArrowStateOf(uint32_t stateBits);
    // Rewrites the arrow image text so that its source is the state's cell
    // and its destination the rightmost cell width inside the border of a
    // width x height control, all in skin pixels. False (and nothing
    // written) when the text has no quoted source.
    static bool ComposeArrowModifier(const CUIString& arrowImage, int state, int width, int height, int border,
                                     CUIString& modifier, int& arrowWidth);

private:
    CUIString m_arrowImage;
    int m_arrowWidth;
};

} // namespace SkinUI
