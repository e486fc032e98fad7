#pragma once

#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <servprov.h>
#include <urlmon.h>

#include "uilib/control/ActiveX.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CWebBrowserEventHandler;

// The system's web browser control hosted through the ActiveX host, and its
// document host: it takes keyboard accelerators for the browser, keeps
// script errors quiet, removes 3-D borders, allows every URL action and
// sinks the browser's events. Skin tag "WebBrowser": "homepage", "autonavi".
class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator,
                      public IInternetSecurityManager {
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    // The accelerator registration moves with the control.
    void AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow = true) override;
    void ReleaseControl() override;
    bool CreateControl() override;
    virtual HRESULT Download(IMoniker* moniker, IBindCtx* context, DWORD verb, LONG format, BINDINFO* info,
                             LPCOLESTR redirect, LPCOLESTR url, UINT codePage);

    void SetHomePage(const wchar_t* url) { m_homePage = url; }
    const CUIString& GetHomePage() const { return m_homePage; }
    void SetAutoNavigate(bool on) { m_autoNavigate = on; }
    bool IsAutoNavigate() const { return m_autoNavigate; }
    void SetEventHandler(CWebBrowserEventHandler* handler) { m_handler = handler; }
    IWebBrowser2* GetWebBrowser() const { return m_browser; }
    DWORD GetEventCookie() const { return m_cookie; }
    bool IsAcceleratorRegistered() const { return m_acceleratorRegistered; }

    // IUnknown, shared by every interface; the control's owner deletes it.
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IDocHostUIHandler.
    STDMETHOD(ShowContextMenu)(DWORD id, POINT* pt, IUnknown* target, IDispatch* reserved) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* info) override;
    STDMETHOD(ShowUI)(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target, IOleInPlaceFrame* frame,
                      IOleInPlaceUIWindow* document) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(WINBOOL enable) override;
    STDMETHOD(OnDocWindowActivate)(WINBOOL activate) override;
    STDMETHOD(OnFrameWindowActivate)(WINBOOL activate) override;
    STDMETHOD(ResizeBorder)(LPCRECT border, IOleInPlaceUIWindow* window, WINBOOL frame) override;
    STDMETHOD(TranslateAccelerator)(LPMSG msg, const GUID* group, DWORD id) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* key, DWORD reserved) override;
    STDMETHOD(GetDropTarget)(IDropTarget* target, IDropTarget** out) override;
    STDMETHOD(GetExternal)(IDispatch** out) override;
    STDMETHOD(TranslateUrl)(DWORD translate, LPWSTR url, LPWSTR* out) override;
    STDMETHOD(FilterDataObject)(IDataObject* object, IDataObject** out) override;

    // IServiceProvider.
    STDMETHOD(QueryService)(REFGUID service, REFIID iid, void** out) override;

    // IOleCommandTarget.
    STDMETHOD(QueryStatus)(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT* text) override;
    STDMETHOD(Exec)(const GUID* group, DWORD id, DWORD options, VARIANT* in, VARIANT* out) override;

    // IDispatch: the browser's events.
    STDMETHOD(GetTypeInfoCount)(UINT* count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID locale, ITypeInfo** out) override;
    STDMETHOD(GetIDsOfNames)(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

    // ITranslateAccelerator of the paint manager.
    LRESULT TranslateAcceleratorMessage(MSG* msg) override;

    // IInternetSecurityManager.
    STDMETHOD(SetSecuritySite)(IInternetSecurityMgrSite* site) override;
    STDMETHOD(GetSecuritySite)(IInternetSecurityMgrSite** out) override;
    STDMETHOD(MapUrlToZone)(LPCWSTR url, DWORD* zone, DWORD flags) override;
    STDMETHOD(GetSecurityId)(LPCWSTR url, BYTE* id, DWORD* size, DWORD_PTR reserved) override;
    STDMETHOD(ProcessUrlAction)(LPCWSTR url, DWORD action, BYTE* policy, DWORD size, BYTE* context,
                                DWORD contextSize, DWORD flags, DWORD reserved) override;
    STDMETHOD(QueryCustomPolicy)(LPCWSTR url, REFGUID key, BYTE** policy, DWORD* size, BYTE* context,
                                 DWORD contextSize, DWORD reserved) override;
    STDMETHOD(SetZoneMapping)(DWORD zone, LPCWSTR pattern, DWORD flags) override;
    STDMETHOD(GetZoneMappings)(DWORD zone, IEnumString** out, DWORD flags) override;

private:
    void SetAcceleratorRegistered(CPaintManagerUI* manager, bool on);
    // Installs this document host on the browser's current document.
    void InstallUIHandler();
    // Reads the script error's details off the document's current event.
    HRESULT ReadScriptError(VARIANT* in);

    IWebBrowser2* m_browser;
    LONG m_refs;
    DWORD m_cookie;
    CUIString m_homePage;
    bool m_autoNavigate;
    CWebBrowserEventHandler* m_handler;
    bool m_acceleratorRegistered;
};

} // namespace SkinUI
