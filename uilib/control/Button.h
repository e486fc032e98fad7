#pragma once

#include <windows.h>

#include "uilib/control/Label.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// State bits shared by buttons, options and check boxes.
enum UIButtonState : uint32_t {
    UISTATE_FOCUSED = 0x01,
    UISTATE_SELECTED = 0x02,
    UISTATE_DISABLED = 0x04,
    UISTATE_HOT = 0x08,
    UISTATE_PUSHED = 0x10,
    UISTATE_CAPTURED = 0x40,
};

// The clickable label: tracks hot, pushed, focused and disabled states,
// paints a look per state and sends "click".
class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    ~CButtonUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    // The base's activation is the button's Activate.
    bool ActivateControl() override;
    void SetEnabledState(bool enabled) override;
    void HandleEvent(TEventInfo& event) override;
    // The press is over, unclicked: the pushed and captured bits go.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintBackgroundColor(HDC dc) override;
    void PaintStateImage(HDC dc) override;
    void PaintForegroundImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;

    // Sends "click", then asks the bound tab layout for the bound page; false
    // when the button cannot be activated (hidden or disabled).
    virtual bool Activate();

    virtual const CUIString& GetNormalImageSpec() const;
    virtual void SetNormalImageSpec(const wchar_t* text);
    virtual const CUIString& GetHotImageSpec() const;
    virtual void SetHotImageSpec(const wchar_t* text);
    virtual const CUIString& GetPushedImageSpec() const;
    virtual void SetPushedImageSpec(const wchar_t* text);
    virtual const CUIString& GetFocusedImageSpec() const;
    virtual void SetFocusedImageSpec(const wchar_t* text);
    virtual const CUIString& GetDisabledImageSpec() const;
    virtual void SetDisabledImageSpec(const wchar_t* text);
    virtual const CUIString& GetHotForeImageSpec() const;
    virtual void SetHotForeImageSpec(const wchar_t* text);
    virtual const CUIString& GetStateImageSpec() const;
    // Empties the normal image so that the strip is cut again at the next paint.
    virtual void SetStateImageSpec(const wchar_t* text);

    void SetStateCount(int count);
    int GetStateCount() const { return m_stateCount; }
    void SetHotBkColor(DWORD argb);
    DWORD GetHotBkColor() const { return m_hotBkColor; }
    void SetPushedBkColor(DWORD argb);
    DWORD GetPushedBkColor() const { return m_pushedBkColor; }
    void SetDisabledBkColor(DWORD argb);
    DWORD GetDisabledBkColor() const { return m_disabledBkColor; }
    void SetHotTextColor(DWORD argb) { m_hotTextColor = argb; }
    DWORD GetHotTextColor() const { return m_hotTextColor; }
    void SetPushedTextColor(DWORD argb) { m_pushedTextColor = argb; }
    DWORD GetPushedTextColor() const { return m_pushedTextColor; }
    void SetFocusedTextColor(DWORD argb) { m_focusedTextColor = argb; }
    DWORD GetFocusedTextColor() const { return m_focusedTextColor; }
    void SetHotFont(int id);
    int GetHotFont() const { return m_hotFont; }
    void SetPushedFont(int id);
    int GetPushedFont() const { return m_pushedFont; }
    void SetFocusedFont(int id);
    int GetFocusedFont() const { return m_focusedFont; }
    // A negative index is ignored.
    void SetBindTabIndex(int index);
    int GetBindTabIndex() const { return m_bindTabIndex; }
    void SetBindTabLayoutName(const wchar_t* name);
    const CUIString& GetBindTabLayoutName() const { return m_bindTabLayoutName; }

    uint32_t GetButtonState() const { return m_buttonState; }

protected:
    // The focused bit follows the focus and the disabled bit the enabled
    // state; a disabled window leaves only the disabled bit.
    void RefreshStateBits();
    // Cuts a strip image of equal cells into per-state image texts (cell 0
    // normal, 1 hot and pushed, 2 pushed, 3 disabled) when the normal text is
    // empty; the disabled slot may be null. Cells are measured on the
    // unscaled image, as the texts are scaled again when drawn.
    void CutStateStrip(const CUIString& strip, int count, CUIString& normal, CUIString& hot, CUIString& pushed,
                       CUIString* disabled);
    // Draws the text with the word-wrap centring of buttons.
    void DrawButtonText(HDC dc, const wchar_t* text, DWORD color, int font);

    uint32_t m_buttonState;
    int m_hotFont;
    int m_pushedFont;
    int m_focusedFont;
    DWORD m_hotBkColor;
    DWORD m_pushedBkColor;
    DWORD m_disabledBkColor;
    DWORD m_hotTextColor;
    DWORD m_pushedTextColor;
    DWORD m_focusedTextColor;
    CUIString m_normalImage;
    CUIString m_hotImage;
    CUIString m_hotForeImage;
    CUIString m_pushedImage;
    CUIString m_focusedImage;
    CUIString m_disabledImage;
    int m_stateCount;
    CUIString m_stateImage;
    int m_bindTabIndex;
    CUIString m_bindTabLayoutName;
};

} // namespace SkinUI
