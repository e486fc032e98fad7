#include "uilib/core/ShadowWindow.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "uilib/core/RenderKit.h"
#include "uilib/core/ShadowRaster.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const wchar_t kShadowClassName[] = L"OlvaneShadowWnd";
const int kLimit = 35;

// Frame window -> its shadow, for the subclassed frame procedure.
std::map<HWND, CShadowUI*>& FrameMap()
{
    static std::map<HWND, CShadowUI*> frames;
    return frames;
}

// Outline rows of the frame's window region; none without a region.
std::vector<TShadowSpan> FrameOutline(HWND frame, int width, int height)
{
    std::vector<TShadowSpan> rows(static_cast<size_t>(height), TShadowSpan{0, 0});
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (region == nullptr) return rows;
    if (GetWindowRgn(frame, region) != ERROR) {
        const DWORD bytes = GetRegionData(region, 0, nullptr);
        std::vector<BYTE> buffer(bytes);
        RGNDATA* data = reinterpret_cast<RGNDATA*>(buffer.data());
        if (bytes > 0 && GetRegionData(region, bytes, data) == bytes) {
            const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
            for (DWORD i = 0; i < data->rdh.nCount; ++i) {
                const RECT& rc = rects[i];
                for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, height); ++y) {
                    TShadowSpan& span = rows[y];
                    const int left = std::max<int>(rc.left, 0);
                    const int right = std::min<int>(rc.right, width);
                    if (left >= right) continue;
                    if (span.start >= span.end) {
                        span = TShadowSpan{left, right};
                    } else {
                        span.start = std::min(span.start, left);
                        span.end = std::max(span.end, right);
                    }
                }
            }
        }
    }
    DeleteObject(region);
    return rows;
}

} // namespace

CShadowUI::CShadowUI()
    : m_manager(nullptr),
      m_frame(nullptr),
      m_shadowWindow(nullptr),
      m_previousProc(nullptr),
      m_status(0),
      m_imageMode(false),
      m_shown(false),
      m_darkness(150),
      m_sharpness(5),
      m_size(0),
      m_offsetX(0),
      m_offsetY(0),
      m_lastWidth(0),
      m_lastHeight(0),
      m_updatePending(false),
      m_color(0)
{
}

CShadowUI::~CShadowUI()
{
    if (m_frame == nullptr) return;
    // The frame outlives its manager: give it back its own procedure.
    FrameMap().erase(m_frame);
    if (IsWindow(m_frame) && m_previousProc != nullptr &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_frame, GWLP_WNDPROC)) == &CShadowUI::FrameProc) {
        SetWindowLongPtrW(m_frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    }
    if (m_shadowWindow != nullptr) DestroyWindow(m_shadowWindow);
}

bool CShadowUI::RegisterShadowClass(HINSTANCE instance)
{
    static bool registered = false;
    if (registered) return false;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kShadowClassName;
    registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

CShadowUI* CShadowUI::FindShadowOf(HWND frame)
{
    const auto found = FrameMap().find(frame);
    return found != FrameMap().end() ? found->second : nullptr;
}

void CShadowUI::AttachToWindow(CPaintManagerUI* manager)
{
    if (!m_shown || manager == nullptr || m_shadowWindow != nullptr) return;
    HWND frame = manager->WindowHandle();
    if (frame == nullptr) return;
    RegisterShadowClass(CPaintManagerUI::ProgramInstance());
    m_manager = manager;
    m_frame = frame;
    FrameMap()[frame] = this;
    const LONG frameStyle = GetWindowLongW(frame, GWL_STYLE);
    m_shadowWindow = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClassName, nullptr,
                                     WS_POPUP | WS_BORDER | WS_SYSMENU | (frameStyle & WS_DLGFRAME), CW_USEDEFAULT, 0,
                                     0, 0, frame, nullptr, CPaintManagerUI::ProgramInstance(), nullptr);
    if (!(frameStyle & WS_VISIBLE)) {
        m_status = kEnabled;
    } else if (!(frameStyle & (WS_MAXIMIZE | WS_MINIMIZE))) {
        m_status = kEnabled | kVisible | kFrameVisible;
        Show(true);
        Update(frame);
    } else {
        m_status = kEnabled | kFrameVisible;
    }
    m_previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CShadowUI::FrameProc)));
}

LRESULT CALLBACK CShadowUI::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CShadowUI* shadow = FindShadowOf(window);
    if (shadow == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    // Kept before handling: WM_NCDESTROY takes the frame out of the map.
    WNDPROC previous = shadow->m_previousProc;
    shadow->OnFrameMessage(window, message, wParam, lParam);
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

void CShadowUI::Show(bool show)
{
    if (m_shadowWindow != nullptr) ShowWindow(m_shadowWindow, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

CUIPoint CShadowUI::ShadowOrigin(const RECT& frameRect) const
{
    if (m_imageMode) return CUIPoint(frameRect.left - m_size, frameRect.top - m_size);
    return CUIPoint(frameRect.left + m_offsetX - m_size, frameRect.top + m_offsetY - m_size);
}

void CShadowUI::MoveBehind(HWND frame, bool move)
{
    if (m_shadowWindow == nullptr) return;
    RECT rc;
    GetWindowRect(frame, &rc);
    const CUIPoint origin = ShadowOrigin(rc);
    SetWindowPos(m_shadowWindow, frame, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE));
}

void CShadowUI::OnFrameMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOVE:
        if ((m_status & kVisible) && m_shadowWindow != nullptr) {
            RECT rc;
            GetWindowRect(frame, &rc);
            const CUIPoint origin = ShadowOrigin(rc);
            SetWindowPos(m_shadowWindow, nullptr, origin.x, origin.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        MoveBehind(frame, true);
        const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if ((pos->flags & SWP_SHOWWINDOW) && (m_status & kEnabled) && !(m_status & kFrameVisible)) {
            m_updatePending = true;
            Show(true);
            m_status |= kVisible | kFrameVisible;
        } else if ((pos->flags & SWP_HIDEWINDOW) && (m_status & kEnabled)) {
            Show(false);
            m_status &= ~(kVisible | kFrameVisible);
        }
        break;
    }
    case WM_SIZE:
        if (!(m_status & kEnabled)) break;
        if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED) {
            Show(false);
            m_status &= ~kVisible;
        } else if (m_status & kFrameVisible) {
            const int width = LOWORD(lParam);
            const int height = HIWORD(lParam);
            if (width <= m_lastWidth && height <= m_lastHeight) {
                Update(frame);
            } else {
                m_updatePending = true;
            }
            if (!(m_status & kVisible)) {
                Show(true);
                m_status |= kVisible;
            }
        }
        m_lastWidth = LOWORD(lParam);
        m_lastHeight = HIWORD(lParam);
        break;
    case WM_PAINT:
        if (m_updatePending) {
            Update(frame);
            m_updatePending = false;
        }
        break;
    case WM_SHOWWINDOW:
        if (!(m_status & kEnabled)) break;
        if (!wParam) {
            Show(false);
            m_status &= ~(kVisible | kFrameVisible);
        } else if (!(m_status & kFrameVisible)) {
            m_updatePending = true;
            Show(true);
            m_status |= kVisible | kFrameVisible;
        }
        break;
    case WM_EXITSIZEMOVE:
        if (m_status & kVisible) Update(frame);
        break;
    case WM_NCACTIVATE:
    case WM_ACTIVATEAPP:
        MoveBehind(frame, false);
        break;
    case WM_DESTROY:
        if (m_shadowWindow != nullptr) DestroyWindow(m_shadowWindow);
        m_shadowWindow = nullptr;
        break;
    case WM_NCDESTROY:
        FrameMap().erase(frame);
        m_frame = nullptr;
        m_status = 0;
        break;
    default:
        break;
    }
}

bool CShadowUI::SetSize(int size)
{
    if (size < -kLimit || size > kLimit) return false;
    m_size = static_cast<int8_t>(size);
    if (m_shadowWindow != nullptr && (m_status & kVisible)) Update(m_frame);
    return true;
}

bool CShadowUI::SetSharpness(unsigned int sharpness)
{
    if (sharpness > static_cast<unsigned int>(kLimit)) return false;
    m_sharpness = static_cast<uint8_t>(sharpness);
    if (m_shadowWindow != nullptr && (m_status & kVisible)) Update(m_frame);
    return true;
}

bool CShadowUI::SetDarkness(unsigned int darkness)
{
    if (darkness > 255) return false;
    m_darkness = static_cast<uint8_t>(darkness);
    if (m_shadowWindow != nullptr && (m_status & kVisible)) Update(m_frame);
    return true;
}

bool CShadowUI::SetPosition(int x, int y)
{
    if (x < -kLimit || x > kLimit || y < -kLimit || y > kLimit) return false;
    m_offsetX = static_cast<int8_t>(x);
    m_offsetY = static_cast<int8_t>(y);
    if (m_shadowWindow != nullptr && (m_status & kVisible)) Update(m_frame);
    return true;
}

bool CShadowUI::SetColor(DWORD color)
{
    m_color = color;
    if (m_shadowWindow != nullptr && (m_status & kVisible)) Update(m_frame);
    return true;
}

bool CShadowUI::SetImage(const wchar_t* image)
{
    if (image == nullptr) return false;
    m_imageMode = true;
    m_image = image;
    if (m_shadowWindow != nullptr && (m_status & kVisible)) Update(m_frame);
    return true;
}

bool CShadowUI::SetShadowCorner(RECT corner)
{
    if (corner.left < 0 || corner.top < 0 || corner.right < 0 || corner.bottom < 0) return false;
    m_corner = corner;
    if (m_shadowWindow != nullptr && (m_status & kVisible)) Update(m_frame);
    return true;
}

bool CShadowUI::CopySettingsTo(CShadowUI* other) const
{
    if (other == nullptr) return false;
    if (m_imageMode) {
        other->SetImage(m_image);
        other->SetShadowCorner(m_corner);
        other->SetSize(m_size);
    } else {
        other->SetSize(m_size);
        other->SetSharpness(m_sharpness);
        other->SetDarkness(m_darkness);
        other->SetColor(m_color);
        other->SetPosition(m_offsetX, m_offsetY);
    }
    other->SetShown(m_shown);
    return true;
}

bool CShadowUI::DrawImage(HDC dc, int width, int height)
{
    if (m_manager == nullptr) return false;
    TImageEntry* image = m_manager->FindOrLoadImage(m_image);
    if (image == nullptr || image->bitmap == nullptr) return false;
    const RECT whole = {0, 0, width, height};
    const RECT source = {0, 0, image->width, image->height};
    CRenderKit::DrawBitmap(dc, image->bitmap, whole, whole, source, m_corner, true, 255, false, false, false);
    return true;
}

void CShadowUI::ComputeShadow(HWND frame, uint32_t* pixels, int width, int height) const
{
    RECT rc;
    GetWindowRect(frame, &rc);
    TShadowParams params;
    params.size = m_size;
    params.sharpness = m_sharpness;
    params.darkness = m_darkness;
    params.offsetX = m_offsetX;
    params.offsetY = m_offsetY;
    params.color = m_color & 0x00FFFFFF;
    const int frameWidth = rc.right - rc.left;
    const std::vector<TShadowSpan> rows = FrameOutline(frame, frameWidth, rc.bottom - rc.top);
    MakeShadowPixels(params, rows, frameWidth, pixels, width, height);
}

void CShadowUI::Update(HWND frame)
{
    if (!m_shown || !(m_status & kVisible) || frame == nullptr || m_shadowWindow == nullptr) return;
    if (m_imageMode ? m_image.IsEmpty() : m_size == 0) return;
    RECT rc;
    if (!GetWindowRect(frame, &rc)) return;
    const int width = rc.right - rc.left + 2 * m_size;
    const int height = rc.bottom - rc.top + 2 * m_size;
    // A frame smaller than a negative shadow size leaves nothing to draw.
    if (width <= 0 || height <= 0) return;

    BYTE* bits = nullptr;
    HBITMAP bitmap = CRenderKit::CreateArgbBitmap(nullptr, width, -height, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    if (bitmap != nullptr && bits != nullptr && dc != nullptr) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        uint32_t* pixels = reinterpret_cast<uint32_t*>(bits);
        std::memset(pixels, 0, static_cast<size_t>(width) * height * sizeof(uint32_t));
        bool drawn = true;
        if (m_imageMode) {
            drawn = DrawImage(dc, width, height);
        } else {
            ComputeShadow(frame, pixels, width, height);
        }
        if (drawn) {
            const CUIPoint origin = ShadowOrigin(rc);
            SetWindowPos(m_shadowWindow, nullptr, origin.x, origin.y, width, height,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
            POINT destination = {origin.x, origin.y};
            SIZE extent = {width, height};
            POINT sourceOrigin = {0, 0};
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            UpdateLayeredWindow(m_shadowWindow, nullptr, &destination, &extent, dc, &sourceOrigin, 0, &blend,
                                ULW_ALPHA);
        }
        SelectObject(dc, old);
    }
    if (dc != nullptr) DeleteDC(dc);
    if (bitmap != nullptr) DeleteObject(bitmap);
}

} // namespace SkinUI
