#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIPoint.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CPaintManagerUI;

// A soft drop shadow for a frame window: a layered, click-through popup that
// follows the frame, drawn from a blur of the frame's outline or from a
// nine-grid image.
class CShadowUI {
public:
    CShadowUI();
    virtual ~CShadowUI();
    CShadowUI(const CShadowUI&) = delete;
    CShadowUI& operator=(const CShadowUI&) = delete;

    // Registers the shadow window class once per process; later calls return false.
    static bool RegisterShadowClass(HINSTANCE instance);

    // Creates the shadow window for the manager's window and follows it; does
    // nothing while the shown switch is off.
    void AttachToWindow(CPaintManagerUI* manager);

    // Each returns false and changes nothing for a value out of range.
    bool SetSize(int size);                  // -35..35
    bool SetSharpness(unsigned int sharpness); // 0..35
    bool SetDarkness(unsigned int darkness); // 0..255
    bool SetPosition(int x, int y);          // each -35..35
    bool SetColor(DWORD color);
    bool SetImage(const wchar_t* image);     // switches image mode on
    bool SetShadowCorner(RECT corner);       // each >= 0

    void SetShown(bool shown) { m_shown = shown; }
    bool IsShown() const { return m_shown; }

    bool CopySettingsTo(CShadowUI* other) const;

    // Redraws the shadow for the frame when it is shown and visible.
    void Update(HWND frame);

    HWND ShadowHandle() const { return m_shadowWindow; }
    int Size() const { return m_size; }
    int Sharpness() const { return m_sharpness; }
    int Darkness() const { return m_darkness; }
    int OffsetX() const { return m_offsetX; }
    int OffsetY() const { return m_offsetY; }
    DWORD Color() const { return m_color; }
    bool IsImageMode() const { return m_imageMode; }
    const CUIString& Image() const { return m_image; }
    CUIRect ShadowCorner() const { return m_corner; }

private:
    enum StatusBits : uint8_t {
        kEnabled = 1,
        kVisible = 2,
        kFrameVisible = 4,
    };

    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static CShadowUI* FindShadowOf(HWND frame);
    void OnFrameMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
    void Show(bool show);
    void MoveBehind(HWND frame, bool move);
    CUIPoint ShadowOrigin(const RECT& frameRect) const;
    bool DrawImage(HDC dc, int width, int height);
    void ComputeShadow(HWND frame, uint32_t* pixels, int width, int height) const;

    CPaintManagerUI* m_manager;
    HWND m_frame;
    HWND m_shadowWindow;
    WNDPROC m_previousProc;
    uint8_t m_status;
    bool m_imageMode;
    bool m_shown;
    uint8_t m_darkness;
    uint8_t m_sharpness;
    int8_t m_size;
    int8_t m_offsetX;
    int8_t m_offsetY;
    uint16_t m_lastWidth;
    uint16_t m_lastHeight;
    bool m_updatePending;
    DWORD m_color;
    CUIString m_image;
    CUIRect m_corner;
};

} // namespace SkinUI
