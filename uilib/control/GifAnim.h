#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIString.h"

namespace Gdiplus {
class Image;
class PropertyItem;
}

namespace SkinUI {

// Shows an animated image from the skin and steps through its frames with a
// window timer, each frame for the delay stored in the image.
class CGifAnimUI : public CControlUI {
public:
    static constexpr UINT kTimerId = 100;
    // A frame without a usable delay plays this long.
    static constexpr UINT kDefaultDelayMs = 100;

    CGifAnimUI();
    ~CGifAnimUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void InitHook() override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;

    void SetImageFile(const wchar_t* name);
    const CUIString& GetImageFile() const { return m_imageFile; }
    void StartAnimation();
    void StopAnimation();

    bool IsPlaying() const { return m_playing; }
    bool HasImage() const { return m_image != nullptr; }
    unsigned GetFrameCount() const { return m_frameCount; }
    unsigned GetCurrentFrame() const { return m_currentFrame; }
    // How long the frame is shown, in milliseconds.
    UINT FrameDelayMs(unsigned frame) const;

protected:
    void VisibilityChanged(bool wasVisible, bool own) override;

private:
    void LoadImageFrames();
    void ReleaseImage();

    Gdiplus::Image* m_image;
    unsigned m_frameCount;
    unsigned m_currentFrame;
    Gdiplus::PropertyItem* m_delays;
    CUIString m_imageFile;
    bool m_autoPlay;
    bool m_autoSize;
    bool m_playing;
    // Paused by a parent's hide, it plays again when shown.
    bool m_playsWhenShown;
};

} // namespace SkinUI
