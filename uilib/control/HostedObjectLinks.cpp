#include "uilib/control/HostedObjectLinks.h"

#include <ocidl.h>

#include "uilib/control/ActiveX.h"

namespace SkinUI {

HRESULT ConnectEventSink(IUnknown* source, REFIID events, IUnknown* sink, DWORD& cookie, bool connect)
{
    if (source == nullptr) return S_FALSE;
    if (!connect && cookie == 0) return S_FALSE;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr) || container == nullptr) return FAILED(hr) ? hr : E_NOINTERFACE;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(events, &point);
    container->Release();
    if (FAILED(hr) || point == nullptr) return FAILED(hr) ? hr : E_NOINTERFACE;
    if (connect) {
        hr = point->Advise(sink, &cookie);
        if (FAILED(hr)) cookie = 0;
    } else {
        hr = point->Unadvise(cookie);
        cookie = 0;
    }
    point->Release();
    return hr;
}

HRESULT TranslateForHostedObject(const CActiveXUI& host, IUnknown* object, MSG* msg)
{
    if (msg == nullptr || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return S_FALSE;
    if (object == nullptr) return E_NOTIMPL;
    HWND window = host.GetHostWindow();
    HWND focus = GetFocus();
    if (window == nullptr || focus == nullptr || (focus != window && !IsChild(window, focus))) return S_FALSE;
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(object->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active))) ||
        active == nullptr)
        return S_FALSE;
    const HRESULT hr = active->TranslateAccelerator(msg);
    active->Release();
    return hr;
}

} // namespace SkinUI
