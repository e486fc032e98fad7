#pragma once

#include <windows.h>
#include <ole2.h>
#include <shobjidl.h>

namespace SkinUI {

// The system's drag-image service for a drag started from a control; without
// the service the drag simply runs without an image.
class CDragSourceHelper {
public:
    CDragSourceHelper();
    ~CDragSourceHelper();
    CDragSourceHelper(const CDragSourceHelper&) = delete;
    CDragSourceHelper& operator=(const CDragSourceHelper&) = delete;

    // The bitmap is handed to the service, which owns it on success.
    HRESULT InitializeFromBitmap(HBITMAP bitmap, POINT hotSpot, const RECT& rc, IDataObject* data, COLORREF key);

private:
    IDragSourceHelper* m_helper;
};

} // namespace SkinUI
