// The paint manager's painting: layout before painting, off-screen painting,
// layered windows and printing.
#include <algorithm>

#include "uilib/core/RenderKit.h"
#include "uilib/core/ShadowWindow.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

typedef BOOL(WINAPI* UpdateLayeredWindowFn)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

// Never ends the search; a container may ask about itself twice.
CControlUI* CollectNeedsLayout(CControlUI* control, void* data)
{
    CUIPtrArray& found = *static_cast<CUIPtrArray*>(data);
    if (control->IsLayoutNeeded() && found.IndexOf(control) < 0) found.Append(control);
    return nullptr;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// The part of rc that lies inside a bitmap of the given size.
RECT ClipToBitmap(const RECT& rc, SIZE size)
{
    RECT clipped;
    clipped.left = std::max<LONG>(rc.left, 0);
    clipped.top = std::max<LONG>(rc.top, 0);
    clipped.right = std::min<LONG>(rc.right, size.cx);
    clipped.bottom = std::min<LONG>(rc.bottom, size.cy);
    if (clipped.right < clipped.left) clipped.right = clipped.left;
    if (clipped.bottom < clipped.top) clipped.bottom = clipped.top;
    return clipped;
}

// Pixel rows of a bottom-up DIB: client row y is stored at height - 1 - y.
DWORD* RowOf(BYTE* pixels, SIZE size, LONG y)
{
    return reinterpret_cast<DWORD*>(pixels) + static_cast<size_t>(size.cy - 1 - y) * static_cast<size_t>(size.cx);
}

void ClearPixels(BYTE* pixels, SIZE size, const RECT& rc)
{
    RECT area = ClipToBitmap(rc, size);
    for (LONG y = area.top; y < area.bottom; ++y) std::fill_n(RowOf(pixels, size, y) + area.left, area.right - area.left, 0u);
}

} // namespace

void CPaintManagerUI::DeletePaintBitmaps()
{
    // DCs go first: a bitmap still selected into a DC cannot be deleted.
    if (m_offscreenDC != nullptr) DeleteDC(m_offscreenDC);
    if (m_backgroundDC != nullptr) DeleteDC(m_backgroundDC);
    if (m_offscreenBitmap != nullptr) DeleteObject(m_offscreenBitmap);
    if (m_backgroundBitmap != nullptr) DeleteObject(m_backgroundBitmap);
    m_offscreenDC = nullptr;
    m_backgroundDC = nullptr;
    m_offscreenBitmap = nullptr;
    m_backgroundBitmap = nullptr;
    m_offscreenPixels = nullptr;
    m_backgroundPixels = nullptr;
}

bool CPaintManagerUI::EnsureOffscreenBitmap(const RECT& client)
{
    SIZE wanted = {client.right - client.left, client.bottom - client.top};
    SIZE current = BitmapSize(m_offscreenBitmap);
    if (m_offscreenBitmap != nullptr && m_offscreenDC != nullptr && m_offscreenPixels != nullptr &&
        current.cx == wanted.cx && current.cy == wanted.cy) {
        return true;
    }
    // A bitmap smaller than the client would be painted past its end.
    DeletePaintBitmaps();
    if (wanted.cx <= 0 || wanted.cy <= 0) return false;
    m_offscreenDC = CreateCompatibleDC(m_paintDC);
    m_offscreenBitmap = CRenderKit::CreateArgbBitmap(m_paintDC, wanted.cx, wanted.cy, &m_offscreenPixels);
    if (m_offscreenDC == nullptr || m_offscreenBitmap == nullptr || m_offscreenPixels == nullptr) {
        DeletePaintBitmaps();
        return false;
    }
    return true;
}

void CPaintManagerUI::LayOutTree(const RECT& client)
{
    if (m_root->IsLayoutNeeded()) {
        DeletePaintBitmaps();
        m_root->SetPosition(client, true);
        return;
    }
    m_foundControls.Clear();
    m_root->FindInTree(CollectNeedsLayout, &m_foundControls, UIFIND_VISIBLE | UIFIND_UPDATETEST | UIFIND_ME_FIRST);
    // Positioning may search the tree again, which reuses the found list.
    CUIPtrArray pending;
    for (int i = 0; i < m_foundControls.Count(); ++i) pending.Append(m_foundControls[i]);
    // Positions are window coordinates, floating controls' too. A control
    // already placed by a container laid out before it is left alone: its
    // old rectangle may be stale.
    for (int i = 0; i < pending.Count(); ++i) {
        CControlUI* control = static_cast<CControlUI*>(pending[i]);
        if (control->IsLayoutNeeded()) control->SetPosition(control->GetPosition(), true);
    }
}

void CPaintManagerUI::PaintWindow()
{
    PAINTSTRUCT ps;
    if (m_root == nullptr) {
        HDC dc = BeginPaint(m_window, &ps);
        CRenderKit::FillRectColor(dc, ps.rcPaint, 0xFF000000);
        EndPaint(m_window, &ps);
        return;
    }
    RECT client;
    GetClientRect(m_window, &client);
    RECT paint;
    if (!GetUpdateRect(m_window, &paint, FALSE)) return;

    m_painting = true;
    bool laidOut = false;
    if (m_layoutNeeded) {
        m_layoutNeeded = false;
        if (!IsRectEmpty(&client) && !IsIconic(m_window) && m_root != nullptr) LayOutTree(client);
        laidOut = true;
        if (m_firstLayoutPending) {
            m_firstLayoutPending = false;
            SendNotification(m_root, L"windowinit");
            if (m_layered && m_layeredRedrawPending) {
                InvalidateWholeWindow();
                m_painting = false;
                return;
            }
            if (m_shadow != nullptr) m_shadow->Update(m_window);
        }
    } else if (m_layered && m_layeredRedrawPending && m_root != nullptr) {
        if (m_offscreenPixels != nullptr) ClearPixels(m_offscreenPixels, BitmapSize(m_offscreenBitmap), client);
        m_root->SetPosition(client, true);
    }

    // Served after the layout: before it, the move would only be postponed to
    // a repaint that BeginPaint below cancels again.
    if (m_focusPending) LandPendingFocus();

    if (m_layered) {
        LONG exStyle = GetWindowLongW(m_window, GWL_EXSTYLE);
        if ((exStyle & WS_EX_LAYERED) == 0) SetWindowLongW(m_window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        m_offscreenPaint = true;
        UnionRect(&paint, &paint, &m_layeredUpdateRect);
        paint.right = std::min(paint.right, client.right);
        paint.bottom = std::min(paint.bottom, client.bottom);
        SetRectEmpty(&m_layeredUpdateRect);
    }

    // The root may be gone (a "windowinit" handler), or there may be no
    // memory for the bitmap: the area is validated without drawing.
    if (m_root == nullptr || (m_offscreenPaint && !EnsureOffscreenBitmap(client))) {
        BeginPaint(m_window, &ps);
        EndPaint(m_window, &ps);
        m_painting = false;
        return;
    }

    BeginPaint(m_window, &ps);
    if (!m_offscreenPaint) {
        int saved = SaveDC(m_paintDC);
        m_root->PaintArea(m_paintDC, paint, nullptr);
        for (int i = 0; i < m_postPaintControls.Count(); ++i)
            static_cast<CControlUI*>(m_postPaintControls[i])->PaintAfterTree(m_paintDC, paint);
        RestoreDC(m_paintDC, saved);
    } else {
        HGDIOBJ previous = SelectObject(m_offscreenDC, m_offscreenBitmap);
        int saved = SaveDC(m_offscreenDC);
        SIZE size = BitmapSize(m_offscreenBitmap);
        if (m_layered) ClearPixels(m_offscreenPixels, size, paint);
        m_root->PaintArea(m_offscreenDC, paint, nullptr);
        for (int i = 0; i < m_postPaintControls.Count(); ++i)
            static_cast<CControlUI*>(m_postPaintControls[i])->PaintAfterTree(m_offscreenDC, paint);
        RestoreDC(m_offscreenDC, saved);
        if (!m_layered) {
            BitBlt(m_paintDC, paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top,
                   m_offscreenDC, paint.left, paint.top, SRCCOPY);
        } else {
            ComposeLayered(paint, client);
            auto update = reinterpret_cast<UpdateLayeredWindowFn>(s_updateLayeredWindow);
            if (update != nullptr) {
                RECT window;
                GetWindowRect(m_window, &window);
                POINT destination = {window.left, window.top};
                SIZE clientSize = {client.right - client.left, client.bottom - client.top};
                POINT origin = {0, 0};
                BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_layeredOpacity, AC_SRC_ALPHA};
                update(m_window, m_paintDC, &destination, &clientSize, m_offscreenDC, &origin, 0, &blend, ULW_ALPHA);
            }
        }
        SelectObject(m_offscreenDC, previous);
    }

    if (m_showUpdateRect && !m_layered) {
        HGDIOBJ oldPen = SelectObject(m_paintDC, s_debugPen);
        HGDIOBJ oldBrush = SelectObject(m_paintDC, GetStockObject(NULL_BRUSH));
        Rectangle(m_paintDC, paint.left, paint.top, paint.right, paint.bottom);
        SelectObject(m_paintDC, oldBrush);
        SelectObject(m_paintDC, oldPen);
    }
    EndPaint(m_window, &ps);
    m_painting = false;
    m_layeredRedrawPending = false;
    if (m_layoutNeeded) InvalidateWholeWindow();
    if (laidOut && m_root != nullptr) SendNotification(m_root, L"windowsize", 0, 0, true);
}

void CPaintManagerUI::ComposeLayered(const RECT& paint, const RECT& client)
{
    SIZE size = BitmapSize(m_offscreenBitmap);
    RECT area = ClipToBitmap(paint, size);
    if (!m_layeredBackground.imageName.IsEmpty()) {
        bool fresh = false;
        if (m_backgroundBitmap == nullptr || BitmapSize(m_backgroundBitmap).cx != size.cx ||
            BitmapSize(m_backgroundBitmap).cy != size.cy) {
            if (m_backgroundDC != nullptr) DeleteDC(m_backgroundDC);
            if (m_backgroundBitmap != nullptr) DeleteObject(m_backgroundBitmap);
            m_backgroundDC = CreateCompatibleDC(m_paintDC);
            m_backgroundBitmap = CRenderKit::CreateArgbBitmap(m_paintDC, size.cx, size.cy, &m_backgroundPixels);
            if (m_backgroundDC == nullptr || m_backgroundBitmap == nullptr || m_backgroundPixels == nullptr) {
                if (m_backgroundDC != nullptr) DeleteDC(m_backgroundDC);
                if (m_backgroundBitmap != nullptr) DeleteObject(m_backgroundBitmap);
                m_backgroundDC = nullptr;
                m_backgroundBitmap = nullptr;
                m_backgroundPixels = nullptr;
                return;
            }
            SelectObject(m_backgroundDC, m_backgroundBitmap);
            fresh = true;
        }
        if (fresh || m_layeredRedrawPending) {
            RECT whole = {0, 0, size.cx, size.cy};
            ClearPixels(m_backgroundPixels, size, whole);
            CRenderKit::DrawParsedSpec(m_backgroundDC, this, client, client, &m_layeredBackground, nullptr);
            GdiFlush();
        }
        // The background's alpha is the window's shape.
        for (LONG y = area.top; y < area.bottom; ++y) {
            DWORD* row = RowOf(m_offscreenPixels, size, y);
            const DWORD* mask = RowOf(m_backgroundPixels, size, y);
            for (LONG x = area.left; x < area.right; ++x) {
                DWORD alpha = mask[x] >> 24;
                DWORD pixel = row[x];
                DWORD b = (pixel & 0xFF) * alpha / 255;
                DWORD g = ((pixel >> 8) & 0xFF) * alpha / 255;
                DWORD r = ((pixel >> 16) & 0xFF) * alpha / 255;
                row[x] = (alpha << 24) | (r << 16) | (g << 8) | b;
            }
        }
        return;
    }
    // GDI text leaves alpha at 0 on the pixels it touched; black stays clear.
    for (LONG y = area.top; y < area.bottom; ++y) {
        DWORD* row = RowOf(m_offscreenPixels, size, y);
        for (LONG x = area.left; x < area.right; ++x) {
            if ((row[x] & 0xFF000000u) == 0 && (row[x] & 0x00FFFFFFu) != 0) row[x] |= 0xFF000000u;
        }
    }
}

void CPaintManagerUI::PrintClient(HDC dc, LPARAM flags)
{
    if (m_root == nullptr || dc == nullptr) return;
    RECT client;
    GetClientRect(m_window, &client);
    int saved = SaveDC(dc);
    m_root->PaintArea(dc, client, nullptr);
    RestoreDC(dc, saved);
    if ((flags & PRF_CHILDREN) == 0) return;
    for (HWND child = GetWindow(m_window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(HWND_DESKTOP, m_window, reinterpret_cast<POINT*>(&rc), 2);
        POINT previous;
        SetWindowOrgEx(dc, -rc.left, -rc.top, &previous);
        SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
        // The caller's DC gets its origin back.
        SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
    }
}

void CPaintManagerUI::InvalidateArea(RECT& rc)
{
    if (rc.left < 0) rc.left = 0;
    if (rc.top < 0) rc.top = 0;
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    if (IsRectEmpty(&m_layeredUpdateRect)) m_layeredUpdateRect = rc;
    else UnionRect(&m_layeredUpdateRect, &m_layeredUpdateRect, &rc);
    if (m_window != nullptr) InvalidateRect(m_window, &rc, FALSE);
}

void CPaintManagerUI::InvalidateWholeWindow()
{
    if (m_window == nullptr) return;
    RECT client;
    GetClientRect(m_window, &client);
    UnionRect(&m_layeredUpdateRect, &m_layeredUpdateRect, &client);
    InvalidateRect(m_window, nullptr, FALSE);
}

void CPaintManagerUI::MarkLayoutDirty() { m_layoutNeeded = true; }
void CPaintManagerUI::SetPaintingInProgress(bool on) { m_painting = on; }
bool CPaintManagerUI::IsPaintingInProgress() const { return m_painting; }

} // namespace SkinUI
