#include "uilib/core/UIDragSourceHelper.h"

#include <shlguid.h>

namespace SkinUI {

CDragSourceHelper::CDragSourceHelper() : m_helper(nullptr)
{
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                                reinterpret_cast<void**>(&m_helper)))) {
        m_helper = nullptr;
    }
}

CDragSourceHelper::~CDragSourceHelper()
{
    if (m_helper != nullptr) m_helper->Release();
}

HRESULT CDragSourceHelper::InitializeFromBitmap(HBITMAP bitmap, POINT hotSpot, const RECT& rc, IDataObject* data,
                                                COLORREF key)
{
    if (m_helper == nullptr) return E_FAIL;
    BITMAP info = {};
    if (GetObjectW(bitmap, sizeof(info), &info) == 0) return E_FAIL;
    SHDRAGIMAGE image = {};
    image.sizeDragImage.cx = info.bmWidth;
    image.sizeDragImage.cy = info.bmHeight;
    image.ptOffset.x = hotSpot.x - rc.left;
    image.ptOffset.y = hotSpot.y - rc.top;
    image.hbmpDragImage = bitmap;
    image.crColorKey = key;
    return m_helper->InitializeFromBitmap(&image, data);
}

} // namespace SkinUI
