#pragma once

#include <windows.h>

#include "uilib/control/Button.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// A button whose selected state the program sets (skin element "SButton"):
// a click only notifies; the selected look has its own images, colours and
// font.
class CSButtonUI : public CButtonUI {
public:
    CSButtonUI();
    ~CSButtonUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void SetEnabledState(bool enabled) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintBackgroundColor(HDC dc) override;
    void PaintStateImage(HDC dc) override;
    void PaintForegroundImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;

    virtual const CUIString& GetSelectedStateImageSpec() const;
    virtual void SetSelectedStateImageSpec(const wchar_t* text);
    // Sets the look only: no notification.
    virtual void SetSelectedState(bool selected);
    bool IsSelected() const { return m_selected; }

    const CUIString& GetSelectedImageSpec() const { return m_selectedImage; }
    const CUIString& GetSelectedHotImageSpec() const { return m_selectedHotImage; }
    const CUIString& GetSelectedPushedImageSpec() const { return m_selectedPushedImage; }

private:
    bool m_selected;
    int m_selectedFont;
    DWORD m_selectedBkColor;
    DWORD m_selectedTextColor;
    DWORD m_selectedHotTextColor;
    CUIString m_selectedImage;
    CUIString m_selectedHotImage;
    CUIString m_selectedPushedImage;
    CUIString m_selectedForeImage;
    int m_selectedStateCount;
    CUIString m_selectedStateImage;
};

} // namespace SkinUI
