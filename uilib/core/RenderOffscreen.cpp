#include "uilib/core/RenderKit.h"

#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

HBITMAP RenderToBitmap(CControlUI* painted, const RECT& rc, CControlUI* stopControl, DWORD washArgb)
{
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0 || rc.right <= 0 || rc.bottom <= 0) return nullptr;

    // The canvas is a 32-bit DIB section: it keeps the alpha the painters
    // write and needs no display.
    HDC canvasDC = CreateCompatibleDC(nullptr);
    if (canvasDC == nullptr) return nullptr;
    HBITMAP canvas = CRenderKit::CreateArgbBitmap(canvasDC, rc.right, rc.bottom, nullptr);
    HDC resultDC = CreateCompatibleDC(nullptr);
    HBITMAP result = CRenderKit::CreateArgbBitmap(canvasDC, width, height, nullptr);
    if (canvas != nullptr && resultDC != nullptr && result != nullptr) {
        HGDIOBJ oldCanvas = SelectObject(canvasDC, canvas);
        if (painted != nullptr) painted->PaintArea(canvasDC, rc, stopControl);
        HGDIOBJ oldResult = SelectObject(resultDC, result);
        BitBlt(resultDC, 0, 0, width, height, canvasDC, rc.left, rc.top, SRCCOPY);
        if ((washArgb >> 24) != 0) CRenderKit::FillRectColor(resultDC, {0, 0, width, height}, washArgb);
        GdiFlush();
        SelectObject(resultDC, oldResult);
        SelectObject(canvasDC, oldCanvas);
    } else if (result != nullptr) {
        DeleteObject(result);
        result = nullptr;
    }
    if (canvas != nullptr) DeleteObject(canvas);
    if (resultDC != nullptr) DeleteDC(resultDC);
    DeleteDC(canvasDC);
    return result;
}

} // namespace

HBITMAP CRenderKit::RenderRootToBitmap(CPaintManagerUI* manager, const RECT& rc, CControlUI* stopControl,
                                       DWORD washArgb)
{
    if (manager == nullptr) return nullptr;
    return RenderToBitmap(manager->Root(), rc, stopControl, washArgb);
}

HBITMAP CRenderKit::RenderControlToBitmap(CPaintManagerUI* manager, CControlUI* control, const RECT& rc,
                                          DWORD washArgb)
{
    if (manager == nullptr || control == nullptr) return nullptr;
    return RenderToBitmap(control, rc, nullptr, washArgb);
}

} // namespace SkinUI
