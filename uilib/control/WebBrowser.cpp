#include "uilib/control/WebBrowser.h"

#include <cwchar>
#include <mshtml.h>

#include "uilib/control/HostedObjectLinks.h"
#include "uilib/control/WebBrowserEventHandler.h"
#include "uilib/core/AttrParse.h"

namespace SkinUI {

namespace {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kClsidWebBrowser = {0x8856f961, 0x340a, 0x11d0, {0xa9, 0x6b, 0x00, 0xc0, 0x4f, 0xd7, 0x05, 0xa2}};
// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
const IID kDiidBrowserEvents = {0x34a715a0, 0x6587, 0x11d0, {0x92, 0x4a, 0x00, 0x20, 0xaf, 0xc7, 0xac, 0x4d}};
// {F38BC242-B950-11D1-8918-00C04FC2C836}
const GUID kCgidDocHostCommandHandler = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
// {3050F3F0-98B5-11CF-BB82-00AA00BDCE0B}
const IID kIidCustomDoc = {0x3050f3f0, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

const DISPID kHandledEvents[] = {
    250, // BeforeNavigate2
    252, // NavigateComplete2
    102, // StatusTextChange
    105, // CommandStateChange
    113, // TitleChange
    259, // DocumentComplete
    271, // NavigateError
    273, // NewWindow3
};

const wchar_t* const kScriptErrorFields[] = {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage",
                                             L"errorUrl"};

// Locale of the script error reads.
const LCID kNeutralLocale = 2048;

} // namespace

CWebBrowserUI::CWebBrowserUI()
    : m_browser(nullptr), m_refs(0), m_cookie(0), m_autoNavigate(false), m_handler(nullptr),
      m_acceleratorRegistered(false)
{
    SetClassId(kClsidWebBrowser);
}

CWebBrowserUI::~CWebBrowserUI()
{
    CWebBrowserUI::ReleaseControl();
}

const wchar_t* CWebBrowserUI::GetTypeName() const
{
    return L"WebBrowserUI";
}

void* CWebBrowserUI::FindInterface(const wchar_t* name)
{
    if (AttrNameEquals(name, L"WebBrowser")) return this;
    return CActiveXUI::FindInterface(name);
}

void CWebBrowserUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"homepage")) SetHomePage(value);
    else if (AttrNameEquals(name, L"autonavi")) SetAutoNavigate(ParseAttrBool(value));
    else CActiveXUI::ApplyAttribute(name, value);
}

void CWebBrowserUI::SetAcceleratorRegistered(CPaintManagerUI* manager, bool on)
{
    if (manager == nullptr || m_acceleratorRegistered == on) return;
    if (on) manager->RegisterTranslateAccelerator(this);
    else manager->UnregisterTranslateAccelerator(this);
    m_acceleratorRegistered = on;
}

void CWebBrowserUI::AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow)
{
    const bool registered = m_acceleratorRegistered;
    if (m_manager != manager) SetAcceleratorRegistered(m_manager, false);
    CActiveXUI::AttachManager(manager, parent, initNow);
    if (registered) SetAcceleratorRegistered(m_manager, true);
}

bool CWebBrowserUI::CreateControl()
{
    if (!CActiveXUI::CreateControl()) return false;
    SetAcceleratorRegistered(m_manager, true);
    QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser));
    if (m_browser != nullptr && m_autoNavigate && !m_homePage.IsEmpty()) {
        VARIANT url;
        VariantInit(&url);
        url.vt = VT_BSTR;
        url.bstrVal = SysAllocString(m_homePage);
        m_browser->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
        VariantClear(&url);
    }
    ConnectEventSink(m_browser, kDiidBrowserEvents, static_cast<IDispatch*>(this), m_cookie, true);
    return true;
}

void CWebBrowserUI::ReleaseControl()
{
    ClearCreated();
    SetAcceleratorRegistered(m_manager, false);
    ConnectEventSink(m_browser, kDiidBrowserEvents, static_cast<IDispatch*>(this), m_cookie, false);
    if (m_browser != nullptr) {
        IWebBrowser2* browser = m_browser;
        m_browser = nullptr;
        browser->Release();
    }
    // The hosted browser goes too, so a later creation starts afresh.
    CActiveXUI::ReleaseControl();
}

HRESULT CWebBrowserUI::Download(IMoniker* moniker, IBindCtx* context, DWORD verb, LONG format, BINDINFO* info,
                                LPCOLESTR redirect, LPCOLESTR url, UINT codePage)
{
    if (m_handler == nullptr) return 0;
    return m_handler->Download(moniker, context, verb, format, info, redirect, url, codePage);
}

// ------------------------------------------------------------------ identity

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    // One pointer answers IUnknown from every interface.
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDocHostUIHandler))
        *out = static_cast<IDocHostUIHandler*>(this);
    else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kDiidBrowserEvents))
        *out = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IServiceProvider)) *out = static_cast<IServiceProvider*>(this);
    else if (IsEqualIID(iid, IID_IInternetSecurityManager)) *out = static_cast<IInternetSecurityManager*>(this);
    else if (IsEqualIID(iid, IID_IOleCommandTarget)) *out = static_cast<IOleCommandTarget*>(this);
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release()
{
    return static_cast<ULONG>(InterlockedDecrement(&m_refs));
}

// ------------------------------------------------------------ document host

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (info == nullptr) return E_POINTER;
    info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                   IOleInPlaceUIWindow*)
{
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::HideUI() { return S_OK; }
STDMETHODIMP CWebBrowserUI::UpdateUI() { return S_OK; }
STDMETHODIMP CWebBrowserUI::EnableModeless(WINBOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(WINBOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(WINBOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, WINBOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR*, DWORD) { return E_NOTIMPL; }

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget*, IDropTarget** out)
{
    if (out != nullptr) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** out)
{
    if (out != nullptr) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD, LPWSTR, LPWSTR* out)
{
    if (out != nullptr) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject*, IDataObject** out)
{
    if (out != nullptr) *out = nullptr;
    return E_NOTIMPL;
}

// ------------------------------------------------------------------- services

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID service, REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    // The download manager is refused: this host implements none.
    if (IsEqualGUID(service, SID_SInternetSecurityManager) && IsEqualIID(iid, IID_IInternetSecurityManager)) {
        *out = static_cast<IInternetSecurityManager*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

// ------------------------------------------------------------ command target

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out)
{
    if (group == nullptr || !IsEqualGUID(*group, kCgidDocHostCommandHandler)) return OLECMDERR_E_UNKNOWNGROUP;
    if (id != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
    const HRESULT hr = ReadScriptError(in);
    // Scripts go on running and no error dialog is shown.
    if (out != nullptr) {
        VariantClear(out);
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_TRUE;
    }
    return hr;
}

HRESULT CWebBrowserUI::ReadScriptError(VARIANT* in)
{
    if (in == nullptr || (in->vt != VT_UNKNOWN && in->vt != VT_DISPATCH) || in->punkVal == nullptr) return E_INVALIDARG;
    IHTMLDocument2* document = nullptr;
    HRESULT hr = in->punkVal->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document));
    if (FAILED(hr) || document == nullptr) return FAILED(hr) ? hr : E_NOINTERFACE;
    IHTMLWindow2* window = nullptr;
    hr = document->get_parentWindow(&window);
    document->Release();
    if (FAILED(hr) || window == nullptr) return FAILED(hr) ? hr : E_FAIL;
    IHTMLEventObj* event = nullptr;
    hr = window->get_event(&event);
    window->Release();
    if (FAILED(hr) || event == nullptr) return FAILED(hr) ? hr : E_FAIL;
    for (const wchar_t* field : kScriptErrorFields) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR name = const_cast<LPOLESTR>(field);
        hr = event->GetIDsOfNames(IID_NULL, &name, 1, kNeutralLocale, &id);
        if (FAILED(hr)) continue;
        DISPPARAMS none = {};
        VARIANT value;
        VariantInit(&value);
        hr = event->Invoke(id, IID_NULL, kNeutralLocale, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
        VariantClear(&value);
    }
    event->Release();
    return hr;
}

// ------------------------------------------------------------------- events

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr) *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CWebBrowserUI::Invoke(DISPID id, REFIID iid, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    if (!IsEqualIID(iid, IID_NULL)) return E_INVALIDARG;
    for (DISPID handled : kHandledEvents) {
        if (id != handled) continue;
        if (id == 252) InstallUIHandler();
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

void CWebBrowserUI::InstallUIHandler()
{
    if (m_browser == nullptr) return;
    IDispatch* document = nullptr;
    if (FAILED(m_browser->get_Document(&document)) || document == nullptr) return;
    ICustomDoc* custom = nullptr;
    if (SUCCEEDED(document->QueryInterface(kIidCustomDoc, reinterpret_cast<void**>(&custom))) && custom != nullptr) {
        custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
        custom->Release();
    }
    document->Release();
}

LRESULT CWebBrowserUI::TranslateAcceleratorMessage(MSG* msg)
{
    return TranslateForHostedObject(*this, m_browser, msg);
}

// --------------------------------------------------------- security manager

STDMETHODIMP CWebBrowserUI::SetSecuritySite(IInternetSecurityMgrSite*) { return S_OK; }

STDMETHODIMP CWebBrowserUI::GetSecuritySite(IInternetSecurityMgrSite** out)
{
    if (out != nullptr) *out = nullptr;
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::MapUrlToZone(LPCWSTR, DWORD*, DWORD) { return INET_E_DEFAULT_ACTION; }
STDMETHODIMP CWebBrowserUI::GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR) { return INET_E_DEFAULT_ACTION; }

STDMETHODIMP CWebBrowserUI::ProcessUrlAction(LPCWSTR, DWORD, BYTE* policy, DWORD size, BYTE*, DWORD, DWORD, DWORD)
{
    // Every action is allowed, written only where there is room for it.
    if (policy == nullptr || size < sizeof(DWORD)) return INET_E_DEFAULT_ACTION;
    *reinterpret_cast<DWORD*>(policy) = URLPOLICY_ALLOW;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::QueryCustomPolicy(LPCWSTR, REFGUID, BYTE** policy, DWORD* size, BYTE*, DWORD, DWORD)
{
    if (policy != nullptr) *policy = nullptr;
    if (size != nullptr) *size = 0;
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::SetZoneMapping(DWORD, LPCWSTR, DWORD) { return INET_E_DEFAULT_ACTION; }

STDMETHODIMP CWebBrowserUI::GetZoneMappings(DWORD, IEnumString** out, DWORD)
{
    if (out != nullptr) *out = nullptr;
    return INET_E_DEFAULT_ACTION;
}

} // namespace SkinUI
