#include "uilib/control/OverlayWnd.h"

#include "uilib/control/OverlayLabel.h"

namespace SkinUI {

COverlayWnd::COverlayWnd() : m_host(nullptr), m_created(false) {}

void COverlayWnd::DetachHostAndDestroy()
{
    m_host = nullptr;
    if (m_window != nullptr)
        DestroyWindow(m_window);
    else
        delete this;
}

void COverlayWnd::OnFinalWindowMessage(HWND)
{
    if (m_host != nullptr) {
        m_host->ForgetOverlay(this);
        m_host->RequestRepaint();
    }
    m_host = nullptr;
    if (m_created) delete this;
}

} // namespace SkinUI
