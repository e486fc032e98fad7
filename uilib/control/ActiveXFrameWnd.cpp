#include "uilib/control/ActiveXFrameWnd.h"

#include "uilib/control/ActiveX.h"

namespace SkinUI {

namespace {

int& LiveFrames()
{
    static int count = 0;
    return count;
}

} // namespace

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXUI* owner) : m_refs(1), m_owner(owner), m_activeObject(nullptr)
{
    ++LiveFrames();
}

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_activeObject != nullptr) m_activeObject->Release();
    --LiveFrames();
}

int CActiveXFrameWnd::LiveCount()
{
    return LiveFrames();
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IOleWindow) &&
        !IsEqualIID(iid, IID_IOleInPlaceUIWindow) && !IsEqualIID(iid, IID_IOleInPlaceFrame))
        return E_NOINTERFACE;
    *out = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef()
{
    return ++m_refs;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* out)
{
    if (out == nullptr) return E_POINTER;
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    if (manager == nullptr) return E_UNEXPECTED;
    *out = manager->WindowHandle();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    if (object != nullptr) object->AddRef();
    if (m_activeObject != nullptr) m_activeObject->Release();
    m_activeObject = object;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

} // namespace SkinUI
