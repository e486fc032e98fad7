#include "uilib/control/GifAnim.h"

#include <cstdlib>
#include <cstring>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// The time dimension of multi-frame images; not every SDK defines it.
const GUID kFrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
const PROPID kFrameDelayTag = 0x5100;

} // namespace

CGifAnimUI::CGifAnimUI()
    : m_image(nullptr),
      m_frameCount(0),
      m_currentFrame(0),
      m_delays(nullptr),
      m_autoPlay(true),
      m_autoSize(false),
      m_playing(false),
      m_playsWhenShown(false)
{
}

CGifAnimUI::~CGifAnimUI()
{
    ReleaseImage();
    if (m_manager != nullptr) m_manager->StopTimer(this, kTimerId);
}

const wchar_t* CGifAnimUI::GetTypeName() const
{
    return L"GifAnimUI";
}

void* CGifAnimUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"GifAnim") == 0) return this;
    return CControlUI::FindInterface(name);
}

void CGifAnimUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"bkimage")) {
        SetImageFile(value);
    } else if (AttrNameEquals(name, L"autoplay")) {
        m_autoPlay = ParseAttrBool(value);
    } else if (AttrNameEquals(name, L"autosize")) {
        m_autoSize = ParseAttrBool(value);
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

void CGifAnimUI::SetImageFile(const wchar_t* name)
{
    if (name == nullptr || m_imageFile == name) return;
    m_imageFile = name;
    StopAnimation();
    ReleaseImage();
    RequestRepaint();
}

void CGifAnimUI::InitHook()
{
    CControlUI::InitHook();
    LoadImageFrames();
}

void CGifAnimUI::VisibilityChanged(bool wasVisible, bool own)
{
    CControlUI::VisibilityChanged(wasVisible, own);
    // It plays only while seen: shown by its own call, or playing before a
    // parent hid it.
    const bool wanted = own ? m_visible : (m_playing || m_playsWhenShown);
    m_playsWhenShown = wanted && !GetVisibility();
    if (wanted && GetVisibility()) StartAnimation();
    else StopAnimation();
}

UINT CGifAnimUI::FrameDelayMs(unsigned frame) const
{
    // The table may hold fewer delays than the image has frames.
    if (m_delays == nullptr || frame >= m_delays->length / sizeof(uint32_t)) return kDefaultDelayMs;
    uint32_t hundredths = 0;
    std::memcpy(&hundredths, static_cast<const BYTE*>(m_delays->value) + frame * sizeof(uint32_t), sizeof(hundredths));
    return hundredths == 0 ? kDefaultDelayMs : hundredths * 10;
}

void CGifAnimUI::StartAnimation()
{
    if (m_playing || m_image == nullptr || m_frameCount <= 1 || m_manager == nullptr) return;
    m_manager->StartTimer(this, kTimerId, FrameDelayMs(m_currentFrame));
    m_playing = true;
}

void CGifAnimUI::StopAnimation()
{
    if (!m_playing) return;
    if (m_manager != nullptr) m_manager->StopTimer(this, kTimerId);
    m_currentFrame = 0;
    RequestRepaint();
    m_playing = false;
}

void CGifAnimUI::ReleaseImage()
{
    delete m_image;
    m_image = nullptr;
    std::free(m_delays);
    m_delays = nullptr;
    m_frameCount = 0;
    m_currentFrame = 0;
}

void CGifAnimUI::LoadImageFrames()
{
    if (m_image != nullptr || m_imageFile.IsEmpty()) return;
    m_image = CRenderKit::LoadGdiplusImage(m_imageFile);
    if (m_image == nullptr) return;

    const UINT dimensions = m_image->GetFrameDimensionsCount();
    if (dimensions > 0 && dimensions <= SIZE_MAX / sizeof(GUID)) {
        GUID* ids = static_cast<GUID*>(std::calloc(dimensions, sizeof(GUID)));
        if (ids != nullptr && m_image->GetFrameDimensionsList(ids, dimensions) == Gdiplus::Ok)
            m_frameCount = m_image->GetFrameCount(&ids[0]);
        std::free(ids);
    }
    if (m_frameCount > 1) {
        const UINT size = m_image->GetPropertyItemSize(kFrameDelayTag);
        if (size >= sizeof(Gdiplus::PropertyItem)) {
            m_delays = static_cast<Gdiplus::PropertyItem*>(std::malloc(size));
            if (m_delays != nullptr && m_image->GetPropertyItem(kFrameDelayTag, size, m_delays) != Gdiplus::Ok) {
                std::free(m_delays);
                m_delays = nullptr;
            }
        }
    }
    if (m_autoSize) {
        SetFixedWidthValue(static_cast<int>(m_image->GetWidth()));
        SetFixedHeightValue(static_cast<int>(m_image->GetHeight()));
    }
    if (m_autoPlay) StartAnimation();
}

void CGifAnimUI::HandleEvent(TEventInfo& event)
{
    if (event.type != UIEVENT_TIMER || event.wParam != kTimerId || m_frameCount == 0) return;
    if (m_manager != nullptr) m_manager->StopTimer(this, kTimerId);
    RequestRepaint();
    m_currentFrame = (m_currentFrame + 1) % m_frameCount;
    if (m_manager != nullptr) m_manager->StartTimer(this, kTimerId, FrameDelayMs(m_currentFrame));
}

bool CGifAnimUI::PaintSelf(HDC dc, const RECT& paintArea, CControlUI*)
{
    RECT overlap;
    if (!IntersectRect(&overlap, &paintArea, &m_item)) return true;
    if (m_image == nullptr) LoadImageFrames();
    if (dc == nullptr || m_image == nullptr) return true;
    // The frame is chosen before drawing, so each frame shows for its own
    // delay rather than for the one of the frame after it.
    m_image->SelectActiveFrame(&kFrameDimensionTime, m_currentFrame);
    Gdiplus::Graphics graphics(dc);
    graphics.DrawImage(m_image, static_cast<INT>(m_item.left), static_cast<INT>(m_item.top),
                       static_cast<INT>(m_item.right - m_item.left), static_cast<INT>(m_item.bottom - m_item.top));
    return true;
}

} // namespace SkinUI
