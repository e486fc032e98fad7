// A small OLE control for the ActiveX host's tests: it records every call
// of the hosting protocol, activates windowless or windowed, answers hit
// tests in the left half of its rectangle, paints a known colour and fires
// events into connected sinks. Served through DllGetClassObject for any
// class id, so no registry entry is needed.
#include "TestControl.h"

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/RectText.h"

namespace {

// {D27CDB6C-AE6D-11CF-96B8-444553540000}: the player interface the Flash host asks for.
const IID kIidPlayer = {0xd27cdb6c, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

DWORD g_misc = 0;
DWORD g_mode = 0;
std::string g_log;
LONG g_live = 0;
std::vector<IDispatch*> g_sinks;

void Log(const std::string& entry)
{
    if (!g_log.empty()) g_log += ";";
    g_log += entry;
}

class CConnectionPoint : public IConnectionPoint {
public:
    explicit CConnectionPoint(IConnectionPointContainer* owner) : m_refs(1), m_owner(owner) { m_owner->AddRef(); }
    virtual ~CConnectionPoint() { m_owner->Release(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP GetConnectionInterface(IID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override
    {
        *out = m_owner;
        m_owner->AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override
    {
        IDispatch* dispatch = nullptr;
        if (sink == nullptr || FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
            return CONNECT_E_CANNOTCONNECT;
        g_sinks.push_back(dispatch);
        *cookie = static_cast<DWORD>(g_sinks.size());
        Log("Advise");
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override
    {
        Log("Unadvise(" + std::to_string(cookie) + ")");
        if (cookie == 0 || cookie > g_sinks.size() || g_sinks[cookie - 1] == nullptr) return CONNECT_E_NOCONNECTION;
        g_sinks[cookie - 1]->Release();
        g_sinks[cookie - 1] = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    ULONG m_refs;
    IConnectionPointContainer* m_owner;
};

class CTestControl : public IOleObject,
                     public IOleControl,
                     public IViewObjectEx,
                     public IOleInPlaceObjectWindowless,
                     public IOleInPlaceActiveObject,
                     public IPersistStreamInit,
                     public IObjectWithSite,
                     public IConnectionPointContainer,
                     public IDispatch {
public:
    CTestControl() { ++g_live; }
    virtual ~CTestControl()
    {
        Release(m_clientSite);
        Release(m_inPlaceSite);
        Release(m_site);
        --g_live;
        Log("Final");
    }

    // IUnknown.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject)) *out = static_cast<IOleObject*>(this);
        else if (IsEqualIID(iid, IID_IOleControl)) *out = static_cast<IOleControl*>(this);
        else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2) ||
                 IsEqualIID(iid, IID_IViewObjectEx))
            *out = static_cast<IViewObjectEx*>(this);
        else if (IsEqualIID(iid, IID_IOleInPlaceObject) ||
                 ((g_mode & kTestWindowless) && IsEqualIID(iid, IID_IOleInPlaceObjectWindowless)))
            *out = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) *out = static_cast<IOleInPlaceActiveObject*>(this);
        else if (IsEqualIID(iid, IID_IPersistStreamInit) && (g_mode & kTestNoPersist) == 0)
            *out = static_cast<IPersistStreamInit*>(this);
        else if (IsEqualIID(iid, IID_IObjectWithSite)) *out = static_cast<IObjectWithSite*>(this);
        else if (IsEqualIID(iid, IID_IConnectionPointContainer)) *out = static_cast<IConnectionPointContainer*>(this);
        else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidPlayer)) *out = static_cast<IDispatch*>(this);
        if (*out == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    // IOleObject.
    STDMETHODIMP SetClientSite(IOleClientSite* site) override
    {
        Log(site != nullptr ? "SetClientSite" : "SetClientSite(null)");
        if (site != nullptr) site->AddRef();
        Release(m_clientSite);
        m_clientSite = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** out) override
    {
        *out = m_clientSite;
        if (m_clientSite != nullptr) m_clientSite->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR) override
    {
        char text[64] = {};
        WideCharToMultiByte(CP_ACP, 0, app != nullptr ? app : L"", -1, text, sizeof(text) - 1, nullptr, nullptr);
        Log(std::string("SetHostNames(") + text + ")");
        return S_OK;
    }
    STDMETHODIMP Close(DWORD option) override
    {
        Log("Close(" + std::to_string(option) + ")");
        if (m_inPlaceSite != nullptr) {
            m_inPlaceSite->OnInPlaceDeactivate();
            Release(m_inPlaceSite);
        }
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT rc) override
    {
        Log("DoVerb(" + std::to_string(verb) + "," + (rc != nullptr ? RectText(*rc) : std::string("null")) + ")");
        if (verb != OLEIVERB_INPLACEACTIVATE || site == nullptr || m_inPlaceSite != nullptr) return S_OK;
        IOleInPlaceSiteWindowless* windowless = nullptr;
        if ((g_mode & kTestWindowless) &&
            SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless))) &&
            windowless->CanWindowlessActivate() == S_OK) {
            m_inPlaceSite = windowless;
            BOOL noRedraw = FALSE;
            Log("Windowless");
            ActivateWith(m_inPlaceSite->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS));
            return S_OK;
        }
        if (windowless != nullptr) windowless->Release();
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&m_inPlaceSite))))
            return E_FAIL;
        ActivateWith(m_inPlaceSite->OnInPlaceActivate());
        HWND window = nullptr;
        m_inPlaceSite->GetWindow(&window);
        if (window != nullptr) Log("Window");
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL* size) override
    {
        Log("SetExtent(" + std::to_string(size->cx) + "," + std::to_string(size->cy) + ")");
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = g_misc;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleControl.
    STDMETHODIMP GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

    // IViewObjectEx.
    STDMETHODIMP Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                      WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        if (dc == nullptr || bounds == nullptr) return E_INVALIDARG;
        const RECT rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
        ++m_draws;
        return S_OK;
    }
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }
    STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStatus(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryHitPoint(DWORD, LPCRECT bounds, POINT pt, LONG, DWORD* hit) override
    {
        RECT left = *bounds;
        left.right = (bounds->left + bounds->right) / 2;
        *hit = PtInRect(&left, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
        return S_OK;
    }
    STDMETHODIMP QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // IOleWindow, shared by the in-place object and the active object.
    STDMETHODIMP GetWindow(HWND*) override { return E_FAIL; }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }

    // IOleInPlaceObjectWindowless.
    STDMETHODIMP InPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override
    {
        Log("SetObjectRects(" + RectText(*position) + ")");
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override
    {
        char text[32];
        snprintf(text, sizeof(text), "Msg(0x%X)", message);
        Log(text);
        *result = 0x51;
        return S_OK;
    }
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IOleInPlaceActiveObject.
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override
    {
        char text[48];
        snprintf(text, sizeof(text), "TranslateAccelerator(0x%X)", msg != nullptr ? msg->message : 0);
        Log(text);
        return S_OK;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IPersistStreamInit.
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override
    {
        Log("InitNew");
        return (g_mode & kTestFailInitNew) ? E_FAIL : S_OK;
    }

    // IObjectWithSite.
    STDMETHODIMP SetSite(IUnknown* site) override
    {
        Log(site != nullptr ? "SetSite" : "SetSite(null)");
        if (site != nullptr) site->AddRef();
        Release(m_site);
        m_site = site;
        return S_OK;
    }
    STDMETHODIMP GetSite(REFIID iid, void** out) override
    {
        *out = nullptr;
        return m_site != nullptr ? m_site->QueryInterface(iid, out) : E_FAIL;
    }

    // IConnectionPointContainer.
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID, IConnectionPoint** out) override
    {
        *out = new CConnectionPoint(this);
        return S_OK;
    }

    // IDispatch.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    template <typename T>
    static void Release(T*& pointer)
    {
        if (pointer == nullptr) return;
        T* held = pointer;
        pointer = nullptr;
        held->Release();
    }
    void ActivateWith(HRESULT hr)
    {
        Log(SUCCEEDED(hr) ? "Active" : "ActivateFailed");
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT position = {};
        RECT clip = {};
        OLEINPLACEFRAMEINFO info = {};
        info.cb = sizeof(info);
        if (SUCCEEDED(m_inPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &info)) &&
            frame != nullptr) {
            frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
            frame->SetActiveObject(nullptr, nullptr);
            frame->Release();
            Log(info.haccel != nullptr ? "Frame" : "FrameWithoutTable");
        }
        if (document != nullptr) document->Release();
    }

    ULONG m_refs = 0;
    IOleClientSite* m_clientSite = nullptr;
    IOleInPlaceSiteWindowless* m_inPlaceSite = nullptr;
    IUnknown* m_site = nullptr;
    int m_draws = 0;
};

class CFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
        *out = this;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        CTestControl* control = new CTestControl();
        control->AddRef();
        const HRESULT hr = control->QueryInterface(iid, out);
        control->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

CFactory g_factory;

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID iid, void** out)
{
    return g_factory.QueryInterface(iid, out);
}

extern "C" void __cdecl TestControlSetup(DWORD misc, DWORD mode)
{
    g_misc = misc;
    g_mode = mode;
    g_log.clear();
}

extern "C" const char* __cdecl TestControlLog()
{
    return g_log.c_str();
}

extern "C" LONG __cdecl TestControlLive()
{
    return g_live;
}

extern "C" HRESULT __cdecl TestControlFire(DISPID id)
{
    HRESULT last = S_FALSE;
    for (IDispatch* sink : g_sinks) {
        if (sink == nullptr) continue;
        DISPPARAMS none = {};
        VARIANT result;
        VariantInit(&result);
        last = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    }
    return last;
}

extern "C" LONG __cdecl TestControlSinks()
{
    LONG count = 0;
    for (IDispatch* sink : g_sinks) count += sink != nullptr ? 1 : 0;
    return count;
}
