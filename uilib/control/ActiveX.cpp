#include "uilib/control/ActiveX.h"

#include <cwchar>

#include "uilib/control/ActiveXCtrl.h"
#include "uilib/core/SystemEntry.h"

namespace SkinUI {

namespace {

typedef HRESULT(STDAPICALLTYPE* GetClassObjectFunction)(REFCLSID id, REFIID iid, void** out);

bool IsMouseOrCursorMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_SETCURSOR;
}

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(GUID_NULL), m_created(false), m_delayCreate(true), m_mfc(false), m_object(nullptr), m_site(nullptr),
      m_hostWindow(nullptr)
{
}

CActiveXUI::~CActiveXUI()
{
    CActiveXUI::ReleaseControl();
}

const wchar_t* CActiveXUI::GetTypeName() const
{
    return L"ActiveXUI";
}

void* CActiveXUI::FindInterface(const wchar_t* name)
{
    if (wcscmp(name, L"ActiveX") == 0) return this;
    return CControlUI::FindInterface(name);
}

void CActiveXUI::AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow)
{
    CPaintManagerUI* old = m_manager;
    const bool filtering = m_site != nullptr && m_site->GetWindowlessObject() != nullptr;
    if (old != nullptr && old != manager && filtering) old->UnregisterMessageFilter(this);
    CControlUI::AttachManager(manager, parent, initNow);
    if (manager != nullptr && manager != old && filtering) manager->RegisterMessageFilter(this);
}

void CActiveXUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (wcscmp(name, L"clsid") == 0) SetClass(value);
    else if (wcscmp(name, L"modulename") == 0) SetModuleName(value);
    else if (wcscmp(name, L"delaycreate") == 0) SetDelayCreate(wcscmp(value, L"true") == 0);
    else CControlUI::ApplyAttribute(name, value);
}

bool CActiveXUI::SetClass(const wchar_t* text)
{
    if (text == nullptr) return false;
    wchar_t buffer[100] = {};
    wcsncpy(buffer, text, 99);
    CLSID id = GUID_NULL;
    const HRESULT hr = buffer[0] == L'{' ? CLSIDFromString(buffer, &id) : CLSIDFromProgID(buffer, &id);
    if (FAILED(hr)) id = GUID_NULL;
    return SetClassId(id);
}

bool CActiveXUI::SetClassId(const CLSID& id)
{
    if (IsEqualCLSID(id, GUID_NULL)) return false;
    m_created = false;
    m_clsid = id;
    if (!m_delayCreate) CreateControl();
    return true;
}

void CActiveXUI::SetDelayCreate(bool on)
{
    if (m_delayCreate == on) return;
    m_delayCreate = on;
    if (!on && !m_created && !IsEqualCLSID(m_clsid, GUID_NULL)) CreateControl();
}

HRESULT CActiveXUI::QueryControl(REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (m_object == nullptr) return E_UNEXPECTED;
    return m_object->QueryInterface(iid, out);
}

bool CActiveXUI::CreateObject(IOleControl** control)
{
    *control = nullptr;
    if (!m_moduleName.IsEmpty()) {
        // The module stays loaded: its objects may outlive this control.
        HMODULE module = LoadLibraryW(m_moduleName);
        auto getClassObject =
            module != nullptr ? reinterpret_cast<GetClassObjectFunction>(
                                    reinterpret_cast<void (*)()>(GetProcAddress(module, "DllGetClassObject")))
                              : nullptr;
        IClassFactory* factory = nullptr;
        if (getClassObject != nullptr &&
            SUCCEEDED(getClassObject(m_clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))) &&
            factory != nullptr) {
            IOleObject* object = nullptr;
            factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object));
            factory->Release();
            if (object != nullptr) {
                const HRESULT hr = object->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(control));
                object->Release();
                if (SUCCEEDED(hr) && *control != nullptr) return true;
                *control = nullptr;
            }
        }
    }
    return SUCCEEDED(CoCreateInstance(m_clsid, nullptr, CLSCTX_ALL, IID_IOleControl,
                                      reinterpret_cast<void**>(control))) &&
           *control != nullptr;
}

bool CActiveXUI::CreateControl()
{
    ReleaseControl();
    m_created = true;
    IOleControl* control = nullptr;
    if (!CreateObject(&control)) return false;
    control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_object));
    control->Release();
    if (m_object == nullptr) return false;

    m_site = new CActiveXCtrl(this);
    DWORD misc = 0;
    m_object->GetMiscStatus(DVASPECT_CONTENT, &misc);
    IOleClientSite* client = nullptr;
    m_site->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&client));
    if (misc & OLEMISC_SETCLIENTSITEFIRST) m_object->SetClientSite(client);

    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(m_object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))) &&
        persist != nullptr) {
        const HRESULT hr = persist->InitNew();
        persist->Release();
        if (FAILED(hr)) {
            // Nothing half made stays behind: the control is created but empty.
            client->Release();
            ReleaseControl();
            return false;
        }
    }
    if ((misc & OLEMISC_SETCLIENTSITEFIRST) == 0) m_object->SetClientSite(client);

    IViewObject* view = nullptr;
    if (FAILED(m_object->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&view))) &&
        FAILED(m_object->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&view))))
        m_object->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view));
    if (view != nullptr) {
        m_site->SetViewObject(view);
        view->Release();
    }
    m_object->SetHostNames(L"UIActiveX", nullptr);
    if (m_manager != nullptr) m_manager->SendNotification(this, L"showactivex");

    HRESULT hr = S_OK;
    if ((misc & OLEMISC_INVISIBLEATRUNTIME) == 0 && m_manager != nullptr) {
        RECT rc = m_item;
        hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, client, 0, m_manager->WindowHandle(), &rc);
    }
    IObjectWithSite* withSite = nullptr;
    if (SUCCEEDED(m_object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite))) &&
        withSite != nullptr) {
        hr = withSite->SetSite(static_cast<IOleClientSite*>(m_site));
        withSite->Release();
    }
    client->Release();
    return SUCCEEDED(hr);
}

void CActiveXUI::ReleaseControl()
{
    if (m_manager != nullptr) m_manager->UnregisterMessageFilter(this);
    if (m_object != nullptr) {
        IObjectWithSite* withSite = nullptr;
        if (SUCCEEDED(m_object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite))) &&
            withSite != nullptr) {
            withSite->SetSite(nullptr);
            withSite->Release();
        }
        if (!m_mfc) m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
        // An object that never left in-place activity keeps its running lock.
        if (m_site != nullptr) m_site->UnlockRunning();
        IOleObject* object = m_object;
        m_object = nullptr;
        object->Release();
    }
    if (m_site != nullptr) {
        CActiveXCtrl* site = m_site;
        m_site = nullptr;
        site->DetachOwner();
        site->Release();
    }
    m_hostWindow = nullptr;
}

void CActiveXUI::SetPosition(const RECT& rc, bool invalidate)
{
    CControlUI::SetPosition(rc, invalidate);
    if (!m_created) CreateControl();
    UpdateObjectRects();
}

void CActiveXUI::UpdateObjectRects()
{
    if (m_object == nullptr) return;
    HDC screen = GetDC(nullptr);
    SIZEL extent = {MulDiv(2540, m_item.Width(), GetDeviceCaps(screen, LOGPIXELSX)),
                    MulDiv(2540, m_item.Height(), GetDeviceCaps(screen, LOGPIXELSY))};
    ReleaseDC(nullptr, screen);
    m_object->SetExtent(DVASPECT_CONTENT, &extent);
    const bool windowed = m_site != nullptr && !m_site->IsWindowless();
    if (m_site != nullptr && m_site->GetInPlaceObject() != nullptr) {
        RECT place = m_item;
        if (windowed) place = {0, 0, m_item.Width(), m_item.Height()};
        m_site->GetInPlaceObject()->SetObjectRects(&place, &place);
    }
    if (windowed && m_hostWindow != nullptr)
        MoveWindow(m_hostWindow, m_item.left, m_item.top, m_item.Width(), m_item.Height(), TRUE);
}

void CActiveXUI::OffsetBy(int dx, int dy, bool invalidate)
{
    CControlUI::OffsetBy(dx, dy, invalidate);
    if (m_site != nullptr && !m_site->IsWindowless() && m_hostWindow != nullptr)
        MoveWindow(m_hostWindow, m_item.left, m_item.top, m_item.Width(), m_item.Height(), TRUE);
}

bool CActiveXUI::PaintSelf(HDC dc, const RECT&, CControlUI*)
{
    if (m_site != nullptr && m_site->IsWindowless() && m_site->GetViewObject() != nullptr)
        m_site->DrawObject(dc, m_item);
    return true;
}

void CActiveXUI::ShowHostWindow()
{
    if (m_site == nullptr || m_site->IsWindowless() || m_hostWindow == nullptr) return;
    ShowWindow(m_hostWindow, GetVisibility() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::VisibilityChanged(bool wasVisible, bool own)
{
    CControlUI::VisibilityChanged(wasVisible, own);
    ShowHostWindow();
}

void CActiveXUI::EndPress()
{
    // The window let go of the mouse the object held: it hears the capture lost.
    if (m_site == nullptr || !m_site->IsCaptured()) return;
    m_site->SetCapture(FALSE);
    IOleInPlaceObjectWindowless* windowless = m_site->GetWindowlessObject();
    LRESULT result = 0;
    if (windowless != nullptr) windowless->OnWindowMessage(WM_CAPTURECHANGED, 0, 0, &result);
}

LRESULT CActiveXUI::PreFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (m_site == nullptr || !m_site->IsInPlaceActive()) return 0;
    IOleInPlaceObjectWindowless* windowless = m_site->GetWindowlessObject();
    if (windowless == nullptr) return 0;
    bool mark = true;
    if (IsMouseOrCursorMessage(message)) {
        if (message != WM_SETCURSOR && !AcceptsMouse()) return 0;
        if (!m_site->IsCaptured()) {
            POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            // The cursor message carries no point: the cursor's own is used.
            if (message == WM_SETCURSOR && m_manager != nullptr) {
                GetCursorPos(&pt);
                ScreenToClient(m_manager->WindowHandle(), &pt);
            }
            IViewObjectEx* view = nullptr;
            IViewObject* plain = m_site->GetViewObject();
            if (plain == nullptr ||
                FAILED(plain->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&view))) || view == nullptr)
                return 0;
            DWORD hit = HITRESULT_OUTSIDE;
            RECT rc = m_item;
            view->QueryHitPoint(DVASPECT_CONTENT, &rc, pt, 0, &hit);
            view->Release();
            if (hit != HITRESULT_HIT) return 0;
        }
        if (message == WM_SETCURSOR) mark = false;
    } else if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        if (!HasFocus()) return 0;
    } else if (message == WM_HELP || message == WM_CONTEXTMENU) {
        mark = false;
    } else {
        return 0;
    }
    LRESULT result = 0;
    if (windowless->OnWindowMessage(message, wParam, lParam, &result) == S_OK) handled = mark;
    return result;
}

} // namespace SkinUI
