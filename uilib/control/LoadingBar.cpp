#include "uilib/control/LoadingBar.h"

#include <cwchar>

#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CLoadingBarUI::CLoadingBarUI() : m_started(false), m_movingBack(false), m_offset(0), m_blockWidth(0) {}

CLoadingBarUI::~CLoadingBarUI()
{
    if (m_manager != nullptr) m_manager->StopTimer(this, kTimerId);
}

const wchar_t* CLoadingBarUI::GetTypeName() const
{
    return L"LoadingBar";
}

void* CLoadingBarUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && wcscmp(name, L"LoadingBar") == 0) return this;
    return CLabelUI::FindInterface(name);
}

void CLoadingBarUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name != nullptr && wcscmp(name, L"bkimage") == 0) {
        // Stored as it is: the bar paints no background image of its own.
        if (m_backImage != value) m_backImage = value;
        return;
    }
    CLabelUI::ApplyAttribute(name, value);
}

void CLoadingBarUI::Start()
{
    m_started = true;
    if (m_manager != nullptr) m_manager->StartTimer(this, kTimerId, kIntervalMs);
}

void CLoadingBarUI::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_TIMER && event.wParam == kTimerId) {
        m_offset += m_movingBack ? -kStepPixels : kStepPixels;
        // Turning here too keeps the block in range while nothing paints it
        // (a hidden or covered window).
        TurnAtEdges();
        RequestRepaint();
        return;
    }
    CLabelUI::HandleEvent(event);
}

void CLoadingBarUI::TurnAtEdges()
{
    if (m_blockWidth == 0) return;
    if (m_offset + m_blockWidth > m_item.right - m_item.left) {
        m_movingBack = true;
    } else if (m_offset < 0) {
        m_movingBack = false;
    }
}

void CLoadingBarUI::PaintForegroundColor(HDC dc)
{
    if (!m_started) Start();
    if (m_foreColor == 0) return;
    const int width = m_item.right - m_item.left;
    if (m_blockWidth == 0) m_blockWidth = static_cast<int>(width * 0.3);
    TurnAtEdges();
    const RECT block = {m_item.left + m_offset, m_item.top, m_item.left + m_offset + m_blockWidth, m_item.bottom};
    CRenderKit::FillRectColor(dc, block, ApplyHslToColor(m_foreColor));
}

} // namespace SkinUI
