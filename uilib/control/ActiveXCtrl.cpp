#include "uilib/control/ActiveXCtrl.h"

#include "uilib/control/ActiveX.h"
#include "uilib/control/ActiveXEnum.h"
#include "uilib/control/ActiveXFrameWnd.h"
#include "uilib/control/ActiveXWnd.h"

namespace SkinUI {

namespace {

int& LiveSites()
{
    static int count = 0;
    return count;
}

template <typename T>
void ReleaseInto(T*& pointer)
{
    if (pointer == nullptr) return;
    T* held = pointer;
    pointer = nullptr;
    held->Release();
}

RECT OriginRect(const RECT& rc)
{
    return {0, 0, rc.right - rc.left, rc.bottom - rc.top};
}

} // namespace

CActiveXCtrl::CActiveXCtrl(CActiveXUI* owner)
    : m_refs(1), m_owner(owner), m_window(nullptr), m_siteUnknown(nullptr), m_viewObject(nullptr),
      m_inPlaceObject(nullptr), m_accelerators(nullptr), m_lockedRunning(false), m_locked(false), m_focused(false),
      m_captured(false), m_uiActivated(false), m_inPlaceActive(false), m_windowless(true)
{
    ++LiveSites();
}

CActiveXCtrl::~CActiveXCtrl()
{
    DestroySiteWindow();
    ReleaseInto(m_siteUnknown);
    ReleaseInto(m_viewObject);
    ReleaseInto(m_inPlaceObject);
    if (m_accelerators != nullptr) DestroyAcceleratorTable(m_accelerators);
    --LiveSites();
}

int CActiveXCtrl::LiveCount()
{
    return LiveSites();
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IOleClientSite)) *out = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleInPlaceSite) ||
             IsEqualIID(iid, IID_IOleInPlaceSiteEx) || IsEqualIID(iid, IID_IOleInPlaceSiteWindowless) ||
             IsEqualIID(iid, IID_IOleWindow))
        *out = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (IsEqualIID(iid, IID_IOleControlSite)) *out = static_cast<IOleControlSite*>(this);
    else if (IsEqualIID(iid, IID_IObjectWithSite)) *out = static_cast<IObjectWithSite*>(this);
    else if (IsEqualIID(iid, IID_IOleContainer) || IsEqualIID(iid, IID_IParseDisplayName))
        *out = static_cast<IOleContainer*>(this);
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef()
{
    return ++m_refs;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

// ---------------------------------------------------------------- client site

STDMETHODIMP CActiveXCtrl::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD, DWORD, IMoniker** out)
{
    if (out != nullptr) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (m_siteUnknown != nullptr &&
        SUCCEEDED(m_siteUnknown->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(out))))
        return S_OK;
    return QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(out));
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    HWND window = m_owner->GetHostWindow();
    if (window == nullptr) return S_OK;
    HDC dc = ::GetDC(window);
    if (dc == nullptr) return E_FAIL;
    DrawObject(dc, m_owner->GetPosition());
    ::ReleaseDC(window, dc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout() { return E_NOTIMPL; }

// ------------------------------------------------------------------ window

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* out)
{
    if (out == nullptr) return E_POINTER;
    if (m_owner == nullptr) return E_UNEXPECTED;
    if (m_owner->GetHostWindow() == nullptr) CreateSiteWindow();
    *out = m_owner->GetHostWindow();
    return *out != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL) { return S_OK; }

// --------------------------------------------------------- in-place site

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate() { return S_OK; }

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate()
{
    BOOL noRedraw = FALSE;
    return OnInPlaceActivateEx(&noRedraw, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_uiActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                            LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr) return E_POINTER;
    *frame = nullptr;
    *document = nullptr;
    if (m_owner == nullptr) return E_UNEXPECTED;
    CPaintManagerUI* manager = m_owner->GetPaintManager();
    *frame = new CActiveXFrameWnd(m_owner);
    RECT rc = m_owner->GetPosition();
    if (m_window != nullptr) ::GetClientRect(m_window->GetNativeHandle(), &rc);
    *position = rc;
    *clip = rc;
    if (info != nullptr) {
        // One table for the site's life, not one per call.
        if (m_accelerators == nullptr) {
            ACCEL empty = {};
            m_accelerators = CreateAcceleratorTableW(&empty, 1);
        }
        info->cb = sizeof(OLEINPLACEFRAMEINFO);
        info->fMDIApp = FALSE;
        info->hwndFrame = manager != nullptr ? manager->WindowHandle() : nullptr;
        info->haccel = m_accelerators;
        info->cAccelEntries = 1;
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL)
{
    m_uiActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL*, DWORD flags)
{
    if (m_owner == nullptr || m_owner->GetHostedObject() == nullptr) return E_UNEXPECTED;
    IOleObject* object = m_owner->GetHostedObject();
    if (!m_lockedRunning) {
        OleLockRunning(object, TRUE, FALSE);
        m_lockedRunning = true;
    }
    CPaintManagerUI* manager = m_owner->GetPaintManager();
    ReleaseInto(m_inPlaceObject);
    HRESULT hr = E_FAIL;
    if ((flags & ACTIVATE_WINDOWLESS) != 0) {
        IOleInPlaceObjectWindowless* windowless = nullptr;
        hr = object->QueryInterface(IID_IOleInPlaceObjectWindowless, reinterpret_cast<void**>(&windowless));
        if (SUCCEEDED(hr) && windowless != nullptr) {
            m_windowless = true;
            m_inPlaceObject = windowless;
            if (manager != nullptr) {
                m_owner->SetHostWindow(manager->WindowHandle());
                manager->UnregisterMessageFilter(m_owner);
                manager->RegisterMessageFilter(m_owner);
            }
        }
    }
    if (m_inPlaceObject == nullptr) {
        m_windowless = false;
        CreateSiteWindow();
        hr = object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlaceObject));
    }
    if (m_inPlaceObject != nullptr && !m_owner->IsMFC()) {
        RECT rc = m_owner->GetPosition();
        if (!m_windowless) rc = OriginRect(rc);
        hr = m_inPlaceObject->SetObjectRects(&rc, &rc);
    }
    m_inPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL)
{
    m_inPlaceActive = false;
    ReleaseInto(m_inPlaceObject);
    DestroySiteWindow();
    UnlockRunning();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate() { return S_OK; }

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate() { return S_OK; }

STDMETHODIMP CActiveXCtrl::GetCapture()
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    return m_captured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL capture)
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    m_captured = capture != FALSE;
    // The window's manager holds the mouse for the object, as for any press.
    CPaintManagerUI* manager = m_owner->GetPaintManager();
    if (manager != nullptr) manager->HoldMouseFor(m_owner, m_captured);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus()
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    return m_focused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL focus)
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    if (focus) m_owner->TakeFocus();
    m_focused = focus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT, DWORD flags, HDC* out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (m_owner == nullptr) return E_UNEXPECTED;
    if (m_windowless) return S_FALSE;
    HWND window = m_owner->GetHostWindow();
    *out = ::GetDC(window);
    if (*out == nullptr) return E_FAIL;
    if ((flags & OLEDC_PAINTBKGND) != 0) {
        const RECT rc = OriginRect(m_owner->GetPosition());
        ::FillRect(*out, &rc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC dc)
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    ::ReleaseDC(m_owner->GetHostWindow(), dc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT rc, BOOL erase)
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    HWND window = m_owner->GetHostWindow();
    if (window == nullptr) return E_FAIL;
    return ::InvalidateRect(window, rc, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN region, BOOL erase)
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    HWND window = m_owner->GetHostWindow();
    if (window == nullptr) return E_FAIL;
    return ::InvalidateRgn(window, region, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT, INT, LPCRECT, LPCRECT) { return S_OK; }
STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT) { return S_OK; }

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (m_owner == nullptr) return E_UNEXPECTED;
    const LRESULT answer = ::DefWindowProcW(m_owner->GetHostWindow(), message, wParam, lParam);
    if (result != nullptr) *result = answer;
    return S_OK;
}

// ------------------------------------------------------------ control site

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (m_owner == nullptr || m_owner->GetHostedObject() == nullptr) return E_UNEXPECTED;
    return m_owner->GetHostedObject()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL*, POINTF*, DWORD) { return S_OK; }
STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL focus)
{
    m_focused = focus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame() { return E_NOTIMPL; }

// --------------------------------------------------------- object with site

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* site)
{
    if (site != nullptr) site->AddRef();
    ReleaseInto(m_siteUnknown);
    m_siteUnknown = site;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (m_siteUnknown == nullptr) return E_FAIL;
    return m_siteUnknown->QueryInterface(iid, out);
}

// ---------------------------------------------------------------- container

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD, IEnumUnknown** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (m_owner == nullptr) return E_UNEXPECTED;
    *out = new CActiveXEnum(m_owner->GetHostedObject());
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL lock)
{
    m_locked = lock != FALSE;
    return S_OK;
}

// ------------------------------------------------------------------ helpers

void CActiveXCtrl::DetachOwner()
{
    DestroySiteWindow();
    m_owner = nullptr;
    m_inPlaceActive = false;
    ReleaseInto(m_inPlaceObject);
    ReleaseInto(m_viewObject);
    ReleaseInto(m_siteUnknown);
}

void CActiveXCtrl::SetViewObject(IViewObject* view)
{
    if (view != nullptr) view->AddRef();
    ReleaseInto(m_viewObject);
    m_viewObject = view;
}

IOleInPlaceObjectWindowless* CActiveXCtrl::GetWindowlessObject() const
{
    return m_windowless ? static_cast<IOleInPlaceObjectWindowless*>(m_inPlaceObject) : nullptr;
}

void CActiveXCtrl::UnlockRunning()
{
    if (!m_lockedRunning) return;
    m_lockedRunning = false;
    if (m_owner != nullptr && m_owner->GetHostedObject() != nullptr)
        OleLockRunning(m_owner->GetHostedObject(), FALSE, FALSE);
}

void CActiveXCtrl::DrawObject(HDC dc, const RECT& rc)
{
    if (m_viewObject == nullptr) return;
    RECTL bounds = {rc.left, rc.top, rc.right, rc.bottom};
    m_viewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
}

HRESULT CActiveXCtrl::DoVerb(LONG verb)
{
    if (m_owner == nullptr || m_owner->GetHostedObject() == nullptr) return E_UNEXPECTED;
    IOleClientSite* client = static_cast<IOleClientSite*>(this);
    RECT rc = m_owner->GetPosition();
    return m_owner->GetHostedObject()->DoVerb(verb, nullptr, client, 0, m_owner->GetHostWindow(), &rc);
}

void CActiveXCtrl::CreateSiteWindow()
{
    if (m_window != nullptr || m_owner == nullptr) return;
    CPaintManagerUI* manager = m_owner->GetPaintManager();
    if (manager == nullptr) return;
    m_window = new CActiveXWnd(this);
    m_owner->SetHostWindow(m_window->Init(manager->WindowHandle()));
}

void CActiveXCtrl::DestroySiteWindow()
{
    if (m_window == nullptr) return;
    CActiveXWnd* window = m_window;
    m_window = nullptr;
    if (window->GetNativeHandle() != nullptr) DestroyWindow(window->GetNativeHandle());
    delete window;
    if (m_owner != nullptr && !m_windowless) m_owner->SetHostWindow(nullptr);
}

} // namespace SkinUI
