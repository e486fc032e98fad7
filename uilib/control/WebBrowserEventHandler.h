#pragma once

#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <urlmon.h>

namespace SkinUI {

// What a window would receive of a hosted browser's events and answer of its
// host questions; every answer here is the default.
class CWebBrowserEventHandler {
public:
    virtual ~CWebBrowserEventHandler() = default;

    virtual void BeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) {}
    virtual void NavigateError(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) {}
    virtual void NavigateComplete2(IDispatch*, VARIANT*) {}
    virtual void ProgressChange(LONG, LONG) {}
    virtual void NewWindow3(IDispatch**, VARIANT_BOOL*, DWORD, BSTR, BSTR) {}
    virtual void CommandStateChange(long, VARIANT_BOOL) {}
    virtual void TitleChange(BSTR) {}
    virtual void DocumentComplete(IDispatch*, VARIANT*) {}
    virtual HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO*) { return E_NOTIMPL; }
    virtual HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                           IOleInPlaceUIWindow*)
    {
        return S_FALSE;
    }
    virtual HRESULT HideUI() { return S_OK; }
    virtual HRESULT UpdateUI() { return S_OK; }
    virtual HRESULT EnableModeless(BOOL) { return S_OK; }
    virtual HRESULT OnDocWindowActivate(BOOL) { return S_OK; }
    virtual HRESULT OnFrameWindowActivate(BOOL) { return S_OK; }
    virtual HRESULT ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
    virtual HRESULT TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
    virtual HRESULT GetOptionKeyPath(LPOLESTR*, DWORD) { return S_OK; }
    virtual HRESULT GetDropTarget(IDropTarget*, IDropTarget**) { return E_NOTIMPL; }
    virtual HRESULT GetExternal(IDispatch**) { return E_NOTIMPL; }
    virtual HRESULT TranslateUrl(DWORD, OLECHAR*, OLECHAR**) { return S_OK; }
    virtual HRESULT FilterDataObject(IDataObject*, IDataObject**) { return S_OK; }
    virtual HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT)
    {
        return S_OK;
    }
};

} // namespace SkinUI
