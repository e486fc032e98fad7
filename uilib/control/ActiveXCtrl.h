#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

namespace SkinUI {

class CActiveXUI;
class CActiveXWnd;

// The hosted object's site: client site, windowless in-place site, control
// site, object-with-site and container in one object that lives by its
// reference count. Once the owner lets go, every call needing it answers
// E_UNEXPECTED.
class CActiveXCtrl : public IOleClientSite,
                     public IOleInPlaceSiteWindowless,
                     public IOleControlSite,
                     public IObjectWithSite,
                     public IOleContainer {
public:
    explicit CActiveXCtrl(CActiveXUI* owner);
    virtual ~CActiveXCtrl();
    CActiveXCtrl(const CActiveXCtrl&) = delete;
    CActiveXCtrl& operator=(const CActiveXCtrl&) = delete;

    // Site objects alive in the process (tests compare before and after).
    static int LiveCount();

    // IUnknown.
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IOleClientSite.
    STDMETHOD(SaveObject)() override;
    STDMETHOD(GetMoniker)(DWORD assign, DWORD which, IMoniker** out) override;
    STDMETHOD(GetContainer)(IOleContainer** out) override;
    STDMETHOD(ShowObject)() override;
    STDMETHOD(OnShowWindow)(BOOL show) override;
    STDMETHOD(RequestNewObjectLayout)() override;

    // IOleWindow.
    STDMETHOD(GetWindow)(HWND* out) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL enter) override;

    // IOleInPlaceSite.
    STDMETHOD(CanInPlaceActivate)() override;
    STDMETHOD(OnInPlaceActivate)() override;
    STDMETHOD(OnUIActivate)() override;
    STDMETHOD(GetWindowContext)(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHOD(Scroll)(SIZE extent) override;
    STDMETHOD(OnUIDeactivate)(BOOL undoable) override;
    STDMETHOD(OnInPlaceDeactivate)() override;
    STDMETHOD(DiscardUndoState)() override;
    STDMETHOD(DeactivateAndUndo)() override;
    STDMETHOD(OnPosRectChange)(LPCRECT rc) override;

    // IOleInPlaceSiteEx.
    STDMETHOD(OnInPlaceActivateEx)(BOOL* noRedraw, DWORD flags) override;
    STDMETHOD(OnInPlaceDeactivateEx)(BOOL noRedraw) override;
    STDMETHOD(RequestUIActivate)() override;

    // IOleInPlaceSiteWindowless.
    STDMETHOD(CanWindowlessActivate)() override;
    STDMETHOD(GetCapture)() override;
    STDMETHOD(SetCapture)(BOOL capture) override;
    STDMETHOD(GetFocus)() override;
    STDMETHOD(SetFocus)(BOOL focus) override;
    STDMETHOD(GetDC)(LPCRECT rc, DWORD flags, HDC* out) override;
    STDMETHOD(ReleaseDC)(HDC dc) override;
    STDMETHOD(InvalidateRect)(LPCRECT rc, BOOL erase) override;
    STDMETHOD(InvalidateRgn)(HRGN region, BOOL erase) override;
    STDMETHOD(ScrollRect)(INT dx, INT dy, LPCRECT scroll, LPCRECT clip) override;
    STDMETHOD(AdjustRect)(LPRECT rc) override;
    STDMETHOD(OnDefWindowMessage)(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // IOleControlSite.
    STDMETHOD(OnControlInfoChanged)() override;
    STDMETHOD(LockInPlaceActive)(BOOL lock) override;
    STDMETHOD(GetExtendedControl)(IDispatch** out) override;
    STDMETHOD(TransformCoords)(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHOD(TranslateAccelerator)(MSG* msg, DWORD modifiers) override;
    STDMETHOD(OnFocus)(BOOL focus) override;
    STDMETHOD(ShowPropertyFrame)() override;

    // IObjectWithSite.
    STDMETHOD(SetSite)(IUnknown* site) override;
    STDMETHOD(GetSite)(REFIID iid, void** out) override;

    // IOleContainer.
    STDMETHOD(ParseDisplayName)(IBindCtx* context, LPOLESTR name, ULONG* eaten, IMoniker** out) override;
    STDMETHOD(EnumObjects)(DWORD flags, IEnumUnknown** out) override;
    STDMETHOD(LockContainer)(BOOL lock) override;

    // The owner lets go: the site drops what it holds of the object, and
    // later calls answer E_UNEXPECTED.
    void DetachOwner();
    CActiveXUI* GetOwner() const { return m_owner; }
    void SetViewObject(IViewObject* view);
    IViewObject* GetViewObject() const { return m_viewObject; }
    // The windowless interface of the in-place object, or null.
    IOleInPlaceObjectWindowless* GetWindowlessObject() const;
    IOleInPlaceObject* GetInPlaceObject() const { return m_inPlaceObject; }
    bool IsInPlaceActive() const { return m_inPlaceActive; }
    bool IsWindowless() const { return m_windowless; }
    bool IsCaptured() const { return m_captured; }
    bool IsFocused() const { return m_focused; }
    bool IsUIActivated() const { return m_uiActivated; }
    bool IsLocked() const { return m_locked; }
    void SetFocused(bool on) { m_focused = on; }
    // Undoes the running lock taken at activation, once.
    void UnlockRunning();
    // Draws the hosted object into the DC over the rectangle.
    void DrawObject(HDC dc, const RECT& rc);
    // Runs the verb on the hosted object in the site's window.
    HRESULT DoVerb(LONG verb);

private:
    void CreateSiteWindow();
    void DestroySiteWindow();

    ULONG m_refs;
    CActiveXUI* m_owner;
    CActiveXWnd* m_window;
    IUnknown* m_siteUnknown;
    IViewObject* m_viewObject;
    IOleInPlaceObject* m_inPlaceObject;
    HACCEL m_accelerators;
    bool m_lockedRunning;
    bool m_locked;
    bool m_focused;
    bool m_captured;
    bool m_uiActivated;
    bool m_inPlaceActive;
    bool m_windowless;
};

} // namespace SkinUI
