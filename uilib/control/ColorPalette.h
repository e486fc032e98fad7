#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/PaletteHsl.h"
#include "uilib/core/UIControl.h"
#include "uilib/core/UIPoint.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// A colour picker drawn by the control: a field of every hue (left to right)
// and lightness (black at the bottom) at the current saturation, and under
// it a bar of every saturation at the current hue and lightness. Dragging in
// either moves its thumb; releasing the button reports "colorchanged" with
// the colour in wParam.
class CColorPaletteUI : public CControlUI {
public:
    static const uint32_t kStatePushed = 0x10;

    CColorPaletteUI();
    ~CColorPaletteUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void InitHook() override;
    void HandleEvent(TEventInfo& event) override;
    // Ends a drag in the field or the bar; the colour stays as picked.
    void EndPress() override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void PaintBackgroundColor(HDC dc) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    virtual void PaintPalette(HDC dc);

    // 0xFFRRGGBB of the current hue, saturation and lightness.
    DWORD GetColor() const;
    int GetHue() const { return m_hue; }
    int GetSaturation() const { return m_saturation; }
    int GetLightness() const { return m_lightness; }
    int GetPaletteHeight() const { return m_paletteHeight; }
    int GetBarHeight() const { return m_barHeight; }
    CUIPoint GetThumbPoint() const { return m_thumb; }
    bool IsDraggingField() const { return m_dragField; }
    bool IsDraggingBar() const { return m_dragBar; }
    // The drawing surface (null before initialisation).
    const TPaletteSurface& GetSurface() const { return m_surface; }

    void RebuildField();
    void RebuildBar();

private:
    bool CreateSurface();
    void FreeSurface();
    // Field and bar input needs an area; a zero-size control takes none.
    bool HasArea() const;
    // The field's and the bar's heights on screen; the surface keeps skin rows.
    int FieldHeight() const;
    int BarHeight() const;
    bool InField(POINT pt) const;
    bool InBar(POINT pt) const;
    void PickInField(POINT pt);
    void PickSaturation(int x);

    HDC m_memoryDc;
    HBITMAP m_bitmap;
    HGDIOBJ m_oldBitmap;
    TPaletteSurface m_surface;
    uint32_t m_buttonState;
    bool m_dragBar;
    bool m_dragField;
    int m_hue;
    int m_saturation;
    int m_lightness;
    int m_paletteHeight;
    int m_barHeight;
    CUIPoint m_thumb;
    CUIString m_thumbImage;
};

} // namespace SkinUI
