#include "uilib/control/ColorPalette.h"

#include <cwchar>

#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const int kThumbHalf = 4;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

CColorPaletteUI::CColorPaletteUI()
    : m_memoryDc(nullptr),
      m_bitmap(nullptr),
      m_oldBitmap(nullptr),
      m_buttonState(0),
      m_dragBar(false),
      m_dragField(false),
      m_hue(180),
      m_saturation(200),
      m_lightness(100),
      m_paletteHeight(200),
      m_barHeight(10)
{
}

CColorPaletteUI::~CColorPaletteUI()
{
    FreeSurface();
}

const wchar_t* CColorPaletteUI::GetTypeName() const
{
    return L"ColorPaletteUI";
}

void* CColorPaletteUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ColorPalette") == 0) return this;
    return CControlUI::FindInterface(name);
}

DWORD CColorPaletteUI::GetColor() const
{
    return PaletteHslToArgb(m_hue, m_saturation, m_lightness);
}

void CColorPaletteUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (std::wcscmp(name, L"palletheight") == 0) {
        const int height = ParseAttrInt(value);
        m_paletteHeight = height > 0 ? height : 0;
    } else if (std::wcscmp(name, L"barheight") == 0) {
        const int height = ParseAttrInt(value);
        m_barHeight = height > TPaletteSurface::kMaxBarHeight ? TPaletteSurface::kMaxBarHeight
                                                              : (height > 0 ? height : 0);
    } else if (std::wcscmp(name, L"thumbimage") == 0) {
        if (m_thumbImage != value) {
            m_thumbImage = value;
            RequestRelayout();
        }
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

// A 32-bit DIB section holds the same colours at every display depth.
bool CColorPaletteUI::CreateSurface()
{
    if (m_memoryDc != nullptr) return true;
    HDC reference = m_manager != nullptr ? m_manager->DeviceContext() : nullptr;
    m_memoryDc = CreateCompatibleDC(reference);
    if (m_memoryDc == nullptr) return false;
    BYTE* bits = nullptr;
    m_bitmap = CRenderKit::CreateArgbBitmap(m_memoryDc, TPaletteSurface::kWidth, -TPaletteSurface::kHeight, &bits);
    if (m_bitmap == nullptr || bits == nullptr) {
        FreeSurface();
        return false;
    }
    m_oldBitmap = SelectObject(m_memoryDc, m_bitmap);
    m_surface.pixels = bits;
    m_surface.stride = TPaletteSurface::kWidth * 4;
    return true;
}

void CColorPaletteUI::FreeSurface()
{
    if (m_memoryDc != nullptr && m_oldBitmap != nullptr) SelectObject(m_memoryDc, m_oldBitmap);
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
    if (m_memoryDc != nullptr) DeleteDC(m_memoryDc);
    m_memoryDc = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
    m_surface = TPaletteSurface();
}

void CColorPaletteUI::InitHook()
{
    if (CreateSurface()) {
        RebuildField();
        RebuildBar();
    }
}

void CColorPaletteUI::RebuildField()
{
    PaintPaletteField(m_surface, m_saturation);
    GdiFlush();
}

void CColorPaletteUI::RebuildBar()
{
    PaintPaletteBar(m_surface, m_hue, m_lightness, m_barHeight);
    GdiFlush();
}

bool CColorPaletteUI::HasArea() const
{
    return m_item.Width() > 0 && FieldHeight() > 0;
}

void CColorPaletteUI::SetPosition(const RECT& rc, bool invalidate)
{
    CControlUI::SetPosition(rc, invalidate);
    if (HasArea()) {
        m_thumb.x = m_item.left + m_item.Width() * m_hue / 360;
        m_thumb.y = m_item.top + (200 - m_lightness) * FieldHeight() / 200;
    }
    RebuildField();
    RebuildBar();
}

int CColorPaletteUI::FieldHeight() const
{
    return Scaled(m_paletteHeight);
}

int CColorPaletteUI::BarHeight() const
{
    return Scaled(m_barHeight);
}

bool CColorPaletteUI::InField(POINT pt) const
{
    return pt.x >= m_item.left && pt.x < m_item.right && pt.y >= m_item.top && pt.y < m_item.top + FieldHeight();
}

bool CColorPaletteUI::InBar(POINT pt) const
{
    return pt.x >= m_item.left && pt.x < m_item.right && pt.y >= m_item.bottom - BarHeight() && pt.y < m_item.bottom;
}

void CColorPaletteUI::PickInField(POINT pt)
{
    const int width = m_item.Width();
    m_hue = Clamp((pt.x - m_item.left) * 360 / width, 0, 360);
    const int v = Clamp((pt.y - m_item.top) * 200 / FieldHeight(), 0, 200);
    m_thumb.x = Clamp(pt.x, m_item.left, m_item.right);
    m_thumb.y = Clamp(pt.y, m_item.top, m_item.top + FieldHeight());
    m_lightness = 200 - v;
    RebuildBar();
}

void CColorPaletteUI::PickSaturation(int x)
{
    m_saturation = Clamp((x - m_item.left) * 200 / m_item.Width(), 0, 200);
    RebuildField();
}

void CColorPaletteUI::EndPress()
{
    m_buttonState &= ~kStatePushed;
    m_dragBar = false;
    m_dragField = false;
    RequestRepaint();
}

void CColorPaletteUI::HandleEvent(TEventInfo& event)
{
    switch (event.type) {
    case UIEVENT_BUTTONDOWN:
        if (HasArea()) {
            if (InField(event.point)) {
                PickInField(event.point);
                m_buttonState |= kStatePushed;
                m_dragField = true;
                m_dragBar = false;
            }
            // Where the two overlap, the bar wins.
            if (InBar(event.point)) {
                m_dragBar = true;
                m_dragField = false;
                m_buttonState |= kStatePushed;
                PickSaturation(event.point.x);
            }
        }
        RequestRepaint();
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_buttonState & kStatePushed) == 0) {
            m_dragBar = false;
            m_dragField = false;
        }
        if (HasArea() && m_dragField) {
            const int dx = event.point.x - m_item.left;
            const int dy = event.point.y - m_item.top;
            if (dx >= 0 && dy >= 0 && dx <= m_item.Width() && dy <= FieldHeight()) PickInField(event.point);
        } else if (HasArea() && m_dragBar) {
            PickSaturation(event.point.x);
        }
        RequestRepaint();
        return;
    case UIEVENT_BUTTONUP:
        if (GetEnabledState() && m_manager != nullptr) m_manager->SendNotification(this, L"colorchanged", GetColor());
        EndPress();
        return;
    default:
        CControlUI::HandleEvent(event);
        return;
    }
}

void CColorPaletteUI::PaintBackgroundColor(HDC dc)
{
    PaintPalette(dc);
}

void CColorPaletteUI::PaintPalette(HDC dc)
{
    if (m_memoryDc == nullptr) return;
    const int saved = SaveDC(dc);
    SetStretchBltMode(dc, HALFTONE);
    const int width = m_item.Width();
    const int fieldHeight = FieldHeight();
    const int barHeight = BarHeight();
    StretchBlt(dc, m_item.left, m_item.top, width, fieldHeight, m_memoryDc, 0, TPaletteSurface::kFieldTop,
               TPaletteSurface::kFieldColumns, TPaletteSurface::kFieldRows, SRCCOPY);
    if (barHeight > 0)
        StretchBlt(dc, m_item.left, m_item.bottom - barHeight, width, barHeight, m_memoryDc, 0,
                   TPaletteSurface::kBarTop, TPaletteSurface::kBarColumns, m_barHeight, SRCCOPY);
    if (!m_thumbImage.IsEmpty()) {
        const int half = Scaled(kThumbHalf);
        const RECT fieldThumb = {m_thumb.x - half, m_thumb.y - half, m_thumb.x + half, m_thumb.y + half};
        CRenderKit::DrawImageSpec(dc, m_manager, fieldThumb, m_paintRect, m_thumbImage, nullptr, nullptr);
        const int barX = m_item.left + width * m_saturation / 200;
        const int barY = m_item.bottom - barHeight / 2;
        const RECT barThumb = {barX - half, barY - half, barX + half, barY + half};
        CRenderKit::DrawImageSpec(dc, m_manager, barThumb, m_paintRect, m_thumbImage, nullptr, nullptr);
    }
    RestoreDC(dc, saved);
}

} // namespace SkinUI
