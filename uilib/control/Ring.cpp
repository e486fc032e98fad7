#include "uilib/control/Ring.h"

#include <cwchar>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const float kStepDegrees = 36.0f;
const float kFullTurn = 359.0f;

} // namespace

CRingUI::CRingUI() : m_angle(0.0f), m_image(nullptr) {}

CRingUI::~CRingUI()
{
    if (m_manager != nullptr) m_manager->StopTimer(this, kTimerId);
    ReleaseImage();
}

const wchar_t* CRingUI::GetTypeName() const
{
    return L"RingUI";
}

void* CRingUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Ring") == 0) return this;
    return CLabelUI::FindInterface(name);
}

void CRingUI::ReleaseImage()
{
    delete m_image;
    m_image = nullptr;
}

void CRingUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name != nullptr && wcscmp(name, L"bkimage") == 0) {
        if (m_backImage == value) return;
        m_backImage = value;
        ReleaseImage();
        RequestRepaint();
        return;
    }
    CLabelUI::ApplyAttribute(name, value);
}

void CRingUI::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_TIMER && event.wParam == kTimerId) {
        if (m_angle > kFullTurn) m_angle = 0.0f;
        m_angle += kStepDegrees;
        RequestRepaint();
        return;
    }
    CLabelUI::HandleEvent(event);
}

void CRingUI::PaintBackgroundImage(HDC dc)
{
    if (m_image == nullptr) {
        m_image = CRenderKit::LoadGdiplusImage(m_backImage);
        if (m_image != nullptr && m_manager != nullptr) m_manager->StartTimer(this, kTimerId, kIntervalMs);
    }
    if (m_image == nullptr) return;

    const int width = m_item.right - m_item.left;
    const int height = m_item.bottom - m_item.top;
    const float cx = static_cast<float>(m_item.left + width / 2);
    const float cy = static_cast<float>(m_item.top + height / 2);
    Gdiplus::Graphics graphics(dc);
    graphics.TranslateTransform(cx, cy);
    graphics.RotateTransform(m_angle, Gdiplus::MatrixOrderPrepend);
    graphics.TranslateTransform(-cx, -cy);
    graphics.DrawImage(m_image, static_cast<INT>(m_item.left), static_cast<INT>(m_item.top), width, height);
}

} // namespace SkinUI
