#include "uilib/core/DragRect.h"

#include <cstdlib>

namespace SkinUI {

void CDragRect::Press(const CUIPoint& at, const CUISize& size)
{
    m_press = at;
    m_size = size;
    m_left = false;
}

void CDragRect::Track(const CUIPoint& p)
{
    if (!m_left) {
        m_left = std::abs(p.x - m_press.x) > m_size.cx / 2 || std::abs(p.y - m_press.y) > m_size.cy / 2;
    }
}

} // namespace SkinUI
