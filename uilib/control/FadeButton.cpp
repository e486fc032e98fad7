#include "uilib/control/FadeButton.h"

#include <cwchar>

#include "uilib/core/UIManager.h"

namespace SkinUI {

CFadeButtonUI::CFadeButtonUI() : CUIAnimation(this), m_fadeAlpha(0), m_mouseEntered(false), m_mouseLeft(false) {}

CFadeButtonUI::~CFadeButtonUI()
{
    StopAnimation(0);
}

const wchar_t* CFadeButtonUI::GetTypeName() const
{
    return L"FadeButtonUI";
}

void* CFadeButtonUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && wcscmp(name, L"FadeButton") == 0) return static_cast<CFadeButtonUI*>(this);
    return CButtonUI::FindInterface(name);
}

void CFadeButtonUI::SetNormalImageSpec(const wchar_t* text)
{
    CButtonUI::SetNormalImageSpec(text);
    m_lastImage = m_normalImage;
}

bool CFadeButtonUI::BeginFade(int id, int otherId, bool& flag)
{
    if (IsAnimationRunning(id)) return false;
    m_fadeAlpha = 0;
    flag = true;
    StopAnimation(otherId);
    StartAnimation(kFrameMs, kFrames, id, false);
    RequestRepaint();
    return true;
}

void CFadeButtonUI::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_MOUSEENTER) {
        if (BeginFade(kFadeInId, kFadeOutId, m_mouseEntered)) return;
    } else if (event.type == UIEVENT_MOUSELEAVE) {
        if (BeginFade(kFadeOutId, kFadeInId, m_mouseLeft)) return;
    } else if (event.type == UIEVENT_TIMER) {
        OnAnimationElapse(static_cast<int>(event.wParam));
    }
    CButtonUI::HandleEvent(event);
}

void CFadeButtonUI::OnAnimationStep(int totalFrames, int currentFrame, int)
{
    if (totalFrames <= 0) return;
    const double share = static_cast<double>(currentFrame) / totalFrames;
    m_fadeAlpha = static_cast<BYTE>(static_cast<unsigned>(share * 255.0) & 0xFF);
    if (m_fadeAlpha == 0) m_fadeAlpha = 10;
    RequestRepaint();
}

void CFadeButtonUI::OnAnimationStart(int, bool) {}

void CFadeButtonUI::OnAnimationStop(int) {}

void CFadeButtonUI::PaintStateImage(HDC dc)
{
    RefreshStateBits();
    const CUIString* image = nullptr;
    if (m_buttonState & UISTATE_DISABLED) image = &m_disabledImage;
    else if (m_buttonState & UISTATE_PUSHED) image = &m_pushedImage;
    else if (m_buttonState & UISTATE_FOCUSED) image = &m_focusedImage;
    if (image != nullptr && !image->IsEmpty() && DrawImageSpec(dc, *image, nullptr)) return;

    if (m_normalImage.IsEmpty()) return;
    if (m_mouseEntered) {
        m_mouseEntered = false;
        m_lastImage = m_hotImage;
        DrawImageSpec(dc, m_normalImage, nullptr);
        return;
    }
    if (m_mouseLeft) {
        m_mouseLeft = false;
        m_lastImage = m_normalImage;
        DrawImageSpec(dc, m_hotImage, nullptr);
        return;
    }
    const bool fadingOut = IsAnimationRunning(kFadeOutId);
    if (IsAnimationRunning(kFadeInId) || fadingOut) {
        m_oldImage = fadingOut ? m_hotImage : m_normalImage;
        m_newImage = fadingOut ? m_normalImage : m_hotImage;
        wchar_t modifier[32];
        _snwprintf(modifier, 32, L"fade='%d'", 255 - m_fadeAlpha);
        modifier[31] = L'\0';
        DrawImageSpec(dc, m_oldImage, modifier);
        _snwprintf(modifier, 32, L"fade='%d'", m_fadeAlpha);
        modifier[31] = L'\0';
        DrawImageSpec(dc, m_newImage, modifier);
        return;
    }
    if (m_lastImage.IsEmpty()) m_lastImage = m_normalImage;
    DrawImageSpec(dc, m_lastImage, nullptr);
}

} // namespace SkinUI
