#include "uilib/control/OverlayLabel.h"

#include "uilib/core/UIManager.h"

namespace SkinUI {

COverlayLabelUI::COverlayLabelUI(bool reopenOnClick, bool tracksHot)
    : m_overlayState(0), m_overlay(nullptr), m_reopenOnClick(reopenOnClick), m_tracksHot(tracksHot)
{
}

COverlayLabelUI::~COverlayLabelUI()
{
    if (m_overlay != nullptr) m_overlay->DetachHostAndDestroy();
}

void COverlayLabelUI::OpenOverlay()
{
    if (m_manager == nullptr) return;
    COverlayWnd* overlay = m_overlay != nullptr ? m_overlay : CreateOverlay();
    m_overlay = overlay;
    if (!overlay->OpenOn(this)) {
        if (m_overlay == overlay) m_overlay = nullptr;
        delete overlay;
    }
}

void COverlayLabelUI::ForgetOverlay(COverlayWnd* overlay)
{
    if (m_overlay != overlay) return;
    // An editor that closed by itself (Escape, a closed calendar) leaves the
    // control unfocused; else the focus coming back to the window would
    // open it again at once. The editor is still known meanwhile, so the
    // focus passing through the window opens nothing either.
    if (m_manager != nullptr && m_manager->FocusControl() == this) m_manager->SetFocusControl(nullptr);
    m_overlay = nullptr;
}

void COverlayLabelUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CLabelUI::HandleEvent(event);
        return;
    }
    const bool enabled = GetEnabledState();
    switch (event.type) {
    case UIEVENT_SETCURSOR:
        if (!enabled) break;
        SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
        return;
    case UIEVENT_WINDOWSIZE:
        if (HasOverlay() && m_manager != nullptr) m_manager->FocusAfterLayout(this);
        break;
    case UIEVENT_SCROLLWHEEL:
        if (HasOverlay()) return;
        break;
    case UIEVENT_SETFOCUS:
        if (!enabled) break;
        if (HasOverlay()) return;
        OpenOverlay();
        RequestRepaint();
        break;
    case UIEVENT_KILLFOCUS:
        if (enabled) RequestRepaint();
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN:
        if (!enabled) return;
        if (m_manager != nullptr) m_manager->HandPressAway();
        if (HasFocus() && !HasOverlay())
            OpenOverlay();
        else if (HasOverlay() && m_reopenOnClick)
            OpenOverlay();
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        if (enabled && m_tracksHot) {
            if (event.type == UIEVENT_MOUSEENTER)
                m_overlayState |= kStateHot;
            else
                m_overlayState &= ~kStateHot;
            RequestRepaint();
        }
        return;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

} // namespace SkinUI
