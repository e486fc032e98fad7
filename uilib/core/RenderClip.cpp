#include "uilib/core/RenderKit.h"

namespace SkinUI {

void CRenderClip::Begin(HDC dc, const RECT& rc, HRGN extra)
{
    m_item = rc;
    m_dc = dc;
    // The whole clip region in force is kept, not only its box, so that an
    // outer rounded clip survives a nested one.
    m_saved = CreateRectRgn(0, 0, 0, 0);
    m_hadClip = m_saved != nullptr && GetClipRgn(dc, m_saved) == 1;
    HRGN own = CreateRectRgnIndirect(&rc);
    if (own == nullptr) return;
    if (extra != nullptr) CombineRgn(own, own, extra, RGN_AND);
    ExtSelectClipRgn(dc, own, RGN_AND);
    // Keep what is now in force, so that selecting it again gives the same clip.
    if (GetClipRgn(dc, own) != 1) SetRectRgn(own, rc.left, rc.top, rc.right, rc.bottom);
    m_clip = own;
}

void CRenderClip::ClipToRect(HDC dc, const RECT& rc, CRenderClip& clip)
{
    clip.Begin(dc, rc, nullptr);
}

void CRenderClip::ClipToRoundRect(HDC dc, const RECT& rc, const RECT& round, int cornerWidth, int cornerHeight,
                                  CRenderClip& clip)
{
    HRGN rounded = CreateRoundRectRgn(round.left, round.top, round.right + 1, round.bottom + 1, cornerWidth,
                                      cornerHeight);
    clip.Begin(dc, rc, rounded);
    if (rounded != nullptr) DeleteObject(rounded);
}

void CRenderClip::SelectOuterRegion(HDC dc, const CRenderClip& clip)
{
    SelectClipRgn(dc, clip.m_hadClip ? clip.m_saved : nullptr);
}

void CRenderClip::SelectInnerRegion(HDC dc, const CRenderClip& clip)
{
    if (clip.m_clip != nullptr) SelectClipRgn(dc, clip.m_clip);
}

CRenderClip::~CRenderClip()
{
    if (m_dc != nullptr) SelectClipRgn(m_dc, m_hadClip ? m_saved : nullptr);
    if (m_clip != nullptr) DeleteObject(m_clip);
    if (m_saved != nullptr) DeleteObject(m_saved);
}

} // namespace SkinUI
