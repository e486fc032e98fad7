// Data dropped on a skin window by another program. Everything read from the
// dropped block is checked against the block's size first.
#include "uilib/core/UIManager.h"

#include <shellapi.h>
#include <shlobj.h>

namespace SkinUI {

namespace {

// Largest picture a drop may create, per side.
const LONG kMaxDropSide = 16384;

// Byte counts of a packed DIB, or false when its header does not fit the block.
bool MeasurePackedDib(const BYTE* block, SIZE_T size, uint64_t* bitsOffset, uint64_t* bitsBytes)
{
    if (size < sizeof(DWORD)) return false;
    DWORD headerSize = *reinterpret_cast<const DWORD*>(block);
    uint64_t tableBytes = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitCount = 0;
    uint64_t declaredImage = 0;
    bool compressed = false;
    auto paletteEntries = [](uint32_t bits) -> uint64_t {
        return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    };
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        if (size < sizeof(BITMAPCOREHEADER)) return false;
        const BITMAPCOREHEADER* core = reinterpret_cast<const BITMAPCOREHEADER*>(block);
        width = core->bcWidth;
        height = core->bcHeight;
        bitCount = core->bcBitCount;
        tableBytes = 3 * paletteEntries(bitCount);
    } else {
        if (headerSize < sizeof(BITMAPINFOHEADER) || size < headerSize) return false;
        const BITMAPINFOHEADER* info = reinterpret_cast<const BITMAPINFOHEADER*>(block);
        width = info->biWidth;
        height = info->biHeight;
        bitCount = info->biBitCount;
        uint64_t entries = info->biClrUsed != 0 ? info->biClrUsed : paletteEntries(bitCount);
        if (info->biCompression == BI_BITFIELDS) entries += 3;
        tableBytes = 4 * entries;
        compressed = info->biCompression != BI_RGB && info->biCompression != BI_BITFIELDS;
        declaredImage = info->biSizeImage;
    }
    if (width <= 0 || width > kMaxDropSide || height == 0 || height > kMaxDropSide || height < -kMaxDropSide)
        return false;
    if (bitCount == 0 || bitCount > 32) return false;
    uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
    uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
    *bitsOffset = headerSize + tableBytes;
    *bitsBytes = compressed ? declaredImage : stride * rows;
    return *bitsBytes > 0 && *bitsOffset + *bitsBytes <= size;
}

HBITMAP BitmapFromPackedDib(HGLOBAL global)
{
    if (global == nullptr) return nullptr;
    SIZE_T size = GlobalSize(global);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(global));
    if (block == nullptr) return nullptr;
    HBITMAP bitmap = nullptr;
    uint64_t bitsOffset = 0;
    uint64_t bitsBytes = 0;
    if (MeasurePackedDib(block, size, &bitsOffset, &bitsBytes)) {
        HDC screen = GetDC(nullptr);
        bitmap = CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(block), CBM_INIT,
                                block + bitsOffset, reinterpret_cast<const BITMAPINFO*>(block), DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
    }
    GlobalUnlock(global);
    return bitmap;
}

// True when the file list of a dropped HDROP block ends inside the block.
bool IsFileListTerminated(HGLOBAL global)
{
    SIZE_T size = GlobalSize(global);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(global));
    if (block == nullptr) return false;
    bool terminated = false;
    if (size >= sizeof(DROPFILES)) {
        const DROPFILES* drop = reinterpret_cast<const DROPFILES*>(block);
        SIZE_T unit = drop->fWide ? sizeof(wchar_t) : 1;
        SIZE_T pos = drop->pFiles;
        bool previousEmpty = false;
        bool first = true;
        // The list is a run of terminated names ended by an empty one.
        while (!terminated && pos + unit <= size) {
            bool zero = unit == 1 ? block[pos] == 0 : (block[pos] | block[pos + 1]) == 0;
            if (zero && (previousEmpty || first)) terminated = true;
            previousEmpty = zero;
            first = false;
            pos += unit;
        }
    }
    GlobalUnlock(global);
    return terminated;
}

HBITMAP BitmapFromFileDrop(HGLOBAL global)
{
    if (global == nullptr || !IsFileListTerminated(global)) return nullptr;
    HDROP drop = static_cast<HDROP>(global);
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0) return nullptr;
    wchar_t path[520] = {};
    if (DragQueryFileW(drop, 0, path, 520) == 0) return nullptr;
    return static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

HBITMAP BitmapFromMetafile(HWND window, HENHMETAFILE metafile)
{
    if (metafile == nullptr) return nullptr;
    ENHMETAHEADER header = {};
    if (GetEnhMetaFileHeader(metafile, sizeof(header), &header) == 0) return nullptr;
    LONG width = header.rclBounds.right - header.rclBounds.left;
    LONG height = header.rclBounds.bottom - header.rclBounds.top;
    if (width <= 0 || height <= 0 || width > kMaxDropSide || height > kMaxDropSide) return nullptr;
    HDC dc = GetDC(window);
    int horzSize = GetDeviceCaps(dc, HORZSIZE);
    int vertSize = GetDeviceCaps(dc, VERTSIZE);
    HBITMAP bitmap = nullptr;
    if (horzSize > 0 && vertSize > 0) {
        RECT frame;
        int horzRes = GetDeviceCaps(dc, HORZRES);
        int vertRes = GetDeviceCaps(dc, VERTRES);
        frame.left = MulDiv(header.rclFrame.left, horzRes, horzSize * 100);
        frame.top = MulDiv(header.rclFrame.top, vertRes, vertSize * 100);
        frame.right = MulDiv(header.rclFrame.right, horzRes, horzSize * 100);
        frame.bottom = MulDiv(header.rclFrame.bottom, vertRes, vertSize * 100);
        HDC memory = CreateCompatibleDC(dc);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        if (memory != nullptr && bitmap != nullptr) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            PlayEnhMetaFile(memory, metafile, &frame);
            SelectObject(memory, old);
        }
        if (memory != nullptr) DeleteDC(memory);
    }
    ReleaseDC(window, dc);
    return bitmap;
}

bool IsStaticControl(HWND window)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return lstrcmpiW(className, L"Static") == 0;
}

} // namespace

bool CPaintManagerUI::HandleDroppedData(const FORMATETC& format, STGMEDIUM& medium, DWORD* /*effect*/)
{
    if (m_window == nullptr) return true;
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    SendMessageW(m_window, WM_LBUTTONUP, 0, MAKELPARAM(cursor.x, cursor.y));

    HBITMAP bitmap = nullptr;
    bool ownsBitmap = true;
    if (format.cfFormat == CF_DIB && medium.tymed == TYMED_HGLOBAL) {
        bitmap = BitmapFromPackedDib(medium.hGlobal);
    } else if (format.cfFormat == CF_BITMAP && medium.tymed == TYMED_GDI && medium.hBitmap != nullptr) {
        bitmap = medium.hBitmap;
        ownsBitmap = false;
    } else if (format.cfFormat == CF_HDROP && medium.tymed == TYMED_HGLOBAL) {
        bitmap = BitmapFromFileDrop(medium.hGlobal);
    } else if (format.cfFormat == CF_ENHMETAFILE && medium.tymed == TYMED_ENHMF) {
        bitmap = BitmapFromMetafile(m_window, medium.hEnhMetaFile);
    }
    if (bitmap == nullptr) return true;

    HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
        SendMessageW(m_window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous != nullptr && previous != bitmap) DeleteObject(previous);
    // Only a static control keeps the picture; other windows leave it to us.
    bool kept = IsStaticControl(m_window);
    if (!ownsBitmap) return !kept;
    if (!kept) DeleteObject(bitmap);
    return true;
}

} // namespace SkinUI
